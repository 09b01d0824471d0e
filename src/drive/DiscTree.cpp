// The bounded count of a disc's files, folders and bytes.
#include "drive/DiscTree.h"

#include <filesystem>
#include <vector>

#include "drive/CELDevice.h"
#include "drive/DiscScan.h"
#include "drive/IsoDirectory.h"

namespace twr {

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The clock is read once every so many entries.
constexpr std::uint64_t kClockEvery = 256;

// Whether the count may go on after one more entry; sets `capped` when not.
class Budget {
 public:
  Budget(const TreeLimits& limits, DiscTreeCount& count)
      : limits_(limits), count_(count), end_(Clock::now() + limits.longest) {}
  bool Take() {
    ++taken_;
    if (taken_ > limits_.mostEntries || (taken_ % kClockEvery == 0 && Clock::now() >= end_)) {
      count_.capped = true;
      return false;
    }
    return true;
  }

 private:
  const TreeLimits& limits_;
  DiscTreeCount& count_;
  Clock::time_point end_;
  std::uint64_t taken_ = 0;
};

}  // namespace

DiscTreeCount CountFolderTree(const std::string& root, const TreeLimits& limits) {
  DiscTreeCount count;
  Budget budget(limits, count);
  std::vector<fs::path> pending{fs::path(root)};
  bool first = true;
  while (!pending.empty()) {
    const fs::path folder = std::move(pending.back());
    pending.pop_back();
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) {
      if (first) return count;  // the root itself: nothing to count
      ++count.skipped;
      continue;
    }
    first = false;
    count.counted = true;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
      if (ec) break;
      if (!budget.Take()) return count;
      std::error_code statError;
      // symlink_status: a link is an entry of its own, never followed.
      const fs::file_status status = it->symlink_status(statError);
      if (!statError && fs::is_directory(status)) {
        ++count.folders;
        pending.push_back(it->path());
        continue;
      }
      ++count.files;
      if (!statError && fs::is_regular_file(status)) {
        const std::uintmax_t size = it->file_size(statError);
        if (!statError) count.bytes += size;
      }
    }
    if (ec) ++count.skipped;  // the folder ended early
  }
  return count;
}

DiscTreeCount CountDiscTree(CELDevice& device, char letter, const TreeLimits& limits) {
  const std::string mount = device.DiscMountFolder(letter);
  if (!mount.empty()) return CountFolderTree(mount, limits);
  DiscTreeCount count;
  const int index = device.FindDriveIndex(letter);
  // Only the drive the caller opened is read; no other drive is switched to.
  if (index < 0 || device.OpenIndex() != index) return count;
  const IsoBlockReader read = DriveBlockReader(device);
  Budget budget(limits, count);
  bool cut = false;
  const IsoListingResult result = WalkIsoTree(
      read,
      [&](const IsoTreeEntry& entry) {
        if (!budget.Take()) return false;
        if (entry.folder) {
          ++count.folders;
        } else {
          ++count.files;
          count.bytes += entry.bytes;
        }
        return true;
      },
      cut);
  count.counted = result == IsoListingResult::Listed;
  if (cut) ++count.skipped;
  return count;
}

}  // namespace twr
