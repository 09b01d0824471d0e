// The real `twr` binary: exit statuses and what goes to stdout and stderr
// for every command, numbers under a German locale, settings files named
// with --config and the files they name, the wait after a disc is turned
// over, the burn's plain progress lines, a burn stopped by Ctrl-C and a
// series of discs.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "common/TempDir.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

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

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(dir_.empty());
    fs::create_directories(dir_ / "home");
    fs::copy(fs::path(TWR_SOURCE_DIR) / "examples", dir_ / "ex", fs::copy_options::recursive);
    // The examples' virtual drive, at once after an eject.
    std::string ini = ReadFile(dir_ / "ex/twr.ini");
    ini = ini.substr(0, ini.find("; The virtual drive:"));
    layouts_ = ini;
    std::ofstream(dir_ / "ex/twr.ini")
        << ini << "[VirtualDrive]\nDisc=label\nReloadDelay=0\nEtched=etched.png\n";
  }

  // Runs twr in `cwd` (the example folder by default) with the given
  // environment settings prepended, stdin from /dev/null.
  Outcome Twr(const std::vector<std::string>& args, const std::string& env = "",
              const fs::path& cwd = {}) {
    const fs::path out = dir_ / "out.txt", err = dir_ / "err.txt";
    std::string command = "cd " + Quote((cwd.empty() ? dir_ / "ex" : cwd).string()) +
                          " && env -u XDG_CONFIG_HOME HOME=" + Quote((dir_ / "home").string()) +
                          " " + env + " " + Quote(TWR_CLI_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " > " + Quote(out.string()) + " 2> " + Quote(err.string()) + " < /dev/null";
    Outcome r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }

  test::TempDir temp_{"cli"};
  fs::path dir_ = temp_.Path();
  std::string layouts_;  // the example layouts without a virtual drive
};

// Every command, good and bad: the status, a piece of stdout (or "" for
// nothing at all) and a piece of stderr (or "" for nothing at all).
TEST_F(CommandLine, ExitStatusAndTheSplitOfStdoutAndStderr) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* err;
    const char* env = "";
  };
  const std::string longTitle = "A title far longer than the box takes";
  const Case cases[] = {
      {{"--version"}, 0, "twr 1.2.0E\n", ""},
      {{"--help"}, 0, "Usage: twr", ""},
      {{"render", "--help"}, 0, "--etched FILE", ""},
      // Help only: the virtual drive is there, and neither burns nor is asked.
      {{"burn", "--help", "--drive", "V", "--yes"}, 0, "--copies N", ""},
      {{"disc", "--help", "--drive", "V"}, 0, "--json", ""},
      {{}, 2, "", "no command"},
      {{"bogus"}, 2, "", "unknown command 'bogus'"},
      {{"--bogus", "layouts"}, 2, "", "unknown option '--bogus'"},
      {{"layouts"}, 0, "0\tAurora", ""},
      {{"layouts", "--json"}, 0, "{\"settings\":\"./twr.ini\",\"layouts\":[{\"index\":0,", ""},
      {{"layouts", "extra"}, 2, "", "unexpected argument 'extra'"},
      {{"layouts", "--json=1"}, 2, "", "takes no value"},
      {{"layouts", "--config", "none.ini"}, 2, "", "none.ini does not exist"},
      {{"--config", "bg", "layouts"}, 2, "", "bg is a folder"},
      {{"layouts", "--config", "bg/aurora.png"}, 1, "", "Cannot load .ini file.\n"},
      {{"render", "--layout", "x"}, 2, "", "'--layout x' is not a whole number"},
      {{"render", "--layout", "6", "--label", "l.png"}, 2, "", "Layout 6 does not exist"},
      {{"render", "--inner", "25,5"}, 2, "", "'--inner 25,5' is not a number"},
      {{"render", "--label", "label.gif"}, 2, "", "does not end in .png"},
      {{"render", "--label", "l.png", "--quality", "high"}, 2, "", "go with --etched"},
      {{"render", "--etched", "e.png", "--quality", "best"}, 2, "", "is not draft, normal or high"},
      {{"render", "--etched", "e.png", "--rimtone"}, 2, "", "--rimtone needs --disc"},
      {{"render", "--", "--label", "l.png"}, 2, "", "unexpected argument '--label'"},
      {{"render", "--etched", "e.png", "--rimtone", "--disc", "dvd-r", "--inner", "30"},
       2,
       "",
       "Input correct burning area."},
      {{"render", "--etched", "r.png", "--rimtone", "--disc", "dvd+r", "--title", "T"},
       0,
       "band 31.0 - 58.0 mm",
       ""},
      {{"render", "--title", "Hi", "--label", "l.png", "--preview", "p.jpg"},
       0,
       "Wrote the preview (600 x 600) to p.jpg",
       ""},
      {{"render", "--title", longTitle, "--label", "l.png"},
       0,
       "Rendered layout 0",
       "warning: The title"},
      {{"render", "--inner", "25.5", "--outer", "40", "--preview", "p.jpg"},
       0,
       "burning area 25.5 - 40.0 [mm]",
       "",
       "LC_ALL=de_DE.UTF-8"},
      {{"render", "--etched", "e.tif", "--inner", "40", "--outer", "41.5", "--quality", "normal"},
       0,
       "band 40.0 - 41.5 mm, 25 revolutions per step",
       "",
       "LC_ALL=de_DE.UTF-8"},
      {{"drives"}, 0, "(V:)", ""},
      {{"disc", "--drive", "V"}, 0, "Label side:     yes", ""},
      {{"disc", "--drive", "7"}, 2, "", "is neither a drive letter nor a device path"},
      {{"burn", "--quality", "best"}, 2, "", "'--quality best' is not draft, normal or high"},
      {{"burn", "--drive", "Q"}, 1, "", "Etchlume Drive is not found."},
      // A band this far out leaves the title box under the hub: said, and burned.
      {{"burn", "--drive", "V", "--title", "T", "--inner", "40.5", "--outer", "41.5"},
       0,
       "Band 40.5 - 41.5 mm, 11 revolutions per step",
       "twr burn: warning: The title box reaches under the hub (inside 40.5 mm)",
       "LC_ALL=de_DE.UTF-8"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    SCOPED_TRACE(shown + c.env);
    const Outcome r = Twr(c.args, c.env);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (*c.out == '\0')
      EXPECT_EQ(r.out, "");
    else
      EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    if (*c.err == '\0')
      EXPECT_EQ(r.err, "");
    else
      EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  // Each picture is in the format its name says, sized to print at 1:1.
  EXPECT_EQ(ReadFile(dir_ / "ex/l.png").substr(1, 3), "PNG");
  EXPECT_EQ(ReadFile(dir_ / "ex/p.jpg").substr(0, 2), "\xFF\xD8");
  EXPECT_EQ(ReadFile(dir_ / "ex/e.tif").substr(0, 2), "II");
  const QImage label(QString::fromStdString((dir_ / "ex/l.png").string()));
  EXPECT_NEAR(label.width() * 1000.0 / label.dotsPerMeterX(), 116.0, 0.01);
}

// The slips a newcomer makes, each answered with what is wrong and what to
// do: nothing on stdout that claims a result, nothing written, and the
// refused drive, radius or word named with what would do.
TEST_F(CommandLine, MistakesAreToldWithWhatWouldDo) {
  std::ofstream(dir_ / "ex/plain.ini") << layouts_;  // no drive at all
  std::ofstream(dir_ / "ex/empty.ini") << layouts_ << "[VirtualDrive]\nDisc=none\n";
  fs::create_directory(dir_ / "ex/out");
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;  // all of stdout
    const char* err;  // a piece of stderr
  };
  const Case cases[] = {
      {{"render", "--title", "X"},
       2,
       "",
       "twr render: nothing to write: name the files with --label FILE, --preview FILE or "
       "--etched FILE (see 'twr render --help')\n"},
      {{"render", "--title", "X", "--preview", "out/p.png", "--label", "no/such/l.png"},
       1,
       "",
       "Cannot write the label to 'no/such/l.png': the folder no/such does not exist; create it "
       "first (mkdir -p no/such) or name a file in a folder that exists.\n"},
      {{"render", "--title", "X", "--label", "twr.ini/l.png"}, 1, "", "twr.ini is not a folder"},
      {{"render", "--title", "X", "--label", "out/l.png"},
       0,
       "Rendered layout 0 \"Aurora (title arc over the top, notes below)\", burning area 25.0 - "
       "58.0 [mm]\nWrote the label (1655 x 1655) to out/l.png\n",
       ""},
      {{"burn", "--drive", "q", "--title", "X"},
       1,
       "",
       "Etchlume Drive is not found.\ntwr burn: there is no drive Q; the drives that can etch "
       "labels are:\n  (V:) TWRVIRT Etchlume DVD 1.00\n"},
      {{"disc", "--drive", "/dev/nonesuch"}, 1, "", "there is no drive /dev/nonesuch; the drives"},
      {{"burn", "--config", "plain.ini", "--drive", "V"},
       1,
       "",
       "Etchlume Drive is not found.\ntwr burn: there is no drive V, and no drive here can etch "
       "labels ('twr drives --all' tells why for each drive). Without one, the virtual drive "
       "stands in: add a [VirtualDrive] section to plain.ini (see 'man twr').\n"},
      {{"disc", "--config", "plain.ini"}, 1, "", "twr disc: no drive here can etch labels"},
      {{"disc", "--config", "empty.ini"},
       1,
       "Drive:          (V:) TWRVIRT Etchlume DVD 1.00\nDisc:           No disc in the drive.\n",
       "there is no disc in the drive"},
      {{"render", "--inner", "20", "--outer", "50", "--label", "l.png"},
       2,
       "",
       "Input correct burning area.\nInner radius 20 mm: allowed from 25 mm to below the outer "
       "radius (50 mm).\n"},
      {{"design", "save", "d.twrlabel", "--inner", "30", "--outer", "58.5"},
       2,
       "",
       "Input correct burning area.\nOuter radius 58.5 mm: allowed above the inner radius (30 mm) "
       "and at most 58 mm.\n"},
      {{"render", "--etched", "e.png", "--rimtone", "--disc", "dvd-r", "--inner", "30"},
       2,
       "",
       "Inner radius 30 mm: allowed from 36 mm (where the disc's data area ends) to below the "
       "outer radius (58 mm).\n"},
      {{"rendr"}, 2, "", "twr: unknown command 'rendr'; did you mean 'render'?\n"},
      {{"--verison"}, 2, "", "twr: unknown option '--verison'; did you mean '--version'?\n"},
      {{"render", "--titel", "X"},
       2,
       "",
       "twr render: unknown option '--titel'; did you mean '--title'? (see 'twr render --help')"},
      {{"layout", "shwo", "0"}, 2, "", "unknown subcommand 'shwo'; did you mean 'show'?\n"},
      {{"design", "sohw", "d.twrlabel"}, 2, "", "unknown action 'sohw'; did you mean 'show'?\n"},
      {{"frobnicate"}, 2, "", "twr: unknown command 'frobnicate'\n"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    SCOPED_TRACE(shown);
    const Outcome r = Twr(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  // Only the render that was told of wrote anything.
  EXPECT_TRUE(fs::exists(dir_ / "ex/out/l.png"));
  for (const char* file : {"out/p.png", "l.png", "e.png", "d.twrlabel"})
    EXPECT_FALSE(fs::exists(dir_ / "ex" / file)) << file;
}

// `twr layout` in the order a script might use it: every refusal exits 2
// with the reason and writes nothing; what is done is saved with the
// virtual drive's section and comments kept, and reads back as it was set.
TEST_F(CommandLine, LayoutCommandsRefuseWithTheReasonAndKeepTheRestOfTheFile) {
  const fs::path ini = dir_ / "ex/twr.ini";
  const std::string original = ReadFile(ini);
  std::vector<std::string> shown;
  for (int i = 0; i < 6; ++i) shown.push_back(Twr({"layout", "show", std::to_string(i)}).out);
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {{"layout"}, 2, "", "twr layout: no subcommand given"},
      {{"layout", "--help"}, 0, "Usage: twr layout show N [--json]", ""},
      {{"layout", "bogus"}, 2, "", "unknown subcommand 'bogus'"},
      {{"layout", "set", "--help"}, 0, "Usage: twr layout set N KEY=VALUE...", ""},
      {{"layout", "show", "0"}, 0, "[Layout00]\nName=Aurora (title arc over the top", ""},
      {{"layout", "show", "0", "--json"}, 0, "\"TitlePosX\":427,\"TitlePosY\":240,", ""},
      {{"layout", "show"}, 2, "", "twr layout show: needs N [--json]"},
      {{"layout", "show", "x"}, 2, "", "'x' is not a layout number"},
      {{"layout", "show", "6"},
       2,
       "",
       "Layout 6 does not exist: the settings file has 6 layouts, numbered from 0."},
      {{"layout", "set", "0", "TitlePosX=500", "TitleWidth=99999"},
       2,
       "",
       "twr layout set: TitleWidth must be 0 to 1655 label pixels (the side of the label).\n"},
      {{"layout", "set", "0", "Bogus=1"}, 2, "", "'Bogus' is not a key of a layout (the keys: "},
      {{"layout", "set", "0", "TitlePosX"}, 2, "", "'TitlePosX' is not KEY=VALUE"},
      {{"layout", "set", "0", "RingType=one"}, 2, "", "RingType must be a whole number"},
      {{"layout", "set", "1", "InnerRadius=45", "OuterRadius=44"},
       2,
       "",
       "InnerRadius must be 25 to 44 mm (at least 25, at most OuterRadius)."},
      {{"layout", "set", "0", "BgImage=no/such.png"}, 2, "", "no/such.png does not exist"},
      {{"layout", "set", "0", "Name="}, 2, "", "Name must not be empty"},
      {{"layout", "set", "0", "Name=M\xFCller"},
       2,
       "",
       "twr layout set: Name must be UTF-8 text.\n"},
      {{"layout", "set", "0", "BaseLength=231"},
       2,
       "",
       "twr layout set: BaseLength must be 232 to 10000 label pixels for a ring band of 5 mm "
       "(ring text needs a strip of 10 label pixels; RingLength 0 leaves it out).\n"},
      {{"layout", "new", "--from", "9", "--name", "X"}, 2, "", "Layout 9 does not exist"},
      {{"layout", "new"}, 2, "", "twr layout new: needs --name NAME"},
      {{"layout", "move", "0"}, 2, "", "twr layout move: needs N M"},
      {{"layout", "delete", "-1"}, 2, "", "Layout -1 does not exist"},
      // What is done.
      {{"layout", "set", "0", "titleposx=500", "TitlePosY=-20"},
       0,
       "Layout 0: TitlePosX=500 TitlePosY=-20\n",
       ""},
      {{"layout", "set", "1", "InnerRadius=45", "OuterRadius=50"},
       0,
       "Layout 1: InnerRadius=45 OuterRadius=50\n",
       ""},
      {{"layout", "new", "--from", "2", "--name", "Copy of Midnight"},
       0,
       "Added layout 6 \"Copy of Midnight\" (a copy of layout 2)\n",
       ""},
      {{"layout", "new", "--name", "Plain"},
       0,
       "Added layout 7 \"Plain\" (the built-in starting layout)\n",
       ""},
      {{"layout", "move", "6", "0"}, 0, "Moved layout 6 \"Copy of Midnight\" to place 0\n", ""},
      {{"layouts"}, 0, "0\tCopy of Midnight\n1\tAurora", ""},
      {{"layout", "delete", "0"},
       0,
       "Deleted layout 0 \"Copy of Midnight\"; 7 layouts are left\n",
       ""},
      {{"layout", "delete", "6"}, 0, "Deleted layout 6 \"Plain\"; 6 layouts are left\n", ""},
  };
  for (const Case& c : cases) {
    std::string shownArgs;
    for (const std::string& a : c.args) shownArgs += a + " ";
    SCOPED_TRACE(shownArgs);
    const std::string before = ReadFile(ini);
    const Outcome r = Twr(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    if (*c.out == '\0')
      EXPECT_EQ(r.out, "");
    else
      EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    if (*c.err == '\0')
      EXPECT_EQ(r.err, "");
    else
      EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    if (c.status != 0) {
      EXPECT_EQ(ReadFile(ini), before);  // nothing written
    }
  }
  // The keys `twr layout set` names (the layout table's) are the ones the
  // shell completion offers, in the same order.
  const auto words = [](const std::string& text) {
    std::istringstream in(text);
    return std::vector<std::string>(std::istream_iterator<std::string>(in), {});
  };
  std::string named = Twr({"layout", "set", "0", "Bogus=1"}).err;
  named = named.substr(named.find("(the keys: ") + 11);
  named = named.substr(0, named.find(")."));
  std::erase(named, ',');
  std::string offered = ReadFile(fs::path(TWR_SOURCE_DIR) / "packaging/twr.bash-completion");
  offered = offered.substr(offered.find("local keys=\"") + 12);
  offered = offered.substr(0, offered.find('"'));
  EXPECT_EQ(words(offered), words(named));
  EXPECT_EQ(words(named).size(), 33u);

  // Every layout reads as before but for what was set; the virtual drive's
  // section and the comments stay byte for byte.
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  EXPECT_EQ(Twr({"layout", "show", "0"}).out,
            replaced(shown[0], "TitlePosX=427\nTitlePosY=240", "TitlePosX=500\nTitlePosY=-20"));
  EXPECT_EQ(Twr({"layout", "show", "1"}).out,
            replaced(shown[1], "InnerRadius=25\nOuterRadius=58", "InnerRadius=45\nOuterRadius=50"));
  for (int i = 2; i < 6; ++i)
    EXPECT_EQ(Twr({"layout", "show", std::to_string(i)}).out, shown[static_cast<std::size_t>(i)]);
  const std::string now = ReadFile(ini);
  EXPECT_EQ(now.substr(now.find("[VirtualDrive]")),
            original.substr(original.find("[VirtualDrive]")));
  EXPECT_EQ(now.substr(0, now.find("[Layout00]")), original.substr(0, original.find("[Layout00]")));

  // A read-only settings file: named, with why; exit 1.
  fs::permissions(ini, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const Outcome r = Twr({"layout", "set", "0", "BgColor=1"});
  fs::permissions(ini, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "twr layout set: Cannot save the settings file ./twr.ini: the file is read-only.\n");
  EXPECT_EQ(ReadFile(ini), now);
}

// A settings file edited by hand: a name in Windows-1252 is listed, shown
// and saved as UTF-8; a layout the renderer cannot draw is refused with one
// line by `twr render` and `twr design save` alike (numbers with a point
// under a German locale), and taken once it can be drawn.
TEST_F(CommandLine, HandEditedSettingsAreReadOneWayAndRefusedWithTheReason) {
  const fs::path hand = dir_ / "hand";
  fs::create_directories(hand);
  auto write = [&](const std::string& baseLength) {
    std::ofstream(hand / "twr.ini", std::ios::binary)
        << "[Config]\nLayoutNum=1\n[Layout00]\nName=M\xFCller \x80\nBaseLength=" << baseLength
        << "\nTitleWidth=100\nTitleHeight=30\nRingLength=5\nBgImage=bg\xFC.png\nOld=\x1B[2J\n";
  };
  write("100");
  const std::string name = "M\u00FCller \u20AC";
  Outcome r = Twr({"layouts"}, "", hand);
  EXPECT_EQ(r.out, "0\t" + name + "\n");
  r = Twr({"layouts", "--json"}, "", hand);
  EXPECT_EQ(r.out,
            "{\"settings\":\"./twr.ini\",\"layouts\":[{\"index\":0,\"name\":\"" + name + "\"}]}\n");
  // The section as the file holds it: control characters shown as escapes
  // on the terminal, valid UTF-8 in JSON.
  r = Twr({"layout", "show", "0"}, "", hand);
  EXPECT_NE(r.out.find("BgImage=bg\u00FC.png\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Old=\\x1B[2J\n"), std::string::npos) << r.out;
  r = Twr({"layout", "show", "0", "--json"}, "", hand);
  QJsonParseError error{};
  const QJsonObject keys =
      QJsonDocument::fromJson(QByteArray::fromStdString(r.out), &error).object()["keys"].toObject();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out;
  EXPECT_EQ(keys["Name"].toString().toStdString(), name);
  EXPECT_EQ(keys["Old"].toString().toStdString(), "\x1B[2J");
  EXPECT_EQ(r.out.find('\x1B'), std::string::npos) << r.out;

  const std::string why =
      "BaseLength must be 232 to 10000 label pixels for a ring band of 5 mm (ring text needs a "
      "strip of 10 label pixels; RingLength 0 leaves it out).\n";
  r = Twr({"render", "--title", "T", "--preview", "p.png"}, "LC_ALL=de_DE.UTF-8", hand);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Layout 0 cannot be drawn: " + why);
  r = Twr({"render", "--title", "T", "--inner", "40", "--outer", "41.5", "--preview", "p.png"},
          "LC_ALL=de_DE.UTF-8", hand);
  EXPECT_EQ(r.err,
            "Layout 0 cannot be drawn in the burning area 40.0 - 41.5 mm: BaseLength must be 774 "
            "to 10000 label pixels for a ring band of 1.5 mm (ring text needs a strip of 10 label "
            "pixels; RingLength 0 leaves it out).\n");
  r = Twr({"design", "save", "d.twrlabel", "--title", "T"}, "", hand);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(
      r.err.find("\nCannot save the design to 'd.twrlabel': the layout cannot be drawn: " + why),
      std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(hand / "d.twrlabel"));

  write("232");
  r = Twr({"render", "--title", "T", "--preview", "p.png"}, "", hand);
  EXPECT_EQ(r.status, 0) << r.err;
  r = Twr({"design", "save", "d.twrlabel", "--title", "T"}, "", hand);
  EXPECT_EQ(r.status, 0) << r.err;
  r = Twr({"design", "show", "d.twrlabel", "--json"}, "", hand);
  EXPECT_NE(r.out.find("\"layout\":{\"Name\":\"" + name + "\""), std::string::npos) << r.out;
}

// A settings file elsewhere, named with --config from another folder: its
// pictures and the virtual drive's files are found beside it. Its disc is a
// data side, so the burn asks for the disc to be turned over and waits for
// the drive to be ready again, counting down; then it burns, with plain
// progress lines since stdout is a file.
TEST_F(CommandLine, ConfigElsewhereFlipWaitAndPlainProgress) {
  const fs::path conf = dir_ / "conf";
  fs::create_directories(conf);
  fs::copy(dir_ / "ex/bg", conf / "bg");
  std::ofstream(conf / "twr.ini") << layouts_
                                  << "[VirtualDrive]\nDisc=dvd+r\nStatus=complete\nFlip=label\n"
                                     "ReloadDelay=1\nEtched=etched.png\nTrace=trace.txt\n"
                                     "Pace=2\n";
  Outcome r = Twr({"burn", "--config", (conf / "twr.ini").string(), "--drive", "V", "--title",
                   "Flipped", "--inner", "40", "--outer", "41"},
                  "", dir_ / "home");
  // The band this far out leaves the title box under the hub; that warning
  // comes first.
  const std::string hub =
      "twr burn: warning: The title box reaches under the hub (inside 40.0 mm): the part of its "
      "text there will not be burned.\n";
  ASSERT_EQ(r.err.rfind(hub, 0), 0u) << r.err;
  r.err.erase(0, hub.size());
  // A machine loaded by other work may let the paced drive run dry: that
  // burn says so and exits with 3 (its label has gaps); nothing else may
  // go to stderr (the background pictures were found).
  const bool gaps = r.status == 3;
  if (gaps) {
    EXPECT_EQ(r.err.find("Finish Burning.\nThe burn finished with "), 0u) << r.err;
  } else {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("\nFinish Burning.\n"), std::string::npos) << r.out;
  }
  EXPECT_NE(r.out.find("Flip a disc to label-side.\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Waiting for the drive to be ready: "), std::string::npos) << r.out;
  std::istringstream lines(r.out);
  int burning = 0;
  for (std::string line; std::getline(lines, line);) burning += line.rfind("Burning ", 0) == 0;
  EXPECT_GT(burning, 5) << r.out;                  // a line for each percent seen
  EXPECT_EQ(r.out.find('\r'), std::string::npos);  // no live line in a file
  EXPECT_TRUE(fs::exists(conf / "etched.png"));
  EXPECT_TRUE(fs::exists(conf / "trace.txt"));
  EXPECT_FALSE(fs::exists(dir_ / "home" / "etched.png"));
}

// Ctrl-C during a burn: the burn stops after the write in progress, goes
// through its closing steps, and says where it stopped.
TEST_F(CommandLine, InterruptedBurnSaysWhereItStopped) {
  std::ofstream(dir_ / "ex/twr.ini")
      << layouts_ << "[VirtualDrive]\nDisc=label\nReloadDelay=0\nPace=1\n";
  const fs::path out = dir_ / "burn-out.txt", err = dir_ / "burn-err.txt";
  const std::vector<std::string> args = {TWR_CLI_PATH, "burn", "--drive", "V",
                                         "--inner",    "40",   "--outer", "41"};
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const std::string home = "HOME=" + (dir_ / "home").string();
  char* envp[] = {const_cast<char*>(home.c_str()), nullptr};
  const std::string cwd = (dir_ / "ex").string();
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (o < 0 || e < 0 || ::chdir(cwd.c_str()) != 0) _exit(99);
    ::dup2(o, STDOUT_FILENO);
    ::dup2(e, STDERR_FILENO);
    ::execve(argv[0], argv.data(), envp);
    _exit(98);
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ReadFile(out).find("Burning") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  ::kill(pid, SIGINT);
  int raw = 0;
  ASSERT_EQ(::waitpid(pid, &raw, 0), pid);
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 130);
  const std::string said = ReadFile(out), complained = ReadFile(err);
  EXPECT_NE(said.find("Stopping after the write in progress"), std::string::npos) << said;
  EXPECT_NE(said.find("Finish Burning."), std::string::npos) << said;  // the drive's own text
  EXPECT_NE(complained.find("twr burn: stopped after write "), std::string::npos) << complained;
  EXPECT_NE(complained.find("%); the label is not complete."), std::string::npos) << complained;
}

// A burn's ending decides the exit status: gaps after losses of streaming
// (3, the count on stderr), a drive that vanished (1, said as such), a
// writing error (1, its sense in words and what to do); an empty tray is
// "Disc is not found." before anything is ejected.
TEST_F(CommandLine, BurnEndingsAreToldAsTheyAre) {
  struct Case {
    const char* drive;  // the [VirtualDrive] lines
    int status;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {"Disc=label\nFaults=streaming:4,streaming:40\n", 3, "Loss of streaming (2 so far)",
       "Finish Burning.\nThe burn finished with 6 of "},
      {"Disc=label\nFaults=gone:30\n", 1, "", "The drive stopped answering"},
      {"Disc=label\nFaults=error:12:03/0C/00\n", 1, "",
       "medium error: write error. Clean the disc or try another one"},
      {"Disc=none\n", 1, "", "Disc is not found."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.drive);
    fs::remove(dir_ / "ex/trace.txt");
    std::ofstream(dir_ / "ex/twr.ini")
        << layouts_ << "[VirtualDrive]\nReloadDelay=0\nTrace=trace.txt\n"
        << c.drive;
    const Outcome r =
        Twr({"burn", "--drive", "V", "--title", "Ends", "--inner", "40", "--outer", "41"});
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    if (c.status == 3) {
      EXPECT_NE(r.err.find("twr burn: the label has gaps: 6 of "), std::string::npos) << r.err;
    }
    if (std::string(c.drive) == "Disc=none\n") {
      EXPECT_EQ(ReadFile(dir_ / "ex/trace.txt").find("1B 00 00 00 02 00"), std::string::npos);
    }
  }
}

// Commands that draw nothing never start fontconfig or load a font.
TEST_F(CommandLine, CommandsThatDrawNothingOpenNoFonts) {
  if (std::system("command -v strace > /dev/null 2>&1") != 0) GTEST_SKIP() << "no strace";
  const fs::path trace = dir_ / "strace.txt";
  auto fontFiles = [&](const std::vector<std::string>& args) {
    std::vector<std::string> traced = {"-f", "-e",           "trace=open,openat",
                                       "-o", trace.string(), TWR_CLI_PATH};
    traced.insert(traced.end(), args.begin(), args.end());
    // LeakSanitizer cannot run under strace; a sanitized build leaves it out.
    std::string command =
        "cd " + Quote((dir_ / "ex").string()) + " && ASAN_OPTIONS=detect_leaks=0 strace";
    for (const std::string& a : traced) command += " " + Quote(a);
    EXPECT_EQ(std::system((command + " > /dev/null 2>&1").c_str()), 0);
    std::istringstream lines(ReadFile(trace));
    int found = 0;
    for (std::string line; std::getline(lines, line);)
      found += line.find(".so") == std::string::npos &&  // the library itself may load
               (line.find("fontconfig") != std::string::npos ||
                line.find("/fonts/") != std::string::npos);
    return found;
  };
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"layouts"}, {"drives"}, {"disc", "--drive", "V"}, {"--version"}, {"render", "--help"}})
    EXPECT_EQ(fontFiles(args), 0) << args[0];
  EXPECT_GT(fontFiles({"render", "--preview", "p.png"}),
            0);  // the check sees them when they are opened
}

// `twr burn --scan` takes the label's texts from the disc as the window's
// Scan does: the volume name and date, and the top-level entries with the
// folders first; the options given on the command line win.
TEST_F(CommandLine, BurnScanFillsTheLabelFromTheDisc) {
  if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  const fs::path content = dir_ / "content";
  fs::create_directories(content / "Photos" / "inner");
  std::ofstream(content / "a-notes.txt") << "x";
  std::ofstream(content / "Photos" / "inner" / "deep.txt") << "x";
  const std::string iso = (dir_ / "ex" / "disc.iso").string();
  ASSERT_EQ(std::system(("xorriso -as mkisofs -quiet -J -R -V TRIP2026 -o " + Quote(iso) + " " +
                         Quote(content.string()) + " >/dev/null 2>&1")
                            .c_str()),
            0);
  std::ofstream(dir_ / "ex/twr.ini")
      << layouts_ << "[VirtualDrive]\nDisc=dvd+r\nStatus=complete\nImage=disc.iso\n"
      << "ReloadDelay=0\nTrace=trace.txt\n";
  const Outcome r = Twr({"burn", "--scan", "--rimtone", "--inner", "40", "--outer", "41.5",
                         "--date", "given", "--yes"});
  EXPECT_EQ(r.status, 0) << r.err;
  // ISO 9660 lists the root in name order; the label puts folders first.
  EXPECT_NE(r.out.find("Scanned: title 'TRIP2026', date 'given', 2 note lines | [Photos]   | "
                       "a-notes.txt  "),
            std::string::npos)
      << r.out;
  EXPECT_EQ(r.out.find("deep.txt"), std::string::npos);
  EXPECT_NE(r.out.find("Finish Burning."), std::string::npos);
}

// A merge series end to end: three rows (a quoted comma, a note with a line
// break, number fields) burnt one after another on a pile of three discs;
// each disc's etched picture is the simulated etch of its own row's texts,
// and of no other row's.
TEST_F(CommandLine, MergeSeriesBurnsEachRowOnItsOwnDisc) {
  std::ofstream(dir_ / "ex/twr.ini") << layouts_
                                     << "[VirtualDrive]\nDisc=label\nReloadDelay=0\n"
                                        "Etched=etched.png\nDiscs=3\n";
  std::ofstream(dir_ / "ex/trip.csv")
      << "Title,date,note1\r\nAlpha {n} of {N},2026-01-01,First\r\n\"Bravo, {n}\",2026-02-02,"
         "Second\r\nCharlie {n}/{N},2026-03-03,\"Third\r\nline\"\r\n";
  const std::vector<std::string> band = {"--inner", "40.5", "--outer", "41.5"};
  auto with = [&](std::vector<std::string> args) {
    args.insert(args.end(), band.begin(), band.end());
    return args;
  };
  const Outcome r = Twr(with({"burn", "--drive", "V", "--merge", "trip.csv", "--yes"}));
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("Disc 3 of 3\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.substr(r.out.size() - 30), "twr burn: 3 of 3 discs burnt.\n") << r.out;

  const std::vector<std::vector<std::string>> rows = {
      {"--title", "Alpha 1 of 3", "--date", "2026-01-01", "--note", "First"},
      {"--title", "Bravo, 2", "--date", "2026-02-02", "--note", "Second"},
      {"--title", "Charlie 3/3", "--date", "2026-03-03", "--note", "Third", "--note", "line"},
  };
  std::vector<QImage> simulated;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    std::vector<std::string> args = {"render", "--etched", "sim" + std::to_string(k) + ".png"};
    args.insert(args.end(), rows[k].begin(), rows[k].end());
    ASSERT_EQ(Twr(with(args)).status, 0);
    simulated.push_back(QImage(QString::fromStdString((dir_ / "ex" / args[2]).string()))
                            .convertToFormat(QImage::Format_RGB888));
  }
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::string name = k == 0 ? "etched.png" : "etched-" + std::to_string(k + 1) + ".png";
    SCOPED_TRACE(name);
    const QImage etched = QImage(QString::fromStdString((dir_ / "ex" / name).string()))
                              .convertToFormat(QImage::Format_RGB888);
    ASSERT_FALSE(etched.isNull());
    for (std::size_t row = 0; row < rows.size(); ++row)
      EXPECT_EQ(etched == simulated[row], row == k) << "row " << row + 1;
  }
}

// A series whose discs come out with gaps (every burn loses streaming at
// its fifth write): a disc with gaps is a burnt disc; by default the series
// stops after it and says so, with --on-gaps continue it goes on. Exit 3:
// the labels have gaps.
TEST_F(CommandLine, SeriesWithGapsSaysWhereItStopped) {
  std::ofstream(dir_ / "ex/twr.ini") << layouts_
                                     << "[VirtualDrive]\nDisc=label\nReloadDelay=0\n"
                                        "Discs=3\nFaults=streaming:5\n";
  struct Case {
    std::vector<std::string> args;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {{},
       "Disc 1 of 3\n",
       "Series stopped after disc 1 of 3: its label has gaps: 2 of 2771 writes were skipped after "
       "loss of streaming.\nLook at the disc; to go on after a disc with gaps, add --on-gaps "
       "continue, and burn the rest of the series with another twr burn.\ntwr burn: 1 of 3 discs "
       "burnt, 1 of them with gaps.\n"},
      {{"--on-gaps", "continue"},
       "Disc 3 of 3\n",
       "twr burn: 3 of 3 discs burnt, 3 of them with gaps.\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"burn", "--drive", "V",    "--yes",   "--copies",
                                     "3",    "--inner", "40.5", "--outer", "41.5"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome r = Twr(args);
    EXPECT_EQ(r.status, 3) << r.out << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
  }
  EXPECT_EQ(Twr({"burn", "--on-gaps", "maybe"}).status, 2);
}

// A reader that goes away (`twr burn | head -1`) ends neither the burn nor
// its closing steps: the burn runs to its end, the drive's cache is
// synchronised, the label-writing flag cleared, removal allowed and the
// disc ejected, and the exit status is the burn's.
TEST_F(CommandLine, ClosedOutputPipeStillEndsTheBurnThroughItsClosingSteps) {
  std::ofstream(dir_ / "ex/twr.ini") << layouts_
                                     << "[VirtualDrive]\nDisc=label\nReloadDelay=0\n"
                                        "Trace=trace.txt\nPace=8\n";
  const std::string command = "cd " + Quote((dir_ / "ex").string()) +
                              " && env -u XDG_CONFIG_HOME " +
                              "HOME=" + Quote((dir_ / "home").string()) + " bash -c " +
                              Quote(Quote(TWR_CLI_PATH) +
                                    " burn --drive V --yes --inner 40.5 --outer 41.5 2> /dev/null |"
                                    " head -1 > /dev/null; exit ${PIPESTATUS[0]}");
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw));
  // Not ended by SIGPIPE (128 + 13): the burn's own status, clean or, on a
  // machine too slow for the drive's pace (a sanitizer build), with gaps.
  EXPECT_TRUE(WEXITSTATUS(raw) == 0 || WEXITSTATUS(raw) == 3) << WEXITSTATUS(raw);
  std::istringstream trace(ReadFile(dir_ / "ex/trace.txt"));
  std::vector<std::string> opcodes;
  for (std::string line; std::getline(trace, line);) opcodes.push_back(line.substr(0, 2));
  ASSERT_GE(opcodes.size(), 5u);
  // The last write, then the closing steps in their order.
  const std::vector<std::string> closing(opcodes.end() - 5, opcodes.end());
  EXPECT_EQ(closing[0], "35");  // SYNCHRONIZE CACHE
  EXPECT_EQ(closing[2], "55");  // MODE SELECT: the label-writing flag cleared
  EXPECT_EQ(closing[3], "1E");  // ALLOW MEDIUM REMOVAL
  EXPECT_EQ(closing[4], "1B");  // eject
}

// What a series refuses, and how it ends when the next disc does not come:
// the status, a piece of stdout and of stderr; nothing is burnt before a
// refusal of the whole series.
TEST_F(CommandLine, SeriesRefusalsAndEndings) {
  std::ofstream(dir_ / "ex/bad.csv") << "title,note1\nA,x\n\"B\",y,z\nC,w\n";
  std::ofstream(dir_ / "ex/good.csv") << "title\nA\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {{"--merge", "bad.csv"},
       1,
       "",
       "twr burn: bad.csv: row 3: it has 3 fields but the header 2 (a text with a comma must be "
       "written in double quotes); no disc was burnt.\n"},
      {{"--merge", "missing.csv"}, 1, "", "twr burn: missing.csv: it does not exist; no disc"},
      {{"--merge", "good.csv", "--copies", "2"},
       2,
       "",
       "twr burn: --copies and --merge do not go together"},
      {{"--copies", "0"}, 2, "", "'--copies 0' is not a count of discs from 1 to 10000"},
      {{"--copies", "10001"}, 2, "", "'--copies 10001' is not a count of discs from 1 to 10000"},
      {{"--copies", "2", "--disc-wait", "0"},
       2,
       "",
       "'--disc-wait 0' is not a number of seconds from 1 to 3600"},
      // A pile of one disc: the second never comes.
      {{"--copies", "2", "--disc-wait", "1", "--title", "T {n}"},
       1,
       "Disc 1 of 2\n",
       "No disc 2 of 2 was in the drive within 1 s.\nPut the next disc in and burn the rest of "
       "the series with another twr burn.\ntwr burn: 1 of 2 discs burnt.\n"},
  };
  std::ofstream(dir_ / "ex/twr.ini") << layouts_
                                     << "[VirtualDrive]\nDisc=label\nReloadDelay=0\n"
                                        "Etched=etched.png\nDiscs=1\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    fs::remove(dir_ / "ex/etched.png");
    std::vector<std::string> args = {"burn",    "--drive", "V",       "--yes",
                                     "--inner", "40.5",    "--outer", "41.5"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const Outcome r = Twr(args);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    EXPECT_EQ(fs::exists(dir_ / "ex/etched.png"), c.status == 1 && std::string(c.out) != "");
  }
}

// The automatic area: a label whose only marks are ring text at the rim
// burns the rim alone; `twr plan` says so as text and JSON; a label that
// marks nothing is refused before any disc is touched.
TEST_F(CommandLine, AutomaticAreaBurnsOnlyWhatMarks) {
  std::ofstream(dir_ / "ex/twr.ini")
      << "[Config]\nLayoutNum=1\n[Layout00]\nName=Rim\nBgImage=bg/paper.jpg\nTxColor=0\n"
         "BaseLength=1655\nTitleWidth=0\nTitleHeight=0\nRingType=0\nRingLength=2\n"
         "InnerRadius=55\nOuterRadius=57\n"
         "[VirtualDrive]\nDisc=label\nReloadDelay=0\nEtched=etched.png\nTrace=trace.txt\n";
  const Outcome plan = Twr({"plan", "--title", "Rim text", "--area", "auto", "--json"});
  ASSERT_EQ(plan.status, 0) << plan.err;
  // Draft marks the rim only; Normal and High mark white too, so they burn it all.
  for (const char* field :
       {R"("area":"auto")", R"("quality":"draft","marks":true,"innerSetBy":"ring")",
        R"("outerSetBy":"ring","burn":{"inner":55.)", R"("manual":{"inner":55.00,"outer":57.00)",
        R"("quality":"normal","marks":true,"innerSetBy":"limit")"})
    EXPECT_NE(plan.out.find(field), std::string::npos) << field << "\n" << plan.out;
  const Outcome text = Twr({"plan", "--title", "Rim text", "--area", "auto", "--quality", "draft"});
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_NE(text.out.find("inner edge: the ring text (a mark at 5"), std::string::npos) << text.out;

  const Outcome burn =
      Twr({"burn", "--drive", "V", "--yes", "--title", "Rim text", "--area", "auto"});
  EXPECT_EQ(burn.status, 0) << burn.out << burn.err;
  EXPECT_NE(burn.out.find("Band 55."), std::string::npos) << burn.out;
  EXPECT_NE(burn.out.find("Finish Burning."), std::string::npos) << burn.out;

  // Nothing marks: refused by render and burn, and no command reaches the drive.
  fs::remove(dir_ / "ex/trace.txt");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"render", "--area", "auto", "--label", "x.png"},
        std::vector<std::string>{"burn", "--drive", "V", "--yes", "--area", "auto"}}) {
    const Outcome r = Twr(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_NE(r.err.find("Nothing of this label marks the disc at Draft: a burn would leave it "
                         "blank."),
              std::string::npos)
        << r.err;
  }
  EXPECT_EQ(ReadFile(dir_ / "ex/trace.txt").find("\nAA 00"), std::string::npos)
      << "no WRITE(12) may reach the drive";
}

// The QR box end to end: a code rendered into layout 0 of the examples and
// burnt as the simulated etch draws it reads back, byte for byte, with a QR
// reader at Normal and High, also from a design that keeps it; a box too
// small for the quality is warned about.
TEST_F(CommandLine, QrCodeReadsBackFromTheEtchedDisc) {
  if (std::system("command -v zbarimg > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "zbarimg (zbar-tools) is not installed";
  // A 20 mm box on the right of the band, clear of the hub and the rim.
  auto withQrBox = [&](int size) {
    std::string ini = layouts_;
    const std::string qr = "QrPosX=1270\nQrPosY=685\nQrSize=" + std::to_string(size) + "\n";
    ini.insert(ini.find("[Layout01]"), qr);
    std::ofstream(dir_ / "ex/twr.ini") << ini;
  };
  const std::string text =
      "TRIP2026 2026-03-01 12 files 3.4 MB: Photos, a-notes.txt, b-notes.txt, itinerary.pdf";
  struct Case {
    int size;
    const char* quality;
    bool reads;
    bool warned;
  };
  const Case cases[] = {
      {285, "normal", true, false},
      {285, "high", true, false},
      // Under one label pixel a module: neither drawn as a code that reads
      // nor left unwarned.
      {40, "high", false, true},
  };
  for (const Case& c : cases) {
    withQrBox(c.size);
    const Outcome r = Twr({"render", "--qr", text, "--etched", "e.png", "--quality", c.quality});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find("QR code's modules") != std::string::npos, c.warned) << r.err;
    const std::string decode = "zbarimg --quiet --raw -Sdisable -Sqrcode.enable " +
                               Quote((dir_ / "ex/e.png").string()) + " > " +
                               Quote((dir_ / "qr.txt").string()) + " 2> /dev/null";
    const int read = std::system(decode.c_str());
    EXPECT_EQ(read == 0, c.reads) << c.size << " " << c.quality;
    if (c.reads) {
      EXPECT_EQ(ReadFile(dir_ / "qr.txt"), text + "\n") << c.size << " " << c.quality;
    }
  }
  // Kept in a design: saved with its QR text, rendered from the design alone.
  withQrBox(285);
  ASSERT_EQ(Twr({"design", "save", "qr.twrlabel", "--qr", text}).status, 0);
  EXPECT_NE(ReadFile(dir_ / "ex/qr.twrlabel").find("\"QrSize\": 285"), std::string::npos);
  ASSERT_EQ(
      Twr({"render", "--design", "qr.twrlabel", "--etched", "d.png", "--quality", "normal"}).status,
      0);
  const std::string decode = "zbarimg --quiet --raw " + Quote((dir_ / "ex/d.png").string());
  FILE* pipe = popen(decode.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string read;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) read += buffer;
  pclose(pipe);
  EXPECT_EQ(read, text + "\n");
}

}  // namespace
}  // namespace twr
