// Byte-limited UTF-8 cuts.
#include "common/Utf8.h"

namespace twr {

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

bool IsValidUtf8(std::string_view text) {
  const auto* b = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char c = b[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong forms
      if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (n - i < length || b[i + 1] < low || b[i + 1] > high) return false;
    for (std::size_t k = 2; k < length; ++k)
      if ((b[i + k] & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

}  // namespace twr
