// The wedge's question.
#include "ui/WedgeAnswerDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include "burn/Calibration.h"

namespace twr::ui {

namespace {

// The etched wedge is shown this many pixels across.
constexpr int kWedgeShown = 320;

}  // namespace

WedgeAnswerDialog::WedgeAnswerDialog(const QImage& etchedWedge, Keeper keep, QWidget* parent)
    : QDialog(parent), keep_(std::move(keep)) {
  setWindowTitle(tr("Calibrate"));
  setObjectName(QStringLiteral("WedgeAnswer"));
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("WedgePicture"));
  picture->setAccessibleName(tr("The test band as etched"));
  picture->setAlignment(Qt::AlignCenter);
  if (!etchedWedge.isNull())
    picture->setPixmap(QPixmap::fromImage(etchedWedge.scaled(
        kWedgeShown, kWedgeShown, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  layout->addWidget(picture);
  auto* question = new QLabel(
      tr("Look at the test band on the disc: its steps are numbered 1 to %1, the lightest "
         "first. Which step is the first that is visibly marked, and which the first that "
         "looks fully dark?")
          .arg(kWedgeSteps),
      this);
  question->setWordWrap(true);
  layout->addWidget(question);
  auto* form = new QFormLayout;
  firstMark_ = new QSpinBox(this);
  firstMark_->setObjectName(QStringLiteral("FirstMark"));
  firstMark_->setRange(1, kWedgeSteps);
  firstMark_->setValue(1);
  firstDark_ = new QSpinBox(this);
  firstDark_->setObjectName(QStringLiteral("FirstDark"));
  firstDark_->setRange(1, kWedgeSteps);
  firstDark_->setValue(kWedgeSteps);
  form->addRow(tr("First visibly &marked step:"), firstMark_);
  form->addRow(tr("First fully &dark step:"), firstDark_);
  layout->addLayout(form);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("Problem"));
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  problem_->hide();
  layout->addWidget(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &WedgeAnswerDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &WedgeAnswerDialog::reject);
  layout->addWidget(buttons);
}

QString WedgeAnswerDialog::Problem() const {
  return problem_->text();
}

void WedgeAnswerDialog::accept() {
  const std::string why = keep_(firstMark_->value(), firstDark_->value());
  if (!why.empty()) {
    // The numbers stay as typed; the user mends them or cancels.
    problem_->setText(tr("The answer was not kept: %1.").arg(QString::fromStdString(why)));
    problem_->show();
    return;
  }
  problem_->clear();
  QDialog::accept();
}

}  // namespace twr::ui
