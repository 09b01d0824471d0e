// UTF-8 text: byte-limited cuts that never split a multi-byte character,
// the width units label texts are counted in, and bytes from outside (old
// settings files, discs) made into text that is safe to keep and to show.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace twr {

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a
// character boundary. Invalid sequences are treated byte by byte.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

// Whether `text` is well-formed UTF-8: no stray continuation bytes, no
// overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

inline std::string Utf8Cut(std::string_view text, std::size_t maxBytes) {
  return std::string(Utf8Prefix(text, maxBytes));
}

// Reads the character at `at` and moves past it; false (and one byte
// passed) for a byte that starts no well-formed sequence.
bool NextUtf8(std::string_view text, std::size_t& at, char32_t& c);

// ---- Width units ----
// Label texts are limited (MaxNum, the title's 256, ...) in the units a
// double-byte code page counts: one for each character, two for an East
// Asian wide or fullwidth character (East_Asian_Width W or F: CJK
// ideographs, kana, Hangul syllables, fullwidth forms, most emoji), none for
// a combining mark or a format character. A byte that is no UTF-8 counts
// one. Text of plain ASCII counts its bytes.
int CharWidth(char32_t c);
std::size_t TextWidth(std::string_view text);
// The longest prefix of at most `maxWidth` units that ends on a character
// boundary; the combining marks after the last character kept stay with it.
std::string_view WidthPrefix(std::string_view text, std::size_t maxWidth);
inline std::string WidthCut(std::string_view text, std::size_t maxWidth) {
  return std::string(WidthPrefix(text, maxWidth));
}

// ---- Bytes from outside ----
// The bytes as UTF-8: well-formed sequences stay, every other byte is read
// as Windows-1252 (what old settings files and the names on many discs
// hold; its five unused bytes become U+FFFD).
std::string Utf8FromBytes(std::string_view bytes);
// Control characters: C0 but the tab, DEL, C1, and the invisible ones that
// reorder the text around them (bidirectional embeddings, overrides,
// isolates).
bool IsControlChar(char32_t c);
// Utf8FromBytes without the control characters: a text taken from a disc
// or a settings file into the label.
std::string PlainTextFromBytes(std::string_view bytes);
// Utf8FromBytes with each control character shown as an escape (\x1B for
// ESC, \u202E): a text from outside printed on a terminal.
std::string TerminalText(std::string_view bytes);

}  // namespace twr
