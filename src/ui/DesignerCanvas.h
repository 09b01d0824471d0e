// The layout designer's disc: the layout as the renderer draws it (at the
// widget's resolution while something is dragged, the full-size label when
// the pointer rests), with the boxes, the ring text band, the burning
// area's circles and the hub drawn over it, handles on the selected item
// and guide lines while a drag snaps. Mouse and keys become calls into the
// model; a picture file dropped on the disc becomes the background.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>

#include "ui/model/LayoutDesignerModel.h"

class QMimeData;

namespace twr::ui {

class DesignerCanvas : public QWidget {
  Q_OBJECT

 public:
  explicit DesignerCanvas(LayoutDesignerModel& model, QWidget* parent = nullptr);

  // Where the disc's square lies in the widget, and label pixels to widget
  // coordinates and back.
  QRectF DiscRect() const;
  QPointF ToWidget(QPointF labelPoint) const;
  QPointF ToLabel(QPointF widgetPoint) const;
  // Full-size renders shown so far (tests, measurements).
  int FullRenders() const { return fullRenders_; }

 signals:
  // A change was refused (a picture that cannot be used, a nudge beyond the
  // limits): the window says why.
  void Refused(const QString& reason);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  double Scale() const;  // widget pixels per label pixel
  // The handle of the selected box under a widget point.
  std::optional<DragHandle> HandleAt(QPointF widgetPoint) const;
  void UpdateCursor(QPointF widgetPoint);
  void DrawOverlay(QPainter& painter);
  QString DroppedPicture(const QMimeData* data) const;

  LayoutDesignerModel& model_;
  // While dragging, frames at the widget's resolution; when the pointer has
  // rested this long, the full-size label.
  QTimer rest_;
  bool resting_ = true;
  int fullRenders_ = 0;
};

}  // namespace twr::ui
