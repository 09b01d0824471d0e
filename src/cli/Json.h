// A small JSON writer for the `--json` output of the twr commands: objects,
// arrays, strings (escaped, always valid UTF-8), integers, reals
// (locale-free) and booleans, written in order with stable field names.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Utf8.h"

namespace twr::cli {

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next value inside an object.
  JsonWriter& Key(std::string_view name) {
    Separate();
    Quote(name);
    out_ += ':';
    afterKey_ = true;
    return *this;
  }
  JsonWriter& String(std::string_view text) {
    Separate();
    Quote(text);
    return *this;
  }
  JsonWriter& Int(std::int64_t value) {
    Separate();
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
    return *this;
  }
  // Shortest text that reads back as the same double; never a comma.
  JsonWriter& Real(double value) {
    Separate();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
    return *this;
  }
  // A number with a fixed count of decimals (a radius in tenths of a
  // millimetre reads 43.3, not 43.300000000000004); never a comma.
  JsonWriter& Fixed(double value, int decimals) {
    Separate();
    char buffer[64];
    auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc())  // too long written out: the shortest form
      result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
    return *this;
  }
  JsonWriter& Bool(bool value) {
    Separate();
    out_ += value ? "true" : "false";
    return *this;
  }
  JsonWriter& Null() {
    Separate();
    out_ += "null";
    return *this;
  }
  const std::string& Text() const { return out_; }

 private:
  JsonWriter& Open(char c) {
    Separate();
    out_ += c;
    first_ = true;
    return *this;
  }
  JsonWriter& Close(char c) {
    out_ += c;
    first_ = false;
    return *this;
  }
  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (!first_ && !out_.empty()) out_ += ',';
    first_ = false;
  }
  // A JSON string in valid UTF-8 whatever the bytes: text from a disc or an
  // old settings file that is no UTF-8 is read as Windows-1252, and control
  // characters (C0, DEL, C1, the invisible reordering ones) are escaped, so
  // that the output parses and prints safely.
  void Quote(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::string text = Utf8FromBytes(bytes);
    out_ += '"';
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t start = at;
      char32_t c = 0;
      NextUtf8(text, at, c);
      switch (c) {
        case '"':
          out_ += "\\\"";
          break;
        case '\\':
          out_ += "\\\\";
          break;
        case '\n':
          out_ += "\\n";
          break;
        case '\r':
          out_ += "\\r";
          break;
        case '\t':
          out_ += "\\t";
          break;
        default:
          if (IsControlChar(c)) {
            out_ += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out_ += kHex[(c >> shift) & 0xF];
          } else {
            out_.append(text, start, at - start);
          }
      }
    }
    out_ += '"';
  }

  std::string out_;
  bool first_ = true;
  bool afterKey_ = false;
};

}  // namespace twr::cli
