// Settings-file lookups of the layouts and the font setting.
#include "label/LayoutSettings.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdio>

#include "common/ProfileFile.h"
#include "common/SettingsLocation.h"

namespace twr {

namespace {

constexpr const char* kConfigSection = "Config";
constexpr const char* kLayoutNumKey = "LayoutNum";
constexpr const char* kFontKey = "Font";
constexpr const char* kNameKey = "Name";

constexpr int kDefaultBgColor = 255;
constexpr int kDefaultTxColor = 0;
constexpr int kDefaultBaseLength = 1655;
constexpr int kDefaultTitleMaxNum = 20;
constexpr int kDefaultDateMaxNum = 10;
constexpr int kDefaultNoteMaxNum = 20;
constexpr int kDefaultRLetterAlign = 2;
constexpr int kDefaultInnerRadius = 25;
constexpr int kDefaultOuterRadius = 58;

void ReadBox(const ProfileFile& ini, const std::string& section, const char* prefix,
             int defaultMaxNum, LayoutBox& box) {
  const std::string p = prefix;
  box.Width = ini.GetInt(section, p + "Width", 0);
  box.Height = ini.GetInt(section, p + "Height", 0);
  box.PosX = ini.GetInt(section, p + "PosX", 0);
  box.PosY = ini.GetInt(section, p + "PosY", 0);
  box.MaxNum = ini.GetInt(section, p + "MaxNum", defaultMaxNum);
  box.Align = ini.GetInt(section, p + "Align", 0);
}

int ClampAngle(int degrees) {
  return std::clamp(degrees, 0, kMaxRingAngle);
}

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
  for (int i = 0; i < count; ++i) names.push_back(ini.GetString(LayoutSectionName(i), kNameKey));
  return count > 0;
}

void LoadLayout(const std::string& path, int index, bool keepRadii, LayoutRecord& record) {
  const ProfileFile ini = ProfileFile::Load(path);
  const std::string section = LayoutSectionName(index);
  // A relative picture path is relative to the settings file's folder.
  record.BgImage = ResolveSettingsPath(SettingsFolderOf(path), ini.GetString(section, "BgImage"));
  record.BgColor = GreyFromSetting(ini.GetInt(section, "BgColor", kDefaultBgColor));
  record.TxColor = GreyFromSetting(ini.GetInt(section, "TxColor", kDefaultTxColor));
  record.BaseLength = ini.GetInt(section, "BaseLength", kDefaultBaseLength);
  ReadBox(ini, section, "Title", kDefaultTitleMaxNum, record.Title);
  ReadBox(ini, section, "Date", kDefaultDateMaxNum, record.Date);
  ReadBox(ini, section, "Note", kDefaultNoteMaxNum, record.Note);
  record.RingType = ini.GetInt(section, "RingType", 0);
  record.RLetterAlign = ini.GetInt(section, "RLetterAlign", kDefaultRLetterAlign);
  // Arcs are meaningful up to a half circle; larger (or negative) angles
  // are clamped so the ring mapping never leaves its angle table.
  record.RingMAngle = ClampAngle(ini.GetInt(section, "RingMAngle", kMaxRingAngle));
  record.RingSAngle = ClampAngle(ini.GetInt(section, "RingSAngle", kMaxRingAngle));
  if (keepRadii) return;

  record.RingLength = ini.GetInt(section, "RingLength", 0);
  const int inner = ini.GetInt(section, "InnerRadius", kDefaultInnerRadius);
  const int outer = ini.GetInt(section, "OuterRadius", kDefaultOuterRadius);
  if (inner < kLowestInnerRadius || outer > kHighestOuterRadius || inner > outer) {
    record.InnerRadius = kLowestInnerRadius;
    record.OuterRadius = kHighestOuterRadius;
  } else {
    record.InnerRadius = inner;
    record.OuterRadius = outer;
  }
  record.RingBand = std::min(record.OuterRadius - record.InnerRadius, record.RingLength);
}

std::string LoadFontSetting(const std::string& path) {
  return ProfileFile::Load(path).GetString(kConfigSection, kFontKey);
}

bool SaveFontSetting(const std::string& path, const std::string& face) {
  return WriteProfileString(path, kConfigSection, kFontKey, face);
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
