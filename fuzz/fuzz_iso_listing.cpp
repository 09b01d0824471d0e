// Arbitrary bytes as the blocks of a disc read through the drive: the
// top-level listing (volume descriptors, directory records, Rock Ridge
// continuation areas) must end, within its bounds, on whatever it reads.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "drive/IsoDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input starts at block 16, where the volume descriptors lie; the
  // blocks before it read as zeros and the disc ends with the input.
  constexpr std::uint64_t kStart = std::uint64_t{twr::kIsoFirstDescriptor} * twr::kIsoBlockSize;
  const std::uint64_t discBytes = kStart + size;
  const twr::IsoBlockReader read = [&](std::uint32_t lba, std::uint32_t count, std::uint8_t* out) {
    const std::uint64_t at = std::uint64_t{lba} * twr::kIsoBlockSize;
    const std::uint64_t bytes = std::uint64_t{count} * twr::kIsoBlockSize;
    if (count == 0 || at + bytes > discBytes + twr::kIsoBlockSize - 1) return false;
    std::memset(out, 0, bytes);
    const std::uint64_t from = std::max(at, kStart);
    const std::uint64_t to = std::min(at + bytes, discBytes);
    if (from < to) std::memcpy(out + (from - at), data + (from - kStart), to - from);
    return true;
  };
  twr::ListIsoRoot(read);
  return 0;
}
