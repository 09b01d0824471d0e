// The burn dialog on the virtual drive, driven without a person: the disc
// check and its picture switch, the quality's required time, a burn to its
// end, and Exit during a burn, with screenshots of each state.
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "ui/CELDraw.h"
#include "ui/DriveTask.h"
#include "ui/SkinnedButton.h"
#include "ui/TextProgressBar.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/BurnSession.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::test {

using ui::BurnSession;

namespace {

constexpr int kFastTimerMs = 10;
constexpr int kBurnTimeoutMs = 30000;

// The commands of a trace file, one list of CDB bytes per line.
std::vector<std::vector<int>> TraceCommands(const QString& path) {
  std::vector<std::vector<int>> commands;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return commands;
  while (!file.atEnd()) {
    const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
    std::vector<int> cdb;
    for (const QByteArray& f : fields) {
      bool ok = false;
      const int byte = f.toInt(&ok, 16);
      if (!ok || f.size() != 2) break;
      cdb.push_back(byte);
    }
    commands.push_back(cdb);
  }
  return commands;
}

// After the last WRITE(12): the page sent back, removal allowed, then the eject.
void CheckClosingSteps(const QString& tracePath, VirtualDrive& drive) {
  const auto commands = TraceCommands(tracePath);
  auto last = commands.end();
  for (auto it = commands.begin(); it != commands.end(); ++it)
    if (!it->empty() && (*it)[0] == 0xAA) last = it;
  QVERIFY2(last != commands.end(), "no WRITE(12) in the trace");
  bool page = false, allowed = false;
  for (auto it = last; it != commands.end(); ++it) {
    if ((*it)[0] == 0x55) page = true;
    if ((*it)[0] == 0x1E && it->size() > 4 && (*it)[4] == 0) allowed = page;
  }
  QVERIFY(page);
  QVERIFY(allowed);
  QCOMPARE(commands.back()[0], 0x1B);
  QCOMPARE(commands.back()[4], 0x02);  // eject
  QCOMPARE(int(drive.CurrentElsPage()[16]), 0);
}

}  // namespace

class BurnDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void discCheckFollowsTheDisc_data() {
    QTest::addColumn<QString>("disc");
    QTest::addColumn<QString>("flip");
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("drawBefore");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("drawAfter");
    QTest::addColumn<QString>("pictureAfter");
    QTest::newRow("no disc, then a label side")
        << "none"
        << "label"
        << "No disc or Non-support disc" << false << "Etchlume disc  label-side" << true << "bg156";
    QTest::newRow("label side, then a DVD+R")
        << "label"
        << "dvd+r"
        << "Etchlume disc  label-side" << true << "DVD+R complete" << true << "bg161";
  }

  // The first check comes one period after opening, then every five; the
  // disc turned over in between is seen at the next check.
  void discCheckFollowsTheDisc() {
    QFETCH(QString, disc);
    QFETCH(QString, flip);
    QFETCH(QString, before);
    QFETCH(bool, drawBefore);
    QFETCH(QString, after);
    QFETCH(bool, drawAfter);
    QFETCH(QString, pictureAfter);
    UiRig rig(DriveWith(disc.toStdString(), flip.toStdString()));
    BurnSession session(*rig.device, rig.messages);
    ui::CELDraw dialog(session);
    dialog.SetTimerPeriod(kFastTimerMs);
    dialog.show();
    QTRY_VERIFY(dialog.Opened());
    QCOMPARE(dialog.DiscName()->Text(), before);
    QCOMPARE(dialog.DrawButton()->isEnabled(), drawBefore);
    QCOMPARE(dialog.DrawButton()->ShownPicture(),
             drawBefore ? QString("IDB_BBTNDRAWU") : QString("IDB_BBTNDRAWX"));
    QCOMPARE(dialog.Background(), QString("bg156"));
    if (disc == "none") dialog.grab().save(ScreenshotPath("burn-dialog-no-disc.png"));

    rig.device->StartStopUnit(0);  // out, turned over, back in
    QTRY_COMPARE(dialog.DiscName()->Text(), after);
    QCOMPARE(dialog.DrawButton()->isEnabled(), drawAfter);
    QCOMPARE(dialog.Background(), pictureAfter);
    if (flip == "dvd+r") dialog.grab().save(ScreenshotPath("burn-dialog-rimtone.png"));
    dialog.reject();
    QVERIFY(!dialog.isVisible());
  }

  // Draft to High Quality shows the new required time at once, and the
  // etch beside the list follows the quality.
  void qualityChangesTheTimeAtOnce() {
    UiRig rig(DriveWith("label"));
    BurnSession session(*rig.device, rig.messages);
    session.SetBand(25.0, 58.0);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(QColor(40, 40, 40));
    session.SetLabelImage(label);
    ui::CELDraw dialog(session);
    dialog.show();
    QTRY_VERIFY(dialog.Opened());
    QCOMPARE(dialog.TimeLabel()->text(), QString("06:47"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog.EtchedPreview().Finished() == 1, 20000);
    QVERIFY(!dialog.EtchedPicture()->pixmap().isNull());
    const QImage draft = dialog.EtchedPreview().Picture();
    dialog.grab().save(ScreenshotPath("burn-dialog-idle.png"));
    QComboBox* quality = dialog.QualityList();
    QCOMPARE(quality->count(), 3);
    QCOMPARE(quality->itemText(2), QString("High Quality"));
    quality->setCurrentIndex(2);
    emit quality->activated(2);
    QCOMPARE(dialog.TimeLabel()->text(), QString("12:20"));
    QCOMPARE(session.Plan().steps, 20);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.EtchedPreview().Finished() == 2, 20000);
    QVERIFY(dialog.EtchedPreview().Picture() != draft);  // two passes mark darker
  }

  // A burn runs to "Finish Burning.", shown once, and the dialog closes
  // itself after the closing steps.
  void burnRunsToTheEndAndCloses() {
    QTemporaryDir dir;
    VirtualDriveConfig config = DriveWith("label");
    config.tracePath = dir.filePath("trace.txt").toStdString();
    UiRig rig(config);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(Qt::white);
    BurnSession session(*rig.device, rig.messages);
    session.SetBand(25.0, 25.3);
    session.SetLabelImage(label);
    ui::CELDraw dialog(session);
    dialog.show();
    QTRY_VERIFY(dialog.Opened());
    QVERIFY(dialog.DrawButton()->isEnabled());
    QTest::mouseClick(dialog.DrawButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kBurnTimeoutMs);
    QCOMPARE(dialog.result(), 0);
    const auto texts = rig.Texts();
    QCOMPARE(std::count(texts.begin(), texts.end(), "Finish Burning."), 1);
    QCOMPARE(session.CurrentState(), BurnSession::State::Closed);
    QVERIFY(!dialog.ProgressBar()->ShowText());
    QCOMPARE(dialog.ProgressBar()->Pos(), 0);
    CheckClosingSteps(dir.filePath("trace.txt"), *rig.drive);
  }

  // A series of three on a drive that loses streaming in every burn: after
  // disc 1 the dialog stays, says the series stopped (a message with what to
  // do, and the short of it in the status line, which fits its line in every
  // language) and offers Next and Stop; Stop closes it.
  void seriesStopsAfterADiscWithGaps() {
    VirtualDriveConfig config = DriveWith("label");
    config.discs = 3;
    config.burn.faults = "streaming:5";
    UiRig rig(config);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(Qt::gray);
    BurnSession session(*rig.device, rig.messages);
    session.SetBand(41.0, 41.1);
    session.SetLabelImage(label);
    session.SetDiscCount(3);
    ui::CELDraw dialog(session);
    dialog.show();
    QTRY_VERIFY(dialog.Opened());
    QTest::mouseClick(dialog.DrawButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(dialog.NextButton()->isVisible(), kBurnTimeoutMs);
    QVERIFY(dialog.isVisible());
    QCOMPARE(session.CurrentState(), BurnSession::State::NextDisc);
    // The outcome of the burn (gaps), then why the series stopped and what to do.
    const auto said = rig.messages.History();
    QVERIFY(said.size() >= 2);
    QCOMPARE(said.back().icon, MessageIcon::Warning);
    QVERIFY(!said.back().detail.empty());
    QCOMPARE(said[said.size() - 2].icon, MessageIcon::Warning);
    const QLabel* status = dialog.StatusLine();
    QCOMPARE(status->text().toStdString(), session.Notice());
    QVERIFY2(status->fontMetrics().horizontalAdvance(status->text()) <= status->width(),
             qPrintable(status->text()));
    // Next and Stop side by side in Exit's place, clear of the Rimtone note
    // right of it.
    const QRect next = dialog.NextButton()->geometry();
    const QRect stop = dialog.StopButton()->geometry();
    QVERIFY(!next.intersects(stop) && next.right() < stop.left());
    QVERIFY(stop.right() <= dialog.ExitButton()->geometry().right());
    dialog.grab().save(ScreenshotPath("burn-dialog-series-stopped.png"));
    QTest::mouseClick(dialog.StopButton(), Qt::LeftButton);
    QTRY_VERIFY(!dialog.isVisible());
    QCOMPARE(session.DiscsBurnt(), 1);
  }

  // Exit during a burn asks first (No goes on), then only asks the burn to
  // stop: the dialog stays until the burn's closing steps have run, then
  // closes itself. The status line names the phase.
  void exitDuringABurnWaitsForTheClosingSteps() {
    QTemporaryDir dir;
    VirtualDriveConfig config = DriveWith("label");
    config.tracePath = dir.filePath("trace.txt").toStdString();
    config.burn.pace = 1.0;
    UiRig rig(config);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(Qt::gray);
    BurnSession session(*rig.device, rig.messages);
    session.SetBand(25.0, 25.6);
    session.SetLabelImage(label);
    ui::CELDraw dialog(session);
    dialog.show();
    QTRY_VERIFY(dialog.Opened());
    QTest::mouseClick(dialog.DrawButton(), Qt::LeftButton);
    QCOMPARE(session.CurrentState(), BurnSession::State::Burning);
    QVERIFY(!dialog.DrawButton()->isEnabled());
    QVERIFY(!dialog.QualityList()->isEnabled());
    ui::TextProgressBar* bar = dialog.ProgressBar();
    QTRY_VERIFY_WITH_TIMEOUT(bar->Upper() > 0 && bar->Pos() * 100 >= bar->Upper() * 40,
                             kBurnTimeoutMs);
    QVERIFY(bar->ShowText());
    QCOMPARE(bar->Text().size(), std::size_t(5));  // "mm:ss"
    // "Burning", with the losses of streaming so far on a slowed machine.
    QVERIFY2(dialog.StatusLine()->text().startsWith(QString("Burning")),
             qPrintable(dialog.StatusLine()->text()));
    dialog.grab().save(ScreenshotPath("burn-dialog-burning.png"));

    rig.answer = false;
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(rig.Texts().back(),
             std::string("Stop the burn? The disc keeps what is etched so far."));
    QVERIFY(!session.StopRequested());
    const int before = session.Sequence().WriteCount();
    QTRY_VERIFY(session.Sequence().WriteCount() > before);
    rig.answer = true;
    QTest::mouseClick(dialog.ExitButton(), Qt::LeftButton);
    QVERIFY(session.StopRequested());
    QVERIFY(dialog.isVisible());
    QCOMPARE(session.CurrentState(), BurnSession::State::Burning);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.isVisible(), kBurnTimeoutMs);
    const auto texts = rig.Texts();
    QCOMPARE(std::count(texts.begin(), texts.end(), "Finish Burning."), 1);
    QVERIFY(rig.messages.History().back().detail.starts_with("Stopped by you after write "));
    CheckClosingSteps(dir.filePath("trace.txt"), *rig.drive);
    // Far fewer repaints than writes: the burn's events were coalesced.
    QVERIFY(dialog.ProgressUpdates() < session.Sequence().WriteCount());
    QVERIFY(bar->DrawCount() <= bar->width() + 10);
  }
};

TWR_UI_TEST(BurnDialogTest)

}  // namespace twr::test

#include "BurnDialogTest.moc"
