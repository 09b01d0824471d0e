// The simulated etch: the burn's plan, then the marks of each feed step from
// the sampled levels, placed and drawn by the virtual drive's own
// etched-surface code.
#include "burn/SimulatedEtch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "burn/DotEncoder.h"
#include "common/Strings.h"
#include "drive/DiscGeometry.h"
#include "drive/virtual/EtchedSurface.h"

namespace twr {

namespace {

// Every data byte of the stream is sent by one of three output blocks: the
// one of its own number or one of the two before it.
constexpr int kInterleaveSpan = 3;

// For each data offset q of a stream block, how many blocks before it the
// output block that carries that byte comes (0, 1 or 2).
const std::array<std::uint8_t, kBlockDataSize>& CarrierDistance() {
  static const std::array<std::uint8_t, kBlockDataSize> distance = [] {
    std::array<std::uint8_t, kBlockDataSize> d{};
    for (std::size_t p = 0; p < kBlockDataSize; ++p) {
      const std::size_t q = p + static_cast<std::size_t>(InterleaveDelay(p));
      d[q % kBlockDataSize] = static_cast<std::uint8_t>(q / kBlockDataSize);
    }
    return d;
  }();
  return distance;
}

// The dots one sample marks in one pass: the dark bytes of its pattern (a
// level leaves 12 less that level of them), counting only bytes that were
// sent.
std::uint32_t MarksOf(int level, const std::uint8_t* sent) {
  const std::uint8_t* pattern = DotPattern(level);
  std::uint32_t marks = 0;
  for (std::size_t i = 0; i < kPatternSize; ++i) marks += sent[i] && pattern[i] == kDotOff;
  return marks;
}

// The level of every label pixel, worked out once: the encoder's level of a
// sample depends only on the colour of the pixel it reads, and the same
// pixels are read many times over (thousands of samples a circle, several
// circles a pixel).
class LevelImage {
 public:
  LevelImage(const QImage& rgb888, const ToneCurve& curve)
      : width_(rgb888.width()),
        height_(rgb888.height()),
        outside_(curve.Level(ColourLuma(kOutsideColour))),
        levels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {
    for (int y = 0; y < height_; ++y) {
      const uchar* px = rgb888.constScanLine(y);  // R, G, B
      std::uint8_t* out = levels_.data() + static_cast<std::size_t>(y) * width_;
      for (int x = 0; x < width_; ++x, px += 3) {
        const std::uint32_t colour = static_cast<std::uint32_t>(px[0]) |
                                     (static_cast<std::uint32_t>(px[1]) << 8) |
                                     (static_cast<std::uint32_t>(px[2]) << 16);
        out[x] = static_cast<std::uint8_t>(curve.Level(ColourLuma(colour)));
      }
    }
  }
  // The levels of one circle's samples, as the encoder's sampler gives them.
  void SampleCircle(const SamplingGeometry& geometry, const AngleTables& tables, int step,
                    std::int32_t* levels) const {
    const double radius = CircleRadiusUm(geometry, step);
    for (int j = 0; j < geometry.samples; ++j) {
      const SamplePoint p = SamplePosition(width_, radius, tables, j);
      levels[j] = p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_
                      ? outside_
                      : levels_[static_cast<std::size_t>(p.y) * width_ + p.x];
    }
  }

 private:
  int width_;
  int height_;
  std::int32_t outside_;
  std::vector<std::uint8_t> levels_;  // a level is 0 ... 255
};

}  // namespace

EtchResult SimulateEtch(const EtchRequest& request) {
  EtchResult result;
  if (request.label.isNull()) {
    result.problem = StringText(kStrImageNotFound);
    return result;
  }
  // The burn as the burn dialog's Draw plans it.
  result.plan = PlanBurn(request.page, request.target);
  const BurnPlan& p = result.plan;
  if (p.Fails(PlanCheck::NoSpeedEntry)) {
    result.problem = "the ELS page offers no usable speed entry";
    return result;
  }
  if (!p.failures.empty()) {
    result.problem = PlanFailureText(p.failures.front());
    return result;
  }
  const std::int64_t blocksPerStep = static_cast<std::int64_t>(p.blocksPerRevolution) * p.steps;
  if (blocksPerStep <= 0) {
    result.problem = kBandTooNarrow;
    return result;
  }

  // The drive's view of the burn: the page as written and the first circle
  // read back from the start address, as the drive knows it.
  EtchedBurnGeometry geometry;
  geometry.innerRadiusMm = RadiusOfAddress(p.startAddress);
  geometry.feedStepUm = p.feedStep;
  geometry.passes = p.steps;
  geometry.halfSamples = p.entry.halfSamples;
  EtchedBurn burn(geometry);

  // Output blocks 0 ... sent - 1 go out; they carry stream blocks 0 ...
  // sent + 1, of which the first two and the last two are incomplete.
  const std::int64_t sent = static_cast<std::int64_t>(p.writes) * p.blocksPerWrite;
  const std::int64_t lastStream = sent + kInterleaveSpan - 2;
  const std::int64_t steps = std::min<std::int64_t>(p.stepCount, lastStream / blocksPerStep + 1);

  const QImage image = request.label.format() == QImage::Format_RGB888
                           ? request.label
                           : request.label.convertToFormat(QImage::Format_RGB888);
  const AngleTables angles = BuildAngleTables(p.entry.samples);
  const LevelImage levelImage(image, ToneCurve(p.toneGamma));
  const SamplingGeometry sampling{p.band.inner, p.feedStep, p.entry.samples};
  const int emitted = burn.EmittedSamples();
  const int passes = p.steps;
  const std::int32_t fullMarks = static_cast<std::int32_t>(kPatternSize) * passes;

  std::vector<std::int32_t> levels(static_cast<std::size_t>(p.entry.samples));
  std::vector<std::uint32_t> marks(static_cast<std::size_t>(emitted));
  const auto& distance = CarrierDistance();
  std::array<std::uint8_t, kBlockDataSize> present{};
  for (std::int64_t step = 0; step < steps; ++step) {
    levelImage.SampleCircle(sampling, angles, static_cast<int>(step), levels.data());
    const std::int64_t first = step * blocksPerStep;
    const std::int64_t last = first + blocksPerStep - 1;
    if (first >= kInterleaveSpan - 1 && last <= sent - 1) {
      // Every byte of the step was sent: the passes together mark 12 dots
      // each, less the sample's level.
      for (int j = 0; j < emitted; ++j)
        marks[j] = static_cast<std::uint32_t>(fullMarks - std::min(levels[j], fullMarks));
    } else {
      // A step at either end of the stream: pass by pass, block by block,
      // only the blocks that were decoded and the bytes that were sent.
      std::fill(marks.begin(), marks.end(), 0u);
      for (int pass = 0; pass < passes; ++pass) {
        for (int b = 0; b < p.blocksPerRevolution; ++b) {
          const std::int64_t k =
              first + static_cast<std::int64_t>(pass) * p.blocksPerRevolution + b;
          if (k > lastStream) continue;
          for (std::size_t q = 0; q < kBlockDataSize; ++q) {
            const std::int64_t carrier = k - distance[q];
            present[q] = carrier >= 0 && carrier < sent;
          }
          for (int t = 0; t < kSamplesPerBlock; ++t) {
            const int j = b * kSamplesPerBlock + t;
            const int level =
                std::clamp(levels[j] - static_cast<int>(kPatternSize) * pass, 0, kMaxDotLevel);
            marks[j] += MarksOf(level, present.data() + t * kPatternSize);
          }
        }
      }
    }
    burn.AddStepMarks(step, marks);
  }

  EtchedSurface surface;
  surface.Merge(burn.Finish());
  const std::vector<std::uint8_t> rgb =
      surface.RenderRgb(request.target.disc.dataSide, request.target.disc.recordedRadius);
  QImage picture(kEtchedPictureSize, kEtchedPictureSize, QImage::Format_RGB888);
  if (picture.isNull()) {
    result.problem = "out of memory for the picture";
    return result;
  }
  const std::size_t row = static_cast<std::size_t>(kEtchedPictureSize) * 3;
  for (int y = 0; y < kEtchedPictureSize; ++y)
    std::memcpy(picture.scanLine(y), rgb.data() + row * y, row);
  result.picture = std::move(picture);
  result.ok = true;
  return result;
}

}  // namespace twr
