// The simulated etch against the burn it simulates: the full 25 - 58 mm
// band at Draft drawn without a drive, and the same burn sent through the
// three threads to the unpaced virtual drive, which decodes it and writes
// its etched picture. Medians of a few runs each.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "burn/BurnSequence.h"
#include "burn/Calibration.h"
#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "common/Messages.h"
#include "common/ProfileFile.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/PictureSettings.h"

namespace twr {
namespace {

constexpr double kInner = 25.0;
constexpr double kOuter = 58.0;
constexpr int kLabelSide = 1655;

class QuietMessages : public Messages {
 public:
  void Show(const std::string&, MessageIcon) override {}
  bool AskYesNo(const std::string&, MessageIcon) override { return true; }
};

// Greys from black to white across the top half, a dark ring and a block.
const QImage& Label() {
  static const QImage image = [] {
    QImage img(kLabelSide, kLabelSide, QImage::Format_RGB888);
    img.fill(Qt::white);
    QPainter p(&img);
    for (int x = 0; x < kLabelSide; ++x)
      p.fillRect(x, 0, 1, kLabelSide / 2, QColor::fromHsv(0, 0, x * 255 / kLabelSide));
    p.setPen(QPen(Qt::black, 30));
    p.drawEllipse(200, 200, 1255, 1255);
    p.fillRect(400, 1000, 500, 300, QColor(90, 90, 90));
    return img;
  }();
  return image;
}

ElsPage DefaultPage() {
  ElsPage page;
  const ElsPageBytes bytes = VirtualDriveConfig{}.elsPage;
  std::copy(bytes.begin(), bytes.end(), page.Bytes().begin());
  return page;
}

void BM_SimulatedEtch(benchmark::State& state) {
  EtchRequest request;
  request.label = Label();
  request.target.band = {kInner, kOuter};
  request.page = DefaultPage();
  std::int32_t writes = 0;
  for (auto _ : state) {
    const EtchResult result = SimulateEtch(request);
    if (!result.ok) state.SkipWithError(result.problem.c_str());
    writes = result.plan.writes;
    benchmark::DoNotOptimize(result.picture.constBits());
  }
  state.counters["writes"] = writes;
}

// The "as etched" view's picture: the same etch drawn at preview size.
void BM_EtchedPreview(benchmark::State& state) {
  EtchRequest request;
  request.label = Label();
  request.target.band = {kInner, kOuter};
  request.page = DefaultPage();
  for (auto _ : state) {
    const EtchResult result = SimulateEtchPreview(request);
    if (!result.ok) state.SkipWithError(result.problem.c_str());
    benchmark::DoNotOptimize(result.picture.constBits());
  }
}

// The same view for a label's own picture with tone settings under a kept
// calibration, as the window redraws it after a change of the tone: the
// tone and response for the drive, the picture toned (fit to etch,
// contrast, gamma) and the etch at preview size through the response.
void BM_EtchedPreviewToned(benchmark::State& state) {
  const ProfileFile settings = ProfileFile::Parse("[Calibration]\nACME Etcher/label=20,80\n");
  PictureSettings tone;
  tone.tone = PictureTone::Auto;
  tone.contrast = 20;
  tone.gamma = 1.2;
  EtchRequest request;
  request.target.band = {kInner, kOuter};
  request.page = DefaultPage();
  for (auto _ : state) {
    const DriveEtch etch = DriveEtchFor(request.page, BurnQuality::Draft, settings, "ACME",
                                        "Etcher", BurnDisc::LabelSide());
    request.label = PreparePicture(Label(), tone, kLabelSide, etch.tone, Qt::white);
    request.response = etch.response;
    const EtchResult result = SimulateEtchPreview(request);
    if (!result.ok) state.SkipWithError(result.problem.c_str());
    benchmark::DoNotOptimize(result.picture.constBits());
  }
}

void BM_VirtualDriveBurn(benchmark::State& state) {
  const std::string etched = (std::filesystem::temp_directory_path() /
                              ("twr-bench-etched-" + std::to_string(::getpid()) + ".png"))
                                 .string();
  QuietMessages messages;
  std::int32_t writes = 0;
  for (auto _ : state) {
    VirtualDriveConfig config;
    config.reloadDelaySeconds = 0;
    config.burn.etchedPath = etched;
    CELDevice device;
    device.AttachTransport(std::make_shared<VirtualDrive>(config));
    BurnSequence burn(device, messages);
    const BurnTarget target{{kInner, kOuter}, {}, BurnQuality::Draft};
    burn.Plan(target);
    if (burn.Start(target, Label()) != StartResult::Started)
      state.SkipWithError("the burn did not start");
    burn.Wait();
    const BurnEnding ending = burn.Ending();
    if (!ending.Succeeded()) state.SkipWithError(ending.text.c_str());
    writes = burn.WriteCount();
  }
  std::filesystem::remove(etched);
  state.counters["writes"] = writes;
}

// The automatic burning area of a full-size label at Draft: where its marks
// lie, the band and its plan (it runs on every change of a label).
void BM_AutomaticArea(benchmark::State& state) {
  const ElsPage page = DefaultPage();
  const BurnTarget target{{kInner, kOuter}, {}, BurnQuality::Draft};
  for (auto _ : state) {
    const AutomaticArea area = PlanAutomaticArea(page, Label(), target);
    benchmark::DoNotOptimize(area.plan.writes);
  }
}

BENCHMARK(BM_AutomaticArea)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SimulatedEtch)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EtchedPreview)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EtchedPreviewToned)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_VirtualDriveBurn)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
}  // namespace twr

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
