// A temporary folder for a test, /tmp/twr-TAG-XXXXXX, removed with everything
// in it. A folder that cannot be made fails the test (its path is then empty).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace twr::test {

class TempDir {
 public:
  explicit TempDir(const char* tag = "test") {
    std::string pattern = std::string("/tmp/twr-") + tag + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
      ADD_FAILURE() << "cannot make " << pattern;
    else
      path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const char* name) const { return path_ / name; }
  // The path of `name` in the folder, as a string.
  std::string File(const char* name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace twr::test
