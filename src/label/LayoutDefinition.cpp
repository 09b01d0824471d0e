// Layouts as they are edited: reading a section, the record for the
// renderer, and the limits of every key.
#include "label/LayoutDefinition.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/DecimalText.h"
#include "common/ProfileFile.h"
#include "common/SettingsLocation.h"
#include "common/Translate.h"
#include "common/Utf8.h"
#include "label/CELLayout.h"
#include "label/LabelTexts.h"

namespace twr {

namespace {

// A MaxNum above the longest text the renderer is handed cuts nothing more.
constexpr int kLongestTitleWidth = static_cast<int>(kTitleMaxWidth);
constexpr int kLongestNoteWidth = static_cast<int>(kNoteMaxWidth);
constexpr int kChoiceCount = 3;

enum class Limit {
  Grey,         // 0 .. 255
  Side,         // SmallestBaseLength(ring band) .. 10000
  BoxSize,      // 0 .. BaseLength
  BoxPlace,     // -BaseLength .. BaseLength
  TextWidth,    // 0 .. 256 width units
  NoteWidth,    // 0 .. 2560 width units
  Align,        // 0, 1, 2
  RingType,     // 0, 1, 2
  RingPlace,    // 0, 1, 2
  Angle,        // 0 .. 180
  RingLength,   // 0 .. 33
  InnerRadius,  // 25 .. OuterRadius
  OuterRadius,  // InnerRadius .. 58
};

using IntField = int& (*)(LayoutDefinition&);

struct NumberKey {
  const char* key;
  IntField field;
  Limit limit;
};

// NOLINTNEXTLINE(bugprone-macro-parentheses): `expr` names a member; parentheses cannot go there
#define TWR_FIELD(expr) [](LayoutDefinition& d) -> int& { return d.expr; }

const NumberKey kNumberKeys[] = {
    {"BgColor", TWR_FIELD(BgColor), Limit::Grey},
    {"TxColor", TWR_FIELD(TxColor), Limit::Grey},
    {"BaseLength", TWR_FIELD(BaseLength), Limit::Side},
    {"TitleWidth", TWR_FIELD(Title.Width), Limit::BoxSize},
    {"TitleHeight", TWR_FIELD(Title.Height), Limit::BoxSize},
    {"TitlePosX", TWR_FIELD(Title.PosX), Limit::BoxPlace},
    {"TitlePosY", TWR_FIELD(Title.PosY), Limit::BoxPlace},
    {"TitleMaxNum", TWR_FIELD(Title.MaxNum), Limit::TextWidth},
    {"TitleAlign", TWR_FIELD(Title.Align), Limit::Align},
    {"DateWidth", TWR_FIELD(Date.Width), Limit::BoxSize},
    {"DateHeight", TWR_FIELD(Date.Height), Limit::BoxSize},
    {"DatePosX", TWR_FIELD(Date.PosX), Limit::BoxPlace},
    {"DatePosY", TWR_FIELD(Date.PosY), Limit::BoxPlace},
    {"DateMaxNum", TWR_FIELD(Date.MaxNum), Limit::TextWidth},
    {"DateAlign", TWR_FIELD(Date.Align), Limit::Align},
    {"NoteWidth", TWR_FIELD(Note.Width), Limit::BoxSize},
    {"NoteHeight", TWR_FIELD(Note.Height), Limit::BoxSize},
    {"NotePosX", TWR_FIELD(Note.PosX), Limit::BoxPlace},
    {"NotePosY", TWR_FIELD(Note.PosY), Limit::BoxPlace},
    {"NoteMaxNum", TWR_FIELD(Note.MaxNum), Limit::NoteWidth},
    {"NoteAlign", TWR_FIELD(Note.Align), Limit::Align},
    {"RingType", TWR_FIELD(RingType), Limit::RingType},
    {"RLetterAlign", TWR_FIELD(RLetterAlign), Limit::RingPlace},
    {"RingMAngle", TWR_FIELD(RingMAngle), Limit::Angle},
    {"RingSAngle", TWR_FIELD(RingSAngle), Limit::Angle},
    {"RingLength", TWR_FIELD(RingLength), Limit::RingLength},
    {"InnerRadius", TWR_FIELD(InnerRadius), Limit::InnerRadius},
    {"OuterRadius", TWR_FIELD(OuterRadius), Limit::OuterRadius},
};

#undef TWR_FIELD

constexpr const char* kNameKey = "Name";
constexpr const char* kPictureKey = "BgImage";

const NumberKey* FindNumberKey(std::string_view key) {
  for (const NumberKey& k : kNumberKeys)
    if (ProfileNameEquals(k.key, key)) return &k;
  return nullptr;
}

int Get(const LayoutDefinition& layout, const NumberKey& key) {
  return key.field(const_cast<LayoutDefinition&>(layout));
}

std::string Lowered(const char* text) {
  std::string s = text;
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string NumberedLower(const char* const (&names)[kChoiceCount]) {
  return Arg(Tr("LayoutDefinition", "0 (%1), 1 (%2) or 2 (%3)"),
             {Lowered(names[0]), Lowered(names[1]), Lowered(names[2])});
}

// Millimetres to a hundredth, without trailing zeros ("5", "0.9").
std::string MmText(double mm) {
  std::string text = FormatDecimal(mm, 2);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

// Why a label `side` pixels across draws no ring text in a ring band
// `band` mm thick; "" when it does (or there is no ring band).
std::string RingStripRefusal(int side, double band) {
  if (band <= 0.0 || RingStripHeight(side, band) >= kMinStripHeight) return {};
  const int smallest = SmallestBaseLength(band);
  if (smallest > kMaxBaseLength)
    return Arg(Tr("LayoutDefinition",
                  "a ring band of %1 mm is too thin for ring text at any BaseLength (ring text "
                  "needs a strip of %2 label pixels; RingLength 0 leaves it out)"),
               {MmText(band), std::to_string(kMinStripHeight)});
  return Arg(Tr("LayoutDefinition",
                "BaseLength must be %1 to %2 label pixels for a ring band of %3 mm (ring text "
                "needs a strip of %4 label pixels; RingLength 0 leaves it out)"),
             {std::to_string(smallest), std::to_string(kMaxBaseLength), MmText(band),
              std::to_string(kMinStripHeight)});
}

// Why `value` is outside the key's limits in `layout`, or "".
std::string Refusal(const LayoutDefinition& layout, const NumberKey& key, int value) {
  const LayoutKeyRange range = LayoutKeyLimits(layout, key.key);
  if (value >= range.minimum && value <= range.maximum) return {};
  const std::string name = key.key;
  const std::string from = std::to_string(range.minimum), to = std::to_string(range.maximum);
  switch (key.limit) {
    case Limit::Grey:
      return Arg(Tr("LayoutDefinition", "%1 must be a grey from 0 (black) to 255 (white)"), {name});
    case Limit::Side:
      // Below 1 or above the largest, or too small for the ring band.
      if (value >= 1 && value <= kMaxBaseLength)
        return RingStripRefusal(value, LayoutRingBand(layout));
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels"),
                 {name, "1", std::to_string(kMaxBaseLength)});
    case Limit::BoxPlace:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels"), {name, from, to});
    case Limit::BoxSize:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels (the side of the label)"),
                 {name, from, to});
    case Limit::TextWidth:
    case Limit::NoteWidth:
      return Arg(Tr("LayoutDefinition",
                    "%1 must be %2 to %3 characters (a wide East Asian character counts two)"),
                 {name, from, to});
    case Limit::Align:
      return Arg(Tr("LayoutDefinition", "%1 must be %2"), {name, NumberedLower(kAlignNames)});
    case Limit::RingType:
      return Arg(Tr("LayoutDefinition", "%1 must be %2"), {name, NumberedLower(kRingTypeNames)});
    case Limit::RingPlace:
      return Arg(Tr("LayoutDefinition", "%1 must be %2"), {name, NumberedLower(kRingPlaceNames)});
    case Limit::Angle:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 degrees"), {name, from, to});
    case Limit::RingLength:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 mm (0: no ring text)"),
                 {name, from, to});
    case Limit::InnerRadius:
      return Arg(
          Tr("LayoutDefinition", "%1 must be %2 to %3 mm (at least %2, at most OuterRadius)"),
          {name, from, to});
    case Limit::OuterRadius:
      return Arg(
          Tr("LayoutDefinition", "%1 must be %2 to %3 mm (at least InnerRadius, at most %3)"),
          {name, from, to});
  }
  return Arg(Tr("LayoutDefinition", "%1 is out of range"), {name});
}

// "'key'" (built by appending: GCC 12 warns falsely about "'" + string).
std::string InQuotes(std::string_view text) {
  std::string quoted(1, '\'');
  quoted.append(text);
  quoted += '\'';
  return quoted;
}

bool HasControlChar(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    if (NextUtf8(text, at, c) && IsControlChar(c)) return true;
  }
  return false;
}

std::string CheckText(std::string_view key, std::string_view text) {
  const bool isName = ProfileNameEquals(key, kNameKey);
  if (text.find_first_of("\r\n") != std::string_view::npos)
    return Arg(Tr("LayoutDefinition", "%1 must be one line"), {isName ? kNameKey : kPictureKey});
  // The name is shown in lists and kept in designs: UTF-8 text to be shown.
  if (isName && !IsValidUtf8(text)) return Tr("LayoutDefinition", "Name must be UTF-8 text");
  if (HasControlChar(text))
    return Arg(Tr("LayoutDefinition", "%1 must not hold control characters"),
               {isName ? kNameKey : kPictureKey});
  if (text.size() > kProfileStringMax)
    return Arg(Tr("LayoutDefinition", "%1 must be at most %2 bytes (it has %3)"),
               {isName ? kNameKey : kPictureKey, std::to_string(kProfileStringMax),
                std::to_string(text.size())});
  if (isName && TrimProfileBlanks(text).empty())
    return Tr("LayoutDefinition", "Name must not be empty: the layout list shows it");
  return {};
}

}  // namespace

LayoutBox& BoxOf(LayoutDefinition& layout, LayoutBoxKind kind) {
  return kind == LayoutBoxKind::Title  ? layout.Title
         : kind == LayoutBoxKind::Date ? layout.Date
                                       : layout.Note;
}

const LayoutBox& BoxOf(const LayoutDefinition& layout, LayoutBoxKind kind) {
  return BoxOf(const_cast<LayoutDefinition&>(layout), kind);
}

const char* BoxKeyPrefix(LayoutBoxKind kind) {
  return kind == LayoutBoxKind::Title ? "Title" : kind == LayoutBoxKind::Date ? "Date" : "Note";
}

bool BoxIsDrawn(const LayoutDefinition& layout, LayoutBoxKind kind) {
  const LayoutBox& box = BoxOf(layout, kind);
  if (kind == LayoutBoxKind::Title) return box.Width != 0 || box.Height != 0;
  return box.Width != 0 && box.Height != 0;
}

LayoutDefinition StarterLayout() {
  LayoutDefinition d;
  d.Name = "New layout";
  d.BgColor = 255;
  d.TxColor = 0;
  d.BaseLength = 1655;
  d.Title = {800, 130, 427, 240, 24, 1};
  d.Date = {420, 64, 617, 390, 10, 1};
  d.Note = {540, 260, 557, 1200, 32, 0};
  d.RingType = 1;
  d.RLetterAlign = 2;
  d.RingMAngle = 150;
  d.RingSAngle = 180;
  d.RingLength = 5;
  d.InnerRadius = 25;
  d.OuterRadius = 58;
  return d;
}

std::string TextFromSettings(std::string_view stored) {
  return Utf8Cut(PlainTextFromBytes(stored), kProfileStringMax);
}

LayoutDefinition ReadLayoutDefinition(const ProfileFile& ini, int index) {
  const std::string section = LayoutSectionName(index);
  LayoutDefinition d;
  d.Name = TextFromSettings(ini.GetString(section, kNameKey));
  d.BgImage = ini.GetString(section, kPictureKey);
  for (const NumberKey& key : kNumberKeys) {
    int& field = key.field(d);
    field = ini.GetInt(section, key.key, field);
  }
  for (const std::string& key : ini.Keys(section)) {
    if (CanonicalLayoutKey(key).empty()) d.OtherKeys.emplace_back(key, ini.GetStored(section, key));
  }
  return d;
}

void ApplyLayoutDefinition(const LayoutDefinition& d, const std::string& settingsFolder,
                           bool keepRadii, LayoutRecord& record) {
  // A relative picture path is relative to the settings file's folder.
  record.BgImage = ResolveSettingsPath(settingsFolder, d.BgImage);
  record.BgColor = GreyFromSetting(d.BgColor);
  record.TxColor = GreyFromSetting(d.TxColor);
  record.BaseLength = d.BaseLength;
  record.Title = d.Title;
  record.Date = d.Date;
  record.Note = d.Note;
  record.RingType = d.RingType;
  record.RLetterAlign = d.RLetterAlign;
  // Arcs are meaningful up to a half circle; larger (or negative) angles
  // are clamped so the ring mapping never leaves its angle table.
  record.RingMAngle = std::clamp(d.RingMAngle, 0, kMaxRingAngle);
  record.RingSAngle = std::clamp(d.RingSAngle, 0, kMaxRingAngle);
  if (keepRadii) return;

  record.RingLength = d.RingLength;
  if (d.InnerRadius < kLowestInnerRadius || d.OuterRadius > kHighestOuterRadius ||
      d.InnerRadius > d.OuterRadius) {
    record.InnerRadius = kLowestInnerRadius;
    record.OuterRadius = kHighestOuterRadius;
  } else {
    record.InnerRadius = d.InnerRadius;
    record.OuterRadius = d.OuterRadius;
  }
  record.RingBand = std::min(record.OuterRadius - record.InnerRadius, record.RingLength);
}

const std::vector<std::string>& LayoutKeyNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {kNameKey, kPictureKey};
    for (const NumberKey& k : kNumberKeys) n.emplace_back(k.key);
    return n;
  }();
  return names;
}

std::string CanonicalLayoutKey(std::string_view key) {
  for (const std::string& name : LayoutKeyNames())
    if (ProfileNameEquals(name, key)) return name;
  return {};
}

bool IsLayoutTextKey(std::string_view key) {
  return ProfileNameEquals(key, kNameKey) || ProfileNameEquals(key, kPictureKey);
}

LayoutKeyRange LayoutKeyLimits(const LayoutDefinition& layout, std::string_view key) {
  const NumberKey* k = FindNumberKey(key);
  if (k == nullptr) return {};
  const int side = std::max(layout.BaseLength, 0);
  switch (k->limit) {
    case Limit::Grey:
      return {0, 255};
    case Limit::Side:
      return {SmallestBaseLength(LayoutRingBand(layout)), kMaxBaseLength};
    case Limit::BoxSize:
      return {0, side};
    case Limit::BoxPlace:
      return {-side, side};
    case Limit::TextWidth:
      return {0, kLongestTitleWidth};
    case Limit::NoteWidth:
      return {0, kLongestNoteWidth};
    case Limit::Align:
    case Limit::RingType:
    case Limit::RingPlace:
      return {0, kChoiceCount - 1};
    case Limit::Angle:
      return {0, kMaxRingAngle};
    case Limit::RingLength:
      return {0, static_cast<int>(kHighestOuterRadius - kLowestInnerRadius)};
    case Limit::InnerRadius:
      return {static_cast<int>(kLowestInnerRadius),
              std::min(layout.OuterRadius, static_cast<int>(kHighestOuterRadius))};
    case Limit::OuterRadius:
      return {std::max(layout.InnerRadius, static_cast<int>(kLowestInnerRadius)),
              static_cast<int>(kHighestOuterRadius)};
  }
  return {};
}

std::string LayoutKeyValue(const LayoutDefinition& layout, std::string_view key) {
  if (ProfileNameEquals(key, kNameKey)) return layout.Name;
  if (ProfileNameEquals(key, kPictureKey)) return layout.BgImage;
  const NumberKey* k = FindNumberKey(key);
  return k ? std::to_string(Get(layout, *k)) : std::string();
}

int LayoutNumber(const LayoutDefinition& layout, std::string_view key) {
  const NumberKey* k = FindNumberKey(key);
  return k ? Get(layout, *k) : 0;
}

std::string SetLayoutNumber(LayoutDefinition& layout, std::string_view key, int value) {
  const NumberKey* k = FindNumberKey(key);
  if (k == nullptr)
    return Arg(Tr("LayoutDefinition", "%1 is not a number key of a layout"), {InQuotes(key)});
  if (std::string why = Refusal(layout, *k, value); !why.empty()) return why;
  k->field(layout) = value;
  return {};
}

std::string AssignLayoutValue(LayoutDefinition& layout, std::string_view key,
                              std::string_view text) {
  if (IsLayoutTextKey(key)) {
    (ProfileNameEquals(key, kNameKey) ? layout.Name : layout.BgImage) = std::string(text);
    return {};
  }
  const NumberKey* k = FindNumberKey(key);
  if (k == nullptr)
    return Arg(Tr("LayoutDefinition", "%1 is not a key of a layout"), {InQuotes(key)});
  const std::string_view t = TrimProfileBlanks(text);
  int value = 0;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  if (t.empty() || ec != std::errc() || end != last)
    return Arg(Tr("LayoutDefinition", "%1 must be a whole number (%2 is not one)"),
               {k->key, InQuotes(text)});
  k->field(layout) = value;
  return {};
}

std::string SetLayoutValue(LayoutDefinition& layout, std::string_view key, std::string_view text) {
  LayoutDefinition changed = layout;
  if (std::string why = AssignLayoutValue(changed, key, text); !why.empty()) return why;
  if (std::string why = CheckLayoutKey(changed, key); !why.empty()) return why;
  layout = std::move(changed);
  return {};
}

std::string CheckLayoutKey(const LayoutDefinition& layout, std::string_view key) {
  if (IsLayoutTextKey(key))
    return CheckText(key, ProfileNameEquals(key, kNameKey) ? layout.Name : layout.BgImage);
  const NumberKey* k = FindNumberKey(key);
  if (k == nullptr)
    return Arg(Tr("LayoutDefinition", "%1 is not a key of a layout"), {InQuotes(key)});
  if (std::string why = Refusal(layout, *k, Get(layout, *k)); !why.empty()) return why;
  // The ring band these keys make must leave ring text a strip to be drawn
  // on at the layout's BaseLength.
  if (k->limit == Limit::RingLength || k->limit == Limit::InnerRadius ||
      k->limit == Limit::OuterRadius) {
    const double band = LayoutRingBand(layout);
    if (!RingStripRefusal(layout.BaseLength, band).empty()) {
      const int smallest = SmallestBaseLength(band);
      return smallest > kMaxBaseLength
                 ? Arg(Tr("LayoutDefinition",
                          "%1 %2 makes the ring band %3 mm, too thin for ring text at any "
                          "BaseLength (RingLength 0 leaves the ring text out)"),
                       {k->key, std::to_string(Get(layout, *k)), MmText(band)})
                 : Arg(Tr("LayoutDefinition",
                          "%1 %2 makes the ring band %3 mm, too thin for ring text at BaseLength "
                          "%4: it needs BaseLength %5 or more (RingLength 0 leaves the ring text "
                          "out)"),
                       {k->key, std::to_string(Get(layout, *k)), MmText(band),
                        std::to_string(layout.BaseLength), std::to_string(smallest)});
    }
  }
  return {};
}

double LayoutRingBand(const LayoutDefinition& layout) {
  LayoutRecord record;
  ApplyLayoutDefinition(layout, std::string(), false, record);
  return record.RingBand;
}

int SmallestBaseLength(double bandMm) {
  if (!(bandMm > 0.0)) return 1;
  const double estimate = std::ceil(kMinStripHeight * kLabelWidthMm / bandMm);
  if (!(estimate <= kMaxBaseLength + 2.0)) return kMaxBaseLength + 1;
  // The estimate, then whole pixels as the renderer works the strip out.
  int side = std::max(1, static_cast<int>(estimate) - 2);
  while (side <= kMaxBaseLength && RingStripHeight(side, bandMm) < kMinStripHeight) ++side;
  return side;
}

std::string CheckLayoutRecord(const LayoutRecord& r) {
  for (const auto& [key, grey] : {std::pair<const char*, uint32_t>{"BgColor", r.BgColor},
                                  std::pair<const char*, uint32_t>{"TxColor", r.TxColor}})
    if (grey != GreyFromSetting(static_cast<int>(grey & 0xFF)))
      return Arg(Tr("LayoutDefinition", "%1 must be a grey from 0 (black) to 255 (white)"), {key});
  for (const auto& [key, angle] : {std::pair<const char*, int>{"RingMAngle", r.RingMAngle},
                                   std::pair<const char*, int>{"RingSAngle", r.RingSAngle}})
    if (angle < 0 || angle > kMaxRingAngle)
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 degrees"),
                 {key, "0", std::to_string(kMaxRingAngle)});
  if (!(r.InnerRadius >= kLowestInnerRadius && r.InnerRadius <= r.OuterRadius &&
        r.OuterRadius <= kHighestOuterRadius))
    return Arg(Tr("LayoutDefinition",
                  "InnerRadius and OuterRadius must be %1 to %2 mm, InnerRadius not beyond "
                  "OuterRadius"),
               {MmText(kLowestInnerRadius), MmText(kHighestOuterRadius)});
  if (!(r.RingLength >= 0.0))
    return Tr("LayoutDefinition", "RingLength must be 0 (no ring text) or more mm");
  if (r.BaseLength < 1 || r.BaseLength > kMaxBaseLength)
    return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels"),
               {"BaseLength", "1", std::to_string(kMaxBaseLength)});
  return RingStripRefusal(r.BaseLength, r.RingBand);
}

LayoutDefinition DefinitionOfRecord(const LayoutRecord& r) {
  LayoutDefinition d;
  d.Name.clear();
  d.BgImage = r.BgImage;
  d.BgColor = static_cast<int>(r.BgColor & 0xFF);
  d.TxColor = static_cast<int>(r.TxColor & 0xFF);
  d.BaseLength = r.BaseLength;
  d.Title = r.Title;
  d.Date = r.Date;
  d.Note = r.Note;
  d.RingType = r.RingType;
  d.RLetterAlign = r.RLetterAlign;
  d.RingMAngle = r.RingMAngle;
  d.RingSAngle = r.RingSAngle;
  d.RingLength = static_cast<int>(r.RingLength);
  d.InnerRadius = static_cast<int>(r.InnerRadius);
  d.OuterRadius = static_cast<int>(r.OuterRadius);
  return d;
}

LayoutRecord RecordOfDefinition(const LayoutDefinition& d) {
  LayoutRecord r;
  r.BgImage = d.BgImage;
  r.BgColor = GreyFromSetting(d.BgColor);
  r.TxColor = GreyFromSetting(d.TxColor);
  r.BaseLength = d.BaseLength;
  r.Title = d.Title;
  r.Date = d.Date;
  r.Note = d.Note;
  r.RingType = d.RingType;
  r.RLetterAlign = d.RLetterAlign;
  r.RingMAngle = d.RingMAngle;
  r.RingSAngle = d.RingSAngle;
  r.RingLength = d.RingLength;
  r.InnerRadius = d.InnerRadius;
  r.OuterRadius = d.OuterRadius;
  r.RingBand = 0.0;
  return r;
}

}  // namespace twr
