// Arbitrary bytes as a merge file (CSV): the reader either gives rows within
// the main window's limits, numbered in order, or says which row it stopped
// at and why.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/Utf8.h"
#include "label/LabelTexts.h"
#include "label/MergeCsv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const twr::MergeTable table = twr::ReadMergeCsv(text);
  if (table.ok != table.problem.empty()) std::abort();
  if (table.ok && table.rows.empty()) std::abort();
  if (table.rows.size() > static_cast<std::size_t>(twr::kMaxMergeRows)) std::abort();
  int previous = 1;  // the header
  for (const twr::MergeRow& row : table.rows) {
    if (row.row <= previous || row.line < 1) std::abort();
    previous = row.row;
    // The limits count width units (a wide East Asian character two).
    if (twr::TextWidth(row.title) > twr::kTitleMaxWidth ||
        twr::TextWidth(row.date) > twr::kDateMaxWidth ||
        twr::TextWidth(row.note) > twr::kNoteMaxWidth)
      std::abort();
    if (!twr::IsValidUtf8(row.title) || !twr::IsValidUtf8(row.date) || !twr::IsValidUtf8(row.note))
      std::abort();
    if (row.title.find_first_of("\r\n") != std::string_view::npos) std::abort();
  }
  // A bad row comes after every good one (the header is row 1).
  if (!table.ok && !table.rows.empty() && table.badRow <= previous) std::abort();
  return 0;
}
