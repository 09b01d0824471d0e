// Where the settings file is found, and the user's copy of the installed
// defaults made at the first start.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/SettingsLocation.h"
#include "label/LabelTestSupport.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

TEST(SettingsLocation, FollowsTheSearchOrder) {
  test::TempSettings tmp;
  const fs::path root = tmp.Folder();
  const fs::path work = root / "work", home = root / "home", data = root / "share";
  fs::create_directories(work);
  fs::create_directories(data / "bg");
  std::ofstream(data / "twr.ini") << "[Config]\nLayoutNum=1\n[Layout00]\nBgImage=bg/a.png\n";
  std::ofstream(data / "bg" / "a.png") << "picture";

  SettingsSearch search;
  search.workingFolder = work.string();
  search.home = home.string();
  search.dataFolder = data.string();

  // No ./twr.ini: the user's copy is made from the defaults, pictures too.
  SettingsLocation first = LocateSettings(search);
  EXPECT_EQ(first.source, SettingsSource::UserCopy);
  EXPECT_EQ(first.path, (home / ".config/titlewright/twr.ini").string());
  EXPECT_TRUE(first.created);
  EXPECT_TRUE(first.Usable()) << first.problem;
  EXPECT_TRUE(fs::exists(home / ".config/titlewright/bg/a.png"));
  // The copy is the user's from then on: not made again, not overwritten.
  std::ofstream(first.path, std::ios::app) << "; mine\n";
  const SettingsLocation second = LocateSettings(search);
  EXPECT_FALSE(second.created);
  EXPECT_EQ(fs::file_size(second.path), fs::file_size(data / "twr.ini") + 7);

  // $XDG_CONFIG_HOME wins over ~/.config; a relative one is ignored.
  search.configHome = (root / "xdg").string();
  EXPECT_EQ(LocateSettings(search).path, (root / "xdg/titlewright/twr.ini").string());
  search.configHome = "relative/xdg";
  EXPECT_EQ(LocateSettings(search).path, second.path);

  // ./twr.ini wins when it exists; --config wins over everything.
  std::ofstream(work / "twr.ini") << "[Config]\n";
  const SettingsLocation local = LocateSettings(search);
  EXPECT_EQ(local.source, SettingsSource::WorkingFolder);
  EXPECT_EQ(local.folder, work.string());
  search.explicitPath = (root / "other.ini").string();
  const SettingsLocation given = LocateSettings(search);
  EXPECT_EQ(given.source, SettingsSource::CommandLine);
  EXPECT_NE(given.problem.find("does not exist"), std::string::npos) << given.problem;
  search.explicitPath = work.string();
  EXPECT_NE(LocateSettings(search).problem.find("is a folder"), std::string::npos);
}

TEST(SettingsLocation, SaysWhyThereIsNoUserCopy) {
  test::TempSettings tmp;
  const fs::path root = tmp.Folder();
  SettingsSearch search;
  search.workingFolder = root.string();
  search.dataFolder = (root / "not-installed").string();
  // No HOME and no XDG_CONFIG_HOME.
  EXPECT_NE(LocateSettings(search).problem.find("neither XDG_CONFIG_HOME nor HOME"),
            std::string::npos);
  // No installed defaults: nothing is made, and the next start tries again.
  search.home = (root / "home").string();
  const SettingsLocation missing = LocateSettings(search);
  EXPECT_FALSE(missing.created);
  EXPECT_NE(missing.problem.find("installed default layouts"), std::string::npos)
      << missing.problem;
  EXPECT_FALSE(fs::exists(missing.path));
  // A folder that cannot be made.
  if (::geteuid() != 0) {
    fs::create_directories(search.dataFolder);
    std::ofstream(fs::path(search.dataFolder) / "twr.ini") << "[Config]\n";
    fs::create_directories(root / "locked");
    fs::permissions(root / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    search.home = (root / "locked").string();
    EXPECT_NE(LocateSettings(search).problem.find("cannot create"), std::string::npos);
    fs::permissions(root / "locked", fs::perms::owner_all);
  }
}

TEST(SettingsLocation, PathsInTheFileAreRelativeToItsFolder) {
  EXPECT_EQ(SettingsFolderOf("twr.ini"), ".");
  EXPECT_EQ(SettingsFolderOf("/home/u/.config/titlewright/twr.ini"), "/home/u/.config/titlewright");
  EXPECT_EQ(ResolveSettingsPath("/cfg", "bg/a.png"), "/cfg/bg/a.png");
  EXPECT_EQ(ResolveSettingsPath("/cfg", "/abs/a.png"), "/abs/a.png");
  EXPECT_EQ(ResolveSettingsPath("/cfg", ""), "");
  EXPECT_EQ(ResolveSettingsPath(".", "etched.png"), "./etched.png");
}

}  // namespace
}  // namespace twr
