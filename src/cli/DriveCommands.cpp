// `twr drives` and `twr disc`: the drive list and what is in a drive.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/TerminalMessages.h"
#include "common/Strings.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DriveSetup.h"

namespace twr::cli {

namespace {

constexpr int kReadyTries = 3;

// Message 100 when this system has no pass-through; true when it has.
bool CheckPassThrough(TerminalMessages& messages) {
  if (CELDevice::IsPassThroughAvailable()) return true;
  messages.ShowString(kStrNoPassThrough, MessageIcon::Error);
  return false;
}

}  // namespace

int RunDrives(int argc, char** argv) {
  ArgParser args("drives",
                 "Lists the drives that can etch labels, one display string a line.\n"
                 "The virtual drive of ./twr.ini ([VirtualDrive]) is listed too.");
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return 1;
  auto device = std::make_unique<CELDevice>();
  const int count = device->EnumerateDrives();
  if (count == 0) {
    messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
    return 1;
  }
  for (int i = 0; i < count; ++i) std::printf("%s\n", device->GetDriveItem(i).c_str());
  return 0;
}

int RunDisc(int argc, char** argv) {
  std::string letterText;
  ArgParser args("disc",
                 "Identifies the disc in a drive: its name and whether a label can be\n"
                 "burned on it, kind and status codes, label side, outer radius of the\n"
                 "recorded data and the volume descriptor.");
  args.Option("drive", "LETTER", "Drive letter as 'twr drives' shows it (default: the first).",
              &letterText);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  char letter = 0;
  if (!ParseDriveLetter("disc", letterText, letter)) return 2;
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return 1;
  auto device = std::make_unique<CELDevice>();
  if (!OpenDriveByLetter(*device, letter)) {
    messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
    return 1;
  }
  const DiscIdentity id = IdentifyDisc(*device);
  const double radius = device->GetRecordedOuterRadius();
  for (int i = 0; i < kReadyTries; ++i) device->TestUnitReady();
  std::string volume, publisher, date;
  device->ReadVolumeInfo(volume, publisher, date);

  std::printf("Drive:          %s\n", device->GetDriveItem(device->OpenIndex()).c_str());
  std::printf("Disc:           %s\n", id.name.text.c_str());
  std::printf("Verdict:        %d (%s)\n", id.name.verdict,
              id.name.verdict ? "a label can be burned" : "no label can be burned");
  std::printf("Kind:           0x%02X\n", id.kind);
  std::printf("Status:         0x%02X\n", id.status);
  std::printf("Label side:     %s\n", id.labelSide ? "yes" : "no");
  std::printf("Recorded outer: %.1f mm\n", radius);
  std::printf("Volume:         %s\n", volume.c_str());
  std::printf("Publisher:      %s\n", publisher.c_str());
  std::printf("Date:           %s\n", date.c_str());
  std::vector<DiscEntry> entries;
  if (device->ListDiscTopLevel(device->DriveLetter(device->OpenIndex()), entries)) {
    for (const DiscEntry& e : entries)
      std::printf(e.folder ? "Top level:      [%s]\n" : "Top level:      %s\n", e.name.c_str());
  }
  return 0;
}

}  // namespace twr::cli
