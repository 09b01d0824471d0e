// What a burn tells the one who shows it: the text progress bar (range,
// position, step, text and its display), the phase the burn is in, and the
// end of the burn. Called on the burn thread; a window program forwards them
// to its GUI thread.
#pragma once

#include <string>

namespace twr {

// Where a burn is, with the detail each phase gives. The closing phases run
// after the last write, after a stop request and after an error alike.
enum class BurnPhase {
  Idle,           // no burn yet
  Preparing,      // disc checks and the ELS page
  Burning,        // writes going out (detail: losses of streaming so far)
  DriveBusy,      // the drive answers "long write in progress" (detail: seconds so far)
  StreamingLost,  // a loss of streaming, the rest of the revolution skipped (detail: losses so far)
  Synchronising,  // SYNCHRONIZE CACHE after the last write
  WaitingForDrive,  // TEST UNIT READY until the drive is ready (detail: try n of 255)
  Restoring,        // page flag cleared, removal allowed, disc ejected
  Done,
};

class BurnEvents {
 public:
  virtual ~BurnEvents() = default;
  virtual void SetRange(int /*low*/, int /*high*/) {}
  virtual void SetPos(int /*position*/) {}
  virtual void SetStep(int /*step*/) {}
  virtual void StepIt() {}
  virtual void SetText(const std::string& /*text*/) {}
  virtual void SetShowText(bool /*show*/) {}
  // The burn entered `phase`, or its detail changed (see BurnPhase).
  virtual void Phase(BurnPhase /*phase*/, int /*detail*/) {}
  // The burn is over (closing steps done); `outcome` is the message shown.
  virtual void Finished(const std::string& /*outcome*/) {}
};

}  // namespace twr
