// A drive's sense answer in words: the sense key, and what its additional
// sense code and qualifier mean where the program knows them (loss of
// streaming, invalid address, no disc, ...). One table for every message.
#pragma once

#include <cstdint>
#include <string>

namespace twr {

// "medium error: loss of streaming" for 03/0C/09. `keyByte` is sense byte 2
// as it came back; its flag bits are ignored.
std::string SenseText(std::uint8_t keyByte, std::uint8_t asc, std::uint8_t ascq);

// A refusal by status alone, without sense: "BUSY: the drive is busy with
// another command or program" for 0x08; "" for GOOD, CHECK CONDITION and
// no status.
std::string StatusRefusalText(int status);

}  // namespace twr
