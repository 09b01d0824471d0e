// A label's own picture: placement on a 4:3 picture (a round sun stays
// round unless stretched), the plain settings handing the picture on
// untouched, and every setting through the design file and back.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <string>

#include "label/Design.h"
#include "label/PictureSettings.h"

namespace twr {
namespace {

// A 400 x 300 sky with a dark sun of radius 60 in its middle.
QImage SunPicture() {
  QImage picture(400, 300, QImage::Format_RGB888);
  picture.fill(QColor(220, 230, 240));
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(QPointF(200, 150), 60, 60);
  return picture;
}

// The width and height of the dark pixels' bounding box.
QSize DarkExtent(const QImage& image) {
  int left = image.width(), right = -1, top = image.height(), bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 100) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  return {right - left + 1, bottom - top + 1};
}

TEST(PictureSettings, PlacementKeepsTheSunRoundUnlessStretched) {
  struct Case {
    PictureFit fit;
    int turns;
    double zoom;
    double aspect;     // width / height of the sun on the label
    double sunWidth;   // pixels across on a 300 pixel label
    bool marginAtTop;  // the label's top row is the margin colour
  };
  const Case cases[] = {
      {PictureFit::Stretch, 0, 1.0, 0.75, 90, false},
      {PictureFit::Fit, 0, 1.0, 1.0, 90, true},
      {PictureFit::Fill, 0, 1.0, 1.0, 120, false},
      {PictureFit::Fill, 1, 1.0, 1.0, 120, false},  // 3:4 after the turn: fills by its width
      {PictureFit::Fit, 0, 2.0, 1.0, 180, false},   // zoomed past the bare edges
  };
  const QImage picture = SunPicture();
  for (const Case& c : cases) {
    PictureSettings s;
    s.fit = c.fit;
    s.quarterTurns = c.turns;
    s.zoom = c.zoom;
    QImage placed = PreparePicture(picture, s, 300, {}, Qt::white);
    // Stretched, the renderer stretches the picture as it is.
    if (c.fit == PictureFit::Stretch) placed = placed.scaled(300, 300);
    SCOPED_TRACE(std::string(PictureFitName(c.fit)) + " turns " + std::to_string(c.turns));
    ASSERT_EQ(placed.size(), QSize(300, 300));
    const QSize sun = DarkExtent(placed);
    EXPECT_NEAR(static_cast<double>(sun.width()) / sun.height(), c.aspect, 0.04);
    EXPECT_NEAR(sun.width(), c.sunWidth, 3);
    EXPECT_EQ(placed.pixelColor(150, 0) == QColor(Qt::white), c.marginAtTop);
  }
  // Panned a quarter of the label to the right, the sun's middle follows.
  PictureSettings panned;
  panned.fit = PictureFit::Fill;
  panned.panX = 0.25;
  const QImage moved = PreparePicture(picture, panned, 300, {}, Qt::white);
  EXPECT_LT(qGray(moved.pixel(225, 150)), 100);
  EXPECT_GT(qGray(moved.pixel(150, 150)), 100);
}

TEST(PictureSettings, PlainSettingsHandThePictureOnUntouched) {
  const QImage picture = SunPicture();
  EXPECT_EQ(PreparePicture(picture, {}, 300, {}, Qt::white).cacheKey(), picture.cacheKey());
  // Only the tone: the picture keeps its own size, for the renderer to stretch.
  PictureSettings toned;
  toned.invert = true;
  const QImage inverted = PreparePicture(picture, toned, 300, {}, Qt::white);
  EXPECT_EQ(inverted.size(), picture.size());
  EXPECT_GT(qGray(inverted.pixel(200, 150)), 250);
}

TEST(PictureSettings, EverySettingComesBackFromTheDesignFile) {
  LabelDocument d;
  d.layoutName = "Layout";
  d.layout.BaseLength = 300;
  std::string problem;
  // Plain settings write nothing new: a file as before, read as before.
  const std::string plainText = DesignText(d);
  EXPECT_EQ(plainText.find("\"picture\""), std::string::npos);
  LabelDocument loaded;
  loaded.picture.tone = PictureTone::Auto;
  ASSERT_TRUE(ParseDesign(plainText, loaded, problem)) << problem;
  EXPECT_TRUE(loaded.picture.Plain());

  d.picture = {
      PictureFit::Fill, 3, -0.25, 0.5, 2.5, PictureTone::Auto, -40, 35, 1.8, 12, 230, true};
  ASSERT_TRUE(CheckPictureSettings(d.picture).empty());
  ASSERT_TRUE(ParseDesign(DesignText(d), loaded, problem)) << problem;
  EXPECT_EQ(loaded.picture, d.picture);

  // A setting out of range is refused with the reason.
  LabelDocument wrong = d;
  wrong.picture.zoom = 9;
  EXPECT_FALSE(ParseDesign(DesignText(wrong), loaded, problem));
  EXPECT_NE(problem.find("zoom"), std::string::npos) << problem;
  EXPECT_EQ(loaded.picture, d.picture);  // left as it was
}

}  // namespace
}  // namespace twr
