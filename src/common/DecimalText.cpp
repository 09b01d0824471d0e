// Locale-free number text through std::to_chars and std::from_chars.
#include "common/DecimalText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "common/Truncate.h"

namespace twr {

namespace {

// Room for any double in fixed notation with a few decimals: 309 digits
// before the point, the sign, the point and the decimals.
constexpr int kMaxFixedDecimals = 17;
constexpr std::size_t kFixedBufferSize = 340;
constexpr double kSecondsPerMinute = 60.0;

// The text without one leading '+', which from_chars does not take.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
    text.remove_prefix(1);
  return text;
}

// At least two digits, a leading zero added to one ("%02d").
std::string TwoDigits(std::int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, result.ptr);
  return text.size() < 2 ? "0" + text : text;
}

}  // namespace

std::string FormatDecimal(double value, int decimals) {
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxFixedDecimals) decimals = kMaxFixedDecimals;
  char buffer[kFixedBufferSize];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return std::isnan(value) ? "nan" : "inf";
  return std::string(buffer, result.ptr);
}

bool ParseDecimal(std::string_view text, double& out) {
  text = WithoutPlus(text);
  if (text.empty()) return false;
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
    return false;
  out = value;
  return true;
}

bool ParseInteger(std::string_view text, int& out) {
  text = WithoutPlus(text);
  if (text.empty()) return false;
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return false;
  out = value;
  return true;
}

std::string MinutesText(double minutes) {
  const std::int32_t whole = TruncToInt32(minutes);
  const std::int32_t seconds = TruncToInt32((minutes - whole) * kSecondsPerMinute);
  return TwoDigits(whole) + ":" + TwoDigits(seconds);
}

}  // namespace twr
