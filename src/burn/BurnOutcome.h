// How a burn ended: a kind a front end can act on, beside the message text
// and detail the user is shown.
#pragma once

#include <string>

namespace twr {

enum class BurnOutcome {
  None,         // no burn has ended yet
  Finished,     // the band was written ("Finish Burning.")
  Stopped,      // a stop request ended it early ("Finish Burning." too)
  TooNarrow,    // the band holds less than one write: nothing was sent
  BufferEmpty,  // the encoder fell silent ("Buffer Empty Error.")
  WriteFailed,  // the drive refused a write, stayed busy or stopped answering
};

struct BurnEnding {
  BurnOutcome outcome = BurnOutcome::None;
  std::string text;    // the message shown at the end, e.g. "Writing Error[Sense=5,Asc=21,Ascq=0]"
  std::string detail;  // what follows it: why the burn ended so ("" when the text says it all)
  // (A count of the writes skipped after losses of streaming would go here,
  // counted where the burn thread skips them: BurnJob::SkipAfterStreamingLoss.)
  // The label is on the disc.
  bool Succeeded() const { return outcome == BurnOutcome::Finished; }
};

}  // namespace twr
