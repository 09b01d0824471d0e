// The warnings about a label document before its burn.
#include "burn/DocumentWarnings.h"

#include "burn/SimulatedEtch.h"
#include "drive/DiscGeometry.h"

namespace twr {

std::vector<LabelWarning> DocumentWarnings(const CELLayout& drawn, std::string_view typedNote,
                                           const ElsPage& page, const WarnedBurn& burn) {
  const LabelBand etched =
      burn.automaticArea ? LabelBand{LowestInnerRadius(burn.disc), kBandOuterLimitMm}
                         : LabelBand{BandInnerOn(burn.disc, burn.band.inner), burn.band.outer};
  std::vector<LabelWarning> warnings = CheckLabel(drawn, typedNote, etched);
  for (const BurnQuality quality : burn.qualities)
    for (LabelWarning& w : CheckQrEtch(drawn, page, {burn.band, burn.disc, quality}))
      warnings.push_back(std::move(w));
  return warnings;
}

}  // namespace twr
