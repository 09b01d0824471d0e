// The etch model: where the marks of a burn land on a disc and what the disc
// looks like afterwards. A burn's geometry (its first circle, the feed step,
// the passes over each circle and the samples of a circle) places every
// sample's dots on a picture of the disc; the darkness of each side builds up
// over burns. The virtual drive draws the discs it burns with it, from the
// blocks it decodes; the simulated etch draws with it from a burn plan,
// without blocks. No Qt.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "drive/DiscGeometry.h"

namespace twr {

// The picture: 120 mm across at the scale of a label of the default size
// (1655 pixels across the label's width).
inline constexpr double kEtchedPixelsPerMm = 1655.0 / kLabelWidthMm;
inline constexpr int kEtchedPictureSize = 1712;
inline constexpr double kDiscRadiusMm = 60.0;

// Accumulated darkness (0 = untouched, 1 = fully marked) of one disc side.
class EtchedSurface {
 public:
  EtchedSurface();
  // A fresh side that took `burn`: the same as Merge(burn) on EtchedSurface(),
  // without a second picture's memory.
  explicit EtchedSurface(std::vector<float> burn);
  std::vector<float>& Darkness() { return darkness_; }
  const std::vector<float>& Darkness() const { return darkness_; }
  // Adds a burn's darkness: marks over marks darken further.
  void Merge(const std::vector<float>& burn);
  // The disc as a person would see it; `dataSide` draws the dye side of a
  // recordable disc with its recorded area up to `recordedRadiusMm`.
  std::vector<std::uint8_t> RenderRgb(bool dataSide, double recordedRadiusMm) const;
  // The same picture scaled down by `factor` (a divisor of the picture's
  // size): each pixel the mean of a factor x factor square of RenderRgb's
  // pixels, channel by channel, rounded half up (ScaleEtchedRgb), without
  // the full picture in memory.
  std::vector<std::uint8_t> RenderRgbScaled(bool dataSide, double recordedRadiusMm,
                                            int factor) const;

 private:
  std::vector<float> darkness_;
};

// Geometry of one burn, as the drive knows it from its ELS page and the
// first write.
struct EtchedBurnGeometry {
  double innerRadiusMm = 0.0;  // the first circle
  double feedStepUm = 0.0;     // from one circle to the next
  int passes = 1;              // revolutions burned on each circle
  int halfSamples = 0;         // half the samples of a circle
};

// The dots one burn marks, counted per pixel of the picture, so that the
// order in which circles and passes arrive never changes the picture.
class EtchedMarks {
 public:
  explicit EtchedMarks(const EtchedBurnGeometry& geometry);
  const EtchedBurnGeometry& Geometry() const { return geometry_; }
  // Blocks of one pass over a circle (98 half samples each).
  int BlocksPerPass() const { return blocksPerPass_; }
  // Samples of a circle that its blocks carry: 196 per block of a pass.
  int EmittedSamples() const;
  // Feed step `step` counts as burned (its circle is drawn, marked or not).
  void Touch(std::int64_t step);
  // `marks` dots at sample `sample` of a step that has been touched.
  void Add(std::int64_t step, int sample, std::uint32_t marks);
  // The dots of each sample of a step over all its passes (marks[j] for
  // sample j, at most EmittedSamples() of them); the step counts as burned.
  void AddStep(std::int64_t step, std::span<const std::uint32_t> marks);
  // The picture pixel (y * size + x) of every emitted sample of a step, -1
  // where it falls off the picture: pixels[j] for j < EmittedSamples().
  void StepPixels(std::int64_t step, std::span<std::int32_t> pixels) const;
  // AddStep with the step's pixels from StepPixels, so that they are worked
  // out once for the dots and for the count of samples.
  void AddStepAt(std::int64_t step, std::span<const std::int32_t> pixels,
                 std::span<const std::uint32_t> marks);
  // Makes room for steps 0 ... steps - 1 whole, so that AddStepAt may take
  // steps from several threads at once, each its own steps, as long as steps
  // of two threads lie at least SeparatingSteps() apart (no pixel has samples
  // of both).
  void PrepareSteps(std::int64_t steps);
  std::int64_t SeparatingSteps() const;
  bool Empty() const { return !any_; }
  // Takes in the dots and steps of `other`: the same burn's geometry with
  // other steps than these counted apart, as if they had been added here.
  void Absorb(EtchedMarks&& other);
  // The burn's darkness per pixel: each pixel the mean over the samples of
  // the circles that cross it. The marks start again from nothing.
  std::vector<float> Finish();

 private:
  int PixelOf(std::int64_t step, int sample) const;

  EtchedBurnGeometry geometry_;
  int blocksPerPass_ = 0;
  std::vector<double> sine_, cosine_;
  std::vector<std::uint32_t> marks_;
  // For the steps AddStepAt brought whole: per pixel their dots (high 32
  // bits) and samples (low 32 bits). Finish counts the other touched steps.
  std::vector<std::uint64_t> counted_;
  // Per step: 0 untouched, 1 touched (counted by Finish), 2 counted by AddStepAt.
  std::vector<std::uint8_t> touchedSteps_;
  bool any_ = false;
};

// `rgb` (size x size pixels, R G B) scaled down by `factor`, a divisor of
// `size`: each pixel the mean of a factor x factor square, channel by
// channel, rounded half up.
std::vector<std::uint8_t> ScaleEtchedRgb(std::span<const std::uint8_t> rgb, int size, int factor);

}  // namespace twr
