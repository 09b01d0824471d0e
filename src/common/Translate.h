// Texts in the user's language. The core has no Qt: a front end that has
// loaded a translation sets the hook, and every layer asks Tr() for a text
// it shows. Without a hook, or for a text the translation lacks, the English
// text comes back as written, byte for byte.
//
// The translation tools (the `update-translations` target) find a text by
// the way it is written; the context is always a string literal:
//   - shown where it is written:     Tr("SenseText", "Medium not present")
//   - kept in a table, shown later:  TWR_TRANSLATE_NOOP("Strings", "Disc is not found.")
//                                    in the table, Tr("Strings", entry.text) where shown
// A text with numbers or names in it has %1, %2, ... where they go, filled
// in by Arg() after the translation; never a printf format, which a
// translator's slip would turn into a crash. docs/TRANSLATING.md has the
// rules and how a language is added.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The text as written: marks a text in a table for the translation tools.
#define TWR_TRANSLATE_NOOP(context, text) text

namespace twr {

// The translation of `text` in `context`, or nullptr when there is none.
// What it returns must stay valid until the process ends; it may be called
// from any thread.
using TranslateHook = const char* (*)(const char* context, const char* text);

// Set once by a front end before it shows anything; nullptr returns to English.
void SetTranslateHook(TranslateHook hook);

// `text` in the user's language, or `text` itself. A null text gives "".
const char* Tr(const char* context, const char* text);

// `text` with %1 ... %9 replaced by the values in their order, wherever the
// language puts them: Arg("%2 of %1", {"8", "3"}) == "3 of 8". A %N without
// a value, and any other %, stay as written.
std::string Arg(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace twr
