// The simulated etch against the virtual drive: the same label, band and
// quality burned through the three threads onto the virtual drive and
// simulated without a drive give the same picture, pixel for pixel.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <filesystem>
#include <string>

#include "burn/BurnSequence.h"
#include "burn/SimulatedEtch.h"
#include "common/RecordingMessages.h"
#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

// A label with every grey from black to white, hard edges and a thin line.
QImage TestLabel(int side) {
  QImage label(side, side, QImage::Format_RGB888);
  label.fill(Qt::white);
  QPainter painter(&label);
  for (int x = 0; x < side; ++x)
    painter.fillRect(x, 0, 1, side / 2, QColor::fromHsv(0, 0, x * 255 / side));
  painter.fillRect(side / 5, side * 3 / 5, side / 3, side / 5, QColor(200, 60, 10));
  painter.setPen(QPen(Qt::black, 2));
  const int radius41 = static_cast<int>(side * 41 / kLabelWidthMm);  // 41 mm
  painter.drawEllipse(QPoint(side / 2, side / 2), radius41, radius41);
  return label;
}

struct EtchCase {
  const char* name;
  std::string disc;     // the virtual drive's side
  double inner, outer;  // mm
  BurnQuality quality;
  int labelSide;                      // pixels
  std::vector<ElsSpeedEntry> speeds;  // empty: the example page's
};

TEST(SimulatedEtch, EqualsTheVirtualDrivesPicture) {
  const EtchCase cases[] = {
      {"label side, Draft", "label", 40.0, 40.6, BurnQuality::Draft, 1655, {}},
      {"band at the hub, Normal, small label", "label", 25.0, 25.25, BurnQuality::Normal, 1200, {}},
      // 44.5 x 441000 / 4500 = 4361 half samples: 49 per circle never sent.
      {"samples left over, High", "label", 57.7, 58.0, BurnQuality::High, 1655, {{4500, 1, 89, 2}}},
      {"DVD+R data side", "dvd+r", 36.0, 36.4, BurnQuality::Draft, 1655, {}},
      // Wide enough that two threads count the inner and the outer steps.
      {"4 mm band, Draft", "label", 30.0, 34.0, BurnQuality::Draft, 1655, {}},
  };
  const test::TempDir dir("etch");
  for (const EtchCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QImage label = TestLabel(c.labelSide);
    const std::string etched = (dir / "etched.png").string();
    fs::remove(etched);

    VirtualDriveConfig config;
    config.disc = c.disc;
    config.status = "complete";
    config.recordedBlocks = c.disc == "label" ? 0 : 400000;
    config.reloadDelaySeconds = 0;
    config.burn.etchedPath = etched;
    config.burn.keepMarks = false;  // this burn's marks alone
    if (!c.speeds.empty()) SetElsSpeedEntries(config.elsPage, c.speeds);
    CELDevice device;
    device.AttachTransport(std::make_shared<VirtualDrive>(config));
    test::RecordingMessages messages;
    BurnSequence burn(device, messages);
    const BurnDisc disc = c.disc == "label"
                              ? BurnDisc::LabelSide()
                              : BurnDisc::DataSide(RecordedRadiusMm(config.recordedBlocks));
    const BurnTarget target{{c.inner, c.outer}, disc, c.quality};
    ASSERT_GT(burn.Plan(target).requiredTime, 0.0);
    ASSERT_EQ(burn.Start(target, label), StartResult::Started);
    burn.Wait();
    ASSERT_EQ(burn.Ending().text, "Finish Burning.");
    const QImage drive(QString::fromStdString(etched));
    ASSERT_FALSE(drive.isNull());

    EtchRequest request;
    request.label = label;
    request.target = target;
    request.page = ElsPage(config.elsPage);
    const EtchResult simulated = SimulateEtch(request);
    ASSERT_TRUE(simulated.ok) << simulated.problem;
    EXPECT_EQ(simulated.plan.steps, burn.CurrentPlan().steps);
    EXPECT_EQ(simulated.plan.writes, burn.WriteCount());

    const QImage picture = simulated.picture.convertToFormat(drive.format());
    ASSERT_EQ(picture.size(), drive.size());
    int different = 0;
    for (int y = 0; y < drive.height(); ++y)
      for (int x = 0; x < drive.width(); ++x)
        if (picture.pixel(x, y) != drive.pixel(x, y) && ++different <= 5)
          ADD_FAILURE() << "pixel " << x << "," << y << ": simulated " << std::hex
                        << picture.pixel(x, y) << ", drive " << drive.pixel(x, y);
    EXPECT_EQ(different, 0);

    // The "as etched" views' small picture is the full one scaled down.
    const EtchResult preview = SimulateEtchPreview(request);
    ASSERT_TRUE(preview.ok) << preview.problem;
    const QImage scaled = ScaleEtchedPicture(simulated.picture);
    ASSERT_EQ(scaled.width(), kEtchedPictureSize / kEtchedPreviewFactor);
    EXPECT_EQ(preview.picture.convertToFormat(scaled.format()), scaled);
  }
}

TEST(SimulatedEtch, SaysWhyThereIsNoPicture) {
  const QImage label = TestLabel(400);
  EtchRequest request;
  request.label = label;
  request.page = ElsPage(ExampleElsPage());
  request.target.band = {30.0, 30.0005};  // less than one write
  EXPECT_EQ(SimulateEtch(request).problem, kBandTooNarrow);
  request.target.band.outer = 60.0;
  EXPECT_EQ(SimulateEtch(request).problem, "Input Radius Error.");
  request.target.band.outer = 40.0;
  request.page.SetU16(ElsPage::kOffFeedStepNumerator, 0);
  EXPECT_EQ(SimulateEtch(request).problem, "Illegal parameter in ELS Page (FeedStepLength)");
  request.page.SetU8(ElsPage::kOffEntryCount, 0);
  EXPECT_FALSE(SimulateEtch(request).ok);
  request.label = QImage();
  EXPECT_EQ(SimulateEtch(request).problem, "Image data is not found.");
}

}  // namespace
}  // namespace twr
