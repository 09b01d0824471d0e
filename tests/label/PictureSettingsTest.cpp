// A label's own picture: placement on a 4:3 picture (a round sun stays
// round unless stretched), the plain settings handing the picture on
// untouched, every setting through the design file and back, and the
// maths of placing the picture by hand (a drag's pan, the wheel's zoom about
// the pointer, their limits).
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>
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

// Placing the picture by hand: where it lies, a drag's pixels as pan, and a
// zoom about a point that keeps the part of the picture under the point
// where it was, within the limits of pan and zoom.
TEST(PictureSettings, HandPlacementFollowsThePointerWithinTheLimits) {
  const QSizeF photo(400, 300);  // 4:3
  const auto near = [](QRectF a, QRectF b) {
    return std::abs(a.x() - b.x()) < 1e-9 && std::abs(a.y() - b.y()) < 1e-9 &&
           std::abs(a.width() - b.width()) < 1e-9 && std::abs(a.height() - b.height()) < 1e-9;
  };
  PictureSettings fill;
  fill.fit = PictureFit::Fill;
  PictureSettings fit = fill;
  fit.fit = PictureFit::Fit;
  PictureSettings turned = fill;
  turned.quarterTurns = 1;
  PictureSettings stretched;
  stretched.zoom = 2.0;
  EXPECT_TRUE(near(PlacedPictureRect(fill, photo), {-1.0 / 6, 0, 4.0 / 3, 1}));
  EXPECT_TRUE(near(PlacedPictureRect(fit, photo), {0, 0.125, 1, 0.75}));
  EXPECT_TRUE(near(PlacedPictureRect(turned, photo), {0, -1.0 / 6, 1, 4.0 / 3}));
  EXPECT_TRUE(near(PlacedPictureRect(stretched, photo), {-0.5, -0.5, 2, 2}));
  EXPECT_TRUE(PlacedPictureRect(fill, {}).isEmpty());

  // A drag: preview pixels over the label's shown side, held at the limit;
  // nothing for a label not shown or a pointer that makes no sense.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Pan {
    double startX;
    QPointF delta;
    double side;
    double panX, panY;
  };
  const Pan pans[] = {
      {0.0, {60, -30}, 600, 0.1, -0.05},    {0.9, {120, 0}, 600, 1.0, 0.0},
      {0.0, {-9000, 9000}, 600, -1.0, 1.0}, {0.3, {60, 60}, 0, 0.3, 0.0},
      {0.3, {nan, 1}, 600, 0.3, 0.0},       {0.0, {1, 0}, 3000, 0.0003, 0.0},
  };
  for (const Pan& c : pans) {
    PictureSettings start = fill;
    start.panX = c.startX;
    const PictureSettings out = PanPictureBy(start, c.delta, c.side);
    SCOPED_TRACE(c.delta.x());
    EXPECT_DOUBLE_EQ(out.panX, c.panX);
    EXPECT_DOUBLE_EQ(out.panY, c.panY);
    EXPECT_TRUE(CheckPictureSettings(out).empty());
  }

  // The wheel: a notch is kPictureZoomStep, towards the user its inverse.
  EXPECT_DOUBLE_EQ(WheelZoomFactor(120), kPictureZoomStep);
  EXPECT_DOUBLE_EQ(WheelZoomFactor(-240), 1.0 / (kPictureZoomStep * kPictureZoomStep));
  EXPECT_DOUBLE_EQ(WheelZoomFactor(0), 1.0);

  // A zoom about a point: where that point lies within the picture (as a
  // share of the picture's width and height) stays the same, also when the
  // zoom is held at a limit, unless the pan's limit holds the picture.
  struct Zoom {
    double zoom, panX;
    double factor;
    QPointF point;
    double wantZoom;
    bool still;
  };
  const Zoom zooms[] = {
      {1.0, 0.0, 2.0, {0.5, 0.5}, 2.0, true},  {1.0, 0.0, 2.0, {0.25, 0.3}, 2.0, true},
      {2.0, 0.2, 0.8, {0.9, 0.1}, 1.6, true},  {1.5, -0.1, 1.25, {0.0, 1.0}, 1.875, true},
      {8.0, 0.3, 1.25, {0.7, 0.7}, 8.0, true},  // at the limit: nothing moves
      {1.2, 0.0, 0.5, {0.2, 0.2}, 1.0, true},   // held at 1, about the point
      {1.0, 0.0, 8.0, {1.0, 1.0}, 8.0, false},  // the pan would pass its limit
      {2.0, 0.0, nan, {0.5, 0.5}, 2.0, true},   // no sense: unchanged
  };
  for (const Zoom& c : zooms) {
    PictureSettings start = fill;
    start.zoom = c.zoom;
    start.panX = c.panX;
    const PictureSettings out = ZoomPictureAbout(start, c.factor, c.point);
    SCOPED_TRACE(std::to_string(c.zoom) + " x " + std::to_string(c.factor));
    EXPECT_NEAR(out.zoom, c.wantZoom, 1e-4);
    EXPECT_TRUE(CheckPictureSettings(out).empty());
    const QRectF before = PlacedPictureRect(start, photo), after = PlacedPictureRect(out, photo);
    const auto share = [&](const QRectF& r) {
      return QPointF((c.point.x() - r.x()) / r.width(), (c.point.y() - r.y()) / r.height());
    };
    const QPointF moved = share(after) - share(before);
    EXPECT_EQ(std::abs(moved.x()) < 1e-3 && std::abs(moved.y()) < 1e-3, c.still)
        << moved.x() << ", " << moved.y();
  }
}

}  // namespace
}  // namespace twr
