// Placing, counting and drawing the marks of a burn.
#include "drive/EtchModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace twr {

namespace {

// How the drive lays a burn out: 196 samples a block, a revolution's half
// samples 98 to a block, 12 dots a sample.
constexpr int kSamplesPerBlock = 196;
constexpr int kHalfSamplesPerBlock = 98;
constexpr std::size_t kDotsPerSample = 12;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kMicrometresPerMillimetre = 1000.0;

constexpr double kHoleRadiusMm = 7.5;
constexpr double kHubRadiusMm = 16.5;
constexpr double kClampRadiusMm = 22.0;
constexpr double kRimRadiusMm = 59.5;

struct Rgb {
  double r, g, b;
};
constexpr Rgb kBackground{255, 255, 255};
constexpr Rgb kClearHub{226, 228, 232};
constexpr Rgb kClamp{212, 214, 218};
constexpr Rgb kSilver{202, 205, 211};
constexpr Rgb kDye{182, 172, 196};
constexpr Rgb kRecorded{150, 140, 166};
constexpr Rgb kRim{168, 170, 176};
constexpr Rgb kMarkColour{38, 36, 34};

constexpr std::size_t kPixels = static_cast<std::size_t>(kEtchedPictureSize) * kEtchedPictureSize;

}  // namespace

EtchedSurface::EtchedSurface() : darkness_(kPixels, 0.0f) {}

EtchedSurface::EtchedSurface(std::vector<float> burn) : darkness_(std::move(burn)) {
  if (darkness_.size() != kPixels) {
    darkness_.assign(kPixels, 0.0f);
    return;
  }
  // Merge's arithmetic over untouched darkness, in place.
  for (float& d : darkness_) d = 1.0f - (1.0f - 0.0f) * (1.0f - d);
}

void EtchedSurface::Merge(const std::vector<float>& burn) {
  if (burn.size() != darkness_.size()) return;
  for (std::size_t i = 0; i < burn.size(); ++i)
    darkness_[i] = 1.0f - (1.0f - darkness_[i]) * (1.0f - burn[i]);
}

namespace {

// The colour of picture pixel (x, y) with darkness `d` over the disc.
struct PixelPainter {
  bool dataSide;
  double recordedRadiusMm;

  // The distance of pixel (x, y)'s centre from the disc's centre, in mm.
  static double RadiusOf(int x, int y) {
    const double centre = kEtchedPictureSize / 2.0;
    const double dx = (x + 0.5 - centre) / kEtchedPixelsPerMm;
    const double dy = (y + 0.5 - centre) / kEtchedPixelsPerMm;
    return std::sqrt(dx * dx + dy * dy);
  }
  // The disc's own colour at distance r: it steps from zone to zone
  // outwards, so two distances with the same colour have it in between.
  const Rgb& Base(double r) const {
    if (r < kHoleRadiusMm || r > kDiscRadiusMm) return kBackground;
    if (r < kHubRadiusMm) return kClearHub;
    if (r < kClampRadiusMm) return kClamp;
    if (r >= kRimRadiusMm) return kRim;
    if (!dataSide) return kSilver;
    return r < recordedRadiusMm ? kRecorded : kDye;
  }
  void Paint(int x, int y, float darkness, std::uint8_t* out) const {
    const double r = RadiusOf(x, y);
    const Rgb& base = Base(r);
    const double d = r <= kDiscRadiusMm ? darkness : 0.0;
    // Each channel lies in [0, 255]: half up, as the stored pictures were made.
    // NOLINTBEGIN(bugprone-incorrect-roundings)
    out[0] = static_cast<std::uint8_t>(base.r * (1 - d) + kMarkColour.r * d + 0.5);
    out[1] = static_cast<std::uint8_t>(base.g * (1 - d) + kMarkColour.g * d + 0.5);
    out[2] = static_cast<std::uint8_t>(base.b * (1 - d) + kMarkColour.b * d + 0.5);
    // NOLINTEND(bugprone-incorrect-roundings)
  }
  // Every pixel of the square [x0, x0 + n) x [y0, y0 + n) has the colour of
  // its first: none is marked and all lie in one zone. The pixels nearest to
  // and farthest from the centre bound every other one's distance (the
  // arithmetic is monotonic), so their zones decide.
  bool Plain(int x0, int y0, int n, const float* darkness) const {
    for (int y = y0; y < y0 + n; ++y) {
      const float* line = darkness + static_cast<std::size_t>(y) * kEtchedPictureSize;
      for (int x = x0; x < x0 + n; ++x)
        if (line[x] != 0.0f) return false;
    }
    // Twice a column's (or row's) offset from the centre, in whole numbers.
    const auto offset = [](int i) { return std::abs(2 * i + 1 - kEtchedPictureSize); };
    const auto nearest = [&](int from) {
      int best = from;
      for (int i = from + 1; i < from + n; ++i)
        if (offset(i) < offset(best)) best = i;
      return best;
    };
    const auto farthest = [&](int from) {
      return offset(from) >= offset(from + n - 1) ? from : from + n - 1;
    };
    return &Base(RadiusOf(nearest(x0), nearest(y0))) == &Base(RadiusOf(farthest(x0), farthest(y0)));
  }
};

// Sums of a factor x factor square to their rounded means.
void StoreMeans(const std::vector<std::uint32_t>& sums, int factor, std::uint8_t* out) {
  const std::uint32_t n = static_cast<std::uint32_t>(factor) * static_cast<std::uint32_t>(factor);
  for (std::size_t i = 0; i < sums.size(); ++i)
    out[i] = static_cast<std::uint8_t>((sums[i] + n / 2) / n);
}

}  // namespace

std::vector<std::uint8_t> EtchedSurface::RenderRgb(bool dataSide, double recordedRadiusMm) const {
  std::vector<std::uint8_t> rgb(kPixels * 3);
  const PixelPainter painter{dataSide, recordedRadiusMm};
  for (int y = 0; y < kEtchedPictureSize; ++y) {
    for (int x = 0; x < kEtchedPictureSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kEtchedPictureSize + x;
      painter.Paint(x, y, darkness_[i], &rgb[3 * i]);
    }
  }
  return rgb;
}

std::vector<std::uint8_t> EtchedSurface::RenderRgbScaled(bool dataSide, double recordedRadiusMm,
                                                         int factor) const {
  if (factor < 1 || kEtchedPictureSize % factor != 0) return {};
  const int side = kEtchedPictureSize / factor;
  const std::size_t row = static_cast<std::size_t>(side) * 3;
  std::vector<std::uint8_t> rgb(row * static_cast<std::size_t>(side));
  const PixelPainter painter{dataSide, recordedRadiusMm};
  std::vector<std::uint32_t> sums(row);
  std::uint8_t colour[3];
  for (int oy = 0; oy < side; ++oy) {
    std::fill(sums.begin(), sums.end(), 0u);
    std::uint8_t* out = rgb.data() + row * static_cast<std::size_t>(oy);
    for (int ox = 0; ox < side; ++ox) {
      std::uint32_t* sum = &sums[static_cast<std::size_t>(ox) * 3];
      if (painter.Plain(ox * factor, oy * factor, factor, darkness_.data())) {
        // Every pixel of the square has this colour, and so has their mean.
        painter.Paint(ox * factor, oy * factor, 0.0f, colour);
        const auto n = static_cast<std::uint32_t>(factor * factor);
        sum[0] = colour[0] * n;
        sum[1] = colour[1] * n;
        sum[2] = colour[2] * n;
        continue;
      }
      for (int y = oy * factor; y < (oy + 1) * factor; ++y) {
        const float* line = darkness_.data() + static_cast<std::size_t>(y) * kEtchedPictureSize;
        for (int x = ox * factor; x < (ox + 1) * factor; ++x) {
          painter.Paint(x, y, line[x], colour);
          sum[0] += colour[0];
          sum[1] += colour[1];
          sum[2] += colour[2];
        }
      }
    }
    StoreMeans(sums, factor, out);
  }
  return rgb;
}

std::vector<std::uint8_t> ScaleEtchedRgb(std::span<const std::uint8_t> rgb, int size, int factor) {
  if (factor < 1 || size % factor != 0 ||
      rgb.size() != static_cast<std::size_t>(size) * static_cast<std::size_t>(size) * 3)
    return {};
  const int side = size / factor;
  const std::size_t row = static_cast<std::size_t>(side) * 3;
  std::vector<std::uint8_t> out(row * static_cast<std::size_t>(side));
  std::vector<std::uint32_t> sums(row);
  for (int oy = 0; oy < side; ++oy) {
    std::fill(sums.begin(), sums.end(), 0u);
    for (int y = oy * factor; y < (oy + 1) * factor; ++y) {
      const std::uint8_t* line = rgb.data() + static_cast<std::size_t>(y) * size * 3;
      for (int x = 0; x < size; ++x)
        for (int c = 0; c < 3; ++c)
          sums[static_cast<std::size_t>(x / factor) * 3 + c] += line[3 * x + c];
    }
    StoreMeans(sums, factor, out.data() + row * static_cast<std::size_t>(oy));
  }
  return out;
}

EtchedMarks::EtchedMarks(const EtchedBurnGeometry& geometry) : geometry_(geometry) {
  if (geometry_.passes < 1) geometry_.passes = 1;
  blocksPerPass_ = geometry_.halfSamples > 0 ? geometry_.halfSamples / kHalfSamplesPerBlock : 0;
  const int samples = 2 * std::max(geometry_.halfSamples, 0);
  sine_.resize(static_cast<std::size_t>(samples));
  cosine_.resize(static_cast<std::size_t>(samples));
  for (int j = 0; j < samples; ++j) {
    const double theta = j * (kTwoPi / samples);
    sine_[j] = std::sin(theta);
    cosine_[j] = std::cos(theta);
  }
}

int EtchedMarks::EmittedSamples() const {
  return blocksPerPass_ * kSamplesPerBlock;
}

int EtchedMarks::PixelOf(std::int64_t step, int sample) const {
  const double radiusMm =
      geometry_.innerRadiusMm + step * geometry_.feedStepUm / kMicrometresPerMillimetre;
  // The same rounding as the encoder's sampling: the offset from the centre
  // is truncated toward zero on every side, so the picture is the label's
  // pixel grid moved by a whole number of pixels.
  constexpr int half = kEtchedPictureSize / 2;
  const int x = half - static_cast<int>(radiusMm * cosine_[sample] * kEtchedPixelsPerMm);
  const int y = half - static_cast<int>(radiusMm * sine_[sample] * kEtchedPixelsPerMm);
  if (x < 0 || y < 0 || x >= kEtchedPictureSize || y >= kEtchedPictureSize) return -1;
  return y * kEtchedPictureSize + x;
}

void EtchedMarks::Touch(std::int64_t step) {
  if (step < 0 || blocksPerPass_ == 0) return;
  if (!any_) any_ = true;  // written once: steps of PrepareSteps may be touched side by side
  if (static_cast<std::size_t>(step) >= touchedSteps_.size())
    touchedSteps_.resize(static_cast<std::size_t>(step) + 1, 0);
  std::uint8_t& touched = touchedSteps_[static_cast<std::size_t>(step)];
  if (touched == 0) touched = 1;
}

void EtchedMarks::Add(std::int64_t step, int sample, std::uint32_t marks) {
  if (marks == 0 || !any_ || sample < 0 || sample >= EmittedSamples()) return;
  const int pixel = PixelOf(step, sample);
  if (pixel < 0) return;
  if (marks_.empty()) marks_.assign(kPixels, 0);
  marks_[static_cast<std::size_t>(pixel)] += marks;
}

void EtchedMarks::AddStep(std::int64_t step, std::span<const std::uint32_t> marks) {
  if (step < 0 || blocksPerPass_ == 0) return;
  Touch(step);
  const int samples = std::min(static_cast<int>(marks.size()), EmittedSamples());
  for (int j = 0; j < samples; ++j) Add(step, j, marks[j]);
}

void EtchedMarks::StepPixels(std::int64_t step, std::span<std::int32_t> pixels) const {
  const int samples = std::min(static_cast<int>(pixels.size()), EmittedSamples());
  const double radiusMm =
      geometry_.innerRadiusMm + step * geometry_.feedStepUm / kMicrometresPerMillimetre;
  // PixelOf's arithmetic, in a loop the compiler can vectorise.
  constexpr int half = kEtchedPictureSize / 2;
  const double* cosine = cosine_.data();
  const double* sine = sine_.data();
  std::int32_t* out = pixels.data();
  for (int j = 0; j < samples; ++j) {
    const int x = half - static_cast<int>(radiusMm * cosine[j] * kEtchedPixelsPerMm);
    const int y = half - static_cast<int>(radiusMm * sine[j] * kEtchedPixelsPerMm);
    const bool inside = x >= 0 && y >= 0 && x < kEtchedPictureSize && y < kEtchedPictureSize;
    out[j] = inside ? y * kEtchedPictureSize + x : -1;
  }
}

void EtchedMarks::AddStepAt(std::int64_t step, std::span<const std::int32_t> pixels,
                            std::span<const std::uint32_t> marks) {
  if (step < 0 || blocksPerPass_ == 0) return;
  const bool fresh = static_cast<std::size_t>(step) >= touchedSteps_.size() ||
                     touchedSteps_[static_cast<std::size_t>(step)] == 0;
  Touch(step);
  const int samples =
      std::min({static_cast<int>(marks.size()), static_cast<int>(pixels.size()), EmittedSamples()});
  if (!fresh || samples < EmittedSamples()) {
    // A step seen before, or not all of it: its dots alone (Finish counts it).
    if (marks_.empty()) marks_.assign(kPixels, 0);
    std::uint32_t* tally = marks_.data();
    for (int j = 0; j < samples; ++j)
      if (pixels[j] >= 0) tally[pixels[j]] += marks[j];
    return;
  }
  // The dots and the count of samples together, in one add a sample.
  if (counted_.empty()) counted_.assign(kPixels, 0);
  std::uint64_t* counted = counted_.data();
  for (int j = 0; j < samples; ++j)
    if (pixels[j] >= 0) counted[pixels[j]] += (static_cast<std::uint64_t>(marks[j]) << 32) | 1u;
  touchedSteps_[static_cast<std::size_t>(step)] = 2;
}

void EtchedMarks::Absorb(EtchedMarks&& other) {
  if (!other.any_ && other.touchedSteps_.empty()) return;
  if (marks_.empty()) {
    marks_ = std::move(other.marks_);
  } else if (!other.marks_.empty()) {
    for (std::size_t i = 0; i < kPixels; ++i) marks_[i] += other.marks_[i];
  }
  if (counted_.empty()) {
    counted_ = std::move(other.counted_);
  } else if (!other.counted_.empty()) {
    for (std::size_t i = 0; i < kPixels; ++i) counted_[i] += other.counted_[i];
  }
  if (touchedSteps_.size() < other.touchedSteps_.size())
    touchedSteps_.resize(other.touchedSteps_.size(), 0);
  for (std::size_t step = 0; step < other.touchedSteps_.size(); ++step)
    touchedSteps_[step] = std::max(touchedSteps_[step], other.touchedSteps_[step]);
  any_ = any_ || other.any_;
  other.marks_.clear();
  other.counted_.clear();
  other.touchedSteps_.clear();
}

void EtchedMarks::PrepareSteps(std::int64_t steps) {
  if (steps <= 0 || blocksPerPass_ == 0) return;
  any_ = true;
  if (touchedSteps_.size() < static_cast<std::size_t>(steps))
    touchedSteps_.resize(static_cast<std::size_t>(steps), 0);
  if (counted_.empty()) counted_.assign(kPixels, 0);
}

std::int64_t EtchedMarks::SeparatingSteps() const {
  // A sample's pixel centre lies less than 1.5 pixels from the sample's own
  // place on each axis (the offset is truncated, then the centre is half a
  // pixel on), so less than 2.2 pixels from its circle: circles 5 pixels
  // apart share no pixel.
  constexpr double kApartPixels = 5.0;
  const double stepPixels = geometry_.feedStepUm / kMicrometresPerMillimetre * kEtchedPixelsPerMm;
  if (!(stepPixels > 0.0)) return std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(std::ceil(kApartPixels / stepPixels));
}

std::vector<float> EtchedMarks::Finish() {
  std::vector<float> darkness(kPixels, 0.0f);
  if (!any_) return darkness;
  const float perDot = 1.0f / static_cast<float>(kDotsPerSample * geometry_.passes);
  // The samples of the steps only touched join those AddStepAt counted, or,
  // when it counted none (the virtual drive's blocks), a count of their own.
  const bool whole = !counted_.empty();
  std::vector<std::uint32_t> touched(whole ? 0 : kPixels, 0u);
  const int emitted = EmittedSamples();
  for (std::size_t step = 0; step < touchedSteps_.size(); ++step) {
    if (touchedSteps_[step] != 1) continue;
    for (int j = 0; j < emitted; ++j) {
      const int pixel = PixelOf(static_cast<std::int64_t>(step), j);
      if (pixel < 0) continue;
      if (whole)
        counted_[static_cast<std::size_t>(pixel)] += 1u;
      else
        ++touched[static_cast<std::size_t>(pixel)];
    }
  }
  for (std::size_t i = 0; i < kPixels; ++i) {
    const std::uint32_t count = whole ? static_cast<std::uint32_t>(counted_[i]) : touched[i];
    if (count == 0) continue;
    const std::uint32_t dots = (marks_.empty() ? 0u : marks_[i]) +
                               (whole ? static_cast<std::uint32_t>(counted_[i] >> 32) : 0u);
    darkness[i] = std::min(1.0f, static_cast<float>(dots) * perDot / static_cast<float>(count));
  }
  marks_.clear();
  counted_.clear();
  touchedSteps_.clear();
  return darkness;
}

}  // namespace twr
