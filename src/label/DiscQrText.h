// The QR code's text taken from a disc: its volume name, its date, how many
// files it holds and their size, then as many of its top-level names as the
// code is given room for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace twr {

// What a disc scan found, as label text (the names already made plain).
struct DiscQrFacts {
  std::string volume;    // the volume name; may be empty
  std::string date;      // YYYYMMDD as the volume descriptor gives it, or empty
  bool counted = false;  // the files below the top were counted
  bool capped = false;   // the count stopped at its limit: at least these many
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  std::vector<std::string> names;  // top-level names; folders end in "/"
};

// Bytes of text the disc's code takes at most: a code of this length keeps
// modules a QR box of the usual size etches legibly at Normal quality.
inline constexpr std::size_t kDiscQrBytes = 300;

// "VOLUME, 2024-05-01, 1234 files, 56.7 MB, name, name/, ..." with the parts
// the facts have, joined by ", ", each part whole and in this order while
// the text stays within `maxBytes` (the first part that does not fit ends
// it, so a name is never cut and never stands without those before it). A date of eight digits is
// written YYYY-MM-DD, any other as it is. A capped count says "at least" (1234+ files, 56.7+ MB).
std::string DiscQrText(const DiscQrFacts& facts, std::size_t maxBytes = kDiscQrBytes);

// A size in megabytes of 1,000,000 bytes, locale-independent: one decimal
// below 100 MB ("0.4 MB", "56.7 MB"), whole above ("734 MB", "4482 MB").
std::string MegabytesText(std::uint64_t bytes);

}  // namespace twr
