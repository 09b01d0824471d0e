// Ring text layout on the strip and its mapping onto the circle.
#include "label/RingText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drive/DiscGeometry.h"
#include "label/FitLoop.h"

namespace twr {

namespace {

constexpr const char* kTitleDateGap = "   ";
constexpr const char* kFullCircleTail = "    ";
constexpr const char* kNoteGap = "  ";
constexpr int kHalfCircleDegrees = 180;
// Columns between note pairs in the two-row form: five degrees of the circle.
constexpr int kNoteColumnsGapDivisor = 72;
// Floors of the fit loops, as fractions of the start height.
constexpr double kFullCircleFloor = 0.2;
constexpr double kArcFloor = 0.5;
constexpr double kUpperSubStart = 0.9;
constexpr double kTwoRowSubStart = 0.8;

constexpr int kBytesPerPixel = 3;

// Draws the strip's texts, through the stamps when there are any.
struct StripPen {
  ImageBuffer& strip;
  TextStamps* stamps;
  void Draw(int x, int y, std::string_view text) const {
    if (stamps)
      stamps->Draw(strip, x, y, text);
    else
      strip.DrawText(x, y, text);
  }
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string TrimRight(std::string text) {
  while (!text.empty() && IsBlank(text.back())) text.pop_back();
  return text;
}

// The note lines joined for an arc: each line that fits is added with its
// gap; a line that does not fit shrinks the font and is tried again, until
// the font falls below the floor. Returns the text and the final h.
std::string CollectSubText(ImageBuffer& strip, LabelFontCache& fonts, const NoteLineArray& notes,
                           int startHeight, int limit, double floor, int& finalHeight) {
  std::string sub;
  int selected = startHeight;
  int h = startHeight;
  strip.SelectFont(fonts.Get(h));
  int i = 0;
  while (i < kNoteLineCount && h >= floor) {
    if (notes[i].empty()) {
      ++i;
      continue;
    }
    std::string candidate = sub + notes[i] + kNoteGap;
    ShrinkToFit(
        strip, fonts, candidate, selected, h, [&](int w) { return w > limit; },
        [&](int height) { return height >= floor; });
    if (h < floor) break;  // this line and the rest are dropped
    sub = std::move(candidate);
    ++i;
  }
  finalHeight = h;
  return TrimRight(std::move(sub));
}

void LayOutFullCircle(ImageBuffer& strip, const RingTexts& texts, const StripGeometry& g,
                      LabelFontCache& fonts, const StripPen& pen) {
  const int W = g.width, H = g.height;
  const std::string main = texts.title + kTitleDateGap + texts.date + kFullCircleTail;
  const FitResult fit = FitText(
      strip, fonts, main, H, [&](int w) { return w >= W; },
      [&](int h) { return h >= kFullCircleFloor * H; });
  pen.Draw(0, (H - fit.height) / 2, main);
  if (!(fit.width < W / 2)) return;

  std::vector<std::string> lines;
  for (const std::string& line : texts.notes)
    if (!line.empty()) lines.push_back(line);
  if (lines.size() % 2 != 0) lines.emplace_back();
  std::string joined;
  for (const std::string& line : lines) joined += line + kNoteGap;

  strip.SelectFont(fonts.Get(H));
  if (strip.MeasureText(joined) < W - fit.width) {
    pen.Draw(fit.width, 0, joined);
    return;
  }
  // Two rows of columns at half height: the first half of the lines inside,
  // the second half outside, paired column by column.
  strip.SelectFont(fonts.Get(H / 2));
  const int half = static_cast<int>(lines.size()) / 2;
  const int gap = W / kNoteColumnsGapDivisor;
  int x = fit.width;
  for (int p = 0; p < half; ++p) {
    const std::string& inner = lines[p];
    const std::string& outer = lines[p + half];
    pen.Draw(x, 0, inner);
    pen.Draw(x, H / 2, outer);
    x += std::max(strip.MeasureText(inner), strip.MeasureText(outer)) + gap;
  }
}

void LayOutUpperAndLower(ImageBuffer& strip, const LayoutRecord& layout, const RingTexts& texts,
                         const StripGeometry& g, LabelFontCache& fonts, const StripPen& pen) {
  const int halfW = g.halfWidth, H = g.height;
  const std::string main = texts.title + kTitleDateGap + texts.date;
  const int limitM = layout.RingMAngle * halfW / kHalfCircleDegrees;
  const FitResult fit = FitText(
      strip, fonts, main, H, [&](int w) { return w >= limitM; },
      [&](int h) { return h >= kArcFloor * H; });
  pen.Draw(halfW + (halfW - fit.width) / 2, (H - fit.height) / 2, main);

  const int limitS = layout.RingSAngle * halfW / kHalfCircleDegrees;
  int h2 = 0;
  const std::string sub = CollectSubText(
      strip, fonts, texts.notes, static_cast<int>(kUpperSubStart * H), limitS, kArcFloor * H, h2);
  const int widthS = strip.MeasureText(sub);
  pen.Draw((halfW - widthS) / 2, (H - h2) / 2, sub);
}

void LayOutTwoRows(ImageBuffer& strip, const LayoutRecord& layout, const RingTexts& texts,
                   const StripGeometry& g, LabelFontCache& fonts, const StripPen& pen) {
  const int halfW = g.halfWidth, rowH = g.height / 2;
  const std::string main = texts.title + kTitleDateGap + texts.date;
  const int limit = layout.RingMAngle * halfW / kHalfCircleDegrees;
  const FitResult fit = FitText(
      strip, fonts, main, rowH, [&](int w) { return w >= limit; },
      [&](int h) { return h >= kArcFloor * rowH; });
  pen.Draw((halfW - fit.width) / 2, (rowH - fit.height) / 2, main);

  int h2 = 0;
  const std::string sub =
      CollectSubText(strip, fonts, texts.notes, static_cast<int>(kTwoRowSubStart * rowH), limit,
                     kArcFloor * rowH, h2);
  const int widthS = strip.MeasureText(sub);
  pen.Draw((halfW - widthS) / 2, rowH + (rowH - h2) / 2, sub);
}

}  // namespace

void RingAngleTable::Build(int steps) {
  Release();
  if (steps <= 0) return;
  sin_.resize(steps);
  cos_.resize(steps);
  const double step = 2.0 * std::numbers::pi / steps;
  for (int j = 0; j < steps; ++j) {
    const double theta = j * step;
    sin_[j] = std::sin(theta);
    cos_[j] = std::cos(theta);
  }
}

void RingAngleTable::Release() {
  sin_ = {};
  cos_ = {};
}

RingMapping ComputeRingMapping(const LayoutRecord& layout, double side) {
  RingMapping m;
  m.side = static_cast<int>(side);
  m.inner = side * layout.InnerRadius * (1.0 / kLabelWidthMm);
  m.outer = side * layout.OuterRadius * (1.0 / kLabelWidthMm);
  m.band = side * layout.RingBand * (1.0 / kLabelWidthMm);
  m.rows = static_cast<int>(m.band);
  if (layout.RLetterAlign == 1)
    m.offset = (m.outer - m.inner - m.band) * 0.5;
  else if (layout.RLetterAlign == 2)
    m.offset = m.outer - m.inner - m.band;
  return m;
}

int ArcSkipSteps(int degrees, int steps) {
  return static_cast<int>(static_cast<long long>(kHalfCircleDegrees - degrees) * steps /
                          (4LL * kHalfCircleDegrees));
}

std::vector<RingArc> RingArcs(const LayoutRecord& layout, int steps) {
  const int half = steps / 2;
  if (layout.RingType == 1) {
    const int s = ArcSkipSteps(layout.RingSAngle, steps);
    const int m = ArcSkipSteps(layout.RingMAngle, steps);
    return {{s, half - s - 1, false}, {half + m, steps - m - 1, true}};
  }
  if (layout.RingType == 2) {
    const int m = ArcSkipSteps(layout.RingMAngle, steps);
    return {{m, half - m - 1, false}};
  }
  return {{0, steps - 1, false}};
}

void LayOutRingText(ImageBuffer& strip, const LayoutRecord& layout, const RingTexts& texts,
                    const StripGeometry& geometry, LabelFontCache& fonts, TextStamps* stamps) {
  if (!strip.Exists()) return;
  strip.FillRect(0, 0, strip.Width(), strip.Height(), layout.BgColor);
  strip.SetTextColor(layout.TxColor);
  if (stamps) stamps->Begin(layout.BgColor);
  const StripPen pen{strip, stamps};
  switch (layout.RingType) {
    case 1:
      LayOutUpperAndLower(strip, layout, texts, geometry, fonts, pen);
      break;
    case 2:
      LayOutTwoRows(strip, layout, texts, geometry, fonts, pen);
      break;
    default:
      LayOutFullCircle(strip, texts, geometry, fonts, pen);
      break;
  }
  if (stamps) stamps->End();
}

void MapRingText(const ImageBuffer& strip, ImageBuffer& target, const LayoutRecord& layout,
                 const RingAngleTable& angles, double side) {
  if (!target.Exists()) return;
  const RingMapping m = ComputeRingMapping(layout, side);
  const int steps = angles.Size();
  const int centre = m.side / 2;
  const uint8_t bg[kBytesPerPixel] = {RedOf(layout.BgColor), GreenOf(layout.BgColor),
                                      BlueOf(layout.BgColor)};
  const int stripW = strip.Exists() ? strip.Width() : 0;
  const int stripH = strip.Exists() ? strip.Height() : 0;
  const int targetW = target.Width(), targetH = target.Height();
  int prevX = 0, prevY = 0;  // the first target is compared with (0, 0)

  for (const RingArc& arc : RingArcs(layout, steps)) {
    const int first = std::max(arc.first, 0);
    const int last = std::min(arc.last, steps - 1);
    for (int i = 0; i < m.rows && first <= last; ++i) {
      const double rho = m.RowRadius(i);
      const int sy = arc.upper ? m.rows - 1 - i : i;
      const uchar* sourceRow = (sy >= 0 && sy < stripH) ? strip.Row(sy) : nullptr;
      auto targetOf = [&](int j, int& x, int& y) {
        const int dx = static_cast<int>(rho * angles.Cos(j));
        x = arc.upper ? centre + dx : centre - dx;
        y = centre + static_cast<int>(rho * angles.Sin(j));
      };
      // Whether strip column sx is BgColor (outside the strip counts as
      // BgColor). Each column is read at two successive steps.
      auto background = [&](int sx) {
        if (sourceRow == nullptr || sx >= stripW) return true;
        const uchar* px = sourceRow + static_cast<std::ptrdiff_t>(sx) * kBytesPerPixel;
        return px[0] == bg[0] && px[1] == bg[1] && px[2] == bg[2];
      };
      int j = first;
      while (j <= last) {
        const int sx = j / 2;
        if (background(sx)) {
          // A run of background steps copies nothing; all that is left of
          // it is its last target, which the next step is compared with.
          // The run ends before the first step of the next column with ink.
          int c = sx + 1;
          while (c < stripW && 2LL * c <= last && background(c)) ++c;
          const int end = (c >= stripW || 2LL * c > last) ? last : 2 * c - 1;
          targetOf(end, prevX, prevY);
          j = end + 1;
          continue;
        }
        const uchar* px = sourceRow + static_cast<std::ptrdiff_t>(sx) * kBytesPerPixel;
        int x = 0, y = 0;
        targetOf(j, x, y);
        ++j;
        if (x == prevX && y == prevY) continue;  // skipped without reading
        prevX = x;
        prevY = y;
        if (x < 0 || y < 0 || x >= targetW || y >= targetH) continue;
        uchar* t = target.Row(y) + static_cast<std::ptrdiff_t>(x) * kBytesPerPixel;
        t[0] = px[0];
        t[1] = px[1];
        t[2] = px[2];
      }
    }
  }
}

}  // namespace twr
