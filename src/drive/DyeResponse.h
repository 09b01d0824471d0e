// A dye's response: how dark a disc turns for the share of dots a burn
// leaves on it. The etch model's darkness is that share (dots over the dots
// a sample can hold); a real dye shows nothing below some dose and is fully
// dark before the last dot. The virtual drive draws its etched picture
// through one (its Response key). No Qt.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twr {

class DyeResponse {
 public:
  // The straight response: darkness is the share of dots.
  DyeResponse() = default;
  // From a setting: a gamma ("2.2": darkness = share ^ 2.2), or points
  // "dose:darkness,..." in percent with the dose rising ("0:0,25:0,
  // 75:100,100:100"), joined by straight lines and held flat beyond the
  // first and the last. False, leaving `out` alone, when the text is
  // neither; an empty text is the straight response.
  static bool Parse(std::string_view text, DyeResponse& out);
  // Points (share of dots, darkness), both 0 ... 1 with the share rising;
  // the straight response when they do not.
  static DyeResponse FromPoints(std::vector<std::pair<double, double>> points);
  bool Straight() const { return points_.empty() && gamma_ == 1.0; }
  // The darkness (0 ... 1) of a share of dots (0 ... 1).
  float Darkness(float share) const;
  // Every value of `darkness` taken through Darkness; nothing changes for
  // the straight response.
  void Apply(std::vector<float>& darkness) const;

 private:
  double gamma_ = 1.0;
  std::vector<std::pair<double, double>> points_;  // shares 0 ... 1, dose rising
};

}  // namespace twr
