// Placement and tone of a label's own picture.
#include "label/PictureSettings.h"

#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/DecimalText.h"
#include "common/Translate.h"

namespace twr {

namespace {

constexpr double kGreyTop = 255.0;
constexpr double kMidGrey = 127.5;
constexpr double kPercent = 100.0;
constexpr double kContrastBase = 4.0;
// The share of pixels at each end of the range that fit to etch lets go
// of (a few specks of white or black must not flatten the rest).
constexpr double kOutlierShare = 0.01;
// A narrow range is spread at most this much: further, a pale sky would
// etch black and a dark one white, and the picture would no longer look
// like itself. A tenth of the grey range apart is already two distinct
// etched greys once the etch is even in darkness.
constexpr double kMaxStretch = 1.5;

// The luma of a pixel as the burn's encoder takes it: the same weights in
// the same order, truncated.
int Luma(const uchar* rgb) {
  const double y = 0.587 * rgb[1] + 0.114 * rgb[2] + 0.299 * rgb[0];
  return static_cast<int>(y) & 0xFF;
}

// The manual adjustments of one grey, 0 ... 255.
double Adjusted(const PictureSettings& s, double x) {
  if (s.invert) x = kGreyTop - x;
  if (s.black != 0 || s.white != 255)
    x = (x - s.black) * kGreyTop / static_cast<double>(std::max(1, s.white - s.black));
  x += s.brightness * (kGreyTop / kPercent);
  if (s.contrast != 0)
    x = (x - kMidGrey) * std::pow(kContrastBase, s.contrast / kPercent) + kMidGrey;
  x = std::clamp(x, 0.0, kGreyTop);
  if (s.gamma != 1.0) x = kGreyTop * std::pow(x / kGreyTop, 1.0 / s.gamma);
  return x;
}

// The grey at `share` of the pixels counted, from the dark end.
int Percentile(const std::array<long long, 256>& histogram, long long total, double share) {
  const auto wanted = static_cast<long long>(std::ceil(share * static_cast<double>(total)));
  long long seen = 0;
  for (int g = 0; g < 256; ++g) {
    seen += histogram[static_cast<std::size_t>(g)];
    if (seen >= std::max(1LL, wanted)) return g;
  }
  return 255;
}

std::array<long long, 256> LumaHistogram(const QImage& rgb888) {
  std::array<long long, 256> counts{};
  for (int y = 0; y < rgb888.height(); ++y) {
    const uchar* px = rgb888.constScanLine(y);
    for (int x = 0; x < rgb888.width(); ++x, px += 3) ++counts[static_cast<std::size_t>(Luma(px))];
  }
  return counts;
}

// The picture in greys through `table`, at its own size.
QImage ToneMapped(const QImage& rgb888, const std::array<std::uint8_t, 256>& table) {
  QImage out(rgb888.size(), QImage::Format_RGB888);
  if (out.isNull()) return out;
  for (int y = 0; y < rgb888.height(); ++y) {
    const uchar* in = rgb888.constScanLine(y);
    uchar* o = out.scanLine(y);
    for (int x = 0; x < rgb888.width(); ++x, in += 3, o += 3)
      o[0] = o[1] = o[2] = table[static_cast<std::size_t>(Luma(in))];
  }
  return out;
}

// Pan and zoom as a drag or the wheel leaves them: to a ten-thousandth,
// so that a design file keeps short numbers (a ten-thousandth of a label
// width is a sixth of a label pixel).
constexpr double kPlacementGrain = 10000.0;
double Grained(double value) {
  return std::round(value * kPlacementGrain) / kPlacementGrain;
}
double HeldPan(double pan) {
  return std::clamp(Grained(pan), -kMaxPicturePan, kMaxPicturePan);
}
constexpr double kWheelNotch = 120.0;

}  // namespace

const char* PictureFitName(PictureFit fit) {
  switch (fit) {
    case PictureFit::Fit:
      return "fit";
    case PictureFit::Fill:
      return "fill";
    case PictureFit::Stretch:
      break;
  }
  return "stretch";
}

bool ParsePictureFit(std::string_view name, PictureFit& fit) {
  for (PictureFit f : {PictureFit::Stretch, PictureFit::Fit, PictureFit::Fill})
    if (name == PictureFitName(f)) {
      fit = f;
      return true;
    }
  return false;
}

const char* PictureToneName(PictureTone tone) {
  return tone == PictureTone::Auto ? "auto" : "none";
}

bool ParsePictureTone(std::string_view name, PictureTone& tone) {
  if (name != "auto" && name != "none") return false;
  tone = name == "auto" ? PictureTone::Auto : PictureTone::None;
  return true;
}

bool PictureSettings::PlainPlacement() const {
  return fit == PictureFit::Stretch && quarterTurns == 0 && panX == 0.0 && panY == 0.0 &&
         zoom == 1.0;
}

bool PictureSettings::PlainTone() const {
  return tone == PictureTone::None && brightness == 0 && contrast == 0 && gamma == 1.0 &&
         black == 0 && white == 255 && !invert;
}

std::string CheckPictureSettings(const PictureSettings& s) {
  const auto outside = [](const char* what, double value, double low, double high) {
    return Arg(Tr("PictureSettings", "the picture's %1 %2 is not within %3 to %4"),
               {what, FormatDecimal(value, 2), FormatDecimal(low, 1), FormatDecimal(high, 1)});
  };
  if (s.quarterTurns < 0 || s.quarterTurns > 3) return outside("turns", s.quarterTurns, 0, 3);
  if (!(std::isfinite(s.zoom) && 1.0 <= s.zoom && s.zoom <= kMaxPictureZoom))
    return outside("zoom", s.zoom, 1.0, kMaxPictureZoom);
  for (const auto& [name, pan] : {std::pair{"panX", s.panX}, std::pair{"panY", s.panY}})
    if (!(std::isfinite(pan) && std::fabs(pan) <= kMaxPicturePan))
      return outside(name, pan, -kMaxPicturePan, kMaxPicturePan);
  if (std::abs(s.brightness) > kMaxPictureBrightness)
    return outside("brightness", s.brightness, -kMaxPictureBrightness, kMaxPictureBrightness);
  if (std::abs(s.contrast) > kMaxPictureContrast)
    return outside("contrast", s.contrast, -kMaxPictureContrast, kMaxPictureContrast);
  if (!(std::isfinite(s.gamma) && kMinPictureGamma <= s.gamma && s.gamma <= kMaxPictureGamma))
    return outside("gamma", s.gamma, kMinPictureGamma, kMaxPictureGamma);
  if (s.black < 0 || s.black > 254) return outside("black point", s.black, 0, 254);
  if (s.white <= s.black || s.white > 255) return outside("white point", s.white, s.black + 1, 255);
  return {};
}

int EtchTone::LightestMarkingGrey() const {
  if (!known) return -1;
  for (int g = 255; g >= 0; --g)
    if (levelOfGrey[static_cast<std::size_t>(g)] < fullMarks) return g;
  return -1;
}

int EtchTone::DistinctMarks() const {
  if (!known) return 0;
  std::array<bool, 256> seen{};
  int count = 0;
  for (int level : levelOfGrey) {
    const int marks = std::clamp(fullMarks - level, 0, 255);
    if (!seen[static_cast<std::size_t>(marks)]) {
      seen[static_cast<std::size_t>(marks)] = true;
      ++count;
    }
  }
  return count;
}

std::array<std::uint8_t, 256> PictureToneTable(const PictureSettings& s,
                                               const std::array<long long, 256>& histogram,
                                               const EtchTone& tone) {
  std::array<double, 256> adjusted{};
  for (int g = 0; g < 256; ++g) adjusted[static_cast<std::size_t>(g)] = Adjusted(s, g);
  std::array<std::uint8_t, 256> table{};
  if (s.tone != PictureTone::Auto) {
    for (int g = 0; g < 256; ++g)
      table[static_cast<std::size_t>(g)] =
          static_cast<std::uint8_t>(std::lround(adjusted[static_cast<std::size_t>(g)]));
    return table;
  }
  // The adjusted picture's range, robust to a few outliers.
  std::array<long long, 256> counts{};
  long long total = 0;
  for (int g = 0; g < 256; ++g) {
    counts[static_cast<std::size_t>(std::lround(adjusted[static_cast<std::size_t>(g)]))] +=
        histogram[static_cast<std::size_t>(g)];
    total += histogram[static_cast<std::size_t>(g)];
  }
  double low = 0.0, high = kGreyTop;
  if (total > 0) {
    const int p1 = Percentile(counts, total, kOutlierShare);
    const int p99 = Percentile(counts, total, 1.0 - kOutlierShare);
    if (p99 > p1) low = p1, high = p99;
    // Too narrow a range is widened so that the picture's mean grey stays
    // where it is (a pale picture stays pale), holding the whole range.
    if (const double least = kGreyTop / kMaxStretch; high - low < least) {
      double sum = 0.0;
      for (int g = 0; g < 256; ++g)
        sum += static_cast<double>(g) * counts[static_cast<std::size_t>(g)];
      const double mean = sum / static_cast<double>(total);
      const double p1 = low, p99 = high;
      low = mean * (1.0 - least / kGreyTop);
      high = low + least;
      if (low > p1) low = p1, high = p1 + least;
      if (high < p99) high = p99, low = p99 - least;
    }
  }
  // For each wanted level from the darkest grey's to the lightest's (a
  // level from fullMarks on leaves no mark), the grey whose level comes
  // nearest; the picture's range is spread evenly over them.
  const bool etch = tone.known && tone.fullMarks > 0 && tone.LightestMarkingGrey() >= 0;
  const int top = etch ? std::min(tone.fullMarks, 255) : 0;
  const auto levelOf = [&](int g) {
    return std::min(tone.levelOfGrey[static_cast<std::size_t>(g)], top);
  };
  const int darkest = etch ? levelOf(0) : 0;
  const int lightest = etch ? levelOf(255) : 0;
  std::array<std::uint8_t, 256> greyOfLevel{};
  if (etch) {
    for (int wanted = darkest; wanted <= lightest; ++wanted) {
      int best = 0, bestError = 1 << 20;
      for (int g = 0; g < 256; ++g)
        if (const int error = std::abs(levelOf(g) - wanted); error < bestError) {
          best = g;
          bestError = error;
        }
      greyOfLevel[static_cast<std::size_t>(wanted)] = static_cast<std::uint8_t>(best);
    }
    // The lightest stays white.
    greyOfLevel[static_cast<std::size_t>(lightest)] = 255;
  }
  for (int g = 0; g < 256; ++g) {
    const double t =
        std::clamp((adjusted[static_cast<std::size_t>(g)] - low) / (high - low), 0.0, 1.0);
    table[static_cast<std::size_t>(g)] =
        etch
            ? greyOfLevel[static_cast<std::size_t>(darkest + std::lround(t * (lightest - darkest)))]
            : static_cast<std::uint8_t>(std::lround(t * kGreyTop));
  }
  return table;
}

QRectF PlacedPictureRect(const PictureSettings& s, QSizeF size) {
  if (!(size.width() > 0.0 && size.height() > 0.0)) return {};
  if (s.quarterTurns % 2 != 0) size.transpose();
  // The picture's scale across and down, in label widths per picture pixel.
  double sx = 1.0 / size.width(), sy = 1.0 / size.height();
  if (s.fit == PictureFit::Fit) sx = sy = std::min(sx, sy);
  if (s.fit == PictureFit::Fill) sx = sy = std::max(sx, sy);
  const double w = size.width() * sx * s.zoom, h = size.height() * sy * s.zoom;
  return {0.5 + s.panX - w / 2, 0.5 + s.panY - h / 2, w, h};
}

PictureSettings PanPictureBy(const PictureSettings& s, QPointF delta, double shownSide) {
  PictureSettings out = s;
  if (!(shownSide > 0.0) || !std::isfinite(delta.x()) || !std::isfinite(delta.y())) return out;
  out.panX = HeldPan(s.panX + delta.x() / shownSide);
  out.panY = HeldPan(s.panY + delta.y() / shownSide);
  return out;
}

PictureSettings ZoomPictureAbout(const PictureSettings& s, double factor, QPointF point) {
  PictureSettings out = s;
  if (!(factor > 0.0) || !std::isfinite(factor) || !std::isfinite(point.x()) ||
      !std::isfinite(point.y()) || !(s.zoom > 0.0))
    return out;
  out.zoom = std::clamp(Grained(s.zoom * factor), 1.0, kMaxPictureZoom);
  // The picture's centre moves away from (or towards) the point by the
  // zoom's own ratio, so that what lies under the point stays there.
  const double ratio = out.zoom / s.zoom;
  out.panX = HeldPan(point.x() + (0.5 + s.panX - point.x()) * ratio - 0.5);
  out.panY = HeldPan(point.y() + (0.5 + s.panY - point.y()) * ratio - 0.5);
  return out;
}

double WheelZoomFactor(int angleDelta) {
  return std::pow(kPictureZoomStep, angleDelta / kWheelNotch);
}

QImage TonedPicture(const QImage& picture, const PictureSettings& s, const EtchTone& tone) {
  if (picture.isNull() || s.PlainTone()) return picture;
  const QImage source = picture.format() == QImage::Format_RGB888
                            ? picture
                            : picture.convertToFormat(QImage::Format_RGB888);
  if (source.isNull()) return picture;
  return ToneMapped(source, PictureToneTable(s, LumaHistogram(source), tone));
}

PictureSettings PlacementOf(const PictureSettings& s) {
  PictureSettings placement;
  placement.fit = s.fit;
  placement.quarterTurns = s.quarterTurns;
  placement.panX = s.panX;
  placement.panY = s.panY;
  placement.zoom = s.zoom;
  return placement;
}

QImage PreparePicture(const QImage& picture, const PictureSettings& s, int side,
                      const EtchTone& tone, QColor margin) {
  if (picture.isNull() || s.Plain()) return picture;
  QImage source = picture.format() == QImage::Format_RGB888
                      ? picture
                      : picture.convertToFormat(QImage::Format_RGB888);
  if (source.isNull()) return picture;
  if (!s.PlainTone()) source = ToneMapped(source, PictureToneTable(s, LumaHistogram(source), tone));
  if (s.PlainPlacement() || side <= 0 || source.isNull()) return source;
  if (s.quarterTurns % 4 != 0)
    source = source.transformed(QTransform().rotate(90.0 * (s.quarterTurns % 4)));
  QImage placed(side, side, QImage::Format_RGB32);
  if (placed.isNull() || source.isNull()) return QImage();
  placed.fill(margin);
  // The turned picture's own size: the turns are already in it.
  PictureSettings unturned = s;
  unturned.quarterTurns = 0;
  const QRectF where = PlacedPictureRect(unturned, QSizeF(source.size()));
  {
    QPainter painter(&placed);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRectF(where.x() * side, where.y() * side, where.width() * side, where.height() * side),
        source);
  }
  // Kept 32-bit: the renderer stretches it to the preview through that
  // format anyway, and a drag places it again at every step.
  return placed;
}

}  // namespace twr
