// `twr drives` and `twr disc`: the drive list (with --all, every drive and
// why it can or cannot etch labels) and what is in a drive, as text or JSON.
// What a drive or disc names (INQUIRY strings, volume texts, file names) is
// printed through TerminalText: control characters shown as escapes.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/DriveNotFound.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "cli/TerminalMessages.h"
#include "common/JsonWriter.h"
#include "common/Strings.h"
#include "common/Utf8.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DiscScan.h"
#include "drive/DriveSetup.h"
#include "drive/DriveWatch.h"
#include "drive/SgioTransport.h"

namespace twr::cli {

namespace {

constexpr const char* kMountInfo = "/proc/self/mountinfo";

// Message 100 when this system has no pass-through; true when it has.
bool CheckPassThrough(TerminalMessages& messages) {
  if (CELDevice::IsPassThroughAvailable()) return true;
  messages.ShowString(kStrNoPassThrough, MessageIcon::Error);
  return false;
}

// A millimetre value with one decimal and a point in every locale.
std::string Millimetres(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  return std::string(text, result.ptr);
}

// A byte as 0x followed by two upper-case hex digits.
std::string HexByte(int value) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  return {'0', 'x', kDigits[(value >> 4) & 0xF], kDigits[value & 0xF]};
}

const char* ListingSourceName(ListingSource source) {
  return source == ListingSource::Mount ? "mount" : "drive";
}

void PutDriveFields(JsonWriter& json, const DriveReport& r) {
  json.Key("letter").String(std::string(1, r.letter));
  json.Key("device").String(r.device);
  json.Key("vendor").String(r.vendor);
  json.Key("product").String(r.product);
  json.Key("revision").String(r.revision);
  json.Key("item").String(r.DisplayString());
}

// One line per drive seen, saying why it can or cannot etch labels.
void PrintReasons(std::FILE* out, const std::vector<DriveReport>& reports) {
  for (const DriveReport& r : reports)
    std::fprintf(out, "%s  %s: %s\n", TerminalText(r.DisplayString()).c_str(),
                 TerminalText(r.device).c_str(), DriveReasonText(r).c_str());
  if (reports.empty())
    PrintLine(out, Tr("DriveCommands",
                      "No optical drive (/dev/sr*) was found, and ./twr.ini declares no virtual "
                      "drive ([VirtualDrive])."));
}

// `twr drives --watch`: Ctrl-C, a hang-up or SIGTERM ends the watch.
std::atomic<bool> watchStopped{false};

void StopWatching(int) {
  watchStopped = true;
}

// The lines a drive list gives: the display strings, or with --all each
// drive seen with its reason.
std::vector<std::string> DriveLines(CELDevice& device, bool all) {
  std::vector<DriveReport> reports;
  const int count = device.SurveyDrives(reports);
  std::vector<std::string> lines;
  if (all) {
    for (const DriveReport& r : reports)
      lines.push_back(TerminalText(r.DisplayString() + "  " + r.device) + ": " +
                      DriveReasonText(r));
  } else {
    for (int i = 0; i < count; ++i) lines.push_back(TerminalText(device.GetDriveItem(i)));
  }
  return lines;
}

// Prints the drives, then a line for every drive that comes or goes (or,
// with --all, whose reason changes) until a signal ends it.
int WatchDrives(bool all) {
  watchStopped = false;
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, StopWatching);
  const std::unique_ptr<DriveChangeSource> changes = MakeSystemDriveChanges({Settings().path});
  auto device = std::make_unique<CELDevice>();
  std::vector<std::string> shown = DriveLines(*device, all);
  for (const std::string& line : shown) std::printf("%s\n", line.c_str());
  PrintLine(stdout, Tr("DriveCommands", "Watching the drives; Ctrl-C ends."));
  std::fflush(stdout);
  constexpr int kWaitMs = 200;
  while (!watchStopped) {
    if (!changes->WaitForChange(kWaitMs)) continue;
    const std::vector<std::string> now = DriveLines(*device, all);
    for (const std::string& line : shown)
      if (std::find(now.begin(), now.end(), line) == now.end())
        PrintLine(stdout, Tr("DriveCommands", "removed: %1"), {line});
    for (const std::string& line : now)
      if (std::find(shown.begin(), shown.end(), line) == shown.end())
        PrintLine(stdout, Tr("DriveCommands", "added:   %1"), {line});
    std::fflush(stdout);
    shown = now;
  }
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, SIG_DFL);
  return 0;
}

// What `twr disc` was asked for.
struct DiscRequest {
  bool helpShown = false;  // --help: the help was printed and nothing else is done
  DriveChoice choice;
  std::string node;  // --device: any optical drive
  bool json = false;
};

// The options; kExitOk, or the exit status after the usage or an error.
int ParseDiscRequest(int argc, char** argv, DiscRequest& request) {
  std::string driveText;
  ArgParser args("disc", Tr("DriveCommands",
                            "Identifies the disc in a drive: its name and whether a label can be\n"
                            "burned on it, kind and status codes, label side, outer radius of the\n"
                            "recorded data, the volume descriptor and the top-level listing.\n"
                            "Exits with 1 when there is no disc."));
  args.Option("drive", "DRIVE",
              Tr("DriveCommands",
                 "Drive letter as 'twr drives' shows it, or its device (/dev/sr0); default: the "
                 "first."),
              &driveText);
  args.Option(
      "device", "PATH",
      Tr("DriveCommands", "Any optical drive (/dev/srN), whether or not it can etch labels."),
      &request.node);
  args.Flag("json", Tr("DriveCommands", "Write the result as JSON (fields in the README)."),
            &request.json);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk) {
    request.helpShown = r == ArgParser::kHelpShown;
    return ExitStatusFor(r);
  }
  if (!ParseDriveChoice(driveText, request.choice)) {
    PrintLine(stderr,
              Tr("DriveCommands",
                 "twr disc: '--drive %1' is neither a drive letter nor a device path (see 'twr "
                 "drives')"),
              {driveText});
    return kExitUsage;
  }
  if (!request.node.empty() && !driveText.empty()) {
    PrintLine(stderr, Tr("DriveCommands", "twr disc: give either --drive or --device, not both"));
    return kExitUsage;
  }
  return kExitOk;
}

// Any optical drive, opened as it is, not looked for in the drive list.
int OpenNode(CELDevice& device, const std::string& node, DriveReport& drive) {
  const DriveOpenResult opened = SgioTransport::Open(node, DriveAccess::Shared);
  if (opened.error != DriveOpenError::None) {
    DriveOpening failure;
    failure.error = opened.error;
    failure.systemError = opened.systemError;
    failure.device = node;
    PrintLine(stderr, Tr("DriveCommands", "twr disc: %1"), {failure.FailureText()});
    return kExitFailure;
  }
  device.AttachTransport(opened.transport);
  drive.device = node;
  if (!device.Inquiry()) {
    PrintLine(stderr,
              Tr("DriveCommands",
                 "twr disc: %1 does not answer INQUIRY; name an optical drive such as /dev/sr0"),
              {node});
    return kExitFailure;
  }
  device.ReadInquiryStrings(drive.vendor, drive.product, drive.revision);
  return kExitOk;
}

// The listed drive a user named.
int OpenListed(CELDevice& device, const DriveChoice& choice, Messages& messages,
               DriveReport& drive) {
  const DriveOpening opening = OpenChosenDrive(device, choice, DriveAccess::Shared);
  if (!opening.Ok()) {
    if (opening.error == DriveOpenError::NotListed) {
      ShowDriveNotListed("disc", choice, device, messages);
    } else {
      PrintLine(stderr, Tr("DriveCommands", "twr disc: %1"), {opening.FailureText()});
    }
    return kExitFailure;
  }
  drive.letter = opening.letter;
  drive.device = opening.device;
  device.ReadInquiryStrings(drive.vendor, drive.product, drive.revision);
  return kExitOk;
}

// What `twr disc` tells of the disc in a drive.
struct DiscReading {
  DiscIdentity id;
  double radius = 0.0;
  std::string volume, publisher, date;
  TopLevelListing listing;
};

DiscReading ReadDisc(CELDevice& device, const DriveReport& drive, const std::string& node) {
  DiscReading disc;
  disc.id = IdentifyDisc(device);
  disc.radius = device.GetRecordedOuterRadius();
  device.TestUnitReadyTries();
  device.ReadVolumeInfo(disc.volume, disc.publisher, disc.date);
  // From the mount when there is one, else read through the drive.
  disc.listing = node.empty() ? ListTopLevel(device, drive.letter)
                              : ListNodeTopLevelOrDrive(device, node, kMountInfo);
  return disc;
}

void PrintDiscJson(const DriveReport& drive, const DiscReading& disc) {
  JsonWriter out;
  out.BeginObject().Key("drive").BeginObject();
  if (drive.letter)
    out.Key("letter").String(std::string(1, drive.letter));
  else
    out.Key("letter").Null();
  out.Key("device").String(drive.device);
  out.Key("vendor").String(drive.vendor);
  out.Key("product").String(drive.product);
  out.Key("revision").String(drive.revision);
  out.EndObject().Key("disc").BeginObject();
  out.Key("present").Bool(disc.id.kind != kDiscNone);
  out.Key("name").String(disc.id.name.text);
  out.Key("verdict").Int(disc.id.name.verdict);
  out.Key("kind").Int(disc.id.kind);
  out.Key("status").Int(disc.id.status);
  out.Key("labelSide").Bool(disc.id.labelSide);
  out.Key("recordedOuterRadiusMm").Fixed(disc.radius, 1);
  out.Key("volume").String(disc.volume);
  out.Key("publisher").String(disc.publisher);
  out.Key("date").String(disc.date);
  out.Key("topLevel");
  const bool listed = disc.listing.Listed();
  if (listed) {
    out.BeginArray();
    for (const DiscEntry& e : disc.listing.entries)
      out.BeginObject().Key("name").String(e.name).Key("folder").Bool(e.folder).EndObject();
    out.EndArray();
  } else {
    out.Null();
  }
  out.Key("topLevelFrom");
  if (listed)
    out.String(ListingSourceName(disc.listing.source));
  else
    out.Null();
  out.Key("topLevelNeedsMount").Bool(disc.listing.needsMount);
  out.EndObject().EndObject();
  std::printf("%s\n", out.Text().c_str());
}

void PrintDiscText(const DriveReport& drive, const DiscReading& disc) {
  const DiscIdentity& id = disc.id;
  const std::string name =
      drive.letter ? drive.DisplayString()
                   : drive.device + " " + drive.vendor + " " + drive.product + " " + drive.revision;
  PrintLine(stdout, Tr("DriveCommands", "Drive:          %1"), {TerminalText(name)});
  // An empty tray has no kind, status or side to tell of.
  if (id.kind == kDiscNone) {
    PrintLine(stdout, Tr("DriveCommands", "Disc:           No disc in the drive."));
    return;
  }
  PrintLine(stdout, Tr("DriveCommands", "Disc:           %1"), {id.name.Shown()});
  PrintLine(stdout,
            id.name.verdict ? Tr("DriveCommands", "Verdict:        %1 (a label can be burned)")
                            : Tr("DriveCommands", "Verdict:        %1 (no label can be burned)"),
            {std::to_string(id.name.verdict)});
  PrintLine(stdout, Tr("DriveCommands", "Kind:           %1"), {HexByte(id.kind)});
  PrintLine(stdout, Tr("DriveCommands", "Status:         %1"), {HexByte(id.status)});
  PrintLine(stdout, id.labelSide ? Tr("DriveCommands", "Label side:     yes")
                                 : Tr("DriveCommands", "Label side:     no"));
  PrintLine(stdout, Tr("DriveCommands", "Recorded outer: %1 mm"), {Millimetres(disc.radius)});
  PrintLine(stdout, Tr("DriveCommands", "Volume:         %1"), {TerminalText(disc.volume)});
  PrintLine(stdout, Tr("DriveCommands", "Publisher:      %1"), {TerminalText(disc.publisher)});
  PrintLine(stdout, Tr("DriveCommands", "Date:           %1"), {TerminalText(disc.date)});
  for (const DiscEntry& e : disc.listing.entries)
    PrintLine(stdout,
              e.folder ? Tr("DriveCommands", "Top level:      [%1]")
                       : Tr("DriveCommands", "Top level:      %1"),
              {TerminalText(e.name)});
  if (disc.listing.needsMount)
    PrintLine(stdout,
              Tr("DriveCommands", "Top level:      (a UDF disc: its listing needs a mount)"));
  else if (disc.listing.cut)
    PrintLine(stdout, Tr("DriveCommands",
                         "Top level:      (the rest cannot be read: the disc's directory is "
                         "damaged)"));
}

}  // namespace

int RunDrives(int argc, char** argv) {
  bool all = false, json = false;
  ArgParser args("drives",
                 Tr("DriveCommands",
                    "Lists the drives that can etch labels, one display string a line.\n"
                    "The virtual drive of ./twr.ini ([VirtualDrive]) is listed too. When none\n"
                    "can, each drive seen is named with the reason."));
  args.Flag("all",
            Tr("DriveCommands",
               "Every optical drive and the virtual drive, each with why it can or cannot "
               "etch labels."),
            &all);
  args.Flag("json", Tr("DriveCommands", "Write the list as JSON (fields in the README)."), &json);
  bool watch = false;
  args.Flag("watch",
            Tr("DriveCommands",
               "Print the list, then a line for every drive plugged in or pulled out, until "
               "Ctrl-C."),
            &watch);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  if (watch && json) {
    PrintLine(stderr,
              Tr("DriveCommands", "twr drives: --watch writes text lines; leave out --json"));
    return kExitUsage;
  }
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return 1;
  if (watch) return WatchDrives(all);
  auto device = std::make_unique<CELDevice>();
  std::vector<DriveReport> reports;
  const int count = device->SurveyDrives(reports);

  if (json) {
    JsonWriter out;
    out.BeginObject().Key("drives").BeginArray();
    for (const DriveReport& r : reports) {
      if (!all && !r.qualifies) continue;
      out.BeginObject();
      PutDriveFields(out, r);
      out.Key("qualifies").Bool(r.qualifies);
      out.Key("inUse").Bool(r.inUse);
      out.Key("reason").String(DriveReasonName(r.reason));
      out.Key("message").String(DriveReasonText(r, false));  // JSON stays English
      out.EndObject();
    }
    out.EndArray().EndObject();
    std::printf("%s\n", out.Text().c_str());
  } else if (all) {
    PrintReasons(stdout, reports);
  } else {
    for (int i = 0; i < count; ++i)
      std::printf("%s\n", TerminalText(device->GetDriveItem(i)).c_str());
  }
  if (count == 0) {
    messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
    if (!all && !json) PrintReasons(stderr, reports);
    return 1;
  }
  return 0;
}

int RunDisc(int argc, char** argv) {
  DiscRequest request;
  if (const int status = ParseDiscRequest(argc, argv, request);
      status != kExitOk || request.helpShown)
    return status;
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return kExitFailure;
  auto device = std::make_unique<CELDevice>();
  DriveReport drive;
  if (const int status = request.node.empty() ? OpenListed(*device, request.choice, messages, drive)
                                              : OpenNode(*device, request.node, drive);
      status != kExitOk)
    return status;

  const DiscReading disc = ReadDisc(*device, drive, request.node);
  if (request.json)
    PrintDiscJson(drive, disc);
  else
    PrintDiscText(drive, disc);
  if (disc.id.kind == kDiscNone) {
    std::fflush(stdout);
    PrintLine(stderr, Tr("DriveCommands",
                         "twr disc: there is no disc in the drive; put one in and try again"));
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace twr::cli
