// Throughput of the burn pipeline (encoder, interleaver, burn thread) into a
// virtual burn side that accepts every write at once, against the real rate
// of the chosen speed entry; the literal encoder for comparison; peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "burn/BurnSequence.h"
#include "burn/DotEncoder.h"
#include "common/Messages.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualBurnSide.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace twr {
namespace {

class QuietMessages : public Messages {
 public:
  void Show(const std::string&, MessageIcon) override {}
  bool AskYesNo(const std::string&, MessageIcon) override { return true; }
};

// A drive that hands writes to a non-decoding burn side and answers the
// example ELS page.
class AcceptingDrive : public ScsiTransport {
 public:
  AcceptingDrive() : side_(VirtualBurnConfig{}) { side_.SetDecoding(false); }
  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection,
                     std::span<std::uint8_t> data) override {
    ScsiResult result;
    result.transferred = data.size();
    result.ok = Answer(cdb, data);
    return result;
  }
  bool Answer(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data) {
    SenseTriple sense;
    switch (cdb[0]) {
      case kOpModeSense10:
        std::memcpy(data.data(), page_.Data(), std::min(data.size(), ElsPage::kSize));
        return true;
      case kOpModeSelect10:
        side_.PageWritten(data, disc_);
        return true;
      case kOpWrite12: {
        const bool ok = side_.Write(GetBe24(&cdb[3]), GetBe16(&cdb[8]), data, disc_, sense);
        // Fold bytes in so nothing is optimised away.
        checksum_ += data[0] + data[data.size() - 1];
        return ok;
      }
      default:
        return true;
    }
  }
  ElsPage page_;
  VirtualBurnSide side_;
  VirtualDiscView disc_{"label", 0};
  std::uint64_t checksum_ = 0;
};

// The example page with one speed entry: 4500 rpm at speed 45.
ElsPage BenchPage() {
  ElsPageBytes page = ExampleElsPage();
  SetElsSpeedEntries(page, {{4500, 1, 45, 1}});
  return ElsPage(page);
}

const QImage& BenchLabel() {
  static const QImage image = [] {
    QImage img(1655, 1655, QImage::Format_RGB888);
    img.fill(QColor(200, 200, 200));
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 30));
    p.drawEllipse(200, 200, 1255, 1255);
    QFont f;
    f.setPixelSize(140);
    p.setFont(f);
    p.drawText(img.rect(), Qt::AlignCenter, "Titlewright");
    return img;
  }();
  return image;
}

long MaxRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// One Draft burn of a 25.0 - 26.0 mm band (about 38,000 blocks).
void RunBurn(benchmark::State& state, bool literal) {
  CELDevice device;
  auto drive = std::make_shared<AcceptingDrive>();
  drive->page_ = BenchPage();
  device.AttachTransport(drive);
  QuietMessages messages;
  std::int64_t blocks = 0;
  const long rssBefore = MaxRssKb();
  for (auto _ : state) {
    BurnSequence burn(device, messages);
    burn.SetLiteralEncoder(literal);
    BurnTimings quick;
    quick.stopPoll = std::chrono::milliseconds(1);
    if (std::getenv("TWR_BENCH_QUICKSTOP")) burn.SetTimings(quick);
    const BurnTarget target{
        {25.0, 25.0 + static_cast<double>(state.range(0)) / 1000.0}, {}, BurnQuality::Draft, 11};
    if (burn.Start(target, BenchLabel()) != StartResult::Started) {
      state.SkipWithError("the burn did not start");
      return;
    }
    burn.Wait();
    const BurnEnding ending = burn.Ending();
    if (!ending.Succeeded()) state.SkipWithError(ending.text.c_str());
    blocks += static_cast<std::int64_t>(burn.WriteCount()) * burn.CurrentPlan().blocksPerWrite;
  }
  constexpr double kRealRate = 45 * 75.0;  // speed 45: 3375 blocks per second
  state.counters["blocks_per_s"] =
      benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kIsRate);
  state.counters["x_real_rate"] =
      benchmark::Counter(static_cast<double>(blocks) / kRealRate, benchmark::Counter::kIsRate);
  state.counters["peak_rss_delta_kb"] = static_cast<double>(MaxRssKb() - rssBefore);
  benchmark::DoNotOptimize(drive->checksum_);
}

void BM_BurnPipelineFast(benchmark::State& state) {
  RunBurn(state, false);
}
void BM_BurnPipelineLiteral(benchmark::State& state) {
  RunBurn(state, true);
}
// The encoder's own work for one feed step: sampling one circle (N = 8820)
// into levels. The fast sampler reads scanlines and a tabulated tone curve;
// the literal one makes one pixel call and one pow per sample.
void SampleCircle(benchmark::State& state, bool literal) {
  const AngleTables tables = BuildAngleTables(8820);
  const SamplingGeometry geometry{40.0, 11.875, 8820};
  const double gamma = ToneGamma(11.875 / 11);
  const ToneCurve curve(gamma);
  std::vector<std::int32_t> levels(8820);
  int step = 0;
  for (auto _ : state) {
    if (literal)
      SampleCircleLiteral(BenchLabel(), geometry, tables, gamma, step, levels.data());
    else
      SampleCircleFast(BenchLabel(), geometry, tables, curve, step, levels.data());
    step = (step + 1) % 1000;
    benchmark::DoNotOptimize(levels.data());
  }
  state.counters["samples_per_s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 8820, benchmark::Counter::kIsRate);
}

void BM_SampleCircleFast(benchmark::State& state) {
  SampleCircle(state, false);
}
void BM_SampleCircleLiteral(benchmark::State& state) {
  SampleCircle(state, true);
}
// The per-block work of the other two stages: encoding one block from the
// level buffer and interleaving one block from its three-block window.
void BM_EncodeBlock(benchmark::State& state) {
  std::vector<std::int32_t> levels(8820);
  for (std::size_t i = 0; i < levels.size(); ++i)
    levels[i] = static_cast<std::int32_t>(i * 7 % 256);
  Block block{};
  int b = 0;
  for (auto _ : state) {
    EncodeBlock(levels.data(), b, block.data());
    b = (b + 1) % 45;
    benchmark::DoNotOptimize(block.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EncodeBlock);

void BM_InterleaveBlock(benchmark::State& state) {
  std::vector<std::uint8_t> window(kWindowSize);
  for (std::size_t i = 0; i < window.size(); ++i) window[i] = (i * 31 % 7) < 3 ? kDotOn : kDotOff;
  Block output{};
  for (auto _ : state) {
    InterleaveBlock(window.data(), output.data());
    benchmark::DoNotOptimize(output.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_InterleaveBlock);

BENCHMARK(BM_SampleCircleFast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SampleCircleLiteral)->Unit(benchmark::kMicrosecond);

// Bands of 1 mm (about 38,000 blocks) and of 0.02 mm (the fixed cost of a
// burn: preparation, threads, closing steps).
BENCHMARK(BM_BurnPipelineFast)
    ->Arg(1000)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);
BENCHMARK(BM_BurnPipelineLiteral)
    ->Arg(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

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
