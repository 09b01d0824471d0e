// `twr burn`'s view of a burn: the progress snapshot in words (the phase,
// the share done, the time left, the write), shown on a status line, and
// where a stopped burn ended.
#pragma once

#include <string>

#include "burn/BurnProgress.h"
#include "cli/StatusLine.h"

namespace twr::cli {

// "Burning  42%  03:12 left  (write 1234 of 2935)", with "  Loss of
// streaming (3 so far)" after a loss; "Drive busy (retrying for 5 s)  (write
// 12 of 2935)", "Waiting for the drive (3/255)", ... in the words of the
// window's status line (BurnPhaseText); empty before a burn and after it.
std::string DescribeProgress(const BurnProgressState& state);

// "write 1234 of 2935 (42%)" for the writes done by the snapshot.
std::string WritePosition(const BurnProgressState& state);

// The burn's progress, which also keeps the snapshot taken when the burn
// stopped writing (the closing steps reset the bar).
class TerminalBurnProgress : public BurnProgress {
 public:
  void Phase(BurnPhase phase, int detail) override;
  // The snapshot at the end of the writes; empty until the closing began.
  BurnProgressState AtClose() const;

 private:
  mutable std::mutex closeMutex_;
  bool closed_ = false;
  BurnProgressState atClose_;
};

// Puts snapshots on a status line: a change of phase or of percent is
// significant (one plain line each), everything else only refreshes.
class BurnProgressView {
 public:
  explicit BurnProgressView(StatusLine& line) : line_(line) {}
  void Update(const BurnProgressState& state);
  // A new burn: its first snapshot is significant again.
  void Reset() {
    phase_ = BurnPhase::Idle;
    percent_ = -1;
  }

 private:
  StatusLine& line_;
  BurnPhase phase_ = BurnPhase::Idle;
  int percent_ = -1;
};

}  // namespace twr::cli
