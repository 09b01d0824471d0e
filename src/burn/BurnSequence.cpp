// The steps of a burn before its threads: the drive taken, the disc facing
// the laser, the plan, the disc check and the preparation.
#include "burn/BurnSequence.h"

#include <algorithm>

#include "common/Messages.h"
#include "drive/CELDevice.h"

namespace twr {

namespace {

constexpr int kPageReadTries = 3;
constexpr int kPrevent = 1;
constexpr int kAllow = 0;
constexpr int kNotImmediate = 0;
// GET CONFIGURATION from feature 0, 32 bytes: "does a disc answer?"
constexpr int kConfigurationLength = 32;
constexpr std::uint8_t kAscMediumNotPresent = 0x3A;

// TEST UNIT READY answered "medium not present" (any qualifier: tray open
// or closed).
bool NoMedium(const ScsiResult& result) {
  return !result.ok && result.sense.present && result.sense.asc == kAscMediumNotPresent;
}

}  // namespace

BurnDisc ReadBurnDisc(CELDevice& device, bool rimtone) {
  if (!rimtone) return BurnDisc::LabelSide();
  const std::uint8_t kind = device.GetDiscKind();
  const std::uint8_t status = device.GetDiscStatus();
  return BurnDisc::DataSideOf(kind, status, device.GetRecordedOuterRadius());
}

BurnSequence::BurnSequence(CELDevice& device, Messages& messages)
    : device_(device), messages_(messages), job_(device, messages) {}

void BurnSequence::SetEvents(BurnEvents* events) {
  events_ = events ? events : &noEvents_;
  job_.SetEvents(events_);
}

// ---- The drive ------------------------------------------------------------------

DriveOpening BurnSequence::TakeDrive(int index) {
  takenIndex_ = index;
  auto open = [this, index] { return OpenListedDriveForBurn(device_, index, unmount_); };
  return RetryWhileRefused(open(), open);
}

DriveOpening BurnSequence::TakeDrive(const DriveChoice& choice) {
  auto open = [this, choice] { return OpenDriveForBurn(device_, choice, unmount_); };
  DriveOpening opening = RetryWhileRefused(open(), open);
  takenIndex_ = opening.index;
  return opening;
}

DriveOpening BurnSequence::RetryWhileRefused(DriveOpening opening,
                                             const std::function<DriveOpening()>& open) {
  while (!opening.Ok() && opening.error != DriveOpenError::NotListed &&
         hooks_->RetryTakingDrive(opening))
    opening = open();
  return opening;
}

void BurnSequence::ShareDrive() {
  if (takenIndex_ >= 0) device_.OpenDrive(takenIndex_);
}

// ---- Before the label is rendered --------------------------------------------------

StepResult BurnSequence::FaceDisc(bool rimtone) {
  device_.TestUnitReadyTries();
  // An empty tray has no side to turn over: nothing is ejected.
  if (NoMedium(device_.LastResult())) {
    messages_.ShowString(kStrDiscNotFound, MessageIcon::Error);
    return StepResult::Failed;
  }
  if (!rimtone && device_.GetDiscKind() != kDiscUnknown) {
    // The data side faces the laser: out it goes, to be turned over.
    device_.StartStopUnit(kNotImmediate);
    messages_.ShowString(kStrFlipDisc, MessageIcon::Information);
    if (const StepResult back = hooks_->DiscTurnedOver(device_); back != StepResult::Go)
      return back;
  }
  device_.TestUnitReadyTries();
  if (!device_.GetConfiguration(0, 0, kConfigurationLength)) {
    messages_.ShowString(kStrDiscNotFound, MessageIcon::Error);
    return StepResult::Failed;
  }
  return StepResult::Go;
}

StepResult BurnSequence::NextDisc(int number, int count) {
  job_.Wait();
  return hooks_->NextDisc(device_, number, count);
}

// ---- The plan -----------------------------------------------------------------------

bool BurnSequence::ReadPage() {
  for (int i = 0; i < kPageReadTries; ++i) {
    if (device_.ReadModePage(ElsPage::kPageCode, page_.Data())) return true;
  }
  return false;
}

BurnPlan BurnSequence::PlanFromPage(const BurnTarget& target) const {
  return PlanBurn(page_, target);
}

BurnPlan BurnSequence::ReadAndPlan(const BurnTarget& target) {
  ReadPage();  // on failure the page read before stays
  BurnPlan plan = PlanFromPage(target);
  if (const PlanFailure* failure = plan.PageFailure())
    messages_.ShowDetailed(PlanFailureText(*failure), PlanFailureDetail(*failure),
                           MessageIcon::Error);
  return plan;
}

const BurnPlan& BurnSequence::Plan(const BurnTarget& target) {
  plan_ = ReadAndPlan(target);
  return plan_;
}

// ---- The burn -------------------------------------------------------------------------

bool BurnSequence::CheckDisc(double innerRadius) {
  device_.TestUnitReadyTries();
  const std::uint8_t kind = device_.GetDiscKind();

  // One recordable kind: 1 for a blank disc the user agrees to mark or a
  // complete one whose data area ends below the band, 0 (with its message)
  // for any other blank, incomplete or complete disc, -1 for another status.
  auto checkRecordable = [&](std::uint8_t asKind) -> int {
    const std::uint8_t status = device_.GetDiscStatus();
    switch (status) {
      case kStatusBlank:
        return messages_.AskString(kStrDiscBlank, MessageIcon::Warning) ? 1 : 0;
      case kStatusIncomplete:
        messages_.ShowString(kStrDiscIncomplete, MessageIcon::Error);
        return 0;
      case kStatusComplete: {
        const BurnDisc side =
            BurnDisc::DataSideOf(asKind, status, device_.GetRecordedOuterRadius());
        if (DataAreaEnd(side) <= innerRadius) return 1;
        messages_.ShowString(kStrOverwriteDataArea, MessageIcon::Error);
        return 0;
      }
      default:
        return -1;
    }
  };

  int verdict = -1;
  bool unknown = kind == kDiscUnknown;
  if (kind == kDiscDvdR) {
    verdict = checkRecordable(kDiscDvdR);
    if (verdict < 0) verdict = checkRecordable(kDiscDvdPlusR);
    unknown = verdict < 0;
  } else if (kind == kDiscDvdPlusR) {
    verdict = checkRecordable(kDiscDvdPlusR);
    unknown = verdict < 0;
  } else if (!unknown) {
    return false;
  }
  if (!unknown) return verdict == 1;
  if (device_.IsLabelSide()) return true;
  messages_.ShowString(kStrDiscUnknown, MessageIcon::Error);
  return false;
}

StartResult BurnSequence::Prepare(const BurnTarget& target, QImage label) {
  if (!device_.TestUnitReadyTries()) return StartResult::NotReady;
  ReadPage();  // on failure the page read before stays
  plan_ = PlanFromPage(target);
  if (plan_.Fails(PlanCheck::NoSpeedEntry)) return StartResult::NoSpeedEntry;
  // Every check comes before the page is armed: a refused burn leaves the
  // drive as it was.
  for (const PlanFailure& failure : plan_.failures) {
    if (failure.check == PlanCheck::BandTooNarrow) continue;  // the burn's outcome says so
    messages_.ShowDetailed(PlanFailureText(failure), PlanFailureDetail(failure),
                           MessageIcon::Error);
    return StartResult::Refused;
  }
  const ElsPage armed = plan_.ArmedPage(page_);
  device_.WriteModePage(armed.Data());
  job_.Start(plan_, armed, std::move(label));
  return StartResult::Started;
}

StartResult BurnSequence::Start(const BurnTarget& target, QImage label) {
  job_.Wait();  // a previous burn's threads have ended by now
  events_->Phase(BurnPhase::Preparing, 0);
  device_.PreventAllowRemoval(kPrevent);
  const StartResult result = Prepare(target, std::move(label));
  if (result != StartResult::Started) {
    // Nothing starts: removal is allowed again, as a burn would leave it.
    device_.PreventAllowRemoval(kAllow);
    events_->Phase(BurnPhase::Idle, 0);
  }
  return result;
}

StartResult BurnSequence::Draw(const BurnTarget& target, QImage label) {
  if (!CheckDisc(BandInnerOn(target.disc, target.band.inner)))
    return hooks_->StopRequested() ? StartResult::Stopped : StartResult::Refused;
  if (hooks_->StopRequested()) return StartResult::Stopped;
  return Start(target, std::move(label));
}

}  // namespace twr
