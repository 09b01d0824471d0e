// The configuration dialog: the burning-area check, the Rimtone raise of the
// inner radius, number reading in any locale, the font list, and Cancel;
// what a refusal says on its second line and where it leaves the caret.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "drive/DiscGeometry.h"
#include "label/FontFamilies.h"
#include "ui/CELTitleConfig.h"
#include "ui/SkinnedButton.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/TitleConfigModel.h"

namespace twr::test {

namespace {

const std::vector<std::string> kFonts = {"DejaVu Sans", "Liberation Sans", "Liberation Serif"};

}  // namespace

class ConfigDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void burningAreaCheck_data() {
    QTest::addColumn<QString>("disc");
    QTest::addColumn<bool>("rimtone");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QString>("outer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("25 to 58") << "label" << false << "25"
                              << "58" << true;
    QTest::newRow("inner 24.9") << "label" << false << "24.9"
                                << "58" << false;
    QTest::newRow("outer 58.1") << "label" << false << "25"
                                << "58.1" << false;
    QTest::newRow("equal radii") << "label" << false << "40"
                                 << "40" << false;
    QTest::newRow("comma as separator") << "label" << false << "36,1"
                                        << "57,5" << true;
    // The drive's limits hold in Rimtone mode too, whatever the disc.
    QTest::newRow("Rimtone, no recorded radius") << "label" << true << "10"
                                                 << "20" << false;
    QTest::newRow("Rimtone inside the data") << "dvd+r" << true << "29"
                                             << "58" << false;
    // Beyond the recorded data but inside a complete DVD+R's data limit:
    // the disc check would refuse it, so the dialog does.
    QTest::newRow("Rimtone inside the data limit") << "dvd+r" << true << "30"
                                                   << "58" << false;
    QTest::newRow("Rimtone at the data limit") << "dvd+r" << true << "31"
                                               << "58" << true;
  }

  void burningAreaCheck() {
    QFETCH(QString, disc);
    QFETCH(bool, rimtone);
    QFETCH(QString, inner);
    QFETCH(QString, outer);
    QFETCH(bool, accepted);
    VirtualDriveConfig config = DriveWith(disc.toStdString());
    config.recordedBlocks = BlocksReportedEndingAt(29.5);
    UiRig rig(config);
    ui::TitleConfigModel model;
    model.Begin({false, 25.0, 58.0, "DejaVu Sans"}, kFonts, *rig.device);
    QVERIFY(model.ReadControls(rimtone, outer.toStdString(), inner.toStdString(), 0, rig.messages));
    QCOMPARE(model.Accept(*rig.device, rig.messages), accepted);
    const auto texts = rig.Texts();
    QCOMPARE(texts.empty(), accepted);
    if (!accepted) {
      QCOMPARE(texts.back(), std::string("Input correct burning area."));
      QVERIFY(!model.Rimtone() || !rimtone);  // nothing confirmed
    } else {
      QCOMPARE(model.Confirmed().rimtone, rimtone);
    }
  }

  void rimtoneRaisesTheInnerRadius_data() {
    QTest::addColumn<QString>("disc");
    QTest::addColumn<QString>("status");
    QTest::addColumn<double>("recorded");
    QTest::addColumn<QString>("innerAfter");
    QTest::newRow("DVD+R, data to 29.5") << "dvd+r"
                                         << "complete" << 29.5 << "31";
    QTest::newRow("DVD-R, data to 38.0") << "dvd-r"
                                         << "complete" << 38.0 << "38.1";
    QTest::newRow("DVD+R, data to 44.2") << "dvd+r"
                                         << "complete" << 44.2 << "44.3";
    QTest::newRow("unfinished DVD+R") << "dvd+r"
                                      << "incomplete" << 40.0 << "25";
  }

  void rimtoneRaisesTheInnerRadius() {
    QFETCH(QString, disc);
    QFETCH(QString, status);
    QFETCH(double, recorded);
    QFETCH(QString, innerAfter);
    VirtualDriveConfig config = DriveWith(disc.toStdString(), "", status.toStdString());
    config.recordedBlocks = BlocksReportedEndingAt(recorded);
    UiRig rig(config);
    if (status == "complete") QCOMPARE(rig.device->GetRecordedOuterRadius(), recorded);
    ui::TitleConfigModel model;
    ui::CELTitleConfig dialog(model, {false, 25.0, 58.0, "Liberation Sans"}, *rig.device,
                              rig.messages, nullptr, &kFonts);
    QVERIFY(dialog.RimtoneBox()->isEnabled());
    QCOMPARE(dialog.InnerEdit()->text(), QString("25"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.RimtoneBox(), Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(dialog.RimtoneBox()->isChecked());
    QCOMPARE(dialog.InnerEdit()->text(), innerAfter);
    QCOMPARE(dialog.OuterEdit()->text(), QString("58"));
    if (QString(QTest::currentDataTag()).startsWith("DVD+R, data to 29.5"))
      dialog.grab().save(ScreenshotPath("config-dialog-rimtone.png"));
    // Switching the mode off changes no radius.
    QTest::mouseClick(dialog.RimtoneBox(), Qt::LeftButton, {}, QPoint(8, 10));
    QCOMPARE(dialog.InnerEdit()->text(), innerAfter);
  }

  // Toggling the mode and pressing Cancel leaves every reader's mode as it
  // was; a typed radius that is no number is refused with its message.
  void cancelChangesNothing() {
    UiRig rig(DriveWith("dvd-r"));
    ui::TitleConfigModel model;
    ui::CELTitleConfig dialog(model, {false, 36.0, 58.0, "Not Installed"}, *rig.device,
                              rig.messages, nullptr, &kFonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.FontList()->currentIndex(), 0);  // missing font: entry 0
    dialog.grab().save(ScreenshotPath("config-dialog.png"));
    QTest::mouseClick(dialog.RimtoneBox(), Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(dialog.RimtoneBox()->isChecked());
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!model.Rimtone());
    QCOMPARE(model.Confirmed().font, std::string("Not Installed"));

    // A radius that is no number keeps the dialog open at that edit.
    ui::CELTitleConfig again(model, model.Confirmed(), *rig.device, rig.messages, nullptr, &kFonts);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    again.InnerEdit()->setText("thirty");
    again.OuterEdit()->setText("57.5");
    QTest::mouseClick(again.OkButton(), Qt::LeftButton);
    QVERIFY(rig.Texts().back() == "Please enter a number.");
    QVERIFY(again.isVisible());
    QVERIFY(again.InnerEdit()->hasFocus());
    QCOMPARE(model.Confirmed().outer, 58.0);  // nothing confirmed
    again.InnerEdit()->setText("36,5");
    QTest::mouseClick(again.OkButton(), Qt::LeftButton);
    QCOMPARE(again.result(), int(QDialog::Accepted));
    QCOMPARE(model.Confirmed().outer, 57.5);
    QCOMPARE(model.Confirmed().inner, 36.5);
    QCOMPARE(model.Confirmed().font, std::string("DejaVu Sans"));  // OK takes entry 0
  }

  // A refused OK keeps its message and says on a second line which radius
  // and what it allows; the caret goes to that radius.
  void refusalsNameTheFieldAndItsRange_data() {
    QTest::addColumn<QString>("disc");
    QTest::addColumn<bool>("rimtone");
    QTest::addColumn<QString>("inner");
    QTest::addColumn<QString>("outer");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("focus");
    const QString number = "Please enter a number.";
    const QString area = "Input correct burning area.";
    QTest::newRow("inner no number")
        << "label" << false << "thirty"
        << "57.5" << number
        << "Inner radius: a number of millimetres, at least 25 and below the outer radius."
        << "1016";
    QTest::newRow("outer no number")
        << "label" << false << "30"
        << "" << number
        << "Outer radius: a number of millimetres, above the inner radius and at most 58."
        << "1017";
    QTest::newRow("inner no number, Rimtone")
        << "dvd+r" << true << "x"
        << "58" << number
        << "Inner radius: a number of millimetres, beyond the disc's recorded data and below the "
           "outer radius."
        << "1016";
    QTest::newRow("inner 24.9")
        << "label" << false << "24.9"
        << "58" << area
        << "Inner radius 24.9 mm: allowed from 25 mm to below the outer radius (58 mm)."
        << "1016";
    QTest::newRow("outer 58.1")
        << "label" << false << "25"
        << "58,1" << area
        << "Outer radius 58.1 mm: allowed above the inner radius (25 mm) and at most 58 mm."
        << "1017";
    QTest::newRow("equal radii")
        << "label" << false << "40"
        << "40" << area
        << "Inner radius 40 mm: allowed from 25 mm to below the outer radius (40 mm)."
        << "1016";
    QTest::newRow("Rimtone inside the data")
        << "dvd+r" << true << "29"
        << "58" << area
        << "Inner radius 29 mm: allowed from 31 mm (where the disc's data area ends) to below the "
           "outer radius (58 mm)."
        << "1016";
  }

  void refusalsNameTheFieldAndItsRange() {
    QFETCH(QString, disc);
    QFETCH(bool, rimtone);
    QFETCH(QString, inner);
    QFETCH(QString, outer);
    QFETCH(QString, text);
    QFETCH(QString, detail);
    QFETCH(QString, focus);
    VirtualDriveConfig config = DriveWith(disc.toStdString());
    config.recordedBlocks = BlocksReportedEndingAt(29.5);
    UiRig rig(config);
    ui::TitleConfigModel model;
    ui::CELTitleConfig dialog(model, {false, 25.0, 58.0, "DejaVu Sans"}, *rig.device, rig.messages,
                              nullptr, &kFonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.RimtoneBox()->setChecked(rimtone);
    dialog.InnerEdit()->setText(inner);
    dialog.OuterEdit()->setText(outer);
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    const auto history = rig.messages.History();
    QCOMPARE(history.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(history.back().text), text);
    QCOMPARE(QString::fromStdString(history.back().detail), detail);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QVERIFY(!model.Confirmed().rimtone && model.Confirmed().outer == 58.0);  // nothing confirmed
  }

  void fontListAndNumbers() {
    QCOMPARE(FontListFromFamilies({"Serif B", "sans a", "@Vertical", "Serif B", "Mono"}),
             (std::vector<std::string>{"Mono", "sans a", "Serif B"}));
    for (const std::string& family : TrueTypeFamilies()) QVERIFY(family.front() != '@');
    double v = 0;
    for (const auto& [text, value] : std::vector<std::pair<const char*, double>>{
             {"36,1", 36.1}, {" 25 ", 25.0}, {"+58", 58.0}, {"1e1", 10.0}, {"-3.5", -3.5}}) {
      QVERIFY2(ui::ParseRadius(text, v), text);
      QCOMPARE(v, value);
    }
    for (const char* bad : {"", "abc", "1.2.3", "inf", "nan", "25mm", "0x10", "3,5,1"})
      QVERIFY2(!ui::ParseRadius(bad, v), bad);
    QCOMPARE(ui::FormatRadius(25.0), std::string("25"));
    QCOMPARE(ui::FormatRadius(36.1), std::string("36.1"));
    QCOMPARE(ui::FormatRadius(40.3), std::string("40.3"));
  }
};

TWR_UI_TEST(ConfigDialogTest)

}  // namespace twr::test

#include "ConfigDialogTest.moc"
