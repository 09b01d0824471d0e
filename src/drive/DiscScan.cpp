// Volume texts and top-level entry lines of the disc in a drive.
#include "drive/DiscScan.h"

#include <algorithm>

#include "common/Utf8.h"
#include "drive/CELDevice.h"
#include "drive/DiscListing.h"
#include "drive/IsoDirectory.h"

namespace twr {

namespace {
constexpr const char* kEntrySpacing = "  ";
// READ(12) as the drive object sends it holds a 24-bit block address.
constexpr std::uint64_t kMaxRead12Block = 1u << 24;
}  // namespace

DiscTexts LoadDiscTexts(CELDevice& device) {
  DiscTexts texts;
  texts.ready = device.TestUnitReadyTries() != 0;
  if (!texts.ready) return texts;
  std::string title, publisher, date;
  device.ReadVolumeInfo(title, publisher, date);
  // The descriptor's bytes become label text: UTF-8 (other bytes read as
  // Windows-1252), without control characters.
  texts.title = PlainTextFromBytes(title);
  texts.date = PlainTextFromBytes(date);
  return texts;
}

char ScanLetter(const std::string& entryText) {
  if (entryText.size() >= 4 && entryText[0] == '(' && entryText[1] >= 'A' && entryText[1] <= 'Z' &&
      entryText[2] == ':' && entryText[3] == ')')
    return entryText[1];
  return 'D';
}

IsoBlockReader DriveBlockReader(CELDevice& device) {
  return [&device](std::uint32_t lba, std::uint32_t count, std::uint8_t* out) {
    if (!device.IsOpen()) return false;
    const std::uint64_t bytes = std::uint64_t{count} * kIsoBlockSize;
    // READ(12) carries a 24-bit address here; the read area bounds a read.
    if (count == 0 || std::uint64_t{lba} + count > kMaxRead12Block || bytes > kDataAreaSize)
      return false;
    const auto length = static_cast<std::uint32_t>(bytes);
    if (!device.Read12(lba, length, static_cast<int>(count)) ||
        device.LastTransferLength() != length)
      return false;
    std::copy(device.ReadArea(), device.ReadArea() + length, out);
    return true;
  };
}

TopLevelListing ReadTopLevelThroughDrive(CELDevice& device) {
  TopLevelListing listing;
  if (!device.IsOpen()) return listing;
  IsoRootListing iso = ListIsoRoot(DriveBlockReader(device));
  listing.needsMount = iso.result == IsoListingResult::UdfOnly;
  if (iso.result != IsoListingResult::Listed) return listing;
  listing.source = ListingSource::Drive;
  listing.entries = std::move(iso.entries);
  listing.cut = iso.cut;
  return listing;
}

TopLevelListing ListTopLevel(CELDevice& device, char letter) {
  TopLevelListing listing;
  const int index = device.FindDriveIndex(letter);
  if (index < 0) return listing;
  if (device.ListDiscTopLevel(letter, listing.entries)) {
    listing.source = ListingSource::Mount;
    return listing;
  }
  // Only the drive the caller opened is read; no other drive is switched to.
  if (device.OpenIndex() != index) return listing;
  return ReadTopLevelThroughDrive(device);
}

TopLevelListing ListNodeTopLevelOrDrive(CELDevice& device, const std::string& node,
                                        const std::string& mountInfoPath) {
  TopLevelListing listing;
  if (ListNodeTopLevel(node, mountInfoPath, listing.entries)) {
    listing.source = ListingSource::Mount;
    return listing;
  }
  return ReadTopLevelThroughDrive(device);
}

std::vector<std::string> ScanEntryLines(CELDevice& device, char letter, int room,
                                        bool* needsMount) {
  std::vector<std::string> lines;
  const TopLevelListing listing = ListTopLevel(device, letter);
  if (needsMount) *needsMount = listing.needsMount;
  const std::vector<DiscEntry>& entries = listing.entries;
  const auto limit = static_cast<std::size_t>(std::clamp(room, 0, kMaxScanLines));
  for (const DiscEntry& entry : entries) {
    if (lines.size() >= limit) break;
    if (entry.name == "." || entry.name == "..") continue;
    const std::string name = PlainTextFromBytes(entry.name);
    if (name.empty()) continue;  // nothing but control characters
    lines.push_back(entry.folder ? "[" + name + "]" + kEntrySpacing : name + kEntrySpacing);
  }
  return lines;
}

}  // namespace twr
