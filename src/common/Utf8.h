// Byte-limited cuts of UTF-8 text that never split a multi-byte character.
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

}  // namespace twr
