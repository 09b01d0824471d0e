// The burn dialog.
#include "ui/CELDraw.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

#include "burn/SimulatedEtch.h"
#include "common/Strings.h"
#include "ui/DriveTask.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/SkinnedMessageBox.h"
#include "ui/TextProgressBar.h"
#include "ui/WedgeAnswerDialog.h"
#include "ui/model/BurnSession.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::ui {

namespace {

// Template 129, in dialog units.
const QRect kDrawRect = DialogRect(158, 69, 46, 46);
const QRect kExitRect = DialogRect(86, 152, 68, 18);
const QRect kDriveRect = DialogRect(6, 7, 226, 14);
const QRect kQualityRect = DialogRect(15, 70, 68, 14);  // closed height, the etch beside it
const QRect kEtchedRect = DialogRect(86, 58, 39, 39);
// The label's text runs on into the free space before the time when the
// skin's type face needs a few more pixels than the template gave it.
const QRect kTimeLabelRect = DialogRect(15, 92, 58, 8);
const QRect kTimeRect = DialogRect(75, 92, 42, 8);
const QRect kProgressRect = DialogRect(6, 125, 226, 14);
// The status line, in the free space between the bar and Exit.
const QRect kStatusRect = DialogRect(6, 141, 226, 9);
const QRect kDiscNameRect = DialogRect(15, 40, 100, 10);
// The count of a series under the required time, in the same two columns.
const QRect kDiscsLabelRect = DialogRect(15, 106, 58, 8);
const QRect kDiscsRect = DialogRect(75, 104, 30, 12);
// Calibrate... at the left of Exit's row, clear of the skin's Burn panel.
const QRect kCalibrateRect = DialogRect(6, 155, 74, 12);
// Next and Stop between two discs, side by side where Exit stands.
constexpr int kChoiceGap = 8;

constexpr int kDiscFontShrink = 2;

QString Id(int id) {
  return QString::number(id);
}

}  // namespace

DiscNameField::DiscNameField(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QStringLiteral("Disc"));
}

void DiscNameField::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  setAccessibleDescription(text_);
  update();
}

void DiscNameField::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kDiscFieldFill);
  // Arial whose cell (ascent + descent) is two pixels less than the field.
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  const int cell = std::max(1, height() - kDiscFontShrink);
  int pixels = cell;
  do {
    font.setPixelSize(pixels);
  } while (pixels-- > 1 && QFontMetrics(font).height() > cell);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
}

CELDraw::CELDraw(BurnSession& session, QWidget* parent)
    : SkinnedDialog(skin::kBurnBackground, kBurnBrush, parent), session_(session) {
  setWindowTitle(QString::fromUtf8(StringText(kStrBurnTitle)));
  setObjectName(QStringLiteral("CELDraw"));

  draw_ = new SkinnedButton(QStringLiteral("IDB_BBTNDRAWU"), QStringLiteral("IDB_BBTNDRAWD"),
                            QStringLiteral("IDB_BBTNDRAWX"), tr("&Draw"), this);
  draw_->move(kDrawRect.topLeft());
  draw_->setObjectName(Id(kIdDraw));
  exit_ = new SkinnedButton(QStringLiteral("IDB_BBTNDREXITU"), QStringLiteral("IDB_BBTNDREXITD"),
                            QString(), tr("E&xit"), this);
  exit_->move(kExitRect.topLeft());
  exit_->setObjectName(Id(kIdExit));

  drives_ = new QComboBox(this);
  drives_->setGeometry(kDriveRect);
  drives_->setEnabled(false);
  drives_->setObjectName(Id(kIdDrive));
  drives_->setAccessibleName(tr("Drive"));

  quality_ = new QComboBox(this);
  quality_->setGeometry(kQualityRect);
  quality_->setObjectName(Id(kIdQuality));
  quality_->setAccessibleName(tr("Quality"));
  for (const char* name : kQualityNames)
    quality_->addItem(QCoreApplication::translate("BurnPlan", name));

  etchedPicture_ = new QLabel(this);
  // Square, as the disc is: the width the room has across, centred down it.
  const int etchedSide = std::min(kEtchedRect.width(), kEtchedRect.height());
  etchedPicture_->setGeometry(kEtchedRect.left(),
                              kEtchedRect.top() + (kEtchedRect.height() - etchedSide) / 2,
                              etchedSide, etchedSide);
  etchedPicture_->setAlignment(Qt::AlignCenter);
  etchedPicture_->setObjectName(QStringLiteral("EtchedPicture"));
  etchedPicture_->setAccessibleName(tr("As etched"));
  etchedPicture_->setToolTip(tr("What the laser leaves at this quality"));
  etched_ = new EtchedPreviewModel(this);
  connect(etched_, &EtchedPreviewModel::Ready, this, [this] {
    // The whole disc, sharp on a scaled screen too.
    const qreal dpr = devicePixelRatioF();
    QPixmap picture = QPixmap::fromImage(etched_->Picture().scaled(
        etchedPicture_->size() * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture.setDevicePixelRatio(dpr);
    etchedPicture_->setPixmap(picture);
  });

  timeLabel_ = AddStatic(kTimeLabelRect);
  timeLabel_->setObjectName(Id(kIdTimeLabel));
  time_ = AddStatic(kTimeRect);
  time_->setObjectName(Id(kIdTime));
  time_->setAccessibleName(tr("Required time"));

  progress_ = new TextProgressBar(this);
  progress_->setGeometry(kProgressRect);
  progress_->setObjectName(Id(kIdProgress));

  status_ = AddStatic(kStatusRect);
  status_->setObjectName(Id(kIdStatus));
  status_->setAccessibleName(tr("Status"));

  discName_ = new DiscNameField(this);
  discName_->setGeometry(kDiscNameRect);
  discName_->setObjectName(Id(kIdDiscName));

  discsLabel_ = AddStatic(kDiscsLabelRect);
  discsLabel_->setText(tr("Discs:"));
  discs_ = new QSpinBox(this);
  discs_->setGeometry(kDiscsRect);
  discs_->setObjectName(Id(kIdDiscs));
  discs_->setAccessibleName(tr("Discs"));
  discs_->setToolTip(tr("How many discs to burn one after another"));
  discs_->setRange(1, BurnSession::kMaxDiscs);
  discsLabel_->setBuddy(discs_);
  next_ = new SkinnedTextButton(tr("&Next"), this);
  next_->setObjectName(Id(kIdNext));
  next_->SetDefault(true);
  stop_ = new SkinnedTextButton(tr("&Stop"), this);
  stop_->setObjectName(Id(kIdStop));
  // Both within Exit's span, halves of it, and where their words need more,
  // growing to the left only: the Rimtone note stands right of Exit.
  const QRect exitRect = exit_->geometry();
  const int half = (exitRect.width() - kChoiceGap) / 2;
  const QSize choice = next_->sizeHint().expandedTo(stop_->sizeHint()).expandedTo({half, 0});
  const int choiceTop = exitRect.center().y() - choice.height() / 2;
  const int stopLeft = exitRect.right() + 1 - choice.width();
  stop_->setGeometry(QRect(QPoint(stopLeft, choiceTop), choice));
  next_->setGeometry(QRect(QPoint(stopLeft - kChoiceGap - choice.width(), choiceTop), choice));
  next_->hide();
  stop_->hide();
  calibrate_ = new SkinnedTextButton(tr("&Calibrate..."), this);
  calibrate_->setObjectName(Id(kIdCalibrate));
  calibrate_->setToolTip(
      tr("Burn a test band of grey steps at the rim and say which steps show, so that pictures "
         "are toned for this drive and its discs"));
  const QSize calibrateSize = calibrate_->sizeHint();
  calibrate_->setGeometry(kCalibrateRect.left(),
                          kCalibrateRect.center().y() - calibrateSize.height() / 2,
                          calibrateSize.width(), calibrateSize.height());
  calibrate_->setEnabled(false);

  // Nothing may start before the opening has named the disc.
  draw_->setEnabled(false);
  quality_->setEnabled(false);
  discs_->setEnabled(false);
  setTabOrder(quality_, discs_);
  setTabOrder(discs_, draw_);
  setTabOrder(draw_, exit_);

  connect(draw_, &QAbstractButton::clicked, this, &CELDraw::OnDraw);
  connect(exit_, &QAbstractButton::clicked, this, &CELDraw::reject);
  connect(next_, &QAbstractButton::clicked, this, &CELDraw::OnNext);
  connect(calibrate_, &QAbstractButton::clicked, this, &CELDraw::OnCalibrate);
  connect(stop_, &QAbstractButton::clicked, this, &CELDraw::reject);
  connect(discs_, &QSpinBox::valueChanged, this,
          [this](int count) { session_.SetDiscCount(count); });
  connect(quality_, &QComboBox::activated, this, &CELDraw::OnQualityChosen);
  timer_.setInterval(BurnSession::kTimerPeriodMs);
  connect(&timer_, &QTimer::timeout, this, &CELDraw::OnTimer);

  session_.SetDriveRunner([](const std::function<void()>& work) { DriveTask::Run(work); });
  connect(&session_, &BurnSession::Changed, this, &CELDraw::ShowMemberTexts);
  // The burn thread says so; the paint comes on the GUI thread.
  connect(&session_, &BurnSession::ProgressChanged, this, &CELDraw::ApplyProgress,
          Qt::QueuedConnection);
}

CELDraw::~CELDraw() = default;

void CELDraw::SetTimerPeriod(int milliseconds) {
  timer_.setInterval(milliseconds);
}

void CELDraw::showEvent(QShowEvent* event) {
  SkinnedDialog::showEvent(event);
  // The window paints first; the drive is asked afterwards.
  if (!openingPosted_) {
    openingPosted_ = true;
    QMetaObject::invokeMethod(this, &CELDraw::Opening, Qt::QueuedConnection);
  }
}

void CELDraw::Opening() {
  session_.Open();
  opened_ = true;
  ShowMemberTexts();
  RequestEtch();
  timer_.start();
  if (calibrateAtOpening_) OnCalibrate();
}

void CELDraw::RequestEtch() {
  if (session_.LabelImage().isNull()) return;
  EtchRequest request;
  request.label = session_.LabelImage();
  request.target = {{session_.InnerRadius(), session_.OuterRadius()},
                    session_.Disc(),
                    static_cast<BurnQuality>(std::max(0, quality_->currentIndex()))};
  // The drive's own ELS page once the session has read a usable one.
  const bool drivePage = session_.Plan().failures.empty() && session_.Plan().steps > 0;
  request.page = drivePage ? session_.Sequence().Page() : ExampleEtchPage();
  request.response = session_.EtchResponse(request.page, request.target.quality);
  etched_->Request(std::move(request));
}

void CELDraw::ShowMemberTexts() {
  SetBackground(session_.DataSidePicture() ? skin::kBurnDataSideBackground : skin::kBurnBackground);
  // Drives plugged in or pulled out change the list, not just its length.
  QStringList items;
  for (const std::string& item : session_.DriveItems()) items << QString::fromStdString(item);
  QStringList shown;
  for (int i = 0; i < drives_->count(); ++i) shown << drives_->itemText(i);
  if (items != shown) {
    drives_->clear();
    drives_->addItems(items);
  }
  drives_->setCurrentIndex(session_.SelectedDrive());
  quality_->setCurrentIndex(session_.Quality());
  quality_->setEnabled(opened_ && session_.QualityEnabled());
  const bool between = session_.CurrentState() == BurnSession::State::NextDisc;
  draw_->setEnabled(session_.DrawEnabled() && !between);
  calibrate_->setEnabled(session_.DrawEnabled() && !between &&
                         session_.CurrentState() == BurnSession::State::Waiting);
  {
    const QSignalBlocker quiet(discs_);
    discs_->setValue(session_.DiscCount());
  }
  discs_->setEnabled(opened_ && session_.DiscCountEnabled());
  if (between != next_->isVisible()) {
    const bool focused = exit_->hasFocus() || next_->hasFocus() || stop_->hasFocus();
    exit_->setVisible(!between);
    next_->setVisible(between);
    stop_->setVisible(between);
    if (between || focused) (between ? static_cast<QWidget*>(next_) : exit_)->setFocus();
  }
  timeLabel_->setText(QString::fromStdString(session_.LabelText()));
  time_->setText(QString::fromStdString(session_.TimeText()));
  discName_->SetText(QString::fromStdString(session_.DiscText()));
  status_->setText(QString::fromStdString(session_.StatusText(session_.Progress().Peek())));
}

void CELDraw::OnTimer() {
  // A check already running (a slow drive) is not started twice.
  if (DriveTask::Busy() || !opened_) return;
  session_.Tick();
}

void CELDraw::OnQualityChosen(int index) {
  session_.SelectQuality(index);
  RequestEtch();
}

void CELDraw::OnDraw() {
  if (DriveTask::Busy() || session_.CurrentState() != BurnSession::State::Waiting) return;
  session_.SelectQuality(quality_->currentIndex());
  timer_.stop();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool started = session_.Draw();
  QApplication::restoreOverrideCursor();
  if (!started) {
    // Checks refused the disc or the preparation failed: wait on.
    timer_.start();
    return;
  }
  BurnStarted();
}

void CELDraw::OnCalibrate() {
  if (DriveTask::Busy() || session_.CurrentState() != BurnSession::State::Waiting) return;
  timer_.stop();
  const bool started = session_.DrawWedge();
  if (!started) {
    timer_.start();
    return;
  }
  BurnStarted();
}

void CELDraw::AskWedgeAnswer() {
  // The wedge as the etch draws it, its numbers legible at the dialog's size.
  EtchRequest request;
  request.label = session_.WedgePicture();
  request.target = WedgeTarget();
  request.page = ExampleEtchPage();
  const EtchResult etched = SimulateEtch(request);
  WedgeAnswerDialog dialog(
      etched.ok ? etched.picture : request.label,
      [this](int firstMark, int firstDark) { return session_.AnswerWedge(firstMark, firstDark); },
      this);
  if (dialog.exec() == QDialog::Accepted) {
    status_->setText(
        tr("Calibration kept: %1").arg(QString::fromStdString(session_.KeptCalibration())));
    RequestEtch();  // the thumbnail through the calibration just kept
  }
}

void CELDraw::OnNext() {
  if (DriveTask::Busy() || session_.CurrentState() != BurnSession::State::NextDisc) return;
  timer_.stop();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool started = session_.Next();
  QApplication::restoreOverrideCursor();
  if (!started) {
    // No disc yet, or one refused: Next or Stop again.
    timer_.start();
    return;
  }
  BurnStarted();
}

void CELDraw::BurnStarted() {
  finishPending_ = false;
  sinceProgress_.start();
  progressUpdates_ = 0;
  // A series' label has this disc's number.
  if (session_.DiscCount() > 1) RequestEtch();
}

void CELDraw::ApplyProgress() {
  if (asking_) CloseQuestionAfterTheEnd();
  if (progressScheduled_) return;
  // Bounded repaints whatever the burn's rate: at most one per interval.
  if (sinceProgress_.isValid() && sinceProgress_.elapsed() < progressInterval_) {
    progressScheduled_ = true;
    QTimer::singleShot(progressInterval_ - static_cast<int>(sinceProgress_.elapsed()), this,
                       [this] {
                         progressScheduled_ = false;
                         ApplyProgress();
                       });
    return;
  }
  sinceProgress_.start();
  ++progressUpdates_;
  const BurnProgressState state = session_.Progress().Take();
  progress_->SetRange(state.low, state.high);
  progress_->SetStep(state.step);
  progress_->SetText(state.text);
  progress_->SetShowText(state.showText);
  progress_->SetPos(state.position);
  status_->setText(QString::fromStdString(session_.StatusText(state)));
  if (state.finished && session_.CurrentState() == BurnSession::State::Burning) BurnFinished();
}

void CELDraw::BurnFinished() {
  if (asking_) {
    // The question's answer no longer matters; the dialog closes after it.
    finishPending_ = true;
    CloseQuestionAfterTheEnd();
    return;
  }
  if (finishing_) return;
  finishing_ = true;
  session_.BurnEnded();
  if (session_.WedgeToAnswer()) AskWedgeAnswer();
  if (session_.CurrentState() != BurnSession::State::Closed) {
    // Between two discs the dialog stays for Next or Stop; a series that
    // stopped for good stays with its notice until Exit.
    finishing_ = false;
    ShowMemberTexts();
    timer_.start();
    return;
  }
  done(0);
}

void CELDraw::CloseQuestionAfterTheEnd() {
  const BurnPhase phase = session_.Progress().Peek().phase;
  if (!finishPending_ && phase != BurnPhase::Restoring && phase != BurnPhase::Done) return;
  // Only the question itself, never the outcome box shown above it.
  auto* box = qobject_cast<SkinnedMessageBox*>(QApplication::activeModalWidget());
  if (box && box->parentWidget() == this && box->NoButton()) box->done(QDialog::Rejected);
}

void CELDraw::reject() {
  if (DriveTask::Busy() || asking_) return;
  if (session_.CurrentState() == BurnSession::State::Burning) {
    // A stray Escape must not half-etch a disc: ask first, while the burn
    // goes on untouched.
    asking_ = true;
    const bool stop = session_.ConfirmStop();
    asking_ = false;
    if (finishPending_) {
      BurnFinished();
      return;
    }
    if (!stop) return;
  }
  // During a burn this only asks it to stop; the burn closes the dialog.
  if (!session_.Exit()) return;
  timer_.stop();
  done(0);
}

}  // namespace twr::ui
