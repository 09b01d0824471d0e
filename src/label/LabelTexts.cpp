// Label texts: their limits in width units (the QR text's in bytes), note
// lines and their folder-first order.
#include "label/LabelTexts.h"

#include <algorithm>

#include "common/Utf8.h"
#include "label/CELLayout.h"
#include "label/LabelDocument.h"
#include "label/NumberFields.h"

namespace twr {

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr char kFolderMark = '[';

bool Assign(std::string& member, std::string_view text, std::size_t limit) {
  const std::string_view cut = WidthPrefix(text, limit);
  if (cut == member) return false;
  member.assign(cut);
  return true;
}

}  // namespace

bool LabelTexts::SetTitle(std::string_view text) {
  return Assign(title_, text, kTitleMaxWidth);
}
bool LabelTexts::SetDate(std::string_view text) {
  return Assign(date_, text, kDateMaxWidth);
}
bool LabelTexts::SetNote(std::string_view text) {
  return Assign(note_, text, kNoteMaxWidth);
}
bool LabelTexts::SetQr(std::string_view text) {
  // A code counts bytes, not width units.
  const std::string cut = Utf8Cut(text, kQrMaxBytes);
  if (cut == qr_) return false;
  qr_ = cut;
  return true;
}

void LabelTexts::SplitNoteLines() {
  std::string_view rest = note_;
  for (std::string& line : lines_) {
    const std::size_t end = rest.find('\n');
    std::string_view piece = rest.substr(0, end);
    if (end != std::string_view::npos && !piece.empty() && piece.back() == '\r')
      piece.remove_suffix(1);
    line.assign(piece);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
}

void LabelTexts::OrderNoteLines() {
  if (std::all_of(lines_.begin(), lines_.end(), [](const std::string& l) { return l.empty(); }))
    return;
  std::stable_partition(lines_.begin(), lines_.end(), [](const std::string& l) {
    return !l.empty() && l.front() == kFolderMark;
  });
  note_.clear();
  for (const std::string& line : lines_) note_ += line + kLineBreak;
}

void LabelTexts::PublishLabelTexts(CELLayout& layout) {
  layout.Title = FillNumberFields(title_, discNumber_, discCount_);
  layout.Date = FillNumberFields(date_, discNumber_, discCount_);
  layout.QrText = FillNumberFields(qr_, discNumber_, discCount_);
  SplitNoteLines();
  OrderNoteLines();
  for (std::size_t k = 0; k < lines_.size(); ++k)
    layout.NoteLines[k] = FillNumberFields(lines_[k], discNumber_, discCount_);
}

void LabelTexts::SetDiscNumber(int number, int count) {
  discNumber_ = std::max(number, 1);
  discCount_ = std::max(count, discNumber_);
}

void TakeTexts(const LabelTexts& texts, LabelDocument& document) {
  document.title = texts.Title();
  document.date = texts.Date();
  document.qr = texts.Qr();
  LabelTexts typed = texts;
  typed.SplitNoteLines();
  document.notes = typed.NoteLines();
}

}  // namespace twr
