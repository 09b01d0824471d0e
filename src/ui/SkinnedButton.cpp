// Skinned push buttons.
#include "ui/SkinnedButton.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "ui/Skin.h"

namespace twr::ui {

namespace {
constexpr qreal kFocusInset = 1.5;
constexpr qreal kFocusWidth = 2.0;
constexpr qreal kFocusRadius = 6.0;
}  // namespace

SkinnedButton::SkinnedButton(const QString& up, const QString& down, const QString& disabled,
                             const QString& word, QWidget* parent)
    : QAbstractButton(parent), up_(up), down_(down), disabled_(disabled) {
  setText(word);
  setAccessibleName(word);
  setToolTip(word);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  setFixedSize(sizeHint());
}

QSize SkinnedButton::sizeHint() const {
  return SkinPictureSize(up_);
}

QString SkinnedButton::ShownPicture() const {
  if (isDown()) return down_;
  if (!isEnabled() && !disabled_.isEmpty()) return disabled_;
  return up_;
}

void SkinnedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, SkinPicture(ShownPicture(), this));
  if (hasFocus() && keyboardFocus_) {
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kAccent, kFocusWidth, Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF ring =
        QRectF(rect()).adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    painter.drawRoundedRect(ring, kFocusRadius, kFocusRadius);
  }
}

void SkinnedButton::keyPressEvent(QKeyEvent* event) {
  keyboardFocus_ = true;
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled() &&
      !event->isAutoRepeat()) {
    animateClick();
    event->accept();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void SkinnedButton::focusInEvent(QFocusEvent* event) {
  // The mark shows when focus came from the keyboard, not from a click.
  keyboardFocus_ = event->reason() == Qt::TabFocusReason ||
                   event->reason() == Qt::BacktabFocusReason ||
                   event->reason() == Qt::ShortcutFocusReason;
  QAbstractButton::focusInEvent(event);
}

void SkinnedButton::focusOutEvent(QFocusEvent* event) {
  keyboardFocus_ = false;
  QAbstractButton::focusOutEvent(event);
}

}  // namespace twr::ui
