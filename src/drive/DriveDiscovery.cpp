// Drive discovery of the drive object: the list of drives that answer the
// ELS page, their display strings, and which of them is open.
#include <algorithm>
#include <cctype>

#include "drive/CELDevice.h"
#include "drive/DriveSetup.h"

namespace twr {

namespace {

constexpr int kReadyTries = 3;
constexpr int kMaxDrives = 26;
constexpr std::size_t kVendorOffset = 8;
constexpr std::size_t kVendorLength = 8;
constexpr std::size_t kProductOffset = 16;
constexpr std::size_t kProductLength = 16;
constexpr std::size_t kRevisionOffset = 32;
constexpr std::size_t kRevisionLength = 4;

// An INQUIRY text field: up to the first NUL, without trailing white space.
std::string InquiryText(const std::uint8_t* field, std::size_t length) {
  std::size_t end = 0;
  while (end < length && field[end] != 0) ++end;
  while (end > 0 && std::isspace(field[end - 1])) --end;
  return std::string(reinterpret_cast<const char*>(field), end);
}

std::string DisplayString(char letter, const std::string& vendor, const std::string& product,
                          const std::string& revision) {
  return std::string("(") + letter + ":) " + vendor + " " + product + " " + revision;
}

}  // namespace

void CELDevice::SetDriveSourceProvider(DriveSourceProvider provider) {
  sourceProvider_ = std::move(provider);
}

int CELDevice::EnumerateDrives() {
  if (!passThrough_) return 0;
  driveList_.clear();
  driveLetters_.clear();
  driveSources_.clear();
  driveCount_ = 0;

  std::vector<DriveSource> candidates =
      sourceProvider_ ? sourceProvider_() : DefaultDriveSourceProvider()();
  for (DriveSource& c : candidates)
    c.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(c.letter)));
  std::erase_if(candidates, [](const DriveSource& c) { return c.letter < 'A' || c.letter > 'Z'; });
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const DriveSource& a, const DriveSource& b) { return a.letter < b.letter; });
  // One drive per letter: the first candidate given for a letter wins.
  candidates.erase(
      std::unique(candidates.begin(), candidates.end(),
                  [](const DriveSource& a, const DriveSource& b) { return a.letter == b.letter; }),
      candidates.end());

  for (DriveSource& candidate : candidates) {
    if (driveCount_ >= kMaxDrives) break;
    driveLetters_.push_back(candidate.letter);
    driveSources_.push_back(std::move(candidate));
    ++driveCount_;
    OpenDrive(driveCount_ - 1);
    std::string vendor, product, revision;
    ReadInquiryStrings(vendor, product, revision);
    for (int i = 0; i < kReadyTries; ++i) TestUnitReady();
    if (ModeSense10(kElsPageCode, kModePageLength)) {
      driveList_.push_back(DisplayString(driveLetters_.back(), vendor, product, revision));
    } else {
      driveLetters_.pop_back();
      driveSources_.pop_back();
      --driveCount_;
    }
  }
  OpenDrive(0);
  return driveCount_;
}

std::string CELDevice::GetDriveItem(int index) const {
  if (index < 0 || index >= driveCount_) return {};
  return driveList_[static_cast<std::size_t>(index)];
}

char CELDevice::DriveLetter(int index) const {
  if (index < 0 || index >= driveCount_) return 0;
  return driveLetters_[static_cast<std::size_t>(index)];
}

void CELDevice::OpenDrive(int index) {
  CloseDrive();
  if (driveCount_ == 0) return;
  auto chosen = static_cast<unsigned>(index);
  if (chosen >= static_cast<unsigned>(driveCount_)) chosen = static_cast<unsigned>(driveCount_ - 1);
  const DriveSource& source = driveSources_[chosen];
  // Stored even when the drive cannot be opened: its commands then fail.
  transport_ = source.open ? source.open() : nullptr;
  openIndex_ = static_cast<int>(chosen);
}

void CELDevice::SelectDrive(const std::string& /*itemText*/, int index) {
  OpenDrive(index);
}

void CELDevice::ReadInquiryStrings(std::string& vendor, std::string& product,
                                   std::string& revision) {
  vendor.clear();
  product.clear();
  revision.clear();
  if (!Inquiry()) {
    // Built as whole strings: assigning the literals trips a false
    // -Wrestrict in GCC 12's optimised string code.
    vendor = std::string(1, '-');
    product = std::string("Unknown");
    revision = std::string(1, '-');
    return;
  }
  vendor = InquiryText(&readArea_[kVendorOffset], kVendorLength);
  product = InquiryText(&readArea_[kProductOffset], kProductLength);
  revision = InquiryText(&readArea_[kRevisionOffset], kRevisionLength);
}

int CELDevice::FindDriveIndex(char letter) const {
  const char wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (int i = 0; i < driveCount_; ++i) {
    if (driveLetters_[static_cast<std::size_t>(i)] == wanted) return i;
  }
  return -1;
}

bool CELDevice::ListDiscTopLevel(char letter, std::vector<DiscEntry>& entries) const {
  entries.clear();
  const int index = FindDriveIndex(letter);
  if (index < 0) return false;
  const DriveSource& source = driveSources_[static_cast<std::size_t>(index)];
  return source.listTopLevel && source.listTopLevel(entries);
}

}  // namespace twr
