// A small PNG writer for the etched-disc picture (the drive layer has no Qt):
// 8-bit RGB, no filtering, one zlib stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace twr {

// Writes width x height RGB pixels (3 bytes each, rows top to bottom). True
// when the whole file was written; the file is replaced atomically, and a
// path that is no regular file (a FIFO, a folder) is refused. `why` (if
// given) says what went wrong.
bool WriteRgbPng(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb, std::string* why = nullptr);

}  // namespace twr
