// Big-endian field access of the ELS page.
#include "burn/ElsPage.h"

#include "drive/ByteOrder.h"

namespace twr {

unsigned ElsPage::U16(std::size_t offset) const {
  return GetBe16(&bytes_[offset]);
}

std::uint32_t ElsPage::U32(std::size_t offset) const {
  return GetBe32(&bytes_[offset]);
}

void ElsPage::SetU8(std::size_t offset, unsigned value) {
  bytes_[offset] = static_cast<std::uint8_t>(value);
}

void ElsPage::SetU16(std::size_t offset, unsigned value) {
  PutBe16(&bytes_[offset], value);
}

void ElsPage::SetU32(std::size_t offset, std::uint32_t value) {
  PutBe32(&bytes_[offset], value);
}

unsigned ElsPage::FeedDivisor() const {
  return (U8(kOffSelector) & kSelectorDivisorMask) == 0 ? U16(kOffDivisorA) : U16(kOffDivisorB);
}

}  // namespace twr
