// The skin: every picture is carried at its size and renders sharp at 2x;
// the background under each static text is its dialog's brush; a skinned
// button's pictures, keys and name; the pictures' words in the user's
// language; message boxes in the skin's look; a disabled check box that
// looks disabled.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <functional>

#include "i18n/Languages.h"
#include "i18n/Translations.h"
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

  // The words of the pictures in the user's language. With no translation
  // every picture, and every face with its button's English caption, is
  // drawn exactly as its SVG. In German each face shows its button's
  // caption, icon and words centred as one group, the words inside the face
  // and clear of the icon, the rule under the caption's mnemonic letter; the
  // backgrounds' words stay clear of what stands beside them.
  void wordsInTheUsersLanguage() {
    // A picture as the SVG renderer draws it, from its file or its bytes.
    const auto draw = [](QSvgRenderer& renderer, QSize size) {
      QImage image(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
      return image;
    };
    const auto render = [&](const QByteArray& svg, QSize size) {
      QSvgRenderer renderer(svg);
      return draw(renderer, size);
    };
    const auto renderFile = [&](const QString& name) {
      QSvgRenderer renderer(QStringLiteral(":/skin/") + name);
      return draw(renderer, ui::SkinPictureSize(name));
    };
    // The box of the pixels an SVG draws with these elements that it does
    // not draw without them.
    const auto inkOf = [&](const QByteArray& svg, const QString& elements, QSize size) {
      QString without = QString::fromUtf8(svg);
      without.remove(QRegularExpression(elements));
      const QImage with = render(svg, size);
      const QImage bare = render(without.toUtf8(), size);
      QRect box;
      for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
          if (with.pixel(x, y) != bare.pixel(x, y)) box |= QRect(x, y, 1, 1);
      return box;
    };

    struct Face {
      const char* picture;
      const char* context;
      const char* caption;
    };
    const std::vector<Face> faces = {
        {"IDB_BBTNOKU", "twr::ui::CELMainDlg", "&Burn"},
        {"IDB_BBTNOKD", "twr::ui::CELMainDlg", "&Burn"},
        {"IDB_BBTNSCANU", "twr::ui::CELMainDlg", "&Scan"},
        {"IDB_BBTNSCAND", "twr::ui::CELMainDlg", "&Scan"},
        {"IDB_BBTNCONFU", "twr::ui::CELMainDlg", "&Config"},
        {"IDB_BBTNCONFD", "twr::ui::CELMainDlg", "&Config"},
        {"IDB_BBTNEXITU", "twr::ui::CELMainDlg", "E&xit"},
        {"IDB_BBTNEXITD", "twr::ui::CELMainDlg", "E&xit"},
        {"IDB_BBTNDRAWU", "twr::ui::CELDraw", "&Draw"},
        {"IDB_BBTNDRAWD", "twr::ui::CELDraw", "&Draw"},
        {"IDB_BBTNDRAWX", "twr::ui::CELDraw", "&Draw"},
        {"IDB_BBTNDREXITU", "twr::ui::CELDraw", "E&xit"},
        {"IDB_BBTNDREXITD", "twr::ui::CELDraw", "E&xit"},
        {"IDB_BBTNCONFOKU", "twr::ui::CELTitleConfig", "OK"},
        {"IDB_BBTNCONFOKD", "twr::ui::CELTitleConfig", "OK"},
        {"IDB_BBTNCONFNGU", "twr::ui::CELTitleConfig", "Cancel"},
        {"IDB_BBTNCONFNGD", "twr::ui::CELTitleConfig", "Cancel"},
    };
    // Pictures the windows of earlier tests drew, under their fonts, are
    // drawn afresh for the comparison with the files.
    QPixmapCache::clear();
    for (const char* background : {"bg151", "bg156", "bg161", "bg158"}) {
      QFile file(QStringLiteral(":/skin/") + background);
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QByteArray plain = file.readAll();
      QCOMPARE(ui::SkinSvg(background), plain);
      QVERIFY2(ui::SkinPicture(background, 1.0).toImage() == renderFile(background), background);
    }
    for (const Face& face : faces) {
      const QImage drawn = renderFile(face.picture);
      QVERIFY2(ui::SkinPicture(face.picture, 1.0).toImage() == drawn, face.picture);
      QVERIFY2(ui::SkinFaceLayout(face.picture, face.caption).asDrawn, face.picture);
      QVERIFY2(ui::SkinFace(face.picture, face.caption, 1.0).toImage() == drawn, face.picture);
    }

    i18n::ProgramTranslations translations(
        i18n::MessageLanguages([](const char* name) -> const char* {
          return std::strcmp(name, "LANG") == 0 ? "de_DE.UTF-8" : nullptr;
        }));
    translations.InstallInto(*QCoreApplication::instance());
    for (const Face& face : faces) {
      const QString caption = QCoreApplication::translate(face.context, face.caption);
      const QByteArray name = QStringLiteral("%1 %2").arg(face.picture, caption).toUtf8();
      const char* row = name.constData();
      const ui::FaceLayout layout = ui::SkinFaceLayout(face.picture, caption);
      const QString words = QString(caption).remove(QLatin1Char('&'));
      QVERIFY2(layout.asDrawn == (caption == QLatin1String(face.caption)), row);
      QVERIFY2(layout.shown == words || (layout.shown.endsWith(QChar(0x2026)) &&
                                         words.startsWith(layout.shown.chopped(1))),
               row);
      QVERIFY2(layout.pixels >= 9 && layout.pixels <= 12, row);
      QVERIFY2(
          layout.word.left() >= layout.room.left() && layout.word.right() <= layout.room.right(),
          row);
      if (!layout.icon.isEmpty()) {
        QVERIFY2(layout.icon.right() < layout.word.left(), row);
        // The group is centred on the face (widened for a long caption,
        // which then stands at the size of the others).
        QVERIFY2(std::abs(layout.icon.left() + layout.word.right() - layout.faceWidth) <= 1.0, row);
        if (layout.faceWidth > ui::SkinPictureSize(face.picture).width())
          QVERIFY2(layout.pixels == 12 && layout.shown == words, row);
      }
      if (face.picture == QLatin1String("IDB_BBTNCONFU")) QVERIFY2(layout.pixels == 12, row);
      const int mnemonic = caption.indexOf(QLatin1Char('&'));
      QCOMPARE(layout.underline.isEmpty(), mnemonic < 0);

      // What is drawn: the words inside their box, the rule under their
      // mnemonic letter, nothing over the icon.
      const QSize size(static_cast<int>(std::ceil(layout.faceWidth)),
                       ui::SkinPictureSize(face.picture).height());
      const QByteArray svg = ui::SkinSvg(face.picture, caption);
      QVERIFY2(svg.contains(">" + layout.shown.toHtmlEscaped().toUtf8() + "</text>"), row);
      const QRect ink = inkOf(svg, QStringLiteral("<text[^>]*>[^<]*</text>"), size);
      QVERIFY2(!ink.isEmpty(), row);
      QVERIFY2(layout.word.adjusted(-1, -1, 1, 1).contains(QRectF(ink)), row);
      QVERIFY2(!QRectF(ink).intersects(layout.icon), row);
      if (mnemonic >= 0) {
        const QRect rule = inkOf(
            svg, QStringLiteral("\\s*<!-- the mnemonic's underline -->\\s*<rect [^>]*/>"), size);
        QVERIFY2(layout.underline.adjusted(-1, 0, 1, 0).contains(QRectF(rule)), row);
        QVERIFY2(rule.top() > ink.bottom() - 3, row);  // under the words' baseline
      }
      ui::SkinFace(face.picture, caption, 1.0)
          .save(ScreenshotPath(QStringLiteral("face-de-%1.png").arg(face.picture)));
    }

    // A caption's marks: "&&" is an ampersand, the words are escaped.
    {
      const QByteArray svg = ui::SkinSvg("IDB_BBTNSCANU", "R&&<D> &Go");
      QVERIFY(svg.contains(">R&amp;&lt;D&gt; Go</text>"));
      const ui::FaceLayout layout = ui::SkinFaceLayout("IDB_BBTNSCANU", "R&&<D> &Go");
      QCOMPARE(layout.shown, QString("R&<D> Go"));
      QVERIFY(layout.underline.left() > layout.word.left() + layout.word.width() / 2);
      QVERIFY(layout.underline.right() < layout.word.right() - 5);
    }

    // The backgrounds' words in German, each ending before what stands
    // right of it: the main window's statics, the configuration dialog's
    // rule, the burn dialog's stage, the dialog's edge.
    struct Word {
      const char* picture;
      const char* german;
      int before;  // x
    };
    const std::vector<Word> words = {
        {"bg151", "Schrift", 553},        {"bg151", "Brennbereich", 553},
        {"bg151", "Benötigte Zeit", 553}, {"bg156", "Qualität", 189},
        {"bg161", "Qualität", 189},       {"bg161", "Datenseite zum Laser", 358},
        {"bg158", "Brennbereich", 110},   {"bg158", "mm", 241},
    };
    for (const Word& word : words) {
      const QByteArray svg = ui::SkinSvg(word.picture);
      const QString element = QStringLiteral("<text[^>]*>%1</text>").arg(word.german);
      QVERIFY2(svg.contains(QByteArray(">") + word.german + "</text>"), word.german);
      const QRect ink = inkOf(svg, element, ui::SkinPictureSize(word.picture));
      QVERIFY2(!ink.isEmpty() && ink.right() < word.before, word.german);
    }
    for (const char* background : {"bg151", "bg156", "bg161", "bg158"})
      ui::SkinPicture(background, 1.0)
          .save(ScreenshotPath(QStringLiteral("skin-de-%1.png").arg(background)));
    for (const char* english : {">Font<", ">Burning area<", ">Required time<", ">Quality<"})
      QVERIFY2(!ui::SkinSvg("bg151").contains(english) && !ui::SkinSvg("bg156").contains(english),
               english);
    QVERIFY(ui::SkinSvg("bg151").contains(">Title</text>"));  // the name as drawn
    QVERIFY(ui::SkinPicture("bg158", 1.0).toImage() !=
            render(ui::SkinSvg("bg158").replace("Brennbereich", "Burning area"), {242, 210}));
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
        [&](ui::SkinnedMessageBox& box) {
          // A mnemonic reaches only the active window (slow to come on a
          // loaded machine).
          QTRY_VERIFY(box.isActiveWindow());
          QTest::keyClick(&box, Qt::Key_Y, Qt::AltModifier);
        },
    };
    QTimer poke;
    poke.setInterval(20);
    QPointer<ui::SkinnedMessageBox> handled;
    int stillOpen = 0;  // pokes since the step of the box still open ran
    QObject::connect(&poke, &QTimer::timeout, [&] {
      auto* box = qobject_cast<ui::SkinnedMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      if (box == handled || steps.isEmpty()) {
        // A box the step did not close (a failed check, or one that stays
        // open for 10 s): closed with No, never waited on for ever.
        if (QTest::currentTestFailed() || ++stillOpen > 500) {
          if (!QTest::currentTestFailed())
            QTest::qFail("a message box stayed open", __FILE__, __LINE__);
          box->reject();
        }
        return;
      }
      handled = box;
      stillOpen = 0;
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
