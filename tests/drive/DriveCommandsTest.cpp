// `twr drives` and `twr disc` end to end in a folder of their own: results on
// stdout, errors and warnings on stderr, exit codes, the JSON fields, and a
// FIFO in the settings that must not stall them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/TempDir.h"

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
  EXPECT_TRUE(Has(run.out, "No disc or Non-support disc")) << run.out;
  EXPECT_TRUE(Has(run.err, "no disc in the drive")) << run.err;

  // A drive that is not listed, and a value that is no drive at all.
  EXPECT_EQ(Twr("disc --drive Q").status, 1);
  run = Twr("disc --drive 7");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(Has(run.err, "'--drive 7' is neither a drive letter nor a device path")) << run.err;
  run = Twr("disc --device /dev/null");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "does not answer INQUIRY")) << run.err;
}

TEST_F(DriveCommands, FifoAsTheDiscImageReturnsAtOnce) {
  ASSERT_EQ(mkfifo((dir_ / "disc.fifo").c_str(), 0600), 0);
  Settings("Disc=dvd-r\nImage=disc.fifo\n");
  const Outcome run = Twr("drives");
  EXPECT_EQ(run.status, 0) << run.err;  // not 124: the time-out
  EXPECT_EQ(run.out, "(V:) TWRVIRT Etchlume DVD 1.00\n");
  EXPECT_TRUE(Has(run.err, "disc.fifo' is a FIFO, not a regular file")) << run.err;
}

}  // namespace
