// The font families a label may use: the installed TrueType families, each
// once, without the "@" vertical-writing variants, sorted by name.
#pragma once

#include <string>
#include <vector>

namespace twr {

// Families as fontconfig reports them (first family name of each TrueType
// font file), filtered and sorted.
std::vector<std::string> TrueTypeFamilies();

// The filter and order on any list of family names: each name once, names
// beginning with "@" left out, sorted without regard to ASCII case (ties in
// byte order).
std::vector<std::string> FontListFromFamilies(const std::vector<std::string>& families);

}  // namespace twr
