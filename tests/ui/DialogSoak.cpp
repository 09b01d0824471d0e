// The soak through the burn dialog: many burns in a row, each opened,
// drawn and (sometimes) stopped with Exit as a person would, on a virtual
// drive with seeded random faults and bands. After every burn the dialog
// must have closed itself, the drive's trace must end with the closing
// steps and the drive's page must have its label-writing flag cleared.
// Prints the resident memory after burn 10 and after the last, and the
// longest burn.
//   dialog_soak [--burns N] [--seed S]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "burn/SoakSupport.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "ui/CELDraw.h"
#include "ui/GuiMessages.h"
#include "ui/SkinnedButton.h"
#include "ui/model/BurnSession.h"

namespace {

using namespace std::chrono_literals;
using namespace twr;
using namespace twr::soak;
using twr::ui::BurnSession;

constexpr int kRssReportBurn = 10;
constexpr int kOpenTimeoutMs = 10000;
constexpr int kBurnBoundMs = 60000;

}  // namespace

int main(int argc, char** argv) {
  long burns = 200, seed = 1;
  if (!ParseSoakOptions(argc, argv, "dialog_soak", burns, seed)) return 2;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("twr-dialog-soak-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string trace = (dir / "trace.txt").string();
  std::streamoff traceOffset = 0;

  std::mt19937 random(static_cast<unsigned>(seed));
  const QImage label = SoakLabel();
  BurnTimings timings;
  timings.busyLimit = 1s;
  timings.readyPause = 2ms;

  std::map<std::string, int> outcomes;
  long rssAt10 = 0;
  double longest = 0.0;
  long longestBurn = 0, notOffered = 0;
  int failures = 0;
  for (long n = 1; n <= burns; ++n) {
    const Plan plan = DrawPlan(random);
    VirtualDriveConfig config;
    config.reloadDelaySeconds = 0;
    config.tracePath = trace;
    config.burn.faults = plan.faults;
    auto drive = std::make_shared<VirtualDrive>(config);
    CELDevice device;
    device.SetDriveSourceProvider(
        [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
    ui::GuiMessages messages;
    messages.SetResponder([](const ui::GuiMessages::Request&) { return true; });
    BurnSession session(device, messages);
    session.Sequence().SetTimings(timings);
    session.SetBand(plan.inner, plan.outer);
    session.SetLabelImage(label);
    session.SelectQuality(static_cast<int>(plan.quality));

    std::string problem;
    QElapsedTimer clock;
    clock.start();
    {
      ui::CELDraw dialog(session);
      dialog.SetTimerPeriod(10);
      dialog.show();
      if (!QTest::qWaitFor([&] { return dialog.Opened(); }, kOpenTimeoutMs)) {
        problem = "the dialog did not open";
      } else if (!dialog.DrawButton()->isEnabled()) {
        ++notOffered;  // the disc check refused the disc: nothing to burn
        dialog.reject();
      } else {
        dialog.QualityList()->setCurrentIndex(static_cast<int>(plan.quality));
        dialog.DrawButton()->click();
        bool stopped = false;
        while (dialog.isVisible() && clock.elapsed() < kBurnBoundMs) {
          if (!stopped && plan.stopAtWrite >= 0 &&
              session.Sequence().WriteCount() >= plan.stopAtWrite) {
            stopped = true;
            dialog.ExitButton()->click();  // only asks the burn to stop
          }
          QTest::qWait(2);
        }
        if (dialog.isVisible()) problem = "the dialog did not close itself";
      }
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (seconds > longest) {
      longest = seconds;
      longestBurn = n;
    }
    const std::vector<std::string> lines = NewTraceLines(trace, traceOffset);
    const bool burned = std::any_of(lines.begin(), lines.end(),
                                    [](const std::string& l) { return StartsWith(l, "AA "); });
    if (problem.empty() && burned) problem = CheckClosingSteps(lines, plan.gone);
    if (problem.empty() && burned && !plan.gone &&
        drive->CurrentElsPage()[ElsPage::kOffLabelWriting] != 0)
      problem = "the drive's page still has its label-writing flag set";
    if (!problem.empty()) {
      ++failures;
      std::printf("burn %ld FAILED: %s (band %.2f-%.2f mm, faults \"%s\", outcome \"%s\")\n", n,
                  problem.c_str(), plan.inner, plan.outer, plan.faults.c_str(),
                  session.Sequence().Ending().text.c_str());
    }
    ++outcomes[burned ? session.Sequence().Ending().text : std::string("(no write sent)")];
    if (n == kRssReportBurn) rssAt10 = ResidentKilobytes();
  }
  std::filesystem::remove_all(dir);
  const long rssEnd = ResidentKilobytes();
  std::printf("%ld burns through the burn dialog, seed %ld: %d failed, %ld not offered\n", burns,
              seed, failures, notOffered);
  if (burns >= kRssReportBurn)
    std::printf("resident memory: %.1f MB after burn %d, %.1f MB after burn %ld\n",
                rssAt10 / 1024.0, kRssReportBurn, rssEnd / 1024.0, burns);
  std::printf("longest burn: %.2f s (burn %ld)\n", longest, longestBurn);
  for (const auto& [outcome, count] : outcomes) std::printf("%4d x %s\n", count, outcome.c_str());
  return failures == 0 ? 0 : 1;
}
