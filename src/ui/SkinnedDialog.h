// A fixed-size dialog that paints a skin picture as its whole background;
// its static texts are transparent, in dark grey, over the dialog's brush,
// and a focus ring shows which control has the keyboard focus.
#pragma once

#include <QColor>
#include <QDialog>
#include <QString>

class QLabel;

namespace twr::ui {

class FocusRing;

class SkinnedDialog : public QDialog {
  Q_OBJECT

 public:
  SkinnedDialog(const QString& background, const QColor& brush, QWidget* parent = nullptr);

  // Another background picture (same size), painted at once.
  void SetBackground(const QString& background);
  const QString& Background() const { return background_; }
  const QColor& Brush() const { return brush_; }
  FocusRing* Ring() const { return ring_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  // A static text at a rectangle in pixels: transparent, dark grey text.
  QLabel* AddStatic(const QRect& rect, const QString& text = {});
  // The caption of a control, with its mnemonic ("&Title": Alt+T moves to
  // `buddy`), its text's baseline at `baseline` as the picture's captions.
  QLabel* AddCaption(const QString& text, QPoint baseline, QWidget* buddy);

 private:
  QString background_;
  QColor brush_;
  FocusRing* ring_ = nullptr;
};

}  // namespace twr::ui
