// Drive sources of this system: sysfs optical drives and the virtual drive.
#include "drive/DriveSetup.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/Messages.h"
#include "common/ProfileFile.h"
#include "common/SettingsLocation.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "drive/CELDevice.h"
#include "drive/DiscListing.h"
#include "drive/DiscUnmount.h"
#include "drive/SgioTransport.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {

namespace {

constexpr const char* kOpticalPrefix = "sr";

// The number of an "srN" name, or -1.
long OpticalNumber(const std::string& name) {
  if (name.rfind(kOpticalPrefix, 0) != 0 || name.size() == 2) return -1;
  long n = 0;
  for (std::size_t i = 2; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || n > 1000) return -1;
    n = n * 10 + (name[i] - '0');
  }
  return n;
}

// A short sysfs attribute (vendor, model, rev) without its padding; empty
// when it cannot be read.
std::string SysfsText(const std::string& path) {
  constexpr std::size_t kLongest = 64;
  std::ifstream file(path);
  std::string text;
  if (!file || !std::getline(file, text)) return {};
  if (text.size() > kLongest) text.resize(kLongest);
  return std::string(TrimProfileBlanks(text));
}

// The whole section as text: a changed key makes a new virtual drive.
std::string SectionKey(const ProfileFile& profile, const std::string& section) {
  std::string key;
  for (const std::string& k : profile.Keys(section))
    key += k + "=" + profile.GetRaw(section, k) + "\n";
  return key;
}

// The [VirtualDrive] section with its files taken relative to the settings
// file's folder.
VirtualDriveConfig VirtualConfigOf(const ProfileFile& profile, const std::string& settings) {
  VirtualDriveConfig config = VirtualDriveConfig::FromProfile(profile);
  const std::string folder = SettingsFolderOf(settings);
  for (std::string* path :
       {&config.image, &config.tracePath, &config.burn.etchedPath, &config.burn.capturePath})
    *path = ResolveSettingsPath(folder, *path);
  return config;
}

}  // namespace

std::vector<DriveSource> OpticalDriveSources(const DriveSetupPaths& paths) {
  std::vector<std::pair<long, std::string>> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(paths.sysfsBlock, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const long n = OpticalNumber(name);
    if (n >= 0 && n <= 'Z' - kFirstOpticalLetter) found.emplace_back(n, name);
  }
  std::sort(found.begin(), found.end());

  std::vector<DriveSource> sources;
  for (const auto& [number, name] : found) {
    const std::string node = paths.devDir + "/" + name;
    DriveSource source;
    source.letter = static_cast<char>(kFirstOpticalLetter + number);
    source.device = node;
    source.open = [node]() -> std::shared_ptr<ScsiTransport> { return SgioTransport::Open(node); };
    source.openAccess = [node](DriveAccess access) { return SgioTransport::Open(node, access); };
    const std::string mountInfo = paths.mountInfo;
    source.listTopLevel = [node, mountInfo](std::vector<DiscEntry>& entries) {
      return ListNodeTopLevel(node, mountInfo, entries);
    };
    source.mountFolder = [node, mountInfo] {
      return NodeMountPoint(node, mountInfo).value_or(std::string());
    };
    const std::string identity = paths.sysfsBlock + "/" + name + "/device/";
    source.vendor = SysfsText(identity + "vendor");
    source.product = SysfsText(identity + "model");
    source.revision = SysfsText(identity + "rev");
    sources.push_back(std::move(source));
  }
  return sources;
}

std::string VirtualDriveLockPath(const std::string& settingsPath) {
  const std::filesystem::path settings(settingsPath);
  std::string name = settings.filename().string();
  name.insert(name.begin(), '.');
  name += ".lock";
  return (settings.parent_path() / name).string();
}

DriveCatalog::DriveCatalog(DriveSetupPaths paths) : paths_(std::move(paths)) {}

void DriveCatalog::SetSettingsPath(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (path == paths_.settings) return;
  paths_.settings = path;
  virtual_.reset();
  virtualKey_.clear();
}

std::vector<DriveSource> DriveCatalog::Sources() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<DriveSource> sources;
  const ProfileFile profile = ProfileFile::Load(paths_.settings);
  if (profile.HasSection(kVirtualDriveSection)) {
    const std::string key = SectionKey(profile, kVirtualDriveSection);
    if (!virtual_ || key != virtualKey_) {
      VirtualDriveConfig config = VirtualConfigOf(profile, paths_.settings);
      config.lockPath = VirtualDriveLockPath(paths_.settings);
      virtual_ = std::make_shared<VirtualDrive>(std::move(config));
      virtualKey_ = key;
    }
    sources.push_back(VirtualDrive::SourceFor(virtual_));
  } else {
    virtual_.reset();
    virtualKey_.clear();
  }
  // The virtual drive is listed first so that it wins a shared letter.
  for (DriveSource& s : OpticalDriveSources(paths_)) sources.push_back(std::move(s));
  return sources;
}

std::shared_ptr<VirtualDrive> DriveCatalog::Virtual() {
  std::lock_guard<std::mutex> lock(mutex_);
  return virtual_;
}

DriveCatalog& DefaultDriveCatalog() {
  static DriveCatalog catalog;
  return catalog;
}

DriveSourceProvider DefaultDriveSourceProvider() {
  return [] { return DefaultDriveCatalog().Sources(); };
}

bool OpenDriveByLetter(CELDevice& device, char letter) {
  if (device.EnumerateDrives() == 0) return false;
  if (letter == 0) return true;
  const int index = device.FindDriveIndex(letter);
  if (index < 0) return false;
  device.OpenDrive(index);
  return true;
}

bool ParseDriveChoice(const std::string& text, DriveChoice& choice) {
  choice = {};
  if (text.empty()) return true;
  if (text.find('/') != std::string::npos) {
    choice.device = text;
    return true;
  }
  const char c = text[0];
  const bool isLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (!isLetter || text.size() > 2 || (text.size() == 2 && text[1] != ':')) return false;
  choice.letter = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
  return true;
}

namespace {

// The listed drive the user chose, or -1.
int FindChosen(const CELDevice& device, const DriveChoice& choice) {
  if (choice.letter != 0) return device.FindDriveIndex(choice.letter);
  if (choice.device.empty()) return device.DriveCount() > 0 ? 0 : -1;
  for (int i = 0; i < device.DriveCount(); ++i) {
    const std::string listed = device.DriveDevice(i);
    std::error_code ec;
    if (listed == choice.device || std::filesystem::equivalent(listed, choice.device, ec)) return i;
  }
  return -1;
}

}  // namespace

DriveOpening OpenChosenDrive(CELDevice& device, const DriveChoice& choice, DriveAccess access) {
  DriveOpening opening;
  device.EnumerateDrives();
  opening.index = FindChosen(device, choice);
  if (opening.index < 0) {
    device.CloseDrive();
    opening.error = DriveOpenError::NotListed;
    return opening;
  }
  opening.letter = device.DriveLetter(opening.index);
  opening.device = device.DriveDevice(opening.index);
  const DriveOpenResult result = device.OpenDrive(opening.index, access);
  opening.error = result.error;
  opening.systemError = result.systemError;
  return opening;
}

DriveOpening OpenDriveForBurn(CELDevice& device, const DriveChoice& choice) {
  return OpenChosenDrive(device, choice, DriveAccess::Exclusive);
}

namespace {

// An exclusive open right after an unmount may still meet the kernel
// letting go of the file system: a few short tries.
constexpr int kReopenTries = 5;
constexpr auto kReopenPause = std::chrono::milliseconds(200);

std::string DriveName(const DriveOpening& opening) {
  return opening.letter ? std::string(1, opening.letter) + ": (" + opening.device + ")"
                        : opening.device;
}

std::string Listed(const std::vector<std::string>& points) {
  std::string text;
  for (std::size_t i = 0; i < points.size(); ++i)
    text += (i == 0 ? "" : i + 1 == points.size() ? Tr("DriveSetup", " and ") : ", ") + points[i];
  return text;
}

std::string YourselfText(const std::vector<std::string>& points) {
  std::string commands;
  for (std::size_t i = 0; i < points.size(); ++i)
    commands += (i == 0 ? "" : "; ") + UmountCommand(points[i]);
  return Arg(Tr("DriveSetup", "Unmount it yourself (%1), then burn again."), {commands});
}

std::string UnmountFailure(const DriveOpening& opening, const UnmountResult& result) {
  const std::string name = DriveName(opening);
  const std::string points = Listed(opening.mountPoints);
  const std::string yourself = YourselfText(opening.mountPoints);
  switch (result.outcome) {
    case UnmountOutcome::NoService:
      return Arg(Tr("DriveSetup",
                    "The desktop's disk service (udisks2) is not running, so the disc in drive "
                    "%1 cannot be unmounted from here."),
                 {name}) +
             " " + yourself;
    case UnmountOutcome::Busy:
      return Arg(Tr("DriveSetup",
                    "The disc in drive %1 cannot be unmounted: %2 is busy (a program has a file "
                    "or folder open on it). Close that program, then burn again."),
                 {name, points});
    case UnmountOutcome::NotAllowed:
      return Arg(Tr("DriveSetup", "The disc in drive %1 was not unmounted: %2."),
                 {name, result.detail.empty() ? std::string(Tr("DriveSetup", "not authorised"))
                                              : result.detail}) +
             " " + yourself;
    default:
      return (result.detail.empty()
                  ? Arg(Tr("DriveSetup", "The disc in drive %1 could not be unmounted."), {name})
                  : Arg(Tr("DriveSetup", "The disc in drive %1 could not be unmounted: %2."),
                        {name, result.detail})) +
             " " + yourself;
  }
}

DriveOpening OpenUnmounting(CELDevice& device, DriveOpening opening, const BurnUnmount& unmount) {
  if (opening.error != DriveOpenError::InUse || opening.index < 0) return opening;
  const auto mountsOf = [&unmount](const std::string& node) {
    return unmount.mountsOf ? unmount.mountsOf(node) : NodeMountPoints(node);
  };
  opening.mountPoints = mountsOf(opening.device);
  if (opening.mountPoints.empty()) return opening;  // held by another program
  const std::string name = DriveName(opening);
  const std::string mounted =
      Arg(Tr("DriveSetup", "Drive %1 is in use: its disc is mounted at %2."),
          {name, Listed(opening.mountPoints)}) +
      " ";

  bool go = unmount.permission == UnmountPermission::Always;
  if (unmount.permission == UnmountPermission::Ask && unmount.messages)
    go = unmount.messages->AskYesNo(Arg(Tr("DriveSetup",
                                           "The disc in drive %1 is mounted at %2. Unmount it so "
                                           "that the label can be burned?"),
                                        {name, Listed(opening.mountPoints)}),
                                    MessageIcon::Warning);
  if (!go) {
    opening.message =
        mounted + (unmount.permission == UnmountPermission::Never && !unmount.option.empty()
                       ? Arg(Tr("DriveSetup",
                                "Burn with %1 to have it unmounted, or unmount it yourself (%2)."),
                             {unmount.option, UmountCommand(opening.mountPoints.front())})
                       : YourselfText(opening.mountPoints));
    return opening;
  }

  UnmountResult result;
  result.outcome = UnmountOutcome::NoService;
  if (unmount.service) result = unmount.service->Unmount(opening.device);
  if (result.outcome != UnmountOutcome::Unmounted && result.outcome != UnmountOutcome::NotMounted) {
    opening.message = UnmountFailure(opening, result);
    return opening;
  }
  opening.unmounted = result.outcome == UnmountOutcome::Unmounted;
  for (int attempt = 0; attempt < kReopenTries; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kReopenPause);
    const DriveOpenResult again = device.OpenDrive(opening.index, DriveAccess::Exclusive);
    opening.error = again.error;
    opening.systemError = again.systemError;
    if (again.error != DriveOpenError::InUse) break;
  }
  if (opening.error != DriveOpenError::InUse) {
    opening.message.clear();
    return opening;
  }
  const std::vector<std::string> still = mountsOf(opening.device);
  if (!still.empty()) {
    opening.mountPoints = still;
    opening.message = Arg(Tr("DriveSetup",
                             "Drive %1 is still in use: its disc is still mounted at %2, and that "
                             "mount is busy (a program has a file or folder open on it). Close "
                             "that program, then burn again."),
                          {name, Listed(still)});
  } else {
    opening.mountPoints.clear();
    opening.message = Arg(Tr("DriveSetup",
                             "Drive %1 is still in use by another program, though its disc is no "
                             "longer mounted; close that program, then burn again."),
                          {name});
  }
  return opening;
}

}  // namespace

DriveOpening OpenDriveForBurn(CELDevice& device, const DriveChoice& choice,
                              const BurnUnmount& unmount) {
  return OpenUnmounting(device, OpenDriveForBurn(device, choice), unmount);
}

DriveOpening OpenListedDriveForBurn(CELDevice& device, int index, const BurnUnmount& unmount) {
  DriveOpening opening;
  opening.index = index;
  opening.letter = device.DriveLetter(index);
  opening.device = device.DriveDevice(index);
  const DriveOpenResult result = device.OpenDrive(index, DriveAccess::Exclusive);
  opening.error = result.error;
  opening.systemError = result.systemError;
  if (result.error == DriveOpenError::NotListed) opening.index = -1;
  return OpenUnmounting(device, std::move(opening), unmount);
}

std::string DriveOpening::FailureText() const {
  if (!message.empty() && error != DriveOpenError::None) return message;
  const std::string name = letter ? std::string(1, letter) + ": (" + device + ")" : device;
  switch (error) {
    case DriveOpenError::None:
      return {};
    case DriveOpenError::NotListed:
      return StringText(kStrDriveNotFound);
    case DriveOpenError::InUse:
      return Arg(Tr("DriveSetup",
                    "Drive %1 is in use by another program or mounted; unmount it or "
                    "close that program."),
                 {name});
    case DriveOpenError::NoPermission:
      return Arg(Tr("DriveSetup",
                    "You may not open drive %1: join the cdrom group (sudo usermod "
                    "-aG cdrom $USER), then log out and in again."),
                 {name});
    case DriveOpenError::Gone:
      return Arg(Tr("DriveSetup", "Drive %1 is not there any more; check that it is connected."),
                 {name});
    case DriveOpenError::Failed:
      return Arg(
          Tr("DriveSetup", "Drive %1 cannot be opened: %2."),
          {name, systemError ? std::strerror(systemError) : Tr("DriveSetup", "unknown error")});
  }
  return {};
}

}  // namespace twr
