// The virtual drive's command handling: identification answers, the ELS
// page, reads of the disc image, the tray (eject, flip, reload) and the
// trace; burn commands are handed to the burn side.
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

// Fixed-format sense data.
constexpr std::uint8_t kSenseCurrentFixed = 0x70;
constexpr std::size_t kSenseKeyByte = 2;
constexpr std::size_t kSenseAdditionalLengthByte = 7;
constexpr std::uint8_t kSenseAdditionalLength = 10;
constexpr std::size_t kSenseAscByte = 12;
constexpr std::size_t kSenseAscqByte = 13;
constexpr SenseTriple kInvalidOpcode{0x05, 0x20, 0x00};
constexpr SenseTriple kInvalidFieldInCdb{0x05, 0x24, 0x00};
constexpr SenseTriple kInvalidFieldInParameters{0x05, 0x26, 0x00};
constexpr SenseTriple kIncompatibleMedium{0x05, 0x30, 0x02};
constexpr SenseTriple kLbaOutOfRange{0x05, 0x21, 0x00};
constexpr SenseTriple kRemovalPrevented{0x05, 0x53, 0x02};
constexpr SenseTriple kNoMedium{0x02, 0x3A, 0x00};
constexpr SenseTriple kUnrecoveredReadError{0x03, 0x11, 0x00};

// INQUIRY.
constexpr std::uint8_t kPeripheralCdDvd = 0x05;
constexpr std::uint8_t kRemovableMedium = 0x80;
constexpr std::uint8_t kVersionSpc3 = 0x05;
constexpr std::uint8_t kResponseFormat2 = 0x02;
constexpr std::size_t kInquiryAnswerLength = 96;
constexpr std::size_t kInquiryAdditionalLengthByte = 4;
constexpr std::uint8_t kInquiryEvpd = 0x01;
constexpr std::size_t kVendorOffset = 8, kVendorLength = 8;
constexpr std::size_t kProductOffset = 16, kProductLength = 16;
constexpr std::size_t kRevisionOffset = 32, kRevisionLength = 4;

// GET CONFIGURATION: feature header, then the Profile List and Core
// features (both always current).
constexpr std::size_t kFeatureHeaderLength = 8;
constexpr std::size_t kCurrentProfileOffset = 6;
constexpr std::uint16_t kProfileUnknown = 0xFFFF;
constexpr std::uint8_t kRequestTypeMask = 0x03;
constexpr std::uint8_t kRequestOne = 2;  // 0: all features, 1: current ones
constexpr std::uint16_t kFeatureProfileList = 0x0000;
constexpr std::uint16_t kFeatureCore = 0x0001;
constexpr std::uint8_t kFeaturePersistentCurrent = 0x03;
constexpr std::uint8_t kCoreVersion2 = 0x08;       // version 2 in bits 2-5
constexpr std::uint32_t kInterfaceAtapi = 0x0002;  // physical interface standard
constexpr std::uint8_t kProfileCurrentFlag = 0x01;
// The profiles the drive can read, in descending order as a drive lists them.
constexpr std::uint16_t kDriveProfiles[] = {0x001B, 0x001A, 0x0014, 0x0012, 0x0011,
                                            0x0010, 0x000A, 0x0009, 0x0008};

// READ DISC STRUCTURE format 0.
constexpr std::uint8_t kStructurePhysical = 0;
constexpr std::size_t kStructureAnswerLength = 4 + 2048;
constexpr std::uint8_t kBookPartVersion = 0x01;
constexpr std::uint8_t kDiscSize120MaxRate = 0x02;
constexpr std::uint8_t kLayerEmbossed = 0x01, kLayerRecordable = 0x02, kLayerRewritable = 0x04;
constexpr std::uint32_t kDataStartPsn = 0x030000;

// READ DISC INFORMATION.
constexpr std::size_t kDiscInfoAnswerLength = 34;
constexpr std::uint8_t kDiscInfoBlank = 0x00;
constexpr std::uint8_t kDiscInfoIncomplete = 0x01;
constexpr std::uint8_t kDiscInfoComplete = 0x0E;  // last session complete, disc complete
constexpr std::uint8_t kDiscInfoErasable = 0x10;

// READ TOC.
constexpr std::uint8_t kTocMsfBit = 0x02;
constexpr std::uint8_t kTocFormatMask = 0x0F;
constexpr std::uint32_t kMsfLeadIn = 150;  // frames before logical block 0
constexpr std::uint8_t kTocFormatted = 0, kTocFull = 2;
constexpr std::uint8_t kTocDataTrack = 0x14;  // ADR 1, data track
constexpr std::uint8_t kLeadOutTrack = 0xAA;
constexpr std::size_t kFormattedTocLength = 4 + 2 * 8;
constexpr std::size_t kFullTocDescriptor = 11;
constexpr std::size_t kLabelFullTocLength = 260;
constexpr std::array<std::pair<std::size_t, std::uint8_t>, 3> kLabelSignature = {
    {{82, 0x51}, {90, 0x26}, {91, 0x4B}}};

// MODE SENSE / SELECT and the ELS page.
constexpr std::uint8_t kPageCodeMask = 0x3F;
constexpr std::size_t kModeHeaderLength = 8;
constexpr std::size_t kPageLengthByte = 9;

// START STOP UNIT.
constexpr std::uint8_t kStartBit = 0x01;
constexpr std::uint8_t kLoadEjectBit = 0x02;
constexpr std::uint8_t kPreventBit = 0x01;

constexpr std::uint32_t kBlock = 2048;

// The allocation length field of a data-in command; a drive never returns
// more than it names.
std::size_t AllocationLength(std::span<const std::uint8_t> cdb) {
  switch (cdb[0]) {
    case kOpInquiry:
      return cdb.size() >= 6 ? GetBe16(&cdb[3]) : 0;
    case kOpReadToc:
    case kOpGetConfiguration:
    case kOpReadDiscInformation:
    case kOpModeSense10:
      return cdb.size() >= 10 ? GetBe16(&cdb[7]) : 0;
    case kOpReadDiscStructure:
      return cdb.size() >= 12 ? GetBe16(&cdb[8]) : 0;
    default:
      return SIZE_MAX;
  }
}

// A logical block address as the MSF field of a TOC descriptor.
void PutMsf(std::uint8_t* field, std::uint32_t lba) {
  const std::uint64_t frames = std::uint64_t{lba} + kMsfLeadIn;
  field[0] = 0;
  field[1] = static_cast<std::uint8_t>(std::min<std::uint64_t>(frames / (60 * 75), 0xFF));
  field[2] = static_cast<std::uint8_t>(frames / 75 % 60);
  field[3] = static_cast<std::uint8_t>(frames % 75);
}

struct KindInfo {
  const char* name;
  std::uint16_t profile;
  int bookType;  // -1: no DVD physical format
  std::uint8_t layerType;
  bool recordable;  // DVD-R / DVD+R: blank, incomplete or complete
  bool erasable;
};

constexpr KindInfo kKinds[] = {
    {"label", kProfileUnknown, -1, 0, false, false},
    {"unknown", kProfileUnknown, -1, 0, false, false},
    {"none", 0x0000, -1, 0, false, false},
    {"cd-rom", 0x0008, -1, 0, false, false},
    {"cd-r", 0x0009, -1, 0, false, false},
    {"cd-rw", 0x000A, -1, 0, false, true},
    {"dvd-rom", 0x0010, 0x00, kLayerEmbossed, false, false},
    {"dvd-r", 0x0011, 0x20, kLayerRecordable, true, false},
    {"dvd-ram", 0x0012, 0x10, kLayerRewritable, false, true},
    {"dvd-rw", 0x0014, 0x30, kLayerRewritable, false, true},
    {"dvd+rw", 0x001A, 0x90, kLayerRewritable, false, true},
    {"dvd+r", 0x001B, 0xA0, kLayerRecordable, true, false},
};

const KindInfo& InfoFor(const std::string& kind) {
  for (const KindInfo& k : kKinds) {
    if (kind == k.name) return k;
  }
  return kKinds[1];  // unknown
}

}  // namespace

bool IsVirtualDiscKind(const std::string& kind) {
  for (const KindInfo& info : kKinds) {
    if (kind == info.name) return true;
  }
  return false;
}

namespace {

// Copies as much of `answer` as both the CDB's allocation length and the
// transfer allow; the rest of the transfer stays zero.
// Returns the number of bytes transferred.
std::size_t Deliver(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                    const std::uint8_t* answer, std::size_t length) {
  std::fill(data.begin(), data.end(), 0);
  const std::size_t n = std::min({length, data.size(), AllocationLength(cdb)});
  std::copy_n(answer, n, data.begin());
  return n;
}

void PutPadded(std::uint8_t* field, std::size_t width, const std::string& text) {
  std::memset(field, ' ', width);
  std::memcpy(field, text.data(), std::min(width, text.size()));
}

}  // namespace

// ---- The drive --------------------------------------------------------------

struct VirtualDrive::Answer {
  SenseTriple sense;
  bool withSense = true;
  std::size_t transferred = 0;  // data-in bytes answered
};

// Exclusive access to a virtual drive: commands go to the drive; the lock
// goes when the last copy of this transport does.
class VirtualDriveHold : public ScsiTransport {
 public:
  VirtualDriveHold(std::shared_ptr<VirtualDrive> drive, std::unique_ptr<VirtualDriveLock> lock)
      : drive_(std::move(drive)), lock_(std::move(lock)) {}
  ~VirtualDriveHold() override { drive_->ReleaseHold(); }
  VirtualDriveHold(const VirtualDriveHold&) = delete;
  VirtualDriveHold& operator=(const VirtualDriveHold&) = delete;

  bool Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
               std::span<std::uint8_t> data,
               std::span<std::uint8_t, kTransportSenseSize> sense) override {
    return drive_->Execute(cdb, direction, data, sense);
  }
  bool ExecuteCounted(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                      std::span<std::uint8_t> data,
                      std::span<std::uint8_t, kTransportSenseSize> sense,
                      std::size_t& transferred) override {
    return drive_->ExecuteCounted(cdb, direction, data, sense, transferred);
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
  burn_ = std::make_unique<VirtualBurnSide>(std::move(burn));
  page_ = config_.elsPage;
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
    return drive->ListTopLevel(entries);
  };
  return source;
}

void VirtualDrive::UpdateTray() {
  if (trayEmpty_ && std::chrono::steady_clock::now() >= reloadAt_) trayEmpty_ = false;
}

bool VirtualDrive::HasData() const {
  if (trayEmpty_) return false;
  const std::string& kind = facing_.kind;
  if (kind == "label" || kind == "unknown" || kind == "none") return false;
  return !(InfoFor(kind).recordable && facing_.status == "blank");
}

std::uint32_t VirtualDrive::RecordedBlocks() const {
  if (!HasData()) return 0;
  return image_ ? image_->BlockCount() : config_.recordedBlocks;
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

bool VirtualDrive::Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                           std::span<std::uint8_t> data,
                           std::span<std::uint8_t, kTransportSenseSize> sense) {
  std::size_t transferred = 0;
  return ExecuteCounted(cdb, direction, data, sense, transferred);
}

bool VirtualDrive::ExecuteCounted(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                                  std::span<std::uint8_t> data,
                                  std::span<std::uint8_t, kTransportSenseSize> sense,
                                  std::size_t& transferred) {
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
    answer.sense = kInvalidOpcode;
  } else {
    UpdateTray();
    ok = Dispatch(cdb, data, answer);
  }
  transferred =
      ok && direction == ScsiDirection::In ? std::min(answer.transferred, data.size()) : 0;
  if (ok) answer.sense = {};
  if (!ok && answer.withSense) {
    sense[0] = kSenseCurrentFixed;
    sense[kSenseKeyByte] = answer.sense.key;
    sense[kSenseAdditionalLengthByte] = kSenseAdditionalLength;
    sense[kSenseAscByte] = answer.sense.asc;
    sense[kSenseAscqByte] = answer.sense.ascq;
  }
  Trace(cdb, direction, data.size(), ok, answer.withSense ? answer.sense : SenseTriple{});
  return ok;
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
  const bool medium = !trayEmpty_ && facing_.kind != "none";
  switch (cdb[0]) {
    case kOpTestUnitReady:
      if (!medium) {
        answer.sense = kNoMedium;
        return false;
      }
      return burn_->UnitReady(answer.sense);
    case kOpInquiry:
      return Inquiry(cdb, data, answer);
    case kOpStartStopUnit:
      return StartStop(cdb, answer);
    case kOpPreventAllowRemoval:
      if (cdb.size() < 6) {
        answer.sense = kInvalidFieldInCdb;
        return false;
      }
      removalPrevented_ = (cdb[4] & kPreventBit) != 0;
      return true;
    case kOpSynchronizeCache:
      if (!medium) {
        answer.sense = kNoMedium;
        return false;
      }
      return burn_->SynchronizeCache(DiscView(), answer.sense);
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
  answer.sense = kInvalidOpcode;
  return false;
}

bool VirtualDrive::Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                           Answer& answer) {
  // Only the standard data: no vital product data pages.
  if (cdb.size() < 6 || (cdb[1] & kInquiryEvpd) != 0 || cdb[2] != 0) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  std::uint8_t a[kInquiryAnswerLength] = {};
  a[0] = kPeripheralCdDvd;
  a[1] = kRemovableMedium;
  a[2] = kVersionSpc3;
  a[3] = kResponseFormat2;
  a[kInquiryAdditionalLengthByte] = static_cast<std::uint8_t>(kInquiryAnswerLength - 5);
  PutPadded(a + kVendorOffset, kVendorLength, config_.vendor);
  PutPadded(a + kProductOffset, kProductLength, config_.product);
  PutPadded(a + kRevisionOffset, kRevisionLength, config_.revision);
  answer.transferred = Deliver(cdb, data, a, sizeof a);
  return true;
}

bool VirtualDrive::GetConfiguration(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                                    Answer& answer) {
  if (cdb.size() < 10 || (cdb[1] & kRequestTypeMask) > kRequestOne) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  const std::uint8_t requestType = cdb[1] & kRequestTypeMask;
  const std::uint16_t starting = GetBe16(&cdb[2]);
  std::uint16_t profile = 0;
  if (!trayEmpty_) {
    const KindInfo& info = InfoFor(facing_.kind);
    profile = info.profile;
    if (config_.closedAsDvdRom && info.recordable && facing_.status == "complete")
      profile = kDiscDvdRom;
  }
  std::vector<std::uint8_t> a(kFeatureHeaderLength, 0);
  PutBe16(&a[kCurrentProfileOffset], profile);
  // Both features are always current, so "all" and "current" are the same.
  const auto wanted = [&](std::uint16_t feature) {
    return requestType == kRequestOne ? feature == starting : feature >= starting;
  };
  if (wanted(kFeatureProfileList)) {
    const std::size_t at = a.size();
    a.resize(at + 4 + 4 * std::size(kDriveProfiles), 0);
    PutBe16(&a[at], kFeatureProfileList);
    a[at + 2] = kFeaturePersistentCurrent;
    a[at + 3] = static_cast<std::uint8_t>(4 * std::size(kDriveProfiles));
    for (std::size_t i = 0; i < std::size(kDriveProfiles); ++i) {
      std::uint8_t* d = &a[at + 4 + 4 * i];
      PutBe16(d, kDriveProfiles[i]);
      if (kDriveProfiles[i] == profile) d[2] = kProfileCurrentFlag;
    }
  }
  if (wanted(kFeatureCore)) {
    const std::size_t at = a.size();
    a.resize(at + 4 + 8, 0);
    PutBe16(&a[at], kFeatureCore);
    a[at + 2] = kCoreVersion2 | kFeaturePersistentCurrent;
    a[at + 3] = 8;
    PutBe32(&a[at + 4], kInterfaceAtapi);
  }
  PutBe32(a.data(), static_cast<std::uint32_t>(a.size() - 4));
  answer.transferred = Deliver(cdb, data, a.data(), a.size());
  return true;
}

bool VirtualDrive::HasMedium(Answer& answer) const {
  if (!trayEmpty_ && facing_.kind != "none") return true;
  answer.sense = kNoMedium;
  return false;
}

bool VirtualDrive::ReadDiscStructure(std::span<const std::uint8_t> cdb,
                                     std::span<std::uint8_t> data, Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12 || cdb[7] != kStructurePhysical) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  const KindInfo& info = InfoFor(facing_.kind);
  if (info.bookType < 0) {
    answer.sense = kIncompatibleMedium;
    return false;
  }
  std::vector<std::uint8_t> a(kStructureAnswerLength, 0);
  PutBe16(a.data(), kStructureAnswerLength - 2);
  a[4] = static_cast<std::uint8_t>(info.bookType | kBookPartVersion);
  a[5] = kDiscSize120MaxRate;
  a[6] = info.layerType;
  PutBe32(&a[8], kDataStartPsn);
  PutBe32(&a[12], kDataStartPsn + std::max<std::uint32_t>(RecordedBlocks(), 1) - 1);
  answer.transferred = Deliver(cdb, data, a.data(), a.size());
  return true;
}

bool VirtualDrive::ReadDiscInformation(std::span<const std::uint8_t> cdb,
                                       std::span<std::uint8_t> data, Answer& answer) {
  if (!HasMedium(answer)) return false;
  const KindInfo& info = InfoFor(facing_.kind);
  std::uint8_t a[kDiscInfoAnswerLength] = {};
  PutBe16(a, kDiscInfoAnswerLength - 2);
  std::uint8_t state = kDiscInfoComplete;
  if (info.recordable && facing_.status == "blank") state = kDiscInfoBlank;
  if (info.recordable && facing_.status == "incomplete") state = kDiscInfoIncomplete;
  if (info.erasable) state |= kDiscInfoErasable;
  a[2] = state;
  a[3] = 1;  // first track
  a[4] = 1;  // sessions
  a[5] = 1;  // first track in last session
  a[6] = 1;  // last track in last session
  answer.transferred = Deliver(cdb, data, a, sizeof a);
  return true;
}

bool VirtualDrive::ReadToc(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                           Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 10) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  const std::uint8_t format = cdb[2] & kTocFormatMask;
  const bool msf = (cdb[1] & kTocMsfBit) != 0;
  const std::uint8_t track = cdb[6];
  if (format == kTocFull && facing_.kind == "label") {
    std::uint8_t a[kLabelFullTocLength] = {};
    PutBe16(a, kLabelFullTocLength - 2);
    a[2] = 1;
    a[3] = 1;
    for (const auto& [offset, value] : kLabelSignature) a[offset] = value;
    answer.transferred = Deliver(cdb, data, a, sizeof a);
    return true;
  }
  if (!HasData() || (format != kTocFormatted && format != kTocFull)) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  if (format == kTocFormatted) {
    // One data track and the lead-out; a starting track past the last one
    // (other than the lead-out) is refused, the lead-out alone answered.
    if (track > 1 && track != kLeadOutTrack) {
      answer.sense = kInvalidFieldInCdb;
      return false;
    }
    std::uint8_t a[kFormattedTocLength] = {};
    a[2] = 1;
    a[3] = 1;
    std::uint8_t* d = a + 4;
    const auto descriptor = [&](std::uint8_t number, std::uint32_t lba) {
      d[1] = kTocDataTrack;
      d[2] = number;
      if (msf) {
        PutMsf(d + 4, lba);
      } else {
        PutBe32(d + 4, lba);
      }
      d += 8;
    };
    if (track != kLeadOutTrack) descriptor(1, 0);
    descriptor(kLeadOutTrack, RecordedBlocks());
    const auto length = static_cast<std::size_t>(d - a);
    PutBe16(a, static_cast<unsigned>(length - 2));
    answer.transferred = Deliver(cdb, data, a, length);
    return true;
  }
  // Full TOC of a data side: the A0, A1 and A2 points of session 1.
  std::uint8_t a[4 + 3 * kFullTocDescriptor] = {};
  PutBe16(a, sizeof a - 2);
  a[2] = 1;
  a[3] = 1;
  // A0: first track, A1: last track, A2: start of the lead-out.
  const std::uint8_t points[3] = {0xA0, 0xA1, 0xA2};
  for (std::size_t i = 0; i < 3; ++i) {
    std::uint8_t* d = a + 4 + kFullTocDescriptor * i;
    d[0] = 1;
    d[1] = kTocDataTrack;
    d[3] = points[i];
    d[8] = 1;
  }
  PutMsf(a + 4 + 2 * kFullTocDescriptor + 7, RecordedBlocks());
  answer.transferred = Deliver(cdb, data, a, sizeof a);
  return true;
}

bool VirtualDrive::ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                             Answer& answer) {
  if (cdb.size() < 10 || !config_.hasElsPage || (cdb[2] & kPageCodeMask) != kElsPageCode) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  answer.transferred = Deliver(cdb, data, page_.data(), page_.size());
  return true;
}

bool VirtualDrive::ModeSelect(std::span<const std::uint8_t> data, Answer& answer) {
  if (!config_.hasElsPage || data.size() <= kPageLengthByte ||
      (data[kModeHeaderLength] & kPageCodeMask) != kElsPageCode) {
    answer.sense = kInvalidFieldInParameters;
    return false;
  }
  std::memcpy(page_.data(), data.data(), std::min(data.size(), page_.size()));
  burn_->PageWritten(data, DiscView());
  return true;
}

bool VirtualDrive::Read12(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                          Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  const std::uint32_t lba = GetBe32(&cdb[2]);
  const std::uint32_t blocks = GetBe32(&cdb[6]);
  if (std::uint64_t{lba} + blocks > RecordedBlocks()) {
    answer.sense = kLbaOutOfRange;
    return false;
  }
  const std::size_t fit = std::min<std::size_t>(blocks, data.size() / kBlock);
  std::fill(data.begin(), data.end(), 0);
  if (image_ && fit > 0 && !image_->ReadBlocks(lba, data.first(fit * kBlock))) {
    answer.sense = kUnrecoveredReadError;
    return false;
  }
  return true;
}

bool VirtualDrive::Write12(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> data,
                           Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  return burn_->Write(GetBe32(&cdb[2]), GetBe32(&cdb[6]), data, DiscView(), answer.sense);
}

bool VirtualDrive::StartStop(std::span<const std::uint8_t> cdb, Answer& answer) {
  if (cdb.size() < 6) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  const bool loadEject = (cdb[4] & kLoadEjectBit) != 0;
  const bool start = (cdb[4] & kStartBit) != 0;
  if (!loadEject) return true;
  if (start) {  // load: the tray closes at once
    trayEmpty_ = false;
    return true;
  }
  if (removalPrevented_) {
    answer.sense = kRemovalPrevented;
    return false;
  }
  if (trayEmpty_) return true;
  burn_->DiscChanged();
  // The user takes the disc out and, when it has another side, turns it over.
  if (hasOther_) std::swap(facing_, other_);
  trayEmpty_ = true;
  reloadAt_ = std::chrono::steady_clock::now() +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                  std::chrono::duration<double>(config_.reloadDelaySeconds));
  return true;
}

}  // namespace twr
