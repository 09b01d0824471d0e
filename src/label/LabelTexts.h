// The main window's label texts as a plain model: title, date, note and the
// QR box's text with
// their limits, the note cut into ten lines and ordered folders first,
// and their hand-over to the renderer with the number fields filled in.
#pragma once

#include <string>

#include "label/RingText.h"

namespace twr {

class CELLayout;
struct LabelDocument;

// The longest texts, in width units (common/Utf8.h: one a character, two
// for a wide East Asian one): what the main window's edits take.
inline constexpr std::size_t kTitleMaxWidth = 256;
inline constexpr std::size_t kDateMaxWidth = 256;
inline constexpr std::size_t kNoteMaxWidth = 2560;

class LabelTexts {
 public:
  // Each setter cuts the text to its limit in width units (never inside a
  // character) and returns whether it differs from the text held before.
  bool SetTitle(std::string_view text);
  bool SetDate(std::string_view text);
  bool SetNote(std::string_view text);
  // The QR box's text, cut to the bytes one code holds (kQrMaxBytes).
  bool SetQr(std::string_view text);

  const std::string& Title() const { return title_; }
  const std::string& Date() const { return date_; }
  const std::string& Note() const { return note_; }
  const std::string& Qr() const { return qr_; }
  const NoteLineArray& NoteLines() const { return lines_; }

  // Cuts the note into its first ten lines (CR LF separated; a bare LF also
  // ends a line).
  void SplitNoteLines();
  // Puts lines starting with "[" (folders) first, keeping the order within
  // each group, and rebuilds the note as the ten lines, each with CR LF.
  void OrderNoteLines();
  // Title, date and the QR text into the renderer, then the note split, ordered and
  // copied into its NoteLines; in what the renderer gets, "{n}" and "{N}"
  // are this disc's number and the count (label/NumberFields), while the
  // texts here stay as typed.
  void PublishLabelTexts(CELLayout& layout);

  // The disc of a series the texts are for: 1 of 1 unless set (a number
  // below 1 counts as 1, a count below the number as the number).
  void SetDiscNumber(int number, int count);
  int DiscNumber() const { return discNumber_; }
  int DiscCount() const { return discCount_; }

 private:
  std::string title_;
  std::string date_;
  std::string note_;
  std::string qr_;
  NoteLineArray lines_;
  int discNumber_ = 1;
  int discCount_ = 1;
};

// The texts as typed into `document`: title, date, QR text, and the note as
// its first ten lines in the order typed.
void TakeTexts(const LabelTexts& texts, LabelDocument& document);

}  // namespace twr
