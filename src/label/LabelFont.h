// The label font: a bold face whose cell (ascent + descent) is a requested
// number of pixels, with its metrics, cached per cell height.
#pragma once

#include <QFont>
#include <QFontMetrics>

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace twr {

// The tallest font cell the rasteriser is asked for; a label is never taller.
// Every larger requested height gives this same font.
inline constexpr int kMaxFontCell = 20000;

// One selected label font. Fonts are shared: an image keeps the font it has
// selected even after the cache has let it go.
struct LabelFont : std::enable_shared_from_this<LabelFont> {
  QFont font;
  QFontMetrics metrics;
  int cellHeight = 0;  // the height asked for, within 1 .. kMaxFontCell
  int ascent = 0;

  LabelFont(const QFont& f, int cell)
      : font(f), metrics(f), cellHeight(cell), ascent(metrics.ascent()) {}
  // Width of the whole string in pixels.
  int Measure(std::string_view utf8) const;
};

// Fonts of one face, created on first use. At most kMaxCachedFonts are kept:
// a fit loop over a very tall box walks through thousands of heights, and
// holding every one of them makes each new font slower to create.
class LabelFontCache {
 public:
  explicit LabelFontCache(std::string face = {}) : face_(std::move(face)) {}

  // Changes the face; cached fonts of another face are dropped.
  void SetFace(const std::string& face);
  const std::string& Face() const { return face_; }

  // The font whose ascent + descent is at most `cellHeight` pixels (the
  // largest such size; at least 1 pixel, at most kMaxFontCell).
  const LabelFont& Get(int cellHeight);

 private:
  int CellOf(int pixelSize) const;
  int PixelSizeFor(int cellHeight) const;
  QFont Make(int pixelSize) const;

  std::string face_;
  static constexpr std::size_t kMaxCachedFonts = 256;

  std::map<int, std::shared_ptr<LabelFont>> fonts_;
  mutable std::map<int, int> cells_;  // pixel size -> ascent + descent
};

}  // namespace twr
