// Real drives: the SCSI generic SG_IO ioctl on an optical drive node
// (/dev/srN), with a time-out that fits each command. A node that vanishes
// makes every later command fail.
#pragma once

#include <memory>
#include <string>

#include "drive/DriveSource.h"
#include "drive/ScsiTransport.h"

namespace twr {

class SgioTransport : public ScsiTransport {
 public:
  // Opens the node read-write, non-blocking, close-on-exec; for exclusive
  // access also O_EXCL, which the kernel refuses (EBUSY) while the drive is
  // mounted or another program holds it exclusively. The result says why
  // the node could not be opened.
  static DriveOpenResult Open(const std::string& node, DriveAccess access);
  // Shared open; nullptr when the node cannot be opened, `error` (if
  // given) receives errno then.
  static std::shared_ptr<SgioTransport> Open(const std::string& node, int* error = nullptr);
  ~SgioTransport() override;
  SgioTransport(const SgioTransport&) = delete;
  SgioTransport& operator=(const SgioTransport&) = delete;

  // For In, what the drive did not transfer (the residual count) is zeroed
  // and left out of `transferred`. The status counts only when the command
  // reached the drive and came back through the host adapter and driver; a
  // failed ioctl leaves its errno.
  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override;

  const std::string& Node() const { return node_; }

 private:
  SgioTransport(int fd, std::string node) : fd_(fd), node_(std::move(node)) {}
  int fd_;
  std::string node_;
};

}  // namespace twr
