// The burning-area rules: one table of discs with the lowest inner radius,
// the plan's raise and the radius Rimtone mode suggests, and the check of
// an area against the lowest inner radius.
#include <gtest/gtest.h>

#include <cmath>

#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "label/BurningArea.h"

namespace twr {
namespace {

TEST(BurningArea, RulesForEachSideOfADisc) {
  struct Case {
    const char* what;
    BurnDisc disc;
    double dataEnd;  // DataAreaEnd
    double lowest;   // LowestInnerRadius
    double raised;   // BandInnerOn(disc, 25)
    double suggest;  // RimtoneInner(disc, 25)
  };
  const Case cases[] = {
      {"label side", BurnDisc::LabelSide(), 0.0, 25.0, 25.0, 25.0},
      {"complete DVD+R, little data", BurnDisc::DataSideOf(kDiscDvdPlusR, kStatusComplete, 29.5),
       31.0, 31.0, 31.0, 31.0},
      {"complete DVD-R, little data", BurnDisc::DataSideOf(kDiscDvdR, kStatusComplete, 30.0), 36.0,
       36.0, 36.0, 36.0},
      {"complete DVD-R, data to 38", BurnDisc::DataSideOf(kDiscDvdR, kStatusComplete, 38.0), 38.0,
       38.0, 38.0, 38.1},
      {"complete DVD+R, data to 44.2", BurnDisc::DataSideOf(kDiscDvdPlusR, kStatusComplete, 44.2),
       44.2, 44.2, 44.2, 44.2 + kRecordedMargin},
      {"unfinished DVD+R", BurnDisc::DataSideOf(kDiscDvdPlusR, kStatusIncomplete, 40.0), 40.0, 40.0,
       40.0, 25.0},
      {"blank DVD-R", BurnDisc::DataSideOf(kDiscDvdR, kStatusBlank, 0.0), 0.0, 25.0, 25.0, 25.0},
      {"a label side in Rimtone mode", BurnDisc::DataSideOf(kDiscUnknown, kStatusOther, 0.0), 0.0,
       25.0, 25.0, 25.0},
      {"twr render --disc dvd-r", BurnDisc::AssumedDataSide(kDiscDvdR), 36.0, 36.0, 36.0, 36.1},
      {"kind not known", BurnDisc::DataSide(33.3), 33.3, 33.3, 33.3, 25.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(DataAreaEnd(c.disc), c.dataEnd);
    EXPECT_DOUBLE_EQ(LowestInnerRadius(c.disc), c.lowest);
    EXPECT_DOUBLE_EQ(BandInnerOn(c.disc, 25.0), c.raised);
    EXPECT_DOUBLE_EQ(RimtoneInner(c.disc, 25.0), c.suggest);
    // An inner radius already beyond stays.
    EXPECT_EQ(BandInnerOn(c.disc, 50.0), 50.0);
    EXPECT_EQ(RimtoneInner(c.disc, 50.0), 50.0);
    // The lowest inner radius is always a legal start for the disc check.
    EXPECT_LE(DataAreaEnd(c.disc), LowestInnerRadius(c.disc));
  }
  EXPECT_TRUE(RimtoneAllowed(kDiscDvdR));
  EXPECT_TRUE(RimtoneAllowed(kDiscDvdPlusR));
  for (std::uint8_t kind : {kDiscNone, kDiscCdR, kDiscDvdRw, kDiscDvdPlusRw, kDiscUnknown})
    EXPECT_FALSE(RimtoneAllowed(kind)) << int(kind);
}

TEST(BurningArea, AnAreaIsOrderedWithinTheLimitsAndShowsTheMessageWhenRefused) {
  const double lowest = LowestInnerRadius(BurnDisc::LabelSide());
  EXPECT_TRUE(IsBurningAreaValid(25.0, 58.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(24.9, 58.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(25.0, 58.1, lowest));
  EXPECT_FALSE(IsBurningAreaValid(40.0, 40.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(std::nan(""), 50.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(
      38.0, 50.0, LowestInnerRadius(BurnDisc::DataSideOf(kDiscDvdR, kStatusComplete, 38.1))));

  test::RecordingMessages messages;
  EXPECT_TRUE(CheckBurningArea(30, 50, 25, messages));
  EXPECT_TRUE(messages.Records().empty());
  EXPECT_FALSE(CheckBurningArea(50, 30, 25, messages));
  ASSERT_EQ(messages.Records().size(), 1u);
  EXPECT_EQ(messages.Last(), "Input correct burning area.");
  EXPECT_EQ(messages.Records()[0].icon, MessageIcon::Error);
}

}  // namespace
}  // namespace twr
