// The ISO 9660 library's log handler.
#include "drive/DiscLibraryLog.h"

#include <cdio/logging.h>

namespace twr {

namespace {

// Debug notes, warnings about odd images and errors alike: a listing that
// fails says so through the drive's own answers, never on stdout.
void DropMessage(cdio_log_level_t /*level*/, const char* /*message*/) {}

}  // namespace

void QuietDiscLibraryLog() {
  cdio_log_set_handler(DropMessage);
}

}  // namespace twr
