// What a front end warns about before a label is burnt, as one
// list for the window and `twr`: what its render leaves out or changes
// against the band the burn etches, and its QR code at each quality
// planned. No widgets.
#pragma once

#include <string_view>
#include <vector>

#include "burn/BurnPlan.h"
#include "label/BurningArea.h"
#include "label/LabelWarnings.h"

namespace twr {

class CELLayout;
class ElsPage;

// The burn a label document is checked against.
struct WarnedBurn {
  BurnDisc disc = BurnDisc::LabelSide();
  // The band is worked out from the label's marks (it then holds every
  // mark between the drive's limits); else the document's area.
  bool automaticArea = false;
  // The band burnt: the document's area, or the automatic area once worked
  // out.
  BurnBand band;
  // The QR code is checked at each of these; none: not checked.
  std::vector<BurnQuality> qualities;
};

// The warnings about the label `drawn` last rendered, burnt as
// `burn` says on a drive that answers `page`: CheckLabel against the band
// the burn etches (the automatic area's drive limits, else the band raised
// as the disc needs), then CheckQrEtch of the band at each quality.
// `typedNote` is the note as typed, every line of it.
std::vector<LabelWarning> DocumentWarnings(const CELLayout& drawn, std::string_view typedNote,
                                           const ElsPage& page, const WarnedBurn& burn);

}  // namespace twr
