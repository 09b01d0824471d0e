// A push button drawn from skin pictures: the down picture while pressed,
// the disabled picture while disabled (only where one exists), otherwise
// the up picture, unscaled. Sized to its up picture. Beyond the pictures it
// shows a keyboard-focus mark, takes Space and Enter, and tells screen
// readers its word.
#pragma once

#include <QAbstractButton>
#include <QString>

namespace twr::ui {

class SkinnedButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `word` is what the button says (Burn, Draw, Exit, ...): its accessible
  // name and tooltip. An empty `disabled` name means none.
  SkinnedButton(const QString& up, const QString& down, const QString& disabled,
                const QString& word, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  // The picture the button shows now (for tests).
  QString ShownPicture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QString up_;
  QString down_;
  QString disabled_;
  bool keyboardFocus_ = false;
};

}  // namespace twr::ui
