// SG_IO pass-through: one sg_io_hdr per command, a 32-byte sense buffer, the
// time-out of the command's table entry, and the residual count zeroed.
#include "drive/SgioTransport.h"

#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "drive/CommandTimeouts.h"

namespace twr {

namespace {

constexpr unsigned kMillisecondsPerSecond = 1000;
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

int OpenNode(const std::string& node, DriveAccess access) {
  int flags = O_RDWR | O_NONBLOCK | O_CLOEXEC;
  if (access == DriveAccess::Exclusive) flags |= O_EXCL;
  return ::open(node.c_str(), flags);
}

}  // namespace

DriveOpenResult SgioTransport::Open(const std::string& node, DriveAccess access) {
  DriveOpenResult result;
  const int fd = OpenNode(node, access);
  if (fd < 0) {
    result.systemError = errno;
    result.error = DriveOpenErrorFromErrno(result.systemError);
    return result;
  }
  result.transport = std::shared_ptr<SgioTransport>(new SgioTransport(fd, node));
  return result;
}

std::shared_ptr<SgioTransport> SgioTransport::Open(const std::string& node, int* error) {
  const int fd = OpenNode(node, DriveAccess::Shared);
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

ScsiResult SgioTransport::Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                                  std::span<std::uint8_t> data) {
  ScsiResult result;
  if (fd_ < 0) {
    result.systemError = EBADF;
    return result;
  }
  if (cdb.empty() || cdb.size() > kMaxCdbLength) {
    result.systemError = EINVAL;
    return result;
  }
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
  io.timeout = CommandTimeoutSeconds(cdb[0]) * kMillisecondsPerSecond;
  if (io.dxfer_direction != SG_DXFER_NONE) {
    io.dxfer_len = static_cast<unsigned>(data.size());
    io.dxferp = data.data();
  }

  int rc;
  do {
    rc = ::ioctl(fd_, SG_IO, &io);
  } while (rc < 0 && errno == EINTR);
  // ENODEV, ENXIO, EIO and the rest: the drive is gone or refused the call.
  if (rc < 0) {
    result.systemError = errno;
    if (io.dxfer_direction == SG_DXFER_FROM_DEV) std::fill(data.begin(), data.end(), 0);
    return result;
  }

  if (io.dxfer_direction == SG_DXFER_FROM_DEV) {
    // The residual count is what the drive did not send: those bytes hold
    // whatever the buffer held before, so they are cleared.
    const std::size_t resid =
        io.resid > 0 ? std::min(static_cast<std::size_t>(io.resid), data.size()) : 0;
    result.transferred = data.size() - resid;
    std::fill(data.begin() + static_cast<std::ptrdiff_t>(result.transferred), data.end(), 0);
  } else if (io.dxfer_direction == SG_DXFER_TO_DEV) {
    result.transferred = data.size();
  }
  result.SetSense(std::span<const std::uint8_t>(
      senseBuffer, std::min<std::size_t>(io.sb_len_wr, kTransportSenseSize)));
  const bool delivered = io.host_status == 0 && (io.driver_status & ~kDriverSense) == 0;
  if (delivered) result.status = io.status;
  result.ok = delivered && io.status == 0;
  return result;
}

}  // namespace twr
