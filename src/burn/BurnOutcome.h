// How a burn ended: a kind a front end can act on, beside the message text
// and detail the user is shown.
#pragma once

#include <cstdint>
#include <string>

#include "common/Messages.h"

namespace twr {

enum class BurnOutcome {
  None,              // no burn has ended yet
  Finished,          // the band was written ("Finish Burning.")
  Stopped,           // a stop request ended it early ("Finish Burning." too)
  TooNarrow,         // the band holds less than one write: nothing was sent
  BufferEmpty,       // the encoder fell silent ("Buffer Empty Error.")
  WriteFailed,       // the drive refused a write or stayed busy
  FinishedWithGaps,  // the band was written to its end, but writes were
                     // skipped after losses of streaming ("Finish Burning.")
  DriveGone,         // the drive stopped answering: no status, no sense
};

// Where the help explains each ending (a page of the bundled help and its
// anchor); a clean finish needs none.
inline constexpr const char* kHelpStopped = "troubleshooting.html#stopped";
inline constexpr const char* kHelpGaps = "troubleshooting.html#gaps";
inline constexpr const char* kHelpWritingError = "troubleshooting.html#writing-error";
inline constexpr const char* kHelpDriveGone = "troubleshooting.html#drive-gone";
inline constexpr const char* kHelpBufferEmpty = "troubleshooting.html#m1001";
inline constexpr const char* kHelpTooNarrow = "troubleshooting.html#band-too-narrow";
inline constexpr const char* kHelpFinished = "troubleshooting.html#m1000";

struct BurnEnding {
  BurnOutcome outcome = BurnOutcome::None;
  std::string text;    // the message shown at the end, e.g. "Writing Error[Sense=5,Asc=21,Ascq=0]"
  std::string detail;  // what follows it: why the burn ended so ("" when the text says it all)
  std::string help;    // the help page and anchor that explain it ("" for a clean finish)
  // The writes of the band, the last one reached (sent, or skipped past),
  // and those skipped after losses of streaming (the gaps in the label), with
  // the number of losses (each cost the rest of a revolution, or a resend).
  std::int32_t writes = 0;
  std::int32_t lastWrite = 0;
  std::int32_t skippedWrites = 0;
  int streamingLosses = 0;

  // The label is on the disc, whole.
  bool Succeeded() const { return outcome == BurnOutcome::Finished; }
};

// The icon of the ending's message: information for a clean finish and for
// a stop asked for, warning for a label with gaps, stop for the rest.
inline MessageIcon OutcomeIcon(BurnOutcome outcome) {
  switch (outcome) {
    case BurnOutcome::None:
    case BurnOutcome::Finished:
    case BurnOutcome::Stopped:
      return MessageIcon::Information;
    case BurnOutcome::FinishedWithGaps:
      return MessageIcon::Warning;
    case BurnOutcome::TooNarrow:
    case BurnOutcome::BufferEmpty:
    case BurnOutcome::WriteFailed:
    case BurnOutcome::DriveGone:
      break;
  }
  return MessageIcon::Error;
}

}  // namespace twr
