// Skinned push buttons.
#include "ui/SkinnedButton.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "ui/Skin.h"

namespace twr::ui {

namespace {
// The round tiles (Burn, Draw) and the 100 x 28 buttons.
constexpr int kTileSize = 64;
constexpr qreal kTileCorner = 13.0;
constexpr qreal kButtonCorner = 6.0;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;
constexpr int kWordPadding = 16;  // each side of a word
constexpr int kWordPixels = 12;

// The faces of the button pictures, up and pressed.
const QColor kFaceTop{0xF8, 0xF8, 0xFB};
const QColor kFaceBottom{0xE2, 0xE3, 0xE9};
const QColor kFaceOutline{0x8A, 0x8D, 0x9D};
const QColor kDownTop{0xCB, 0xCC, 0xD5};
const QColor kDownBottom{0xDA, 0xDB, 0xE2};
const QColor kDownOutline{0x7A, 0x7D, 0x8E};
const QColor kShadow{0x1C, 0x1F, 0x33, 36};
const QColor kWord{0x2C, 0x2E, 0x3A};

QString PlainWord(const QString& word) {
  return QString(word).remove(QLatin1Char('&'));
}

// The tooltip: the word, and the shortcut its mnemonic gives.
QString WordTip(const QString& word) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(word);
  return mnemonic.isEmpty() ? PlainWord(word)
                            : QStringLiteral("%1 (%2)").arg(
                                  PlainWord(word), mnemonic.toString(QKeySequence::NativeText));
}

QFont WordFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kWordPixels);
  font.setBold(true);
  return font;
}

// Enter clicks a focused button, as Space does.
bool ClickOnEnter(QAbstractButton* button, QKeyEvent* event) {
  if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) || !button->isEnabled() ||
      event->isAutoRepeat())
    return false;
  button->animateClick();
  event->accept();
  return true;
}
}  // namespace

SkinnedButton::SkinnedButton(const QString& up, const QString& down, const QString& disabled,
                             const QString& word, QWidget* parent)
    : QAbstractButton(parent), up_(up), down_(down), disabled_(disabled) {
  setText(word);  // the mnemonic becomes the button's shortcut
  setAccessibleName(PlainWord(word));
  setToolTip(WordTip(word));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_Hover);
  setFixedSize(sizeHint());
  setProperty("focusRingCorner", CornerRadius());
}

QSize SkinnedButton::sizeHint() const {
  QSize size = SkinPictureSize(up_);
  // A face that widened for its caption (SkinFaceLayout) is that wide.
  if (!text().isEmpty())
    size.setWidth(
        std::max(size.width(), static_cast<int>(std::ceil(SkinFaceLayout(up_, text()).faceWidth))));
  return size;
}

QString SkinnedButton::ShownPicture() const {
  if (isDown()) return down_;
  if (!isEnabled() && !disabled_.isEmpty()) return disabled_;
  return up_;
}

qreal SkinnedButton::CornerRadius() const {
  return height() >= kTileSize ? kTileCorner : kButtonCorner;
}

void SkinnedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The face says the button's caption, in the user's language.
  painter.drawPixmap(0, 0, SkinFace(ShownPicture(), text(), this));
}

void SkinnedButton::keyPressEvent(QKeyEvent* event) {
  if (!ClickOnEnter(this, event)) QAbstractButton::keyPressEvent(event);
}

// ---- Buttons with a drawn word -------------------------------------------------

SkinnedTextButton::SkinnedTextButton(const QString& word, QWidget* parent)
    : QAbstractButton(parent), minimumWidth_(kButtonWidth) {
  setText(word);
  setAccessibleName(PlainWord(word));
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setFont(WordFont());
  setProperty("focusRingCorner", kButtonCorner);
  setFixedSize(sizeHint());
}

QSize SkinnedTextButton::sizeHint() const {
  const int word = QFontMetrics(WordFont()).horizontalAdvance(PlainWord(text()));
  return QSize(std::max(minimumWidth_, word + 2 * kWordPadding), kButtonHeight);
}

void SkinnedTextButton::SetDefault(bool on) {
  default_ = on;
  update();
}

void SkinnedTextButton::SetMinimumWidth(int pixels) {
  minimumWidth_ = pixels;
  setFixedSize(sizeHint());
}

void SkinnedTextButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool down = isDown();
  // As the pictures: a shadow one pixel under the face (along its top when
  // pressed), the face one pixel lower when pressed.
  const QRectF face = QRectF(0.5, down ? 1.5 : 0.5, width() - 1.0, height() - 2.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kShadow);
  painter.drawRoundedRect(face.translated(0, down ? -1.0 : 1.0), kButtonCorner, kButtonCorner);
  QLinearGradient gradient(face.topLeft(), face.bottomLeft());
  gradient.setColorAt(0, down ? kDownTop : kFaceTop);
  gradient.setColorAt(1, down ? kDownBottom : kFaceBottom);
  painter.setBrush(gradient);
  painter.setPen(QPen(default_ ? kAccent : (down ? kDownOutline : kFaceOutline), 1.0));
  painter.drawRoundedRect(face, kButtonCorner, kButtonCorner);
  painter.setPen(isEnabled() ? kWord : kDisabledText);
  painter.setFont(WordFont());
  painter.drawText(face.toRect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void SkinnedTextButton::keyPressEvent(QKeyEvent* event) {
  if (!ClickOnEnter(this, event)) QAbstractButton::keyPressEvent(event);
}

}  // namespace twr::ui
