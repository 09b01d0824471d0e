// `twr design save` and `twr design show`: a label design written from the
// label options (a layout of the settings file, or a design to start from)
// and a design's contents read back.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/Json.h"
#include "cli/LabelOptions.h"
#include "cli/SettingsFile.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "common/Messages.h"
#include "common/Utf8.h"
#include "label/BurningArea.h"
#include "label/Design.h"
#include "label/LabelTexts.h"
#include "label/LayoutSettings.h"

namespace twr::cli {

namespace {

constexpr int kRadiusDecimals = 1;
constexpr long long kKilobyte = 1024;

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

std::string QualityWords(DesignQuality quality) {
  return quality == DesignQuality::High ? "High Quality"
                                        : (quality == DesignQuality::Normal ? "Normal" : "Draft");
}

std::string PictureWords(const DesignBackground& bg) {
  switch (bg.kind) {
    case DesignBackground::Kind::None:
      return "none (the label starts black)";
    case DesignBackground::Kind::Unusable:
      return bg.name + " could not be used (" + bg.problem + "); BgColor fills the label";
    case DesignBackground::Kind::Picture:
      break;
  }
  return bg.name + " (" + bg.type + ", " + std::to_string(bg.image.width()) + " x " +
         std::to_string(bg.image.height()) + " pixels, " +
         (bg.bytes.size() < kKilobyte
              ? std::to_string(bg.bytes.size()) + " bytes)"
              : std::to_string((bg.bytes.size() + kKilobyte / 2) / kKilobyte) + " KiB)");
}

// The layout record's keys and values, in the order of a settings section.
std::vector<std::pair<std::string, std::string>> LayoutFields(const Design& d) {
  const LayoutRecord& r = d.layout;
  std::vector<std::pair<std::string, std::string>> f;
  auto add = [&](const char* key, long long value) { f.emplace_back(key, std::to_string(value)); };
  add("BgColor", r.BgColor & 0xFF);
  add("TxColor", r.TxColor & 0xFF);
  add("BaseLength", r.BaseLength);
  auto box = [&](const std::string& p, const LayoutBox& b) {
    for (auto [key, value] : {std::pair<const char*, int>{"Width", b.Width},
                              {"Height", b.Height},
                              {"PosX", b.PosX},
                              {"PosY", b.PosY},
                              {"MaxNum", b.MaxNum},
                              {"Align", b.Align}})
      f.emplace_back(p + key, std::to_string(value));
  };
  box("Title", r.Title);
  box("Date", r.Date);
  box("Note", r.Note);
  add("RingType", r.RingType);
  add("RLetterAlign", r.RLetterAlign);
  add("RingMAngle", r.RingMAngle);
  add("RingSAngle", r.RingSAngle);
  add("RingLength", static_cast<long long>(r.RingLength));
  add("InnerRadius", static_cast<long long>(r.InnerRadius));
  add("OuterRadius", static_cast<long long>(r.OuterRadius));
  return f;
}

void PrintJson(const std::string& path, const Design& d) {
  JsonWriter out;
  out.BeginObject().Key("file").String(path).Key("version").Int(kDesignVersion);
  out.Key("texts").BeginObject().Key("title").String(d.title).Key("date").String(d.date);
  out.Key("notes").BeginArray();
  for (const std::string& line : d.notes) out.String(line);
  out.EndArray().EndObject();
  out.Key("font").String(d.fontFace);
  out.Key("burningArea")
      .BeginObject()
      .Key("inner")
      .Fixed(d.innerRadius, kRadiusDecimals)
      .Key("outer")
      .Fixed(d.outerRadius, kRadiusDecimals)
      .EndObject();
  out.Key("rimtone").Bool(d.rimtone).Key("quality").String(DesignQualityName(d.quality));
  out.Key("layout").BeginObject().Key("Name").String(d.layoutName);
  for (const auto& [key, value] : LayoutFields(d)) out.Key(key).Int(std::stoll(value));
  out.EndObject();
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
  out.EndObject();
  std::printf("%s\n", out.Text().c_str());
}

void PrintText(const std::string& path, const Design& d) {
  std::printf("Design %s (format version %d)\n", path.c_str(), kDesignVersion);
  std::printf("Title:         %s\n", d.title.c_str());
  std::printf("Date:          %s\n", d.date.c_str());
  std::size_t count = 0;
  for (std::size_t k = 0; k < d.notes.size(); ++k)
    if (!d.notes[k].empty()) count = k + 1;
  for (std::size_t k = 0; k < count; ++k)
    std::printf("%s%s\n", k == 0 ? "Note:          " : "               ", d.notes[k].c_str());
  std::printf("Layout:        \"%s\" (BaseLength %d, RingType %d, RingLength %s mm)\n",
              d.layoutName.c_str(), d.layout.BaseLength, d.layout.RingType,
              FormatDecimal(d.layout.RingLength, 0).c_str());
  std::printf("Font:          %s\n",
              d.fontFace.empty() ? "(the system's sans-serif face)" : d.fontFace.c_str());
  std::printf("Burning area:  %s - %s [mm]\n", Mm(d.innerRadius).c_str(),
              Mm(d.outerRadius).c_str());
  std::printf("Rimtone mode:  %s\n", d.rimtone ? "on" : "off");
  std::printf("Quality:       %s\n", QualityWords(d.quality).c_str());
  std::printf("Background:    %s\n", PictureWords(d.background).c_str());
}

int RunShow(int argc, char** argv) {
  std::string path;
  bool json = false;
  ArgParser parser("design show", "Shows what a label design holds.");
  parser.Argument("FILE", "The design (.twrlabel).", &path);
  parser.Flag("json", "Print it as one JSON object (see JSON OUTPUT in twr(1)).", &json);
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
  std::string path, designPath, qualityText;
  bool rimtone = false;
  LabelOptions options;
  ArgParser parser("design save",
                   "Saves a label design: the texts as given, a copy of the layout (from the\n"
                   "settings file, or the design named with --design), its background picture,\n"
                   "the font face, the burning area, Rimtone mode and the quality, in one file\n"
                   "that renders and burns the same label on another machine.");
  parser.Argument("FILE", "The design to write (.twrlabel); an existing file is replaced.", &path);
  AddLabelOptions(parser, options);
  AddDesignOption(parser, designPath);
  parser.Choice("quality", "Q", "The burn quality: draft, normal or high (default: draft).",
                {"draft", "normal", "high"}, &qualityText);
  parser.Flag("rimtone", "For the unrecorded outer band of a DVD-R/DVD+R data side.", &rimtone);
  if (ArgParser::Result r = parser.Parse(argc, argv); r != ArgParser::kOk) return ExitStatusFor(r);
  StartGui();  // pictures are decoded to be checked
  TerminalMessages messages;
  if (!LoadDesignOption(designPath, options, messages)) return kExitFailure;
  const Design* base = options.design.get();

  Design d;
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
      messages.Show("Layout " + std::to_string(index) + " does not exist: the settings file has " +
                        std::to_string(names.size()) + " layouts, numbered from 0.",
                    MessageIcon::Error);
      return kExitUsage;
    }
    if (base != nullptr) d = *base;
    LoadLayout(settings, index, false, d.layout);
    d.layoutName = names[static_cast<std::size_t>(index)];
    d.background = BackgroundFromFile(d.layout.BgImage);
    d.layout.BgImage = d.background.name;
    if (base == nullptr) {
      d.fontFace = LoadFontSetting(settings);
      if (d.fontFace.empty()) d.fontFace = DefaultFontFace();
    }
    layoutInner = base != nullptr ? base->innerRadius : d.layout.InnerRadius;
    layoutOuter = base != nullptr ? base->outerRadius : d.layout.OuterRadius;
    if (d.background.kind == DesignBackground::Kind::Unusable)
      std::fprintf(stderr,
                   "twr design save: warning: the background picture %s %s; the design fills "
                   "the label with BgColor instead, as the layout does\n",
                   d.background.name.c_str(), d.background.problem.c_str());
  }

  // As the main window's edits take them: cut to their byte limits.
  auto cut = [](const char* what, const std::string& text, std::size_t limit) {
    if (text.size() > limit)
      std::fprintf(stderr,
                   "twr design save: warning: the %s is cut to its first %zu bytes, as the main "
                   "window takes it\n",
                   what, limit);
    return Utf8Cut(text, limit);
  };
  d.title = cut("title", options.Title(), kTitleMaxBytes);
  d.date = cut("date", options.Date(), kDateMaxBytes);
  if (!options.notes.empty()) {
    if (options.notes.size() > d.notes.size())
      std::fprintf(stderr,
                   "twr design save: warning: %zu note lines given; a label takes the first %zu\n",
                   options.notes.size(), d.notes.size());
    d.notes = {};
    for (std::size_t k = 0; k < options.notes.size() && k < d.notes.size(); ++k)
      d.notes[k] = options.notes[k];
  }
  d.innerRadius = options.inner.value_or(layoutInner);
  d.outerRadius = options.outer.value_or(layoutOuter);
  if ((options.inner.has_value() || options.outer.has_value()) &&
      !CheckBurningArea(d.innerRadius, d.outerRadius, kLowestInnerRadius, messages))
    return kExitUsage;
  if (!qualityText.empty()) ParseDesignQuality(qualityText, d.quality);
  if (rimtone) d.rimtone = true;

  std::string problem;
  if (!SaveDesignFile(path, d, problem)) {
    messages.Show("Cannot save the design to '" + path + "': " + problem + ".", MessageIcon::Error);
    return kExitFailure;
  }
  std::printf("Saved the design of \"%s\" to %s; background: %s\n", d.layoutName.c_str(),
              path.c_str(), PictureWords(d.background).c_str());
  return kExitOk;
}

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: twr design save FILE [options]\n"
               "       twr design show FILE [--json]\n\n"
               "Label designs (.twrlabel): the texts, a copy of the layout, its background\n"
               "picture, the font face, the burning area, Rimtone mode and the quality, in\n"
               "one file. 'twr render --design FILE' draws one.\n\n"
               "Run 'twr design save --help' or 'twr design show --help' for the options.\n");
}

}  // namespace

int RunDesign(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "twr design: say save or show\n\n");
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
  std::fprintf(stderr, "twr design: unknown action '%s'; say save or show\n\n", what.c_str());
  PrintUsage(stderr);
  return kExitUsage;
}

}  // namespace twr::cli
