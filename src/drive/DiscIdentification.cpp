// Disc identification of the drive object: disc kind (with the book-type
// mapping of a DVD-ROM profile), disc status, the label-side signature, the
// outer radius of the recorded data and the ISO 9660 volume descriptor.
#include <algorithm>
#include <array>
#include <cstring>

#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/LabelSignature.h"

namespace twr {

namespace {

// GET CONFIGURATION: feature header with the current profile.
constexpr int kConfigRequestAll = 0;
constexpr int kConfigLength = 32;
constexpr int kCurrentProfileLowByte = 7;
// READ DISC STRUCTURE format 0: physical format information.
constexpr int kStructurePhysical = 0;
constexpr int kStructureLength = 20;
constexpr int kBookTypeByte = 4;
constexpr std::uint8_t kBookTypeMask = 0xF0;
// READ DISC INFORMATION.
constexpr int kDiscInfoLength = 50;
constexpr int kDiscStatusByte = 2;
constexpr std::uint8_t kDiscStatusMask = 0x03;
// READ TOC format 0: the lead-out start address after the last track.
constexpr int kTocFormatFormatted = 0;
constexpr int kTocHeaderLength = 4;
constexpr int kTocLastTrackByte = 3;
constexpr int kTocDescriptorLength = 8;
constexpr int kTocStartAddressOffset = 4;  // within a track descriptor
constexpr int kTocLengthFieldSize = 2;
// ISO 9660 primary volume descriptor.
constexpr std::uint32_t kVolumeDescriptorBlock = 16;
constexpr std::size_t kVolumeIdOffset = 40;
constexpr std::size_t kVolumeIdLength = 32;
constexpr std::size_t kPublisherOffset = 318;
constexpr std::size_t kPublisherLength = 32;
constexpr std::size_t kCreationDateOffset = 813;
constexpr std::size_t kCreationDateLength = 8;

std::uint8_t KindFromBookType(std::uint8_t bookType) {
  switch (bookType) {
    case 0x00:
      return kDiscDvdRom;
    case 0x10:
      return kDiscDvdRam;
    case 0x20:
      return kDiscDvdR;
    case 0x30:
      return kDiscDvdRw;
    case 0x90:
      return kDiscDvdPlusRw;
    case 0xA0:
      return kDiscDvdPlusR;
    default:
      return kDiscUnknown;
  }
}

// A descriptor text field: up to the first NUL, without trailing blanks.
std::string DescriptorText(const std::uint8_t* field, std::size_t length) {
  std::size_t end = 0;
  while (end < length && field[end] != 0) ++end;
  while (end > 0 && field[end - 1] == ' ') --end;
  return std::string(reinterpret_cast<const char*>(field), end);
}

}  // namespace

std::uint8_t CELDevice::GetDiscKind() {
  if (!GetConfiguration(kConfigRequestAll, 0, kConfigLength)) return kDiscNone;
  const std::uint8_t profile = readArea_[kCurrentProfileLowByte];
  if (profile != kDiscDvdRom) return profile;
  // A closed DVD±R may report the DVD-ROM profile; its book type tells.
  if (!ReadDiscStructure(0, 0, kStructurePhysical, kStructureLength)) return kDiscDvdRom;
  return KindFromBookType(readArea_[kBookTypeByte] & kBookTypeMask);
}

std::uint8_t CELDevice::GetDiscStatus() {
  TestUnitReady();
  if (!ReadDiscInformation(kDiscInfoLength)) return kStatusFailed;
  // An answer too short to hold the field is no status (not "blank").
  if (lastTransferred_ <= static_cast<std::uint32_t>(kDiscStatusByte)) return kStatusFailed;
  return readArea_[kDiscStatusByte] & kDiscStatusMask;
}

int CELDevice::IsLabelSide() {
  std::array<std::uint8_t, kFullTocLength> toc{};
  if (!ReadFullToc(toc.data())) return 0;
  for (const LabelSignatureByte& s : kLabelSignature) {
    if (toc[s.offset] != s.value) return 0;
  }
  return 1;
}

double CELDevice::GetRecordedOuterRadius() {
  if (!ReadToc(kTocFormatFormatted, 0, kTocHeaderLength)) return 0.0;
  const std::uint32_t length =
      static_cast<std::uint16_t>(GetBe16(readArea_.data()) + kTocLengthFieldSize);
  if (!ReadToc(kTocFormatFormatted, 0, static_cast<int>(length))) return 0.0;
  // Only bytes the drive was asked for, says it returned and really sent
  // are read: the smallest of the requested length, the length the answer
  // declares and the length transferred.
  const std::uint32_t declared = GetBe16(readArea_.data()) + std::uint32_t{kTocLengthFieldSize};
  const std::uint32_t available = std::min({length, declared, lastTransferred_});
  if (available < static_cast<std::uint32_t>(kTocHeaderLength)) return 0.0;
  const std::uint32_t lastTrack = readArea_[kTocLastTrackByte];
  const std::uint32_t leadOut = kTocHeaderLength + kTocDescriptorLength * lastTrack;
  const std::uint32_t addressAt = leadOut + kTocStartAddressOffset;
  if (addressAt + 4 > available) return 0.0;
  return ReportedRecordedRadiusMm(GetBe32(&readArea_[addressAt]));
}

void CELDevice::ReadVolumeInfo(std::string& volumeName, std::string& publisher, std::string& date) {
  volumeName.clear();
  publisher.clear();
  date.clear();
  if (!Read12(kVolumeDescriptorBlock, kBlockSize, 1)) return;
  const std::uint8_t* pvd = readArea_.data();
  volumeName = DescriptorText(pvd + kVolumeIdOffset, kVolumeIdLength);
  publisher = DescriptorText(pvd + kPublisherOffset, kPublisherLength);
  date = DescriptorText(pvd + kCreationDateOffset, kCreationDateLength);
}

}  // namespace twr
