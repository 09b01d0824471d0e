// The burn dialog's rules: opening, the disc check, quality, Draw and Exit.
#include "burn/BurnSession.h"

#include "common/Messages.h"
#include "common/Strings.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DriveSetup.h"

namespace twr {

namespace {
constexpr int kReadyTries = 3;
}  // namespace

BurnSession::BurnSession(CELDevice& device, Messages& messages)
    : device_(device), messages_(messages), job_(device, messages) {
  job_.SetEvents(&progress_);
}

void BurnSession::SetBand(double innerRadius, double outerRadius) {
  job_.SetBand(innerRadius, outerRadius);
}

void BurnSession::Open() {
  shownPicture_ = rimtone_;

  const int count = device_.EnumerateDrives();
  driveItems_.clear();
  for (int i = 0; i < count; ++i) driveItems_.push_back(device_.GetDriveItem(i));
  selectedDrive_ = driveIndex_ >= 0 && driveIndex_ < count ? driveIndex_ : -1;
  device_.SelectDrive(selectedDrive_ >= 0 ? driveItems_[selectedDrive_] : std::string(),
                      driveIndex_);
  driveInUse_ = device_.OpenIndex();

  quality_ = 0;
  for (int i = 0; i < kReadyTries; ++i) device_.TestUnitReady();
  job_.ChooseSpeedEntry();
  job_.ChooseQualitySteps();
  job_.SetQuality(BurnQuality::Draft);

  labelText_ = StringText(kStrRequiredTime);
  job_.ComputeRequiredTime();

  progress_.Reset();
  progress_.SetShowText(false);
  progress_.SetPos(0);
  progress_.SetStep(1);
  progress_.SetRange(0, kIdleProgressRange);

  state_ = State::Waiting;
  CheckDisc();
  timerCounter_ = kFirstCheckCounterMs;
}

bool BurnSession::Tick() {
  if (!AdvanceTimer()) return false;
  CheckDisc();
  return true;
}

bool BurnSession::AdvanceTimer() {
  if (state_ != State::Waiting) return false;
  timerCounter_ += kTimerPeriodMs;
  if (timerCounter_ < kDiscCheckPeriodMs) return false;
  timerCounter_ = 0;
  return true;
}

void BurnSession::CheckDisc() {
  drawEnabled_ = ShowDiscState();
}

bool BurnSession::ShowDiscState() {
  const DiscIdentity disc = IdentifyDisc(device_);
  discText_ = disc.name.text;
  // A DVD±R, whatever its status, faces the laser with its data side.
  shownPicture_ = disc.kind == kDiscDvdR || disc.kind == kDiscDvdPlusR;
  return disc.name.verdict != 0;
}

void BurnSession::SelectQuality(int index) {
  if (index < 0 || index >= kQualityCount) return;
  quality_ = index;
  job_.SetQuality(static_cast<BurnQuality>(index));
  job_.ComputeRequiredTime();
}

bool BurnSession::Draw() {
  if (state_ != State::Waiting) return false;
  const int index = driveInUse_;
  const DriveOpenResult opened = device_.OpenDrive(index, DriveAccess::Exclusive);
  if (opened.error != DriveOpenError::None) {
    DriveOpening refused;
    refused.error = opened.error;
    refused.systemError = opened.systemError;
    refused.index = index;
    refused.letter = device_.DriveLetter(index);
    refused.device = device_.DriveDevice(index);
    messages_.Show(refused.FailureText(), MessageIcon::Error);
    ShareDrive();
    return false;
  }
  if (!job_.CheckDiscForBurn() || !job_.StartBurn()) {
    ShareDrive();
    return false;
  }
  state_ = State::Burning;
  drawEnabled_ = false;
  return true;
}

void BurnSession::ShareDrive() {
  if (driveInUse_ >= 0) device_.OpenDrive(driveInUse_);
}

bool BurnSession::Exit() {
  if (state_ == State::Burning) {
    job_.RequestAbort();
    return false;
  }
  state_ = State::Closed;
  discText_.clear();
  return true;
}

void BurnSession::BurnEnded() {
  job_.Wait();
  ShareDrive();
  drawEnabled_ = true;
  discText_.clear();
  state_ = State::Closed;
}

}  // namespace twr
