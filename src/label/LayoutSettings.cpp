// Settings-file lookups of the layouts and the font setting.
#include "label/LayoutSettings.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>

#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/SettingsLocation.h"
#include "label/LayoutDefinition.h"

namespace twr {

namespace {

constexpr const char* kConfigSection = "Config";
constexpr const char* kLayoutNumKey = "LayoutNum";
constexpr const char* kFontKey = "Font";
constexpr const char* kNameKey = "Name";

}  // namespace

std::string LayoutSectionName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "Layout%02d", index);
  return name;
}

bool LoadLayoutNames(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  const ProfileFile ini = ProfileFile::Load(path);
  const int count = std::min(ini.GetInt(kConfigSection, kLayoutNumKey, 0), kMaxLayoutCount);
  for (int i = 0; i < count; ++i)
    names.push_back(TextFromSettings(ini.GetString(LayoutSectionName(i), kNameKey)));
  return count > 0;
}

void LoadLayout(const std::string& path, int index, bool keepRadii, LayoutRecord& record) {
  const ProfileFile ini = ProfileFile::Load(path);
  ApplyLayoutDefinition(ReadLayoutDefinition(ini, index), SettingsFolderOf(path), keepRadii,
                        record);
}

std::string LoadFontSetting(const std::string& path) {
  return TextFromSettings(ProfileFile::Load(path).GetString(kConfigSection, kFontKey));
}

bool SaveFontSetting(const std::string& path, const std::string& face) {
  return ApplySettingsChanges(path, {{kConfigSection, {{kFontKey, face}}, false, {}}}).ok;
}

std::string DefaultFontFace() {
  static const std::string face = [] {
    std::string family = "sans-serif";
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold"));
    if (pattern == nullptr) return family;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
      FcChar8* name = nullptr;
      if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name != nullptr)
        family = reinterpret_cast<const char*>(name);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return family;
  }();
  return face;
}

}  // namespace twr
