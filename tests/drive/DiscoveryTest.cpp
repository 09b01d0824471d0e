// Drive discovery: list order, qualification by the ELS page, display
// strings, which drive is open, and the system's drive sources.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DiscListing.h"
#include "drive/DriveSetup.h"
#include "drive/DriveWatch.h"
#include "drive/ScriptedTransport.h"
#include "drive/SgioTransport.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

std::shared_ptr<VirtualDrive> Virtual(char letter, bool elsPage = true,
                                      const std::string& product = "Etchlume DVD") {
  VirtualDriveConfig c;
  c.letter = letter;
  c.hasElsPage = elsPage;
  c.product = product;
  c.reloadDelaySeconds = 0;
  return std::make_shared<VirtualDrive>(c);
}

struct Rig {
  std::unique_ptr<CELDevice> device = std::make_unique<CELDevice>();
  std::vector<std::shared_ptr<VirtualDrive>> drives;
  int providerCalls = 0;
  explicit Rig(std::vector<std::shared_ptr<VirtualDrive>> d) : drives(std::move(d)) {
    device->SetDriveSourceProvider([this] {
      ++providerCalls;
      std::vector<DriveSource> sources;
      for (auto& v : drives) sources.push_back(VirtualDrive::SourceFor(v));
      return sources;
    });
  }
};

TEST(Discovery, QualifiedDrivesInLetterOrderFirstOneOpen) {
  // Given out of order; E is a plain DVD writer without the ELS page.
  Rig rig({Virtual('F', true, "Second"), Virtual('E', false), Virtual('D', true, "First")});
  ASSERT_EQ(rig.device->EnumerateDrives(), 2);
  EXPECT_EQ(rig.device->GetDriveItem(0), "(D:) TWRVIRT First 1.00");
  EXPECT_EQ(rig.device->GetDriveItem(1), "(F:) TWRVIRT Second 1.00");
  EXPECT_EQ(rig.device->GetDriveItem(2), "");
  EXPECT_EQ(rig.device->GetDriveItem(-1), "");
  EXPECT_EQ(rig.device->DriveLetter(1), 'F');
  EXPECT_EQ(rig.device->Transport(), rig.drives[2].get());
  EXPECT_EQ(rig.device->OpenIndex(), 0);

  // The burn dialog enumerates again: the same list.
  ASSERT_EQ(rig.device->EnumerateDrives(), 2);
  EXPECT_EQ(rig.device->GetDriveItem(1), "(F:) TWRVIRT Second 1.00");
  EXPECT_EQ(rig.providerCalls, 2);
}

TEST(Discovery, OpenAndSelectChooseOnlyTheOpenDrive) {
  Rig rig({Virtual('D'), Virtual('F'), Virtual('G')});
  ASSERT_EQ(rig.device->EnumerateDrives(), 3);
  rig.device->OpenDrive(1);
  EXPECT_EQ(rig.device->Transport(), rig.drives[1].get());
  rig.device->OpenDrive(7);  // past the end: the last
  EXPECT_EQ(rig.device->Transport(), rig.drives[2].get());
  rig.device->OpenDrive(-1);  // unsigned comparison: also the last
  EXPECT_EQ(rig.device->Transport(), rig.drives[2].get());
  rig.device->SelectDrive("(D:) whatever the text says", 0);
  EXPECT_EQ(rig.device->Transport(), rig.drives[0].get());
  EXPECT_EQ(rig.device->DriveCount(), 3);
  EXPECT_EQ(rig.device->FindDriveIndex('g'), 2);
  EXPECT_EQ(rig.device->FindDriveIndex('E'), -1);
}

TEST(Discovery, NoQualifiedDriveLeavesNothingOpen) {
  Rig none({});
  EXPECT_EQ(none.device->EnumerateDrives(), 0);
  EXPECT_FALSE(none.device->IsOpen());

  // The only drive fails the page test: it is not left open.
  Rig plain({Virtual('D', false)});
  EXPECT_EQ(plain.device->EnumerateDrives(), 0);
  EXPECT_FALSE(plain.device->IsOpen());
  plain.device->OpenDrive(0);
  EXPECT_FALSE(plain.device->IsOpen());

  // A drive that fails the page test after a good one: the good one is open.
  Rig mixed({Virtual('D'), Virtual('E', false)});
  EXPECT_EQ(mixed.device->EnumerateDrives(), 1);
  EXPECT_EQ(mixed.device->Transport(), mixed.drives[0].get());
}

TEST(Discovery, WithoutPassThroughNothingIsAsked) {
  Rig rig({Virtual('D')});
  rig.device->SetPassThroughForTest(false);
  EXPECT_EQ(rig.device->EnumerateDrives(), 0);
  EXPECT_EQ(rig.providerCalls, 0);
}

TEST(Discovery, InquiryStringsAndTheirFallbacks) {
  // Blank-padded vendor, all-blank product: two blanks in a row.
  VirtualDriveConfig c;
  c.letter = 'E';
  c.vendor = "AB";
  c.product = "";
  c.revision = "R";
  auto padded = std::make_shared<VirtualDrive>(c);

  // A drive that answers the page but not INQUIRY; one that cannot be opened.
  auto mute = std::make_shared<test::ScriptedTransport>();
  mute->On(kOpModeSense10, test::ScriptedReply{});
  auto device = std::make_unique<CELDevice>();
  device->SetDriveSourceProvider([&] {
    std::vector<DriveSource> s{VirtualDrive::SourceFor(padded), {}, {}};
    s[1].letter = 'D';
    s[1].open = [mute]() -> std::shared_ptr<ScsiTransport> { return mute; };
    s[2].letter = 'C';
    s[2].open = []() -> std::shared_ptr<ScsiTransport> { return nullptr; };
    return s;
  });
  ASSERT_EQ(device->EnumerateDrives(), 2);
  EXPECT_EQ(device->GetDriveItem(0), "(D:) - Unknown -");
  EXPECT_EQ(device->GetDriveItem(1), "(E:) AB  R");

  // NUL ends a field; trailing white space of any kind goes.
  std::vector<std::uint8_t> inquiry(100, 0);
  std::memcpy(&inquiry[8], "VEND\t  \0", 8);
  std::memcpy(&inquiry[16], "PROD\0XXXXXXXXXXX", 16);
  std::memcpy(&inquiry[32], "1.0 ", 4);
  mute->On(kOpInquiry, test::ScriptedReply{true, inquiry, {}});
  device->OpenDrive(0);
  std::string v, p, r;
  device->ReadInquiryStrings(v, p, r);
  EXPECT_EQ(v, "VEND");
  EXPECT_EQ(p, "PROD");
  EXPECT_EQ(r, "1.0");
}

TEST(Discovery, DuplicateLettersKeepTheFirstSource) {
  Rig rig({Virtual('D', true, "Virtual"), Virtual('D', true, "Other")});
  ASSERT_EQ(rig.device->EnumerateDrives(), 1);
  EXPECT_EQ(rig.device->GetDriveItem(0), "(D:) TWRVIRT Virtual 1.00");
}

TEST(Discovery, LettersAreUpperCasedAndOnlyAToZCount) {
  // A lower-case letter is its upper-case drive; a byte outside A-Z (also
  // one above 0x7F) is no drive letter at all.
  Rig rig({Virtual('g', true, "Lower"), Virtual(static_cast<char>(0xE4)), Virtual('@')});
  ASSERT_EQ(rig.device->EnumerateDrives(), 1);
  EXPECT_EQ(rig.device->GetDriveItem(0), "(G:) TWRVIRT Lower 1.00");
  EXPECT_EQ(rig.device->FindDriveIndex('g'), 0);
}

TEST(SystemSources, OpticalDrivesInNumberOrderWithLetters) {
  test::TempDir tmp("drive");
  const fs::path sysfs = tmp.Path() / "block", dev = tmp.Path() / "dev";
  fs::create_directories(sysfs);
  fs::create_directories(dev);
  for (const char* name : {"sr10", "sda", "sr2", "sr0", "srx", "loop0"}) {
    fs::create_directories(sysfs / name);
    std::ofstream(dev / name).put('x');
  }
  DriveSetupPaths paths;
  paths.sysfsBlock = sysfs;
  paths.devDir = dev;
  const auto sources = OpticalDriveSources(paths);
  ASSERT_EQ(sources.size(), 3u);
  EXPECT_EQ(sources[0].letter, 'D');
  EXPECT_EQ(sources[0].device, (dev / "sr0").string());
  EXPECT_EQ(sources[1].letter, 'F');
  EXPECT_EQ(sources[2].letter, 'N');
  // A regular file is no SCSI device: opening works, every command fails.
  auto transport = sources[0].open();
  ASSERT_NE(transport, nullptr);
  std::uint8_t cdb[6] = {};
  const ScsiResult result = transport->Execute(cdb, ScsiDirection::None, {});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.systemError, 0);  // the ioctl's errno is kept
  EXPECT_FALSE(result.Answered());
}

// A node this process may not open: mode 0 for a user; for root, who may
// open anything, the immutable flag (where the file system has it), which
// refuses a read-write open with EPERM. False when neither works.
bool MakeUnopenable(const fs::path& file) {
  if (geteuid() != 0) return chmod(file.c_str(), 0) == 0;
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags |= FS_IMMUTABLE_FL;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  close(fd);
  return done;
}

void MakeRemovable(const fs::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  int flags = 0;
  if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL)) {
    flags &= ~FS_IMMUTABLE_FL;
    ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  close(fd);
}

// A block device this process can hold exclusively (a loop device), held:
// to everyone else it is "in use", as a mounted drive is.
struct HeldBlockDevice {
  std::string node;
  std::shared_ptr<ScsiTransport> hold;
  HeldBlockDevice() {
    for (int i = 0; i < 8 && !hold; ++i) {
      const std::string candidate = "/dev/loop" + std::to_string(i);
      DriveOpenResult r = SgioTransport::Open(candidate, DriveAccess::Exclusive);
      if (r.error == DriveOpenError::None) {
        node = candidate;
        hold = r.transport;
      }
    }
  }
};

// Every candidate drive is reported with why it can or cannot etch labels:
// optical drives of a made-up /sys and /dev tree next to virtual drives.
TEST(DriveReasons, EveryCandidateSaysWhy) {
  test::TempDir tmp("drive");
  const fs::path sysfs = tmp.Path() / "block", dev = tmp.Path() / "dev";
  for (const char* name : {"sr0", "sr1", "sr2", "sr3"})
    fs::create_directories(sysfs / name / "device");
  fs::create_directories(dev);
  std::ofstream(sysfs / "sr0" / "device" / "vendor") << "HL-DT-ST\n";
  std::ofstream(sysfs / "sr0" / "device" / "model") << "DVDRAM GH24NSD1 \n";
  std::ofstream(sysfs / "sr0" / "device" / "rev") << "LK00\n";
  std::ofstream(dev / "sr0").put('x');  // opens; answers nothing
  // sr1: no node at all.
  HeldBlockDevice held;
  if (!held.node.empty()) fs::create_symlink(held.node, dev / "sr2");
  std::ofstream(dev / "sr3").put('x');
  const bool unopenable = MakeUnopenable(dev / "sr3");

  DriveSetupPaths paths;
  paths.sysfsBlock = sysfs.string();
  paths.devDir = dev.string();
  VirtualDriveConfig etchlume;
  etchlume.letter = 'V';
  etchlume.lockPath = (tmp.Path() / ".twr.ini.lock").string();
  auto v = std::make_shared<VirtualDrive>(etchlume);
  VirtualDriveConfig plain = etchlume;
  plain.letter = 'W';
  plain.hasElsPage = false;
  plain.lockPath = (tmp.Path() / ".other.lock").string();
  auto w = std::make_shared<VirtualDrive>(plain);
  // X is V's settings in another drive object (another program): it holds
  // the drive for a burn.
  VirtualDriveConfig busyConfig = etchlume;
  busyConfig.letter = 'X';
  auto x = std::make_shared<VirtualDrive>(busyConfig);
  auto otherProgram =
      VirtualDrive::Open(std::make_shared<VirtualDrive>(etchlume), DriveAccess::Exclusive);
  ASSERT_EQ(otherProgram.error, DriveOpenError::None);

  auto device = std::make_unique<CELDevice>();
  device->SetDriveSourceProvider([&] {
    std::vector<DriveSource> s = OpticalDriveSources(paths);
    for (const auto& drive : {v, w, x}) s.push_back(VirtualDrive::SourceFor(drive));
    return s;
  });
  std::vector<DriveReport> reports;
  // V is held too (it shares X's lock file), so nothing qualifies for a burn
  // right now, but both are listed: they can etch labels.
  ASSERT_EQ(device->SurveyDrives(reports), 2);
  ASSERT_EQ(reports.size(), 7u);

  struct Row {
    char letter;
    DriveReason reason;
    bool qualifies;
    const char* item;
    const char* says;
  };
  const Row rows[] = {
      {'D', DriveReason::NoAnswer, false, "(D:) HL-DT-ST DVDRAM GH24NSD1 LK00", "no answer"},
      {'E', DriveReason::Gone, false, "(E:) - Unknown -", "not there"},
      {'F', DriveReason::InUse, false, "(F:) - Unknown -", "unmount it or close that program"},
      {'G', DriveReason::NoPermission, false, "(G:) - Unknown -", "join the cdrom group"},
      {'V', DriveReason::InUse, true, "(V:) TWRVIRT Etchlume DVD 1.00", "(it can etch labels)"},
      {'W', DriveReason::NotEtchlume, false, "(W:) TWRVIRT Etchlume DVD 1.00", "page 0x2D"},
      {'X', DriveReason::InUse, true, "(X:) TWRVIRT Etchlume DVD 1.00", "in use"},
  };
  for (const Row& row : rows) {
    const auto it = std::find_if(reports.begin(), reports.end(),
                                 [&](const DriveReport& r) { return r.letter == row.letter; });
    ASSERT_NE(it, reports.end()) << row.letter;
    if (row.letter == 'F' && held.node.empty()) continue;  // no loop device to hold
    if (row.letter == 'G' && !unopenable) continue;        // nothing keeps root out here
    EXPECT_EQ(it->reason, row.reason) << row.letter << " " << DriveReasonText(*it);
    EXPECT_EQ(it->qualifies, row.qualifies) << row.letter;
    EXPECT_EQ(it->DisplayString(), row.item) << row.letter;
    EXPECT_NE(DriveReasonText(*it).find(row.says), std::string::npos) << DriveReasonText(*it);
  }
  EXPECT_EQ(reports[0].device, (dev / "sr0").string());
  EXPECT_STREQ(DriveReasonName(reports[3].reason), unopenable ? "no-permission" : "no-answer");

  // The other program is done: the virtual drive can etch labels again.
  otherProgram.transport.reset();
  ASSERT_EQ(device->SurveyDrives(reports), 2);
  EXPECT_EQ(reports[4].reason, DriveReason::Qualified);
  EXPECT_FALSE(reports[4].inUse);
  EXPECT_STREQ(DriveReasonName(reports[4].reason), "ok");

  // No drive at all: nothing to report.
  device->SetDriveSourceProvider([] { return std::vector<DriveSource>{}; });
  EXPECT_EQ(device->SurveyDrives(reports), 0);
  EXPECT_TRUE(reports.empty());
  MakeRemovable(dev / "sr3");
}

TEST(SystemSources, SettingsDeclareAVirtualDriveThatSurvivesReenumeration) {
  test::TempDir tmp("drive");
  const fs::path ini = tmp.Path() / "twr.ini";
  std::ofstream(ini) << "[Config]\nLayoutNum=1\n[VirtualDrive]\nLetter=b   ; the drive letter\n"
                        "Disc=label ; side\nFlip=dvd+r\nStatus=blank\nReloadDelay=0\n";
  DriveSetupPaths paths;
  paths.sysfsBlock = (tmp.Path() / "nothing").string();
  paths.settings = ini.string();
  DriveCatalog catalog(paths);
  auto device = std::make_unique<CELDevice>();
  device->SetDriveSourceProvider([&] { return catalog.Sources(); });
  ASSERT_EQ(device->EnumerateDrives(), 1);
  EXPECT_EQ(device->GetDriveItem(0), "(B:) TWRVIRT Etchlume DVD 1.00");
  auto first = catalog.Virtual();
  device->StartStopUnit(0);  // turns the disc over
  ASSERT_EQ(device->EnumerateDrives(), 1);
  EXPECT_EQ(catalog.Virtual(), first);
  EXPECT_EQ(first->CurrentSide(), "dvd+r");

  // A changed section makes a new drive; a removed one removes it.
  std::ofstream(ini) << "[VirtualDrive]\nLetter=C\n";
  ASSERT_EQ(device->EnumerateDrives(), 1);
  EXPECT_NE(catalog.Virtual(), first);
  EXPECT_EQ(device->DriveLetter(0), 'C');
  std::ofstream(ini) << "[Config]\n";
  EXPECT_EQ(device->EnumerateDrives(), 0);
  EXPECT_EQ(catalog.Virtual(), nullptr);
}

TEST(MountInfo, FindsTheMountPointOfADevice) {
  const std::string info =
      "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
      "40 22 11:0 / /media/user/MY\\040DISC\\134x rw,nosuid shared:20 - iso9660 /dev/sr0 ro\n"
      "41 22 11:1 / /media/other rw - udf /dev/sr1 ro\n";
  EXPECT_EQ(FindMountPoint(info, 11, 0).value_or(""), "/media/user/MY DISC\\x");
  EXPECT_EQ(FindMountPoint(info, 11, 1).value_or(""), "/media/other");
  EXPECT_FALSE(FindMountPoint(info, 11, 2).has_value());
  EXPECT_FALSE(FindMountPoint("garbage\n\n1 2\n", 11, 0).has_value());
  EXPECT_EQ(UnescapeMountField("a\\04"), "a\\04");  // a cut-off escape stays as it is
}

TEST(MountInfo, ListsAFolderTopLevelOnly) {
  test::TempDir tmp("drive");
  fs::create_directories(tmp.Path() / "DATA" / "deeper");
  std::ofstream(tmp.Path() / "readme.txt").put('x');
  std::vector<DiscEntry> entries;
  ASSERT_TRUE(ListFolderTopLevel(tmp.Path().string(), entries));
  ASSERT_EQ(entries.size(), 2u);
  std::sort(entries.begin(), entries.end(),
            [](const DiscEntry& a, const DiscEntry& b) { return a.name < b.name; });
  EXPECT_EQ(entries[0].name, "DATA");
  EXPECT_TRUE(entries[0].folder);
  EXPECT_EQ(entries[1].name, "readme.txt");
  EXPECT_FALSE(entries[1].folder);
  EXPECT_FALSE(ListFolderTopLevel((tmp.Path() / "missing").string(), entries));
  // A node that is no block device has no mounted disc.
  EXPECT_FALSE(
      ListNodeTopLevel((tmp.Path() / "readme.txt").string(), "/proc/self/mountinfo", entries));
}

// The system's change source on a sysfs folder of the test's own: an sr*
// drive that appears or goes, or the settings file rewritten, is a change;
// other block devices are not. The watcher raises its flag once per change.
TEST(DriveWatch, SysfsNamesAndTheSettingsFileAreWatched) {
  test::TempDir tmp("watch");
  const std::filesystem::path sysfs = tmp.Path() / "block";
  std::filesystem::create_directories(sysfs / "sda");
  const std::filesystem::path ini = tmp.Path() / "twr.ini";
  std::ofstream(ini) << "[Config]\n";
  auto changes = MakeSystemDriveChanges({ini.string()}, sysfs.string(), 20);
  EXPECT_FALSE(changes->WaitForChange(60));
  std::filesystem::create_directories(sysfs / "sda1");
  std::filesystem::create_directories(sysfs / "srx");
  EXPECT_FALSE(changes->WaitForChange(60));
  std::filesystem::create_directories(sysfs / "sr1");
  EXPECT_TRUE(changes->WaitForChange(1000));
  EXPECT_EQ(OpticalNodeNames(sysfs.string()), std::set<std::string>{"sr1"});
  EXPECT_FALSE(changes->WaitForChange(60));
  std::ofstream(ini) << "[Config]\n[VirtualDrive]\n";
  EXPECT_TRUE(changes->WaitForChange(1000));

  DriveWatcher watcher(MakeSystemDriveChanges({}, sysfs.string(), 20));
  std::filesystem::remove(sysfs / "sr1");
  bool seen = false;
  for (int i = 0; i < 100 && !seen; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    seen = watcher.TakeChange();
  }
  EXPECT_TRUE(seen);
  EXPECT_FALSE(watcher.TakeChange());
}

}  // namespace
}  // namespace twr
