// Text over a picture: see-through boxes show the picture under their text
// and halos ring the glyphs in the opposite grey, in the label and the
// preview, for the boxes and the ring text; a render with both off is the
// layout's own.
#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>

#include <string>

#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTestSupport.h"
#include "label/LabelTexts.h"

namespace twr {
namespace {

QByteArray PngOf(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A 400-pixel label on a photo of mid greys with dark text in a grey 200
// title box and round the ring; no pixel of the photo or the box is white.
LabelDocument PhotoLabel(int shade) {
  QImage photo(100, 100, QImage::Format_RGB888);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) photo.setPixelColor(x, y, QColor(shade, shade + x / 4, 90));
  LabelDocument d;
  d.title = "Holidays";
  d.layout.BaseLength = 400;
  d.layout.BgColor = GreyFromSetting(200);
  d.layout.TxColor = GreyFromSetting(0);
  d.layout.Title = {240, 60, 80, 100, 24, 1};
  d.layout.RingType = 0;
  d.layout.RingLength = 8;
  d.layout.InnerRadius = 30;
  d.layout.OuterRadius = 50;
  d.layout.RingBand = 8;
  d.fontFace = test::kTestFace;
  d.background.kind = DesignBackground::Kind::Picture;
  d.background.name = "photo.png";
  d.background.type = "png";
  d.background.bytes = PngOf(photo);
  d.background.image = photo;
  d.layout.BgImage = "photo.png";
  return d;
}

QImage Render(const LabelDocument& d, CELLayout& layout) {
  ApplyDesignLayout(d, layout);
  layout.Title = d.title;
  layout.Date.clear();
  EXPECT_TRUE(layout.RenderLabel(kGivenLayout, false));
  EXPECT_TRUE(layout.RenderPreview(kGivenLayout, 200, 200, false));
  return layout.LabelImageData().copy();
}

bool White(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Pixels of the rectangle that are pure white, and how many of them lie
// further than `reach` from every dark (text) pixel.
struct WhiteCount {
  int white = 0;
  int astray = 0;
};
WhiteCount Whites(const QImage& image, const QRect& area, int reach) {
  WhiteCount count;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!White(image, x, y)) continue;
      ++count.white;
      bool near = false;
      for (int dy = -reach; dy <= reach && !near; ++dy)
        for (int dx = -reach; dx <= reach && !near; ++dx)
          near = image.rect().contains(x + dx, y + dy) && qGray(image.pixel(x + dx, y + dy)) < 60;
      count.astray += near ? 0 : 1;
    }
  return count;
}

TEST(TextLegibility, SeeThroughShowsThePictureAndHaloRingsTheGlyphs) {
  CELLayout layout;
  const QRect box(80, 100, 240, 60);
  LabelDocument bare = PhotoLabel(100);
  bare.title.clear();
  bare.layout.Title = {};
  const QImage photoOnly = Render(bare, layout);

  const LabelDocument plain = PhotoLabel(100);
  const QImage opaque = Render(plain, layout);
  // Plain: the box's corner is its fill, nothing is white.
  EXPECT_EQ(opaque.pixelColor(box.left() + 1, box.top() + 1), QColor(200, 200, 200));
  EXPECT_EQ(Whites(opaque, opaque.rect(), 0).white, 0);

  struct Case {
    bool seeThrough, halo;
  };
  for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}}) {
    SCOPED_TRACE(std::string(c.seeThrough ? "see-through " : "") + (c.halo ? "halo" : ""));
    LabelDocument d = plain;
    d.legibility = TextLegibility::All(c.seeThrough, c.halo);
    const QImage drawn = Render(d, layout);
    // The box's corner, far from its text: the photo or the fill.
    const QPoint corner(box.left() + 1, box.top() + 1);
    EXPECT_EQ(drawn.pixelColor(corner),
              c.seeThrough ? photoOnly.pixelColor(corner) : QColor(200, 200, 200));
    // White only with a halo, and then only close to the glyphs (a cell of
    // about 60 pixels rings them with 5).
    const WhiteCount inBox = Whites(drawn, box, 7);
    const WhiteCount whole = Whites(drawn, drawn.rect(), 7);
    EXPECT_EQ(inBox.white > 100, c.halo) << inBox.white;
    EXPECT_EQ(whole.white - inBox.white > 100, c.halo) << whole.white;  // round the ring text
    EXPECT_EQ(whole.astray, 0);
    // The text itself is still there, as dark as without a halo.
    int dark = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
      for (int x = box.left(); x <= box.right(); ++x) dark += qGray(drawn.pixel(x, y)) < 30;
    EXPECT_GT(dark, 300);
  }

  // A see-through box follows the picture under it when only the picture
  // changes (nothing of the last render is pasted back).
  LabelDocument d = PhotoLabel(100);
  d.legibility = TextLegibility::All(true, true);
  Render(d, layout);
  d = PhotoLabel(40);
  d.legibility = TextLegibility::All(true, true);
  const QImage darker = Render(d, layout);
  bare = PhotoLabel(40);
  bare.title.clear();
  bare.layout.Title = {};
  EXPECT_EQ(darker.pixelColor(box.left() + 1, box.top() + 1),
            Render(bare, layout).pixelColor(box.left() + 1, box.top() + 1));

  // Both off again: the layout's own label, byte for byte.
  EXPECT_EQ(Render(plain, layout), opaque);
}

TEST(TextLegibility, ComesBackFromTheDesignFileAndAnOldFileReadsPlain) {
  LabelDocument d = PhotoLabel(100);
  std::string problem;
  LabelDocument loaded;
  // Written only when something is on: a label without it keeps its text.
  EXPECT_EQ(DesignText(d).find("legibility"), std::string::npos);
  ASSERT_TRUE(ParseDesign(DesignText(d), loaded, problem)) << problem;
  EXPECT_TRUE(loaded.legibility.Plain());
  d.legibility.seeThrough = {true, false, true};
  d.legibility.halo = {false, true, false};
  d.legibility.ringHalo = true;
  ASSERT_TRUE(ParseDesign(DesignText(d), loaded, problem)) << problem;
  EXPECT_EQ(loaded.legibility, d.legibility);
  EXPECT_EQ(loaded, d);
  // A member that is not a flag is refused with where it is.
  std::string text = DesignText(d);
  const std::string flag = "\"halo\": true";
  ASSERT_NE(text.find(flag), std::string::npos) << text;
  text.replace(text.find(flag), flag.size(), "\"halo\": \"yes\"");
  EXPECT_FALSE(ParseDesign(text, loaded, problem));
  EXPECT_NE(problem.find("legibility.date"), std::string::npos) << problem;
}

}  // namespace
}  // namespace twr
