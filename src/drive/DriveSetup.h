// Where the program's drives come from: the optical drives of this system
// (/sys/class/block/srN, letters from D) and the virtual drive declared in
// the settings file. The window program, the burn and `twr` build their
// drive lists through here.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "drive/DriveSource.h"

namespace twr {

class CELDevice;
class Messages;
class UnmountService;
class VirtualDrive;

struct DriveSetupPaths {
  std::string sysfsBlock = "/sys/class/block";
  std::string devDir = "/dev";
  std::string settings = "./twr.ini";
  std::string mountInfo = "/proc/self/mountinfo";
};

inline constexpr char kFirstOpticalLetter = 'D';

// The optical drives under the sysfs folder, sr0 = D, sr1 = E, ... in number
// order, with the names sysfs gives them. A node the user may not open is
// offered all the same: opening it says so (discovery then leaves it out of
// the list and reports why).
std::vector<DriveSource> OpticalDriveSources(const DriveSetupPaths& paths);

// The lock file of the virtual drive declared in a settings file: beside it,
// hidden ("./twr.ini" gives "./.twr.ini.lock").
std::string VirtualDriveLockPath(const std::string& settingsPath);

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

// The drive a user named: a letter ("V", "v", "V:") or a device path
// ("/dev/sr0", also a link to it such as /dev/cdrom); neither means the
// first listed drive.
struct DriveChoice {
  char letter = 0;
  std::string device;
};

// Reads a drive as a user writes it; false when the text is neither a
// letter nor a path (a path holds a '/').
bool ParseDriveChoice(const std::string& text, DriveChoice& choice);

// The outcome of opening a chosen drive.
struct DriveOpening {
  DriveOpenError error = DriveOpenError::None;
  int systemError = 0;
  int index = -1;      // index in the drive list; -1 when not listed
  char letter = 0;     // of the listed drive
  std::string device;  // of the listed drive
  // Where its disc was mounted when the burn's open was refused (empty when
  // it was not mounted, or not looked at), and whether it was unmounted.
  std::vector<std::string> mountPoints;
  bool unmounted = false;
  // Set by the burn's opening with unmounting: the whole failure text.
  std::string message;
  bool Ok() const { return error == DriveOpenError::None; }
  // A whole sentence naming the drive and saying what to do, e.g. "Drive D:
  // (/dev/sr0) is in use by another program or mounted; unmount it or close
  // that program." NotListed gives "Etchlume Drive is not found.". When
  // `message` is set, it.
  std::string FailureText() const;
};

// Builds the drive list (EnumerateDrives), finds the chosen drive in it and
// opens it with the access asked for; the drive stays open in `device`. On
// failure no drive is open.
DriveOpening OpenChosenDrive(CELDevice& device, const DriveChoice& choice, DriveAccess access);

// What a burn does before it sends anything: opens the chosen drive
// exclusively, so that a drive that is mounted or held by another program,
// or a virtual drive another burn is using, is refused (InUse) and nothing
// is written. The exclusive access lasts until the drive object closes the
// drive (CloseDrive, another OpenDrive, the next enumeration, destruction):
// keep it open for the whole burn. A window that has built its drive list
// already may call device.OpenDrive(index, DriveAccess::Exclusive) instead.
DriveOpening OpenDriveForBurn(CELDevice& device, const DriveChoice& choice);

// Whether a burn whose drive is refused because its disc is mounted may
// have the disc unmounted.
enum class UnmountPermission {
  Never,   // refused; the text says how to unmount it (and names the option)
  Ask,     // the user is asked Yes/No, with the drive and the mount point named
  Always,  // unmounted without asking (`twr burn --unmount`)
};

struct BurnUnmount {
  UnmountPermission permission = UnmountPermission::Never;
  // The desktop's disk service; nullptr counts as one that is not running.
  UnmountService* service = nullptr;
  Messages* messages = nullptr;  // asks the question (Ask); nullptr: the answer is No
  // The front end's way to unmount without asking, named in the refusal
  // (e.g. "--unmount"); empty: none.
  std::string option;
  // The mount points of a drive node; empty: /proc/self/mountinfo is read.
  std::function<std::vector<std::string>(const std::string& node)> mountsOf;
};

// OpenDriveForBurn, and when the exclusive open is refused because the
// drive's disc is mounted: with the user's Yes (Ask) or without asking
// (Always), the service unmounts that drive's disc (nothing else, ever) and
// the exclusive open is tried again. Every way it can end has its own
// FailureText: the option to use, the disc service that is not running
// with the `umount` command to type, a refusal, a mount that is busy.
DriveOpening OpenDriveForBurn(CELDevice& device, const DriveChoice& choice,
                              const BurnUnmount& unmount);
// The same for a drive of the list the device holds now (a window that has
// built its list already).
DriveOpening OpenListedDriveForBurn(CELDevice& device, int index, const BurnUnmount& unmount);

}  // namespace twr
