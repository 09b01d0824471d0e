// The automatic burning area: the band of a table of labels, and the etch
// of that band against the etch of the whole band on every pixel that marks.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "burn/Calibration.h"
#include "burn/DotEncoder.h"
#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "common/ProfileFile.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace twr {
namespace {

constexpr int kSide = 1655;

ElsPage ExamplePage() {
  return ElsPage(ExampleElsPage());
}

// Label pixels of a radius in mm.
double Pixels(double mm) {
  return mm * kSide / kLabelWidthMm;
}

QImage Label(const std::function<void(QPainter&)>& draw, QColor fill = Qt::white) {
  QImage label(kSide, kSide, QImage::Format_RGB888);
  label.fill(fill);
  QPainter painter(&label);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter);
  return label;
}

// A black ring between two radii (mm).
void Ring(QPainter& p, double inner, double outer) {
  QPainterPath path;
  const QPointF c(kSide / 2.0, kSide / 2.0);
  path.addEllipse(c, Pixels(outer), Pixels(outer));
  path.addEllipse(c, Pixels(inner), Pixels(inner));
  p.fillPath(path, Qt::black);
}

struct AreaCase {
  const char* name;
  QImage label;
  BurnDisc disc;
  BurnQuality quality;
  bool marks;
  double inner, outer;  // the band expected, within kSlack at each edge
};

TEST(AutomaticArea, HoldsTheMarksOfEachLabelAndNoMore) {
  // The band may exceed the marks by the margin, a pixel and the feed-step
  // rounding (inner), or two feed steps (outer).
  constexpr double kSlack = 0.3;
  // A title box: black text in a box from 40 to 46 mm right of the centre.
  const QImage title = Label([](QPainter& p) {
    p.fillRect(QRectF(kSide / 2.0 + Pixels(40), kSide / 2.0 - 20, Pixels(6), 40), Qt::black);
  });
  const QImage rim = Label([](QPainter& p) { Ring(p, 55.0, 57.0); });
  const QImage photo = Label([](QPainter&) {}, QColor(90, 90, 90));
  const QImage light = Label([](QPainter&) {}, QColor(235, 235, 235));
  const AreaCase cases[] = {
      {"a title alone", title, BurnDisc::LabelSide(), BurnQuality::Draft, true, 40.0, 46.0},
      {"ring text at the rim", rim, BurnDisc::LabelSide(), BurnQuality::Draft, true, 55.0, 57.0},
      {"a picture filling the disc", photo, BurnDisc::LabelSide(), BurnQuality::Draft, true,
       kBandInnerLimitMm, kBandOuterLimitMm},
      {"Rimtone: the picture outside the data", photo, BurnDisc::DataSide(36.0), BurnQuality::Draft,
       true, 36.0, kBandOuterLimitMm},
      {"Rimtone: a title inside the data burns nothing", title, BurnDisc::DataSide(50.0),
       BurnQuality::Draft, false, 0, 0},
      {"a light grey that marks nothing at Draft", light, BurnDisc::LabelSide(), BurnQuality::Draft,
       false, 0, 0},
      {"a white label", Label([](QPainter&) {}), BurnDisc::LabelSide(), BurnQuality::Draft, false,
       0, 0},
  };
  const ElsPage page = ExamplePage();
  for (const AreaCase& c : cases) {
    SCOPED_TRACE(c.name);
    const BurnTarget target{{kBandInnerLimitMm, kBandOuterLimitMm}, c.disc, c.quality};
    const AutomaticArea area = PlanAutomaticArea(page, c.label, target);
    ASSERT_EQ(area.marks.marks, c.marks);
    if (!c.marks) continue;
    EXPECT_LE(area.band.inner, c.inner);
    EXPECT_GE(area.band.inner, c.inner - kSlack);
    EXPECT_GE(area.band.outer, c.outer);
    EXPECT_LE(area.band.outer, c.outer + kSlack);
    EXPECT_TRUE(area.plan.Startable());
  }
}

// The passes of Normal and High mark white too: every band is the whole band.
TEST(AutomaticArea, AQualityThatMarksWhiteBurnsTheWholeBand) {
  const ElsPage page = ExamplePage();
  const BurnTarget whole{{kBandInnerLimitMm, kBandOuterLimitMm}, {}, BurnQuality::Draft};
  EXPECT_LT(LightestMarkingLuma(PlanBurn(page, whole)), 255);
  for (BurnQuality q : {BurnQuality::Normal, BurnQuality::High}) {
    BurnTarget target = whole;
    target.quality = q;
    const BurnPlan plan = PlanBurn(page, target);
    if (static_cast<int>(kPatternSize) * plan.steps <= 255) continue;  // this page's passes
    const AutomaticArea area = PlanAutomaticArea(page, Label([](QPainter&) {}), target);
    EXPECT_TRUE(area.marks.marks);
    EXPECT_EQ(area.band.inner, kBandInnerLimitMm);
    EXPECT_EQ(area.band.outer, kBandOuterLimitMm);
  }
}

// What the automatic band etches equals what the whole band etches on every
// pixel that marks: the circles are the same, so nothing that marks is lost.
TEST(AutomaticArea, EtchesEveryMarkAsTheWholeBandDoes) {
  const QImage label = Label([](QPainter& p) {
    Ring(p, 44.0, 47.5);
    p.fillRect(QRectF(kSide / 2.0 - Pixels(52), kSide / 2.0 - 30, Pixels(4), 60),
               QColor(60, 60, 60));
  });
  EtchRequest request;
  request.label = label;
  request.page = ExamplePage();
  request.target = {{kBandInnerLimitMm, kBandOuterLimitMm}, {}, BurnQuality::Draft};
  const AutomaticArea area = PlanAutomaticArea(request.page, label, request.target);
  ASSERT_TRUE(area.marks.marks);
  EXPECT_LT(area.band.outer - area.band.inner, 9.0);
  const EtchResult whole = SimulateEtch(request);
  request.target.band = area.band;
  const EtchResult narrow = SimulateEtch(request);
  ASSERT_TRUE(whole.ok && narrow.ok);
  ASSERT_EQ(whole.picture.size(), narrow.picture.size());
  // The unmarked disc's colour is that of a pixel far from every mark.
  const QRgb unmarked = whole.picture.pixel(
      whole.picture.width() / 2 + 10,
      whole.picture.height() / 2 - static_cast<int>(whole.picture.height() * 30 / 120));
  long marked = 0, differ = 0;
  for (int y = 0; y < whole.picture.height(); ++y)
    for (int x = 0; x < whole.picture.width(); ++x) {
      const QRgb w = whole.picture.pixel(x, y);
      if (w == unmarked || w == qRgb(255, 255, 255)) continue;
      ++marked;
      differ += narrow.picture.pixel(x, y) != w;
    }
  EXPECT_GT(marked, 10000);
  EXPECT_EQ(differ, 0) << "of " << marked << " marked pixels";
  EXPECT_LT(narrow.plan.writes * 3, whole.plan.writes);
}

}  // namespace
}  // namespace twr

namespace twr {
namespace {

// Fit to etch per quality: the grey each input grey becomes, read back
// through the burn's own levels as the darkness the etch leaves. A picture
// using the whole range is spread evenly in darkness over what marks (its
// black fully marked, its white bare, the middle half marked); a pale
// narrow picture's greys a tenth apart land on marks far enough apart.
// Darkness is counted within what the quality reaches (at Normal white
// marks a little).
TEST(EtchTone, FitToEtchSpreadsThePictureEvenlyInDarkness) {
  struct Row {
    int grey;
    double darkness;  // the share of the dots marked, fit to etch
  };
  const Row rows[] = {{0, 1.0}, {64, 0.75}, {128, 0.5}, {192, 0.25}, {255, 0.0}};
  std::array<long long, 256> whole{};
  whole.fill(1);
  std::array<long long, 256> pale{};
  pale[216] = 900, pale[243] = 100;  // a pale sky and a sun in it
  PictureSettings fit;
  fit.tone = PictureTone::Auto;
  for (const BurnQuality quality : {BurnQuality::Draft, BurnQuality::Normal, BurnQuality::High}) {
    const EtchTone tone = EtchToneOf(ExamplePage(), quality);
    ASSERT_TRUE(tone.known);
    SCOPED_TRACE(static_cast<int>(quality));
    const auto marks = [&](int grey) {
      return 1.0 - std::min(tone.levelOfGrey[static_cast<std::size_t>(grey)], tone.fullMarks) /
                       static_cast<double>(tone.fullMarks);
    };
    const auto darkness = [&](int grey) {
      return (marks(grey) - marks(255)) / (marks(0) - marks(255));
    };
    const auto table = PictureToneTable(fit, whole, tone);
    for (const Row& row : rows)
      EXPECT_NEAR(darkness(table[static_cast<std::size_t>(row.grey)]), row.darkness, 0.03)
          << "grey " << row.grey;
    for (int g = 1; g < 256; ++g)
      EXPECT_LE(table[static_cast<std::size_t>(g - 1)], table[static_cast<std::size_t>(g)]);
    // Left alone, the pale pair may etch alike (at Draft neither marks);
    // fit to etch keeps them at least an eighth of the marks apart.
    const auto paleTable = PictureToneTable(fit, pale, tone);
    EXPECT_GE(darkness(paleTable[216]) - darkness(paleTable[243]), 0.125);
    // Without fit to etch and adjustments, every grey stays.
    const auto plain = PictureToneTable({}, whole, tone);
    for (int g = 0; g < 256; ++g) EXPECT_EQ(plain[static_cast<std::size_t>(g)], g);
  }
  // At Draft the lightest greys do not mark at all: that is what is fitted to.
  EXPECT_LT(EtchToneOf(ExamplePage(), BurnQuality::Draft).LightestMarkingGrey(), 200);
}

}  // namespace
}  // namespace twr

namespace twr {
namespace {

// A kept calibration narrows what a burn marks: greys whose dots stay at or
// below the unmarked share leave no mark, those at the dark share or beyond
// all give the full mark, and fit to etch spreads a picture over the rest.
TEST(CalibratedToneTest, ProfileNarrowsTheMarkingRange) {
  const EtchTone draft = EtchToneOf(ElsPage(ExampleElsPage()), BurnQuality::Draft);
  ASSERT_TRUE(draft.known);
  struct Case {
    CalibrationProfile profile;
    bool lighterStillMarks;  // the calibrated lightest marking grey equals the plain one
    bool blackIsFull;
  };
  const Case cases[] = {
      {{0.0, 1.0}, true, true},
      {{0.25, 2.0 / 3.0}, false, true},
      {{0.5, 0.9}, false, true},
  };
  for (const Case& c : cases) {
    const EtchTone tone = CalibratedEtchTone(draft, c.profile);
    SCOPED_TRACE(CalibrationValue(c.profile));
    EXPECT_EQ(tone.LightestMarkingGrey() == draft.LightestMarkingGrey(), c.lighterStillMarks);
    EXPECT_EQ(tone.levelOfGrey[0] == 0, c.blackIsFull);
    for (int g = 0; g < 256; ++g) {
      const double share =
          static_cast<double>(draft.fullMarks - draft.levelOfGrey[static_cast<std::size_t>(g)]) /
          draft.fullMarks;
      const int level = tone.levelOfGrey[static_cast<std::size_t>(g)];
      if (share <= c.profile.unmarked) {
        EXPECT_EQ(level, tone.fullMarks) << g;
      }
      if (share >= c.profile.dark) {
        EXPECT_EQ(level, 0) << g;
      }
    }
    // Fit to etch: a full-range picture's white stays white, its black
    // becomes a fully dark grey and its mid-grey marks, visibly, but not fully.
    PictureSettings auto_;
    auto_.tone = PictureTone::Auto;
    std::array<long long, 256> histogram{};
    histogram.fill(1);
    const auto table = PictureToneTable(auto_, histogram, tone);
    EXPECT_EQ(table[255], 255);
    EXPECT_EQ(tone.levelOfGrey[table[0]], 0);
    const int mid = tone.levelOfGrey[table[128]];
    EXPECT_GT(mid, 0);
    EXPECT_LT(mid, tone.fullMarks);
  }
}

}  // namespace
}  // namespace twr

namespace twr {
namespace {

// The tone and response for a drive model and disc: a kept calibration is
// found only under its own model and disc kind, an unreadable one is
// passed over, and a page that gives no tone falls back to the example
// drive's.
TEST(DriveEtchTest, KeptCalibrationForModelAndDiscKind) {
  const ElsPage page{ElsPage(ExampleElsPage())};
  const CalibrationProfile kept{0.25, 0.75};
  const ProfileFile settings = ProfileFile::Parse(
      "[Calibration]\n"
      "ACME Etcher 2000/label=25,75\n"
      "ACME Etcher 2000/dvd-r=10,60 ; the data side's dye\n"
      "OTHER Drive/label=80,20\n");
  const BurnDisc dvdR = BurnDisc::AssumedDataSide(kDiscDvdR);
  struct Case {
    const char* name;
    bool pageKnown;
    const char* vendor;
    const char* product;
    BurnDisc disc;
    std::optional<CalibrationProfile> expected;
  };
  const Case cases[] = {
      {"no drive model", true, "", "", BurnDisc::LabelSide(), std::nullopt},
      {"model, label side", true, "ACME", "Etcher 2000", BurnDisc::LabelSide(), kept},
      {"padded as INQUIRY gives it", true, "ACME    ", "Etcher 2000     ", BurnDisc::LabelSide(),
       kept},
      {"model, DVD-R data side", true, "ACME", "Etcher 2000", dvdR, CalibrationProfile{0.10, 0.60}},
      {"model, DVD+R data side: none kept", true, "ACME", "Etcher 2000",
       BurnDisc::AssumedDataSide(kDiscDvdPlusR), std::nullopt},
      {"another model", true, "ACME", "Etcher 3000", BurnDisc::LabelSide(), std::nullopt},
      {"unreadable value", true, "OTHER", "Drive", BurnDisc::LabelSide(), std::nullopt},
      {"page without a tone", false, "ACME", "Etcher 2000", BurnDisc::LabelSide(), kept},
  };
  for (const BurnQuality quality : {BurnQuality::Draft, BurnQuality::High}) {
    const EtchTone plain = EtchToneOf(page, quality);
    ASSERT_TRUE(plain.known);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " at quality " +
                   std::to_string(static_cast<int>(quality)));
      const DriveEtch etch = DriveEtchFor(c.pageKnown ? page : ElsPage(), quality, settings,
                                          c.vendor, c.product, c.disc);
      EXPECT_EQ(etch.profile, c.expected);
      const EtchTone expected = c.expected ? CalibratedEtchTone(plain, *c.expected) : plain;
      EXPECT_TRUE(etch.tone.known);
      EXPECT_EQ(etch.tone.levelOfGrey, expected.levelOfGrey);
      EXPECT_EQ(etch.response.Straight(), !c.expected.has_value());
      if (c.expected) {
        // Nothing shows up to the unmarked share, all from the dark one.
        EXPECT_NEAR(etch.response.Darkness(static_cast<float>(c.expected->unmarked)), 0.0, 1e-5);
        EXPECT_NEAR(etch.response.Darkness(static_cast<float>(c.expected->dark)), 1.0, 1e-5);
      }
    }
  }
  EXPECT_EQ(CalibrationDiscKind(BurnDisc::DataSide(30.0)), "data");
}

}  // namespace
}  // namespace twr
