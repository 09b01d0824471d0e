// After Calibrate... has burnt the wedge: its steps as the etch draws them
// and the question which step is the first visibly marked and which the
// first fully dark. OK hands the answer to `keep`; a refusal is said in the
// dialog, with the numbers as typed, until the answer is kept or Cancel
// leaves the calibration as it was.
#pragma once

#include <QDialog>
#include <QImage>

#include <functional>
#include <string>

class QLabel;
class QSpinBox;

namespace twr::ui {

class WedgeAnswerDialog : public QDialog {
  Q_OBJECT

 public:
  // Keeps the answer: "" when kept, else why not in one sentence.
  using Keeper = std::function<std::string(int firstMark, int firstDark)>;

  WedgeAnswerDialog(const QImage& etchedWedge, Keeper keep, QWidget* parent = nullptr);

  QSpinBox* FirstMark() const { return firstMark_; }
  QSpinBox* FirstDark() const { return firstDark_; }
  // Why the last answer was not kept ("" when none was refused).
  QString Problem() const;

 public slots:
  void accept() override;

 private:
  Keeper keep_;
  QSpinBox* firstMark_ = nullptr;
  QSpinBox* firstDark_ = nullptr;
  QLabel* problem_ = nullptr;
};

}  // namespace twr::ui
