// Sends arbitrary CDBs, directions and transfer lengths to the virtual
// drive, with a disc kind chosen from the input: every answer stays within
// the buffers it is given.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "drive/virtual/VirtualDrive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* kSides[] = {"label",   "dvd-r",  "dvd+r", "dvd-rom", "dvd-rw",  "dvd+rw",
                                 "dvd-ram", "cd-rom", "cd-r",  "cd-rw",   "unknown", "none"};
  static const char* kStatus[] = {"blank", "incomplete", "complete"};
  if (size < 2) return 0;
  twr::VirtualDriveConfig config;
  config.disc = kSides[data[0] % 12];
  config.flip = kSides[(data[0] >> 4) % 12];
  config.status = kStatus[data[1] % 3];
  config.closedAsDvdRom = (data[1] & 0x10) != 0;
  config.recordedBlocks = data[1] >> 5;
  config.reloadDelaySeconds = 0;
  twr::VirtualDrive drive(config);
  std::size_t pos = 2;
  while (pos + 3 <= size) {
    const std::size_t cdbLength = 1 + data[pos] % 16;
    const auto direction = static_cast<twr::ScsiDirection>(data[pos + 1] % 3);
    const std::size_t length = data[pos + 2] * 16u;
    pos += 3;
    if (pos + cdbLength > size) break;
    std::vector<std::uint8_t> cdb(data + pos, data + pos + cdbLength);
    pos += cdbLength;
    std::vector<std::uint8_t> buffer(length);
    for (std::size_t i = 0; i < length && pos < size; ++i) buffer[i] = data[pos + i % (size - pos)];
    const twr::ScsiResult result = drive.Execute(cdb, direction, buffer);
    if (result.transferred > buffer.size()) std::abort();
  }
  return 0;
}
