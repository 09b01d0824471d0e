// The halo around a text: its coverage spread over a disc and laid under it.
#include "label/TextLegibility.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "label/ImageBuffer.h"

namespace twr {

namespace {

constexpr int kBytesPerPixel = 3;
constexpr int kFull = 255;
constexpr int kHaloCellFraction = 12;

uint8_t Mix(int from, int to, int amount) {
  return static_cast<uint8_t>((from * (kFull - amount) + to * amount + kFull / 2) / kFull);
}

int Luma(uint32_t c) {
  // Rec. 601 weights in thousandths.
  return (299 * RedOf(c) + 587 * GreenOf(c) + 114 * BlueOf(c) + 500) / 1000;
}

// The coverage spread over a disc of `radius`: each pixel the largest
// coverage within that distance. Rows are spread sideways by each half
// width the disc has (k pixels either way from k - 1), and each spread row
// raises the rows it reaches at that half width.
std::vector<uint8_t> Spread(const QImage& coverage, int radius) {
  const int w = coverage.width(), h = coverage.height();
  std::vector<uint8_t> out(static_cast<std::size_t>(w) * h, 0);
  std::vector<int> halfWidth(2 * static_cast<std::size_t>(radius) + 1);
  for (int dy = -radius; dy <= radius; ++dy)
    halfWidth[dy + radius] = static_cast<int>(
        std::sqrt(static_cast<double>(radius) * radius - static_cast<double>(dy) * dy));
  std::vector<std::vector<uint8_t>> wide(radius + 1, std::vector<uint8_t>(w));
  for (int sy = 0; sy < h; ++sy) {
    const uchar* row = coverage.constScanLine(sy);
    if (std::all_of(row, row + w, [](uchar c) { return c == 0; })) continue;
    std::copy(row, row + w, wide[0].begin());
    for (int k = 1; k <= radius; ++k)
      for (int x = 0; x < w; ++x) {
        uint8_t m = wide[k - 1][x];
        if (x > 0) m = std::max(m, wide[k - 1][x - 1]);
        if (x + 1 < w) m = std::max(m, wide[k - 1][x + 1]);
        wide[k][x] = m;
      }
    for (int dy = -radius; dy <= radius; ++dy) {
      const int y = sy + dy;
      if (y < 0 || y >= h) continue;
      const std::vector<uint8_t>& source = wide[halfWidth[dy + radius]];
      uint8_t* target = out.data() + static_cast<std::ptrdiff_t>(y) * w;
      for (int x = 0; x < w; ++x) target[x] = std::max(target[x], source[x]);
    }
  }
  return out;
}

}  // namespace

TextLegibility TextLegibility::All(bool seeThrough, bool halo) {
  TextLegibility l;
  l.seeThrough.fill(seeThrough);
  l.halo.fill(halo);
  l.ringHalo = halo;
  return l;
}

uint32_t OppositeGrey(uint32_t text) {
  return Luma(text) >= kFull / 2 + 1 ? 0x000000u : 0xFFFFFFu;
}

int HaloRadius(int cellHeight) {
  return std::max(1, cellHeight / kHaloCellFraction);
}

void PaintHaloText(ImageBuffer& image, const QImage& coverage, uint32_t text, uint32_t halo,
                   int radius) {
  if (!image.Exists() || coverage.format() != QImage::Format_Grayscale8 ||
      coverage.width() != image.Width() || coverage.height() != image.Height())
    return;
  const std::vector<uint8_t> spread = Spread(coverage, std::max(radius, 0));
  const int w = image.Width();
  const int haloRgb[3] = {RedOf(halo), GreenOf(halo), BlueOf(halo)};
  const int textRgb[3] = {RedOf(text), GreenOf(text), BlueOf(text)};
  for (int y = 0; y < image.Height(); ++y) {
    const uint8_t* s = spread.data() + static_cast<std::ptrdiff_t>(y) * w;
    const uchar* c = coverage.constScanLine(y);
    uchar* p = image.Row(y);
    for (int x = 0; x < w; ++x, p += kBytesPerPixel) {
      if (s[x] == 0) continue;
      for (int i = 0; i < kBytesPerPixel; ++i)
        p[i] = Mix(Mix(p[i], haloRgb[i], s[x]), textRgb[i], c[x]);
    }
  }
}

QImage CoverageOf(const ImageBuffer& image, uint32_t background, uint32_t text) {
  const int bg[3] = {RedOf(background), GreenOf(background), BlueOf(background)};
  const int d[3] = {RedOf(text) - bg[0], GreenOf(text) - bg[1], BlueOf(text) - bg[2]};
  const long long length = static_cast<long long>(d[0]) * d[0] +
                           static_cast<long long>(d[1]) * d[1] +
                           static_cast<long long>(d[2]) * d[2];
  if (!image.Exists() || length == 0) return {};
  QImage coverage(image.Width(), image.Height(), QImage::Format_Grayscale8);
  if (coverage.isNull()) return {};
  for (int y = 0; y < image.Height(); ++y) {
    const uchar* p = image.Row(y);
    uchar* out = coverage.scanLine(y);
    for (int x = 0; x < image.Width(); ++x, p += kBytesPerPixel) {
      // How far along the line from the background to the text colour.
      const long long along = static_cast<long long>(p[0] - bg[0]) * d[0] +
                              static_cast<long long>(p[1] - bg[1]) * d[1] +
                              static_cast<long long>(p[2] - bg[2]) * d[2];
      out[x] = static_cast<uchar>(
          std::clamp<long long>((along * kFull + length / 2) / length, 0, kFull));
    }
  }
  return coverage;
}

}  // namespace twr
