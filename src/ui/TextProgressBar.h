// The burn dialog's progress bar: paints itself, with an optional text
// centred over the bar that stays readable where the bar's edge crosses it
// (drawn twice, clipped to the filled and the empty part in two colours).
// It never flickers: a position redraws only when the split between filled
// and empty moves by a whole pixel, the background is never erased on its
// own, and each paint is composed off screen and copied in one step.
#pragma once

#include <QColor>
#include <QWidget>

#include <cstddef>
#include <string>

namespace twr::ui {

class TextProgressBar : public QWidget {
  Q_OBJECT

 public:
  explicit TextProgressBar(QWidget* parent = nullptr);

  void SetRange(int lower, int upper);
  int Lower() const { return lower_; }
  int Upper() const { return upper_; }
  // The previous step.
  int SetStep(int step);
  // The previous position. Redraws at once when the split moves.
  int SetPos(int position);
  int Pos() const { return position_; }
  // Position + step, through SetPos; the previous position.
  int StepIt();
  // Redraws only when the flag changes.
  void SetShowText(bool show);
  bool ShowText() const { return showText_; }
  // Redraws only when the text differs from the one shown.
  void SetText(const std::string& text);
  // Copies at most `size` - 1 bytes of the text and a NUL into `buffer`;
  // the number of bytes copied (without the NUL).
  std::size_t GetText(char* buffer, std::size_t size) const;
  const std::string& Text() const { return text_; }

  // Paint events handled, and those that drew the bar (tests, measurements).
  int PaintCount() const { return paints_; }
  int DrawCount() const { return draws_; }
  // The split drawn last, in pixels (-1 before the first or after a resize).
  int LastSplit() const { return lastSplit_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Pixels of the bar that are filled for the current position.
  int SplitFor(int width) const;

  int lower_ = 0;
  int upper_ = 100;
  int position_ = 0;
  int step_ = 1;
  std::string text_;
  bool showText_ = true;
  QColor barColour_;
  QColor backgroundColour_;
  QColor textOverBackground_;
  QColor textOverBar_;
  int lastSplit_ = -1;
  int paints_ = 0;
  int draws_ = 0;
};

}  // namespace twr::ui
