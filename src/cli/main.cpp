// `twr`: the command-line twin of the window program. It renders layouts,
// lists drives, identifies discs and burns labels with the same core.
#include <QGuiApplication>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/Commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* summary;
};

constexpr Command kCommands[] = {
    {"layouts", twr::cli::RunLayouts, "List the layouts of ./twr.ini."},
    {"render", twr::cli::RunRender, "Render a layout into label and preview pictures."},
    {"drives", twr::cli::RunDrives, "List the drives that can etch labels."},
    {"disc", twr::cli::RunDisc, "Identify the disc in a drive."},
    {"burn", twr::cli::RunBurn, "Burn a label onto the disc in a drive."},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: twr COMMAND [options]\n\n"
               "Designs round disc labels and etches them with an Etchlume drive.\n"
               "Layouts come from ./twr.ini in the current folder.\n\nCommands:\n");
  for (const Command& c : kCommands) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
  std::fprintf(out, "\nRun 'twr COMMAND --help' for the options of a command.\n");
}

// Qt's notes about the session environment mean nothing to a command-line
// user (there is no session on a server); everything else still shows.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (text.startsWith(QLatin1String("QStandardPaths:"))) return;
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
      !std::strcmp(argv[1], "help")) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  // Text measurement and drawing need a GUI application, but never a screen.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 1, argv + 1);
  }
  std::fprintf(stderr, "twr: unknown command '%s'\n\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
