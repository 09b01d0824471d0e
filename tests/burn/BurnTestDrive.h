// A small drive for burn tests: a ScsiTransport that answers the ELS page,
// TEST UNIT READY, removal and eject itself and hands WRITE(12), MODE SELECT
// and SYNCHRONIZE CACHE to a virtual burn side, recording what was asked.
#pragma once

#include <array>
#include <cstring>
#include <mutex>
#include <vector>

#include "burn/ElsPage.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/ScsiTransport.h"
#include "drive/virtual/VirtualBurnSide.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace twr::test {

// The virtual drive's example ELS page.
inline ElsPage ExamplePage() {
  return ElsPage(ExampleElsPage());
}

class BurnTestDrive : public ScsiTransport {
 public:
  explicit BurnTestDrive(VirtualBurnConfig config = {}) : side_(std::move(config)) {
    page_ = ExamplePage();
  }

  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection,
                     std::span<std::uint8_t> data) override {
    std::lock_guard<std::mutex> lock(mutex_);
    opcodes_.push_back(cdb[0]);
    ScsiResult result;
    result.transferred = data.size();
    if (side_.Gone()) return result;
    SenseTriple answer;
    bool ok = true;
    switch (cdb[0]) {
      case kOpTestUnitReady:
        ok = side_.UnitReady(answer);
        break;
      case kOpModeSense10:
        std::memcpy(data.data(), page_.Data(), std::min(data.size(), ElsPage::kSize));
        break;
      case kOpModeSelect10:
        written_.push_back(std::vector<std::uint8_t>(data.begin(), data.end()));
        side_.PageWritten(data, disc_);
        break;
      case kOpWrite12:  // address in bytes 2-5, blocks in bytes 8-9
        ok = side_.Write(GetBe32(&cdb[2]), GetBe16(&cdb[8]), data, disc_, answer);
        break;
      case kOpSynchronizeCache:
        ok = side_.SynchronizeCache(disc_, answer);
        break;
      case kOpPreventAllowRemoval:
        prevented_ = cdb[4] & 1;
        break;
      case kOpStartStopUnit:
        ++ejects_;
        side_.DiscChanged();
        break;
      default:
        break;
    }
    if (!ok && (answer.key || answer.asc || answer.ascq)) {
      std::array<std::uint8_t, kFixedSenseSize> sense{};
      PutFixedSense(sense, answer);
      result.SetSense(sense);
    }
    result.ok = ok;
    return result;
  }

  VirtualBurnSide& Side() { return side_; }
  ElsPage& Page() { return page_; }
  VirtualDiscView& Disc() { return disc_; }
  std::vector<std::vector<std::uint8_t>> WrittenPages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return written_;
  }
  std::vector<std::uint8_t> Opcodes() {
    std::lock_guard<std::mutex> lock(mutex_);
    return opcodes_;
  }
  int Ejects() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ejects_;
  }
  bool Prevented() {
    std::lock_guard<std::mutex> lock(mutex_);
    return prevented_;
  }

 private:
  std::mutex mutex_;
  VirtualBurnSide side_;
  ElsPage page_;
  VirtualDiscView disc_{"label", 0};
  std::vector<std::vector<std::uint8_t>> written_;
  std::vector<std::uint8_t> opcodes_;
  int ejects_ = 0;
  bool prevented_ = false;
};

}  // namespace twr::test
