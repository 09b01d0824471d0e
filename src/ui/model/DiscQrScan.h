// File ▸ QR Code from the Disc: the disc in a drive read for the QR code's
// text (volume name, date, its files counted below the top, their size and
// its top-level names). Drive work only: the window runs it on its drive
// task and puts the text in the QR field.
#pragma once

#include <cstdint>
#include <string>

#include "drive/DiscTree.h"
#include "label/DiscQrText.h"

namespace twr {

class CELDevice;

struct DiscQrScan {
  bool ready = false;  // the drive answered with a disc
  std::string text;    // the QR text; empty when the disc gave nothing
  DiscTreeCount count;
};

// Reads the disc in the listed drive with that letter (the open one, for a
// disc that is not mounted). `limits` bound the count below the top.
DiscQrScan ScanDiscForQr(CELDevice& device, char letter, const TreeLimits& limits = {},
                         std::size_t maxBytes = kDiscQrBytes);

}  // namespace twr
