// Layout, text and radius options and the main window's render sequence.
#include "cli/LabelOptions.h"

#include <cstdio>
#include <string>

#include "cli/SettingsFile.h"
#include "common/Messages.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/LabelTexts.h"

namespace twr::cli {

namespace {

constexpr int kPreviewSide = 600;
constexpr const char* kNoteLineBreak = "\r\n";

}  // namespace

std::string LabelOptions::TypedNote() const {
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

int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner) {
  std::vector<std::string> names;
  if (!layout.LoadLayoutNames(names)) {
    ShowNoLayouts(messages, layout.SettingsPath());
    return kExitFailure;
  }
  const int index = options.layout.value_or(0);
  if (index < 0 || index >= static_cast<int>(names.size())) {
    messages.Show("Layout " + std::to_string(index) + " does not exist: the settings file has " +
                      std::to_string(names.size()) + " layouts, numbered from 0.",
                  MessageIcon::Error);
    return kExitUsage;
  }

  LabelTexts texts;
  texts.SetTitle(options.title);
  texts.SetDate(options.date);
  texts.SetNote(options.TypedNote());
  texts.PublishLabelTexts(layout);

  // The layout's own radii first, as when the layout is chosen.
  layout.LoadLayout(index, false);
  BandRadii radii = layout.GetBandRadii();
  const bool customArea = options.inner.has_value() || options.outer.has_value();
  if (customArea) {
    radii.inner = options.inner.value_or(radii.inner);
    radii.outer = options.outer.value_or(radii.outer);
    if (!CheckBurningArea(radii.inner, radii.outer, lowestInner, messages)) return kExitUsage;
    layout.SetBandRadii(radii.inner, radii.outer);
  }

  if (!layout.RenderLabel(index, customArea) ||
      !layout.RenderPreview(index, kPreviewSide, kPreviewSide, customArea)) {
    messages.Show("Layout " + std::to_string(index) +
                      " could not be rendered (check its BaseLength and ring band).",
                  MessageIcon::Error);
    return kExitFailure;
  }
  rendered.layoutIndex = index;
  rendered.layoutName = names[index];
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
