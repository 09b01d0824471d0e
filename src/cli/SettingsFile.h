// The settings file of this run of `twr`: found once a command's options
// are read (--config, ./twr.ini or the user's copy), handed to the drive
// list for its virtual drive, and named when it holds no layout.
#pragma once

#include <string>

#include "common/SettingsLocation.h"

namespace twr {
class Messages;
}

namespace twr::cli {

// Finds the settings file for `config` (empty: the usual search) and has the
// drive list read its virtual drive from it. False, after saying why on
// stderr, when a file named with --config cannot be used.
bool UseSettingsFile(const std::string& config);

// The file in use (./twr.ini until UseSettingsFile ran).
const SettingsLocation& Settings();

// Why `path` gives no layout, in one sentence.
std::string NoLayoutsDetail(const std::string& path);
// Message 801 followed by that sentence.
void ShowNoLayouts(Messages& messages, const std::string& path);

}  // namespace twr::cli
