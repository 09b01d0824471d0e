// The Quit key (Ctrl+Q, and the desktop's own Quit key) in every window of the program: the main
// window, its dialogs, message boxes and the help window. It only reports
// the key; the main window decides what quitting means at that moment.
#pragma once

#include <QObject>

namespace twr::ui {

class QuitShortcut : public QObject {
  Q_OBJECT

 public:
  explicit QuitShortcut(QObject* parent = nullptr);
  ~QuitShortcut() override;

 signals:
  void Activated();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace twr::ui
