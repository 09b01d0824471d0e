// A label rendered from the example layouts, burned at Draft through the burn
// job onto the virtual drive, and read back from the drive's etched picture
// and its command trace: the marks must be the label inside the band and
// nothing outside it, and a data side's recorded area is never touched.
#include <gtest/gtest.h>
#include <unistd.h>
#include <QImage>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "burn/BurnSequence.h"
#include "burn/Calibration.h"
#include "burn/DotEncoder.h"
#include "burn/MarkedBand.h"
#include "common/ProfileFile.h"
#include "common/RecordingMessages.h"
#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/CELLayout.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

// The etched picture is drawn at the label's scale with its centre 29 pixels
// further in: label pixel (x, y) is picture pixel (x + 29, y + 29).
constexpr int kPictureOffset = kEtchedPictureSize / 2 - 1655 / 2;
// Colours of the etched picture on a label side: the silver surface and a
// full mark. Darkness d is drawn as silver * (1 - d) + mark * d, rounded.
constexpr double kSilverGreen = 205.0;
constexpr double kMarkGreen = 36.0;
// How far (in picture pixels, from the pixel's centre) a mark may lie from
// the circle it was burned on: the sample position is truncated toward the
// centre by up to one pixel in x and in y, and the centre is half a pixel
// further: at most 1.5 x sqrt(2), about 2.1.
constexpr double kEdgePixels = 2.5;

struct TracedWrite {
  std::uint32_t lba = 0;
  std::uint32_t blocks = 0;
  bool good = false;
};

// WRITE(12) lines of a virtual drive trace: "AA 00 L3 L2 L1 L0 N3 N2 N1 N0 00 00 out ...".
std::vector<TracedWrite> TracedWrites(const std::string& path) {
  std::vector<TracedWrite> writes;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("AA ", 0) != 0) continue;
    std::istringstream fields(line);
    unsigned byte[12];
    for (unsigned& b : byte) fields >> std::hex >> b;
    TracedWrite w;
    w.lba = (byte[2] << 24) | (byte[3] << 16) | (byte[4] << 8) | byte[5];
    w.blocks = (byte[6] << 24) | (byte[7] << 16) | (byte[8] << 8) | byte[9];
    w.good = line.find(" good ") != std::string::npos;
    writes.push_back(w);
  }
  return writes;
}

// Darkness 0 ... 1 of each picture pixel, undone from its green channel.
std::vector<float> PictureDarkness(const std::string& path) {
  QImage picture(QString::fromStdString(path));
  std::vector<float> darkness;
  if (picture.width() != kEtchedPictureSize || picture.height() != kEtchedPictureSize)
    return darkness;
  darkness.resize(static_cast<std::size_t>(kEtchedPictureSize) * kEtchedPictureSize);
  for (int y = 0; y < kEtchedPictureSize; ++y)
    for (int x = 0; x < kEtchedPictureSize; ++x)
      darkness[static_cast<std::size_t>(y) * kEtchedPictureSize + x] = static_cast<float>(
          (kSilverGreen - qGreen(picture.pixel(x, y))) / (kSilverGreen - kMarkGreen));
  return darkness;
}

class BurnRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty());
    fs::copy(fs::path(TWR_SOURCE_DIR) / "examples", dir_ / "examples", fs::copy_options::recursive);
    trace_ = (dir_ / "trace.txt").string();
    etched_ = (dir_ / "etched.png").string();
  }

  // Renders layout 0 of the example settings; the background pictures are
  // found relative to the working folder, as the program finds them.
  void RenderExampleLabel() {
    const fs::path saved = fs::current_path();
    fs::current_path(dir_ / "examples");
    layout_ = std::make_unique<CELLayout>((dir_ / "examples" / "twr.ini").string());
    layout_->Title = "Round Trip";
    layout_->Date = "2024/05/17";
    layout_->NoteLines[0] = "Etched at Draft";
    layout_->NoteLines[1] = "band 40 to 42 mm";
    const bool rendered = layout_->RenderLabel(0, false);
    fs::current_path(saved);
    ASSERT_TRUE(rendered);
    ASSERT_FALSE(layout_->LabelImageData().isNull());
  }

  std::shared_ptr<VirtualDrive> MakeDrive(const std::string& disc, std::uint32_t recorded,
                                          const std::string& response = {}) {
    VirtualDriveConfig config;
    config.disc = disc;
    config.status = "complete";
    config.recordedBlocks = recorded;
    config.reloadDelaySeconds = 0;
    config.tracePath = trace_;
    config.burn.etchedPath = etched_;
    config.burn.response = response;
    auto drive = std::make_shared<VirtualDrive>(config);
    device_.AttachTransport(drive);
    return drive;
  }

  // A Draft burn of [inner, outer] as the burn dialog runs it: the quality
  // table from the drive's page first, then the burn.
  void Burn(BurnSequence& burn, double inner, double outer, const QImage* label = nullptr) {
    const BurnTarget target{{inner, outer}, {}, BurnQuality::Draft};
    ASSERT_GT(burn.Plan(target).requiredTime, 0.0);
    BurnTimings timings;
    timings.readyPause = std::chrono::milliseconds(1);
    timings.stopPoll = std::chrono::milliseconds(5);
    burn.SetTimings(timings);
    ASSERT_EQ(burn.Start(target, label != nullptr ? *label
                                 : layout_        ? layout_->LabelImageData()
                                                  : white_),
              StartResult::Started);
    burn.Wait();
  }

  test::TempDir temp_{"roundtrip"};
  fs::path dir_ = temp_.Path();
  std::string trace_;
  std::string etched_;
  std::unique_ptr<CELLayout> layout_;
  QImage white_{1655, 1655, QImage::Format_RGB888};
  CELDevice device_;
  test::RecordingMessages messages_;
};

// The calibration loop: a wedge burnt on a drive whose dye shows nothing
// below a quarter of the dots and is fully dark from 60 %, read back from
// the etched picture as a person would look at it; the answer kept in the
// settings file gives that dye's profile back.
TEST_F(BurnRoundTripTest, WedgeAnswersGiveTheDyesProfile) {
  MakeDrive("label", 0, "0:0, 25:0, 60:100, 100:100");
  const EtchTone tone = EtchToneOf(ElsPage(ExampleElsPage()), BurnQuality::Draft);
  const std::vector<WedgeStep> steps = WedgeSteps(tone);
  ASSERT_EQ(static_cast<int>(steps.size()), kWedgeSteps);
  const QImage wedge = WedgeLabel(steps, 1655);
  ASSERT_LT(PlanBurn(ElsPage(ExampleElsPage()), WedgeTarget()).requiredTime, 1.0);  // minutes
  BurnSequence burn(device_, messages_);
  Burn(burn, kWedgeInnerMm, kWedgeOuterMm, &wedge);
  ASSERT_EQ(burn.Ending().text, "Finish Burning.");

  // Each patch's darkness in the middle of its sector, between its edges.
  const std::vector<float> etched = PictureDarkness(etched_);
  ASSERT_FALSE(etched.empty());
  const double half = kEtchedPictureSize / 2.0;
  int firstMark = 0, firstDark = 0;
  for (const WedgeStep& step : steps) {
    double sum = 0.0;
    int count = 0;
    for (double r = kWedgePatchInnerMm + 0.4; r < kWedgeOuterMm - 0.4; r += 0.1)
      for (double a = -5.0; a <= 5.0; a += 0.5) {
        const double radians = (WedgeStepAngle(step.number) + a) * M_PI / 180.0;
        const int x = static_cast<int>(half + r * kEtchedPixelsPerMm * std::sin(radians));
        const int y = static_cast<int>(half - r * kEtchedPixelsPerMm * std::cos(radians));
        sum += etched[static_cast<std::size_t>(y) * kEtchedPictureSize + x];
        ++count;
      }
    const double mean = sum / count;
    if (firstMark == 0 && mean > 0.05) firstMark = step.number;
    if (firstDark == 0 && mean > 0.97) firstDark = step.number;
  }
  // 4/12 of the dots is the first step past 25 %, 8/12 the first past 60 %.
  EXPECT_EQ(firstMark, 4);
  EXPECT_EQ(firstDark, 8);

  const std::optional<CalibrationProfile> profile = ProfileFromAnswer(steps, firstMark, firstDark);
  ASSERT_TRUE(profile.has_value());
  EXPECT_NEAR(profile->unmarked, 0.25, 0.01);
  EXPECT_NEAR(profile->dark, 8.0 / 12.0, 0.01);
  const std::string settings = (dir_ / "twr.ini").string();
  { std::ofstream(settings) << "[VirtualDrive]\nEtched=etched.png ; the disc\n"; }
  const std::string key = CalibrationKey("TWRVIRT ", "Etchlume DVD", "label");
  ASSERT_TRUE(KeepCalibration(settings, key, *profile).ok);
  const ProfileFile kept = ProfileFile::Load(settings);
  EXPECT_EQ(kept.GetRaw("VirtualDrive", "Etched"), "etched.png ; the disc");  // kept as it was
  const std::optional<CalibrationProfile> back = ReadCalibration(kept, key);
  ASSERT_TRUE(back.has_value());
  EXPECT_NEAR(back->unmarked, profile->unmarked, 0.001);
  EXPECT_NEAR(back->dark, profile->dark, 0.001);
}

TEST_F(BurnRoundTripTest, EtchedBandIsTheLabel) {
  RenderExampleLabel();
  MakeDrive("label", 0);
  BurnSequence burn(device_, messages_);
  constexpr double kInner = 40.0, kOuter = 42.0;
  Burn(burn, kInner, kOuter);
  ASSERT_EQ(burn.Ending().text, "Finish Burning.");
  const BurnPlan& p = burn.CurrentPlan();
  ASSERT_EQ(p.steps, 11);  // Draft on the example page

  // Write n went to start address + n x d, in order, each accepted.
  const std::vector<TracedWrite> writes = TracedWrites(trace_);
  const std::int32_t d = p.blocksPerWrite;
  ASSERT_EQ(static_cast<std::int32_t>(writes.size()), (p.totalBlocks - 2) / d);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    ASSERT_TRUE(writes[i].good) << i;
    ASSERT_EQ(writes[i].lba, static_cast<std::uint32_t>(p.startAddress + (i + 1) * d)) << i;
    ASSERT_EQ(writes[i].blocks, static_cast<std::uint32_t>(d));
  }

  const std::vector<float> etched = PictureDarkness(etched_);
  ASSERT_FALSE(etched.empty());
  const QImage label = layout_->LabelImageData();
  const AngleTables angles = BuildAngleTables(p.entry.samples);
  const ToneCurve curve(p.toneGamma);
  // What the drive marks for a label pixel: its level under the tone gamma,
  // quantised to the 12 x P dots the P passes of a step can carry (any
  // level above that leaves the spot unmarked).
  const double dots = 12.0 * p.steps;
  auto expected = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= label.width() || y >= label.height()) return 0.0;
    const QRgb c = label.pixel(x, y);
    const std::uint32_t bgr = qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16);
    const std::int32_t level = curve.Level(ColourLuma(bgr));
    return 1.0 - std::min<double>(level, dots) / dots;
  };
  auto picture = [&](int x, int y) {
    return etched[static_cast<std::size_t>(y + kPictureOffset) * kEtchedPictureSize + x +
                  kPictureOffset];
  };

  // Circles inside the band, every sample. Tolerances:
  // - the picture holds darkness in 8 bits over a 169-step colour range,
  //   so a pixel reads back within 0.5 / 169 of what the drive drew;
  // - the drive knows the first circle only from the start address, which
  //   is truncated to a whole block (up to 15 um at 40 mm, a fifth of a
  //   pixel), so a sample near a pixel border may land on its neighbour:
  //   each etched pixel lies within the range of the 3 x 3 pixels around
  //   its label pixel, and nearly all match their own pixel exactly.
  constexpr double kReadBack = 0.5 / 169 + 1e-4;
  int samples = 0, exact = 0, marked = 0;
  double sumError = 0.0;
  const int stepCount = p.stepCount;
  for (int step = 2; step < stepCount - 2; step += 25) {
    const double radius = kInner * 1000.0 + step * p.feedStep;
    for (int j = 0; j < p.entry.samples; ++j) {
      const SamplePoint at = SamplePosition(label.width(), radius, angles, j);
      double low = 1.0, high = 0.0;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          low = std::min(low, expected(at.x + dx, at.y + dy));
          high = std::max(high, expected(at.x + dx, at.y + dy));
        }
      const double got = picture(at.x, at.y);
      ASSERT_GE(got, low - kReadBack) << "step " << step << " sample " << j;
      ASSERT_LE(got, high + kReadBack) << "step " << step << " sample " << j;
      const double error = std::abs(got - expected(at.x, at.y));
      sumError += error;
      exact += error <= kReadBack;
      marked += expected(at.x, at.y) > 0.1;
      ++samples;
    }
  }
  ASSERT_GT(samples, 0);
  // The band crosses the label's picture: some samples marked, most light.
  EXPECT_GT(marked, samples / 50);
  EXPECT_LT(marked, samples / 2);
  EXPECT_GT(exact, samples * 97 / 100);
  EXPECT_LT(sumError / samples, 0.01);

  // Nothing outside the band: no mark further than kEdgePixels from it
  // anywhere on the silver surface a burn can reach (22 to 59.5 mm).
  const double half = kEtchedPictureSize / 2.0;
  const double pixelMm = 1.0 / kEtchedPixelsPerMm;
  int inside = 0;
  for (int y = 0; y < kEtchedPictureSize; ++y)
    for (int x = 0; x < kEtchedPictureSize; ++x) {
      const double r = std::hypot(x + 0.5 - half, y + 0.5 - half) * pixelMm;
      const float dark = etched[static_cast<std::size_t>(y) * kEtchedPictureSize + x];
      if (r < 22.0 || r >= 59.5) continue;
      if (r < kInner - kEdgePixels * pixelMm || r > kOuter + kEdgePixels * pixelMm) {
        ASSERT_LT(dark, kReadBack) << "mark at " << x << "," << y << " (" << r << " mm)";
      } else {
        inside += dark > kReadBack;
      }
    }
  EXPECT_GT(inside, 1000);
}

// A complete DVD+R whose data ends near 34.9 mm: GetRecordedOuterRadius puts
// the band's inner edge above it, and the burn stays there.
TEST_F(BurnRoundTripTest, RimtoneBurnKeepsOffTheRecordedArea) {
  constexpr std::uint32_t kRecorded = 534000;  // data up to about 34.9 mm
  MakeDrive("dvd+r", kRecorded);
  const double dataEdge = device_.GetRecordedOuterRadius();
  ASSERT_GT(dataEdge, 34.9);
  ASSERT_LT(dataEdge, 36.5);
  white_.fill(Qt::black);  // every sample a full mark
  {
    BurnSequence burn(device_, messages_);
    EXPECT_TRUE(burn.CheckDisc(dataEdge));
    Burn(burn, dataEdge, dataEdge + 0.3);
    EXPECT_EQ(burn.Ending().text, "Finish Burning.");
    const std::vector<TracedWrite> writes = TracedWrites(trace_);
    ASSERT_FALSE(writes.empty());
    for (const TracedWrite& w : writes) ASSERT_TRUE(w.good);
    const std::vector<float> etched = PictureDarkness(etched_);
    ASSERT_FALSE(etched.empty());
    // The dye side is drawn over other colours: only "no mark at all" is
    // read here, and the recorded area must have none.
    const QImage picture(QString::fromStdString(etched_));
    const double half = kEtchedPictureSize / 2.0;
    int marked = 0;
    for (int y = 0; y < kEtchedPictureSize; ++y)
      for (int x = 0; x < kEtchedPictureSize; ++x) {
        const double r = std::hypot(x + 0.5 - half, y + 0.5 - half) / kEtchedPixelsPerMm;
        const bool dark = qGreen(picture.pixel(x, y)) < 100;
        if (r < dataEdge - kEdgePixels / kEtchedPixelsPerMm) {
          ASSERT_FALSE(dark) << x << "," << y << " at " << r << " mm";
        }
        marked += dark;
      }
    EXPECT_GT(marked, 1000);
  }

  // A band reaching into the data: the disc check refuses it, and a burn
  // forced past the check is refused by the drive on its first write.
  const std::size_t before = TracedWrites(trace_).size();
  BurnSequence burn(device_, messages_);
  EXPECT_FALSE(burn.CheckDisc(34.0));
  EXPECT_EQ(messages_.Last(), "You must not overwrite data area.");
  Burn(burn, 34.0, 34.3);
  EXPECT_EQ(burn.Ending().text, "Writing Error[Sense=5,Asc=21,Ascq=0]");
  const std::vector<TracedWrite> writes = TracedWrites(trace_);
  ASSERT_EQ(writes.size(), before + 1);
  EXPECT_FALSE(writes.back().good);
}

// The command-line tool end to end: a burn from the example folder onto the
// virtual drive its settings describe.
TEST_F(BurnRoundTripTest, CommandLineBurnWritesTheEtchedPicture) {
  const fs::path examples = dir_ / "examples";
  {
    // The example settings declare a virtual drive of their own: replace it.
    std::ifstream in(examples / "twr.ini");
    std::string settings((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    settings = settings.substr(0, settings.find("[VirtualDrive]"));
    std::ofstream ini(examples / "twr.ini", std::ios::trunc);
    ini << settings << "\n[VirtualDrive]\nDisc=label\nReloadDelay=0\nEtched=" << etched_ << "\n";
  }
  const std::string output = (dir_ / "output.txt").string();
  const std::string command = "cd '" + examples.string() +
                              "' && '" TWR_CLI_PATH
                              "' burn --title 'Round Trip' --inner 40 --outer 41 > '" +
                              output + "' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream in(output);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(status, 0) << text;
  EXPECT_NE(text.find("Finish Burning."), std::string::npos) << text;
  EXPECT_FALSE(PictureDarkness(etched_).empty());
}

}  // namespace
}  // namespace twr
