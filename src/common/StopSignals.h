// SIGINT, SIGTERM and SIGHUP caught while the program must not simply end:
// a closed terminal, a polite kill or Ctrl-C become a stop request that the
// program answers through its normal path (a burn still runs its closing
// steps). Each signal is counted and its number written to a self-pipe, so
// that an event loop can wait for it. One instance at a time; the handlers
// that were there before come back when it goes.
#pragma once

#include <vector>

namespace twr {

class StopSignals {
 public:
  // With `restartCalls` a system call that a signal interrupts goes on
  // (SA_RESTART, for an event loop); without it the call returns with
  // EINTR, so that a blocking read of the terminal ends at Ctrl-C.
  explicit StopSignals(bool restartCalls = false);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // A signal has come since this object was made.
  static bool Requested();
  // The self-pipe's read end (non-blocking), readable once a signal came;
  // -1 when no pipe could be made (Requested() still works).
  int NotifyFd() const;
  // The numbers of the signals that came since the last call.
  std::vector<int> TakeSignals();
};

}  // namespace twr
