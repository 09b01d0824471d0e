// The renderer: background, fitted boxes (placement, alignment, clipping,
// byte cuts), preview scaling and the failures that leave no image.
#include <gtest/gtest.h>

#include <QImage>

#include "label/CELLayout.h"
#include "label/FitLoop.h"
#include "label/LabelTestSupport.h"

namespace twr {
namespace {

constexpr uint32_t kGrey200 = 0xC8C8C8;

// Columns of the box [x0, x1) x [y0, y1) holding a pixel darker than `threshold`.
struct Ink {
  int left = -1, right = -1, top = -1, bottom = -1;
  bool Any() const { return left >= 0; }
};
Ink FindInk(const ImageBuffer& image, int x0, int y0, int x1, int y1, int threshold = 128) {
  Ink ink;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      if (RedOf(image.ReadPixel(x, y)) >= threshold) continue;
      if (!ink.Any() || x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y;
    }
  return ink;
}

class Renderer : public test::OneLayoutTest {};

TEST_F(Renderer, WithoutPictureTheLabelIsBlackWithGreyBoxes) {
  CELLayout& l = Make(
      "TitleWidth=100\nTitleHeight=40\nTitlePosX=50\nTitlePosY=60\n"
      "DateWidth=0\nDateHeight=30\nDatePosX=200\nDatePosY=200\n");
  ASSERT_TRUE(l.RenderLabel(0, false));
  const ImageBuffer& img = l.LabelImage();
  EXPECT_EQ(img.Width(), 400);
  EXPECT_EQ(img.ReadPixel(10, 10), 0u);
  EXPECT_EQ(img.ReadPixel(50, 60), kGrey200);
  EXPECT_EQ(img.ReadPixel(149, 99), kGrey200);
  EXPECT_EQ(img.ReadPixel(150, 99), 0u);
  EXPECT_EQ(img.ReadPixel(205, 210), 0u);  // a date box needs both sizes
}

TEST_F(Renderer, PictureIsStretchedAndAMissingPictureGivesBgColor) {
  QImage red(2, 2, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(settings_.Folder() + "/red.png")));
  CELLayout& l = Make("BgImage=" + settings_.Folder() + "/red.png\n");
  ASSERT_TRUE(l.RenderLabel(0, false));
  EXPECT_EQ(l.LabelImage().ReadPixel(0, 0), 0x0000FFu);
  EXPECT_EQ(l.LabelImage().ReadPixel(399, 399), 0x0000FFu);

  CELLayout& missing = Make("BgImage=" + settings_.Folder() + "/none.png\n");
  ASSERT_TRUE(missing.RenderLabel(0, false));
  EXPECT_EQ(missing.LabelImage().ReadPixel(0, 0), kGrey200);
  EXPECT_EQ(missing.LabelImage().ReadPixel(399, 399), kGrey200);
}

TEST_F(Renderer, AlignmentPlacesTheTextInItsBox) {
  for (int align : {0, 1, 2, 5}) {
    CELLayout& l = Make("TitleWidth=300\nTitleHeight=40\nTitlePosX=50\nTitlePosY=100\nTitleAlign=" +
                        std::to_string(align) + "\n");
    l.Title = "Hello";
    ASSERT_TRUE(l.RenderLabel(0, false));
    const Ink ink = FindInk(l.LabelImage(), 50, 100, 350, 140);
    ASSERT_TRUE(ink.Any()) << align;
    const int leftGap = ink.left - 50, rightGap = 349 - ink.right;
    if (align == 1) {
      EXPECT_NEAR(leftGap, rightGap, 6) << "centred";
    } else if (align == 2) {
      EXPECT_LT(rightGap, 6) << "right";
    } else {
      EXPECT_LT(leftGap, 6) << "left, align " << align;
    }
  }
}

TEST_F(Renderer, FittingTextUsesTheFullBoxHeight) {
  CELLayout& l = Make("TitleWidth=380\nTitleHeight=60\nTitlePosX=10\nTitlePosY=100\n");
  l.Title = "Hg";
  ASSERT_TRUE(l.RenderLabel(0, false));
  const Ink ink = FindInk(l.LabelImage(), 10, 100, 390, 160);
  ASSERT_TRUE(ink.Any());
  EXPECT_GT(ink.bottom - ink.top, 40);  // ascender to descender of a 60-pixel cell
}

TEST_F(Renderer, TooWideTextShrinksAndIsClippedAtSixPixels) {
  CELLayout& l = Make(
      "TitleWidth=200\nTitleHeight=60\nTitlePosX=100\nTitlePosY=100\n"
      "TitleMaxNum=200\n");
  l.Title = "A rather long title";
  ASSERT_TRUE(l.RenderLabel(0, false));
  Ink ink = FindInk(l.LabelImage(), 100, 100, 300, 160);
  ASSERT_TRUE(ink.Any());
  EXPECT_LT(ink.bottom - ink.top, 40);  // shrunk
  EXPECT_LT(ink.right, 299);            // and now fits

  l.Title = std::string(150, 'W');
  ASSERT_TRUE(l.RenderLabel(0, false));
  ink = FindInk(l.LabelImage(), 100, 100, 300, 160, 180);
  ASSERT_TRUE(ink.Any());
  EXPECT_GE(ink.right, 296);  // clipped at the box's right edge
  EXPECT_EQ(l.LabelImage().ReadPixel(300, 130), 0u);
}

TEST_F(Renderer, MaxNumCutsWidthUnitsWithoutSplittingCharacters) {
  CELLayout& l = Make(
      "TitleWidth=300\nTitleHeight=40\nTitlePosX=50\nTitlePosY=100\n"
      "TitleMaxNum=3\n");
  auto render = [&](const std::string& title) {
    l.Title = title;
    EXPECT_TRUE(l.RenderLabel(0, false));
    return l.LabelImage().Image().copy();
  };
  EXPECT_EQ(render("ABCDEFG"), render("ABC"));
  EXPECT_NE(render("ABCDEFG"), render("AB"));
  // Three units: three accented letters, or one wide character and one more.
  EXPECT_EQ(render("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"), render("\xC3\xA9\xC3\xA9\xC3\xA9"));
  EXPECT_EQ(render("\xE6\x97\xA5\xE6\x97\xA5"), render("\xE6\x97\xA5"));  // 日日: 2 + 2
}

TEST_F(Renderer, NoteRowsAreTenthsOfTheBox) {
  CELLayout& l = Make("NoteWidth=200\nNoteHeight=125\nNotePosX=100\nNotePosY=100\n");
  for (std::string& line : l.NoteLines) line = "Mg";
  ASSERT_TRUE(l.RenderLabel(0, false));
  EXPECT_TRUE(FindInk(l.LabelImage(), 100, 208, 300, 220).Any());        // tenth row: 108..119
  EXPECT_FALSE(FindInk(l.LabelImage(), 100, 220, 300, 225, 199).Any());  // last 5 rows bare

  l.NoteLines = {};
  l.NoteLines[1] = "Mg";  // the empty first line keeps its row
  ASSERT_TRUE(l.RenderLabel(0, false));
  const Ink ink = FindInk(l.LabelImage(), 100, 100, 300, 225);
  ASSERT_TRUE(ink.Any());
  EXPECT_GE(ink.top, 112);
  EXPECT_LT(ink.bottom, 124);
}

TEST_F(Renderer, PreviewScalesEachValueSeparately) {
  settings_.Write(test::OneLayout(
      "BgColor=200\nTitleWidth=200\nTitleHeight=50\nTitlePosX=100\nTitlePosY=100\n"));
  CELLayout l(settings_.Path());
  ASSERT_TRUE(l.RenderLabel(0, false));
  ASSERT_TRUE(l.RenderPreview(0, 600, 600, false));
  EXPECT_NEAR(l.PreviewScale(), 0.3625, 0.0001);
  const ImageBuffer& p = l.PreviewImage();
  EXPECT_EQ(p.ReadPixel(35, 40), 0u);
  EXPECT_EQ(p.ReadPixel(36, 36), kGrey200);            // trunc(100 * 0.3625...) = 36
  EXPECT_EQ(p.ReadPixel(36 + 71, 36 + 17), kGrey200);  // 200 -> 72 wide, 50 -> 18 high
  EXPECT_EQ(p.ReadPixel(36 + 72, 36), 0u);
  EXPECT_EQ(p.ReadPixel(36, 36 + 18), 0u);
}

TEST_F(Renderer, BadBaseLengthFailsAndLeavesNoImage) {
  for (const char* base : {"0", "-5", "10001", "2000000000"}) {
    settings_.Write(test::OneLayout(std::string("BaseLength=") + base +
                                    "\nTitleWidth=10\nTitleHeight=10\nRingLength=5\n"));
    CELLayout l(settings_.Path());
    EXPECT_FALSE(l.RenderLabel(0, false)) << base;
    EXPECT_TRUE(l.LabelImageData().isNull()) << base;
    EXPECT_FALSE(l.RenderPreview(0, 600, 600, false)) << base;
    EXPECT_FALSE(l.PreviewImage().Exists()) << base;
    EXPECT_FALSE(l.DrawTitlePreview()) << base;
  }
}

TEST_F(Renderer, ThinRingBandGivesBackgroundOnly) {
  settings_.Write(test::OneLayout(
      "BaseLength=1000\nBgColor=200\nRingLength=1\nTitleWidth=100\nTitleHeight=40\n"));
  CELLayout l(settings_.Path());
  l.Title = "Title";
  EXPECT_FALSE(l.RenderLabel(0, false));  // strip of 8 pixels
  EXPECT_EQ(l.StripHeight(), 8);
  ASSERT_FALSE(l.LabelImageData().isNull());
  EXPECT_EQ(l.LabelImage().ReadPixel(5, 5), 0u);  // no title box
  EXPECT_FALSE(l.DrawRingPreview());
}

TEST_F(Renderer, StripAndTableSizesForTheDefaultLabel) {
  settings_.Write(test::OneLayout("RingLength=5\nRingType=2\n"));
  CELLayout l(settings_.Path());
  l.Title = "T";
  ASSERT_TRUE(l.RenderLabel(0, false));
  EXPECT_EQ(l.StripWidth(), 5199);
  EXPECT_EQ(l.StripHeight(), 71);
  EXPECT_EQ(l.AngleTable().Size(), 10398);
  EXPECT_EQ(l.RingStrip().Width(), 5199);
  ASSERT_TRUE(l.RenderPreview(0, 600, 600, false));
  EXPECT_EQ(l.AngleTable().Size(), 3769);
  EXPECT_EQ(l.PreviewRingStrip().Width(), 942);  // half of 1884 for two rows
  EXPECT_EQ(l.PreviewRingStrip().Height(), 25);
}

TEST_F(Renderer, RefreshStepsNeedImagesAndDrawRingOverBoxes) {
  // A title box across the top of the ring band.
  settings_.Write(test::OneLayout(
      "BgColor=255\nTxColor=0\nRingLength=5\nRingType=1\nTitleWidth=1655\nTitleHeight=120\n"
      "TitleMaxNum=0\n"));  // an empty box over the ring's upper arc
  CELLayout l(settings_.Path());
  l.Title = "WWWWWWWW";
  l.Date = "WWWW";
  l.LoadLayout(0, false);
  EXPECT_FALSE(l.DrawTitlePreview());  // nothing rendered yet
  ASSERT_TRUE(l.RenderLabel(0, false));
  ASSERT_TRUE(l.RenderPreview(0, 600, 600, false));
  const int boxBottom = static_cast<int>(120 * l.PreviewScale());
  // The box hides the ring text in a render ...
  EXPECT_FALSE(FindInk(l.PreviewImage(), 0, 0, 600, boxBottom).Any());
  // ... but the refresh draws the ring text last, over the box.
  ASSERT_TRUE(l.ClearPreview(600, 600));
  EXPECT_TRUE(l.DrawTitlePreview());
  EXPECT_TRUE(l.DrawDatePreview());  // no date box: nothing to do
  EXPECT_TRUE(l.DrawNotePreview());
  ASSERT_TRUE(l.DrawRingPreview());
  EXPECT_TRUE(FindInk(l.PreviewImage(), 0, 0, 600, boxBottom).Any());
  // A full-size render in between does not spoil the preview's angle table.
  ASSERT_TRUE(l.RenderLabel(0, true));
  const QImage before = l.PreviewImage().Image().copy();
  ASSERT_TRUE(l.ClearPreview(600, 600));
  l.DrawTitlePreview();
  ASSERT_TRUE(l.DrawRingPreview());
  EXPECT_EQ(l.PreviewImage().Image(), before);
}

// Renders that copy what an earlier one drew (the background with the ring
// text when only a box moved, a box that only moved, a large ring text drawn
// again in the same place) leave exactly the pixels of a render from
// scratch, at full size and in the preview. Qt's very first drawing of a
// glyph in a process may differ by a grey level from every later one, so
// one pass draws all the texts first.
TEST(RendererReuse, RendersThatCopyEarlierDrawingGiveTheSamePixelsAsFreshOnes) {
  test::TempSettings settings;
  QImage picture(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) picture.setPixel(x, y, qRgb(x * 4, 255 - y * 4, 128));
  ASSERT_TRUE(picture.save(QString::fromStdString(settings.Folder() + "/bg.png")));
  // A band 15 mm thick on a 600-pixel label: ring texts of about 70
  // pixels, which Qt fills as outlines.
  settings.Write(
      test::OneLayout("BaseLength=600\nBgColor=200\nTxColor=0\nBgImage=" + settings.Folder() +
                      "/bg.png\nTitleWidth=300\nTitleHeight=80\nTitlePosX=150\nTitlePosY=130\n"
                      "DateWidth=200\nDateHeight=40\nDatePosX=200\nDatePosY=220\nNoteWidth=260\n"
                      "NoteHeight=150\nNotePosX=170\nNotePosY=330\nRingType=0\nRingLength=15\n"));
  CELLayout kept(settings.Path());
  kept.LoadLayout(0, false);
  LayoutRecord record = kept.Layout();
  auto texts = [](CELLayout& l, const std::string& title, const std::string& note) {
    l.Title = title;
    l.Date = "2024";
    l.NoteLines = {"[Photos]", note, "notes.txt"};
  };
  struct Step {
    int titleX;
    const char* title;
    const char* note;
    int copied;  // ring texts copied from the strip's last layout
  };
  const Step steps[] = {
      {150, "Lisbon 0", "[Videos]", 0},  // from scratch
      {187, "Lisbon 0", "[Videos]", 0},  // the title box moved: the strip stays
      {187, "Lisbon 0", "[Music]", 1},   // a note changed: the title and date stay
      {187, "Lisbon 2", "[Music]", 1},   // a digit changed: the notes stay in place
      {187, "Lisbon 22", "[Music]", 0},  // a wider title: the notes move
      {-40, "Lisbon 22", "[Music]", 0},  // the box moved off the edge
  };
  for (const Step& step : steps) {
    CELLayout first(settings.Path());
    texts(first, step.title, step.note);
    record.Title.PosX = step.titleX;
    first.UseLayout(record);
    first.RenderCurrentLabel();
    first.RenderCurrentPreview(500, 500);
  }
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.title) + " / " + step.note + " at " +
                 std::to_string(step.titleX));
    record.Title.PosX = step.titleX;
    texts(kept, step.title, step.note);
    kept.UseLayout(record);
    ASSERT_TRUE(kept.RenderCurrentLabel());
    ASSERT_TRUE(kept.RenderCurrentPreview(500, 500));
    CELLayout fresh(settings.Path());
    texts(fresh, step.title, step.note);
    fresh.UseLayout(record);
    ASSERT_TRUE(fresh.RenderCurrentLabel());
    ASSERT_TRUE(fresh.RenderCurrentPreview(500, 500));
    EXPECT_EQ(kept.RingTextsCopied(), step.copied);
    EXPECT_TRUE(kept.LabelImage().Image() == fresh.LabelImage().Image());
    EXPECT_TRUE(kept.PreviewImage().Image() == fresh.PreviewImage().Image());
  }
}

TEST(FitLoop, ShrinksOnePixelAtATimeAndKeepsTheTallerFont) {
  LabelFontCache fonts(test::kTestFace);
  ImageBuffer image;
  ASSERT_TRUE(image.Create(10, 10));
  const std::string text = "Fitting text";
  const int full = fonts.Get(40).Measure(text);
  FitResult fit = FitText(
      image, fonts, text, 40, [&](int w) { return w >= full + 1; }, [](int h) { return h >= 6; });
  EXPECT_EQ(fit.height, 40);  // fits at once
  EXPECT_EQ(fit.width, full);

  const int limit = full * 2 / 3;
  fit = FitText(
      image, fonts, text, 40, [&](int w) { return w >= limit; }, [](int h) { return h >= 6; });
  EXPECT_LT(fit.width, limit);
  EXPECT_LT(fit.height, 39);
  // The font left selected is one pixel taller than the final h ...
  EXPECT_EQ(fit.width, fonts.Get(fit.height + 1).Measure(text));
  EXPECT_EQ(image.MeasureText(text), fit.width);
  // ... and the pass before it was still too wide.
  EXPECT_GE(fonts.Get(fit.height + 2).Measure(text), limit);

  fit = FitText(
      image, fonts, text, 40, [](int) { return true; }, [](int h) { return h >= 6; });
  EXPECT_EQ(fit.height, 5);  // never shrunk below 6
  EXPECT_EQ(fit.width, fonts.Get(6).Measure(text));
}

TEST(LabelFont, CellHeightIsAscentPlusDescent) {
  LabelFontCache fonts(test::kTestFace);
  for (int h : {6, 12, 25, 71, 140}) {
    const LabelFont& f = fonts.Get(h);
    EXPECT_EQ(f.font.family(), test::kTestFace);
    EXPECT_TRUE(f.font.bold());
    EXPECT_LE(f.metrics.ascent() + f.metrics.descent(), h) << h;
    EXPECT_GE(f.metrics.ascent() + f.metrics.descent(), h - 2) << h;
  }
  EXPECT_EQ(&fonts.Get(25), &fonts.Get(25));  // cached
}

}  // namespace
}  // namespace twr
