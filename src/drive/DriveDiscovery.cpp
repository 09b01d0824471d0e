// Drive discovery of the drive object: the list of drives that answer the
// ELS page, their display strings, and which of them is open.
#include <algorithm>
#include <cctype>

#include "drive/CELDevice.h"
#include "drive/DriveSetup.h"

namespace twr {

namespace {

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
  return Enumerate(nullptr);
}

int CELDevice::SurveyDrives(std::vector<DriveReport>& reports) {
  reports.clear();
  return Enumerate(&reports);
}

namespace {

DriveReason ReasonForOpenError(DriveOpenError error) {
  switch (error) {
    case DriveOpenError::NoPermission:
      return DriveReason::NoPermission;
    case DriveOpenError::InUse:
      return DriveReason::InUse;
    case DriveOpenError::Gone:
      return DriveReason::Gone;
    default:
      return DriveReason::OpenFailed;
  }
}

// Whether the drive is mounted or another program holds it: an exclusive
// open is refused (a shared open, as discovery's own, never stands in its
// way). The probe's own access ends at once.
bool HeldElsewhere(const DriveSource& source) {
  return OpenDriveSource(source, DriveAccess::Exclusive).error == DriveOpenError::InUse;
}

}  // namespace

int CELDevice::Enumerate(std::vector<DriveReport>* reports) {
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
    DriveReport report;
    report.letter = candidate.letter;
    report.device = candidate.device;
    driveLetters_.push_back(candidate.letter);
    driveSources_.push_back(std::move(candidate));
    ++driveCount_;
    const DriveOpenResult opened = OpenListed(driveCount_ - 1, DriveAccess::Shared);
    const DriveSource& source = driveSources_.back();
    std::string vendor, product, revision;
    const bool answered = InquiryStrings(vendor, product, revision);
    TestUnitReadyTries();
    const bool qualified = ModeSense10(ElsPageLayout::kPageCode, ElsPageLayout::kSize) != 0;
    if (qualified) {
      driveList_.push_back(DisplayString(driveLetters_.back(), vendor, product, revision));
    } else {
      driveLetters_.pop_back();
      --driveCount_;
    }
    if (reports) {
      report.qualifies = qualified;
      report.systemError = opened.systemError;
      if (!answered && !source.vendor.empty()) {
        // A drive that cannot be asked is named as the system names it.
        vendor = source.vendor;
        product = source.product;
        revision = source.revision;
      }
      report.vendor = vendor;
      report.product = product;
      report.revision = revision;
      if (opened.error != DriveOpenError::None) {
        report.reason = ReasonForOpenError(opened.error);
        report.inUse = opened.error == DriveOpenError::InUse;
      } else {
        report.inUse = HeldElsewhere(source);
        if (report.inUse)
          report.reason = DriveReason::InUse;
        else if (qualified)
          report.reason = DriveReason::Qualified;
        else
          report.reason = answered ? DriveReason::NotEtchlume : DriveReason::NoAnswer;
      }
      reports->push_back(std::move(report));
    }
    if (!qualified) driveSources_.pop_back();
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
  // Stored even when the drive cannot be opened: its commands then fail.
  OpenListed(static_cast<int>(chosen), DriveAccess::Shared);
}

DriveOpenResult CELDevice::OpenDrive(int index, DriveAccess access) {
  CloseDrive();
  if (index < 0 || index >= driveCount_) {
    DriveOpenResult result;
    result.error = DriveOpenError::NotListed;
    return result;
  }
  DriveOpenResult result = OpenListed(index, access);
  if (result.error != DriveOpenError::None) CloseDrive();
  return result;
}

DriveOpenResult CELDevice::OpenListed(int index, DriveAccess access) {
  CloseDrive();
  const DriveSource& source = driveSources_[static_cast<std::size_t>(index)];
  DriveOpenResult result = OpenDriveSource(source, access);
  transport_ = result.transport;
  openIndex_ = index;
  return result;
}

void CELDevice::SelectDrive(const std::string& /*itemText*/, int index) {
  OpenDrive(index);
}

void CELDevice::ReadInquiryStrings(std::string& vendor, std::string& product,
                                   std::string& revision) {
  InquiryStrings(vendor, product, revision);
}

bool CELDevice::InquiryStrings(std::string& vendor, std::string& product, std::string& revision) {
  vendor.clear();
  product.clear();
  revision.clear();
  if (!Inquiry()) {
    // Built as whole strings: assigning the literals trips a false
    // -Wrestrict in GCC 12's optimised string code.
    vendor = std::string(1, '-');
    product = std::string("Unknown");
    revision = std::string(1, '-');
    return false;
  }
  vendor = InquiryText(&readArea_[kVendorOffset], kVendorLength);
  product = InquiryText(&readArea_[kProductOffset], kProductLength);
  revision = InquiryText(&readArea_[kRevisionOffset], kRevisionLength);
  return true;
}

std::string CELDevice::DriveDevice(int index) const {
  if (index < 0 || index >= driveCount_) return {};
  return driveSources_[static_cast<std::size_t>(index)].device;
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

std::string CELDevice::DiscMountFolder(char letter) const {
  const int index = FindDriveIndex(letter);
  if (index < 0) return {};
  const DriveSource& source = driveSources_[static_cast<std::size_t>(index)];
  return source.mountFolder ? source.mountFolder() : std::string();
}

}  // namespace twr
