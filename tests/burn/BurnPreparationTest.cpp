// The burn plan on the example ELS page and pages like it: speed entry,
// quality steps, required time, start address, blocks per write and the
// page sent back; and the preparation of the burn sequence around it.
#include <gtest/gtest.h>

#include "burn/BurnPlan.h"
#include "burn/BurnSequence.h"
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

BurnPlan PlanOf(const ElsPage& page, double inner = 25.0, double outer = 58.0,
                BurnQuality quality = BurnQuality::Draft, std::int32_t steps = 0) {
  return PlanBurn(page, {{inner, outer}, BurnDisc::LabelSide(), quality, steps});
}

class BurnPreparationTest : public ::testing::Test {
 protected:
  BurnPreparationTest()
      : drive_(std::make_shared<test::BurnTestDrive>()), sequence_(device_, messages_) {
    device_.AttachTransport(drive_);
  }
  CELDevice device_;
  test::RecordingMessages messages_;
  std::shared_ptr<test::BurnTestDrive> drive_;
  BurnSequence sequence_;
};

TEST(BurnPlanTest, ChoosesFirstEntryAtMost4500AndCopiesIt) {
  const ElsPage read = test::ExamplePage();
  const BurnPlan plan = PlanOf(read);
  EXPECT_EQ(plan.entry.rotation, 4500.0);  // exactly 4500 qualifies
  EXPECT_EQ(plan.entry.speed, 45.0);
  EXPECT_EQ(plan.entry.halfSamples, 4410);
  EXPECT_EQ(plan.entry.samples, 8820);
  const ElsPage page = plan.ArmedPage(read);
  EXPECT_EQ(page.U16(44), 4500u);
  EXPECT_EQ(page.U16(46), 1u);
  EXPECT_EQ(page.U16(50), 45u);
  EXPECT_EQ(page.U16(52), 1u);
  EXPECT_EQ(page.U8(14), 0x0Fu);  // high bits cleared, selector kept
}

TEST_F(BurnPreparationTest, NoUsableEntryFailsEverything) {
  ElsPage page = test::ExamplePage();
  page.SetU8(ElsPage::kOffEntryCount, 0);
  EXPECT_TRUE(PlanOf(page).Fails(PlanCheck::NoSpeedEntry));
  EXPECT_EQ(PlanOf(page).requiredTime, 0.0);
  EXPECT_EQ(PlanOf(page).timeText, "00:00");

  drive_->Page() = test::ExamplePage();
  drive_->Page().SetU8(ElsPage::kOffEntryCount, 3);  // 9000, 7875, 6750 only
  EXPECT_TRUE(PlanOf(drive_->Page()).Fails(PlanCheck::NoSpeedEntry));
  EXPECT_EQ(sequence_.Start({}, QImage()), StartResult::NoSpeedEntry);
  EXPECT_TRUE(messages_.Records().empty());  // no message for it

  // An entry with a zero denominator is skipped.
  page = test::ExamplePage();
  page.SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 0);
  EXPECT_EQ(PlanOf(page).entry.rotation, 2250.0);

  // So is an entry whose samples per revolution would be absurd (a rotation
  // of 1/65535 rpm, or 0) or less than one block.
  for (const auto& [rotation, denominator] : {std::pair{1u, 65535u}, std::pair{0u, 1u}}) {
    page = test::ExamplePage();
    page.SetU16(kEntry3Rotation, rotation);
    page.SetU16(kEntry3Rotation + ElsPage::kFractionDenominator, denominator);
    EXPECT_EQ(PlanOf(page).entry.rotation, 2250.0);
    EXPECT_EQ(PlanOf(page).entry.halfSamples, 8820);
  }
  page = test::ExamplePage();
  page.SetU16(kEntry3Speed, 1);  // speed 1/1: 98 half samples
  page.SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 1);
  EXPECT_EQ(PlanOf(page).entry.halfSamples, 98);
  page.SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 2);  // speed 1/2: 49, skipped
  EXPECT_EQ(PlanOf(page).entry.rotation, 2250.0);
}

TEST_F(BurnPreparationTest, QualityStepsOfTheExamplePage) {
  const BurnPlan plan = PlanOf(test::ExamplePage());
  EXPECT_EQ(plan.qualitySteps[0], 11);
  EXPECT_EQ(plan.qualitySteps[1], 25);
  EXPECT_EQ(plan.qualitySteps[2], 20);  // no i reaches 25 minutes: kept

  // The main window's estimate: Draft for its band, read from the drive,
  // and the plan the dialog keeps is left as it was.
  sequence_.Plan({{30.0, 40.0}, {}, BurnQuality::High});
  const BurnPlan estimate = sequence_.Estimate({{25.0, 58.0}, {}, BurnQuality::Draft});
  EXPECT_EQ(estimate.steps, 11);
  EXPECT_NEAR(estimate.requiredTime, 6.79, 1e-9);
  EXPECT_EQ(sequence_.CurrentPlan().band.inner, 30.0);
  EXPECT_EQ(sequence_.CurrentPlan().steps, 20);
}

TEST_F(BurnPreparationTest, FeedStepZeroIsIllegal) {
  drive_->Page().SetU16(ElsPage::kOffFeedStepDenominator, 0);
  const BurnPlan& plan = sequence_.Plan({});
  ASSERT_EQ(plan.failures.size(), 1u);
  EXPECT_EQ(plan.failures[0].check, PlanCheck::FeedStepLength);
  EXPECT_EQ(plan.failures[0].messageId, 402);
  EXPECT_FALSE(plan.HasTime());
  EXPECT_EQ(messages_.Last(), "Illegal parameter in ELS Page (FeedStepLength)");
}

// The selected divisor (bits 2-3 of byte 14 pick 58 or 60) being 0 is an
// illegal page too: no burn starts, and the page is never armed.
TEST_F(BurnPreparationTest, ZeroFeedDivisorIsIllegal) {
  drive_->Page().SetU16(ElsPage::kOffDivisorB, 0);  // selector 0x0F: divisor B
  EXPECT_TRUE(PlanOf(drive_->Page()).Fails(PlanCheck::FeedDivisor));
  EXPECT_EQ(sequence_.Estimate({}).requiredTime, 0.0);
  EXPECT_EQ(sequence_.Start({}, QImage()), StartResult::Refused);
  const auto records = messages_.Records();
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.back().text, "Illegal parameter in ELS Page (FeedStepLength)");
  EXPECT_NE(records.back().detail.find("divisor"), std::string::npos);
  EXPECT_EQ(records.back().icon, MessageIcon::Error);
  for (const auto& page : drive_->WrittenPages()) EXPECT_EQ(page[ElsPage::kOffLabelWriting], 0);
  EXPECT_TRUE(drive_->Side().Trace().empty());
}

TEST(BurnPlanTest, RequiredTimeText) {
  // 24750 revolutions at 4500 rpm: 5.5 minutes.
  const BurnPlan plan = PlanOf(test::ExamplePage(), 25.0, 25.0 + 24750.5 * (11.875 / 11) / 1000.0,
                               BurnQuality::Draft, 11);
  EXPECT_EQ(plan.totalRevolutions, 24750);
  EXPECT_NEAR(plan.requiredTime, 5.5, 1e-9);
  EXPECT_EQ(plan.timeText, "05:30");
}

TEST(BurnPlanTest, RadiusToAddress) {
  const ElsPage page = test::ExamplePage();
  EXPECT_EQ(PlanOf(page, 24.0, 58.0).startAddress, 196608);
  EXPECT_EQ(PlanOf(page, 25.0, 58.0).startAddress, 236935);
  EXPECT_EQ(PlanOf(page, 30.0, 58.0).startAddress, 463262);
  EXPECT_FALSE(PlanOf(page, 22.0, 59.0).Fails(PlanCheck::BandRadius));
  for (auto [inner, outer] : {std::pair{21.9, 58.0}, {25.0, 59.1}, {30.0, 30.0}, {40.0, 30.0}}) {
    const BurnPlan plan = PlanOf(page, inner, outer);
    EXPECT_TRUE(plan.Fails(PlanCheck::BandRadius)) << inner << " " << outer;
    EXPECT_FALSE(plan.Startable());
    EXPECT_EQ(PlanFailureText({PlanCheck::BandRadius, 0}), "Input Radius Error.");
  }
}

TEST(BurnPlanTest, BlocksPerWrite) {
  // Blocks per revolution = speed at 4500 rpm; Bytpw 214 allows at most 26.
  auto plan = [](unsigned speed, std::uint32_t bytpw) {
    ElsPage page = test::ExamplePage();
    page.SetU16(kEntry3Speed, speed);
    page.SetU32(ElsPage::kOffBytpw, bytpw);
    const BurnPlan p = PlanOf(page);
    return std::pair{p.blocksPerWrite, p.writesPerRevolution};
  };
  EXPECT_EQ(plan(45, 214), (std::pair{15, 3}));
  EXPECT_EQ(plan(20, 214), (std::pair{20, 1}));
  EXPECT_EQ(plan(53, 214), (std::pair{1, 53}));  // a prime above the limit: one block each
  EXPECT_EQ(plan(45, 10), (std::pair{9, 5}));
  EXPECT_EQ(plan(45, 0), (std::pair{15, 3}));  // like a value above 26
}

TEST_F(BurnPreparationTest, StartSendsTheArmedPage) {
  // No label: the burn ends at once, after the page went out armed.
  ASSERT_EQ(sequence_.Start({{25.0, 58.0}, {}, BurnQuality::Draft, 11}, QImage()),
            StartResult::Started);
  sequence_.Wait();
  const auto pages = drive_->WrittenPages();
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 200u);
  EXPECT_EQ(pages[0][ElsPage::kOffLabelWriting], 1);
  EXPECT_EQ(GetBe16(&pages[0][ElsPage::kOffStepsPerFeed]), 11);
  EXPECT_EQ(pages[0][8], 0xAD);  // page code byte as read
  EXPECT_EQ(pages[1][ElsPage::kOffLabelWriting], 0);
  const BurnPlan& plan = sequence_.CurrentPlan();
  EXPECT_EQ(plan.startAddress, 236935);
  EXPECT_EQ(plan.blocksPerWrite, 15);
  EXPECT_EQ(plan.writesPerRevolution, 3);
  EXPECT_NEAR(plan.feedStep, 11.875, 1e-12);
  EXPECT_DOUBLE_EQ(plan.toneGamma, ToneGamma(11.875 / 11));
  EXPECT_EQ(plan.timeText, "06:47");
}

// Every check comes before the page is armed: a band out of range is
// refused with its message and the drive is left as it was.
TEST_F(BurnPreparationTest, ARefusedBandArmsNothing) {
  EXPECT_EQ(sequence_.Start({{20.0, 58.0}, {}, BurnQuality::Draft, 11}, QImage()),
            StartResult::Refused);
  EXPECT_EQ(messages_.Last(), "Input Radius Error.");
  EXPECT_TRUE(drive_->WrittenPages().empty());
  EXPECT_FALSE(drive_->Prevented());
  EXPECT_FALSE(sequence_.Burning());
}

TEST(ToneGammaTest, Values) {
  EXPECT_DOUBLE_EQ(ToneGamma(1.0), 1.5);
  EXPECT_DOUBLE_EQ(ToneGamma(11.875 / 11), 146 * 0.01);
  EXPECT_GT(ToneGamma(0.5), ToneGamma(1.0));  // finer advance, larger gamma
  EXPECT_DOUBLE_EQ(ToneGamma(25.0), 0.01);    // beyond e^3: the flattest usable curve
}

// The example page and pages like it, as drives answer them.
ElsPage PageVariant(int variant) {
  ElsPage p = test::ExamplePage();
  switch (variant) {
    case 1:  // at most 10 blocks a write
      p.SetU32(ElsPage::kOffBytpw, 10);
      break;
    case 3:  // divisor A (selector bits 2-3 clear) of 4
      p.SetU8(ElsPage::kOffSelector, 0x03);
      p.SetU16(ElsPage::kOffDivisorA, 4);
      break;
    case 4:  // entry 3 unusable: 2250 rpm
      p.SetU16(kEntry3Speed + ElsPage::kFractionDenominator, 0);
      break;
    case 9:  // a feed step of 95/4 / 8 um: High Quality found
      p.SetU16(ElsPage::kOffFeedStepDenominator, 4);
      break;
    case 11:  // 53 blocks a revolution, at most 7 a write
      p.SetU32(ElsPage::kOffBytpw, 7);
      p.SetU16(kEntry3Speed, 53);
      break;
    default:
      break;
  }
  return p;
}

// The plan's numbers against those the burn preparation gave before it had
// a plan of its own, for a table of pages, bands and qualities: the bytes a
// burn sends depend on every one of them.
TEST(BurnPlanTest, ValuesAsThePreparationGaveThem) {
  constexpr auto kDraft = BurnQuality::Draft;
  constexpr auto kNormal = BurnQuality::Normal;
  constexpr auto kHigh = BurnQuality::High;
  struct Row {
    int page;
    double inner, outer;
    BurnQuality quality;
    std::array<std::int32_t, 3> qualitySteps;
    std::int32_t steps, totalRevolutions;
    double requiredTime;
    const char* timeText;
    std::int32_t startAddress, blocksPerWrite, writesPerRevolution;
    double toneGamma;
    std::int32_t stepCount, totalBlocks, writes;
    double draftTime;  // the main window's estimate for the band
  };
  // page, band, quality, the steps of each quality, then the plan at that
  // quality: steps, revolutions, minutes and text, start address, blocks per
  // write, writes per revolution, gamma, circles, blocks, writes, Draft's minutes.
  // clang-format off
  const Row rows[] = {
    {0, 25.0, 58.0, kDraft, {11, 25, 20}, 11, 30568, 6.79, "06:47", 236935, 15, 3, 1.46, 2778, 1375110, 91673, 6.79},
    {0, 30.0, 31.0, kNormal, {11, 25, 20}, 25, 2105, 0.46, "00:27", 463262, 15, 3, 1.87, 84, 94500, 6299, 0.2},
    {0, 40.3, 58.0, kHigh, {11, 25, 20}, 20, 29810, 6.62, "06:37", 1059192, 15, 3, 1.76, 1490, 1341000, 89399, 3.64},
    {0, 22.0, 59.0, kDraft, {11, 25, 20}, 11, 34273, 7.61, "07:36", 120891, 15, 3, 1.46, 3115, 1541925, 102794, 7.61},
    {0, 57.7, 58.0, kNormal, {11, 25, 20}, 25, 631, 0.14, "00:08", 2462582, 15, 3, 1.87, 25, 28125, 1874, 0.06},
    {0, 36.0, 36.001, kHigh, {11, 25, 20}, 20, 1, 0.0, "00:00", 789172, 15, 3, 1.76, 0, 0, 0, 0.0},
    {1, 25.0, 58.0, kNormal, {11, 25, 20}, 25, 69473, 15.43, "15:25", 236935, 9, 5, 1.87, 2778, 3125250, 347249, 6.79},
    {1, 30.0, 31.0, kHigh, {11, 25, 20}, 20, 1684, 0.37, "00:22", 463262, 9, 5, 1.76, 84, 75600, 8399, 0.2},
    {1, 40.3, 58.0, kDraft, {11, 25, 20}, 11, 16395, 3.64, "03:38", 1059192, 9, 5, 1.46, 1490, 737550, 81949, 3.64},
    {1, 22.0, 59.0, kNormal, {11, 25, 20}, 25, 77894, 17.3, "17:18", 120891, 9, 5, 1.87, 3115, 3504375, 389374, 7.61},
    {1, 57.7, 58.0, kHigh, {11, 25, 20}, 20, 505, 0.11, "00:06", 2462582, 9, 5, 1.76, 25, 22500, 2499, 0.06},
    {1, 36.0, 36.001, kDraft, {11, 25, 20}, 11, 0, 0.0, "00:00", 789172, 9, 5, 1.46, 0, 0, 0, 0.0},
    {3, 25.0, 58.0, kHigh, {22, 39, 20}, 20, 27789, 6.17, "06:10", 236935, 15, 3, 1.41, 1389, 1250100, 83339, 6.79},
    {3, 30.0, 31.0, kDraft, {22, 39, 20}, 22, 926, 0.2, "00:12", 463262, 15, 3, 1.46, 42, 41580, 2771, 0.2},
    {3, 40.3, 58.0, kNormal, {22, 39, 20}, 39, 29065, 6.45, "06:27", 1059192, 15, 3, 1.74, 745, 1307475, 87164, 3.64},
    {3, 22.0, 59.0, kHigh, {22, 39, 20}, 20, 31157, 6.92, "06:55", 120891, 15, 3, 1.41, 1557, 1401300, 93419, 7.61},
    {3, 57.7, 58.0, kDraft, {22, 39, 20}, 22, 277, 0.06, "00:03", 2462582, 15, 3, 1.46, 12, 11880, 791, 0.06},
    {3, 36.0, 36.001, kNormal, {22, 39, 20}, 39, 1, 0.0, "00:00", 789172, 15, 3, 1.74, 0, 0, 0, 0.0},
    {4, 25.0, 58.0, kDraft, {5, 12, 21}, 5, 13894, 6.17, "06:10", 236935, 18, 5, 1.06, 2778, 1250100, 69449, 6.17},
    {4, 30.0, 31.0, kNormal, {5, 12, 21}, 12, 1010, 0.44, "00:26", 463262, 18, 5, 1.5, 84, 90720, 5039, 0.18},
    {4, 40.3, 58.0, kHigh, {5, 12, 21}, 21, 31301, 13.91, "13:54", 1059192, 18, 5, 1.78, 1490, 2816100, 156449, 3.31},
    {4, 22.0, 59.0, kDraft, {5, 12, 21}, 5, 15578, 6.92, "06:55", 120891, 18, 5, 1.06, 3115, 1401750, 77874, 6.92},
    {4, 57.7, 58.0, kNormal, {5, 12, 21}, 12, 303, 0.13, "00:07", 2462582, 18, 5, 1.5, 25, 27000, 1499, 0.05},
    {4, 36.0, 36.001, kHigh, {5, 12, 21}, 21, 1, 0.0, "00:00", 789172, 18, 5, 1.78, 0, 0, 0, 0.0},
    {9, 25.0, 58.0, kNormal, {5, 6, 11}, 6, 66694, 14.82, "14:49", 236935, 15, 3, 1.85, 11115, 3001050, 200069, 12.35},
    {9, 30.0, 31.0, kHigh, {5, 6, 11}, 11, 3705, 0.8200000000000001, "00:49", 463262, 15, 3, 2.15, 336, 166320, 11087, 0.37},
    {9, 40.3, 58.0, kDraft, {5, 6, 11}, 5, 29810, 6.62, "06:37", 1059192, 15, 3, 1.76, 5962, 1341450, 89429, 6.62},
    {9, 22.0, 59.0, kNormal, {5, 6, 11}, 6, 74778, 16.61, "16:36", 120891, 15, 3, 1.85, 12463, 3365010, 224333, 13.84},
    {9, 57.7, 58.0, kHigh, {5, 6, 11}, 11, 1111, 0.24, "00:14", 2462582, 15, 3, 2.15, 101, 49995, 3332, 0.11},
    {9, 36.0, 36.001, kDraft, {5, 6, 11}, 5, 1, 0.0, "00:00", 789172, 15, 3, 1.76, 0, 0, 0, 0.0},
    {11, 25.0, 58.0, kHigh, {11, 25, 20}, 20, 55578, 12.35, "12:20", 236935, 1, 53, 1.76, 2778, 2944680, 2944678, 6.79},
    {11, 30.0, 31.0, kDraft, {11, 25, 20}, 11, 926, 0.2, "00:12", 463262, 1, 53, 1.46, 84, 48972, 48970, 0.2},
    {11, 40.3, 58.0, kNormal, {11, 25, 20}, 25, 37263, 8.28, "08:16", 1059192, 1, 53, 1.87, 1490, 1974250, 1974248, 3.64},
    {11, 22.0, 59.0, kHigh, {11, 25, 20}, 20, 62315, 13.84, "13:50", 120891, 1, 53, 1.76, 3115, 3301900, 3301898, 7.61},
    {11, 57.7, 58.0, kDraft, {11, 25, 20}, 11, 277, 0.06, "00:03", 2462582, 1, 53, 1.46, 25, 14575, 14573, 0.06},
    {11, 36.0, 36.001, kNormal, {11, 25, 20}, 25, 2, 0.0, "00:00", 789172, 1, 53, 1.87, 0, 0, -2, 0.0},
    {0, 25.0, 58.0, kNormal, {11, 25, 20}, 25, 69473, 15.43, "15:25", 236935, 15, 3, 1.87, 2778, 3125250, 208349, 6.79},
    {0, 25.0, 58.0, kHigh, {11, 25, 20}, 20, 55578, 12.35, "12:20", 236935, 15, 3, 1.76, 2778, 2500200, 166679, 6.79},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "page " << r.page << ", " << r.inner << " - " << r.outer
                                    << " mm, quality " << static_cast<int>(r.quality));
    const BurnPlan p = PlanOf(PageVariant(r.page), r.inner, r.outer, r.quality);
    EXPECT_EQ(p.qualitySteps, r.qualitySteps);
    EXPECT_EQ(p.steps, r.steps);
    EXPECT_EQ(p.totalRevolutions, r.totalRevolutions);
    EXPECT_EQ(p.requiredTime, r.requiredTime);
    EXPECT_EQ(p.timeText, r.timeText);
    EXPECT_EQ(p.startAddress, r.startAddress);
    EXPECT_EQ(p.blocksPerWrite, r.blocksPerWrite);
    EXPECT_EQ(p.writesPerRevolution, r.writesPerRevolution);
    EXPECT_EQ(p.toneGamma, r.toneGamma);
    EXPECT_EQ(p.stepCount, r.stepCount);
    EXPECT_EQ(p.totalBlocks, r.totalBlocks);
    EXPECT_EQ(p.writes, r.writes);
    EXPECT_EQ(p.qualityTimes[0], r.draftTime);
    EXPECT_EQ(p.qualityTimes[static_cast<std::size_t>(r.quality)], r.requiredTime);
    EXPECT_EQ(p.Fails(PlanCheck::BandTooNarrow), r.writes <= 0);
    EXPECT_TRUE(p.Startable());
  }
}

}  // namespace
}  // namespace twr
