// The label document's equality.
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

}  // namespace twr
