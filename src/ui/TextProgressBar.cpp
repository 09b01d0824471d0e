// The text progress bar.
#include "ui/TextProgressBar.h"

#include <QPainter>
#include <QPixmap>
#include <QResizeEvent>

#include <algorithm>
#include <cstring>

namespace twr::ui {

TextProgressBar::TextProgressBar(QWidget* parent) : QWidget(parent) {
  // Colours are taken once, from the palette at creation.
  barColour_ = palette().color(QPalette::Highlight);
  backgroundColour_ = palette().color(QPalette::Base);
  textOverBackground_ = barColour_;
  textOverBar_ = backgroundColour_;
  // Every pixel is painted by paintEvent: no erase before it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setAccessibleName(QStringLiteral("Progress"));
}

void TextProgressBar::SetRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
}

int TextProgressBar::SetStep(int step) {
  const int previous = step_;
  step_ = step;
  return previous;
}

int TextProgressBar::SplitFor(int width) const {
  if (upper_ <= lower_) return 0;
  const double share = static_cast<double>(position_ - lower_) / (upper_ - lower_);
  return static_cast<int>(share * width);
}

int TextProgressBar::SetPos(int position) {
  const int previous = position_;
  position_ = position;
  const int split = SplitFor(width());
  if (split != lastSplit_) {
    lastSplit_ = split;
    repaint();
  }
  return previous;
}

int TextProgressBar::StepIt() {
  return SetPos(position_ + step_);
}

void TextProgressBar::SetShowText(bool show) {
  if (show == showText_) return;
  showText_ = show;
  repaint();
}

void TextProgressBar::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  repaint();
}

std::size_t TextProgressBar::GetText(char* buffer, std::size_t size) const {
  if (buffer == nullptr || size == 0) return 0;
  const std::size_t n = std::min(size - 1, text_.size());
  std::memcpy(buffer, text_.data(), n);
  buffer[n] = '\0';
  return n;
}

void TextProgressBar::resizeEvent(QResizeEvent* event) {
  lastSplit_ = -1;
  QWidget::resizeEvent(event);
}

void TextProgressBar::paintEvent(QPaintEvent*) {
  ++paints_;
  if (lower_ >= upper_) return;  // nothing at all, not even the background
  ++draws_;
  const QRect area = rect();
  const int x = area.left() + SplitFor(area.width());
  const qreal dpr = devicePixelRatioF();
  QPixmap frame(area.size() * dpr);
  frame.setDevicePixelRatio(dpr);
  {
    QPainter painter(&frame);
    const QRect filled(0, 0, std::clamp(x, 0, area.width()), area.height());
    const QRect empty(filled.right() + 1, 0, area.width() - filled.width(), area.height());
    painter.fillRect(filled, barColour_);
    painter.fillRect(empty, backgroundColour_);
    if (showText_ && !text_.empty()) {
      painter.setFont(font());
      const QString text = QString::fromStdString(text_);
      const int flags = Qt::AlignCenter | Qt::TextSingleLine;
      painter.setClipRect(filled);
      painter.setPen(textOverBar_);
      painter.drawText(QRect(QPoint(0, 0), area.size()), flags, text);
      painter.setClipRect(empty);
      painter.setPen(textOverBackground_);
      painter.drawText(QRect(QPoint(0, 0), area.size()), flags, text);
    }
  }
  QPainter(this).drawPixmap(area.topLeft(), frame);
}

}  // namespace twr::ui
