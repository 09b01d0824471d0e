// The layout record and its settings-file lookups: the layout names, one
// layout section with the radius check and the ring band, the font setting.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "drive/DiscGeometry.h"

namespace twr {

// The settings file, relative to the working folder.
inline constexpr const char* kSettingsPath = "./twr.ini";

// One text box of a layout, in label pixels.
struct LayoutBox {
  int Width = 0;
  int Height = 0;
  int PosX = 0;
  int PosY = 0;
  int MaxNum = 0;  // at most this many width units of the text are drawn (common/Utf8.h)
  int Align = 0;   // 0 left, 1 centred, 2 right, anything else left

  bool operator==(const LayoutBox&) const = default;
};

// The QR code box: a square `Size` label pixels across with its top-left
// corner at (PosX, PosY); a size of 0 draws nothing.
struct QrBox {
  int PosX = 0;
  int PosY = 0;
  int Size = 0;

  bool operator==(const QrBox&) const = default;
};

// Fields of one layout section. Colours are 0x00BBGGRR greys.
struct LayoutRecord {
  int BaseLength = 0;
  uint32_t TxColor = 0;
  uint32_t BgColor = 0;
  std::string BgImage;
  std::string FontFace;
  LayoutBox Title;
  LayoutBox Date;
  LayoutBox Note;
  QrBox Qr;
  int RingType = 0;
  int RLetterAlign = 2;
  int RingMAngle = 180;
  int RingSAngle = 180;
  double RingLength = 0.0;                 // mm
  double InnerRadius = kBandInnerLimitMm;  // mm
  double OuterRadius = kBandOuterLimitMm;  // mm
  double RingBand = 0.0;                   // mm of ring text actually used
  bool operator==(const LayoutRecord&) const = default;
};

// The radial limits a layout may give; anything outside resets both radii.
inline constexpr double kLowestInnerRadius = kBandInnerLimitMm;
inline constexpr double kHighestOuterRadius = kBandOuterLimitMm;
// Arc angles beyond a half circle would run the ring mapping off its table.
inline constexpr int kMaxRingAngle = 180;

// The ring band a record gives within a burning area from `inner` to
// `outer` mm, as the configuration dialog's area applies: none when the
// layout has none, else its ring length within the area.
inline double RingBandInArea(const LayoutRecord& record, double inner, double outer) {
  return record.RingBand == 0.0 ? 0.0 : std::min(outer - inner, record.RingLength);
}

// A grey from the low byte of a setting (300 -> grey 44).
inline uint32_t GreyFromSetting(int value) {
  return static_cast<uint32_t>(value & 0xFF) * 0x010101u;
}

// The layout list holds at most this many entries, whatever LayoutNum says:
// a mistyped count of billions would otherwise exhaust memory listing empty
// names.
inline constexpr int kMaxLayoutCount = 10000;

// "Layout%02d" for index i.
std::string LayoutSectionName(int index);

// Appends the names of layouts 0 .. LayoutNum-1 to `names` (cleared first),
// at most kMaxLayoutCount of them, each UTF-8 without control characters
// (label/LayoutDefinition's TextFromSettings). False when LayoutNum is 0 or
// less or the file is missing.
bool LoadLayoutNames(const std::string& path, std::vector<std::string>& names);

// Reads every key of the layout section except "Name" into `record`; with
// keepRadii false also the ring length and radii (checked) and the ring band.
// FontFace is left alone. Missing keys give their defaults.
void LoadLayout(const std::string& path, int index, bool keepRadii, LayoutRecord& record);

// "Config"/"Font", empty when missing; read as TextFromSettings reads it.
std::string LoadFontSetting(const std::string& path);
// Writes "Config"/"Font"; false when the file could not be written.
bool SaveFontSetting(const std::string& path, const std::string& face);

// The face name used for an empty font setting: the system's sans-serif face.
std::string DefaultFontFace();

}  // namespace twr
