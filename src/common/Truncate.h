// Real-to-integer conversions that truncate toward zero like a plain cast
// but saturate instead of overflowing (NaN gives 0), so that odd drive data
// can never make a conversion undefined.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace twr {

inline std::int32_t TruncToInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

inline std::uint32_t TruncToUint32(double v) {
  if (std::isnan(v) || v <= 0.0) return 0;
  if (v >= 4294967295.0) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(v);
}

}  // namespace twr
