// The rules of the burning area, in one place for the configuration dialog,
// the window, the layout designer, the burn plan, the burn sequence's disc
// check and `twr`: the drive's band limits (25 to 58 mm), the side of the
// disc a band goes on, where the data area of a DVD-R/DVD+R data side ends
// (its recorded data, and on a complete disc at least the kind's data
// limit), the lowest inner radius that leaves it alone, the Rimtone raise
// of the inner radius, and which discs take Rimtone mode at all.
#pragma once

#include <cstdint>

#include "drive/DiscGeometry.h"

namespace twr {

class Messages;

// On a complete DVD-R / DVD+R the band starts at least this far out (mm),
// however little data the disc holds.
inline constexpr double kDvdMinusRDataLimit = 36.0;
inline constexpr double kDvdPlusRDataLimit = 31.0;
// When Rimtone mode is switched on, the inner radius goes this far (mm)
// beyond the recorded data.
inline constexpr double kRecordedMargin = 0.1;

// The side of the disc that faces the laser.
struct BurnDisc {
  bool dataSide = false;        // a DVD-R/DVD+R data side (Rimtone mode)
  double recordedRadius = 0.0;  // mm: where its recorded data ends
  std::uint8_t kind = 0;        // drive/CELDevice's DiscKind; 0 when not known
  bool complete = false;        // its data is closed (disc status complete)

  static BurnDisc LabelSide() { return {}; }
  // A data side whose kind and status are not known: only its recorded data counts.
  static BurnDisc DataSide(double recordedRadius) { return {true, recordedRadius}; }
  // A data side as the drive reports it (DiscKind, DiscStatus, recorded radius).
  static BurnDisc DataSideOf(std::uint8_t kind, std::uint8_t status, double recordedRadius);
  // The data side of a complete disc of `kind` without a drive (`twr render
  // --rimtone --disc`): its data taken to reach the kind's data limit.
  static BurnDisc AssumedDataSide(std::uint8_t kind);
};

// Rimtone mode is only for the data side of a DVD-R or DVD+R.
bool RimtoneAllowed(std::uint8_t kind);
// The data limit of a complete disc of `kind` (36 mm on a DVD-R, 31 mm on a
// DVD+R, 0 for any other).
double DataLimitOf(std::uint8_t kind);

// Where the data area of `disc` ends (mm): 0 on a label side; on a data
// side its recorded data, on a complete DVD-R/DVD+R at least the kind's data
// limit. A band must not start inside it.
double DataAreaEnd(const BurnDisc& disc);
// The lowest inner radius of a burning area on `disc`: 25 mm, or in
// Rimtone mode the end of the data area when that lies further out.
double LowestInnerRadius(const BurnDisc& disc);
// The inner radius burned on `disc`: on a data side the band starts no
// further in than its data area ends (the Rimtone raise; the plan's band).
double BandInnerOn(const BurnDisc& disc, double inner);
// The inner radius Rimtone mode suggests when it is switched on: on a
// complete data side kRecordedMargin beyond the recorded data and at least
// the kind's data limit; otherwise `inner` as it is.
double RimtoneInner(const BurnDisc& disc, double inner);

// True when inner < outer, lowest <= inner and outer <= 58 mm.
bool IsBurningAreaValid(double inner, double outer, double lowestInner);
// As above; a refused area is reported with "Input correct burning area."
bool CheckBurningArea(double inner, double outer, double lowestInner, Messages& messages);

}  // namespace twr
