// Layout, text and radius options and the main window's render sequence.
#include "cli/LabelOptions.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
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
  if (notes.empty() && design) return DocumentNote(*design);
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

bool PictureOptions::Given() const {
  return !path.empty() || !fit.empty() || !tone.empty() || brightness.has_value() ||
         contrast.has_value() || gamma.has_value() || seeThrough || halo;
}

void AddPictureOptions(ArgParser& parser, PictureOptions& options) {
  parser.Option("picture", "FILE",
                Tr("LabelOptions",
                   "The label's own picture instead of the layout's; it fills the label and is "
                   "fit to etch unless --picture-fit or --tone say otherwise."),
                &options.path);
  parser.Choice("picture-fit", "HOW",
                Tr("LabelOptions",
                   "fit: the whole picture, bare edges in BgColor; fill: the label covered, the "
                   "picture cropped; stretch: squeezed into the square as a layout's picture."),
                {"fit", "fill", "stretch"}, &options.fit);
  parser.Choice("tone", "MODE",
                Tr("LabelOptions",
                   "auto: the picture's greys spread over what the quality can etch; none: its "
                   "greys as they are."),
                {"auto", "none"}, &options.tone);
  parser.Integer("brightness", "N",
                 Tr("LabelOptions", "Brighter (up to 100) or darker (down to -100)."),
                 &options.brightness);
  parser.Integer("contrast", "N",
                 Tr("LabelOptions", "More contrast (up to 100) or less (down to -100)."),
                 &options.contrast);
  parser.Decimal("gamma", "X",
                 Tr("LabelOptions", "Above 1 lightens the mid-greys, below 1 darkens (0.1 to 10)."),
                 &options.gamma);
  parser.Flag("see-through",
              Tr("LabelOptions",
                 "The title, date and note boxes keep no fill: the picture shows under their "
                 "text."),
              &options.seeThrough);
  parser.Flag("halo",
              Tr("LabelOptions",
                 "A halo in the opposite grey around the boxes' texts and the ring text, so "
                 "that they stay legible over a picture."),
              &options.halo);
}

std::string CheckPictureOptions(const PictureOptions& o) {
  const auto outside = [](const char* option, const std::string& value, const std::string& low,
                          const std::string& high) {
    return Arg(Tr("LabelOptions", "%1 %2 is not within %3 to %4"), {option, value, low, high});
  };
  if (o.brightness && std::abs(*o.brightness) > kMaxPictureBrightness)
    return outside("--brightness", std::to_string(*o.brightness), "-100", "100");
  if (o.contrast && std::abs(*o.contrast) > kMaxPictureContrast)
    return outside("--contrast", std::to_string(*o.contrast), "-100", "100");
  if (o.gamma && !(kMinPictureGamma <= *o.gamma && *o.gamma <= kMaxPictureGamma))
    return outside("--gamma", FormatDecimal(*o.gamma, 2), "0.1", "10");
  return {};
}

bool ApplyPictureOptions(const PictureOptions& o, LabelDocument& d, Messages& messages) {
  if (!o.path.empty()) {
    DesignBackground bg = BackgroundFromFile(o.path, d.layout.BaseLength);
    if (bg.kind != DesignBackground::Kind::Picture) {
      messages.Show(
          Arg(Tr("LabelOptions", "Cannot use the picture '%1': %2."), {o.path, bg.problem}),
          MessageIcon::Error);
      return false;
    }
    d.background = std::move(bg);
    d.layout.BgImage = d.background.name;
    // A picture chosen now fills the label and is fit to etch.
    d.picture = PictureSettings{};
    d.picture.fit = PictureFit::Fill;
    d.picture.tone = PictureTone::Auto;
  }
  if (!o.fit.empty()) ParsePictureFit(o.fit, d.picture.fit);
  if (!o.tone.empty()) ParsePictureTone(o.tone, d.picture.tone);
  if (o.brightness) d.picture.brightness = *o.brightness;
  if (o.contrast) d.picture.contrast = *o.contrast;
  if (o.gamma) d.picture.gamma = *o.gamma;
  if (o.seeThrough) d.legibility.seeThrough.fill(true);
  if (o.halo) {
    d.legibility.halo.fill(true);
    d.legibility.ringHalo = true;
  }
  return true;
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

int DocumentOfOptions(const LabelOptions& options, const std::string& settingsPath,
                      Messages& messages, LabelDocument& document, RenderedLabel& rendered,
                      double lowestInner) {
  const LabelDocument* design = options.design.get();
  const bool designLayout = design != nullptr && !options.layout.has_value();
  LabelDocument d;
  if (design != nullptr) d = *design;
  if (designLayout) {
    rendered.layoutIndex = kGivenLayout;
  } else {
    std::vector<std::string> names;
    if (!LoadLayoutNames(settingsPath, names)) {
      ShowNoLayouts(messages, settingsPath);
      return kExitFailure;
    }
    const int index = options.layout.value_or(0);
    if (index < 0 || index >= static_cast<int>(names.size())) {
      messages.Show(Arg(Tr("LabelOptions",
                           "Layout %1 does not exist: the settings file has %2 layouts, "
                           "numbered from 0."),
                        {std::to_string(index), std::to_string(names.size())}),
                    MessageIcon::Error);
      return kExitUsage;
    }
    TakeSettingsLayout(settingsPath, index, names[static_cast<std::size_t>(index)], d);
    // The layout's picture as it stands; a design's placement and legibility
    // were for its own layout.
    d.picture = PictureSettings{};
    d.legibility = TextLegibility{};
    // Without a design: the settings' face and the layout's own radii.
    if (design == nullptr) {
      d.fontFace = LoadFontSetting(settingsPath);
      d.innerRadius = d.layout.InnerRadius;
      d.outerRadius = d.layout.OuterRadius;
    }
    rendered.layoutIndex = index;
  }
  if (!ApplyPictureOptions(options.picture, d, messages)) return kExitFailure;
  rendered.layoutName = d.layoutName;

  LabelTexts texts;
  texts.SetTitle(options.Title());
  texts.SetDate(options.Date());
  texts.SetNote(options.TypedNote());
  texts.SetQr(options.Qr());
  TakeTexts(texts, d);

  // The area given over the layout's or the design's, as the configuration
  // dialog would set it.
  const bool customArea = options.inner.has_value() || options.outer.has_value();
  if (customArea) {
    d.innerRadius = options.inner.value_or(d.innerRadius);
    d.outerRadius = options.outer.value_or(d.outerRadius);
    if (!CheckAreaOptions(d.innerRadius, d.outerRadius, lowestInner, messages)) return kExitUsage;
  }
  // A layout outside the renderer's limits (a settings section edited by
  // hand, a ring band narrowed by the burning area) is refused with why.
  LayoutRecord inArea = d.layout;
  inArea.InnerRadius = d.innerRadius;
  inArea.OuterRadius = d.outerRadius;
  inArea.RingBand = RingBandInArea(d.layout, d.innerRadius, d.outerRadius);
  if (const std::string why = CheckLayoutRecord(inArea); !why.empty()) {
    const bool ownArea = customArea || design != nullptr;
    const std::string number = std::to_string(rendered.layoutIndex);
    const std::string inner = FormatDecimal(d.innerRadius, 1);
    const std::string outer = FormatDecimal(d.outerRadius, 1);
    std::string text;
    if (designLayout && ownArea)
      text = Arg(Tr("LabelOptions",
                    "The design's layout cannot be drawn in the burning area %1 - %2 mm: %3."),
                 {inner, outer, why});
    else if (designLayout)
      text = Arg(Tr("LabelOptions", "The design's layout cannot be drawn: %1."), {why});
    else if (ownArea)
      text =
          Arg(Tr("LabelOptions", "Layout %1 cannot be drawn in the burning area %2 - %3 mm: %4."),
              {number, inner, outer, why});
    else
      text = Arg(Tr("LabelOptions", "Layout %1 cannot be drawn: %2."), {number, why});
    messages.Show(text, MessageIcon::Error);
    return kExitFailure;
  }
  rendered.inner = d.innerRadius;
  rendered.outer = d.outerRadius;
  document = std::move(d);
  return kExitOk;
}

int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner) {
  LabelDocument document;
  if (const int status = DocumentOfOptions(options, layout.SettingsPath(), messages, document,
                                           rendered, lowestInner);
      status != kExitOk)
    return status;
  DocumentRender how;
  how.previewSide = kPreviewSide;
  how.discNumber = options.discNumber;
  how.discCount = options.discCount;
  how.tone = options.etchTone;
  if (!layout.Render(document, how)) {
    messages.Show(rendered.layoutIndex == kGivenLayout
                      ? std::string(Tr("LabelOptions",
                                       "The design's layout could not be rendered "
                                       "(check its BaseLength and ring band)."))
                      : Arg(Tr("LabelOptions",
                               "Layout %1 could not be rendered (check its BaseLength "
                               "and ring band)."),
                            {std::to_string(rendered.layoutIndex)}),
                  MessageIcon::Error);
    return kExitFailure;
  }
  return kExitOk;
}

void PrintLabelWarnings(const std::string& command, const std::vector<LabelWarning>& warnings) {
  std::fflush(stdout);
  for (const LabelWarning& w : warnings)
    PrintLine(stderr, Tr("LabelOptions", "twr %1: warning: %2"), {command, w.text});
  std::fflush(stderr);
}

}  // namespace twr::cli
