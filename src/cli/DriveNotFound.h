// What `twr disc` and `twr burn` say when the drive asked for is not in the
// list of drives that can etch labels: the drive named, and the drives there
// are, or how to get one.
#pragma once

#include <string>

namespace twr {
class CELDevice;
class Messages;
struct DriveChoice;
}  // namespace twr

namespace twr::cli {

// "Etchlume Drive is not found." as always, then on stderr "twr COMMAND:"
// with the drive `choice` named (when one was) and the drives `device` has
// just listed, or, when it lists none, where to look and how the virtual
// drive stands in.
void ShowDriveNotListed(const std::string& command, const DriveChoice& choice,
                        const CELDevice& device, Messages& messages);

}  // namespace twr::cli
