// `twr design save` and `twr design show`: a label design written from the
// label options (a layout of the settings file, or a design to start from)
// and a design's contents read back.
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/AreaCheck.h"
#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/LabelOptions.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "common/JsonWriter.h"
#include "common/Messages.h"
#include "common/Utf8.h"
#include "label/BurningArea.h"
#include "label/Design.h"
#include "label/LabelTexts.h"
#include "label/LayoutDefinition.h"
#include "label/LayoutSettings.h"
#include "label/QrCode.h"

namespace twr::cli {

namespace {

constexpr int kRadiusDecimals = 1;
constexpr long long kKilobyte = 1024;

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

std::string QualityWords(DesignQuality quality) {
  return quality == DesignQuality::High
             ? Tr("DesignCommands", "High Quality")
             : (quality == DesignQuality::Normal ? Tr("DesignCommands", "Normal")
                                                 : Tr("DesignCommands", "Draft"));
}

std::string PictureWords(const DesignBackground& bg) {
  switch (bg.kind) {
    case DesignBackground::Kind::None:
      return Tr("DesignCommands", "none (the label starts black)");
    case DesignBackground::Kind::Unusable:
      return Arg(Tr("DesignCommands", "%1 could not be used (%2); BgColor fills the label"),
                 {bg.name, bg.problem});
    case DesignBackground::Kind::Picture:
      break;
  }
  const bool small = bg.bytes.size() < kKilobyte;
  return Arg(
      small ? Tr("DesignCommands", "%1 (%2, %3 x %4 pixels, %5 bytes)")
            : Tr("DesignCommands", "%1 (%2, %3 x %4 pixels, %5 KiB)"),
      {bg.name, bg.type, std::to_string(bg.image.width()), std::to_string(bg.image.height()),
       std::to_string(small ? bg.bytes.size() : (bg.bytes.size() + kKilobyte / 2) / kKilobyte)});
}

void PrintJson(const std::string& path, const LabelDocument& d) {
  JsonWriter out;
  out.BeginObject().Key("file").String(path).Key("version").Int(kDesignVersion);
  out.Key("texts").BeginObject().Key("title").String(d.title).Key("date").String(d.date);
  out.Key("notes").BeginArray();
  for (const std::string& line : d.notes) out.String(line);
  out.EndArray();
  if (!d.qr.empty()) out.Key("qr").String(d.qr);
  out.EndObject();
  out.Key("font").String(d.fontFace);
  out.Key("burningArea")
      .BeginObject()
      .Key("inner")
      .Fixed(d.innerRadius, kRadiusDecimals)
      .Key("outer")
      .Fixed(d.outerRadius, kRadiusDecimals)
      .Key("automatic")
      .Bool(d.automaticArea)
      .EndObject();
  out.Key("rimtone").Bool(d.rimtone).Key("quality").String(DesignQualityName(d.quality));
  out.Key("layout");
  WriteDesignLayout(out, d);
  out.Key("background");
  const DesignBackground& bg = d.background;
  if (bg.kind == DesignBackground::Kind::None) {
    out.Null();
  } else {
    out.BeginObject().Key("name").String(bg.name);
    if (bg.kind == DesignBackground::Kind::Unusable) {
      out.Key("problem").String(bg.problem);
    } else {
      out.Key("type").String(bg.type).Key("bytes").Int(bg.bytes.size());
      out.Key("width").Int(bg.image.width()).Key("height").Int(bg.image.height());
    }
    out.EndObject();
  }
  WriteDesignPicture(out, d.picture);
  WriteDesignLegibility(out, d.legibility);
  out.EndObject();
  std::printf("%s\n", out.Text().c_str());
}

// The parts named, "title, date, note, ring text", or "none".
std::string LegibilityParts(const std::array<bool, kTextBoxCount>& boxes, bool ring) {
  const std::array<std::string, kTextBoxCount + 1> names = {
      Tr("DesignCommands", "title"), Tr("DesignCommands", "date"), Tr("DesignCommands", "note"),
      Tr("DesignCommands", "ring text")};
  std::string parts;
  for (int k = 0; k <= kTextBoxCount; ++k) {
    if (!(k < kTextBoxCount ? boxes[k] : ring)) continue;
    if (!parts.empty()) parts += ", ";
    parts += names[k];
  }
  return parts.empty() ? std::string(Tr("DesignCommands", "none")) : parts;
}

void PrintText(const std::string& path, const LabelDocument& d) {
  PrintLine(stdout, Tr("DesignCommands", "Design %1 (format version %2)"),
            {path, std::to_string(kDesignVersion)});
  PrintLine(stdout, Tr("DesignCommands", "Title:         %1"), {d.title});
  PrintLine(stdout, Tr("DesignCommands", "Date:          %1"), {d.date});
  std::size_t count = 0;
  for (std::size_t k = 0; k < d.notes.size(); ++k)
    if (!d.notes[k].empty()) count = k + 1;
  for (std::size_t k = 0; k < count; ++k)
    PrintLine(stdout,
              k == 0 ? Tr("DesignCommands", "Note:          %1")
                     : Tr("DesignCommands", "               %1"),
              {d.notes[k]});
  if (!d.qr.empty()) PrintLine(stdout, Tr("DesignCommands", "QR code:       %1"), {d.qr});
  PrintLine(
      stdout,
      Tr("DesignCommands", "Layout:        \"%1\" (BaseLength %2, RingType %3, RingLength %4 mm)"),
      {d.layoutName, std::to_string(d.layout.BaseLength), std::to_string(d.layout.RingType),
       FormatDecimal(d.layout.RingLength, 0)});
  if (d.fontFace.empty())
    PrintLine(stdout, Tr("DesignCommands", "Font:          (the system's sans-serif face)"));
  else
    PrintLine(stdout, Tr("DesignCommands", "Font:          %1"), {d.fontFace});
  if (d.automaticArea)
    PrintLine(stdout,
              Tr("DesignCommands",
                 "Burning area:  automatic (what marks at the quality; manual: %1 - %2 [mm])"),
              {Mm(d.innerRadius), Mm(d.outerRadius)});
  else
    PrintLine(stdout, Tr("DesignCommands", "Burning area:  %1 - %2 [mm]"),
              {Mm(d.innerRadius), Mm(d.outerRadius)});
  PrintLine(stdout, d.rimtone ? Tr("DesignCommands", "Rimtone mode:  on")
                              : Tr("DesignCommands", "Rimtone mode:  off"));
  PrintLine(stdout, Tr("DesignCommands", "Quality:       %1"), {QualityWords(d.quality)});
  PrintLine(stdout, Tr("DesignCommands", "Background:    %1"), {PictureWords(d.background)});
  const PictureSettings& p = d.picture;
  PrintLine(stdout,
            Tr("DesignCommands", "Placement:     %1, %2 quarter turns, pan %3 x %4, zoom %5"),
            {PictureFitName(p.fit), std::to_string(p.quarterTurns), FormatDecimal(p.panX, 2),
             FormatDecimal(p.panY, 2), FormatDecimal(p.zoom, 2)});
  PrintLine(stdout,
            Tr("DesignCommands",
               "Tone:          %1, brightness %2, contrast %3, gamma %4, black %5, white %6%7"),
            {PictureToneName(p.tone), std::to_string(p.brightness), std::to_string(p.contrast),
             FormatDecimal(p.gamma, 2), std::to_string(p.black), std::to_string(p.white),
             p.invert ? std::string(Tr("DesignCommands", ", inverted")) : std::string()});
  PrintLine(stdout, Tr("DesignCommands", "See-through:   %1"),
            {LegibilityParts(d.legibility.seeThrough, false)});
  PrintLine(stdout, Tr("DesignCommands", "Halo:          %1"),
            {LegibilityParts(d.legibility.halo, d.legibility.ringHalo)});
}

int RunShow(int argc, char** argv) {
  std::string path;
  bool json = false;
  ArgParser parser("design show", Tr("DesignCommands", "Shows what a label design holds."));
  parser.Argument("FILE", Tr("DesignCommands", "The design (.twrlabel)."), &path);
  parser.Flag("json",
              Tr("DesignCommands", "Print it as one JSON object (see JSON OUTPUT in twr(1))."),
              &json);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);
  StartGui();  // the picture is decoded to be checked
  TerminalMessages messages;
  LabelOptions options;
  if (!LoadDesignOption(path, options, messages)) return kExitFailure;
  if (json)
    PrintJson(path, *options.design);
  else
    PrintText(path, *options.design);
  PrintLabelWarnings("design show", [&] {
    std::vector<LabelWarning> warnings;
    for (std::string& text : DesignWarnings(*options.design, false))
      warnings.push_back({LabelWarning::Kind::Background, std::move(text)});
    return warnings;
  }());
  return kExitOk;
}

int RunSave(int argc, char** argv) {
  std::string path, designPath, qualityText, areaText;
  bool rimtone = false;
  LabelOptions options;
  ArgParser parser("design save",
                   Tr("DesignCommands",
                      "Saves a label design: the texts as given, a copy of the layout (from the\n"
                      "settings file, or the design named with --design), its background picture,\n"
                      "the font face, the burning area, Rimtone mode and the quality, in one file\n"
                      "that renders and burns the same label on another machine."));
  parser.Argument(
      "FILE",
      Tr("DesignCommands", "The design to write (.twrlabel); an existing file is replaced."),
      &path);
  AddLabelOptions(parser, options);
  AddDesignOption(parser, designPath);
  AddPictureOptions(parser, options.picture);
  AddAreaOption(parser, areaText);
  parser.Choice("quality", "Q",
                Tr("DesignCommands", "The burn quality: draft, normal or high (default: draft)."),
                {"draft", "normal", "high"}, &qualityText);
  parser.Flag("rimtone",
              Tr("DesignCommands", "For the unrecorded outer band of a DVD-R/DVD+R data side."),
              &rimtone);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);
  if (const std::string why = CheckPictureOptions(options.picture); !why.empty())
    return parser.UsageError(why);
  StartGui();  // pictures are decoded to be checked
  TerminalMessages messages;
  if (!LoadDesignOption(designPath, options, messages)) return kExitFailure;
  const LabelDocument* base = options.design.get();

  LabelDocument d;
  double layoutInner = kLowestInnerRadius, layoutOuter = kHighestOuterRadius;
  if (base != nullptr && !options.layout.has_value()) {
    d = *base;
    layoutInner = base->innerRadius;
    layoutOuter = base->outerRadius;
  } else {
    const std::string& settings = Settings().path;
    std::vector<std::string> names;
    if (!LoadLayoutNames(settings, names)) {
      ShowNoLayouts(messages, settings);
      return kExitFailure;
    }
    const int index = options.layout.value_or(0);
    if (index < 0 || index >= static_cast<int>(names.size())) {
      messages.Show(Arg(Tr("DesignCommands",
                           "Layout %1 does not exist: the settings file has %2 layouts, "
                           "numbered from 0."),
                        {std::to_string(index), std::to_string(names.size())}),
                    MessageIcon::Error);
      return kExitUsage;
    }
    if (base != nullptr) d = *base;
    TakeSettingsLayout(settings, index, names[static_cast<std::size_t>(index)], d);
    if (base == nullptr) {
      d.fontFace = LoadFontSetting(settings);
      if (d.fontFace.empty()) d.fontFace = DefaultFontFace();
    }
    layoutInner = base != nullptr ? base->innerRadius : d.layout.InnerRadius;
    layoutOuter = base != nullptr ? base->outerRadius : d.layout.OuterRadius;
    if (d.background.kind == DesignBackground::Kind::Unusable)
      PrintLine(stderr,
                Tr("DesignCommands",
                   "twr design save: warning: the background picture %1 %2; the design fills "
                   "the label with BgColor instead, as the layout does"),
                {d.background.name, d.background.problem});
  }

  // As the main window's edits take them: cut to their limits in width
  // units. `warning` says which text is cut, with %1 for its limit.
  if (!ApplyPictureOptions(options.picture, d, messages)) return kExitFailure;

  auto cut = [](const char* warning, const std::string& text, std::size_t limit) {
    std::string kept = WidthCut(text, limit);
    if (kept.size() != text.size()) PrintLine(stderr, warning, {std::to_string(limit)});
    return kept;
  };
  d.title = cut(Tr("DesignCommands",
                   "twr design save: warning: the title is cut to its first %1 characters (a "
                   "wide East Asian character counts two), as the main window takes it"),
                options.Title(), kTitleMaxWidth);
  d.date = cut(Tr("DesignCommands",
                  "twr design save: warning: the date is cut to its first %1 characters (a "
                  "wide East Asian character counts two), as the main window takes it"),
               options.Date(), kDateMaxWidth);
  if (!options.notes.empty()) {
    if (options.notes.size() > d.notes.size())
      PrintLine(stderr,
                Tr("DesignCommands",
                   "twr design save: warning: %1 note lines given; a label takes the first %2"),
                {std::to_string(options.notes.size()), std::to_string(d.notes.size())});
    d.notes = {};
    for (std::size_t k = 0; k < options.notes.size() && k < d.notes.size(); ++k)
      d.notes[k] = options.notes[k];
  }
  d.qr = Utf8Cut(options.Qr(), kQrMaxBytes);
  if (d.qr.size() != options.Qr().size())
    PrintLine(stderr,
              Tr("DesignCommands",
                 "twr design save: warning: the QR code's text is cut to its first %1 bytes, "
                 "the most one code holds"),
              {std::to_string(kQrMaxBytes)});
  d.innerRadius = options.inner.value_or(layoutInner);
  d.outerRadius = options.outer.value_or(layoutOuter);
  if ((options.inner.has_value() || options.outer.has_value()) &&
      !CheckAreaOptions(d.innerRadius, d.outerRadius, kLowestInnerRadius, messages))
    return kExitUsage;
  if (!qualityText.empty()) ParseDesignQuality(qualityText, d.quality);
  if (rimtone) d.rimtone = true;
  d.automaticArea = UsesAutomaticArea(areaText, options);

  std::string problem;
  if (!SaveDesignFile(path, d, problem)) {
    messages.Show(Arg(Tr("DesignCommands", "Cannot save the design to '%1': %2."), {path, problem}),
                  MessageIcon::Error);
    return kExitFailure;
  }
  PrintLine(stdout, Tr("DesignCommands", "Saved the design of \"%1\" to %2; background: %3"),
            {d.layoutName, path, PictureWords(d.background)});
  return kExitOk;
}

void PrintUsage(std::FILE* out) {
  std::fputs(Tr("DesignCommands",
                "Usage: twr design save FILE [options]\n"
                "       twr design show FILE [--json]\n\n"),
             out);
  std::fprintf(out, "%s\n\n%s\n",
               Tr("DesignCommands",
                  "Label designs (.twrlabel): the texts, a copy of the layout, its background\n"
                  "picture, the font face, the burning area, Rimtone mode and the quality, in\n"
                  "one file. 'twr render --design FILE' draws one."),
               Tr("DesignCommands",
                  "Run 'twr design save --help' or 'twr design show --help' for the options."));
}

}  // namespace

int RunDesign(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "%s\n\n", Tr("DesignCommands", "twr design: say save or show"));
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string what = argv[1];
  if (what == "--help" || what == "-h" || what == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (what == "save") return RunSave(argc - 1, argv + 1);
  if (what == "show") return RunShow(argc - 1, argv + 1);
  const std::string meant = ClosestWord(what, {"save", "show", "help"});
  std::fprintf(
      stderr, "%s\n\n",
      (meant.empty()
           ? Arg(Tr("DesignCommands", "twr design: unknown action '%1'; say save or show"), {what})
           : Arg(Tr("DesignCommands", "twr design: unknown action '%1'; did you mean '%2'?"),
                 {what, meant}))
          .c_str());
  PrintUsage(stderr);
  return kExitUsage;
}

}  // namespace twr::cli
