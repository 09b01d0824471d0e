// Registration of the Qt Test classes of the window tests: each test file
// registers its class, and one main runs them all on the off-screen platform.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace twr::test {

using UiTestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<UiTestFactory>& UiTests();

template <typename T>
struct RegisterUiTest {
  RegisterUiTest() {
    UiTests().push_back([] { return std::unique_ptr<QObject>(new T); });
  }
};

// Where the tests write their screenshots (created on first use).
QString ScreenshotPath(const QString& name);

}  // namespace twr::test

#define TWR_UI_TEST(Class) static const twr::test::RegisterUiTest<Class> kRegister##Class;
