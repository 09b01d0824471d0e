// The layout designer's properties panel.
#include "ui/DesignerProperties.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>

#include "ui/model/TitleConfigModel.h"

namespace twr::ui {

namespace {

// The names of the numbered choices live in label/ (kRingTypeNames,
// kRingPlaceNames, kAlignNames); here for the translation tools, which
// cannot see a text handed to tr() by name.
[[maybe_unused]] constexpr const char* kChoiceNamesToTranslate[] = {
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "One line around the full circle"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Title and date above, notes below"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Two rows on the lower arc"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "At the inner radius"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Centred in the band"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "At the outer radius"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Left"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Centred"),
    QT_TRANSLATE_NOOP("twr::ui::DesignerProperties", "Right")};

constexpr int kMmDecimals = 2;
constexpr int kIconSide = 44;
const char* const kRefusedStyle = "QLineEdit { border: 2px solid #c0392b; }";

std::string Fixed(double value, int decimals) {
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string s(text, r.ptr);
  if (s.find_first_not_of("-0.") == std::string::npos && s[0] == '-') s.erase(0, 1);
  return s;
}

bool ParseWhole(const QString& text, int& out) {
  const std::string t = text.trimmed().toStdString();
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, last, out);
  return !t.empty() && ec == std::errc() && end == last;
}

// A small picture of a ring arrangement: the disc with the arcs its texts
// take.
QIcon RingTypeIcon(int type) {
  QPixmap pixmap(kIconSide * 2, kIconSide * 2);
  pixmap.fill(Qt::transparent);
  pixmap.setDevicePixelRatio(2.0);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF disc(3, 3, kIconSide - 6, kIconSide - 6);
  p.setPen(QPen(QColor(90, 90, 100), 1));
  p.setBrush(QColor(235, 236, 240));
  p.drawEllipse(disc);
  p.setBrush(QColor(60, 60, 70));
  p.drawEllipse(disc.center(), 6, 6);
  auto arc = [&](double inset, int startDeg, int spanDeg, double width, const QColor& colour) {
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(disc.adjusted(inset, inset, -inset, -inset), startDeg * 16, spanDeg * 16);
  };
  const QColor title(74, 72, 168), note(200, 110, 30);
  if (type == 0) {
    arc(3, 90, -300, 3.5, title);
    arc(3, 150, -60, 3.5, note);
  } else if (type == 1) {
    arc(3, 165, -150, 3.5, title);
    arc(3, 195, 150, 3.5, note);
  } else {
    arc(2.5, 195, 150, 2.5, title);
    arc(6.5, 200, 140, 2.5, note);
  }
  return QIcon(pixmap);
}

QPixmap Swatch(int grey) {
  QPixmap pixmap(28, 18);
  pixmap.fill(QColor(grey, grey, grey));
  QPainter p(&pixmap);
  p.setPen(QColor(90, 90, 100));
  p.drawRect(0, 0, 27, 17);
  return pixmap;
}

}  // namespace

DesignerProperties::DesignerProperties(LayoutDesignerModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setAccessibleName(tr("Properties"));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(this);
  QFont bold = heading_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  heading_->setFont(bold);
  layout->addWidget(heading_);
  pages_ = new QStackedWidget(this);
  pages_->addWidget(BuildBoxPage());
  pages_->addWidget(BuildRingPage());
  pages_->addWidget(BuildLayoutPage());
  layout->addWidget(pages_);
  refusal_ = new QLabel(this);
  refusal_->setWordWrap(true);
  refusal_->setStyleSheet("color: #c0392b;");
  refusal_->setAccessibleName(tr("Why a value was refused"));
  layout->addWidget(refusal_);
  layout->addStretch(1);
  choosePicture_ = [this] {
    return QFileDialog::getOpenFileName(this, tr("Background picture"),
                                        QString::fromStdString(model_.SettingsPath()),
                                        tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff "
                                           "*.svg *.svgz);;All files (*)"));
  };
  connect(&model_, &LayoutDesignerModel::Changed, this, &DesignerProperties::Refresh);
  connect(&model_, &LayoutDesignerModel::SelectionChanged, this, [this] {
    refusal_->clear();
    Refresh();
  });
  Refresh();
}

QLineEdit* DesignerProperties::AddField(QFormLayout* form, const QString& label,
                                        const std::string& key, bool boxField, Unit unit) {
  auto* edit = new QLineEdit(this);
  edit->setAccessibleName(label);
  edit->setMinimumWidth(80);
  FieldBinding binding{edit, nullptr, key, boxField, unit};
  if (unit == Unit::Millimetres || unit == Unit::Place) {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(edit, 1);
    h->addWidget(new QLabel(tr("mm"), row));
    binding.pixels = new QLabel(row);
    binding.pixels->setMinimumWidth(56);
    binding.pixels->setStyleSheet("color: #666;");
    h->addWidget(binding.pixels);
    form->addRow(label, row);
  } else {
    const QString unitText = unit == Unit::Degrees      ? QStringLiteral("°")
                             : unit == Unit::WholeMm    ? tr("mm")
                             : unit == Unit::Characters ? tr("characters")
                             : unit == Unit::Pixels     ? tr("px")
                                                        : QString();
    if (!unitText.isEmpty()) {
      auto* row = new QWidget(this);
      auto* h = new QHBoxLayout(row);
      h->setContentsMargins(0, 0, 0, 0);
      h->addWidget(edit, 1);
      h->addWidget(new QLabel(unitText, row));
      form->addRow(label, row);
    } else {
      form->addRow(label, edit);
    }
  }
  fields_.push_back(binding);
  const std::size_t index = fields_.size() - 1;
  connect(edit, &QLineEdit::editingFinished, this, [this, index] { Commit(fields_[index]); });
  return edit;
}

QWidget* DesignerProperties::BuildBoxPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  AddField(form, tr("Left edge"), "PosX", true, Unit::Place)
      ->setToolTip(tr("From the disc centre; to the left is negative"));
  AddField(form, tr("Top edge"), "PosY", true, Unit::Place)
      ->setToolTip(tr("From the disc centre; upwards is negative"));
  AddField(form, tr("Width"), "Width", true, Unit::Millimetres);
  AddField(form, tr("Height"), "Height", true, Unit::Millimetres);
  AddField(form, tr("At most"), "MaxNum", true, Unit::Characters)
      ->setToolTip(tr("MaxNum: the box draws at most this many characters of its text; a wide "
                      "East Asian character counts two"));
  align_ = new QComboBox(page);
  for (const char* name : kAlignNames) align_->addItem(tr(name));
  align_->setAccessibleName(tr("Alignment"));
  form->addRow(tr("Alignment"), align_);
  connect(align_, &QComboBox::activated, this, [this](int index) {
    if (refreshing_ || !IsBox(model_.Selection())) return;
    ShowRefusal(nullptr,
                model_.SetNumber(std::string(BoxKeyPrefix(BoxKindOf(model_.Selection()))) + "Align",
                                 index));
  });
  giveSize_ = new QPushButton(tr("Give the box a size"), page);
  form->addRow(giveSize_);
  connect(giveSize_, &QPushButton::clicked, this, [this] {
    if (IsBox(model_.Selection()))
      ShowRefusal(nullptr, model_.GiveBoxSize(BoxKindOf(model_.Selection())));
  });
  return page;
}

QWidget* DesignerProperties::BuildRingPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  auto* types = new QWidget(page);
  auto* column = new QVBoxLayout(types);
  column->setContentsMargins(0, 0, 0, 0);
  ringTypes_ = new QButtonGroup(page);
  ringTypes_->setExclusive(true);
  for (int type = 0; type < 3; ++type) {
    auto* button = new QToolButton(types);
    button->setCheckable(true);
    button->setIcon(RingTypeIcon(type));
    button->setIconSize(QSize(kIconSide, kIconSide));
    button->setText(tr(kRingTypeNames[type]));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setAccessibleName(tr(kRingTypeNames[type]));
    ringTypes_->addButton(button, type);
    column->addWidget(button);
  }
  // The pictures with their names take the panel's whole width.
  form->addRow(new QLabel(tr("Arrangement"), page));
  form->addRow(types);
  connect(ringTypes_, &QButtonGroup::idClicked, this, [this](int type) {
    if (!refreshing_) ShowRefusal(nullptr, model_.SetNumber("RingType", type));
  });
  ringPlace_ = new QComboBox(page);
  for (const char* name : kRingPlaceNames) ringPlace_->addItem(tr(name));
  ringPlace_->setAccessibleName(tr("Place in the band"));
  form->addRow(tr("Place in the band"), ringPlace_);
  connect(ringPlace_, &QComboBox::activated, this, [this](int index) {
    if (!refreshing_) ShowRefusal(nullptr, model_.SetNumber("RLetterAlign", index));
  });
  AddField(form, tr("Title and date arc"), "RingMAngle", false, Unit::Degrees)
      ->setToolTip(tr("RingMAngle: degrees of arc for the title and date"));
  AddField(form, tr("Note arc"), "RingSAngle", false, Unit::Degrees)
      ->setToolTip(tr("RingSAngle: degrees of arc for the note lines (upper and lower arc)"));
  AddField(form, tr("Thickness"), "RingLength", false, Unit::WholeMm)
      ->setToolTip(tr("RingLength: the ring text band's thickness; 0 draws no ring text"));
  return page;
}

QSlider* DesignerProperties::AddGrey(QFormLayout* form, const QString& label,
                                     const std::string& key, QLabel*& swatch, QLabel*& number) {
  auto* row = new QWidget(this);
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  auto* slider = new QSlider(Qt::Horizontal, row);
  slider->setRange(0, 255);
  slider->setAccessibleName(label);
  swatch = new QLabel(row);
  number = new QLabel(row);
  number->setMinimumWidth(28);
  h->addWidget(slider, 1);
  h->addWidget(swatch);
  h->addWidget(number);
  form->addRow(label, row);
  QLabel* shown = swatch;
  QLabel* digits = number;
  connect(slider, &QSlider::valueChanged, this, [this, slider, shown, digits, key](int value) {
    shown->setPixmap(Swatch(value));
    digits->setText(QString::number(value));
    // A drag of the handle is one change, when it is let go.
    if (!refreshing_ && !slider->isSliderDown()) ShowRefusal(nullptr, model_.SetNumber(key, value));
  });
  connect(slider, &QSlider::sliderReleased, this, [this, slider, key] {
    if (!refreshing_) ShowRefusal(nullptr, model_.SetNumber(key, slider->value()));
  });
  return slider;
}

QWidget* DesignerProperties::BuildLayoutPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  AddField(form, tr("Name"), "Name", false, Unit::Text);
  textGrey_ = AddGrey(form, tr("Text grey"), "TxColor", textSwatch_, textNumber_);
  backGrey_ = AddGrey(form, tr("Background grey"), "BgColor", backSwatch_, backNumber_);
  auto* pictureRow = new QWidget(page);
  auto* v = new QVBoxLayout(pictureRow);
  v->setContentsMargins(0, 0, 0, 0);
  picture_ = new QLabel(pictureRow);
  picture_->setWordWrap(true);
  picture_->setAccessibleName(tr("Background picture"));
  auto* buttons = new QHBoxLayout();
  auto* choose = new QPushButton(tr("Choose…"), pictureRow);
  removePicture_ = new QPushButton(tr("Remove"), pictureRow);
  buttons->addWidget(choose);
  buttons->addWidget(removePicture_);
  v->addWidget(picture_);
  v->addLayout(buttons);
  form->addRow(tr("Background picture"), pictureRow);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString path = choosePicture_ ? choosePicture_() : QString();
    if (!path.isEmpty()) ShowRefusal(nullptr, model_.SetPicture(path.toStdString()));
  });
  connect(removePicture_, &QPushButton::clicked, this,
          [this] { ShowRefusal(nullptr, model_.SetPicture("")); });
  AddField(form, tr("Inner radius"), "InnerRadius", false, Unit::WholeMm)
      ->setToolTip(tr("The inner edge of the burning area, at least 25 mm"));
  AddField(form, tr("Outer radius"), "OuterRadius", false, Unit::WholeMm)
      ->setToolTip(tr("The outer edge of the burning area, at most 58 mm"));
  AddField(form, tr("BaseLength"), "BaseLength", false, Unit::Pixels)
      ->setToolTip(tr("The label's side in pixels (116 mm across); the boxes keep their place"));
  return page;
}

std::string DesignerProperties::KeyOf(const FieldBinding& field) const {
  if (!field.boxField) return field.key;
  return std::string(BoxKeyPrefix(BoxKindOf(model_.Selection()))) + field.key;
}

QLineEdit* DesignerProperties::Field(const std::string& key) const {
  for (const FieldBinding& f : fields_)
    if (KeyOf(f) == key) return f.edit;
  return nullptr;
}

QString DesignerProperties::FieldText(const FieldBinding& field) const {
  const LayoutDefinition& layout = model_.Layout();
  const std::string key = KeyOf(field);
  if (field.unit == Unit::Text) return QString::fromStdString(LayoutKeyValue(layout, key));
  const int value = LayoutNumber(layout, key);
  const double ppm = model_.PixelsPerMm();
  if (field.unit == Unit::Millimetres)
    return QString::fromStdString(Fixed(value / ppm, kMmDecimals));
  if (field.unit == Unit::Place)
    return QString::fromStdString(Fixed((value - layout.BaseLength / 2.0) / ppm, kMmDecimals));
  return QString::number(value);
}

void DesignerProperties::ShowRefusal(QLineEdit* edit, const std::string& why) {
  if (edit) edit->setStyleSheet(why.empty() ? QString() : QString(kRefusedStyle));
  refusal_->setText(QString::fromStdString(why.empty() ? "" : why + "."));
}

void DesignerProperties::Commit(FieldBinding& field) {
  if (refreshing_ || (field.boxField && !IsBox(model_.Selection()))) return;
  const std::string key = KeyOf(field);
  const QString text = field.edit->text();
  if (text == FieldText(field)) {
    ShowRefusal(field.edit, "");
    return;
  }
  if (field.unit == Unit::Text) {
    ShowRefusal(field.edit, key == "Name" ? model_.RenameLayout(text.toStdString())
                                          : model_.SetValue(key, text.toStdString()));
    return;
  }
  const LayoutDefinition& layout = model_.Layout();
  const double ppm = model_.PixelsPerMm();
  const QString label = field.edit->accessibleName();
  int value = 0;
  if (field.unit == Unit::Millimetres || field.unit == Unit::Place) {
    double mm = 0.0;
    if (!ParseRadius(text.toStdString(), mm)) {
      ShowRefusal(field.edit,
                  label.toStdString() + " must be a number of millimetres, such as 12.5");
      return;
    }
    const double offset = field.unit == Unit::Place ? layout.BaseLength / 2.0 : 0.0;
    const double pixels = std::round(mm * ppm + offset);
    const LayoutKeyRange range = LayoutKeyLimits(layout, key);
    if (pixels < range.minimum || pixels > range.maximum) {
      ShowRefusal(field.edit, label.toStdString() + " must be " +
                                  Fixed((range.minimum - offset) / ppm, kMmDecimals) + " to " +
                                  Fixed((range.maximum - offset) / ppm, kMmDecimals) + " mm (" +
                                  key + " " + std::to_string(range.minimum) + " to " +
                                  std::to_string(range.maximum) + " label pixels)");
      return;
    }
    value = static_cast<int>(pixels);
  } else if (!ParseWhole(text, value)) {
    ShowRefusal(field.edit, label.toStdString() + " must be a whole number");
    return;
  }
  const std::string why =
      key == "BaseLength" ? model_.SetBaseLength(value) : model_.SetNumber(key, value);
  ShowRefusal(field.edit, why);
}

void DesignerProperties::Refresh() {
  refreshing_ = true;
  const DesignerItem item = model_.Selection();
  const LayoutDefinition& layout = model_.Layout();
  heading_->setText(LayoutDesignerModel::tr(DesignerItemName(item)));
  pages_->setCurrentIndex(IsBox(item) ? 0 : item == DesignerItem::Ring ? 1 : 2);
  for (FieldBinding& f : fields_) {
    if (f.boxField && !IsBox(item)) continue;
    // A field being typed into or holding a refused value keeps its text.
    if (f.edit->hasFocus() && f.edit->isModified()) continue;
    if (!f.edit->styleSheet().isEmpty() && f.edit->hasFocus()) continue;
    f.edit->setText(FieldText(f));
    f.edit->setCursorPosition(0);
    f.edit->setStyleSheet(QString());
    f.edit->setModified(false);
    if (f.pixels) f.pixels->setText(QString::number(LayoutNumber(layout, KeyOf(f))) + " px");
  }
  if (IsBox(item)) {
    const LayoutBoxKind kind = BoxKindOf(item);
    align_->setCurrentIndex(std::clamp(BoxOf(layout, kind).Align, 0, 2));
    giveSize_->setVisible(!BoxIsDrawn(layout, kind));
  }
  if (QAbstractButton* b = ringTypes_->button(std::clamp(layout.RingType, 0, 2)))
    b->setChecked(true);
  ringPlace_->setCurrentIndex(std::clamp(layout.RLetterAlign, 0, 2));
  if (QLineEdit* note = Field("RingSAngle")) note->setEnabled(layout.RingType == 1);
  if (!textGrey_->isSliderDown()) textGrey_->setValue(layout.TxColor & 0xFF);
  if (!backGrey_->isSliderDown()) backGrey_->setValue(layout.BgColor & 0xFF);
  textSwatch_->setPixmap(Swatch(layout.TxColor & 0xFF));
  backSwatch_->setPixmap(Swatch(layout.BgColor & 0xFF));
  textNumber_->setText(QString::number(layout.TxColor & 0xFF));
  backNumber_->setText(QString::number(layout.BgColor & 0xFF));
  picture_->setText(layout.BgImage.empty() ? tr("None (the background grey fills the label)")
                                           : QString::fromStdString(layout.BgImage));
  removePicture_->setEnabled(!layout.BgImage.empty());
  refreshing_ = false;
}

}  // namespace twr::ui
