// The help window: the help pages bundled with the program, opened at their
// table of contents. It belongs to the main window and closes with it.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace twr::ui {

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* owner);
  // Shows the table of contents and brings the window to the front.
  void ShowContents();
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_ = nullptr;
};

}  // namespace twr::ui
