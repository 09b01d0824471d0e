// Where things lie on a disc: the width the label stands for, the drive's
// address of a radius, and the radius that a count of recorded blocks reaches.
#pragma once

#include <cstdint>

namespace twr {

// The label picture stands for a square 116 mm across, centred on the disc:
// its edge touches the circle of 58 mm.
inline constexpr double kLabelWidthMm = 116.0;
inline constexpr double kLabelRadiusMm = kLabelWidthMm / 2.0;

// The band a label may be burned in: from the edge of the clamping area to
// the label's edge. Layouts, the configuration dialog and the quality table
// all keep to it.
inline constexpr double kBandInnerLimitMm = 25.0;
inline constexpr double kBandOuterLimitMm = kLabelRadiusMm;

// Block 0 of a DVD's data lies on the circle of 24 mm, at address 0x30000.
inline constexpr double kBlockZeroRadiusMm = 24.0;
inline constexpr std::int32_t kBlockZeroAddress = 0x30000;

// The drive's address of the circle of radius `radiusMm` (a burn's start
// address from its inner radius), truncated toward zero.
std::int32_t AddressOfRadius(double radiusMm);
// The radius (mm) of the circle at `address`: AddressOfRadius undone, as the
// drive reads a burn's start address; 0 for an address inside 24 mm.
double RadiusOfAddress(std::int64_t address);

// The radius (mm) where `blocks` recorded blocks end: every block takes the
// same area of disc, from 24 mm out.
double RecordedRadiusMm(std::uint32_t blocks);
// The end of recorded data as the drive object reports it: that radius cut
// to 0.1 mm, plus a 1 mm margin.
double ReportedRecordedRadiusMm(std::uint32_t blocks);
// The fewest recorded blocks whose reported end (ReportedRecordedRadiusMm) is
// `radiusMm`, for a radius in whole tenths of a millimetre.
std::uint32_t BlocksReportedEndingAt(double radiusMm);

}  // namespace twr
