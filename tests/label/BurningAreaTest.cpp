// The burning-area check of the configuration dialog.
#include <gtest/gtest.h>

#include <cmath>

#include "common/RecordingMessages.h"
#include "label/BurningArea.h"

namespace twr {
namespace {

TEST(BurningArea, AcceptsOnlyAnOrderedAreaWithinTheLimits) {
  const double lowest = LowestInnerRadius(false, 40.0);
  EXPECT_EQ(lowest, 25.0);
  EXPECT_TRUE(IsBurningAreaValid(25.0, 58.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(24.9, 58.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(25.0, 58.1, lowest));
  EXPECT_FALSE(IsBurningAreaValid(40.0, 40.0, lowest));
  EXPECT_FALSE(IsBurningAreaValid(std::nan(""), 50.0, lowest));
}

TEST(BurningArea, RimtoneUsesTheRecordedRadius) {
  EXPECT_TRUE(IsBurningAreaValid(10.0, 20.0, LowestInnerRadius(true, 0.0)));
  EXPECT_FALSE(IsBurningAreaValid(38.0, 50.0, LowestInnerRadius(true, 38.1)));
}

TEST(BurningArea, RefusalShowsTheMessage) {
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
