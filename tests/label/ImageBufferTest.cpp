// Image buffers: creation limits, pixel access, fills and copies with
// clipping, and background decoding of the usual formats.
#include <gtest/gtest.h>

#include <QImage>
#include <QImageWriter>

#include <fstream>

#include "label/ImageBuffer.h"
#include "label/LabelTestSupport.h"

namespace twr {
namespace {

TEST(ImageBuffer, CreateRefusesEmptyAndAbsurdSizes) {
  ImageBuffer b;
  EXPECT_FALSE(b.Create(0, 10));
  EXPECT_FALSE(b.Create(10, -1));
  EXPECT_FALSE(b.Create(kMaxImageSide + 1, 1));
  EXPECT_FALSE(b.Create(60000, 60000));  // beyond the byte limit
  EXPECT_FALSE(b.Exists());
  ASSERT_TRUE(b.Create(7, 3));
  EXPECT_EQ(b.Image().format(), QImage::Format_RGB888);
  EXPECT_EQ(b.ReadPixel(6, 2), 0u);  // zero-filled
}

TEST(ImageBuffer, PixelsAreBgrValuesAndOutsideIsInvalid) {
  ImageBuffer b;
  ASSERT_TRUE(b.Create(4, 4));
  b.WritePixel(1, 2, 0x00123456);
  EXPECT_EQ(b.ReadPixel(1, 2), 0x00123456u);
  EXPECT_EQ(b.Image().pixelColor(1, 2), QColor(0x56, 0x34, 0x12));  // red in the low byte
  b.WritePixel(-1, 0, 0xFFFFFF);
  b.WritePixel(4, 0, 0xFFFFFF);
  EXPECT_EQ(b.ReadPixel(-1, 0), kInvalidColor);
  EXPECT_EQ(b.ReadPixel(0, 4), kInvalidColor);
  EXPECT_NE(kInvalidColor, 0xFFFFFFu);  // never a grey
}

TEST(ImageBuffer, FillAndCopyAreClipped) {
  ImageBuffer target, box;
  ASSERT_TRUE(target.Create(10, 10));
  target.FillRect(-5, 8, 100, 100, 0x808080);
  EXPECT_EQ(target.ReadPixel(0, 8), 0x808080u);
  EXPECT_EQ(target.ReadPixel(9, 9), 0x808080u);
  EXPECT_EQ(target.ReadPixel(9, 7), 0u);

  ASSERT_TRUE(box.Create(4, 4));
  box.FillRect(0, 0, 4, 4, 0x0000FF);
  box.WritePixel(3, 3, 0x00FF00);
  target.CopyBlock(-1, -1, box);  // only 3 x 3 lands
  EXPECT_EQ(target.ReadPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(target.ReadPixel(2, 2), 0x00FF00u);
  EXPECT_EQ(target.ReadPixel(3, 3), 0u);
  target.CopyBlock(8, 8, box);
  EXPECT_EQ(target.ReadPixel(9, 9), 0x0000FFu);
  target.CopyBlock(20, 20, box);  // entirely outside: nothing
}

TEST(ImageBuffer, StretchCoversTheWholeTarget) {
  QImage source(2, 2, QImage::Format_RGB888);
  source.fill(QColor(10, 20, 30));
  ImageBuffer b;
  ASSERT_TRUE(b.Create(50, 30));
  b.StretchFrom(source);
  EXPECT_EQ(b.ReadPixel(0, 0), 0x1E140Au);
  EXPECT_EQ(b.ReadPixel(49, 29), 0x1E140Au);
}

class BackgroundFiles : public ::testing::Test {
 protected:
  std::string Save(const QImage& image, const char* name, const char* format) {
    const std::string path = dir_.Folder() + "/" + name;
    EXPECT_TRUE(image.save(QString::fromStdString(path), format)) << name;
    return path;
  }
  test::TempSettings dir_;
};

TEST_F(BackgroundFiles, DecodesCommonFormatsAtTheirOwnSize) {
  QImage rgb(5, 3, QImage::Format_RGB32);
  rgb.fill(QColor(200, 100, 50));
  for (const char* format : {"PNG", "BMP", "JPEG"}) {
    ImageBuffer b;
    ASSERT_TRUE(b.Load(Save(rgb, (std::string("bg.") + format).c_str(), format))) << format;
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(b.Height(), 3);
    const QColor c = b.Image().pixelColor(2, 1);
    EXPECT_NEAR(c.red(), 200, 4) << format;
    EXPECT_NEAR(c.blue(), 50, 4) << format;
  }
  QImage indexed(4, 4, QImage::Format_Indexed8);
  indexed.setColorTable({qRgb(1, 2, 3), qRgb(250, 0, 0)});
  indexed.fill(1);
  ImageBuffer b;
  ASSERT_TRUE(b.Load(Save(indexed, "palette.png", "PNG")));
  EXPECT_EQ(b.ReadPixel(3, 3), 0x0000FAu);
}

TEST_F(BackgroundFiles, TransparencyIsIgnoredNotComposited) {
  QImage alpha(2, 1, QImage::Format_ARGB32);
  alpha.setPixel(0, 0, qRgba(255, 0, 0, 0));  // fully transparent red
  alpha.setPixel(1, 0, qRgba(0, 255, 0, 128));
  ImageBuffer b;
  ASSERT_TRUE(b.Load(Save(alpha, "alpha.png", "PNG")));
  EXPECT_EQ(b.Image().format(), QImage::Format_RGB888);
  EXPECT_EQ(b.ReadPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(b.ReadPixel(1, 0), 0x00FF00u);
}

TEST_F(BackgroundFiles, MissingOrUndecodableFilesFail) {
  ImageBuffer b;
  ASSERT_TRUE(b.Create(2, 2));
  EXPECT_FALSE(b.Load(dir_.Folder() + "/absent.png"));
  EXPECT_FALSE(b.Exists());
  const std::string junk = dir_.Folder() + "/junk.png";
  std::ofstream(junk) << "\x89PNG\r\n\x1a\n but not really";
  EXPECT_FALSE(b.Load(junk));
  EXPECT_FALSE(b.Load(dir_.Folder()));  // a folder
}

}  // namespace
}  // namespace twr
