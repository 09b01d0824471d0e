// The simulated etch: the burn's plan, then the marks of each feed step from
// the sampled levels, placed and drawn by the etch model the virtual drive
// draws with.
#include "burn/SimulatedEtch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <thread>
#include <utility>
#include <vector>

#include "burn/DotEncoder.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"
#include "label/CELLayout.h"

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
  // The levels of one circle's samples, as the encoder's sampler gives them;
  // `pixels` is room for the samples' label pixels.
  void SampleCircle(const SamplingGeometry& geometry, const AngleTables& tables, int step,
                    std::int32_t* pixels, std::int32_t* levels) const {
    SamplePixels(width_, height_, CircleRadiusUm(geometry, step), tables, geometry.samples, pixels);
    const std::uint8_t* level = levels_.data();
    for (int j = 0; j < geometry.samples; ++j)
      levels[j] = pixels[j] < 0 ? outside_ : level[pixels[j]];
  }

 private:
  int width_;
  int height_;
  std::int32_t outside_;
  std::vector<std::uint8_t> levels_;  // a level is 0 ... 255
};

// `rgb` (side x side pixels, R G B) as a picture; null without memory.
QImage RgbPicture(const std::vector<std::uint8_t>& rgb, int side) {
  QImage picture(side, side, QImage::Format_RGB888);
  const std::size_t row = static_cast<std::size_t>(side) * 3;
  if (picture.isNull() || rgb.size() != row * static_cast<std::size_t>(side)) return QImage();
  for (int y = 0; y < side; ++y) std::memcpy(picture.scanLine(y), rgb.data() + row * y, row);
  return picture;
}

// Why a plan gives no picture; "" when it gives one.
std::string PlanProblem(const BurnPlan& p) {
  if (p.Fails(PlanCheck::NoSpeedEntry))
    return Tr("SimulatedEtch", "the ELS page offers no usable speed entry");
  if (!p.failures.empty()) return PlanFailureText(p.failures.front());
  if (p.blocksPerRevolution <= 0 || p.steps <= 0) return Tr("BurnPlan", kBandTooNarrow);
  return {};
}

// Where a burn's blocks go: output blocks 0 ... sent - 1 go out; they carry
// stream blocks 0 ... sent + 1, of which the first two and the last two are
// incomplete.
struct SentStream {
  std::int64_t blocksPerStep = 0;
  std::int64_t sent = 0;
  std::int64_t lastStream = 0;
  std::int64_t steps = 0;  // feed steps that get any block

  explicit SentStream(const BurnPlan& p)
      : blocksPerStep(static_cast<std::int64_t>(p.blocksPerRevolution) * p.steps),
        sent(static_cast<std::int64_t>(p.writes) * p.blocksPerWrite),
        lastStream(sent + kInterleaveSpan - 2),
        steps(std::min<std::int64_t>(p.stepCount, lastStream / blocksPerStep + 1)) {}
  // Every byte of the step's blocks was sent.
  bool Whole(std::int64_t step) const {
    const std::int64_t first = step * blocksPerStep;
    return first >= kInterleaveSpan - 1 && first + blocksPerStep - 1 <= sent - 1;
  }
};

// The marks of a step at either end of the stream: pass by pass, block by
// block, only the blocks that were decoded and the bytes that were sent.
void EdgeStepMarks(const BurnPlan& p, const SentStream& stream, std::int64_t step,
                   const std::vector<std::int32_t>& levels, std::vector<std::uint32_t>& marks) {
  const auto& distance = CarrierDistance();
  std::array<std::uint8_t, kBlockDataSize> present{};
  std::fill(marks.begin(), marks.end(), 0u);
  const std::int64_t first = step * stream.blocksPerStep;
  for (int pass = 0; pass < p.steps; ++pass) {
    for (int b = 0; b < p.blocksPerRevolution; ++b) {
      const std::int64_t k = first + static_cast<std::int64_t>(pass) * p.blocksPerRevolution + b;
      if (k > stream.lastStream) continue;
      for (std::size_t q = 0; q < kBlockDataSize; ++q) {
        const std::int64_t carrier = k - distance[q];
        present[q] = carrier >= 0 && carrier < stream.sent;
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

// The marks of steps [first, last) of the burn of `p` into `burn`.
void EtchSteps(const BurnPlan& p, const SentStream& stream, const LevelImage& levelImage,
               const AngleTables& angles, std::int64_t first, std::int64_t last,
               EtchedMarks& burn) {
  const SamplingGeometry sampling{p.band.inner, p.feedStep, p.entry.samples};
  const std::int32_t fullMarks = static_cast<std::int32_t>(kPatternSize) * p.steps;
  const std::size_t samples = static_cast<std::size_t>(p.entry.samples);
  std::vector<std::int32_t> levels(samples);
  std::vector<std::int32_t> labelPixels(samples);
  std::vector<std::uint32_t> marks(static_cast<std::size_t>(burn.EmittedSamples()));
  std::vector<std::int32_t> discPixels(marks.size());
  for (std::int64_t step = first; step < last; ++step) {
    levelImage.SampleCircle(sampling, angles, static_cast<int>(step), labelPixels.data(),
                            levels.data());
    if (stream.Whole(step)) {
      // The passes together mark 12 dots each, less the sample's level.
      for (std::size_t j = 0; j < marks.size(); ++j)
        marks[j] = static_cast<std::uint32_t>(fullMarks - std::min(levels[j], fullMarks));
    } else {
      EdgeStepMarks(p, stream, step, levels, marks);
    }
    burn.StepPixels(step, discPixels);
    burn.AddStepAt(step, discPixels, marks);
  }
}

// The darkness the burn of `p` leaves with `label`: every circle's samples
// through the tone curve, their dots over the passes, placed by the etch model
// from the first circle as the drive reads it back from the start address.
// Two threads count into the same marks: the inner steps and the outer ones,
// with a gap between them wide enough that no pixel has samples of both; the
// gap's steps follow once both are done. The counts are whole numbers, so the
// order in which they add up never changes the picture.
std::vector<float> EtchBurn(const BurnPlan& p, const QImage& label) {
  EtchedBurnGeometry geometry;
  geometry.innerRadiusMm = RadiusOfAddress(p.startAddress);
  geometry.feedStepUm = p.feedStep;
  geometry.passes = p.steps;
  geometry.halfSamples = p.entry.halfSamples;
  EtchedMarks burn(geometry);

  const SentStream stream(p);
  const QImage image = label.format() == QImage::Format_RGB888
                           ? label
                           : label.convertToFormat(QImage::Format_RGB888);
  const AngleTables angles = BuildAngleTables(p.entry.samples);
  const LevelImage levelImage(image, ToneCurve(p.toneGamma));
  burn.PrepareSteps(stream.steps);
  // The outer circles are longer on the disc but not in samples: half the
  // steps each.
  const std::int64_t middle = stream.steps / 2;
  const std::int64_t gap = burn.SeparatingSteps();
  if (gap < middle / 2) {
    std::thread second(
        [&] { EtchSteps(p, stream, levelImage, angles, middle, stream.steps, burn); });
    EtchSteps(p, stream, levelImage, angles, 0, middle - gap, burn);
    second.join();
    EtchSteps(p, stream, levelImage, angles, middle - gap, middle, burn);
  } else {
    EtchSteps(p, stream, levelImage, angles, 0, stream.steps, burn);
  }
  return burn.Finish();
}

// The disc side with `darkness` on it as a picture, scaled down by
// `factor`; null without memory.
QImage DrawDisc(std::vector<float> darkness, const BurnDisc& disc, int factor) {
  const EtchedSurface surface(std::move(darkness));
  const std::vector<std::uint8_t> rgb =
      factor == 1 ? surface.RenderRgb(disc.dataSide, disc.recordedRadius)
                  : surface.RenderRgbScaled(disc.dataSide, disc.recordedRadius, factor);
  const int side = kEtchedPictureSize / factor;
  return RgbPicture(rgb, side);
}

EtchResult Simulate(const EtchRequest& request, int factor) {
  EtchResult result;
  if (request.label.isNull()) {
    result.problem = StringText(kStrImageNotFound);
    return result;
  }
  // The burn as the burn dialog's Draw plans it.
  result.plan = PlanBurn(request.page, request.target);
  result.problem = PlanProblem(result.plan);
  if (!result.problem.empty()) return result;
  std::vector<float> darkness = EtchBurn(result.plan, request.label);
  request.response.Apply(darkness);
  result.picture = DrawDisc(std::move(darkness), request.target.disc, factor);
  if (result.picture.isNull()) {
    result.problem = Tr("SimulatedEtch", "out of memory for the picture");
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace

EtchResult SimulateEtch(const EtchRequest& request) {
  return Simulate(request, 1);
}

EtchResult SimulateEtchPreview(const EtchRequest& request) {
  return Simulate(request, kEtchedPreviewFactor);
}

QImage ScaleEtchedPicture(const QImage& full) {
  if (full.width() != kEtchedPictureSize || full.height() != kEtchedPictureSize) return QImage();
  const QImage rgb =
      full.format() == QImage::Format_RGB888 ? full : full.convertToFormat(QImage::Format_RGB888);
  const std::size_t row = static_cast<std::size_t>(kEtchedPictureSize) * 3;
  std::vector<std::uint8_t> bytes(row * kEtchedPictureSize);
  for (int y = 0; y < kEtchedPictureSize; ++y)
    std::memcpy(bytes.data() + row * y, rgb.constScanLine(y), row);
  return RgbPicture(ScaleEtchedRgb(bytes, kEtchedPictureSize, kEtchedPreviewFactor),
                    kEtchedPictureSize / kEtchedPreviewFactor);
}

double SmallestLegibleQrModuleMm(const BurnPlan& plan) {
  constexpr double kUmPerMm = 1000.0;
  const double acrossCircles = plan.feedStep / kUmPerMm;
  const double alongCircle =
      plan.entry.samples > 0 ? 2.0 * std::numbers::pi * plan.band.outer / plan.entry.samples : 0.0;
  return kQrSamplesPerModule * std::max(acrossCircles, alongCircle);
}

std::vector<LabelWarning> CheckQrEtch(const CELLayout& layout, const ElsPage& page,
                                      const BurnTarget& target) {
  if (!layout.QrWanted()) return {};
  const BurnPlan plan = PlanBurn(page, target);
  if (!plan.HasTime()) return {};  // a page without a burn geometry: nothing to measure against
  return CheckQrModules(layout, SmallestLegibleQrModuleMm(plan),
                        Tr("BurnPlan", kQualityNames[static_cast<int>(plan.quality)]));
}

}  // namespace twr
