// The simulated etch: what a burn of a label would leave on the disc, drawn
// as the virtual drive draws its etched picture, in seconds and without a
// drive. The burn geometry comes from an ELS page and the quality exactly as
// a burn prepares it; the marks of every sample over the passes follow from
// its grey level, so no block stream is built. No widgets: `twr render
// --etched` and an "as etched" view of the window program share it.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

#include "burn/BurnJob.h"
#include "burn/ElsPage.h"

namespace twr {

struct EtchRequest {
  const QImage* label = nullptr;  // the full-size label image (116 mm across)
  double innerRadius = 25.0;      // mm, the band burned
  double outerRadius = 58.0;      // mm
  BurnQuality quality = BurnQuality::Draft;
  ElsPage page;  // as the drive answers MODE SENSE
  // Draw the dye side of a DVD±R, recorded up to `recordedRadius` mm,
  // instead of a label side.
  bool dataSide = false;
  double recordedRadius = 0.0;
};

struct EtchResult {
  bool ok = false;
  std::string problem;      // why there is no picture, in words
  QImage picture;           // the disc, 120 mm across, RGB888
  BurnParameters params;    // the burn's geometry, as PrepareBurn left it
  std::int32_t writes = 0;  // WRITE(12) commands the burn would send
};

EtchResult SimulateEtch(const EtchRequest& request);

}  // namespace twr
