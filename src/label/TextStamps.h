// The large texts laid out on a ring strip, kept as the pixels they left, so
// that the strip's next layout copies a text drawn again in the same place
// (the note lines while only the title changes without changing its width,
// or the title while only the notes change) instead of filling its outlines
// again. Only texts that Qt draws by filling their outlines (taller than its
// glyph cache) are kept: those come out the same each time they are drawn
// at the same coordinates on a strip of the same size (the very first
// drawing of a glyph in a process may differ by a grey level from all later
// ones, as for any drawing the renderer keeps). A text is put back only where
// no other text has drawn in this layout; drawn anywhere else, or in another
// font, colour or strip, it is drawn.
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
  // A layout begins on a strip just filled with `background`.
  void Begin(uint32_t background);
  // Draws `text` as strip.DrawText(x, y, text) would.
  void Draw(ImageBuffer& strip, int x, int y, std::string_view text);
  // The layout ends: its stamps are kept for the next one.
  void End();

  // Texts copied and texts drawn in the last layout (tests, measurements).
  int Copied() const { return copied_; }
  int Drawn() const { return drawn_; }

 private:
  struct Stamp {
    std::string key;  // text, font, colours, place and strip size
    QRect ink;        // on the strip; empty when the text left no ink
    ImageBuffer pixels;
  };
  std::string KeyOf(const ImageBuffer& strip, int x, int y, std::string_view text) const;
  bool Touches(const QRect& rect) const;

  uint32_t background_ = 0;
  std::vector<Stamp> kept_;  // from the last layout
  std::vector<Stamp> made_;  // in this one
  std::vector<QRect> touched_;
  int copied_ = 0;
  int drawn_ = 0;
};

}  // namespace twr
