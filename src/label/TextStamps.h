// The texts laid out on a ring strip, kept as the pixels they left. The next
// layout of the strip that draws the same text in the same font again (the
// note lines when only the title changed, or the title when only the notes
// did) copies those pixels to the new place instead of rasterising the text
// anew, which for fonts taller than the rasteriser's glyph cache means
// filling every outline again. A copy is only made where it leaves exactly
// the pixels drawing would: onto strip background no other text has touched
// in this layout; anywhere else the text is drawn.
#pragma once

#include <QRect>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "label/ImageBuffer.h"

namespace twr {

class TextStamps {
 public:
  // A layout begins on a strip filled with `background`.
  void Begin(uint32_t background);
  // Draws `text` as strip.DrawText(x, y, text) does, with the strip's font
  // and text colour.
  void Draw(ImageBuffer& strip, int x, int y, std::string_view text);
  // The layout ends: its stamps are kept for the next one, others dropped.
  void End();
  // Drops every stamp.
  void Clear();

  // Texts copied and texts drawn since Begin (tests, measurements).
  int Copied() const { return copied_; }
  int Drawn() const { return drawn_; }

 private:
  struct Stamp {
    std::string key;
    ImageBuffer ink;      // the text's pixels that differ from the background
    int dx = 0;           // of the ink's left edge from the text's point
    int top = 0;          // the ink's top row on the strip
    bool usable = false;  // false: the text has to be drawn
  };
  Stamp Make(const ImageBuffer& strip, int y, std::string_view text, std::string key) const;
  bool Touches(const QRect& rect) const;

  uint32_t background_ = 0;
  std::vector<Stamp> kept_;
  std::vector<Stamp> used_;
  std::vector<QRect> touched_;  // strip parts drawn on since Begin
  int copied_ = 0;
  int drawn_ = 0;
};

}  // namespace twr
