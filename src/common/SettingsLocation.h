// Where the settings file lives, for `twr` and the window program alike:
// the file named on the command line; otherwise ./twr.ini when it exists;
// otherwise the user's own copy under $XDG_CONFIG_HOME/titlewright (or
// ~/.config/titlewright), made at the first start from the installed default
// layouts and their pictures. Paths inside the file are relative to its folder.
#pragma once

#include <string>

namespace twr {

inline constexpr const char* kSettingsFileName = "twr.ini";
// The folder of the installed defaults next to the program's own folder,
// and the user's folder under the configuration home.
inline constexpr const char* kInstalledDataRelative = "../share/titlewright";
inline constexpr const char* kUserSettingsFolder = "titlewright";
// The default layouts' pictures, copied with the settings file.
inline constexpr const char* kDefaultPicturesFolder = "bg";

// What the search looks at; FromEnvironment fills it from this process.
struct SettingsSearch {
  std::string explicitPath;         // --config FILE; empty when not given
  std::string workingFolder = ".";  // where ./twr.ini is looked for
  std::string configHome;           // $XDG_CONFIG_HOME; empty when unset
  std::string home;                 // $HOME; empty when unset
  std::string dataFolder;           // the installed defaults

  static SettingsSearch FromEnvironment(const std::string& explicitPath);
};

enum class SettingsSource {
  CommandLine,    // --config FILE
  WorkingFolder,  // ./twr.ini
  UserCopy,       // $XDG_CONFIG_HOME/titlewright/twr.ini
};

struct SettingsLocation {
  std::string path;    // the settings file to read
  std::string folder;  // its folder: paths in the file are relative to it
  SettingsSource source = SettingsSource::WorkingFolder;
  bool created = false;  // the user's copy was made by this search
  // Empty when `path` is a regular file; otherwise what is wrong, as a
  // sentence without its full stop ("x.ini does not exist", "there is no
  // ./twr.ini and the installed default layouts (...) are missing; ...").
  std::string problem;

  bool Usable() const { return problem.empty(); }
};

// Finds the settings file, making the user's copy when that is the one to
// use and it does not exist yet (pictures first, the settings file last and
// atomically, so that a copy cut short is made again at the next start).
SettingsLocation LocateSettings(const SettingsSearch& search);

// Why the settings file at `location` gives no layout, in one sentence
// (what is wrong with the file, or that it holds none).
std::string NoLayoutsReason(const SettingsLocation& location);

// The installed data folder: ../share/titlewright beside the folder of the
// running program when that exists, else the folder chosen at build time.
std::string InstalledDataFolder();

// The folder of a settings file ("." for a bare file name).
std::string SettingsFolderOf(const std::string& settingsPath);

// A path named inside the settings file, taken relative to the file's
// folder; an absolute or empty path stays as it is.
std::string ResolveSettingsPath(const std::string& settingsFolder, const std::string& path);

}  // namespace twr
