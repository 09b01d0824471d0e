// Unmounting the disc of the drive a burn is about to take. The desktop
// mounts a data disc the moment it goes in, and a mounted drive refuses the
// burn's exclusive open; the user may let the program ask the desktop's
// disk service to unmount it. The service itself lives above this layer
// (src/desktop: udisks2 over D-Bus); here are its interface and the mount
// lookup, so that the burn's drive opening and its tests need no bus.
#pragma once

#include <string>
#include <vector>

namespace twr {

enum class UnmountOutcome {
  Unmounted,   // the service unmounted it
  NotMounted,  // nothing was mounted there (any more)
  NoService,   // the desktop's disk service is not running
  NotAllowed,  // the service or the user's authorisation refused it
  Busy,        // a program has a file open on the disc
  Failed,      // any other failure (detail tells)
};

struct UnmountResult {
  UnmountOutcome outcome = UnmountOutcome::Failed;
  std::string detail;  // the service's own words, when it gave any
};

class UnmountService {
 public:
  virtual ~UnmountService() = default;
  // Asks the service to unmount the file system on the block device `node`
  // (e.g. "/dev/sr0"), with the desktop's own authorisation where it asks
  // for one. Only that device is ever named.
  virtual UnmountResult Unmount(const std::string& node) = 0;
};

// The mount points of the file systems on device major:minor, in the order
// of a mountinfo file's text (octal escapes undone).
std::vector<std::string> FindMountPoints(const std::string& mountInfo, unsigned major,
                                         unsigned minor);

// The mount points of the block device `node` from a mountinfo file; empty
// when the node is no block device or nothing of it is mounted.
std::vector<std::string> NodeMountPoints(const std::string& node,
                                         const std::string& mountInfoPath = "/proc/self/mountinfo");

// The shell command that unmounts a mount point, quoted for a shell:
// "umount '/media/me/MY DISC'".
std::string UmountCommand(const std::string& mountPoint);

}  // namespace twr
