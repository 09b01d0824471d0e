// `twr`: the command-line twin of the window program. It renders layouts,
// lists drives, identifies discs and burns labels with the same core.
#include <QString>
#include <QtGlobal>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/SettingsFile.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "drive/DiscLibraryLog.h"
#include "i18n/Translations.h"

namespace {

using twr::cli::ArgParser;
using twr::cli::ClosestWord;

struct Command {
  const char* name;
  int (*run)(int, char**);
  const char* summary;
};

constexpr Command kCommands[] = {
    {"layouts", twr::cli::RunLayouts,
     TWR_TRANSLATE_NOOP("twr", "List the layouts of the settings file.")},
    {"layout", twr::cli::RunLayout,
     TWR_TRANSLATE_NOOP("twr", "Show, add, change, delete or move a layout.")},
    {"render", twr::cli::RunRender,
     TWR_TRANSLATE_NOOP("twr",
                        "Render a layout into label and preview pictures, or the etched disc.")},
    {"plan", twr::cli::RunPlan,
     TWR_TRANSLATE_NOOP("twr", "Say how long a burn of a label takes and which band it burns.")},
    {"drives", twr::cli::RunDrives,
     TWR_TRANSLATE_NOOP("twr", "List the drives that can etch labels.")},
    {"disc", twr::cli::RunDisc, TWR_TRANSLATE_NOOP("twr", "Identify the disc in a drive.")},
    {"burn", twr::cli::RunBurn,
     TWR_TRANSLATE_NOOP("twr", "Burn a label onto the disc in a drive.")},
    {"design", twr::cli::RunDesign,
     TWR_TRANSLATE_NOOP("twr", "Save a label design to a file, or show what one holds.")},
};

void PrintUsage(std::FILE* out) {
  std::fputs(twr::Tr("twr",
                     "Usage: twr [--config FILE] COMMAND [options]\n"
                     "       twr --version | --help\n\n"),
             out);
  std::fputs(twr::Tr("twr",
                     "Designs round disc labels and etches them with an Etchlume drive.\n"
                     "Layouts come from the settings file: --config FILE, else ./twr.ini when it\n"
                     "exists, else ~/.config/titlewright/twr.ini (made from the installed\n"
                     "defaults at the first start)."),
             out);
  std::fprintf(out, "\n\n%s\n", twr::Tr("twr", "Commands:"));
  for (const Command& c : kCommands)
    std::fprintf(out, "  %-10s %s\n", c.name, twr::Tr("twr", c.summary));
  std::fprintf(out, "\n%s\n",
               twr::Tr("twr", "Run 'twr COMMAND --help' for the options of a command."));
}

int UsageError(const std::string& message) {
  std::fprintf(stderr, "%s\n\n", twr::Arg(twr::Tr("twr", "twr: %1"), {message}).c_str());
  PrintUsage(stderr);
  return twr::cli::kExitUsage;
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
  // A reader that goes away (`twr burn ... | head`) must not end the program
  // in the middle of a burn: a write to a closed pipe fails instead, and the
  // output stops while the burn goes on to its closing steps.
  std::signal(SIGPIPE, SIG_IGN);
  // The user's language, before anything is shown (LANGUAGE=C: English).
  const twr::i18n::ProgramTranslations translations;
  qInstallMessageHandler(QuietQtMessages);
  twr::QuietDiscLibraryLog();  // nothing of the ISO library's on stdout
  twr::cli::SetProgramArguments(argc, argv);
  ArgParser::SetSettingsHook(twr::cli::UseSettingsFile);

  // Options before the command.
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      PrintUsage(stdout);
      return twr::cli::kExitOk;
    }
    if (arg == "--version") {
      std::printf("twr %s\n", twr::kVersionText);
      return twr::cli::kExitOk;
    }
    if (arg == "--config" || arg.rfind("--config=", 0) == 0) {
      std::string value;
      if (arg == "--config") {
        if (i + 1 >= argc)
          return UsageError(twr::Tr("twr", "option '--config' needs a value FILE"));
        value = argv[++i];
      } else {
        value = arg.substr(std::strlen("--config="));
      }
      if (value.empty()) return UsageError(twr::Tr("twr", "'--config' needs a file name"));
      ArgParser::SetDefaultConfig(value);
      continue;
    }
    const std::string meant =
        arg.rfind("--", 0) == 0 ? ClosestWord(arg.substr(2), {"help", "version", "config"}) : "";
    return UsageError(
        meant.empty()
            ? twr::Arg(twr::Tr("twr", "unknown option '%1'"), {arg})
            : twr::Arg(twr::Tr("twr", "unknown option '%1'; did you mean '--%2'?"), {arg, meant}));
  }
  if (i >= argc) return UsageError(twr::Tr("twr", "no command given"));
  if (std::strcmp(argv[i], "help") == 0) {
    PrintUsage(stdout);
    return twr::cli::kExitOk;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[i], c.name) == 0) {
      const int status = c.run(argc - i, argv + i);
      twr::cli::StopGui();
      return status;
    }
  }
  std::vector<std::string> names{"help"};
  for (const Command& c : kCommands) names.emplace_back(c.name);
  const std::string meant = ClosestWord(argv[i], names);
  return UsageError(
      meant.empty()
          ? twr::Arg(twr::Tr("twr", "unknown command '%1'"), {argv[i]})
          : twr::Arg(twr::Tr("twr", "unknown command '%1'; did you mean '%2'?"), {argv[i], meant}));
}
