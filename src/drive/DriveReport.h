// What discovery found out about one candidate drive: its name, whether it
// can etch labels, and if not (or not now) why, in words a user can act on.
#pragma once

#include <string>
#include <vector>

namespace twr {

enum class DriveReason {
  Qualified,     // answers the ELS page: it can etch labels
  InUse,         // mounted, or held by another program
  NoPermission,  // the user may not open the device node
  Gone,          // the device node or the drive behind it is not there
  NoAnswer,      // opened, but answers neither INQUIRY nor the ELS page
  NotEtchlume,   // answers INQUIRY but refuses the ELS page (mode page 0x2D)
  OpenFailed,    // cannot be opened for another reason (systemError)
};

struct DriveReport {
  char letter = 0;
  std::string device;  // "/dev/sr0", "virtual", ...
  // From INQUIRY; from the system when the drive cannot be asked; else "-",
  // "Unknown", "-" as for a drive that does not answer INQUIRY.
  std::string vendor, product, revision;
  bool qualifies = false;  // listed by discovery (answers the ELS page)
  bool inUse = false;      // mounted or held by another program (when looked at)
  DriveReason reason = DriveReason::NoAnswer;
  int systemError = 0;

  // "(D:) VENDOR PRODUCT REV", the drive list's display string.
  std::string DisplayString() const;
};

// A stable one-word name of the reason for machine-readable output:
// "ok", "in-use", "no-permission", "gone", "no-answer", "not-etchlume",
// "open-failed".
const char* DriveReasonName(DriveReason reason);

// The reason as a phrase that says what to do, e.g. "in use by another
// program or mounted; unmount it or close that program", in the user's
// language unless `translated` is false (the JSON output stays English).
std::string DriveReasonText(const DriveReport& report, bool translated = true);

// One line for every drive of the reports that is there but that the user
// may not open, with what to do (the cdrom group, logging in again); empty
// when there is none.
std::string NoPermissionNotice(const std::vector<DriveReport>& reports);

}  // namespace twr
