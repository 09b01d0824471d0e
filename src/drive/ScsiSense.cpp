// Sense data in fixed and descriptor format.
#include <algorithm>

#include "drive/ScsiTransport.h"

namespace twr {

namespace {

constexpr std::uint8_t kResponseCodeMask = 0x7F;
constexpr std::uint8_t kFixedCurrent = 0x70;
constexpr std::uint8_t kFixedDeferred = 0x71;
constexpr std::uint8_t kDescriptorCurrent = 0x72;
constexpr std::uint8_t kDescriptorDeferred = 0x73;
constexpr std::uint8_t kKeyMask = 0x0F;
// Fixed format: the key's byte, ASC and ASCQ.
constexpr std::size_t kFixedKey = 2;
constexpr std::size_t kFixedAsc = 12;
constexpr std::size_t kFixedAscq = 13;
// Descriptor format.
constexpr std::size_t kDescriptorKey = 1;
constexpr std::size_t kDescriptorAsc = 2;
constexpr std::size_t kDescriptorAscq = 3;

std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  return at < bytes.size() ? bytes[at] : 0;
}

}  // namespace

ScsiSense DecodeSense(std::span<const std::uint8_t> bytes) {
  ScsiSense sense;
  const std::uint8_t code = ByteAt(bytes, 0) & kResponseCodeMask;
  if (code < kFixedCurrent || code > kDescriptorDeferred) return sense;
  sense.present = true;
  sense.descriptor = code == kDescriptorCurrent || code == kDescriptorDeferred;
  sense.deferred = code == kFixedDeferred || code == kDescriptorDeferred;
  if (sense.descriptor) {
    sense.keyByte = ByteAt(bytes, kDescriptorKey) & kKeyMask;
    sense.asc = ByteAt(bytes, kDescriptorAsc);
    sense.ascq = ByteAt(bytes, kDescriptorAscq);
  } else {
    sense.keyByte = ByteAt(bytes, kFixedKey);
    sense.asc = ByteAt(bytes, kFixedAsc);
    sense.ascq = ByteAt(bytes, kFixedAscq);
  }
  sense.key = sense.keyByte & kKeyMask;
  return sense;
}

void ScsiResult::SetSense(std::span<const std::uint8_t> bytes) {
  senseBytes.fill(0);
  senseLength = std::min(bytes.size(), senseBytes.size());
  std::copy_n(bytes.begin(), senseLength, senseBytes.begin());
  sense = DecodeSense(std::span<const std::uint8_t>(senseBytes.data(), senseLength));
}

}  // namespace twr
