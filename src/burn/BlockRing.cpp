// Ring operations; each holds the ring lock for its whole run, copy included.
#include "burn/BlockRing.h"

#include <algorithm>
#include <cstring>

namespace twr {

BlockRing::BlockRing()
    : slots_(std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(kRingSlots) *
                                                            kBurnBlockSize)) {}

void BlockRing::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  encoderPosition_ = interleaverPosition_ = burnPosition_ = 0;
  encoded_ = interleaved_ = 0;
}

bool BlockRing::PutEncodedBlock(const std::uint8_t* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Next(encoderPosition_) == burnPosition_) return false;
  std::memcpy(Slot(encoderPosition_), block, kBurnBlockSize);
  encoderPosition_ = Next(encoderPosition_);
  ++encoded_;
  if (windowWant_ > 0 && Encoded() >= windowWant_) windowChanged_.notify_one();
  return true;
}

RingRead BlockRing::WindowReady(bool encoderAlive) const {
  if (encoderAlive) {
    const int ahead = (encoderPosition_ - interleaverPosition_ + kRingSlots) % kRingSlots;
    if (ahead < 3) return RingRead::NotYet;
  } else if (interleaved_ >= encoded_) {
    return RingRead::Never;
  }
  return RingRead::Copied;
}

void BlockRing::CopyWindow(std::uint8_t* window) {
  int position = interleaverPosition_;
  for (int i = 0; i < 3; ++i, position = Next(position))
    std::memcpy(window + static_cast<std::size_t>(i) * kBurnBlockSize, Slot(position),
                kBurnBlockSize);
}

RingRead BlockRing::LoadInterleaveWindow(std::uint8_t* window, bool encoderAlive) {
  std::lock_guard<std::mutex> lock(mutex_);
  const RingRead ready = WindowReady(encoderAlive);
  if (ready == RingRead::Copied) CopyWindow(window);
  return ready;
}

RingRead BlockRing::PeekInterleaveWindow(const std::uint8_t*& window, std::uint8_t* scratch,
                                         bool encoderAlive) {
  std::lock_guard<std::mutex> lock(mutex_);
  const RingRead ready = WindowReady(encoderAlive);
  if (ready != RingRead::Copied) return ready;
  if (interleaverPosition_ + 2 < kRingSlots) {
    window = Slot(interleaverPosition_);
  } else {
    CopyWindow(scratch);
    window = scratch;
  }
  return ready;
}

void BlockRing::StoreInterleavedBlock(const std::uint8_t* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::memcpy(Slot(interleaverPosition_), block, kBurnBlockSize);
  interleaverPosition_ = Next(interleaverPosition_);
  ++interleaved_;
  if (blocksWant_ > 0 && Interleaved() >= blocksWant_) blocksChanged_.notify_one();
}

RingRead BlockRing::TakeBlock(std::uint8_t* destination, bool interleaverAlive) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (burnPosition_ == interleaverPosition_) {
    return interleaverAlive ? RingRead::NotYet : RingRead::Never;
  }
  std::memcpy(destination, Slot(burnPosition_), kBurnBlockSize);
  burnPosition_ = Next(burnPosition_);
  if (roomWant_ > 0 && Free() >= roomWant_) roomChanged_.notify_one();
  return RingRead::Copied;
}

std::uint8_t* BlockRing::FreeSlots(int want, int& count) {
  std::lock_guard<std::mutex> lock(mutex_);
  const int toEnd = kRingSlots - encoderPosition_;
  count = std::min({want, Free(), toEnd});
  return Slot(encoderPosition_);
}

void BlockRing::PublishEncoded(int count) {
  if (count <= 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  encoderPosition_ = (encoderPosition_ + count) % kRingSlots;
  encoded_ += count;
  if (windowWant_ > 0 && Encoded() >= windowWant_) windowChanged_.notify_one();
}

RingRead BlockRing::ReadyToInterleave(bool encoderAlive, int want, int& count) {
  std::lock_guard<std::mutex> lock(mutex_);
  count = 0;
  const RingRead ready = WindowReady(encoderAlive);
  if (ready != RingRead::Copied) return ready;
  // While the encoder runs a block's window needs the two blocks after it.
  const std::int64_t made = encoderAlive ? Encoded() - 2 : encoded_ - interleaved_;
  count = static_cast<int>(std::min<std::int64_t>(want, made));
  return count > 0 ? RingRead::Copied : RingRead::NotYet;
}

const std::uint8_t* BlockRing::WindowAhead(int ahead, std::uint8_t* scratch) {
  const int position = (interleaverPosition_ + ahead) % kRingSlots;
  if (position + 2 < kRingSlots) return Slot(position);
  for (int i = 0; i < 3; ++i)
    std::memcpy(scratch + static_cast<std::size_t>(i) * kBurnBlockSize,
                Slot((position + i) % kRingSlots), kBurnBlockSize);
  return scratch;
}

void BlockRing::PublishInterleaved(int count) {
  if (count <= 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  interleaverPosition_ = (interleaverPosition_ + count) % kRingSlots;
  interleaved_ += count;
  if (blocksWant_ > 0 && Interleaved() >= blocksWant_) blocksChanged_.notify_one();
}

RingRead BlockRing::TakeBlocks(std::uint8_t* destination, int want, bool interleaverAlive,
                               int& count) {
  std::lock_guard<std::mutex> lock(mutex_);
  count = std::min(want, Interleaved());
  if (count <= 0) {
    count = 0;
    return interleaverAlive ? RingRead::NotYet : RingRead::Never;
  }
  const int first = std::min(count, kRingSlots - burnPosition_);
  std::memcpy(destination, Slot(burnPosition_), static_cast<std::size_t>(first) * kBurnBlockSize);
  if (count > first)
    std::memcpy(destination + static_cast<std::size_t>(first) * kBurnBlockSize, Slot(0),
                static_cast<std::size_t>(count - first) * kBurnBlockSize);
  burnPosition_ = (burnPosition_ + count) % kRingSlots;
  if (roomWant_ > 0 && Free() >= roomWant_) roomChanged_.notify_one();
  return RingRead::Copied;
}

void BlockRing::WakeAll() {
  std::lock_guard<std::mutex> lock(mutex_);
  roomChanged_.notify_all();
  windowChanged_.notify_all();
  blocksChanged_.notify_all();
}

void BlockRing::Wait(std::condition_variable& cv, int& want, int need,
                     int (BlockRing::*have)() const, std::chrono::milliseconds poll) {
  std::unique_lock<std::mutex> lock(mutex_);
  want = need;
  cv.wait_for(lock, poll, [&] { return (this->*have)() >= need; });
  want = 0;
}

void BlockRing::WaitForRoom(int want, std::chrono::milliseconds poll) {
  Wait(roomChanged_, roomWant_, std::clamp(want, 1, kRingSlots - 1), &BlockRing::Free, poll);
}

void BlockRing::WaitForWindow(std::chrono::milliseconds poll) {
  Wait(windowChanged_, windowWant_, 3, &BlockRing::Encoded, poll);
}

void BlockRing::WaitForBlocks(int want, std::chrono::milliseconds poll) {
  Wait(blocksChanged_, blocksWant_, std::clamp(want, 1, kRingSlots - 1), &BlockRing::Interleaved,
       poll);
}

int BlockRing::InterleavedBlocks() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return Interleaved();
}

int BlockRing::EncoderPosition() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return encoderPosition_;
}
int BlockRing::InterleaverPosition() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return interleaverPosition_;
}
int BlockRing::BurnPosition() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return burnPosition_;
}

}  // namespace twr
