// The program's translations, compiled in from translations/*.ts, loaded
// for the user's language. Each front end makes one in main(), before it
// shows anything, and keeps it until it returns.
#pragma once

#include <QTranslator>

#include <string>
#include <vector>

#include "i18n/Languages.h"

class QCoreApplication;

namespace twr::i18n {

class ProgramTranslations {
 public:
  // Loads the translation of the first of `languages` that the program has
  // and sets common's translate hook (Tr, StringText) to it; with none of
  // them, everything stays English.
  explicit ProgramTranslations(const std::vector<std::string>& languages = MessageLanguages());
  ~ProgramTranslations();
  ProgramTranslations(const ProgramTranslations&) = delete;
  ProgramTranslations& operator=(const ProgramTranslations&) = delete;

  // The language loaded ("de"); empty when the program speaks English.
  const std::string& Language() const { return language_; }

  // For the window program, once its application object exists: the same
  // translation for the windows' tr(), and Qt's own (standard buttons, file
  // dialogs) in the same language when the system has it.
  void InstallInto(QCoreApplication& app);

 private:
  std::string language_;
  QTranslator program_;
  QTranslator qt_;
};

}  // namespace twr::i18n
