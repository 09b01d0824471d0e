// Exclusive access for a burn: a real block device opened with O_EXCL, the
// virtual drive's lock across two programs' drive objects, and the drive a
// user names by letter or device path.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DriveSetup.h"
#include "drive/SgioTransport.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

TEST(ExclusiveAccess, BlockDeviceRefusesASecondExclusiveOpen) {
  // A loop device stands in for /dev/srN: the kernel's O_EXCL rule is the
  // same for every block device.
  std::string node;
  DriveOpenResult first;
  for (int i = 0; i < 8 && node.empty(); ++i) {
    const std::string candidate = "/dev/loop" + std::to_string(i);
    first = SgioTransport::Open(candidate, DriveAccess::Exclusive);
    if (first.error == DriveOpenError::None) node = candidate;
  }
  if (node.empty()) GTEST_SKIP() << "no block device this process may open exclusively";

  const DriveOpenResult second = SgioTransport::Open(node, DriveAccess::Exclusive);
  EXPECT_EQ(second.error, DriveOpenError::InUse);
  EXPECT_EQ(second.transport, nullptr);
  // Listing and identification stay possible beside the holder.
  EXPECT_EQ(SgioTransport::Open(node, DriveAccess::Shared).error, DriveOpenError::None);
  first.transport.reset();
  EXPECT_EQ(SgioTransport::Open(node, DriveAccess::Exclusive).error, DriveOpenError::None);

  EXPECT_EQ(SgioTransport::Open("/dev/sr-missing", DriveAccess::Exclusive).error,
            DriveOpenError::Gone);
}

// Two programs in one folder: each builds its own drive list from the same
// settings (its own virtual drive object). The first burn holds the drive;
// the second is refused with "in use" until the first lets go.
TEST(ExclusiveAccess, VirtualDriveServesOneBurnAtATime) {
  test::TempDir tmp("excl");
  const fs::path ini = tmp.Path() / "twr.ini";
  std::ofstream(ini) << "[VirtualDrive]\nLetter=V\nReloadDelay=0\n";
  DriveSetupPaths paths;
  paths.sysfsBlock = (tmp.Path() / "no-sysfs").string();
  paths.settings = ini.string();
  DriveCatalog firstCatalog(paths), secondCatalog(paths);
  CELDevice first, second;
  first.SetDriveSourceProvider([&] { return firstCatalog.Sources(); });
  second.SetDriveSourceProvider([&] { return secondCatalog.Sources(); });

  DriveChoice v;
  ASSERT_TRUE(ParseDriveChoice("V", v));
  const DriveOpening burning = OpenDriveForBurn(first, v);
  ASSERT_TRUE(burning.Ok()) << burning.FailureText();
  EXPECT_TRUE(fs::exists(tmp.Path() / ".twr.ini.lock"));

  const DriveOpening refused = OpenDriveForBurn(second, v);
  EXPECT_EQ(refused.error, DriveOpenError::InUse);
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(refused.FailureText(),
            "Drive V: (virtual) is in use by another program or mounted; unmount it or close "
            "that program.");
  // The same program cannot burn twice at once either.
  CELDevice third;
  third.SetDriveSourceProvider([&] { return firstCatalog.Sources(); });
  EXPECT_EQ(OpenDriveForBurn(third, v).error, DriveOpenError::InUse);

  // Listing and identification are not kept out.
  EXPECT_EQ(OpenChosenDrive(second, v, DriveAccess::Shared).error, DriveOpenError::None);
  EXPECT_EQ(second.TestUnitReady(), 1);

  // The burn's drive commands still work through its exclusive access.
  EXPECT_EQ(first.TestUnitReady(), 1);
  first.CloseDrive();
  EXPECT_TRUE(OpenDriveForBurn(second, v).Ok());
  // An enumeration closes the drive and so gives the access back.
  second.EnumerateDrives();
  EXPECT_TRUE(OpenDriveForBurn(third, v).Ok());
}

TEST(DriveChoice, LettersAndDevicePaths) {
  DriveChoice choice;
  ASSERT_TRUE(ParseDriveChoice("v:", choice));
  EXPECT_EQ(choice.letter, 'V');
  for (const char* bad : {"VV", "1", "sr0"}) EXPECT_FALSE(ParseDriveChoice(bad, choice)) << bad;

  // A device path finds the listed drive on that node, also through a link
  // (/dev/cdrom -> sr0); a node that is not listed is not found.
  test::TempDir tmp("excl");
  std::ofstream(tmp.Path() / "sr0").put('x');
  fs::create_symlink(tmp.Path() / "sr0", tmp.Path() / "cdrom");
  std::ofstream(tmp.Path() / "sr1").put('x');
  auto drive = std::make_shared<VirtualDrive>(VirtualDriveConfig{});
  CELDevice device;
  device.SetDriveSourceProvider([&] {
    DriveSource source = VirtualDrive::SourceFor(drive);
    source.letter = 'D';
    source.device = (tmp.Path() / "sr0").string();
    return std::vector<DriveSource>{source};
  });
  ASSERT_TRUE(ParseDriveChoice((tmp.Path() / "cdrom").string(), choice));
  const DriveOpening found = OpenChosenDrive(device, choice, DriveAccess::Shared);
  EXPECT_TRUE(found.Ok());
  EXPECT_EQ(found.letter, 'D');
  ASSERT_TRUE(ParseDriveChoice((tmp.Path() / "sr1").string(), choice));
  const DriveOpening missing = OpenChosenDrive(device, choice, DriveAccess::Shared);
  EXPECT_EQ(missing.error, DriveOpenError::NotListed);
  EXPECT_EQ(missing.FailureText(), "Etchlume Drive is not found.");
  EXPECT_FALSE(device.IsOpen());
}

}  // namespace
}  // namespace twr
