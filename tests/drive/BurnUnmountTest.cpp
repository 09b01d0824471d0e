// A burn whose drive holds a mounted disc: refused with the way out, asked
// Yes/No, or unmounted without asking; the service is only ever asked about
// that drive, and each way the unmount can fail is told in its own words.
#include <gtest/gtest.h>

#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "drive/DiscUnmount.h"
#include "drive/DriveSetup.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

// A real drive's rules over the virtual drive: its exclusive open is
// refused while its disc is mounted (or while a file on it stays open).
struct MountedDrive {
  std::shared_ptr<VirtualDrive> drive = std::make_shared<VirtualDrive>(VirtualDriveConfig{});
  std::vector<std::string> mounts{"/media/me/MY DISC"};
  bool heldAfterUnmount = false;  // another program keeps it even unmounted

  DriveSource Source(char letter, const std::string& node) {
    DriveSource s = VirtualDrive::SourceFor(drive);
    s.letter = letter;
    s.device = node;
    s.openAccess = [this](DriveAccess access) {
      DriveOpenResult r;
      if (access == DriveAccess::Exclusive && (!mounts.empty() || heldAfterUnmount)) {
        r.error = DriveOpenError::InUse;
        return r;
      }
      r.transport = drive;
      return r;
    };
    return s;
  }
};

class FakeUnmountService : public UnmountService {
 public:
  UnmountResult answer{UnmountOutcome::Unmounted, {}};
  std::vector<std::string> asked;
  std::function<void()> onUnmount;
  UnmountResult Unmount(const std::string& node) override {
    asked.push_back(node);
    if (answer.outcome == UnmountOutcome::Unmounted && onUnmount) onUnmount();
    return answer;
  }
};

TEST(BurnUnmount, EachWayTheOpeningCanEnd) {
  struct Case {
    const char* name;
    UnmountPermission permission;
    bool yes;               // the user's answer when asked
    UnmountResult service;  // what the service answers
    bool withService;       // false: no service at all
    bool keepsMount;        // the unmount leaves a (busy) mount behind
    bool held;              // another program holds the drive all the same
    bool ok;                // the exclusive open succeeded in the end
    int questions;          // Yes/No questions asked
    int unmounts;           // unmount calls
    const char* text;       // in FailureText()
  };
  const UnmountResult done{UnmountOutcome::Unmounted, {}};
  const Case cases[] = {
      {"twr burn without --unmount", UnmountPermission::Never, false, done, true, false, false,
       false, 0, 0,
       "Drive D: (/dev/sr0) is in use: its disc is mounted at /media/me/MY DISC. Burn with "
       "--unmount to have it unmounted, or unmount it yourself (umount '/media/me/MY DISC')."},
      {"the user says No", UnmountPermission::Ask, false, done, true, false, false, false, 1, 0,
       "Unmount it yourself (umount '/media/me/MY DISC'), then burn again."},
      {"the user says Yes", UnmountPermission::Ask, true, done, true, false, false, true, 1, 1, ""},
      {"--unmount", UnmountPermission::Always, false, done, true, false, false, true, 0, 1, ""},
      {"no disc service", UnmountPermission::Always, false, done, false, false, false, false, 0, 0,
       "The desktop's disk service (udisks2) is not running, so the disc in drive D: "
       "(/dev/sr0) cannot be unmounted from here. Unmount it yourself (umount '/media/me/MY "
       "DISC'), then burn again."},
      {"service gone",
       UnmountPermission::Always,
       false,
       {UnmountOutcome::NoService, {}},
       true,
       false,
       false,
       false,
       0,
       1,
       "disk service (udisks2) is not running"},
      {"not authorised",
       UnmountPermission::Always,
       false,
       {UnmountOutcome::NotAllowed, "Not authorized to perform operation"},
       true,
       false,
       false,
       false,
       0,
       1,
       "The disc in drive D: (/dev/sr0) was not unmounted: Not authorized to perform "
       "operation. Unmount it yourself"},
      {"busy",
       UnmountPermission::Always,
       false,
       {UnmountOutcome::Busy, "target is busy"},
       true,
       false,
       false,
       false,
       0,
       1,
       "The disc in drive D: (/dev/sr0) cannot be unmounted: /media/me/MY DISC is busy"},
      {"a second mount stays", UnmountPermission::Always, false, done, true, true, false, false, 0,
       1, "is still mounted at /mnt/copy, and that mount is busy"},
      {"held without a mount", UnmountPermission::Always, false, done, true, false, true, false, 0,
       1, "still in use by another program, though its disc is no longer mounted"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MountedDrive real;
    real.heldAfterUnmount = c.held;
    MountedDrive other;  // a second drive, whose disc is mounted too
    CELDevice device;
    device.SetDriveSourceProvider([&] {
      return std::vector<DriveSource>{real.Source('D', "/dev/sr0"), other.Source('E', "/dev/sr1")};
    });
    FakeUnmountService service;
    service.answer = c.service;
    service.onUnmount = [&] {
      real.mounts.clear();
      if (c.keepsMount) real.mounts = {"/mnt/copy"};
    };
    test::RecordingMessages messages(c.yes);
    BurnUnmount unmount;
    unmount.permission = c.permission;
    unmount.service = c.withService ? &service : nullptr;
    unmount.messages = &messages;
    unmount.option = "--unmount";
    unmount.mountsOf = [&](const std::string& node) {
      return node == "/dev/sr0" ? real.mounts : other.mounts;
    };
    DriveChoice d;
    d.letter = 'D';
    const DriveOpening opening = OpenDriveForBurn(device, d, unmount);
    EXPECT_EQ(opening.Ok(), c.ok) << opening.FailureText();
    EXPECT_EQ(device.IsOpen(), c.ok);
    EXPECT_EQ(opening.unmounted, c.unmounts == 1 && c.service.outcome == UnmountOutcome::Unmounted);
    EXPECT_NE(opening.FailureText().find(c.text), std::string::npos) << opening.FailureText();
    if (c.ok) {
      EXPECT_EQ(opening.FailureText(), "");
    }
    ASSERT_EQ(messages.Records().size(), static_cast<std::size_t>(c.questions));
    if (c.questions) {
      EXPECT_EQ(messages.Last(),
                "The disc in drive D: (/dev/sr0) is mounted at /media/me/MY DISC. Unmount it so "
                "that the label can be burned?");
    }
    ASSERT_EQ(service.asked.size(), static_cast<std::size_t>(c.unmounts));
    for (const std::string& node : service.asked) EXPECT_EQ(node, "/dev/sr0");  // never sr1
    EXPECT_EQ(other.mounts.size(), 1u);
  }
}

TEST(BurnUnmount, OnlyAMountedDiscIsOffered) {
  // The virtual drive held by another burn, and a listed drive opened by
  // index: no mount, so the refusal stays as it was and nothing is asked.
  MountedDrive real;
  real.mounts.clear();
  real.heldAfterUnmount = true;
  CELDevice device;
  device.SetDriveSourceProvider(
      [&] { return std::vector<DriveSource>{real.Source('V', "virtual")}; });
  ASSERT_EQ(device.EnumerateDrives(), 1);
  FakeUnmountService service;
  test::RecordingMessages messages(true);
  BurnUnmount unmount{UnmountPermission::Ask, &service, &messages, "", {}};
  const DriveOpening opening = OpenListedDriveForBurn(device, 0, unmount);
  EXPECT_EQ(opening.error, DriveOpenError::InUse);
  EXPECT_EQ(opening.FailureText(),
            "Drive V: (virtual) is in use by another program or mounted; unmount it or close that "
            "program.");
  EXPECT_TRUE(messages.Records().empty());
  EXPECT_TRUE(service.asked.empty());
  EXPECT_EQ(OpenListedDriveForBurn(device, 3, unmount).error, DriveOpenError::NotListed);

  // The mountinfo lines of one device, escapes undone; the command quoted.
  const std::string info =
      "36 25 11:0 / /media/me/MY\\040DISC ro,nosuid - iso9660 /dev/sr0 ro\n"
      "37 25 11:1 / /media/me/OTHER ro - iso9660 /dev/sr1 ro\n"
      "38 25 11:0 / /mnt/it's ro - iso9660 /dev/sr0 ro\n";
  EXPECT_EQ(FindMountPoints(info, 11, 0),
            (std::vector<std::string>{"/media/me/MY DISC", "/mnt/it's"}));
  EXPECT_EQ(UmountCommand("/mnt/it's"), "umount '/mnt/it'\\''s'");
  EXPECT_TRUE(NodeMountPoints("/nonexistent/sr9").empty());
}

}  // namespace
}  // namespace twr
