// How a drive shows that the label side of a disc faces the laser: three
// bytes of its full TOC (READ TOC format 2) spell "Q&K".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace twr {

struct LabelSignatureByte {
  std::size_t offset;  // from the first byte of the full TOC answer
  std::uint8_t value;
};

inline constexpr std::array<LabelSignatureByte, 3> kLabelSignature = {
    {{82, 'Q'}, {90, '&'}, {91, 'K'}}};

}  // namespace twr
