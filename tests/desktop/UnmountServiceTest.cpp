// The udisks2 unmount through its real D-Bus code, on a private session bus
// (dbus-daemon started here) with a stand-in udisks2 that records its calls
// and answers success, a refusal or "busy"; and a bus without udisks2.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "desktop/UDisksUnmountService.h"
#include "drive/CELDevice.h"
#include "drive/DriveSetup.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A session bus of the test's own, and the stand-in udisks2 on it.
class PrivateBus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v dbus-daemon >/dev/null 2>&1") != 0 ||
        std::system(TWR_PYTHON " -c 'import dbus, gi' >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "no dbus-daemon or python3-dbus";
    char pattern[] = "/tmp/twr-bus-XXXXXX";
    dir_ = mkdtemp(pattern);
    FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    ASSERT_NE(daemon, nullptr);
    char line[512] = {};
    if (fgets(line, sizeof line, daemon)) address_ = line;
    if (fgets(line, sizeof line, daemon)) daemonPid_ = std::atoi(line);
    pclose(daemon);
    while (!address_.empty() && (address_.back() == '\n')) address_.pop_back();
    ASSERT_FALSE(address_.empty());
    ASSERT_GT(daemonPid_, 0);
  }
  void TearDown() override {
    StopStandIn();
    if (daemonPid_ > 0) kill(daemonPid_, SIGTERM);
    if (!dir_.empty()) fs::remove_all(dir_);
  }

  // Starts the stand-in for the node in a mode and waits until it is on the bus.
  void StartStandIn(const std::string& mode, const std::string& node = "/dev/sr0") {
    const fs::path ready = dir_ / "ready";
    fs::remove(ready);
    standIn_ = fork();
    ASSERT_GE(standIn_, 0);
    if (standIn_ == 0) {
      setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
      execl(TWR_PYTHON, TWR_PYTHON, TWR_FAKE_UDISKS, mode.c_str(), (dir_ / "calls").c_str(),
            node.c_str(), ready.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 200 && !fs::exists(ready); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(ready)) << "the stand-in udisks2 did not start";
  }
  void StopStandIn() {
    if (standIn_ <= 0) return;
    kill(standIn_, SIGTERM);
    waitpid(standIn_, nullptr, 0);
    standIn_ = -1;
  }
  std::string Calls() const { return ReadText(dir_ / "calls"); }

  fs::path dir_;
  std::string address_;
  int daemonPid_ = -1;
  pid_t standIn_ = -1;
};

TEST_F(PrivateBus, UnmountAnswersAsUDisksDoes) {
  const std::string call =
      "Unmount /org/freedesktop/UDisks2/block_devices/sr0 auth.no_user_interaction=False\n";
  struct Case {
    const char* mode;  // the stand-in's answer; "" for no stand-in at all
    const char* node;
    UnmountOutcome outcome;
    const char* detail;
    const char* calls;  // what the stand-in recorded
  };
  const Case cases[] = {
      {"ok", "/dev/sr0", UnmountOutcome::Unmounted, "", call.c_str()},
      {"refuse", "/dev/sr0", UnmountOutcome::NotAllowed, "Not authorized to perform operation",
       call.c_str()},
      {"busy", "/dev/sr0", UnmountOutcome::Busy, "target is busy", call.c_str()},
      // Another device than the stand-in's: never unmounted.
      {"ok", "/dev/sr1", UnmountOutcome::Failed, "udisks2 does not know /dev/sr1", ""},
      {"", "/dev/sr0", UnmountOutcome::NoService, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.node);
    fs::remove(dir_ / "calls");
    if (*c.mode) StartStandIn(c.mode);
    desktop::UDisksUnmountService service(address_);
    const UnmountResult result = service.Unmount(c.node);
    EXPECT_EQ(result.outcome, c.outcome) << result.detail;
    EXPECT_NE(result.detail.find(c.detail), std::string::npos) << result.detail;
    EXPECT_EQ(Calls(), c.calls);
    StopStandIn();
  }
  // A bus that cannot be reached at all is a service that is not running.
  desktop::UDisksUnmountService nowhere("unix:path=/nonexistent/bus");
  EXPECT_EQ(nowhere.Unmount("/dev/sr0").outcome, UnmountOutcome::NoService);
}

// The burn's opening with the program's own service, found through the
// environment as the programs find it: the disc of D: is unmounted through
// the bus and the drive is then taken.
TEST_F(PrivateBus, BurnOpeningUnmountsThroughTheBus) {
  StartStandIn("ok");
  setenv(desktop::kUDisksBusVariable, address_.c_str(), 1);
  const std::unique_ptr<UnmountService> service = desktop::MakeUnmountService();
  unsetenv(desktop::kUDisksBusVariable);

  auto drive = std::make_shared<VirtualDrive>(VirtualDriveConfig{});
  // Mounted until the stand-in has been asked to unmount.
  const auto mounted = [this] { return Calls().find("Unmount") == std::string::npos; };
  CELDevice device;
  device.SetDriveSourceProvider([&] {
    DriveSource s = VirtualDrive::SourceFor(drive);
    s.letter = 'D';
    s.device = "/dev/sr0";
    s.openAccess = [&](DriveAccess access) {
      DriveOpenResult r;
      if (access == DriveAccess::Exclusive && mounted())
        r.error = DriveOpenError::InUse;
      else
        r.transport = drive;
      return r;
    };
    return std::vector<DriveSource>{s};
  });
  BurnUnmount unmount;
  unmount.permission = UnmountPermission::Always;
  unmount.service = service.get();
  unmount.mountsOf = [&](const std::string&) {
    return mounted() ? std::vector<std::string>{"/media/me/DISC"} : std::vector<std::string>{};
  };
  const DriveOpening opening = OpenDriveForBurn(device, DriveChoice{'D', {}}, unmount);
  EXPECT_TRUE(opening.Ok()) << opening.FailureText();
  EXPECT_TRUE(opening.unmounted);
  EXPECT_EQ(opening.mountPoints, std::vector<std::string>{"/media/me/DISC"});
  EXPECT_NE(Calls().find("block_devices/sr0"), std::string::npos) << Calls();
}

}  // namespace
}  // namespace twr

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
