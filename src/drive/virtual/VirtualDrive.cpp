// The virtual drive's command handling: identification answers, the ELS
// page, reads of the disc image, the tray (eject, flip, reload) and the
// trace; burn commands are handed to the burn side.
#include "drive/virtual/VirtualDrive.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "common/ProfileFile.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/virtual/IsoImage.h"

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
constexpr std::uint8_t kElsPageCodeWithPs = 0xAD;
constexpr std::size_t kPageLengthByte = 9;
constexpr std::size_t kSelectorByte = 14;
constexpr std::size_t kEntryCountByte = 18;
constexpr std::uint8_t kEntryCountMask = 0x07;
constexpr std::size_t kBytpwOffset = 22;
constexpr std::size_t kCurrentRotationOffset = 44;
constexpr std::size_t kCurrentSpeedOffset = 50;
constexpr std::size_t kDivisorAOffset = 58;
constexpr std::size_t kDivisorBOffset = 60;
constexpr std::size_t kFeedStepNumOffset = 62;
constexpr std::size_t kFeedStepDenOffset = 64;
constexpr std::size_t kSpeedTableOffset = 92;
constexpr std::size_t kSpeedEntrySize = 12;
constexpr std::size_t kMaxSpeedEntries = 7;

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

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string NormalKind(const std::string& kind) {
  const std::string k = Lower(kind);
  for (const KindInfo& info : kKinds) {
    if (k == info.name) return k;
  }
  return "unknown";
}

std::string NormalStatus(const std::string& status) {
  const std::string s = Lower(status);
  return (s == "blank" || s == "incomplete") ? s : "complete";
}

// Copies as much of `answer` as both the CDB's allocation length and the
// transfer allow; the rest of the transfer stays zero.
void Deliver(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
             const std::uint8_t* answer, std::size_t length) {
  std::fill(data.begin(), data.end(), 0);
  const std::size_t n = std::min({length, data.size(), AllocationLength(cdb)});
  std::copy_n(answer, n, data.begin());
}

void PutPadded(std::uint8_t* field, std::size_t width, const std::string& text) {
  std::memset(field, ' ', width);
  std::memcpy(field, text.data(), std::min(width, text.size()));
}

// A settings value without its trailing " ; comment".
std::string Value(const ProfileFile& profile, const std::string& section, const char* key,
                  const std::string& def) {
  if (!profile.HasKey(section, key)) return def;
  std::string raw = profile.GetRaw(section, key);
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == ';' && (i == 0 || raw[i - 1] == ' ' || raw[i - 1] == '\t')) {
      cut = i;
      break;
    }
  }
  if (cut != std::string::npos) raw.erase(cut);
  return std::string(TrimProfileBlanks(raw));
}

// A decimal number of at most `max`, nothing else in the text.
bool ParseUnsigned(const std::string& text, unsigned long& out, unsigned long max = 0xFFFFFFFFul) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long value = std::strtoul(text.c_str(), &end, 10);
  if (errno == ERANGE || !end || *end != '\0' || value > max) return false;
  out = value;
  return true;
}

constexpr double kDefaultReloadDelay = 2.0;
constexpr double kLongestReloadDelay = 3600.0;

// A reload delay the tray can wait: not a number gives the default, the
// rest is held between 0 and an hour.
double SaneReloadDelay(double seconds) {
  if (std::isnan(seconds)) return kDefaultReloadDelay;
  return std::clamp(seconds, 0.0, kLongestReloadDelay);
}

}  // namespace

// ---- ELS page ---------------------------------------------------------------

void SetElsSpeedEntries(ElsPageBytes& page, const std::vector<ElsSpeedEntry>& entries) {
  const std::size_t count = std::min(entries.size(), kMaxSpeedEntries);
  std::memset(&page[kSpeedTableOffset], 0, kVirtualElsPageSize - kSpeedTableOffset);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* row = &page[kSpeedTableOffset + kSpeedEntrySize * i];
    PutBe16(row + 0, entries[i].rotationNum);
    PutBe16(row + 2, entries[i].rotationDen);
    PutBe16(row + 4, entries[i].speedNum);
    PutBe16(row + 6, entries[i].speedDen);
  }
  page[kEntryCountByte] = static_cast<std::uint8_t>((page[kEntryCountByte] & ~kEntryCountMask) |
                                                    (count & kEntryCountMask));
}

ElsPageBytes ExampleElsPage() {
  ElsPageBytes page{};
  PutBe16(&page[0], kVirtualElsPageSize - 2);  // mode data length
  page[kModeHeaderLength] = kElsPageCodeWithPs;
  page[kPageLengthByte] = static_cast<std::uint8_t>(kVirtualElsPageSize - kModeHeaderLength - 2);
  page[kSelectorByte] = 0x0F;
  PutBe32(&page[kBytpwOffset], 214);
  PutBe16(&page[kDivisorAOffset], 8);
  PutBe16(&page[kDivisorBOffset], 8);
  PutBe16(&page[kFeedStepNumOffset], 95);
  PutBe16(&page[kFeedStepDenOffset], 1);
  const std::vector<ElsSpeedEntry> speeds = {
      {9000, 1, 36, 1}, {7875, 1, 189, 4}, {6750, 1, 36, 1}, {4500, 1, 45, 1},
      {2250, 1, 45, 1}, {1125, 1, 36, 1},  {225, 1, 45, 2},
  };
  SetElsSpeedEntries(page, speeds);
  PutBe16(&page[kCurrentRotationOffset], speeds[0].rotationNum);
  PutBe16(&page[kCurrentRotationOffset + 2], speeds[0].rotationDen);
  PutBe16(&page[kCurrentSpeedOffset], speeds[0].speedNum);
  PutBe16(&page[kCurrentSpeedOffset + 2], speeds[0].speedDen);
  return page;
}

bool ParseElsFraction(const std::string& text, std::uint16_t& num, std::uint16_t& den) {
  constexpr unsigned long kMax16 = 0xFFFF;
  unsigned long n = 0, d = 1;
  const std::size_t slash = text.find('/');
  const std::size_t point = text.find('.');
  if (slash != std::string::npos) {
    if (!ParseUnsigned(text.substr(0, slash), n) || !ParseUnsigned(text.substr(slash + 1), d))
      return false;
  } else if (point != std::string::npos) {
    const std::string whole = text.substr(0, point), fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.size() > 4) return false;
    unsigned long w = 0, f = 0;
    if (!ParseUnsigned(whole.empty() ? "0" : whole, w) || !ParseUnsigned(fraction, f)) return false;
    for (std::size_t i = 0; i < fraction.size(); ++i) d *= 10;
    if (w > kMax16) return false;
    n = w * d + f;
  } else if (!ParseUnsigned(text, n)) {
    return false;
  }
  if (d == 0) return false;
  const unsigned long g = std::gcd(n, d);
  if (g > 1) n /= g, d /= g;
  if (n > kMax16 || d > kMax16) return false;
  num = static_cast<std::uint16_t>(n);
  den = static_cast<std::uint16_t>(d);
  return true;
}

// ---- Configuration ----------------------------------------------------------

VirtualDriveConfig VirtualDriveConfig::FromProfile(const ProfileFile& profile,
                                                   const std::string& section) {
  VirtualDriveConfig c;
  const std::string letter = Value(profile, section, "Letter", "V");
  if (!letter.empty() && std::isalpha(static_cast<unsigned char>(letter[0])))
    c.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
  c.vendor = Value(profile, section, "Vendor", c.vendor);
  c.product = Value(profile, section, "Product", c.product);
  c.revision = Value(profile, section, "Revision", c.revision);
  c.disc = NormalKind(Value(profile, section, "Disc", c.disc));
  c.status = NormalStatus(Value(profile, section, "Status", c.status));
  c.flip = Value(profile, section, "Flip", "");
  if (!c.flip.empty()) c.flip = NormalKind(c.flip);
  c.flipStatus = Value(profile, section, "FlipStatus", "");
  if (!c.flipStatus.empty()) c.flipStatus = NormalStatus(c.flipStatus);
  c.image = Value(profile, section, "Image", "");
  unsigned long number = 0;
  if (ParseUnsigned(Value(profile, section, "Recorded", ""), number))
    c.recordedBlocks = static_cast<std::uint32_t>(number);
  const std::string delay = Value(profile, section, "ReloadDelay", "");
  char* delayEnd = nullptr;
  const double seconds = std::strtod(delay.c_str(), &delayEnd);
  if (!delay.empty() && delayEnd && *delayEnd == '\0')
    c.reloadDelaySeconds = SaneReloadDelay(seconds);
  c.tracePath = Value(profile, section, "Trace", "");
  c.closedAsDvdRom = Value(profile, section, "ClosedAsDvdRom", "0") == "1";
  c.hasElsPage = Value(profile, section, "ElsPage", "1") != "0";

  if (ParseUnsigned(Value(profile, section, "Bytpw", ""), number))
    PutBe32(&c.elsPage[kBytpwOffset], static_cast<std::uint32_t>(number));
  if (ParseUnsigned(Value(profile, section, "DivisorA", ""), number, 0xFFFF))
    PutBe16(&c.elsPage[kDivisorAOffset], static_cast<unsigned>(number));
  if (ParseUnsigned(Value(profile, section, "DivisorB", ""), number, 0xFFFF))
    PutBe16(&c.elsPage[kDivisorBOffset], static_cast<unsigned>(number));
  std::uint16_t num = 0, den = 0;
  if (ParseElsFraction(Value(profile, section, "FeedStep", ""), num, den)) {
    PutBe16(&c.elsPage[kFeedStepNumOffset], num);
    PutBe16(&c.elsPage[kFeedStepDenOffset], den);
  }
  const std::string speeds = Value(profile, section, "Speeds", "");
  if (!speeds.empty()) {
    std::vector<ElsSpeedEntry> entries;
    std::size_t start = 0;
    while (start <= speeds.size()) {
      const std::size_t comma = std::min(speeds.find(',', start), speeds.size());
      const std::string pair(TrimProfileBlanks(speeds.substr(start, comma - start)));
      const std::size_t colon = pair.find(':');
      ElsSpeedEntry e;
      if (colon != std::string::npos &&
          ParseElsFraction(std::string(TrimProfileBlanks(pair.substr(0, colon))), e.rotationNum,
                           e.rotationDen) &&
          ParseElsFraction(std::string(TrimProfileBlanks(pair.substr(colon + 1))), e.speedNum,
                           e.speedDen))
        entries.push_back(e);
      start = comma + 1;
    }
    SetElsSpeedEntries(c.elsPage, entries);
  }
  c.burn = VirtualBurnConfig::FromProfile(profile, section);
  return c;
}

// ---- The drive --------------------------------------------------------------

struct VirtualDrive::Answer {
  SenseTriple sense;
  bool withSense = true;
};

VirtualDrive::VirtualDrive(VirtualDriveConfig config)
    : config_(std::move(config)), trace_(nullptr, &std::fclose) {
  config_.disc = NormalKind(config_.disc);
  config_.status = NormalStatus(config_.status);
  config_.reloadDelaySeconds = SaneReloadDelay(config_.reloadDelaySeconds);
  facing_ = {config_.disc, config_.status};
  if (!config_.flip.empty()) {
    hasOther_ = true;
    other_ = {NormalKind(config_.flip),
              NormalStatus(config_.flipStatus.empty() ? config_.status : config_.flipStatus)};
  }
  if (!config_.image.empty()) image_ = IsoImage::Open(config_.image);
  if (!config_.tracePath.empty()) trace_.reset(std::fopen(config_.tracePath.c_str(), "ae"));
  burn_ = std::make_unique<VirtualBurnSide>(config_.burn);
  page_ = config_.elsPage;
}

VirtualDrive::~VirtualDrive() = default;

DriveSource VirtualDrive::SourceFor(const std::shared_ptr<VirtualDrive>& drive) {
  DriveSource source;
  source.letter = drive->Config().letter;
  source.device = "virtual";
  source.open = [drive]() -> std::shared_ptr<ScsiTransport> { return drive; };
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
  std::lock_guard<std::mutex> lock(mutex_);
  Answer answer;
  bool ok = false;
  if (burn_->Gone()) {
    answer.withSense = false;  // a vanished device: no status, no sense
  } else if (cdb.empty()) {
    answer.sense = kInvalidOpcode;
  } else {
    UpdateTray();
    ok = Dispatch(cdb, data, answer);
  }
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
  if (!trace_) return;
  std::string line;
  char hex[4];
  for (std::uint8_t b : cdb) {
    std::snprintf(hex, sizeof hex, "%02X ", b);
    line += hex;
  }
  const char* dir = direction == ScsiDirection::In    ? "in"
                    : direction == ScsiDirection::Out ? "out"
                                                      : "none";
  std::fprintf(trace_.get(), "%s%s %zu %s %02X/%02X/%02X\n", line.c_str(), dir, length,
               ok ? "good" : "check", sense.key, sense.asc, sense.ascq);
  std::fflush(trace_.get());
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
  Deliver(cdb, data, a, sizeof a);
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
  Deliver(cdb, data, a.data(), a.size());
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
  Deliver(cdb, data, a.data(), a.size());
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
  Deliver(cdb, data, a, sizeof a);
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
    Deliver(cdb, data, a, sizeof a);
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
    Deliver(cdb, data, a, length);
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
  Deliver(cdb, data, a, sizeof a);
  return true;
}

bool VirtualDrive::ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                             Answer& answer) {
  if (cdb.size() < 10 || !config_.hasElsPage || (cdb[2] & kPageCodeMask) != kElsPageCode) {
    answer.sense = kInvalidFieldInCdb;
    return false;
  }
  Deliver(cdb, data, page_.data(), page_.size());
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
