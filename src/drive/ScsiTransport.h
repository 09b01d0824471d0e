// The one seam between the program and a drive: execute a CDB with a
// direction and a length. Real drives (SG_IO) and the virtual drive implement
// it; everything above reaches a drive only through it.
#pragma once

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

class ScsiTransport {
 public:
  virtual ~ScsiTransport() = default;
  // Sends one command and waits for it to finish. For In, the drive's data
  // lands at the start of `data` (data.size() bytes were asked for); for Out,
  // all of `data` is sent. `sense` arrives zeroed and receives the drive's
  // sense bytes when it returns any. Returns true only when the command
  // completed with GOOD status and no transport error.
  virtual bool Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                       std::span<std::uint8_t> data,
                       std::span<std::uint8_t, kTransportSenseSize> sense) = 0;

  // Execute, and for In also how many bytes the drive really transferred
  // (at most data.size()). A transport that cannot tell reports the whole
  // length; the drive object zeroes whatever was not transferred.
  virtual bool ExecuteCounted(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                              std::span<std::uint8_t> data,
                              std::span<std::uint8_t, kTransportSenseSize> sense,
                              std::size_t& transferred) {
    transferred = data.size();
    return Execute(cdb, direction, data, sense);
  }

  // The status byte the drive returned for the last command, or
  // kNoScsiStatus when none came back (the drive is gone, the host adapter
  // or driver failed) or the transport cannot tell.
  virtual int LastStatus() const { return kNoScsiStatus; }
};

}  // namespace twr
