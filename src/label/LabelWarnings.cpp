// Checks of a rendered label against what the user asked for.
#include "label/LabelWarnings.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/DecimalText.h"
#include "common/Translate.h"
#include "common/Utf8.h"
#include "drive/DiscGeometry.h"
#include "label/BackgroundCache.h"
#include "label/CELLayout.h"
#include "label/LayoutDefinition.h"
#include "label/QrCode.h"

namespace twr {

namespace {

constexpr int kAlignCentreBand = 1;
constexpr int kAlignOuterBand = 2;
constexpr int kRadiusDecimals = 1;
constexpr std::size_t kQuotedLinesShown = 3;

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

std::string Area(const LabelBand& band) {
  return Arg(Tr("LabelWarnings", "%1 - %2 mm"), {Mm(band.inner), Mm(band.outer)});
}

// A quoted text within a list; the sentences quote their own values.
std::string Quoted(std::string_view text) {
  return Arg(Tr("LabelWarnings", "\"%1\""), {text});
}

// Distance from c to the nearest point of [low, high] (0 inside).
double Nearest(double c, double low, double high) {
  return c < low ? low - c : (c > high ? c - high : 0.0);
}

// The label-pixel rectangle, clipped to the label, lies wholly inside the
// centre's circle of the band's inner radius or wholly beyond its outer one.
bool BoxOutside(const LayoutRecord& layout, const LayoutBox& box, const LabelBand& band) {
  const double side = layout.BaseLength;
  const double x0 = std::clamp<double>(box.PosX, 0.0, side);
  const double y0 = std::clamp<double>(box.PosY, 0.0, side);
  const double x1 = std::clamp<double>(static_cast<double>(box.PosX) + box.Width, 0.0, side);
  const double y1 = std::clamp<double>(static_cast<double>(box.PosY) + box.Height, 0.0, side);
  if (x0 >= x1 || y0 >= y1) return true;     // nothing of it is on the label
  const int centre = layout.BaseLength / 2;  // the centre pixel, a whole number as drawn
  const double c = centre;
  const double mmPerPixel = kLabelWidthMm / side;
  const double nearest = std::hypot(Nearest(c, x0, x1), Nearest(c, y0, y1)) * mmPerPixel;
  const double farthest = std::hypot(std::max(std::abs(x0 - c), std::abs(x1 - c)),
                                     std::max(std::abs(y0 - c), std::abs(y1 - c))) *
                          mmPerPixel;
  return nearest >= band.outer || farthest <= band.inner;
}

// The label-pixel rectangle, clipped to the label, reaches inside the
// band's inner radius (the hub, which is not burned).
bool BoxUnderHub(const LayoutRecord& layout, const LayoutBox& box, const LabelBand& band) {
  const double side = layout.BaseLength;
  const double x0 = std::clamp<double>(box.PosX, 0.0, side);
  const double y0 = std::clamp<double>(box.PosY, 0.0, side);
  const double x1 = std::clamp<double>(static_cast<double>(box.PosX) + box.Width, 0.0, side);
  const double y1 = std::clamp<double>(static_cast<double>(box.PosY) + box.Height, 0.0, side);
  if (x0 >= x1 || y0 >= y1) return false;
  const int centre = layout.BaseLength / 2;  // a whole number, as drawn
  const double c = centre;
  const double nearest = std::hypot(Nearest(c, x0, x1), Nearest(c, y0, y1)) * kLabelWidthMm / side;
  return nearest < band.inner;
}

// The ring text's band, between the layout's radii as RLetterAlign places it.
LabelBand RingTextBand(const LayoutRecord& r) {
  double offset = 0.0;
  if (r.RLetterAlign == kAlignCentreBand)
    offset = (r.OuterRadius - r.InnerRadius - r.RingBand) * 0.5;
  else if (r.RLetterAlign == kAlignOuterBand)
    offset = r.OuterRadius - r.InnerRadius - r.RingBand;
  return {r.InnerRadius + offset, r.InnerRadius + offset + r.RingBand};
}

bool AnyText(const CELLayout& layout) {
  return !layout.Title.empty() || !layout.Date.empty() ||
         std::any_of(layout.NoteLines.begin(), layout.NoteLines.end(),
                     [](const std::string& l) { return !l.empty(); });
}

// One box and the texts drawn in it, each with how a sentence names it.
struct BoxTexts {
  const char* name;    // "The title box", ... (marked for translation)
  const char* prefix;  // of the layout keys
  const LayoutBox& box;
  bool drawn;
  std::vector<std::pair<std::string, const std::string*>> texts;
};

// A text longer than MaxNum width units is drawn cut (or not at all).
void CheckCut(std::vector<LabelWarning>& out, const BoxTexts& b, const std::string& what,
              const std::string& text) {
  const std::size_t limit = static_cast<std::size_t>(std::max(b.box.MaxNum, 0));
  const std::string_view kept = WidthPrefix(text, limit);
  if (kept.size() == text.size()) return;
  const std::string key = std::string(b.prefix) + "MaxNum";
  const std::string maxNum = std::to_string(b.box.MaxNum);
  out.push_back({LabelWarning::Kind::TextCut,
                 kept.empty()
                     ? Arg(Tr("LabelWarnings", "%1 \"%2\" is not drawn: %3 is %4."),
                           {what, text, key, maxNum})
                     : Arg(Tr("LabelWarnings",
                              "%1 \"%2\" is cut to \"%3\" (%4=%5 characters; a wide East Asian "
                              "character counts two)."),
                           {what, text, kept, key, maxNum})});
}

}  // namespace

std::vector<LabelWarning> CheckLabel(const CELLayout& layout, std::string_view typedNote,
                                     const LabelBand& band) {
  std::vector<LabelWarning> out;
  const LayoutRecord& r = layout.Layout();

  if (const std::string why = CheckLayoutRecord(r); !why.empty())
    out.push_back({LabelWarning::Kind::NotDrawn,
                   Arg(Tr("LabelWarnings",
                          "The layout cannot be drawn: %1. None of its texts is drawn or "
                          "burned."),
                       {why})});

  if (!r.BgImage.empty()) {
    std::string path = r.BgImage;
    std::string problem = layout.Background().ProblemWith(path);
    // A document's picture, read from its layout's file when the document
    // was made: what is wrong with that file now, in the user's language.
    if (const std::string source = layout.UnusedPictureSource(); !source.empty()) {
      path = source;
      problem = layout.UnusedPictureProblem();
    }
    if (!problem.empty())
      out.push_back({LabelWarning::Kind::Background,
                     Arg(Tr("LabelWarnings",
                            "The background picture \"%1\" %2; the label is filled with its "
                            "BgColor (grey %3) instead."),
                         {path, problem, std::to_string(r.BgColor & 0xFF)})});
  }

  // Boxes as the renderer draws them: a title box unless both sizes are 0,
  // date and note boxes only when both are non-zero; only a positive size
  // shows anything.
  std::vector<BoxTexts> boxes;
  boxes.push_back({TWR_TRANSLATE_NOOP("LabelWarnings", "The title box"),
                   "Title",
                   r.Title,
                   !(r.Title.Width == 0 && r.Title.Height == 0),
                   {{Tr("LabelWarnings", "The title"), &layout.Title}}});
  boxes.push_back({TWR_TRANSLATE_NOOP("LabelWarnings", "The date box"),
                   "Date",
                   r.Date,
                   r.Date.Width != 0 && r.Date.Height != 0,
                   {{Tr("LabelWarnings", "The date"), &layout.Date}}});
  boxes.push_back({TWR_TRANSLATE_NOOP("LabelWarnings", "The note box"),
                   "Note",
                   r.Note,
                   r.Note.Width != 0 && r.Note.Height != 0,
                   {}});
  for (std::size_t k = 0; k < layout.NoteLines.size(); ++k)
    boxes.back().texts.emplace_back(
        Arg(Tr("LabelWarnings", "Note line %1"), {std::to_string(k + 1)}), &layout.NoteLines[k]);
  for (const BoxTexts& b : boxes) {
    if (!b.drawn || b.box.Width <= 0 || b.box.Height <= 0) continue;
    bool hasText = false;
    for (const auto& [what, text] : b.texts) {
      CheckCut(out, b, what, *text);
      hasText = hasText ||
                !WidthPrefix(*text, static_cast<std::size_t>(std::max(b.box.MaxNum, 0))).empty();
    }
    if (hasText && r.BaseLength > 0 && BoxOutside(r, b.box, band))
      out.push_back(
          {LabelWarning::Kind::BoxOutsideBand,
           Arg(Tr("LabelWarnings",
                  "%1 lies wholly outside the burning area (%2): its text will not be burned."),
               {Tr("LabelWarnings", b.name), Area(band)})});
    else if (hasText && r.BaseLength > 0 && BoxUnderHub(r, b.box, band))
      out.push_back({LabelWarning::Kind::UnderHub,
                     Arg(Tr("LabelWarnings",
                            "%1 reaches under the hub (inside %2 mm): the part of its text there "
                            "will not be burned."),
                         {Tr("LabelWarnings", b.name), Mm(band.inner)})});
  }

  // The QR box: its text must fit a code, and the code lie on the burned band.
  if (layout.QrWanted()) {
    const LayoutBox qrBox{r.Qr.Size, r.Qr.Size, r.Qr.PosX, r.Qr.PosY, 0, 0};
    const QrCode& code = layout.QrSymbol();
    if (code.Empty())
      out.push_back({LabelWarning::Kind::QrNotDrawn,
                     Arg(Tr("LabelWarnings",
                            "The QR code's text is %1 bytes long; a code holds at most %2: no QR "
                            "code is drawn."),
                         {std::to_string(layout.QrText.size()), std::to_string(kQrMaxBytes)})});
    else if (r.BaseLength > 0 && BoxOutside(r, qrBox, band))
      out.push_back(
          {LabelWarning::Kind::BoxOutsideBand,
           Arg(Tr("LabelWarnings",
                  "The QR code lies wholly outside the burning area (%1): it will not be burned."),
               {Area(band)})});
    else if (r.BaseLength > 0 && BoxUnderHub(r, qrBox, band))
      out.push_back({LabelWarning::Kind::UnderHub,
                     Arg(Tr("LabelWarnings",
                            "The QR code reaches under the hub (inside %1 mm): the part there will "
                            "not be burned and the code will not read."),
                         {Mm(band.inner)})});
  }

  // Note lines past the tenth, as typed (empty ones lose nothing).
  std::vector<std::string_view> leftOut;
  std::size_t line = 0;
  for (std::size_t start = 0; start < typedNote.size(); ++line) {
    std::size_t end = typedNote.find('\n', start);
    if (end == std::string_view::npos) end = typedNote.size();
    std::string_view piece = typedNote.substr(start, end - start);
    if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
    if (line >= static_cast<std::size_t>(kNoteLineCount) && !piece.empty())
      leftOut.push_back(piece);
    start = end + 1;
  }
  if (!leftOut.empty()) {
    std::string list;
    for (std::size_t i = 0; i < leftOut.size() && i < kQuotedLinesShown; ++i)
      list += (i ? ", " : "") + Quoted(leftOut[i]);
    if (leftOut.size() > kQuotedLinesShown) list += ", ...";
    const std::string count = std::to_string(leftOut.size());
    out.push_back({LabelWarning::Kind::NoteLinesLeftOut,
                   leftOut.size() == 1
                       ? Arg(Tr("LabelWarnings",
                                "Only ten note lines are drawn; %1 more line is left out: %2."),
                             {count, list})
                       : Arg(Tr("LabelWarnings",
                                "Only ten note lines are drawn; %1 more lines are left out: %2."),
                             {count, list})});
  }

  // Ring text, between the layout's radii as RLetterAlign places it.
  const bool ringText = AnyText(layout);
  if (r.RingBand > 0.0 && layout.StripHeight() >= kMinStripHeight && ringText) {
    const LabelBand ring = RingTextBand(r);
    if (ring.outer <= band.inner || ring.inner >= band.outer)
      out.push_back({LabelWarning::Kind::RingOutsideBand,
                     Arg(Tr("LabelWarnings",
                            "The ring text (%1) lies wholly outside the burning area (%2): it will "
                            "not be burned."),
                         {Area(ring), Area(band)})});
    else if (ring.inner < band.inner)
      out.push_back({LabelWarning::Kind::UnderHub,
                     Arg(Tr("LabelWarnings",
                            "The ring text (%1) reaches under the hub (inside %2 mm): its inner "
                            "part will not be burned."),
                         {Area(ring), Mm(band.inner)})});
  }
  return out;
}

double QrModuleMm(const CELLayout& layout) {
  const LayoutRecord& r = layout.Layout();
  if (!layout.QrWanted() || layout.QrSymbol().Empty() || r.BaseLength <= 0) return 0.0;
  const QrGrid grid = PlaceQr(layout.QrSymbol().Across(), r.Qr.Size);
  // A box narrower than the code spreads its modules over fractions of a pixel.
  const double pixels = grid.pitch > 0 ? grid.pitch : static_cast<double>(grid.side) / grid.across;
  return pixels * kLabelWidthMm / r.BaseLength;
}

std::vector<LabelWarning> CheckQrModules(const CELLayout& layout, double smallestModuleMm,
                                         std::string_view quality) {
  std::vector<LabelWarning> out;
  const double module = QrModuleMm(layout);
  if (module <= 0.0 || module >= smallestModuleMm) return out;
  const LayoutRecord& r = layout.Layout();
  // The side the box needs: the code with its quiet zone at the smallest
  // module, in whole label pixels per module.
  const double pixelMm = kLabelWidthMm / r.BaseLength;
  const int across = layout.QrSymbol().Across();
  const int needed = across * static_cast<int>(std::ceil(smallestModuleMm / pixelMm - 1e-9));
  out.push_back({LabelWarning::Kind::QrModulesSmall,
                 Arg(Tr("LabelWarnings",
                        "The QR code's modules are %1 mm wide; %2 etches them legibly from %3 mm: "
                        "make QrSize at least %4 label pixels or shorten the QR code's text."),
                     {FormatDecimal(module, 2), quality, FormatDecimal(smallestModuleMm, 2),
                      std::to_string(needed)})});
  return out;
}

LabelPart LabelPartAt(const CELLayout& layout, int x, int y) {
  const LayoutRecord& r = layout.Layout();
  const auto inside = [x, y](const LayoutBox& box) {
    return box.Width > 0 && box.Height > 0 && x >= box.PosX && x < box.PosX + box.Width &&
           y >= box.PosY && y < box.PosY + box.Height;
  };
  // Boxes as the renderer draws them (see CheckLabel), each with its text.
  const bool notes = std::any_of(layout.NoteLines.begin(), layout.NoteLines.end(),
                                 [](const std::string& l) { return !l.empty(); });
  // The code is drawn over the other boxes.
  if (layout.QrWanted() && x >= r.Qr.PosX && x < r.Qr.PosX + r.Qr.Size && y >= r.Qr.PosY &&
      y < r.Qr.PosY + r.Qr.Size)
    return LabelPart::QrBox;
  if (!layout.Title.empty() && inside(r.Title)) return LabelPart::TitleBox;
  if (!layout.Date.empty() && inside(r.Date)) return LabelPart::DateBox;
  if (notes && inside(r.Note)) return LabelPart::NoteBox;
  if (r.RingBand > 0.0 && r.BaseLength > 0 && AnyText(layout)) {
    const int centre = r.BaseLength / 2;  // the centre pixel, a whole number as drawn
    const double c = centre;
    const double mm = std::hypot(x + 0.5 - c, y + 0.5 - c) * kLabelWidthMm / r.BaseLength;
    const LabelBand ring = RingTextBand(r);
    if (mm >= ring.inner && mm <= ring.outer) return LabelPart::RingText;
  }
  return LabelPart::Background;
}

std::string LabelPartName(LabelPart part) {
  switch (part) {
    case LabelPart::TitleBox:
      return Tr("LabelWarnings", "the title box");
    case LabelPart::DateBox:
      return Tr("LabelWarnings", "the date box");
    case LabelPart::NoteBox:
      return Tr("LabelWarnings", "the note box");
    case LabelPart::QrBox:
      return Tr("LabelWarnings", "the QR code");
    case LabelPart::RingText:
      return Tr("LabelWarnings", "the ring text");
    case LabelPart::Background:
      break;
  }
  return Tr("LabelWarnings", "the background");
}

const char* LabelPartId(LabelPart part) {
  switch (part) {
    case LabelPart::TitleBox:
      return "title";
    case LabelPart::DateBox:
      return "date";
    case LabelPart::NoteBox:
      return "note";
    case LabelPart::QrBox:
      return "qr";
    case LabelPart::RingText:
      return "ring";
    case LabelPart::Background:
      break;
  }
  return "background";
}

}  // namespace twr
