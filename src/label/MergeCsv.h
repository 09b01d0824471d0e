// The texts of a series of discs from a CSV file ("mail merge"): a header
// row naming the columns title, date and note1 to note10 (any order, any
// case, any of them left out), then one row per disc. Fields follow RFC
// 4180: separated by commas, a field in double quotes may hold commas, line
// breaks and doubled quotes (""). The text is UTF-8; a byte-order mark at
// the start is skipped. Rows end with CR LF, LF or CR; an empty row is
// skipped, as is one of empty fields only (it names no disc). The reading is
// pure (no files, no Qt); ReadMergeFile reads the file first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twr {

// At most this many discs in one file, and a file of at most 16 MiB.
inline constexpr int kMaxMergeRows = 10000;
inline constexpr long long kMaxMergeFileBytes = 16LL * 1024 * 1024;

// One disc: its texts as the main window's edits would hold them.
struct MergeRow {
  int row = 0;   // as a spreadsheet numbers it: the header is row 1
  int line = 0;  // the line of the file it starts on, from 1
  std::string title;
  std::string date;
  // note1 to note10 as the note edit holds them: each line ended by CR LF.
  // A note field with line breaks gives several lines, which push the later
  // fields down (the label draws the first ten lines).
  std::string note;
};

struct MergeTable {
  bool ok = false;
  // The discs in file order; when reading stopped, those before the bad row.
  std::vector<MergeRow> rows;
  int badRow = 0;   // the row that stopped the reading; 0 for the file as a whole
  int badLine = 0;  // the line it starts on
  std::string problem;
  // "row 4: the title is 300 bytes long; a title takes at most 256", with
  // the line when it differs from the row ("row 4 (line 6): ...").
  std::string Message() const;
};

// Reads the whole file's text. Refuses, with the row and why: a column
// named neither title, date nor note1..note10, a column named twice, a row
// with more fields than the header, a quoted field left open or with text
// after its closing quote, text that is not UTF-8 or holds a NUL byte, a
// title or date with a line break, a text longer than the main window takes
// (title and date 256 bytes, the note 2560), more than kMaxMergeRows rows,
// and a file without a header or without a disc row.
MergeTable ReadMergeCsv(std::string_view text);

// The file at `path` (a regular file of at most kMaxMergeFileBytes, read
// without waiting on a pipe or device), then ReadMergeCsv; a file that
// cannot be read is row 0 with why ("it does not exist", ...).
MergeTable ReadMergeFile(const std::string& path);

}  // namespace twr
