// Circle sampling, tone curve, dot patterns and interleaving of the burn
// stream. Every truncation and operation order here decides bytes sent to the
// drive: keep them as they are.
#include "burn/DotEncoder.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/Truncate.h"
#include "drive/DiscGeometry.h"

namespace twr {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMicrometresPerMillimetre = 1000.0;
// Pixels per micrometre for each pixel of the label's width.
constexpr double kPixelsPerMicrometre = 1.0 / (kLabelWidthMm * kMicrometresPerMillimetre);
static_assert(kPixelsPerMicrometre == 8.620689655172414e-6);
constexpr double kLumaRed = 0.299;
constexpr double kLumaGreen = 0.587;
constexpr double kLumaBlue = 0.114;
constexpr double kInverse255 = 0.00392156862745098;  // 0x3F70101010101010
constexpr double kLevelScale = 255.0;

constexpr char kPatternText[kMaxDotLevel + 1][kPatternSize + 1] = {
    "JJJJJJJJJJJJ", "JJJJJJTJJJJJ", "JJJJJTTJJJJJ", "JJJJJTTTJJJJ", "JJJJTTTTJJJJ",
    "JJJJTTTTTJJJ", "JJJTTTTTTJJJ", "JJJTTTTTTTJJ", "JJTTTTTTTTJJ", "JTTTTTTTTTJJ",
    "JTTTTTTTTTTJ", "TTTTTTTTTTTJ", "TTTTTTTTTTTT",
};

constexpr std::array<int, 24> kDelay = {145, 71,  725,  651,  1641, 1567, 2221, 2147,
                                        331, 257, 911,  837,  1827, 1753, 2407, 2333,
                                        517, 443, 1097, 1023, 2013, 1939, 2593, 2519};

struct Tables {
  std::array<std::array<std::uint8_t, kPatternSize>, kMaxDotLevel + 1> patterns{};
  std::array<std::uint8_t, kFillerSize> filler{};
  // Window offset of the source byte of every output data offset.
  std::array<std::uint16_t, kBlockDataSize> source{};

  Tables() {
    for (int e = 0; e <= kMaxDotLevel; ++e)
      for (std::size_t i = 0; i < kPatternSize; ++i)
        patterns[e][i] = kPatternText[e][i] == 'T' ? kDotOn : kDotOff;
    for (std::size_t i = 0; i < kFillerSize; ++i) filler[i] = (i % 2 == 0) ? kDotOn : kDotOff;
    for (std::size_t p = 0; p < kBlockDataSize; ++p) {
      std::size_t q = p + static_cast<std::size_t>(kDelay[p % kDelay.size()]);
      if (q >= 2 * kBlockDataSize)
        q += 2 * kFillerSize;
      else if (q >= kBlockDataSize)
        q += kFillerSize;
      source[p] = static_cast<std::uint16_t>(q);
    }
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

std::uint32_t ColourAt(const QImage& image, int x, int y) {
  if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) return kOutsideColour;
  const QRgb rgb = image.pixel(x, y);
  return static_cast<std::uint32_t>(qRed(rgb)) | (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
         (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
}

}  // namespace

const std::uint8_t* DotPattern(int level) {
  return GetTables().patterns[level].data();
}
std::uint8_t FillerByte(std::size_t i) {
  return GetTables().filler[i];
}
int InterleaveDelay(std::size_t p) {
  return kDelay[p % kDelay.size()];
}

AngleTables BuildAngleTables(int samples) {
  AngleTables t;
  if (samples <= 0) return t;
  t.sine.resize(static_cast<std::size_t>(samples));
  t.cosine.resize(static_cast<std::size_t>(samples));
  const double step = kTwoPi / samples;
  for (int j = 0; j < samples; ++j) {
    const double theta = j * step;
    t.sine[j] = std::sin(theta);
    t.cosine[j] = std::cos(theta);
  }
  return t;
}

int ColourLuma(std::uint32_t colour) {
  const double r = colour & 0xFF;
  const double g = (colour >> 8) & 0xFF;
  const double b = (colour >> 16) & 0xFF;
  const double y = kLumaGreen * g + kLumaBlue * b + kLumaRed * r;
  return static_cast<int>(static_cast<std::uint32_t>(TruncToInt32(y)) & 0xFF);
}

std::int32_t ColourToLevel(std::uint32_t colour, double gamma) {
  const int luma = ColourLuma(colour);
  return TruncToInt32(kLevelScale * (1.0 - std::pow(1.0 - luma * kInverse255, 1.0 / gamma)));
}

double ToneGamma(double advanceMicrometres) {
  // For an advance of e^3 um or more the bracket is zero or negative; the
  // curve then stays at its flattest usable exponent, 0.01.
  std::uint32_t t = TruncToUint32((1.5 - std::log(advanceMicrometres) * 0.5) * 100.0);
  if (t == 0) t = 1;
  return t * 0.01;
}

ToneCurve::ToneCurve(double gamma) {
  const double exponent = 1.0 / gamma;
  for (int y = 0; y < 256; ++y)
    table_[y] = TruncToInt32(kLevelScale * (1.0 - std::pow(1.0 - y * kInverse255, exponent)));
}

SamplePoint SamplePosition(int width, double radiusUm, const AngleTables& tables, int j) {
  const double scale = width * kPixelsPerMicrometre;
  const int half = width / 2;
  return {half - TruncToInt32(radiusUm * tables.cosine[j] * scale),
          half - TruncToInt32(radiusUm * tables.sine[j] * scale)};
}

void SamplePixels(int width, int height, double radiusUm, const AngleTables& tables, int count,
                  std::int32_t* pixels) {
  const double scale = width * kPixelsPerMicrometre;
  count = std::min(count, static_cast<int>(tables.cosine.size()));
  // A radius past the label's range takes SamplePosition's saturating way;
  // within it a plain conversion truncates alike, in a loop that vectorises.
  if (!(std::fabs(radiusUm * scale) < 1e9)) {
    for (int j = 0; j < count; ++j) {
      const SamplePoint p = SamplePosition(width, radiusUm, tables, j);
      pixels[j] = p.x < 0 || p.y < 0 || p.x >= width || p.y >= height ? -1 : p.y * width + p.x;
    }
    return;
  }
  const int half = width / 2;
  const double* cosine = tables.cosine.data();
  const double* sine = tables.sine.data();
  for (int j = 0; j < count; ++j) {
    const int x = half - static_cast<int>(radiusUm * cosine[j] * scale);
    const int y = half - static_cast<int>(radiusUm * sine[j] * scale);
    const bool inside = x >= 0 && y >= 0 && x < width && y < height;
    pixels[j] = inside ? y * width + x : -1;
  }
}

void SampleCircleFast(const QImage& image, const SamplingGeometry& geometry,
                      const AngleTables& tables, const ToneCurve& curve, int step,
                      std::int32_t* levels) {
  const int width = image.width();
  const int height = image.height();
  const double radius = CircleRadiusUm(geometry, step);
  const double scale = width * kPixelsPerMicrometre;
  const int half = width / 2;
  const std::int32_t white = curve.Level(ColourLuma(kOutsideColour));
  const uchar* bits = image.constBits();
  const qsizetype stride = image.bytesPerLine();
  for (int j = 0; j < geometry.samples; ++j) {
    const int x = half - TruncToInt32(radius * tables.cosine[j] * scale);
    const int y = half - TruncToInt32(radius * tables.sine[j] * scale);
    if (x < 0 || y < 0 || x >= width || y >= height) {
      levels[j] = white;
      continue;
    }
    const uchar* px = bits + static_cast<std::ptrdiff_t>(y) * stride +
                      3 * static_cast<std::ptrdiff_t>(x);  // R, G, B
    const std::uint32_t colour = static_cast<std::uint32_t>(px[0]) |
                                 (static_cast<std::uint32_t>(px[1]) << 8) |
                                 (static_cast<std::uint32_t>(px[2]) << 16);
    levels[j] = curve.Level(ColourLuma(colour));
  }
}

void SampleCircleLiteral(const QImage& image, const SamplingGeometry& geometry,
                         const AngleTables& tables, double gamma, int step, std::int32_t* levels) {
  const double radius = CircleRadiusUm(geometry, step);
  for (int j = 0; j < geometry.samples; ++j) {
    const SamplePoint p = SamplePosition(image.width(), radius, tables, j);
    levels[j] = ColourToLevel(ColourAt(image, p.x, p.y), gamma);
  }
}

void EncodeBlock(std::int32_t* levels, int blockInPass, std::uint8_t* block) {
  const Tables& t = GetTables();
  std::int32_t* level = levels + static_cast<std::ptrdiff_t>(blockInPass) * kSamplesPerBlock;
  std::uint8_t* out = block;
  for (int k = 0; k < kSamplesPerBlock; ++k, out += kPatternSize) {
    const std::int32_t e = level[k] < kMaxDotLevel ? level[k] : kMaxDotLevel;
    level[k] -= e;
    // A level is never negative (the tone curve starts at 0), so e >= 0.
    std::memcpy(out, t.patterns[e < 0 ? 0 : e].data(), kPatternSize);
  }
  std::memcpy(block + kBlockDataSize, t.filler.data(), kFillerSize);
}

void InterleaveBlock(const std::uint8_t* window, std::uint8_t* output) {
  const Tables& t = GetTables();
  for (std::size_t p = 0; p < kBlockDataSize; ++p) output[p] = window[t.source[p]];
  std::memcpy(output + kBlockDataSize, window + kBlockDataSize, kFillerSize);
}

}  // namespace twr
