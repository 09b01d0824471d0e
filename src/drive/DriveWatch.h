// Drives that come and go (a USB DVD drive plugged in or pulled out): a
// source that says when the system's optical drives may have changed, and
// a watcher that waits on it on a thread of its own and raises a flag the
// front ends look at (the window at its next tick, `twr drives --watch` in
// its loop). The system's source listens to udev's block events and also
// compares /sys/class/block's sr* names twice a second, so that a change is
// seen without udev too.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace twr {

class DriveChangeSource {
 public:
  virtual ~DriveChangeSource() = default;
  // Waits up to `timeoutMs` for a change of the optical drives; true when
  // one came (or may have come). Returns at the latest after the time-out.
  virtual bool WaitForChange(int timeoutMs) = 0;
};

// The optical drive names (sr0, sr1, ...) under a sysfs block folder.
std::set<std::string> OpticalNodeNames(const std::string& sysfsBlock);

// udev block events of sr* disks (added, removed) where udev runs, and the
// sr* names of the sysfs folder compared every `pollMs`; also a change of
// any of `files` (the settings file, whose [VirtualDrive] section adds or
// removes the virtual drive), looked at as often.
std::unique_ptr<DriveChangeSource> MakeSystemDriveChanges(
    std::vector<std::string> files = {}, const std::string& sysfsBlock = "/sys/class/block",
    int pollMs = 500);

class DriveWatcher {
 public:
  // Starts waiting on `source` on a thread of its own.
  explicit DriveWatcher(std::unique_ptr<DriveChangeSource> source);
  // Stops within a quarter of a second.
  ~DriveWatcher();
  DriveWatcher(const DriveWatcher&) = delete;
  DriveWatcher& operator=(const DriveWatcher&) = delete;

  // True once for the changes that came since the last call.
  bool TakeChange() { return changed_.exchange(false); }
  // Changes seen so far, for a second looker that keeps its own count (the
  // burn dialog beside the main window, which takes the flag).
  std::uint64_t Changes() const { return changes_.load(); }

 private:
  void Run();

  std::unique_ptr<DriveChangeSource> source_;
  std::atomic<bool> changed_{false};
  std::atomic<std::uint64_t> changes_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace twr
