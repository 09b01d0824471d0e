// The limits of the burning area drawn into a preview picture, as the main
// window shows them: the outer circle outlined, the inner disc filled black.
#pragma once

#include <QImage>

namespace twr {

// 1-pixel pure blue outlines; everything inside the inner radius black.
void DrawBandLimits(QImage& preview, double innerRadius, double outerRadius);
// An automatic area: both circles outlined and only the hub inside
// `hubRadius` (the drive's lowest radius) black, since the label between
// the hub and the band marks nothing and is shown as it is.
void DrawAutomaticBand(QImage& preview, double innerRadius, double outerRadius, double hubRadius);

}  // namespace twr
