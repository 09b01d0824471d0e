// A dye's response curve, read from its setting.
#include "drive/DyeResponse.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "common/DecimalText.h"

namespace twr {

namespace {

constexpr double kPercent = 100.0;
constexpr double kMinGamma = 0.1;
constexpr double kMaxGamma = 10.0;
constexpr std::size_t kMaxPoints = 64;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

bool DyeResponse::Parse(std::string_view text, DyeResponse& out) {
  text = Trimmed(text);
  DyeResponse response;
  if (text.empty()) {
    out = response;
    return true;
  }
  if (text.find(':') == std::string_view::npos) {
    double gamma = 0.0;
    if (!ParseDecimal(text, gamma) || gamma < kMinGamma || gamma > kMaxGamma) return false;
    response.gamma_ = gamma;
    out = response;
    return true;
  }
  while (!text.empty()) {
    const std::size_t comma = std::min(text.find(','), text.size());
    const std::string_view point = Trimmed(text.substr(0, comma));
    text.remove_prefix(std::min(comma + 1, text.size()));
    const std::size_t colon = point.find(':');
    double dose = 0.0;
    double dark = 0.0;
    if (colon == std::string_view::npos || !ParseDecimal(Trimmed(point.substr(0, colon)), dose) ||
        !ParseDecimal(Trimmed(point.substr(colon + 1)), dark))
      return false;
    if (dose < 0.0 || dose > kPercent || dark < 0.0 || dark > kPercent) return false;
    // The dose rises from point to point (a step is two points at one dose).
    if (!response.points_.empty() && dose * (1.0 / kPercent) < response.points_.back().first)
      return false;
    if (response.points_.size() == kMaxPoints) return false;
    response.points_.emplace_back(dose / kPercent, dark / kPercent);
  }
  if (response.points_.empty()) return false;
  out = response;
  return true;
}

DyeResponse DyeResponse::FromPoints(std::vector<std::pair<double, double>> points) {
  DyeResponse response;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto& [share, dark] = points[i];
    if (share < 0.0 || share > 1.0 || dark < 0.0 || dark > 1.0 ||
        (i > 0 && share < points[i - 1].first))
      return response;
  }
  response.points_ = std::move(points);
  return response;
}

float DyeResponse::Darkness(float share) const {
  const double s = std::clamp(static_cast<double>(share), 0.0, 1.0);
  if (points_.empty()) return static_cast<float>(gamma_ == 1.0 ? s : std::pow(s, gamma_));
  if (s <= points_.front().first) return static_cast<float>(points_.front().second);
  for (std::size_t i = 1; i < points_.size(); ++i) {
    const auto& [x1, y1] = points_[i];
    if (s > x1) continue;
    const auto& [x0, y0] = points_[i - 1];
    if (x1 <= x0) return static_cast<float>(y1);
    return static_cast<float>(y0 + (y1 - y0) * (s - x0) / (x1 - x0));
  }
  return static_cast<float>(points_.back().second);
}

void DyeResponse::Apply(std::vector<float>& darkness) const {
  if (Straight()) return;
  for (float& d : darkness) d = Darkness(d);
}

}  // namespace twr
