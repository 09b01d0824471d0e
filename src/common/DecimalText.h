// Numbers as text, the same in every locale: a decimal point, never a comma,
// whatever the C library's locale says (a GUI application switches it to
// the user's locale at start).
#pragma once

#include <string>
#include <string_view>

namespace twr {

// `value` with exactly `decimals` digits after the point, rounded to nearest
// (as "%.*f" prints it in the C locale): FormatDecimal(25.55, 1) == "25.6".
std::string FormatDecimal(double value, int decimals);

// A whole text that is one finite decimal number ("25", "25.5", "+2.5e1",
// "-.5"); no blanks, no comma. False, leaving `out` unchanged, otherwise.
bool ParseDecimal(std::string_view text, double& out);

// A whole text that is one decimal integer in the int range, optional sign.
bool ParseInteger(std::string_view text, int& out);

// Minutes as "mm:ss", each part truncated toward zero: MinutesText(5.5) ==
// "05:30".
std::string MinutesText(double minutes);

}  // namespace twr
