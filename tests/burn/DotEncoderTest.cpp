// Sampling positions, tone curve, dot patterns, blocks and interleaving.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <set>
#include <vector>

#include "burn/DotEncoder.h"

namespace twr {
namespace {

TEST(SamplingTest, PositionsOnTheLabel) {
  const AngleTables tables = BuildAngleTables(8820);
  SamplePoint p = SamplePosition(1655, 25000.0, tables, 0);
  EXPECT_EQ(p.x, 471);
  EXPECT_EQ(p.y, 827);
  p = SamplePosition(1655, 25000.0, tables, 2205);  // a quarter turn: above the centre
  EXPECT_EQ(p.x, 827);
  EXPECT_EQ(p.y, 471);
  p = SamplePosition(1160, 58000.0, tables, 0);  // 0.01 px per um: the left edge
  EXPECT_EQ(p.x, 0);
}

TEST(SamplingTest, OutsideTheImageReadsWhite) {
  QImage image(100, 100, QImage::Format_RGB888);
  image.fill(Qt::black);
  const AngleTables tables = BuildAngleTables(196 * 2);
  SamplingGeometry geometry{90.0, 0.0, 196 * 2};  // beyond the corners of the image
  std::vector<std::int32_t> fast(392), literal(392);
  const double gamma = 1.46;
  SampleCircleFast(image, geometry, tables, ToneCurve(gamma), 0, fast.data());
  SampleCircleLiteral(image, geometry, tables, gamma, 0, literal.data());
  EXPECT_EQ(fast, literal);
  EXPECT_TRUE(std::all_of(fast.begin(), fast.end(), [](int v) { return v == 255; }));
}

TEST(ToneTest, ColourToLevel) {
  EXPECT_EQ(ColourLuma(0xFFFFFF), 255);
  EXPECT_EQ(ColourLuma(0xFFFFFFFF), 255);
  EXPECT_EQ(ColourLuma(0x0000FF), 76);  // red only: trunc(0.299 * 255)
  for (double gamma : {0.5, 1.0, 1.46, 2.0}) {
    EXPECT_EQ(ColourToLevel(0x000000, gamma), 0);
    EXPECT_EQ(ColourToLevel(0xFFFFFF, gamma), 255);
  }
  EXPECT_EQ(ColourToLevel(0x808080, 1.0), 128);
  // Larger gamma gives lower levels.
  EXPECT_LT(ColourToLevel(0x808080, 2.0), ColourToLevel(0x808080, 1.0));
  const ToneCurve curve(1.46);
  for (std::uint32_t grey = 0; grey < 256; ++grey) {
    const std::uint32_t colour = grey | grey << 8 | grey << 16;
    ASSERT_EQ(curve.Level(ColourLuma(colour)), ColourToLevel(colour, 1.46)) << grey;
  }
}

TEST(PatternTest, RowsAndFiller) {
  for (int e = 0; e <= 12; ++e) {
    const std::uint8_t* row = DotPattern(e);
    EXPECT_EQ(std::count(row, row + 12, kDotOn), e);
    EXPECT_EQ(std::count(row, row + 12, kDotOff), 12 - e);
  }
  EXPECT_EQ(std::memcmp(DotPattern(1), "JJJJJJTJJJJJ", 12), 0);
  EXPECT_EQ(std::memcmp(DotPattern(9), "JTTTTTTTTTJJ", 12), 0);
  EXPECT_EQ(FillerByte(0), 0x54);
  EXPECT_EQ(FillerByte(1), 0x4A);
  EXPECT_EQ(FillerByte(95), 0x4A);
}

TEST(PatternTest, BlockByHandAndLevelsCarriedOverPasses) {
  std::vector<std::int32_t> levels(2 * 196, 0);
  levels[0] = 13;  // row 12, then row 1
  levels[1] = 5;   // row 5, then row 0
  levels[195] = 255;
  levels[196] = 7;  // first sample of block 1
  Block block{};
  EncodeBlock(levels.data(), 0, block.data());
  EXPECT_EQ(std::memcmp(block.data(), "TTTTTTTTTTTT", 12), 0);
  EXPECT_EQ(std::memcmp(block.data() + 12, "JJJJTTTTTJJJ", 12), 0);
  EXPECT_EQ(std::memcmp(block.data() + 24, "JJJJJJJJJJJJ", 12), 0);
  EXPECT_EQ(std::memcmp(block.data() + 195 * 12, "TTTTTTTTTTTT", 12), 0);
  for (std::size_t i = 0; i < kFillerSize; ++i) ASSERT_EQ(block[kBlockDataSize + i], FillerByte(i));
  EXPECT_EQ(levels[0], 1);
  EXPECT_EQ(levels[1], 0);
  EXPECT_EQ(levels[195], 243);
  EXPECT_EQ(levels[196], 7);                    // block 1 untouched
  EncodeBlock(levels.data(), 0, block.data());  // the second pass
  EXPECT_EQ(std::memcmp(block.data(), "JJJJJJTJJJJJ", 12), 0);
  EXPECT_EQ(std::memcmp(block.data() + 12, "JJJJJJJJJJJJ", 12), 0);
  EncodeBlock(levels.data(), 1, block.data());
  EXPECT_EQ(std::memcmp(block.data(), "JJJTTTTTTTJJ", 12), 0);
}

// Blocks whose data byte m carries m's low bits, so the interleaver's choice
// of source byte can be read back.
std::vector<std::uint8_t> NumberedWindow(std::vector<std::uint32_t>& numbers) {
  std::vector<std::uint8_t> window(kWindowSize);
  numbers.assign(kWindowSize, 0xFFFFFFFF);
  for (std::size_t b = 0; b < 3; ++b) {
    for (std::size_t p = 0; p < kBlockDataSize; ++p) {
      const std::uint32_t m = static_cast<std::uint32_t>(b * kBlockDataSize + p);
      numbers[b * kBurnBlockSize + p] = m;
      window[b * kBurnBlockSize + p] = static_cast<std::uint8_t>(m * 131 + (m >> 8));
    }
    for (std::size_t i = 0; i < kFillerSize; ++i)
      window[b * kBurnBlockSize + kBlockDataSize + i] = static_cast<std::uint8_t>(0xE0 + b);
  }
  return window;
}

TEST(InterleaveTest, SourcesOfOutputBlockZero) {
  std::vector<std::uint32_t> numbers;
  const std::vector<std::uint8_t> window = NumberedWindow(numbers);
  Block out{};
  InterleaveBlock(window.data(), out.data());
  auto streamByte = [&](std::uint32_t m) {
    const std::size_t at = (m / kBlockDataSize) * kBurnBlockSize + m % kBlockDataSize;
    return window[at];
  };
  EXPECT_EQ(out[0], streamByte(145));
  EXPECT_EQ(out[1], streamByte(72));
  std::set<std::uint32_t> used;
  for (std::size_t p = 0; p < kBlockDataSize; ++p) {
    const std::uint32_t m = static_cast<std::uint32_t>(p) + InterleaveDelay(p);
    ASSERT_EQ(out[p], streamByte(m)) << p;
    used.insert(m);
  }
  EXPECT_EQ(used.size(), kBlockDataSize);  // no stream byte taken twice
  for (std::size_t i = 0; i < kFillerSize; ++i) EXPECT_EQ(out[kBlockDataSize + i], 0xE0);
}

TEST(InterleaveTest, EveryStreamByteMovesExactlyOnce) {
  // Over a long stream, the output blocks n = 0.. cover each stream byte
  // from 2352 * 2 on exactly once.
  std::vector<int> hits(kBlockDataSize * 12, 0);
  for (std::size_t n = 0; n < 10; ++n)
    for (std::size_t p = 0; p < kBlockDataSize; ++p)
      ++hits[n * kBlockDataSize + p + InterleaveDelay(p)];
  for (std::size_t m = 2 * kBlockDataSize; m < 10 * kBlockDataSize; ++m) ASSERT_EQ(hits[m], 1) << m;
}

// A label-like image: grey background, radial gradient, dark ring, text.
QImage LabelLikeImage(int width) {
  QImage image(width, width, QImage::Format_RGB888);
  image.fill(QColor(0xC8, 0xC8, 0xC8));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient gradient(width / 2.0, width / 2.0, width / 2.0);
  gradient.setColorAt(0.0, QColor(30, 60, 200));
  gradient.setColorAt(1.0, QColor(250, 240, 40));
  painter.setBrush(gradient);
  painter.setPen(QPen(Qt::black, width / 60.0));
  painter.drawEllipse(QRectF(width * 0.1, width * 0.1, width * 0.8, width * 0.8));
  QFont font;
  font.setPixelSize(width / 12);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRectF(0, width * 0.3, width, width * 0.4), Qt::AlignCenter, "Holiday 2024");
  return image;
}

TEST(FastEncoderTest, SameLevelsAsTheLiteralEncoder) {
  const QImage image = LabelLikeImage(1655);
  const int samples = 8820;
  const AngleTables tables = BuildAngleTables(samples);
  const SamplingGeometry geometry{22.0, 11.875, samples};
  std::vector<std::int32_t> fast(samples), literal(samples);
  for (double gamma : {1.46, 2.0, 0.3}) {
    const ToneCurve curve(gamma);
    for (int step = 0; step < 3200; step += 97) {  // 22 mm to past the image edge
      SampleCircleFast(image, geometry, tables, curve, step, fast.data());
      SampleCircleLiteral(image, geometry, tables, gamma, step, literal.data());
      ASSERT_EQ(fast, literal) << "gamma " << gamma << " step " << step;
    }
  }
}

}  // namespace
}  // namespace twr
