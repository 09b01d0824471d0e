// Where the fields of the ELS page (mode page 0x2D) lie in the 200 bytes that
// MODE SENSE(10) answers and MODE SELECT(10) sends back, mode header included.
// Multi-byte fields are big-endian. The burn and the virtual drive both use it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace twr {

struct ElsPageLayout {
  static constexpr int kPageCode = 0x2D;
  static constexpr std::size_t kSize = 200;

  // The mode parameter header: the mode data length (the bytes after it),
  // then the page itself from byte 8: its code and its length.
  static constexpr std::size_t kOffModeDataLength = 0;
  static constexpr std::size_t kModeHeaderSize = 8;
  static constexpr std::size_t kOffPageCode = kModeHeaderSize;
  static constexpr std::size_t kOffPageLength = 9;
  static constexpr std::uint8_t kPageCodeMask = 0x3F;
  static constexpr std::uint8_t kParametersSavable = 0x80;  // beside the code

  // Field offsets from the first byte of the 200.
  static constexpr std::size_t kOffSelector = 14;      // bits 2-3 divisor selector, 4-7 cleared
  static constexpr std::size_t kOffLabelWriting = 16;  // 1 while a burn may write
  static constexpr std::size_t kOffEntryCount = 18;    // bits 0-2
  static constexpr std::size_t kOffBytpw = 22;  // 4 bytes: the most blocks one write may carry
  static constexpr std::size_t kOffCurrentRotation = 44;  // revolutions per minute, a fraction
  static constexpr std::size_t kOffCurrentSpeed = 50;     // units of 75 blocks a second, a fraction
  static constexpr std::size_t kOffDivisorA = 58;
  static constexpr std::size_t kOffDivisorB = 60;
  static constexpr std::size_t kOffFeedStepNumerator = 62;
  static constexpr std::size_t kOffFeedStepDenominator = 64;
  static constexpr std::size_t kOffStepsPerFeed = 84;  // revolutions per feed step
  static constexpr std::size_t kOffSpeedEntries = 92;
  static constexpr std::size_t kSpeedEntrySize = 12;
  static constexpr int kMaxSpeedEntries = 7;

  // A fraction is a 16-bit numerator followed by its 16-bit denominator.
  static constexpr std::size_t kFractionDenominator = 2;
  static constexpr std::size_t kFractionSize = 4;
  // Within a speed entry: the rotation, then the speed, each a fraction.
  static constexpr std::size_t kEntryRotation = 0;
  static constexpr std::size_t kEntrySpeed = 4;

  static constexpr std::uint8_t kLabelWritingOn = 1;
  static constexpr std::uint8_t kSelectorDivisorMask = 0x0C;  // 0: divisor A, else divisor B
  static constexpr std::uint8_t kSelectorClearMask = 0x0F;    // keeps bits 0-3
  static constexpr std::uint8_t kEntryCountMask = 0x07;

  static constexpr std::size_t EntryOffset(int i) {
    return kOffSpeedEntries + static_cast<std::size_t>(i) * kSpeedEntrySize;
  }
};

// The page's bytes as a drive holds them.
using ElsPageBytes = std::array<std::uint8_t, ElsPageLayout::kSize>;

}  // namespace twr
