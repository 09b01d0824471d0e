// The burn dialog: the drive in use, the disc's name, the quality with its
// required time, the Draw and Exit buttons, the text progress bar and the
// status line under it (the burn's phase, or why Draw is off). A view
// over the BurnSession: it paints what the session holds whenever the session
// says it changed, runs the session's drive work without freezing, and turns
// the burn's coalesced progress into paint on the GUI thread. During a burn
// Exit, Escape and the close box ask before they stop it. It closes itself
// at the end of a burn, except between two discs of a series ("Discs:"
// above 1): then the outcome has been shown, the disc is out, and Next and
// Stop stand in place of Exit until the next disc is burning or the series
// is stopped. Calibrate... burns the calibration wedge instead of the label
// and then asks which of its steps show (WedgeAnswerDialog).
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include "ui/SkinnedDialog.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace twr::ui {

class BurnSession;
class DiscNameField;
class EtchedPreviewModel;
class SkinnedButton;
class SkinnedTextButton;
class TextProgressBar;

class CELDraw : public SkinnedDialog {
  Q_OBJECT

 public:
  // Control ids of the dialog template, used as object names for tests and
  // for screen readers' logs.
  enum ControlId {
    kIdDraw = 1,
    kIdExit = 2,
    kIdDrive = 1008,
    kIdQuality = 1019,
    kIdTimeLabel = 1058,
    kIdTime = 1020,
    kIdProgress = 1027,
    kIdDiscName = 1060,
    kIdStatus = 1061,
    kIdDiscs = 1062,
    kIdNext = 1063,
    kIdStop = 1064,
    kIdCalibrate = 1065,
  };

  explicit CELDraw(BurnSession& session, QWidget* parent = nullptr);
  ~CELDraw() override;

  // The timer period in milliseconds (1000; tests shorten it). The session
  // still counts each period as one second.
  void SetTimerPeriod(int milliseconds);
  // Calibrate... runs by itself once the opening is done (the main
  // window's File > Calibrate...).
  void CalibrateAtOpening() { calibrateAtOpening_ = true; }
  // Shortest time between two progress repaints driven by the burn.
  void SetProgressInterval(int milliseconds) { progressInterval_ = milliseconds; }

  // The opening has run (the session's drive work is done).
  bool Opened() const { return opened_; }
  // Progress updates applied on the GUI thread during the last burn.
  int ProgressUpdates() const { return progressUpdates_; }

  SkinnedButton* DrawButton() const { return draw_; }
  SkinnedButton* ExitButton() const { return exit_; }
  QComboBox* DriveList() const { return drives_; }
  QComboBox* QualityList() const { return quality_; }
  // The disc as the chosen quality would etch it, small, beside the list.
  QLabel* EtchedPicture() const { return etchedPicture_; }
  EtchedPreviewModel& EtchedPreview() const { return *etched_; }
  QLabel* TimeLabel() const { return time_; }
  TextProgressBar* ProgressBar() const { return progress_; }
  DiscNameField* DiscName() const { return discName_; }
  QLabel* StatusLine() const { return status_; }
  // The "Discs:" count of a series, and the choice between two discs.
  QSpinBox* DiscCount() const { return discs_; }
  SkinnedTextButton* NextButton() const { return next_; }
  SkinnedTextButton* StopButton() const { return stop_; }
  SkinnedTextButton* CalibrateButton() const { return calibrate_; }
  // The stop question is open.
  bool Asking() const { return asking_; }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Opening();
  void OnTimer();
  void OnQualityChosen(int index);
  void OnDraw();
  void OnNext();
  void OnCalibrate();
  // After the wedge: the question which steps show, the answer kept.
  void AskWedgeAnswer();
  // A burn has started: progress from its first snapshot, the etch of its label.
  void BurnStarted();
  void ApplyProgress();
  void BurnFinished();
  // The stop question, still open when the burn has reached its closing
  // steps, is answered No: there is nothing left to stop.
  void CloseQuestionAfterTheEnd();
  // Writes what the session holds into the controls.
  void ShowMemberTexts();

  BurnSession& session_;
  SkinnedButton* draw_ = nullptr;
  SkinnedButton* exit_ = nullptr;
  QComboBox* drives_ = nullptr;
  QComboBox* quality_ = nullptr;
  QLabel* etchedPicture_ = nullptr;
  EtchedPreviewModel* etched_ = nullptr;
  void RequestEtch();
  QLabel* timeLabel_ = nullptr;
  QLabel* time_ = nullptr;
  TextProgressBar* progress_ = nullptr;
  DiscNameField* discName_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* discsLabel_ = nullptr;
  QSpinBox* discs_ = nullptr;
  SkinnedTextButton* next_ = nullptr;
  SkinnedTextButton* stop_ = nullptr;
  SkinnedTextButton* calibrate_ = nullptr;
  bool calibrateAtOpening_ = false;
  QTimer timer_;
  QElapsedTimer sinceProgress_;
  int progressInterval_ = 40;
  bool progressScheduled_ = false;
  bool opened_ = false;
  bool openingPosted_ = false;
  bool finishing_ = false;
  bool asking_ = false;
  bool finishPending_ = false;  // the burn ended while the question was open
  int progressUpdates_ = 0;
};

// Field 1060: the disc's name on a light panel, in Arial two pixels smaller
// than the field.
class DiscNameField : public QWidget {
  Q_OBJECT

 public:
  explicit DiscNameField(QWidget* parent = nullptr);
  void SetText(const QString& text);
  const QString& Text() const { return text_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
};

}  // namespace twr::ui
