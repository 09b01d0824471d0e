// Names and texts of the discovery reasons.
#include "drive/DriveReport.h"

#include <cstring>

#include "common/Translate.h"

namespace twr {

std::string DriveReport::DisplayString() const {
  return std::string("(") + letter + ":) " + vendor + " " + product + " " + revision;
}

const char* DriveReasonName(DriveReason reason) {
  switch (reason) {
    case DriveReason::Qualified:
      return "ok";
    case DriveReason::InUse:
      return "in-use";
    case DriveReason::NoPermission:
      return "no-permission";
    case DriveReason::Gone:
      return "gone";
    case DriveReason::NoAnswer:
      return "no-answer";
    case DriveReason::NotEtchlume:
      return "not-etchlume";
    case DriveReason::OpenFailed:
      return "open-failed";
  }
  return "open-failed";
}

std::string DriveReasonText(const DriveReport& report, bool translated) {
  const auto say = [translated](const char* text) -> std::string {
    return translated ? Tr("DriveReport", text) : text;
  };
  switch (report.reason) {
    case DriveReason::Qualified:
      return say(TWR_TRANSLATE_NOOP("DriveReport", "can etch labels"));
    case DriveReason::InUse:
      return report.qualifies
                 ? say(TWR_TRANSLATE_NOOP("DriveReport",
                                          "in use by another program or mounted; unmount it or "
                                          "close that program (it can etch labels)"))
                 : say(TWR_TRANSLATE_NOOP("DriveReport",
                                          "in use by another program or mounted; unmount it or "
                                          "close that program"));
    case DriveReason::NoPermission:
      return say(TWR_TRANSLATE_NOOP("DriveReport",
                                    "no permission to open it; join the cdrom group (sudo usermod "
                                    "-aG cdrom $USER), then log out and in again"));
    case DriveReason::Gone:
      return say(TWR_TRANSLATE_NOOP("DriveReport",
                                    "the drive is not there any more; check that it is connected"));
    case DriveReason::NoAnswer:
      return say(TWR_TRANSLATE_NOOP(
          "DriveReport",
          "no answer to INQUIRY or to the ELS page; check the drive and its connection"));
    case DriveReason::NotEtchlume:
      return say(TWR_TRANSLATE_NOOP(
          "DriveReport", "cannot etch labels: it refuses the ELS page (mode page 0x2D)"));
    case DriveReason::OpenFailed:
      return Arg(say(TWR_TRANSLATE_NOOP("DriveReport", "cannot be opened: %1")),
                 {report.systemError ? std::strerror(report.systemError)
                                     : say(TWR_TRANSLATE_NOOP("DriveReport", "unknown error"))});
  }
  return {};
}

std::string NoPermissionNotice(const std::vector<DriveReport>& reports) {
  std::string notice;
  for (const DriveReport& r : reports) {
    if (r.reason != DriveReason::NoPermission) continue;
    if (!notice.empty()) notice += "\n";
    notice += "Drive " + r.DisplayString() + " (" + r.device +
              ") is there, but cannot be used: " + DriveReasonText(r) + ".";
  }
  return notice;
}

}  // namespace twr
