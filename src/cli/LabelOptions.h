// Options that choose a layout, the label texts and the burning area, and
// the render sequence of the main window, shared by `twr render` and `twr burn`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "drive/DiscGeometry.h"
#include "label/LabelWarnings.h"

namespace twr {
class CELLayout;
class Messages;
}  // namespace twr

namespace twr::cli {

struct LabelOptions {
  std::optional<int> layout;  // layout index, 0 when not given
  std::string title;
  std::string date;
  std::vector<std::string> notes;  // one note line each
  std::optional<double> inner;     // mm; not given keeps the layout's radius
  std::optional<double> outer;

  // The note as the main window's edit holds it: the lines, each with CR LF.
  std::string TypedNote() const;
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
// both renders keep it. Returns kExitOk; otherwise a message has been shown
// and the exit status is kExitUsage for a layout that does not exist or a
// refused area, kExitFailure when there is no layout or the render fails.
int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner = kBandInnerLimitMm);

// The warnings on stderr, each once: "twr COMMAND: warning: ...".
void PrintLabelWarnings(const std::string& command, const std::vector<LabelWarning>& warnings);

}  // namespace twr::cli
