// The top-level listing of a disc in a real drive: the mount point of the
// drive's node (from /proc/self/mountinfo) listed with std::filesystem.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/DriveSource.h"

namespace twr {

// A mountinfo path field with its octal escapes (\040 for a blank) undone.
std::string UnescapeMountField(std::string_view field);

// Mount point of the file system on device major:minor, from the text of a
// mountinfo file; nothing when it is not mounted.
std::optional<std::string> FindMountPoint(std::string_view mountInfo, unsigned major,
                                          unsigned minor);

// The entries of a folder, in the order the file system gives them ("." and
// ".." never appear). False when the folder cannot be listed.
bool ListFolderTopLevel(const std::string& folder, std::vector<DiscEntry>& entries);

// The mount point of the file system on the block device `node`, from the
// mountinfo file at `mountInfoPath`; nothing when it is not mounted.
std::optional<std::string> NodeMountPoint(const std::string& node,
                                          const std::string& mountInfoPath);

// The top of the disc in the drive at `node`: its mount point's entries.
bool ListNodeTopLevel(const std::string& node, const std::string& mountInfoPath,
                      std::vector<DiscEntry>& entries);

}  // namespace twr
