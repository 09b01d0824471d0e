// Layout, text and radius options and the main window's render sequence.
#include "cli/LabelOptions.h"

#include <string>

#include "common/Messages.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/LabelTexts.h"

namespace twr::cli {

namespace {

constexpr int kPreviewSide = 600;
constexpr const char* kNoteLineBreak = "\r\n";

bool ParseRadius(const std::string& text, const char* name, double& out, Messages& messages) {
  if (text.empty()) return true;
  if (ParseDouble(text, out)) return true;
  messages.Show("The " + std::string(name) + " radius '" + text + "' is not a number.",
                MessageIcon::Error);
  return false;
}

}  // namespace

void AddLabelOptions(ArgParser& parser, LabelOptions& options) {
  parser.Option("layout", "N", "Layout number in ./twr.ini (default 0).", &options.layout);
  parser.Option("title", "TEXT", "Title of the label.", &options.title);
  parser.Option("date", "TEXT", "Date of the label.", &options.date);
  parser.Repeated("note", "LINE", "A note line; folders written as \"[name]\" come first.",
                  &options.notes);
  parser.Option("inner", "MM", "Inner radius of the burning area in millimetres.", &options.inner);
  parser.Option("outer", "MM", "Outer radius of the burning area in millimetres.", &options.outer);
}

bool RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                        RenderedLabel& rendered, double lowestInner) {
  std::vector<std::string> names;
  if (!layout.LoadLayoutNames(names)) {
    messages.ShowString(kStrCannotLoadIni, MessageIcon::Error);
    return false;
  }
  int index = 0;
  if (!options.layout.empty() && !ParseInt(options.layout, index)) {
    messages.Show("The layout number '" + options.layout + "' is not a whole number.",
                  MessageIcon::Error);
    return false;
  }
  if (index < 0 || index >= static_cast<int>(names.size())) {
    messages.Show("Layout " + std::to_string(index) + " does not exist: the settings file has " +
                      std::to_string(names.size()) + " layouts, numbered from 0.",
                  MessageIcon::Error);
    return false;
  }

  LabelTexts texts;
  texts.SetTitle(options.title);
  texts.SetDate(options.date);
  std::string note;
  for (const std::string& line : options.notes) note += line + kNoteLineBreak;
  texts.SetNote(note);
  texts.PublishLabelTexts(layout);

  // The layout's own radii first, as when the layout is chosen.
  layout.LoadLayout(index, false);
  BandRadii radii = layout.GetBandRadii();
  const bool customArea = !options.inner.empty() || !options.outer.empty();
  if (customArea) {
    if (!ParseRadius(options.inner, "inner", radii.inner, messages) ||
        !ParseRadius(options.outer, "outer", radii.outer, messages))
      return false;
    if (!CheckBurningArea(radii.inner, radii.outer, lowestInner, messages)) return false;
    layout.SetBandRadii(radii.inner, radii.outer);
  }

  if (!layout.RenderLabel(index, customArea) ||
      !layout.RenderPreview(index, kPreviewSide, kPreviewSide, customArea)) {
    messages.Show("Layout " + std::to_string(index) +
                      " could not be rendered (check its BaseLength and ring band).",
                  MessageIcon::Error);
    return false;
  }
  rendered.layoutIndex = index;
  rendered.layoutName = names[index];
  rendered.inner = layout.GetBandRadii().inner;
  rendered.outer = layout.GetBandRadii().outer;
  return true;
}

}  // namespace twr::cli
