// The disc scan: the texts a disc gives the label (its volume name and the
// date digits of its volume descriptor) and the lines of its top-level
// folders and files. Shared by the main window's Scan and `twr burn --scan`.
#pragma once

#include <string>
#include <vector>

#include "drive/DriveSource.h"
#include "drive/IsoDirectory.h"

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
// no readable volume descriptor), as label text: UTF-8 (any other byte read
// as Windows-1252) without control characters.
DiscTexts LoadDiscTexts(CELDevice& device);

// The drive letter a drive-list entry "(X:) vendor product revision" names
// in its first four characters; 'D' when they are not of that form.
char ScanLetter(const std::string& entryText);

// Where a top-level listing came from.
enum class ListingSource { None, Mount, Drive };

struct TopLevelListing {
  ListingSource source = ListingSource::None;  // None: nothing could be listed
  std::vector<DiscEntry> entries;              // in file-system order
  bool needsMount = false;                     // a UDF disc without ISO 9660: only a mount lists it
  bool cut = false;  // read through the drive, damaged data ended it early
  bool Listed() const { return source != ListingSource::None; }
};

// The top of the disc in the open drive, read through the drive itself
// (READ(12) of the volume descriptors and the root directory): Joliet
// names, else Rock Ridge names, else plain ISO 9660 names.
TopLevelListing ReadTopLevelThroughDrive(CELDevice& device);

// Reads 2048-byte blocks of the disc in the open drive with READ(12); a
// read past its 24-bit address or larger than the drive's read area fails.
IsoBlockReader DriveBlockReader(CELDevice& device);

// The top of the disc in the listed drive with that letter: its mount's
// entries when it is mounted (for the virtual drive: its image, unless its
// settings say it is not mounted), else read through the drive when that
// drive is the open one.
TopLevelListing ListTopLevel(CELDevice& device, char letter);

// The same for a drive node that need not be listed (`twr disc --device`),
// open in `device`: the mount from the mountinfo file, else the drive.
TopLevelListing ListNodeTopLevelOrDrive(CELDevice& device, const std::string& node,
                                        const std::string& mountInfoPath);

// The top-level entries of the disc in the listed drive with that letter
// (ListTopLevel), in file-system order, as note lines: "[name]  " for a
// folder, "name  " for anything else, each name made label text as
// LoadDiscTexts makes the volume name; at most `room` of them (never more
// than ten). Nothing when no listing can start (no disc, no file system).
// `needsMount` (if given) tells a UDF disc that only a mount can list.
std::vector<std::string> ScanEntryLines(CELDevice& device, char letter, int room = kMaxScanLines,
                                        bool* needsMount = nullptr);

}  // namespace twr
