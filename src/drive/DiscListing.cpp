// Mount point lookup and folder listing for the disc scan of real drives.
#include "drive/DiscListing.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace twr {

namespace {

// mountinfo: ID parent major:minor root mount-point options ...
constexpr int kDeviceField = 2;
constexpr int kMountPointField = 4;

bool IsOctal(char c) {
  return c >= '0' && c <= '7';
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
        IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
      const int value = (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
      out.push_back(static_cast<char>(value & 0xFF));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

std::optional<std::string> FindMountPoint(std::string_view mountInfo, unsigned major,
                                          unsigned minor) {
  const std::string wanted = std::to_string(major) + ":" + std::to_string(minor);
  std::istringstream lines{std::string(mountInfo)};
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string field, device, mountPoint;
    for (int i = 0; i <= kMountPointField && (fields >> field); ++i) {
      if (i == kDeviceField) device = field;
      if (i == kMountPointField) mountPoint = field;
    }
    if (device == wanted && !mountPoint.empty()) return UnescapeMountField(mountPoint);
  }
  return std::nullopt;
}

bool ListFolderTopLevel(const std::string& folder, std::vector<DiscEntry>& entries) {
  entries.clear();
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return false;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    entries.push_back({it->path().filename().string(), it->is_directory(typeError)});
  }
  return true;
}

std::optional<std::string> NodeMountPoint(const std::string& node,
                                          const std::string& mountInfoPath) {
  struct stat st {};
  if (::stat(node.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return std::nullopt;
  std::ifstream file(mountInfoPath);
  if (!file) return std::nullopt;
  std::stringstream text;
  text << file.rdbuf();
  return FindMountPoint(text.str(), major(st.st_rdev), minor(st.st_rdev));
}

bool ListNodeTopLevel(const std::string& node, const std::string& mountInfoPath,
                      std::vector<DiscEntry>& entries) {
  entries.clear();
  const auto mountPoint = NodeMountPoint(node, mountInfoPath);
  return mountPoint && ListFolderTopLevel(*mountPoint, entries);
}

}  // namespace twr
