// Watching the system's optical drives: udev block events and the sysfs names.
#include "drive/DriveWatch.h"

#include <libudev.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

#include "common/WholeFile.h"

namespace twr {

namespace {

// How long one wait of the watcher's thread lasts, so that it stops soon.
constexpr int kWatchSliceMs = 250;

bool IsOpticalName(const std::string& name) {
  return name.size() > 2 && name.compare(0, 2, "sr") == 0 &&
         std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

class SystemDriveChanges : public DriveChangeSource {
 public:
  SystemDriveChanges(std::vector<std::string> files, std::string sysfsBlock, int pollMs)
      : sysfs_(std::move(sysfsBlock)),
        pollMs_(std::max(pollMs, 10)),
        known_(OpticalNodeNames(sysfs_)),
        files_(std::move(files)),
        fileStates_(FileStates()) {
    udev_ = udev_new();
    if (udev_) monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (monitor_ &&
        (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", "disk") < 0 ||
         udev_monitor_enable_receiving(monitor_) < 0)) {
      udev_monitor_unref(monitor_);
      monitor_ = nullptr;
    }
    nextPoll_ = Clock::now() + std::chrono::milliseconds(pollMs_);
  }
  ~SystemDriveChanges() override {
    if (monitor_) udev_monitor_unref(monitor_);
    if (udev_) udev_unref(udev_);
  }
  SystemDriveChanges(const SystemDriveChanges&) = delete;
  SystemDriveChanges& operator=(const SystemDriveChanges&) = delete;

  bool WaitForChange(int timeoutMs) override {
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
      const Clock::time_point now = Clock::now();
      if (now >= nextPoll_) {
        nextPoll_ = now + std::chrono::milliseconds(pollMs_);
        if (SysfsChanged()) return true;
      }
      if (now >= end) return false;
      const auto until = std::min(end, nextPoll_);
      const int wait =
          static_cast<int>(
              std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count()) +
          1;
      if (!monitor_) {
        ::poll(nullptr, 0, wait);
        continue;
      }
      pollfd fd{udev_monitor_get_fd(monitor_), POLLIN, 0};
      if (::poll(&fd, 1, wait) > 0 && (fd.revents & POLLIN) && OpticalEvent()) {
        known_ = OpticalNodeNames(sysfs_);
        return true;
      }
    }
  }

 private:
  using Clock = std::chrono::steady_clock;

  bool SysfsChanged() {
    std::vector<std::string> files = FileStates();
    std::set<std::string> now = OpticalNodeNames(sysfs_);
    if (now == known_ && files == fileStates_) return false;
    known_ = std::move(now);
    fileStates_ = std::move(files);
    return true;
  }

  std::vector<std::string> FileStates() const {
    std::vector<std::string> states;
    for (const std::string& f : files_) states.push_back(FileState(f));
    return states;
  }

  // One udev event: an sr* disk added or removed (a disc going in or out
  // is a "change" of the same disk, not a drive that came or went).
  bool OpticalEvent() {
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (!device) return false;
    const char* name = udev_device_get_sysname(device);
    const char* action = udev_device_get_action(device);
    const bool optical = name && IsOpticalName(name) && action &&
                         (!std::strcmp(action, "add") || !std::strcmp(action, "remove"));
    udev_device_unref(device);
    return optical;
  }

  std::string sysfs_;
  int pollMs_;
  std::set<std::string> known_;
  std::vector<std::string> files_;
  std::vector<std::string> fileStates_;
  Clock::time_point nextPoll_;
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
};

}  // namespace

std::set<std::string> OpticalNodeNames(const std::string& sysfsBlock) {
  std::set<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(sysfsBlock, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (IsOpticalName(name)) names.insert(std::move(name));
  }
  return names;
}

std::unique_ptr<DriveChangeSource> MakeSystemDriveChanges(std::vector<std::string> files,
                                                          const std::string& sysfsBlock,
                                                          int pollMs) {
  return std::make_unique<SystemDriveChanges>(std::move(files), sysfsBlock, pollMs);
}

DriveWatcher::DriveWatcher(std::unique_ptr<DriveChangeSource> source)
    : source_(std::move(source)), thread_([this] { Run(); }) {}

DriveWatcher::~DriveWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void DriveWatcher::Run() {
  while (!stop_) {
    if (source_ && source_->WaitForChange(kWatchSliceMs)) {
      changes_.fetch_add(1);
      changed_ = true;
    }
    if (!source_) return;
  }
}

}  // namespace twr
