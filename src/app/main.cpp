// `titlewright`: the window program. The process-wide objects are made here,
// after the application object, and go in reverse order when the main
// window's run has ended.
#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "common/SettingsLocation.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "desktop/UDisksUnmountService.h"
#include "drive/CELDevice.h"
#include "drive/DiscLibraryLog.h"
#include "drive/DriveSetup.h"
#include "drive/DriveWatch.h"
#include "i18n/Translations.h"
#include "label/CELLayout.h"
#include "ui/CELMainDlg.h"
#include "ui/GuiMessages.h"
#include "ui/HelpWindow.h"
#include "ui/StopSignals.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace {

struct Options {
  std::string config;      // --config FILE
  std::string screenshot;  // --screenshot FILE
  std::string design;      // FILE: a label design to open
};

void PrintUsage(std::FILE* out) {
  std::fputs(twr::Tr("titlewright",
                     "Usage: titlewright [--config FILE] [--screenshot FILE] [DESIGN.twrlabel]\n\n"
                     "Designs a round disc label and etches it with an Etchlume drive.\n\n"),
             out);
  const auto option = [out](const char* name, const char* what) {
    std::fprintf(out, "  %-17s  %s\n", name, what);
  };
  option("DESIGN.twrlabel", twr::Tr("titlewright", "open this label design"));
  option("--config FILE", twr::Tr("titlewright", "read the layouts from FILE"));
  option("--screenshot FILE",
         twr::Tr("titlewright", "write the main window to a PNG once it is open, then exit"));
  option("--version", twr::Tr("titlewright", "print the version and exit"));
  option("--help", twr::Tr("titlewright", "print this help and exit"));
}

// 0: go on; otherwise the exit status + 1.
int ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
      PrintUsage(stdout);
      return 1;
    }
    if (!std::strcmp(arg, "--version")) {
      std::printf("titlewright %s\n", twr::kVersionText);
      return 1;
    }
    if (!std::strcmp(arg, "--config") && value(options.config)) continue;
    if (!std::strcmp(arg, "--screenshot") && value(options.screenshot)) continue;
    // One design to open; "--" ends the options.
    if (!std::strcmp(arg, "--") && i + 2 == argc && options.design.empty()) {
      options.design = argv[++i];
      continue;
    }
    if (arg[0] != '-' && options.design.empty()) {
      options.design = arg;
      continue;
    }
    std::fprintf(
        stderr, "%s\n\n",
        twr::Arg(twr::Tr("titlewright", "titlewright: unknown or incomplete option '%1'"), {arg})
            .c_str());
    PrintUsage(stderr);
    return 3;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A closed output pipe must never end the program in the middle of a burn.
  std::signal(SIGPIPE, SIG_IGN);
  // The user's language, before anything is shown (LANGUAGE=C: English).
  twr::i18n::ProgramTranslations translations;
  twr::QuietDiscLibraryLog();
  Options options;
  if (const int status = ParseOptions(argc, argv, options)) return status - 1;

  // 1. The application object.
  QApplication app(argc, argv);
  translations.InstallInto(app);
  twr::ui::HelpWindow::SetLanguage(QString::fromStdString(translations.Language()));
  QApplication::setApplicationName(QString::fromUtf8(twr::kAppName));
  QApplication::setApplicationVersion(QString::fromUtf8(twr::kVersionText));
  QApplication::setDesktopFileName(QStringLiteral("titlewright"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/titlewright")));
  twr::ui::GuiMessages messages;

  // The settings file: --config, ./twr.ini, or the user's own copy of the
  // installed layouts (made at the first start); the virtual drive is read
  // from the same file.
  const twr::SettingsLocation settings =
      twr::LocateSettings(twr::SettingsSearch::FromEnvironment(options.config));
  if (settings.created)
    std::fprintf(stderr, "%s\n",
                 twr::Arg(twr::Tr("titlewright",
                                  "titlewright: made your own settings file %1 from the default "
                                  "layouts"),
                          {settings.path})
                     .c_str());
  twr::DefaultDriveCatalog().SetSettingsPath(settings.path);

  // The drive object comes before the burn session, which refers to it; the
  // rest follow in their order: the burn session (with the ELS page, the
  // tone curve and the ring lock of its burn job), the renderer with the
  // label and preview images, the configuration.
  auto device = std::make_unique<twr::CELDevice>();
  // The desktop's disk service, for a burn whose disc the desktop mounted.
  const std::unique_ptr<twr::UnmountService> unmounter = twr::desktop::MakeUnmountService();
  auto burn = std::make_unique<twr::ui::BurnSession>(*device, messages);
  burn->SetUnmountService(unmounter.get());
  auto layout = std::make_unique<twr::CELLayout>(settings.path);
  auto config = std::make_unique<twr::ui::TitleConfigModel>();

  int result = 0;
  {
    twr::ui::MainWindowModel model(*layout, *device, *burn, *config, messages);
    model.SetSettings(settings);
    // A new label burns only the band its marks need.
    model.SetNewLabelArea(true);
    // USB drives plugged in or pulled out, and the virtual drive of the settings.
    model.WatchDrives(twr::MakeSystemDriveChanges({settings.path}));
    twr::ui::CELMainDlg window(model, *config, *burn, *device, messages);
    if (!options.design.empty()) window.SetDesignAtStart(QString::fromLocal8Bit(options.design));
    // Without a design named: the templates at a first start, else the last design.
    window.SetStartChoice(options.design.empty() && options.screenshot.empty());
    // A burn's outcome box with Help opens the page that explains it.
    messages.SetHelpOpener([&window](const std::string& page) {
      window.ShowHelp();
      if (window.Help()) window.Help()->ShowPage(QString::fromStdString(page));
    });
    if (!options.screenshot.empty()) {
      // A screenshot run waits for nobody: every message goes to stderr and
      // every question is answered No.
      messages.SetResponder([](const twr::ui::GuiMessages::Request& request) {
        std::string line = request.text;
        if (!request.detail.empty()) line += " " + request.detail;
        std::fprintf(stderr, "titlewright: %s\n", line.c_str());
        return false;
      });
      window.SetOnOpened([&] {
        const bool saved = window.grab().save(QString::fromStdString(options.screenshot));
        if (!saved)
          std::fprintf(stderr, "%s\n",
                       twr::Arg(twr::Tr("titlewright", "titlewright: could not write '%1'"),
                                {options.screenshot})
                           .c_str());
        window.done(saved ? twr::ui::CELMainDlg::kClosed : twr::ui::CELMainDlg::kOpeningFailed);
      });
    }
    // A session that logs out, `kill` or Ctrl-C end the program the normal way.
    twr::ui::StopSignals stopSignals;
    QObject::connect(&stopSignals, &twr::ui::StopSignals::StopRequested, &window,
                     &twr::ui::CELMainDlg::RequestQuit);
    window.show();
    result = window.exec();
    messages.Shutdown();
    messages.SetHelpOpener(nullptr);
  }

  config.reset();
  layout.reset();
  burn.reset();
  device.reset();
  return result == twr::ui::CELMainDlg::kOpeningFailed ? 1 : 0;
}
