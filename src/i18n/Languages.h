// Which language the user asked for, read from the environment as gettext
// reads it, so that Titlewright speaks the language the user's other
// programs speak.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace twr::i18n {

// Reads one environment variable: its value, or nullptr when it is unset.
using Environment = std::function<const char*(const char* name)>;

// The languages to look for, best first, as the names of translation files
// ("de_AT", then "de"). The locale for messages is LC_ALL, else
// LC_MESSAGES, else LANG (the first one set and not empty). When there is
// none, or it is "C" or "POSIX", the list is empty: everything stays
// English. Otherwise the entries are those of LANGUAGE, a colon-separated
// list ("de:fr"), when it is set, else the locale itself; each is
// "language[_TERRITORY][.codeset][@modifier]". An entry "C", "POSIX" or an
// English one ends the list, English being the language the texts are
// written in; an entry that is no such name is skipped.
std::vector<std::string> MessageLanguages(const Environment& environment);

// The same for this process's environment.
std::vector<std::string> MessageLanguages();

}  // namespace twr::i18n
