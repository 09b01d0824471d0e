// The layout designer's window on the off-screen platform: a field refuses
// a value outside its limits with the reason, a drag and the arrow keys move
// the box, closing with changes asks Save / Discard / Cancel; the main
// window opens the designer with Ctrl+E and its Design button, and its
// layout list and preview follow a save at once.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <fstream>
#include <iterator>

#include "label/CELLayout.h"
#include "ui/CELMainDlg.h"
#include "ui/DesignerCanvas.h"
#include "ui/DesignerProperties.h"
#include "ui/LayoutDesigner.h"
#include "ui/UiTestMain.h"
#include "ui/UiTestSupport.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TitleConfigModel.h"

namespace twr::test {

namespace {

constexpr const char* kLayouts =
    "[Config]\nLayoutNum=2\nFont=Liberation Sans\n"
    "[Layout00]\nName=First\nBaseLength=800\nBgColor=235\nTxColor=20\n"
    "TitleWidth=400\nTitleHeight=80\nTitlePosX=200\nTitlePosY=120\n"
    "RingType=1\nRingLength=4\n"
    "[Layout01]\nName=Second\nBaseLength=800\nBgColor=200\n";

std::string ReadFile(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class DesignerWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void fieldsCanvasAndClosing() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("twr.ini");
    std::ofstream(ini.toStdString()) << kLayouts;
    ui::LayoutDesigner designer;
    std::vector<ui::LayoutDesigner::Prompt> asked;
    int answer = QMessageBox::Cancel;
    designer.SetPrompter([&](const ui::LayoutDesigner::Prompt& p) {
      asked.push_back(p);
      return answer;
    });
    QVERIFY(designer.OpenSettings(ini.toStdString(), 0, "Sample", "", {}, "Liberation Sans"));
    designer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&designer));
    QCOMPARE(designer.windowHandle()->title(), QString("Layout Designer"));
    ui::LayoutDesignerModel& model = designer.Model();

    // 200 mm is wider than the label: refused on the field, nothing changes.
    QLineEdit* width = designer.Properties()->Field("TitleWidth");
    QVERIFY(width);
    width->setFocus();
    width->selectAll();
    QTest::keyClicks(width, "200");
    QTest::keyClick(width, Qt::Key_Return);
    QCOMPARE(designer.Properties()->Refusal()->text(),
             QString("Width must be 0.00 to 116.00 mm (TitleWidth 0 to 800 label pixels)."));
    QVERIFY(!width->styleSheet().isEmpty());
    QCOMPARE(model.UndoStack().count(), 0);
    width->selectAll();
    QTest::keyClicks(width, "50");
    QTest::keyClick(width, Qt::Key_Return);
    QCOMPARE(designer.Properties()->Refusal()->text(), QString());
    QCOMPARE(model.Layout().Title.Width, 345);  // 50 mm of 116 at 800 pixels
    QVERIFY(designer.isWindowModified());

    // A drag on the disc, then Shift+Right: ten label pixels more.
    ui::DesignerCanvas* canvas = designer.Canvas();
    const QPoint from = canvas->ToWidget(QPointF(220, 150)).toPoint();
    const QPoint to = from + QPoint(30, 40);
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, from + QPoint(15, 20));
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    QCOMPARE(model.UndoStack().count(), 2);
    const int x = model.Layout().Title.PosX;
    QVERIFY2(x > 200, qPrintable(QString::number(x)));
    QTest::keyClick(canvas, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(model.Layout().Title.PosX, x + 10);
    QTRY_VERIFY(canvas->FullRenders() > 0);  // the label at rest
    designer.grab().save(ScreenshotPath("layout-designer.png"));

    // Closing with changes asks; Cancel keeps the window, Discard closes it
    // and leaves the file as it was.
    QVERIFY(!designer.close());
    QCOMPARE(asked.size(), std::size_t(1));
    QCOMPARE(asked[0].buttons, int(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel));
    QVERIFY(designer.isVisible());
    answer = QMessageBox::Discard;
    QVERIFY(designer.close());
    QCOMPARE(ReadFile(ini), std::string(kLayouts));

    // Opened again: the file as it is; Save on closing writes the change.
    QVERIFY(designer.OpenSettings(ini.toStdString(), 1, "", "", {}, "Liberation Sans"));
    designer.show();
    QCOMPARE(model.Current(), 1);
    QCOMPARE(model.RenameLayout("Second, renamed"), std::string());
    answer = QMessageBox::Save;
    QSignalSpy saved(&designer, &ui::LayoutDesigner::LayoutsSaved);
    QVERIFY(designer.close());
    QCOMPARE(saved.count(), 1);
    QVERIFY(ReadFile(ini).find("Name=Second, renamed\n") != std::string::npos);
  }

  void openedFromTheMainWindowWhichFollowsASave() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("twr.ini");
    std::ofstream(ini.toStdString()) << kLayouts;
    UiRig drive(DriveWith("label"));
    CELLayout layout(ini.toStdString());
    ui::BurnSession burn(*drive.device, drive.messages);
    ui::TitleConfigModel config;
    ui::MainWindowModel model(layout, *drive.device, burn, config, drive.messages);
    ui::CELMainDlg window(model, config, burn, *drive.device, drive.messages);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitFor([&] { return window.Opened(); }));

    // Ctrl+E with the cursor in the title: the designer, with that title.
    QTest::keyClicks(window.TitleEdit(), "Typed title");
    QTest::keyClick(window.TitleEdit(), Qt::Key_E, Qt::ControlModifier);
    ui::LayoutDesigner* designer = window.Designer();
    QVERIFY(designer);
    QTRY_VERIFY(designer->isVisible());
    QCOMPARE(designer->Model().SampleTitle(), std::string("Typed title"));
    QCOMPARE(window.TitleEdit()->cursorPosition(), 11);

    // A save: the main window's list and preview follow at once.
    const QImage before = window.Preview()->Preview();
    QCOMPARE(designer->Model().RenameLayout("First, renamed"), std::string());
    QCOMPARE(designer->Model().SetValue("BgColor", "90"), std::string());
    QVERIFY(designer->Save());
    QCOMPARE(window.LayoutList()->itemText(0), QString("First, renamed"));
    QVERIFY(window.Preview()->Preview() != before);
    QVERIFY(designer->close());

    // The Design button on the preview opens it again.
    QVERIFY(window.DesignButton()->isVisible());
    QTest::mouseClick(window.DesignButton(), Qt::LeftButton);
    QTRY_VERIFY(designer->isVisible());
    QVERIFY(designer->close());
  }
};

TWR_UI_TEST(DesignerWindowTest)

}  // namespace twr::test

#include "DesignerWindowTest.moc"
