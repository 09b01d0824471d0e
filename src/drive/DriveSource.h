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

struct DriveSource {
  char letter = 0;     // 'A' ... 'Z'
  std::string device;  // what it is, e.g. "/dev/sr0" or "virtual"
  // Opens the drive; nullptr when it cannot be opened (every command on it
  // then fails like a request to an invalid handle).
  std::function<std::shared_ptr<ScsiTransport>()> open;
  // Lists the top-level entries of the disc in the drive; false when no
  // listing can start (no file system, nothing mounted, no disc).
  std::function<bool(std::vector<DiscEntry>&)> listTopLevel;
};

// Gives the candidate drives of one discovery run, in any order.
using DriveSourceProvider = std::function<std::vector<DriveSource>()>;

}  // namespace twr
