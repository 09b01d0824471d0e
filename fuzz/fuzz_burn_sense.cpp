// The burn thread against a drive whose every answer comes from the input:
// WRITE(12), TEST UNIT READY and SYNCHRONIZE CACHE succeed, refuse with any
// sense or do not answer at all. A short band and short timings keep each
// run brief. Whatever the answers, the burn ends, never writes past its
// band, and closes: the page flag cleared, removal allowed, the disc ejected.
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "burn/BurnSequence.h"
#include "common/Messages.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace {

using namespace std::chrono_literals;

class QuietMessages : public twr::Messages {
 public:
  void Show(const std::string&, twr::MessageIcon) override {}
  bool AskYesNo(const std::string&, twr::MessageIcon) override { return true; }
};

// The example page with one speed entry: 4500 rpm at speed 45.
twr::ElsPage FuzzPage() {
  twr::ElsPageBytes page = twr::ExampleElsPage();
  twr::SetElsSpeedEntries(page, {{4500, 1, 45, 1}});
  return twr::ElsPage(page);
}

class ScriptedBurnDrive : public twr::ScsiTransport {
 public:
  ScriptedBurnDrive(const std::uint8_t* data, std::size_t size) : script_(data, data + size) {}

  twr::ScsiResult Execute(std::span<const std::uint8_t> cdb, twr::ScsiDirection,
                          std::span<std::uint8_t> data) override {
    std::array<std::uint8_t, twr::kTransportSenseSize> sense{};
    twr::ScsiResult result;
    result.transferred = data.size();
    result.ok = Answer(cdb, data, sense);
    result.SetSense(sense);
    return result;
  }

  std::mutex mutex_;
  twr::ElsPage page_ = FuzzPage();
  std::vector<std::uint8_t> opcodes_;
  std::vector<std::uint32_t> lbas_;
  unsigned lastFlag_ = 0xFF;
  bool prevented_ = false;

 private:
  bool Answer(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
              std::span<std::uint8_t, twr::kTransportSenseSize> sense) {
    std::lock_guard<std::mutex> lock(mutex_);
    opcodes_.push_back(cdb[0]);
    switch (cdb[0]) {
      case twr::kOpModeSense10:
        std::memcpy(data.data(), page_.Data(), std::min(data.size(), twr::ElsPage::kSize));
        return true;
      case twr::kOpModeSelect10:
        lastFlag_ = data.size() > twr::ElsPage::kOffLabelWriting
                        ? data[twr::ElsPage::kOffLabelWriting]
                        : 0xFF;
        return true;
      case twr::kOpPreventAllowRemoval:
        prevented_ = (cdb[4] & 1) != 0;
        return true;
      case twr::kOpWrite12:
        lbas_.push_back(twr::GetBe24(&cdb[3]));
        return Scripted(sense);
      case twr::kOpTestUnitReady:
        // Ready until the burn has started writing, so that it starts.
        return lbas_.empty() ? true : Scripted(sense);
      case twr::kOpSynchronizeCache:
        return Scripted(sense);
      default:
        return true;
    }
  }

  // One script byte per answer: bits 0-1 choose good (0, 1), no answer (2)
  // or refused (3) with the next three bytes as key byte, ASC and ASCQ.
  // Past the end of the script every answer is good.
  bool Scripted(std::span<std::uint8_t, twr::kTransportSenseSize> sense) {
    if (pos_ >= script_.size()) return true;
    const std::uint8_t choice = script_[pos_++] & 3;
    if (choice < 2) return true;
    if (choice == 2) return false;
    sense[0] = 0x70;
    sense[7] = 10;
    for (std::size_t at : {2u, 12u, 13u}) sense[at] = pos_ < script_.size() ? script_[pos_++] : 0;
    return false;
  }
  std::vector<std::uint8_t> script_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const QImage label = [] {
    QImage image(64, 64, QImage::Format_RGB888);
    image.fill(Qt::gray);
    return image;
  }();
  if (size < 1) return 0;
  // The first byte: the band's width (0.01 to 0.08 mm, a few revolutions)
  // and whether to ask for a stop at once.
  const double outer = 25.0 + 0.01 * (1 + (data[0] & 7));
  const bool stop = (data[0] & 8) != 0;

  twr::CELDevice device;
  auto drive = std::make_shared<ScriptedBurnDrive>(data + 1, size - 1);
  device.AttachTransport(drive);
  QuietMessages messages;
  twr::BurnSequence burn(device, messages);
  twr::BurnTimings timings;
  timings.gatherTries = 2000;
  timings.encoderPoll = 1ms;
  timings.interleaverPoll = 1ms;
  timings.busyPause = 0ms;
  timings.busyLimit = 5ms;
  timings.readyTries = 5;
  timings.readyPause = 0ms;
  timings.stopPoll = 1ms;
  burn.SetTimings(timings);
  const twr::BurnTarget target{{25.0, outer}, {}, twr::BurnQuality::Draft, 5};
  if (burn.Start(target, label) != twr::StartResult::Started) return 0;
  if (stop) burn.RequestStop();
  burn.Wait();

  const twr::BurnPlan& p = burn.CurrentPlan();
  const std::int32_t d = p.blocksPerWrite;
  const std::int32_t writes = d > 0 ? (p.totalBlocks - 2) / d : 0;
  std::lock_guard<std::mutex> lock(drive->mutex_);
  for (std::uint32_t lba : drive->lbas_)
    if (lba <= static_cast<std::uint32_t>(p.startAddress) ||
        lba > static_cast<std::uint32_t>(p.startAddress + writes * d))
      std::abort();
  if (burn.Ending().text.empty() || burn.Ending().outcome == twr::BurnOutcome::None ||
      burn.Burning())
    std::abort();
  if (drive->opcodes_.back() != twr::kOpStartStopUnit || drive->prevented_ || drive->lastFlag_ != 0)
    std::abort();
  return 0;
}
