// The keyboard-focus ring of a skinned window: a 2-pixel ring in the accent
// colour round the control that has the focus, drawn outside the control
// over the window's background, so that neither a button's picture nor its
// size change. It shows once the keyboard is used in the window and hides at
// the next mouse press, as a ring that follows keyboard use does. Over the
// dark stage it takes the stage accent, over the light panels the accent:
// whichever stands out more against the background under it.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace twr::ui {

class FocusRing : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 2;  // the ring's line
  static constexpr int kGap = 2;    // between the control and the ring

  // A child of `window`, whose background picture is `background` (none:
  // the window's brush).
  FocusRing(QWidget* window, const QString& background);
  ~FocusRing() override;

  void SetBackground(const QString& background);
  // The control the ring is round now; null while it is hidden.
  QWidget* Target() const { return isVisible() ? target_.data() : nullptr; }
  const QColor& Colour() const { return colour_; }
  // The background colours under the ring round `control` (the ring's
  // colour is chosen against these).
  std::vector<QColor> BackgroundUnder(const QWidget* control) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void Follow();
  void ScheduleFollow();
  QRect RingRect(const QWidget* control) const;
  qreal CornerRadius() const;

  QString background_;
  QImage backgroundImage_;
  QPointer<QWidget> target_;
  QColor colour_;
  bool keyboard_ = false;
  bool followPending_ = false;
};

}  // namespace twr::ui
