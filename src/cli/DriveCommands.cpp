// `twr drives` and `twr disc`: the drive list (with --all, every drive and
// why it can or cannot etch labels) and what is in a drive, as text or JSON.
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "cli/TerminalMessages.h"
#include "common/Strings.h"
#include "drive/CELDevice.h"
#include "drive/DiscListing.h"
#include "drive/DiscName.h"
#include "drive/DriveSetup.h"
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
    std::fprintf(out, "%s  %s: %s\n", r.DisplayString().c_str(), r.device.c_str(),
                 DriveReasonText(r).c_str());
  if (reports.empty())
    std::fprintf(out,
                 "No optical drive (/dev/sr*) was found, and ./twr.ini declares no virtual "
                 "drive ([VirtualDrive]).\n");
}

}  // namespace

int RunDrives(int argc, char** argv) {
  bool all = false, json = false;
  ArgParser args("drives",
                 "Lists the drives that can etch labels, one display string a line.\n"
                 "The virtual drive of ./twr.ini ([VirtualDrive]) is listed too. When none\n"
                 "can, each drive seen is named with the reason.");
  args.Flag("all",
            "Every optical drive and the virtual drive, each with why it can or cannot "
            "etch labels.",
            &all);
  args.Flag("json", "Write the list as JSON (fields in the README).", &json);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return 1;
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
      out.Key("message").String(DriveReasonText(r));
      out.EndObject();
    }
    out.EndArray().EndObject();
    std::printf("%s\n", out.Text().c_str());
  } else if (all) {
    PrintReasons(stdout, reports);
  } else {
    for (int i = 0; i < count; ++i) std::printf("%s\n", device->GetDriveItem(i).c_str());
  }
  if (count == 0) {
    messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
    if (!all && !json) PrintReasons(stderr, reports);
    return 1;
  }
  return 0;
}

int RunDisc(int argc, char** argv) {
  std::string driveText, nodeText;
  bool json = false;
  ArgParser args("disc",
                 "Identifies the disc in a drive: its name and whether a label can be\n"
                 "burned on it, kind and status codes, label side, outer radius of the\n"
                 "recorded data, the volume descriptor and the top-level listing.\n"
                 "Exits with 1 when there is no disc.");
  args.Option("drive", "DRIVE",
              "Drive letter as 'twr drives' shows it, or its device (/dev/sr0); default: the "
              "first.",
              &driveText);
  args.Option("device", "PATH", "Any optical drive (/dev/srN), whether or not it can etch labels.",
              &nodeText);
  args.Flag("json", "Write the result as JSON (fields in the README).", &json);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  DriveChoice choice;
  if (!ParseDriveChoice(driveText, choice)) {
    std::fprintf(stderr,
                 "twr disc: '--drive %s' is neither a drive letter nor a device path (see 'twr "
                 "drives')\n",
                 driveText.c_str());
    return kExitUsage;
  }
  if (!nodeText.empty() && !driveText.empty()) {
    std::fprintf(stderr, "twr disc: give either --drive or --device, not both\n");
    return kExitUsage;
  }
  TerminalMessages messages;
  if (!CheckPassThrough(messages)) return 1;
  auto device = std::make_unique<CELDevice>();

  DriveReport drive;
  if (!nodeText.empty()) {
    // Any drive: opened as it is, not looked for in the drive list.
    const DriveOpenResult opened = SgioTransport::Open(nodeText, DriveAccess::Shared);
    if (opened.error != DriveOpenError::None) {
      DriveOpening failure;
      failure.error = opened.error;
      failure.systemError = opened.systemError;
      failure.device = nodeText;
      std::fprintf(stderr, "twr disc: %s\n", failure.FailureText().c_str());
      return 1;
    }
    device->AttachTransport(opened.transport);
    drive.device = nodeText;
    if (!device->Inquiry()) {
      std::fprintf(stderr,
                   "twr disc: %s does not answer INQUIRY; name an optical drive such as "
                   "/dev/sr0\n",
                   nodeText.c_str());
      return 1;
    }
    device->ReadInquiryStrings(drive.vendor, drive.product, drive.revision);
  } else {
    const DriveOpening opening = OpenChosenDrive(*device, choice, DriveAccess::Shared);
    if (!opening.Ok()) {
      if (opening.error == DriveOpenError::NotListed) {
        messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
        std::fprintf(stderr, "See 'twr drives --all' for the drives of this system.\n");
      } else {
        std::fprintf(stderr, "twr disc: %s\n", opening.FailureText().c_str());
      }
      return 1;
    }
    drive.letter = opening.letter;
    drive.device = opening.device;
    device->ReadInquiryStrings(drive.vendor, drive.product, drive.revision);
  }

  const DiscIdentity id = IdentifyDisc(*device);
  const double radius = device->GetRecordedOuterRadius();
  device->TestUnitReadyTries();
  std::string volume, publisher, date;
  device->ReadVolumeInfo(volume, publisher, date);
  std::vector<DiscEntry> entries;
  const bool listed = nodeText.empty() ? device->ListDiscTopLevel(drive.letter, entries)
                                       : ListNodeTopLevel(nodeText, kMountInfo, entries);
  const bool present = id.kind != kDiscNone;

  if (json) {
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
    out.Key("present").Bool(present);
    out.Key("name").String(id.name.text);
    out.Key("verdict").Int(id.name.verdict);
    out.Key("kind").Int(id.kind);
    out.Key("status").Int(id.status);
    out.Key("labelSide").Bool(id.labelSide);
    out.Key("recordedOuterRadiusMm").Fixed(radius, 1);
    out.Key("volume").String(volume);
    out.Key("publisher").String(publisher);
    out.Key("date").String(date);
    out.Key("topLevel");
    if (listed) {
      out.BeginArray();
      for (const DiscEntry& e : entries)
        out.BeginObject().Key("name").String(e.name).Key("folder").Bool(e.folder).EndObject();
      out.EndArray();
    } else {
      out.Null();
    }
    out.EndObject().EndObject();
    std::printf("%s\n", out.Text().c_str());
  } else {
    const std::string name = drive.letter ? drive.DisplayString()
                                          : drive.device + " " + drive.vendor + " " +
                                                drive.product + " " + drive.revision;
    std::printf("Drive:          %s\n", name.c_str());
    std::printf("Disc:           %s\n", id.name.text.c_str());
    std::printf("Verdict:        %d (%s)\n", id.name.verdict,
                id.name.verdict ? "a label can be burned" : "no label can be burned");
    std::printf("Kind:           0x%02X\n", id.kind);
    std::printf("Status:         0x%02X\n", id.status);
    std::printf("Label side:     %s\n", id.labelSide ? "yes" : "no");
    std::printf("Recorded outer: %s mm\n", Millimetres(radius).c_str());
    std::printf("Volume:         %s\n", volume.c_str());
    std::printf("Publisher:      %s\n", publisher.c_str());
    std::printf("Date:           %s\n", date.c_str());
    for (const DiscEntry& e : entries)
      std::printf(e.folder ? "Top level:      [%s]\n" : "Top level:      %s\n", e.name.c_str());
  }
  if (!present) {
    std::fprintf(stderr, "twr disc: there is no disc in the drive; put one in and try again\n");
    return 1;
  }
  return 0;
}

}  // namespace twr::cli
