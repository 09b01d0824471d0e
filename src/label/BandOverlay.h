// The limits of the burning area drawn into a preview picture, as the main
// window shows them: the outer circle outlined, the inner disc filled black.
#pragma once

#include <QImage>

namespace twr {

// 1-pixel pure blue outlines; everything inside the inner radius black.
void DrawBandLimits(QImage& preview, double innerRadius, double outerRadius);

}  // namespace twr
