// The layout designer without its window: the layouts of one settings file
// as the document, the item selected on the disc, every change as one step
// of an undo stack (each step swaps two snapshots of the layouts), a drag
// shown live until it ends in one step, snapping to the disc's vertical
// centre line and to the other boxes' edges, the status text in millimetres
// from the disc centre, the renders of the layout with sample texts, and
// the save that keeps every other line of the file. "Modified" is the undo
// stack's clean state. The window's canvas and properties panel are views
// of this; tests drive it directly.
#pragma once

#include <QImage>
#include <QLineF>
#include <QObject>
#include <QRect>
#include <QUndoStack>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "label/LayoutFile.h"
#include "label/RingText.h"

namespace twr {
class CELLayout;
}

namespace twr::ui {

// What can be selected on the disc, in the order Tab visits them.
enum class DesignerItem { None, Title, Date, Note, Qr, Ring, OuterCircle, InnerCircle };
inline constexpr DesignerItem kDesignerItems[] = {
    DesignerItem::Title, DesignerItem::Date,        DesignerItem::Note,       DesignerItem::Qr,
    DesignerItem::Ring,  DesignerItem::OuterCircle, DesignerItem::InnerCircle};
// "Title box", "Ring text", "Outer circle", ...
const char* DesignerItemName(DesignerItem item);
bool IsBox(DesignerItem item);
LayoutBoxKind BoxKindOf(DesignerItem item);
DesignerItem ItemOf(LayoutBoxKind kind);

// What a drag takes hold of: a box (moved, or resized by an edge or a
// corner) or a circle of the burning area (its radius).
enum class DragHandle {
  Move,
  Left,
  Top,
  Right,
  Bottom,
  TopLeft,
  TopRight,
  BottomLeft,
  BottomRight,
  Radius
};

// One state of the document: the layouts and the one being edited.
struct DesignerSnapshot {
  std::vector<LayoutDefinition> layouts;
  int current = 0;
  bool operator==(const DesignerSnapshot&) const = default;
};

class LayoutDesignerModel : public QObject {
  Q_OBJECT

 public:
  explicit LayoutDesignerModel(QObject* parent = nullptr);
  ~LayoutDesignerModel() override;

  // ---- The document --------------------------------------------------------
  // Reads the settings file and starts at layout `current`; false with why.
  // The undo stack starts empty and clean.
  bool Open(const std::string& settingsPath, int current, std::string* problem = nullptr);
  const std::string& SettingsPath() const { return file_.Path(); }
  const std::vector<LayoutDefinition>& Layouts() const { return state_.layouts; }
  int Current() const { return state_.current; }
  // The layout being edited, as it is shown (during a drag, the live one).
  const LayoutDefinition& Layout() const;
  QUndoStack& UndoStack() { return stack_; }
  bool Modified() const { return !stack_.isClean(); }

  // The layout shown and edited; not a change of the document.
  void SetCurrent(int index);

  // ---- Sample texts and the face -------------------------------------------------
  // The main window's texts; an empty one is shown by a placeholder, so
  // that its box is still seen.
  void SetSampleTexts(const std::string& title, const std::string& date,
                      const NoteLineArray& notes);
  void SetFontFace(const std::string& face);
  const std::string& SampleTitle() const { return title_; }

  // ---- Selection -------------------------------------------------------------------
  DesignerItem Selection() const { return selection_; }
  void Select(DesignerItem item);
  // Tab and Shift+Tab: the next item (or the one before), round the list.
  void SelectNext(bool backwards = false);
  // The item under a point (label pixels), boxes over circles over the ring
  // band; `tolerance` label pixels around a circle still hit it.
  DesignerItem ItemAt(QPointF point, double tolerance) const;

  // ---- Changes, each one undoable step; "" when done, otherwise why not ---------
  // A key of the current layout from its text (settings-file form).
  std::string SetValue(const std::string& key, const std::string& text);
  std::string SetNumber(const std::string& key, int value);
  // BaseLength, with the boxes scaled so that they keep their place in
  // millimetres.
  std::string SetBaseLength(int side);
  // A background picture: copied into the settings file's bg/ folder
  // unless it lies in that file's folder already.
  std::string SetPicture(const std::string& path);
  // Arrow keys: a box moves by (dx, dy) label pixels; a circle's radius
  // grows by one millimetre for right or up and shrinks for left or down.
  // Nudges of the same item one after another are one undo step.
  std::string Nudge(int dx, int dy);
  // A size for a box that has none (a date or note box the layout leaves
  // out), in the middle of the label.
  std::string GiveBoxSize(LayoutBoxKind kind);
  // Layouts: new at the end (a copy of the current one, or the built-in
  // starting layout), rename, delete, move; the current layout follows.
  std::string NewLayout(bool copyCurrent, const std::string& name);
  std::string RenameLayout(const std::string& name);
  std::string DeleteLayout(int index);
  std::string MoveLayout(int from, int to);

  // ---- A drag: shown live, one undo step at its end --------------------------
  void BeginDrag(DesignerItem item, DragHandle handle, QPointF start);
  struct DragFeedback {
    std::vector<QLineF> guides;  // label pixels: the lines snapped to
  };
  // The pointer at `now` (label pixels); within `snapDistance` label pixels
  // a box edge or centre snaps to the vertical centre line or another box's
  // edge or centre, unless `snap` is false.
  DragFeedback DragTo(QPointF now, double snapDistance, bool snap = true);
  // Ends the drag: with `commit` and a change, one undo step; else the
  // layout goes back to what it was.
  void EndDrag(bool commit);
  bool Dragging() const { return drag_.has_value(); }
  const DragFeedback& Feedback() const { return feedback_; }

  // ---- What the views show ------------------------------------------------------
  double PixelsPerMm() const;
  // A box's rectangle in label pixels.
  QRect BoxRect(LayoutBoxKind kind) const;
  // The rectangle of a box or the QR code that is drawn (it has a size),
  // in label pixels: what a drag moves or resizes. Empty for anything else.
  std::optional<QRect> ItemRect(DesignerItem item) const;
  // The burning area's radii and the ring text band's, in millimetres, as
  // the renderer takes them (radii out of range reset, the band capped).
  double InnerRadius() const;
  double OuterRadius() const;
  // From the centre, the band's inner and outer edge; 0, 0 without ring text.
  std::pair<double, double> RingBandRadii() const;
  // Where the selected item is, in millimetres from the disc centre.
  std::string StatusText() const;

  // The layout drawn with the sample texts, `side` pixels across: with
  // `full`, the full-size label (what a burn samples) smoothly scaled down;
  // otherwise drawn at that size (a drag's frames).
  QImage Render(int side, bool full);

  // What the automatic burning area of the layout as last drawn would be at
  // the quality on the example drive: its band and time, and what sets each
  // edge with what the burn would take without that part ("" before the
  // first render). AreaTextChanged says when it changes.
  const std::string& AreaText() const { return areaText_; }
  // The quality the main window's preview shows (Draft until set).
  void SetQuality(BurnQuality quality);

  // ---- Saving ----------------------------------------------------------------------
  // Another program wrote to the settings file since it was read or saved.
  bool ChangedOnDisk() const { return file_.ChangedOnDisk(); }
  // On success the undo stack is clean; on failure nothing changes and
  // `problem` says why.
  FileWriteResult Save();
  FileWriteResult SaveAs(const std::string& path);
  std::string SaveFailure(const FileWriteResult& result) const {
    return SaveFailureText(file_.Path(), result.problem);
  }

  // The undo stack's commands put snapshots back through this.
  void Restore(const DesignerSnapshot& snapshot);

 signals:
  // The document or the layout shown changed: render and show again.
  void Changed();
  void SelectionChanged();
  void AreaTextChanged();
  // The settings file was written (its path, which Save As changes).
  void Saved(const QString& path);

 private:
  struct Drag {
    DesignerItem item = DesignerItem::None;
    DragHandle handle = DragHandle::Move;
    QPointF start;
    LayoutDefinition before;
  };
  // One undoable step from the state now to `after`.
  std::string Push(DesignerSnapshot after, const std::string& text, int mergeId = -1);
  DesignerSnapshot WithLayout(const LayoutDefinition& layout) const;
  LayoutRecord RecordOf(const LayoutDefinition& layout) const;
  // DragTo for the QR code: moved, or resized keeping it square.
  DragFeedback DragQrTo(QPointF now);
  std::vector<double> SnapTargetsX(LayoutBoxKind moving) const;
  std::vector<double> SnapTargetsY(LayoutBoxKind moving) const;

  LayoutFile file_;
  DesignerSnapshot state_;
  std::optional<LayoutDefinition> live_;  // the current layout during a drag
  std::optional<Drag> drag_;
  DragFeedback feedback_;
  QUndoStack stack_;
  DesignerItem selection_ = DesignerItem::Title;

  std::string title_, date_;
  NoteLineArray notes_;
  std::string face_;
  std::unique_ptr<CELLayout> renderer_;
  // The last render and what it was made from.
  struct Frame {
    LayoutDefinition layout;
    int side = 0;
    bool full = false;
    int texts = -1;
    QImage image;
  } frame_;
  int textsVersion_ = 0;
  BurnQuality quality_ = BurnQuality::Draft;
  std::string areaText_;
  // AreaText from a render of the layout (square, 116 mm across).
  void UpdateAreaText(const QImage& image);
};

}  // namespace twr::ui
