// How long a real drive may take to finish each command before the kernel
// gives up on it: seconds for identification, longer for writes and the mode
// page, minutes for flushing the cache and moving the tray.
#pragma once

#include <array>
#include <cstdint>

#include "drive/CELDevice.h"

namespace twr {

struct CommandTimeout {
  std::uint8_t opcode;
  unsigned seconds;
};

// A drive spins the disc up (several seconds) before it answers most
// identification commands, so they get well over that; a WRITE(12) may wait
// for the drive's buffer and a MODE SELECT of the ELS page may move the
// pickup; SYNCHRONIZE CACHE writes out everything still buffered (a minute
// or more after a long burn) and START STOP UNIT may spin down and open the
// tray.
inline constexpr std::array<CommandTimeout, 13> kCommandTimeouts = {{
    {kOpTestUnitReady, 10},
    {kOpInquiry, 10},
    {kOpPreventAllowRemoval, 10},
    {kOpGetConfiguration, 30},
    {kOpReadDiscInformation, 30},
    {kOpReadDiscStructure, 30},
    {kOpReadToc, 30},
    {kOpModeSense10, 30},
    {kOpRead12, 60},
    {kOpModeSelect10, 60},
    {kOpWrite12, 120},
    {kOpStartStopUnit, 180},
    {kOpSynchronizeCache, 600},
}};

// Any other command (the program sends none).
inline constexpr unsigned kDefaultCommandTimeoutSeconds = 60;

constexpr unsigned CommandTimeoutSeconds(std::uint8_t opcode) {
  for (const CommandTimeout& t : kCommandTimeouts) {
    if (t.opcode == opcode) return t.seconds;
  }
  return kDefaultCommandTimeoutSeconds;
}

}  // namespace twr
