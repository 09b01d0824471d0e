// The window program started under a German locale: its captions come from
// the compiled-in translation, the version title stays as it is, and with
// LANGUAGE=C every caption is the English one.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "drive/CELDevice.h"
#include "i18n/Translations.h"
#include "label/CELLayout.h"
#include "ui/CELMainDlg.h"
#include "ui/GuiMessages.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace twr {
namespace {

// The environment of a user whose desktop speaks German; `language` is
// LANGUAGE's value, or nullptr for none.
void GermanDesktop(const char* language) {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) unsetenv(name);
  setenv("LANG", "de_DE.UTF-8", 1);
  if (language != nullptr) setenv("LANGUAGE", language, 1);
}

// The main window as main() builds it, with the translations installed the
// same way, and every caption it shows.
struct Window {
  QTemporaryDir dir;
  i18n::ProgramTranslations translations;
  CELDevice device;
  ui::GuiMessages messages;
  ui::BurnSession burn{device, messages};
  ui::TitleConfigModel config;
  std::unique_ptr<CELLayout> layout;
  std::unique_ptr<ui::MainWindowModel> model;
  std::unique_ptr<ui::CELMainDlg> window;

  Window() {
    translations.InstallInto(*QCoreApplication::instance());
    std::ofstream(dir.filePath("twr.ini").toStdString())
        << "[Config]\nLayoutNum=0\n[Layout00]\nName=One\nBaseLength=600\n";
    layout = std::make_unique<CELLayout>(dir.filePath("twr.ini").toStdString());
    model = std::make_unique<ui::MainWindowModel>(*layout, device, burn, config, messages);
    window = std::make_unique<ui::CELMainDlg>(*model, config, burn, device, messages);
  }
  QStringList Captions() const {
    QStringList texts;
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) texts << b->text();
    for (const QLabel* l : window->findChildren<QLabel*>()) texts << l->text();
    return texts;
  }
};

TEST(WindowLanguage, GermanCaptionsUnderAGermanLocaleAndEnglishUnderLanguageC) {
  GermanDesktop(nullptr);
  {
    const Window german;
    EXPECT_EQ(german.translations.Language(), "de");
    const QStringList captions = german.Captions();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Brennen"))) << captions.join(u'|').toStdString();
    EXPECT_TRUE(captions.contains(QStringLiteral("&Titel"))) << captions.join(u'|').toStdString();
    EXPECT_FALSE(captions.contains(QStringLiteral("&Burn")));
    // The title with the version is never translated.
    EXPECT_TRUE(german.window->windowTitle().startsWith(QStringLiteral("Titlewright  Version ")))
        << german.window->windowTitle().toStdString();
  }
  GermanDesktop("C");
  const Window english;
  EXPECT_EQ(english.translations.Language(), "");
  const QStringList captions = english.Captions();
  EXPECT_TRUE(captions.contains(QStringLiteral("&Burn"))) << captions.join(u'|').toStdString();
  EXPECT_TRUE(captions.contains(QStringLiteral("&Title")));
  EXPECT_FALSE(captions.contains(QStringLiteral("&Brennen")));
}

}  // namespace
}  // namespace twr

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
