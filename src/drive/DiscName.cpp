// The disc name table and the "name the disc in the drive" sequence.
#include "drive/DiscName.h"

#include "drive/CELDevice.h"

namespace twr {

namespace {

DiscName RecordableName(const char* blank, const char* incomplete, const char* complete,
                        std::uint8_t status) {
  switch (status) {
    case kStatusBlank:
      return {blank, 1};
    case kStatusIncomplete:
      return {incomplete, 0};
    case kStatusComplete:
      return {complete, 1};
    default:
      return {"", 0};
  }
}

}  // namespace

DiscName DiscNameFor(std::uint8_t kind, std::uint8_t status, bool labelSide) {
  switch (kind) {
    case kDiscCdRom:
      return {"CD-ROM disc", 0};
    case kDiscCdR:
      return {"CD-R disc", 0};
    case kDiscCdRw:
      return {"CD-RW disc", 0};
    case kDiscDvdRom:
      return {"DVD-ROM disc", 0};
    case kDiscDvdR:
      return RecordableName("DVD-R blank", "DVD-R incomplete", "DVD-R complete", status);
    case kDiscDvdRam:
      return {"DVD-RAM disc", 0};
    case kDiscDvdRw:
      return {"DVD-RW disc", 0};
    case kDiscDvdPlusRw:
      return {"DVD+RW disc", 0};
    case kDiscDvdPlusR:
      return RecordableName("DVD+R blank", "DVD+R incomplete", "DVD+R complete", status);
    case kDiscUnknown:
      return labelSide ? DiscName{"Etchlume disc  label-side", 1} : DiscName{"Unknown disc", 0};
    default:
      return {"No disc or Non-support disc", 0};
  }
}

DiscIdentity IdentifyDisc(CELDevice& device) {
  device.TestUnitReadyTries();
  DiscIdentity id;
  id.kind = device.GetDiscKind();
  if (id.kind == kDiscDvdR || id.kind == kDiscDvdPlusR) id.status = device.GetDiscStatus();
  if (id.kind == kDiscUnknown) id.labelSide = device.IsLabelSide() != 0;
  id.name = DiscNameFor(id.kind, id.status, id.labelSide);
  return id;
}

}  // namespace twr
