// The fit loop shared by the boxes and the ring text: shrink the font one
// pixel at a time while the text is too wide and the floor test passes.
#pragma once

#include <algorithm>
#include <string_view>

#include "label/ImageBuffer.h"
#include "label/LabelFont.h"

namespace twr {

struct FitResult {
  int height = 0;  // final h; the selected font is one pixel taller after any pass
  int width = 0;   // the text's width in the selected font
};

// Fonts up to this height are tried one pixel at a time, as the fit loop is
// written. Above it a text's width grows with the font's height (hinting no
// longer moves the advances), so the loop's stopping height is found by
// halving instead: the same height, in a few dozen measurements rather than
// one per pixel of a box that may be thousands of pixels tall.
inline constexpr int kStepwiseFitHeight = 128;

// One fit loop from state (selected, h): while the text is too wide in the
// selected font and floorOk(h) holds, select height h and decrease h. Ends
// with the last font selected on `image`, `selected` and `h` updated, and
// returns the text's width in that font. `selected` is h or h + 1.
template <typename TooWide, typename FloorOk>
int ShrinkToFit(ImageBuffer& image, LabelFontCache& fonts, std::string_view text, int& selected,
                int& h, TooWide tooWide, FloorOk floorOk) {
  int width = image.MeasureText(text);
  if (!tooWide(width) || !floorOk(h)) return width;
  // A pass that selects the height already selected measures the same width.
  if (selected == h) --h;
  if (!floorOk(h)) return width;
  auto widthAt = [&](long long f) {
    image.SelectFont(fonts.Get(static_cast<int>(f)));
    return image.MeasureText(text);
  };
  // The loop stops at the first font f below the selected one that fits or
  // whose next height fails the floor; every font above it is too wide.
  auto stops = [&](long long f, int w) { return !tooWide(w) || !floorOk(static_cast<int>(f - 1)); };
  long long tooWideAt = selected;  // a font known not to stop
  int tooWideWidth = width;
  long long stopAt = -1;  // a font known to stop
  int stopWidth = 0;
  for (long long step = 1; tooWideAt > kStepwiseFitHeight + 1; step *= 2) {
    const long long f = std::max<long long>(tooWideAt - step, kStepwiseFitHeight + 1);
    const int w = widthAt(f);
    if (stops(f, w)) {
      stopAt = f;
      stopWidth = w;
      break;
    }
    tooWideAt = f;
    tooWideWidth = w;
  }
  if (stopAt >= 0) {
    while (tooWideAt - stopAt > 1) {
      const long long mid = stopAt + (tooWideAt - stopAt) / 2;
      const int w = widthAt(mid);
      if (stops(mid, w)) {
        stopAt = mid;
        stopWidth = w;
      } else {
        tooWideAt = mid;
      }
    }
    image.SelectFont(fonts.Get(static_cast<int>(stopAt)));
    selected = static_cast<int>(stopAt);
    h = selected - 1;
    return stopWidth;
  }
  // Down to the stepwise heights: go on one pixel at a time from the last
  // font known to be too wide.
  image.SelectFont(fonts.Get(static_cast<int>(tooWideAt)));
  selected = static_cast<int>(tooWideAt);
  h = selected - 1;
  width = tooWideWidth;
  while (tooWide(width) && floorOk(h)) {
    image.SelectFont(fonts.Get(h));
    selected = h;
    --h;
    width = image.MeasureText(text);
  }
  return width;
}

// Selects the fitted font on `image` and returns the final h and width.
// Each pass selects height h, then decreases h, then measures again, so the
// first pass selects the start height once more. Floor tests must be of the
// form "h at least some value".
template <typename TooWide, typename FloorOk>
FitResult FitText(ImageBuffer& image, LabelFontCache& fonts, std::string_view text, int startHeight,
                  TooWide tooWide, FloorOk floorOk) {
  int selected = startHeight;
  int h = startHeight;
  image.SelectFont(fonts.Get(h));
  const int width = ShrinkToFit(image, fonts, text, selected, h, tooWide, floorOk);
  return {h, width};
}

}  // namespace twr
