// Real drives: the SCSI generic SG_IO ioctl on an optical drive node
// (/dev/srN). A node that vanishes makes every later command fail.
#pragma once

#include <memory>
#include <string>

#include "drive/ScsiTransport.h"

namespace twr {

class SgioTransport : public ScsiTransport {
 public:
  // Opens the node read-write, non-blocking, close-on-exec. Returns nullptr
  // when it cannot be opened; `error` (if given) receives errno then.
  static std::shared_ptr<SgioTransport> Open(const std::string& node, int* error = nullptr);
  ~SgioTransport() override;
  SgioTransport(const SgioTransport&) = delete;
  SgioTransport& operator=(const SgioTransport&) = delete;

  bool Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
               std::span<std::uint8_t> data,
               std::span<std::uint8_t, kTransportSenseSize> sense) override;

  const std::string& Node() const { return node_; }

 private:
  SgioTransport(int fd, std::string node) : fd_(fd), node_(std::move(node)) {}
  int fd_;
  std::string node_;
};

}  // namespace twr
