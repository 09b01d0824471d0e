// Helpers for the label tests: a settings file in a temporary folder.
#pragma once

#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <string>

namespace twr::test {

inline constexpr const char* kTestFace = "Liberation Sans";

class TempSettings {
 public:
  // Writes `ini` as twr.ini in a fresh temporary folder.
  explicit TempSettings(const std::string& ini = {}) {
    if (!ini.empty()) Write(ini);
  }
  void Write(const std::string& ini) { std::ofstream(Path(), std::ios::binary) << ini; }
  std::string Path() const { return Folder() + "/twr.ini"; }
  std::string Folder() const { return dir_.path().toStdString(); }

 private:
  QTemporaryDir dir_;
};

// A one-layout settings file: [Config] with the test face, then the given
// keys in [Layout00].
inline std::string OneLayout(const std::string& keys) {
  return std::string("[Config]\nLayoutNum=1\nFont=") + kTestFace + "\n[Layout00]\nName=Test\n" +
         keys;
}

}  // namespace twr::test
