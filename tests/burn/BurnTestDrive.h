// A small drive for burn tests: a ScsiTransport that answers the ELS page,
// TEST UNIT READY, removal and eject itself and hands WRITE(12), MODE SELECT
// and SYNCHRONIZE CACHE to a virtual burn side, recording what was asked.
#pragma once

#include <array>
#include <cstring>
#include <mutex>
#include <vector>

#include "burn/ElsPage.h"
#include "drive/ScsiTransport.h"
#include "drive/virtual/VirtualBurnSide.h"

namespace twr::test {

// The example ELS page: selector 0x0F, 7 entries, Bytpw 214, divisors 8 and
// 8, FeedStepLength 95/1.
inline ElsPage ExamplePage() {
  ElsPage page;
  page.SetU8(ElsPage::kOffPageCode, 0xAD);
  page.SetU8(ElsPage::kOffPageLength, 190);
  page.SetU8(ElsPage::kOffSelector, 0x0F);
  page.SetU8(ElsPage::kOffEntryCount, 7);
  page.SetU32(ElsPage::kOffBytpw, 214);
  page.SetU16(ElsPage::kOffDivisorA, 8);
  page.SetU16(ElsPage::kOffDivisorB, 8);
  page.SetU16(ElsPage::kOffFeedStepNumerator, 95);
  page.SetU16(ElsPage::kOffFeedStepDenominator, 1);
  const unsigned entries[7][4] = {{9000, 1, 36, 1}, {7875, 1, 189, 4}, {6750, 1, 36, 1},
                                  {4500, 1, 45, 1}, {2250, 1, 45, 1},  {1125, 1, 36, 1},
                                  {225, 1, 45, 2}};
  for (int i = 0; i < 7; ++i)
    for (int f = 0; f < 4; ++f) page.SetU16(page.EntryOffset(i) + 2 * f, entries[i][f]);
  return page;
}

class BurnTestDrive : public ScsiTransport {
 public:
  explicit BurnTestDrive(VirtualBurnConfig config = {}) : side_(std::move(config)) {
    page_ = ExamplePage();
  }

  bool Execute(std::span<const std::uint8_t> cdb, ScsiDirection, std::span<std::uint8_t> data,
               std::span<std::uint8_t, kTransportSenseSize> sense) override {
    std::lock_guard<std::mutex> lock(mutex_);
    opcodes_.push_back(cdb[0]);
    if (side_.Gone()) return false;
    SenseTriple answer;
    bool ok = true;
    switch (cdb[0]) {
      case 0x00:  // TEST UNIT READY
        ok = side_.UnitReady(answer);
        break;
      case 0x5A:  // MODE SENSE(10)
        std::memcpy(data.data(), page_.Data(), std::min(data.size(), ElsPage::kSize));
        break;
      case 0x55:  // MODE SELECT(10)
        written_.push_back(std::vector<std::uint8_t>(data.begin(), data.end()));
        side_.PageWritten(data, disc_);
        break;
      case 0xAA: {  // WRITE(12)
        const std::uint32_t lba = (std::uint32_t{cdb[2]} << 24) | (std::uint32_t{cdb[3]} << 16) |
                                  (std::uint32_t{cdb[4]} << 8) | cdb[5];
        const std::uint32_t blocks = (std::uint32_t{cdb[8]} << 8) | cdb[9];
        ok = side_.Write(lba, blocks, data, disc_, answer);
        break;
      }
      case 0x35:  // SYNCHRONIZE CACHE
        ok = side_.SynchronizeCache(disc_, answer);
        break;
      case 0x1E:  // PREVENT/ALLOW MEDIUM REMOVAL
        prevented_ = cdb[4] & 1;
        break;
      case 0x1B:  // START STOP UNIT
        ++ejects_;
        side_.DiscChanged();
        break;
      default:
        break;
    }
    if (!ok && (answer.key || answer.asc || answer.ascq)) {
      sense[0] = 0x70;
      sense[2] = answer.key;
      sense[7] = 10;
      sense[12] = answer.asc;
      sense[13] = answer.ascq;
    }
    return ok;
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
