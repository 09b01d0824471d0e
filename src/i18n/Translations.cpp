// Loading the compiled-in translation and answering common's translate hook.
#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QString>

#include <mutex>
#include <string>
#include <unordered_map>

#include "common/Translate.h"

namespace twr::i18n {

namespace {

// The translation the hook answers from, and the texts it has answered:
// Tr() hands out pointers into them, which must stay valid until the
// process ends, so the answers are kept for good (a few hundred texts at
// most) and never freed.
struct HookState {
  std::mutex mutex;
  const QTranslator* translator = nullptr;
  std::string language;
  // "language\x04context\x04text" -> the translation, "" for none
  std::unordered_map<std::string, std::string> answers;
};

HookState& State() {
  static HookState* const state = new HookState;
  return *state;
}

const char* TranslateHook(const char* context, const char* text) {
  HookState& state = State();
  const std::lock_guard<std::mutex> lock(state.mutex);
  if (state.translator == nullptr) return nullptr;
  std::string key = state.language + '\x04' + context + '\x04' + text;
  auto found = state.answers.find(key);
  if (found == state.answers.end()) {
    const QString translated = state.translator->translate(context, text);
    found = state.answers.emplace(std::move(key), translated.toStdString()).first;
  }
  return found->second.empty() ? nullptr : found->second.c_str();
}

}  // namespace

ProgramTranslations::ProgramTranslations(const std::vector<std::string>& languages) {
  for (const std::string& language : languages) {
    const QString file = QStringLiteral(":/i18n/titlewright_") + QString::fromStdString(language) +
                         QStringLiteral(".qm");
    // Exactly this file, so that Language() names the one taken (the list
    // has "de" after "de_AT"; QTranslator::load would quietly take it for
    // "de_AT").
    if (QFile::exists(file) && program_.load(file)) {
      language_ = language;
      break;
    }
  }
  if (language_.empty()) return;
  HookState& state = State();
  {
    const std::lock_guard<std::mutex> lock(state.mutex);
    state.translator = &program_;
    state.language = language_;
  }
  SetTranslateHook(&TranslateHook);
}

ProgramTranslations::~ProgramTranslations() {
  if (language_.empty()) return;
  SetTranslateHook(nullptr);
  HookState& state = State();
  const std::lock_guard<std::mutex> lock(state.mutex);
  state.translator = nullptr;
}

void ProgramTranslations::InstallInto(QCoreApplication& app) {
  if (language_.empty()) return;
  app.installTranslator(&program_);
  const QString qtFile = QStringLiteral("qtbase_") + QString::fromStdString(language_);
  if (qt_.load(qtFile, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qt_);
  }
}

}  // namespace twr::i18n
