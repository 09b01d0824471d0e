// The configuration dialog's rules.
#include "ui/model/TitleConfigModel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "burn/BurnPlan.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "label/BurningArea.h"

namespace twr::ui {

namespace {

constexpr int kRadiusDigits = 15;
constexpr double kRecordedMargin = 0.1;  // mm beyond the recorded data

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string FormatRadius(double millimetres) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, millimetres,
                                    std::chars_format::general, kRadiusDigits);
  return std::string(buffer, result.ptr);
}

bool ParseRadius(std::string_view text, double& millimetres) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return false;
  std::string number(text);
  std::replace(number.begin(), number.end(), ',', '.');
  const char* first = number.data();
  const char* last = first + number.size();
  if (*first == '+') ++first;  // from_chars takes only a minus sign
  // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
  if (first == last ||
      !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.' || *first == '-'))
    return false;
  double value = 0.0;
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) return false;
  millimetres = value;
  return true;
}

void TitleConfigModel::Begin(const TitleConfigValues& values, std::vector<std::string> fonts,
                             CELDevice& device) {
  working_ = values;
  confirmed_ = values;
  fonts_ = std::move(fonts);
  const auto found = std::find(fonts_.begin(), fonts_.end(), values.font);
  fontIndex_ = found == fonts_.end() ? 0 : static_cast<int>(found - fonts_.begin());
  std::uint8_t kind = kDiscNone;
  runDrive_([&] { kind = device.GetDiscKind(); });
  rimtoneEnabled_ = kind == kDiscDvdR || kind == kDiscDvdPlusR;
  emit Changed();
}

bool TitleConfigModel::ReadControls(bool rimtone, std::string_view outerText,
                                    std::string_view innerText, int fontIndex, Messages& messages) {
  working_.rimtone = rimtone;
  if (fontIndex >= 0 && fontIndex < static_cast<int>(fonts_.size())) fontIndex_ = fontIndex;
  for (auto [text, member] :
       {std::pair{outerText, &working_.outer}, std::pair{innerText, &working_.inner}}) {
    if (!ParseRadius(text, *member)) {
      messages.ShowString(kStrEnterNumber, MessageIcon::Warning);
      return false;
    }
  }
  return true;
}

void TitleConfigModel::AdjustInnerRadius(CELDevice& device) {
  runDrive_([&] {
    if (!working_.rimtone || device.GetDiscStatus() != kStatusComplete) return;
    const std::uint8_t kind = device.GetDiscKind();
    const double recorded = device.GetRecordedOuterRadius() + kRecordedMargin;
    working_.inner = std::max(working_.inner, recorded);
    if (kind == kDiscDvdR) working_.inner = std::max(working_.inner, kDvdMinusRDataLimit);
    if (kind == kDiscDvdPlusR) working_.inner = std::max(working_.inner, kDvdPlusRDataLimit);
  });
  emit Changed();
}

bool TitleConfigModel::Accept(CELDevice& device, Messages& messages) {
  double recorded = 0.0;
  if (working_.rimtone) runDrive_([&] { recorded = device.GetRecordedOuterRadius(); });
  const double lowest = LowestInnerRadius(working_.rimtone, recorded);
  if (!CheckBurningArea(working_.inner, working_.outer, lowest, messages)) return false;
  if (fontIndex_ >= 0 && fontIndex_ < static_cast<int>(fonts_.size()))
    working_.font = fonts_[static_cast<std::size_t>(fontIndex_)];
  confirmed_ = working_;
  emit Changed();
  return true;
}

}  // namespace twr::ui
