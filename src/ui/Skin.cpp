// Skin pictures, colours and dialog units.
#include "ui/Skin.h"

#include <QFile>
#include <QPainter>
#include <QPixmapCache>
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

void EnsureResources() {
  static const bool done = [] {
    InitSkinResource();
    return true;
  }();
  (void)done;
}

int Round(double v) {
  return static_cast<int>(std::lround(v));
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
  const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const QString key = QStringLiteral("twr-skin:%1@%2").arg(name).arg(dpr);
  QPixmap cached;
  if (QPixmapCache::find(key, &cached)) return cached;

  const QSize logical = SkinPictureSize(name);
  if (logical.isEmpty()) return QPixmap();
  QPixmap pixmap(QSize(qRound(logical.width() * dpr), qRound(logical.height() * dpr)));
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer renderer;
    if (HasSkinPicture(name) && renderer.load(ResourcePath(name))) {
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
