// The progress of a burn as one snapshot that the burn thread updates and a
// front end reads: the text progress bar's range, position, text and text
// display, the phase, and the outcome once the burn is over. Changes are
// coalesced: the notifier fires once and not again until the front end has
// taken the snapshot, so a burn of 90,000 writes never queues 90,000 events.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "burn/BurnEvents.h"

namespace twr {

struct BurnProgressState {
  int low = 0;
  int high = 0;
  int position = 0;
  int step = 1;
  std::string text;
  bool showText = false;
  BurnPhase phase = BurnPhase::Idle;
  int phaseDetail = 0;  // the phase's detail (see BurnPhase)
  bool finished = false;
  std::string outcome;

  // Share of the range done, 0 ... 100 (0 for an empty range).
  int Percent() const;
};

// The phase in words, as both front ends show it on their status line:
// "Preparing the drive", "Burning", "Burning; loss of streaming (3 so far)",
// "Drive busy (retrying for 12 s)", "Loss of streaming (3 so far)",
// "Synchronising the drive's cache", "Waiting for the drive (4/255)",
// "Restoring the drive"; "" before a burn and after it.
std::string BurnPhaseText(BurnPhase phase, int detail);

class BurnProgress : public BurnEvents {
 public:
  // Called on the thread that made a change when the change finds the last
  // one taken. It must not block; a window program posts a queued call.
  // Once SetNotifier(nullptr) has returned, the old notifier is not running
  // and never runs again.
  void SetNotifier(std::function<void()> notify);
  // The snapshot; the next change notifies again.
  BurnProgressState Take();
  // The snapshot without re-arming the notifier.
  BurnProgressState Peek() const;
  // Back to the state before a burn (the notifier stays).
  void Reset();

  // Changes made and notifications sent since the last Reset.
  std::uint64_t Changes() const { return changes_.load(); }
  std::uint64_t Notifications() const { return notifications_.load(); }

  void SetRange(int low, int high) override;
  void SetPos(int position) override;
  void SetStep(int step) override;
  void StepIt() override;
  void SetText(const std::string& text) override;
  void SetShowText(bool show) override;
  void Phase(BurnPhase phase, int detail) override;
  void Finished(const std::string& outcome) override;

 private:
  template <typename Change>
  void Update(Change change);

  mutable std::mutex mutex_;
  std::mutex notifyMutex_;  // held while the notifier runs or changes
  BurnProgressState state_;
  std::function<void()> notify_;
  std::atomic<bool> pending_{false};
  std::atomic<std::uint64_t> changes_{0};
  std::atomic<std::uint64_t> notifications_{0};
};

}  // namespace twr
