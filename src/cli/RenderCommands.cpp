// `twr layouts` and `twr render`: the layouts of the settings file, the
// label and preview pictures the window program would draw, and the disc as
// a burn would etch it.
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "burn/Calibration.h"
#include "burn/DocumentWarnings.h"
#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/DriveNotFound.h"
#include "cli/GuiApplication.h"
#include "cli/LabelOptions.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "common/JsonWriter.h"
#include "common/ProfileFile.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/DriveSetup.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDriveConfig.h"
#include "label/BandOverlay.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelExport.h"
#include "label/LayoutSettings.h"
#include "label/PictureFile.h"

namespace twr::cli {

namespace {

// The label and its preview stand for the label's width; the etched
// picture for the whole disc, 120 mm.
constexpr double kEtchedMillimetres = 2.0 * kDiscRadiusMm;
constexpr int kRadiusDecimals = 1;

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

// Which picture Write() writes: the texts that tell of it.
struct PictureTexts {
  const char* cannot;  // %1 the file, %2 the problem
  const char* wrote;   // %1 x %2 pixels, %3 the file
};

PictureTexts LabelPictureTexts() {
  return {Tr("RenderCommands", "Cannot write the label to '%1': %2."),
          Tr("RenderCommands", "Wrote the label (%1 x %2) to %3")};
}

PictureTexts PreviewTexts() {
  return {Tr("RenderCommands", "Cannot write the preview to '%1': %2."),
          Tr("RenderCommands", "Wrote the preview (%1 x %2) to %3")};
}

PictureTexts EtchedTexts() {
  return {Tr("RenderCommands", "Cannot write the etched disc to '%1': %2."),
          Tr("RenderCommands", "Wrote the etched disc (%1 x %2) to %3")};
}

// What a render tells on stdout, held back until it is true: "Rendered ..."
// once every file asked for is written, the lines about a file once it is.
class Report {
 public:
  void Rendered(std::string line) { lines_.push_back({std::move(line), false}); }
  void Wrote(std::string line) { lines_.push_back({std::move(line), true}); }
  void Print(bool allWritten) const {
    for (const Line& line : lines_)
      if (allWritten || line.aboutAFile) PrintLine(stdout, line.text);
  }

 private:
  struct Line {
    std::string text;
    bool aboutAFile;
  };
  std::vector<Line> lines_;
};

bool Write(const QImage& image, const std::string& path, double millimetres,
           const PictureTexts& texts, Messages& messages, Report& report) {
  std::string problem;
  if (!WritePicture(image, path, millimetres, problem)) {
    messages.Show(Arg(texts.cannot, {path, problem}), MessageIcon::Error);
    return false;
  }
  report.Wrote(
      Arg(texts.wrote, {std::to_string(image.width()), std::to_string(image.height()), path}));
  return true;
}

// The folder `path` goes into must be there before anything is rendered or
// written; false after a message that names it.
bool FolderIsThere(const std::string& path, const PictureTexts& texts, Messages& messages) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(path).parent_path();
  std::error_code error;
  if (folder.empty() || fs::is_directory(folder, error)) return true;
  const char* problem =
      fs::exists(folder, error)
          ? Tr("RenderCommands", "%1 is not a folder; name a file in a folder")
          : Tr("RenderCommands",
               "the folder %1 does not exist; create it first (mkdir -p %1) or name a file in a "
               "folder that exists");
  messages.Show(Arg(texts.cannot, {path, Arg(problem, {folder.string()})}), MessageIcon::Error);
  return false;
}

// The disc as a burn of the rendered label would etch it at `quality`, from
// the virtual drive's ELS page; on a data side the recorded data ends where
// the band starts. False after a message.
bool WriteEtched(const CELLayout& layout, const LabelBand& band, bool dataSide, BurnQuality quality,
                 const DyeResponse& response, const std::string& path, Messages& messages,
                 Report& report) {
  EtchRequest request;
  request.response = response;
  request.label = layout.LabelImageData();
  request.target = {{band.inner, band.outer},
                    dataSide ? BurnDisc::DataSide(band.inner) : BurnDisc::LabelSide(),
                    quality};
  request.page = ElsPage(ExampleElsPage());
  const EtchResult etched = SimulateEtch(request);
  if (!etched.ok) {
    messages.Show(Arg(Tr("RenderCommands", "Cannot draw the etched disc: %1"), {etched.problem}),
                  MessageIcon::Error);
    return false;
  }
  if (!Write(etched.picture, path, kEtchedMillimetres, EtchedTexts(), messages, report))
    return false;
  report.Wrote(Arg(Tr("RenderCommands",
                      "Etched as a %1 burn would: band %2 - %3 mm, %4 revolutions per step, %5 "
                      "writes, required time %6"),
                   {Tr("BurnPlan", kQualityNames[static_cast<int>(quality)]), Mm(band.inner),
                    Mm(band.outer), std::to_string(etched.plan.steps),
                    std::to_string(etched.plan.writes), etched.plan.timeText}));
  return true;
}

// The model of the drive `choice` names (opened for reading only); false
// after a message when it cannot be opened.
bool ReadDriveModel(const DriveChoice& choice, std::string& vendor, std::string& product,
                    Messages& messages) {
  CELDevice device;
  const DriveOpening opening = OpenChosenDrive(device, choice, DriveAccess::Shared);
  if (!opening.Ok()) {
    if (opening.error == DriveOpenError::NotListed)
      ShowDriveNotListed("render", choice, device, messages);
    else
      PrintLine(stderr, Tr("RenderCommands", "twr render: %1"), {opening.FailureText()});
    return false;
  }
  std::string revision;
  device.ReadInquiryStrings(vendor, product, revision);
  return true;
}

// What `twr render` writes, and how the band is chosen.
struct RenderOutputs {
  std::string label, preview, etched;  // empty: not asked for
  ExportFormat labelExport = ExportFormat::None;
  bool guides = false;
  bool automaticArea = false;  // --area auto
  // What the etched disc shows for its dots (a kept calibration of --drive's).
  DyeResponse response;
};

// The band of the render: the layout's (raised on a data side), or the
// automatic one at `quality`. False after a message when nothing marks.
bool ChooseBand(const RenderedLabel& rendered, const CELLayout& layout, bool automaticArea,
                const BurnDisc& disc, BurnQuality quality, Messages& messages, LabelBand& band,
                Report& report) {
  band = {BandInnerOn(disc, rendered.inner), rendered.outer};
  if (!automaticArea) return true;
  const AutomaticArea area =
      PlanAutomaticArea(ElsPage(ExampleElsPage()), layout.LabelImageData(), {{}, disc, quality});
  if (!area.marks.marks) {
    messages.Show(NothingMarksText(quality), MessageIcon::Error);
    return false;
  }
  band = {area.band.inner, area.band.outer};
  report.Rendered(Arg(Tr("RenderCommands", "Automatic burning area at %1: %2 - %3 mm, %4"),
                      {Tr("BurnPlan", kQualityNames[static_cast<int>(quality)]), Mm(band.inner),
                       Mm(band.outer), area.plan.timeText}));
  return true;
}

// Writes the label file (a picture, PDF or SVG); false after a message.
bool WriteLabel(CELLayout& layout, const RenderOutputs& out, const LabelBand& band,
                Messages& messages, Report& report) {
  ExportOptions exportOptions;
  exportOptions.guides = out.guides;
  exportOptions.innerRadius = band.inner;
  exportOptions.outerRadius = band.outer;
  exportOptions.title = layout.Title;
  std::string problem;
  if (!WriteLabelFile(layout, out.label, exportOptions, problem)) {
    messages.Show(Arg(LabelPictureTexts().cannot, {out.label, problem}), MessageIcon::Error);
    return false;
  }
  if (out.labelExport != ExportFormat::None) {
    report.Wrote(Arg(Tr("RenderCommands", "Wrote the label (116 x 116 mm) to %1"), {out.label}));
  } else {
    const QImage label = layout.LabelImageData();
    report.Wrote(Arg(LabelPictureTexts().wrote,
                     {std::to_string(label.width()), std::to_string(label.height()), out.label}));
  }
  return true;
}

// Renders as the main window does and writes what `out` asks for.
int RenderAndWrite(const LabelOptions& options, const RenderOutputs& out, const BurnDisc& disc,
                   BurnQuality quality, CELLayout& layout, Messages& messages) {
  RenderedLabel rendered;
  int status = RenderAsMainWindow(options, layout, messages, rendered, LowestInnerRadius(disc));
  if (status != kExitOk) return status;
  Report report;
  if (rendered.layoutIndex == kGivenLayout)
    report.Rendered(
        Arg(Tr("RenderCommands", "Rendered the design's layout \"%1\", burning area %2 - %3 [mm]"),
            {rendered.layoutName, Mm(rendered.inner), Mm(rendered.outer)}));
  else
    report.Rendered(
        Arg(Tr("RenderCommands", "Rendered layout %1 \"%2\", burning area %3 - %4 [mm]"),
            {std::to_string(rendered.layoutIndex), rendered.layoutName, Mm(rendered.inner),
             Mm(rendered.outer)}));
  LabelBand band;
  if (!ChooseBand(rendered, layout, out.automaticArea, disc, quality, messages, band, report))
    return kExitFailure;
  std::vector<LabelWarning> warnings =
      DocumentWarnings(layout, options.TypedNote(), ElsPage(ExampleElsPage()),
                       {disc, out.automaticArea, {band.inner, band.outer}, {quality}});
  if (options.design != nullptr)
    for (std::string& text : DesignWarnings(*options.design, rendered.layoutIndex == kGivenLayout))
      warnings.push_back({LabelWarning::Kind::Background, std::move(text)});
  PrintLabelWarnings("render", warnings);
  if (!out.label.empty() && !WriteLabel(layout, out, band, messages, report)) status = kExitFailure;
  if (!out.preview.empty()) {
    QImage preview = layout.PreviewImage().Image().copy();
    // The layout's circles, or the automatic area's.
    const LabelBand shown = out.automaticArea ? band : LabelBand{rendered.inner, rendered.outer};
    DrawBandLimits(preview, shown.inner, shown.outer);
    if (!Write(preview, out.preview, kLabelWidthMm, PreviewTexts(), messages, report))
      status = kExitFailure;
  }
  if (!out.etched.empty() && !WriteEtched(layout, band, disc.dataSide, quality, out.response,
                                          out.etched, messages, report))
    status = kExitFailure;
  // After a failed write only the files that were written are told of.
  report.Print(status == kExitOk);
  return status;
}

}  // namespace

bool ParseQuality(const std::string& text, BurnQuality& quality) {
  if (text.empty() || text == "draft") {
    quality = BurnQuality::Draft;
  } else if (text == "normal") {
    quality = BurnQuality::Normal;
  } else if (text == "high") {
    quality = BurnQuality::High;
  } else {
    return false;
  }
  return true;
}

int RunLayouts(int argc, char** argv) {
  bool json = false;
  ArgParser parser("layouts", Tr("RenderCommands",
                                 "Lists the layouts of the settings file: number, tab, name."));
  parser.Flag("json",
              Tr("RenderCommands",
                 "Print them as JSON: {\"settings\": FILE, \"layouts\": [{\"index\", \"name\"}]}."),
              &json);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);
  // No renderer here: listing names needs no fonts.
  TerminalMessages messages;
  const std::string& path = Settings().path;
  std::vector<std::string> names;
  if (!LoadLayoutNames(path, names)) {
    ShowNoLayouts(messages, path);
    return kExitFailure;
  }
  if (json) {
    JsonWriter out;
    out.BeginObject().Key("settings").String(path).Key("layouts").BeginArray();
    for (std::size_t i = 0; i < names.size(); ++i)
      out.BeginObject()
          .Key("index")
          .Int(static_cast<std::int64_t>(i))
          .Key("name")
          .String(names[i])
          .EndObject();
    out.EndArray().EndObject();
    std::printf("%s\n", out.Text().c_str());
    return kExitOk;
  }
  for (std::size_t i = 0; i < names.size(); ++i) std::printf("%zu\t%s\n", i, names[i].c_str());
  return kExitOk;
}

int RunRender(int argc, char** argv) {
  ArgParser parser("render",
                   Tr("RenderCommands",
                      "Renders a layout of the settings file, or a design, as the window program\n"
                      "does: the full-size label picture that a burn etches and the 600 x 600\n"
                      "preview with the burning area drawn in blue. With --etched it also draws\n"
                      "the disc as a burn would leave it (the band and quality as the burn\n"
                      "prepares them from the virtual drive's ELS page), without a drive.\n"
                      "Pictures are written in the format their name ends in: .png, .jpg, .bmp\n"
                      "or .tif; the label also as .pdf or .svg, 116 mm across."));
  LabelOptions options;
  std::string labelPath, previewPath, etchedPath, qualityText, discText, designPath, areaText;
  std::string driveText;
  bool rimtone = false, guides = false;
  AddLabelOptions(parser, options);
  AddDesignOption(parser, designPath);
  AddPictureOptions(parser, options.picture);
  parser.Option("label", "FILE",
                Tr("RenderCommands",
                   "Write the full-size label (116 mm across): a picture, or a .pdf page or .svg "
                   "drawing with the texts as text."),
                &labelPath);
  parser.Flag("guides",
              Tr("RenderCommands",
                 "With a .pdf or .svg --label: draw the centre hole and the burning area as thin "
                 "circles over the label."),
              &guides);
  parser.Option("preview", "FILE", Tr("RenderCommands", "Write the preview with the burning area."),
                &previewPath);
  parser.Option("etched", "FILE",
                Tr("RenderCommands", "Write the disc as the burn would etch it (120 mm across)."),
                &etchedPath);
  AddAreaOption(parser, areaText);
  parser.Choice(
      "quality", "Q",
      Tr("RenderCommands", "With --etched or --area auto: draft, normal or high (default: draft)."),
      {"draft", "normal", "high"}, &qualityText);
  parser.Flag("rimtone",
              Tr("RenderCommands", "With --etched: the outer band of a DVD-R/DVD+R data side."),
              &rimtone);
  parser.Choice("disc", "KIND",
                Tr("RenderCommands", "With --rimtone: the data side, dvd-r or dvd+r."),
                {"dvd-r", "dvd+r"}, &discText);
  parser.Option("drive", "DRIVE",
                Tr("RenderCommands",
                   "With --etched or --tone auto: the drive (letter or device) whose model's kept "
                   "calibration the etch follows."),
                &driveText);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);
  DriveChoice drive;
  if (!driveText.empty() && !ParseDriveChoice(driveText, drive))
    return parser.UsageError(
        Arg(Tr("RenderCommands",
               "'--drive %1' is neither a drive letter nor a device path (see 'twr drives')"),
            {driveText}));
  if (labelPath.empty() && previewPath.empty() && etchedPath.empty())
    return parser.UsageError(
        Tr("RenderCommands",
           "nothing to write: name the files with --label FILE, --preview FILE or --etched FILE"));
  const ExportFormat labelExport = ExportFormatFor(labelPath);
  if (!labelPath.empty() && labelExport == ExportFormat::None &&
      PictureFormatFor(labelPath).empty())
    return parser.UsageError(Arg(Tr("RenderCommands", "'%1' does not end in %2, .pdf or .svg"),
                                 {labelPath, kPictureExtensions}));
  for (const std::string* path : {&previewPath, &etchedPath}) {
    if (!path->empty() && PictureFormatFor(*path).empty())
      return parser.UsageError(
          Arg(Tr("RenderCommands", "'%1' does not end in %2"), {*path, kPictureExtensions}));
  }
  if (guides && labelExport == ExportFormat::None)
    return parser.UsageError(
        Tr("RenderCommands", "--guides goes with a --label FILE ending in .pdf or .svg"));
  if (const std::string why = CheckPictureOptions(options.picture); !why.empty())
    return parser.UsageError(why);
  bool automaticArea = areaText == "auto";
  if (etchedPath.empty() && !automaticArea && options.picture.tone != "auto" &&
      options.picture.path.empty() &&
      (!qualityText.empty() || rimtone || !discText.empty() || !driveText.empty()))
    return parser.UsageError(
        Tr("RenderCommands",
           "--quality, --rimtone, --disc and --drive go with --etched, --area auto or --tone "
           "auto"));
  if (rimtone && discText.empty())
    return parser.UsageError(
        Tr("RenderCommands",
           "--rimtone needs --disc dvd-r or --disc dvd+r, and --disc needs --rimtone"));

  TerminalMessages messages;
  for (const auto& [path, texts] :
       {std::pair{&labelPath, LabelPictureTexts()}, std::pair{&previewPath, PreviewTexts()},
        std::pair{&etchedPath, EtchedTexts()}})
    if (!path->empty() && !FolderIsThere(*path, texts, messages)) return kExitFailure;
  StartGui();
  if (!LoadDesignOption(designPath, options, messages)) return kExitFailure;
  automaticArea = UsesAutomaticArea(areaText, options);
  // A design's Rimtone mode and quality stand unless the options say.
  if (options.design != nullptr && (!etchedPath.empty() || automaticArea)) {
    rimtone = rimtone || options.design->rimtone;
    if (qualityText.empty()) qualityText = DesignQualityName(options.design->quality);
    if (rimtone && discText.empty())
      return parser.UsageError(
          Tr("RenderCommands",
             "the design is for Rimtone mode: --etched needs --disc dvd-r or --disc dvd+r"));
  }
  if (!rimtone && !discText.empty())
    return parser.UsageError(
        Tr("RenderCommands",
           "--rimtone needs --disc dvd-r or --disc dvd+r, and --disc needs --rimtone"));
  BurnQuality quality = BurnQuality::Draft;
  ParseQuality(qualityText, quality);
  // Fit to etch spreads the picture over what this quality marks; a design
  // keeps its own quality for it.
  BurnQuality toneQuality = quality;
  if (qualityText.empty() && options.design != nullptr)
    toneQuality = static_cast<BurnQuality>(static_cast<int>(options.design->quality));
  // In Rimtone mode the band starts outside the data area at the least.
  const BurnDisc disc =
      !rimtone ? BurnDisc::LabelSide()
               : BurnDisc::AssumedDataSide(discText == "dvd-r" ? kDiscDvdR : kDiscDvdPlusR);
  // A drive named: the calibration kept for its model and the disc kind
  // tones the picture and draws the etch.
  std::string vendor, product;
  if (!driveText.empty() && !ReadDriveModel(drive, vendor, product, messages)) return kExitFailure;
  const ProfileFile settings = ProfileFile::Load(Settings().path);
  options.etchTone =
      DriveEtchFor(ElsPage(ExampleElsPage()), toneQuality, settings, vendor, product, disc).tone;

  RenderOutputs outputs;
  outputs.label = labelPath;
  outputs.preview = previewPath;
  outputs.etched = etchedPath;
  outputs.labelExport = labelExport;
  outputs.guides = guides;
  outputs.automaticArea = automaticArea;
  outputs.response =
      DriveEtchFor(ElsPage(ExampleElsPage()), quality, settings, vendor, product, disc).response;
  CELLayout layout(Settings().path);
  return RenderAndWrite(options, outputs, disc, quality, layout, messages);
}

}  // namespace twr::cli
