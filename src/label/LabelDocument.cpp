// The label document's equality and its note as typed.
#include "label/LabelDocument.h"

namespace twr {

bool DesignBackground::operator==(const DesignBackground& other) const {
  // Shared bytes (a copy of the same document) need no comparison.
  const bool sameBytes =
      (bytes.constData() == other.bytes.constData() && bytes.size() == other.bytes.size()) ||
      bytes == other.bytes;
  return kind == other.kind && name == other.name && type == other.type &&
         problem == other.problem && sameBytes;
}

std::string DocumentNote(const LabelDocument& document) {
  std::size_t count = 0;
  for (std::size_t k = 0; k < document.notes.size(); ++k)
    if (!document.notes[k].empty()) count = k + 1;
  std::string note;
  for (std::size_t k = 0; k < count; ++k) note += document.notes[k] + "\r\n";
  return note;
}

}  // namespace twr
