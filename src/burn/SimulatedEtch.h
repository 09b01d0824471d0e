// The simulated etch: what a burn of a label would leave on the disc, drawn
// as the virtual drive draws its etched picture, in seconds and without a
// drive. The burn geometry is the BurnPlan of an ELS page, the band and the
// quality, exactly as a burn plans it; the marks of every sample over the
// passes follow from its grey level, so no block stream is built. No
// widgets: `twr render --etched` and an "as etched" view of the window
// program share it.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>

#include "burn/BurnPlan.h"
#include "burn/ElsPage.h"

namespace twr {

struct EtchRequest {
  QImage label;  // the full-size label image (116 mm across)
  // The band, the disc side (a DVD±R data side is drawn with its dye, recorded
  // up to its recorded radius) and the quality.
  BurnTarget target;
  ElsPage page;  // as the drive answers MODE SENSE
};

struct EtchResult {
  bool ok = false;
  std::string problem;  // why there is no picture, in words
  QImage picture;       // the disc, 120 mm across, RGB888
  BurnPlan plan;        // the burn's plan; plan.writes WRITE(12) commands would go out
};

EtchResult SimulateEtch(const EtchRequest& request);

}  // namespace twr
