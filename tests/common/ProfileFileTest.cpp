// Settings-file lookups and the atomic write.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/TempDir.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class TempDir : public ::testing::Test {
 protected:
  // A folder the tests may have made unwritable is opened again first.
  void TearDown() override {
    if (!dir_.empty()) fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
  }
  test::TempDir temp_{"profile"};
  fs::path dir_ = temp_.Path();
};

TEST(ProfileFile, LookupsFollowTheProfileRules) {
  ProfileFile p = ProfileFile::Parse(
      "; comment\r\n[Config]\r\n  layoutnum =  3  \r\nFont=Liberation Sans\r\n"
      "[Layout00]\nName = First\nBgColor=300\nTxColor=\nBaseLength=-12abc\nJunk=abc\n"
      "Quoted=\"  spaced  \"\n[layout00]\nName=Duplicate section is not consulted\n");
  EXPECT_EQ(p.GetInt("CONFIG", "LayoutNum", 0), 3);
  EXPECT_EQ(p.GetString("config", "FONT"), "Liberation Sans");
  EXPECT_EQ(p.GetString("Layout00", "Name"), "First");
  EXPECT_EQ(p.GetInt("Layout00", "BgColor", 255), 300);
  EXPECT_EQ(p.GetInt("Layout00", "TxColor", 7), 7);          // empty value: default
  EXPECT_EQ(p.GetInt("Layout00", "BaseLength", 1655), -12);  // leading number
  EXPECT_EQ(p.GetInt("Layout00", "Junk", 5), 0);             // no number at all
  EXPECT_EQ(p.GetInt("Layout00", "Missing", 58), 58);
  EXPECT_EQ(p.GetString("Layout00", "Missing"), "");
  EXPECT_EQ(p.GetString("Layout00", "Quoted"), "  spaced  ");
  EXPECT_EQ(p.GetInt("Nowhere", "LayoutNum", 4), 4);
  EXPECT_EQ(p.GetInt("Layout00", "BgColor", 0) & 0xFF, 44);
  // A UTF-8 byte order mark before the first section is read as nothing.
  EXPECT_EQ(
      ProfileFile::Parse("\xEF\xBB\xBF[Config]\nLayoutNum=4\n").GetInt("Config", "LayoutNum", 0),
      4);
}

TEST(ProfileFile, LaterDuplicateSectionIsNeverConsulted) {
  ProfileFile p = ProfileFile::Parse(
      "[Layout00]\nName=First\n[Config]\nLayoutNum=1\n[LAYOUT00]\nName=Second\nBgColor=9\n");
  EXPECT_EQ(p.GetString("Layout00", "Name"), "First");
  EXPECT_FALSE(p.HasKey("Layout00", "BgColor"));
  EXPECT_EQ(p.GetInt("Layout00", "BgColor", 255), 255);
  EXPECT_EQ(p.Keys("layout00"), std::vector<std::string>{"Name"});
}

// Within the first section of a name, the first key of a name wins whatever
// its case; Keys lists each name once, in its first spelling, in file order.
TEST(ProfileFile, FirstKeyOfANameWinsInTheFirstSection) {
  ProfileFile p = ProfileFile::Parse(
      "[Drive]\nImage=a.iso\nTrace = t.txt\nIMAGE=b.iso\nimage=c.iso\n[drive]\nPace=4\n"
      "[Other]\nimage=d.iso\n");
  EXPECT_EQ(p.GetRaw("DRIVE", "image"), "a.iso");
  EXPECT_EQ(p.GetRaw("other", "Image"), "d.iso");
  EXPECT_FALSE(p.HasKey("Drive", "Pace"));
  EXPECT_TRUE(p.HasSection("dRiVe"));
  EXPECT_FALSE(p.HasSection("Driv"));
  EXPECT_EQ(p.Keys("drive"), (std::vector<std::string>{"Image", "Trace"}));
  EXPECT_TRUE(p.Keys("Missing").empty());
}

TEST(ProfileFile, StringsAreCutTo79Bytes) {
  std::string face79(79, 'f'), face90(90, 'g');
  ProfileFile p = ProfileFile::Parse("[Config]\nA=" + face79 + "\nB=" + face90 + "\n");
  EXPECT_EQ(p.GetString("Config", "A"), face79);
  EXPECT_EQ(p.GetString("Config", "B"), std::string(79, 'g'));
  EXPECT_EQ(p.GetRaw("Config", "B"), face90);
}

TEST(ProfileFile, MissingFileGivesDefaults) {
  ProfileFile p = ProfileFile::Load("/nonexistent/twr.ini");
  EXPECT_FALSE(p.Exists());
  EXPECT_EQ(p.GetInt("Config", "LayoutNum", 0), 0);
}

TEST_F(TempDir, EditKeepsEveryOtherLineByteForByte) {
  const fs::path ini = dir_ / "twr.ini";
  const std::string before =
      "; my layouts\r\n[Config]\r\nLayoutNum=1\r\nFont=Old Face\r\n\r\n[Layout00]\r\nName=A\r\n";
  std::ofstream(ini, std::ios::binary) << before;
  auto set = [](const fs::path& file, const char* section, const char* key, const char* value) {
    return ApplySettingsChanges(file.string(), {{section, {{key, value}}, false, {}}});
  };
  ASSERT_TRUE(set(ini, "config", "font", "New Face").ok);
  EXPECT_EQ(
      ReadFile(ini),
      "; my layouts\r\n[Config]\r\nLayoutNum=1\r\nFont=New Face\r\n\r\n[Layout00]\r\nName=A\r\n");
  // A key the section lacks goes after its last key, before the blank line.
  ASSERT_TRUE(set(ini, "Layout00", "BgColor", "128").ok);
  ASSERT_TRUE(set(ini, "Config", "Extra", "1").ok);
  EXPECT_EQ(ReadFile(ini),
            "; my layouts\r\n[Config]\r\nLayoutNum=1\r\nFont=New Face\r\nExtra=1\r\n\r\n"
            "[Layout00]\r\nName=A\r\nBgColor=128\r\n");
  // A missing section is appended; a missing file is created.
  const fs::path fresh = dir_ / "fresh.ini";
  ASSERT_TRUE(set(fresh, "Config", "Font", "X").ok);
  EXPECT_EQ(ReadFile(fresh), "[Config]\r\nFont=X\r\n");
  EXPECT_EQ(ProfileFile::Load(fresh.string()).GetString("Config", "Font"), "X");
  // Line breaks in a value would forge new lines: refused.
  EXPECT_FALSE(set(fresh, "Config", "Font", "a\nLayoutNum=9").ok);
  EXPECT_EQ(ReadFile(fresh), "[Config]\r\nFont=X\r\n");
  // A folder in the way of the file's folder: refused, nothing made.
  const fs::path notDir = dir_ / "plain";
  std::ofstream(notDir) << "x";
  EXPECT_FALSE(set(notDir / "twr.ini", "Config", "Font", "F").ok);
  EXPECT_EQ(ReadFile(notDir), "x");
}

TEST_F(TempDir, AFullDiskNeverLeavesAHalfWrittenFile) {
  // A file-size limit makes every write past it fail as a full disk would,
  // for root too.
  const fs::path ini = dir_ / "twr.ini";
  const std::string before = "[Config]\nLayoutNum=2\nFont=Keep\n";
  std::ofstream(ini, std::ios::binary) << before;
  const std::string longFace(200, 'x');
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit tight = saved;
  tight.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
  const FileWriteResult written =
      ApplySettingsChanges(ini.string(), {{"Config", {{"Font", longFace}}, false, {}}});
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(ReadFile(ini), before);
  for (const auto& entry : fs::directory_iterator(dir_))  // no temporary left behind
    EXPECT_TRUE(entry.path().filename() == "twr.ini" ||
                entry.path().filename() == ".twr.ini.edit-lock")
        << entry.path();
}

// Many changes in one rewrite: each case's text before and after, every
// line not named by a change kept as it was.
TEST(ProfileFile, ChangesInOneRewriteKeepEveryOtherLine) {
  struct Case {
    const char* name;
    std::string before;
    std::vector<ProfileSectionChange> changes;
    std::string after;
  };
  const Case cases[] = {
      {"a new key at the end of a file without a last line end",
       "[A]\nx=1",
       {{"a", {{"y", "2"}}, false, {}}},
       "[A]\nx=1\ny=2\n"},
      {"a new key after the section's last key, not after its trailing comment",
       "[A]\nx = 1\n; about B\n[B]\n",
       {{"A", {{"Y", "2"}, {"X", "3"}}, false, {}}},
       "[A]\nx = 3\nY=2\n; about B\n[B]\n"},
      {"new sections chained after an existing one, before what follows it",
       "[L0]\nk=0\n\n; tail\n[Tail]\nt=1\n",
       {{"L1", {{"k", "1"}}, false, "L0"}, {"L2", {{"k", "2"}}, false, "L1"}},
       "[L0]\nk=0\n\n[L1]\nk=1\n\n[L2]\nk=2\n\n; tail\n[Tail]\nt=1\n"},
      {"a section removed with the blank line before it; its comment stays",
       "[A]\na=1\n\n[B]\nb=1\n; about C\n[C]\n",
       {{"b", {}, true, {}}},
       "[A]\na=1\n; about C\n[C]\n"},
      {"every line of a removed key; a later duplicate section untouched",
       "[A]\nk=1\nj=2\nk=3\n[A]\nk=4\n",
       {{"A", {{"k", std::nullopt}}, false, {}}},
       "[A]\nj=2\n[A]\nk=4\n"},
      {"an empty file gets CR LF lines",
       "",
       {{"Config", {{"LayoutNum", "1"}}, false, {}}},
       "[Config]\r\nLayoutNum=1\r\n"},
      {"a missing section to remove and an unknown one to follow: nothing odd",
       "[A]\r\n",
       {{"Gone", {}, true, {}}, {"New", {{"n", "1"}}, false, "Nowhere"}},
       "[A]\r\n\r\n[New]\r\nn=1\r\n"},
      {"a byte order mark is read as nothing and stays where it is",
       "\xEF\xBB\xBF[Config]\nLayoutNum=2\n",
       {{"Config", {{"LayoutNum", "3"}}, false, {}}, {"Layout02", {{"k", "1"}}, false, "Config"}},
       "\xEF\xBB\xBF[Config]\nLayoutNum=3\n\n[Layout02]\nk=1\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    ASSERT_TRUE(ApplyProfileChanges(c.before, c.changes, out)) << c.name;
    EXPECT_EQ(out, c.after) << c.name;
  }
  std::string out = "unchanged";
  EXPECT_FALSE(ApplyProfileChanges("[A]\n", {{"A", {{"k", "a\nb"}}, false, {}}}, out));
  EXPECT_FALSE(ApplyProfileChanges("[A]\n", {{"A", {{"k=v", "1"}}, false, {}}}, out));
  EXPECT_EQ(out, "unchanged");
}

}  // namespace
}  // namespace twr
