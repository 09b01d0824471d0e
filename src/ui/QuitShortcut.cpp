// The Quit key.
#include "ui/QuitShortcut.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace twr::ui {

QuitShortcut::QuitShortcut(QObject* parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

QuitShortcut::~QuitShortcut() {
  QCoreApplication::instance()->removeEventFilter(this);
}

bool QuitShortcut::eventFilter(QObject* watched, QEvent* event) {
  // Before any widget, a text edit included, takes the key as its own.
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Ctrl+Q, also where the platform's key scheme names no Quit key.
    const bool quit = key->matches(QKeySequence::Quit) ||
                      key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Q);
    if (quit && watched->isWidgetType()) {
      event->accept();
      if (event->type() == QEvent::KeyPress && !key->isAutoRepeat()) emit Activated();
      return true;
    }
  }
  return false;
}

}  // namespace twr::ui
