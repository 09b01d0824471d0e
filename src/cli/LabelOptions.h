// Options that choose a layout, the label texts and the burning area, a
// design they may be given beside, and the render sequence of the main
// window, shared by `twr render`, `twr design` and `twr burn`.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "drive/DiscGeometry.h"
#include "label/LabelWarnings.h"
#include "label/PictureSettings.h"

namespace twr {
class CELLayout;
class Messages;
struct LabelDocument;
}  // namespace twr

namespace twr::cli {

// The label's own picture and its placement and tone, as given.
struct PictureOptions {
  std::string path;  // --picture FILE
  std::string fit;   // --picture-fit: "" not given
  std::string tone;  // --tone
  std::optional<int> brightness, contrast;
  std::optional<double> gamma;
  bool seeThrough = false;  // --see-through: every box keeps no fill
  bool halo = false;        // --halo: every text and the ring text get a halo
  bool Given() const;
};

struct LabelOptions {
  std::optional<int> layout;  // layout index, 0 when not given
  std::string title;
  std::string date;
  std::vector<std::string> notes;  // one note line each
  std::string qr;                  // the QR box's text
  std::optional<double> inner;     // mm; not given keeps the layout's radius
  std::optional<double> outer;
  // The design the options were given beside (--design FILE): its layout,
  // texts, face and burning area stand where no option is given (an empty
  // --title counts as not given). Null without one.
  std::shared_ptr<const LabelDocument> design;
  // The disc of a series the label is for, for the number fields {n} and
  // {N} of the texts: 1 of 1 for a single disc.
  int discNumber = 1;
  int discCount = 1;
  PictureOptions picture;
  // How the burn the label is for turns greys into marks (fit to etch);
  // not known: fit to the whole grey range.
  EtchTone etchTone;

  // The texts used: the options', else the design's.
  const std::string& Title() const;
  const std::string& Date() const;
  const std::string& Qr() const;
  // The note as the main window's edit holds it: the lines, each with CR LF
  // (the design's note lines when no --note is given).
  std::string TypedNote() const;
};

// Adds --layout, --title, --date, --note, --qr, --inner and --outer.
void AddLabelOptions(ArgParser& parser, LabelOptions& options);

// Adds --picture, --picture-fit, --tone, --brightness, --contrast, --gamma,
// --see-through and --halo.
void AddPictureOptions(ArgParser& parser, PictureOptions& options);
// What is out of range among them, as the end of a usage error ("--gamma
// 20 is not within 0.1 to 10"); empty when all are usable.
std::string CheckPictureOptions(const PictureOptions& options);
// The options over `design`: --picture's file becomes its picture (filled
// and fit to etch unless the options say otherwise), the others change its
// picture settings; --see-through and --halo turn those on for every box
// (and the ring text). False after "Cannot use the picture ..." was shown.
bool ApplyPictureOptions(const PictureOptions& options, LabelDocument& design, Messages& messages);

// Adds --design FILE.
void AddDesignOption(ArgParser& parser, std::string& path);
// Adds --area auto|manual: the burning area worked out from the label's
// marks, or the one given.
void AddAreaOption(ArgParser& parser, std::string& area);
// Whether the automatic area is burnt: --area auto, or a design made for
// it when neither --area nor --inner/--outer says otherwise.
bool UsesAutomaticArea(const std::string& areaText, const LabelOptions& options);
// Reads the design named with --design into options.design (nothing for an
// empty path). False after "Cannot open the design 'FILE': why." has been
// shown; the exit status is then kExitFailure.
bool LoadDesignOption(const std::string& path, LabelOptions& options, Messages& messages);

// What a successful render used.
struct RenderedLabel {
  int layoutIndex = 0;  // kGivenLayout for the design's own layout
  std::string layoutName;
  double inner = 0.0;  // mm, the burning area
  double outer = 0.0;
};

// The label the options describe, as a document: the design's (with no
// --layout) or the settings file's layout `options.layout` taken with its
// picture, the picture options over it, the texts as the main window's
// edits would hold them, and the burning area: --inner/--outer checked as
// the configuration dialog does (lowest allowed inner radius
// `lowestInner`) over the design's area or the layout's own radii. Returns
// kExitOk, or the status after a message as RenderAsMainWindow.
int DocumentOfOptions(const LabelOptions& options, const std::string& settingsPath,
                      Messages& messages, LabelDocument& document, RenderedLabel& rendered,
                      double lowestInner = kBandInnerLimitMm);

// Renders as the main window does: DocumentOfOptions, then the document
// drawn as the full label and a 600 x 600 preview, for disc
// options.discNumber of options.discCount, fit to etch with
// options.etchTone. Returns kExitOk; otherwise a message has been shown and
// the exit status is kExitUsage for a layout that does not exist or a
// refused area, kExitFailure when there is no layout or the render fails.
int RenderAsMainWindow(const LabelOptions& options, CELLayout& layout, Messages& messages,
                       RenderedLabel& rendered, double lowestInner = kBandInnerLimitMm);

// The warnings on stderr, each once: "twr COMMAND: warning: ...".
void PrintLabelWarnings(const std::string& command, const std::vector<LabelWarning>& warnings);

}  // namespace twr::cli
