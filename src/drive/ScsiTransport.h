// The one seam between the program and a drive: execute a CDB with a
// direction and a length, and say how it ended in one result. Real drives
// (SG_IO) and the virtual drive implement it; everything above reaches a
// drive only through it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace twr {

enum class ScsiDirection { None, In, Out };

inline constexpr std::size_t kTransportSenseSize = 32;

// SCSI status bytes a drive returns, and none at all.
inline constexpr int kScsiStatusGood = 0x00;
inline constexpr int kScsiStatusCheckCondition = 0x02;
inline constexpr int kScsiStatusBusy = 0x08;
inline constexpr int kScsiStatusReservationConflict = 0x18;
inline constexpr int kScsiStatusTaskSetFull = 0x28;
inline constexpr int kNoScsiStatus = -1;

// Sense data read from either format a drive may send: fixed (response
// code 0x70 current, 0x71 deferred) or descriptor (0x72, 0x73).
struct ScsiSense {
  bool present = false;     // the bytes hold sense data of a known format
  bool descriptor = false;  // in descriptor format
  bool deferred = false;    // about an earlier command
  // The byte that holds the sense key, whole: in fixed format byte 2 with
  // its filemark, end-of-medium and length flags; in descriptor format the
  // key alone.
  std::uint8_t keyByte = 0;
  std::uint8_t key = 0;  // 0 ... 15
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

// The sense in `bytes` (all zero when they hold none).
ScsiSense DecodeSense(std::span<const std::uint8_t> bytes);

// How one command ended.
struct ScsiResult {
  // GOOD status and no transport error.
  bool ok = false;
  // The status byte the drive returned; kNoScsiStatus when none came back
  // (the drive is gone, the host adapter or driver failed) or the transport
  // cannot tell.
  int status = kNoScsiStatus;
  // The sense bytes as the drive sent them (zero after them), and decoded.
  std::array<std::uint8_t, kTransportSenseSize> senseBytes{};
  std::size_t senseLength = 0;
  ScsiSense sense;
  // errno of a pass-through call that failed (ENODEV, EIO, ...); 0 otherwise.
  int systemError = 0;
  // For In, the bytes the drive really transferred (at most the length
  // asked for; a transport that cannot tell reports the whole length); for
  // Out, the bytes sent.
  std::size_t transferred = 0;

  // Keeps `bytes` (at most kTransportSenseSize) as the sense and decodes them.
  void SetSense(std::span<const std::uint8_t> bytes);
  // The drive answered: with sense, or at least with a status.
  bool Answered() const { return sense.present || status != kNoScsiStatus; }
};

class ScsiTransport {
 public:
  virtual ~ScsiTransport() = default;
  // Sends one command and waits for it to finish. For In, the drive's data
  // lands at the start of `data` (data.size() bytes were asked for); for Out,
  // all of `data` is sent.
  virtual ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                             std::span<std::uint8_t> data) = 0;
};

}  // namespace twr
