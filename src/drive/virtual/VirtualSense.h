// The sense the virtual drive answers with when it refuses a command, and how
// it puts that sense into fixed-format sense data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace twr {

// Sense key, additional sense code and qualifier.
struct SenseTriple {
  std::uint8_t key = 0;
  std::uint8_t asc = 0;
  std::uint8_t ascq = 0;
};

// Illegal requests.
inline constexpr SenseTriple kSenseInvalidOpcode{0x05, 0x20, 0x00};
inline constexpr SenseTriple kSenseLbaOutOfRange{0x05, 0x21, 0x00};
inline constexpr SenseTriple kSenseInvalidFieldInCdb{0x05, 0x24, 0x00};
inline constexpr SenseTriple kSenseInvalidFieldInParameters{0x05, 0x26, 0x00};
inline constexpr SenseTriple kSenseSequenceError{0x05, 0x2C, 0x00};
inline constexpr SenseTriple kSenseIncompatibleMedium{0x05, 0x30, 0x02};
inline constexpr SenseTriple kSenseRemovalPrevented{0x05, 0x53, 0x02};
// Not ready.
inline constexpr SenseTriple kSenseBecomingReady{0x02, 0x04, 0x01};
inline constexpr SenseTriple kSenseLongWriteInProgress{0x02, 0x04, 0x08};
inline constexpr SenseTriple kSenseNoMedium{0x02, 0x3A, 0x00};
// Medium errors.
inline constexpr SenseTriple kSenseLossOfStreaming{0x03, 0x0C, 0x09};
inline constexpr SenseTriple kSenseUnrecoveredReadError{0x03, 0x11, 0x00};

// Bytes of fixed-format sense data with its additional bytes up to 17.
inline constexpr std::size_t kFixedSenseSize = 18;

// Fills the first 14 bytes of `sense` as current fixed-format sense data
// with `triple`; the rest is left as it is.
inline void PutFixedSense(std::span<std::uint8_t> sense, const SenseTriple& triple) {
  constexpr std::uint8_t kCurrentFixed = 0x70;
  constexpr std::size_t kKeyByte = 2;
  constexpr std::size_t kAdditionalLengthByte = 7;
  constexpr std::uint8_t kAdditionalLength = 10;  // bytes 8 to 17
  constexpr std::size_t kAscByte = 12;
  constexpr std::size_t kAscqByte = 13;
  if (sense.size() <= kAscqByte) return;
  sense[0] = kCurrentFixed;
  sense[kKeyByte] = triple.key;
  sense[kAdditionalLengthByte] = kAdditionalLength;
  sense[kAscByte] = triple.asc;
  sense[kAscqByte] = triple.ascq;
}

}  // namespace twr
