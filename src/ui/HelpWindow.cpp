// The help window.
#include "ui/HelpWindow.h"

#include <QAction>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

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
const char* const kEnglishPages = ":/help/";
const QColor kNotFound{0xF6, 0xD5, 0xD8};

// Shift+Enter in the find edit finds backwards (Enter alone is the edit's
// returnPressed).
class ShiftEnter : public QObject {
 public:
  ShiftEnter(QObject* parent, std::function<void()> onShiftEnter)
      : QObject(parent), onShiftEnter_(std::move(onShiftEnter)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & Qt::ShiftModifier)) {
      onShiftEnter_();
      return true;
    }
    return false;
  }

 private:
  std::function<void()> onShiftEnter_;
};

QAction* MakeAction(const QIcon& icon, const QString& text, const QKeySequence& key,
                    QWidget* owner) {
  auto* action = new QAction(icon, text, owner);
  action->setShortcut(key);
  action->setToolTip(QStringLiteral("%1 (%2)").arg(QString(text).remove(QLatin1Char('&')),
                                                   key.toString(QKeySequence::NativeText)));
  owner->addAction(action);
  return action;
}

QString& PagesLanguage() {
  static QString language;
  return language;
}

}  // namespace

void HelpWindow::SetLanguage(const QString& language) {
  PagesLanguage() = language;
}

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner, Qt::Window) {
  static const bool loaded = [] {
    InitHelpResource();
    return true;
  }();
  (void)loaded;
  // A language's pages come whole, so its contents page stands for them all.
  pages_ = QString::fromLatin1(kEnglishPages);
  const QString language = PagesLanguage();
  if (!language.isEmpty() && QFile::exists(pages_ + language + QStringLiteral("/index.html")))
    pages_ += language + QLatin1Char('/');
  setWindowTitle(tr("%1 Help").arg(QString::fromUtf8(kAppName)));
  setObjectName(QStringLiteral("HelpWindow"));
  browser_ = new QTextBrowser(this);
  browser_->setOpenExternalLinks(true);
  // One look for every page, set once for the document the pages load into.
  QFile css(QStringLiteral(":/help/help.css"));
  if (css.open(QIODevice::ReadOnly))
    browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

  // ---- Back, Forward, Home, Find ---------------------------------------------
  toolbar_ = new QToolBar(this);
  toolbar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toolbar_->setMovable(false);
  back_ = MakeAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"), QKeySequence::Back,
                     this);
  forward_ = MakeAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"),
                        QKeySequence::Forward, this);
  // The style's own home picture is a folder: the desktop's theme, or none.
  home_ = MakeAction(QIcon::fromTheme(QStringLiteral("go-home")), tr("&Home"),
                     QKeySequence(Qt::ALT | Qt::Key_Home), this);
  find_ = MakeAction(QIcon::fromTheme(QStringLiteral("edit-find")), tr("&Find"), QKeySequence::Find,
                     this);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  toolbar_->addAction(back_);
  toolbar_->addAction(forward_);
  toolbar_->addAction(home_);
  auto* spacer = new QWidget(toolbar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  toolbar_->addWidget(spacer);
  toolbar_->addAction(find_);
  connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
  connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
  connect(home_, &QAction::triggered, this, &HelpWindow::LoadContents);
  connect(find_, &QAction::triggered, this, &HelpWindow::OpenFind);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);

  // ---- The find bar ----------------------------------------------------------
  findBar_ = new QWidget(this);
  findBar_->setObjectName(QStringLiteral("findBar"));
  auto* bar = new QHBoxLayout(findBar_);
  bar->setContentsMargins(6, 4, 6, 4);
  findEdit_ = new QLineEdit(findBar_);
  findEdit_->setPlaceholderText(tr("Find on this page"));
  findEdit_->setClearButtonEnabled(true);
  auto* caption = new QLabel(tr("Fi&nd:"), findBar_);
  caption->setBuddy(findEdit_);
  auto* previous = new QToolButton(findBar_);
  previous->setArrowType(Qt::UpArrow);
  previous->setToolTip(tr("Previous match (Shift+F3)"));
  previous->setAccessibleName(tr("Previous match"));
  auto* next = new QToolButton(findBar_);
  next->setArrowType(Qt::DownArrow);
  next->setToolTip(tr("Next match (F3)"));
  next->setAccessibleName(tr("Next match"));
  findStatus_ = new QLabel(findBar_);
  auto* close = new QToolButton(findBar_);
  close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  close->setAutoRaise(true);
  close->setToolTip(tr("Close the find bar (Escape)"));
  close->setAccessibleName(tr("Close the find bar"));
  bar->addWidget(caption);
  bar->addWidget(findEdit_, 1);
  bar->addWidget(previous);
  bar->addWidget(next);
  bar->addWidget(findStatus_, 1);
  bar->addWidget(close);
  findBar_->hide();
  auto* findNext = MakeAction(QIcon(), tr("Find next"), QKeySequence::FindNext, this);
  auto* findPrevious = MakeAction(QIcon(), tr("Find previous"), QKeySequence::FindPrevious, this);
  const auto again = [this](bool backwards) {
    if (!findBar_->isVisible()) OpenFind();
    Find(backwards, true);
  };
  connect(findNext, &QAction::triggered, this, [again] { again(false); });
  connect(findPrevious, &QAction::triggered, this, [again] { again(true); });
  connect(next, &QToolButton::clicked, this, [this] { Find(false, true); });
  connect(previous, &QToolButton::clicked, this, [this] { Find(true, true); });
  connect(findEdit_, &QLineEdit::textEdited, this, [this] { Find(false, false); });
  connect(findEdit_, &QLineEdit::returnPressed, this, [this] { Find(false, true); });
  findEdit_->installEventFilter(new ShiftEnter(this, [this] { Find(true, true); }));
  connect(close, &QToolButton::clicked, this, &HelpWindow::CloseFind);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    findStatus_->clear();
    findEdit_->setPalette(QPalette());
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolbar_);
  layout->addWidget(browser_, 1);
  layout->addWidget(findBar_);
  resize(kWidth, kHeight);
}

void HelpWindow::ShowContents() {
  LoadContents();
  Present();
}

void HelpWindow::LoadContents() {
  const QString contents = pages_ + QStringLiteral("index.html");
  if (QFile::exists(contents)) {
    browser_->setSource(QUrl(QStringLiteral("qrc") + contents));
  } else {
    browser_->setHtml(tr("<h2>%1</h2><p>The help pages are not part of this build.</p>")
                          .arg(QString::fromUtf8(kAppName)));
  }
}

void HelpWindow::ShowPage(const QString& page) {
  const QString file = page.section(QLatin1Char('#'), 0, 0);
  if (!QFile::exists(pages_ + file)) {
    ShowContents();  // a page this build lacks: the contents
    return;
  }
  browser_->setSource(QUrl(QStringLiteral("qrc") + pages_ + page));
  Present();
}

void HelpWindow::Present() {
  show();
  raise();
  activateWindow();
}

QString HelpWindow::FindStatus() const {
  return findStatus_->text();
}

void HelpWindow::OpenFind() {
  findBar_->show();
  findEdit_->setFocus(Qt::ShortcutFocusReason);
  findEdit_->selectAll();
}

void HelpWindow::CloseFind() {
  findBar_->hide();
  findStatus_->clear();
  findEdit_->setPalette(QPalette());
  browser_->setFocus(Qt::OtherFocusReason);
}

void HelpWindow::reject() {
  // Escape closes the find bar first, then the window.
  if (findBar_->isVisible()) {
    CloseFind();
    return;
  }
  QDialog::reject();
}

bool HelpWindow::Find(bool backwards, bool again) {
  const QString text = findEdit_->text();
  findEdit_->setPalette(QPalette());
  findStatus_->clear();
  if (text.isEmpty()) return false;
  QTextDocument* document = browser_->document();
  const QTextCursor current = browser_->textCursor();
  // Typing finds at the current match again (it grows with the text);
  // next and previous go past it.
  QTextCursor from(document);
  from.setPosition(backwards ? current.selectionStart()
                             : (again ? current.selectionEnd() : current.selectionStart()));
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  QTextCursor found = document->find(text, from, flags);
  if (found.isNull()) {
    // Round the page's end (or start) once.
    QTextCursor wrap(document);
    wrap.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    found = document->find(text, wrap, flags);
  }
  if (found.isNull()) {
    findStatus_->setText(tr("Not found"));
    QPalette palette = findEdit_->palette();
    palette.setColor(QPalette::Base, kNotFound);
    findEdit_->setPalette(palette);
    return false;
  }
  browser_->setTextCursor(found);
  browser_->ensureCursorVisible();
  return true;
}

}  // namespace twr::ui
