// The keyboard-focus ring.
#include "ui/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QVariant>

#include "ui/Skin.h"

namespace twr::ui {

namespace {

// Corners of the controls that are not skinned buttons (lists, edits).
constexpr qreal kPlainCorner = 3.0;
// The background is sampled every this many pixels along the ring.
constexpr int kSampleStep = 3;

bool InWindow(const QObject* object, const QWidget* window) {
  const auto* widget = qobject_cast<const QWidget*>(object);
  return widget && widget->window() == window;
}

}  // namespace

FocusRing::FocusRing(QWidget* window, const QString& background) : QWidget(window) {
  setObjectName(QStringLiteral("FocusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  SetBackground(background);
  hide();
  qApp->installEventFilter(this);
}

FocusRing::~FocusRing() {
  qApp->removeEventFilter(this);
}

void FocusRing::SetBackground(const QString& background) {
  background_ = background;
  backgroundImage_ = background_.isEmpty() ? QImage() : SkinPicture(background_, 1.0).toImage();
  ScheduleFollow();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (!InWindow(watched, window())) break;
      keyboard_ = true;
      ScheduleFollow();
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
      if (!InWindow(watched, window())) break;
      keyboard_ = false;
      ScheduleFollow();
      break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Hide:
    case QEvent::Show:
    case QEvent::EnabledChange:
    case QEvent::Move:
    case QEvent::Resize:
      if (watched != this && InWindow(watched, window())) ScheduleFollow();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::ScheduleFollow() {
  // Focus moves in several steps (out of one control, into the next): the
  // ring follows once they are done.
  if (followPending_) return;
  followPending_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        followPending_ = false;
        Follow();
      },
      Qt::QueuedConnection);
}

QRect FocusRing::RingRect(const QWidget* control) const {
  const int outset = kGap + kWidth;
  const QRect inWindow(control->mapTo(window(), QPoint(0, 0)), control->size());
  return inWindow.adjusted(-outset, -outset, outset, outset);
}

qreal FocusRing::CornerRadius() const {
  // Skinned buttons name the corners of their faces; lists and edits have
  // small ones.
  const QVariant corner = target_ ? target_->property("focusRingCorner") : QVariant();
  return (corner.isValid() ? corner.toReal() : kPlainCorner) + kGap + kWidth / 2.0;
}

std::vector<QColor> FocusRing::BackgroundUnder(const QWidget* control) const {
  std::vector<QColor> colours;
  if (!control) return colours;
  // A window without a picture is its brush all over.
  if (backgroundImage_.isNull()) return {window()->palette().color(QPalette::Window)};
  const QRect ring = RingRect(control).intersected(backgroundImage_.rect());
  if (ring.isEmpty()) return colours;
  // The line's middle, where the ring's pixels lie.
  const int half = kWidth / 2;
  const int left = ring.left() + half;
  const int right = ring.right() - half;
  const int top = ring.top() + half;
  const int bottom = ring.bottom() - half;
  for (int x = left; x <= right; x += kSampleStep) {
    colours.push_back(backgroundImage_.pixelColor(x, top));
    colours.push_back(backgroundImage_.pixelColor(x, bottom));
  }
  for (int y = top; y <= bottom; y += kSampleStep) {
    colours.push_back(backgroundImage_.pixelColor(left, y));
    colours.push_back(backgroundImage_.pixelColor(right, y));
  }
  return colours;
}

void FocusRing::Follow() {
  QWidget* focus = window()->focusWidget();
  const bool shown = keyboard_ && focus && focus != this && focus->isVisible() &&
                     focus->isEnabled() && focus->focusPolicy() != Qt::NoFocus;
  if (!shown) {
    target_ = nullptr;
    hide();
    return;
  }
  target_ = focus;
  colour_ = FocusRingColour(BackgroundUnder(focus));
  setGeometry(RingRect(focus));
  raise();
  show();
  update();
}

void FocusRing::paintEvent(QPaintEvent*) {
  if (!target_) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(colour_, kWidth));
  painter.setBrush(Qt::NoBrush);
  const qreal inset = kWidth / 2.0;
  const qreal radius = CornerRadius();
  painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset), radius, radius);
}

}  // namespace twr::ui
