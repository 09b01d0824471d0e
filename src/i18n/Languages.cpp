// The user's languages from LANGUAGE, LC_ALL, LC_MESSAGES and LANG.
#include "i18n/Languages.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace twr::i18n {

namespace {

bool IsLetters(std::string_view text, bool digitsToo) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [&](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (digitsToo && c >= '0' && c <= '9');
  });
}

enum class Entry { Language, English, NotALanguage };

// One locale name, "language[_TERRITORY][.codeset][@modifier]": adds
// "language_TERRITORY" and "language" to `out`.
Entry AddLocale(std::string_view name, std::vector<std::string>& out) {
  const std::string_view base = name.substr(0, name.find_first_of(".@"));
  if (base == "C" || base == "POSIX") return Entry::English;
  const std::size_t underscore = base.find('_');
  const std::string_view language = base.substr(0, underscore);
  const std::string_view territory =
      underscore == std::string_view::npos ? std::string_view() : base.substr(underscore + 1);
  if (language.size() < 2 || language.size() > 3 || !IsLetters(language, false) ||
      (underscore != std::string_view::npos && !IsLetters(territory, true))) {
    return Entry::NotALanguage;
  }
  if (language == "en") return Entry::English;
  auto add = [&](std::string text) {
    if (std::find(out.begin(), out.end(), text) == out.end()) out.push_back(std::move(text));
  };
  if (!territory.empty()) add(std::string(language) + "_" + std::string(territory));
  add(std::string(language));
  return Entry::Language;
}

const char* FirstSet(const Environment& environment, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = environment(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

}  // namespace

std::vector<std::string> MessageLanguages(const Environment& environment) {
  std::vector<std::string> languages;
  const char* locale = FirstSet(environment, {"LC_ALL", "LC_MESSAGES", "LANG"});
  if (locale == nullptr) return languages;
  const std::string_view localeName(locale);
  if (localeName == "C" || localeName == "POSIX") return languages;

  std::vector<std::string_view> entries;
  if (const char* list = FirstSet(environment, {"LANGUAGE"})) {
    std::string_view rest(list);
    while (!rest.empty()) {
      const std::size_t colon = rest.find(':');
      if (colon != 0) entries.push_back(rest.substr(0, colon));
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
  } else {
    entries.push_back(localeName);
  }
  for (const std::string_view entry : entries) {
    if (AddLocale(entry, languages) == Entry::English) break;
  }
  return languages;
}

std::vector<std::string> MessageLanguages() {
  return MessageLanguages([](const char* name) { return std::getenv(name); });
}

}  // namespace twr::i18n
