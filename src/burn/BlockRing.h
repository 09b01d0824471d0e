// The block ring between the three burn threads: 4096 slots of 2448 bytes,
// the encoder, interleaver and burn positions, and the ring lock that guards
// the positions and every slot copy. One slot always stays free.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "burn/DotEncoder.h"

namespace twr {

inline constexpr int kRingSlots = 4096;

// Answer of a ring read: the block was copied, it may still come, or it never
// will (its producer has ended without making it).
enum class RingRead { Copied, NotYet, Never };

class BlockRing {
 public:
  BlockRing();
  BlockRing(const BlockRing&) = delete;
  BlockRing& operator=(const BlockRing&) = delete;

  // All positions and counts back to slot 0.
  void Reset();

  // Encoder: false when the ring is full (advancing would meet the burn position).
  bool PutEncodedBlock(const std::uint8_t* block);
  // Interleaver: copies the slots at its position, +1 and +2 into `window`.
  // While the encoder is alive the three must be filled; once it has ended
  // the copy is made without that test, but never for a block the encoder
  // did not produce (then Never).
  RingRead LoadInterleaveWindow(std::uint8_t* window, bool encoderAlive);
  void StoreInterleavedBlock(const std::uint8_t* block);
  // Burn thread: copies the slot at its position to `destination`. A block
  // the interleaver has not stored is never taken; once the interleaver has
  // ended such a block is Never.
  RingRead TakeBlock(std::uint8_t* destination, bool interleaverAlive);

  // Count of ring changes. A thread that found the ring not ready waits
  // with WaitForChange(generation seen before its try, its poll time): the
  // poll ends at its time or as soon as the ring has changed.
  std::uint64_t Generation() const;
  void WaitForChange(std::uint64_t seen, std::chrono::milliseconds poll);

  // The ring lock, for the burn thread's pauses that hold it.
  std::mutex& Lock() { return mutex_; }

  int EncoderPosition() const;
  int InterleaverPosition() const;
  int BurnPosition() const;

 private:
  static int Next(int position) { return (position + 1) % kRingSlots; }
  std::uint8_t* Slot(int position) {
    return slots_.get() + static_cast<std::size_t>(position) * kBurnBlockSize;
  }

  std::unique_ptr<std::uint8_t[]> slots_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t generation_ = 0;
  int encoderPosition_ = 0;
  int interleaverPosition_ = 0;
  int burnPosition_ = 0;
  // Blocks that have passed each position since the reset.
  std::int64_t encoded_ = 0;
  std::int64_t interleaved_ = 0;
};

}  // namespace twr
