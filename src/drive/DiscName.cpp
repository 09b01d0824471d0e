// The disc name table and the "name the disc in the drive" sequence.
#include "drive/DiscName.h"

#include "common/Translate.h"
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
      return {TWR_TRANSLATE_NOOP("DiscName", "CD-ROM disc"), 0};
    case kDiscCdR:
      return {TWR_TRANSLATE_NOOP("DiscName", "CD-R disc"), 0};
    case kDiscCdRw:
      return {TWR_TRANSLATE_NOOP("DiscName", "CD-RW disc"), 0};
    case kDiscDvdRom:
      return {TWR_TRANSLATE_NOOP("DiscName", "DVD-ROM disc"), 0};
    case kDiscDvdR:
      return RecordableName(TWR_TRANSLATE_NOOP("DiscName", "DVD-R blank"),
                            TWR_TRANSLATE_NOOP("DiscName", "DVD-R incomplete"),
                            TWR_TRANSLATE_NOOP("DiscName", "DVD-R complete"), status);
    case kDiscDvdRam:
      return {TWR_TRANSLATE_NOOP("DiscName", "DVD-RAM disc"), 0};
    case kDiscDvdRw:
      return {TWR_TRANSLATE_NOOP("DiscName", "DVD-RW disc"), 0};
    case kDiscDvdPlusRw:
      return {TWR_TRANSLATE_NOOP("DiscName", "DVD+RW disc"), 0};
    case kDiscDvdPlusR:
      return RecordableName(TWR_TRANSLATE_NOOP("DiscName", "DVD+R blank"),
                            TWR_TRANSLATE_NOOP("DiscName", "DVD+R incomplete"),
                            TWR_TRANSLATE_NOOP("DiscName", "DVD+R complete"), status);
    case kDiscUnknown:
      return labelSide ? DiscName{TWR_TRANSLATE_NOOP("DiscName", "Etchlume disc  label-side"), 1}
                       : DiscName{TWR_TRANSLATE_NOOP("DiscName", "Unknown disc"), 0};
    default:
      return {TWR_TRANSLATE_NOOP("DiscName", "No disc or Non-support disc"), 0};
  }
}

std::string DiscName::Shown() const {
  return Tr("DiscName", text.c_str());
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
