// GoogleTest main with an off-screen Qt GUI application, so that tests can
// measure and draw text without a display.
#include <gtest/gtest.h>
#include <QGuiApplication>

#include <cstdlib>

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QGuiApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
