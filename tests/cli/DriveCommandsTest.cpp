// `twr drives` and `twr disc` end to end in a folder of their own: results on
// stdout, errors and warnings on stderr, exit codes, the JSON fields, names
// from a disc shown safely, and a FIFO in the settings that must not stall
// them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/TempDir.h"
#include "common/Utf8.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

class DriveCommands : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(dir_.empty()); }

  void Settings(const std::string& section) {
    std::ofstream(dir_ / "twr.ini") << "[Config]\nLayoutNum=0\n[VirtualDrive]\n" << section;
  }

  static std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Runs twr in the folder; a run that takes over 20 s is killed (status 124).
  Outcome Twr(const std::string& arguments, const std::string& environment = "") {
    const std::string command = "cd '" + dir_.string() + "' && " + environment +
                                " timeout 20 '" TWR_CLI_PATH "' " + arguments +
                                " > out.txt 2> err.txt";
    Outcome run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Read(dir_ / "out.txt");
    run.err = Read(dir_ / "err.txt");
    return run;
  }

  twr::test::TempDir temp_{"cli"};
  fs::path dir_ = temp_.Path();
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(DriveCommands, ListsDrivesWithReasonsAsTextAndJson) {
  Settings("Letter=V\n");
  struct Case {
    const char* arguments;
    int status;
    const char* out;  // must be in stdout
  };
  const Case cases[] = {
      {"drives", 0, "(V:) TWRVIRT Etchlume DVD 1.00\n"},
      {"drives --all", 0, "(V:) TWRVIRT Etchlume DVD 1.00  virtual: can etch labels\n"},
      {"drives --json", 0,
       "{\"drives\":[{\"letter\":\"V\",\"device\":\"virtual\",\"vendor\":\"TWRVIRT\","
       "\"product\":\"Etchlume DVD\",\"revision\":\"1.00\",\"item\":\"(V:) TWRVIRT Etchlume DVD "
       "1.00\",\"qualifies\":true,\"inUse\":false,\"reason\":\"ok\",\"message\":\"can etch "
       "labels\"}]}\n"},
  };
  for (const Case& c : cases) {
    const Outcome run = Twr(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
    EXPECT_TRUE(Has(run.out, c.out)) << c.arguments << "\n" << run.out;
    if (c.status == 0) {
      EXPECT_EQ(run.err, "") << c.arguments;
    }
  }

  // Nothing qualifies: the message, then each drive seen with its reason,
  // all on stderr; JSON still lists every drive with --all.
  Settings("Letter=W\nElsPage=0\n");
  Outcome run = Twr("drives");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(Has(run.err,
                  "Etchlume Drive is not found.\n(W:) TWRVIRT Etchlume DVD 1.00  virtual: cannot "
                  "etch labels: it refuses the ELS page (mode page 0x2D)\n"))
      << run.err;
  run = Twr("drives --all --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "\"qualifies\":false,\"inUse\":false,\"reason\":\"not-etchlume\""))
      << run.out;
}

TEST_F(DriveCommands, IdentifiesTheDiscAndFailsWithoutOne) {
  Settings("Disc=dvd+r\nStatus=complete\nRecorded=1000000\n");
  // The radius keeps its point under a German locale.
  Outcome run = Twr("disc --drive v:", "LC_ALL=de_DE.UTF-8");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Disc:           DVD+R complete\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "Recorded outer: 43.3 mm\n")) << run.out;
  run = Twr("disc --json");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out,
                  "\"disc\":{\"present\":true,\"name\":\"DVD+R complete\",\"verdict\":1,"
                  "\"kind\":27,\"status\":2,\"labelSide\":false,"
                  "\"recordedOuterRadiusMm\":43.3,"))
      << run.out;

  Settings("Disc=none\n");
  run = Twr("disc");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "Disc:           No disc in the drive.\n")) << run.out;
  EXPECT_FALSE(Has(run.out, "Kind:")) << run.out;  // an empty tray has none
  EXPECT_TRUE(Has(run.err, "no disc in the drive")) << run.err;
  run = Twr("disc --json");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "\"disc\":{\"present\":false,")) << run.out;

  // A drive that is not listed, and a value that is no drive at all.
  EXPECT_EQ(Twr("disc --drive Q").status, 1);
  run = Twr("disc --drive 7");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.err, "'--drive 7' is neither a drive letter nor a device path")) << run.err;
  run = Twr("disc --device /dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "does not answer INQUIRY")) << run.err;
}

// A disc the desktop has not mounted is listed through the drive: the same
// top level as from the mount, as text and JSON; a UDF disc says that its
// listing needs a mount.
TEST_F(DriveCommands, ListsTheTopLevelWithoutAMount) {
  if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  fs::create_directories(dir_ / "content" / "Fotos Ü");
  std::ofstream(dir_ / "content" / "read me.txt") << "x";
  ASSERT_EQ(std::system(("cd '" + dir_.string() +
                         "' && xorriso -as mkisofs -quiet -J -R -V TRIP -o disc.iso content "
                         ">/dev/null 2>&1")
                            .c_str()),
            0);
  std::string topLevel[2];
  for (int mounted = 0; mounted < 2; ++mounted) {
    Settings("Disc=dvd+r\nImage=disc.iso\nMounted=" + std::to_string(mounted) + "\n");
    Outcome run = Twr("disc --json");
    EXPECT_EQ(run.status, 0) << run.err;
    const std::size_t at = run.out.find("\"topLevel\":");
    ASSERT_NE(at, std::string::npos) << run.out;
    topLevel[mounted] = run.out.substr(at, run.out.find(']', at) - at + 1);
    EXPECT_TRUE(Has(run.out, mounted ? "\"topLevelFrom\":\"mount\"" : "\"topLevelFrom\":\"drive\""))
        << run.out;
    run = Twr("disc");
    EXPECT_TRUE(Has(run.out, "Top level:      [Fotos Ü]\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "Top level:      read me.txt\n")) << run.out;
  }
  EXPECT_EQ(topLevel[0], topLevel[1]);
  EXPECT_TRUE(Has(topLevel[0], "{\"name\":\"Fotos Ü\",\"folder\":true}")) << topLevel[0];

  // UDF's recognition sequence where ISO 9660's descriptors would be.
  std::string udf(20 * 2048, '\0');
  const char* ids[] = {"BEA01", "NSR02", "TEA01"};
  for (int i = 0; i < 3; ++i) udf.replace((16 + i) * 2048 + 1, 5, ids[i]);
  std::ofstream(dir_ / "udf.iso", std::ios::binary) << udf;
  Settings("Disc=dvd+r\nImage=udf.iso\nMounted=0\n");
  Outcome run = Twr("disc --json");
  EXPECT_TRUE(Has(run.out, "\"topLevel\":null,\"topLevelFrom\":null,\"topLevelNeedsMount\":true"))
      << run.out;
  run = Twr("disc");
  EXPECT_TRUE(Has(run.out, "Top level:      (a UDF disc: its listing needs a mount)\n")) << run.out;
}

// `twr drives --watch`: a line for the virtual drive that comes with its
// settings section and goes with it, each within the 1.5 s it is given,
// until Ctrl-C (SIGINT) ends it with status 0.
TEST_F(DriveCommands, WatchPrintsALinePerChangeUntilCtrlC) {
  Settings("Letter=V\n");
  const std::string dir = "'" + dir_.string() + "'";
  const std::string command =
      "cd " + dir +
      " && (timeout --preserve-status -s INT 5 '" TWR_CLI_PATH
      "' drives --watch > out.txt 2> err.txt; echo \"status $?\" >> out.txt) & "
      "sleep 1; printf '[Config]\\nLayoutNum=0\\n' > " +
      dir +
      "/twr.ini; sleep 1.5; "
      "printf '[Config]\\nLayoutNum=0\\n[VirtualDrive]\\nLetter=W\\n' > " +
      dir + "/twr.ini; sleep 1.5; wait";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(Read(dir_ / "out.txt"),
            "(V:) TWRVIRT Etchlume DVD 1.00\n"
            "Watching the drives; Ctrl-C ends.\n"
            "removed: (V:) TWRVIRT Etchlume DVD 1.00\n"
            "added:   (W:) TWRVIRT Etchlume DVD 1.00\n"
            "status 0\n")
      << Read(dir_ / "err.txt");
  EXPECT_EQ(Twr("drives --watch --json").status, 2);
}

TEST_F(DriveCommands, FifoAsTheDiscImageReturnsAtOnce) {
  ASSERT_EQ(mkfifo((dir_ / "disc.fifo").c_str(), 0600), 0);
  Settings("Disc=dvd-r\nImage=disc.fifo\n");
  const Outcome run = Twr("drives");
  EXPECT_EQ(run.status, 0) << run.err;  // not 124: the time-out
  EXPECT_EQ(run.out, "(V:) TWRVIRT Etchlume DVD 1.00\n");
  EXPECT_TRUE(Has(run.err, "disc.fifo' is a FIFO, not a regular file")) << run.err;
}

// Names from a disc (its volume name, the names at its top level; ISO 9660
// names are bytes) with terminal escapes, C1 and bidirectional controls and
// bytes that are no UTF-8: `twr disc` prints them with the controls shown
// as escapes, `twr disc --json` holds them as valid UTF-8 JSON and nothing
// else reaches stdout, and a scan puts them into the label without the
// controls. An image whose Joliet root record is damaged leaves the ISO
// library's warnings off stdout.
TEST_F(DriveCommands, DiscNamesAreShownSafelyAndScannedWithoutControls) {
  if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  struct Case {
    std::string bytes;  // on the disc
    std::string shown;  // `twr disc`
    std::string json;   // the string `twr disc --json` holds
    std::string label;  // what a scan puts into the title
  };
  const Case cases[] = {
      {"a\x1B[31mred", "a\\x1B[31mred", "a\x1B[31mred", "a[31mred"},
      {"M\xFCller \x80", "M\u00FCller \u20AC", "M\u00FCller \u20AC", "M\u00FCller \u20AC"},
      {"x\xC2\x9B\x32Jy", "x\\x9B2Jy", "x\u009B2Jy", "x2Jy"},
      {"\xE2\x80\xAEtxt.exe", "\\u202Etxt.exe", "\u202Etxt.exe", "txt.exe"},
      {"Caf\xC3\xA9", "Caf\u00E9", "Caf\u00E9", "Caf\u00E9"},
  };
  auto safe = [](const std::string& text) {
    if (!twr::IsValidUtf8(text)) return false;
    for (std::size_t at = 0; at < text.size();) {
      char32_t c = 0;
      twr::NextUtf8(text, at, c);
      if (c != '\n' && twr::IsControlChar(c)) return false;
    }
    return true;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    // Rock Ridge names only: they keep the bytes as they are.
    fs::remove_all(dir_ / "content");
    fs::create_directories(dir_ / "content");
    std::ofstream(dir_ / "content" / c.bytes) << "x";
    fs::remove(dir_ / "disc.iso");
    ASSERT_EQ(std::system(("cd '" + dir_.string() +
                           "' && xorriso -as mkisofs -quiet -R -V NAME -o disc.iso content "
                           ">xorriso.txt 2>&1")
                              .c_str()),
              0)
        << Read(dir_ / "xorriso.txt");
    {
      std::fstream iso(dir_ / "disc.iso", std::ios::in | std::ios::out | std::ios::binary);
      iso.seekp(16 * 2048 + 40);  // the volume identifier: 32 bytes, blank-padded
      iso << (c.bytes + std::string(32, ' ')).substr(0, 32);
    }
    for (const char* mounted : {"0", "1"}) {
      Settings(std::string("Disc=dvd+r\nStatus=complete\nImage=disc.iso\nMounted=") + mounted +
               "\n");
      Outcome run = Twr("disc");
      EXPECT_EQ(run.status, 0) << run.err;
      EXPECT_TRUE(safe(run.out)) << run.out;
      EXPECT_TRUE(Has(run.out, "Volume:         " + c.shown + "\n")) << run.out;
      EXPECT_TRUE(Has(run.out, "Top level:      " + c.shown + "\n")) << run.out;

      run = Twr("disc --json");
      EXPECT_TRUE(safe(run.out)) << run.out;
      QJsonParseError error{};
      const QJsonDocument json =
          QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
      ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out;
      const QJsonObject disc = json.object()["disc"].toObject();
      EXPECT_EQ(disc["volume"].toString().toStdString(), c.json);
      EXPECT_EQ(disc["topLevel"].toArray()[0].toObject()["name"].toString().toStdString(), c.json)
          << mounted;
    }

    // The scan of `twr burn --scan` (the window's Scan takes the same texts).
    std::ofstream(dir_ / "twr.ini")
        << "[Config]\nLayoutNum=1\n[Layout00]\nName=Scan\nBaseLength=400\nTitleWidth=200\n"
           "TitleHeight=40\n[VirtualDrive]\nDisc=dvd+r\nStatus=complete\nImage=disc.iso\n"
           "ReloadDelay=0\n";
    const Outcome run = Twr("burn --scan --rimtone --inner 40 --outer 41.5 --date d --yes");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(
        run.out, "Scanned: title '" + c.label + "', date 'd', 1 note lines | " + c.label + "  \n"))
        << run.out;
  }

  // The Joliet root record's name is no name: the ISO library warns, but
  // not on stdout, which holds the JSON alone.
  fs::remove_all(dir_ / "content");
  fs::create_directories(dir_ / "content");
  std::ofstream(dir_ / "content" / "a.txt") << "x";
  ASSERT_EQ(std::system(("cd '" + dir_.string() +
                         "' && xorriso -as mkisofs -quiet -J -R -V HUNT -o disc.iso content "
                         ">/dev/null 2>&1")
                            .c_str()),
            0);
  {
    std::fstream iso(dir_ / "disc.iso", std::ios::in | std::ios::out | std::ios::binary);
    iso.seekg(17 * 2048);
    ASSERT_EQ(iso.get(), 2);  // the Joliet descriptor
    iso.seekp(17 * 2048 + 156 + 33);
    iso.put('\xEF');
  }
  Settings("Disc=dvd+r\nStatus=complete\nImage=disc.iso\nMounted=1\n");
  const Outcome run = Twr("disc --json");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.find("WARN"), std::string::npos) << run.out;
  QJsonParseError error{};
  QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
}

}  // namespace
