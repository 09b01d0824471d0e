// Label fonts: cell height to Qt pixel size, cached.
#include "label/LabelFont.h"

#include <QString>

#include <algorithm>

namespace twr {

namespace {
// Pixel sizes beyond this are not asked of the rasteriser; a label box is
// never taller than the largest label.
constexpr int kMaxPixelSize = 20000;
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
  const QFontMetrics metrics(Make(pixelSize));
  return metrics.ascent() + metrics.descent();
}

int LabelFontCache::PixelSizeFor(int cellHeight) const {
  const int target = std::clamp(cellHeight, 1, kMaxPixelSize);
  // A first guess from the face's cell-to-size ratio, then step to the
  // largest size whose cell still fits.
  const int cellAtTarget = std::max(1, CellOf(target));
  int size = std::clamp(static_cast<int>(static_cast<long long>(target) * target / cellAtTarget), 1,
                        kMaxPixelSize);
  while (size > 1 && CellOf(size) > target) --size;
  while (size < kMaxPixelSize && CellOf(size + 1) <= target) ++size;
  return size;
}

const LabelFont& LabelFontCache::Get(int cellHeight) {
  auto it = fonts_.find(cellHeight);
  if (it != fonts_.end()) return *it->second;
  auto font = std::make_unique<LabelFont>(Make(PixelSizeFor(cellHeight)), cellHeight);
  return *fonts_.emplace(cellHeight, std::move(font)).first->second;
}

}  // namespace twr
