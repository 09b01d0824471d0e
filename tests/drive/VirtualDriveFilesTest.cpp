// The virtual drive's files: marks that add up across runs until the disc
// changes, outputs it cannot write told as warnings, FIFOs that never block
// it, and the latency of a slow drive.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QImage>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/ProfileFile.h"
#include "common/TempDir.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/DiscName.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

// One burn as the burn thread sends it: the ELS page with the label-writing
// flag and one pass, three revolutions of marks only at `radiusMm`,
// SYNCHRONIZE CACHE and the flag cleared. True when the drive took it all.
bool BurnRing(CELDevice& device, double radiusMm) {
  // The example page's current speed (36 at 9000) gives 1764 half samples:
  // 18 blocks a revolution.
  constexpr std::uint32_t kBlocksPerRevolution = 18;
  constexpr std::uint32_t kBlockBytes = 2448;
  constexpr int kRevolutions = 3;
  ElsPageBytes page{};
  if (!device.ReadModePage(ElsPageLayout::kPageCode, page.data())) return false;
  PutBe16(&page[ElsPageLayout::kOffStepsPerFeed], 1);
  page[ElsPageLayout::kOffLabelWriting] = 1;
  bool ok = device.WriteModePage(page.data()) == 1;
  const auto start = static_cast<std::uint32_t>(AddressOfRadius(radiusMm));
  std::memset(device.WriteArea(), 0x4A, kBlocksPerRevolution * kBlockBytes);  // all marks
  std::uint8_t sense[3];
  for (std::uint32_t n = 1; n <= kRevolutions; ++n)
    ok = device.Write12(start + kBlocksPerRevolution * n, kBlocksPerRevolution * kBlockBytes,
                        kBlocksPerRevolution, sense) == 1 &&
         ok;
  ok = device.SynchronizeCache() == 1 && ok;
  page[ElsPageLayout::kOffLabelWriting] = 0;
  return device.WriteModePage(page.data()) == 1 && ok;
}

// Grey of the etched picture on the burned circle of this radius, left of
// the centre (where the first sample of each revolution lands).
int GreyAt(const fs::path& picture, double radiusMm) {
  QImage image(QString::fromStdString(picture.string()));
  if (image.isNull()) return -1;
  const int c = kEtchedPictureSize / 2;
  return qGray(image.pixel(c - static_cast<int>(radiusMm * kEtchedPixelsPerMm), c));
}

constexpr int kDark = 120;
constexpr int kLight = 150;  // unmarked silver, and the dye of a data side

struct Rig {
  std::shared_ptr<VirtualDrive> drive;
  std::unique_ptr<CELDevice> owned = std::make_unique<CELDevice>();
  CELDevice& device = *owned;
  explicit Rig(const VirtualDriveConfig& config) : drive(std::make_shared<VirtualDrive>(config)) {
    device.AttachTransport(drive);
  }
};

// A run of its own: a new drive object on the same settings.
bool BurnRing(const VirtualDriveConfig& config, double radiusMm) {
  Rig rig(config);
  return BurnRing(rig.device, radiusMm);
}

TEST(VirtualDriveFiles, MarksAddUpAcrossRunsUntilTheDiscChanges) {
  test::TempDir tmp("files");
  VirtualDriveConfig label;
  label.reloadDelaySeconds = 0;
  label.burn.etchedPath = (tmp / "etched.png").string();
  std::vector<std::string> warnings;
  label.warn = [&](const std::string& text) { warnings.push_back(text); };

  // Two runs, each with a drive object of its own, burn two rings.
  ASSERT_TRUE(BurnRing(label, 30.0));
  EXPECT_LT(GreyAt(tmp / "etched.png", 30.0), kDark);
  EXPECT_GT(GreyAt(tmp / "etched.png", 45.0), kLight);
  ASSERT_TRUE(BurnRing(label, 45.0));
  EXPECT_LT(GreyAt(tmp / "etched.png", 30.0), kDark);
  EXPECT_LT(GreyAt(tmp / "etched.png", 45.0), kDark);
  EXPECT_TRUE(fs::exists(tmp / "etched.marks"));

  // Another disc in the tray starts unmarked.
  VirtualDriveConfig blank = label;
  blank.disc = "dvd+r";
  blank.status = "blank";
  ASSERT_TRUE(BurnRing(blank, 45.0));
  EXPECT_GT(GreyAt(tmp / "etched.png", 30.0), kLight);
  EXPECT_LT(GreyAt(tmp / "etched.png", 45.0), kDark);

  // Marks cleared on purpose: every burn starts on an unmarked disc, and
  // the kept marks go.
  VirtualDriveConfig fresh = blank;
  fresh.burn.keepMarks = false;
  ASSERT_TRUE(BurnRing(fresh, 30.0));
  EXPECT_LT(GreyAt(tmp / "etched.png", 30.0), kDark);
  EXPECT_GT(GreyAt(tmp / "etched.png", 45.0), kLight);
  EXPECT_FALSE(fs::exists(tmp / "etched.marks"));
  // A damaged marks file is said once and burned over.
  std::ofstream(tmp / "etched.marks") << "TWRMARK1 not really";
  ASSERT_TRUE(BurnRing(blank, 30.0));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("etched.marks"), std::string::npos) << warnings[0];
  EXPECT_LT(GreyAt(tmp / "etched.png", 30.0), kDark);
  EXPECT_FALSE(VirtualDriveConfig::FromProfile(ProfileFile::Parse("[VirtualDrive]\nKeepMarks=0\n"))
                   .burn.keepMarks);
}

TEST(VirtualDriveFiles, OutputsItCannotWriteAreWarnings) {
  VirtualDriveConfig c;
  c.reloadDelaySeconds = 0;
  c.tracePath = "/nonexistent-twr-folder/trace.txt";
  c.burn.capturePath = "/nonexistent-twr-folder/writes.bin";
  c.burn.etchedPath = "/nonexistent-twr-folder/etched.png";
  std::vector<std::string> warnings;
  c.warn = [&](const std::string& text) { warnings.push_back(text); };
  Rig rig(c);
  // The burn itself goes on: the drive takes every write.
  ASSERT_TRUE(BurnRing(rig.device, 30.0));
  std::string all;
  for (const std::string& w : warnings) all += w + "\n";
  ASSERT_EQ(warnings.size(), 4u) << all;
  for (const char* file : {"trace.txt", "writes.bin", "etched.png", "etched.marks"})
    EXPECT_NE(all.find(file), std::string::npos) << file << "\n" << all;
  EXPECT_NE(all.find("No such file or directory"), std::string::npos) << all;
  EXPECT_EQ(warnings[0].rfind("Virtual drive: ", 0), 0u);
}

// FIFOs named as the image and every output: nothing waits on them. Runs
// in a child process so that a regression shows as a time-out, not a hung
// test run.
TEST(VirtualDriveFiles, FifosNeverBlock) {
  test::TempDir tmp("files");
  for (const char* name : {"image.fifo", "trace.fifo", "capture.fifo", "etched.fifo"})
    ASSERT_EQ(mkfifo((tmp / name).c_str(), 0600), 0) << name;
  // A reader on the trace lets its open succeed; it is refused all the same.
  const int reader = open((tmp / "trace.fifo").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  int report[2];
  ASSERT_EQ(pipe(report), 0);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(report[0]);
    VirtualDriveConfig c;
    c.reloadDelaySeconds = 0;
    c.image = (tmp / "image.fifo").string();
    c.tracePath = (tmp / "trace.fifo").string();
    c.burn.capturePath = (tmp / "capture.fifo").string();
    c.burn.etchedPath = (tmp / "etched.fifo").string();
    c.warn = [&](const std::string& text) {
      const std::string line = text + "\n";
      if (write(report[1], line.data(), line.size()) < 0) _exit(3);
    };
    Rig rig(c);
    std::vector<DiscEntry> entries;
    rig.drive->ListTopLevel(entries);
    const bool identified = IdentifyDisc(rig.device).name.verdict == 1;
    _exit(BurnRing(rig.device, 30.0) && identified ? 0 : 2);
  }
  close(report[1]);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      close(reader);
      close(report[0]);
      FAIL() << "the virtual drive blocked on a FIFO";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(report[0]);
  close(reader);
  ASSERT_TRUE(WIFEXITED(status)) << text;
  EXPECT_EQ(WEXITSTATUS(status), 0) << text;
  for (const char* name : {"image.fifo", "trace.fifo", "capture.fifo", "etched.fifo"}) {
    const std::size_t at = text.find(name);
    ASSERT_NE(at, std::string::npos) << name << "\n" << text;
    const std::size_t end = text.find('\n', at);
    EXPECT_NE(text.substr(at, end - at).find("FIFO"), std::string::npos) << text;
  }
  // The FIFOs are still FIFOs: nothing was put in their place.
  struct stat st {};
  ASSERT_EQ(stat((tmp / "etched.fifo").c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(VirtualDriveFiles, LatencyAddsToEveryCommand) {
  const auto latency = [](const char* value) {
    return VirtualDriveConfig::FromProfile(
               ProfileFile::Parse(std::string("[VirtualDrive]\nLatency=") + value + "\n"))
        .latencyMs;
  };
  EXPECT_EQ(latency("25 ; a slow drive"), 25);
  EXPECT_EQ(latency("999999"), 10000);
  EXPECT_EQ(latency("soon"), 0);

  VirtualDriveConfig c;
  c.latencyMs = 25;
  Rig rig(c);
  const auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(rig.device.TestUnitReady(), 1);
  EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(25));
}

}  // namespace
}  // namespace twr
