// Layout, text and radius options and the main window's render sequence.
#include "cli/LabelOptions.h"

#include <QFontDatabase>
#include <QString>

#include <cstdio>
#include <string>

#include "cli/SettingsFile.h"
#include "common/Messages.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTexts.h"

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

std::string LabelOptions::TypedNote() const {
  if (notes.empty() && design) return DesignNote(*design);
  std::string note;
  for (const std::string& line : notes) note += line + kNoteLineBreak;
  return note;
}

void AddLabelOptions(ArgParser& parser, LabelOptions& options) {
  parser.Integer("layout", "N", "Layout number in the settings file (default 0).", &options.layout);
  parser.Option("title", "TEXT", "Title of the label.", &options.title);
  parser.Option("date", "TEXT", "Date of the label.", &options.date);
  parser.Repeated("note", "LINE", "A note line; folders written as \"[name]\" come first.",
                  &options.notes);
  parser.Decimal("inner", "MM", "Inner radius of the burning area in millimetres.", &options.inner);
  parser.Decimal("outer", "MM", "Outer radius of the burning area in millimetres.", &options.outer);
}

void AddDesignOption(ArgParser& parser, std::string& path) {
  parser.Option("design", "FILE",
                "Start from a label design (.twrlabel); the options given beside it win.", &path);
}

bool LoadDesignOption(const std::string& path, LabelOptions& options, Messages& messages) {
  if (path.empty()) return true;
  auto design = std::make_shared<Design>();
  std::string problem;
  if (!LoadDesignFile(path, *design, problem)) {
    messages.Show("Cannot open the design '" + path + "': " + problem + ".", MessageIcon::Error);
    return false;
  }
  options.design = std::move(design);
  return true;
}

std::vector<std::string> DesignWarnings(const Design& design, bool ownLayout) {
  std::vector<std::string> warnings;
  if (!design.fontFace.empty() &&
      !QFontDatabase::hasFamily(QString::fromStdString(design.fontFace)))
    warnings.push_back("The design's font face \"" + design.fontFace +
                       "\" is not installed here; a similar face is drawn instead.");
  if (ownLayout && design.background.kind == DesignBackground::Kind::Unusable)
    warnings.push_back("The design's background picture " + design.background.name +
                       " could not be used when it was saved (" + design.background.problem +
                       "); BgColor fills the label.");
  return warnings;
}

int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner) {
  const Design* design = options.design.get();
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
      messages.Show("Layout " + std::to_string(index) + " does not exist: the settings file has " +
                        std::to_string(names.size()) + " layouts, numbered from 0.",
                    MessageIcon::Error);
      return kExitUsage;
    }
    if (design != nullptr) layout.UseFontFace(design->fontFace);
  }

  LabelTexts texts;
  texts.SetTitle(options.Title());
  texts.SetDate(options.Date());
  texts.SetNote(options.TypedNote());
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
    if (!CheckBurningArea(radii.inner, radii.outer, lowestInner, messages)) return kExitUsage;
  }
  const bool keepRadii = customArea || design != nullptr;
  if (keepRadii) layout.SetBandRadii(radii.inner, radii.outer);

  const std::string name = designLayout ? "The design's layout" : "Layout " + std::to_string(index);
  if (!layout.RenderLabel(index, keepRadii) ||
      !layout.RenderPreview(index, kPreviewSide, kPreviewSide, keepRadii)) {
    messages.Show(name + " could not be rendered (check its BaseLength and ring band).",
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
    std::fprintf(stderr, "twr %s: warning: %s\n", command.c_str(), w.text.c_str());
  std::fflush(stderr);
}

}  // namespace twr::cli
