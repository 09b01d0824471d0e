// The layout designer's document, selection, drags, undo steps and saving.
#include "ui/model/LayoutDesignerModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <QCoreApplication>

#include "burn/MarkedBand.h"
#include "drive/DiscGeometry.h"
#include "label/CELLayout.h"
#include "label/LabelWarnings.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::ui {

namespace {

// Placeholders for texts the main window leaves empty.
constexpr const char* kPlaceholderTitle =
    QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Title");
constexpr const char* kSampleQr =
    "HOLIDAY_2026, 2026-08-14, 214 files, 3712.5 MB, DCIM/, Videos/, Read me.txt";
constexpr const char* kPlaceholderDate = QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Date");
constexpr const char* kPlaceholderNotes[] = {
    QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Note line 1"),
    QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Note line 2"),
    QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Note line 3")};
// Nudges of one item one after another merge into one undo step.
constexpr int kNudgeCommand = 1;
// A box given a size: a share of the label's side.
constexpr double kNewBoxWidth = 0.4;
constexpr double kNewBoxHeight = 0.06;
constexpr double kNewNoteHeight = 0.16;
constexpr const char* kNotOpen =
    QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "No settings file is open");
constexpr double kNewTitleTop = 0.15;
constexpr double kNewDateTop = 0.26;
constexpr double kNewNoteTop = 0.68;

std::string Fixed(double value, int decimals = 1) {
  char text[64];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string s(text, r.ptr);
  if (s == "-0.0") s = "0.0";
  return s;
}

// A text of this model in the user's language.
std::string Translated(const char* text) {
  return LayoutDesignerModel::tr(text).toStdString();
}

// The item as the object of an undo step's name: "Move %1" with "the title box".
QString ItemObject(DesignerItem item) {
  switch (item) {
    case DesignerItem::Title:
      return LayoutDesignerModel::tr("the title box");
    case DesignerItem::Date:
      return LayoutDesignerModel::tr("the date box");
    case DesignerItem::Note:
      return LayoutDesignerModel::tr("the note box");
    case DesignerItem::Qr:
      return LayoutDesignerModel::tr("the QR code");
    case DesignerItem::Ring:
      return LayoutDesignerModel::tr("the ring text");
    case DesignerItem::OuterCircle:
      return LayoutDesignerModel::tr("the outer circle");
    case DesignerItem::InnerCircle:
      return LayoutDesignerModel::tr("the inner circle");
    case DesignerItem::None:
      break;
  }
  return LayoutDesignerModel::tr("the layout");
}

// The ring text's band and kind, by RingType (0 ... 2).
std::string RingStatus(int type, const std::string& in, const std::string& out) {
  QString text;
  switch (type) {
    case 1:
      text = QCoreApplication::translate(
          "twr::ui::LayoutDesignerModel",
          "Ring text: band %1 to %2 mm from the disc centre, title and date above, notes below");
      break;
    case 2:
      text = QCoreApplication::translate(
          "twr::ui::LayoutDesignerModel",
          "Ring text: band %1 to %2 mm from the disc centre, two rows on the lower arc");
      break;
    default:
      text = QCoreApplication::translate(
          "twr::ui::LayoutDesignerModel",
          "Ring text: band %1 to %2 mm from the disc centre, one line around the full circle");
      break;
  }
  return text.arg(QString::fromStdString(in), QString::fromStdString(out)).toStdString();
}

class SnapshotCommand : public QUndoCommand {
 public:
  SnapshotCommand(LayoutDesignerModel* model, DesignerSnapshot before, DesignerSnapshot after,
                  const std::string& text, int id)
      : QUndoCommand(QString::fromStdString(text)),
        model_(model),
        before_(std::move(before)),
        after_(std::move(after)),
        id_(id) {}
  void undo() override { model_->Restore(before_); }
  void redo() override { model_->Restore(after_); }
  int id() const override { return id_; }
  bool mergeWith(const QUndoCommand* other) override {
    if (other->id() != id_) return false;
    after_ = static_cast<const SnapshotCommand*>(other)->after_;
    return true;
  }

 private:
  LayoutDesignerModel* model_;
  DesignerSnapshot before_;
  DesignerSnapshot after_;
  int id_;
};

// The best shift (within `distance`) that puts one of `edges` on one of
// `targets`; the target in `guide`.
bool BestSnap(const std::vector<double>& edges, const std::vector<double>& targets, double distance,
              double& shift, double& guide) {
  bool found = false;
  double best = distance + 1.0;
  for (double edge : edges) {
    for (double target : targets) {
      const double d = target - edge;
      if (std::abs(d) <= distance && std::abs(d) < best) {
        best = std::abs(d);
        shift = d;
        guide = target;
        found = true;
      }
    }
  }
  return found;
}

}  // namespace

const char* DesignerItemName(DesignerItem item) {
  switch (item) {
    case DesignerItem::Title:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Title box");
    case DesignerItem::Date:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Date box");
    case DesignerItem::Note:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Note box");
    case DesignerItem::Qr:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "QR code");
    case DesignerItem::Ring:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Ring text");
    case DesignerItem::OuterCircle:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Outer circle");
    case DesignerItem::InnerCircle:
      return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Inner circle");
    case DesignerItem::None:
      break;
  }
  return QT_TRANSLATE_NOOP("twr::ui::LayoutDesignerModel", "Layout");
}

bool IsBox(DesignerItem item) {
  return item == DesignerItem::Title || item == DesignerItem::Date || item == DesignerItem::Note;
}

LayoutBoxKind BoxKindOf(DesignerItem item) {
  return item == DesignerItem::Date   ? LayoutBoxKind::Date
         : item == DesignerItem::Note ? LayoutBoxKind::Note
                                      : LayoutBoxKind::Title;
}

DesignerItem ItemOf(LayoutBoxKind kind) {
  return kind == LayoutBoxKind::Date   ? DesignerItem::Date
         : kind == LayoutBoxKind::Note ? DesignerItem::Note
                                       : DesignerItem::Title;
}

LayoutDesignerModel::LayoutDesignerModel(QObject* parent) : QObject(parent) {}

LayoutDesignerModel::~LayoutDesignerModel() {
  // The commands refer to this model: they go first.
  stack_.clear();
}

bool LayoutDesignerModel::Open(const std::string& settingsPath, int current, std::string* problem) {
  LayoutFile file;
  if (!file.Read(settingsPath, problem)) return false;
  if (file.Layouts().empty()) {
    if (problem) *problem = tr("it holds no layout").toStdString();
    return false;
  }
  file_ = std::move(file);
  stack_.clear();
  state_ = {file_.Layouts(), std::clamp(current, 0, static_cast<int>(file_.Layouts().size()) - 1)};
  live_.reset();
  drag_.reset();
  renderer_ = std::make_unique<CELLayout>(settingsPath);
  if (face_.empty())
    face_ = renderer_->FontFace();
  else
    renderer_->UseFontFace(face_);
  frame_ = {};
  emit Changed();
  return true;
}

const LayoutDefinition& LayoutDesignerModel::Layout() const {
  if (live_) return *live_;
  // Before a file is open the views see a starting layout.
  static const LayoutDefinition kNone = StarterLayout();
  if (state_.layouts.empty()) return kNone;
  return state_.layouts[static_cast<std::size_t>(state_.current)];
}

void LayoutDesignerModel::SetCurrent(int index) {
  if (index < 0 || index >= static_cast<int>(state_.layouts.size()) || index == state_.current)
    return;
  if (drag_) EndDrag(false);
  state_.current = index;
  emit Changed();
}

void LayoutDesignerModel::SetSampleTexts(const std::string& title, const std::string& date,
                                         const NoteLineArray& notes) {
  title_ = title;
  date_ = date;
  notes_ = notes;
  ++textsVersion_;
  emit Changed();
}

void LayoutDesignerModel::SetFontFace(const std::string& face) {
  face_ = face;
  if (renderer_) renderer_->UseFontFace(face);
  ++textsVersion_;
  emit Changed();
}

void LayoutDesignerModel::Select(DesignerItem item) {
  if (item == selection_) return;
  selection_ = item;
  emit SelectionChanged();
}

void LayoutDesignerModel::SelectNext(bool backwards) {
  constexpr int count = static_cast<int>(std::size(kDesignerItems));
  int at = -1;
  for (int i = 0; i < count; ++i)
    if (kDesignerItems[i] == selection_) at = i;
  if (at < 0) at = backwards ? 0 : count - 1;
  Select(kDesignerItems[(at + (backwards ? count - 1 : 1)) % count]);
}

double LayoutDesignerModel::PixelsPerMm() const {
  return std::max(Layout().BaseLength, 1) / kLabelWidthMm;
}

QRect LayoutDesignerModel::BoxRect(LayoutBoxKind kind) const {
  const LayoutBox& box = BoxOf(Layout(), kind);
  return QRect(box.PosX, box.PosY, box.Width, box.Height);
}

std::optional<QRect> LayoutDesignerModel::ItemRect(DesignerItem item) const {
  if (IsBox(item)) {
    if (!BoxIsDrawn(Layout(), BoxKindOf(item))) return std::nullopt;
    return BoxRect(BoxKindOf(item));
  }
  const QrBox& qr = Layout().Qr;
  if (item != DesignerItem::Qr || qr.Size <= 0) return std::nullopt;
  return QRect(qr.PosX, qr.PosY, qr.Size, qr.Size);
}

LayoutRecord LayoutDesignerModel::RecordOf(const LayoutDefinition& layout) const {
  LayoutRecord record;
  record.FontFace = face_;
  ApplyLayoutDefinition(layout, file_.Folder(), false, record);
  return record;
}

double LayoutDesignerModel::InnerRadius() const {
  return RecordOf(Layout()).InnerRadius;
}

double LayoutDesignerModel::OuterRadius() const {
  return RecordOf(Layout()).OuterRadius;
}

std::pair<double, double> LayoutDesignerModel::RingBandRadii() const {
  const LayoutRecord r = RecordOf(Layout());
  if (r.RingBand <= 0.0) return {0.0, 0.0};
  double offset = 0.0;
  if (r.RLetterAlign == 1)
    offset = (r.OuterRadius - r.InnerRadius - r.RingBand) * 0.5;
  else if (r.RLetterAlign == 2)
    offset = r.OuterRadius - r.InnerRadius - r.RingBand;
  return {r.InnerRadius + offset, r.InnerRadius + offset + r.RingBand};
}

DesignerItem LayoutDesignerModel::ItemAt(QPointF point, double tolerance) const {
  // The QR code is drawn last, then the note box: they lie on top.
  for (DesignerItem item :
       {DesignerItem::Qr, DesignerItem::Note, DesignerItem::Date, DesignerItem::Title}) {
    const std::optional<QRect> r = ItemRect(item);
    if (r && QRectF(*r).contains(point)) return item;
  }
  const double side = Layout().BaseLength;
  const double ppm = PixelsPerMm();
  const double distance = std::hypot(point.x() - side / 2.0, point.y() - side / 2.0);
  if (std::abs(distance - OuterRadius() * ppm) <= tolerance) return DesignerItem::OuterCircle;
  if (std::abs(distance - InnerRadius() * ppm) <= tolerance) return DesignerItem::InnerCircle;
  const auto [bandIn, bandOut] = RingBandRadii();
  if (bandOut > bandIn && distance >= bandIn * ppm && distance <= bandOut * ppm)
    return DesignerItem::Ring;
  return DesignerItem::None;
}

std::string LayoutDesignerModel::StatusText() const {
  const LayoutDefinition& layout = Layout();
  const double ppm = PixelsPerMm();
  const double centre = layout.BaseLength / 2.0;
  switch (selection_) {
    case DesignerItem::Title:
    case DesignerItem::Date:
    case DesignerItem::Note: {
      const LayoutBoxKind kind = BoxKindOf(selection_);
      const LayoutBox& box = BoxOf(layout, kind);
      const QString name = tr(DesignerItemName(selection_));
      if (!BoxIsDrawn(layout, kind))
        return tr("%1: not drawn (it has no size); give it one in the properties")
            .arg(name)
            .toStdString();
      const auto q = [](const std::string& text) { return QString::fromStdString(text); };
      return tr("%1: top-left corner x %2 mm, y %3 mm from the disc centre; %4 × %5 mm (%6, %7; "
                "%8 × %9 label pixels)")
          .arg(name, q(Fixed((box.PosX - centre) / ppm)), q(Fixed((box.PosY - centre) / ppm)),
               q(Fixed(box.Width / ppm)), q(Fixed(box.Height / ppm)), QString::number(box.PosX),
               QString::number(box.PosY), QString::number(box.Width), QString::number(box.Height))
          .toStdString();
    }
    case DesignerItem::Qr: {
      const QrBox& qr = layout.Qr;
      if (qr.Size <= 0)
        return tr("QR code: not drawn (QrSize is 0); give it a size in the properties")
            .toStdString();
      const auto q = [](const std::string& text) { return QString::fromStdString(text); };
      return tr("QR code: top-left corner x %1 mm, y %2 mm from the disc centre; %3 mm square "
                "(%4, %5; %6 label pixels)")
          .arg(q(Fixed((qr.PosX - centre) / ppm)), q(Fixed((qr.PosY - centre) / ppm)),
               q(Fixed(qr.Size / ppm)), QString::number(qr.PosX), QString::number(qr.PosY),
               QString::number(qr.Size))
          .toStdString();
    }
    case DesignerItem::Ring: {
      const auto [in, out] = RingBandRadii();
      if (out <= in) return tr("Ring text: none (RingLength is 0)").toStdString();
      return RingStatus(std::clamp(layout.RingType, 0, 2), Fixed(in), Fixed(out));
    }
    case DesignerItem::OuterCircle:
      return tr("Outer circle of the burning area: %1 mm from the disc centre")
          .arg(QString::fromStdString(Fixed(OuterRadius(), 0)))
          .toStdString();
    case DesignerItem::InnerCircle:
      return tr("Inner circle of the burning area: %1 mm from the disc centre")
          .arg(QString::fromStdString(Fixed(InnerRadius(), 0)))
          .toStdString();
    case DesignerItem::None:
      break;
  }
  return tr("Layout %1: %2")
      .arg(QString::number(state_.current), QString::fromStdString(layout.Name))
      .toStdString();
}

// ---- Changes -------------------------------------------------------------------------

DesignerSnapshot LayoutDesignerModel::WithLayout(const LayoutDefinition& layout) const {
  DesignerSnapshot after = state_;
  after.layouts[static_cast<std::size_t>(after.current)] = layout;
  return after;
}

std::string LayoutDesignerModel::Push(DesignerSnapshot after, const std::string& text,
                                      int mergeId) {
  if (after == state_) {
    if (live_) Restore(state_);
    return {};
  }
  stack_.push(new SnapshotCommand(this, state_, std::move(after), text, mergeId));
  return {};
}

void LayoutDesignerModel::Restore(const DesignerSnapshot& snapshot) {
  // An undo in the middle of a drag ends the drag.
  drag_.reset();
  feedback_ = {};
  state_ = snapshot;
  state_.current = std::clamp(state_.current, 0, static_cast<int>(state_.layouts.size()) - 1);
  live_.reset();
  emit Changed();
}

std::string LayoutDesignerModel::SetValue(const std::string& key, const std::string& text) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  const std::string canonical = CanonicalLayoutKey(key);
  if (std::string why = SetLayoutValue(layout, canonical.empty() ? key : canonical, text);
      !why.empty())
    return why;
  return Push(
      WithLayout(layout),
      tr("Set %1").arg(QString::fromStdString(canonical.empty() ? key : canonical)).toStdString());
}

std::string LayoutDesignerModel::SetNumber(const std::string& key, int value) {
  return SetValue(key, std::to_string(value));
}

std::string LayoutDesignerModel::SetBaseLength(int side) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  const int old = layout.BaseLength;
  if (std::string why = SetLayoutNumber(layout, "BaseLength", side); !why.empty()) return why;
  if (old > 0) {
    const double factor = static_cast<double>(side) / old;
    for (LayoutBoxKind kind : kLayoutBoxKinds) {
      LayoutBox& box = BoxOf(layout, kind);
      for (int* v : {&box.Width, &box.Height, &box.PosX, &box.PosY})
        *v = static_cast<int>(std::lround(*v * factor));
    }
  }
  return Push(WithLayout(layout), tr("Set %1").arg(QStringLiteral("BaseLength")).toStdString());
}

std::string LayoutDesignerModel::SetPicture(const std::string& path) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  if (path.empty()) return SetValue("BgImage", "");
  const LayoutFile::Picture picture = file_.AdoptPicture(path);
  if (!picture.ok) return picture.problem;
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  if (std::string why = SetLayoutValue(layout, "BgImage", picture.value); !why.empty()) return why;
  return Push(WithLayout(layout), tr("Background picture").toStdString());
}

std::string LayoutDesignerModel::Nudge(int dx, int dy) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  if (drag_) return {};
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  std::string why;
  if (IsBox(selection_)) {
    const std::string prefix = BoxKeyPrefix(BoxKindOf(selection_));
    LayoutBox& box = BoxOf(layout, BoxKindOf(selection_));
    why = SetLayoutNumber(layout, prefix + "PosX", box.PosX + dx);
    if (why.empty()) why = SetLayoutNumber(layout, prefix + "PosY", box.PosY + dy);
  } else if (selection_ == DesignerItem::Qr && layout.Qr.Size > 0) {
    why = SetLayoutNumber(layout, "QrPosX", layout.Qr.PosX + dx);
    if (why.empty()) why = SetLayoutNumber(layout, "QrPosY", layout.Qr.PosY + dy);
  } else if (selection_ == DesignerItem::InnerCircle || selection_ == DesignerItem::OuterCircle) {
    const int step = (dx > 0 || dy < 0) ? 1 : -1;
    const bool inner = selection_ == DesignerItem::InnerCircle;
    why = SetLayoutNumber(layout, inner ? "InnerRadius" : "OuterRadius",
                          (inner ? layout.InnerRadius : layout.OuterRadius) + step);
  } else {
    return {};
  }
  if (!why.empty()) return why;
  const int id = kNudgeCommand + static_cast<int>(selection_) * 100000 + state_.current;
  return Push(WithLayout(layout), tr("Nudge %1").arg(ItemObject(selection_)).toStdString(), id);
}

std::string LayoutDesignerModel::GiveBoxSize(LayoutBoxKind kind) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  const int side = layout.BaseLength;
  LayoutBox& box = BoxOf(layout, kind);
  box.Width = static_cast<int>(side * kNewBoxWidth);
  box.Height =
      static_cast<int>(side * (kind == LayoutBoxKind::Note ? kNewNoteHeight : kNewBoxHeight));
  box.PosX = (side - box.Width) / 2;
  box.PosY = static_cast<int>(side * (kind == LayoutBoxKind::Note   ? kNewNoteTop
                                      : kind == LayoutBoxKind::Date ? kNewDateTop
                                                                    : kNewTitleTop));
  return Push(WithLayout(layout), tr("Give %1 a size").arg(ItemObject(ItemOf(kind))).toStdString());
}

std::string LayoutDesignerModel::NewLayout(bool copyCurrent, const std::string& name) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  DesignerSnapshot after = state_;
  LayoutDefinition layout =
      copyCurrent ? state_.layouts[static_cast<std::size_t>(state_.current)] : StarterLayout();
  if (std::string why = SetLayoutValue(layout, "Name", name); !why.empty()) return why;
  if (std::string why = AddLayout(after.layouts, std::move(layout)); !why.empty()) return why;
  after.current = static_cast<int>(after.layouts.size()) - 1;
  return Push(std::move(after),
              (copyCurrent ? tr("Copy the layout") : tr("New layout")).toStdString());
}

std::string LayoutDesignerModel::RenameLayout(const std::string& name) {
  if (state_.layouts.empty()) return Translated(kNotOpen);
  LayoutDefinition layout = state_.layouts[static_cast<std::size_t>(state_.current)];
  if (std::string why = SetLayoutValue(layout, "Name", name); !why.empty()) return why;
  return Push(WithLayout(layout), tr("Rename the layout").toStdString());
}

std::string LayoutDesignerModel::DeleteLayout(int index) {
  DesignerSnapshot after = state_;
  if (std::string why = twr::DeleteLayout(after.layouts, index); !why.empty()) return why;
  if (after.current > index ||
      (after.current == index && after.current >= static_cast<int>(after.layouts.size())))
    --after.current;
  return Push(std::move(after), tr("Delete layout %1").arg(index).toStdString());
}

std::string LayoutDesignerModel::MoveLayout(int from, int to) {
  DesignerSnapshot after = state_;
  if (std::string why = twr::MoveLayout(after.layouts, from, to); !why.empty()) return why;
  int& c = after.current;
  if (c == from)
    c = to;
  else if (from < c && c <= to)
    --c;
  else if (to <= c && c < from)
    ++c;
  return Push(std::move(after), tr("Move layout %1").arg(from).toStdString());
}

// ---- Drags ----------------------------------------------------------------------------

void LayoutDesignerModel::BeginDrag(DesignerItem item, DragHandle handle, QPointF start) {
  if (item == DesignerItem::None || item == DesignerItem::Ring || state_.layouts.empty()) return;
  drag_ = Drag{item, handle, start, state_.layouts[static_cast<std::size_t>(state_.current)]};
  live_ = drag_->before;
  feedback_ = {};
}

std::vector<double> LayoutDesignerModel::SnapTargetsX(LayoutBoxKind moving) const {
  std::vector<double> targets = {drag_->before.BaseLength / 2.0};
  for (LayoutBoxKind kind : kLayoutBoxKinds) {
    if (kind == moving || !BoxIsDrawn(drag_->before, kind)) continue;
    const LayoutBox& b = BoxOf(drag_->before, kind);
    targets.insert(targets.end(),
                   {double(b.PosX), b.PosX + b.Width / 2.0, double(b.PosX + b.Width)});
  }
  return targets;
}

std::vector<double> LayoutDesignerModel::SnapTargetsY(LayoutBoxKind moving) const {
  std::vector<double> targets;
  for (LayoutBoxKind kind : kLayoutBoxKinds) {
    if (kind == moving || !BoxIsDrawn(drag_->before, kind)) continue;
    const LayoutBox& b = BoxOf(drag_->before, kind);
    targets.insert(targets.end(),
                   {double(b.PosY), b.PosY + b.Height / 2.0, double(b.PosY + b.Height)});
  }
  return targets;
}

LayoutDesignerModel::DragFeedback LayoutDesignerModel::DragTo(QPointF now, double snapDistance,
                                                              bool snap) {
  if (!drag_) return {};
  feedback_ = {};
  LayoutDefinition layout = drag_->before;
  const int side = layout.BaseLength;
  if (drag_->handle == DragHandle::Radius) {
    const double distance = std::hypot(now.x() - side / 2.0, now.y() - side / 2.0);
    const bool inner = drag_->item == DesignerItem::InnerCircle;
    const std::string key = inner ? "InnerRadius" : "OuterRadius";
    const LayoutKeyRange range = LayoutKeyLimits(layout, key);
    const int radius = std::clamp(static_cast<int>(std::lround(distance / PixelsPerMm())),
                                  range.minimum, range.maximum);
    (inner ? layout.InnerRadius : layout.OuterRadius) = radius;
    // A ring band too thin for ring text at this BaseLength is not taken:
    // the circle stays where it last was.
    if (!CheckLayoutKey(layout, key).empty()) return feedback_;
    live_ = layout;
    emit Changed();
    return feedback_;
  }
  if (drag_->item == DesignerItem::Qr) return DragQrTo(now);
  if (!IsBox(drag_->item)) return feedback_;
  const LayoutBoxKind kind = BoxKindOf(drag_->item);
  LayoutBox& box = BoxOf(layout, kind);
  const int dx = static_cast<int>(std::lround(now.x() - drag_->start.x()));
  const int dy = static_cast<int>(std::lround(now.y() - drag_->start.y()));
  // The edges the handle moves.
  const DragHandle h = drag_->handle;
  const bool left =
      h == DragHandle::Left || h == DragHandle::TopLeft || h == DragHandle::BottomLeft;
  const bool right =
      h == DragHandle::Right || h == DragHandle::TopRight || h == DragHandle::BottomRight;
  const bool top = h == DragHandle::Top || h == DragHandle::TopLeft || h == DragHandle::TopRight;
  const bool bottom =
      h == DragHandle::Bottom || h == DragHandle::BottomLeft || h == DragHandle::BottomRight;
  double x0 = box.PosX, x1 = box.PosX + box.Width, y0 = box.PosY, y1 = box.PosY + box.Height;
  if (h == DragHandle::Move) {
    x0 += dx;
    x1 += dx;
    y0 += dy;
    y1 += dy;
  } else {
    if (left) x0 += dx;
    if (right) x1 += dx;
    if (top) y0 += dy;
    if (bottom) y1 += dy;
  }
  if (snap) {
    double shift = 0.0, guide = 0.0;
    const std::vector<double> tx = SnapTargetsX(kind), ty = SnapTargetsY(kind);
    if (h == DragHandle::Move) {
      if (BestSnap({x0, (x0 + x1) / 2.0, x1}, tx, snapDistance, shift, guide)) {
        const double s = std::round(shift);
        x0 += s;
        x1 += s;
        feedback_.guides.emplace_back(guide, 0.0, guide, side);
      }
      if (BestSnap({y0, (y0 + y1) / 2.0, y1}, ty, snapDistance, shift, guide)) {
        const double s = std::round(shift);
        y0 += s;
        y1 += s;
        feedback_.guides.emplace_back(0.0, guide, side, guide);
      }
    } else {
      if ((left || right) && BestSnap({left ? x0 : x1}, tx, snapDistance, shift, guide)) {
        (left ? x0 : x1) += std::round(shift);
        feedback_.guides.emplace_back(guide, 0.0, guide, side);
      }
      if ((top || bottom) && BestSnap({top ? y0 : y1}, ty, snapDistance, shift, guide)) {
        (top ? y0 : y1) += std::round(shift);
        feedback_.guides.emplace_back(0.0, guide, side, guide);
      }
    }
  }
  // A resized box keeps at least one pixel and never turns inside out.
  if (left && x0 > x1 - 1) x0 = x1 - 1;
  if (right && x1 < x0 + 1) x1 = x0 + 1;
  if (top && y0 > y1 - 1) y0 = y1 - 1;
  if (bottom && y1 < y0 + 1) y1 = y0 + 1;
  const LayoutKeyRange place = LayoutKeyLimits(layout, "TitlePosX");
  const LayoutKeyRange size = LayoutKeyLimits(layout, "TitleWidth");
  box.Width = std::clamp(static_cast<int>(x1 - x0), size.minimum, size.maximum);
  box.Height = std::clamp(static_cast<int>(y1 - y0), size.minimum, size.maximum);
  box.PosX = std::clamp(static_cast<int>(x0), place.minimum, place.maximum);
  box.PosY = std::clamp(static_cast<int>(y0), place.minimum, place.maximum);
  live_ = layout;
  emit Changed();
  return feedback_;
}

LayoutDesignerModel::DragFeedback LayoutDesignerModel::DragQrTo(QPointF now) {
  LayoutDefinition layout = drag_->before;
  QrBox& qr = layout.Qr;
  if (qr.Size <= 0) return feedback_;
  const int dx = static_cast<int>(std::lround(now.x() - drag_->start.x()));
  const int dy = static_cast<int>(std::lround(now.y() - drag_->start.y()));
  const DragHandle h = drag_->handle;
  const LayoutKeyRange place = LayoutKeyLimits(layout, "QrPosX");
  const LayoutKeyRange size = LayoutKeyLimits(layout, "QrSize");
  if (h == DragHandle::Move) {
    qr.PosX = std::clamp(qr.PosX + dx, place.minimum, place.maximum);
    qr.PosY = std::clamp(qr.PosY + dy, place.minimum, place.maximum);
  } else {
    // A code stays square: a corner grows or shrinks it by the larger of
    // its two moves, the opposite corner staying where it is.
    const bool left =
        h == DragHandle::Left || h == DragHandle::TopLeft || h == DragHandle::BottomLeft;
    const bool top = h == DragHandle::Top || h == DragHandle::TopLeft || h == DragHandle::TopRight;
    const int growX = left ? -dx : dx;
    const int growY = top ? -dy : dy;
    const bool sideways = h == DragHandle::Left || h == DragHandle::Right;
    const bool upright = h == DragHandle::Top || h == DragHandle::Bottom;
    const int grow = sideways ? growX : upright ? growY : std::max(growX, growY);
    const int side = std::clamp(qr.Size + grow, std::max(size.minimum, 1), size.maximum);
    if (left) qr.PosX += qr.Size - side;
    if (top) qr.PosY += qr.Size - side;
    qr.Size = side;
    qr.PosX = std::clamp(qr.PosX, place.minimum, place.maximum);
    qr.PosY = std::clamp(qr.PosY, place.minimum, place.maximum);
  }
  live_ = layout;
  emit Changed();
  return feedback_;
}

void LayoutDesignerModel::EndDrag(bool commit) {
  if (!drag_) return;
  const Drag drag = *drag_;
  drag_.reset();
  feedback_ = {};
  if (!commit || !live_ || *live_ == drag.before) {
    live_.reset();
    emit Changed();
    return;
  }
  const LayoutDefinition after = *live_;
  const QString item = ItemObject(drag.item);
  const QString text = drag.handle == DragHandle::Radius ? tr("Change %1").arg(item)
                       : drag.handle == DragHandle::Move ? tr("Move %1").arg(item)
                                                         : tr("Resize %1").arg(item);
  Push(WithLayout(after), text.toStdString());
}

// ---- Renders ------------------------------------------------------------------------------

QImage LayoutDesignerModel::Render(int side, bool full) {
  if (!renderer_ || side <= 0) return {};
  const LayoutDefinition& layout = Layout();
  if (frame_.side == side && frame_.full == full && frame_.texts == textsVersion_ &&
      frame_.layout == layout && !frame_.image.isNull())
    return frame_.image;

  renderer_->Title = title_.empty() ? Translated(kPlaceholderTitle) : title_;
  renderer_->Date = date_.empty() ? Translated(kPlaceholderDate) : date_;
  const bool noNotes =
      std::all_of(notes_.begin(), notes_.end(), [](const std::string& l) { return l.empty(); });
  for (int i = 0; i < kNoteLineCount; ++i)
    renderer_->NoteLines[static_cast<std::size_t>(i)] =
        !noNotes
            ? notes_[static_cast<std::size_t>(i)]
            : (i < static_cast<int>(std::size(kPlaceholderNotes)) ? Translated(kPlaceholderNotes[i])
                                                                  : std::string());
  // A QR box shows a code of a typical size (a volume name, a date and a
  // few names), so that its modules can be judged at the box's size.
  renderer_->QrText = kSampleQr;
  renderer_->UseLayout(RecordOf(layout));

  QImage image;
  if (full || renderer_->LabelImageData().isNull()) {
    renderer_->RenderCurrentLabel();
    const QImage label = renderer_->LabelImageData();
    if (full && !label.isNull())
      image = label.width() == side
                  ? label
                  : label.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  if (!full) {
    renderer_->RenderCurrentPreview(side, side);
    image = renderer_->PreviewImage().Image();
  }
  if (image.isNull()) {
    // A layout the renderer refuses (no usable BaseLength): a dark disc.
    image = QImage(side, side, QImage::Format_RGB888);
    image.fill(QColor(40, 40, 46));
  }
  frame_ = {layout, side, full, textsVersion_, image};
  UpdateAreaText(image);
  return image;
}

void LayoutDesignerModel::SetQuality(BurnQuality quality) {
  if (quality == quality_) return;
  quality_ = quality;
  if (!frame_.image.isNull()) UpdateAreaText(frame_.image);
}

void LayoutDesignerModel::UpdateAreaText(const QImage& image) {
  std::string text;
  const ElsPage page = ExampleEtchPage();
  const double lowest = kBandInnerLimitMm, highest = kBandOuterLimitMm;
  const BurnPlan whole = PlanBurn(page, {{lowest, highest}, BurnDisc::LabelSide(), quality_});
  const int lightest = LightestMarkingLuma(whole);
  // The band of the marks, without the pixels `skip` leaves out, and its time.
  struct Burn {
    MarkedExtent marks;
    BurnBand band;
    std::string time;
  };
  const auto burnOf = [&](const std::function<bool(int, int)>& skip) {
    Burn b;
    b.marks = FindMarks(image, lightest, lowest, highest, skip);
    b.band = AutomaticBand(b.marks, whole.feedStep, lowest, highest);
    b.time = PlanBurn(page, {b.band, BurnDisc::LabelSide(), quality_}).timeText;
    return b;
  };
  const Burn all = image.isNull() || !whole.HasTime() ? Burn{} : burnOf({});
  const auto q = [](const std::string& s) { return QString::fromStdString(s); };
  const auto mm = [](double v) { return QString::fromStdString(Fixed(v)); };
  if (image.isNull() || !whole.HasTime()) {
    text.clear();
  } else if (!all.marks.marks) {
    text = NothingMarksText(quality_);
  } else {
    const int base = Layout().BaseLength;
    const double scale = image.width() > 0 ? static_cast<double>(base) / image.width() : 1.0;
    const auto partAt = [&](int x, int y) {
      return LabelPartAt(*renderer_, static_cast<int>(x * scale), static_cast<int>(y * scale));
    };
    QString said = tr("Automatic burning area %1 - %2 mm: %3 at %4.")
                       .arg(mm(all.band.inner), mm(all.band.outer), q(all.time),
                            QString::fromUtf8(
                                Tr("BurnPlan", kQualityNames[static_cast<std::size_t>(quality_)])));
    // Each edge set by a part of the label: the burn without that part.
    const auto edge = [&](int x, int y, bool inner) {
      if (x < 0) return;
      const LabelPart part = partAt(x, y);
      if (part == LabelPart::Background) return;
      const Burn without = burnOf([&](int px, int py) { return partAt(px, py) == part; });
      const QString rest = without.marks.marks ? q(without.time) : tr("nothing marks");
      said += QLatin1Char(' ');
      said += inner ? tr("The inner edge is set by %1 at %2 mm; without it %3.")
                          .arg(q(LabelPartName(part)), mm(all.marks.inner), rest)
                    : tr("The outer edge is set by %1 at %2 mm; without it %3.")
                          .arg(q(LabelPartName(part)), mm(all.marks.outer), rest);
    };
    edge(all.marks.innerX, all.marks.innerY, true);
    edge(all.marks.outerX, all.marks.outerY, false);
    text = said.toStdString();
  }
  if (text == areaText_) return;
  areaText_ = std::move(text);
  emit AreaTextChanged();
}

// ---- Saving -------------------------------------------------------------------------------

FileWriteResult LayoutDesignerModel::Save() {
  if (drag_) EndDrag(true);
  FileWriteResult result = file_.Save(state_.layouts);
  if (!result.ok) return result;
  if (file_.Layouts() != state_.layouts) {
    // The file had changed meanwhile: its layouts with these changes made.
    DesignerSnapshot after = state_;
    after.layouts = file_.Layouts();
    Push(std::move(after), tr("Layouts another program changed").toStdString());
  }
  stack_.setClean();
  emit Saved(QString::fromStdString(file_.Path()));
  return result;
}

FileWriteResult LayoutDesignerModel::SaveAs(const std::string& path) {
  if (drag_) EndDrag(true);
  std::vector<LayoutDefinition> layouts = state_.layouts;
  FileWriteResult result = file_.SaveAs(path, layouts);
  if (!result.ok) return result;
  if (layouts != state_.layouts) {
    DesignerSnapshot after = state_;
    after.layouts = std::move(layouts);
    Push(std::move(after), tr("Pictures beside the new settings file").toStdString());
  }
  stack_.setClean();
  emit Saved(QString::fromStdString(file_.Path()));
  return result;
}

}  // namespace twr::ui
