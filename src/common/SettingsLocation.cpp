// Finding the settings file and making the user's copy of the defaults.
#include "common/SettingsLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/ProfileFile.h"
#include "common/Translate.h"
#include "common/WholeFile.h"

#ifndef TWR_INSTALLED_DATA_DIR
#define TWR_INSTALLED_DATA_DIR "/usr/local/share/titlewright"
#endif

namespace twr {

namespace {

namespace fs = std::filesystem;

constexpr const char* kConfigHomeFallback = ".config";

// "" when the path names a regular file, else what it is instead, with its name.
std::string FileProblem(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || status.type() == fs::file_type::not_found)
    return Arg(Tr("SettingsLocation", "%1 does not exist"), {path.string()});
  if (status.type() == fs::file_type::regular) return {};
  if (status.type() == fs::file_type::directory)
    return Arg(Tr("SettingsLocation", "%1 is a folder, not a settings file"), {path.string()});
  return Arg(Tr("SettingsLocation", "%1 is not a regular file"), {path.string()});
}

std::string Getenv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Copies the installed settings file and its pictures into `folder`. Files
// already there are kept. The settings file goes last, whole in one step,
// so that it only exists once everything it names is in place.
std::string MakeUserCopy(const fs::path& data, const fs::path& folder) {
  const fs::path source = data / kSettingsFileName;
  if (!FileProblem(source).empty())
    return Arg(Tr("SettingsLocation",
                  "there is no ./%1 and the installed default layouts (%2) are missing; name a "
                  "settings file with --config"),
               {kSettingsFileName, source.string()});
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec)
    return Arg(Tr("SettingsLocation", "cannot create the folder %1: %2"),
               {folder.string(), ec.message()});
  const fs::path pictures = data / kDefaultPicturesFolder;
  if (fs::is_directory(pictures, ec)) {
    fs::copy(pictures, folder / kDefaultPicturesFolder,
             fs::copy_options::recursive | fs::copy_options::skip_existing, ec);
    if (ec)
      return Arg(Tr("SettingsLocation", "cannot copy the default pictures to %1: %2"),
                 {(folder / kDefaultPicturesFolder).string(), ec.message()});
  }
  // Another program starting at the same moment may have made it first:
  // that copy is kept.
  const fs::path target = folder / kSettingsFileName;
  std::string bytes, problem;
  if (!ReadRegularFile(source.string(), kMaxSettingsFileBytes, bytes, problem))
    return Arg(Tr("SettingsLocation", "cannot read the default layouts %1: %2"),
               {source.string(), problem});
  const FileWriteResult written = CreateFileAtomically(target.string(), bytes);
  if (!written.ok && !written.exists)
    return Arg(Tr("SettingsLocation", "cannot copy the default layouts to %1: %2"),
               {target.string(), written.problem});
  return {};
}

}  // namespace

SettingsSearch SettingsSearch::FromEnvironment(const std::string& explicitPath) {
  SettingsSearch search;
  search.explicitPath = explicitPath;
  search.configHome = Getenv("XDG_CONFIG_HOME");
  search.home = Getenv("HOME");
  search.dataFolder = InstalledDataFolder();
  return search;
}

SettingsLocation LocateSettings(const SettingsSearch& search) {
  SettingsLocation location;
  if (!search.explicitPath.empty()) {
    location.source = SettingsSource::CommandLine;
    location.path = search.explicitPath;
    location.folder = SettingsFolderOf(location.path);
    location.problem = FileProblem(location.path);
    return location;
  }

  const fs::path local = fs::path(search.workingFolder) / kSettingsFileName;
  if (FileProblem(local).empty()) {
    location.source = SettingsSource::WorkingFolder;
    location.path = local.string();
    location.folder = search.workingFolder;
    return location;
  }

  // The XDG rule: an unset or relative $XDG_CONFIG_HOME means ~/.config.
  fs::path configHome = search.configHome;
  if (configHome.empty() || configHome.is_relative()) {
    if (search.home.empty()) {
      location.path = local.string();
      location.folder = search.workingFolder;
      location.problem = Arg(Tr("SettingsLocation",
                                "there is no ./%1, and neither XDG_CONFIG_HOME nor HOME is set to "
                                "find your own copy; name a settings file with --config"),
                             {kSettingsFileName});
      return location;
    }
    configHome = fs::path(search.home) / kConfigHomeFallback;
  }
  const fs::path folder = configHome / kUserSettingsFolder;
  location.source = SettingsSource::UserCopy;
  location.path = (folder / kSettingsFileName).string();
  location.folder = folder.string();
  if (FileProblem(location.path).empty()) return location;
  if (std::error_code ec; fs::exists(location.path, ec)) {
    location.problem = FileProblem(location.path);
    return location;
  }
  location.problem = MakeUserCopy(search.dataFolder, folder);
  location.created = location.problem.empty();
  return location;
}

std::string InstalledDataFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    const fs::path beside = (program.parent_path() / kInstalledDataRelative).lexically_normal();
    if (fs::is_directory(beside, ec)) return beside.string();
  }
  return TWR_INSTALLED_DATA_DIR;
}

std::string SettingsFolderOf(const std::string& settingsPath) {
  const fs::path folder = fs::path(settingsPath).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

std::string ResolveSettingsPath(const std::string& settingsFolder, const std::string& path) {
  if (path.empty() || settingsFolder.empty()) return path;
  const fs::path p(path);
  if (p.is_absolute()) return path;
  return (fs::path(settingsFolder) / p).string();
}

std::string NoLayoutsReason(const SettingsLocation& location) {
  if (!location.Usable()) return location.problem + ".";
  if (!ProfileFile::Load(location.path).Exists())
    return Arg(Tr("SettingsLocation", "%1 does not exist or cannot be read."), {location.path});
  return Arg(Tr("SettingsLocation", "%1 holds no layout: [Config] LayoutNum is missing or 0."),
             {location.path});
}

}  // namespace twr
