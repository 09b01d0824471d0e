// Renderer benchmarks: the full-size label with ring text and a background
// picture, the once-a-second preview refresh of the main window, and a frame
// of the layout designer while a box is dragged.
#include <benchmark/benchmark.h>
#include <QDir>
#include <QGuiApplication>

#include <cstdlib>
#include <string>

#include "label/CELLayout.h"

namespace {

// The example layouts, rendered from their own folder so that the
// background pictures are found; the renderer lives in main(), within the
// application's lifetime.
twr::CELLayout* g_example = nullptr;
twr::CELLayout& ExampleLayout() {
  return *g_example;
}

void SetExampleTexts(twr::CELLayout& l) {
  l.Title = "Summer in Lisbon";
  l.Date = "2024-07-14";
  const char* notes[] = {"[Photos]", "[Videos]", "[Music]", "IMG_0412.jpg", "itinerary.pdf"};
  for (int i = 0; i < 5; ++i) l.NoteLines[i] = notes[i];
}

// Layout 0: title and date on the upper arc, notes on the lower arc, a PNG
// background, three boxes.
constexpr int kAuroraLayout = 0;
constexpr int kPreviewSide = 600;

void BM_RenderLabel(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  for (auto _ : state) {
    if (!l.RenderLabel(index, false)) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(l.LabelImageData());
  }
}
BENCHMARK(BM_RenderLabel)->Arg(kAuroraLayout)->Arg(1)->Unit(benchmark::kMillisecond);

// The same render with a title that changes every time, so that the ring
// text is laid out afresh (a render after the user typed).
void BM_RenderLabelNewTitle(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  int n = 0;
  for (auto _ : state) {
    l.Title = "Summer in Lisbon " + std::to_string(n++ % 10);
    if (!l.RenderLabel(index, false)) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(l.LabelImageData());
  }
  l.Title = "Summer in Lisbon";
}
BENCHMARK(BM_RenderLabelNewTitle)->Arg(kAuroraLayout)->Arg(1)->Unit(benchmark::kMillisecond);

// The same with a title that grows and shrinks, so that the ring text
// after it moves too (typing rather than changing one digit).
void BM_RenderLabelTitleOfNewWidth(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  int n = 0;
  for (auto _ : state) {
    l.Title = "Summer in Lisbon" + std::string(static_cast<std::size_t>(n++ % 10), '!');
    if (!l.RenderLabel(index, false)) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(l.LabelImageData());
  }
  l.Title = "Summer in Lisbon";
}
BENCHMARK(BM_RenderLabelTitleOfNewWidth)->Arg(kAuroraLayout)->Arg(1)->Unit(benchmark::kMillisecond);

// A render after the user typed, with every box see-through and every text
// haloed (second argument 1) or neither (0), in one run for the ratio.
void BM_RenderLabelLegible(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  const bool on = state.range(1) != 0;
  l.UseLegibility(twr::TextLegibility::All(on, on));
  int n = 0;
  for (auto _ : state) {
    l.Title = "Summer in Lisbon " + std::to_string(n++ % 10);
    if (!l.RenderLabel(index, false)) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(l.LabelImageData());
  }
  l.Title = "Summer in Lisbon";
  l.UseLegibility({});
}
BENCHMARK(BM_RenderLabelLegible)
    ->ArgsProduct({{kAuroraLayout}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_PreviewRefresh(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  l.RenderLabel(index, false);
  l.RenderPreview(index, kPreviewSide, kPreviewSide, false);
  for (auto _ : state) {
    l.ClearPreview(kPreviewSide, kPreviewSide);
    l.DrawTitlePreview();
    l.DrawDatePreview();
    l.DrawNotePreview();
    l.DrawRingPreview();
    benchmark::DoNotOptimize(l.PreviewImage().Image().constBits());
  }
}
BENCHMARK(BM_PreviewRefresh)->Arg(kAuroraLayout)->Arg(1)->Unit(benchmark::kMillisecond);

// One frame of the layout designer while the title box is dragged: the
// layout held in memory with the box one pixel further (moved, or with its
// right edge dragged when the third argument is 1), drawn at the canvas's
// resolution (800 device pixels across, or 1600 at a device pixel ratio of
// 2) with its picture and full ring text.
void BM_DesignerDragFrame(benchmark::State& state) {
  twr::CELLayout& l = ExampleLayout();
  const int index = static_cast<int>(state.range(0));
  const int side = static_cast<int>(state.range(1));
  const bool resize = state.range(2) != 0;
  l.LoadLayout(index, false);
  twr::LayoutRecord record = l.Layout();
  l.RenderCurrentLabel();
  const int start = resize ? record.Title.Width : record.Title.PosX;
  int n = 0;
  for (auto _ : state) {
    (resize ? record.Title.Width : record.Title.PosX) = start + n++ % 200;
    l.UseLayout(record);
    if (!l.RenderCurrentPreview(side, side)) state.SkipWithError("render failed");
    benchmark::DoNotOptimize(l.PreviewImage().Image().constBits());
  }
}
BENCHMARK(BM_DesignerDragFrame)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {800, 1600}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  QDir::setCurrent(TWR_EXAMPLES_DIR);
  twr::CELLayout layout;
  g_example = &layout;
  SetExampleTexts(layout);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  g_example = nullptr;
  benchmark::Shutdown();
  return 0;
}
