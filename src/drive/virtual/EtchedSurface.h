// What the virtual drive's laser has done to a disc: the decoding of one
// burn's WRITE(12) stream back into dot counts placed on their circles, and
// the accumulated darkness of each disc side, drawn as a picture of the disc.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
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
  std::vector<float>& Darkness() { return darkness_; }
  const std::vector<float>& Darkness() const { return darkness_; }
  // Adds a burn's darkness: marks over marks darken further.
  void Merge(const std::vector<float>& burn);
  // The disc as a person would see it; `dataSide` draws the dye side of a
  // recordable disc with its recorded area up to `recordedRadiusMm`.
  std::vector<std::uint8_t> RenderRgb(bool dataSide, double recordedRadiusMm) const;

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

// Decodes one burn: output blocks arrive in order (with gaps); each stream
// block is undone from the interleaving once no later block can add to it.
class EtchedBurn {
 public:
  explicit EtchedBurn(const EtchedBurnGeometry& geometry);
  // Output block number `index` (0 = the first block of write 1).
  void AddOutputBlock(std::int64_t index, const std::uint8_t* block);
  // Decodes what is still pending and returns the burn's darkness per pixel.
  std::vector<float> Finish();
  bool Empty() const { return !anyBlock_; }

  // Samples of a circle that its blocks carry: 196 per block of a pass.
  int EmittedSamples() const;
  // Adds the dots marked at each sample of feed step `step` over all its
  // passes (marks[j] for sample j, at most EmittedSamples() of them), as
  // decoding the step's blocks would, without the blocks; the step counts
  // as burned. A picture of the burn needs only the levels this way.
  void AddStepMarks(std::int64_t step, std::span<const std::uint32_t> marks);

 private:
  struct Pending {
    std::array<std::uint8_t, 2352> data{};
    std::array<std::uint8_t, 2352> have{};
  };
  void DecodeStreamBlock(std::int64_t index, const Pending& block);
  int PixelOf(std::int64_t step, int sample) const;

  EtchedBurnGeometry geometry_;
  int blocksPerPass_ = 0;
  std::vector<double> sine_, cosine_;
  std::map<std::int64_t, Pending> pending_;
  // Dots marked per pixel, counted exactly so that the order in which
  // circles and passes arrive never changes the picture.
  std::vector<std::uint32_t> marks_;
  std::vector<std::uint8_t> touchedSteps_;
  bool anyBlock_ = false;
};

}  // namespace twr
