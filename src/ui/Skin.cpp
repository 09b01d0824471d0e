// Skin pictures, colours and dialog units.
#include "ui/Skin.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QLocale>
#include <QPainter>
#include <QPixmapCache>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QWidget>

#include <algorithm>
#include <cmath>

// The compiled-in skin (resources/skin/skin.qrc), when the build has it.
#ifdef TWR_HAVE_SKIN
inline void InitSkinResource() {
  Q_INIT_RESOURCE(skin);
}
#else
inline void InitSkinResource() {}
#endif

namespace twr::ui {

namespace {

constexpr double kPixelsPerUnitAcross = 1.5;
constexpr double kPixelsPerUnitDown = 1.625;
constexpr int kDialogFontPixels = 11;

struct KnownPicture {
  const char* name;
  int width;
  int height;
};

// Every picture the windows use, with its size in pixels.
constexpr KnownPicture kPictures[] = {
    {"bg151", 682, 488},          {"bg156", 360, 281},          {"bg161", 360, 281},
    {"bg158", 242, 210},          {"IDB_BBTNOKU", 64, 64},      {"IDB_BBTNOKD", 64, 64},
    {"IDB_BBTNDRAWU", 64, 64},    {"IDB_BBTNDRAWD", 64, 64},    {"IDB_BBTNDRAWX", 64, 64},
    {"IDB_BBTNEXITU", 100, 28},   {"IDB_BBTNEXITD", 100, 28},   {"IDB_BBTNSCANU", 100, 28},
    {"IDB_BBTNSCAND", 100, 28},   {"IDB_BBTNCONFU", 100, 28},   {"IDB_BBTNCONFD", 100, 28},
    {"IDB_BBTNCONFOKU", 100, 28}, {"IDB_BBTNCONFOKD", 100, 28}, {"IDB_BBTNCONFNGU", 100, 28},
    {"IDB_BBTNCONFNGD", 100, 28}, {"IDB_BBTNDREXITU", 100, 28}, {"IDB_BBTNDREXITD", 100, 28},
};

QString ResourcePath(const QString& name) {
  return QStringLiteral(":/skin/") + name;
}

// The SVG drawn for each picture and caption, worked out once for the
// language in use: a paint only looks it up. Emptied when the translators
// change, as the words drawn may then change.
QHash<QString, QByteArray>& DrawnSvgs() {
  static QHash<QString, QByteArray> svgs;
  return svgs;
}

class LanguageWatch : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::LanguageChange) DrawnSvgs().clear();
    return QObject::eventFilter(watched, event);
  }
};

void EnsureResources() {
  static const bool done = [] {
    InitSkinResource();
    if (QCoreApplication* app = QCoreApplication::instance())
      app->installEventFilter(new LanguageWatch(app));
    return true;
  }();
  (void)done;
}

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

// ---- The pictures' words -------------------------------------------------------

// The words of the backgrounds, each with the room it has where it stands
// (pixels across): up to the static beside it, the rule after it, the
// stage or the dialog's edge. The name (Title, wright) stays as drawn.
struct SkinWord {
  const char* source;
  double room;
};
constexpr SkinWord kSkinWords[] = {
    {QT_TRANSLATE_NOOP("Skin", "Layout"), 100},  // upright in the stage's margin
    {QT_TRANSLATE_NOOP("Skin", "Font"), 108},    // main window: the statics start at x 554
    // The main window's, and the configuration dialog's bold title before its rule.
    {QT_TRANSLATE_NOOP("Skin", "Burning area"), 84},
    {QT_TRANSLATE_NOOP("Skin", "Required time"), 108},
    {QT_TRANSLATE_NOOP("Skin", "Disc"), 150},  // burn dialog: above the slot and the list
    {QT_TRANSLATE_NOOP("Skin", "Quality"), 150},
    // The Rimtone note beside Exit: up to the dialog's right edge.
    {QT_TRANSLATE_NOOP("Skin", "Rimtone"), 78},
    {QT_TRANSLATE_NOOP("Skin", "data side to the laser"), 114},
    {QT_TRANSLATE_NOOP("Skin", "mm"), 40},  // config dialog: up to its edge
};
constexpr int kWordFloorPixels = 9;  // the smallest a translated word is made
constexpr double kFaceMargin = 5;    // between a face's outline and its words
constexpr double kIconSize = 13;     // the line icons of the 100 x 28 faces

const QRegularExpression& TextElement() {
  static const QRegularExpression re(QStringLiteral("<text([^>]*)>([^<]*)</text>"));
  return re;
}

// An attribute of an element's attribute list; empty where it has none.
QString Attribute(const QString& attributes, const QString& name) {
  const QRegularExpression re(QStringLiteral("(?:^|\\s)%1=\"([^\"]*)\"").arg(name));
  const QRegularExpressionMatch m = re.match(attributes);
  return m.hasMatch() ? m.captured(1) : QString();
}

QString SetAttribute(QString attributes, const QString& name, const QString& value) {
  const QRegularExpression re(QStringLiteral("(^|\\s)%1=\"[^\"]*\"").arg(name));
  const QString pair = QStringLiteral("%1=\"%2\"").arg(name, value);
  if (re.match(attributes).hasMatch()) return attributes.replace(re, QStringLiteral("\\1") + pair);
  return attributes + QLatin1Char(' ') + pair;
}

double Number(const QString& text) {
  return QLocale::c().toDouble(text);
}

QString Number(double v) {
  QString s = QLocale::c().toString(v, 'f', 2);
  while (s.contains(QLatin1Char('.')) &&
         (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
    s.chop(1);
  return s;
}

// The words as the pictures carry them: one character each for &lt; &gt;
// &amp; &quot; &apos;.
QString Unescaped(QString text) {
  text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
  text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  return text;
}

QFont TextFont(const QString& attributes, double pixels) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, Round(pixels)));
  font.setBold(Attribute(attributes, QStringLiteral("font-weight")) == QLatin1String("bold"));
  return font;
}

// Words made to fit a room: smaller one pixel at a time down to the floor,
// then elided at the floor.
struct Fitted {
  QString shown;
  int pixels;
  double width;
};

Fitted Fit(const QString& words, const QString& attributes, double room) {
  const int size = std::max(1, Round(Number(Attribute(attributes, QStringLiteral("font-size")))));
  const int floor = std::min(size, kWordFloorPixels);
  for (int pixels = size; pixels >= floor; --pixels) {
    const QFontMetricsF metrics(TextFont(attributes, pixels));
    const double width = metrics.horizontalAdvance(words);
    if (width <= room || pixels == floor) {
      if (width <= room) return {words, pixels, width};
      const QString elided = metrics.elidedText(words, Qt::ElideRight, room);
      return {elided, pixels, metrics.horizontalAdvance(elided)};
    }
  }
  return {words, size, 0};
}

// A caption without its mnemonic marks ("&&" stands for "&"), and the index
// of its mnemonic letter in it (-1 for none).
QString CaptionWords(const QString& caption, int* mnemonic) {
  QString words;
  *mnemonic = -1;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != QLatin1Char('&') && *mnemonic < 0) *mnemonic = int(words.size());
    }
    words += caption[i];
  }
  return words;
}

QByteArray PictureBytes(const QString& name) {
  static QHash<QString, QByteArray> pictures;
  const auto it = pictures.constFind(name);
  if (it != pictures.constEnd()) return *it;
  QFile file(ResourcePath(name));
  QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  pictures.insert(name, bytes);
  return bytes;
}

// A face and where its parts are.
struct FaceParts {
  QString svg;
  double width = 0;
  QRegularExpressionMatch text;
  QRegularExpressionMatch icon;       // <g transform="translate(X Y)">
  QRegularExpressionMatch underline;  // the rule under the mnemonic
};

FaceParts ReadFace(const QString& name) {
  FaceParts face;
  face.svg = QString::fromUtf8(PictureBytes(name));
  const qsizetype tag = face.svg.indexOf(QLatin1String("<svg"));
  const qsizetype tagEnd = face.svg.indexOf(QLatin1Char('>'), tag);
  if (tag >= 0 && tagEnd > tag)
    face.width = Number(Attribute(face.svg.mid(tag, tagEnd - tag), QStringLiteral("width")));
  face.text = TextElement().match(face.svg);
  static const QRegularExpression icon(
      QStringLiteral("<g transform=\"translate\\(([-0-9.]+) ([-0-9.]+)\\)\">"));
  face.icon = icon.match(face.svg);
  static const QRegularExpression underline(
      QStringLiteral("\\s*<!-- the mnemonic's underline -->\\s*<rect ([^>]*)/>"));
  face.underline = underline.match(face.svg);
  return face;
}

// The letter of the picture's word its rule lies under (-1 for none).
int DrawnMnemonic(const FaceParts& face) {
  if (!face.underline.hasMatch()) return -1;
  const QString attributes = face.text.captured(1);
  const QString words = Unescaped(face.text.captured(2));
  const QFontMetricsF metrics(
      TextFont(attributes, Number(Attribute(attributes, QStringLiteral("font-size")))));
  double left = Number(Attribute(attributes, QStringLiteral("x")));
  if (Attribute(attributes, QStringLiteral("text-anchor")) == QLatin1String("middle"))
    left -= metrics.horizontalAdvance(words) / 2;
  const QString rule = face.underline.captured(1);
  const double centre = Number(Attribute(rule, QStringLiteral("x"))) +
                        Number(Attribute(rule, QStringLiteral("width"))) / 2;
  int nearest = -1;
  double distance = 1e9;
  for (qsizetype i = 0; i < words.size(); ++i) {
    const double mid = left + metrics.horizontalAdvance(words.left(i)) +
                       metrics.horizontalAdvance(words.at(i)) / 2;
    if (std::abs(mid - centre) < distance) {
      distance = std::abs(mid - centre);
      nearest = int(i);
    }
  }
  return nearest;
}

// The 100 x 28 button faces: an outline of two rounded rectangles and a
// highlight rule, which stretch across without changing their look.
constexpr double kStretchWidth = 100;
constexpr const char* kStretchHeader = "width=\"100\" height=\"28\" viewBox=\"0 0 100 28\"";
constexpr double kRuleInset = 6;  // the highlight rule's ends from the face's edges

bool Stretchable(const FaceParts& face) {
  return face.width == kStretchWidth && face.svg.contains(QLatin1String(kStretchHeader));
}

// A stretchable face's SVG made `to` wide: the picture, the outline's
// rectangles and the highlight rule's end.
void Widen(QString& svg, double from, double to) {
  const QString w = Number(to);
  svg.replace(QLatin1String(kStretchHeader),
              QStringLiteral("width=\"%1\" height=\"28\" viewBox=\"0 0 %1 28\"").arg(w));
  svg.replace(QStringLiteral("width=\"%1\"").arg(Number(from - 1)),
              QStringLiteral("width=\"%1\"").arg(Number(to - 1)));
  svg.replace(QStringLiteral(" H%1\"").arg(Number(from - kRuleInset)),
              QStringLiteral(" H%1\"").arg(Number(to - kRuleInset)));
}

// Lays out a caption on a face; with `svg`, also writes the face's SVG.
FaceLayout LayOutFace(const QString& name, const QString& caption, QString* svg) {
  FaceLayout layout;
  const FaceParts face = ReadFace(name);
  if (!face.text.hasMatch() || face.width <= 0) return layout;
  const QString attributes = face.text.captured(1);
  const double baseline = Number(Attribute(attributes, QStringLiteral("y")));
  const bool middle =
      Attribute(attributes, QStringLiteral("text-anchor")) == QLatin1String("middle");
  const double textX = Number(Attribute(attributes, QStringLiteral("x")));
  int mnemonic = -1;
  const QString words = CaptionWords(caption, &mnemonic);
  layout.asDrawn = words == Unescaped(face.text.captured(2)) && mnemonic == DrawnMnemonic(face);

  layout.room = QRectF(kFaceMargin, 0, face.width - 2 * kFaceMargin, baseline + 4);
  const bool hasIcon = face.icon.hasMatch() && !middle;
  const double iconX = hasIcon ? Number(face.icon.captured(1)) : 0;
  const double iconY = hasIcon ? Number(face.icon.captured(2)) : 0;
  const double offset = hasIcon ? textX - iconX : 0;  // icon, gap, words
  const int fullPixels = Round(Number(Attribute(attributes, QStringLiteral("font-size"))));
  Fitted fitted{words, fullPixels, 0};
  layout.faceWidth = face.width;
  if (layout.asDrawn) {
    fitted.width = QFontMetricsF(TextFont(attributes, fitted.pixels)).horizontalAdvance(words);
  } else {
    fitted = Fit(words, attributes, layout.room.width() - offset);
    // A button face widens for a long caption (German words), so that every
    // button's caption stands at the same size.
    if (fitted.pixels < fullPixels && !middle && Stretchable(face)) {
      const double need = QFontMetricsF(TextFont(attributes, fullPixels)).horizontalAdvance(words);
      layout.faceWidth = face.width + std::ceil(need - (layout.room.width() - offset));
      layout.room.setWidth(layout.faceWidth - 2 * kFaceMargin);
      fitted = Fit(words, attributes, layout.room.width() - offset);
    }
  }
  const QFontMetricsF metrics(TextFont(attributes, fitted.pixels));
  double left = middle ? textX - fitted.width / 2 : textX;
  double newIconX = iconX;
  if (!layout.asDrawn && !middle) {
    newIconX = std::round((layout.faceWidth - (offset + fitted.width)) / 2);
    left = newIconX + offset;
  }
  layout.shown = fitted.shown;
  layout.pixels = fitted.pixels;
  layout.word =
      QRectF(left, baseline - metrics.ascent(), fitted.width, metrics.ascent() + metrics.descent());
  if (hasIcon) layout.icon = QRectF(newIconX, iconY, kIconSize, kIconSize);
  const bool elided = fitted.shown != words;
  if (mnemonic >= 0 && (!elided || mnemonic < fitted.shown.size() - 1)) {
    const QRectF ink = metrics.boundingRect(fitted.shown.at(mnemonic));
    layout.underline =
        QRectF(left + metrics.horizontalAdvance(fitted.shown.left(mnemonic)) + ink.left(),
               baseline + 2, ink.width(), 1);
  }
  if (!svg) return layout;
  if (layout.asDrawn) {
    *svg = face.svg;
    return layout;
  }

  // The face with the caption: the baked rule goes, the computed one comes
  // after the words, in their colour.
  QString text = attributes;
  if (!middle) text = SetAttribute(text, QStringLiteral("x"), Number(left));
  if (fitted.pixels != Round(Number(Attribute(attributes, QStringLiteral("font-size")))))
    text = SetAttribute(text, QStringLiteral("font-size"), QString::number(fitted.pixels));
  QString element = QStringLiteral("<text%1>%2</text>").arg(text, fitted.shown.toHtmlEscaped());
  if (!layout.underline.isEmpty()) {
    element +=
        QStringLiteral(
            "\n  <!-- the mnemonic's underline -->\n  <rect x=\"%1\" y=\"%2\" "
            "width=\"%3\" height=\"1\" fill=\"%4\"/>")
            .arg(Number(layout.underline.x()), Number(layout.underline.y()),
                 Number(layout.underline.width()), Attribute(attributes, QStringLiteral("fill")));
  }
  QString out = face.svg;
  if (layout.faceWidth > face.width) Widen(out, face.width, layout.faceWidth);
  // From the back, so the earlier positions hold.
  if (face.underline.hasMatch())
    out.remove(face.underline.capturedStart(), face.underline.capturedLength());
  out.replace(face.text.capturedStart(), face.text.capturedLength(), element);
  if (hasIcon && newIconX != iconX) {
    out.replace(face.icon.capturedStart(), face.icon.capturedLength(),
                QStringLiteral("<g transform=\"translate(%1 %2)\">")
                    .arg(Number(newIconX), face.icon.captured(2)));
  }
  *svg = out;
  return layout;
}

// A background with its words translated.
QByteArray TranslatedBackground(const QString& name) {
  QByteArray bytes = PictureBytes(name);
  const QString svg = QString::fromUtf8(bytes);
  QString out;
  qsizetype done = 0;
  bool changed = false;
  QRegularExpressionMatchIterator it = TextElement().globalMatch(svg);
  while (it.hasNext()) {
    const QRegularExpressionMatch m = it.next();
    const QString words = Unescaped(m.captured(2));
    const SkinWord* known = nullptr;
    for (const SkinWord& w : kSkinWords)
      if (words == QLatin1String(w.source)) known = &w;
    if (!known) continue;
    const QString translated = QCoreApplication::translate("Skin", known->source);
    if (translated == words) continue;
    const Fitted fitted = Fit(translated, m.captured(1), known->room);
    QString attributes = m.captured(1);
    if (fitted.pixels != Round(Number(Attribute(attributes, QStringLiteral("font-size")))))
      attributes =
          SetAttribute(attributes, QStringLiteral("font-size"), QString::number(fitted.pixels));
    out += svg.mid(done, m.capturedStart() - done);
    out += QStringLiteral("<text%1>%2</text>").arg(attributes, fitted.shown.toHtmlEscaped());
    done = m.capturedEnd();
    changed = true;
  }
  if (!changed) return bytes;
  out += svg.mid(done);
  return out.toUtf8();
}

QPixmap Rendered(const QString& name, const QByteArray& svg, qreal devicePixelRatio) {
  const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const QString key = QStringLiteral("twr-skin:%1@%2#%3").arg(name).arg(dpr).arg(qHash(svg), 0, 16);
  QPixmap cached;
  if (QPixmapCache::find(key, &cached)) return cached;

  QSize logical = SkinPictureSize(name);
  if (logical.isEmpty()) return QPixmap();
  QSvgRenderer renderer;
  const bool loaded = !svg.isEmpty() && renderer.load(svg);
  // A face widened for its caption is drawn at its own width.
  if (loaded && renderer.defaultSize().width() > logical.width())
    logical.setWidth(renderer.defaultSize().width());
  QPixmap pixmap(QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)));
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    if (loaded) {
      renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
    } else {
      // No picture in this build: a quiet placeholder, framed.
      painter.fillRect(pixmap.rect(), QColor(210, 212, 218));
      painter.setPen(QColor(150, 150, 160));
      painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    }
  }
  pixmap.setDevicePixelRatio(dpr);
  QPixmapCache::insert(key, pixmap);
  return pixmap;
}

}  // namespace

QRect DialogRect(int x, int y, int width, int height) {
  const int left = Round(x * kPixelsPerUnitAcross);
  const int top = Round(y * kPixelsPerUnitDown);
  const int right = Round((x + width) * kPixelsPerUnitAcross);
  const int bottom = Round((y + height) * kPixelsPerUnitDown);
  return QRect(left, top, right - left, bottom - top);
}

QSize SkinPictureSize(const QString& name) {
  for (const KnownPicture& p : kPictures) {
    if (name == QLatin1String(p.name)) return QSize(p.width, p.height);
  }
  if (!HasSkinPicture(name)) return QSize();
  QSvgRenderer renderer(ResourcePath(name));
  return renderer.isValid() ? renderer.defaultSize() : QSize();
}

bool HasSkinPicture(const QString& name) {
  EnsureResources();
  return QFile::exists(ResourcePath(name));
}

QPixmap SkinPicture(const QString& name, qreal devicePixelRatio) {
  EnsureResources();
  return Rendered(name, SkinSvg(name), devicePixelRatio);
}

QPixmap SkinFace(const QString& name, const QString& caption, qreal devicePixelRatio) {
  EnsureResources();
  return Rendered(name, SkinSvg(name, caption), devicePixelRatio);
}

QPixmap SkinFace(const QString& name, const QString& caption, const QWidget* widget) {
  return SkinFace(name, caption, widget ? widget->devicePixelRatioF() : 1.0);
}

FaceLayout SkinFaceLayout(const QString& name, const QString& caption) {
  EnsureResources();
  return LayOutFace(name, caption, nullptr);
}

QByteArray SkinSvg(const QString& name, const QString& caption) {
  EnsureResources();
  const QString key = name + QChar(u'\n') + caption;
  if (const auto it = DrawnSvgs().constFind(key); it != DrawnSvgs().constEnd()) return *it;
  if (!HasSkinPicture(name)) return QByteArray();
  QByteArray drawn;
  if (caption.isEmpty()) {
    drawn = TranslatedBackground(name);
  } else {
    QString svg;
    const FaceLayout layout = LayOutFace(name, caption, &svg);
    drawn = layout.asDrawn ? PictureBytes(name) : svg.toUtf8();
  }
  DrawnSvgs().insert(key, drawn);
  return drawn;
}

QPixmap SkinPicture(const QString& name, const QWidget* widget) {
  return SkinPicture(name, widget ? widget->devicePixelRatioF() : 1.0);
}

QFont DialogFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kDialogFontPixels);
  return font;
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const auto luminance = [](const QColor& c) {
    const auto linear = [](double v) {
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor FocusRingColour(const std::vector<QColor>& background) {
  const auto weakest = [&](const QColor& ring) {
    double least = 21.0;
    for (const QColor& c : background) least = std::min(least, ContrastRatio(ring, c));
    return least;
  };
  return weakest(kStageAccent) > weakest(kAccent) ? kStageAccent : kAccent;
}

void ApplySkinPalette(QWidget* dialog, const QColor& brush) {
  QPalette palette = dialog->palette();
  palette.setColor(QPalette::Window, brush);
  palette.setColor(QPalette::WindowText, kStaticText);
  palette.setColor(QPalette::Highlight, kAccent);
  palette.setColor(QPalette::HighlightedText, Qt::white);
  // A disabled control must look disabled: its words greyed, the box of a
  // check box flat in the dialog's brush.
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, kDisabledText);
  palette.setColor(QPalette::Disabled, QPalette::Base, brush);
  dialog->setPalette(palette);
  dialog->setFont(DialogFont());
}

}  // namespace twr::ui
