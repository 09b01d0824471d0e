// The disc name table: the text shown for a disc kind (and, for DVD±R, its
// status) with the verdict a burn takes from it, and the whole sequence that
// names the disc in the open drive.
#pragma once

#include <cstdint>
#include <string>

namespace twr {

class CELDevice;

struct DiscName {
  std::string text;  // English, as the JSON output and the settings file carry it
  int verdict = 0;   // 1: a disc a burn accepts, 0: not

  // The text in the user's language, for a person.
  std::string Shown() const;
};

// The table row for a kind; `status` counts only for DVD-R and DVD+R,
// `labelSide` only for the unknown kind 0xFF.
DiscName DiscNameFor(std::uint8_t kind, std::uint8_t status, bool labelSide);

struct DiscIdentity {
  std::uint8_t kind = 0;
  std::uint8_t status = 0xFF;  // read only for DVD-R and DVD+R
  bool labelSide = false;      // tested only for kind 0xFF
  DiscName name;
};

// TEST UNIT READY three times, then the kind, the status of a DVD±R or the
// label-side test of an unknown disc, and the name from the table.
DiscIdentity IdentifyDisc(CELDevice& device);

}  // namespace twr
