// Byte-limited UTF-8 cuts, width units and text made from outside bytes.
#include "common/Utf8.h"

#include <algorithm>
#include <iterator>

#include "common/CharWidthTable.h"

namespace twr {

namespace {

// Windows-1252's characters for the bytes 0x80 to 0x9F (0: unused).
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character at `at` as text (passing it), a stray byte as Windows-1252.
char32_t NextChar(std::string_view bytes, std::size_t& at) {
  char32_t c = 0;
  if (NextUtf8(bytes, at, c)) return c;
  const auto b = static_cast<unsigned char>(bytes[at - 1]);
  if (b >= 0x80 && b < 0xA0) {
    const char16_t mapped = kWindows1252High[b - 0x80];
    return mapped != 0 ? mapped : kReplacement;
  }
  return b;  // Latin-1 from 0xA0 on
}

}  // namespace

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  std::size_t cut = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the lead byte of the
  // character that would be split, then check whether it fits whole.
  std::size_t lead = cut;
  while (lead > 0 && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) --lead;
  if (lead == cut) return text.substr(0, cut);  // cut falls on a boundary
  const unsigned char b = static_cast<unsigned char>(text[lead]);
  std::size_t length = 1;
  if ((b & 0xE0) == 0xC0) {
    length = 2;
  } else if ((b & 0xF0) == 0xE0) {
    length = 3;
  } else if ((b & 0xF8) == 0xF0) {
    length = 4;
  } else {
    return text.substr(0, cut);  // not a lead byte: invalid text, cut bytewise
  }
  if (lead + length <= cut) return text.substr(0, cut);
  return text.substr(0, lead);
}

bool NextUtf8(std::string_view text, std::size_t& at, char32_t& c) {
  const auto* b = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  const unsigned char first = b[at];
  if (first < 0x80) {
    c = first;
    ++at;
    return true;
  }
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0) low = 0xA0;   // no overlong forms
    if (first == 0xED) high = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0) low = 0x90;
    if (first == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  }
  bool ok = length != 0 && n - at >= length && b[at + 1] >= low && b[at + 1] <= high;
  for (std::size_t k = 2; ok && k < length; ++k) ok = (b[at + k] & 0xC0) == 0x80;
  if (!ok) {
    ++at;
    return false;
  }
  char32_t value = first & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) value = (value << 6) | (b[at + k] & 0x3F);
  c = value;
  at += length;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  char32_t c = 0;
  for (std::size_t at = 0; at < text.size();)
    if (!NextUtf8(text, at, c)) return false;
  return true;
}

int CharWidth(char32_t c) {
  if (c < 0x300) return 1;  // nothing below the combining diacritics counts otherwise
  const auto& ranges = detail::kCharWidthRanges;
  const auto* after =
      std::upper_bound(std::begin(ranges), std::end(ranges), c,
                       [](char32_t v, const detail::CharWidthRange& r) { return v < r.first; });
  if (after == std::begin(ranges)) return 1;
  const detail::CharWidthRange& range = *(after - 1);
  return c <= range.last ? range.width : 1;
}

std::size_t TextWidth(std::string_view text) {
  std::size_t width = 0;
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = 0;
    width += NextUtf8(text, at, c) ? static_cast<std::size_t>(CharWidth(c)) : 1;
  }
  return width;
}

std::string_view WidthPrefix(std::string_view text, std::size_t maxWidth) {
  std::size_t width = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t next = at;
    char32_t c = 0;
    const std::size_t w = NextUtf8(text, next, c) ? static_cast<std::size_t>(CharWidth(c)) : 1;
    if (width + w > maxWidth) break;
    width += w;
    at = next;
  }
  return text.substr(0, at);
}

std::string Utf8FromBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (std::size_t at = 0; at < bytes.size();) AppendUtf8(out, NextChar(bytes, at));
  return out;
}

bool IsControlChar(char32_t c) {
  return (c < 0x20 && c != '\t') || (c >= 0x7F && c < 0xA0) || c == 0x061C ||
         (c >= 0x200E && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

std::string PlainTextFromBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const char32_t c = NextChar(bytes, at);
    if (!IsControlChar(c)) AppendUtf8(out, c);
  }
  return out;
}

std::string TerminalText(std::string_view bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const char32_t c = NextChar(bytes, at);
    if (!IsControlChar(c)) {
      AppendUtf8(out, c);
    } else if (c < 0x100) {
      out += "\\x";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
    } else {
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
    }
  }
  return out;
}

}  // namespace twr
