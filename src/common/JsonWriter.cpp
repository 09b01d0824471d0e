// The JSON writer: separators, indents and the quoting of texts.
#include "common/JsonWriter.h"

#include <charconv>
#include <system_error>

#include "common/Utf8.h"

namespace twr {

namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr std::size_t kIndentStep = 2;

void AppendShortEscape(std::string& out, char32_t c) {
  switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      out += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
  }
}

bool NeedsJsonEscape(unsigned char c) {
  return c == '"' || c == '\\' || c < 0x20;
}

}  // namespace

JsonWriter& JsonWriter::Open(char c, bool lined) {
  Separate();
  out_ += c;
  levels_.push_back({style_ == Style::File && lined, true});
  return *this;
}

JsonWriter& JsonWriter::Close(char c) {
  const Level level = levels_.empty() ? Level{} : levels_.back();
  if (!levels_.empty()) levels_.pop_back();
  if (level.lined) {
    out_ += '\n';
    Indent(levels_.size());
  }
  out_ += c;
  return *this;
}

void JsonWriter::Separate() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (level.lined) {
    out_ += level.empty ? "\n" : ",\n";
    Indent(levels_.size());
  } else if (!level.empty) {
    out_ += style_ == Style::File ? ", " : ",";
  }
  level.empty = false;
}

void JsonWriter::Indent(std::size_t depth) {
  out_.append(depth * kIndentStep, ' ');
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  Separate();
  Quote(name);
  out_ += style_ == Style::File ? ": " : ":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  Separate();
  Quote(text);
  return *this;
}

JsonWriter& JsonWriter::Int(std::int64_t value) {
  Separate();
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::Real(double value) {
  Separate();
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::Fixed(double value, int decimals) {
  Separate();
  char buffer[64];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc())  // too long written out: the shortest form
    result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out_.append(buffer, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  Separate();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  Separate();
  out_ += "null";
  return *this;
}

// A JSON string in valid UTF-8 whatever the bytes: text from a disc or an
// old settings file that is no UTF-8 is read as Windows-1252.
void JsonWriter::Quote(std::string_view bytes) {
  std::string converted;
  if (!IsValidUtf8(bytes)) {
    converted = Utf8FromBytes(bytes);
    bytes = converted;
  }
  out_ += '"';
  if (style_ == Style::File) {
    // Only the quote, the backslash and C0 are escaped; runs between them
    // are copied as they are.
    std::size_t run = 0;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
      const auto c = static_cast<unsigned char>(bytes[at]);
      if (!NeedsJsonEscape(c)) continue;
      out_.append(bytes, run, at - run);
      AppendShortEscape(out_, c);
      run = at + 1;
    }
    out_.append(bytes, run);
  } else {
    for (std::size_t at = 0; at < bytes.size();) {
      const std::size_t start = at;
      char32_t c = 0;
      NextUtf8(bytes, at, c);
      if (c == '"' || c == '\\' || c == '\n' || c == '\r' || c == '\t' || IsControlChar(c))
        AppendShortEscape(out_, c);
      else
        out_.append(bytes, start, at - start);
    }
  }
  out_ += '"';
}

}  // namespace twr
