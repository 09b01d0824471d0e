// One drive that discovery may list: its letter, how to open it and how to
// list the top of the disc in it. Real drives and the virtual drive both
// come in this form, so discovery runs the same on either (and in tests).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drive/ScsiTransport.h"

namespace twr {

// One top-level entry of a disc's file system.
struct DiscEntry {
  std::string name;
  bool folder = false;
};

// Shared: listing and identification, beside whatever else uses the drive.
// Exclusive: a burn; refused while the drive is mounted or another program
// holds it, and keeps every other exclusive user out until it is closed.
enum class DriveAccess { Shared, Exclusive };

// Why a drive could not be opened.
enum class DriveOpenError {
  None,
  NotListed,     // no listed drive has that letter or device
  NoPermission,  // the user may not open the device node
  InUse,         // mounted, or held by another program (another burn)
  Gone,          // the device node or the drive behind it is not there
  Failed,        // any other reason (systemError tells)
};

struct DriveOpenResult {
  std::shared_ptr<ScsiTransport> transport;  // nullptr unless error is None
  DriveOpenError error = DriveOpenError::None;
  int systemError = 0;  // errno of the failed open, when there was one
};

// The reason an open(2) of a drive node failed with this errno.
DriveOpenError DriveOpenErrorFromErrno(int error);

struct DriveSource {
  char letter = 0;     // 'A' ... 'Z'
  std::string device;  // what it is, e.g. "/dev/sr0" or "virtual"
  // Opens the drive for shared use; nullptr when it cannot be opened (every
  // command on it then fails like a request to an invalid handle).
  std::function<std::shared_ptr<ScsiTransport>()> open;
  // Lists the top-level entries of the disc in the drive; false when no
  // listing can start (no file system, nothing mounted, no disc).
  std::function<bool(std::vector<DiscEntry>&)> listTopLevel;
  // The folder the disc in the drive is mounted on; empty when it is not
  // mounted (or the drive has no mounts, as the virtual drive).
  std::function<std::string()> mountFolder;
  // Opens with the access asked for and says why it could not. When empty,
  // `open` serves both kinds of access and nothing keeps a second burn out.
  std::function<DriveOpenResult(DriveAccess)> openAccess;
  // What the system itself calls the drive (sysfs), for a drive that cannot
  // be asked; empty when unknown.
  std::string vendor, product, revision;
};

// Opens a source with the access asked for, through openAccess when it has
// one.
DriveOpenResult OpenDriveSource(const DriveSource& source, DriveAccess access);

// Gives the candidate drives of one discovery run, in any order.
using DriveSourceProvider = std::function<std::vector<DriveSource>()>;

}  // namespace twr
