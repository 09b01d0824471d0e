// Compares the etched picture the virtual drive drew with the label it came
// from: inside the burn band the marks follow the label (dark label pixels
// are etched darker than light ones), outside it nothing is marked.
// Usage: etched_compare LABEL.png ETCHED.png INNER_MM OUTER_MM
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"

namespace {

constexpr double kEdgeMm = 0.3;  // marks may spill this far over the band's edges
constexpr int kStep = 2;
// The plain recording surface of the disc picture, away from its hub rings
// and its rim.
constexpr double kSurfaceInnerMm = 24.0;
constexpr double kSurfaceOuterMm = 57.0;

// Darkness 0 ... 1 from the picture's lightness (silver is light, marks dark).
double Darkness(QRgb c, double silver) {
  return std::max(0.0, (silver - qGray(c)) / silver);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: etched_compare LABEL ETCHED INNER_MM OUTER_MM\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  const QImage label(QString::fromLocal8Bit(argv[1]));
  const QImage etched(QString::fromLocal8Bit(argv[2]));
  // Read in every locale (the application has switched to the user's).
  const double inner = QByteArray(argv[3]).toDouble();
  const double outer = QByteArray(argv[4]).toDouble();
  if (label.isNull() || etched.isNull()) {
    std::fprintf(stderr, "etched_compare: cannot read the pictures\n");
    return 1;
  }
  // The surface's own colour: a point of the surface far from the band.
  const double surfaceMm = inner - kSurfaceInnerMm > 58.0 - outer ? (inner + kSurfaceInnerMm) / 2
                                                                  : (outer + kSurfaceOuterMm) / 2;
  const double silver = qGray(etched.pixel(
      static_cast<int>(twr::kEtchedPictureSize / 2.0 + surfaceMm * twr::kEtchedPixelsPerMm),
      twr::kEtchedPictureSize / 2));
  const double labelPixelsPerMm = label.width() / twr::kLabelWidthMm;
  double darkSum = 0, lightSum = 0, outsideMax = 0;
  long darkCount = 0, lightCount = 0;
  for (int y = 0; y < etched.height(); y += kStep) {
    for (int x = 0; x < etched.width(); x += kStep) {
      const double mx = (x - twr::kEtchedPictureSize / 2.0) / twr::kEtchedPixelsPerMm;
      const double my = (y - twr::kEtchedPictureSize / 2.0) / twr::kEtchedPixelsPerMm;
      const double r = std::hypot(mx, my);
      const double d = Darkness(etched.pixel(x, y), silver);
      if (r < inner - kEdgeMm || r > outer + kEdgeMm) {
        if (r > kSurfaceInnerMm && r < kSurfaceOuterMm) outsideMax = std::max(outsideMax, d);
        continue;
      }
      if (r < inner + kEdgeMm || r > outer - kEdgeMm) continue;
      const int lx = static_cast<int>(label.width() / 2.0 + mx * labelPixelsPerMm);
      const int ly = static_cast<int>(label.height() / 2.0 + my * labelPixelsPerMm);
      if (!label.valid(lx, ly)) continue;
      if (qGray(label.pixel(lx, ly)) < 128) {
        darkSum += d;
        ++darkCount;
      } else {
        lightSum += d;
        ++lightCount;
      }
    }
  }
  const double dark = darkCount ? darkSum / darkCount : 0;
  const double light = lightCount ? lightSum / lightCount : 0;
  std::printf(
      "band: %ld dark label pixels etched %.3f, %ld light ones %.3f; outside at most %.3f\n",
      darkCount, dark, lightCount, light, outsideMax);
  const bool ok = darkCount > 0 && lightCount > 0 && dark > light + 0.2 && outsideMax < 0.05;
  return ok ? 0 : 1;
}
