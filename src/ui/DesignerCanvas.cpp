// The layout designer's disc view.
#include "ui/DesignerCanvas.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

#include "ui/Skin.h"

namespace twr::ui {

namespace {

constexpr int kMargin = 12;            // around the disc's square
constexpr double kHandleSize = 7.0;    // widget pixels
constexpr double kHitTolerance = 6.0;  // widget pixels around a circle
constexpr double kSnapDistance = 8.0;  // widget pixels
constexpr int kRestMs = 150;           // the pointer at rest: the full-size label
constexpr int kSmallStep = 1;
constexpr int kLargeStep = 10;
// The disc's centre hole, 15 mm across.
constexpr double kCentreHoleMm = 7.5;

const QColor kWell{36, 36, 44};
const QColor kBoxLine{255, 255, 255, 200};
const QColor kBoxShadow{0, 0, 0, 160};
const QColor kSelected{255, 170, 0};
const QColor kGuide{255, 0, 200};
const QColor kBandLimit{0, 90, 255};
const QColor kHubShade{0, 0, 0, 150};

}  // namespace

DesignerCanvas::DesignerCanvas(LayoutDesignerModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setAcceptDrops(true);
  setMinimumSize(320, 320);
  setAccessibleName(tr("Disc"));
  setAccessibleDescription(
      tr("The layout on the disc: click to select, drag to move, arrow keys "
         "nudge, Tab goes to the next item"));
  rest_.setSingleShot(true);
  rest_.setInterval(kRestMs);
  connect(&rest_, &QTimer::timeout, this, [this] {
    resting_ = true;
    update();
  });
  connect(&model_, &LayoutDesignerModel::Changed, this, [this] { update(); });
  connect(&model_, &LayoutDesignerModel::SelectionChanged, this, [this] { update(); });
}

QRectF DesignerCanvas::DiscRect() const {
  const double side = std::max(1, std::min(width(), height()) - 2 * kMargin);
  return QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side);
}

double DesignerCanvas::Scale() const {
  return DiscRect().width() / std::max(model_.Layout().BaseLength, 1);
}

QPointF DesignerCanvas::ToWidget(QPointF p) const {
  return DiscRect().topLeft() + p * Scale();
}

QPointF DesignerCanvas::ToLabel(QPointF p) const {
  return (p - DiscRect().topLeft()) / Scale();
}

void DesignerCanvas::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // A window being resized draws quick frames until it rests.
  resting_ = false;
  rest_.start();
}

void DesignerCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kWell);
  const QRectF disc = DiscRect();
  const qreal dpr = devicePixelRatioF();
  const int pixels = std::max(1, static_cast<int>(std::lround(disc.width() * dpr)));
  // While the pointer moves, quick frames; once it rests, the label itself.
  const bool full = resting_;
  QImage image = model_.Render(pixels, full);
  if (full) ++fullRenders_;
  image.setDevicePixelRatio(dpr);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  painter.drawImage(disc, image);
  DrawOverlay(painter);
}

void DesignerCanvas::DrawOverlay(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, true);
  const double s = Scale();
  const double ppm = model_.PixelsPerMm();
  const QPointF centre =
      ToWidget(QPointF(model_.Layout().BaseLength / 2.0, model_.Layout().BaseLength / 2.0));
  const DesignerItem selected = model_.Selection();
  auto circle = [&](double mm) { return mm * ppm * s; };

  // The hub: everything inside the burning area is never etched.
  QPainterPath hub;
  hub.addEllipse(centre, circle(model_.InnerRadius()), circle(model_.InnerRadius()));
  painter.fillPath(hub, kHubShade);
  painter.setPen(QPen(QColor(20, 20, 24), 1));
  painter.setBrush(QColor(20, 20, 24));
  painter.drawEllipse(centre, circle(kCentreHoleMm), circle(kCentreHoleMm));

  // The burning area's circles.
  for (DesignerItem item : {DesignerItem::OuterCircle, DesignerItem::InnerCircle}) {
    const double r =
        circle(item == DesignerItem::OuterCircle ? model_.OuterRadius() : model_.InnerRadius());
    const bool on = item == selected;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(on ? kSelected : kBandLimit, on ? 2.5 : 1.5));
    painter.drawEllipse(centre, r, r);
  }

  // The ring text band.
  const auto [bandIn, bandOut] = model_.RingBandRadii();
  if (bandOut > bandIn) {
    const bool on = selected == DesignerItem::Ring;
    QPen pen(on ? kSelected : QColor(255, 255, 255, 150), on ? 2.0 : 1.0, Qt::DashLine);
    painter.setPen(pen);
    for (double mm : {bandIn, bandOut}) painter.drawEllipse(centre, circle(mm), circle(mm));
  }

  // The boxes, the selected one with its handles.
  for (LayoutBoxKind kind : kLayoutBoxKinds) {
    const DesignerItem item = ItemOf(kind);
    const bool on = item == selected;
    const QRect box = model_.BoxRect(kind);
    const QRectF r(ToWidget(box.topLeft()), QSizeF(box.width() * s, box.height() * s));
    if (!BoxIsDrawn(model_.Layout(), kind)) {
      if (!on) continue;
      // A box without a size: a cross where it would start.
      painter.setPen(QPen(kSelected, 2));
      painter.drawLine(r.topLeft() - QPointF(8, 0), r.topLeft() + QPointF(8, 0));
      painter.drawLine(r.topLeft() - QPointF(0, 8), r.topLeft() + QPointF(0, 8));
      continue;
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBoxShadow, 3));
    painter.drawRect(r);
    painter.setPen(QPen(on ? kSelected : kBoxLine, on ? 2 : 1, on ? Qt::SolidLine : Qt::DashLine));
    painter.drawRect(r);
    if (!on) continue;
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kSelected);
    for (QPointF p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight(),
                      QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()),
                      QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y())})
      painter.drawRect(
          QRectF(p - QPointF(kHandleSize / 2, kHandleSize / 2), QSizeF(kHandleSize, kHandleSize)));
  }

  // The QR code's square, the selected one with its corner handles (it
  // stays square).
  if (const std::optional<QRect> qr = model_.ItemRect(DesignerItem::Qr)) {
    const bool on = selected == DesignerItem::Qr;
    const QRectF r(ToWidget(qr->topLeft()), QSizeF(qr->width() * s, qr->height() * s));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBoxShadow, 3));
    painter.drawRect(r);
    painter.setPen(QPen(on ? kSelected : kBoxLine, on ? 2 : 1, on ? Qt::SolidLine : Qt::DashLine));
    painter.drawRect(r);
    if (on) {
      painter.setPen(QPen(Qt::black, 1));
      painter.setBrush(kSelected);
      for (QPointF p : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
        painter.drawRect(QRectF(p - QPointF(kHandleSize / 2, kHandleSize / 2),
                                QSizeF(kHandleSize, kHandleSize)));
    }
  }

  // Guide lines of a drag that snaps.
  painter.setPen(QPen(kGuide, 1.5));
  for (const QLineF& line : model_.Feedback().guides)
    painter.drawLine(QLineF(ToWidget(line.p1()), ToWidget(line.p2())));
}

std::optional<DragHandle> DesignerCanvas::HandleAt(QPointF p) const {
  const std::optional<QRect> rect = model_.ItemRect(model_.Selection());
  if (!rect) return std::nullopt;
  const QRect box = *rect;
  const bool cornersOnly = model_.Selection() == DesignerItem::Qr;
  const double s = Scale();
  const QRectF r(ToWidget(box.topLeft()), QSizeF(box.width() * s, box.height() * s));
  const struct {
    QPointF at;
    DragHandle handle;
  } handles[] = {
      {r.topLeft(), DragHandle::TopLeft},
      {r.topRight(), DragHandle::TopRight},
      {r.bottomLeft(), DragHandle::BottomLeft},
      {r.bottomRight(), DragHandle::BottomRight},
      {QPointF(r.center().x(), r.top()), DragHandle::Top},
      {QPointF(r.center().x(), r.bottom()), DragHandle::Bottom},
      {QPointF(r.left(), r.center().y()), DragHandle::Left},
      {QPointF(r.right(), r.center().y()), DragHandle::Right},
  };
  for (const auto& h : handles) {
    if (cornersOnly && h.handle != DragHandle::TopLeft && h.handle != DragHandle::TopRight &&
        h.handle != DragHandle::BottomLeft && h.handle != DragHandle::BottomRight)
      continue;
    if (std::abs(p.x() - h.at.x()) <= kHandleSize && std::abs(p.y() - h.at.y()) <= kHandleSize)
      return h.handle;
  }
  return std::nullopt;
}

void DesignerCanvas::UpdateCursor(QPointF p) {
  if (const std::optional<DragHandle> h = HandleAt(p)) {
    switch (*h) {
      case DragHandle::TopLeft:
      case DragHandle::BottomRight:
        setCursor(Qt::SizeFDiagCursor);
        return;
      case DragHandle::TopRight:
      case DragHandle::BottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        return;
      case DragHandle::Top:
      case DragHandle::Bottom:
        setCursor(Qt::SizeVerCursor);
        return;
      default:
        setCursor(Qt::SizeHorCursor);
        return;
    }
  }
  const DesignerItem item = model_.ItemAt(ToLabel(p), kHitTolerance / Scale());
  if (IsBox(item) || item == DesignerItem::Qr)
    setCursor(Qt::SizeAllCursor);
  else if (item == DesignerItem::InnerCircle || item == DesignerItem::OuterCircle)
    setCursor(Qt::CrossCursor);
  else
    unsetCursor();
}

void DesignerCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  const QPointF p = event->position();
  const QPointF label = ToLabel(p);
  if (const std::optional<DragHandle> h = HandleAt(p)) {
    model_.BeginDrag(model_.Selection(), *h, label);
  } else {
    const DesignerItem item = model_.ItemAt(label, kHitTolerance / Scale());
    model_.Select(item);
    if (IsBox(item) || item == DesignerItem::Qr)
      model_.BeginDrag(item, DragHandle::Move, label);
    else if (item == DesignerItem::InnerCircle || item == DesignerItem::OuterCircle)
      model_.BeginDrag(item, DragHandle::Radius, label);
  }
  resting_ = !model_.Dragging();
  if (!resting_) rest_.start();
  update();
}

void DesignerCanvas::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  if (!model_.Dragging()) {
    UpdateCursor(p);
    return;
  }
  resting_ = false;
  rest_.start();
  model_.DragTo(ToLabel(p), kSnapDistance / Scale(), !(event->modifiers() & Qt::AltModifier));
}

void DesignerCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !model_.Dragging())
    return QWidget::mouseReleaseEvent(event);
  model_.DragTo(ToLabel(event->position()), kSnapDistance / Scale(),
                !(event->modifiers() & Qt::AltModifier));
  model_.EndDrag(true);
  resting_ = true;
  rest_.stop();
  update();
}

void DesignerCanvas::keyPressEvent(QKeyEvent* event) {
  const int step = (event->modifiers() & Qt::ShiftModifier) ? kLargeStep : kSmallStep;
  int dx = 0, dy = 0;
  switch (event->key()) {
    case Qt::Key_Left:
      dx = -step;
      break;
    case Qt::Key_Right:
      dx = step;
      break;
    case Qt::Key_Up:
      dy = -step;
      break;
    case Qt::Key_Down:
      dy = step;
      break;
    case Qt::Key_Escape:
      if (model_.Dragging()) {
        model_.EndDrag(false);
        resting_ = true;
        update();
        return;
      }
      return QWidget::keyPressEvent(event);
    default:
      return QWidget::keyPressEvent(event);
  }
  const std::string why = model_.Nudge(dx, dy);
  if (!why.empty()) emit Refused(QString::fromStdString(why));
}

bool DesignerCanvas::focusNextPrevChild(bool next) {
  // Tab and Shift+Tab go round the items on the disc.
  model_.SelectNext(!next);
  return true;
}

QString DesignerCanvas::DroppedPicture(const QMimeData* data) const {
  if (!data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
  return QImageReader::supportedImageFormats().contains(suffix) ? path : QString();
}

void DesignerCanvas::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedPicture(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void DesignerCanvas::dropEvent(QDropEvent* event) {
  const QString path = DroppedPicture(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  const std::string why = model_.SetPicture(path.toStdString());
  if (!why.empty()) emit Refused(QString::fromStdString(why));
}

}  // namespace twr::ui
