// Where the program's drives come from: the optical drives of this system
// (/sys/class/block/srN, letters from D) and the virtual drive declared in
// the settings file. The window program, the burn and `twr` build their
// drive lists through here.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "drive/DriveSource.h"

namespace twr {

class CELDevice;
class VirtualDrive;

struct DriveSetupPaths {
  std::string sysfsBlock = "/sys/class/block";
  std::string devDir = "/dev";
  std::string settings = "./twr.ini";
  std::string mountInfo = "/proc/self/mountinfo";
};

inline constexpr char kFirstOpticalLetter = 'D';

// The optical drives under the sysfs folder, sr0 = D, sr1 = E, ... in number
// order. Nodes the user may not open are left out.
std::vector<DriveSource> OpticalDriveSources(const DriveSetupPaths& paths);

// Optical drives plus the virtual drive of the settings file's
// [VirtualDrive] section. The virtual drive is kept from one call to the
// next while its section is unchanged, so an ejected or turned-over disc
// stays so when the list is built again.
class DriveCatalog {
 public:
  explicit DriveCatalog(DriveSetupPaths paths = {});
  // The settings file the virtual drive is read from; files it names are
  // relative to its folder.
  void SetSettingsPath(const std::string& path);
  std::vector<DriveSource> Sources();
  // The virtual drive of the last Sources() call, if any.
  std::shared_ptr<VirtualDrive> Virtual();

 private:
  std::mutex mutex_;
  DriveSetupPaths paths_;
  std::string virtualKey_;
  std::shared_ptr<VirtualDrive> virtual_;
};

// A provider that asks one process-wide catalog with the default paths.
DriveSourceProvider DefaultDriveSourceProvider();
DriveCatalog& DefaultDriveCatalog();

// Builds the drive list (EnumerateDrives) and opens the listed drive with
// this letter; with letter 0 the first listed drive stays open. False when
// no drive qualifies or the letter is not listed.
bool OpenDriveByLetter(CELDevice& device, char letter);

}  // namespace twr
