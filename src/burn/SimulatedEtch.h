// The simulated etch: what a burn of a label would leave on the disc, drawn
// as the virtual drive draws its etched picture, in seconds and without a
// drive. The burn geometry is the BurnPlan of an ELS page, the band and the
// quality, exactly as a burn plans it; the marks of every sample over the
// passes follow from its grey level, so no block stream is built. No
// widgets: `twr render --etched` and the "as etched" views of the window
// program share it.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "burn/ElsPage.h"
#include "drive/DyeResponse.h"
#include "label/LabelWarnings.h"

namespace twr {

struct EtchRequest {
  QImage label;  // the full-size label image (116 mm across)
  // The band, the disc side (a DVD±R data side is drawn with its dye, recorded
  // up to its recorded radius) and the quality.
  BurnTarget target;
  ElsPage page;  // as the drive answers MODE SENSE
  // What the disc shows for the dots it takes (a kept calibration's); the
  // straight response draws the share of dots.
  DyeResponse response;
};

struct EtchResult {
  bool ok = false;
  std::string problem;  // why there is no picture, in words
  QImage picture;       // the disc, 120 mm across, RGB888
  BurnPlan plan;        // the burn's plan; plan.writes WRITE(12) commands would go out
};

EtchResult SimulateEtch(const EtchRequest& request);

// The etch at preview size: the picture SimulateEtch draws scaled down by
// kEtchedPreviewFactor (ScaleEtchedPicture of it, byte for byte), without
// drawing the full picture. The "as etched" views show it.
inline constexpr int kEtchedPreviewFactor = 4;  // 1712 pixels to 428
EtchResult SimulateEtchPreview(const EtchRequest& request);

// The narrowest QR module, in millimetres, that the burn of `plan` etches so
// that a reader takes the code: a module must span kQrSamplesPerModule of
// the burn's samples both across the circles (feed steps) and along them
// (the samples of the band's outer circle, the sparsest).
inline constexpr double kQrSamplesPerModule = 3.0;
double SmallestLegibleQrModuleMm(const BurnPlan& plan);
// The QR box of the last render of `layout` against the burn of `target` on
// a drive that answers `page`: CheckQrModules at the plan's quality.
std::vector<LabelWarning> CheckQrEtch(const CELLayout& layout, const ElsPage& page,
                                      const BurnTarget& target);

// A picture of SimulateEtch scaled down by kEtchedPreviewFactor: each pixel
// the mean of a 4 x 4 square, channel by channel, rounded half up. Null for
// a picture of another size.
QImage ScaleEtchedPicture(const QImage& full);

}  // namespace twr
