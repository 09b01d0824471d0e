// The virtual drive's reading of one burn's WRITE(12) stream: output blocks
// undone from the interleaving, each stream block's dots counted in the
// drive's own words and handed to the etch model (drive/EtchModel), which
// places and draws them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "drive/EtchModel.h"

namespace twr {

// Decodes one burn: output blocks arrive in order (with gaps); each stream
// block is undone from the interleaving once no later block can add to it.
class EtchedBurn {
 public:
  explicit EtchedBurn(const EtchedBurnGeometry& geometry) : marks_(geometry) {}
  // Output block number `index` (0 = the first block of write 1).
  void AddOutputBlock(std::int64_t index, const std::uint8_t* block);
  // Decodes what is still pending and returns the burn's darkness per pixel.
  std::vector<float> Finish();
  bool Empty() const { return !anyBlock_; }

 private:
  struct Pending {
    std::array<std::uint8_t, 2352> data{};
    std::array<std::uint8_t, 2352> have{};
  };
  void DecodeStreamBlock(std::int64_t index, const Pending& block);

  EtchedMarks marks_;
  std::map<std::int64_t, Pending> pending_;
  bool anyBlock_ = false;
};

}  // namespace twr
