// Options that choose a layout, the label texts and the burning area, and
// the render sequence of the main window, shared by `twr render` and `twr burn`.
#pragma once

#include <string>
#include <vector>

#include "cli/Args.h"

namespace twr {
class CELLayout;
class Messages;
}  // namespace twr

namespace twr::cli {

struct LabelOptions {
  std::string layout;  // layout index, "0" when empty
  std::string title;
  std::string date;
  std::vector<std::string> notes;  // one note line each
  std::string inner;               // mm; empty keeps the layout's radius
  std::string outer;
};

// Adds --layout, --title, --date, --note, --inner and --outer.
void AddLabelOptions(ArgParser& parser, LabelOptions& options);

// What a successful render used.
struct RenderedLabel {
  int layoutIndex = 0;
  std::string layoutName;
  double inner = 0.0;  // mm, the burning area
  double outer = 0.0;
};

// Renders as the main window does: texts published (note split into ten
// lines, folders first), then RenderLabel and RenderPreview at 600 x 600.
// With --inner/--outer the area is checked as the configuration dialog does
// (lowest allowed inner radius `lowestInner`) and set with SetBandRadii, and
// both renders keep it. On failure a message has been shown and false is
// returned.
bool RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                        RenderedLabel& rendered, double lowestInner = 25.0);

}  // namespace twr::cli
