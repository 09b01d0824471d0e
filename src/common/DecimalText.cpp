// Locale-free number text through std::to_chars and std::from_chars.
#include "common/DecimalText.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace twr {

namespace {

// Room for any double in fixed notation with a few decimals: 309 digits
// before the point, the sign, the point and the decimals.
constexpr int kMaxFixedDecimals = 17;
constexpr std::size_t kFixedBufferSize = 340;

// The text without one leading '+', which from_chars does not take.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
    text.remove_prefix(1);
  return text;
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

}  // namespace twr
