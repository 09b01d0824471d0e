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

#include "burn/BurnJob.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"

namespace {

using namespace std::chrono_literals;
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

long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool ParseCount(const char* text, long& out) {
  const char* end = text + std::strlen(text);
  return std::from_chars(text, end, out).ptr == end && out > 0;
}

QImage SoakLabel() {
  QImage image(1655, 1655, QImage::Format_RGB888);
  for (int y = 0; y < image.height(); ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      row[3 * x] = static_cast<uchar>(x * 5);
      row[3 * x + 1] = static_cast<uchar>(y * 3);
      row[3 * x + 2] = static_cast<uchar>((x ^ y) & 0xFF);
    }
  }
  return image;
}

// One burn's plan, drawn from the seed.
struct Plan {
  std::string faults;
  double inner = 25.0;
  double outer = 25.1;
  twr::BurnQuality quality = twr::BurnQuality::Draft;
  int stopAtWrite = -1;  // -1: no stop request
  bool gone = false;
};

Plan DrawPlan(std::mt19937& random) {
  Plan plan;
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  plan.inner = 25.0 + pick(3200) * 0.01;
  plan.outer = plan.inner + 0.01 + pick(30) * 0.01;
  plan.quality = static_cast<twr::BurnQuality>(pick(3));
  const int write = 1 + pick(40);
  static const char* kSenses[] = {"05/21/00", "03/0C/00", "04/44/00", "06/28/00",
                                  "02/3A/00", "82/04/08", "0B/00/00"};
  switch (pick(8)) {
    case 0:
      break;
    case 1:
      plan.faults = "busy:" + std::to_string(write) + ":" + std::to_string(1 + pick(5));
      break;
    case 2:
      plan.faults = "busy:" + std::to_string(write) + ":forever";
      break;
    case 3:
      plan.faults = "streaming:" + std::to_string(write) +
                    ",streaming:" + std::to_string(write + 1 + pick(20));
      break;
    case 4:
      plan.faults = "error:" + std::to_string(write) + ":" + kSenses[pick(7)];
      break;
    case 5:
      plan.faults = "notready";
      break;
    case 6:
      plan.faults = "gone:" + std::to_string(write);
      plan.gone = true;
      break;
    default:
      plan.faults = "busy:" + std::to_string(write) + ":2,streaming:" + std::to_string(write + 3);
      break;
  }
  if (pick(4) == 0) plan.stopAtWrite = pick(60);
  return plan;
}

std::vector<std::string> NewTraceLines(const std::string& path, std::streamoff& offset) {
  std::ifstream in(path);
  in.seekg(offset);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  in.clear();
  in.seekg(0, std::ios::end);
  offset = in.tellg();
  return lines;
}

bool StartsWith(const std::string& line, const char* prefix) {
  return line.rfind(prefix, 0) == 0;
}

// The closing steps in the burn's trace: after the last WRITE, the page sent
// back, removal allowed and the eject, the eject last; all answered unless
// the drive has vanished.
std::string CheckClosingSteps(const std::vector<std::string>& lines, bool gone) {
  if (lines.empty()) return "no commands traced";
  std::size_t lastWrite = 0;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (StartsWith(lines[i], "AA ")) lastWrite = i;
  long page = -1, allow = -1, eject = -1;
  for (std::size_t i = lastWrite; i < lines.size(); ++i) {
    const bool good = lines[i].find(" good ") != std::string::npos;
    if (!good && !gone) continue;
    if (StartsWith(lines[i], "55 ")) page = static_cast<long>(i);
    if (StartsWith(lines[i], "1E 00 00 00 00 00 ")) allow = static_cast<long>(i);
    if (StartsWith(lines[i], "1B 00 00 00 02 00 ")) eject = static_cast<long>(i);
  }
  if (page < 0) return "the ELS page was not sent back";
  if (allow < page) return "removal was not allowed after the page";
  if (eject < allow) return "the disc was not ejected after removal was allowed";
  if (eject != static_cast<long>(lines.size()) - 1) return "the eject was not the last command";
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  long burns = 200, seed = 1;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--burns") == 0 && hasValue && ParseCount(argv[i + 1], burns)) {
      ++i;
    } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue && ParseCount(argv[i + 1], seed)) {
      ++i;
    } else {
      std::fprintf(stderr, "Usage: burn_soak [--burns N] [--seed S]  (N, S positive)\n");
      return 2;
    }
  }
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
    twr::BurnJob job(device, messages);
    job.SetTimings(timings);
    job.SetLabelImage(&label);
    job.SetBand(plan.inner, plan.outer);
    const auto start = Clock::now();
    std::string problem;
    if (!job.ChooseSpeedEntry() || !job.ChooseQualitySteps()) {
      problem = "the ELS page was refused";
    } else {
      job.SetQuality(plan.quality);
      if (!job.StartBurn()) {
        problem = "the burn did not start";
      } else {
        while (job.Burning() && plan.stopAtWrite >= 0) {
          if (job.WriteCount() >= plan.stopAtWrite) {
            job.RequestAbort();
            break;
          }
          std::this_thread::sleep_for(1ms);
        }
        job.Wait();
      }
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
                  job.Outcome().c_str());
    }
    ++outcomes[job.Outcome()];
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
