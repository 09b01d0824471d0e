// TrueType families from fontconfig.
#include "label/FontFamilies.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <set>

namespace twr {

namespace {

constexpr const char* kTrueTypeFormat = "TrueType";
constexpr char kVerticalMark = '@';

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NameLess(const std::string& a, const std::string& b) {
  const auto lower = [](char x, char y) { return Lower(x) < Lower(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lower)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lower)) return false;
  return a < b;
}

}  // namespace

std::vector<std::string> FontListFromFamilies(const std::vector<std::string>& families) {
  std::set<std::string> seen;
  std::vector<std::string> list;
  for (const std::string& name : families) {
    if (!seen.insert(name).second) continue;
    if (!name.empty() && name.front() != kVerticalMark) list.push_back(name);
  }
  std::sort(list.begin(), list.end(), NameLess);
  return list;
}

std::vector<std::string> TrueTypeFamilies() {
  std::vector<std::string> families;
  if (!FcInit()) return families;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FONTFORMAT, reinterpret_cast<const FcChar8*>(kTrueTypeFormat));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
    for (int i = 0; i < set->nfont; ++i) {
      FcChar8* family = nullptr;
      if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
        families.emplace_back(reinterpret_cast<const char*>(family));
    }
    FcFontSetDestroy(set);
  }
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return FontListFromFamilies(families);
}

}  // namespace twr
