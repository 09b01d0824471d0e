// The virtual drive's command core: opening for shared or exclusive use,
// dispatch of each command, the tray (removal, eject, turning the disc over,
// reload), the trace and the sense of a refusal. Burn commands go to the burn
// side; the answers about the drive and its disc are VirtualDiscAnswers.cpp.
#include "drive/virtual/VirtualDrive.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/virtual/IsoImage.h"
#include "drive/virtual/VirtualDriveLock.h"

namespace twr {

namespace {

// START STOP UNIT and PREVENT/ALLOW MEDIUM REMOVAL, byte 4.
constexpr std::uint8_t kStartBit = 0x01;
constexpr std::uint8_t kLoadEjectBit = 0x02;
constexpr std::uint8_t kPreventBit = 0x01;

}  // namespace

// Exclusive access to a virtual drive: commands go to the drive; the lock
// goes when the last copy of this transport does.
class VirtualDriveHold : public ScsiTransport {
 public:
  VirtualDriveHold(std::shared_ptr<VirtualDrive> drive, std::unique_ptr<VirtualDriveLock> lock)
      : drive_(std::move(drive)), lock_(std::move(lock)) {}
  ~VirtualDriveHold() override { drive_->ReleaseHold(); }
  VirtualDriveHold(const VirtualDriveHold&) = delete;
  VirtualDriveHold& operator=(const VirtualDriveHold&) = delete;

  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override {
    return drive_->Execute(cdb, direction, data);
  }

 private:
  std::shared_ptr<VirtualDrive> drive_;
  std::unique_ptr<VirtualDriveLock> lock_;
};

VirtualDrive::VirtualDrive(VirtualDriveConfig config) : config_(std::move(config)) {
  config_.Normalize();
  facing_ = {config_.disc, config_.status};
  if (!config_.flip.empty()) {
    hasOther_ = true;
    other_ = {config_.flip, config_.flipStatus.empty() ? config_.status : config_.flipStatus};
  }
  std::string why;
  if (!config_.image.empty()) {
    image_ = IsoImage::Open(config_.image, &why);
    if (!image_)
      WarnVirtualDrive(config_.warn,
                       "cannot use the disc image: " + why + "; the disc has no contents to read");
  }
  if (!config_.tracePath.empty()) {
    traceFd_ = OpenVirtualOutput(config_.tracePath, why);
    if (traceFd_ < 0)
      WarnVirtualDrive(config_.warn, "cannot write the trace: " + why + "; nothing is traced");
  }
  // Everything that makes the disc what it is: another value, another disc.
  VirtualBurnConfig burn = config_.burn;
  burn.discKey = "disc=" + facing_.kind + "/" + facing_.status +
                 ";flip=" + (hasOther_ ? other_.kind + "/" + other_.status : std::string()) +
                 ";image=" + config_.image + ";recorded=" + std::to_string(config_.recordedBlocks);
  if (!burn.warn) burn.warn = config_.warn;
  discKey_ = burn.discKey;
  burn_ = std::make_unique<VirtualBurnSide>(std::move(burn));
  page_ = config_.elsPage;
  if (config_.discs > 0) LoadPileDisc(1);
}

void VirtualDrive::LoadPileDisc(int number) {
  pileDisc_ = number;
  facing_ = {config_.disc, config_.status};
  if (hasOther_)
    other_ = {config_.flip, config_.flipStatus.empty() ? config_.status : config_.flipStatus};
  burn_->NewDisc(discKey_ + ";pile=" + std::to_string(number),
                 VirtualPileEtchedPath(config_.burn.etchedPath, number));
}

VirtualDrive::~VirtualDrive() {
  if (traceFd_ >= 0) ::close(traceFd_);
}

DriveOpenResult VirtualDrive::Open(const std::shared_ptr<VirtualDrive>& drive, DriveAccess access) {
  DriveOpenResult result;
  if (access == DriveAccess::Shared) {
    result.transport = drive;
    return result;
  }
  std::lock_guard<std::mutex> lock(drive->mutex_);
  if (drive->held_) {
    result.error = DriveOpenError::InUse;
    return result;
  }
  std::unique_ptr<VirtualDriveLock> fileLock;
  if (!drive->config_.lockPath.empty()) {
    VirtualDriveLock::Outcome outcome;
    std::string why;
    fileLock = VirtualDriveLock::Acquire(drive->config_.lockPath, outcome, why);
    if (outcome == VirtualDriveLock::Outcome::InUse) {
      result.error = DriveOpenError::InUse;
      return result;
    }
    if (outcome == VirtualDriveLock::Outcome::Unlockable)
      WarnVirtualDrive(drive->config_.warn, "cannot use the lock file " + why +
                                                "; a burn in another program is not kept out");
  }
  drive->held_ = true;
  result.transport = std::make_shared<VirtualDriveHold>(drive, std::move(fileLock));
  return result;
}

void VirtualDrive::ReleaseHold() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_ = false;
}

DriveSource VirtualDrive::SourceFor(const std::shared_ptr<VirtualDrive>& drive) {
  DriveSource source;
  source.letter = drive->Config().letter;
  source.device = "virtual";
  source.open = [drive]() -> std::shared_ptr<ScsiTransport> { return drive; };
  source.openAccess = [drive](DriveAccess access) { return Open(drive, access); };
  source.listTopLevel = [drive](std::vector<DiscEntry>& entries) {
    entries.clear();
    // A disc that is not mounted is listed through its blocks instead.
    return drive->Config().mounted && drive->ListTopLevel(entries);
  };
  return source;
}

void VirtualDrive::UpdateTray() {
  if (trayEmpty_ && pileDisc_ > 0 && std::chrono::steady_clock::now() >= reloadAt_)
    trayEmpty_ = false;
}

int VirtualDrive::PileDisc() {
  std::lock_guard<std::mutex> lock(mutex_);
  return pileDisc_;
}

VirtualDiscView VirtualDrive::DiscView() const {
  return {trayEmpty_ ? std::string("none") : facing_.kind, RecordedBlocks()};
}

std::string VirtualDrive::CurrentSide() {
  std::lock_guard<std::mutex> lock(mutex_);
  UpdateTray();
  return trayEmpty_ ? std::string("none") : facing_.kind;
}

bool VirtualDrive::TrayEmpty() {
  std::lock_guard<std::mutex> lock(mutex_);
  UpdateTray();
  return trayEmpty_;
}

ElsPageBytes VirtualDrive::CurrentElsPage() {
  std::lock_guard<std::mutex> lock(mutex_);
  return page_;
}

bool VirtualDrive::ListTopLevel(std::vector<DiscEntry>& entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries.clear();
  UpdateTray();
  return HasData() && image_ && image_->ListRoot(entries);
}

ScsiResult VirtualDrive::Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                                 std::span<std::uint8_t> data) {
  // A slow drive: the wait comes before the drive is taken, as a real
  // drive's spin-up keeps only the one caller waiting.
  if (config_.latencyMs > 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(config_.latencyMs));
  std::lock_guard<std::mutex> lock(mutex_);
  Answer answer;
  answer.transferred = direction == ScsiDirection::In ? data.size() : 0;
  bool ok = false;
  if (burn_->Gone()) {
    answer.withSense = false;  // a vanished device: no status, no sense
  } else if (cdb.empty()) {
    answer.sense = kSenseInvalidOpcode;
  } else {
    UpdateTray();
    ok = Dispatch(cdb, data, answer);
  }
  ScsiResult result;
  result.ok = ok;
  result.transferred = !ok                               ? 0
                       : direction == ScsiDirection::In  ? std::min(answer.transferred, data.size())
                       : direction == ScsiDirection::Out ? data.size()
                                                         : 0;
  if (ok) answer.sense = {};
  if (ok || answer.withSense) result.status = ok ? kScsiStatusGood : kScsiStatusCheckCondition;
  if (!ok && answer.withSense) {
    std::array<std::uint8_t, kFixedSenseSize> sense{};
    PutFixedSense(sense, answer.sense);
    result.SetSense(sense);
  }
  Trace(cdb, direction, data.size(), ok, answer.withSense ? answer.sense : SenseTriple{});
  return result;
}

void VirtualDrive::Trace(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                         std::size_t length, bool ok, const SenseTriple& sense) {
  if (traceFd_ < 0) return;
  std::string line;
  char field[32];
  for (std::uint8_t b : cdb) {
    std::snprintf(field, sizeof field, "%02X ", b);
    line += field;
  }
  line += direction == ScsiDirection::In ? "in" : direction == ScsiDirection::Out ? "out" : "none";
  std::snprintf(field, sizeof field, " %zu %s %02X/%02X/%02X\n", length, ok ? "good" : "check",
                sense.key, sense.asc, sense.ascq);
  line += field;
  std::string why;
  if (WriteAll(traceFd_,
               std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(line.data()),
                                             line.size()),
               why))
    return;
  WarnVirtualDrive(config_.warn, "cannot write the trace '" + config_.tracePath + "': " + why +
                                     "; nothing more is traced");
  ::close(traceFd_);
  traceFd_ = -1;
}

bool VirtualDrive::Dispatch(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                            Answer& answer) {
  switch (cdb[0]) {
    case kOpTestUnitReady:
      return HasMedium(answer) && burn_->UnitReady(answer.sense);
    case kOpInquiry:
      return Inquiry(cdb, data, answer);
    case kOpStartStopUnit:
      return StartStop(cdb, answer);
    case kOpPreventAllowRemoval:
      if (cdb.size() < 6) return answer.Refuse(kSenseInvalidFieldInCdb);
      removalPrevented_ = (cdb[4] & kPreventBit) != 0;
      return true;
    case kOpSynchronizeCache:
      return HasMedium(answer) && burn_->SynchronizeCache(DiscView(), answer.sense);
    case kOpReadToc:
      return ReadToc(cdb, data, answer);
    case kOpGetConfiguration:
      return GetConfiguration(cdb, data, answer);
    case kOpReadDiscInformation:
      return ReadDiscInformation(cdb, data, answer);
    case kOpModeSelect10:
      return ModeSelect(data, answer);
    case kOpModeSense10:
      return ModeSense(cdb, data, answer);
    case kOpRead12:
      return Read12(cdb, data, answer);
    case kOpWrite12:
      return Write12(cdb, data, answer);
    case kOpReadDiscStructure:
      return ReadDiscStructure(cdb, data, answer);
    default:
      break;
  }
  return answer.Refuse(kSenseInvalidOpcode);
}

bool VirtualDrive::ModeSelect(std::span<const std::uint8_t> data, Answer& answer) {
  if (!config_.hasElsPage || data.size() <= ElsPageLayout::kOffPageLength ||
      (data[ElsPageLayout::kOffPageCode] & ElsPageLayout::kPageCodeMask) !=
          ElsPageLayout::kPageCode)
    return answer.Refuse(kSenseInvalidFieldInParameters);
  std::memcpy(page_.data(), data.data(), std::min(data.size(), page_.size()));
  burn_->PageWritten(data, DiscView());
  return true;
}

bool VirtualDrive::Write12(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> data,
                           Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12) return answer.Refuse(kSenseInvalidFieldInCdb);
  if (burn_->Write(GetBe32(&cdb[2]), GetBe32(&cdb[6]), data, DiscView(), answer.sense)) return true;
  // A device that vanishes at this write answers it as it answers every
  // command after it: no status, no sense.
  answer.withSense = !burn_->Gone();
  return false;
}

bool VirtualDrive::StartStop(std::span<const std::uint8_t> cdb, Answer& answer) {
  if (cdb.size() < 6) return answer.Refuse(kSenseInvalidFieldInCdb);
  const bool loadEject = (cdb[4] & kLoadEjectBit) != 0;
  const bool start = (cdb[4] & kStartBit) != 0;
  if (!loadEject) return true;
  if (start) {  // load: the tray closes at once, on a disc when one is left
    if (pileDisc_ > 0) trayEmpty_ = false;
    return true;
  }
  if (removalPrevented_) return answer.Refuse(kSenseRemovalPrevented);
  if (trayEmpty_) return true;
  burn_->DiscChanged();
  if (config_.discs > 0) {
    // The disc goes onto the done pile; the next fresh one comes, if any.
    if (pileDisc_ < config_.discs)
      LoadPileDisc(pileDisc_ + 1);
    else
      pileDisc_ = 0;
  } else if (hasOther_) {
    // The user takes the disc out and turns it over.
    std::swap(facing_, other_);
  }
  trayEmpty_ = true;
  reloadAt_ = std::chrono::steady_clock::now() +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                  std::chrono::duration<double>(config_.reloadDelaySeconds));
  return true;
}

}  // namespace twr
