// RFC 4180 reading of the merge file and its rows into label texts.
#include "label/MergeCsv.h"

#include <array>
#include <cctype>
#include <optional>

#include "common/Translate.h"
#include "common/Utf8.h"
#include "common/WholeFile.h"
#include "label/LabelTexts.h"

namespace twr {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr const char* kLineBreak = "\r\n";
constexpr int kNoteColumns = 10;

enum class Column { Unnamed, Title, Date, Note };
struct ColumnRule {
  Column kind = Column::Unnamed;
  int note = 0;  // 0..9 for note1..note10
};

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// One record of the file: its fields and the line it starts on.
struct Record {
  int line = 0;
  std::vector<std::string> fields;
  bool blank = false;  // an empty line
};

// Splits the text into records, one at a time.
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ >= text_.size(); }
  int Line() const { return line_; }

  // The next record; false with `problem` set when it is malformed.
  bool Next(Record& record, std::string& problem) {
    record = {};
    record.line = line_;
    std::string field;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the current field was quoted and is closed
    bool any = false;        // the record holds a character
    while (at_ < text_.size()) {
      const char c = text_[at_];
      if (quoted) {
        if (c == '"') {
          if (at_ + 1 < text_.size() && text_[at_ + 1] == '"') {
            field += '"';
            at_ += 2;
            continue;
          }
          quoted = false;
          wasQuoted = true;
          ++at_;
          continue;
        }
        if (c == '\n' || (c == '\r' && !(at_ + 1 < text_.size() && text_[at_ + 1] == '\n')))
          ++line_;
        field += c;
        ++at_;
        continue;
      }
      if (c == ',') {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
        any = true;
        ++at_;
        continue;
      }
      if (c == '\r' || c == '\n') {
        at_ += (c == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') ? 2 : 1;
        ++line_;
        return Finish(record, field, any);
      }
      if (wasQuoted) {
        problem = Arg(Tr("MergeCsv",
                         "there is text after the closing double quote of field %1 (a double "
                         "quote inside a quoted text is written twice: \"\")"),
                      {std::to_string(record.fields.size() + 1)});
        return false;
      }
      if (c == '"' && field.empty()) {
        quoted = true;
        any = true;
        ++at_;
        continue;
      }
      // A quote inside a text that is not in quotes is kept as it is.
      field += c;
      any = true;
      ++at_;
    }
    if (quoted) {
      problem = Arg(Tr("MergeCsv", "field %1 opens a double quote that is never closed"),
                    {std::to_string(record.fields.size() + 1)});
      return false;
    }
    return Finish(record, field, any);
  }

 private:
  bool Finish(Record& record, std::string& field, bool any) {
    if (!any && field.empty()) {
      record.blank = true;
      return true;
    }
    record.fields.push_back(std::move(field));
    return true;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int line_ = 1;
};

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// A note field as lines of the note, each ended by CR LF.
void AppendNoteLines(std::string& note, std::string_view field) {
  std::size_t start = 0;
  while (true) {
    const std::size_t end = field.find_first_of("\r\n", start);
    note.append(field.substr(start, end == std::string_view::npos ? end : end - start));
    note += kLineBreak;
    if (end == std::string_view::npos) return;
    start =
        end + ((field[end] == '\r' && end + 1 < field.size() && field[end + 1] == '\n') ? 2 : 1);
  }
}

// `text` is "... %1 bytes long; ... at most %2", a sentence for each field.
std::string TooLong(const char* text, std::size_t bytes, std::size_t limit) {
  return Arg(text, {std::to_string(bytes), std::to_string(limit)});
}

// The header's columns; false with `problem` for a name it cannot use.
bool ReadHeader(const Record& header, std::vector<ColumnRule>& columns, std::string& problem) {
  std::array<bool, kNoteColumns> noteSeen{};
  bool titleSeen = false, dateSeen = false;
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string name = Lower(Trim(header.fields[i]));
    ColumnRule rule;
    bool* seen = nullptr;
    if (name.empty()) {
      rule.kind = Column::Unnamed;
    } else if (name == "title") {
      rule.kind = Column::Title;
      seen = &titleSeen;
    } else if (name == "date") {
      rule.kind = Column::Date;
      seen = &dateSeen;
    } else if (name.size() > 4 && name.compare(0, 4, "note") == 0 &&
               name.find_first_not_of("0123456789", 4) == std::string::npos && name[4] != '0' &&
               name.size() <= 6 && std::stoi(name.substr(4)) <= kNoteColumns) {
      rule.kind = Column::Note;
      rule.note = std::stoi(name.substr(4)) - 1;
      seen = &noteSeen[static_cast<std::size_t>(rule.note)];
    } else {
      const std::string shown(Trim(header.fields[i]));
      const std::string column = std::to_string(i + 1);
      problem = shown.find(';') != std::string::npos || shown.find('\t') != std::string::npos
                    ? Arg(Tr("MergeCsv",
                             "column %1 is named \"%2\"; the columns are title, date and note1 to "
                             "note10 (the fields must be separated by commas)"),
                          {column, shown})
                    : Arg(Tr("MergeCsv",
                             "column %1 is named \"%2\"; the columns are title, date and note1 to "
                             "note10"),
                          {column, shown});
      return false;
    }
    if (seen != nullptr) {
      if (*seen) {
        problem = Arg(Tr("MergeCsv", "the column %1 is named twice"), {name});
        return false;
      }
      *seen = true;
    }
    columns.push_back(rule);
  }
  return true;
}

// One disc row into its texts; false with `problem`.
bool ReadRow(const Record& record, const std::vector<ColumnRule>& columns, MergeRow& row,
             std::string& problem) {
  if (record.fields.size() > columns.size()) {
    problem = Arg(Tr("MergeCsv",
                     "it has %1 fields but the header %2 (a text with a comma must be written in "
                     "double quotes)"),
                  {std::to_string(record.fields.size()), std::to_string(columns.size())});
    return false;
  }
  std::array<std::string, kNoteColumns> notes;
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    const std::string& field = record.fields[i];
    if (!IsValidUtf8(field)) {
      problem = Arg(Tr("MergeCsv", "field %1 is not UTF-8 text (save the file as UTF-8)"),
                    {std::to_string(i + 1)});
      return false;
    }
    if (field.find('\0') != std::string::npos) {
      problem = Arg(Tr("MergeCsv", "field %1 holds a NUL byte"), {std::to_string(i + 1)});
      return false;
    }
    switch (columns[i].kind) {
      case Column::Unnamed:
        if (!Trim(field).empty()) {
          problem = Arg(Tr("MergeCsv", "field %1 holds text but its column has no name"),
                        {std::to_string(i + 1)});
          return false;
        }
        break;
      case Column::Title:
        row.title = field;
        break;
      case Column::Date:
        row.date = field;
        break;
      case Column::Note:
        notes[static_cast<std::size_t>(columns[i].note)] = field;
        break;
    }
  }
  if (HasLineBreak(row.title) || HasLineBreak(row.date)) {
    problem = HasLineBreak(row.title)
                  ? Tr("MergeCsv", "the title holds a line break; it is drawn on one line")
                  : Tr("MergeCsv", "the date holds a line break; it is drawn on one line");
    return false;
  }
  if (TextWidth(row.title) > kTitleMaxWidth) {
    problem = TooLong(Tr("MergeCsv",
                         "the title is %1 characters long (a wide East Asian character counts "
                         "two); the label takes at most %2"),
                      TextWidth(row.title), kTitleMaxWidth);
    return false;
  }
  if (TextWidth(row.date) > kDateMaxWidth) {
    problem = TooLong(Tr("MergeCsv",
                         "the date is %1 characters long (a wide East Asian character counts "
                         "two); the label takes at most %2"),
                      TextWidth(row.date), kDateMaxWidth);
    return false;
  }
  // Up to the last note field that holds text, each as lines of the note.
  int last = -1;
  for (int k = 0; k < kNoteColumns; ++k)
    if (!notes[static_cast<std::size_t>(k)].empty()) last = k;
  for (int k = 0; k <= last; ++k) AppendNoteLines(row.note, notes[static_cast<std::size_t>(k)]);
  if (TextWidth(row.note) > kNoteMaxWidth) {
    problem = TooLong(Tr("MergeCsv",
                         "the note is %1 characters long (a wide East Asian character counts "
                         "two); the label takes at most %2"),
                      TextWidth(row.note), kNoteMaxWidth);
    return false;
  }
  return true;
}

}  // namespace

std::string MergeTable::Message() const {
  if (badRow <= 0) return problem;
  const std::string row = std::to_string(badRow);
  if (badLine > 0 && badLine != badRow)
    return Arg(Tr("MergeCsv", "row %1 (line %2): %3"), {row, std::to_string(badLine), problem});
  return Arg(Tr("MergeCsv", "row %1: %2"), {row, problem});
}

MergeTable ReadMergeCsv(std::string_view text) {
  MergeTable table;
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());
  RecordReader reader(text);
  int rowNumber = 0;
  auto fail = [&](int row, int line, std::string why) {
    table.ok = false;
    table.badRow = row;
    table.badLine = line;
    table.problem = std::move(why);
    return table;
  };

  // The header: the first row that is not empty.
  Record header;
  std::string problem;
  do {
    if (reader.AtEnd())
      return fail(
          0, 0, Tr("MergeCsv", "the file is empty: it needs a header row (title,date,note1,...)"));
    ++rowNumber;
    if (!reader.Next(header, problem)) return fail(rowNumber, header.line, problem);
  } while (header.blank);
  std::vector<ColumnRule> columns;
  if (!ReadHeader(header, columns, problem)) return fail(rowNumber, header.line, problem);

  while (!reader.AtEnd()) {
    ++rowNumber;
    Record record;
    if (!reader.Next(record, problem)) return fail(rowNumber, record.line, problem);
    // An empty row names no disc: also one of empty fields only (",,,").
    bool empty = true;
    for (const std::string& field : record.fields)
      if (!Trim(field).empty()) empty = false;
    if (record.blank || empty) continue;
    if (static_cast<int>(table.rows.size()) >= kMaxMergeRows)
      return fail(rowNumber, record.line,
                  Arg(Tr("MergeCsv", "the file names more than %1 discs"),
                      {std::to_string(kMaxMergeRows)}));
    MergeRow row;
    row.row = rowNumber;
    row.line = record.line;
    if (!ReadRow(record, columns, row, problem)) return fail(rowNumber, record.line, problem);
    table.rows.push_back(std::move(row));
  }
  if (table.rows.empty())
    return fail(0, 0, Tr("MergeCsv", "the file has a header but no row for a disc"));
  table.ok = true;
  return table;
}

MergeTable ReadMergeFile(const std::string& path) {
  std::string text;
  MergeTable table;
  if (!ReadRegularFile(path, kMaxMergeFileBytes, text, table.problem)) return table;
  return ReadMergeCsv(text);
}

}  // namespace twr
