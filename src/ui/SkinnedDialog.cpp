// Skinned dialogs.
#include "ui/SkinnedDialog.h"

#include <QLabel>
#include <QPainter>

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
}

void SkinnedDialog::SetBackground(const QString& background) {
  if (background == background_) return;
  background_ = background;
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

}  // namespace twr::ui
