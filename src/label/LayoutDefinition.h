// A layout as a person sets it: the keys of one [LayoutNN] section with the
// values as the file writes them (greys 0 to 255, radii and the ring length
// in whole millimetres, boxes in label pixels, the picture relative to the
// settings file), the limits each key may take and the checks that keep a
// layout within them. The layout designer and `twr layout` both edit
// layouts through these rules.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Translate.h"
#include "label/LayoutSettings.h"

namespace twr {

class ProfileFile;

struct LayoutDefinition {
  std::string Name;
  std::string BgImage;  // as written: relative to the settings file's folder
  int BgColor = 255;
  int TxColor = 0;
  int BaseLength = 1655;
  LayoutBox Title{0, 0, 0, 0, 20, 0};
  LayoutBox Date{0, 0, 0, 0, 10, 0};
  LayoutBox Note{0, 0, 0, 0, 20, 0};
  QrBox Qr;
  int RingType = 0;
  int RLetterAlign = 2;
  int RingMAngle = 180;
  int RingSAngle = 180;
  int RingLength = 0;  // mm
  int InnerRadius = 25;
  int OuterRadius = 58;
  // The section's keys this program does not use, in file order, with their
  // values as written: they travel with the layout.
  std::vector<std::pair<std::string, std::string>> OtherKeys;

  bool operator==(const LayoutDefinition&) const = default;
};

enum class LayoutBoxKind { Title, Date, Note };
inline constexpr LayoutBoxKind kLayoutBoxKinds[] = {LayoutBoxKind::Title, LayoutBoxKind::Date,
                                                    LayoutBoxKind::Note};
LayoutBox& BoxOf(LayoutDefinition& layout, LayoutBoxKind kind);
const LayoutBox& BoxOf(const LayoutDefinition& layout, LayoutBoxKind kind);
// "Title", "Date", "Note": the prefix of the box's keys.
const char* BoxKeyPrefix(LayoutBoxKind kind);
// Whether the renderer draws the box: the title when either side is
// non-zero, the date and the note only when both are.
bool BoxIsDrawn(const LayoutDefinition& layout, LayoutBoxKind kind);

// The names of the numbered choices, index = value.
inline constexpr const char* kRingTypeNames[] = {
    TWR_TRANSLATE_NOOP("LayoutDefinition", "One line around the full circle"),
    TWR_TRANSLATE_NOOP("LayoutDefinition", "Title and date above, notes below"),
    TWR_TRANSLATE_NOOP("LayoutDefinition", "Two rows on the lower arc")};
inline constexpr const char* kRingPlaceNames[] = {
    TWR_TRANSLATE_NOOP("LayoutDefinition", "At the inner radius"),
    TWR_TRANSLATE_NOOP("LayoutDefinition", "Centred in the band"),
    TWR_TRANSLATE_NOOP("LayoutDefinition", "At the outer radius")};
inline constexpr const char* kAlignNames[] = {TWR_TRANSLATE_NOOP("LayoutDefinition", "Left"),
                                              TWR_TRANSLATE_NOOP("LayoutDefinition", "Centred"),
                                              TWR_TRANSLATE_NOOP("LayoutDefinition", "Right")};

// The layout a new one starts from: a title, a date and a note box on a
// white label, title and date on the upper arc of the ring, notes below.
LayoutDefinition StarterLayout();

// Section "Layout%02d" of `index` with the reader's defaults for missing keys
// (values as read, not yet checked or clamped; the name as
// TextFromSettings reads it).
LayoutDefinition ReadLayoutDefinition(const ProfileFile& ini, int index);

// A text of the settings file shown as text (a layout's name, the font
// setting) in a defined reading: UTF-8 kept, any other byte taken as
// Windows-1252 (what older settings files hold), control characters left
// out, at most kProfileStringMax bytes.
std::string TextFromSettings(std::string_view stored);

// The layout record the renderer draws, as LoadLayout makes it from the
// file: greys from their low byte, the arcs held to a half circle, the
// picture's path taken from the settings folder, and unless keepRadii the
// ring length and radii (reset when out of range) with the ring band.
// FontFace is left alone.
void ApplyLayoutDefinition(const LayoutDefinition& layout, const std::string& settingsFolder,
                           bool keepRadii, LayoutRecord& record);

// ---- The keys of a layout section -------------------------------------------
// Every key is one row of one table (LayoutKeys): its name in the file, the
// member it reads and writes, its limits, its unit and how the layout
// designer's panel shows it. The settings reader and writer, the design
// file's layout, `twr layout`, `twr design show` and the designer's panel
// go through the table.

// What a key's value counts.
enum class LayoutUnit {
  Text,         // Name: a line of UTF-8 text
  PicturePath,  // BgImage: a picture, relative to the settings file's folder
  Grey,         // 0 (black) to 255 (white)
  LabelPixels,  // pixels of the label, BaseLength of them across its 116 mm
  WidthUnits,   // characters, a wide East Asian one counting two
  Choice,       // a number that chooses one of LayoutKey::choices
  Degrees,      // of arc
  Millimetres,  // whole millimetres from the disc centre, or of the ring band
};

// The limits of a key (LayoutKeyLimits gives them for a layout).
enum class LayoutLimit {
  Text,         // one line without control characters, at most 79 bytes
  Grey,         // 0 .. 255
  Side,         // SmallestBaseLength(the ring band) .. 10000
  BoxSize,      // 0 .. BaseLength
  BoxPlace,     // -BaseLength .. BaseLength
  TextWidth,    // 0 .. 256 width units
  NoteWidth,    // 0 .. 2560 width units
  Choice,       // 0 .. the number of choices - 1
  Angle,        // 0 .. 180
  RingLength,   // 0 .. 33
  InnerRadius,  // 25 .. OuterRadius
  OuterRadius,  // InnerRadius .. 58
};

// Where the designer's panel shows a key: the selected box's page, the ring
// text's page or the layout's own page.
enum class LayoutPage { Box, Ring, Layout };
// The control that sets it there.
enum class LayoutControl {
  Line,            // a line to type in, with its unit beside it
  Slider,          // a grey, with its swatch
  Picture,         // the picture's name with Choose and Remove
  List,            // the choices' names in a list
  PictureButtons,  // the choices as buttons with a small picture each
};

struct LayoutKey {
  const char* name = nullptr;  // as the file spells it
  // The member it reads and writes: a text (Name, BgImage) or a number.
  std::string& (*text)(LayoutDefinition&) = nullptr;
  int& (*number)(LayoutDefinition&) = nullptr;
  LayoutLimit limit = LayoutLimit::Text;
  LayoutUnit unit = LayoutUnit::Text;
  std::span<const char* const> choices = {};  // LayoutUnit::Choice: the names, index = value
  std::optional<LayoutBoxKind> box = {};      // the box whose key it is
  // The designer's panel: the page, the place on it, the control, the
  // field's label and tooltip (TWR_TRANSLATE_NOOP("LayoutDefinition", ...);
  // no tooltip: nullptr) and whether the renderer uses the key in this
  // layout (nullptr: always; otherwise the field is greyed out).
  LayoutPage page = LayoutPage::Layout;
  int place = 0;
  LayoutControl control = LayoutControl::Line;
  const char* label = nullptr;
  const char* hint = nullptr;
  bool (*inUse)(const LayoutDefinition&) = nullptr;
  // A key that design files written before it lack: a file without it
  // reads the key's default.
  bool optional = false;

  bool IsText() const { return text != nullptr; }
  int Number(const LayoutDefinition& layout) const;
  // The value as the file writes it.
  std::string Value(const LayoutDefinition& layout) const;
  // For a box's key, its name without the box's prefix ("PosX").
  const char* BoxField() const;
};

// Every key of a layout section, in the order a new section lists them.
std::span<const LayoutKey> LayoutKeys();
// The key of a name in any case; nullptr when it is no layout key.
const LayoutKey* FindLayoutKey(std::string_view name);
// The key's own spelling for a name in any case; empty when it is no layout key.
std::string CanonicalLayoutKey(std::string_view key);

struct LayoutKeyRange {
  int minimum = 0;
  int maximum = 0;
};
// The values a number key may take in this layout (the boxes' limits follow
// BaseLength, each radius the other one, the smallest BaseLength the ring
// band).
LayoutKeyRange LayoutKeyLimits(const LayoutDefinition& layout, std::string_view key);
// The values of a number key the renderer draws, whatever the other keys
// hold: greys 0 to 255, BaseLength 1 to kMaxBaseLength, arcs 0 to 180
// degrees, radii 25 to 58 mm, a RingLength of 0 or more; any 32-bit number
// for the boxes, MaxNum and the choices (boxes are clipped, texts cut,
// another choice counts as the first). Wider than LayoutKeyLimits, which
// keeps edits tidy: a layout stored with such values (a settings section,
// a design file) stays readable. CheckLayoutRecord adds what depends on
// several keys (the radii's order, the ring band's strip).
LayoutKeyRange LayoutKeyDrawnLimits(const LayoutKey& key);

// ---- What the renderer can draw ----
// The renderer draws any box (it clips what lies off the label), takes any
// choice (others count as the first) and cuts texts to any MaxNum; it
// fails on a BaseLength outside 1 to kMaxBaseLength and on a ring band
// whose strip is thinner than kMinStripHeight label pixels. Every way a
// layout comes in (a settings section when it is drawn or saved as a
// design, a design file, `twr layout set`, the layout designer) is held to
// these limits, so that a layout accepted is one that renders.

// The ring band (mm) the renderer takes from the layout: RingLength within
// InnerRadius and OuterRadius (both reset to 25 and 58 mm when they are out
// of range), as ApplyLayoutDefinition works it out.
double LayoutRingBand(const LayoutDefinition& layout);
// The smallest BaseLength whose ring strip for a band of `bandMm` is
// drawn (RingStripHeight at least kMinStripHeight); 1 without a band,
// above kMaxBaseLength when no label is large enough.
int SmallestBaseLength(double bandMm);
// Why the renderer cannot draw the record as it stands, "" when it can, as
// a sentence without its full stop: greys, arcs up to 180 degrees, radii
// from 25 to 58 mm, a ring length of 0 or more, BaseLength 1 to 10000 and
// large enough for the record's ring band (RingBand: a burning area set
// with CELLayout::SetBandRadii counts).
std::string CheckLayoutRecord(const LayoutRecord& record);
// The numbers of a record as a layout section writes them (greys from
// their low byte, millimetres cut to whole ones); Name is empty.
LayoutDefinition DefinitionOfRecord(const LayoutRecord& record);
// The record of the numbers as they are, nothing clamped or reset (unlike
// the settings reader's ApplyLayoutDefinition); BgImage as written,
// RingBand 0.
LayoutRecord RecordOfDefinition(const LayoutDefinition& layout);

// The key's value as the file writes it.
std::string LayoutKeyValue(const LayoutDefinition& layout, std::string_view key);
int LayoutNumber(const LayoutDefinition& layout, std::string_view key);

// Sets a number key; "" when done, otherwise why not (the layout is then
// unchanged), as a sentence without its full stop.
std::string SetLayoutNumber(LayoutDefinition& layout, std::string_view key, int value);
// Sets any key from its text as written in the file (a whole number for the
// number keys) when the value is within its limits; "" or why not.
std::string SetLayoutValue(LayoutDefinition& layout, std::string_view key, std::string_view text);
// Only reads the text into the key (""), or says why it is no value for it;
// the limits are checked afterwards with CheckLayoutKey, so that keys that
// limit each other (the radii) can be set together.
std::string AssignLayoutValue(LayoutDefinition& layout, std::string_view key,
                              std::string_view text);
// Why the key's present value is outside its limits in this layout; "" when
// it is within them. Checks values set together (both radii) at the end.
// RingLength and the radii are also refused when the ring band they make
// is too thin for ring text at the layout's BaseLength; Name must be UTF-8
// and neither text may hold control characters.
std::string CheckLayoutKey(const LayoutDefinition& layout, std::string_view key);

}  // namespace twr
