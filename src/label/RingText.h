// Ring text: the title, date and note lines laid out straight on a strip and
// bent onto the circular band between the inner and outer radius.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "label/ImageBuffer.h"
#include "label/LabelFont.h"
#include "label/LayoutSettings.h"
#include "label/TextStamps.h"

namespace twr {

inline constexpr int kNoteLineCount = 10;
using NoteLineArray = std::array<std::string, kNoteLineCount>;

// Sines and cosines of the angle steps around the circle (a whole turn over
// the steps), two angle steps per strip column.
class RingAngleTable {
 public:
  void Build(int steps);
  void Release();
  int Size() const { return static_cast<int>(sin_.size()); }
  double Sin(int j) const { return sin_[j]; }
  double Cos(int j) const { return cos_[j]; }

 private:
  std::vector<double> sin_;
  std::vector<double> cos_;
};

// The texts set along the ring.
struct RingTexts {
  const std::string& title;
  const std::string& date;
  const NoteLineArray& notes;
};

// Strip geometry for the layout stage: width, half width and height.
struct StripGeometry {
  int width = 0;
  int halfWidth = 0;
  int height = 0;
};

// Radial geometry of the mapping stage for a label side of `side` pixels;
// radii and the band in pixels.
struct RingMapping {
  int side = 0;         // the label's side, a whole number of pixels
  double inner = 0.0;   // inner radius of the burning area
  double outer = 0.0;   // outer radius of the burning area
  double band = 0.0;    // ring band thickness
  int rows = 0;         // strip rows mapped: the band's whole pixels
  double offset = 0.0;  // of the band from the inner radius, by RLetterAlign
  double RowRadius(int i) const { return i + offset + inner; }
};

RingMapping ComputeRingMapping(const LayoutRecord& layout, double side);

// Angle steps left out at each end of an arc of `degrees` out of a half circle.
int ArcSkipSteps(int degrees, int steps);

// An inclusive range of angle indexes and the mapping used on it.
struct RingArc {
  int first = 0;
  int last = -1;
  bool upper = false;  // the upper arc's mapping: rows reversed
};
// The arcs mapped for the layout's RingType, in mapping order.
std::vector<RingArc> RingArcs(const LayoutRecord& layout, int steps);

// Layout stage: fills the strip with BgColor and draws the texts on it;
// with `stamps`, texts drawn in the same place in the strip's last layout
// are copied from there where that leaves the same pixels.
void LayOutRingText(ImageBuffer& strip, const LayoutRecord& layout, const RingTexts& texts,
                    const StripGeometry& geometry, LabelFontCache& fonts,
                    TextStamps* stamps = nullptr);

// Mapping stage: copies every strip pixel that differs from BgColor onto the
// target along the arcs, skipping a target pixel equal to the previous one.
void MapRingText(const ImageBuffer& strip, ImageBuffer& target, const LayoutRecord& layout,
                 const RingAngleTable& angles, double side);

}  // namespace twr
