#include "ui/TemplateGallery.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace twr::ui {

namespace {

constexpr int kColumns = 3;
constexpr int kCellMargin = 24;
constexpr int kTextHeight = 44;

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

}  // namespace

TemplateGallery::TemplateGallery(std::vector<TemplateEntry> templates, QWidget* parent)
    : QDialog(parent),
      model_(std::make_unique<TemplateGalleryModel>(std::move(templates), kThumbnailSide)) {
  setWindowTitle(tr("New Label from a Template"));
  setObjectName(QStringLiteral("templateGallery"));
  auto* layout = new QVBoxLayout(this);
  hint_ = new QLabel(this);
  hint_->setWordWrap(true);
  layout->addWidget(hint_);

  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("templates"));
  list_->setViewMode(QListView::IconMode);
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  list_->setWrapping(true);
  list_->setWordWrap(true);
  list_->setUniformItemSizes(true);
  list_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
  const QSize cell(kThumbnailSide + kCellMargin, kThumbnailSide + kTextHeight);
  list_->setGridSize(cell);
  list_->setSpacing(4);
  const std::vector<TemplateEntry>& entries = model_->Entries();
  const QPixmap waiting = WaitingDisc(kThumbnailSide, palette().color(QPalette::Mid));
  for (const TemplateEntry& entry : entries) {
    const QString path = QString::fromStdString(entry.path);
    QString name = QString::fromStdString(entry.name);
    if (entry.own) name = tr("%1 (yours)").arg(name);
    auto* item = new QListWidgetItem(QIcon(waiting), name, list_);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
    item->setSizeHint(cell);
  }
  const int rows = std::max(1, (static_cast<int>(entries.size()) + kColumns - 1) / kColumns);
  list_->setMinimumSize(kColumns * cell.width() + 2 * list_->frameWidth() + 24,
                        std::min(rows, 2) * cell.height() + 2 * list_->frameWidth() + 16);
  layout->addWidget(list_, 1);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(tr("&New Label"));
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
  item->setIcon(QIcon(WaitingDisc(kThumbnailSide, QColor(200, 80, 80))));
  item->setToolTip(tr("%1\nThis template cannot be used: %2.")
                       .arg(item->data(Qt::UserRole).toString(), QString::fromStdString(problem)));
}

}  // namespace twr::ui
