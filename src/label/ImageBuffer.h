// A 24-bit image buffer (QImage::Format_RGB888) with the drawing operations
// the renderer needs: fills, label text, pixel access, block copies, a
// smooth stretch and background loading. Colours are 0x00BBGGRR.
#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "label/PictureDecode.h"

namespace twr {

struct LabelFont;

// What ReadPixel returns outside the buffer; never equal to a grey.
inline constexpr uint32_t kInvalidColor = 0xFFFFFFFFu;

// Largest side and area a buffer may have. The side allows the ring strip of
// the largest label (pi times 20000 pixels); the area stays below what a
// 32-bit byte count can address.
inline constexpr int kMaxImageSide = 65536;
inline constexpr long long kMaxImageBytes = 0x7FFFFFFFLL;

class ImageBuffer {
 public:
  // A new zero-filled (black) buffer; false, leaving no image, for a zero,
  // negative or absurd size.
  bool Create(int width, int height);
  void Destroy() { image_ = QImage(); }
  // The pixels of another buffer (shared until either is written to).
  void CopyFrom(const ImageBuffer& other) { image_ = other.image_; }
  // These pixels (Format_RGB888, shared until either is written to).
  void Adopt(const QImage& image) { image_ = image; }
  bool Exists() const { return !image_.isNull(); }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }

  // Solid fill, clipped to the buffer.
  void FillRect(int x, int y, int width, int height, uint32_t color);

  // Text state: colour and font for MeasureText/DrawText (background mode
  // transparent, no extra character spacing).
  void SetTextColor(uint32_t color) { textColor_ = color; }
  uint32_t TextColor() const { return textColor_; }
  // The font must come from a LabelFontCache; the buffer shares it.
  void SelectFont(const LabelFont& font);
  // The selected font; nullptr before the first SelectFont.
  const LabelFont* SelectedFont() const { return font_.get(); }
  // Width of the string in the selected font; 0 without a font.
  int MeasureText(std::string_view utf8) const;
  // Draws the string with the top-left of its cell at (x, y), clipped.
  void DrawText(int x, int y, std::string_view utf8);

  uint32_t ReadPixel(int x, int y) const;
  void WritePixel(int x, int y, uint32_t color);
  // Source pixels replace the pixels under the source's rectangle placed at (x, y).
  void CopyBlock(int x, int y, const ImageBuffer& source);
  // The whole source, smoothly resampled, replaces the whole buffer.
  void StretchFrom(const QImage& source);

  // Decodes a picture file (PNG, JPEG, BMP, GIF, TIFF, SVG, ...) into this
  // buffer through DecodePicture (label/PictureDecode.h, its limits): a
  // pixel picture at its own size, an SVG drawn into a square of
  // `drawSide` (0: its own size); colour channels only (alpha ignored).
  // False on any failure, leaving no image, with what is wrong in `problem`
  // ("is a folder", "is damaged or cut short", ...). Only regular files
  // are opened, never waiting on a FIFO or device.
  bool Load(const std::string& path, std::string* problem = nullptr, int drawSide = 0);
  // As Load, from a picture file's bytes held in memory (a design's own
  // picture); `format`, when given, gets the format found ("png", "jpeg",
  // "svgz", ...).
  bool Decode(const QByteArray& bytes, const PictureRequest& request,
              std::string* problem = nullptr, std::string* format = nullptr);

  // Direct row access for the hot loops (3 bytes per pixel: R, G, B).
  uchar* Row(int y) { return image_.scanLine(y); }
  const uchar* Row(int y) const { return image_.constScanLine(y); }

 private:
  QImage image_;
  uint32_t textColor_ = 0;
  std::shared_ptr<const LabelFont> font_;
};

// Colour helpers for 0x00BBGGRR values.
inline uint8_t RedOf(uint32_t c) {
  return static_cast<uint8_t>(c & 0xFF);
}
inline uint8_t GreenOf(uint32_t c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
inline uint8_t BlueOf(uint32_t c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

}  // namespace twr
