// The disc's radius <-> address and radius <-> block count conversions. Every
// operation order here decides where a burn lands: keep them as they are.
#include "drive/DiscGeometry.h"

#include <cmath>

#include "common/Truncate.h"

namespace twr {

namespace {

// Addresses: (r * r - 24 * 24) * pi * 1000 * kAddressesPerSquareMmOverPi +
// 0x30000, for r in millimetres.
constexpr double kBlockZeroRadiusSquareMm = kBlockZeroRadiusMm * kBlockZeroRadiusMm;
constexpr double kPiTimesThousand = 3141.592653589793;
constexpr double kAddressesPerSquareMmOverPi = 0.26197102810006034;
// The same two factors as one, for reading an address back.
constexpr double kAddressesPerSquareMm = kPiTimesThousand * kAddressesPerSquareMmOverPi;
constexpr double kBlockZeroAddressValue = kBlockZeroAddress;

// Recorded blocks: every block takes the same area of disc, so `blocks`
// blocks end at the radius sqrt(blocks * kBlockAreaOverPi + (24 mm)^2), in
// metres.
constexpr double kBlockAreaOverPi = 1.2150575904989448e-9;  // square metres
constexpr double kMillimetresPerMetre = 1000.0;
constexpr double kBlockZeroRadiusM = kBlockZeroRadiusMm / kMillimetresPerMetre;
constexpr double kBlockZeroRadiusSquareM = kBlockZeroRadiusM * kBlockZeroRadiusM;
static_assert(kBlockZeroRadiusSquareM == 0.000576);

// The report: tenths of a millimetre, and a margin beyond them.
constexpr double kTenthsPerMillimetre = 10.0;
constexpr double kMillimetresPerTenth = 0.1;
constexpr double kReportMarginMm = 1.0;
// Enough past a tenth's step that the cut to tenths cannot fall short.
constexpr double kPastTheStepM = 1e-7;

}  // namespace

std::int32_t AddressOfRadius(double radiusMm) {
  return TruncToInt32((radiusMm * radiusMm - kBlockZeroRadiusSquareMm) * kPiTimesThousand *
                          kAddressesPerSquareMmOverPi +
                      kBlockZeroAddressValue);
}

double RadiusOfAddress(std::int64_t address) {
  const double square =
      (static_cast<double>(address) - kBlockZeroAddressValue) / kAddressesPerSquareMm +
      kBlockZeroRadiusSquareMm;
  return square > 0 ? std::sqrt(square) : 0.0;
}

double RecordedRadiusMm(std::uint32_t blocks) {
  return std::sqrt(blocks * kBlockAreaOverPi + kBlockZeroRadiusSquareM) * kMillimetresPerMetre;
}

double ReportedRecordedRadiusMm(std::uint32_t blocks) {
  // The radius in metres times 1000, then times 10: two products in this
  // order, as folding them into one constant may round differently.
  const double tenths = RecordedRadiusMm(blocks) * kTenthsPerMillimetre;
  const auto whole = static_cast<std::int64_t>(tenths);
  return static_cast<double>(whole) * kMillimetresPerTenth + kReportMarginMm;
}

std::uint32_t BlocksReportedEndingAt(double radiusMm) {
  const double metres = (radiusMm - kReportMarginMm) / kMillimetresPerMetre + kPastTheStepM;
  return static_cast<std::uint32_t>(
      std::ceil((metres * metres - kBlockZeroRadiusSquareM) / kBlockAreaOverPi));
}

}  // namespace twr
