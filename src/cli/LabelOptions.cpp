// Layout, text and radius options and the main window's render sequence.
#include "cli/LabelOptions.h"

#include <QString>

#include <cstdio>
#include <string>

#include "cli/AreaCheck.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "common/DecimalText.h"
#include "common/Messages.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTexts.h"
#include "label/LayoutDefinition.h"

namespace twr::cli {

namespace {

constexpr int kPreviewSide = 600;
constexpr const char* kNoteLineBreak = "\r\n";

}  // namespace

const std::string& LabelOptions::Title() const {
  return title.empty() && design ? design->title : title;
}

const std::string& LabelOptions::Date() const {
  return date.empty() && design ? design->date : date;
}

const std::string& LabelOptions::Qr() const {
  return qr.empty() && design ? design->qr : qr;
}

std::string LabelOptions::TypedNote() const {
  if (notes.empty() && design) return DesignNote(*design);
  std::string note;
  for (const std::string& line : notes) note += line + kNoteLineBreak;
  return note;
}

void AddLabelOptions(ArgParser& parser, LabelOptions& options) {
  parser.Integer("layout", "N",
                 Tr("LabelOptions", "Layout number in the settings file (default 0)."),
                 &options.layout);
  parser.Option("title", "TEXT", Tr("LabelOptions", "Title of the label."), &options.title);
  parser.Option("date", "TEXT", Tr("LabelOptions", "Date of the label."), &options.date);
  parser.Repeated("note", "LINE",
                  Tr("LabelOptions", "A note line; folders written as \"[name]\" come first."),
                  &options.notes);
  parser.Option(
      "qr", "TEXT",
      Tr("LabelOptions", "Text of the QR code, drawn in the layout's QR box (QrSize above 0)."),
      &options.qr);
  parser.Decimal("inner", "MM",
                 Tr("LabelOptions", "Inner radius of the burning area in millimetres."),
                 &options.inner);
  parser.Decimal("outer", "MM",
                 Tr("LabelOptions", "Outer radius of the burning area in millimetres."),
                 &options.outer);
}

void AddDesignOption(ArgParser& parser, std::string& path) {
  parser.Option(
      "design", "FILE",
      Tr("LabelOptions", "Start from a label design (.twrlabel); the options given beside it win."),
      &path);
}

void AddAreaOption(ArgParser& parser, std::string& area) {
  parser.Choice("area", "AREA",
                Tr("LabelOptions",
                   "auto: burn the narrowest band that holds every mark of the label at the "
                   "quality; manual: the layout's radii or --inner/--outer (the default, unless a "
                   "design made for the automatic area says otherwise)."),
                {"auto", "manual"}, &area);
}

bool UsesAutomaticArea(const std::string& areaText, const LabelOptions& options) {
  if (!areaText.empty()) return areaText == "auto";
  return options.design != nullptr && options.design->automaticArea && !options.inner.has_value() &&
         !options.outer.has_value();
}

bool LoadDesignOption(const std::string& path, LabelOptions& options, Messages& messages) {
  if (path.empty()) return true;
  auto design = std::make_shared<LabelDocument>();
  std::string problem;
  if (!LoadDesignFile(path, *design, problem)) {
    messages.Show(Arg(Tr("LabelOptions", "Cannot open the design '%1': %2."), {path, problem}),
                  MessageIcon::Error);
    return false;
  }
  options.design = std::move(design);
  return true;
}

int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner) {
  const LabelDocument* design = options.design.get();
  const bool designLayout = design != nullptr && !options.layout.has_value();
  std::vector<std::string> names;
  int index = kGivenLayout;
  if (designLayout) {
    ApplyDesignLayout(*design, layout);
  } else {
    if (!layout.LoadLayoutNames(names)) {
      ShowNoLayouts(messages, layout.SettingsPath());
      return kExitFailure;
    }
    index = options.layout.value_or(0);
    if (index < 0 || index >= static_cast<int>(names.size())) {
      messages.Show(Arg(Tr("LabelOptions",
                           "Layout %1 does not exist: the settings file has %2 layouts, "
                           "numbered from 0."),
                        {std::to_string(index), std::to_string(names.size())}),
                    MessageIcon::Error);
      return kExitUsage;
    }
    if (design != nullptr) layout.UseFontFace(design->fontFace);
  }

  LabelTexts texts;
  texts.SetTitle(options.Title());
  texts.SetDate(options.Date());
  texts.SetNote(options.TypedNote());
  texts.SetQr(options.Qr());
  texts.SetDiscNumber(options.discNumber, options.discCount);
  texts.PublishLabelTexts(layout);

  // The layout's own radii first, as when the layout is chosen; a design's
  // area over them, as the configuration dialog would set it.
  layout.LoadLayout(index, false);
  BandRadii radii = layout.GetBandRadii();
  if (design != nullptr) radii = {design->innerRadius, design->outerRadius};
  const bool customArea = options.inner.has_value() || options.outer.has_value();
  if (customArea) {
    radii.inner = options.inner.value_or(radii.inner);
    radii.outer = options.outer.value_or(radii.outer);
    if (!CheckAreaOptions(radii.inner, radii.outer, lowestInner, messages)) return kExitUsage;
  }
  const bool keepRadii = customArea || design != nullptr;
  if (keepRadii) layout.SetBandRadii(radii.inner, radii.outer);
  // A layout outside the renderer's limits (a settings section edited by
  // hand, a ring band narrowed by the burning area) is refused with why.
  if (const std::string why = CheckLayoutRecord(layout.Layout()); !why.empty()) {
    const std::string number = std::to_string(index);
    const std::string inner = FormatDecimal(radii.inner, 1), outer = FormatDecimal(radii.outer, 1);
    std::string text;
    if (designLayout && keepRadii)
      text = Arg(Tr("LabelOptions",
                    "The design's layout cannot be drawn in the burning area %1 - %2 mm: %3."),
                 {inner, outer, why});
    else if (designLayout)
      text = Arg(Tr("LabelOptions", "The design's layout cannot be drawn: %1."), {why});
    else if (keepRadii)
      text =
          Arg(Tr("LabelOptions", "Layout %1 cannot be drawn in the burning area %2 - %3 mm: %4."),
              {number, inner, outer, why});
    else
      text = Arg(Tr("LabelOptions", "Layout %1 cannot be drawn: %2."), {number, why});
    messages.Show(text, MessageIcon::Error);
    return kExitFailure;
  }

  if (!layout.RenderLabel(index, keepRadii) ||
      !layout.RenderPreview(index, kPreviewSide, kPreviewSide, keepRadii)) {
    messages.Show(designLayout ? std::string(Tr("LabelOptions",
                                                "The design's layout could not be rendered "
                                                "(check its BaseLength and ring band)."))
                               : Arg(Tr("LabelOptions",
                                        "Layout %1 could not be rendered (check its BaseLength "
                                        "and ring band)."),
                                     {std::to_string(index)}),
                  MessageIcon::Error);
    return kExitFailure;
  }
  rendered.layoutIndex = index;
  rendered.layoutName = designLayout ? design->layoutName : names[index];
  rendered.inner = layout.GetBandRadii().inner;
  rendered.outer = layout.GetBandRadii().outer;
  return kExitOk;
}

void PrintLabelWarnings(const std::string& command, const std::vector<LabelWarning>& warnings) {
  std::fflush(stdout);
  for (const LabelWarning& w : warnings)
    PrintLine(stderr, Tr("LabelOptions", "twr %1: warning: %2"), {command, w.text});
  std::fflush(stderr);
}

}  // namespace twr::cli
