// Helpers for the label tests: a settings file in a temporary folder.
#pragma once

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <string>

#include "label/CELLayout.h"

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

// A fixture that renders the one layout of a temporary settings file: a
// 400-pixel label, grey 200 boxes and black text, plus the test's own keys.
class OneLayoutTest : public ::testing::Test {
 protected:
  CELLayout& Make(const std::string& keys) {
    settings_.Write(OneLayout("BaseLength=400\nBgColor=200\nTxColor=0\n" + keys));
    layout_ = std::make_unique<CELLayout>(settings_.Path());
    return *layout_;
  }
  TempSettings settings_;
  std::unique_ptr<CELLayout> layout_;
};

}  // namespace twr::test
