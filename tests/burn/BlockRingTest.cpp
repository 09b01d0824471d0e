// The block ring's rules: one free slot, the interleaver's three-slot window,
// the burn position behind the interleaver, wrapping, and the ends.
#include <gtest/gtest.h>

#include <vector>

#include "burn/BlockRing.h"

namespace twr {
namespace {

Block Numbered(int n) {
  Block b{};
  b[0] = static_cast<std::uint8_t>(n);
  b[1] = static_cast<std::uint8_t>(n >> 8);
  b[kBurnBlockSize - 1] = static_cast<std::uint8_t>(n * 7);
  return b;
}
int NumberOf(const std::uint8_t* b) {
  return b[0] | (b[1] << 8);
}

TEST(BlockRingTest, FullWithOneSlotFree) {
  BlockRing ring;
  for (int i = 0; i < kRingSlots - 1; ++i) ASSERT_TRUE(ring.PutEncodedBlock(Numbered(i).data()));
  EXPECT_FALSE(ring.PutEncodedBlock(Numbered(9999).data()));
  EXPECT_EQ(ring.EncoderPosition(), kRingSlots - 1);

  // Free one slot: interleave and take block 0.
  std::vector<std::uint8_t> window(kWindowSize);
  ASSERT_EQ(ring.LoadInterleaveWindow(window.data(), true), RingRead::Copied);
  EXPECT_EQ(NumberOf(window.data() + kBurnBlockSize), 1);
  ring.StoreInterleavedBlock(Numbered(5000).data());
  Block out{};
  ASSERT_EQ(ring.TakeBlock(out.data(), true), RingRead::Copied);
  EXPECT_EQ(NumberOf(out.data()), 5000);
  EXPECT_TRUE(ring.PutEncodedBlock(Numbered(4095).data()));  // lands in slot 4095
  EXPECT_FALSE(ring.PutEncodedBlock(Numbered(4096).data()));
  EXPECT_EQ(ring.EncoderPosition(), 0);  // wrapped
}

TEST(BlockRingTest, WindowNeedsThreeBlocksWhileTheEncoderRuns) {
  BlockRing ring;
  std::vector<std::uint8_t> window(kWindowSize);
  ring.PutEncodedBlock(Numbered(0).data());
  ring.PutEncodedBlock(Numbered(1).data());
  EXPECT_EQ(ring.LoadInterleaveWindow(window.data(), true), RingRead::NotYet);
  ring.PutEncodedBlock(Numbered(2).data());
  EXPECT_EQ(ring.LoadInterleaveWindow(window.data(), true), RingRead::Copied);
  // Once the encoder has ended, blocks it made are loaded without the test,
  // and none past them.
  ring.StoreInterleavedBlock(window.data());
  EXPECT_EQ(ring.LoadInterleaveWindow(window.data(), false), RingRead::Copied);
  ring.StoreInterleavedBlock(window.data());
  EXPECT_EQ(ring.LoadInterleaveWindow(window.data(), false), RingRead::Copied);
  ring.StoreInterleavedBlock(window.data());
  EXPECT_EQ(ring.LoadInterleaveWindow(window.data(), false), RingRead::Never);
}

TEST(BlockRingTest, TakeStaysBehindTheInterleaver) {
  BlockRing ring;
  Block out{};
  EXPECT_EQ(ring.TakeBlock(out.data(), true), RingRead::NotYet);
  EXPECT_EQ(ring.TakeBlock(out.data(), false), RingRead::Never);  // nothing will come
  for (int i = 0; i < 4; ++i) ring.PutEncodedBlock(Numbered(i).data());
  std::vector<std::uint8_t> window(kWindowSize);
  ring.LoadInterleaveWindow(window.data(), true);
  ring.StoreInterleavedBlock(Numbered(100).data());
  EXPECT_EQ(ring.TakeBlock(out.data(), true), RingRead::Copied);
  EXPECT_EQ(NumberOf(out.data()), 100);
  // Encoded but not interleaved: not taken, even after the interleaver ended.
  EXPECT_EQ(ring.TakeBlock(out.data(), false), RingRead::Never);
}

TEST(BlockRingTest, WindowAcrossTheWrap) {
  BlockRing ring;
  std::vector<std::uint8_t> window(kWindowSize);
  Block out{};
  // Walk all three positions to slot 4094, then across the end.
  for (int i = 0; i < kRingSlots + 10; ++i) {
    ASSERT_TRUE(ring.PutEncodedBlock(Numbered(i).data()));
    if (i >= 2) {
      ASSERT_EQ(ring.LoadInterleaveWindow(window.data(), true), RingRead::Copied);
      ASSERT_EQ(NumberOf(window.data()), (i - 2) & 0xFFFF);
      ASSERT_EQ(NumberOf(window.data() + 2 * kBurnBlockSize), i & 0xFFFF);
      ring.StoreInterleavedBlock(window.data());
      ASSERT_EQ(ring.TakeBlock(out.data(), true), RingRead::Copied);
      ASSERT_EQ(NumberOf(out.data()), (i - 2) & 0xFFFF);
    }
  }
  EXPECT_EQ(ring.EncoderPosition(), 10);
}

}  // namespace
}  // namespace twr
