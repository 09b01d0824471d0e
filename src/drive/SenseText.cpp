// The table of sense keys and of the additional sense codes a disc drive
// gives while it is written, identified or ejected.
#include "drive/SenseText.h"

#include <array>

#include "common/Translate.h"
#include "drive/ScsiTransport.h"

namespace twr {

namespace {

constexpr std::uint8_t kSenseKeyMask = 0x0F;
// An entry with this qualifier matches every qualifier of its code.
constexpr int kAnyQualifier = -1;

constexpr std::array<const char*, 16> kKeyWords = {
    TWR_TRANSLATE_NOOP("SenseText", "no sense"),
    TWR_TRANSLATE_NOOP("SenseText", "recovered error"),
    TWR_TRANSLATE_NOOP("SenseText", "not ready"),
    TWR_TRANSLATE_NOOP("SenseText", "medium error"),
    TWR_TRANSLATE_NOOP("SenseText", "hardware error"),
    TWR_TRANSLATE_NOOP("SenseText", "illegal request"),
    TWR_TRANSLATE_NOOP("SenseText", "unit attention"),
    TWR_TRANSLATE_NOOP("SenseText", "data protect"),
    TWR_TRANSLATE_NOOP("SenseText", "blank check"),
    TWR_TRANSLATE_NOOP("SenseText", "vendor specific"),
    TWR_TRANSLATE_NOOP("SenseText", "copy aborted"),
    TWR_TRANSLATE_NOOP("SenseText", "aborted command"),
    TWR_TRANSLATE_NOOP("SenseText", "reserved key 0C"),
    TWR_TRANSLATE_NOOP("SenseText", "volume overflow"),
    TWR_TRANSLATE_NOOP("SenseText", "miscompare"),
    TWR_TRANSLATE_NOOP("SenseText", "reserved key 0F"),
};

struct CodeWords {
  std::uint8_t asc;
  int ascq;
  const char* words;
};

// Exact qualifiers come before the entry of their code that takes any.
constexpr CodeWords kCodeWords[] = {
    {0x04, 0x00, TWR_TRANSLATE_NOOP("SenseText", "cause not reportable")},
    {0x04, 0x01, TWR_TRANSLATE_NOOP("SenseText", "becoming ready")},
    {0x04, 0x04, TWR_TRANSLATE_NOOP("SenseText", "format in progress")},
    {0x04, 0x07, TWR_TRANSLATE_NOOP("SenseText", "operation in progress")},
    {0x04, 0x08, TWR_TRANSLATE_NOOP("SenseText", "long write in progress")},
    {0x04, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "drive not ready")},
    {0x08, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "communication failure with the drive")},
    {0x09, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "tracking or focus failure")},
    {0x0C, 0x00, TWR_TRANSLATE_NOOP("SenseText", "write error")},
    {0x0C, 0x07, TWR_TRANSLATE_NOOP("SenseText", "write error, recovery needed")},
    {0x0C, 0x09, TWR_TRANSLATE_NOOP("SenseText", "loss of streaming")},
    {0x0C, 0x0A, TWR_TRANSLATE_NOOP("SenseText", "padding blocks added")},
    {0x0C, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "write error")},
    {0x11, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "unrecovered read error")},
    {0x15, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "positioning error")},
    {0x1A, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "parameter list length error")},
    {0x20, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "invalid command operation code")},
    {0x21, 0x00,
     TWR_TRANSLATE_NOOP("SenseText", "invalid address (logical block address out of range)")},
    {0x21, 0x02, TWR_TRANSLATE_NOOP("SenseText", "invalid address for write")},
    {0x21, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "invalid address")},
    {0x24, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "invalid field in the command")},
    {0x26, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "invalid field in the parameter list")},
    {0x27, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "write protected")},
    {0x28, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "the disc was changed")},
    {0x29, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "power on or reset")},
    {0x2A, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "parameters changed")},
    {0x2C, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "command sequence error")},
    {0x30, 0x05, TWR_TRANSLATE_NOOP("SenseText", "cannot write: incompatible format")},
    {0x30, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "incompatible disc")},
    {0x31, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "disc format corrupted")},
    {0x3A, 0x01, TWR_TRANSLATE_NOOP("SenseText", "no disc (tray closed)")},
    {0x3A, 0x02, TWR_TRANSLATE_NOOP("SenseText", "no disc (tray open)")},
    {0x3A, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "no disc in the drive")},
    {0x3E, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "drive has not self-configured yet")},
    {0x40, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "diagnostic failure")},
    {0x44, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "internal drive failure")},
    {0x47, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "parity or transfer error")},
    {0x4E, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "overlapped commands")},
    {0x53, 0x02, TWR_TRANSLATE_NOOP("SenseText", "disc removal prevented")},
    {0x53, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "disc load or eject failed")},
    {0x57, kAnyQualifier,
     TWR_TRANSLATE_NOOP("SenseText", "unable to recover the table of contents")},
    {0x5A, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "operator request")},
    {0x5D, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "failure prediction threshold exceeded")},
    {0x63, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "end of user area")},
    {0x64, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "illegal mode for this track")},
    {0x6F, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "copy protection failure")},
    {0x72, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "session fixation error")},
    {0x73, kAnyQualifier, TWR_TRANSLATE_NOOP("SenseText", "power calibration area error")},
};

const char* CodeText(std::uint8_t asc, std::uint8_t ascq) {
  for (const CodeWords& c : kCodeWords) {
    if (c.asc == asc && (c.ascq == kAnyQualifier || c.ascq == ascq)) return c.words;
  }
  return nullptr;
}

}  // namespace

std::string SenseText(std::uint8_t keyByte, std::uint8_t asc, std::uint8_t ascq) {
  std::string text = Tr("SenseText", kKeyWords[keyByte & kSenseKeyMask]);
  if (asc == 0 && ascq == 0) return text;
  if (const char* words = CodeText(asc, ascq)) {
    text += ": ";
    text += Tr("SenseText", words);
  }
  return text;
}

std::string StatusRefusalText(int status) {
  switch (status) {
    case kScsiStatusBusy:
      return Tr("SenseText", "BUSY: the drive is busy with another command or program");
    case kScsiStatusReservationConflict:
      return Tr("SenseText",
                "RESERVATION CONFLICT: the drive is reserved by another program or computer");
    case kScsiStatusTaskSetFull:
      return Tr("SenseText", "TASK SET FULL: the drive had no room for another command");
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
