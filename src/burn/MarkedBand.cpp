// The automatic burning area from the marks of a label.
#include "burn/MarkedBand.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "burn/DotEncoder.h"
#include "common/Translate.h"
#include "drive/DiscGeometry.h"

namespace twr {

namespace {

constexpr double kMicrometresPerMillimetre = 1000.0;
// The outer edge lies this many feed steps beyond the outermost mark: the
// circle that reaches it, and one more for a last circle the burn cuts short.
constexpr int kOuterSteps = 2;

}  // namespace

int LightestMarkingLuma(const BurnPlan& plan) {
  if (!plan.HasTime() || plan.steps <= 0) return -1;
  // The passes together leave 12 dots a sample, less its level.
  const std::int32_t fullMarks = static_cast<std::int32_t>(kPatternSize) * plan.steps;
  const ToneCurve curve(plan.toneGamma);
  // The curve rises with the luma: the lightest that marks is the last below.
  for (int luma = 255; luma >= 0; --luma)
    if (curve.Level(luma) < fullMarks) return luma;
  return -1;
}

EtchTone EtchToneOf(const BurnPlan& plan) {
  EtchTone tone;
  if (!plan.HasTime() || plan.steps <= 0) return tone;
  const ToneCurve curve(plan.toneGamma);
  for (std::uint32_t g = 0; g < 256; ++g)
    tone.levelOfGrey[g] = curve.Level(ColourLuma(g | (g << 8) | (g << 16)));
  tone.fullMarks = static_cast<int>(kPatternSize) * plan.steps;
  tone.known = true;
  return tone;
}

EtchTone EtchToneOf(const ElsPage& page, BurnQuality quality) {
  return EtchToneOf(PlanBurn(page, {{}, BurnDisc::LabelSide(), quality}));
}

MarkedExtent FindMarks(const QImage& label, int lightestLuma, double lowest, double highest,
                       const std::function<bool(int x, int y)>& skip) {
  MarkedExtent found;
  if (lightestLuma < 0 || label.isNull() || lowest >= highest) return found;
  if (lightestLuma >= 255) {
    // White marks: so does every sample of the band, on the label or beyond it.
    found.marks = true;
    found.inner = lowest;
    found.outer = highest;
    return found;
  }
  const QImage image = label.format() == QImage::Format_RGB888
                           ? label
                           : label.convertToFormat(QImage::Format_RGB888);
  const int width = image.width();
  const int half = width / 2;  // the centre pixel, as the sampler takes it
  const double mmPerPixel = kLabelWidthMm / width;
  // A sample at offset u from the centre pixel lands on the pixel |u| - 1 < d
  // <= |u| away (truncated toward the centre): the pixel d away holds the
  // samples between d and d + 1, on each axis.
  const double lowPixels = lowest / mmPerPixel;
  const double highPixels = highest / mmPerPixel;
  const double low2 = lowPixels * lowPixels;
  const double high2 = highPixels * highPixels;
  double nearest2 = std::numeric_limits<double>::max();
  double farthest2 = -1.0;
  for (int y = 0; y < image.height(); ++y) {
    const double dy = std::abs(half - y);
    if (dy * dy > high2) continue;
    // Only the pixels that reach inside the highest radius.
    const int reach = static_cast<int>(std::sqrt(high2 - dy * dy)) + 1;
    const int x0 = std::max(0, half - reach);
    const int x1 = std::min(width - 1, half + reach);
    const uchar* row = image.constScanLine(y);
    for (int x = x0; x <= x1; ++x) {
      const uchar* p = row + static_cast<std::ptrdiff_t>(x) * 3;
      const std::uint32_t colour = p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
      if (ColourLuma(colour) > lightestLuma) continue;
      const double dx = std::abs(half - x);
      const double near2 = dx * dx + dy * dy;
      const double far2 = (dx + 1.0) * (dx + 1.0) + (dy + 1.0) * (dy + 1.0);
      if (near2 > high2 || far2 < low2) continue;  // no circle of the band reaches it
      if ((near2 < nearest2 || far2 > farthest2) && skip && skip(x, y)) continue;
      if (near2 < nearest2) {
        nearest2 = near2;
        found.innerX = x;
        found.innerY = y;
      }
      if (far2 > farthest2) {
        farthest2 = far2;
        found.outerX = x;
        found.outerY = y;
      }
    }
  }
  if (farthest2 < 0.0) return found;
  found.marks = true;
  found.inner = std::max(lowest, std::sqrt(nearest2) * mmPerPixel);
  found.outer = std::min(highest, std::sqrt(farthest2) * mmPerPixel);
  if (found.inner == lowest) found.innerX = found.innerY = -1;
  if (found.outer == highest) found.outerX = found.outerY = -1;
  return found;
}

BurnBand AutomaticBand(const MarkedExtent& marks, double feedStepUm, double lowest,
                       double highest) {
  if (!marks.marks || feedStepUm <= 0.0) return {lowest, lowest};
  const double step = feedStepUm / kMicrometresPerMillimetre;
  const double inner = std::max(lowest, marks.inner - kAutomaticMarginMm);
  // Whole feed steps from the lowest radius, rounded inwards.
  const double steps = std::floor((inner - lowest) / step);
  BurnBand band;
  band.inner = std::clamp(lowest + steps * step, lowest, highest);
  band.outer =
      std::clamp(marks.outer + kAutomaticMarginMm + kOuterSteps * step, band.inner, highest);
  return band;
}

AutomaticArea PlanAutomaticArea(const ElsPage& page, const QImage& label,
                                const BurnTarget& target) {
  const double lowest = BandInnerOn(target.disc, kBandInnerLimitMm);
  const double highest = kBandOuterLimitMm;
  AutomaticArea area;
  // The feed step and the tone curve do not depend on the band.
  BurnTarget whole = target;
  whole.band = {lowest, highest};
  const BurnPlan wholePlan = PlanBurn(page, whole);
  area.marks = FindMarks(label, LightestMarkingLuma(wholePlan), lowest, highest);
  area.band = AutomaticBand(area.marks, wholePlan.feedStep, lowest, highest);
  BurnTarget chosen = target;
  chosen.band = area.band;
  area.plan = area.marks.marks ? PlanBurn(page, chosen) : wholePlan;
  return area;
}

std::string NothingMarksText(BurnQuality quality) {
  return Arg(Tr("MarkedBand",
                "Nothing of this label marks the disc at %1: a burn would leave it blank. Darken "
                "its texts or its picture, or choose a higher quality."),
             {Tr("BurnPlan", kQualityNames[static_cast<std::size_t>(quality)])});
}

}  // namespace twr
