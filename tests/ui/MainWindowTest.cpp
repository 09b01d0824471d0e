// The main window on the off-screen platform: keys that do nothing, help,
// typing and the once-a-second preview, a layout change, and a whole burn
// from Burn through Draw to the window refreshing again.
#include <QAbstractButton>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <fstream>

#include "label/CELLayout.h"
#include "ui/CELDraw.h"
#include "ui/CELMainDlg.h"
#include "ui/HelpWindow.h"
#include "ui/SkinnedButton.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace twr::test {

using ui::BurnSession;

namespace {

constexpr int kFastTickMs = 20;
constexpr int kBurnTimeoutMs = 60000;

// A narrow band keeps the burn short.
constexpr const char* kLayouts =
    "[Config]\nLayoutNum=2\nFont=Liberation Sans\n"
    "[Layout00]\nName=Narrow band\nBaseLength=600\nBgColor=235\nTxColor=20\n"
    "TitleWidth=300\nTitleHeight=60\nTitlePosX=150\nTitlePosY=60\n"
    "RingType=0\nRingLength=3\nInnerRadius=40\nOuterRadius=42\n"
    "[Layout01]\nName=Wide band\nBaseLength=600\nBgColor=200\nInnerRadius=30\nOuterRadius=50\n";

// The whole window with its objects, on a virtual drive.
struct MainRig {
  QTemporaryDir dir;
  UiRig drive;
  std::unique_ptr<CELLayout> layout;
  BurnSession burn;
  ui::TitleConfigModel config;
  std::unique_ptr<ui::MainWindowModel> model;
  std::unique_ptr<ui::CELMainDlg> window;

  explicit MainRig(VirtualDriveConfig c)
      : drive(std::move(c)), burn(*drive.device, drive.messages) {
    std::ofstream(dir.filePath("twr.ini").toStdString()) << kLayouts;
    layout = std::make_unique<CELLayout>(dir.filePath("twr.ini").toStdString());
    model =
        std::make_unique<ui::MainWindowModel>(*layout, *drive.device, burn, config, drive.messages);
    window = std::make_unique<ui::CELMainDlg>(*model, config, burn, *drive.device, drive.messages);
    window->SetTimerPeriod(kFastTickMs);
  }
  bool Open() {
    window->show();
    return QTest::qWaitForWindowExposed(window.get()) &&
           QTest::qWaitFor([&] { return window->Opened(); });
  }
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Enter and Escape do nothing; F1 opens the help at its contents, and the
  // help closes with the window.
  void keysAndHelp() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QCOMPARE(rig.window->windowTitle(), QString("Titlewright  Version 1.2.0E"));
    QTest::keyClick(rig.window.get(), Qt::Key_Escape);
    QTest::keyClick(rig.window.get(), Qt::Key_Return);
    QVERIFY(rig.window->isVisible());
    QTest::keyClick(rig.window.get(), Qt::Key_F1);
    QPointer<ui::HelpWindow> help = rig.window->Help();
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QVERIFY(help->Browser()->toPlainText().contains("Troubleshooting"));
    help->grab().save(ScreenshotPath("help.png"));
    rig.window.reset();
    QVERIFY(help.isNull());
  }

  // Typing stores the text; the preview follows at the next tick, once.
  void typingRefreshesThePreviewAtTheTick() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    const int redraws = rig.model->PreviewRedraws();
    QTest::keyClicks(rig.window->TitleEdit(), "Summer Holidays");
    QCOMPARE(rig.model->Title(), std::string("Summer Holidays"));
    QTRY_COMPARE(rig.model->PreviewRedraws(), redraws + 1);
    QTest::keyClicks(rig.window->NoteEdit(), "[Photos]");
    QTest::keyClick(rig.window->NoteEdit(), Qt::Key_Return);
    QTest::keyClicks(rig.window->NoteEdit(), "readme.txt");
    QTRY_COMPARE(rig.model->NoteLines()[1], std::string("readme.txt"));
    QTRY_VERIFY(!rig.model->AnyChanged());
    QCOMPARE(rig.window->NoteEdit()->textCursor().position(), 19);  // the caret stayed
    rig.window->grab().save(ScreenshotPath("main-window.png"));

    rig.window->LayoutList()->setCurrentIndex(1);
    QCOMPARE(rig.window->RadiusStatic()->text(), QString("30.0 - 50.0 [mm]"));
    QCOMPARE(rig.window->FontStatic()->text(), QString("Liberation Sans"));
  }

  // A slow drive never freezes the window: it keeps painting while Scan
  // waits for the drive, and a second scan does not start meanwhile.
  void aSlowDriveKeepsTheWindowPainting() {
    QTemporaryDir traceDir;
    VirtualDriveConfig config = DriveWith("label");
    config.latencyMs = 150;
    config.tracePath = traceDir.filePath("trace.txt").toStdString();
    MainRig rig(config);
    QVERIFY(rig.Open());
    struct PaintCounter : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
      }
    } counter;
    rig.window->Preview()->installEventFilter(&counter);
    int secondScans = 0;
    QTimer poke;
    poke.setInterval(20);
    QObject::connect(&poke, &QTimer::timeout, [&] {
      rig.window->Preview()->update();
      if (secondScans++ == 3) rig.window->ScanButton()->click();  // refused while busy
    });
    const auto reads = [&] {
      std::ifstream trace(config.tracePath);
      int n = 0;
      for (std::string line; std::getline(trace, line);) n += line.rfind("A8 ", 0) == 0;
      return n;
    };
    const int readsBefore = reads();
    poke.start();
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(rig.window->ScanButton(), Qt::LeftButton);  // returns after the scan
    const qint64 scanMs = clock.elapsed();
    poke.stop();
    QVERIFY2(scanMs >= 6 * 150, qPrintable(QString::number(scanMs)));
    QVERIFY2(counter.paints >= 10, qPrintable(QString::number(counter.paints)));
    QCOMPARE(reads() - readsBefore, 1);  // one volume descriptor read: one scan
  }

  // Burn with nothing typed is refused and the refresh goes on.
  void burnWithoutTextKeepsTheTimer() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QTest::mouseClick(rig.window->BurnButton(), Qt::LeftButton);
    QCOMPARE(rig.drive.Texts().back(), std::string("Scan or input text data."));
    QVERIFY(rig.window->TimerRunning());
  }

  // Burn opens the burn dialog; Draw burns; the dialog closes itself and
  // the window refreshes again.
  void aWholeBurnFromTheWindow() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QTest::keyClicks(rig.window->TitleEdit(), "Etched");
    QPointer<ui::CELDraw> seen;
    QTimer pressDraw;
    pressDraw.setInterval(20);
    QObject::connect(&pressDraw, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<ui::CELDraw*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->Opened() || seen) return;
      seen = dialog;
      dialog->grab().save(ScreenshotPath("burn-dialog-from-window.png"));
      QTest::mouseClick(dialog->DrawButton(), Qt::LeftButton);
    });
    pressDraw.start();
    QTest::mouseClick(rig.window->BurnButton(), Qt::LeftButton);  // returns after the burn
    pressDraw.stop();
    QVERIFY(seen.isNull());  // the dialog has closed and gone
    const auto texts = rig.drive.Texts();
    QVERIFY(std::find(texts.begin(), texts.end(), "Finish Burning.") != texts.end());
    QVERIFY(rig.window->TimerRunning());
    QCOMPARE(rig.burn.InnerRadius(), 40.0);
    QVERIFY(rig.burn.Sequence().WriteCount() > 0);
  }
};

TWR_UI_TEST(MainWindowTest)

}  // namespace twr::test

#include "MainWindowTest.moc"
