// What the soaks share: the seeded plan of one burn (its band, quality,
// injected faults and stop request), the test label, the resident memory,
// and the check of a burn's closing steps in the virtual drive's trace.
#pragma once

#include <unistd.h>
#include <QImage>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"

namespace twr::soak {

inline long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

inline bool ParseCount(const char* text, long& out) {
  const char* end = text + std::strlen(text);
  return std::from_chars(text, end, out).ptr == end && out > 0;
}

// --burns N and --seed S (both positive); false after the usage on stderr.
inline bool ParseSoakOptions(int argc, char** argv, const char* program, long& burns, long& seed) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--burns") == 0 && hasValue && ParseCount(argv[i + 1], burns)) {
      ++i;
    } else if (std::strcmp(argv[i], "--seed") == 0 && hasValue && ParseCount(argv[i + 1], seed)) {
      ++i;
    } else {
      std::fprintf(stderr, "Usage: %s [--burns N] [--seed S]  (N, S positive)\n", program);
      return false;
    }
  }
  return true;
}

inline QImage SoakLabel() {
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
  BurnQuality quality = BurnQuality::Draft;
  int stopAtWrite = -1;  // -1: no stop request
  bool gone = false;
};

inline Plan DrawPlan(std::mt19937& random) {
  Plan plan;
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  plan.inner = 25.0 + pick(3200) * 0.01;
  plan.outer = plan.inner + 0.01 + pick(30) * 0.01;
  plan.quality = static_cast<BurnQuality>(pick(3));
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

inline std::vector<std::string> NewTraceLines(const std::string& path, std::streamoff& offset) {
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

inline bool StartsWith(const std::string& line, const char* prefix) {
  return line.rfind(prefix, 0) == 0;
}

// The closing steps in the burn's trace: after the last WRITE, the page sent
// back, removal allowed and the eject, the eject last; all answered unless
// the drive has vanished.
inline std::string CheckClosingSteps(const std::vector<std::string>& lines, bool gone) {
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

}  // namespace twr::soak
