// The renderer onto any painter (a PDF page, an SVG drawing): the label of
// the last full render, through the same box routine as the label image,
// and the QR box's modules on the same grid.
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <memory>
#include <vector>

#include "label/BoxSurface.h"
#include "label/CELLayout.h"
#include "label/LabelFont.h"
#include "label/TextLegibility.h"

namespace twr {

namespace {

// A box on a painter whose units are label pixels: the same part of the box
// as BoxCanvas keeps (what lies on the label's square), filled, and texts
// clipped to it.
class PainterBox : public BoxSurface {
 public:
  PainterBox(QPainter& painter, int side, int width, int height, int boxX, int boxY)
      : painter_(painter), boxX_(boxX), boxY_(boxY) {
    if (width <= 0 || height <= 0) return;
    const long long left = std::max<long long>(boxX, 0);
    const long long top = std::max<long long>(boxY, 0);
    const long long right = std::min<long long>(static_cast<long long>(boxX) + width, side);
    const long long bottom = std::min<long long>(static_cast<long long>(boxY) + height, side);
    if (left >= right || top >= bottom) return;
    part_ = QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                  static_cast<int>(bottom - top));
  }

  bool Exists() const { return !part_.isEmpty(); }

  void Begin(uint32_t background, uint32_t text, bool seeThrough, bool halo) override {
    if (!seeThrough)
      painter_.fillRect(part_, QColor(RedOf(background), GreenOf(background), BlueOf(background)));
    text_ = QColor(RedOf(text), GreenOf(text), BlueOf(text));
    const uint32_t opposite = OppositeGrey(text);
    halo_ = halo ? QColor(RedOf(opposite), GreenOf(opposite), BlueOf(opposite)) : QColor();
    held_.clear();
  }
  void End() override {
    // Every halo first, then every text over them, as in the label image.
    painter_.save();
    painter_.setClipRect(part_, Qt::IntersectClip);
    painter_.setRenderHint(QPainter::Antialiasing, true);
    for (const Held& text : held_) {
      QPainterPath outline;
      outline.addText(text.at, text.font->font, text.text);
      painter_.strokePath(outline, QPen(halo_, 2.0 * HaloRadius(text.font->cellHeight),
                                        Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    painter_.setPen(text_);
    for (const Held& text : held_) {
      painter_.setFont(text.font->font);
      painter_.drawText(text.at, text.text);
    }
    painter_.restore();
    held_.clear();
  }
  ImageBuffer& Measure() override { return measure_; }
  void DrawText(long long x, long long y, std::string_view text) override {
    const LabelFont* font = measure_.SelectedFont();
    if (font == nullptr || text.empty() || x < -kFarOffBox || y < -kFarOffBox || x > kFarOffBox ||
        y > kFarOffBox)
      return;
    const QPointF at(static_cast<double>(boxX_ + x), static_cast<double>(boxY_ + y) + font->ascent);
    const QString line = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (halo_.isValid()) {
      held_.push_back({font->shared_from_this(), at, line});
      return;
    }
    painter_.save();
    painter_.setClipRect(part_, Qt::IntersectClip);
    painter_.setFont(font->font);
    painter_.setPen(text_);
    painter_.drawText(at, line);
    painter_.restore();
  }

 private:
  QPainter& painter_;
  long long boxX_ = 0;
  long long boxY_ = 0;
  // A text drawn at End, over the halos.
  struct Held {
    std::shared_ptr<const LabelFont> font;
    QPointF at;
    QString text;
  };
  QRect part_;
  QColor text_;
  QColor halo_;  // invalid: no halo
  std::vector<Held> held_;
  ImageBuffer measure_;  // holds no pixels, only the selected font
};

}  // namespace

bool CELLayout::PaintLabel(QPainter& painter, double scale) {
  if (!labelImage_.Exists() || !(scale > 0.0)) return false;
  const int side = labelImage_.Width();
  painter.save();
  painter.scale(scale, scale);
  painter.setClipRect(QRect(0, 0, side, side), Qt::IntersectClip);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  PaintBackground(painter, side);
  PaintRingText(painter, side);
  for (BoxKind kind : {BoxKind::Title, BoxKind::Date, BoxKind::Note}) {
    const LayoutBox* box = nullptr;
    int W = 0, H = 0, X = 0, Y = 0;
    if (!BoxPlace(kind, 1.0, box, W, H, X, Y)) continue;
    PainterBox canvas(painter, side, W, H, X, Y);
    if (!canvas.Exists()) continue;
    if (kind == BoxKind::Note)
      DrawNoteBox(canvas, *box, W, H);
    else
      DrawSingleLineBox(canvas, kind, *box, kind == BoxKind::Title ? Title : Date, W, H);
  }
  PaintQr(painter);
  painter.restore();
  return true;
}

void CELLayout::PaintQr(QPainter& painter) {
  if (!QrWanted() || QrSymbol().Empty()) return;
  const QrCode& code = QrSymbol();
  const QrBox& box = layout_.Qr;
  const QrGrid grid = PlaceQr(code.Across(), box.Size);
  // The modules as filled squares on the label's pixel grid, not smoothed.
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(QRect(box.PosX, box.PosY, box.Size, box.Size), Qt::white);
  for (int row = 0; row < code.width; ++row) {
    const int y0 = grid.Edge(row + kQrQuietModules), y1 = grid.Edge(row + kQrQuietModules + 1);
    for (int column = 0; column < code.width; ++column) {
      if (!code.Dark(column, row)) continue;
      const int x0 = grid.Edge(column + kQrQuietModules);
      painter.fillRect(QRect(box.PosX + x0, box.PosY + y0,
                             grid.Edge(column + kQrQuietModules + 1) - x0, y1 - y0),
                       Qt::black);
    }
  }
  painter.restore();
}

void CELLayout::PaintBackground(QPainter& painter, int side) {
  const QRect whole(0, 0, side, side);
  // A label without a picture starts black, as its image does.
  if (layout_.BgImage.empty()) {
    painter.fillRect(whole, Qt::black);
    return;
  }
  const QImage* picture = givenInUse_ ? (givenPicture_.isNull() ? nullptr : &givenPicture_)
                                      : background_.Decoded(layout_.BgImage);
  if (picture != nullptr) {
    // A picture finer than the label is drawn as the label image has it:
    // the file stays the size of the label's own resolution.
    if (picture->width() > side || picture->height() > side)
      painter.drawImage(
          whole, picture->scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    else
      painter.drawImage(whole, *picture);
    return;
  }
  const uint32_t c = layout_.BgColor;
  painter.fillRect(whole, QColor(RedOf(c), GreenOf(c), BlueOf(c)));
}

void CELLayout::PaintRingText(QPainter& painter, int side) {
  if (layout_.RingBand == 0.0 || stripHeight_ < kMinStripHeight) return;
  // The label's strip and table, as RenderLabel maps them (a preview render
  // since leaves its own table behind).
  const StripGeometry geometry{stripWidth_, stripWidth_ / 2, stripHeight_};
  LayOutStrip(ringStrip_, ringStripKey_, geometry, stripWidth_, stripHeight_);
  if (!ringStrip_.Exists()) return;
  RingAngleTable table;
  table.Build(2 * stripWidth_);
  // Mapped onto BgColor: MapRingText writes only pixels of another colour,
  // so every BgColor pixel left is one the ring text does not cover.
  ImageBuffer mapped;
  if (!mapped.Create(side, side)) return;
  mapped.FillRect(0, 0, side, side, layout_.BgColor);
  MapRingText(ringStrip_, mapped, layout_, table, side);
  const uchar bg[3] = {RedOf(layout_.BgColor), GreenOf(layout_.BgColor), BlueOf(layout_.BgColor)};
  int left = side, top = side, right = -1, bottom = -1;
  for (int y = 0; y < side; ++y) {
    const uchar* row = mapped.Row(y);
    for (int x = 0; x < side; ++x) {
      const uchar* px = row + 3 * static_cast<std::ptrdiff_t>(x);
      if (px[0] == bg[0] && px[1] == bg[1] && px[2] == bg[2]) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return;  // no ring pixel at all
  QImage ink(right - left + 1, bottom - top + 1, QImage::Format_ARGB32);
  if (ink.isNull()) return;
  for (int y = top; y <= bottom; ++y) {
    const uchar* row = mapped.Row(y);
    QRgb* out = reinterpret_cast<QRgb*>(ink.scanLine(y - top));
    for (int x = left; x <= right; ++x) {
      const uchar* px = row + 3 * static_cast<std::ptrdiff_t>(x);
      const bool background = px[0] == bg[0] && px[1] == bg[1] && px[2] == bg[2];
      out[x - left] = background ? qRgba(0, 0, 0, 0) : qRgb(px[0], px[1], px[2]);
    }
  }
  // Pixel for pixel: the ring text's own pixels, not smoothed again.
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QPoint(left, top), ink);
  painter.restore();
}

}  // namespace twr
