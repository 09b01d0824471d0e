// Number fields of the label texts for a series of discs: "{n}" is this
// disc's number and "{N}" the count of discs ("Holidays {n} of {N}" gives
// "Holidays 2 of 5"). A single disc is disc 1 of 1.
#pragma once

#include <string>
#include <string_view>

namespace twr {

// The text with its fields filled in. "{{" stands for one literal "{", so
// "{{n}" is drawn as "{n}"; any other brace ("{x}", a lone "{" or "}") is
// kept as typed. Numbers are plain decimals whatever the locale.
std::string FillNumberFields(std::string_view text, int number, int count);

// Whether the text holds a field that FillNumberFields would replace.
bool HasNumberFields(std::string_view text);

}  // namespace twr
