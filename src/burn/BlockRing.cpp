// Ring operations; each holds the ring lock for its whole run, copy included.
#include "burn/BlockRing.h"

#include <cstring>

namespace twr {

BlockRing::BlockRing()
    : slots_(
          std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(kRingSlots) * kBurnBlockSize)) {
}

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
  ++generation_;
  changed_.notify_all();
  return true;
}

RingRead BlockRing::LoadInterleaveWindow(std::uint8_t* window, bool encoderAlive) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (encoderAlive) {
    const int ahead = (encoderPosition_ - interleaverPosition_ + kRingSlots) % kRingSlots;
    if (ahead < 3) return RingRead::NotYet;
  } else if (interleaved_ >= encoded_) {
    return RingRead::Never;
  }
  int position = interleaverPosition_;
  for (int i = 0; i < 3; ++i, position = Next(position))
    std::memcpy(window + static_cast<std::size_t>(i) * kBurnBlockSize, Slot(position),
                kBurnBlockSize);
  return RingRead::Copied;
}

void BlockRing::StoreInterleavedBlock(const std::uint8_t* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::memcpy(Slot(interleaverPosition_), block, kBurnBlockSize);
  interleaverPosition_ = Next(interleaverPosition_);
  ++interleaved_;
  ++generation_;
  changed_.notify_all();
}

RingRead BlockRing::TakeBlock(std::uint8_t* destination, bool interleaverAlive) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (burnPosition_ == interleaverPosition_) {
    return interleaverAlive ? RingRead::NotYet : RingRead::Never;
  }
  std::memcpy(destination, Slot(burnPosition_), kBurnBlockSize);
  burnPosition_ = Next(burnPosition_);
  ++generation_;
  changed_.notify_all();
  return RingRead::Copied;
}

std::uint64_t BlockRing::Generation() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return generation_;
}

void BlockRing::WaitForChange(std::uint64_t seen, std::chrono::milliseconds poll) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_for(lock, poll, [&] { return generation_ != seen; });
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
