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
inline constexpr int kSamplesPerBlockUnit = 98;  // B = c / 98
inline constexpr int kMaxDotLevel = 12;
inline constexpr std::size_t kWindowSize = 3 * kBurnBlockSize;
inline constexpr std::uint8_t kDotOn = 0x54;   // 'T'
inline constexpr std::uint8_t kDotOff = 0x4A;  // 'J'
inline constexpr std::uint32_t kOutsideColour = 0xFFFFFFFFu;

using Block = std::array<std::uint8_t, kBurnBlockSize>;

// Pattern row for level e (0 ... 12): exactly e bytes 0x54.
const std::uint8_t* DotPattern(int level);
// Filler byte i (0 ... 95) of every block.
std::uint8_t FillerByte(std::size_t i);
// The interleave delay of data offset p.
int InterleaveDelay(std::size_t p);

// The two angle tables of one circle of N samples.
struct AngleTables {
  std::vector<double> sine;
  std::vector<double> cosine;
};
AngleTables BuildAngleTables(int samples);

// Grey level 0 ... 255 of a 0x00BBGGRR colour under exponent gamma.
std::int32_t ColourToLevel(std::uint32_t colour, double gamma);
// Luma Y (0 ... 255) as ColourToLevel computes it.
int ColourLuma(std::uint32_t colour);
// Exponent of the tone curve for a radial advance in micrometres.
double ToneGamma(double advanceMicrometres);

// The tone curve tabulated once per burn: ColourToLevel depends on the
// colour only through Y.
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
  int samples = 0;  // N
};

// Pixel (x, y) of sample j on a circle of radius r (micrometres) in an image
// `width` pixels across.
struct SamplePoint {
  int x;
  int y;
};
SamplePoint SamplePosition(int width, double radiusUm, const AngleTables& tables, int j);

// Fills levels[0 .. N-1] for feed step `step`. The fast sampler reads the
// image's scanlines directly and uses the tabulated curve; the literal one
// reads one pixel per call and computes the curve per sample. Both give the
// same levels. `image` must be Format_RGB888 for the fast sampler.
void SampleCircleFast(const QImage& image, const SamplingGeometry& geometry,
                      const AngleTables& tables, const ToneCurve& curve, int step,
                      std::int32_t* levels);
void SampleCircleLiteral(const QImage& image, const SamplingGeometry& geometry,
                         const AngleTables& tables, double gamma, int step, std::int32_t* levels);

// Encodes block b of one pass from the level buffer: 196 samples from index
// b * 196 on, each taking min(level, 12) dots off its level, then the filler.
void EncodeBlock(std::int32_t* levels, int blockInPass, std::uint8_t* block);

// Output block n from the window of encoder blocks n, n + 1, n + 2.
void InterleaveBlock(const std::uint8_t* window, std::uint8_t* output);

}  // namespace twr
