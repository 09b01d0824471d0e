// Runs every registered window test class on the off-screen platform.
#include "ui/UiTestMain.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdlib>

namespace twr::test {

std::vector<UiTestFactory>& UiTests() {
  static std::vector<UiTestFactory> tests;
  return tests;
}

QString ScreenshotPath(const QString& name) {
  QDir dir(QDir::current());
  dir.mkpath(QStringLiteral("screenshots"));
  return dir.filePath(QStringLiteral("screenshots/") + name);
}

}  // namespace twr::test

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  int status = 0;
  // TWR_UI_TESTS=Class,Class runs only those classes (the Wayland check).
  const QStringList only =
      QString::fromLocal8Bit(qgetenv("TWR_UI_TESTS")).split(u',', Qt::SkipEmptyParts);
  for (const auto& make : twr::test::UiTests()) {
    std::unique_ptr<QObject> test = make();
    if (!only.isEmpty() &&
        !only.contains(
            QString::fromLatin1(test->metaObject()->className()).section(QStringLiteral("::"), -1)))
      continue;
    status |= QTest::qExec(test.get(), argc, argv);
  }
  return status;
}
