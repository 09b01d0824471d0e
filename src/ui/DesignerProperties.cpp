// The layout designer's properties panel.
#include "ui/DesignerProperties.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
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

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "ui/model/TitleConfigModel.h"

namespace twr::ui {

namespace {

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

// The table's texts (labels, tooltips, choices) in the user's language.
QString Translated(const char* text) {
  return QCoreApplication::translate("LayoutDefinition", text);
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
  for (LayoutPage page : {LayoutPage::Box, LayoutPage::Ring, LayoutPage::Layout})
    pages_->addWidget(BuildPage(page));
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

QWidget* DesignerProperties::BuildPage(LayoutPage page) {
  auto* widget = new QWidget(this);
  auto* form = new QFormLayout(widget);
  // The page's keys in their places; the box page shows the selected box's
  // keys through the title's.
  std::vector<const LayoutKey*> keys;
  for (const LayoutKey& key : LayoutKeys())
    if (key.page == page && (!key.box || *key.box == LayoutBoxKind::Title)) keys.push_back(&key);
  std::stable_sort(keys.begin(), keys.end(),
                   [](const LayoutKey* a, const LayoutKey* b) { return a->place < b->place; });
  for (const LayoutKey* key : keys) {
    Binding& binding = bindings_.emplace_back();
    binding.key = key;
    switch (key->control) {
      case LayoutControl::Line:
        AddField(form, binding);
        break;
      case LayoutControl::Slider:
        AddGrey(form, binding);
        break;
      case LayoutControl::Picture:
        AddPicture(form, binding);
        break;
      case LayoutControl::List:
        AddList(form, binding);
        break;
      case LayoutControl::PictureButtons:
        AddButtons(form, binding);
        break;
    }
  }
  if (page == LayoutPage::Box) {
    giveSize_ = new QPushButton(tr("Give the box a size"), widget);
    form->addRow(giveSize_);
    connect(giveSize_, &QPushButton::clicked, this, [this] {
      if (IsBox(model_.Selection()))
        ShowRefusal(nullptr, model_.GiveBoxSize(BoxKindOf(model_.Selection())));
    });
  }
  return widget;
}

void DesignerProperties::AddField(QFormLayout* form, Binding& binding) {
  const LayoutKey& key = *binding.key;
  const QString label = Translated(key.label);
  auto* edit = new QLineEdit(this);
  edit->setAccessibleName(label);
  edit->setMinimumWidth(80);
  if (key.hint != nullptr) edit->setToolTip(Translated(key.hint));
  binding.edit = edit;
  binding.control = edit;
  switch (key.unit) {
    case LayoutUnit::LabelPixels:
      // A box's place and size in millimetres, the place from the disc
      // centre; the label's side in its pixels.
      binding.unit = !key.box                             ? Unit::Pixels
                     : key.limit == LayoutLimit::BoxPlace ? Unit::Place
                                                          : Unit::Millimetres;
      break;
    case LayoutUnit::WidthUnits:
      binding.unit = Unit::Characters;
      break;
    case LayoutUnit::Degrees:
      binding.unit = Unit::Degrees;
      break;
    case LayoutUnit::Millimetres:
      binding.unit = Unit::WholeMm;
      break;
    default:
      binding.unit = Unit::Text;
  }
  const Unit unit = binding.unit;
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
  const Binding* bound = &binding;
  connect(edit, &QLineEdit::editingFinished, this, [this, bound] { Commit(*bound); });
}

void DesignerProperties::AddGrey(QFormLayout* form, Binding& binding) {
  const QString label = Translated(binding.key->label);
  auto* row = new QWidget(this);
  auto* h = new QHBoxLayout(row);
  h->setContentsMargins(0, 0, 0, 0);
  auto* slider = new QSlider(Qt::Horizontal, row);
  slider->setRange(0, 255);
  slider->setAccessibleName(label);
  binding.slider = slider;
  binding.control = slider;
  binding.swatch = new QLabel(row);
  binding.number = new QLabel(row);
  binding.number->setMinimumWidth(28);
  h->addWidget(slider, 1);
  h->addWidget(binding.swatch);
  h->addWidget(binding.number);
  form->addRow(label, row);
  QLabel* shown = binding.swatch;
  QLabel* digits = binding.number;
  const std::string key = binding.key->name;
  connect(slider, &QSlider::valueChanged, this, [this, slider, shown, digits, key](int value) {
    shown->setPixmap(Swatch(value));
    digits->setText(QString::number(value));
    // A drag of the handle is one change, when it is let go.
    if (!refreshing_ && !slider->isSliderDown()) ShowRefusal(nullptr, model_.SetNumber(key, value));
  });
  connect(slider, &QSlider::sliderReleased, this, [this, slider, key] {
    if (!refreshing_) ShowRefusal(nullptr, model_.SetNumber(key, slider->value()));
  });
}

void DesignerProperties::AddPicture(QFormLayout* form, Binding& binding) {
  const QString label = Translated(binding.key->label);
  auto* row = new QWidget(this);
  auto* v = new QVBoxLayout(row);
  v->setContentsMargins(0, 0, 0, 0);
  binding.picture = new QLabel(row);
  binding.picture->setWordWrap(true);
  binding.picture->setAccessibleName(label);
  binding.control = binding.picture;
  auto* buttons = new QHBoxLayout();
  auto* choose = new QPushButton(tr("Choose…"), row);
  binding.remove = new QPushButton(tr("Remove"), row);
  buttons->addWidget(choose);
  buttons->addWidget(binding.remove);
  v->addWidget(binding.picture);
  v->addLayout(buttons);
  form->addRow(label, row);
  connect(choose, &QPushButton::clicked, this, [this] {
    const QString path = choosePicture_ ? choosePicture_() : QString();
    if (!path.isEmpty()) ShowRefusal(nullptr, model_.SetPicture(path.toStdString()));
  });
  connect(binding.remove, &QPushButton::clicked, this,
          [this] { ShowRefusal(nullptr, model_.SetPicture("")); });
}

void DesignerProperties::AddList(QFormLayout* form, Binding& binding) {
  const QString label = Translated(binding.key->label);
  auto* list = new QComboBox(this);
  for (const char* name : binding.key->choices) list->addItem(Translated(name));
  list->setAccessibleName(label);
  binding.list = list;
  binding.control = list;
  form->addRow(label, list);
  const Binding* bound = &binding;
  connect(list, &QComboBox::activated, this, [this, bound](int index) {
    const LayoutKey* key = KeyOf(*bound);
    if (!refreshing_ && key != nullptr) ShowRefusal(nullptr, model_.SetNumber(key->name, index));
  });
}

void DesignerProperties::AddButtons(QFormLayout* form, Binding& binding) {
  const QString label = Translated(binding.key->label);
  auto* choices = new QWidget(this);
  choices->setAccessibleName(label);
  auto* column = new QVBoxLayout(choices);
  column->setContentsMargins(0, 0, 0, 0);
  binding.buttons = new QButtonGroup(choices);
  binding.buttons->setExclusive(true);
  binding.control = choices;
  for (int value = 0; value < static_cast<int>(binding.key->choices.size()); ++value) {
    const QString name = Translated(binding.key->choices[static_cast<std::size_t>(value)]);
    auto* button = new QToolButton(choices);
    button->setCheckable(true);
    button->setIcon(RingTypeIcon(value));
    button->setIconSize(QSize(kIconSide, kIconSide));
    button->setText(name);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setAccessibleName(name);
    binding.buttons->addButton(button, value);
    column->addWidget(button);
  }
  // The pictures with their names take the panel's whole width.
  form->addRow(new QLabel(label, this));
  form->addRow(choices);
  const std::string key = binding.key->name;
  connect(binding.buttons, &QButtonGroup::idClicked, this, [this, key](int value) {
    if (!refreshing_) ShowRefusal(nullptr, model_.SetNumber(key, value));
  });
}

const LayoutKey* DesignerProperties::KeyOf(const Binding& binding) const {
  if (!binding.key->box) return binding.key;
  if (!IsBox(model_.Selection())) return nullptr;
  return FindLayoutKey(std::string(BoxKeyPrefix(BoxKindOf(model_.Selection()))) +
                       binding.key->BoxField());
}

QLineEdit* DesignerProperties::Field(const std::string& key) const {
  const QWidget* control = Control(key);
  for (const Binding& b : bindings_)
    if (b.edit != nullptr && b.edit == control) return b.edit;
  return nullptr;
}

QWidget* DesignerProperties::Control(const std::string& key) const {
  for (const Binding& b : bindings_)
    if (const LayoutKey* k = KeyOf(b); k != nullptr && key == k->name) return b.control;
  return nullptr;
}

QString DesignerProperties::FieldText(const Binding& binding) const {
  const LayoutDefinition& layout = model_.Layout();
  const LayoutKey* key = KeyOf(binding);
  if (key == nullptr) return {};
  if (binding.unit == Unit::Text) return QString::fromStdString(key->Value(layout));
  const int value = key->Number(layout);
  const double ppm = model_.PixelsPerMm();
  if (binding.unit == Unit::Millimetres)
    return QString::fromStdString(Fixed(value / ppm, kMmDecimals));
  if (binding.unit == Unit::Place)
    return QString::fromStdString(Fixed((value - layout.BaseLength / 2.0) / ppm, kMmDecimals));
  return QString::number(value);
}

void DesignerProperties::ShowRefusal(QLineEdit* edit, const std::string& why) {
  if (edit) edit->setStyleSheet(why.empty() ? QString() : QString(kRefusedStyle));
  refusal_->setText(QString::fromStdString(why.empty() ? "" : why + "."));
}

void DesignerProperties::Commit(const Binding& binding) {
  const LayoutKey* found = KeyOf(binding);
  if (refreshing_ || found == nullptr) return;
  const LayoutKey& k = *found;
  const std::string key = k.name;
  QLineEdit* edit = binding.edit;
  const QString text = edit->text();
  if (text == FieldText(binding)) {
    ShowRefusal(edit, "");
    return;
  }
  if (binding.unit == Unit::Text) {
    ShowRefusal(edit, k.unit == LayoutUnit::Text ? model_.RenameLayout(text.toStdString())
                                                 : model_.SetValue(key, text.toStdString()));
    return;
  }
  const LayoutDefinition& layout = model_.Layout();
  const double ppm = model_.PixelsPerMm();
  const QString label = edit->accessibleName();
  int value = 0;
  if (binding.unit == Unit::Millimetres || binding.unit == Unit::Place) {
    double mm = 0.0;
    if (!ParseRadius(text.toStdString(), mm)) {
      ShowRefusal(edit, label.toStdString() + " must be a number of millimetres, such as 12.5");
      return;
    }
    const double offset = binding.unit == Unit::Place ? layout.BaseLength / 2.0 : 0.0;
    const double pixels = std::round(mm * ppm + offset);
    const LayoutKeyRange range = LayoutKeyLimits(layout, key);
    if (pixels < range.minimum || pixels > range.maximum) {
      ShowRefusal(edit, label.toStdString() + " must be " +
                            Fixed((range.minimum - offset) / ppm, kMmDecimals) + " to " +
                            Fixed((range.maximum - offset) / ppm, kMmDecimals) + " mm (" + key +
                            " " + std::to_string(range.minimum) + " to " +
                            std::to_string(range.maximum) + " label pixels)");
      return;
    }
    value = static_cast<int>(pixels);
  } else if (!ParseWhole(text, value)) {
    ShowRefusal(edit, label.toStdString() + " must be a whole number");
    return;
  }
  // A new side for the label keeps the boxes where they are in millimetres.
  const std::string why =
      k.limit == LayoutLimit::Side ? model_.SetBaseLength(value) : model_.SetNumber(key, value);
  ShowRefusal(edit, why);
}

void DesignerProperties::Refresh() {
  refreshing_ = true;
  const DesignerItem item = model_.Selection();
  const LayoutDefinition& layout = model_.Layout();
  heading_->setText(LayoutDesignerModel::tr(DesignerItemName(item)));
  pages_->setCurrentIndex(IsBox(item) ? 0 : item == DesignerItem::Ring ? 1 : 2);
  for (Binding& b : bindings_) {
    const LayoutKey* key = KeyOf(b);
    if (key == nullptr) continue;
    const int value = key->Number(layout);
    if (b.edit != nullptr) {
      b.edit->setEnabled(key->inUse == nullptr || key->inUse(layout));
      // A field being typed into or holding a refused value keeps its text.
      if (b.edit->hasFocus() && b.edit->isModified()) continue;
      if (!b.edit->styleSheet().isEmpty() && b.edit->hasFocus()) continue;
      b.edit->setText(FieldText(b));
      b.edit->setCursorPosition(0);
      b.edit->setStyleSheet(QString());
      b.edit->setModified(false);
      if (b.pixels) b.pixels->setText(QString::number(value) + " px");
    } else if (b.slider != nullptr) {
      const int grey = value & 0xFF;
      if (!b.slider->isSliderDown()) b.slider->setValue(grey);
      b.swatch->setPixmap(Swatch(grey));
      b.number->setText(QString::number(grey));
    } else if (b.list != nullptr) {
      b.list->setCurrentIndex(std::clamp(value, 0, b.list->count() - 1));
    } else if (b.buttons != nullptr) {
      const int last = static_cast<int>(key->choices.size()) - 1;
      if (QAbstractButton* button = b.buttons->button(std::clamp(value, 0, last)))
        button->setChecked(true);
    } else if (b.picture != nullptr) {
      const std::string path = key->Value(layout);
      b.picture->setText(path.empty() ? tr("None (the background grey fills the label)")
                                      : QString::fromStdString(path));
      b.remove->setEnabled(!path.empty());
    }
  }
  if (IsBox(item)) giveSize_->setVisible(!BoxIsDrawn(layout, BoxKindOf(item)));
  refreshing_ = false;
}

}  // namespace twr::ui
