// Text that stays legible over a picture: a box that keeps no fill of its
// own (the picture shows under its text) and a halo around the glyphs in
// the grey opposite to the text's, for each box and for the ring text. Kept
// per label in the label document; both off draws the label as before.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>

namespace twr {

class ImageBuffer;

// The boxes in the order of the arrays below.
enum class TextBox { Title = 0, Date = 1, Note = 2 };
inline constexpr int kTextBoxCount = 3;

struct TextLegibility {
  std::array<bool, kTextBoxCount> seeThrough{};  // the box keeps no fill
  std::array<bool, kTextBoxCount> halo{};        // a halo around the box's text
  bool ringHalo = false;                         // a halo around the ring text

  bool operator==(const TextLegibility&) const = default;
  // Every box and the ring drawn as a layout draws them.
  bool Plain() const { return *this == TextLegibility{}; }
  // Every box see-through or not, and every text with a halo or not.
  static TextLegibility All(bool seeThrough, bool halo);
  bool SeeThrough(TextBox box) const { return seeThrough[static_cast<int>(box)]; }
  bool Halo(TextBox box) const { return halo[static_cast<int>(box)]; }
};

// The halo's colour for text in `text` (0x00BBGGRR): black around light
// text, white around dark text.
uint32_t OppositeGrey(uint32_t text);

// How far a halo reaches from glyphs whose cell is `cellHeight` pixels
// tall: a twelfth of the cell, at least one pixel.
int HaloRadius(int cellHeight);

// Lays text given as its coverage (Format_Grayscale8 of the image's size,
// 255 where a glyph covers a pixel wholly) onto `image`: first the
// coverage spread by `radius` pixels in `halo`, then the text in `text`.
void PaintHaloText(ImageBuffer& image, const QImage& coverage, uint32_t text, uint32_t halo,
                   int radius);

// The coverage of text drawn in `text` on a buffer filled with
// `background` (a ring strip): how far each pixel has gone from the
// background towards the text colour. A null image when the two colours
// are the same.
QImage CoverageOf(const ImageBuffer& image, uint32_t background, uint32_t text);

}  // namespace twr
