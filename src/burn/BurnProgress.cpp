// Coalesced burn progress.
#include "burn/BurnProgress.h"

#include "burn/BurnJob.h"
#include "common/Translate.h"

namespace twr {

int BurnProgressState::Percent() const {
  const long long span = static_cast<long long>(high) - low;
  if (span <= 0) return 0;
  const long long done = static_cast<long long>(position) - low;
  if (done <= 0) return 0;
  if (done >= span) return 100;
  return static_cast<int>(done * 100 / span);
}

std::string BurnPhaseText(BurnPhase phase, int detail) {
  const std::string n = std::to_string(detail);
  switch (phase) {
    case BurnPhase::Preparing:
      return Tr("BurnProgress", "Preparing the drive");
    case BurnPhase::Burning:
      if (detail > 0) return Arg(Tr("BurnProgress", "Burning; loss of streaming (%1 so far)"), {n});
      return Tr("BurnProgress", "Burning");
    case BurnPhase::DriveBusy:
      return Arg(Tr("BurnProgress", "Drive busy (retrying for %1 s)"), {n});
    case BurnPhase::StreamingLost:
      return Arg(Tr("BurnProgress", "Loss of streaming (%1 so far)"), {n});
    case BurnPhase::Synchronising:
      return Tr("BurnProgress", "Synchronising the drive's cache");
    case BurnPhase::WaitingForDrive:
      return Arg(Tr("BurnProgress", "Waiting for the drive (%1/%2)"),
                 {n, std::to_string(BurnTimings{}.readyTries)});
    case BurnPhase::Restoring:
      return Tr("BurnProgress", "Restoring the drive");
    case BurnPhase::Idle:
    case BurnPhase::Done:
      break;
  }
  return {};
}

void BurnProgress::SetNotifier(std::function<void()> notify) {
  std::lock_guard<std::mutex> notifyLock(notifyMutex_);
  std::lock_guard<std::mutex> lock(mutex_);
  notify_ = std::move(notify);
}

BurnProgressState BurnProgress::Take() {
  std::lock_guard<std::mutex> lock(mutex_);
  pending_.store(false);
  return state_;
}

BurnProgressState BurnProgress::Peek() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return state_;
}

void BurnProgress::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = BurnProgressState{};
  pending_.store(false);
  changes_.store(0);
  notifications_.store(0);
}

template <typename Change>
void BurnProgress::Update(Change change) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    change(state_);
    changes_.fetch_add(1);
    if (!notify_ || pending_.exchange(true)) return;
  }
  std::lock_guard<std::mutex> notifyLock(notifyMutex_);
  std::function<void()> notify;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    notify = notify_;
  }
  if (!notify) return;
  notifications_.fetch_add(1);
  notify();
}

void BurnProgress::SetRange(int low, int high) {
  Update([&](BurnProgressState& s) {
    s.low = low;
    s.high = high;
  });
}

void BurnProgress::SetPos(int position) {
  Update([&](BurnProgressState& s) { s.position = position; });
}

void BurnProgress::SetStep(int step) {
  Update([&](BurnProgressState& s) { s.step = step; });
}

void BurnProgress::StepIt() {
  Update([](BurnProgressState& s) { s.position += s.step; });
}

void BurnProgress::SetText(const std::string& text) {
  Update([&](BurnProgressState& s) { s.text = text; });
}

void BurnProgress::SetShowText(bool show) {
  Update([&](BurnProgressState& s) { s.showText = show; });
}

void BurnProgress::Phase(BurnPhase phase, int detail) {
  Update([&](BurnProgressState& s) {
    s.phase = phase;
    s.phaseDetail = detail;
  });
}

void BurnProgress::Finished(const std::string& outcome) {
  Update([&](BurnProgressState& s) {
    s.finished = true;
    s.outcome = outcome;
  });
}

}  // namespace twr
