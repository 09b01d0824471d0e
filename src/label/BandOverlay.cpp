// Burning-area circles on the preview.
#include "label/BandOverlay.h"

#include <QPainter>

#include "drive/DiscGeometry.h"

namespace twr {

namespace {
// The square from (m, m) to (side - m, side - m), right and bottom edges
// exclusive, so the circle's pixels run from m to side - m - 1. An aliased
// 1-pixel outline covers one pixel beyond the rectangle's right and bottom
// edges, so the rectangle ends one pixel earlier still.
QRect CircleSquare(int margin, int side) {
  return QRect(QPoint(margin, margin), QPoint(side - margin - 2, side - margin - 2));
}

int Margin(double radius, int side) {
  return static_cast<int>((kLabelRadiusMm - radius) * side / kLabelWidthMm);
}

}  // namespace

void DrawBandLimits(QImage& preview, double innerRadius, double outerRadius) {
  if (preview.isNull()) return;
  const int side = preview.width();
  QPainter painter(&preview);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(0, 0, 255), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(CircleSquare(Margin(outerRadius, side), side));
  painter.setBrush(Qt::black);
  painter.drawEllipse(CircleSquare(Margin(innerRadius, side), side));
}

void DrawAutomaticBand(QImage& preview, double innerRadius, double outerRadius, double hubRadius) {
  if (preview.isNull()) return;
  const int side = preview.width();
  QPainter painter(&preview);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(0, 0, 255), 1));
  painter.setBrush(Qt::black);
  painter.drawEllipse(CircleSquare(Margin(hubRadius, side), side));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(CircleSquare(Margin(outerRadius, side), side));
  painter.drawEllipse(CircleSquare(Margin(innerRadius, side), side));
}

}  // namespace twr
