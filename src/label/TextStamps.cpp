// Ring strip texts copied from the strip's last layout where that gives the
// same pixels.
#include "label/TextStamps.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>

#include "label/LabelFont.h"

namespace twr {

namespace {

constexpr int kBytesPerPixel = 3;
constexpr int kMinReach = 8;

// Qt's raster engine draws text below this pixel size from its glyph cache
// and larger text by filling the glyphs' outlines (QT_MAX_CACHED_GLYPH_SIZE
// moves the limit). Cached glyphs may come out differently later in a run
// (the cache's subpixel positions follow what it held first); filled
// outlines at the same coordinates never do.
int CachedGlyphLimit() {
  static const int limit = [] {
    const int set = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
    return set > 0 ? set : 64;
  }();
  return limit;
}

}  // namespace

void TextStamps::Begin(uint32_t background) {
  if (background != background_) kept_.clear();
  background_ = background;
  made_.clear();
  touched_.clear();
  copied_ = 0;
  drawn_ = 0;
}

void TextStamps::End() {
  kept_ = std::move(made_);
  made_.clear();
  touched_.clear();
}

bool TextStamps::Touches(const QRect& rect) const {
  return std::any_of(touched_.begin(), touched_.end(),
                     [&](const QRect& r) { return r.intersects(rect); });
}

std::string TextStamps::KeyOf(const ImageBuffer& strip, int x, int y, std::string_view text) const {
  const LabelFont* font = strip.SelectedFont();
  std::string key = font->font.family().toStdString();
  key += '\0';
  for (long long n :
       {static_cast<long long>(font->font.pixelSize()), static_cast<long long>(font->cellHeight),
        static_cast<long long>(strip.TextColor()), static_cast<long long>(x),
        static_cast<long long>(y), static_cast<long long>(strip.Width()),
        static_cast<long long>(strip.Height())}) {
    key += std::to_string(n);
    key += '\0';
  }
  key += text;
  return key;
}

void TextStamps::Draw(ImageBuffer& strip, int x, int y, std::string_view text) {
  const LabelFont* font = strip.SelectedFont();
  if (!strip.Exists() || font == nullptr || text.empty()) return;
  // Where the text's ink is looked for: its advance and a quarter of a cell
  // beyond (overhangs), the strip's whole height. Ink found at the edge of
  // that may reach further: such a text is not kept.
  const int reach = std::max(font->cellHeight / 4, kMinReach);
  const QRect region = QRect(x - reach, 0, font->Measure(text) + 2 * reach, strip.Height())
                           .intersected(QRect(0, 0, strip.Width(), strip.Height()));
  // One pixel above the limit, clear of where Qt's choice changes.
  const bool outlined = font->font.pixelSize() > CachedGlyphLimit();
  if (!outlined || region.isEmpty()) {
    strip.DrawText(x, y, text);
    touched_.push_back(region);
    ++drawn_;
    return;
  }
  std::string key = KeyOf(strip, x, y, text);
  for (Stamp& stamp : kept_) {
    if (stamp.key != key || Touches(stamp.ink)) continue;
    if (!stamp.ink.isEmpty()) strip.CopyBlock(stamp.ink.x(), stamp.ink.y(), stamp.pixels);
    touched_.push_back(stamp.ink);
    made_.push_back(std::move(stamp));
    stamp.key.clear();  // NOLINT(bugprone-use-after-move): a cleared key marks the slot as taken
    ++copied_;
    return;
  }
  // Drawn; what it leaves is this text's alone only where nothing else has
  // drawn yet.
  const bool alone = !Touches(region);
  strip.DrawText(x, y, text);
  ++drawn_;
  if (!alone) {
    touched_.push_back(region);
    return;
  }
  const uchar bg[kBytesPerPixel] = {RedOf(background_), GreenOf(background_), BlueOf(background_)};
  int left = region.right() + 1, right = region.left() - 1, top = region.bottom() + 1,
      bottom = region.top() - 1;
  for (int row = region.top(); row <= region.bottom(); ++row) {
    const uchar* line = strip.Row(row);
    for (int px = region.left(); px <= region.right(); ++px) {
      const uchar* p = line + static_cast<std::ptrdiff_t>(px) * kBytesPerPixel;
      if (p[0] == bg[0] && p[1] == bg[1] && p[2] == bg[2]) continue;
      left = std::min(left, px);
      right = std::max(right, px);
      top = std::min(top, row);
      bottom = std::max(bottom, row);
    }
  }
  Stamp stamp;
  stamp.key = std::move(key);
  if (right >= left) {
    stamp.ink = QRect(QPoint(left, top), QPoint(right, bottom));
    // Ink at the edge of where it can lie may reach further: not kept.
    const bool atEdge = (left == region.left() && region.left() > 0) ||
                        (right == region.right() && region.right() < strip.Width() - 1);
    if (atEdge) {
      touched_.push_back(region);
      return;
    }
    stamp.pixels.Create(stamp.ink.width(), stamp.ink.height());
    for (int row = top; row <= bottom; ++row)
      std::memcpy(stamp.pixels.Row(row - top),
                  strip.Row(row) + static_cast<std::ptrdiff_t>(left) * kBytesPerPixel,
                  static_cast<std::size_t>(stamp.ink.width()) * kBytesPerPixel);
  }
  touched_.push_back(stamp.ink.isEmpty() ? QRect() : stamp.ink);
  made_.push_back(std::move(stamp));
}

}  // namespace twr
