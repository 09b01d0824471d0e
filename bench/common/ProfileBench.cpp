// Settings-file reading at sizes far beyond any real twr.ini: one section of
// 200,000 keys read whole (as the virtual drive's settings are), and a file
// of 1,000,000 sections of other names whose LayoutNum lists 10,000 layouts
// that it does not hold (each lookup misses). Both must
// grow with the file's size, not with its square.
#include <benchmark/benchmark.h>

#include <string>

#include "common/ProfileFile.h"

namespace {

constexpr int kSectionKeys = 200000;
constexpr int kSections = 1000000;
constexpr int kListedLayouts = 10000;

// "Layout%02d", as the layout sections are named.
std::string LayoutName(int index) {
  const std::string digits = std::to_string(index);
  return "Layout" + (digits.size() < 2 ? "0" + digits : digits);
}

const std::string& WideSectionFile() {
  static const std::string text = [] {
    std::string t = "[VirtualDrive]\n";
    for (int i = 0; i < kSectionKeys; ++i)
      t += "Key" + std::to_string(i) + "=value " + std::to_string(i) + "\n";
    return t;
  }();
  return text;
}

const std::string& ManySectionsFile() {
  static const std::string text = [] {
    std::string t = "[Config]\nLayoutNum=" + std::to_string(kListedLayouts) + "\n";
    for (int i = 0; i < kSections; ++i)
      t += "[Block" + std::to_string(i) + "]\nName=Block number " + std::to_string(i) + "\n";
    return t;
  }();
  return text;
}

// Every key of the wide section with its value, as the virtual drive's
// settings are compared.
void BM_WideSectionReadWhole(benchmark::State& state) {
  const std::string& text = WideSectionFile();
  for (auto _ : state) {
    const twr::ProfileFile profile = twr::ProfileFile::Parse(text);
    std::size_t bytes = 0;
    for (const std::string& key : profile.Keys("VirtualDrive"))
      bytes += profile.GetRaw("VirtualDrive", key).size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["keys"] = kSectionKeys;
}
BENCHMARK(BM_WideSectionReadWhole)->Unit(benchmark::kMillisecond)->Iterations(3);

// The layout list: LayoutNum names out of a million sections.
void BM_ManySectionsLayoutNames(benchmark::State& state) {
  const std::string& text = ManySectionsFile();
  for (auto _ : state) {
    const twr::ProfileFile profile = twr::ProfileFile::Parse(text);
    const int count = profile.GetInt("Config", "LayoutNum", 0);
    std::size_t bytes = 0;
    for (int i = 0; i < count; ++i) bytes += profile.GetString(LayoutName(i), "Name").size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["sections"] = kSections;
}
BENCHMARK(BM_ManySectionsLayoutNames)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
