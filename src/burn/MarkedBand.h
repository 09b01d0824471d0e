// The automatic burning area: the narrowest band that holds every sample of
// a label that marks at a burn's quality. A sample marks when its level
// through the burn's tone curve leaves a dark dot over the passes, so a
// pixel lighter than that is no content, however it looks on the screen.
// Worked out from the label image as the encoder samples it; no widgets.
#pragma once

#include <QImage>

#include <functional>
#include <string>

#include "burn/BurnPlan.h"
#include "label/PictureSettings.h"

namespace twr {

// The lightest luma (0 ... 255) that still marks with `plan`'s tone curve
// and passes: -1 when nothing marks (a plan without a time), 255 when white
// marks too (then every sample of the band marks, also beyond the label).
int LightestMarkingLuma(const BurnPlan& plan);

// How `plan`'s burn turns greys into marks, for fit to etch: each grey's
// level through the tone curve and the dots the passes hold. Not known for
// a plan without a time.
EtchTone EtchToneOf(const BurnPlan& plan);
// The same for `quality` on a drive that answers `page` (the band does not
// change it).
EtchTone EtchToneOf(const ElsPage& page, BurnQuality quality);

// Where the marks of a label lie between the drive's limits.
struct MarkedExtent {
  bool marks = false;  // some sample between the limits marks
  double inner = 0.0;  // mm: the nearest to the centre a sample that marks can lie
  double outer = 0.0;  // mm: the farthest
  // The label pixels that set the inner and the outer edge (-1: the limit itself).
  int innerX = -1, innerY = -1;
  int outerX = -1, outerY = -1;
};

// The marks of `label` (square, 116 mm across, as the encoder samples it:
// sample positions truncated toward the centre) lying between `lowest` and
// `highest` mm from the centre, with `lightestLuma` from LightestMarkingLuma.
// Pixels for which `skip` (x, y) is true are left out (the marks of a
// label without one of its parts).
MarkedExtent FindMarks(const QImage& label, int lightestLuma, double lowest, double highest,
                       const std::function<bool(int x, int y)>& skip = {});

// Kept beyond the marks at each edge, so that an edge drawn with antialiasing
// is burned whole.
inline constexpr double kAutomaticMarginMm = 0.1;

// The band that burns every mark of `marks`: its inner edge on the feed-step
// grid that starts at `lowest` (so the circles are those a band from
// `lowest` burns, and every mark lands where it would), the outer edge two
// feed steps beyond the outermost mark (the last circle of a burn may be cut
// short), both with the margin and within [lowest, highest]. An extent
// without marks gives an empty band (inner == outer == lowest).
BurnBand AutomaticBand(const MarkedExtent& marks, double feedStepUm, double lowest, double highest);

// The automatic area of a label on a drive: where its marks lie at the
// target's quality, the band that burns them, and the plan of that band.
struct AutomaticArea {
  MarkedExtent marks;  // marks.marks false: nothing marks, there is nothing to burn
  BurnBand band;
  BurnPlan plan;
};
// Between the drive's limits, on a data side outside its data area; the
// target's band is not looked at.
// When nothing marks: the plan of the whole band between the limits.
AutomaticArea PlanAutomaticArea(const ElsPage& page, const QImage& label, const BurnTarget& target);

// Why a label whose marks are none is not burnt, and what to do.
std::string NothingMarksText(BurnQuality quality);

}  // namespace twr
