// The virtual drive's burn side on its own: fault parsing, where it accepts
// writes, the data-area guard, the capture and the etched picture.
#include <gtest/gtest.h>
#include <QImage>

#include <chrono>
#include <vector>

#include "burn/BurnTestDrive.h"
#include "common/TempDir.h"
#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualBurnFaults.h"
#include "drive/virtual/VirtualBurnSide.h"

namespace twr {
namespace {

TEST(VirtualBurnFaultsTest, ParsesAndIgnoresMalformedItems) {
  const auto faults = ParseVirtualBurnFaults(
      "busy:3:2, streaming:7,error:9:05/21/00,notready,gone:40,"
      "busy:x:1,error:2:zz/00/00,streaming,bogus:1,gone:-3,,error:4:3/c/9,"
      "busy:5:forever,busy:6:always");
  ASSERT_EQ(faults.size(), 7u);
  EXPECT_EQ(faults[0].kind, VirtualBurnFault::Busy);
  EXPECT_EQ(faults[0].write, 3);
  EXPECT_EQ(faults[0].times, 2);
  EXPECT_EQ(faults[1].kind, VirtualBurnFault::Streaming);
  EXPECT_EQ(faults[2].key, 0x05);
  EXPECT_EQ(faults[2].asc, 0x21);
  EXPECT_EQ(faults[3].kind, VirtualBurnFault::NotReady);
  EXPECT_EQ(faults[4].kind, VirtualBurnFault::Gone);
  EXPECT_EQ(faults[4].write, 40);
  EXPECT_EQ(faults[5].asc, 0x0C);
  EXPECT_EQ(faults[6].kind, VirtualBurnFault::Busy);
  EXPECT_EQ(faults[6].write, 5);
  EXPECT_TRUE(faults[6].endless);
  EXPECT_FALSE(faults[0].endless);
}

// The example page with speed entry 3 (4500, 45) as the current one.
std::vector<std::uint8_t> ArmedPage(bool flag, unsigned passes = 11) {
  ElsPage page = test::ExamplePage();
  const std::size_t entry = ElsPage::EntryOffset(3);
  for (std::size_t b = 0; b < ElsPage::kFractionSize; ++b) {
    page.SetU8(ElsPage::kOffCurrentRotation + b, page.U8(entry + ElsPage::kEntryRotation + b));
    page.SetU8(ElsPage::kOffCurrentSpeed + b, page.U8(entry + ElsPage::kEntrySpeed + b));
  }
  page.SetU16(ElsPage::kOffStepsPerFeed, passes);
  page.SetU8(ElsPage::kOffLabelWriting, flag ? 1 : 0);
  return {page.Bytes().begin(), page.Bytes().end()};
}

TEST(VirtualBurnSideTest, AcceptsOnlyABurnsWrites) {
  VirtualBurnSide side({});
  VirtualDiscView disc{"label", 0};
  std::vector<std::uint8_t> data(15 * 2448, 0x4A);
  SenseTriple sense;
  EXPECT_FALSE(side.Write(1000, 15, data, disc, sense));  // flag not set
  EXPECT_EQ(sense.asc, 0x2C);
  side.PageWritten(ArmedPage(true), disc);
  EXPECT_TRUE(side.Write(1015, 15, data, disc, sense));   // write 1 of a burn from 1000
  EXPECT_FALSE(side.Write(1015, 15, data, disc, sense));  // backwards
  EXPECT_FALSE(side.Write(1037, 15, data, disc, sense));  // off the write grid
  EXPECT_TRUE(side.Write(1030, 15, data, disc, sense));
  EXPECT_TRUE(side.Write(1075, 15, data, disc, sense));  // a skip forward is allowed
  std::vector<std::uint8_t> big(215 * 2448, 0x4A);
  EXPECT_FALSE(side.Write(1090, 215, big, disc, sense));  // above Bytpw
  EXPECT_EQ(sense.asc, 0x24);
  side.PageWritten(ArmedPage(false), disc);
  EXPECT_FALSE(side.Write(1090, 15, data, disc, sense));
  const auto trace = side.Trace();
  ASSERT_EQ(trace.size(), 8u);
  EXPECT_EQ(trace[1].number, 1);
  EXPECT_EQ(trace[4].number, 2);
  EXPECT_EQ(trace[5].number, 5);
}

TEST(VirtualBurnSideTest, NeverWritesIntoRecordedData) {
  VirtualBurnSide side({});
  // 1,000,000 recorded blocks end at about 42.3 mm.
  VirtualDiscView disc{"dvd+r", 1000000};
  std::vector<std::uint8_t> data(15 * 2448, 0x4A);
  SenseTriple sense;
  side.PageWritten(ArmedPage(true), disc);
  const auto start40 = static_cast<std::uint32_t>(AddressOfRadius(40.0));
  EXPECT_FALSE(side.Write(start40 + 15, 15, data, disc, sense));
  EXPECT_EQ(sense.key, 0x05);
  EXPECT_EQ(sense.asc, 0x21);
  side.PageWritten(ArmedPage(true), disc);  // a new burn, further out
  const auto start44 = static_cast<std::uint32_t>(AddressOfRadius(44.0));
  EXPECT_TRUE(side.Write(start44 + 15, 15, data, disc, sense));
}

TEST(VirtualBurnSideTest, PacedDriveAnswersLossOfStreamingWhenItRunsDry) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point now{};
  VirtualBurnConfig config;
  config.pace = 1.0;  // 45 x 75 = 3375 blocks a second
  config.clock = [&now] { return now; };
  VirtualBurnSide side(config);
  VirtualDiscView disc{"label", 0};
  side.PageWritten(ArmedPage(true), disc);
  std::vector<std::uint8_t> data(15 * 2448, 0x4A);
  SenseTriple sense;
  ASSERT_TRUE(side.Write(1015, 15, data, disc, sense));  // the clock starts
  now += std::chrono::milliseconds(4);                   // 13.5 of 15 blocks played
  ASSERT_TRUE(side.Write(1030, 15, data, disc, sense));
  now += std::chrono::milliseconds(10);  // 47 played, 30 sent: dry
  EXPECT_FALSE(side.Write(1045, 15, data, disc, sense));
  EXPECT_EQ(sense.key, 0x03);
  EXPECT_EQ(sense.asc, 0x0C);
  EXPECT_EQ(sense.ascq, 0x09);
  // The next write starts the laser again.
  EXPECT_TRUE(side.Write(1045, 15, data, disc, sense));
  now += std::chrono::milliseconds(4);
  EXPECT_TRUE(side.Write(1060, 15, data, disc, sense));
}

TEST(VirtualBurnSideTest, EtchedPictureOfAFullyMarkedRevolution) {
  VirtualBurnConfig config;
  const test::TempDir temp("side");
  config.etchedPath = temp.File("etched-side.png");
  config.keepMarks = false;  // one burn's marks, whatever ran before
  VirtualBurnSide side(config);
  VirtualDiscView disc{"label", 0};
  side.PageWritten(ArmedPage(true, 1), disc);
  // All-mark blocks (0x4A data) over 3 revolutions of one pass each.
  std::vector<std::uint8_t> data(15 * 2448, 0x4A);
  const std::uint32_t start = 463262;  // 30 mm
  SenseTriple sense;
  for (int n = 1; n <= 9; ++n) ASSERT_TRUE(side.Write(start + 15 * n, 15, data, disc, sense));
  ASSERT_TRUE(side.SynchronizeCache(disc, sense));
  EXPECT_EQ(side.PicturesWritten(), 1);
  QImage picture(QString::fromStdString(config.etchedPath));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.width(), kEtchedPictureSize);
  // The burned circle at 30 mm, left of the centre, is dark; the surface
  // at 45 mm is light; the centre hole is the background.
  const int c = kEtchedPictureSize / 2;
  // The offset from the centre is truncated as the encoder truncates it.
  const int x30 = c - static_cast<int>(30.0 * kEtchedPixelsPerMm);
  EXPECT_LT(qGray(picture.pixel(x30, c)), 120);
  EXPECT_GT(qGray(picture.pixel(static_cast<int>(c - 45.0 * kEtchedPixelsPerMm), c)), 180);
  EXPECT_EQ(qGray(picture.pixel(c, c)), 255);
  EXPECT_FALSE(side.SurfaceDarkness("label").empty());
}

}  // namespace
}  // namespace twr
