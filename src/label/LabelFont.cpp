// Label fonts: cell height to Qt pixel size, cached.
#include "label/LabelFont.h"

#include <QString>

#include <algorithm>

namespace twr {

namespace {
// Pixel sizes beyond this are not asked of the rasteriser.
constexpr int kMaxPixelSize = kMaxFontCell;
}  // namespace

int LabelFont::Measure(std::string_view utf8) const {
  if (utf8.empty()) return 0;
  return metrics.horizontalAdvance(
      QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void LabelFontCache::SetFace(const std::string& face) {
  if (face == face_) return;
  face_ = face;
  fonts_.clear();
  cells_.clear();
}

QFont LabelFontCache::Make(int pixelSize) const {
  QFont font(QString::fromStdString(face_));
  font.setWeight(QFont::Bold);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setStyleStrategy(QFont::PreferAntialias);
  font.setPixelSize(pixelSize);
  return font;
}

int LabelFontCache::CellOf(int pixelSize) const {
  // The fit loop asks for neighbouring heights one after another, so the
  // sizes it probes repeat: remember each size's cell.
  if (auto it = cells_.find(pixelSize); it != cells_.end()) return it->second;
  const QFontMetrics metrics(Make(pixelSize));
  const int cell = metrics.ascent() + metrics.descent();
  cells_.emplace(pixelSize, cell);
  return cell;
}

int LabelFontCache::PixelSizeFor(int cellHeight) const {
  const int target = std::clamp(cellHeight, 1, kMaxPixelSize);
  // A first guess from the face's cell-to-size ratio, then step to the
  // largest size whose cell still fits.
  constexpr int kRatioSize = 100;
  const int cellAtRatio = std::max(1, CellOf(kRatioSize));
  int size = std::clamp(static_cast<int>(static_cast<long long>(target) * kRatioSize / cellAtRatio),
                        1, kMaxPixelSize);
  while (size > 1 && CellOf(size) > target) --size;
  while (size < kMaxPixelSize && CellOf(size + 1) <= target) ++size;
  return size;
}

const LabelFont& LabelFontCache::Get(int cellHeight) {
  // Heights beyond the tallest cell share one font (and one cache entry).
  cellHeight = std::clamp(cellHeight, 1, kMaxFontCell);
  auto it = fonts_.find(cellHeight);
  if (it != fonts_.end()) return *it->second;
  if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();  // selected fonts live on in their images
  auto font = std::make_shared<LabelFont>(Make(PixelSizeFor(cellHeight)), cellHeight);
  return *fonts_.emplace(cellHeight, std::move(font)).first->second;
}

}  // namespace twr
