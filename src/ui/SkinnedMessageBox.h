// A message box in the skin's look: the message's own icon (stop for an
// error, information for a notice, warning), its text with the detail on
// the lines below, and buttons drawn on the skin's button face without the
// toolkit's button icons. OK for a notice; Yes and No for a question, No
// first in focus. Escape and the close box answer No (or OK). A notice may
// carry a Help button, which closes the box like OK and is noted as chosen.
#pragma once

#include <QDialog>
#include <QString>

#include "common/Messages.h"

class QHBoxLayout;
class QLabel;

namespace twr::ui {

class FocusRing;
class SkinnedTextButton;

class SkinnedMessageBox : public QDialog {
  Q_OBJECT

 public:
  SkinnedMessageBox(MessageIcon icon, const QString& text, const QString& detail, bool question,
                    QWidget* parent = nullptr);

  // Runs the box; true for Yes (and for OK).
  bool Ask();
  // A Help button beside OK (a notice whose help page explains it).
  void AddHelpButton();
  // The box was closed with its Help button.
  bool HelpChosen() const { return helpChosen_; }
  SkinnedTextButton* HelpButton() const { return help_; }

  QLabel* TextLabel() const { return text_; }
  QLabel* DetailLabel() const { return detail_; }
  // OK, or Yes.
  SkinnedTextButton* AcceptButton() const { return accept_; }
  // No; null for a notice.
  SkinnedTextButton* NoButton() const { return no_; }
  MessageIcon Icon() const { return icon_; }

 protected:
  void showEvent(QShowEvent* event) override;
  // Enter anywhere in the box presses the focused button, else the default.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MessageIcon icon_;
  QLabel* text_ = nullptr;
  QLabel* detail_ = nullptr;
  SkinnedTextButton* accept_ = nullptr;
  SkinnedTextButton* no_ = nullptr;
  SkinnedTextButton* help_ = nullptr;
  QHBoxLayout* buttons_ = nullptr;
  bool helpChosen_ = false;
  FocusRing* ring_ = nullptr;
};

}  // namespace twr::ui
