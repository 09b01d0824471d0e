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
  const std::string writes =
      Arg(Tr("BurnProgressView", "(write %1 of %2)"),
          {std::to_string(state.position - state.low), std::to_string(state.high - state.low)});
  switch (state.phase) {
    case BurnPhase::Burning:
    case BurnPhase::StreamingLost: {
      std::string percent = std::to_string(state.Percent()) + "%";
      if (percent.size() < 4) percent.insert(0, 4 - percent.size(), ' ');
      std::string text = Arg(Tr("BurnProgressView", "%1 %2  %3 left  %4"),
                             {BurnPhaseText(BurnPhase::Burning, 0), percent,
                              state.text.empty() ? kNoTimeYet : state.text, writes});
      // The losses so far, in the words of the window's status line.
      if (state.phaseDetail > 0)
        text += "  " + BurnPhaseText(BurnPhase::StreamingLost, state.phaseDetail);
      return text;
    }
    case BurnPhase::DriveBusy:
      return BurnPhaseText(state.phase, state.phaseDetail) + "  " + writes;
    case BurnPhase::Preparing:
    case BurnPhase::Synchronising:
    case BurnPhase::WaitingForDrive:
    case BurnPhase::Restoring:
      return BurnPhaseText(state.phase, state.phaseDetail);
    case BurnPhase::Idle:
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
  // A loss of streaming is a moment of the burning, not a phase of its own:
  // plain output gets no line for each.
  const BurnPhase phase =
      state.phase == BurnPhase::StreamingLost ? BurnPhase::Burning : state.phase;
  const int percent = phase == BurnPhase::Burning ? state.Percent() : -1;
  const bool significant = phase != phase_ || percent != percent_;
  phase_ = phase;
  percent_ = percent;
  line_.Show(text, significant);
}

}  // namespace twr::cli
