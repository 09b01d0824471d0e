// The virtual drive's burn side on its own: fault parsing, where it accepts
// writes, the data-area guard, the capture and the etched picture; and a
// pile of discs, each with its own picture.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QImage>

#include <chrono>
#include <filesystem>
#include <vector>

#include "burn/BurnTestDrive.h"
#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualBurnFaults.h"
#include "drive/virtual/VirtualBurnSide.h"
#include "drive/virtual/VirtualDrive.h"

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

// Discs=3: each eject takes the disc away and the next fresh one comes in,
// unmarked, with its own picture; after the third the tray stays empty. A
// new run starts a fresh pile, whatever the marks an earlier one kept.
TEST(VirtualBurnSideTest, PileOfDiscsEachWithItsOwnPicture) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / ("twr-pile-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  VirtualDriveConfig config;
  config.disc = "label";
  config.reloadDelaySeconds = 0;
  config.discs = 3;
  config.burn.etchedPath = (dir / "etched.png").string();
  EXPECT_EQ(VirtualPileEtchedPath(config.burn.etchedPath, 2), (dir / "etched-2.png").string());
  EXPECT_EQ(VirtualPileEtchedPath("a.b/etched", 3), "a.b/etched-3");

  // One fully marked revolution at `radius` mm (none at 0), then the disc out.
  auto burnAndEject = [](VirtualDrive& drive, CELDevice& device, double radius) {
    if (radius > 0) {
      ASSERT_EQ(device.WriteModePage(ArmedPage(true, 1).data()), 1);
      std::fill(device.WriteArea(), device.WriteArea() + 15 * 2448, 0x4A);
      std::uint8_t sense[3];
      const auto start = static_cast<std::uint32_t>(AddressOfRadius(radius));
      for (int n = 1; n <= 9; ++n)
        ASSERT_EQ(device.Write12(start + 15 * n, 15 * 2448, 15, sense), 1);
      ASSERT_EQ(device.SynchronizeCache(), 1);
      ASSERT_EQ(device.WriteModePage(ArmedPage(false, 1).data()), 1);
    }
    EXPECT_FALSE(drive.TrayEmpty());
    device.StartStopUnit(0);
  };
  const int c = kEtchedPictureSize / 2;
  auto grey = [&](const fs::path& picture, double radius) {
    const QImage image(QString::fromStdString(picture.string()));
    return image.isNull()
               ? -1
               : qGray(image.pixel(c - static_cast<int>(radius * kEtchedPixelsPerMm), c));
  };

  {
    auto drive = std::make_shared<VirtualDrive>(config);
    CELDevice device;
    device.AttachTransport(drive);
    EXPECT_EQ(drive->PileDisc(), 1);
    burnAndEject(*drive, device, 30.0);
    EXPECT_EQ(drive->PileDisc(), 2);
    burnAndEject(*drive, device, 45.0);
    burnAndEject(*drive, device, 0.0);
    // The pile is used up: no disc comes back, not even when asked to load.
    EXPECT_EQ(drive->PileDisc(), 0);
    EXPECT_TRUE(drive->TrayEmpty());
    EXPECT_EQ(device.TestUnitReady(), 0);
    std::uint8_t load[6] = {kOpStartStopUnit, 0, 0, 0, 0x03, 0};
    drive->Execute(load, ScsiDirection::None, {});
    EXPECT_TRUE(drive->TrayEmpty());
  }
  EXPECT_LT(grey(dir / "etched.png", 30.0), 120);
  EXPECT_GT(grey(dir / "etched.png", 45.0), 180);
  EXPECT_GT(grey(dir / "etched-2.png", 30.0), 180);  // fresh: no marks of disc 1
  EXPECT_LT(grey(dir / "etched-2.png", 45.0), 120);
  EXPECT_FALSE(fs::exists(dir / "etched-3.png"));  // nothing was burned on disc 3

  // The next run's first disc is fresh too, though disc 1's marks were kept.
  {
    auto drive = std::make_shared<VirtualDrive>(config);
    CELDevice device;
    device.AttachTransport(drive);
    burnAndEject(*drive, device, 45.0);
  }
  EXPECT_GT(grey(dir / "etched.png", 30.0), 180);
  EXPECT_LT(grey(dir / "etched.png", 45.0), 120);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace twr
