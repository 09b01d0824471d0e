// An arbitrary ELS page through the burn plan (speed entry, quality steps,
// required time, blocks per write) and the main window's estimate: whatever
// the drive reports, the plan stays usable (blocks per write within 1 .. 26
// that divide a revolution, a sample count the encoder can hold) or says
// which check failed, and the page goes back with only its written fields
// changed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "burn/BurnSequence.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"

namespace {

class QuietMessages : public twr::Messages {
 public:
  void Show(const std::string&, twr::MessageIcon) override {}
  bool AskYesNo(const std::string&, twr::MessageIcon) override { return true; }
};

// Answers MODE SENSE with the page and keeps what MODE SELECT sends.
class PageDrive : public twr::ScsiTransport {
 public:
  explicit PageDrive(const std::uint8_t* page) { std::memcpy(page_, page, sizeof page_); }
  twr::ScsiResult Execute(std::span<const std::uint8_t> cdb, twr::ScsiDirection,
                          std::span<std::uint8_t> data) override {
    if (cdb[0] == twr::kOpModeSense10) {
      std::memcpy(data.data(), page_, std::min(data.size(), sizeof page_));
    } else if (cdb[0] == twr::kOpModeSelect10) {
      selected_.assign(data.begin(), data.end());
    }
    twr::ScsiResult result;
    result.ok = true;
    result.transferred = data.size();
    return result;
  }
  std::uint8_t page_[twr::ElsPage::kSize];
  std::vector<std::uint8_t> selected_;
};

// Offsets the preparation writes: selector bits 4-7, the flag, the current
// rotation and speed, the revolutions per feed step.
bool Written(std::size_t offset) {
  using twr::ElsPage;
  return offset == ElsPage::kOffSelector || offset == ElsPage::kOffLabelWriting ||
         (offset >= ElsPage::kOffCurrentRotation &&
          offset < ElsPage::kOffCurrentRotation + ElsPage::kFractionSize) ||
         (offset >= ElsPage::kOffCurrentSpeed &&
          offset < ElsPage::kOffCurrentSpeed + ElsPage::kFractionSize) ||
         offset == ElsPage::kOffStepsPerFeed || offset == ElsPage::kOffStepsPerFeed + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Quality and band, then the page.
  if (size < 3 + twr::ElsPage::kSize) return 0;
  const auto quality = static_cast<twr::BurnQuality>(data[0] % 3);
  const double inner = 22.0 + data[1] * 0.15;
  const double outer = inner + data[2] * 0.15;
  const std::uint8_t* page = data + 3;

  twr::CELDevice device;
  auto drive = std::make_shared<PageDrive>(page);
  device.AttachTransport(drive);
  QuietMessages messages;
  twr::BurnSequence sequence(device, messages);
  const twr::BurnTarget target{{inner, outer}, {}, quality};
  (void)sequence.Estimate(target);
  twr::ElsPageBytes bytes{};
  std::memcpy(bytes.data(), page, bytes.size());
  const twr::ElsPage read(bytes);
  const twr::BurnPlan p = twr::PlanBurn(read, target);
  if (p.entry.index >= 0 && (p.entry.samples != 2 * p.entry.halfSamples ||
                             p.entry.halfSamples < 98 || p.entry.halfSamples > 1000000))
    std::abort();
  if (p.Startable()) {
    const std::int32_t perRevolution = static_cast<std::int32_t>(p.entry.speed / p.entry.rotation *
                                                                 4500.0);  // as the plan takes it
    if (p.blocksPerWrite < 0 || p.blocksPerWrite > 26 || p.writesPerRevolution < 1 ||
        (p.blocksPerWrite > 0 && p.blocksPerWrite * p.writesPerRevolution != perRevolution))
      std::abort();
    if (!(p.feedStep > 0.0) || p.totalRevolutions < 0) std::abort();
    // The page sent back differs from the page read only where it is written.
    const twr::ElsPage armed = p.ArmedPage(read);
    for (std::size_t i = 0; i < twr::ElsPage::kSize; ++i)
      if (!Written(i) && armed.U8(i) != page[i]) std::abort();
  }
  // The estimate reads the page and sends nothing back.
  if (!drive->selected_.empty()) std::abort();
  return 0;
}
