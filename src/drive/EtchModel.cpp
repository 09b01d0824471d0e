// Placing, counting and drawing the marks of a burn.
#include "drive/EtchModel.h"

#include <algorithm>
#include <cmath>

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

void EtchedSurface::Merge(const std::vector<float>& burn) {
  if (burn.size() != darkness_.size()) return;
  for (std::size_t i = 0; i < burn.size(); ++i)
    darkness_[i] = 1.0f - (1.0f - darkness_[i]) * (1.0f - burn[i]);
}

std::vector<std::uint8_t> EtchedSurface::RenderRgb(bool dataSide, double recordedRadiusMm) const {
  std::vector<std::uint8_t> rgb(kPixels * 3);
  const double centre = kEtchedPictureSize / 2.0;
  for (int y = 0; y < kEtchedPictureSize; ++y) {
    for (int x = 0; x < kEtchedPictureSize; ++x) {
      const double dx = (x + 0.5 - centre) / kEtchedPixelsPerMm;
      const double dy = (y + 0.5 - centre) / kEtchedPixelsPerMm;
      const double r = std::sqrt(dx * dx + dy * dy);
      Rgb base = kBackground;
      if (r >= kHoleRadiusMm && r <= kDiscRadiusMm) {
        if (r < kHubRadiusMm)
          base = kClearHub;
        else if (r < kClampRadiusMm)
          base = kClamp;
        else if (r >= kRimRadiusMm)
          base = kRim;
        else if (!dataSide)
          base = kSilver;
        else
          base = r < recordedRadiusMm ? kRecorded : kDye;
      }
      const std::size_t i = static_cast<std::size_t>(y) * kEtchedPictureSize + x;
      const double d = r <= kDiscRadiusMm ? darkness_[i] : 0.0;
      // Each channel lies in [0, 255]: half up, as the stored pictures were made.
      // NOLINTNEXTLINE(bugprone-incorrect-roundings)
      rgb[3 * i] = static_cast<std::uint8_t>(base.r * (1 - d) + kMarkColour.r * d + 0.5);
      // NOLINTNEXTLINE(bugprone-incorrect-roundings)
      rgb[3 * i + 1] = static_cast<std::uint8_t>(base.g * (1 - d) + kMarkColour.g * d + 0.5);
      // NOLINTNEXTLINE(bugprone-incorrect-roundings)
      rgb[3 * i + 2] = static_cast<std::uint8_t>(base.b * (1 - d) + kMarkColour.b * d + 0.5);
    }
  }
  return rgb;
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
  any_ = true;
  if (marks_.empty()) marks_.assign(kPixels, 0);
  if (static_cast<std::size_t>(step) >= touchedSteps_.size())
    touchedSteps_.resize(static_cast<std::size_t>(step) + 1, 0);
  touchedSteps_[static_cast<std::size_t>(step)] = 1;
}

void EtchedMarks::Add(std::int64_t step, int sample, std::uint32_t marks) {
  if (marks == 0 || marks_.empty() || sample < 0 || sample >= EmittedSamples()) return;
  const int pixel = PixelOf(step, sample);
  if (pixel >= 0) marks_[static_cast<std::size_t>(pixel)] += marks;
}

void EtchedMarks::AddStep(std::int64_t step, std::span<const std::uint32_t> marks) {
  if (step < 0 || blocksPerPass_ == 0) return;
  Touch(step);
  const int samples = std::min(static_cast<int>(marks.size()), EmittedSamples());
  for (int j = 0; j < samples; ++j) Add(step, j, marks[j]);
}

std::vector<float> EtchedMarks::Finish() {
  std::vector<float> darkness(kPixels, 0.0f);
  if (marks_.empty()) return darkness;
  const float perDot = 1.0f / static_cast<float>(kDotsPerSample * geometry_.passes);
  std::vector<float> count(kPixels, 0.0f);
  const int emitted = EmittedSamples();
  for (std::size_t step = 0; step < touchedSteps_.size(); ++step) {
    if (!touchedSteps_[step]) continue;
    for (int j = 0; j < emitted; ++j) {
      const int pixel = PixelOf(static_cast<std::int64_t>(step), j);
      if (pixel >= 0) count[static_cast<std::size_t>(pixel)] += 1.0f;
    }
  }
  for (std::size_t i = 0; i < kPixels; ++i)
    if (count[i] > 0)
      darkness[i] = std::min(1.0f, static_cast<float>(marks_[i]) * perDot / count[i]);
  marks_.clear();
  touchedSteps_.clear();
  return darkness;
}

}  // namespace twr
