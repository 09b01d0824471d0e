// The burn dialog without its window: the drive in use, the disc's name and
// verdict (checked again every five seconds), the quality with its required
// time, the Draw and Exit rules and the burn's progress. The dialog paints
// what this holds and forwards its clicks; `twr` and the tests drive it
// directly. One session lives for the whole program; the main window sets
// the drive, the band and the label before each run of the dialog.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <QImage>

#include "burn/BurnPlan.h"
#include "burn/BurnProgress.h"
#include "burn/BurnSequence.h"

namespace twr {

class CELDevice;
class Messages;

class BurnSession {
 public:
  enum class State { Waiting, Burning, Closed };

  // The disc check runs every this many milliseconds of the dialog's timer;
  // the first one a timer period after opening.
  static constexpr int kDiscCheckPeriodMs = 5000;
  static constexpr int kFirstCheckCounterMs = 4000;
  static constexpr int kTimerPeriodMs = 1000;
  // The progress bar's range while no burn runs.
  static constexpr int kIdleProgressRange = 500;

  BurnSession(CELDevice& device, Messages& messages);
  BurnSession(const BurnSession&) = delete;
  BurnSession& operator=(const BurnSession&) = delete;

  // ---- Set by the main window before each run ---------------------------
  void SetDriveIndex(int index) { driveIndex_ = index; }
  int DriveIndex() const { return driveIndex_; }
  void SetBand(double innerRadius, double outerRadius) { band_ = {innerRadius, outerRadius}; }
  double InnerRadius() const { return band_.inner; }
  double OuterRadius() const { return band_.outer; }
  // The side the band goes on (a data side in Rimtone mode).
  void SetDisc(const BurnDisc& disc) { disc_ = disc; }
  // The Rimtone mode confirmed in the configuration dialog.
  void SetRimtone(bool on) { rimtone_ = on; }
  // The label the burn samples: a shared copy, handed to the burn at Draw.
  void SetLabelImage(QImage image) { label_ = std::move(image); }
  // Minutes for the band at Draft on the drive in use (0 when the drive
  // gives no usable ELS page); the main window shows it while the dialog is
  // not open.
  double EstimateRequiredTime(double innerRadius, double outerRadius);

  // ---- The dialog's run ----------------------------------------------------
  // The opening: the Rimtone picture choice, the drive list with the drive
  // handed over selected and opened, the speed entry and quality steps, the
  // required time at Draft, the idle progress bar, the first disc check.
  void Open();
  // One period of the dialog's timer; every fifth runs ShowDiscState.
  // Returns true when a disc check ran. Ignored during a burn.
  bool Tick();
  // The two halves of Tick, for a window that runs the drive work apart:
  // the timer counter (true when a disc check is due), and the check that
  // enables Draw exactly when the disc passes.
  bool AdvanceTimer();
  void CheckDisc();
  // Names the disc in the drive; true when a burn may start on it. Switches
  // the picture between label side and data side when the disc asks for it.
  bool ShowDiscState();
  // A choice in the quality list (0 Draft, 1 Normal, 2 High Quality).
  void SelectQuality(int index);
  // Draw: the drive taken for this program alone (a drive that is mounted
  // or used by another program is refused with a message that says so),
  // the disc check, then the burn's start. True when the burn runs; until
  // its end the drive stays exclusively this program's.
  bool Draw();
  // Exit, the close box or Escape: true when the dialog may close now; during
  // a burn only the stop is requested and false is returned.
  bool Exit();
  // The burn has reported its end (after its closing steps): the threads are
  // joined, Draw and the quality list come back, the disc text is cleared
  // and the session is closed.
  void BurnEnded();

  // ---- What the dialog shows -------------------------------------------------
  State CurrentState() const { return state_; }
  const std::vector<std::string>& DriveItems() const { return driveItems_; }
  int SelectedDrive() const { return selectedDrive_; }
  int Quality() const { return quality_; }
  // The data-side picture is shown (1 = picture 161, 0 = picture 156).
  bool DataSidePicture() const { return shownPicture_; }
  const std::string& DiscText() const { return discText_; }
  const std::string& LabelText() const { return labelText_; }
  const std::string& TimeText() const { return plan_.timeText; }
  // The plan of the band at the chosen quality, as the dialog shows it.
  const BurnPlan& Plan() const { return plan_; }
  bool DrawEnabled() const { return drawEnabled_; }
  bool QualityEnabled() const { return state_ != State::Burning; }
  int TimerCounter() const { return timerCounter_; }

  BurnProgress& Progress() { return progress_; }
  BurnSequence& Sequence() { return sequence_; }

 private:
  BurnTarget Target() const;

  CELDevice& device_;
  Messages& messages_;
  BurnSequence sequence_;
  BurnProgress progress_;
  BurnBand band_;
  BurnDisc disc_;
  QImage label_;
  BurnPlan plan_;
  State state_ = State::Closed;
  int driveIndex_ = 0;
  bool rimtone_ = false;
  std::vector<std::string> driveItems_;
  int selectedDrive_ = -1;
  int driveInUse_ = -1;  // index of the drive the session opened
  int quality_ = 0;
  bool shownPicture_ = false;
  bool drawEnabled_ = false;
  std::string discText_;
  std::string labelText_;
  int timerCounter_ = 0;
};

}  // namespace twr
