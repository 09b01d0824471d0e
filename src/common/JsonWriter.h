// The one JSON writer: `twr`'s --json output on one line, and files (label
// designs) indented, one member a line. Objects, arrays, strings (always
// valid UTF-8), integers, reals (locale-free) and booleans, written in the
// order they are given. Readers use Qt's JSON parser.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twr {

class JsonWriter {
 public:
  enum class Style {
    // One line without blanks; every control character escaped (C1, DEL
    // and the invisible reordering ones too), so that what `twr` prints
    // shows safely on a terminal.
    Line,
    // "key": value, each member of an object (and each element of a lined
    // array) on a line of its own, two blanks a level; only what JSON
    // requires is escaped, so that texts stay as they were typed.
    File,
  };

  explicit JsonWriter(Style style = Style::Line) : style_(style) {}

  JsonWriter& BeginObject() { return Open('{', true); }
  JsonWriter& EndObject() { return Close('}'); }
  // In the File style a lined array puts each element on a line of its
  // own; otherwise its elements follow each other (", " between them).
  JsonWriter& BeginArray(bool lined = false) { return Open('[', lined); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next value inside an object.
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view text);
  JsonWriter& Int(std::int64_t value);
  // Shortest text that reads back as the same double; never a comma.
  JsonWriter& Real(double value);
  // A number with a fixed count of decimals (a radius in tenths of a
  // millimetre reads 43.3, not 43.300000000000004); never a comma.
  JsonWriter& Fixed(double value, int decimals);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  void Reserve(std::size_t bytes) { out_.reserve(bytes); }
  const std::string& Text() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  struct Level {
    bool lined = false;
    bool empty = true;
  };
  JsonWriter& Open(char c, bool lined);
  JsonWriter& Close(char c);
  // What goes before a value or a key: a comma, a line break and the indent.
  void Separate();
  void Indent(std::size_t depth);
  void Quote(std::string_view bytes);

  Style style_;
  std::string out_;
  std::vector<Level> levels_;
  bool afterKey_ = false;
};

}  // namespace twr
