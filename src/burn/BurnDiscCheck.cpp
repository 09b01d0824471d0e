// The disc check before a burn: what may be marked, and where.
#include <algorithm>

#include "burn/BurnJob.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"

namespace twr {

bool BurnJob::CheckDiscForBurn() {
  device_.TestUnitReady();
  device_.TestUnitReady();
  device_.TestUnitReady();
  const std::uint8_t kind = device_.GetDiscKind();

  // One recordable kind: 1 for a blank disc the user agrees to mark or a
  // complete one whose data ends below the band, 0 (with its message) for
  // any other blank, incomplete or complete disc, -1 for another status.
  auto checkRecordable = [&](double minimumLimit) -> int {
    switch (device_.GetDiscStatus()) {
      case kStatusBlank:
        return messages_.AskString(kStrDiscBlank, MessageIcon::Warning) ? 1 : 0;
      case kStatusIncomplete:
        messages_.ShowString(kStrDiscIncomplete, MessageIcon::Error);
        return 0;
      case kStatusComplete: {
        const double limit = std::max(device_.GetRecordedOuterRadius(), minimumLimit);
        if (limit <= params_.innerRadius) return 1;
        messages_.ShowString(kStrOverwriteDataArea, MessageIcon::Error);
        return 0;
      }
      default:
        return -1;
    }
  };

  int verdict = -1;
  bool unknown = kind == kDiscUnknown;
  if (kind == kDiscDvdR) {
    verdict = checkRecordable(kDvdMinusRDataLimit);
    if (verdict < 0) verdict = checkRecordable(kDvdPlusRDataLimit);
    unknown = verdict < 0;
  } else if (kind == kDiscDvdPlusR) {
    verdict = checkRecordable(kDvdPlusRDataLimit);
    unknown = verdict < 0;
  } else if (!unknown) {
    return false;
  }
  if (!unknown) return verdict == 1;
  if (device_.IsLabelSide()) return true;
  messages_.ShowString(kStrDiscUnknown, MessageIcon::Error);
  return false;
}

}  // namespace twr
