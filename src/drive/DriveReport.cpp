// Names and texts of the discovery reasons.
#include "drive/DriveReport.h"

#include <cstring>

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

std::string DriveReasonText(const DriveReport& report) {
  switch (report.reason) {
    case DriveReason::Qualified:
      return "can etch labels";
    case DriveReason::InUse:
      return std::string("in use by another program or mounted; unmount it or close that program") +
             (report.qualifies ? " (it can etch labels)" : "");
    case DriveReason::NoPermission:
      return "no permission to open it; join the cdrom group (sudo usermod -aG cdrom $USER), "
             "then log out and in again";
    case DriveReason::Gone:
      return "the drive is not there any more; check that it is connected";
    case DriveReason::NoAnswer:
      return "no answer to INQUIRY or to the ELS page; check the drive and its connection";
    case DriveReason::NotEtchlume:
      return "cannot etch labels: it refuses the ELS page (mode page 0x2D)";
    case DriveReason::OpenFailed:
      return std::string("cannot be opened: ") +
             (report.systemError ? std::strerror(report.systemError) : "unknown error");
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
