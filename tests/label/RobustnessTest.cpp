// Settings and files a user may get wrong: boxes far larger than the label
// or outside it, broken or oversized background files, unknown font faces.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <fstream>

#include "label/CELLayout.h"
#include "label/FitLoop.h"
#include "label/LabelTestSupport.h"

namespace twr {
namespace {

constexpr uint32_t kGrey200 = 0xC8C8C8;

bool HasInk(const ImageBuffer& image, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
      if (RedOf(image.ReadPixel(x, y)) < 128) return true;
  return false;
}

class OddLayouts : public test::OneLayoutTest {};

TEST_F(OddLayouts, ABoxPartlyOutsideTheLabelKeepsItsTextWhereItWas) {
  // The same centred box once inside the label and once shifted 200 pixels
  // up and left: the visible part must match pixel for pixel.
  const std::string box = "TitleWidth=300\nTitleHeight=60\nTitleAlign=1\n";
  CELLayout& inside = Make(box + "TitlePosX=50\nTitlePosY=210\n");
  inside.Title = "Wide title";
  ASSERT_TRUE(inside.RenderLabel(0, false));
  const QImage whole = inside.LabelImage().Image().copy();
  CELLayout& outside = Make(box + "TitlePosX=-150\nTitlePosY=10\n");
  outside.Title = "Wide title";
  ASSERT_TRUE(outside.RenderLabel(0, false));
  EXPECT_EQ(outside.LabelImage().Image().copy(0, 10, 150, 60), whole.copy(200, 210, 150, 60));
  EXPECT_TRUE(HasInk(outside.LabelImage(), 0, 10, 150, 70));
}

TEST_F(OddLayouts, HugeAndNegativeBoxesNeitherCrashNorCoverTooMuch) {
  // A box a billion pixels wide centred on the label's left edge: its fill
  // covers the whole row band and the centred text sits at x = 0.
  CELLayout& l = Make(
      "TitleWidth=1000000000\nTitleHeight=40\nTitlePosX=-500000000\nTitlePosY=100\n"
      "TitleAlign=1\nDateWidth=-50\nDateHeight=-50\nDatePosX=10\nDatePosY=300\n"
      "NoteWidth=2000000000\nNoteHeight=100\nNotePosX=2000000000\nNotePosY=2000000000\n");
  l.Title = "Hello";
  l.NoteLines[0] = "Note";
  ASSERT_TRUE(l.RenderLabel(0, false));
  const ImageBuffer& img = l.LabelImage();
  EXPECT_EQ(img.ReadPixel(399, 100), kGrey200);
  EXPECT_EQ(img.ReadPixel(399, 139), kGrey200);
  EXPECT_EQ(img.ReadPixel(399, 140), 0u);
  EXPECT_TRUE(HasInk(img, 0, 100, 40, 140));
  EXPECT_FALSE(HasInk(img, 100, 100, 400, 140));
  EXPECT_EQ(img.ReadPixel(10, 300), 0u);  // the negative date box draws nothing

  // The preview multiplies every value; a small BaseLength makes it large.
  settings_.Write(
      test::OneLayout("BaseLength=2\nTitleWidth=2000000000\nTitleHeight=20\nTitlePosX=-2000000000\n"
                      "NoteWidth=-2000000000\nNoteHeight=2000000000\n"));
  CELLayout tiny(settings_.Path());
  tiny.Title = "T";
  ASSERT_TRUE(tiny.RenderLabel(0, false));
  EXPECT_TRUE(tiny.RenderPreview(0, 600, 600, false));
}

TEST(FitLoopLimits, HeightsAboveTheTallestFontAreSkippedAtOnce) {
  LabelFontCache fonts(test::kTestFace);
  ImageBuffer image;
  ASSERT_TRUE(image.Create(10, 10));
  const int tallest = fonts.Get(kMaxFontCell).Measure("W");
  EXPECT_EQ(&fonts.Get(kMaxFontCell + 1), &fonts.Get(1000000000));  // one shared font
  // Too wide only at the tallest font: the loop lands just below it instead
  // of walking down from a billion.
  const FitResult fit = FitText(
      image, fonts, "W", 1000000000, [&](int w) { return w >= tallest; },
      [](int h) { return h >= 6; });
  EXPECT_LT(fit.height, kMaxFontCell - 1);
  EXPECT_GT(fit.height, kMaxFontCell - 20);
  EXPECT_LT(fit.width, tallest);
}

// Tall fonts are searched by halving rather than one pixel at a time: the
// loop must stop where the one-pixel loop, written out here, stops, for
// fits that end above, at and below the stepwise heights and on the floor.
TEST(FitLoopLimits, HalvingStopsWhereThePixelLoopStops) {
  LabelFontCache fonts(test::kTestFace);
  ImageBuffer image;
  ASSERT_TRUE(image.Create(10, 10));
  const std::string text = "Summer in Lisbon   2024-07-14";
  struct Case {
    int start;
    int limit;  // too wide at this width or more
    int floor;
  };
  for (const Case c : {Case{700, 3000, 6}, Case{700, 2200, 6}, Case{400, 1000, 6},
                       Case{2000, 600, 6}, Case{900, 500, 350}, Case{300, 5000, 6}}) {
    auto tooWide = [&](int w) { return w >= c.limit; };
    auto floorOk = [&](int h) { return h >= c.floor; };
    int h = c.start;
    image.SelectFont(fonts.Get(h));
    int width = image.MeasureText(text);
    while (tooWide(width) && floorOk(h)) {
      image.SelectFont(fonts.Get(h));
      --h;
      width = image.MeasureText(text);
    }
    const FitResult fit = FitText(image, fonts, text, c.start, tooWide, floorOk);
    EXPECT_EQ(fit.height, h) << c.start << " " << c.limit;
    EXPECT_EQ(fit.width, width) << c.start << " " << c.limit;
    EXPECT_EQ(image.MeasureText(text), width);  // the fitted font stays selected
  }
}

TEST_F(OddLayouts, AnUnknownFaceFallsBackToAnInstalledOne) {
  settings_.Write(
      "[Config]\nLayoutNum=1\nFont=NoSuchFace\n[Layout00]\nBaseLength=400\nBgColor=200\n"
      "TitleWidth=300\nTitleHeight=40\nTitlePosX=50\nTitlePosY=100\n");
  CELLayout l(settings_.Path());
  EXPECT_EQ(l.FontFace(), "NoSuchFace");
  l.Title = "Hello";
  ASSERT_TRUE(l.RenderLabel(0, false));
  EXPECT_TRUE(HasInk(l.LabelImage(), 50, 100, 350, 140));
}

// CRC-32 of PNG chunks, to write a header that a decoder accepts.
uint32_t Crc32(const QByteArray& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (char c : bytes) {
    crc ^= static_cast<uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

TEST(BackgroundFilesOdd, EmptyTruncatedAndOversizedFilesFailCleanly) {
  test::TempSettings dir;
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImage small(64, 64, QImage::Format_RGB32);
  small.fill(Qt::red);
  ASSERT_TRUE(small.save(&buffer, "PNG"));

  auto write = [&](const char* name, const QByteArray& bytes) {
    const std::string path = dir.Folder() + "/" + name;
    std::ofstream(path, std::ios::binary).write(bytes.constData(), bytes.size());
    return path;
  };
  ImageBuffer b;
  EXPECT_FALSE(b.Load(write("empty.png", {})));
  EXPECT_FALSE(b.Exists());
  // Cut inside the pixel data: either refused or decoded at its own size.
  if (b.Load(write("cut.png", png.left(png.size() / 2)))) {
    EXPECT_EQ(b.Width(), 64);
  }

  // A valid header declaring 60000 x 60000 pixels, then nothing.
  QByteArray huge = png.left(33);
  const QByteArray side = QByteArray::fromHex("0000EA60");
  huge.replace(16, 4, side);
  huge.replace(20, 4, side);
  const uint32_t crc = Crc32(huge.mid(12, 17));
  for (int k = 0; k < 4; ++k) huge[29 + k] = static_cast<char>(crc >> (24 - 8 * k));
  EXPECT_FALSE(b.Load(write("huge.png", huge)));
  EXPECT_FALSE(b.Exists());

  // As a layout's background each of them gives the BgColor fill.
  for (const char* name : {"empty.png", "huge.png"}) {
    dir.Write(test::OneLayout("BaseLength=100\nBgColor=200\nBgImage=" + dir.Folder() + "/" + name +
                              "\n"));
    CELLayout l(dir.Path());
    ASSERT_TRUE(l.RenderLabel(0, false)) << name;
    EXPECT_EQ(l.LabelImage().ReadPixel(50, 50), kGrey200) << name;
  }
}

}  // namespace
}  // namespace twr
