// The burning area given with --inner/--outer (or held by a design), checked
// as the configuration dialog checks it and refused with the same words.
#pragma once

namespace twr {
class Messages;
}

namespace twr::cli {

// True when inner < outer, lowestInner <= inner and outer <= 58 mm.
// Otherwise "Input correct burning area." is shown, and on the next line the
// radius refused with the range it may take, and false is returned.
bool CheckAreaOptions(double inner, double outer, double lowestInner, Messages& messages);

}  // namespace twr::cli
