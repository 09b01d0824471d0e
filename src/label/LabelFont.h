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

// One selected label font.
struct LabelFont {
  QFont font;
  QFontMetrics metrics;
  int cellHeight = 0;  // the height asked for
  int ascent = 0;

  LabelFont(const QFont& f, int cell)
      : font(f), metrics(f), cellHeight(cell), ascent(metrics.ascent()) {}
  // Width of the whole string in pixels.
  int Measure(std::string_view utf8) const;
};

// Fonts of one face, created on first use and kept for the face's lifetime.
class LabelFontCache {
 public:
  explicit LabelFontCache(std::string face = {}) : face_(std::move(face)) {}

  // Changes the face; cached fonts of another face are dropped.
  void SetFace(const std::string& face);
  const std::string& Face() const { return face_; }

  // The font whose ascent + descent is at most `cellHeight` pixels (the
  // largest such size; at least 1 pixel).
  const LabelFont& Get(int cellHeight);

 private:
  int CellOf(int pixelSize) const;
  int PixelSizeFor(int cellHeight) const;
  QFont Make(int pixelSize) const;

  std::string face_;
  std::map<int, std::unique_ptr<LabelFont>> fonts_;
};

}  // namespace twr
