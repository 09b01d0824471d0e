// Burning-area check.
#include "label/BurningArea.h"

#include "common/Messages.h"
#include "label/LayoutSettings.h"

namespace twr {

double LowestInnerRadius(bool rimtone, double recordedOuterRadius) {
  return rimtone ? recordedOuterRadius : kLowestInnerRadius;
}

bool IsBurningAreaValid(double inner, double outer, double lowestInner) {
  return inner < outer && lowestInner <= inner && outer <= kHighestOuterRadius;
}

bool CheckBurningArea(double inner, double outer, double lowestInner, Messages& messages) {
  if (IsBurningAreaValid(inner, outer, lowestInner)) return true;
  messages.ShowString(kStrBadBurningArea, MessageIcon::Error);
  return false;
}

}  // namespace twr
