// The help window: the help pages bundled with the program, opened at their
// table of contents, in the program's language when the build has its pages. Back, Forward and Home
// go through the pages seen (also Alt+Left, Alt+Right, Alt+Home); Ctrl+F opens a find bar under the
// page (Enter or F3 finds the next match, Shift+Enter or Shift+F3 the one before, from the end
// round to the start; Escape closes the bar). It belongs to the main window and closes with it.
#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolBar;
class QToolButton;

namespace twr::ui {

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);
  // The language the program speaks ("de"; empty for English), set by
  // main() before a help window opens. A window takes its pages from
  // qrc:/help/LANG/ when the build has that folder, else the English ones.
  static void SetLanguage(const QString& language);
  // Shows the table of contents and brings the window to the front.
  void ShowContents();
  // Shows one page ("troubleshooting.html#m804") and brings the window to
  // the front.
  void ShowPage(const QString& page);
  QTextBrowser* Browser() const { return browser_; }

  QAction* BackAction() const { return back_; }
  QAction* ForwardAction() const { return forward_; }
  QAction* HomeAction() const { return home_; }
  QAction* FindAction() const { return find_; }
  QWidget* FindBar() const { return findBar_; }
  QLineEdit* FindEdit() const { return findEdit_; }
  // "" after a match, "Not found" when the text is not on the page.
  QString FindStatus() const;

 public slots:
  void reject() override;

 private:
  void OpenFind();
  void CloseFind();
  // Finds the text forwards or backwards from the current match, round the
  // page's end; `again` starts after the current match rather than at it.
  bool Find(bool backwards, bool again);
  void LoadContents();
  void Present();

  QString pages_;  // ":/help/" or ":/help/de/"
  QTextBrowser* browser_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QAction* back_ = nullptr;
  QAction* forward_ = nullptr;
  QAction* home_ = nullptr;
  QAction* find_ = nullptr;
  QWidget* findBar_ = nullptr;
  QLineEdit* findEdit_ = nullptr;
  QLabel* findStatus_ = nullptr;
};

}  // namespace twr::ui
