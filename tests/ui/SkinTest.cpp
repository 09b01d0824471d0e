// The skin: every picture is carried at its size and renders sharp at 2x;
// the background under each static text is its dialog's brush; a skinned
// button's pictures, keys and name; message boxes in the skin's look; a
// disabled check box that looks disabled.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

#include "ui/CELTitleConfig.h"
#include "ui/GuiMessages.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/SkinnedMessageBox.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/TitleConfigModel.h"

namespace twr::test {

class SkinTest : public QObject {
  Q_OBJECT

 private slots:
  void picturesAreCarriedAndSharp() {
    const std::vector<std::pair<const char*, QSize>> pictures = {
        {"bg151", {682, 488}},          {"bg156", {360, 281}},
        {"bg161", {360, 281}},          {"bg158", {242, 210}},
        {"IDB_BBTNOKU", {64, 64}},      {"IDB_BBTNDRAWX", {64, 64}},
        {"IDB_BBTNEXITD", {100, 28}},   {"IDB_BBTNSCANU", {100, 28}},
        {"IDB_BBTNCONFU", {100, 28}},   {"IDB_BBTNCONFOKD", {100, 28}},
        {"IDB_BBTNCONFNGU", {100, 28}}, {"IDB_BBTNDREXITU", {100, 28}}};
    for (const auto& [name, size] : pictures) {
      QVERIFY2(ui::HasSkinPicture(name), name);
      const QPixmap one = ui::SkinPicture(name, 1.0);
      const QPixmap two = ui::SkinPicture(name, 2.0);
      QCOMPARE(one.size(), size);
      QCOMPARE(two.size(), size * 2);
      QCOMPARE(two.deviceIndependentSize(), QSizeF(size));
    }
  }

  // The transparent statics blend into the picture: under each one the
  // picture is exactly the dialog's brush.
  void brushLiesUnderEveryStatic_data() {
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QColor>("brush");
    QTest::newRow("main: font") << "bg151" << ui::DialogRect(369, 202, 68, 9) << ui::kMainBrush;
    QTest::newRow("main: burning area")
        << "bg151" << ui::DialogRect(369, 213, 68, 9) << ui::kMainBrush;
    QTest::newRow("main: required time")
        << "bg151" << ui::DialogRect(369, 224, 68, 9) << ui::kMainBrush;
    QTest::newRow("burn: time label") << "bg156" << ui::DialogRect(15, 92, 51, 8) << ui::kBurnBrush;
    QTest::newRow("burn: time") << "bg156" << ui::DialogRect(75, 92, 42, 8) << ui::kBurnBrush;
    QTest::newRow("data side: time") << "bg161" << ui::DialogRect(75, 92, 42, 8) << ui::kBurnBrush;
    QTest::newRow("config: check box")
        << "bg158" << ui::DialogRect(21, 85, 86, 12) << ui::kConfigBrush;
  }

  void brushLiesUnderEveryStatic() {
    QFETCH(QString, picture);
    QFETCH(QRect, area);
    QFETCH(QColor, brush);
    const QImage image = ui::SkinPicture(picture, 1.0).toImage();
    int differing = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        differing += image.pixelColor(x, y).rgb() != brush.rgb();
    QCOMPARE(differing, 0);
  }

  void buttonShowsItsPicturesAndTakesKeys() {
    ui::SkinnedButton draw("IDB_BBTNDRAWU", "IDB_BBTNDRAWD", "IDB_BBTNDRAWX", "Draw");
    ui::SkinnedButton exit("IDB_BBTNDREXITU", "IDB_BBTNDREXITD", QString(), "Exit");
    QCOMPARE(draw.size(), QSize(64, 64));
    QCOMPARE(exit.size(), QSize(100, 28));
    QCOMPARE(draw.accessibleName(), QString("Draw"));
    draw.setEnabled(false);
    exit.setEnabled(false);
    QCOMPARE(draw.ShownPicture(), QString("IDB_BBTNDRAWX"));
    QCOMPARE(exit.ShownPicture(), QString("IDB_BBTNDREXITU"));  // no disabled picture
    exit.setEnabled(true);
    exit.setDown(true);
    QCOMPARE(exit.ShownPicture(), QString("IDB_BBTNDREXITD"));
    exit.setDown(false);

    QSignalSpy clicks(&exit, &QAbstractButton::clicked);
    exit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&exit));
    exit.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&exit, Qt::Key_Space);
    QTest::keyClick(&exit, Qt::Key_Return);
    QTRY_COMPARE(clicks.count(), 2);
  }

  // A message from the core comes as a box in the skin: its own icon, the
  // text and its detail, buttons drawn on the skin's face with no toolkit
  // push buttons and no button icons; a question starts at No, Escape
  // answers No and Alt+Y Yes.
  void messageBoxesInTheSkin() {
    ui::GuiMessages messages;  // no responder: real boxes
    QStringList seen;
    QList<std::function<void(ui::SkinnedMessageBox&)>> steps = {
        [&](ui::SkinnedMessageBox& box) {
          QCOMPARE(box.Icon(), MessageIcon::Error);
          QCOMPARE(box.TextLabel()->text(), QString("Input correct burning area."));
          QVERIFY(box.DetailLabel());
          QCOMPARE(box.DetailLabel()->text(), QString("Outer radius 59 mm: at most 58 mm."));
          QVERIFY(!box.NoButton());
          QVERIFY(box.AcceptButton()->IsDefault());
          box.grab().save(ScreenshotPath("message-box.png"));
          QTest::keyClick(&box, Qt::Key_Return);
        },
        [&](ui::SkinnedMessageBox& box) {
          QVERIFY(!box.DetailLabel());
          QVERIFY(box.NoButton()->IsDefault());
          QTRY_VERIFY(box.NoButton()->hasFocus());
          box.grab().save(ScreenshotPath("message-box-question.png"));
          QTest::keyClick(&box, Qt::Key_Escape);
        },
        [&](ui::SkinnedMessageBox& box) { QTest::keyClick(&box, Qt::Key_Y, Qt::AltModifier); },
    };
    QTimer poke;
    poke.setInterval(20);
    QPointer<ui::SkinnedMessageBox> handled;
    QObject::connect(&poke, &QTimer::timeout, [&] {
      auto* box = qobject_cast<ui::SkinnedMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      if (box == handled || steps.isEmpty()) {
        // A box the step did not close (a failed check): closed with No.
        if (QTest::currentTestFailed()) box->reject();
        return;
      }
      handled = box;
      QVERIFY(box->findChildren<QPushButton*>().isEmpty());
      for (auto* button : box->findChildren<QAbstractButton*>()) {
        QVERIFY(qobject_cast<ui::SkinnedTextButton*>(button));
        QVERIFY(button->icon().isNull());
      }
      seen << box->windowTitle();
      steps.takeFirst()(*box);
    });
    poke.start();
    messages.ShowDetailed("Input correct burning area.", "Outer radius 59 mm: at most 58 mm.",
                          MessageIcon::Error);
    const bool first = messages.AskYesNo("Disc is blank. You must not write data afterwards.",
                                         MessageIcon::Information);
    const bool second = messages.AskYesNo("Disc is blank. You must not write data afterwards.",
                                          MessageIcon::Information);
    poke.stop();
    QVERIFY(!first);
    QVERIFY(second);
    QCOMPARE(seen, QStringList({"Titlewright", "Titlewright", "Titlewright"}));
  }

  // The Rimtone check box, offered only for a DVD±R: disabled, its words
  // are clearly lighter than when it is enabled (it still shows the mode).
  void aDisabledCheckBoxLooksDisabled() {
    const std::vector<std::string> fonts = {"DejaVu Sans"};
    const auto darkest = [&](const char* disc, bool checked) {
      test::UiRig rig(test::DriveWith(disc));
      ui::TitleConfigModel model;
      ui::CELTitleConfig dialog(model, {checked, 25.0, 58.0, "DejaVu Sans"}, *rig.device,
                                rig.messages, nullptr, &fonts);
      dialog.show();
      if (!QTest::qWaitForWindowExposed(&dialog)) return -1;
      QCheckBox* box = dialog.RimtoneBox();
      if (box->isChecked() != checked) return -2;
      dialog.grab().save(ScreenshotPath(
          QStringLiteral("config-rimtone-%1.png").arg(box->isEnabled() ? "enabled" : "disabled")));
      // The words, right of the box.
      const QImage image = box->grab().toImage();
      int least = 255;
      for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() / 4; x < image.width(); ++x)
          least = std::min(least, qGray(image.pixel(x, y)));
      return least;
    };
    const int enabled = darkest("dvd-r", false);
    const int disabled = darkest("label", true);
    QVERIFY2(enabled >= 0 && disabled >= 0, "dialog not shown");
    QVERIFY2(enabled < 90, qPrintable(QString::number(enabled)));
    QVERIFY2(disabled > 110, qPrintable(QString::number(disabled)));
  }
};

TWR_UI_TEST(SkinTest)

}  // namespace twr::test

#include "SkinTest.moc"
