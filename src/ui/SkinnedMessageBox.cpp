// Message boxes in the skin's look.
#include "ui/SkinnedMessageBox.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "common/Strings.h"
#include "ui/FocusRing.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"

namespace twr::ui {

namespace {

constexpr int kIconPixels = 32;
constexpr int kTextPixels = 12;
constexpr int kNarrowestText = 260;
constexpr int kWidestText = 520;
constexpr int kMargin = 16;
constexpr int kSpacing = 12;
// The etched rule over the buttons, as in the dialog pictures.
const QColor kRuleDark{0xB3, 0xB6, 0xBB};
const QColor kRuleLight{0xE6, 0xE8, 0xEA};

class EtchedRule : public QWidget {
 public:
  explicit EtchedRule(QWidget* parent) : QWidget(parent) { setFixedHeight(2); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(0, 0, width(), 1, kRuleDark);
    painter.fillRect(0, 1, width(), 1, kRuleLight);
  }
};

QStyle::StandardPixmap IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Error:
      return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Warning:
      return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Information:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

// A text label as wide as its longest line needs, within bounds, wrapped.
QLabel* WrappedLabel(const QString& text, int pixels, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont font = DialogFont();
  font.setPixelSize(pixels);
  label->setFont(font);
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const QString& line : text.split(QLatin1Char('\n')))
    widest = std::max(widest, metrics.horizontalAdvance(line) + 2);
  label->setFixedWidth(std::clamp(widest, kNarrowestText, kWidestText));
  return label;
}

}  // namespace

SkinnedMessageBox::SkinnedMessageBox(MessageIcon icon, const QString& text, const QString& detail,
                                     bool question, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      icon_(icon) {
  setObjectName(QStringLiteral("SkinnedMessageBox"));
  setWindowTitle(QString::fromUtf8(kAppName));
  ApplySkinPalette(this, kConfigBrush);
  setAutoFillBackground(true);

  auto* iconLabel = new QLabel(this);
  iconLabel->setPixmap(style()->standardIcon(IconOf(icon), nullptr, this).pixmap(kIconPixels));
  iconLabel->setAlignment(Qt::AlignTop);
  iconLabel->setAccessibleName(icon == MessageIcon::Error     ? tr("Error")
                               : icon == MessageIcon::Warning ? tr("Warning")
                                                              : tr("Information"));
  text_ = WrappedLabel(text, kTextPixels, this);
  text_->setObjectName(QStringLiteral("text"));
  auto* texts = new QVBoxLayout;
  texts->setSpacing(6);
  texts->addWidget(text_);
  if (!detail.isEmpty()) {
    detail_ = WrappedLabel(detail, kTextPixels - 1, this);
    detail_->setObjectName(QStringLiteral("detail"));
    texts->addWidget(detail_);
  }
  texts->addStretch();

  auto* message = new QHBoxLayout;
  message->setSpacing(kSpacing);
  message->addWidget(iconLabel, 0, Qt::AlignTop);
  message->addLayout(texts, 1);

  accept_ = new SkinnedTextButton(question ? tr("&Yes") : tr("OK"), this);
  connect(accept_, &QAbstractButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons_ = buttons;
  buttons->setSpacing(8);
  buttons->addStretch();
  buttons->addWidget(accept_);
  if (question) {
    no_ = new SkinnedTextButton(tr("&No"), this);
    connect(no_, &QAbstractButton::clicked, this, &QDialog::reject);
    buttons->addWidget(no_);
    no_->SetDefault(true);
  } else {
    accept_->SetDefault(true);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin - 4);
  layout->setSpacing(kSpacing);
  layout->addLayout(message);
  layout->addWidget(new EtchedRule(this));
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ring_ = new FocusRing(this, QString());
}

bool SkinnedMessageBox::Ask() {
  return exec() == QDialog::Accepted;
}

void SkinnedMessageBox::AddHelpButton() {
  if (help_) return;
  help_ = new SkinnedTextButton(tr("&Help"), this);
  help_->setObjectName(QStringLiteral("help"));
  connect(help_, &QAbstractButton::clicked, this, [this] {
    helpChosen_ = true;
    accept();
  });
  buttons_->addWidget(help_);
  setTabOrder(accept_, help_);
}

void SkinnedMessageBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    auto* focused = qobject_cast<SkinnedTextButton*>(focusWidget());
    (focused ? focused : (no_ ? no_ : accept_))->click();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void SkinnedMessageBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  (no_ ? no_ : accept_)->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace twr::ui
