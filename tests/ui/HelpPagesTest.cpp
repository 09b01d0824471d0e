// The help pages as built into the program: every language folder holds the
// same files as the English pages, each page keeps the English page's
// anchors and local links, every link and picture of a page resolves within
// its own folder, and the help window under a German locale opens the German
// pages.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>

#include <cstring>
#include <string>

#include "i18n/Languages.h"
#include "i18n/Translations.h"
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

// The page's links and pictures within the help ("burning.html#drive",
// "#m804", "designer.png"); links out of the program are left out.
QSet<QString> LocalLinks(const QString& html) {
  QSet<QString> links;
  static const QRegularExpression link(QStringLiteral(R"re(\b(?:href|src)="([^"]+)")re"));
  for (const auto& match : link.globalMatch(html))
    if (!match.captured(1).contains(QLatin1Char(':'))) links.insert(match.captured(1));
  return links;
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

    for (const QString& language : QStringList{QString()} + languages) {
      const QString folder = language.isEmpty() ? kHelp : kHelp + language + QLatin1Char('/');
      QCOMPARE(Files(folder), pages);
      for (const QString& page : pages) {
        if (!page.endsWith(QStringLiteral(".html"))) continue;
        const QString where = folder + page;
        const QString html = Read(where);
        QVERIFY2(!html.isEmpty(), qPrintable(where));
        const QSet<QString> links = LocalLinks(html);
        if (!language.isEmpty()) {
          const QString english = Read(kHelp + page);
          QCOMPARE(Anchors(html), Anchors(english));
          QCOMPARE(links, LocalLinks(english));
        }
        for (const QString& target : links) {
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

    // Under a German locale the program speaks German, as main() finds it,
    // and the window opens the German contents; its links stay in German.
    // A language without pages gets the English ones.
    {
      i18n::ProgramTranslations translations(
          i18n::MessageLanguages([](const char* name) -> const char* {
            return std::strcmp(name, "LANG") == 0 ? "de_DE.UTF-8" : nullptr;
          }));
      QCOMPARE(translations.Language(), std::string("de"));
      translations.InstallInto(*QCoreApplication::instance());
      ui::HelpWindow::SetLanguage(QString::fromStdString(translations.Language()));
      ui::HelpWindow german(nullptr);
      german.ShowContents();
      QTextBrowser* browser = german.Browser();
      QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/de/index.html")));
      QCOMPARE(browser->documentTitle(), QStringLiteral("Titlewright-Hilfe"));
      QCOMPARE(german.windowTitle(), QStringLiteral("Titlewright-Hilfe"));
      // A link is followed relative to the page that holds it.
      browser->setSource(browser->source().resolved(QUrl(QStringLiteral("designing.html"))));
      QCOMPARE(browser->source(), QUrl(QStringLiteral("qrc:/help/de/designing.html")));
      QCOMPARE(browser->documentTitle(), QStringLiteral("Titlewright-Hilfe: Ein Label gestalten"));
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
