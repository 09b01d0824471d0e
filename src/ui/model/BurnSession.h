// The burn dialog without its window: the drive in use, the disc's name and
// verdict (checked again every five seconds), the quality with its required
// time, the Draw and Exit rules and the burn's progress. The dialog paints
// what this holds, forwards its clicks and repaints when the session says
// it changed; the tests drive it directly. The burn itself is the burn
// sequence's. One session lives for the whole program; the main window sets
// the drive, the document and the label before each run of the dialog. Drive
// work goes through a runner the window supplies (tests run it in place).
// A series of discs ("Discs:" above 1) runs the same sequence once per
// disc (the burn layer's BurnSeries): after each burn the outcome has been
// shown and the disc is out, and the session waits (NextDisc) until Next
// burns the next disc with its own label or Stop ends the series. A disc
// with gaps, or one whose burn failed, stops the series with a notice that
// says after which disc and why; Next still offers the next disc ("anyway").
#pragma once

#include <QImage>
#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "burn/BurnProgress.h"
#include "burn/BurnSequence.h"
#include "burn/BurnSeries.h"
#include "burn/Calibration.h"
#include "label/LabelDocument.h"

namespace twr {
class CELDevice;
class Messages;
class UnmountService;
}  // namespace twr

namespace twr::ui {

class BurnSession : public QObject {
  Q_OBJECT

 public:
  enum class State { Waiting, Burning, NextDisc, Closed };
  // Runs a piece of drive work and returns when it is done.
  using DriveRunner = std::function<void(const std::function<void()>&)>;

  // The disc check runs every this many milliseconds of the dialog's timer;
  // the first one a timer period after opening.
  static constexpr int kDiscCheckPeriodMs = 5000;
  static constexpr int kFirstCheckCounterMs = 4000;
  static constexpr int kTimerPeriodMs = 1000;
  // The progress bar's range while no burn runs.
  static constexpr int kIdleProgressRange = 500;
  // The most discs one series of the dialog burns.
  static constexpr int kMaxDiscs = 99;
  // The label of disc `number` of `count` ({n} and {N} filled in), made on
  // the caller's thread before that disc's burn.
  using LabelMaker = std::function<QImage(int number, int count)>;

  BurnSession(CELDevice& device, Messages& messages);

  void SetDriveRunner(DriveRunner runner) { runDrive_ = std::move(runner); }

  // ---- Set by the main window before each run ---------------------------
  void SetDriveIndex(int index) { driveIndex_ = index; }
  int DriveIndex() const { return driveIndex_; }
  void SetBand(double innerRadius, double outerRadius) { band_ = {innerRadius, outerRadius}; }
  double InnerRadius() const { return band_.inner; }
  double OuterRadius() const { return band_.outer; }
  // The side the band goes on (a data side in Rimtone mode).
  void SetDisc(const BurnDisc& disc) { disc_ = disc; }
  // The label to burn: its burning area (the manual radii, or automatic:
  // each disc burns the narrowest band that holds its label's marks at the
  // chosen quality, the radii shown until the page is read; a label with
  // nothing that marks is refused), its Rimtone mode and its quality, at
  // which the dialog opens. The image comes with SetLabelImage.
  void SetDocument(const LabelDocument& document);
  // The label the burn samples: a shared copy, handed to the burn at Draw.
  void SetLabelImage(QImage image) { label_ = std::move(image); }
  const QImage& LabelImage() const { return label_; }
  const BurnDisc& Disc() const { return disc_; }
  // Without a maker every disc of a series gets the label image set.
  void SetLabelMaker(LabelMaker maker) { labelMaker_ = std::move(maker); }
  // The desktop's disk service: when Draw finds the drive's disc mounted,
  // the user is asked whether to unmount it (nullptr: a service that is not
  // running, so the refusal says how to unmount it by hand).
  void SetUnmountService(UnmountService* service);
  // Minutes for the band at `quality` on the drive in use (0 when the drive
  // gives no usable ELS page); the main window shows it while the dialog is
  // not open. Runs in place (the main window runs it as its drive work).
  double EstimateRequiredTime(double innerRadius, double outerRadius, BurnQuality quality);

  // ---- The dialog's run ----------------------------------------------------
  // The opening: the Rimtone picture choice, the drive list with the drive
  // handed over selected and opened, the speed entry and quality steps, the
  // quality set (SetQuality) with its required time, the idle progress bar, the first disc check.
  void Open();
  // One period of the dialog's timer; every fifth runs the disc check.
  // Returns true when a disc check ran. Ignored during a burn.
  bool Tick();
  // A choice in the quality list (0 Draft, 1 Normal, 2 High Quality).
  void SelectQuality(int index);
  // Draw: the drive taken for this program alone (a drive that is mounted
  // or used by another program is refused with a message that says so),
  // the disc check, then the burn's start. True when the burn runs; until
  // its end the drive stays exclusively this program's.
  bool Draw();
  // Exit, the close box or Escape: true when the dialog may close now; during
  // a burn only the stop is requested and false is returned (a stop signal
  // comes here without a question).
  bool Exit();
  // During a burn, Exit, Escape, the close box and Ctrl+Q ask first: "Stop
  // the burn? The disc keeps what is etched so far." (No by default). True
  // for Yes; the burn goes on untouched meanwhile.
  bool ConfirmStop();
  // Exit has asked the running burn (or the last one) to stop.
  bool StopRequested() const { return stopRequested_; }
  // The burn has reported its end (after its closing steps): the threads are
  // joined, Draw and the quality list come back and the disc text is
  // cleared. A disc of a series that finished cleanly with more to come
  // leaves the session waiting for the next disc (NextDisc); so does a
  // disc with gaps or a failed write (the series stopped, Next goes on
  // anyway). A series that stopped for good (the drive gone) waits with
  // its notice (Waiting); otherwise the session is closed.
  void BurnEnded();

  // ---- A series of discs ------------------------------------------------------
  // The "Discs:" count, held between 1 and kMaxDiscs; Draw starts a series
  // of that many. Ignored while a series runs.
  void SetDiscCount(int count);
  int DiscCount() const { return discCount_; }
  // The disc burning, or burnt last (from 1), and the discs etched to their
  // end (with gaps or not).
  int DiscNumber() const { return discNumber_; }
  int DiscsBurnt() const { return series_.Burnt(); }
  bool DiscCountEnabled() const { return state_ == State::Waiting; }
  // Next: the next disc facing the laser and answering, its label made, the
  // drive taken, the disc check and the burn. True when the burn runs; a
  // refusal (said in a message) keeps the session waiting for a disc.
  bool Next();

  // ---- Calibrate: the wedge in place of the label ---------------------------
  // The settings file a calibration is kept in (the main window's).
  void SetSettingsPath(std::string path) { settingsPath_ = std::move(path); }
  // Calibrate...: asks first (a test band at the rim of the disc now in the
  // drive, under a minute), then burns the wedge as Draw burns a label:
  // its steps from the drive's page at Draft, in its band at the rim of a
  // label side at Draft, one disc. True when the burn runs; once it has
  // ended, the label, band and quality are the dialog's again.
  bool DrawWedge();
  // The burn running is the wedge.
  bool WedgeBurn() const { return wedgeBurn_; }
  // The wedge ended etched whole: its answer is wanted (AnswerWedge).
  bool WedgeToAnswer() const { return wedgeToAnswer_; }
  // The steps of the wedge burnt last, and its picture (the label it burnt).
  const std::vector<WedgeStep>& Wedge() const { return wedge_; }
  QImage WedgePicture() const;
  // The user's answer about the wedge (the first visibly marked step, the
  // first fully dark one) kept for the drive model and a label side in the
  // settings file: "" when kept, else why not in one sentence (nothing is
  // kept then and the question may be answered again).
  std::string AnswerWedge(int firstMark, int firstDark);
  // The key the last answer was kept under and its value ("" before).
  const std::string& KeptCalibration() const { return keptText_; }
  // What the etched thumbnail draws through at `quality` with `page`: the
  // response of a calibration the settings file keeps for the model of the
  // drive handed over and the disc side (straight without one).
  DyeResponse EtchResponse(const ElsPage& page, BurnQuality quality) const;

  // ---- Drives that come and go ---------------------------------------------
  // The count of drive changes seen so far (the main window's DriveWatch);
  // a tick that finds it moved builds the drive list again.
  void SetDriveChanges(std::function<std::uint64_t()> changes) {
    driveChanges_ = std::move(changes);
  }
  // The drive list built again (drive work): the drive in use stays in use
  // while it is still listed; a drive that has gone leaves Draw disabled and
  // says so. Not during a burn: a drive pulled out then ends the burn with
  // "the drive stopped answering". True when the list changed.
  bool RefreshDrives();

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

  // The live status line under the bar: during a burn the phase of a
  // progress snapshot in the words `twr` prints (BurnPhaseText), otherwise
  // the session's notice ("" for none).
  std::string StatusText(const BurnProgressState& state) const;
  const std::string& Notice() const { return notice_; }
  // The time of a series of more than one disc ("5 discs: about 21 min"),
  // shown while nothing else is said; "" for one disc or without a time.
  std::string SeriesTimeText() const;

  // The burn's progress; ProgressChanged says when to take it.
  BurnProgress& Progress() { return progress_; }
  BurnSequence& Sequence() { return sequence_; }

 signals:
  // What the dialog shows changed (texts, picture, enabled controls, state).
  void Changed();
  // The burn's progress changed; emitted on the burn's thread, once until
  // the snapshot is taken (Progress().Take()).
  void ProgressChanged();

 private:
  void RunDrive(const std::function<void()>& work) { runDrive_(work); }
  // The band, side and quality of a burn now: with the automatic area the
  // band that holds the label's marks at the quality (from the page read
  // last), or the band set when nothing marks (`blank` then says so).
  BurnTarget Target(bool* blank = nullptr) const;
  // The target of a burn now; false, after saying so, when the automatic
  // area holds nothing that marks.
  bool BurnTargetOrRefuse(BurnTarget& target);
  // The disc named and Draw enabled exactly when it passes; drive work.
  void CheckDisc();
  // The steps of Draw; drive work.
  bool DrawSteps();
  // The idle progress bar of a burn not yet started.
  void ResetProgress();
  // The series' notice after disc `discNumber_`.
  void SeriesNotice();
  // The label of each disc after the first, made on the caller's thread
  // before the disc's steps run as drive work.
  class DiscLabels : public SeriesHooks {
   public:
    explicit DiscLabels(BurnSession& session) : session_(session) {}
    bool MakeLabel(int number, int count, const BurnDisc& disc, BurnTarget& target,
                   QImage& label) override;

   private:
    BurnSession& session_;
  };

  CELDevice& device_;
  Messages& messages_;
  DriveRunner runDrive_ = [](const std::function<void()>& work) { work(); };
  BurnSequence sequence_;
  BurnProgress progress_;
  BurnBand band_;
  BurnDisc disc_;
  QImage label_;
  BurnPlan plan_;
  State state_ = State::Closed;
  int driveIndex_ = 0;
  bool rimtone_ = false;
  bool automaticArea_ = false;
  std::vector<std::string> driveItems_;
  int selectedDrive_ = -1;
  int driveInUse_ = -1;  // index of the drive the session opened
  int quality_ = 0;
  BurnQuality openingQuality_ = BurnQuality::Draft;
  bool shownPicture_ = false;
  bool drawEnabled_ = false;
  std::string discText_;
  std::string labelText_;
  int timerCounter_ = 0;
  std::function<std::uint64_t()> driveChanges_;
  std::uint64_t driveChangesSeen_ = 0;
  std::string notice_;
  std::string settingsPath_;
  bool wedgeBurn_ = false;      // the burn is the wedge's
  bool wedgeToAnswer_ = false;  // the wedge is etched; no answer kept yet
  std::vector<WedgeStep> wedge_;
  // The model of the drive handed over (read at the opening) and the one
  // the wedge was burnt on.
  std::string driveVendor_, driveProduct_;
  QImage labelBeforeWedge_;
  std::string keptText_;
  std::string wantedDrive_;  // the drive item handed over at Open
  bool stopRequested_ = false;
  LabelMaker labelMaker_;
  int discCount_ = 1;  // the "Discs:" count
  int discNumber_ = 1;
  DiscLabels discLabels_{*this};
  BurnSeries series_{sequence_, discLabels_};
};

}  // namespace twr::ui
