// The label-to-stream conversion: angle tables, the tone curve, the dot
// pattern table, 2448-byte blocks with their filler, circle sampling (a fast
// scanline reader and the literal one-pixel-at-a-time reader) and the
// interleaving of consecutive blocks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class QImage;

namespace twr {

inline constexpr std::size_t kBurnBlockSize = 2448;
inline constexpr std::size_t kBlockDataSize = 2352;
inline constexpr std::size_t kFillerSize = kBurnBlockSize - kBlockDataSize;
inline constexpr std::size_t kPatternSize = 12;
inline constexpr int kSamplesPerBlock = 196;
// A revolution takes half the samples of a circle over this many blocks.
inline constexpr int kHalfSamplesPerBlock = 98;
inline constexpr int kMaxDotLevel = 12;
inline constexpr std::size_t kWindowSize = 3 * kBurnBlockSize;
inline constexpr std::uint8_t kDotOn = 0x54;   // 'T'
inline constexpr std::uint8_t kDotOff = 0x4A;  // 'J'
inline constexpr std::uint32_t kOutsideColour = 0xFFFFFFFFu;

using Block = std::array<std::uint8_t, kBurnBlockSize>;

// The dot pattern of a level (0 ... 12): exactly that many light bytes (kDotOn).
const std::uint8_t* DotPattern(int level);
// Filler byte `i` (0 ... 95) of every block.
std::uint8_t FillerByte(std::size_t i);
// How far the interleaver moves the data byte at offset `p` of a block.
int InterleaveDelay(std::size_t p);

// The sines and cosines of the sample angles of one circle of `samples` samples.
struct AngleTables {
  std::vector<double> sine;
  std::vector<double> cosine;
};
AngleTables BuildAngleTables(int samples);

// Grey level 0 ... 255 of a 0x00BBGGRR colour under exponent gamma.
std::int32_t ColourToLevel(std::uint32_t colour, double gamma);
// Luma (0 ... 255) as ColourToLevel computes it.
int ColourLuma(std::uint32_t colour);
// Exponent of the tone curve for a radial advance in micrometres.
double ToneGamma(double advanceMicrometres);

// The tone curve tabulated once per burn: ColourToLevel depends on the
// colour only through its luma.
class ToneCurve {
 public:
  explicit ToneCurve(double gamma);
  std::int32_t Level(int luma) const { return table_[static_cast<std::size_t>(luma)]; }

 private:
  std::array<std::int32_t, 256> table_{};
};

// Geometry of the sampled circles.
struct SamplingGeometry {
  double innerRadiusMm = 0.0;
  double feedStepUm = 0.0;
  int samples = 0;  // of each circle
};

// Radius in micrometres of the circle of feed step `step`.
inline double CircleRadiusUm(const SamplingGeometry& geometry, int step) {
  constexpr double kMicrometresPerMillimetre = 1000.0;
  return geometry.innerRadiusMm * kMicrometresPerMillimetre + step * geometry.feedStepUm;
}

// Pixel (x, y) of sample j on a circle of radius r (micrometres) in an image
// `width` pixels across.
struct SamplePoint {
  int x;
  int y;
};
SamplePoint SamplePosition(int width, double radiusUm, const AngleTables& tables, int j);
// SamplePosition of samples 0 ... count - 1 of a circle in an image `width`
// x `height` pixels, as indexes y * width + x (-1 outside the image).
void SamplePixels(int width, int height, double radiusUm, const AngleTables& tables, int count,
                  std::int32_t* pixels);

// Fills a level for each sample of the circle of feed step `step`. The fast sampler reads the
// image's scanlines directly and uses the tabulated curve; the literal one
// reads one pixel per call and computes the curve per sample. Both give the
// same levels. `image` must be Format_RGB888 for the fast sampler.
void SampleCircleFast(const QImage& image, const SamplingGeometry& geometry,
                      const AngleTables& tables, const ToneCurve& curve, int step,
                      std::int32_t* levels);
void SampleCircleLiteral(const QImage& image, const SamplingGeometry& geometry,
                         const AngleTables& tables, double gamma, int step, std::int32_t* levels);

// Encodes block `blockInPass` of one pass from the level buffer: the 196
// samples from blockInPass * 196 on, each taking up to 12 dots off its level
// (the dots left for the next pass), then the filler.
void EncodeBlock(std::int32_t* levels, int blockInPass, std::uint8_t* block);

// An output block from the window of three encoder blocks it draws on: its
// own and the next two.
void InterleaveBlock(const std::uint8_t* window, std::uint8_t* output);

}  // namespace twr
