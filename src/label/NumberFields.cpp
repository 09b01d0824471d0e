// Filling "{n}" and "{N}" in the label texts.
#include "label/NumberFields.h"

#include <charconv>

namespace twr {

namespace {

void AppendNumber(std::string& out, int value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// Walks the text; `field` gets 'n' or 'N' for each field, and the pieces of
// literal text go to `literal`.
template <typename Literal, typename Field>
void Scan(std::string_view text, Literal literal, Field field) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '{') continue;
    if (i + 1 < text.size() && text[i + 1] == '{') {  // "{{": one literal brace
      literal(text.substr(start, i + 1 - start));
      start = i + 2;
      ++i;
      continue;
    }
    if (i + 2 < text.size() && (text[i + 1] == 'n' || text[i + 1] == 'N') && text[i + 2] == '}') {
      literal(text.substr(start, i - start));
      field(text[i + 1]);
      start = i + 3;
      i += 2;
    }
  }
  literal(text.substr(start));
}

}  // namespace

std::string FillNumberFields(std::string_view text, int number, int count) {
  if (text.find('{') == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size() + 8);
  Scan(
      text, [&](std::string_view piece) { out += piece; },
      [&](char which) { AppendNumber(out, which == 'n' ? number : count); });
  return out;
}

bool HasNumberFields(std::string_view text) {
  bool found = false;
  Scan(
      text, [](std::string_view) {}, [&](char) { found = true; });
  return found;
}

}  // namespace twr
