// The fit loop shared by the boxes and the ring text: shrink the font one
// pixel at a time while the text is too wide and the floor test passes.
#pragma once

#include <string_view>

#include "label/ImageBuffer.h"
#include "label/LabelFont.h"

namespace twr {

struct FitResult {
  int height = 0;  // final h; the selected font is one pixel taller after any pass
  int width = 0;   // the text's width in the selected font
};

// Selects the fitted font on `image` and returns the final h and width.
// Each pass selects height h, then decreases h, then measures again, so the
// first pass selects the start height once more. Floor tests must be of the
// form "h at least some value".
template <typename TooWide, typename FloorOk>
FitResult FitText(ImageBuffer& image, LabelFontCache& fonts, std::string_view text, int startHeight,
                  TooWide tooWide, FloorOk floorOk) {
  int h = startHeight;
  image.SelectFont(fonts.Get(h));
  int width = image.MeasureText(text);
  // Every height above the tallest font cell selects that same font, so the
  // passes down to it change nothing but h: skip them (a box may be far
  // taller than any font).
  if (h > kMaxFontCell && tooWide(width) && floorOk(kMaxFontCell + 1)) {
    image.SelectFont(fonts.Get(kMaxFontCell));
    h = kMaxFontCell;
  }
  while (tooWide(width) && floorOk(h)) {
    image.SelectFont(fonts.Get(h));
    --h;
    width = image.MeasureText(text);
  }
  return {h, width};
}

}  // namespace twr
