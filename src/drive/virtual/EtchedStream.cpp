// De-interleaving and dot counting of the virtual drive's burn stream.
#include "drive/virtual/EtchedStream.h"

namespace twr {

namespace {

// The block layout and the interleave delays are the drive's own reading of
// a burn, apart from the burn's code (see VirtualBurnSide.cpp).
constexpr std::size_t kDataSize = 2352;
constexpr std::size_t kPattern = 12;
constexpr int kSamplesPerBlock = 196;
constexpr std::uint8_t kMark = 0x4A;  // 'J' darkens the spot; 'T' (0x54) leaves it light
constexpr std::size_t kDelayCount = 24;
constexpr int kDelay[kDelayCount] = {145, 71,  725,  651,  1641, 1567, 2221, 2147,
                                     331, 257, 911,  837,  1827, 1753, 2407, 2333,
                                     517, 443, 1097, 1023, 2013, 1939, 2593, 2519};

}  // namespace

void EtchedBurn::AddOutputBlock(std::int64_t index, const std::uint8_t* block) {
  if (index < 0 || marks_.BlocksPerPass() == 0) return;
  anyBlock_ = true;
  // Data offset p of output block n carries stream byte 2352 n + p + delay,
  // which lies in stream block n, n + 1 or n + 2.
  Pending* targets[3] = {&pending_[index], &pending_[index + 1], &pending_[index + 2]};
  for (std::size_t p = 0; p < kDataSize; ++p) {
    const std::size_t q = p + static_cast<std::size_t>(kDelay[p % kDelayCount]);
    Pending& target = *targets[q / kDataSize];
    target.data[q % kDataSize] = block[p];
    target.have[q % kDataSize] = 1;
  }
  // Later output blocks only reach stream blocks from their own number on.
  while (!pending_.empty() && pending_.begin()->first < index) {
    DecodeStreamBlock(pending_.begin()->first, pending_.begin()->second);
    pending_.erase(pending_.begin());
  }
}

void EtchedBurn::DecodeStreamBlock(std::int64_t index, const Pending& block) {
  const int blocksPerPass = marks_.BlocksPerPass();
  const std::int64_t perStep = static_cast<std::int64_t>(blocksPerPass) * marks_.Geometry().passes;
  const std::int64_t step = index / perStep;
  const int blockInPass = static_cast<int>(index % blocksPerPass);
  marks_.Touch(step);
  for (int t = 0; t < kSamplesPerBlock; ++t) {
    std::uint32_t marks = 0;
    for (std::size_t i = 0; i < kPattern; ++i) {
      const std::size_t at = static_cast<std::size_t>(t) * kPattern + i;
      if (block.have[at] && block.data[at] == kMark) ++marks;  // missing bytes leave no mark
    }
    marks_.Add(step, blockInPass * kSamplesPerBlock + t, marks);
  }
}

std::vector<float> EtchedBurn::Finish() {
  for (const auto& [index, block] : pending_) DecodeStreamBlock(index, block);
  pending_.clear();
  return marks_.Finish();
}

}  // namespace twr
