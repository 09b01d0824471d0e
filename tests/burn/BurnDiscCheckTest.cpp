// The disc check before a burn, against the virtual drive's discs: what may
// be marked, what is asked and what is refused with which message.
#include <gtest/gtest.h>

#include "burn/BurnSequence.h"
#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

constexpr const char* kBlank = "Disc is blank. You must not write data afterwards.";
constexpr const char* kIncomplete = "Disc is incomplete. Not support burning.";
constexpr const char* kOverwrite = "You must not overwrite data area.";
constexpr const char* kUnknown = "Disc is unknown. Not support burning.";

// Recorded sizes and the outer radius GetRecordedOuterRadius reports for them.
constexpr std::uint32_t kDataTo28mm = 130000;
constexpr std::uint32_t kDataTo41mm = 845000;

struct Check {
  bool result;
  std::vector<test::RecordingMessages::Record> messages;
};

class BurnDiscCheckTest : public ::testing::Test {
 protected:
  Check Run(const std::string& disc, const std::string& status, double inner,
            std::uint32_t recorded = 0, bool answer = true) {
    VirtualDriveConfig config;
    config.disc = disc;
    config.status = status;
    config.recordedBlocks = recorded;
    config.reloadDelaySeconds = 0;
    CELDevice device;
    device.AttachTransport(std::make_shared<VirtualDrive>(config));
    test::RecordingMessages messages(answer);
    BurnSequence sequence(device, messages);
    lastRadius_ = device.GetRecordedOuterRadius();
    const bool result = sequence.CheckDisc(inner);
    return {result, messages.Records()};
  }
  double lastRadius_ = 0.0;
};

TEST_F(BurnDiscCheckTest, BlankRecordableAsksBeforeMarking) {
  for (const char* kind : {"dvd-r", "dvd+r"}) {
    SCOPED_TRACE(kind);
    for (bool yes : {true, false}) {
      const Check c = Run(kind, "blank", 40.0, 0, yes);
      EXPECT_EQ(c.result, yes);
      ASSERT_EQ(c.messages.size(), 1u);
      EXPECT_EQ(c.messages[0].text, kBlank);
      EXPECT_TRUE(c.messages[0].question);
      EXPECT_EQ(c.messages[0].icon, MessageIcon::Warning);
    }
  }
}

TEST_F(BurnDiscCheckTest, IncompleteRecordableIsRefused) {
  for (const char* kind : {"dvd-r", "dvd+r"}) {
    SCOPED_TRACE(kind);
    const Check c = Run(kind, "incomplete", 50.0);
    EXPECT_FALSE(c.result);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].text, kIncomplete);
    EXPECT_EQ(c.messages[0].icon, MessageIcon::Error);
  }
}

TEST_F(BurnDiscCheckTest, CompleteDiscKeepsTheBandOffItsData) {
  // DVD+R with data up to 28 mm: the floor of 31 mm decides.
  Check c = Run("dvd+r", "complete", 31.0, kDataTo28mm);
  ASSERT_DOUBLE_EQ(lastRadius_, 28.0);
  EXPECT_TRUE(c.result);
  EXPECT_TRUE(c.messages.empty());
  c = Run("dvd+r", "complete", 30.9, kDataTo28mm);
  EXPECT_FALSE(c.result);
  ASSERT_EQ(c.messages.size(), 1u);
  EXPECT_EQ(c.messages[0].text, kOverwrite);
  EXPECT_EQ(c.messages[0].icon, MessageIcon::Error);

  // DVD-R with the same data: the floor is 36 mm.
  EXPECT_TRUE(Run("dvd-r", "complete", 36.0, kDataTo28mm).result);
  c = Run("dvd-r", "complete", 35.9, kDataTo28mm);
  EXPECT_FALSE(c.result);
  ASSERT_EQ(c.messages.size(), 1u);
  EXPECT_EQ(c.messages[0].text, kOverwrite);

  // Data beyond the floor: the recorded radius decides, on both kinds.
  for (const char* kind : {"dvd-r", "dvd+r"}) {
    SCOPED_TRACE(kind);
    EXPECT_TRUE(Run(kind, "complete", 41.0, kDataTo41mm).result);
    ASSERT_DOUBLE_EQ(lastRadius_, 41.0);
    c = Run(kind, "complete", 40.9, kDataTo41mm);
    EXPECT_FALSE(c.result);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].text, kOverwrite);
  }
}

TEST_F(BurnDiscCheckTest, LabelSideUnknownAndOtherKinds) {
  Check c = Run("label", "complete", 25.0);
  EXPECT_TRUE(c.result);
  EXPECT_TRUE(c.messages.empty());

  c = Run("unknown", "complete", 25.0);
  EXPECT_FALSE(c.result);
  ASSERT_EQ(c.messages.size(), 1u);
  EXPECT_EQ(c.messages[0].text, kUnknown);
  EXPECT_EQ(c.messages[0].icon, MessageIcon::Error);

  for (const char* kind : {"dvd-rom", "dvd+rw", "cd-r"}) {
    SCOPED_TRACE(kind);
    c = Run(kind, "complete", 50.0);
    EXPECT_FALSE(c.result);
    EXPECT_TRUE(c.messages.empty());
  }
}

}  // namespace
}  // namespace twr
