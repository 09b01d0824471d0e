// The main window on the off-screen platform: keys that do nothing, help,
// typing and the preview following it at once, the keyboard's start and Tab
// order, the preview's controls off the disc, a layout change, and a whole burn
// from Burn through Draw to the window refreshing again; the keyboard in
// every skinned window (mnemonics, the focus ring, Ctrl+Q), the help
// window's navigation and find, and a design dropped, marked when changed
// and asked about before the window closes; File > New's gallery of
// templates and a label started from one.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

#include <QAction>
#include <QCheckBox>
#include <QSignalSpy>

#include <fstream>
#include <functional>

#include "label/CELLayout.h"
#include "label/Design.h"
#include "ui/CELDraw.h"
#include "ui/CELMainDlg.h"
#include "ui/CELTitleConfig.h"
#include "ui/EtchedViewSwitch.h"
#include "ui/FocusRing.h"
#include "ui/HelpWindow.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/TemplateGallery.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/BurnSession.h"
#include "ui/model/EtchedPreviewModel.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TemplateGalleryModel.h"
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

// Eats the shortcut event a button's mnemonic sends it, so that the key can
// be checked without the button's action running.
struct ShortcutCatcher : QObject {
  int caught = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return false;
    ++caught;
    return true;
  }
};

// The focus ring is round `control`, 2 pixels out from it, in a colour with
// at least 3:1 contrast against every background pixel under it.
void CheckRingRound(ui::SkinnedDialog& dialog, QWidget* control) {
  ui::FocusRing* ring = dialog.Ring();
  QTRY_COMPARE(ring->Target(), control);
  const int out = ui::FocusRing::kGap + ui::FocusRing::kWidth;
  QCOMPARE(
      ring->geometry(),
      QRect(control->mapTo(&dialog, QPoint(0, 0)), control->size()).adjusted(-out, -out, out, out));
  QVERIFY(ui::FocusRing::kWidth >= 2);
  const std::vector<QColor> under = ring->BackgroundUnder(control);
  QVERIFY(!under.empty());
  for (const QColor& c : under)
    QVERIFY2(ui::ContrastRatio(ring->Colour(), c) >= 3.0,
             qPrintable(QStringLiteral("%1 ring %2 on %3: %4")
                            .arg(control->objectName(), ring->Colour().name(), c.name())
                            .arg(ui::ContrastRatio(ring->Colour(), c))));
}

const std::vector<std::string> kFonts = {"DejaVu Sans", "Liberation Sans"};

// Presses the button `text` of the next message box shown (polled, as the
// box runs its own loop).
void AnswerNextBox(const QString& text) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, text] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    for (QAbstractButton* button : box->buttons()) {
      if (button->text() != text) continue;
      timer->stop();
      timer->deleteLater();
      button->click();
      return;
    }
  });
  timer->start();
}

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

  // Every control of the three skinned windows: its mnemonic reaches it (a
  // caption's moves the focus to its edit or list, a button's is the
  // button's shortcut) and, with the keyboard in use, the focus ring is
  // round it; a mouse press hides the ring.
  void mnemonicsAndTheFocusRing_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");  // Alt + this; 0: none (Tab reaches it)
    QTest::addColumn<bool>("button");
    QTest::newRow("main: layout list") << "main"
                                       << "1046" << 0 << false;
    QTest::newRow("main: drive list") << "main"
                                      << "1008" << int(Qt::Key_R) << false;
    QTest::newRow("main: title") << "main"
                                 << "1010" << int(Qt::Key_T) << false;
    QTest::newRow("main: date") << "main"
                                << "1012" << int(Qt::Key_D) << false;
    QTest::newRow("main: note") << "main"
                                << "1032" << int(Qt::Key_N) << false;
    QTest::newRow("main: Scan") << "main"
                                << "1030" << int(Qt::Key_S) << true;
    QTest::newRow("main: Config") << "main"
                                  << "1047" << int(Qt::Key_C) << true;
    QTest::newRow("main: Burn") << "main"
                                << "1061" << int(Qt::Key_B) << true;
    QTest::newRow("main: Exit") << "main"
                                << "1062" << int(Qt::Key_X) << true;
    QTest::newRow("main: help button") << "main"
                                       << "help" << 0 << true;
    QTest::newRow("config: font") << "config"
                                  << "1015" << int(Qt::Key_F) << false;
    QTest::newRow("config: inner radius") << "config"
                                          << "1016" << int(Qt::Key_I) << false;
    QTest::newRow("config: outer radius") << "config"
                                          << "1017" << int(Qt::Key_O) << false;
    QTest::newRow("config: Rimtone Mode") << "config"
                                          << "1050" << int(Qt::Key_R) << true;
    QTest::newRow("config: OK") << "config"
                                << "1" << 0 << true;
    QTest::newRow("config: Cancel") << "config"
                                    << "2" << 0 << true;
    QTest::newRow("burn: Draw") << "burn"
                                << "1" << int(Qt::Key_D) << true;
    QTest::newRow("burn: Exit") << "burn"
                                << "2" << int(Qt::Key_X) << true;
  }

  void mnemonicsAndTheFocusRing() {
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(bool, button);
    MainRig rig(DriveWith(window == "config" ? "dvd-r" : "label"));
    QImage label(600, 600, QImage::Format_RGB888);
    label.fill(Qt::gray);
    std::unique_ptr<ui::SkinnedDialog> other;
    ui::SkinnedDialog* dialog = rig.window.get();
    if (window == "main") {
      QVERIFY(rig.Open());
    } else if (window == "config") {
      other = std::make_unique<ui::CELTitleConfig>(rig.config, ui::TitleConfigValues{},
                                                   *rig.drive.device, rig.drive.messages, nullptr,
                                                   &kFonts);
    } else {
      rig.burn.SetBand(40.0, 41.0);
      rig.burn.SetLabelImage(label);
      other = std::make_unique<ui::CELDraw>(rig.burn);
    }
    if (other) {
      dialog = other.get();
      dialog->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog));
      if (auto* draw = qobject_cast<ui::CELDraw*>(dialog)) QTRY_VERIFY(draw->Opened());
    }
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    auto* target = dialog->findChild<QWidget*>(control);
    QVERIFY(target);
    QVERIFY(target->isEnabled());

    if (key && button) {
      ShortcutCatcher catcher;
      target->installEventFilter(&catcher);
      QTest::keyClick(dialog, Qt::Key(key), Qt::AltModifier);
      QCOMPARE(catcher.caught, 1);
      target->removeEventFilter(&catcher);
      target->setFocus(Qt::TabFocusReason);
      QTest::keyClick(target, Qt::Key_Shift);  // the keyboard is in use
    } else if (key) {
      QTest::keyClick(dialog, Qt::Key(key), Qt::AltModifier);
      QTRY_COMPARE(QApplication::focusWidget(), target);
    } else {
      // Tab reaches it.
      bool reached = false;
      for (int i = 0; i < 20 && !reached; ++i) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                        Qt::Key_Tab);
        reached = QApplication::focusWidget() == target;
      }
      QVERIFY(reached);
    }
    CheckRingRound(*dialog, target);
    if (QString(QTest::currentDataTag()) == "main: Burn")
      rig.window->grab().save(ScreenshotPath("main-window-focus-ring.png"));
    QTest::mousePress(dialog, Qt::LeftButton, {}, QPoint(2, dialog->height() - 2));
    QTRY_VERIFY(!dialog->Ring()->Target());
    QTest::mouseRelease(dialog, Qt::LeftButton, {}, QPoint(2, dialog->height() - 2));
  }

  // Ctrl+Q ends the program from any of its windows as Exit does; during a
  // burn it takes the burn dialog's Exit: the burn stops after the write in
  // progress, its closing steps run, and then the window ends.
  void ctrlQQuits() {
    {
      MainRig rig(DriveWith("label"));
      QVERIFY(rig.Open());
      QTimer::singleShot(
          0, [&] { QTest::keyClick(rig.window->TitleEdit(), Qt::Key_Q, Qt::ControlModifier); });
      QTRY_VERIFY(!rig.window->isVisible());
      QCOMPARE(rig.window->result(), ui::CELMainDlg::kClosed);
    }
    {
      MainRig rig(DriveWith("label"));
      QVERIFY(rig.Open());
      bool pressed = false;
      QTimer poke;
      poke.setInterval(20);
      QObject::connect(&poke, &QTimer::timeout, [&] {
        auto* config = qobject_cast<ui::CELTitleConfig*>(QApplication::activeModalWidget());
        if (!config || pressed) return;
        pressed = true;
        QTest::keyClick(config->InnerEdit(), Qt::Key_Q, Qt::ControlModifier);
      });
      poke.start();
      QTest::mouseClick(rig.window->ConfigButton(), Qt::LeftButton);  // returns when closed
      poke.stop();
      QVERIFY(pressed);
      QTRY_VERIFY(!rig.window->isVisible());
      QCOMPARE(rig.window->result(), ui::CELMainDlg::kClosed);
    }
    VirtualDriveConfig paced = DriveWith("label");
    paced.burn.pace = 1.0;
    paced.reloadDelaySeconds = 3600;  // the ejected tray stays open
    MainRig rig(paced);
    QVERIFY(rig.Open());
    QTest::keyClicks(rig.window->TitleEdit(), "Stopped");
    enum { Waiting, Drawn, Quit } step = Waiting;
    QTimer poke;
    poke.setInterval(20);
    QObject::connect(&poke, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<ui::CELDraw*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->Opened()) return;
      if (step == Waiting) {
        step = Drawn;
        QTest::mouseClick(dialog->DrawButton(), Qt::LeftButton);
      } else if (step == Drawn && rig.burn.Sequence().WriteCount() > 20) {
        step = Quit;
        QTest::keyClick(dialog, Qt::Key_Q, Qt::ControlModifier);
      }
    });
    poke.start();
    QTest::mouseClick(rig.window->BurnButton(), Qt::LeftButton);  // returns after the burn
    poke.stop();
    QCOMPARE(int(step), int(Quit));
    QTRY_VERIFY(!rig.window->isVisible());
    QCOMPARE(rig.window->result(), ui::CELMainDlg::kClosed);
    const auto texts = rig.drive.Texts();
    QCOMPARE(std::count(texts.begin(), texts.end(), "Finish Burning."), 1);
    QVERIFY(rig.drive.drive->TrayEmpty());  // the closing steps ejected the disc
  }

  // A design: the title names it and marks a change; a design file dropped
  // on the note opens (after Discard) instead of being typed in; closing
  // asks, Cancel keeps all, Save writes what the window shows.
  void aDesignDroppedMarkedAndAskedAbout() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QTest::keyClicks(rig.window->TitleEdit(), "Kept");
    const QString path = rig.dir.filePath("kept.twrlabel");
    QVERIFY(rig.model->SaveDesign(path.toStdString()));
    const QString title = QStringLiteral("kept.twrlabel[*] \u2014 Titlewright  Version 1.2.0E");
    QCOMPARE(rig.window->windowTitle(), title);
    QVERIFY(!rig.window->isWindowModified());
    QTest::keyClicks(rig.window->TitleEdit(), " then");
    QVERIFY(rig.window->isWindowModified());

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    QWidget* note = rig.window->NoteEdit()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(note, &enter);
    QVERIFY(enter.isAccepted());
    AnswerNextBox(QStringLiteral("&Discard"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(note, &drop);
    QTRY_COMPARE(rig.window->TitleEdit()->text(), QString("Kept"));
    QCOMPARE(rig.window->NoteEdit()->toPlainText(), QString());
    QCOMPARE(rig.window->LayoutList()->currentText(),
             QString("Narrow band (the design's own layout)"));
    QVERIFY(!rig.window->isWindowModified());

    QTest::keyClicks(rig.window->TitleEdit(), " again");
    AnswerNextBox(QStringLiteral("Cancel"));
    rig.window->close();
    QVERIFY(rig.window->isVisible());
    QCOMPARE(rig.window->TitleEdit()->text(), QString("Kept again"));
    AnswerNextBox(QStringLiteral("&Save"));
    rig.window->close();
    QTRY_VERIFY(!rig.window->isVisible());
    LabelDocument saved;
    std::string problem;
    QVERIFY(LoadDesignFile(path.toStdString(), saved, problem));
    QCOMPARE(saved.title, std::string("Kept again"));
  }

  // A picture dropped on the window becomes the label's own layout; the
  // settings file is not written.
  void aPictureDroppedIsTheLabelsOwn() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    const QString ini = rig.dir.filePath("twr.ini");
    auto settings = [&] {
      QFile file(ini);
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = settings();
    const QString photo = rig.dir.filePath("photo.png");
    QImage red(32, 32, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(photo));
    const QString first = rig.window->LayoutList()->currentText();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(photo)});
    QWidget* note = rig.window->NoteEdit()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(note, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(note, &drop);
    QTRY_COMPARE(rig.window->LayoutList()->currentText(),
                 QString("%1 (the design's own layout)").arg(first));
    QCOMPARE(rig.model->Document().background.name, std::string("photo.png"));
    QCOMPARE(settings(), before);
  }

  // Ctrl+N opens the gallery of the installed and the user's templates,
  // whose thumbnails fill in; the template chosen fills the window as a new
  // label without a file (Save asks for a name), and its file stays as it was.
  void aTemplateChosenInTheGalleryFillsTheWindow() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    const QString installed = rig.dir.filePath("share/titlewright/templates");
    const QString user = rig.dir.filePath("user/templates");
    QTest::keyClicks(rig.window->TitleEdit(), "Title");
    QVERIFY(rig.model->SaveAsTemplate(QDir(installed).filePath("a.twrlabel").toStdString()));
    rig.window->TitleEdit()->clear();
    QTest::keyClicks(rig.window->TitleEdit(), "Mine {n} of {N}");
    const QString mine = QDir(user).filePath("Mine.twrlabel");
    QVERIFY(rig.model->SaveAsTemplate(mine.toStdString()));
    QVERIFY(rig.model->DesignPath().empty());
    QFile file(mine);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    rig.window->TitleEdit()->clear();
    rig.window->SetTemplateFolders(
        {rig.dir.filePath("none").toStdString(), installed.toStdString()}, user.toStdString());

    QTest::keyClick(rig.window->TitleEdit(), Qt::Key_N, Qt::ControlModifier);
    QTRY_VERIFY(rig.window->Gallery() != nullptr && rig.window->Gallery()->isVisible());
    const QPointer<ui::TemplateGallery> gallery = rig.window->Gallery();
    QCOMPARE(gallery->List()->count(), 2);
    QCOMPARE(gallery->List()->item(0)->text(), QString("a"));
    QCOMPARE(gallery->List()->item(1)->text(), QString("Mine (yours)"));
    QTRY_VERIFY_WITH_TIMEOUT(gallery->Model().Pending() == 0, 30000);
    for (int i = 0; i < 2; ++i)
      QCOMPARE(gallery->Model().Thumbnail(i).width(), gallery->ThumbnailSide());
    QVERIFY(gallery->grab().save(ScreenshotPath(QStringLiteral("template-gallery.png"))));

    if (rig.model->Modified()) AnswerNextBox(QStringLiteral("&Discard"));
    gallery->List()->setCurrentRow(1);
    QTest::keyClick(gallery->List(), Qt::Key_Return);
    QTRY_COMPARE(rig.window->TitleEdit()->text(), QString("Mine {n} of {N}"));
    QTRY_VERIFY(gallery.isNull());
    QVERIFY(rig.model->DesignPath().empty());
    QVERIFY(!rig.window->isWindowModified());
    QCOMPARE(rig.window->focusWidget(), static_cast<QWidget*>(rig.window->TitleEdit()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
  }

  // The gallery shows every template without scrolling where the screen has
  // room: more columns before smaller thumbnails, the smallest side only
  // where nothing fits (the list scrolls then); shown on the test's screen,
  // seven templates need no scroll bar and the window stays on the screen.
  void theGalleryFitsItsScreen() {
    struct Case {
      int count;
      QSize room;
      int columns, rows, side;
    };
    const Case cases[] = {
        {7, {1300, 600}, 4, 2, 180},  // a 1366 x 768 screen: a fourth column, full size
        {7, {1850, 900}, 3, 3, 180},  // 1920 x 1080: three columns, full size
        {7, {700, 480}, 4, 2, 151},   // smaller: four columns, smaller discs
        {1, {1300, 600}, 3, 1, 180},
        {0, {1300, 600}, 3, 1, 180},
        {40, {800, 500}, 3, 14, ui::TemplateGallery::kMinThumbnailSide},  // scrolls
    };
    for (const Case& c : cases) {
      const ui::TemplateGallery::Grid grid = ui::TemplateGallery::FitGrid(c.count, c.room);
      const QString what =
          QString("%1 in %2x%3").arg(c.count).arg(c.room.width()).arg(c.room.height());
      QVERIFY2(grid.columns == c.columns && grid.rows == c.rows && grid.side == c.side,
               qPrintable(QString("%1: %2 x %3 of %4")
                              .arg(what)
                              .arg(grid.columns)
                              .arg(grid.rows)
                              .arg(grid.side)));
    }

    std::vector<ui::TemplateEntry> seven;
    for (int i = 0; i < 7; ++i)
      seven.push_back({QDir::temp().filePath(QString("none-%1.twrlabel").arg(i)).toStdString(),
                       QString("Template %1").arg(i).toStdString(), false});
    ui::TemplateGallery gallery(seven);
    gallery.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gallery));
    QTRY_VERIFY(gallery.Model().Pending() == 0);
    QVERIFY(!gallery.List()->verticalScrollBar()->isVisible());
    QVERIFY(gallery.screen()->availableGeometry().height() >= gallery.frameGeometry().height());
    QVERIFY(gallery.screen()->availableGeometry().width() >= gallery.frameGeometry().width());
  }

  // The help window: Back, Forward and Home through the pages seen, a page
  // opened at its anchor, and the find bar (incremental, next and previous
  // round the page, "Not found", Escape closing the bar and then the window).
  void helpWindowNavigationAndFind() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QTest::keyClick(rig.window.get(), Qt::Key_F1);
    ui::HelpWindow* help = rig.window->Help();
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), help);
    QTextBrowser* browser = help->Browser();
    const auto page = [&] { return browser->source().fileName(); };
    QCOMPARE(page(), QString("index.html"));
    QVERIFY(!help->BackAction()->isEnabled());
    browser->setSource(QUrl("designing.html"));  // as a link followed
    QCOMPARE(page(), QString("designing.html"));
    QVERIFY(help->BackAction()->isEnabled());
    QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(page(), QString("index.html"));
    QVERIFY(help->ForwardAction()->isEnabled());
    help->ForwardAction()->trigger();
    QCOMPARE(page(), QString("designing.html"));
    help->HomeAction()->trigger();
    QCOMPARE(page(), QString("index.html"));
    help->ShowPage("troubleshooting.html#m804");
    QCOMPARE(page(), QString("troubleshooting.html"));
    QCOMPARE(browser->source().fragment(), QString("m804"));
    help->HomeAction()->trigger();

    QVERIFY(!help->FindBar()->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), help);
    QTest::keyClick(browser, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(help->FindBar()->isVisible());
    QTRY_VERIFY(help->FindEdit()->hasFocus());
    QTest::keyClicks(help->FindEdit(), "burn");
    const QTextCursor first = browser->textCursor();
    QCOMPARE(first.selectedText().toLower(), QString("burn"));
    QTest::keyClick(help->FindEdit(), Qt::Key_Return);
    const QTextCursor second = browser->textCursor();
    QCOMPARE(second.selectedText().toLower(), QString("burn"));
    QVERIFY(second.selectionStart() > first.selectionStart());
    QTest::keyClick(help->FindEdit(), Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(browser->textCursor().selectionStart(), first.selectionStart());
    // Backwards from the first match goes round to the page's last one.
    QTest::keyClick(help->FindEdit(), Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(browser->textCursor().selectionStart() > second.selectionStart());
    QCOMPARE(help->FindStatus(), QString());
    help->grab().save(ScreenshotPath("help-find.png"));
    QTest::keyClicks(help->FindEdit(), "zzq");
    QCOMPARE(help->FindStatus(), QString("Not found"));
    QTest::keyClick(help->FindEdit(), Qt::Key_Escape);
    QVERIFY(!help->FindBar()->isVisible());
    QVERIFY(help->isVisible());
    QTest::keyClick(browser, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
  }

  // Typing stores the text and redraws the preview at once, without the
  // tick (stopped here): once for keys that come together.
  void typingRedrawsThePreviewAtOnce() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    rig.window->SetTimerPeriod(3600 * 1000);
    const int redraws = rig.model->PreviewRedraws();
    const QImage untitled = rig.window->Preview()->Preview();
    QTest::keyClicks(rig.window->TitleEdit(), "Summer Holidays");
    QCOMPARE(rig.model->Title(), std::string("Summer Holidays"));
    QTRY_COMPARE(rig.model->PreviewRedraws(), redraws + 1);
    QVERIFY(!rig.model->AnyChanged());
    QVERIFY(rig.window->Preview()->Preview() != untitled);
    QCOMPARE(rig.window->Preview()->Preview(), rig.model->PreviewWithBand());
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

  // The keyboard starts in Title and Tab goes through the window as it
  // reads: down the left (layouts, the preview's bar, Exit, File), then
  // down the right (drive, texts, Config, help, Burn), and round again.
  // The switch's two halves are one stop (the arrow keys move between).
  void focusStartsInTitleAndTabReads() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(rig.window->TitleEdit()));
    QVERIFY(!rig.window->TitleEdit()->placeholderText().isEmpty());
    QVERIFY(!rig.window->DateEdit()->placeholderText().isEmpty());
    QVERIFY(!rig.window->NoteEdit()->placeholderText().isEmpty());
    const QStringList expected = {"1012",
                                  "1032",
                                  "1033",
                                  "1047",
                                  "help",
                                  "1061",
                                  "1046",
                                  "DesignButton",
                                  "EtchedViewDesign",
                                  "EtchedViewQuality",
                                  "1062",
                                  "file",
                                  "1008",
                                  "1030",
                                  "1010"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
  }

  // Nothing of the preview's own covers the disc: the switch, its quality
  // and the warning mark stand in the bar under it, the Design button beside
  // the layout list, and a status line between disc and bar (the disc
  // giving it room while it shows).
  void thePreviewsControlsLeaveTheDiscFree() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    ui::PreviewArea* preview = rig.window->Preview();
    auto covering = [&] {
      const QRect disc =
          preview->DiscRect().translated(preview->mapTo(rig.window.get(), QPoint(0, 0)));
      QStringList found;
      ui::EtchedViewSwitch* view = rig.window->EtchedSwitch();
      for (QWidget* w : std::initializer_list<QWidget*>{
               rig.window->DesignButton(), view->DesignButton(), view->EtchedButton(),
               view->QualityList(), rig.window->WarningMark(), rig.window->StatusLine()}) {
        if (w == rig.window->StatusLine() && w->isHidden()) continue;
        if (QRect(w->mapTo(rig.window.get(), QPoint(0, 0)), w->size()).intersects(disc))
          found << QStringLiteral("%1 at %2,%3 %4x%5")
                       .arg(w->objectName())
                       .arg(w->mapTo(rig.window.get(), QPoint(0, 0)).x())
                       .arg(w->mapTo(rig.window.get(), QPoint(0, 0)).y())
                       .arg(w->width())
                       .arg(w->height());
      }
      return found;
    };
    const QRect whole = preview->DiscRect();
    QVERIFY(whole.width() >= preview->width() * 9 / 10);
    QVERIFY2(covering().isEmpty(), qPrintable(covering().join(", ")));
    QTemporaryDir dir;
    QVERIFY(rig.model->ExportLabel(dir.filePath("label.png").toStdString()));
    QTRY_VERIFY(!rig.window->StatusLine()->isHidden());
    QVERIFY2(covering().isEmpty(), qPrintable(covering().join(", ")));
    QVERIFY(preview->DiscRect().width() < whole.width());
  }

  // "As etched": the preview shows the etch of what is typed at the quality
  // beside the switch, worked out off the GUI thread and followed after a
  // change; "Design" brings the design back.
  void theEtchedViewFollowsTheLabel() {
    MainRig rig(DriveWith("label"));
    QVERIFY(rig.Open());
    ui::EtchedViewSwitch* view = rig.window->EtchedSwitch();
    ui::EtchedPreviewModel& etch = rig.window->EtchedPreview();
    QCOMPARE(view->DesignButton()->text(), QString("Design"));
    QCOMPARE(view->EtchedButton()->text(), QString("As etched"));
    QVERIFY(!view->Etched());
    view->QualityList()->setCurrentIndex(1);
    view->EtchedButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(etch.Finished() >= 1, 20000);
    const QImage untitled = rig.model->EtchRequestAt(BurnQuality::Normal).label;
    QTest::keyClicks(rig.window->TitleEdit(), "Holidays");
    QCOMPARE(rig.model->Title(), std::string("Holidays"));  // typing did not wait
    QTRY_VERIFY(!rig.model->AnyChanged());
    const EtchRequest request = rig.model->EtchRequestAt(BurnQuality::Normal);
    QVERIFY(request.label != untitled);  // the typed title is in what is etched
    const EtchResult expected = SimulateEtchPreview(request);
    QVERIFY(expected.ok);
    QTRY_VERIFY_WITH_TIMEOUT(rig.window->Preview()->Preview() == expected.picture, 20000);
    QVERIFY(rig.window->Preview()->Preview() != rig.model->PreviewWithBand());
    rig.window->grab().save(ScreenshotPath("main-window-etched.png"));
    view->DesignButton()->click();
    QCOMPARE(rig.window->Preview()->Preview(), rig.model->PreviewWithBand());
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
    // One scan: its volume descriptor read, and its listing's through the
    // drive (nothing is mounted), which ends at that block.
    QCOMPARE(reads() - readsBefore, 2);
  }

  // A drive that takes 1.5 s for each command: the layouts and the preview
  // are there before its first answer could have come, the drive list says
  // it is looking, typing goes in and Config is refused at once with its
  // reason; the typed title outlives the discovery.
  void aSlowDriveNeverEmptiesTheWindow() {
    VirtualDriveConfig config = DriveWith("label");
    config.latencyMs = 1500;
    MainRig rig(config);
    QElapsedTimer clock;
    clock.start();
    rig.window->show();
    QTRY_VERIFY_WITH_TIMEOUT(rig.window->LayoutsShown(), 1000);
    QVERIFY2(clock.elapsed() < config.latencyMs, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(rig.window->LayoutList()->count(), 2);
    QVERIFY(!rig.window->Preview()->Preview().isNull());
    QCOMPARE(rig.window->DriveList()->currentText(), QString("Looking for drives\u2026"));
    QVERIFY(!rig.window->Opened());
    QTest::keyClicks(rig.window->TitleEdit(), "abc");
    QTest::mouseClick(rig.window->ConfigButton(), Qt::LeftButton);
    QVERIFY(!qobject_cast<ui::CELTitleConfig*>(QApplication::activeModalWidget()));  // none waits
    QVERIFY(rig.window->StatusLine()->isVisible());
    QVERIFY(rig.window->StatusLine()->text().startsWith("Still looking for drives"));
    QVERIFY2(clock.elapsed() < config.latencyMs, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY_WITH_TIMEOUT(rig.window->Opened(), 60000);
    QVERIFY(rig.window->DriveList()->currentText().contains("TWRVIRT"));
    QCOMPARE(rig.window->TitleEdit()->text(), QString("abc"));
    QCOMPARE(rig.layout->Title, std::string("abc"));
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
    // Synthetic keys need a seat with a keyboard on Wayland, which weston's
    // headless back end has not: there the text goes in as an edit's text.
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
      rig.window->TitleEdit()->setText(QStringLiteral("Etched"));
    else
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
