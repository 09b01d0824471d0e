// The virtual drive's answers about itself and the disc in its tray: INQUIRY,
// GET CONFIGURATION, READ DISC STRUCTURE, READ DISC INFORMATION, READ TOC,
// MODE SENSE of the ELS page and READ(12) of the disc image.
#include <algorithm>
#include <cstring>
#include <vector>

#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/LabelSignature.h"
#include "drive/virtual/IsoImage.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {

namespace {

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
constexpr std::size_t kStructureAnswerLength = 4 + kBlockSize;
constexpr std::uint8_t kBookPartVersion = 0x01;
constexpr std::uint8_t kDiscSize120MaxRate = 0x02;
constexpr std::uint8_t kLayerEmbossed = 0x01, kLayerRecordable = 0x02, kLayerRewritable = 0x04;
// The physical sector of data block 0.
constexpr std::uint32_t kFirstDataSector = kBlockZeroAddress;

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
  field[1] =
      static_cast<std::uint8_t>(std::min<std::uint64_t>(frames / (std::uint64_t{60} * 75), 0xFF));
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
  std::copy_n(text.data(), std::min(width, text.size()), field);
}

}  // namespace

bool IsVirtualDiscKind(const std::string& kind) {
  for (const KindInfo& info : kKinds) {
    if (kind == info.name) return true;
  }
  return false;
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

bool VirtualDrive::Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                           Answer& answer) {
  // Only the standard data: no vital product data pages.
  if (cdb.size() < 6 || (cdb[1] & kInquiryEvpd) != 0 || cdb[2] != 0)
    return answer.Refuse(kSenseInvalidFieldInCdb);
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
  if (cdb.size() < 10 || (cdb[1] & kRequestTypeMask) > kRequestOne)
    return answer.Refuse(kSenseInvalidFieldInCdb);
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
  return answer.Refuse(kSenseNoMedium);
}

bool VirtualDrive::ReadDiscStructure(std::span<const std::uint8_t> cdb,
                                     std::span<std::uint8_t> data, Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12 || cdb[7] != kStructurePhysical)
    return answer.Refuse(kSenseInvalidFieldInCdb);
  const KindInfo& info = InfoFor(facing_.kind);
  if (info.bookType < 0) return answer.Refuse(kSenseIncompatibleMedium);
  std::vector<std::uint8_t> a(kStructureAnswerLength, 0);
  PutBe16(a.data(), kStructureAnswerLength - 2);
  a[4] = static_cast<std::uint8_t>(info.bookType | kBookPartVersion);
  a[5] = kDiscSize120MaxRate;
  a[6] = info.layerType;
  PutBe32(&a[8], kFirstDataSector);
  PutBe32(&a[12], kFirstDataSector + std::max<std::uint32_t>(RecordedBlocks(), 1) - 1);
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
  if (cdb.size() < 10) return answer.Refuse(kSenseInvalidFieldInCdb);
  const std::uint8_t format = cdb[2] & kTocFormatMask;
  const bool msf = (cdb[1] & kTocMsfBit) != 0;
  const std::uint8_t track = cdb[6];
  if (format == kTocFull && facing_.kind == "label") {
    std::uint8_t a[kFullTocLength] = {};
    PutBe16(a, kFullTocLength - 2);
    a[2] = 1;
    a[3] = 1;
    for (const LabelSignatureByte& s : kLabelSignature) a[s.offset] = s.value;
    answer.transferred = Deliver(cdb, data, a, sizeof a);
    return true;
  }
  if (!HasData() || (format != kTocFormatted && format != kTocFull))
    return answer.Refuse(kSenseInvalidFieldInCdb);
  if (format == kTocFormatted) {
    // One data track and the lead-out; a starting track past the last one
    // (other than the lead-out) is refused, the lead-out alone answered.
    if (track > 1 && track != kLeadOutTrack) return answer.Refuse(kSenseInvalidFieldInCdb);
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
  if (cdb.size() < 10 || !config_.hasElsPage ||
      (cdb[2] & ElsPageLayout::kPageCodeMask) != ElsPageLayout::kPageCode)
    return answer.Refuse(kSenseInvalidFieldInCdb);
  answer.transferred = Deliver(cdb, data, page_.data(), page_.size());
  return true;
}

bool VirtualDrive::Read12(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                          Answer& answer) {
  if (!HasMedium(answer)) return false;
  if (cdb.size() < 12) return answer.Refuse(kSenseInvalidFieldInCdb);
  const std::uint32_t lba = GetBe32(&cdb[2]);
  const std::uint32_t blocks = GetBe32(&cdb[6]);
  if (std::uint64_t{lba} + blocks > RecordedBlocks()) return answer.Refuse(kSenseLbaOutOfRange);
  const std::size_t fit = std::min<std::size_t>(blocks, data.size() / kBlockSize);
  std::fill(data.begin(), data.end(), 0);
  if (image_ && fit > 0 && !image_->ReadBlocks(lba, data.first(fit * kBlockSize)))
    return answer.Refuse(kSenseUnrecoveredReadError);
  return true;
}

}  // namespace twr
