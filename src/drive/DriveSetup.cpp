// Drive sources of this system: sysfs optical drives and the virtual drive.
#include "drive/DriveSetup.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "common/ProfileFile.h"
#include "common/SettingsLocation.h"
#include "drive/CELDevice.h"
#include "drive/DiscListing.h"
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
    // A node the user may not open is not offered at all.
    if (::access(node.c_str(), R_OK | W_OK) != 0 && errno == EACCES) continue;
    DriveSource source;
    source.letter = static_cast<char>(kFirstOpticalLetter + number);
    source.device = node;
    source.open = [node]() -> std::shared_ptr<ScsiTransport> { return SgioTransport::Open(node); };
    const std::string mountInfo = paths.mountInfo;
    source.listTopLevel = [node, mountInfo](std::vector<DiscEntry>& entries) {
      return ListNodeTopLevel(node, mountInfo, entries);
    };
    sources.push_back(std::move(source));
  }
  return sources;
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
      virtual_ = std::make_shared<VirtualDrive>(VirtualConfigOf(profile, paths_.settings));
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

}  // namespace twr
