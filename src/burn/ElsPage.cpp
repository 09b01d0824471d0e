// Big-endian field access of the ELS page.
#include "burn/ElsPage.h"

namespace twr {

unsigned ElsPage::U16(std::size_t offset) const {
  return (static_cast<unsigned>(bytes_[offset]) << 8) | bytes_[offset + 1];
}

std::uint32_t ElsPage::U32(std::size_t offset) const {
  return (static_cast<std::uint32_t>(bytes_[offset]) << 24) |
         (static_cast<std::uint32_t>(bytes_[offset + 1]) << 16) |
         (static_cast<std::uint32_t>(bytes_[offset + 2]) << 8) | bytes_[offset + 3];
}

void ElsPage::SetU8(std::size_t offset, unsigned value) {
  bytes_[offset] = static_cast<std::uint8_t>(value);
}

void ElsPage::SetU16(std::size_t offset, unsigned value) {
  bytes_[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes_[offset + 1] = static_cast<std::uint8_t>(value);
}

void ElsPage::SetU32(std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

unsigned ElsPage::FeedDivisor() const {
  return (U8(kOffSelector) & kSelectorDivisorMask) == 0 ? U16(kOffDivisorA) : U16(kOffDivisorB);
}

}  // namespace twr
