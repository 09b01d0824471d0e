// Ring text: radii of the rows, arc ranges, the BgColor transparency and the
// skip-same-target rule of the mapping, and where the layout stage puts text.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "drive/DiscGeometry.h"
#include "label/CELLayout.h"
#include "label/LabelTestSupport.h"
#include "label/RingText.h"

namespace twr {
namespace {

LayoutRecord Ring(int type, int align, double band) {
  LayoutRecord r;
  r.BaseLength = 1655;
  r.RingType = type;
  r.RLetterAlign = align;
  r.RingLength = band;
  r.RingBand = band;
  r.BgColor = 0xFFFFFF;
  return r;
}

TEST(RingMapping, WorkedNumbersAndRowRadii) {
  const RingMapping m = ComputeRingMapping(Ring(0, 2, 5), 1655);
  EXPECT_NEAR(m.inner, 356.68, 0.01);
  EXPECT_NEAR(m.outer, 827.5, 0.01);
  EXPECT_NEAR(m.band, 71.34, 0.01);
  EXPECT_EQ(m.rows, 71);
  EXPECT_NEAR(m.offset, 399.48, 0.01);
  EXPECT_NEAR(m.RowRadius(0), 756.16, 0.01);
  EXPECT_NEAR(m.RowRadius(70), 826.16, 0.01);
  EXPECT_NEAR(m.RowRadius(m.rows - 1), m.outer - 1 - (m.band - m.rows), 1e-9);
  EXPECT_EQ(m.side / 2, 827);

  EXPECT_DOUBLE_EQ(ComputeRingMapping(Ring(0, 0, 5), 1655).RowRadius(0), m.inner);
  EXPECT_NEAR(ComputeRingMapping(Ring(0, 1, 5), 1655).offset, m.offset / 2, 1e-9);
  EXPECT_DOUBLE_EQ(ComputeRingMapping(Ring(0, 7, 5), 1655).offset, 0.0);
}

TEST(RingMapping, ArcRanges) {
  const int n = 10398;
  EXPECT_EQ(ArcSkipSteps(90, n), 1299);
  LayoutRecord r = Ring(1, 2, 5);
  r.RingMAngle = 90;
  r.RingSAngle = 180;
  auto arcs = RingArcs(r, n);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0].first, 0);  // lower arc first
  EXPECT_EQ(arcs[0].last, 5198);
  EXPECT_FALSE(arcs[0].upper);
  EXPECT_EQ(arcs[1].first, 6498);
  EXPECT_EQ(arcs[1].last, 9098);
  EXPECT_TRUE(arcs[1].upper);
  r.RingMAngle = 180;
  EXPECT_EQ(RingArcs(r, n)[1].first, 5199);
  EXPECT_EQ(RingArcs(r, n)[1].last, 10397);

  r.RingType = 2;
  r.RingMAngle = 0;  // at most one step
  arcs = RingArcs(r, n);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_LE(arcs[0].last - arcs[0].first, 0);

  r.RingType = 3;  // as 0
  arcs = RingArcs(r, n);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0].first, 0);
  EXPECT_EQ(arcs[0].last, n - 1);
}

TEST(RingMapping, OnlyPixelsDifferentFromBgColorAreCopied) {
  LayoutRecord r = Ring(0, 0, 20);
  r.BaseLength = 200;
  ImageBuffer strip, target;
  ASSERT_TRUE(strip.Create(628, 34));
  strip.FillRect(0, 0, 628, 34, r.BgColor);
  strip.FillRect(100, 0, 10, 34, 0x000000);
  strip.FillRect(300, 0, 10, 34, 0xFEFEFE);  // almost BgColor: still copied
  ASSERT_TRUE(target.Create(200, 200));
  target.FillRect(0, 0, 200, 200, 0x0000FF);
  RingAngleTable angles;
  angles.Build(2 * 628);
  MapRingText(strip, target, r, angles, 200);

  int black = 0, nearWhite = 0, other = 0;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) {
      const uint32_t c = target.ReadPixel(x, y);
      if (c == 0)
        ++black;
      else if (c == 0xFEFEFE)
        ++nearWhite;
      else if (c != 0x0000FF)
        ++other;
    }
  EXPECT_GT(black, 100);
  EXPECT_GT(nearWhite, 100);
  EXPECT_EQ(other, 0);  // BgColor never reaches the target
}

// The mapping written out step by step, as the reference for the one that
// skips runs of background.
void MapStepByStep(const ImageBuffer& strip, ImageBuffer& target, const LayoutRecord& layout,
                   const RingAngleTable& angles, double side) {
  const RingMapping m = ComputeRingMapping(layout, side);
  const int centre = m.side / 2;
  int prevX = 0, prevY = 0;
  for (const RingArc& arc : RingArcs(layout, angles.Size())) {
    for (int i = 0; i < m.rows; ++i) {
      const double rho = m.RowRadius(i);
      const int sy = arc.upper ? m.rows - 1 - i : i;
      for (int j = std::max(arc.first, 0); j <= std::min(arc.last, angles.Size() - 1); ++j) {
        const int dx = static_cast<int>(rho * angles.Cos(j));
        const int x = arc.upper ? centre + dx : centre - dx;
        const int y = centre + static_cast<int>(rho * angles.Sin(j));
        if (x == prevX && y == prevY) continue;
        prevX = x;
        prevY = y;
        const uint32_t colour = strip.ReadPixel(j / 2, sy);
        if (colour == kInvalidColor || colour == layout.BgColor) continue;
        target.WritePixel(x, y, colour);
      }
    }
  }
}

TEST(RingMapping, SkippingBackgroundRunsMapsEveryPixelAsStepByStep) {
  ImageBuffer strip;
  ASSERT_TRUE(strip.Create(1256, 40));
  const uint32_t bg = 0x404040;
  strip.FillRect(0, 0, strip.Width(), strip.Height(), bg);
  // Ink in runs and single pixels, some rows empty, colours that differ
  // from the background in one channel only.
  unsigned seed = 7;
  for (int y = 0; y < strip.Height(); y += 1 + y % 3)
    for (int x = 0; x < strip.Width(); ++x) {
      seed = seed * 1103515245u + 12345u;
      if ((seed >> 16) % 5 == 0) strip.WritePixel(x, y, (seed >> 8) % 3 == 0 ? 0x404041 : 0x20E0A0);
    }
  for (int type : {0, 1, 2}) {
    LayoutRecord layout;
    layout.BgColor = bg;
    layout.RingType = type;
    layout.RingMAngle = 120;
    layout.RingSAngle = 90;
    layout.RLetterAlign = 1;
    layout.RingBand = 8.0;
    RingAngleTable angles;
    angles.Build(2 * 1256);
    ImageBuffer fast, literal;
    ASSERT_TRUE(fast.Create(400, 400));
    ASSERT_TRUE(literal.Create(400, 400));
    MapRingText(strip, fast, layout, angles, 400);
    MapStepByStep(strip, literal, layout, angles, 400);
    EXPECT_TRUE(fast.Image() == literal.Image()) << "RingType " << type;
  }
}

// A strip laid out once or a box drawn before is used again only for the
// same texts: after each change the label and the
// preview equal those of a fresh renderer, for every ring type.
TEST(RingStripReuse, EveryChangeOfTextOrBandIsLaidOutAgain) {
  struct Step {
    const char* title;
    const char* date;
    const char* note;
    double outer;
    const char* face;
  };
  const char* face = test::kTestFace;
  const Step steps[] = {{"First", "2024-07-14", "notes", 58.0, face},
                        {"Second", "2024-07-14", "notes", 58.0, face},
                        {"Second", "2024-07-15", "other notes", 58.0, face},
                        {"Second", "2024-07-15", "other notes", 45.0, face},
                        {"First", "2024-07-14", "notes", 58.0, face},
                        {"First", "2024-07-14", "notes", 58.0, face},
                        {"First", "2024-07-14", "notes", 58.0, "DejaVu Sans"}};
  auto render = [](CELLayout& l, const Step& step) {
    ASSERT_TRUE(l.SaveFontSetting(step.face));
    l.Title = step.title;
    l.Date = step.date;
    l.NoteLines[0] = step.note;
    ASSERT_TRUE(l.RenderLabel(0, false));
    ASSERT_TRUE(l.RenderPreview(0, 300, 300, false));
    l.SetBandRadii(25.0, step.outer);
    ASSERT_TRUE(l.RenderLabel(0, true));
  };
  for (const char* type : {"0", "1", "2"}) {
    test::TempSettings settings(test::OneLayout(
        std::string("BaseLength=600\nBgColor=200\nTxColor=0\nRingLength=8\nRingType=") + type +
        "\nTitleWidth=300\nTitleHeight=90\nTitlePosX=150\nTitlePosY=120\n"
        "DateWidth=200\nDateHeight=40\nDatePosX=200\nDatePosY=220\n"
        "NoteWidth=260\nNoteHeight=150\nNotePosX=170\nNotePosY=330\nNoteMaxNum=30\n"));
    {
      // Qt draws a glyph as an outline a little differently once the face
      // has been drawn at half that size: every state is drawn once first,
      // so that the renderers below start from the same font state.
      CELLayout warm(settings.Path());
      for (const Step& step : steps) render(warm, step);
    }
    CELLayout kept(settings.Path());
    for (const Step& step : steps) {
      CELLayout fresh(settings.Path());
      render(kept, step);
      render(fresh, step);
      EXPECT_TRUE(kept.LabelImage().Image() == fresh.LabelImage().Image())
          << "RingType " << type << ": " << step.title << ", " << step.note;
      EXPECT_TRUE(kept.PreviewImage().Image() == fresh.PreviewImage().Image())
          << "RingType " << type << ": " << step.title << ", " << step.note;
    }
  }
}

TEST(RingMapping, RepeatedTargetsAreSkippedWithoutReading) {
  // One row at radius 0: every angle hits the centre, so only the first
  // step is read and the later columns' colours never land.
  LayoutRecord r = Ring(0, 0, 1);
  r.InnerRadius = 0;
  r.OuterRadius = 58;
  ImageBuffer strip, target;
  ASSERT_TRUE(strip.Create(364, 1));
  for (int x = 0; x < 364; ++x) strip.WritePixel(x, 0, x == 0 ? 0x0000AA : 0x00AA00);
  constexpr int kSide = static_cast<int>(kLabelWidthMm);  // one pixel a millimetre
  ASSERT_TRUE(target.Create(kSide, kSide));
  RingAngleTable angles;
  angles.Build(728);
  MapRingText(strip, target, r, angles, kSide);
  EXPECT_EQ(target.ReadPixel(58, 58), 0x0000AAu);

  // The first comparison is with (0, 0): a one-pixel label maps everything
  // there and so writes nothing.
  r.RingBand = 116;
  ImageBuffer tiny;
  ASSERT_TRUE(tiny.Create(1, 1));
  MapRingText(strip, tiny, r, angles, 1);
  EXPECT_EQ(tiny.ReadPixel(0, 0), 0u);
}

// Renders a ring-only 600-pixel label and checks where its ink lands.
class RenderedRing : public ::testing::Test {
 protected:
  CELLayout& Render(const std::string& keys) {
    settings_.Write(test::OneLayout("BaseLength=600\nBgColor=255\nTxColor=0\n" + keys));
    layout_ = std::make_unique<CELLayout>(settings_.Path());
    layout_->Title = "Title text";
    layout_->Date = "2024";
    layout_->NoteLines[0] = "[First]";
    layout_->NoteLines[1] = "second.txt";
    EXPECT_TRUE(layout_->RenderLabel(0, false));
    return *layout_;
  }
  test::TempSettings settings_;
  std::unique_ptr<CELLayout> layout_;
};

TEST_F(RenderedRing, InkStaysOnItsRowsAndArcs) {
  CELLayout& l = Render("RingType=1\nRingLength=8\nRLetterAlign=2\nRingMAngle=90\n");
  const RingMapping m = ComputeRingMapping(l.Layout(), 600);
  const ImageBuffer& img = l.LabelImage();
  int upper = 0, lower = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 600; ++x) {
      if (img.ReadPixel(x, y) == 0) continue;  // untouched black background
      const double dx = x - 300, dy = y - 300;
      const double radius = std::hypot(dx, dy);
      EXPECT_GE(radius, m.RowRadius(0) - 1.5);
      EXPECT_LE(radius, m.RowRadius(m.rows - 1) + 1.5);
      if (dy < 0) {
        ++upper;
        // RingMAngle 90: within 45 degrees of the top.
        EXPECT_LE(std::abs(std::atan2(dx, -dy)), std::numbers::pi / 4 + 0.02) << x << "," << y;
      } else {
        ++lower;
      }
    }
  EXPECT_GT(upper, 50);
  EXPECT_GT(lower, 50);
}

TEST_F(RenderedRing, LayoutStagePutsEachTextInItsPlace) {
  auto inkColumns = [](const ImageBuffer& strip, int y0, int y1) {
    std::pair<int, int> range{-1, -1};
    for (int x = 0; x < strip.Width(); ++x)
      for (int y = y0; y < y1; ++y)
        if (strip.ReadPixel(x, y) != 0xFFFFFF) {
          if (range.first < 0) range.first = x;
          range.second = x;
        }
    return range;
  };
  // Upper and lower arcs: notes centred in the left half, title in the right.
  CELLayout& one = Render("RingType=1\nRingLength=8\n");
  const ImageBuffer& s1 = one.RingStrip();
  const int half = one.StripWidth() / 2;
  auto ink = inkColumns(s1, 0, s1.Height());
  EXPECT_LT(ink.first, half);
  EXPECT_GT(ink.second, half);
  // The title and date are centred in the right half.
  std::pair<int, int> right{-1, -1};
  for (int x = half; x < s1.Width(); ++x)
    for (int y = 0; y < s1.Height(); ++y)
      if (s1.ReadPixel(x, y) != 0xFFFFFF) {
        if (right.first < 0) right.first = x;
        right.second = x;
      }
  EXPECT_NEAR((right.first + right.second) / 2, half + half / 2, 4);

  // Two rows: title and date above, notes below, both in the left half.
  CELLayout& two = Render("RingType=2\nRingLength=8\n");
  const ImageBuffer& s2 = two.RingStrip();
  const int rowH = s2.Height() / 2;
  auto top = inkColumns(s2, 0, rowH), bottom = inkColumns(s2, rowH, s2.Height());
  EXPECT_GE(top.first, 0);
  EXPECT_GE(bottom.first, 0);
  EXPECT_LT(top.second, two.StripWidth() / 2);
  EXPECT_LT(bottom.second, two.StripWidth() / 2);
  EXPECT_NEAR((top.first + top.second) / 2, two.StripWidth() / 4, 3);

  // Full circle: title from the strip's start, note lines after it.
  CELLayout& zero = Render("RingType=0\nRingLength=8\n");
  ink = inkColumns(zero.RingStrip(), 0, zero.RingStrip().Height());
  EXPECT_LT(ink.first, 5);
  EXPECT_GT(ink.second, zero.StripWidth() / 5);
}

TEST_F(RenderedRing, FullCircleSetsLongNotesInTwoRowsOfColumns) {
  settings_.Write(test::OneLayout("BaseLength=600\nBgColor=255\nRingType=0\nRingLength=8\n"));
  CELLayout l(settings_.Path());
  l.Title = "T";
  for (int i = 0; i < 3; ++i) l.NoteLines[i] = std::string(40, 'W');  // too long for one line
  ASSERT_TRUE(l.RenderLabel(0, false));
  const ImageBuffer& s = l.RingStrip();
  const int h = s.Height();
  bool innerRow = false, outerRow = false;
  for (int x = s.Width() / 4; x < s.Width(); ++x) {
    if (s.ReadPixel(x, h / 4) != 0xFFFFFF) innerRow = true;
    if (s.ReadPixel(x, h / 2 + h / 4) != 0xFFFFFF) outerRow = true;
  }
  EXPECT_TRUE(innerRow);
  EXPECT_TRUE(outerRow);
}

}  // namespace
}  // namespace twr
