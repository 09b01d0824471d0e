// Where the renderer draws a box's fill and texts, in the box's own
// coordinates: the part of the label image the box covers (CELLayout.cpp),
// or a painter (CELLayoutPaint.cpp). One box routine feeds both.
#pragma once

#include <cstdint>
#include <string_view>

#include "label/ImageBuffer.h"

namespace twr {

class BoxSurface {
 public:
  virtual ~BoxSurface() = default;
  // Fills the box with `background` (or, `seeThrough`, leaves what lies
  // under it); texts are then drawn in `text`, with a halo in the opposite
  // grey around them when `halo` is set.
  virtual void Begin(uint32_t background, uint32_t text, bool seeThrough, bool halo) = 0;
  // The box's texts are all drawn (the halos go under every one of them).
  virtual void End() = 0;
  // The buffer the fit loop selects its fonts on and measures with.
  virtual ImageBuffer& Measure() = 0;
  // Draws text in the font selected on Measure() with the top-left of its
  // cell at (x, y), clipped to the box.
  virtual void DrawText(long long x, long long y, std::string_view text) = 0;
};

// No text is this wide or tall; anything that far away cannot be seen.
inline constexpr long long kFarOffBox = 1LL << 30;

}  // namespace twr
