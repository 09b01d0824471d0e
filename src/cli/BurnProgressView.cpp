// The words of a burn's progress.
#include "cli/BurnProgressView.h"

#include "burn/BurnJob.h"
#include "common/Translate.h"

namespace twr::cli {

namespace {

constexpr const char* kNoTimeYet = "--:--";

}  // namespace

std::string WritePosition(const BurnProgressState& state) {
  return Arg(Tr("BurnProgressView", "write %1 of %2 (%3%)"),
             {std::to_string(state.position - state.low), std::to_string(state.high - state.low),
              std::to_string(state.Percent())});
}

std::string DescribeProgress(const BurnProgressState& state) {
  switch (state.phase) {
    case BurnPhase::Preparing:
      return Tr("BurnProgressView", "Preparing the drive...");
    case BurnPhase::Burning: {
      std::string percent = std::to_string(state.Percent()) + "%";
      if (percent.size() < 4) percent.insert(0, 4 - percent.size(), ' ');
      return Arg(
          Tr("BurnProgressView", "Burning %1  %2 left  (write %3 of %4)"),
          {percent, (state.text.empty() ? kNoTimeYet : state.text),
           std::to_string(state.position - state.low), std::to_string(state.high - state.low)});
    }
    case BurnPhase::Synchronising:
      return Tr("BurnProgressView", "Finishing: synchronising the drive's cache");
    case BurnPhase::WaitingForDrive:
      return Arg(Tr("BurnProgressView", "Finishing: waiting for the drive %1/%2"),
                 {std::to_string(state.phaseDetail), std::to_string(BurnTimings{}.readyTries)});
    case BurnPhase::Restoring:
      return Tr("BurnProgressView", "Finishing: restoring the drive");
    case BurnPhase::Idle:
    case BurnPhase::DriveBusy:      // the line keeps showing the write
    case BurnPhase::StreamingLost:  // waited for
    case BurnPhase::Done:
      break;
  }
  return {};
}

void TerminalBurnProgress::Phase(BurnPhase phase, int detail) {
  if (phase == BurnPhase::Synchronising || phase == BurnPhase::Restoring) {
    const BurnProgressState now = Peek();
    std::lock_guard<std::mutex> lock(closeMutex_);
    if (!closed_) {
      closed_ = true;
      atClose_ = now;
    }
  }
  BurnProgress::Phase(phase, detail);
}

BurnProgressState TerminalBurnProgress::AtClose() const {
  std::lock_guard<std::mutex> lock(closeMutex_);
  return atClose_;
}

void BurnProgressView::Update(const BurnProgressState& state) {
  const std::string text = DescribeProgress(state);
  if (text.empty()) return;
  const int percent = state.phase == BurnPhase::Burning ? state.Percent() : -1;
  const bool significant = state.phase != phase_ || percent != percent_;
  phase_ = state.phase;
  percent_ = percent;
  line_.Show(text, significant);
}

}  // namespace twr::cli
