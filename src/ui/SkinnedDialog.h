// A fixed-size dialog that paints a skin picture as its whole background;
// its static texts are transparent, in dark grey, over the dialog's brush.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QLabel;

namespace twr::ui {

class SkinnedDialog : public QDialog {
  Q_OBJECT

 public:
  SkinnedDialog(const QString& background, const QColor& brush, QWidget* parent = nullptr);

  // Another background picture (same size), painted at once.
  void SetBackground(const QString& background);
  const QString& Background() const { return background_; }
  const QColor& Brush() const { return brush_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A static text at a rectangle in pixels: transparent, dark grey text.
  QLabel* AddStatic(const QRect& rect, const QString& text = {});

 private:
  QString background_;
  QColor brush_;
};

}  // namespace twr::ui
