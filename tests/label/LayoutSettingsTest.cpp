// Settings lookups of the layouts: names, defaults, radius check, ring band,
// angle clamping and the font setting.
#include <gtest/gtest.h>

#include "drive/DiscGeometry.h"
#include "label/CELLayout.h"
#include "label/LabelTestSupport.h"
#include "label/LayoutSettings.h"

namespace twr {
namespace {

using test::TempSettings;

TEST(LayoutSettings, NamesAreListedInIndexOrderWithMissingNamesEmpty) {
  TempSettings s(
      "[Config]\nLayoutNum=3\n[Layout00]\nName=First\n[Layout02]\nName=Third\n"
      "[Layout01]\nBgColor=1\n");
  std::vector<std::string> names{"stale"};
  ASSERT_TRUE(LoadLayoutNames(s.Path(), names));
  EXPECT_EQ(names, (std::vector<std::string>{"First", "", "Third"}));
  EXPECT_EQ(LayoutSectionName(7), "Layout07");
  EXPECT_EQ(LayoutSectionName(123), "Layout123");
}

TEST(LayoutSettings, NoLayoutsWhenCountIsZeroOrFileMissing) {
  std::vector<std::string> names;
  TempSettings zero("[Config]\nLayoutNum=0\n[Layout00]\nName=A\n");
  EXPECT_FALSE(LoadLayoutNames(zero.Path(), names));
  TempSettings missing;
  EXPECT_FALSE(LoadLayoutNames(missing.Path(), names));
  EXPECT_TRUE(names.empty());
}

TEST(LayoutSettings, AbsurdLayoutCountsAreCappedOrRefused) {
  TempSettings huge(
      "[Config]\nLayoutNum=2000000000\n[Layout00]\nName=First\n[Layout9999]\nName=Last\n");
  std::vector<std::string> names;
  ASSERT_TRUE(LoadLayoutNames(huge.Path(), names));
  ASSERT_EQ(names.size(), static_cast<std::size_t>(kMaxLayoutCount));
  EXPECT_EQ(names.front(), "First");
  EXPECT_EQ(names.back(), "Last");

  TempSettings negative("[Config]\nLayoutNum=-3\n[Layout00]\nName=A\n");
  EXPECT_FALSE(LoadLayoutNames(negative.Path(), names));
  EXPECT_TRUE(names.empty());
}

TEST(LayoutSettings, DefaultsAndGreyLevels) {
  TempSettings s("[Config]\nLayoutNum=1\n[Layout00]\nBgColor=300\n");
  LayoutRecord r;
  LoadLayout(s.Path(), 0, false, r);
  EXPECT_EQ(r.BgColor, 0x2C2C2Cu);  // 300 mod 256 = 44
  EXPECT_EQ(r.TxColor, 0u);
  EXPECT_EQ(r.BaseLength, 1655);
  EXPECT_EQ(r.Title.MaxNum, 20);
  EXPECT_EQ(r.Date.MaxNum, 10);
  EXPECT_EQ(r.Note.MaxNum, 20);
  EXPECT_EQ(r.RLetterAlign, 2);
  EXPECT_EQ(r.RingMAngle, 180);
  EXPECT_EQ(r.RingSAngle, 180);
  EXPECT_DOUBLE_EQ(r.InnerRadius, 25.0);
  EXPECT_DOUBLE_EQ(r.OuterRadius, 58.0);
  EXPECT_DOUBLE_EQ(r.RingBand, 0.0);  // no RingLength, no ring text

  LayoutRecord missing;
  LoadLayout(s.Path(), 5, false, missing);  // no such section: all defaults
  EXPECT_EQ(missing.BgColor, 0xFFFFFFu);
}

struct RadiusCase {
  const char* keys;
  double inner, outer, band;
};

TEST(LayoutSettings, RadiusCheckAndRingBand) {
  const RadiusCase cases[] = {
      {"InnerRadius=20\nOuterRadius=50\nRingLength=5\n", 25, 58, 5},    // inner too low resets both
      {"InnerRadius=30\nOuterRadius=59\nRingLength=5\n", 25, 58, 5},    // outer too high
      {"InnerRadius=45\nOuterRadius=40\nRingLength=5\n", 25, 58, 5},    // crossed
      {"InnerRadius=40\nOuterRadius=40\nRingLength=5\n", 40, 40, 0},    // equal accepted
      {"InnerRadius=25\nOuterRadius=58\nRingLength=50\n", 25, 58, 33},  // capped by the radii
      {"InnerRadius=30\nOuterRadius=50\nRingLength=5\n", 30, 50, 5},
  };
  for (const RadiusCase& c : cases) {
    TempSettings s(test::OneLayout(c.keys));
    LayoutRecord r;
    LoadLayout(s.Path(), 0, false, r);
    EXPECT_DOUBLE_EQ(r.InnerRadius, c.inner) << c.keys;
    EXPECT_DOUBLE_EQ(r.OuterRadius, c.outer) << c.keys;
    EXPECT_DOUBLE_EQ(r.RingBand, c.band) << c.keys;
  }
}

TEST(LayoutSettings, KeepRadiiKeepsRadiiRingLengthAndBand) {
  TempSettings s(test::OneLayout("InnerRadius=30\nOuterRadius=50\nRingLength=5\nTxColor=9\n"));
  LayoutRecord r;
  r.InnerRadius = 33;
  r.OuterRadius = 44;
  r.RingLength = 7;
  r.RingBand = 6;
  LoadLayout(s.Path(), 0, true, r);
  EXPECT_EQ(r.TxColor, 0x090909u);
  EXPECT_DOUBLE_EQ(r.InnerRadius, 33);
  EXPECT_DOUBLE_EQ(r.OuterRadius, 44);
  EXPECT_DOUBLE_EQ(r.RingLength, 7);
  EXPECT_DOUBLE_EQ(r.RingBand, 6);
}

TEST(LayoutSettings, RingAnglesAreClampedToAHalfCircle) {
  TempSettings s(test::OneLayout("RingMAngle=270\nRingSAngle=-10\n"));
  LayoutRecord r;
  LoadLayout(s.Path(), 0, false, r);
  EXPECT_EQ(r.RingMAngle, 180);
  EXPECT_EQ(r.RingSAngle, 0);
}

TEST(LayoutSettings, SetBandRadiiRecomputesBandOnlyWithRingText) {
  TempSettings s("[Config]\nLayoutNum=2\n[Layout00]\nRingLength=10\n[Layout01]\n");
  CELLayout layout(s.Path());
  layout.LoadLayout(0, false);
  layout.SetBandRadii(30, 36);
  EXPECT_DOUBLE_EQ(layout.Layout().RingBand, 6);
  EXPECT_EQ(layout.StripHeight(), static_cast<int>(1655 * 6 * (1.0 / kLabelWidthMm)));
  EXPECT_EQ(layout.GetBandRadii().inner, 30);
  EXPECT_EQ(layout.GetBandRadii().outer, 36);
  layout.LoadLayout(1, false);
  layout.SetBandRadii(30, 36);
  EXPECT_DOUBLE_EQ(layout.Layout().RingBand, 0);  // a layout without ring text stays without
}

TEST(LayoutSettings, FontSettingRoundTripAndFailedSave) {
  TempSettings s("[Config]\nLayoutNum=1\nFont=" + std::string(90, 'F') + "\n");
  EXPECT_EQ(LoadFontSetting(s.Path()), std::string(79, 'F'));  // cut to 79 bytes
  CELLayout layout(s.Path());
  EXPECT_EQ(layout.FontFace(), std::string(79, 'F'));
  ASSERT_TRUE(layout.SaveFontSetting("DejaVu Sans"));
  EXPECT_EQ(layout.LoadFontSetting(), "DejaVu Sans");
  std::vector<std::string> names;
  EXPECT_TRUE(LoadLayoutNames(s.Path(), names));  // the rest of the file is kept

  CELLayout unwritable(s.Folder() + "/no/such/folder/twr.ini");
  EXPECT_FALSE(unwritable.SaveFontSetting("Liberation Serif"));
  EXPECT_EQ(unwritable.FontFace(), "Liberation Serif");  // used anyway
}

TEST(LayoutSettings, EmptyFontSettingMeansTheSystemSansFace) {
  TempSettings s("[Config]\nLayoutNum=1\n");
  CELLayout layout(s.Path());
  EXPECT_FALSE(layout.FontFace().empty());
  EXPECT_EQ(layout.FontFace(), DefaultFontFace());
}

}  // namespace
}  // namespace twr
