// The lazily made GUI application of `twr`.
#include "cli/GuiApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <memory>

namespace twr::cli {

namespace {

int g_argc = 1;
char* g_defaultArgv[] = {const_cast<char*>("twr"), nullptr};
char** g_argv = g_defaultArgv;
std::unique_ptr<QGuiApplication> g_app;

}  // namespace

void SetProgramArguments(int argc, char** argv) {
  if (argc < 1 || argv == nullptr) return;
  g_argc = 1;  // Qt sees only the program name: the options are twr's own
  g_argv = argv;
}

void StartGui() {
  if (QCoreApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  g_app = std::make_unique<QGuiApplication>(g_argc, g_argv);
}

void StopGui() {
  g_app.reset();
}

}  // namespace twr::cli
