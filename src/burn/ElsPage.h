// The ELS page (mode page 0x2D) as the program keeps it: the 200 bytes read
// with MODE SENSE(10), header included, with big-endian field access. Where
// the fields lie is the drive layer's ElsPageLayout.
#pragma once

#include <cstddef>
#include <cstdint>

#include "drive/ElsPageLayout.h"

namespace twr {

class ElsPage : public ElsPageLayout {
 public:
  ElsPage() = default;
  explicit ElsPage(const ElsPageBytes& bytes) : bytes_(bytes) {}

  ElsPageBytes& Bytes() { return bytes_; }
  const ElsPageBytes& Bytes() const { return bytes_; }
  std::uint8_t* Data() { return bytes_.data(); }
  const std::uint8_t* Data() const { return bytes_.data(); }

  unsigned U8(std::size_t offset) const { return bytes_[offset]; }
  unsigned U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  void SetU8(std::size_t offset, unsigned value);
  void SetU16(std::size_t offset, unsigned value);
  void SetU32(std::size_t offset, std::uint32_t value);

  int EntryCount() const { return static_cast<int>(U8(kOffEntryCount) & kEntryCountMask); }
  // Divisor chosen by bits 2-3 of the selector byte.
  unsigned FeedDivisor() const;

 private:
  ElsPageBytes bytes_{};
};

}  // namespace twr
