// The lock that keeps a second burn off a virtual drive: an flock on a lock
// file, held from the exclusive open to the close of the drive, so that it
// also keeps out a burn in another process on the same settings.
#pragma once

#include <memory>
#include <string>

namespace twr {

class VirtualDriveLock {
 public:
  enum class Outcome {
    Held,       // the lock is this object's
    InUse,      // another holder has it
    Unlockable  // the lock file cannot be made or opened (`why` says why)
  };
  // Takes the lock without waiting. Only with Held is an object returned.
  static std::unique_ptr<VirtualDriveLock> Acquire(const std::string& path, Outcome& outcome,
                                                   std::string& why);
  ~VirtualDriveLock();
  VirtualDriveLock(const VirtualDriveLock&) = delete;
  VirtualDriveLock& operator=(const VirtualDriveLock&) = delete;

 private:
  explicit VirtualDriveLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace twr
