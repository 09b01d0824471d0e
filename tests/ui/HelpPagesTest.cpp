// The help pages as built into the program: every language folder holds the
// same files as the English pages, each page keeps the English page's
// anchors, every link and picture of a page resolves within its own folder,
// and the help window opens the pages of the program's language.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include "ui/HelpWindow.h"
#include "ui/UiTestMain.h"

namespace twr::test {

namespace {

const QString kHelp = QStringLiteral(":/help/");

QStringList Files(const QString& folder) {
  QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
  files.removeAll(QStringLiteral("help.css"));  // one style sheet for all languages
  return files;
}

QString Read(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

QSet<QString> Anchors(const QString& html) {
  QSet<QString> anchors;
  static const QRegularExpression id(QStringLiteral(R"re(\b(?:id|name)="([^"]+)")re"));
  for (const auto& match : id.globalMatch(html)) anchors.insert(match.captured(1));
  return anchors;
}

}  // namespace

class HelpPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyLanguageHasEveryPageAndOpensInIt() {
    ui::HelpWindow::SetLanguage(QString());
    { ui::HelpWindow english(nullptr); }  // brings the help resource in
    const QStringList pages = Files(kHelp);
    QVERIFY(pages.contains(QStringLiteral("index.html")));
    const QStringList languages = QDir(kHelp).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(languages.contains(QStringLiteral("de")));

    static const QRegularExpression link(QStringLiteral(R"re(\b(?:href|src)="([^"]+)")re"));
    for (const QString& language : QStringList{QString()} + languages) {
      const QString folder = language.isEmpty() ? kHelp : kHelp + language + QLatin1Char('/');
      QCOMPARE(Files(folder), pages);
      for (const QString& page : pages) {
        if (!page.endsWith(QStringLiteral(".html"))) continue;
        const QString where = folder + page;
        const QString html = Read(where);
        QVERIFY2(!html.isEmpty(), qPrintable(where));
        const QSet<QString> anchors = Anchors(html);
        if (!language.isEmpty()) QCOMPARE(anchors, Anchors(Read(kHelp + page)));
        for (const auto& match : link.globalMatch(html)) {
          const QString target = match.captured(1);
          if (target.startsWith(QStringLiteral("http"))) continue;
          const QString file = target.section(QLatin1Char('#'), 0, 0);
          const QString fragment = target.section(QLatin1Char('#'), 1);
          const QString path = file.isEmpty() ? where : folder + file;
          QVERIFY2(!file.contains(QLatin1Char('/')) && QFile::exists(path),
                   qPrintable(where + QStringLiteral(": ") + target));
          if (!fragment.isEmpty())
            QVERIFY2(Anchors(Read(path)).contains(fragment),
                     qPrintable(where + QStringLiteral(": ") + target));
        }
      }
    }

    // The window follows the program's language, and its links stay in it;
    // a language without pages gets the English ones.
    ui::HelpWindow::SetLanguage(QStringLiteral("de"));
    {
      ui::HelpWindow german(nullptr);
      german.ShowContents();
      QTextBrowser* browser = german.Browser();
      QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/de/index.html")));
      browser->setSource(QUrl(QStringLiteral("designing.html")));  // as a link followed
      QCOMPARE(browser->source().path(), QStringLiteral("/help/de/designing.html"));
      german.ShowPage(QStringLiteral("troubleshooting.html#m804"));
      QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/de/troubleshooting.html#m804")));
      german.hide();
    }
    ui::HelpWindow::SetLanguage(QStringLiteral("fr"));
    {
      ui::HelpWindow french(nullptr);
      french.ShowContents();
      QCOMPARE(french.Browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
      french.hide();
    }
    ui::HelpWindow::SetLanguage(QString());
  }
};

TWR_UI_TEST(HelpPagesTest)

}  // namespace twr::test

#include "HelpPagesTest.moc"
