// The help window.
#include "ui/HelpWindow.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "common/Strings.h"

#ifdef TWR_HAVE_HELP
inline void InitHelpResource() {
  Q_INIT_RESOURCE(help);
}
#else
inline void InitHelpResource() {}
#endif

namespace twr::ui {

namespace {
constexpr int kWidth = 720;
constexpr int kHeight = 600;
const char* const kContents = "qrc:/help/index.html";
}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner, Qt::Window) {
  static const bool loaded = [] {
    InitHelpResource();
    return true;
  }();
  (void)loaded;
  setWindowTitle(QStringLiteral("%1 Help").arg(QString::fromUtf8(kAppName)));
  setObjectName(QStringLiteral("HelpWindow"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  // One look for every page, set once for the document the pages load into.
  QFile style(QStringLiteral(":/help/help.css"));
  if (style.open(QIODevice::ReadOnly))
    browser_->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  resize(kWidth, kHeight);
}

void HelpWindow::ShowContents() {
  if (QFile::exists(QStringLiteral(":/help/index.html"))) {
    browser_->setSource(QUrl(QString::fromLatin1(kContents)));
  } else {
    browser_->setHtml(QStringLiteral("<h2>%1</h2><p>The help pages are not part of this build.</p>")
                          .arg(QString::fromUtf8(kAppName)));
  }
  show();
  raise();
  activateWindow();
}

}  // namespace twr::ui
