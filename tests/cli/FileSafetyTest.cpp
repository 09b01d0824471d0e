// Nothing a user has is lost through the real `twr` binary: settings files
// whose LayoutNum is missing, too small, hidden behind a byte order mark or
// absurd; outputs written through a link, over a read-only file, a folder or
// a FIFO; two programs editing one settings file at once; every output
// format on a full disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/ProfileFile.h"
#include "common/TempDir.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 12345;
constexpr gid_t kOtherGroup = 12346;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The names in the folder that start with a dot, but for the settings
// file's edit lock: what a write left behind.
std::vector<std::string> LeftOver(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename();
    if (name[0] == '.' && name.find(".edit-lock") == std::string::npos) names.push_back(name);
  }
  return names;
}

class FileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty());
    fs::create_directories(dir_ / "home");
    fs::copy(fs::path(TWR_SOURCE_DIR) / "examples", dir_ / "ex", fs::copy_options::recursive);
  }

  // The twr command line for `args`, run in the example folder.
  std::string Command(const std::vector<std::string>& args) const {
    std::string command = "cd " + Quote((dir_ / "ex").string()) +
                          " && env -u XDG_CONFIG_HOME HOME=" + Quote((dir_ / "home").string()) +
                          " " + Quote(TWR_CLI_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    return command;
  }

  Outcome Twr(const std::vector<std::string>& args) {
    const fs::path out = dir_ / "out.txt", err = dir_ / "err.txt";
    const std::string command =
        Command(args) + " > " + Quote(out.string()) + " 2> " + Quote(err.string()) + " < /dev/null";
    Outcome r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }

  // Runs the two commands at once; true when both ended with status 0.
  bool Together(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    const std::string script = "(" + Command(a) + ") >/dev/null 2>&1 & first=$!; (" + Command(b) +
                               ") >/dev/null 2>&1; second=$?; wait $first && " +
                               "test $second -eq 0";
    return std::system(script.c_str()) == 0;
  }

  test::TempDir temp_{"filesafety"};
  fs::path dir_ = temp_.Path();
};

// Each hostile case: what twr answers, and the file as it must be after:
// byte for byte as before, or beginning with the text given.
TEST_F(FileSafety, HostileFilesGetAOneLineRefusalOrTheSoundResult) {
  const fs::path ex = dir_ / "ex";
  const fs::path ini = ex / "twr.ini";
  const std::string examples = ReadFile(ini);
  const std::string sections =
      "\n[Layout00]\nName=Aurora\n\n[Layout01]\nName=Paper\n\n[Layout02]\nName=Midnight\n";
  const std::string bomFile = "\xEF\xBB\xBF; mine\n[Config]\nLayoutNum=3\n" + sections;
  struct Case {
    const char* name;
    std::function<void()> make;
    std::vector<std::string> args;
    int status;
    const char* said;        // on stdout for status 0, else on stderr
    fs::path file = {};      // the file checked after, or empty
    std::string after = {};  // what it begins with; empty: byte for byte as before
  };
  const Case cases[] = {
      {"LayoutNum missing: a new layout does not replace layout 0",
       [&] { WriteFile(ini, "[Config]\nFont=Liberation Sans\n" + sections); },
       {"layout", "new", "--name", "New"},
       1,
       "it holds a [Layout00] section beyond the 0 layouts its [Config] LayoutNum counts",
       ini},
      {"LayoutNum too small: \"Midnight\" is not replaced",
       [&] { WriteFile(ini, "[Config]\nLayoutNum=2\n" + sections); },
       {"layout", "new", "--name", "New"},
       1,
       "it holds a [Layout02] section beyond the 2 layouts its [Config] LayoutNum counts",
       ini},
      {"LayoutNum behind a byte order mark is read; the mark and every line stay",
       [&] { WriteFile(ini, bomFile); },
       {"layout", "new", "--name", "New"},
       0,
       "Added layout 3 \"New\" (the built-in starting layout)",
       ini,
       "\xEF\xBB\xBF; mine\n[Config]\nLayoutNum=4\n" + sections + "\n[Layout03]\nName=New\n"},
      {"an absurd LayoutNum is not written over",
       [&] { WriteFile(ini, "[Config]\nLayoutNum=99999999999\n" + sections); },
       {"layout", "set", "0", "BgColor=1"},
       1,
       "its [Config] LayoutNum is 99999999999, more than the 10000 layouts a settings file holds",
       ini},
      {"a link: the picture it names is replaced, keeping its owner and mode",
       [&] {
         WriteFile(ini, examples);
         WriteFile(ex / "linked.png", "old picture");
         ::chmod((ex / "linked.png").c_str(), 0640);
         if (::geteuid() == 0) {
           ASSERT_EQ(::chown((ex / "linked.png").c_str(), kOtherUser, kOtherGroup), 0);
         }
         fs::create_symlink(ex / "linked.png", ex / "link.png");
       },
       {"render", "--label", "link.png"},
       0,
       "Wrote the label (1655 x 1655) to link.png",
       ex / "linked.png",
       "\x89PNG"},
      {"a read-only picture",
       [&] {
         WriteFile(ex / "ro.png", "old picture");
         ::chmod((ex / "ro.png").c_str(), 0444);
       },
       {"render", "--preview", "ro.png"},
       1,
       "Cannot write the preview to 'ro.png': the file is read-only.",
       ex / "ro.png"},
      {"a read-only design",
       [&] {
         WriteFile(ex / "ro.twrlabel", "old design");
         ::chmod((ex / "ro.twrlabel").c_str(), 0444);
       },
       {"design", "save", "ro.twrlabel"},
       1,
       "Cannot save the design to 'ro.twrlabel': the file is read-only.",
       ex / "ro.twrlabel"},
      {"a folder as the label",
       [&] { fs::create_directory(ex / "folder.pdf"); },
       {"render", "--label", "folder.pdf"},
       1,
       "Cannot write the label to 'folder.pdf': it is a folder.",
       {}},
      {"a FIFO as the etched disc, refused without waiting for a reader",
       [&] { ::mkfifo((ex / "fifo.png").c_str(), 0644); },
       {"render", "--etched", "fifo.png"},
       1,
       "Cannot write the etched disc to 'fifo.png': it is not a regular file (a pipe, socket or "
       "device).",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.make();
    const std::string before = c.file.empty() ? std::string() : ReadFile(c.file);
    const Outcome r = Twr(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    const std::string& said = c.status == 0 ? r.out : r.err;
    EXPECT_NE(said.find(c.said), std::string::npos) << said;
    if (c.status != 0) {
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    if (!c.file.empty() && c.after.empty()) {
      EXPECT_EQ(ReadFile(c.file), before);
    } else if (!c.file.empty()) {
      EXPECT_EQ(ReadFile(c.file).rfind(c.after, 0), 0u) << ReadFile(c.file);
    }
    EXPECT_TRUE(LeftOver(ex).empty());
  }
  struct stat info {};
  ASSERT_EQ(::stat((ex / "linked.png").c_str(), &info), 0);
  EXPECT_TRUE(fs::is_symlink(ex / "link.png"));
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (::geteuid() == 0) {
    EXPECT_EQ(info.st_uid, kOtherUser);
    EXPECT_EQ(info.st_gid, kOtherGroup);
  }
}

// Two programs at once, each editing the settings file: every edit stays.
// TWR_EDIT_PAIRS=200 makes it the soak the figures in the change came from.
TEST_F(FileSafety, TwoProgramsEditingAtOnceLoseNothing) {
  const char* pairsText = std::getenv("TWR_EDIT_PAIRS");
  const int pairs = pairsText != nullptr ? std::atoi(pairsText) : 12;
  const fs::path ini = dir_ / "ex" / "twr.ini";
  int lost = 0, failed = 0;
  for (int i = 1; i <= pairs; ++i) {
    const std::string value = std::to_string(i % 250);
    if (!Together({"layout", "set", "1", "BgColor=" + value},
                  {"layout", "set", "2", "BgColor=" + value}))
      ++failed;
    const ProfileFile file = ProfileFile::Load(ini.string());
    for (const char* section : {"Layout01", "Layout02"})
      if (file.GetString(section, "BgColor") != value) ++lost;
  }
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(lost, 0) << "of " << 2 * pairs << " edits";
  const int newPairs = std::max(1, pairs / 4);
  for (int i = 0; i < newPairs; ++i)
    if (!Together({"layout", "new", "--name", "A" + std::to_string(i)},
                  {"layout", "new", "--name", "B" + std::to_string(i)}))
      ++failed;
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(ProfileFile::Load(ini.string()).GetInt("Config", "LayoutNum", 0), 6 + 2 * newPairs);
  const Outcome listed = Twr({"layouts"});
  for (int i = 0; i < newPairs; ++i)
    for (const std::string& name :
         {"\tA" + std::to_string(i) + "\n", "\tB" + std::to_string(i) + "\n"})
      EXPECT_NE(listed.out.find(name), std::string::npos) << name;
}

// Every output on a full disk: refused with the reason, the old file byte
// for byte, nothing left behind. A small tmpfs is the full disk.
TEST_F(FileSafety, AFullDiskKeepsEveryOldFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting the small tmpfs needs root";
  const fs::path full = dir_ / "full";
  fs::create_directory(full);
  const std::string mount = "mount -t tmpfs -o size=2m tmpfs " + Quote(full.string());
  if (std::system((mount + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here (no CAP_SYS_ADMIN?)";
  struct Unmount {
    fs::path at;
    ~Unmount() { std::system(("umount -l " + Quote(at.string())).c_str()); }
  } unmount{full};

  fs::copy(dir_ / "ex" / "twr.ini", full / "twr.ini");
  const std::vector<std::string> names = {"label.png",   "label.jpg",  "label.bmp",
                                          "label.tif",   "label.pdf",  "label.svg",
                                          "preview.png", "etched.png", "design.twrlabel"};
  for (const std::string& name : names) WriteFile(full / name, "old " + name);
  {
    // Filled to the last page (the old files keep theirs).
    struct statvfs space {};
    ASSERT_EQ(::statvfs(full.c_str(), &space), 0);
    const unsigned long long free =
        static_cast<unsigned long long>(space.f_bavail) * space.f_frsize;
    std::ofstream filler(full / "filler", std::ios::binary);
    const std::string block(4096, 'f');
    for (unsigned long long n = 0; n + 4096 <= free; n += 4096) filler.write(block.data(), 4096);
  }
  std::vector<std::vector<std::string>> commands;
  commands.reserve(names.size() + 1);
  for (int i = 0; i < 6; ++i) commands.push_back({"render", "--label", (full / names[i]).string()});
  commands.push_back({"render", "--preview", (full / "preview.png").string()});
  commands.push_back({"render", "--etched", (full / "etched.png").string()});
  commands.push_back({"design", "save", (full / "design.twrlabel").string()});
  const std::string settings = ReadFile(full / "twr.ini");
  commands.push_back({"--config", (full / "twr.ini").string(), "layout", "set", "0", "BgColor=1"});
  for (const std::vector<std::string>& args : commands) {
    SCOPED_TRACE(args.back());
    const Outcome r = Twr(args);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("the disk is full"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("Wrote"), std::string::npos) << r.out;
  }
  for (const std::string& name : names) EXPECT_EQ(ReadFile(full / name), "old " + name) << name;
  EXPECT_EQ(ReadFile(full / "twr.ini"), settings);
  EXPECT_TRUE(LeftOver(full).empty());
}

}  // namespace
}  // namespace twr
