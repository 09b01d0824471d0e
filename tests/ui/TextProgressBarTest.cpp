// The text progress bar: what makes it redraw and what it draws.
#include <QImage>
#include <QTest>

#include "ui/TextProgressBar.h"
#include "ui/UiTestMain.h"

namespace twr::test {

class TextProgressBarTest : public QObject {
  Q_OBJECT

 private slots:
  // Redraws only when the split moves by a whole pixel, the text or its
  // display changes, or the size changed; an empty range draws nothing.
  void redrawsOnlyWhatChanged() {
    ui::TextProgressBar bar;
    bar.resize(200, 24);
    bar.SetRange(0, 1000);  // 5 units per pixel
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QCoreApplication::processEvents();
    const auto paintsAfter = [&](auto action) {
      const int before = bar.PaintCount();
      action();
      return bar.PaintCount() - before;
    };
    QCOMPARE(paintsAfter([&] { bar.SetPos(10); }), 1);
    QCOMPARE(paintsAfter([&] { bar.SetPos(10); }), 0);  // same position
    QCOMPARE(paintsAfter([&] { bar.SetPos(12); }), 0);  // less than a pixel
    QCOMPARE(paintsAfter([&] { bar.SetPos(15); }), 1);
    QCOMPARE(bar.LastSplit(), 3);
    QCOMPARE(paintsAfter([&] { bar.StepIt(); }), 0);  // 16: still 3 pixels
    QCOMPARE(bar.SetStep(5), 1);
    QCOMPARE(paintsAfter([&] { bar.StepIt(); }), 1);  // 21: 4 pixels
    QCOMPARE(bar.Pos(), 21);
    QCOMPARE(paintsAfter([&] { bar.SetText("03:30"); }), 1);
    QCOMPARE(paintsAfter([&] { bar.SetText("03:30"); }), 0);
    QCOMPARE(paintsAfter([&] { bar.SetShowText(true); }), 0);  // already on
    QCOMPARE(paintsAfter([&] { bar.SetShowText(false); }), 1);
    char text[4];
    QCOMPARE(bar.GetText(text, sizeof text), std::size_t(3));
    QCOMPARE(QByteArray(text), QByteArray("03:"));

    bar.resize(300, 24);
    QCoreApplication::processEvents();
    QCOMPARE(bar.LastSplit(), -1);
    QCOMPARE(paintsAfter([&] { bar.SetPos(21); }), 1);  // same position, new size

    const int draws = bar.DrawCount();
    bar.SetRange(7, 7);
    bar.repaint();
    QCOMPARE(bar.DrawCount(), draws);  // painted, but nothing drawn
    QCOMPARE(paintsAfter([&] { bar.SetPos(500); }), 1);
    QCOMPARE(bar.DrawCount(), draws);
  }

  // Where the bar's edge crosses the text, each side keeps its colour pair:
  // light text on the bar, bar-coloured text on the empty part.
  void textStaysReadableAcrossTheEdge() {
    ui::TextProgressBar bar;
    bar.resize(240, 30);
    bar.SetRange(0, 100);
    bar.SetShowText(true);
    bar.SetText("WWWWWWWWWWWW");
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    bar.SetPos(50);
    const QImage image = bar.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(ScreenshotPath("progress-bar-two-colours.png"));
    const QColor barColour = bar.palette().color(QPalette::Highlight);
    const QColor empty = bar.palette().color(QPalette::Base);
    const int split = bar.LastSplit() * image.width() / bar.width();
    // Glyph edges are smoothed, so the text shows as pixels far lighter than
    // the bar on the filled part and far darker than the empty part beyond it.
    int lightOnBar = 0, barOnEmpty = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (x < split - 1 && c.lightness() > barColour.lightness() + 60) ++lightOnBar;
        if (x > split + 1 && c.lightness() < empty.lightness() - 60 && c.blue() > c.red())
          ++barOnEmpty;
      }
    }
    QVERIFY(lightOnBar > 20);
    QVERIFY(barOnEmpty > 20);
    // The background left and right of the text is plain.
    QCOMPARE(image.pixelColor(1, 1), barColour);
    QCOMPARE(image.pixelColor(image.width() - 2, 1), empty);
  }
};

TWR_UI_TEST(TextProgressBarTest)

}  // namespace twr::test

#include "TextProgressBarTest.moc"
