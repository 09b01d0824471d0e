// Mount points of a drive's disc, and the command a user types to unmount one.
#include "drive/DiscUnmount.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <fstream>
#include <sstream>

#include "drive/DiscListing.h"

namespace twr {

namespace {

// mountinfo: ID parent major:minor root mount-point options ...
constexpr int kDeviceField = 2;
constexpr int kMountPointField = 4;

}  // namespace

std::vector<std::string> FindMountPoints(const std::string& mountInfo, unsigned major,
                                         unsigned minor) {
  std::vector<std::string> points;
  const std::string wanted = std::to_string(major) + ":" + std::to_string(minor);
  std::istringstream lines(mountInfo);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string field, device, mountPoint;
    for (int i = 0; i <= kMountPointField && (fields >> field); ++i) {
      if (i == kDeviceField) device = field;
      if (i == kMountPointField) mountPoint = field;
    }
    if (device == wanted && !mountPoint.empty()) points.push_back(UnescapeMountField(mountPoint));
  }
  return points;
}

std::vector<std::string> NodeMountPoints(const std::string& node,
                                         const std::string& mountInfoPath) {
  struct stat st {};
  if (::stat(node.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return {};
  std::ifstream file(mountInfoPath);
  if (!file) return {};
  std::stringstream text;
  text << file.rdbuf();
  return FindMountPoints(text.str(), major(st.st_rdev), minor(st.st_rdev));
}

std::string UmountCommand(const std::string& mountPoint) {
  std::string quoted = "'";
  for (char c : mountPoint) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return "umount " + quoted + "'";
}

}  // namespace twr
