// Which settings file `twr` reads.
#include "cli/SettingsFile.h"

#include <cstdio>

#include "common/Messages.h"
#include "drive/DriveSetup.h"
#include "label/LayoutSettings.h"

namespace twr::cli {

namespace {

SettingsLocation& Current() {
  static SettingsLocation location{kSettingsPath, ".", SettingsSource::WorkingFolder, false, {}};
  return location;
}

}  // namespace

bool UseSettingsFile(const std::string& config) {
  const SettingsLocation location = LocateSettings(SettingsSearch::FromEnvironment(config));
  if (location.source == SettingsSource::CommandLine && !location.Usable()) {
    std::fprintf(stderr, "twr: --config: %s\n", location.problem.c_str());
    return false;
  }
  if (location.created)
    std::fprintf(stderr, "twr: made your own settings file %s from the default layouts\n",
                 location.path.c_str());
  Current() = location;
  DefaultDriveCatalog().SetSettingsPath(location.path);
  return true;
}

const SettingsLocation& Settings() {
  return Current();
}

std::string NoLayoutsDetail(const std::string& path) {
  if (path == Current().path) return NoLayoutsReason(Current());
  SettingsLocation other;
  other.path = path;
  return NoLayoutsReason(other);
}

void ShowNoLayouts(Messages& messages, const std::string& path) {
  messages.ShowDetailed(StringText(kStrCannotLoadIni), NoLayoutsDetail(path), MessageIcon::Error);
}

}  // namespace twr::cli
