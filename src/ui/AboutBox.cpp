// The About box.
#include "ui/AboutBox.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

#include "common/Strings.h"
#include "ui/FocusRing.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"

namespace twr::ui {

namespace {

constexpr int kIconPixels = 64;
constexpr int kNamePixels = 18;
constexpr int kTextWidth = 300;
constexpr int kMargin = 18;
// The licence the program is distributed under: one place for the words.
constexpr const char* kLicence = "GNU General Public License, version 3 or later";

QLabel* Line(const QString& text, QWidget* parent, int pixels = 0, bool bold = false) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setFixedWidth(kTextWidth);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  if (pixels || bold) {
    QFont font = label->font();
    if (pixels) font.setPixelSize(pixels);
    font.setBold(bold);
    label->setFont(font);
  }
  return label;
}

}  // namespace

AboutBox::AboutBox(std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      openHelp_(std::move(openHelp)) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(tr("About %1").arg(QString::fromUtf8(kAppName)));
  ApplySkinPalette(this, kConfigBrush);
  setAutoFillBackground(true);

  auto* icon = new QLabel(this);
  icon->setPixmap(QIcon(QStringLiteral(":/icons/titlewright")).pixmap(kIconPixels));
  icon->setAlignment(Qt::AlignTop);

  auto* texts = new QVBoxLayout;
  texts->setSpacing(6);
  texts->addWidget(Line(QString::fromUtf8(kAppName), this, kNamePixels, true));
  version_ = Line(tr("Version %1").arg(QString::fromUtf8(kVersionText)), this, 0, true);
  version_->setObjectName(QStringLiteral("version"));
  texts->addWidget(version_);
  texts->addSpacing(4);
  texts->addWidget(Line(tr("Designs round disc labels and etches them with the laser of an "
                           "Etchlume DVD drive: on the label side of an Etchlume disc, or in "
                           "Rimtone mode on the free outer band of a DVD-R or DVD+R."),
                        this));
  licence_ = Line(tr("Free software under the %1.").arg(QString::fromUtf8(kLicence)), this);
  licence_->setObjectName(QStringLiteral("licence"));
  texts->addWidget(licence_);
  texts->addWidget(Line(tr("Runs on Qt %1.").arg(QString::fromLatin1(qVersion())), this));

  auto* top = new QHBoxLayout;
  top->setSpacing(kMargin);
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addLayout(texts);

  help_ = new SkinnedTextButton(tr("&Help"), this);
  help_->setToolTip(tr("Open the help pages (F1)"));
  close_ = new SkinnedTextButton(tr("Close"), this);
  close_->SetDefault(true);
  connect(close_, &QAbstractButton::clicked, this, &QDialog::accept);
  connect(help_, &QAbstractButton::clicked, this, [this] {
    accept();
    if (openHelp_) openHelp_();
  });
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  buttons->addStretch();
  buttons->addWidget(help_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin - 4);
  layout->setSpacing(14);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  new FocusRing(this, QString());
}

void AboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  close_->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace twr::ui
