// Stand-in burn side: accepts every write while the label-writing flag is
// set. Replaced by the full burn side (decoding, faults, pacing, picture).
#include "drive/virtual/VirtualBurnSide.h"

#include "common/ProfileFile.h"

namespace twr {

struct VirtualBurnSide::State {
  bool labelWriting = false;
};

VirtualBurnConfig VirtualBurnConfig::FromProfile(const ProfileFile& profile,
                                                 const std::string& section) {
  VirtualBurnConfig c;
  c.etchedPath = profile.GetRaw(section, "Etched");
  c.capturePath = profile.GetRaw(section, "Capture");
  c.faults = profile.GetRaw(section, "Faults");
  c.pace = profile.GetInt(section, "Pace", 0);
  return c;
}

VirtualBurnSide::VirtualBurnSide(VirtualBurnConfig config)
    : config_(std::move(config)), state_(new State) {}

VirtualBurnSide::~VirtualBurnSide() { delete state_; }

void VirtualBurnSide::PageWritten(std::span<const std::uint8_t> page, const VirtualDiscView&) {
  if (page.size() > 16) state_->labelWriting = page[16] == 1;
}

bool VirtualBurnSide::Write(std::uint32_t, std::uint32_t, std::span<const std::uint8_t>,
                            const VirtualDiscView&, SenseTriple& sense) {
  if (state_->labelWriting) return true;
  sense = {0x05, 0x2C, 0x00};  // command sequence error
  return false;
}

bool VirtualBurnSide::SynchronizeCache(const VirtualDiscView&, SenseTriple&) { return true; }
bool VirtualBurnSide::UnitReady(SenseTriple&) { return true; }
bool VirtualBurnSide::Gone() const { return false; }
void VirtualBurnSide::DiscChanged() {}

}  // namespace twr
