#include "ui/TemplateGallery.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace twr::ui {

namespace {

// The grey disc a thumbnail shows while it is made (or when it cannot be).
QPixmap WaitingDisc(int side, const QColor& colour) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(QRectF(2, 2, side - 4, side - 4));
  p.setBrush(Qt::transparent);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  const double hole = side * 15.0 / 120.0;
  p.drawEllipse(QPointF(side / 2.0, side / 2.0), hole / 2.0, hole / 2.0);
  return pixmap;
}

// The screen the gallery opens on: its parent's, else the primary one.
QRect ScreenRoom(const QWidget* parent) {
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TemplateGallery::Grid TemplateGallery::FitGrid(int count, QSize room) {
  count = std::max(1, count);
  Grid best{kColumns, (count + kColumns - 1) / kColumns, 0};
  for (int columns = kColumns; columns <= std::max(kColumns, count); ++columns) {
    const int rows = (count + columns - 1) / columns;
    const int side = std::min(
        {kThumbnailSide, room.width() / columns - kCellMargin, room.height() / rows - kTextHeight});
    if (side > best.side) best = {columns, rows, side};
  }
  if (best.side < kMinThumbnailSide)
    best = {kColumns, (count + kColumns - 1) / kColumns, kMinThumbnailSide};
  return best;
}

TemplateGallery::TemplateGallery(std::vector<TemplateEntry> templates, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("New Label from a Template"));
  setObjectName(QStringLiteral("templateGallery"));
  auto* layout = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  hint_->setWordWrap(true);
  layout->addWidget(hint_);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(tr("&New Label"));

  list_ = new QListWidget(this);
  list_->setSpacing(4);
  // Every template on the screen at once where it can be: the room the
  // screen leaves the list once the window's frame, the hint (two lines at
  // most), the buttons and the spacing between them are taken off.
  const QRect screen = ScreenRoom(parent);
  const QMargins margins = layout->contentsMargins();
  const int around = 2 * list_->spacing() + 2 * list_->frameWidth();
  const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const QSize room(screen.width() - margins.left() - margins.right() - around -
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                   screen.height() - titleBar - margins.top() - margins.bottom() -
                       2 * layout->spacing() - 2 * fontMetrics().lineSpacing() -
                       buttons_->sizeHint().height() - around);
  grid_ = FitGrid(static_cast<int>(templates.size()), room);
  model_ = std::make_unique<TemplateGalleryModel>(std::move(templates), grid_.side);

  list_->setObjectName(QStringLiteral("templates"));
  list_->setViewMode(QListView::IconMode);
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  list_->setWrapping(true);
  list_->setWordWrap(true);
  list_->setUniformItemSizes(true);
  list_->setIconSize(QSize(grid_.side, grid_.side));
  const QSize cell(grid_.side + kCellMargin, grid_.side + kTextHeight);
  list_->setGridSize(cell);
  const std::vector<TemplateEntry>& entries = model_->Entries();
  const QPixmap waiting = WaitingDisc(grid_.side, palette().color(QPalette::Mid));
  for (const TemplateEntry& entry : entries) {
    const QString path = QString::fromStdString(entry.path);
    QString name = QString::fromStdString(entry.name);
    if (entry.own) name = tr("%1 (yours)").arg(name);
    auto* item = new QListWidgetItem(QIcon(waiting), name, list_);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    item->setSizeHint(cell);
  }
  // All rows where they fit; where they cannot, as many as the room has.
  const int shownRows =
      std::max(1, std::min(grid_.rows, std::max(0, room.height()) / cell.height()));
  list_->setMinimumSize(
      grid_.columns * cell.width() + around + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
      shownRows * cell.height() + around);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);
  connect(list_, &QListWidget::currentRowChanged, this,
          [this](int row) { buttons_->button(QDialogButtonBox::Ok)->setEnabled(row >= 0); });

  if (entries.empty()) {
    hint_->setText(tr("No templates were found. Templates are label designs (.twrlabel) in the "
                      "program's share/titlewright/templates folder and in %1.")
                       .arg(QString::fromStdString(UserTemplateFolder())));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
  } else {
    hint_->setText(
        tr("Choose the label to start from. Each disc is drawn as a burn of it "
           "will etch; replace its texts with your own."));
    list_->setCurrentRow(0);
  }
  // A wrapped hint (German takes two lines) gets the lines it needs at the
  // list's width, so that the window's height counts them and the buttons
  // keep their place below the list.
  hint_->setMinimumHeight(hint_->heightForWidth(list_->minimumWidth()));
  connect(model_.get(), &TemplateGalleryModel::ThumbnailReady, this,
          &TemplateGallery::ShowThumbnail);
  // Those made before (earlier in this run) may be there already.
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) ShowThumbnail(i);
  list_->setFocus(Qt::OtherFocusReason);
}

TemplateGallery::~TemplateGallery() = default;

QString TemplateGallery::ChosenPath() const {
  if (result() != QDialog::Accepted || list_->currentItem() == nullptr) return {};
  return list_->currentItem()->data(Qt::UserRole).toString();
}

void TemplateGallery::ShowThumbnail(int index) {
  QListWidgetItem* item = list_->item(index);
  if (item == nullptr) return;
  const QImage picture = model_->Thumbnail(index);
  if (!picture.isNull()) {
    item->setIcon(QIcon(QPixmap::fromImage(picture)));
    return;
  }
  const std::string problem = model_->Problem(index);
  if (problem.empty()) return;
  item->setIcon(QIcon(WaitingDisc(grid_.side, QColor(200, 80, 80))));
  item->setToolTip(tr("%1\nThis template cannot be used: %2.")
                       .arg(item->data(Qt::UserRole).toString(), QString::fromStdString(problem)));
}

}  // namespace twr::ui
