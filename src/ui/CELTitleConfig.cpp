// The configuration dialog.
#include "ui/CELTitleConfig.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "common/Strings.h"
#include "label/FontFamilies.h"
#include "ui/DriveTask.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/model/TitleConfigModel.h"

namespace twr::ui {

namespace {

// Template 132, in dialog units.
const QRect kFontRect = DialogRect(15, 18, 127, 14);  // closed height
// Beside the burning area's section title, in the place of its rule.
const QRect kAreaRect = DialogRect(75, 40, 72, 12);
const QRect kInnerRect = DialogRect(82, 55, 40, 12);
const QRect kOuterRect = DialogRect(82, 69, 40, 12);
const QRect kRimtoneRect = DialogRect(21, 85, 86, 12);
const QRect kOkRect = DialogRect(11, 106, 69, 18);
const QRect kCancelRect = DialogRect(83, 106, 69, 18);

// The captions' baselines (the font's a little higher than the picture had
// it, clear of the focus ring round the font list).
const QPoint kFontCaption{22, 22};
const QPoint kInnerCaption{31, 103};
const QPoint kOuterCaption{31, 126};

}  // namespace

CELTitleConfig::CELTitleConfig(TitleConfigModel& model, const TitleConfigValues& values,
                               CELDevice& device, Messages& messages, QWidget* parent,
                               const std::vector<std::string>* fonts)
    : SkinnedDialog(skin::kConfigBackground, kConfigBrush, parent),
      model_(model),
      device_(device),
      messages_(messages) {
  setWindowTitle(QString::fromUtf8(StringText(kStrConfigTitle)));
  setObjectName(QStringLiteral("CELTitleConfig"));

  fonts_ = new QComboBox(this);
  fonts_->setGeometry(kFontRect);
  fonts_->setObjectName(QString::number(kIdFont));
  fonts_->setAccessibleName(tr("Font"));
  inner_ = new QLineEdit(this);
  inner_->setGeometry(kInnerRect);
  inner_->setObjectName(QString::number(kIdInner));
  inner_->setAccessibleName(tr("Inner radius in millimetres"));
  outer_ = new QLineEdit(this);
  outer_->setGeometry(kOuterRect);
  outer_->setObjectName(QString::number(kIdOuter));
  outer_->setAccessibleName(tr("Outer radius in millimetres"));
  // "Rimtone Mode", its R the mnemonic; greyed with the skin's palette
  // while the disc in the drive offers no data side.
  rimtone_ = new QCheckBox(tr("&Rimtone Mode"), this);
  rimtone_->setGeometry(kRimtoneRect);
  rimtone_->setObjectName(QString::number(kIdRimtone));
  area_ = new QComboBox(this);
  area_->setGeometry(kAreaRect);
  area_->setObjectName(QString::number(kIdArea));
  area_->setAccessibleName(tr("Burning area"));
  area_->addItem(tr("Automatic"));
  area_->addItem(tr("Manual"));
  area_->setToolTip(
      tr("Automatic burns the narrowest band that holds every mark of the label at "
         "its quality; Manual burns the radii below."));
  AddCaption(tr("&Font"), kFontCaption, fonts_);
  AddCaption(tr("&Inner radius"), kInnerCaption, inner_);
  AddCaption(tr("&Outer radius"), kOuterCaption, outer_);

  ok_ = new SkinnedButton(QStringLiteral("IDB_BBTNCONFOKU"), QStringLiteral("IDB_BBTNCONFOKD"),
                          QString(), tr("OK"), this);
  ok_->move(kOkRect.topLeft());
  ok_->setObjectName(QString::number(kIdOk));
  cancel_ = new SkinnedButton(QStringLiteral("IDB_BBTNCONFNGU"), QStringLiteral("IDB_BBTNCONFNGD"),
                              QString(), tr("Cancel"), this);
  cancel_->move(kCancelRect.topLeft());
  cancel_->setObjectName(QString::number(kIdCancel));

  setTabOrder(fonts_, area_);
  setTabOrder(area_, inner_);
  setTabOrder(inner_, outer_);
  setTabOrder(outer_, rimtone_);
  setTabOrder(rimtone_, ok_);
  setTabOrder(ok_, cancel_);
  connect(ok_, &QAbstractButton::clicked, this, &CELTitleConfig::accept);
  connect(cancel_, &QAbstractButton::clicked, this, &CELTitleConfig::reject);
  connect(rimtone_, &QCheckBox::clicked, this, &CELTitleConfig::OnRimtoneClicked);
  connect(area_, &QComboBox::activated, this, [this](int entry) { model_.ChooseArea(entry == 0); });

  // The disc kind decides whether Rimtone mode is offered; a slow drive
  // must not freeze the window that opened this one.
  model_.SetDriveRunner([](const std::function<void()>& work) { DriveTask::Run(work); });
  connect(&model_, &TitleConfigModel::Changed, this, &CELTitleConfig::ShowMembers);
  model_.Begin(values, fonts ? *fonts : TrueTypeFamilies(), device_);
}

void CELTitleConfig::ShowMembers() {
  if (fonts_->count() != static_cast<int>(model_.Fonts().size())) {
    fonts_->clear();
    for (const std::string& family : model_.Fonts())
      fonts_->addItem(QString::fromStdString(family));
  }
  const TitleConfigValues& working = model_.Working();
  fonts_->setCurrentIndex(model_.FontIndex());
  inner_->setText(QString::fromStdString(model_.InnerText()));
  outer_->setText(QString::fromStdString(model_.OuterText()));
  area_->setCurrentIndex(working.automaticArea ? 0 : 1);
  // The radii stay shown for a change back; automatic does not use them.
  inner_->setEnabled(!working.automaticArea);
  outer_->setEnabled(!working.automaticArea);
  rimtone_->setChecked(working.rimtone);
  rimtone_->setEnabled(model_.RimtoneEnabled());
  // Greyed, it says why (a tooltip shows on a disabled control too).
  rimtone_->setToolTip(QString::fromStdString(model_.RimtoneReason()));
}

bool CELTitleConfig::ReadControls() {
  return model_.ReadControls(rimtone_->isChecked(), outer_->text().toStdString(),
                             inner_->text().toStdString(), fonts_->currentIndex(), messages_);
}

void CELTitleConfig::OnRimtoneClicked() {
  ReadControls();
  model_.AdjustInnerRadius(device_);
}

void CELTitleConfig::accept() {
  if (DriveTask::Busy()) return;
  // A radius that is no number keeps the dialog open at that edit: the
  // area is not checked, and nothing is taken, with a value the user did
  // not type.
  const auto toRefused = [this] {
    QLineEdit* bad = model_.Refused() == TitleConfigModel::Field::Outer ? outer_ : inner_;
    bad->setFocus();
    bad->selectAll();
  };
  if (!ReadControls()) {
    toRefused();
    return;
  }
  if (!model_.Accept(device_, messages_)) {
    toRefused();  // the dialog stays open at the radius to mend
    return;
  }
  ShowMembers();
  QDialog::accept();
}

void CELTitleConfig::keyPressEvent(QKeyEvent* event) {
  // OK is the default button: Enter in an edit confirms.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      !fonts_->view()->isVisible()) {
    accept();
    return;
  }
  SkinnedDialog::keyPressEvent(event);
}

}  // namespace twr::ui
