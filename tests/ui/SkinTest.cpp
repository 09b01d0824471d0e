// The skin: every picture is carried at its size and renders sharp at 2x;
// the background under each static text is its dialog's brush; a skinned
// button's pictures, keys and name.
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/UiTestMain.h"

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
};

TWR_UI_TEST(SkinTest)

}  // namespace twr::test

#include "SkinTest.moc"
