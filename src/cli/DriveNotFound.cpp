// The refusal of a drive that is not listed.
#include "cli/DriveNotFound.h"

#include <cstdio>

#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "common/Messages.h"
#include "common/Strings.h"
#include "common/Utf8.h"
#include "drive/CELDevice.h"
#include "drive/DriveSetup.h"

namespace twr::cli {

void ShowDriveNotListed(const std::string& command, const DriveChoice& choice,
                        const CELDevice& device, Messages& messages) {
  messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
  const std::string named =
      choice.letter != 0 ? std::string(1, choice.letter) : TerminalText(choice.device);
  if (device.DriveCount() == 0) {
    const char* text =
        named.empty()
            ? Tr("DriveNotFound",
                 "twr %1: no drive here can etch labels ('twr drives --all' tells why for each "
                 "drive). Without one, the virtual drive stands in: add a [VirtualDrive] section "
                 "to %2 (see 'man twr').")
            : Tr("DriveNotFound",
                 "twr %1: there is no drive %3, and no drive here can etch labels ('twr drives "
                 "--all' tells why for each drive). Without one, the virtual drive stands in: add "
                 "a [VirtualDrive] section to %2 (see 'man twr').");
    PrintLine(stderr, text, {command, Settings().path, named});
    return;
  }
  PrintLine(
      stderr,
      Tr("DriveNotFound", "twr %1: there is no drive %2; the drives that can etch labels are:"),
      {command, named});
  for (int i = 0; i < device.DriveCount(); ++i)
    PrintLine(stderr, "  %1", {TerminalText(device.GetDriveItem(i))});
}

}  // namespace twr::cli
