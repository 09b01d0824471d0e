// The burn dialog's rules: opening, the disc check, quality, Draw and Exit.
#include "ui/model/BurnSession.h"

#include <algorithm>
#include <cmath>

#include "burn/BurnOutcome.h"
#include "burn/MarkedBand.h"
#include "common/Messages.h"
#include "common/ProfileFile.h"
#include "common/Strings.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DriveSetup.h"
#include "label/BurningArea.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::ui {

void BurnSession::SetDocument(const LabelDocument& document) {
  band_ = {document.innerRadius, document.outerRadius};
  rimtone_ = document.rimtone;
  automaticArea_ = document.automaticArea;
  openingQuality_ = BurnQualityOf(document.quality);
}

BurnSession::BurnSession(CELDevice& device, Messages& messages)
    : device_(device), messages_(messages), sequence_(device, messages) {
  sequence_.SetEvents(&progress_);
  SetUnmountService(nullptr);
  progress_.SetNotifier([this] { emit ProgressChanged(); });
}

BurnTarget BurnSession::Target(bool* blank) const {
  if (wedgeBurn_) {
    if (blank != nullptr) *blank = false;
    return WedgeTarget();
  }
  BurnTarget target{band_, disc_, static_cast<BurnQuality>(quality_)};
  if (blank != nullptr) *blank = false;
  if (!automaticArea_ || label_.isNull()) return target;
  const AutomaticArea area = PlanAutomaticArea(sequence_.Page(), label_, target);
  if (area.marks.marks) target.band = area.band;
  if (blank != nullptr) *blank = !area.marks.marks;
  return target;
}

bool BurnSession::BurnTargetOrRefuse(BurnTarget& target) {
  bool blank = false;
  target = Target(&blank);
  if (blank) messages_.Show(NothingMarksText(target.quality), MessageIcon::Error);
  return !blank;
}

std::string BurnSession::SeriesTimeText() const {
  if (discCount_ < 2 || !plan_.HasTime()) return {};
  const double minutes = std::ceil(plan_.requiredTime * discCount_);
  return tr("%1 discs: about %2 min")
      .arg(discCount_)
      .arg(static_cast<long long>(minutes))
      .toStdString();
}

double BurnSession::EstimateRequiredTime(double innerRadius, double outerRadius,
                                         BurnQuality quality) {
  return sequence_.Estimate({{innerRadius, outerRadius}, {}, quality}).requiredTime;
}

void BurnSession::ResetProgress() {
  progress_.Reset();
  progress_.SetShowText(false);
  progress_.SetPos(0);
  progress_.SetStep(1);
  progress_.SetRange(0, kIdleProgressRange);
}

void BurnSession::Open() {
  shownPicture_ = rimtone_;
  quality_ = std::clamp(static_cast<int>(openingQuality_), 0, kQualityCount - 1);
  labelText_ = StringText(kStrRequiredTime);
  ResetProgress();
  notice_.clear();
  if (driveChanges_) driveChangesSeen_ = driveChanges_();
  RunDrive([this] {
    const int count = device_.EnumerateDrives();
    driveItems_.clear();
    for (int i = 0; i < count; ++i) driveItems_.push_back(device_.GetDriveItem(i));
    selectedDrive_ = driveIndex_ >= 0 && driveIndex_ < count ? driveIndex_ : -1;
    device_.SelectDrive(selectedDrive_ >= 0 ? driveItems_[selectedDrive_] : std::string(),
                        driveIndex_);
    driveInUse_ = device_.OpenIndex();
    wantedDrive_ = selectedDrive_ >= 0 ? driveItems_[selectedDrive_] : std::string();
    driveVendor_.clear();
    driveProduct_.clear();
    if (driveInUse_ >= 0) {
      std::string revision;
      device_.ReadInquiryStrings(driveVendor_, driveProduct_, revision);
    }
    device_.TestUnitReadyTries();
    plan_ = sequence_.Plan(Target());
    state_ = State::Waiting;
    CheckDisc();
  });
  timerCounter_ = kFirstCheckCounterMs;
  emit Changed();
}

bool BurnSession::Tick() {
  if (state_ != State::Waiting && state_ != State::NextDisc) return false;
  // Drives plugged in or pulled out are seen within a period.
  if (driveChanges_ && driveChanges_() != driveChangesSeen_) {
    RefreshDrives();
    emit Changed();
  }
  timerCounter_ += kTimerPeriodMs;
  if (timerCounter_ < kDiscCheckPeriodMs) return false;
  timerCounter_ = 0;
  RunDrive([this] { CheckDisc(); });
  emit Changed();
  return true;
}

bool BurnSession::RefreshDrives() {
  if (state_ == State::Burning) return false;
  if (driveChanges_) driveChangesSeen_ = driveChanges_();
  // The drive handed over, also while it is gone: it is taken again when
  // it comes back.
  const std::string inUse = wantedDrive_;
  std::vector<std::string> items;
  int found = -1;
  RunDrive([&] {
    const int count = device_.EnumerateDrives();
    for (int i = 0; i < count; ++i) {
      items.push_back(device_.GetDriveItem(i));
      if (found < 0 && !inUse.empty() && items.back() == inUse) found = i;
    }
    if (found >= 0) {
      device_.SelectDrive(items[static_cast<std::size_t>(found)], found);
      driveInUse_ = device_.OpenIndex();
      CheckDisc();
    } else {
      device_.CloseDrive();
      driveInUse_ = -1;
    }
  });
  const bool changed = items != driveItems_;
  driveItems_ = std::move(items);
  selectedDrive_ = found;
  if (found >= 0) {
    driveIndex_ = found;
    notice_.clear();
  } else {
    // The drive handed over is gone: nothing to burn on until it is back.
    drawEnabled_ = false;
    discText_.clear();
    notice_ = (inUse.empty() ? tr("The drive is no longer there.")
                             : tr("%1 is no longer there.").arg(QString::fromStdString(inUse)))
                  .toStdString();
  }
  return changed;
}

void BurnSession::CheckDisc() {
  const DiscIdentity disc = IdentifyDisc(device_);
  discText_ = disc.name.Shown();
  // A DVD±R, whatever its status, faces the laser with its data side.
  shownPicture_ = RimtoneAllowed(disc.kind);
  drawEnabled_ = disc.name.verdict != 0;
}

void BurnSession::SelectQuality(int index) {
  if (index < 0 || index >= kQualityCount) return;
  quality_ = index;
  plan_ = sequence_.PlanFromPage(Target());
  // A page that cannot be used says so again, as each choice asks for a time.
  if (const PlanFailure* failure = plan_.PageFailure())
    messages_.ShowDetailed(PlanFailureText(*failure), PlanFailureDetail(*failure),
                           MessageIcon::Error);
  emit Changed();
}

void BurnSession::SetUnmountService(UnmountService* service) {
  BurnUnmount unmount;
  unmount.permission = UnmountPermission::Ask;
  unmount.service = service;
  unmount.messages = &messages_;
  sequence_.SetUnmount(unmount);
}

bool BurnSession::Draw() {
  if (state_ != State::Waiting) return false;
  series_.Begin(discCount_);
  discNumber_ = 1;
  notice_.clear();
  if (labelMaker_) label_ = labelMaker_(discNumber_, series_.Count());
  bool started = false;
  RunDrive([&] { started = DrawSteps(); });
  emit Changed();
  return started;
}

bool BurnSession::DrawSteps() {
  // Opened to calibrate, the dialog holds no label: Draw has nothing to burn.
  if (label_.isNull()) {
    messages_.Show(tr("There is no label to burn: close this dialog and press Burn in the "
                      "window.")
                       .toStdString(),
                   MessageIcon::Error);
    return false;
  }
  const DriveOpening taken = sequence_.TakeDrive(driveInUse_);
  if (!taken.Ok()) {
    messages_.Show(taken.FailureText(), MessageIcon::Error);
    sequence_.ShareDrive();
    return false;
  }
  BurnTarget target;
  if (!BurnTargetOrRefuse(target)) {
    sequence_.ShareDrive();
    return false;
  }
  if (sequence_.Draw(target, label_) != StartResult::Started) {
    sequence_.ShareDrive();
    return false;
  }
  plan_ = sequence_.CurrentPlan();
  stopRequested_ = false;
  state_ = State::Burning;
  drawEnabled_ = false;
  return true;
}

bool BurnSession::DrawWedge() {
  if (state_ != State::Waiting) return false;
  if (!messages_.AskYesNo(tr("Calibrate burns a test band at the rim of the disc now in the drive: "
                             "12 numbered grey steps, at Draft, in under a minute. Afterwards you "
                             "say which steps show. Burn the test band now?")
                              .toStdString(),
                          MessageIcon::Warning))
    return false;
  series_.Begin(1);
  discNumber_ = 1;
  notice_.clear();
  wedgeToAnswer_ = false;
  bool started = false;
  RunDrive([&] {
    // The steps from the drive's own page, so that each step leaves the
    // share of dots it stands for.
    EtchTone tone = EtchToneOf(sequence_.Page(), BurnQuality::Draft);
    if (!tone.known) tone = EtchToneOf(ExampleEtchPage(), BurnQuality::Draft);
    wedge_ = twr::WedgeSteps(tone);
    std::string revision;
    device_.ReadInquiryStrings(driveVendor_, driveProduct_, revision);
    labelBeforeWedge_ = label_;
    label_ = WedgePicture();
    wedgeBurn_ = true;
    started = DrawSteps();
    if (!started) {
      wedgeBurn_ = false;
      label_ = std::move(labelBeforeWedge_);
      labelBeforeWedge_ = QImage();
    }
  });
  emit Changed();
  return started;
}

DyeResponse BurnSession::EtchResponse(const ElsPage& page, BurnQuality quality) const {
  return DriveEtchFor(page, quality, ProfileFile::Load(settingsPath_), driveVendor_, driveProduct_,
                      Disc())
      .response;
}

QImage BurnSession::WedgePicture() const {
  // As many pixels across as a layout's label (BaseLength 1655).
  constexpr int kWedgeLabelSide = 1655;
  return WedgeLabel(wedge_, kWedgeLabelSide);
}

std::string BurnSession::AnswerWedge(int firstMark, int firstDark) {
  if (!wedgeToAnswer_) return tr("no wedge waits for an answer; burn one first").toStdString();
  if (std::string why = CheckWedgeAnswer(firstMark, firstDark); !why.empty()) return why;
  const std::optional<CalibrationProfile> profile = ProfileFromAnswer(wedge_, firstMark, firstDark);
  if (!profile) return tr("the answer does not fit the wedge's steps").toStdString();
  const std::string key = CalibrationKey(driveVendor_, driveProduct_, "label");
  const FileWriteResult kept = KeepCalibration(settingsPath_, key, *profile);
  if (!kept.ok)
    return tr("the calibration cannot be kept in %1: %2")
        .arg(QString::fromStdString(settingsPath_), QString::fromStdString(kept.problem))
        .toStdString();
  wedgeToAnswer_ = false;
  keptText_ = key + "=" + CalibrationValue(*profile);
  return {};
}

bool BurnSession::ConfirmStop() {
  if (state_ != State::Burning) return true;
  return messages_.AskYesNo(
      tr("Stop the burn? The disc keeps what is etched so far.").toStdString(),
      MessageIcon::Warning);
}

std::string BurnSession::StatusText(const BurnProgressState& state) const {
  // The preparation before the threads start has a phase too.
  if (std::string phase = BurnPhaseText(state.phase, state.phaseDetail); !phase.empty())
    return phase;
  if (state_ == State::Burning) return {};
  if (notice_.empty() && state_ == State::Waiting) return SeriesTimeText();
  return notice_;
}

bool BurnSession::Exit() {
  if (state_ == State::Burning) {
    stopRequested_ = true;
    sequence_.RequestStop();
    return false;
  }
  // Stop between two discs: the series ends with the discs burnt so far.
  if (state_ == State::NextDisc) SeriesNotice();
  state_ = State::Closed;
  discText_.clear();
  emit Changed();
  return true;
}

void BurnSession::BurnEnded() {
  sequence_.Wait();
  sequence_.ShareDrive();
  if (wedgeBurn_) {
    // Only a wedge etched whole is worth an answer; the label is back.
    wedgeToAnswer_ = sequence_.Ending().Succeeded();
    wedgeBurn_ = false;
    label_ = std::move(labelBeforeWedge_);
    labelBeforeWedge_ = QImage();
  }
  const SeriesNext next = series_.DiscEnded(sequence_.Ending());
  drawEnabled_ = true;
  discText_.clear();
  if (next == SeriesNext::NextDisc && !stopRequested_) {
    state_ = State::NextDisc;
    notice_ = tr("Disc %1 of %2 is burnt. Insert disc %3 of %2 and press Next.")
                  .arg(discNumber_)
                  .arg(series_.Count())
                  .arg(discNumber_ + 1)
                  .toStdString();
  } else if (next == SeriesNext::Halted && !stopRequested_ && series_.Count() > 1) {
    // The series stopped after this disc: why and what to do are said in
    // a message, the status line keeps the short of it, and the user decides.
    if (series_.MayGoOn()) {
      state_ = State::NextDisc;
      messages_.ShowDetailed(
          series_.HaltText(),
          tr("Look at disc %1. To go on anyway, insert disc %2 of %3 and press Next; Stop ends "
             "the series.")
              .arg(discNumber_)
              .arg(discNumber_ + 1)
              .arg(series_.Count())
              .toStdString(),
          MessageIcon::Warning);
      notice_ = tr("Series stopped after disc %1 of %2; Next burns disc %3 anyway.")
                    .arg(discNumber_)
                    .arg(series_.Count())
                    .arg(discNumber_ + 1)
                    .toStdString();
    } else {
      state_ = State::Waiting;
      messages_.ShowDetailed(series_.HaltText(), series_.SummaryText(), MessageIcon::Error);
      notice_ = tr("Series stopped after disc %1 of %2; %3")
                    .arg(discNumber_)
                    .arg(series_.Count())
                    .arg(QString::fromStdString(series_.SummaryText()))
                    .toStdString();
    }
  } else {
    if (series_.Count() > 1) SeriesNotice();
    state_ = State::Closed;
  }
  emit Changed();
}

void BurnSession::SeriesNotice() {
  notice_ = series_.SummaryText();
}

void BurnSession::SetDiscCount(int count) {
  if (state_ == State::Burning || state_ == State::NextDisc) return;
  discCount_ = std::clamp(count, 1, kMaxDiscs);
  emit Changed();
}

bool BurnSession::DiscLabels::MakeLabel(int /*number*/, int /*count*/, const BurnDisc& disc,
                                        BurnTarget& target, QImage& label) {
  // Each data side has its own recorded end: the disc check looks at it.
  if (session_.rimtone_) session_.disc_ = disc;
  session_.CheckDisc();
  label = session_.label_;
  return session_.BurnTargetOrRefuse(target);
}

bool BurnSession::Next() {
  if (state_ != State::NextDisc) return false;
  // After a stop the user goes on anyway: the disc after the one that stopped it.
  if (series_.Halted()) series_.Advance();
  const int number = series_.Number();
  if (labelMaker_) label_ = labelMaker_(number, series_.Count());
  // The last disc's end is not this one's: the dialog closes a burn at its end.
  ResetProgress();
  bool started = false;
  RunDrive([&] {
    const DriveOpening taken = sequence_.TakeDrive(driveInUse_);
    if (!taken.Ok()) {
      messages_.Show(taken.FailureText(), MessageIcon::Error);
      sequence_.ShareDrive();
      return;
    }
    if (series_.StartDisc(rimtone_) != StartResult::Started) {
      sequence_.ShareDrive();
      return;
    }
    plan_ = sequence_.CurrentPlan();
    stopRequested_ = false;
    state_ = State::Burning;
    drawEnabled_ = false;
    started = true;
  });
  if (started) {
    discNumber_ = number;
    notice_.clear();
  }
  emit Changed();
  return started;
}

}  // namespace twr::ui
