// A push button drawn from skin pictures: the down picture while pressed,
// the disabled picture while disabled (only where one exists), otherwise
// the up picture, unscaled, its word being the button's (translated) word.
// Sized to its up picture. Beyond the pictures it
// takes Space, Enter and its mnemonic (the letter after '&' in its word,
// underlined in the pictures) and tells screen readers its word. The
// keyboard-focus ring round it is the window's FocusRing.
#pragma once

#include <QAbstractButton>
#include <QString>

namespace twr::ui {

class SkinnedButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `word` is what the button says ("&Burn", "E&xit", ...): its accessible
  // name and tooltip without the '&', and Alt with the letter after it as
  // its shortcut. An empty `disabled` name means none.
  SkinnedButton(const QString& up, const QString& down, const QString& disabled,
                const QString& word, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  // The picture the button shows now (for tests).
  QString ShownPicture() const;
  // The corners of its pictures: round tiles and the smaller buttons (the
  // focus ring follows them).
  qreal CornerRadius() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QString up_;
  QString down_;
  QString disabled_;
};

// A push button whose word is drawn on the skin's button face (the face,
// outline and shadow of the button pictures, the word in their type face
// with its mnemonic underlined), for words that have no picture: message
// boxes, the About box, the help button. 28 pixels high, 100 wide or wider
// for a long word; the default button's outline is in the accent.
class SkinnedTextButton : public QAbstractButton {
  Q_OBJECT

 public:
  explicit SkinnedTextButton(const QString& word, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
  void SetDefault(bool on);
  bool IsDefault() const { return default_; }
  // A narrower button than the usual 100 pixels (a single sign).
  void SetMinimumWidth(int pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool default_ = false;
  int minimumWidth_;
};

}  // namespace twr::ui
