// Everything below the top of a disc counted for the label: how many files
// and folders it holds and their total size, from the mount when the disc is
// mounted, else read through the drive. A count is bounded in entries and in
// time, so a disc with a huge tree never holds the window for long.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace twr {

class CELDevice;

struct TreeLimits {
  std::uint64_t mostEntries = 200000;       // files and folders counted at most
  std::chrono::milliseconds longest{3000};  // the count stops after this long
};

struct DiscTreeCount {
  bool counted = false;  // a listing could start (a file system was found)
  std::uint64_t files = 0;
  std::uint64_t folders = 0;
  std::uint64_t bytes = 0;  // the files' lengths added up
  // A limit ended the count: the figures are what was counted by then.
  bool capped = false;
  // Folders that could not be listed and were skipped (no permission,
  // damaged directory data, a folder met again or deeper than a walk goes).
  std::uint64_t skipped = 0;
};

// Counts the tree below `root` on the file system. Symbolic links are
// counted as entries and never followed; a folder that cannot be listed is
// skipped and counted in `skipped`. Nothing counted when `root` itself
// cannot be listed.
DiscTreeCount CountFolderTree(const std::string& root, const TreeLimits& limits = {});

// Counts the tree of the disc in the listed drive with that letter: below
// its mount folder when it is mounted, else through the drive when that
// drive is the open one (ISO 9660: Joliet, Rock Ridge or plain names).
DiscTreeCount CountDiscTree(CELDevice& device, char letter, const TreeLimits& limits = {});

}  // namespace twr
