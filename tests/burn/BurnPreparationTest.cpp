// Burn preparation on the example ELS page: speed entry, quality steps,
// required time, start address, blocks per write and the page sent back.
#include <gtest/gtest.h>

#include "burn/BurnJob.h"
#include "burn/BurnTestDrive.h"
#include "burn/DotEncoder.h"
#include "burn/ElsPage.h"
#include "common/RecordingMessages.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"

namespace twr {
namespace {

// Speed entry 3 of the example page (4500 rpm at speed 45).
constexpr std::size_t kEntry3Rotation = ElsPage::EntryOffset(3) + ElsPage::kEntryRotation;
constexpr std::size_t kEntry3Speed = ElsPage::EntryOffset(3) + ElsPage::kEntrySpeed;

class BurnPreparationTest : public ::testing::Test {
 protected:
  BurnPreparationTest()
      : drive_(std::make_shared<test::BurnTestDrive>()), job_(device_, messages_) {
    device_.AttachTransport(drive_);
  }
  CELDevice device_;
  test::RecordingMessages messages_;
  std::shared_ptr<test::BurnTestDrive> drive_;
  BurnJob job_;
};

TEST_F(BurnPreparationTest, ChoosesFirstEntryAtMost4500AndCopiesIt) {
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_EQ(job_.Params().rotation, 4500.0);  // exactly 4500 qualifies
  EXPECT_EQ(job_.Params().speed, 45.0);
  EXPECT_EQ(job_.Params().halfSamples, 4410);
  EXPECT_EQ(job_.Params().samples, 8820);
  const ElsPage& page = job_.Page();
  EXPECT_EQ(page.U16(44), 4500u);
  EXPECT_EQ(page.U16(46), 1u);
  EXPECT_EQ(page.U16(50), 45u);
  EXPECT_EQ(page.U16(52), 1u);
  EXPECT_EQ(page.U8(14), 0x0Fu);  // high bits cleared, selector kept
}

TEST_F(BurnPreparationTest, NoUsableEntryFailsEverything) {
  drive_->Page().SetU8(ElsPage::kOffEntryCount, 0);
  EXPECT_FALSE(job_.ChooseSpeedEntry());
  EXPECT_EQ(job_.EstimateRequiredTime(25, 58), 0.0);

  drive_->Page() = test::ExamplePage();
  drive_->Page().SetU8(ElsPage::kOffEntryCount, 3);  // 9000, 7875, 6750 only
  EXPECT_FALSE(job_.ChooseSpeedEntry());
  job_.SetBand(25, 58);
  EXPECT_FALSE(job_.StartBurn());

  // An entry with a zero denominator is skipped.
  drive_->Page() = test::ExamplePage();
  drive_->Page().SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 0);
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_EQ(job_.Params().rotation, 2250.0);

  // So is an entry whose samples per revolution would be absurd (a rotation
  // of 1/65535 rpm, or 0) or less than one block.
  for (const auto& [rotation, denominator] : {std::pair{1u, 65535u}, std::pair{0u, 1u}}) {
    drive_->Page() = test::ExamplePage();
    drive_->Page().SetU16(kEntry3Rotation, rotation);
    drive_->Page().SetU16(kEntry3Rotation + ElsPage::kFractionDenominator, denominator);
    ASSERT_TRUE(job_.ChooseSpeedEntry());
    EXPECT_EQ(job_.Params().rotation, 2250.0);
    EXPECT_EQ(job_.Params().halfSamples, 8820);
  }
  drive_->Page() = test::ExamplePage();
  drive_->Page().SetU16(kEntry3Speed, 1);  // speed 1/1: 98 half samples
  drive_->Page().SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 1);
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_EQ(job_.Params().halfSamples, 98);
  drive_->Page().SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 2);  // speed 1/2: 49, skipped
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_EQ(job_.Params().rotation, 2250.0);
}

TEST_F(BurnPreparationTest, QualityStepsOfTheExamplePage) {
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  ASSERT_TRUE(job_.ChooseQualitySteps());
  EXPECT_EQ(job_.Params().draftSteps, 11);
  EXPECT_EQ(job_.Params().normalSteps, 25);
  EXPECT_EQ(job_.Params().highSteps, 20);  // no i reaches 25 minutes: kept

  const double minutes = job_.EstimateRequiredTime(25.0, 58.0);
  EXPECT_EQ(job_.Params().steps, 11);
  EXPECT_NEAR(minutes, 6.79, 1e-9);
  EXPECT_EQ(job_.Params().innerRadius, 25.0);  // restored after the estimate
}

TEST_F(BurnPreparationTest, FeedStepZeroIsIllegal) {
  drive_->Page().SetU16(ElsPage::kOffFeedStepDenominator, 0);
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_FALSE(job_.ChooseQualitySteps());
  EXPECT_FALSE(job_.ComputeRequiredTime());
  EXPECT_EQ(messages_.Last(), "Illegal parameter in ELS Page (FeedStepLength)");
}

// The selected divisor (bits 2-3 of byte 14 pick 58 or 60) being 0 is an
// illegal page too: no burn starts, and the page is never armed.
TEST_F(BurnPreparationTest, ZeroFeedDivisorIsIllegal) {
  drive_->Page().SetU16(ElsPage::kOffDivisorB, 0);  // selector 0x0F: divisor B
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  EXPECT_FALSE(job_.ChooseQualitySteps());
  EXPECT_EQ(job_.EstimateRequiredTime(25.0, 58.0), 0.0);
  EXPECT_FALSE(job_.StartBurn());
  const auto records = messages_.Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back().text, "Illegal parameter in ELS Page (FeedStepLength)");
  EXPECT_NE(records.back().detail.find("divisor"), std::string::npos);
  EXPECT_EQ(records.back().icon, MessageIcon::Error);
  for (const auto& page : drive_->WrittenPages()) EXPECT_EQ(page[ElsPage::kOffLabelWriting], 0);
  EXPECT_TRUE(drive_->Side().Trace().empty());
}

TEST_F(BurnPreparationTest, RequiredTimeText) {
  ASSERT_TRUE(job_.ChooseSpeedEntry());
  job_.SetSteps(11);
  // 24750 revolutions at 4500 rpm: 5.5 minutes.
  job_.SetBand(25.0, 25.0 + 24750.5 * (11.875 / 11) / 1000.0);
  ASSERT_TRUE(job_.ComputeRequiredTime());
  EXPECT_EQ(job_.Params().totalRevolutions, 24750);
  EXPECT_NEAR(job_.Params().requiredTime, 5.5, 1e-9);
  EXPECT_EQ(job_.Params().timeText, "05:30");
}

TEST(BurnAddressTest, RadiusToAddress) {
  std::int32_t address = 0;
  std::string message;
  ASSERT_TRUE(BurnJob::RadiusToAddress(24.0, 58.0, address, message));
  EXPECT_EQ(address, 196608);
  ASSERT_TRUE(BurnJob::RadiusToAddress(25.0, 58.0, address, message));
  EXPECT_EQ(address, 236935);
  ASSERT_TRUE(BurnJob::RadiusToAddress(30.0, 58.0, address, message));
  EXPECT_EQ(address, 463262);
  EXPECT_TRUE(BurnJob::RadiusToAddress(22.0, 59.0, address, message));
  EXPECT_TRUE(message.empty());
  for (auto [inner, outer] : {std::pair{21.9, 58.0}, {25.0, 59.1}, {30.0, 30.0}, {40.0, 30.0}}) {
    EXPECT_FALSE(BurnJob::RadiusToAddress(inner, outer, address, message)) << inner << " " << outer;
    EXPECT_EQ(message, "Input Radius Error.");
  }
}

TEST_F(BurnPreparationTest, BlocksPerWrite) {
  job_.ReadElsPage();  // Bytpw 214: at most 26
  EXPECT_EQ(job_.BlocksPerWrite(45), 15);
  EXPECT_EQ(job_.Params().writesPerRevolution, 3);
  EXPECT_EQ(job_.BlocksPerWrite(20), 20);
  EXPECT_EQ(job_.Params().writesPerRevolution, 1);
  EXPECT_EQ(job_.BlocksPerWrite(53), 1);  // a prime above the limit: one block each
  EXPECT_EQ(job_.Params().writesPerRevolution, 53);
  job_.Page().SetU32(ElsPage::kOffBytpw, 10);
  EXPECT_EQ(job_.BlocksPerWrite(45), 9);
  EXPECT_EQ(job_.Params().writesPerRevolution, 5);
  job_.Page().SetU32(ElsPage::kOffBytpw, 0);  // like a value above 26
  EXPECT_EQ(job_.BlocksPerWrite(45), 15);
}

TEST_F(BurnPreparationTest, PrepareBurnSendsTheArmedPage) {
  job_.SetBand(25.0, 58.0);
  job_.SetSteps(11);
  ASSERT_TRUE(job_.PrepareBurn());
  const auto pages = drive_->WrittenPages();
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 200u);
  EXPECT_EQ(pages[0][ElsPage::kOffLabelWriting], 1);
  EXPECT_EQ(GetBe16(&pages[0][ElsPage::kOffStepsPerFeed]), 11);
  EXPECT_EQ(pages[0][8], 0xAD);  // page code byte as read
  EXPECT_EQ(job_.Params().startAddress, 236935);
  EXPECT_EQ(job_.Params().blocksPerWrite, 15);
  EXPECT_EQ(job_.Params().writesPerRevolution, 3);
  EXPECT_NEAR(job_.Params().feedStep, 11.875, 1e-12);
  EXPECT_DOUBLE_EQ(job_.Params().toneGamma, ToneGamma(11.875 / 11));
  EXPECT_EQ(job_.Params().timeText, "06:47");
}

TEST_F(BurnPreparationTest, FailedPreparationDisarmsTheDrive) {
  job_.SetBand(20.0, 58.0);  // below 22 mm: radius error after the page went out
  job_.SetSteps(11);
  EXPECT_FALSE(job_.StartBurn());
  EXPECT_EQ(messages_.Last(), "Input Radius Error.");
  const auto pages = drive_->WrittenPages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0][ElsPage::kOffLabelWriting], 1);
  EXPECT_EQ(pages[1][ElsPage::kOffLabelWriting], 0);
  EXPECT_FALSE(drive_->Prevented());
  EXPECT_FALSE(job_.Burning());
}

TEST(ToneGammaTest, Values) {
  EXPECT_DOUBLE_EQ(ToneGamma(1.0), 1.5);
  EXPECT_DOUBLE_EQ(ToneGamma(11.875 / 11), 146 * 0.01);
  EXPECT_GT(ToneGamma(0.5), ToneGamma(1.0));  // finer advance, larger gamma
  EXPECT_DOUBLE_EQ(ToneGamma(25.0), 0.01);    // beyond e^3: the flattest usable curve
}

}  // namespace
}  // namespace twr
