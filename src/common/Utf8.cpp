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

}  // namespace twr
