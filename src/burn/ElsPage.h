// The ELS page (mode page 0x2D) as the program keeps it: the 200 bytes read
// with MODE SENSE(10), header included, and the offsets of the fields the
// burn preparation reads and writes. Multi-byte fields are big-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace twr {

class ElsPage {
 public:
  static constexpr int kPageCode = 0x2D;
  static constexpr std::size_t kSize = 200;

  // Field offsets from the first byte of the 200 (mode header included).
  static constexpr std::size_t kOffPageCode = 8;
  static constexpr std::size_t kOffPageLength = 9;
  static constexpr std::size_t kOffSelector = 14;  // bits 2-3 divisor selector, 4-7 cleared
  static constexpr std::size_t kOffLabelWriting = 16;
  static constexpr std::size_t kOffEntryCount = 18;       // bits 0-2
  static constexpr std::size_t kOffBytpw = 22;            // 4 bytes
  static constexpr std::size_t kOffCurrentRotation = 44;  // numerator, denominator
  static constexpr std::size_t kOffCurrentSpeed = 50;     // numerator, denominator
  static constexpr std::size_t kOffDivisorA = 58;
  static constexpr std::size_t kOffDivisorB = 60;
  static constexpr std::size_t kOffFeedStepNumerator = 62;
  static constexpr std::size_t kOffFeedStepDenominator = 64;
  static constexpr std::size_t kOffStepsPerFeed = 84;  // P, revolutions per feed step
  static constexpr std::size_t kOffSpeedEntries = 92;
  static constexpr std::size_t kSpeedEntrySize = 12;
  static constexpr int kMaxSpeedEntries = 7;

  static constexpr std::uint8_t kSelectorDivisorMask = 0x0C;
  static constexpr std::uint8_t kSelectorClearMask = 0x0F;  // keeps bits 0-3
  static constexpr std::uint8_t kEntryCountMask = 0x07;

  std::array<std::uint8_t, kSize>& Bytes() { return bytes_; }
  const std::array<std::uint8_t, kSize>& Bytes() const { return bytes_; }
  std::uint8_t* Data() { return bytes_.data(); }
  const std::uint8_t* Data() const { return bytes_.data(); }

  unsigned U8(std::size_t offset) const { return bytes_[offset]; }
  unsigned U16(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  void SetU8(std::size_t offset, unsigned value);
  void SetU16(std::size_t offset, unsigned value);
  void SetU32(std::size_t offset, std::uint32_t value);

  int EntryCount() const { return static_cast<int>(U8(kOffEntryCount) & kEntryCountMask); }
  std::size_t EntryOffset(int i) const {
    return kOffSpeedEntries + static_cast<std::size_t>(i) * kSpeedEntrySize;
  }
  // Divisor chosen by bits 2-3 of the selector byte.
  unsigned FeedDivisor() const;

 private:
  std::array<std::uint8_t, kSize> bytes_{};
};

}  // namespace twr
