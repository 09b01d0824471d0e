// QR codes for the label's QR box: a text's modules (libqrencode, level M)
// and where each module lands on a box of whole label pixels, so that the
// label image and the exported drawings place them alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace twr {

// Light modules kept around the code on every side.
inline constexpr int kQrQuietModules = 4;
// The most bytes of text one code holds at level M (version 40, byte mode).
inline constexpr std::size_t kQrMaxBytes = 2331;

struct QrCode {
  int width = 0;              // modules across without the quiet zone; 0: no code
  std::vector<uint8_t> dark;  // width x width, row by row: 1 for a dark module

  bool Empty() const { return width == 0; }
  bool Dark(int x, int y) const {
    return dark[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)] != 0;
  }
  // Modules across with the quiet zone on both sides.
  int Across() const { return width + 2 * kQrQuietModules; }
};

// The code of `text` (its UTF-8 bytes) at error correction level M in the
// smallest version that holds it; empty for an empty text or one longer than
// a code holds.
QrCode EncodeQr(std::string_view text);
// Whether `text` fits one code.
bool QrHolds(std::string_view text);

// Where the modules of a code `across` modules wide (quiet zone included)
// land on a square box `side` pixels across: the largest whole number of
// pixels per module that fits, the code centred. A box narrower than the
// code gets module edges on whole pixels spread over the box (pitch 0):
// drawn, but not as a code that reads reliably.
struct QrGrid {
  int across = 0;
  int side = 0;
  int pitch = 0;   // pixels per module; 0 when the box is narrower than the code
  int offset = 0;  // pixels from the box's edge to the quiet zone's

  // The pixel, from the box's edge, where module `i` (0 .. across, the quiet
  // zone counted) begins.
  int Edge(int i) const {
    if (pitch > 0) return offset + i * pitch;
    return static_cast<int>(static_cast<long long>(i) * side / across);
  }
};
QrGrid PlaceQr(int across, int side);

}  // namespace twr
