// The check of a burning area chosen by the user (inner and outer radius).
#pragma once

namespace twr {

class Messages;

// The lowest inner radius allowed: 25 mm, or in Rimtone mode the outer
// radius of the recorded data (0 when the drive cannot give it).
double LowestInnerRadius(bool rimtone, double recordedOuterRadius);

// True when inner < outer, lowest <= inner and outer <= 58 mm.
bool IsBurningAreaValid(double inner, double outer, double lowestInner);

// As above; a refused area is reported with "Input correct burning area."
bool CheckBurningArea(double inner, double outer, double lowestInner, Messages& messages);

}  // namespace twr
