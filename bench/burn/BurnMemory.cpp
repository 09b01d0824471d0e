// Peak resident memory of a whole burn as on a real drive: the example label
// rendered, a Draft burn of the full 25 - 58 mm band through the burn job,
// onto a drive that takes every write and keeps nothing (no etched picture,
// no capture). Prints the peak and the time; run it on its own, as the
// peak counts the whole process.
#include <sys/resource.h>

#include <QDir>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "burn/BurnSequence.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDriveConfig.h"
#include "label/CELLayout.h"

namespace {

class QuietMessages : public twr::Messages {
 public:
  void Show(const std::string&, twr::MessageIcon) override {}
  bool AskYesNo(const std::string&, twr::MessageIcon) override { return true; }
};

// Answers as the example drive does and drops what is written.
class DroppingDrive : public twr::ScsiTransport {
 public:
  // The example page with one speed entry: 4500 rpm at speed 45.
  DroppingDrive() {
    twr::ElsPageBytes page = twr::ExampleElsPage();
    twr::SetElsSpeedEntries(page, {{4500, 1, 45, 1}});
    page_ = twr::ElsPage(page);
  }
  twr::ScsiResult Execute(std::span<const std::uint8_t> cdb, twr::ScsiDirection,
                          std::span<std::uint8_t> data) override {
    if (cdb[0] == twr::kOpModeSense10)
      std::memcpy(data.data(), page_.Data(), std::min(data.size(), twr::ElsPage::kSize));
    if (cdb[0] == twr::kOpWrite12) ++writes_;
    twr::ScsiResult result;
    result.ok = true;
    result.transferred = data.size();
    return result;
  }
  twr::ElsPage page_;
  long writes_ = 0;
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  QDir::setCurrent(TWR_EXAMPLES_DIR);
  twr::CELLayout layout;
  layout.Title = "Summer in Lisbon";
  layout.Date = "2024-07-14";
  layout.NoteLines[0] = "[Photos]";
  layout.NoteLines[1] = "itinerary.pdf";
  if (!layout.RenderLabel(0, false)) {
    std::fprintf(stderr, "The example label did not render.\n");
    return 1;
  }
  const long afterRender = PeakKilobytes();

  twr::CELDevice device;
  auto drive = std::make_shared<DroppingDrive>();
  device.AttachTransport(drive);
  QuietMessages messages;
  twr::BurnSequence burn(device, messages);
  const twr::BurnTarget target{{25.0, 58.0}, {}, twr::BurnQuality::Draft};
  if (!burn.Plan(target).HasTime()) return 1;
  const auto start = std::chrono::steady_clock::now();
  if (burn.Start(target, layout.LabelImageData()) != twr::StartResult::Started) return 1;
  burn.Wait();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double blocks = static_cast<double>(drive->writes_) * burn.CurrentPlan().blocksPerWrite;
  constexpr double kRealBlocksPerSecond = 45 * 75.0;
  std::printf("outcome: %s\n", burn.Ending().text.c_str());
  std::printf("writes: %ld (%.0f blocks) in %.2f s: %.0f x the drive's real rate\n", drive->writes_,
              blocks, seconds, blocks / kRealBlocksPerSecond / seconds);
  std::printf("peak resident memory: %.1f MB after the render, %.1f MB after the burn\n",
              afterRender / 1024.0, PeakKilobytes() / 1024.0);
  return burn.Ending().Succeeded() ? 0 : 1;
}
