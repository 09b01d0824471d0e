// A series of discs: each disc's steps, the count and what follows its end.
#include "burn/BurnSeries.h"

#include <utility>

#include "burn/MarkedBand.h"
#include "common/Messages.h"
#include "common/Translate.h"

namespace twr {

namespace {

// A message text as part of a sentence: without its closing full stop.
std::string WithoutFullStop(std::string text) {
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  return text;
}

// Why a disc that ended as `ending` stops the series, and whether another
// disc may still burn well.
std::pair<std::string, bool> WhyItStops(const BurnEnding& ending) {
  switch (ending.outcome) {
    case BurnOutcome::FinishedWithGaps:
      return {Arg(Tr("BurnSeries",
                     "its label has gaps: %1 of %2 writes were skipped after loss of streaming."),
                  {std::to_string(ending.skippedWrites), std::to_string(ending.writes)}),
              true};
    case BurnOutcome::Stopped:
      return {Tr("BurnSeries", "you stopped its burn."), false};
    case BurnOutcome::DriveGone:
      return {Tr("BurnSeries", "the drive stopped answering."), false};
    case BurnOutcome::WriteFailed:
    case BurnOutcome::BufferEmpty:
      return {Arg(Tr("BurnSeries", "its burn failed (%1)."), {WithoutFullStop(ending.text)}), true};
    case BurnOutcome::TooNarrow:
    case BurnOutcome::None:
    case BurnOutcome::Finished:
      break;
  }
  return {Arg(Tr("BurnSeries", "its burn failed (%1)."), {WithoutFullStop(ending.text)}), false};
}

}  // namespace

void BurnSeries::Begin(int count, bool goOnAfterGaps) {
  count_ = count < 1 ? 1 : count;
  number_ = 1;
  burnt_ = 0;
  withGaps_ = 0;
  goOnAfterGaps_ = goOnAfterGaps;
  halted_ = false;
  mayGoOn_ = false;
  haltText_.clear();
}

StartResult BurnSeries::StartDisc(bool rimtone) {
  if (number_ > 1) {
    switch (sequence_.NextDisc(number_, count_)) {
      case StepResult::Go:
        break;
      case StepResult::Stopped:
        return StartResult::Stopped;
      case StepResult::Failed:
        return StartResult::Refused;
    }
  }
  hooks_.DiscBegins(number_, count_);
  switch (sequence_.FaceDisc(rimtone)) {
    case StepResult::Go:
      break;
    case StepResult::Stopped:
      return StartResult::Stopped;
    case StepResult::Failed:
      return StartResult::Refused;
  }
  // Each data side has its own recorded end: the band and the disc check
  // look at this disc's.
  BurnTarget target;
  QImage label;
  if (!hooks_.MakeLabel(number_, count_, ReadBurnDisc(sequence_.Device(), rimtone), target, label))
    return StartResult::Refused;
  if (target.automaticArea) {
    // The drive's page gives the feed step and the tone curve the marks follow.
    sequence_.Plan(target);
    const AutomaticArea area = PlanAutomaticArea(sequence_.Page(), label, target);
    if (!area.marks.marks) {
      sequence_.MessagesTo().Show(NothingMarksText(target.quality), MessageIcon::Error);
      return StartResult::Refused;
    }
    target.band = area.band;
    target.automaticArea = false;
  }
  if (!hooks_.Planned(sequence_.Plan(target))) return StartResult::Refused;
  return sequence_.Draw(target, std::move(label));
}

void BurnSeries::Advance() {
  if (number_ < count_) ++number_;
  halted_ = false;
  mayGoOn_ = false;
  haltText_.clear();
}

SeriesNext BurnSeries::DiscEnded(const BurnEnding& ending) {
  const bool etched =
      ending.outcome == BurnOutcome::Finished || ending.outcome == BurnOutcome::FinishedWithGaps;
  if (etched) ++burnt_;
  if (ending.outcome == BurnOutcome::FinishedWithGaps) ++withGaps_;
  const bool clean =
      ending.outcome == BurnOutcome::Finished ||
      (ending.outcome == BurnOutcome::FinishedWithGaps && (goOnAfterGaps_ || number_ == count_));
  if (clean) {
    if (number_ == count_) return SeriesNext::Done;
    ++number_;
    return SeriesNext::NextDisc;
  }
  auto [why, mayGoOn] = WhyItStops(ending);
  return Halt(Arg(Tr("BurnSeries", "Series stopped after disc %1 of %2: %3"),
                  {std::to_string(number_), std::to_string(count_), why}),
              mayGoOn);
}

SeriesNext BurnSeries::DiscNotBurnt(const std::string& why) {
  const std::string at = std::to_string(number_), of = std::to_string(count_);
  return Halt(why.empty()
                  ? Arg(Tr("BurnSeries", "Series stopped before disc %1 of %2."), {at, of})
                  : Arg(Tr("BurnSeries", "Series stopped before disc %1 of %2: %3"), {at, of, why}),
              false);
}

SeriesNext BurnSeries::Halt(std::string why, bool mayGoOn) {
  halted_ = true;
  mayGoOn_ = mayGoOn;
  haltText_ = std::move(why);
  return SeriesNext::Halted;
}

std::string BurnSeries::SummaryText() const {
  const std::string burnt = std::to_string(burnt_), count = std::to_string(count_);
  if (withGaps_ == 0) return Arg(Tr("BurnSeries", "%1 of %2 discs burnt."), {burnt, count});
  return Arg(Tr("BurnSeries", "%1 of %2 discs burnt, %3 of them with gaps."),
             {burnt, count, std::to_string(withGaps_)});
}

}  // namespace twr
