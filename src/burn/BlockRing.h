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
  // The same test, without the copy where it can be spared: `window` points
  // at the three slots in the ring when they lie side by side, and at
  // `scratch` (filled with them) at the wrap. The slots stay as they are
  // until StoreInterleavedBlock: the encoder cannot reach them before the
  // burn position has passed them, and the burn thread reads a slot only
  // after the interleaver has stored it.
  RingRead PeekInterleaveWindow(const std::uint8_t*& window, std::uint8_t* scratch,
                                bool encoderAlive);
  void StoreInterleavedBlock(const std::uint8_t* block);
  // Burn thread: copies the slot at its position to `destination`. A block
  // the interleaver has not stored is never taken; once the interleaver has
  // ended such a block is Never.
  RingRead TakeBlock(std::uint8_t* destination, bool interleaverAlive);

  // ---- Batches: each thread works on slots it alone owns and publishes
  // them with one locked step, instead of one lock and one copy per block.
  // Encoder: up to `want` free slots side by side from the encoder
  // position, to be filled in place (0 when the ring is full).
  std::uint8_t* FreeSlots(int want, int& count);
  // Encoder: the first `count` of those slots are filled.
  void PublishEncoded(int count);
  // Interleaver: how many blocks from its position may be interleaved now
  // (at most `want`): those whose window the encoder has filled, or, once
  // it has ended, every block it made. NotYet or Never as for the window
  // test when there is none.
  RingRead ReadyToInterleave(bool encoderAlive, int want, int& count);
  // Interleaver: the window of the block `ahead` slots past its position
  // (within the count from ReadyToInterleave); at the wrap it is copied to
  // `scratch`. The slot itself receives the block's output.
  const std::uint8_t* WindowAhead(int ahead, std::uint8_t* scratch);
  std::uint8_t* SlotAhead(int ahead) { return Slot((interleaverPosition_ + ahead) % kRingSlots); }
  // Interleaver: `count` blocks from its position hold their output.
  void PublishInterleaved(int count);
  // Burn thread: copies up to `want` interleaved blocks to `destination`;
  // `count` says how many (0 with NotYet or Never as TakeBlock says).
  RingRead TakeBlocks(std::uint8_t* destination, int want, bool interleaverAlive, int& count);
  // Wakes every waiting thread (a producer has ended or is stopped).
  void WakeAll();

  // Waits of the three threads: each ends at its poll time, or as soon as
  // the ring holds what the thread needs (the encoder: `want` free slots;
  // the interleaver: its three-slot window; the burn thread: `want` blocks
  // to take). Waking for less would cost a thread switch per block.
  void WaitForRoom(int want, std::chrono::milliseconds poll);
  void WaitForWindow(std::chrono::milliseconds poll);
  void WaitForBlocks(int want, std::chrono::milliseconds poll);

  // The ring lock, for the burn thread's pauses that hold it.
  std::mutex& Lock() { return mutex_; }

  // Blocks interleaved and not yet taken by the burn thread.
  int InterleavedBlocks() const;

  int EncoderPosition() const;
  int InterleaverPosition() const;
  int BurnPosition() const;

 private:
  static int Next(int position) { return (position + 1) % kRingSlots; }
  // With the lock held: whether the window at the interleaver position may be read.
  RingRead WindowReady(bool encoderAlive) const;
  void CopyWindow(std::uint8_t* window);
  // With the lock held: slots free for the encoder, filled for the
  // interleaver, interleaved for the burn thread.
  int Free() const { return (burnPosition_ - encoderPosition_ - 1 + kRingSlots) % kRingSlots; }
  int Encoded() const {
    return (encoderPosition_ - interleaverPosition_ + kRingSlots) % kRingSlots;
  }
  int Interleaved() const {
    return (interleaverPosition_ - burnPosition_ + kRingSlots) % kRingSlots;
  }
  void Wait(std::condition_variable& cv, int& want, int need, int (BlockRing::*have)() const,
            std::chrono::milliseconds poll);
  std::uint8_t* Slot(int position) {
    return slots_.get() + static_cast<std::size_t>(position) * kBurnBlockSize;
  }

  std::unique_ptr<std::uint8_t[]> slots_;
  mutable std::mutex mutex_;
  // One waiter each; `want` is 0 while nobody waits.
  std::condition_variable roomChanged_, windowChanged_, blocksChanged_;
  int roomWant_ = 0, windowWant_ = 0, blocksWant_ = 0;
  int encoderPosition_ = 0;
  int interleaverPosition_ = 0;
  int burnPosition_ = 0;
  // Blocks that have passed each position since the reset.
  std::int64_t encoded_ = 0;
  std::int64_t interleaved_ = 0;
};

}  // namespace twr
