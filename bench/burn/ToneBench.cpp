// Fit to etch, measured: pictures of flat regions of near greys (a pale sun
// in a pale sky, a yellow bus on a light road, a dark moon in a night sky,
// a gradient) go onto the label as a label's own picture does and are
// etched as the "as etched" view draws them, with the tone left alone and
// fit to etch, at each quality. For each: the mean etched grey of each
// region, how many neighbouring regions stay at least 8 grey levels apart,
// and a windowed SSIM of the etched band against the picture.
//
//   bench_tone            one table on stdout
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDriveConfig.h"
#include "label/PictureSettings.h"

namespace twr {
namespace {

constexpr int kLabelSide = 1655;
constexpr double kInner = 25.0;
constexpr double kOuter = 58.0;
constexpr double kApart = 8.0;
constexpr double kPatchMm = 5.0;  // the radius measured of each region

struct Region {
  const char* name;
  double xMm, yMm;  // from the label's centre
};

struct Scene {
  const char* name;
  QImage picture;
  std::vector<Region> regions;  // neighbours in order: pairs (0,1), (1,2), ...
};

int Px(double mm) {
  return static_cast<int>(kLabelSide / 2.0 + mm * kLabelSide / kLabelWidthMm);
}

QImage Flat(QColor ground, QColor object, double objectXmm, double objectYmm, double radiusMm) {
  QImage img(kLabelSide, kLabelSide, QImage::Format_RGB888);
  img.fill(ground);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(object);
  const double r = radiusMm * kLabelSide / kLabelWidthMm;
  p.drawEllipse(QPointF(Px(objectXmm), Px(objectYmm)), r, r);
  return img;
}

std::vector<Scene> Scenes() {
  std::vector<Scene> scenes;
  scenes.push_back({"sun in sky",
                    Flat(QColor(200, 220, 240), QColor(255, 245, 200), 40, 0, 10),
                    {{"sky", -40, 0}, {"sun", 40, 0}}});
  scenes.push_back({"bus on road",
                    Flat(QColor(170, 170, 165), QColor(250, 215, 30), 0, 40, 10),
                    {{"road", 0, -40}, {"bus", 0, 40}}});
  scenes.push_back({"moon in night",
                    Flat(QColor(20, 25, 45), QColor(70, 70, 80), -40, 0, 10),
                    {{"moon", -40, 0}, {"sky", 40, 0}}});
  QImage gradient(kLabelSide, kLabelSide, QImage::Format_RGB888);
  for (int y = 0; y < kLabelSide; ++y) {
    uchar* row = gradient.scanLine(y);
    for (int x = 0; x < kLabelSide; ++x)
      row[3 * x] = row[3 * x + 1] = row[3 * x + 2] =
          static_cast<uchar>(96 + x * 120 / kLabelSide);  // a pale, narrow ramp
  }
  scenes.push_back(
      {"gradient", gradient, {{"g1", -50, 0}, {"g2", -33, 0}, {"g3", 33, 0}, {"g4", 50, 0}}});
  return scenes;
}

ElsPage DefaultPage() {
  ElsPage page;
  const ElsPageBytes bytes = VirtualDriveConfig{}.elsPage;
  std::copy(bytes.begin(), bytes.end(), page.Bytes().begin());
  return page;
}

int Luma(const uchar* p) {
  return static_cast<int>(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]);
}

// The etched picture (RGB888, 120 mm across) at a label position, in greys.
double EtchedGreyAt(const QImage& etched, double xMm, double yMm) {
  const double scale = etched.width() / (2.0 * kDiscRadiusMm);
  const int x = static_cast<int>(etched.width() / 2.0 + xMm * scale);
  const int y = static_cast<int>(etched.height() / 2.0 + yMm * scale);
  if (x < 0 || y < 0 || x >= etched.width() || y >= etched.height()) return 0;
  return Luma(etched.constScanLine(y) + 3 * x);
}

double RegionMean(const QImage& etched, const Region& r) {
  double sum = 0;
  int n = 0;
  for (double dy = -kPatchMm; dy <= kPatchMm; dy += 0.25)
    for (double dx = -kPatchMm; dx <= kPatchMm; dx += 0.25)
      if (dx * dx + dy * dy <= kPatchMm * kPatchMm) {
        sum += EtchedGreyAt(etched, r.xMm + dx, r.yMm + dy);
        ++n;
      }
  return sum / n;
}

// SSIM over 2 mm windows of the band (26 - 57 mm), the etched greys
// against the picture's, both sampled on a 0.25 mm grid. `inRange`: the
// picture as the disc's own range shows it (white as bare disc, black as
// fully marked: `bare` and `marked`), else as it is.
double BandSsim(const QImage& etched, const QImage& picture, bool inRange, double bare,
                double marked) {
  constexpr double kStep = 0.25;
  constexpr int kWindow = 8;
  constexpr double c1 = (0.01 * 255) * (0.01 * 255), c2 = (0.03 * 255) * (0.03 * 255);
  const int cells = static_cast<int>(2 * kOuter / kStep);
  double total = 0;
  int windows = 0;
  for (int wy = 0; wy + kWindow <= cells; wy += kWindow)
    for (int wx = 0; wx + kWindow <= cells; wx += kWindow) {
      double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
      bool inside = true;
      for (int j = 0; j < kWindow && inside; ++j)
        for (int i = 0; i < kWindow; ++i) {
          const double x = -kOuter + (wx + i) * kStep, y = -kOuter + (wy + j) * kStep;
          const double r = std::hypot(x, y);
          if (r < kInner + 1 || r > kOuter - 1) {
            inside = false;
            break;
          }
          const double a = EtchedGreyAt(etched, x, y);
          double b = Luma(picture.constScanLine(Px(y)) + 3 * Px(x));
          if (inRange) b = marked + (bare - marked) * b / 255.0;
          sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b;
        }
      if (!inside) continue;
      const double n = kWindow * kWindow;
      const double ma = sa / n, mb = sb / n;
      const double va = saa / n - ma * ma, vb = sbb / n - mb * mb, cov = sab / n - ma * mb;
      total += ((2 * ma * mb + c1) * (2 * cov + c2)) / ((ma * ma + mb * mb + c1) * (va + vb + c2));
      ++windows;
    }
  return windows > 0 ? total / windows : 0;
}

int Run() {
  const ElsPage page = DefaultPage();
  const char* qualities[] = {"draft", "normal", "high"};
  std::printf("%-14s %-7s %-5s %-32s %-6s %s\n", "scene", "quality", "tone",
              "etched grey per region", "apart", "ssim (disc's range, as is)");
  int worse = 0, worseRaw = 0;
  // The bare disc's grey and a fully marked one's, from an etch of white
  // and one of black.
  double bare = 0, marked = 0;
  for (const bool black : {false, true}) {
    EtchRequest request;
    request.label = QImage(kLabelSide, kLabelSide, QImage::Format_RGB888);
    request.label.fill(black ? Qt::black : Qt::white);
    request.target = {{kInner, kOuter}, BurnDisc::LabelSide(), BurnQuality::Draft};
    request.page = page;
    const EtchResult etched = SimulateEtch(request);
    (black ? marked : bare) = RegionMean(etched.picture, {"", 40, 0});
  }
  for (const Scene& scene : Scenes()) {
    for (int q = 0; q < 3; ++q) {
      const auto quality = static_cast<BurnQuality>(q);
      const EtchTone tone = EtchToneOf(page, quality);
      double noneSsim = 0, noneRaw = 0;
      for (const PictureTone mode : {PictureTone::None, PictureTone::Auto}) {
        PictureSettings settings;
        settings.tone = mode;
        EtchRequest request;
        request.label = PreparePicture(scene.picture, settings, kLabelSide, tone, Qt::white);
        request.target = {{kInner, kOuter}, BurnDisc::LabelSide(), quality};
        request.page = page;
        const EtchResult etched = SimulateEtch(request);
        if (!etched.ok) {
          std::fprintf(stderr, "bench_tone: %s\n", etched.problem.c_str());
          return 1;
        }
        std::string greys;
        std::vector<double> means;
        for (const Region& r : scene.regions) {
          means.push_back(RegionMean(etched.picture, r));
          char cell[48];
          std::snprintf(cell, sizeof cell, "%s %.0f ", r.name, means.back());
          greys += cell;
        }
        int apart = 0;
        for (std::size_t i = 0; i + 1 < means.size(); ++i)
          apart += std::fabs(means[i] - means[i + 1]) >= kApart;
        const double ssim = BandSsim(etched.picture, scene.picture, true, bare, marked);
        const double raw = BandSsim(etched.picture, scene.picture, false, bare, marked);
        if (mode == PictureTone::None) noneSsim = ssim, noneRaw = raw;
        if (mode == PictureTone::Auto && ssim < noneSsim) ++worse;
        if (mode == PictureTone::Auto && raw < noneRaw) ++worseRaw;
        std::printf("%-14s %-7s %-5s %-32s %d/%-4zu %.3f  %.3f\n", scene.name, qualities[q],
                    PictureToneName(mode), greys.c_str(), apart, means.size() - 1, ssim, raw);
      }
    }
  }
  std::printf("bare disc %.0f, fully marked %.0f\n", bare, marked);
  std::printf("fit to etch lowered the SSIM in %d of 12 cases (as is: %d)\n", worse, worseRaw);
  std::printf("distinct marks per quality:");
  for (int q = 0; q < 3; ++q) {
    const EtchTone tone = EtchToneOf(page, static_cast<BurnQuality>(q));
    std::printf(" %s %d (greys 0 - %d mark)", qualities[q], tone.DistinctMarks(),
                tone.LightestMarkingGrey());
  }
  std::printf("\n");
  return 0;
}

}  // namespace
}  // namespace twr

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  return twr::Run();
}
