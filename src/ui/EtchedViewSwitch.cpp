#include "ui/EtchedViewSwitch.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QToolButton>

namespace twr::ui {

namespace {

const char* const kSwitchStyle =
    "QToolButton { color: white; background: rgba(30, 30, 40, 170); border: 1px solid "
    "rgba(255, 255, 255, 90); padding: 2px 8px; }"
    "QToolButton:checked { background: rgba(74, 72, 168, 230); }"
    "QToolButton:hover:!checked { background: rgba(60, 60, 80, 200); }"
    "QToolButton#EtchedViewDesign { border-top-left-radius: 4px; border-bottom-left-radius: 4px; }"
    "QToolButton#EtchedViewEtched { border-top-right-radius: 4px; border-bottom-right-radius: "
    "4px; border-left: none; }";

}  // namespace

EtchedViewSwitch::EtchedViewSwitch(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("EtchedViewSwitch"));
  setStyleSheet(QString::fromLatin1(kSwitchStyle));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  design_ = new QToolButton(this);
  design_->setObjectName(QStringLiteral("EtchedViewDesign"));
  design_->setText(tr("Design"));
  design_->setToolTip(tr("The label as designed"));
  etched_ = new QToolButton(this);
  etched_->setObjectName(QStringLiteral("EtchedViewEtched"));
  etched_->setText(tr("As etched"));
  etched_->setToolTip(tr("What the laser leaves on the disc at the quality beside"));
  auto* group = new QButtonGroup(this);
  for (QToolButton* button : {design_, etched_}) {
    button->setCheckable(true);
    button->setCursor(Qt::PointingHandCursor);
    group->addButton(button);
    row->addWidget(button);
  }
  design_->setChecked(true);
  row->addSpacing(6);
  quality_ = new QComboBox(this);
  quality_->setObjectName(QStringLiteral("EtchedViewQuality"));
  quality_->setAccessibleName(tr("Etched quality"));
  quality_->addItem(tr("Draft"));
  quality_->addItem(tr("Normal"));
  quality_->addItem(tr("High Quality"));
  row->addWidget(quality_);
  connect(group, &QButtonGroup::buttonToggled, this, [this](QAbstractButton*, bool checked) {
    if (checked) emit Changed();
  });
  connect(quality_, &QComboBox::currentIndexChanged, this, &EtchedViewSwitch::Changed);
  adjustSize();
}

bool EtchedViewSwitch::Etched() const {
  return etched_->isChecked();
}

void EtchedViewSwitch::SetEtched(bool etched) {
  (etched ? etched_ : design_)->setChecked(true);
}

BurnQuality EtchedViewSwitch::Quality() const {
  return static_cast<BurnQuality>(std::max(0, quality_->currentIndex()));
}

}  // namespace twr::ui
