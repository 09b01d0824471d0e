// The burning-area circles on the preview: where their outlines lie.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "drive/DiscGeometry.h"
#include "label/BandOverlay.h"

namespace twr {
namespace {

bool IsBlue(const QImage& image, int x, int y) {
  return image.pixelColor(x, y) == QColor(0, 0, 255);
}

TEST(BandOverlay, CirclesSpanTheirSquareWithoutItsLastRowAndColumn) {
  // One pixel a millimetre.
  constexpr int kSide = static_cast<int>(kLabelWidthMm);
  QImage preview(kSide, kSide, QImage::Format_RGB888);
  preview.fill(Qt::white);
  // Outer 58 mm: the square 0..116, pixels 0..115. Inner 48 mm: 10..106.
  DrawBandLimits(preview, 48.0, 58.0);
  EXPECT_TRUE(IsBlue(preview, 0, 58));
  EXPECT_TRUE(IsBlue(preview, 115, 58));  // the right edge of the label still shows
  EXPECT_TRUE(IsBlue(preview, 58, 115));
  EXPECT_TRUE(IsBlue(preview, 10, 58));
  EXPECT_TRUE(IsBlue(preview, 105, 58));
  EXPECT_FALSE(IsBlue(preview, 106, 58));
  EXPECT_EQ(preview.pixelColor(58, 58), QColor(Qt::black));  // filled inside the inner edge
  EXPECT_EQ(preview.pixelColor(107, 58), QColor(Qt::white));
}

}  // namespace
}  // namespace twr
