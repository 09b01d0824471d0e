// Skinned dialogs.
#include "ui/SkinnedDialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>

#include "ui/FocusRing.h"
#include "ui/Skin.h"

namespace twr::ui {

SkinnedDialog::SkinnedDialog(const QString& background, const QColor& brush, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      background_(background),
      brush_(brush) {
  ApplySkinPalette(this, brush_);
  setFixedSize(SkinPictureSize(background_));
  setSizeGripEnabled(false);
  ring_ = new FocusRing(this, background_);
}

void SkinnedDialog::SetBackground(const QString& background) {
  if (background == background_) return;
  background_ = background;
  ring_->SetBackground(background_);
  update();
}

void SkinnedDialog::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), brush_);
  painter.drawPixmap(0, 0, SkinPicture(background_, this));
}

QLabel* SkinnedDialog::AddStatic(const QRect& rect, const QString& text) {
  auto* label = new QLabel(text, this);
  label->setGeometry(rect);
  label->setAutoFillBackground(false);
  label->setAttribute(Qt::WA_TranslucentBackground);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kStaticText);
  label->setPalette(palette);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* SkinnedDialog::AddCaption(const QString& text, QPoint baseline, QWidget* buddy) {
  auto* label = new QLabel(text, this);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setTextFormat(Qt::PlainText);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kCaptionText);
  label->setPalette(palette);
  label->setBuddy(buddy);
  label->setContentsMargins(0, 0, 0, 0);
  label->setIndent(0);
  label->adjustSize();
  const QFontMetrics metrics(label->font());
  label->move(baseline.x(), baseline.y() - metrics.ascent());
  return label;
}

}  // namespace twr::ui
