// Unmounting a drive's disc through the desktop's disk service, udisks2, on
// D-Bus: the Filesystem interface's Unmount on the block device's object,
// with interactive authorisation allowed, so that the desktop's own
// authorisation agent may ask the user.
#pragma once

#include <memory>
#include <string>

#include "drive/DiscUnmount.h"

namespace twr::desktop {

inline constexpr const char* kUDisksService = "org.freedesktop.UDisks2";
// Where the program's service looks for udisks2 instead of the system bus:
// a bus address, or "session" (tests run a private bus).
inline constexpr const char* kUDisksBusVariable = "TWR_UDISKS_BUS";

class UDisksUnmountService : public UnmountService {
 public:
  // udisks2 on the system bus, or on the bus at `busAddress` ("session" for
  // the session bus).
  explicit UDisksUnmountService(std::string busAddress = {});

  // Finds the object of `node` (/org/freedesktop/UDisks2/block_devices/
  // plus the kernel's name of the device), checks that its Block.Device is
  // that node, and asks its file system to unmount. A bus without udisks2
  // gives NoService; udisks2's refusals map onto NotAllowed, Busy and
  // NotMounted, each with udisks2's own message.
  UnmountResult Unmount(const std::string& node) override;

 private:
  std::string busAddress_;
};

// The service the program uses: on the system bus, or on the bus that the
// environment variable TWR_UDISKS_BUS names.
std::unique_ptr<UnmountService> MakeUnmountService();

}  // namespace twr::desktop
