// The main window's design preview while the label's own picture is placed
// by hand: one step of a drag (the pan changed, the picture placed and
// toned again, the preview drawn with its band, as the window shows it) and
// one notch of the wheel, with a 4:3 photo filling the label; against a
// frame of 16 ms.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/CELLayout.h"
#include "label/PictureSettings.h"
#include "ui/GuiMessages.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace {

using namespace twr;

// The example layouts' window over a virtual drive, with a photo of its
// own: 2048 x 1536, a sky-to-sea gradient with grain, filled and fit to
// the etch as a newly chosen picture is.
struct Window {
  QTemporaryDir dir;
  std::shared_ptr<VirtualDrive> drive;
  CELDevice device;
  ui::GuiMessages messages;
  std::unique_ptr<CELLayout> layout;
  std::unique_ptr<ui::BurnSession> burn;
  ui::TitleConfigModel config;
  std::unique_ptr<ui::MainWindowModel> model;

  bool Open() {
    VirtualDriveConfig c;
    c.disc = "label";
    c.reloadDelaySeconds = 0;
    drive = std::make_shared<VirtualDrive>(c);
    std::shared_ptr<VirtualDrive> d = drive;
    device.SetDriveSourceProvider(
        [d] { return std::vector<DriveSource>{VirtualDrive::SourceFor(d)}; });
    messages.SetResponder([](const ui::GuiMessages::Request&) { return true; });
    QImage photo(2048, 1536, QImage::Format_RGB888);
    QRandomGenerator grain(25);
    for (int y = 0; y < photo.height(); ++y) {
      uchar* row = photo.scanLine(y);
      for (int x = 0; x < photo.width(); ++x, row += 3) {
        const int base = 60 + 160 * y / photo.height() + static_cast<int>(grain.bounded(24));
        row[0] = static_cast<uchar>(std::min(255, base));
        row[1] = static_cast<uchar>(std::min(255, base + 10));
        row[2] = static_cast<uchar>(std::min(255, 255 - base / 3));
      }
    }
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    if (!photo.save(path, "JPG", 90)) return false;
    layout = std::make_unique<CELLayout>(std::string(TWR_EXAMPLES_DIR) + "/twr.ini");
    burn = std::make_unique<ui::BurnSession>(device, messages);
    model = std::make_unique<ui::MainWindowModel>(*layout, device, *burn, config, messages);
    model->SetNewLabelArea(true);
    return model->Open() == ui::OpeningResult::Ready && model->UseLabelPicture(path.toStdString());
  }
};

Window* g_window = nullptr;

// One step of a drag: a pixel further each time, as the pointer moves.
void BM_PicturePanRedraw(benchmark::State& state) {
  ui::MainWindowModel& model = *g_window->model;
  const PictureSettings start = model.Picture();
  int n = 0;
  for (auto _ : state) {
    if (!model.MovePicture(PanPictureBy(start, QPointF(1 + n++ % 100, 0), 600)))
      state.SkipWithError("the picture did not move");
    benchmark::DoNotOptimize(model.PreviewWithBand().constBits());
  }
  model.EndPictureMove();
}
BENCHMARK(BM_PicturePanRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

// One notch of the wheel in and out about a point off the middle.
void BM_PictureWheelRedraw(benchmark::State& state) {
  ui::MainWindowModel& model = *g_window->model;
  int n = 0;
  for (auto _ : state) {
    const int notch = n++ % 2 == 0 ? 120 : -120;
    if (!model.MovePicture(ZoomPictureAbout(model.Picture(), WheelZoomFactor(notch), {0.3, 0.4})))
      state.SkipWithError("the picture did not zoom");
    benchmark::DoNotOptimize(model.PreviewWithBand().constBits());
  }
  model.EndPictureMove();
}
BENCHMARK(BM_PictureWheelRedraw)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QDir::setCurrent(QStringLiteral(TWR_EXAMPLES_DIR));
  Window window;
  if (!window.Open()) {
    std::fprintf(stderr, "the window with a photo of its own could not be opened\n");
    return 1;
  }
  g_window = &window;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  g_window = nullptr;
  benchmark::Shutdown();
  return 0;
}
