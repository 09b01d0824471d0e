// The soak: many burns in a row onto the virtual drive with seeded random
// faults, bands, qualities and stop requests. After every burn the drive's
// trace must show the closing steps (the ELS page sent back, removal
// allowed, the disc ejected, in that order, as the burn's last commands),
// the page the drive holds must have its label-writing flag cleared, and
// the burn must have ended within its bound. Prints the resident memory
// after burn 10 and after the last, and the longest burn.
//   burn_soak [--burns N] [--seed S]
#include <QImage>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "burn/BurnSequence.h"
#include "burn/SoakSupport.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"

namespace {

using namespace std::chrono_literals;
using namespace twr::soak;
using Clock = std::chrono::steady_clock;

constexpr int kRssReportBurn = 10;
// Waits shortened so that a soak of hundreds of burns takes minutes: a
// drive busy for good gives up after a second, a drive that never becomes
// ready after 255 short pauses.
constexpr auto kSoakBusyLimit = 1s;
constexpr auto kSoakReadyPause = 2ms;
// No burn of the soak's bands may take longer, whatever its fault.
constexpr auto kBurnBound = 30s;

class QuietMessages : public twr::Messages {
 public:
  void Show(const std::string&, twr::MessageIcon) override {}
  bool AskYesNo(const std::string&, twr::MessageIcon) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
  long burns = 200, seed = 1;
  if (!ParseSoakOptions(argc, argv, "burn_soak", burns, seed)) return 2;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("twr-soak-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string trace = (dir / "trace.txt").string();
  std::streamoff traceOffset = 0;

  std::mt19937 random(static_cast<unsigned>(seed));
  const QImage label = SoakLabel();
  QuietMessages messages;
  twr::CELDevice device;
  twr::BurnTimings timings;
  timings.busyLimit = kSoakBusyLimit;
  timings.readyPause = kSoakReadyPause;

  std::map<std::string, int> outcomes;
  long rssAt10 = 0;
  double longest = 0.0;
  long longestBurn = 0;
  int failures = 0;
  for (long n = 1; n <= burns; ++n) {
    const Plan plan = DrawPlan(random);
    // A fresh drive for every burn's faults (a vanished drive stays gone);
    // all of them trace into one file.
    twr::VirtualDriveConfig config;
    config.reloadDelaySeconds = 0;
    config.tracePath = trace;
    config.burn.faults = plan.faults;
    auto drive = std::make_shared<twr::VirtualDrive>(config);
    device.AttachTransport(drive);
    twr::BurnSequence burn(device, messages);
    burn.SetTimings(timings);
    const twr::BurnTarget target{{plan.inner, plan.outer}, {}, plan.quality};
    const auto start = Clock::now();
    std::string problem;
    if (!burn.Plan(target).HasTime()) {
      problem = "the ELS page was refused";
    } else if (burn.Start(target, label) != twr::StartResult::Started) {
      problem = "the burn did not start";
    } else {
      while (burn.Burning() && plan.stopAtWrite >= 0) {
        if (burn.WriteCount() >= plan.stopAtWrite) {
          burn.RequestStop();
          break;
        }
        std::this_thread::sleep_for(1ms);
      }
      burn.Wait();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (seconds > longest) {
      longest = seconds;
      longestBurn = n;
    }
    if (problem.empty()) problem = CheckClosingSteps(NewTraceLines(trace, traceOffset), plan.gone);
    if (problem.empty() && !plan.gone &&
        drive->CurrentElsPage()[twr::ElsPage::kOffLabelWriting] != 0)
      problem = "the drive's page still has its label-writing flag set";
    if (problem.empty() && seconds > std::chrono::duration<double>(kBurnBound).count())
      problem = "the burn took too long";
    if (!problem.empty()) {
      ++failures;
      std::printf("burn %ld FAILED: %s (band %.2f-%.2f mm, faults \"%s\", outcome \"%s\")\n", n,
                  problem.c_str(), plan.inner, plan.outer, plan.faults.c_str(),
                  burn.Ending().text.c_str());
    }
    ++outcomes[burn.Ending().text];
    if (n == kRssReportBurn) rssAt10 = ResidentKilobytes();
  }
  device.CloseDrive();
  std::filesystem::remove_all(dir);
  const long rssEnd = ResidentKilobytes();
  std::printf("%ld burns, seed %ld: %d failed\n", burns, seed, failures);
  if (burns >= kRssReportBurn)
    std::printf("resident memory: %.1f MB after burn %d, %.1f MB after burn %ld\n",
                rssAt10 / 1024.0, kRssReportBurn, rssEnd / 1024.0, burns);
  std::printf("longest burn: %.2f s (burn %ld)\n", longest, longestBurn);
  for (const auto& [outcome, count] : outcomes)
    std::printf("%4d x %s\n", count, outcome.empty() ? "(no burn)" : outcome.c_str());
  return failures == 0 ? 0 : 1;
}
