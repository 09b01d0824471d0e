// The disc scan: the texts a disc gives the label (its volume name and the
// date digits of its volume descriptor) and the lines of its top-level
// folders and files. Shared by the main window's Scan and `twr burn --scan`.
#pragma once

#include <string>
#include <vector>

namespace twr {

class CELDevice;

// At most this many entry lines come from one scan.
inline constexpr int kMaxScanLines = 10;

struct DiscTexts {
  bool ready = false;  // the drive answered TEST UNIT READY the third time
  std::string title;   // volume name
  std::string date;    // YYYYMMDD of the volume's creation
};

// TEST UNIT READY three times (only the last counts); when the drive is
// ready, the volume name and the creation date (both empty when the disc has
// no readable volume descriptor).
DiscTexts LoadDiscTexts(CELDevice& device);

// The drive letter a drive-list entry "(X:) vendor product revision" names
// in its first four characters; 'D' when they are not of that form.
char ScanLetter(const std::string& entryText);

// The top-level entries of the disc in the listed drive with that letter,
// in file-system order, as note lines: "[name]  " for a folder, "name  "
// for anything else; at most `room` of them (never more than ten). Nothing
// when no listing can start (no disc, no file system, nothing mounted).
std::vector<std::string> ScanEntryLines(CELDevice& device, char letter, int room = kMaxScanLines);

}  // namespace twr
