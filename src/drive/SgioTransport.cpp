// SG_IO pass-through: one sg_io_hdr per command, a 32-byte sense buffer and
// the 65535-second time-out of every drive command.
#include "drive/SgioTransport.h"

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace twr {

namespace {

constexpr unsigned kTimeoutMs = 65535u * 1000u;
constexpr int kSgInterfaceId = 'S';
// driver_status bit that only says sense data came back.
constexpr unsigned kDriverSense = 0x08;
constexpr std::size_t kMaxCdbLength = 16;

int SgDirection(ScsiDirection direction, std::size_t length) {
  if (length == 0) return SG_DXFER_NONE;
  switch (direction) {
    case ScsiDirection::In:
      return SG_DXFER_FROM_DEV;
    case ScsiDirection::Out:
      return SG_DXFER_TO_DEV;
    default:
      return SG_DXFER_NONE;
  }
}

}  // namespace

std::shared_ptr<SgioTransport> SgioTransport::Open(const std::string& node, int* error) {
  const int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    return nullptr;
  }
  if (error) *error = 0;
  return std::shared_ptr<SgioTransport>(new SgioTransport(fd, node));
}

SgioTransport::~SgioTransport() {
  if (fd_ >= 0) ::close(fd_);
}

bool SgioTransport::Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                            std::span<std::uint8_t> data,
                            std::span<std::uint8_t, kTransportSenseSize> sense) {
  if (fd_ < 0 || cdb.empty() || cdb.size() > kMaxCdbLength) return false;
  std::uint8_t cdbCopy[kMaxCdbLength] = {};
  std::copy(cdb.begin(), cdb.end(), cdbCopy);
  std::uint8_t senseBuffer[kTransportSenseSize] = {};

  sg_io_hdr_t io;
  std::memset(&io, 0, sizeof io);
  io.interface_id = kSgInterfaceId;
  io.dxfer_direction = SgDirection(direction, data.size());
  io.cmd_len = static_cast<unsigned char>(cdb.size());
  io.cmdp = cdbCopy;
  io.mx_sb_len = sizeof senseBuffer;
  io.sbp = senseBuffer;
  io.timeout = kTimeoutMs;
  if (io.dxfer_direction != SG_DXFER_NONE) {
    io.dxfer_len = static_cast<unsigned>(data.size());
    io.dxferp = data.data();
  }

  int rc;
  do {
    rc = ::ioctl(fd_, SG_IO, &io);
  } while (rc < 0 && errno == EINTR);
  // ENODEV, ENXIO, EIO and the rest: the drive is gone or refused the call.
  if (rc < 0) return false;

  const std::size_t senseLength = std::min<std::size_t>(io.sb_len_wr, kTransportSenseSize);
  std::copy(senseBuffer, senseBuffer + senseLength, sense.begin());
  return io.status == 0 && io.host_status == 0 && (io.driver_status & ~kDriverSense) == 0;
}

}  // namespace twr
