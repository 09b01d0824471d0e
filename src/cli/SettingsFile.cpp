// Which settings file `twr` reads.
#include "cli/SettingsFile.h"

#include <cstdio>

#include "cli/Print.h"
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
    PrintLine(stderr, Tr("SettingsFile", "twr: --config: %1"), {location.problem});
    return false;
  }
  if (location.created)
    PrintLine(stderr,
              Tr("SettingsFile", "twr: made your own settings file %1 from the default layouts"),
              {location.path});
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
