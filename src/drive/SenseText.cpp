// The table of sense keys and of the additional sense codes a disc drive
// gives while it is written, identified or ejected.
#include "drive/SenseText.h"

#include <array>

#include "drive/ScsiTransport.h"

namespace twr {

namespace {

constexpr std::uint8_t kSenseKeyMask = 0x0F;
// An entry with this qualifier matches every qualifier of its code.
constexpr int kAnyQualifier = -1;

constexpr std::array<const char*, 16> kKeyWords = {
    "no sense",        "recovered error", "not ready",      "medium error",
    "hardware error",  "illegal request", "unit attention", "data protect",
    "blank check",     "vendor specific", "copy aborted",   "aborted command",
    "reserved key 0C", "volume overflow", "miscompare",     "reserved key 0F",
};

struct CodeWords {
  std::uint8_t asc;
  int ascq;
  const char* words;
};

// Exact qualifiers come before the entry of their code that takes any.
constexpr CodeWords kCodeWords[] = {
    {0x04, 0x00, "cause not reportable"},
    {0x04, 0x01, "becoming ready"},
    {0x04, 0x04, "format in progress"},
    {0x04, 0x07, "operation in progress"},
    {0x04, 0x08, "long write in progress"},
    {0x04, kAnyQualifier, "drive not ready"},
    {0x08, kAnyQualifier, "communication failure with the drive"},
    {0x09, kAnyQualifier, "tracking or focus failure"},
    {0x0C, 0x00, "write error"},
    {0x0C, 0x07, "write error, recovery needed"},
    {0x0C, 0x09, "loss of streaming"},
    {0x0C, 0x0A, "padding blocks added"},
    {0x0C, kAnyQualifier, "write error"},
    {0x11, kAnyQualifier, "unrecovered read error"},
    {0x15, kAnyQualifier, "positioning error"},
    {0x1A, kAnyQualifier, "parameter list length error"},
    {0x20, kAnyQualifier, "invalid command operation code"},
    {0x21, 0x00, "invalid address (logical block address out of range)"},
    {0x21, 0x02, "invalid address for write"},
    {0x21, kAnyQualifier, "invalid address"},
    {0x24, kAnyQualifier, "invalid field in the command"},
    {0x26, kAnyQualifier, "invalid field in the parameter list"},
    {0x27, kAnyQualifier, "write protected"},
    {0x28, kAnyQualifier, "the disc was changed"},
    {0x29, kAnyQualifier, "power on or reset"},
    {0x2A, kAnyQualifier, "parameters changed"},
    {0x2C, kAnyQualifier, "command sequence error"},
    {0x30, 0x05, "cannot write: incompatible format"},
    {0x30, kAnyQualifier, "incompatible disc"},
    {0x31, kAnyQualifier, "disc format corrupted"},
    {0x3A, 0x01, "no disc (tray closed)"},
    {0x3A, 0x02, "no disc (tray open)"},
    {0x3A, kAnyQualifier, "no disc in the drive"},
    {0x3E, kAnyQualifier, "drive has not self-configured yet"},
    {0x40, kAnyQualifier, "diagnostic failure"},
    {0x44, kAnyQualifier, "internal drive failure"},
    {0x47, kAnyQualifier, "parity or transfer error"},
    {0x4E, kAnyQualifier, "overlapped commands"},
    {0x53, 0x02, "disc removal prevented"},
    {0x53, kAnyQualifier, "disc load or eject failed"},
    {0x57, kAnyQualifier, "unable to recover the table of contents"},
    {0x5A, kAnyQualifier, "operator request"},
    {0x5D, kAnyQualifier, "failure prediction threshold exceeded"},
    {0x63, kAnyQualifier, "end of user area"},
    {0x64, kAnyQualifier, "illegal mode for this track"},
    {0x6F, kAnyQualifier, "copy protection failure"},
    {0x72, kAnyQualifier, "session fixation error"},
    {0x73, kAnyQualifier, "power calibration area error"},
};

const char* CodeText(std::uint8_t asc, std::uint8_t ascq) {
  for (const CodeWords& c : kCodeWords) {
    if (c.asc == asc && (c.ascq == kAnyQualifier || c.ascq == ascq)) return c.words;
  }
  return nullptr;
}

}  // namespace

std::string SenseText(std::uint8_t keyByte, std::uint8_t asc, std::uint8_t ascq) {
  std::string text = kKeyWords[keyByte & kSenseKeyMask];
  if (asc == 0 && ascq == 0) return text;
  if (const char* words = CodeText(asc, ascq)) {
    text += ": ";
    text += words;
  }
  return text;
}

std::string StatusRefusalText(int status) {
  switch (status) {
    case kScsiStatusBusy:
      return "BUSY: the drive is busy with another command or program";
    case kScsiStatusReservationConflict:
      return "RESERVATION CONFLICT: the drive is reserved by another program or computer";
    case kScsiStatusTaskSetFull:
      return "TASK SET FULL: the drive had no room for another command";
    case kNoScsiStatus:
    case kScsiStatusGood:
    case kScsiStatusCheckCondition:
      return "";
    default: {
      static constexpr char kHex[] = "0123456789ABCDEF";
      const auto byte = static_cast<unsigned>(status) & 0xFF;
      return std::string("status ") + kHex[byte >> 4] + kHex[byte & 0xF];
    }
  }
}

}  // namespace twr
