// Strip texts copied from the last layout where that gives the same pixels.
#include "label/TextStamps.h"

#include <algorithm>
#include <cstring>

#include "label/LabelFont.h"

namespace twr {

namespace {

constexpr int kBytesPerPixel = 3;
// Stamps larger than this are not made: the text is drawn.
constexpr long long kMaxStampPixels = 16LL * 1024 * 1024;

}  // namespace

void TextStamps::Begin(uint32_t background) {
  if (background != background_) kept_.clear();
  background_ = background;
  used_.clear();
  touched_.clear();
  copied_ = 0;
  drawn_ = 0;
}

void TextStamps::End() {
  kept_ = std::move(used_);
  used_.clear();
  touched_.clear();
}

void TextStamps::Clear() {
  kept_.clear();
  used_.clear();
  touched_.clear();
}

bool TextStamps::Touches(const QRect& rect) const {
  return std::any_of(touched_.begin(), touched_.end(),
                     [&](const QRect& r) { return r.intersects(rect); });
}

TextStamps::Stamp TextStamps::Make(const ImageBuffer& strip, int y, std::string_view text,
                                   std::string key) const {
  Stamp stamp;
  stamp.key = std::move(key);
  const LabelFont* font = strip.SelectedFont();
  // The stamp is drawn at the same height in a canvas as tall as the strip,
  // so that the strip's top and bottom cut the text exactly as they cut it
  // on the strip (the rasteriser's edge rows depend on that cut). Across,
  // ink may reach beyond the advance (overhangs): a margin of a whole cell
  // on each side, and a stamp whose ink reaches a side anyway is not used.
  const int margin = std::max(font->cellHeight, 8);
  const long long width = static_cast<long long>(font->Measure(text)) + 2LL * margin;
  const long long height = strip.Height();
  if (width * height > kMaxStampPixels) return stamp;
  ImageBuffer canvas;
  if (!canvas.Create(static_cast<int>(width), static_cast<int>(height))) return stamp;
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height(), background_);
  canvas.SetTextColor(strip.TextColor());
  canvas.SelectFont(*font);
  canvas.DrawText(margin, y, text);

  const uchar bg[kBytesPerPixel] = {RedOf(background_), GreenOf(background_), BlueOf(background_)};
  int left = canvas.Width(), right = -1, top = canvas.Height(), bottom = -1;
  for (int row = 0; row < canvas.Height(); ++row) {
    const uchar* line = canvas.Row(row);
    for (int x = 0; x < canvas.Width(); ++x) {
      const uchar* p = line + x * kBytesPerPixel;
      if (p[0] == bg[0] && p[1] == bg[1] && p[2] == bg[2]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, row);
      bottom = std::max(bottom, row);
    }
  }
  if (right < 0) {  // no ink at all (blanks, or all of it above or below)
    stamp.usable = true;
    return stamp;
  }
  if (left == 0 || right == canvas.Width() - 1) return stamp;
  stamp.ink.Create(right - left + 1, bottom - top + 1);
  for (int row = top; row <= bottom; ++row)
    std::memcpy(stamp.ink.Row(row - top), canvas.Row(row) + left * kBytesPerPixel,
                static_cast<std::size_t>(stamp.ink.Width()) * kBytesPerPixel);
  stamp.dx = left - margin;
  stamp.top = top;
  stamp.usable = true;
  return stamp;
}

void TextStamps::Draw(ImageBuffer& strip, int x, int y, std::string_view text) {
  const LabelFont* font = strip.SelectedFont();
  if (!strip.Exists() || font == nullptr || text.empty()) return;
  std::string key = font->font.family().toStdString();
  key += '\0';
  for (int n : {font->font.pixelSize(), font->cellHeight, static_cast<int>(strip.TextColor()), y,
                strip.Height()}) {
    key += std::to_string(n);
    key += '\0';
  }
  key += text;

  const Stamp* stamp = nullptr;
  for (const std::vector<Stamp>* list : {&used_, &kept_}) {
    for (const Stamp& s : *list) {
      if (s.key == key) {
        stamp = &s;
        break;
      }
    }
    if (stamp) break;
  }
  if (stamp == nullptr) {
    used_.push_back(Make(strip, y, text, std::move(key)));
    stamp = &used_.back();
  } else if (stamp < used_.data() || stamp >= used_.data() + used_.size()) {
    used_.push_back(*stamp);
    stamp = &used_.back();
  }

  if (stamp->usable) {
    if (!stamp->ink.Exists()) return;  // nothing to see
    const QRect rect(x + stamp->dx, stamp->top, stamp->ink.Width(), stamp->ink.Height());
    // The strip's sides must not cut it: only its top and bottom are those
    // the stamp was drawn with.
    const bool inside = rect.left() >= 0 && rect.right() < strip.Width();
    if (inside && !Touches(rect)) {
      strip.CopyBlock(rect.x(), rect.y(), stamp->ink);
      touched_.push_back(rect);
      ++copied_;
      return;
    }
    strip.DrawText(x, y, text);
    touched_.push_back(rect);
    ++drawn_;
    return;
  }
  // Where the text's ink lies is not known: all of the strip may be touched.
  strip.DrawText(x, y, text);
  touched_.push_back(QRect(0, 0, strip.Width(), strip.Height()));
  ++drawn_;
}

}  // namespace twr
