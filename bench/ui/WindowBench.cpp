// Figures of the windows, measured on the virtual drive and printed as
// medians: the burn dialog's time to its first paint, the progress repaints
// and GUI-thread events of a whole burn, the GUI thread's CPU time during a
// paced burn, the main window's preview refresh after a keystroke, and the
// resident memory of the idle window and during a burn; with --gallery N
// only File > New's template gallery: its first paint and the time until
// every thumbnail is in, N openings each; with --first-paint N only the main
// window's first paint on the example layouts, N times.
// Usage: bench_windows [--paced-seconds N] [--titlewright PATH --starts N] [--gallery N]
//                      [--first-paint N]
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPaintEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/CELLayout.h"
#include "ui/CELDraw.h"
#include "ui/CELMainDlg.h"
#include "ui/GuiMessages.h"
#include "ui/SkinnedButton.h"
#include "ui/TemplateGallery.h"
#include "ui/TextProgressBar.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TemplateGalleryModel.h"
#include "ui/model/TitleConfigModel.h"

namespace {

using namespace twr;
using twr::ui::BurnSession;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double ThreadCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
         usage.ru_stime.tv_usec / 1e3;
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// A virtual drive behind discovery, message boxes answered at once.
struct Rig {
  std::shared_ptr<VirtualDrive> drive;
  CELDevice device;
  ui::GuiMessages messages;
  explicit Rig(double pace) {
    VirtualDriveConfig c;
    c.disc = "label";
    c.reloadDelaySeconds = 0;
    c.burn.pace = pace;
    drive = std::make_shared<VirtualDrive>(c);
    std::shared_ptr<VirtualDrive> d = drive;
    device.SetDriveSourceProvider(
        [d] { return std::vector<DriveSource>{VirtualDrive::SourceFor(d)}; });
    messages.SetResponder([](const ui::GuiMessages::Request&) { return true; });
  }
};

// Notes the time of the first paint of a widget.
class FirstPaint : public QObject {
 public:
  QElapsedTimer clock;
  double ms = -1;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && ms < 0) ms = clock.nsecsElapsed() / 1e6;
    return false;
  }
};

void BurnDialogFirstPaint() {
  std::vector<double> firstPaint, opened;
  for (int i = 0; i < 10; ++i) {
    Rig rig(0);
    BurnSession session(rig.device, rig.messages);
    FirstPaint watch;
    watch.clock.start();
    ui::CELDraw dialog(session);
    dialog.installEventFilter(&watch);
    dialog.show();
    if (!QTest::qWaitFor([&] { return dialog.Opened(); }, 5000)) return;
    opened.push_back(watch.clock.nsecsElapsed() / 1e6);
    if (!QTest::qWaitFor([&] { return watch.ms >= 0; }, 1000)) continue;
    firstPaint.push_back(watch.ms);
    dialog.reject();
  }
  std::printf(
      "burn dialog: first paint %.1f ms, opening done (drive asked) %.1f ms (medians of 10)\n",
      Median(firstPaint), Median(opened));
}

// A burn through the dialog; `seconds` > 0 stops it after that long.
void BurnThroughDialog(double pace, double inner, double outer, double seconds) {
  Rig rig(pace);
  QImage label(1655, 1655, QImage::Format_RGB888);
  label.fill(Qt::gray);
  BurnSession session(rig.device, rig.messages);
  session.SetBand(inner, outer);
  session.SetLabelImage(label);
  ui::CELDraw dialog(session);
  dialog.show();
  if (!QTest::qWaitFor([&] { return dialog.Opened(); }, 5000)) return;
  long peakKb = ResidentKb();
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] { peakKb = std::max(peakKb, ResidentKb()); });
  sampler.start(200);
  const double cpuBefore = ThreadCpuMs();
  QElapsedTimer clock;
  clock.start();
  QTimer::singleShot(0, &dialog, [&] { dialog.DrawButton()->click(); });
  bool stopped = false;
  while (dialog.isVisible()) {
    QTest::qWait(50);
    if (seconds > 0 && !stopped && clock.elapsed() >= seconds * 1000) {
      stopped = true;
      dialog.reject();  // asks the burn to stop
    }
  }
  const double elapsed = clock.nsecsElapsed() / 1e9;
  const double cpu = ThreadCpuMs() - cpuBefore;
  ui::TextProgressBar* bar = dialog.ProgressBar();
  std::printf(
      "burn at pace %g, band %.1f-%.1f mm%s: %d writes in %.1f s; %llu progress changes, %llu "
      "notifications to the GUI thread (%.1f per second), %d applied; progress bar drawn %d times "
      "(width %d px); GUI thread CPU %.0f ms = %.2f %% of one core; peak resident %ld MiB\n",
      pace, inner, outer, stopped ? " (stopped)" : "", session.Sequence().WriteCount(), elapsed,
      static_cast<unsigned long long>(session.Progress().Changes()),
      static_cast<unsigned long long>(session.Progress().Notifications()),
      session.Progress().Notifications() / elapsed, dialog.ProgressUpdates(), bar->DrawCount(),
      bar->width(), cpu, 100.0 * cpu / (elapsed * 1000.0), peakKb / 1024);
}

void MainWindowFigures() {
  QTemporaryDir dir;
  std::ofstream(dir.filePath("twr.ini").toStdString())
      << "[Config]\nLayoutNum=1\nFont=Liberation Sans\n[Layout00]\nName=Bench\nBaseLength=1655\n"
         "BgColor=230\nTitleWidth=800\nTitleHeight=130\nTitlePosX=427\nTitlePosY=240\n"
         "DateWidth=420\nDateHeight=64\nDatePosX=617\nDatePosY=390\nNoteWidth=540\n"
         "NoteHeight=260\nNotePosX=557\nNotePosY=1200\nRingType=1\nRingLength=5\n";
  Rig rig(0);
  CELLayout layout(dir.filePath("twr.ini").toStdString());
  BurnSession burn(rig.device, rig.messages);
  ui::TitleConfigModel config;
  ui::MainWindowModel model(layout, rig.device, burn, config, rig.messages);
  ui::CELMainDlg window(model, config, burn, rig.device, rig.messages);
  window.SetTimerPeriod(60 * 60 * 1000);  // ticks are driven by hand below
  window.show();
  if (!QTest::qWaitFor([&] { return window.Opened(); }, 5000)) return;
  QTest::qWait(200);
  const long idleKb = ResidentKb();
  std::vector<double> refresh;
  for (int i = 0; i < 20; ++i) {
    QElapsedTimer clock;
    clock.start();
    QTest::keyClick(window.TitleEdit(), static_cast<char>('a' + i));
    const int paints = window.Preview()->Paints();
    QMetaObject::invokeMethod(
        &window, [&] { model.TimerTick(); }, Qt::DirectConnection);
    window.Preview()->SetPreview(model.PreviewWithBand());
    window.Preview()->repaint();
    if (window.Preview()->Paints() > paints) refresh.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::printf(
      "main window: preview refresh after a keystroke (text change, redraw of boxes and ring "
      "text, scaled repaint) %.1f ms median of %zu; resident memory idle %ld MiB\n",
      Median(refresh), refresh.size(), idleKb / 1024);
}

// Notes when the preview has finished its first paint with a picture: the
// paint is run here, inside the filter, and timed after it.
class PreviewPainted : public QObject {
 public:
  QElapsedTimer clock;
  double ms = -1;
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* preview = static_cast<ui::PreviewArea*>(watched);
    if (event->type() != QEvent::Paint || ms >= 0 || inside_ || preview->Preview().isNull())
      return false;
    inside_ = true;
    static_cast<QObject*>(preview)->event(event);
    inside_ = false;
    ms = clock.nsecsElapsed() / 1e6;
    return true;
  }

 private:
  bool inside_ = false;
};

// The main window on the example layouts as the program makes it: from the
// settings file's reading to the preview's first finished paint of the label,
// and to the drives found (the opening done).
void MainWindowFirstPaint(int runs) {
  QTemporaryDir dir;
  QFile::copy(QStringLiteral(TWR_EXAMPLES_DIR "/twr.ini"), dir.filePath("twr.ini"));
  const QString before = QDir::currentPath();
  QDir::setCurrent(QStringLiteral(TWR_EXAMPLES_DIR));  // the background pictures
  std::vector<double> firstPaint, opened;
  for (int i = 0; i < runs; ++i) {
    Rig rig(0);
    PreviewPainted watch;
    watch.clock.start();
    BurnSession burn(rig.device, rig.messages);
    CELLayout layout(dir.filePath("twr.ini").toStdString());
    ui::TitleConfigModel config;
    ui::MainWindowModel model(layout, rig.device, burn, config, rig.messages);
    ui::CELMainDlg window(model, config, burn, rig.device, rig.messages);
    window.Preview()->installEventFilter(&watch);
    window.show();
    if (!QTest::qWaitFor([&] { return window.Opened() && watch.ms >= 0; }, 10000)) break;
    firstPaint.push_back(watch.ms);
    opened.push_back(watch.clock.nsecsElapsed() / 1e6);
  }
  QDir::setCurrent(before);
  if (firstPaint.empty()) return;
  // The first window of the process pays for the fonts, the skin and the
  // styles the later ones find made: it is the one a user sees.
  std::printf(
      "main window: first finished paint of the preview %.1f ms the first in the process, %.1f "
      "ms after (median of %zu); opening done (drives found) %.1f ms, %.1f ms after\n",
      firstPaint.front(), Median({firstPaint.begin() + 1, firstPaint.end()}), firstPaint.size() - 1,
      opened.front(), Median({opened.begin() + 1, opened.end()}));
}

void StartToFirstPaint(const QString& program, int starts) {
  QTemporaryDir dir;
  std::vector<double> times;
  for (int i = 0; i < starts; ++i) {
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.setWorkingDirectory(QStringLiteral(TWR_EXAMPLES_DIR));
    process.start(program, {QStringLiteral("--screenshot"), dir.filePath("shot.png")});
    process.waitForFinished(30000);
    if (process.exitCode() == 0) times.push_back(clock.nsecsElapsed() / 1e6);
  }
  std::printf(
      "titlewright start to a written screenshot of its first paint: %.0f ms median of %zu\n",
      Median(times), times.size());
}

// The gallery of the installed templates, opened `runs` times with no
// thumbnail made before (the first opening of a run), then `runs` times
// with them kept: the first paint (names and waiting discs) and the time
// until the last thumbnail is shown.
void GalleryFigures(int runs) {
  const std::vector<ui::TemplateEntry> templates = ui::ListTemplates({TWR_TEMPLATES_DIR}, "");
  for (const bool kept : {false, true}) {
    std::vector<double> firstPaint, allIn;
    for (int i = 0; i < runs; ++i) {
      if (!kept) ui::ForgetTemplateThumbnails();
      FirstPaint watch;
      watch.clock.start();
      ui::TemplateGallery gallery(templates);
      gallery.installEventFilter(&watch);
      gallery.show();
      if (!QTest::qWaitFor([&] { return watch.ms >= 0 && gallery.Model().Pending() == 0; }, 30000))
        return;
      QCoreApplication::processEvents();  // the last thumbnail's signal
      allIn.push_back(watch.clock.nsecsElapsed() / 1e6);
      firstPaint.push_back(watch.ms);
    }
    std::printf(
        "template gallery (%zu templates, %s): first paint %.1f ms, every thumbnail in "
        "%.1f ms (medians of %d)\n",
        templates.size(), kept ? "thumbnails kept from before" : "thumbnails made anew",
        Median(firstPaint), Median(allIn), runs);
  }
}

}  // namespace

int main(int argc, char** argv) {
  double pacedSeconds = 60;
  QString program;
  int starts = 10;
  int galleryRuns = 0;
  int firstPaintRuns = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--paced-seconds")) pacedSeconds = std::atof(argv[i + 1]);
    if (!std::strcmp(argv[i], "--titlewright")) program = QString::fromLocal8Bit(argv[i + 1]);
    if (!std::strcmp(argv[i], "--starts")) starts = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--gallery")) galleryRuns = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--first-paint")) firstPaintRuns = std::atoi(argv[i + 1]);
  }
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  if (galleryRuns > 0 || firstPaintRuns > 0) {
    if (firstPaintRuns > 0) MainWindowFirstPaint(firstPaintRuns);
    if (galleryRuns > 0) GalleryFigures(galleryRuns);
    if (!program.isEmpty()) StartToFirstPaint(program, starts);
    return 0;
  }
  BurnDialogFirstPaint();
  MainWindowFirstPaint(10);
  MainWindowFigures();
  BurnThroughDialog(0, 25.0, 58.0, 0);             // a whole burn, about 90,000 writes
  BurnThroughDialog(1, 25.0, 58.0, pacedSeconds);  // the drive's real rate
  if (!program.isEmpty()) StartToFirstPaint(program, starts);
  return 0;
}
