// Faults the virtual drive's burn side injects, parsed from its Faults
// setting: "busy:N:K" (K busy answers to write N, or "forever"),
// "streaming:N", "error:N:KK/AA/QQ", "notready", "gone:N", separated by
// commas. Write numbers count a burn's writes from 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace twr {

struct VirtualBurnFault {
  enum Kind { Busy, Streaming, Error, NotReady, Gone };
  Kind kind = Busy;
  std::int64_t write = 0;                   // write number the fault hits
  int times = 1;                            // Busy: how many answers
  bool endless = false;                     // Busy: every answer to that write
  std::uint8_t key = 0, asc = 0, ascq = 0;  // Error: the sense
};

// Parses the Faults text. A malformed item is ignored (the rest still count),
// so a typing slip never stops the drive from working.
std::vector<VirtualBurnFault> ParseVirtualBurnFaults(const std::string& text);

}  // namespace twr
