// The burning-area rules.
#include "label/BurningArea.h"

#include <algorithm>

#include "common/Messages.h"
#include "drive/CELDevice.h"

namespace twr {

BurnDisc BurnDisc::DataSideOf(std::uint8_t kind, std::uint8_t status, double recordedRadius) {
  return {true, recordedRadius, kind, status == kStatusComplete};
}

BurnDisc BurnDisc::AssumedDataSide(std::uint8_t kind) {
  return {true, DataLimitOf(kind), kind, true};
}

bool RimtoneAllowed(std::uint8_t kind) {
  return kind == kDiscDvdR || kind == kDiscDvdPlusR;
}

double DataLimitOf(std::uint8_t kind) {
  if (kind == kDiscDvdR) return kDvdMinusRDataLimit;
  if (kind == kDiscDvdPlusR) return kDvdPlusRDataLimit;
  return 0.0;
}

double DataAreaEnd(const BurnDisc& disc) {
  if (!disc.dataSide) return 0.0;
  if (!disc.complete) return disc.recordedRadius;
  return std::max(disc.recordedRadius, DataLimitOf(disc.kind));
}

double LowestInnerRadius(const BurnDisc& disc) {
  return std::max(kBandInnerLimitMm, DataAreaEnd(disc));
}

double BandInnerOn(const BurnDisc& disc, double inner) {
  return disc.dataSide ? std::max(inner, DataAreaEnd(disc)) : inner;
}

double RimtoneInner(const BurnDisc& disc, double inner) {
  if (!disc.dataSide || !disc.complete) return inner;
  BurnDisc clear = disc;
  clear.recordedRadius += kRecordedMargin;
  return std::max(inner, DataAreaEnd(clear));
}

bool IsBurningAreaValid(double inner, double outer, double lowestInner) {
  return inner < outer && lowestInner <= inner && outer <= kBandOuterLimitMm;
}

bool CheckBurningArea(double inner, double outer, double lowestInner, Messages& messages) {
  if (IsBurningAreaValid(inner, outer, lowestInner)) return true;
  messages.ShowString(kStrBadBurningArea, MessageIcon::Error);
  return false;
}

}  // namespace twr
