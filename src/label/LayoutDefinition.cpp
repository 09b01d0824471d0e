// Layouts as they are edited: reading a section, the record for the
// renderer, and the limits of every key.
#include "label/LayoutDefinition.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

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

std::string Lowered(const char* text) {
  std::string s = text;
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The three choices as a refusal names them, in English as the file's
// values are.
std::string NumberedLower(std::span<const char* const> names) {
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

LayoutKeyRange Limits(const LayoutDefinition& layout, const LayoutKey& key) {
  const int side = std::max(layout.BaseLength, 0);
  switch (key.limit) {
    case LayoutLimit::Text:
      return {};
    case LayoutLimit::Grey:
      return {0, 255};
    case LayoutLimit::Side:
      return {SmallestBaseLength(LayoutRingBand(layout)), kMaxBaseLength};
    case LayoutLimit::BoxSize:
      return {0, side};
    case LayoutLimit::BoxPlace:
      return {-side, side};
    case LayoutLimit::TextWidth:
      return {0, kLongestTitleWidth};
    case LayoutLimit::NoteWidth:
      return {0, kLongestNoteWidth};
    case LayoutLimit::Choice:
      return {0, static_cast<int>(key.choices.size()) - 1};
    case LayoutLimit::Angle:
      return {0, kMaxRingAngle};
    case LayoutLimit::RingLength:
      return {0, static_cast<int>(kHighestOuterRadius - kLowestInnerRadius)};
    case LayoutLimit::InnerRadius:
      return {static_cast<int>(kLowestInnerRadius),
              std::min(layout.OuterRadius, static_cast<int>(kHighestOuterRadius))};
    case LayoutLimit::OuterRadius:
      return {std::max(layout.InnerRadius, static_cast<int>(kLowestInnerRadius)),
              static_cast<int>(kHighestOuterRadius)};
  }
  return {};
}

// Why `value` is outside the key's limits in `layout`, or "".
std::string Refusal(const LayoutDefinition& layout, const LayoutKey& key, int value) {
  const LayoutKeyRange range = Limits(layout, key);
  if (value >= range.minimum && value <= range.maximum) return {};
  const std::string name = key.name;
  const std::string from = std::to_string(range.minimum), to = std::to_string(range.maximum);
  switch (key.limit) {
    case LayoutLimit::Grey:
      return Arg(Tr("LayoutDefinition", "%1 must be a grey from 0 (black) to 255 (white)"), {name});
    case LayoutLimit::Side:
      // Below 1 or above the largest, or too small for the ring band.
      if (value >= 1 && value <= kMaxBaseLength)
        return RingStripRefusal(value, LayoutRingBand(layout));
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels"),
                 {name, "1", std::to_string(kMaxBaseLength)});
    case LayoutLimit::BoxPlace:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels"), {name, from, to});
    case LayoutLimit::BoxSize:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 label pixels (the side of the label)"),
                 {name, from, to});
    case LayoutLimit::TextWidth:
    case LayoutLimit::NoteWidth:
      return Arg(Tr("LayoutDefinition",
                    "%1 must be %2 to %3 characters (a wide East Asian character counts two)"),
                 {name, from, to});
    case LayoutLimit::Choice:
      return Arg(Tr("LayoutDefinition", "%1 must be %2"), {name, NumberedLower(key.choices)});
    case LayoutLimit::Text:
      break;
    case LayoutLimit::Angle:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 degrees"), {name, from, to});
    case LayoutLimit::RingLength:
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 mm (0: no ring text)"),
                 {name, from, to});
    case LayoutLimit::InnerRadius:
      return Arg(
          Tr("LayoutDefinition", "%1 must be %2 to %3 mm (at least %2, at most OuterRadius)"),
          {name, from, to});
    case LayoutLimit::OuterRadius:
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

// Why the text key's value cannot be kept; "" when it can.
std::string CheckText(const LayoutKey& key, std::string_view text) {
  // The name is shown in lists and kept in designs: UTF-8 text to be shown.
  const bool isName = key.unit == LayoutUnit::Text;
  if (text.find_first_of("\r\n") != std::string_view::npos)
    return Arg(Tr("LayoutDefinition", "%1 must be one line"), {key.name});
  if (isName && !IsValidUtf8(text)) return Tr("LayoutDefinition", "Name must be UTF-8 text");
  if (HasControlChar(text))
    return Arg(Tr("LayoutDefinition", "%1 must not hold control characters"), {key.name});
  if (text.size() > kProfileStringMax)
    return Arg(Tr("LayoutDefinition", "%1 must be at most %2 bytes (it has %3)"),
               {key.name, std::to_string(kProfileStringMax), std::to_string(text.size())});
  if (isName && TrimProfileBlanks(text).empty())
    return Tr("LayoutDefinition", "Name must not be empty: the layout list shows it");
  return {};
}

}  // namespace

std::span<const LayoutKey> LayoutKeys() {
// The members a key reads and writes.
// NOLINTBEGIN(bugprone-macro-parentheses): `member` names a member; parentheses cannot go there
#define TWR_NUMBER(member) [](LayoutDefinition& d) -> int& { return d.member; }
#define TWR_TEXT(member) [](LayoutDefinition& d) -> std::string& { return d.member; }
  // NOLINTEND(bugprone-macro-parentheses)

  // The labels of a box's fields: the page shows the selected box's.
  constexpr const char* kLeftEdge = TWR_TRANSLATE_NOOP("LayoutDefinition", "Left edge");
  constexpr const char* kLeftEdgeHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition", "From the disc centre; to the left is negative");
  constexpr const char* kTopEdge = TWR_TRANSLATE_NOOP("LayoutDefinition", "Top edge");
  constexpr const char* kTopEdgeHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition", "From the disc centre; upwards is negative");
  constexpr const char* kWidth = TWR_TRANSLATE_NOOP("LayoutDefinition", "Width");
  constexpr const char* kHeight = TWR_TRANSLATE_NOOP("LayoutDefinition", "Height");
  constexpr const char* kAtMost = TWR_TRANSLATE_NOOP("LayoutDefinition", "At most");
  constexpr const char* kAtMostHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition",
                         "MaxNum: the box draws at most this many characters of its text; a wide "
                         "East Asian character counts two");
  constexpr const char* kAlignment = TWR_TRANSLATE_NOOP("LayoutDefinition", "Alignment");
  // The tooltips of the other fields.
  constexpr const char* kSideHint = TWR_TRANSLATE_NOOP(
      "LayoutDefinition", "The label's side in pixels (116 mm across); the boxes keep their place");
  constexpr const char* kMainArcHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition", "RingMAngle: degrees of arc for the title and date");
  constexpr const char* kNoteArcHint = TWR_TRANSLATE_NOOP(
      "LayoutDefinition", "RingSAngle: degrees of arc for the note lines (upper and lower arc)");
  constexpr const char* kThicknessHint = TWR_TRANSLATE_NOOP(
      "LayoutDefinition", "RingLength: the ring text band's thickness; 0 draws no ring text");
  constexpr const char* kInnerHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition", "The inner edge of the burning area, at least 25 mm");
  constexpr const char* kQrPlaceHint = TWR_TRANSLATE_NOOP(
      "LayoutDefinition", "The QR code box's corner in label pixels from the label's top left");
  constexpr const char* kQrSizeHint = TWR_TRANSLATE_NOOP(
      "LayoutDefinition",
      "The QR code box's side in label pixels; 0 draws no QR code. The code with its quiet zone "
      "is drawn as large as whole pixels per module allow");
  constexpr const char* kOuterHint =
      TWR_TRANSLATE_NOOP("LayoutDefinition", "The outer edge of the burning area, at most 58 mm");

  using enum LayoutLimit;
  using enum LayoutPage;
  using enum LayoutControl;
  using U = LayoutUnit;
  using B = LayoutBoxKind;

  // Every key of a layout section, in the order a new section lists them.
  // clang-format off
  static constexpr LayoutKey kKeys[] = {
    {.name = "Name", .text = TWR_TEXT(Name), .limit = Text, .unit = U::Text, .page = Layout,
     .place = 0, .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Name")},
    {.name = "BgImage", .text = TWR_TEXT(BgImage), .limit = Text, .unit = U::PicturePath,
     .page = Layout, .place = 3, .control = Picture,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Background picture")},
    {.name = "BgColor", .number = TWR_NUMBER(BgColor), .limit = Grey, .unit = U::Grey,
     .page = Layout, .place = 2, .control = Slider,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Background grey")},
    {.name = "TxColor", .number = TWR_NUMBER(TxColor), .limit = Grey, .unit = U::Grey,
     .page = Layout, .place = 1, .control = Slider,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Text grey")},
    {.name = "BaseLength", .number = TWR_NUMBER(BaseLength), .limit = Side, .unit = U::LabelPixels,
     .page = Layout, .place = 6, .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "BaseLength"),
     .hint = kSideHint},
    {.name = "TitleWidth", .number = TWR_NUMBER(Title.Width), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Title, .page = Box, .place = 2, .label = kWidth},
    {.name = "TitleHeight", .number = TWR_NUMBER(Title.Height), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Title, .page = Box, .place = 3, .label = kHeight},
    {.name = "TitlePosX", .number = TWR_NUMBER(Title.PosX), .limit = BoxPlace,
     .unit = U::LabelPixels, .box = B::Title, .page = Box, .place = 0, .label = kLeftEdge,
     .hint = kLeftEdgeHint},
    {.name = "TitlePosY", .number = TWR_NUMBER(Title.PosY), .limit = BoxPlace,
     .unit = U::LabelPixels, .box = B::Title, .page = Box, .place = 1, .label = kTopEdge,
     .hint = kTopEdgeHint},
    {.name = "TitleMaxNum", .number = TWR_NUMBER(Title.MaxNum), .limit = TextWidth,
     .unit = U::WidthUnits, .box = B::Title, .page = Box, .place = 4, .label = kAtMost,
     .hint = kAtMostHint},
    {.name = "TitleAlign", .number = TWR_NUMBER(Title.Align), .limit = Choice, .unit = U::Choice,
     .choices = kAlignNames, .box = B::Title, .page = Box, .place = 5, .control = List,
     .label = kAlignment},
    {.name = "DateWidth", .number = TWR_NUMBER(Date.Width), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Date, .page = Box, .place = 2, .label = kWidth},
    {.name = "DateHeight", .number = TWR_NUMBER(Date.Height), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Date, .page = Box, .place = 3, .label = kHeight},
    {.name = "DatePosX", .number = TWR_NUMBER(Date.PosX), .limit = BoxPlace, .unit = U::LabelPixels,
     .box = B::Date, .page = Box, .place = 0, .label = kLeftEdge, .hint = kLeftEdgeHint},
    {.name = "DatePosY", .number = TWR_NUMBER(Date.PosY), .limit = BoxPlace, .unit = U::LabelPixels,
     .box = B::Date, .page = Box, .place = 1, .label = kTopEdge, .hint = kTopEdgeHint},
    {.name = "DateMaxNum", .number = TWR_NUMBER(Date.MaxNum), .limit = TextWidth,
     .unit = U::WidthUnits, .box = B::Date, .page = Box, .place = 4, .label = kAtMost,
     .hint = kAtMostHint},
    {.name = "DateAlign", .number = TWR_NUMBER(Date.Align), .limit = Choice, .unit = U::Choice,
     .choices = kAlignNames, .box = B::Date, .page = Box, .place = 5, .control = List,
     .label = kAlignment},
    {.name = "NoteWidth", .number = TWR_NUMBER(Note.Width), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Note, .page = Box, .place = 2, .label = kWidth},
    {.name = "NoteHeight", .number = TWR_NUMBER(Note.Height), .limit = BoxSize,
     .unit = U::LabelPixels, .box = B::Note, .page = Box, .place = 3, .label = kHeight},
    {.name = "NotePosX", .number = TWR_NUMBER(Note.PosX), .limit = BoxPlace, .unit = U::LabelPixels,
     .box = B::Note, .page = Box, .place = 0, .label = kLeftEdge, .hint = kLeftEdgeHint},
    {.name = "NotePosY", .number = TWR_NUMBER(Note.PosY), .limit = BoxPlace, .unit = U::LabelPixels,
     .box = B::Note, .page = Box, .place = 1, .label = kTopEdge, .hint = kTopEdgeHint},
    {.name = "NoteMaxNum", .number = TWR_NUMBER(Note.MaxNum), .limit = NoteWidth,
     .unit = U::WidthUnits, .box = B::Note, .page = Box, .place = 4, .label = kAtMost,
     .hint = kAtMostHint},
    {.name = "NoteAlign", .number = TWR_NUMBER(Note.Align), .limit = Choice, .unit = U::Choice,
     .choices = kAlignNames, .box = B::Note, .page = Box, .place = 5, .control = List,
     .label = kAlignment},
    {.name = "RingType", .number = TWR_NUMBER(RingType), .limit = Choice, .unit = U::Choice,
     .choices = kRingTypeNames, .page = Ring, .place = 0, .control = PictureButtons,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Arrangement")},
    {.name = "RLetterAlign", .number = TWR_NUMBER(RLetterAlign), .limit = Choice, .unit = U::Choice,
     .choices = kRingPlaceNames, .page = Ring, .place = 1, .control = List,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Place in the band")},
    {.name = "RingMAngle", .number = TWR_NUMBER(RingMAngle), .limit = Angle, .unit = U::Degrees,
     .page = Ring, .place = 2,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Title and date arc"),
     .hint = kMainArcHint},
    // The note lines have an arc of their own only above and below.
    {.name = "RingSAngle", .number = TWR_NUMBER(RingSAngle), .limit = Angle, .unit = U::Degrees,
     .page = Ring, .place = 3, .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Note arc"),
     .hint = kNoteArcHint,
     .inUse = [](const LayoutDefinition& d) { return d.RingType == 1; }},
    {.name = "RingLength", .number = TWR_NUMBER(RingLength), .limit = RingLength,
     .unit = U::Millimetres, .page = Ring, .place = 4,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Thickness"),
     .hint = kThicknessHint},
    {.name = "InnerRadius", .number = TWR_NUMBER(InnerRadius), .limit = InnerRadius,
     .unit = U::Millimetres, .page = Layout, .place = 4,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Inner radius"),
     .hint = kInnerHint},
    {.name = "OuterRadius", .number = TWR_NUMBER(OuterRadius), .limit = OuterRadius,
     .unit = U::Millimetres, .page = Layout, .place = 5,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "Outer radius"),
     .hint = kOuterHint},
    {.name = "QrPosX", .number = TWR_NUMBER(Qr.PosX), .limit = BoxPlace, .unit = U::LabelPixels,
     .page = Layout, .place = 8,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "QR code left edge"), .hint = kQrPlaceHint,
     .optional = true},
    {.name = "QrPosY", .number = TWR_NUMBER(Qr.PosY), .limit = BoxPlace, .unit = U::LabelPixels,
     .page = Layout, .place = 9,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "QR code top edge"), .hint = kQrPlaceHint,
     .optional = true},
    {.name = "QrSize", .number = TWR_NUMBER(Qr.Size), .limit = BoxSize, .unit = U::LabelPixels,
     .page = Layout, .place = 7,
     .label = TWR_TRANSLATE_NOOP("LayoutDefinition", "QR code size"), .hint = kQrSizeHint,
     .optional = true},
  };
  // clang-format on

#undef TWR_NUMBER
#undef TWR_TEXT

  return kKeys;
}

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
  for (const LayoutKey& key : LayoutKeys()) {
    if (key.IsText()) {
      // The name as text to be shown; the picture's path as written.
      const std::string stored = ini.GetString(section, key.name);
      key.text(d) = key.unit == LayoutUnit::Text ? TextFromSettings(stored) : stored;
    } else {
      int& field = key.number(d);
      field = ini.GetInt(section, key.name, field);
    }
  }
  for (const std::string& key : ini.Keys(section)) {
    if (FindLayoutKey(key) == nullptr) d.OtherKeys.emplace_back(key, ini.GetStored(section, key));
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
  record.Qr = d.Qr;
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

int LayoutKey::Number(const LayoutDefinition& layout) const {
  return number != nullptr ? number(const_cast<LayoutDefinition&>(layout)) : 0;
}

std::string LayoutKey::Value(const LayoutDefinition& layout) const {
  if (text != nullptr) return text(const_cast<LayoutDefinition&>(layout));
  return std::to_string(Number(layout));
}

const char* LayoutKey::BoxField() const {
  return box ? name + std::strlen(BoxKeyPrefix(*box)) : name;
}

const LayoutKey* FindLayoutKey(std::string_view name) {
  for (const LayoutKey& key : LayoutKeys())
    if (ProfileNameEquals(key.name, name)) return &key;
  return nullptr;
}

std::string CanonicalLayoutKey(std::string_view key) {
  const LayoutKey* k = FindLayoutKey(key);
  return k != nullptr ? k->name : std::string();
}

LayoutKeyRange LayoutKeyLimits(const LayoutDefinition& layout, std::string_view key) {
  const LayoutKey* k = FindLayoutKey(key);
  return k != nullptr ? Limits(layout, *k) : LayoutKeyRange{};
}

LayoutKeyRange LayoutKeyDrawnLimits(const LayoutKey& key) {
  constexpr int kAny = std::numeric_limits<int>::max();
  switch (key.limit) {
    case LayoutLimit::Grey:
    case LayoutLimit::Angle:
      return Limits(LayoutDefinition{}, key);
    case LayoutLimit::Side:
      return {1, kMaxBaseLength};
    case LayoutLimit::RingLength:
      return {0, kAny};
    case LayoutLimit::InnerRadius:
    case LayoutLimit::OuterRadius:
      return {static_cast<int>(kLowestInnerRadius), static_cast<int>(kHighestOuterRadius)};
    case LayoutLimit::Text:
      return {};
    case LayoutLimit::BoxSize:
    case LayoutLimit::BoxPlace:
    case LayoutLimit::TextWidth:
    case LayoutLimit::NoteWidth:
    case LayoutLimit::Choice:
      break;
  }
  return {std::numeric_limits<int>::min(), kAny};
}

std::string LayoutKeyValue(const LayoutDefinition& layout, std::string_view key) {
  const LayoutKey* k = FindLayoutKey(key);
  return k != nullptr ? k->Value(layout) : std::string();
}

int LayoutNumber(const LayoutDefinition& layout, std::string_view key) {
  const LayoutKey* k = FindLayoutKey(key);
  return k != nullptr ? k->Number(layout) : 0;
}

std::string SetLayoutNumber(LayoutDefinition& layout, std::string_view key, int value) {
  const LayoutKey* k = FindLayoutKey(key);
  if (k == nullptr || k->IsText())
    return Arg(Tr("LayoutDefinition", "%1 is not a number key of a layout"), {InQuotes(key)});
  if (std::string why = Refusal(layout, *k, value); !why.empty()) return why;
  k->number(layout) = value;
  return {};
}

std::string AssignLayoutValue(LayoutDefinition& layout, std::string_view key,
                              std::string_view text) {
  const LayoutKey* k = FindLayoutKey(key);
  if (k == nullptr)
    return Arg(Tr("LayoutDefinition", "%1 is not a key of a layout"), {InQuotes(key)});
  if (k->IsText()) {
    k->text(layout) = std::string(text);
    return {};
  }
  const std::string_view t = TrimProfileBlanks(text);
  int value = 0;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, value);
  if (t.empty() || ec != std::errc() || end != last)
    return Arg(Tr("LayoutDefinition", "%1 must be a whole number (%2 is not one)"),
               {k->name, InQuotes(text)});
  k->number(layout) = value;
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
  const LayoutKey* k = FindLayoutKey(key);
  if (k == nullptr)
    return Arg(Tr("LayoutDefinition", "%1 is not a key of a layout"), {InQuotes(key)});
  if (k->IsText()) return CheckText(*k, k->Value(layout));
  if (std::string why = Refusal(layout, *k, k->Number(layout)); !why.empty()) return why;
  // The ring band these keys make must leave ring text a strip to be drawn
  // on at the layout's BaseLength.
  if (k->limit == LayoutLimit::RingLength || k->limit == LayoutLimit::InnerRadius ||
      k->limit == LayoutLimit::OuterRadius) {
    const double band = LayoutRingBand(layout);
    if (!RingStripRefusal(layout.BaseLength, band).empty()) {
      const int smallest = SmallestBaseLength(band);
      return smallest > kMaxBaseLength
                 ? Arg(Tr("LayoutDefinition",
                          "%1 %2 makes the ring band %3 mm, too thin for ring text at any "
                          "BaseLength (RingLength 0 leaves the ring text out)"),
                       {k->name, std::to_string(k->Number(layout)), MmText(band)})
                 : Arg(Tr("LayoutDefinition",
                          "%1 %2 makes the ring band %3 mm, too thin for ring text at BaseLength "
                          "%4: it needs BaseLength %5 or more (RingLength 0 leaves the ring text "
                          "out)"),
                       {k->name, std::to_string(k->Number(layout)), MmText(band),
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
  // The arcs, by the table's limits.
  const LayoutDefinition numbers = DefinitionOfRecord(r);
  for (const LayoutKey& key : LayoutKeys()) {
    if (key.limit != LayoutLimit::Angle) continue;
    const LayoutKeyRange range = LayoutKeyDrawnLimits(key);
    if (const int angle = key.Number(numbers); angle < range.minimum || angle > range.maximum)
      return Arg(Tr("LayoutDefinition", "%1 must be %2 to %3 degrees"),
                 {key.name, std::to_string(range.minimum), std::to_string(range.maximum)});
  }
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
  d.Qr = r.Qr;
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
  r.Qr = d.Qr;
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
