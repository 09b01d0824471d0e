// The main window.
#include "ui/CELMainDlg.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <utility>

#include "common/Strings.h"
#include "drive/DiscScan.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "ui/AboutBox.h"
#include "ui/CELDraw.h"
#include "ui/CELTitleConfig.h"
#include "ui/DriveTask.h"
#include "ui/EtchedViewSwitch.h"
#include "ui/GuiMessages.h"
#include "ui/HelpWindow.h"
#include "ui/LayoutDesigner.h"
#include "ui/QuitShortcut.h"
#include "ui/Skin.h"
#include "ui/SkinnedButton.h"
#include "ui/TemplateGallery.h"
#include "ui/model/BurnSession.h"
#include "ui/model/DiscQrScan.h"
#include "ui/model/EtchedPreviewModel.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TemplateGalleryModel.h"

namespace twr::ui {

namespace {

// Template 102, in dialog units.
const QRect kLayoutRect = DialogRect(9, 6, 267, 14);  // closed height
const QRect kPreviewRect = DialogRect(9, 19, 267, 247);
const QRect kDriveRect = DialogRect(285, 7, 162, 14);
const QRect kScanRect = DialogRect(332, 24, 67, 19);
const QRect kTitleRect = DialogRect(295, 59, 143, 14);
const QRect kDateRect = DialogRect(295, 84, 143, 14);
const QRect kNoteRect = DialogRect(295, 110, 143, 62);
const QRect kQrRect = DialogRect(295, 183, 143, 13);
const QRect kFontRect = DialogRect(369, 202, 68, 9);
const QRect kRadiusRect = DialogRect(369, 213, 68, 9);
const QRect kTimeRect = DialogRect(369, 224, 68, 9);
const QRect kConfigRect = DialogRect(285, 246, 67, 19);
const QRect kBurnRect = DialogRect(405, 253, 42, 42);
const QRect kExitRect = DialogRect(9, 279, 67, 19);
// The captions' baselines: the drive's where the picture had it, the edits'
// three pixels higher so that the focus ring round an edit leaves their
// mnemonics' underlines clear; the "?" button under Config, its foot level
// with Burn's.
const QPoint kDriveCaption{428, 57};
const QPoint kTitleCaption{442, 89};
const QPoint kDateCaption{442, 129};
const QPoint kNoteCaption{442, 172};
const QPoint kQrCaption{442, 290};
// OnTextEdited's kind for the QR field (after the three TextKinds).
constexpr int kQrField = 3;
const QRect kHelpButtonRect{428, 447, 28, 28};
// The File button: right of Exit, a gap of this many pixels between them.
constexpr int kFileButtonGap = 10;

// The layout list shows this many names when it drops down (239 units).
constexpr int kLayoutListRows = 24;
const QColor kPreviewWell{24, 24, 30};
// A quit that comes while the drive is busy is tried again after this long.
constexpr int kQuitRetryMs = 100;

// The note edit holds LF line breaks; the model CR LF.
std::string NoteFromEdit(const QString& text) {
  std::string note = text.toStdString();
  std::string out;
  out.reserve(note.size() + note.size() / 16);
  for (char c : note) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

QString NoteForEdit(const std::string& note) {
  std::string out;
  out.reserve(note.size());
  for (char c : note)
    if (c != '\r') out += c;
  return QString::fromStdString(out);
}

SkinnedButton* MakeButton(const char* up, const char* down, const QString& word, const QRect& rect,
                          int id, QWidget* parent) {
  auto* button = new SkinnedButton(QString::fromLatin1(up), QString::fromLatin1(down), QString(),
                                   word, parent);
  button->move(rect.topLeft());
  button->setObjectName(QString::number(id));
  return button;
}

// The layout designer's shortcut and its button beside the layout list.
const QKeySequence kDesignerKeys(Qt::CTRL | Qt::Key_E);
constexpr int kDesignButtonGap = 6;
// The preview's bar under the disc: the switch and quality at its left, the
// warning mark at its right, this far in from the well's edges.
constexpr int kBarMargin = 4;
// The etched view is worked out again once typing has paused this long.
constexpr int kEtchAfterTypingMs = 300;
// A pause this long ends a burst of changes that Undo takes back at once.
constexpr int kRememberLabelMs = 700;

// With TWR_PREVIEW_LOG naming a file, every keystroke in the edits and every
// paint of the preview adds a line to it ("key" or "paint", then the wall
// clock in microseconds), for measuring how soon the preview follows typing
// (bench/ui/typing-latency.sh).
void LogPreviewEvent(const char* what) {
  static const QByteArray path = qgetenv("TWR_PREVIEW_LOG");
  if (path.isEmpty()) return;
  static std::ofstream log(path.toStdString(), std::ios::app);
  const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  log << what << ' ' << std::to_string(now.count()) << '\n' << std::flush;
}

// A pencil, drawn for the Design button.
QIcon PencilIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  pixmap.setDevicePixelRatio(2.0);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(8, 8);
  p.rotate(45);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 250, 252));
  p.drawRect(QRectF(-1.6, -7, 3.2, 10));
  p.drawPolygon(QPolygonF({QPointF(-1.6, 3.6), QPointF(1.6, 3.6), QPointF(0, 7)}));
  return QIcon(pixmap);
}

// A warning triangle with its mark, drawn for the warning mark.
QIcon WarningIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  pixmap.setDevicePixelRatio(2.0);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(60, 40, 0), 0.8));
  p.setBrush(QColor(255, 196, 36));
  p.drawPolygon(QPolygonF({QPointF(8, 1), QPointF(15, 14.5), QPointF(1, 14.5)}));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 28, 0));
  p.drawRect(QRectF(7.2, 5, 1.6, 5.2));
  p.drawEllipse(QRectF(7.1, 11.2, 1.8, 1.8));
  return QIcon(pixmap);
}

// The warnings in words, one paragraph each.
QString WarningList(const std::vector<LabelWarning>& warnings) {
  QString list;
  for (const LabelWarning& w : warnings) {
    if (!list.isEmpty()) list += QLatin1Char('\n');
    list += QStringLiteral("\u2022 ") + QString::fromStdString(w.text);
  }
  return list;
}

// The quality list's entries in the order of DesignQuality.
int QualityIndex(DesignQuality quality) {
  return static_cast<int>(quality);
}
DesignQuality DesignQualityFor(BurnQuality quality) {
  return quality == BurnQuality::High
             ? DesignQuality::High
             : (quality == BurnQuality::Normal ? DesignQuality::Normal : DesignQuality::Draft);
}

// The notices over the preview, in the Design button's style.
const QString kOverlayStyle = QStringLiteral(
    "color: white; background: rgba(30, 30, 40, 190); border: 1px solid rgba(255, 255, 255, "
    "90); border-radius: 4px; padding: 2px 6px;");

}  // namespace

// ---- Preview area -------------------------------------------------------------

PreviewArea::PreviewArea(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAccessibleName(QStringLiteral("Label preview"));
}

void PreviewArea::SetPreview(const QImage& preview) {
  preview_ = preview;
  scaled_ = QPixmap();
  update();
}

void PreviewArea::SetFooter(int pixels) {
  if (pixels == footer_) return;
  footer_ = pixels;
  update();
}

QRect PreviewArea::DiscRect() const {
  const int side = std::max(0, std::min(width(), height() - footer_));
  return {(width() - side) / 2, 0, side, side};
}

void PreviewArea::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* open = menu.addAction(tr("Open the Layout Designer"));
  open->setShortcut(kDesignerKeys);
  if (menu.exec(event->globalPos()) == open) emit DesignerRequested();
}

void PreviewArea::SetMovablePicture(const QRectF& where) {
  movable_ = where;
  if (movable_.isEmpty() && dragging_) {
    dragging_ = false;
    emit PictureDragEnded();
  }
  ShowHand(mapFromGlobal(QCursor::pos()));
}

QPointF PreviewArea::LabelPoint(QPointF pos) const {
  const QRect disc = DiscRect();
  if (disc.width() <= 0) return {-1.0, -1.0};
  return (pos - QPointF(disc.topLeft())) / disc.width();
}

bool PreviewArea::OverPicture(QPointF pos) const {
  const QPointF at = LabelPoint(pos);
  return !movable_.isEmpty() && movable_.contains(at) && QRectF(0, 0, 1, 1).contains(at);
}

void PreviewArea::ShowHand(QPointF pos) {
  if (dragging_)
    setCursor(Qt::ClosedHandCursor);
  else if (OverPicture(pos))
    setCursor(Qt::OpenHandCursor);
  else
    unsetCursor();
}

void PreviewArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !OverPicture(event->position())) {
    QWidget::mousePressEvent(event);
    return;
  }
  dragging_ = true;
  dragFrom_ = event->position();
  ShowHand(event->position());
  emit PictureDragStarted();
  event->accept();
}

void PreviewArea::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) emit PictureDragged(event->position() - dragFrom_, DiscRect().width());
  ShowHand(event->position());
}

void PreviewArea::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  dragging_ = false;
  ShowHand(event->position());
  emit PictureDragEnded();
  event->accept();
}

void PreviewArea::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (movable_.isEmpty() || delta == 0 ||
      !QRectF(0, 0, 1, 1).contains(LabelPoint(event->position()))) {
    event->ignore();
    return;
  }
  emit PictureWheel(delta, LabelPoint(event->position()));
  event->accept();
}

void PreviewArea::paintEvent(QPaintEvent*) {
  ++paints_;
  QPainter painter(this);
  painter.fillRect(rect(), kPreviewWell);
  if (preview_.isNull()) return;
  const QRect disc = DiscRect();
  const int side = disc.width();
  const qreal dpr = devicePixelRatioF();
  const int pixels = qRound(side * dpr);
  if (scaled_.isNull() || scaled_.width() != pixels) {
    scaled_ = QPixmap::fromImage(
        preview_.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    scaled_.setDevicePixelRatio(dpr);
  }
  painter.drawPixmap(disc.topLeft(), scaled_);
  LogPreviewEvent("paint");
}

// ---- Main window --------------------------------------------------------------

CELMainDlg::CELMainDlg(MainWindowModel& model, TitleConfigModel& config, BurnSession& burn,
                       CELDevice& device, GuiMessages& messages, QWidget* parent)
    : SkinnedDialog(skin::kMainBackground, kMainBrush, parent),
      model_(model),
      configModel_(config),
      burnSession_(burn),
      device_(device),
      messages_(messages) {
  setObjectName(QStringLiteral("CELMainDlg"));
  setWindowTitle(QString::fromStdString(MainWindowTitle()));
  setWindowIcon(QIcon(QStringLiteral(":/icons/titlewright")));
  setWindowFlag(Qt::WindowMinimizeButtonHint, true);

  layouts_ = new QComboBox(this);
  layouts_->setGeometry(kLayoutRect);
  layouts_->setMaxVisibleItems(kLayoutListRows);
  layouts_->setObjectName(QString::number(kIdLayout));
  layouts_->setAccessibleName(tr("Layout"));
  preview_ = new PreviewArea(this);
  preview_->setGeometry(kPreviewRect);
  preview_->setObjectName(QString::number(kIdPreview));
  drives_ = new QComboBox(this);
  drives_->setGeometry(kDriveRect);
  drives_->setObjectName(QString::number(kIdDrive));
  drives_->setAccessibleName(tr("Drive"));
  scan_ = MakeButton("IDB_BBTNSCANU", "IDB_BBTNSCAND", tr("&Scan"), kScanRect, kIdScan, this);
  title_ = new QLineEdit(this);
  title_->setGeometry(kTitleRect);
  title_->setObjectName(QString::number(kIdTitle));
  title_->setAccessibleName(tr("Title"));
  title_->setPlaceholderText(tr("The disc's title"));
  date_ = new QLineEdit(this);
  date_->setGeometry(kDateRect);
  date_->setObjectName(QString::number(kIdDate));
  date_->setAccessibleName(tr("Date"));
  date_->setPlaceholderText(tr("A date or a second line"));
  note_ = new QPlainTextEdit(this);
  note_->setGeometry(kNoteRect);
  note_->setObjectName(QString::number(kIdNote));
  note_->setAccessibleName(tr("Note"));
  note_->setLineWrapMode(QPlainTextEdit::NoWrap);
  note_->setTabChangesFocus(true);
  note_->setPlaceholderText(tr("Notes or file names, one a line (Scan reads the disc's)"));
  qr_ = new QLineEdit(this);
  qr_->setGeometry(kQrRect);
  qr_->setObjectName(QString::number(kIdQr));
  qr_->setAccessibleName(tr("QR code"));
  qr_->setPlaceholderText(tr("The QR code's text (File: from the texts)"));
  font_ = AddStatic(kFontRect);
  font_->setObjectName(QString::number(kIdFont));
  font_->setAccessibleName(tr("Font"));
  radius_ = AddStatic(kRadiusRect);
  radius_->setObjectName(QString::number(kIdRadius));
  radius_->setAccessibleName(tr("Burning area"));
  time_ = AddStatic(kTimeRect);
  time_->setObjectName(QString::number(kIdTime));
  time_->setAccessibleName(tr("Required time"));
  config_ =
      MakeButton("IDB_BBTNCONFU", "IDB_BBTNCONFD", tr("&Config"), kConfigRect, kIdConfig, this);
  burn_ = MakeButton("IDB_BBTNOKU", "IDB_BBTNOKD", tr("&Burn"), kBurnRect, kIdBurn, this);
  exit_ = MakeButton("IDB_BBTNEXITU", "IDB_BBTNEXITD", tr("E&xit"), kExitRect, kIdExit, this);

  // The captions of the drive list and the edits, with their mnemonics.
  AddCaption(tr("D&rive"), kDriveCaption, drives_);
  AddCaption(tr("&Title"), kTitleCaption, title_);
  AddCaption(tr("&Date"), kDateCaption, date_);
  AddCaption(tr("&Note"), kNoteCaption, note_);
  AddCaption(tr("&QR code"), kQrCaption, qr_);

  connect(layouts_, &QComboBox::currentIndexChanged, this, &CELMainDlg::OnLayoutChosen);
  connect(drives_, &QComboBox::currentIndexChanged, this, &CELMainDlg::OnDriveChosen);
  connect(title_, &QLineEdit::textChanged, this, [this] { OnTextEdited(0); });
  connect(date_, &QLineEdit::textChanged, this, [this] { OnTextEdited(1); });
  connect(note_, &QPlainTextEdit::textChanged, this, [this] { OnTextEdited(2); });
  connect(qr_, &QLineEdit::textChanged, this, [this] { OnTextEdited(kQrField); });
  connect(scan_, &QAbstractButton::clicked, this, &CELMainDlg::OnScan);
  connect(config_, &QAbstractButton::clicked, this, &CELMainDlg::OnConfig);
  connect(burn_, &QAbstractButton::clicked, this, &CELMainDlg::OnBurn);
  connect(exit_, &QAbstractButton::clicked, this, &CELMainDlg::OnExit);
  // Help (F1) and About: the "?" button and the window's context menu;
  // Ctrl+Q in any of the program's windows.
  helpAction_ = new QAction(tr("&Help contents"), this);
  helpAction_->setShortcut(QKeySequence::HelpContents);
  helpAction_->setShortcutContext(Qt::WindowShortcut);
  connect(helpAction_, &QAction::triggered, this, &CELMainDlg::ShowHelp);
  aboutAction_ = new QAction(tr("&About %1").arg(QString::fromUtf8(kAppName)), this);
  connect(aboutAction_, &QAction::triggered, this, &CELMainDlg::ShowAbout);
  addAction(helpAction_);
  addAction(aboutAction_);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  helpButton_ = new SkinnedTextButton(QStringLiteral("?"), this);
  helpButton_->SetMinimumWidth(kHelpButtonRect.width());
  helpButton_->move(kHelpButtonRect.topLeft());
  helpButton_->setObjectName(QStringLiteral("help"));
  helpButton_->setAccessibleName(tr("Help"));
  helpButton_->setToolTip(tr("Help (F1) and About"));
  connect(helpButton_, &QAbstractButton::clicked, this, &CELMainDlg::ShowHelpMenu);
  quitKey_ = new QuitShortcut(this);
  connect(quitKey_, &QuitShortcut::Activated, this, &CELMainDlg::OnQuitKey);

  // Designs: the File button's menu, its shortcuts in the whole window, the
  // same actions first in the window's context menu; a design file dropped
  // anywhere on the window opens.
  auto fileAction = [this](const QString& text, const QKeySequence& keys, auto slot) {
    auto* action = new QAction(text, this);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  openAction_ = fileAction(tr("&Open Design\u2026"), QKeySequence::Open, &CELMainDlg::OpenDesign);
  saveAction_ = fileAction(tr("&Save Design"), QKeySequence::Save, &CELMainDlg::SaveDesign);
  saveAsAction_ =
      fileAction(tr("Save Design &As\u2026"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                 &CELMainDlg::SaveDesignAs);
  exportAction_ = fileAction(tr("&Export Label (PNG, PDF, SVG)\u2026"), QKeySequence(),
                             &CELMainDlg::ExportLabel);
  pictureAction_ = fileAction(tr("&Picture for This Label\u2026"), QKeySequence(),
                              &CELMainDlg::ChooseLabelPicture);
  // The label's own picture zoomed about the label's middle or put back;
  // the keys work in the whole window (the preview holds the actions, so
  // that they stay out of the window's context menu).
  zoomInAction_ = fileAction(tr("Zoom &In"), QKeySequence::ZoomIn, [this] {
    ZoomPicture(kPictureZoomStep, {0.5, 0.5});
  });
  zoomOutAction_ = fileAction(tr("Zoom &Out"), QKeySequence::ZoomOut, [this] {
    ZoomPicture(1.0 / kPictureZoomStep, {0.5, 0.5});
  });
  resetPlaceAction_ = fileAction(tr("&Reset Position"), QKeySequence(Qt::CTRL | Qt::Key_0),
                                 &CELMainDlg::ResetPicturePlace);
  newAction_ =
      fileAction(tr("&New Label from a Template\u2026"), QKeySequence::New, &CELMainDlg::NewLabel);
  // The label's own steps back and forth; in a text field the keys undo
  // its typing first, as everywhere.
  undoAction_ = fileAction(tr("&Undo"), QKeySequence::Undo, &CELMainDlg::UndoLabel);
  redoAction_ = fileAction(tr("&Redo"), QKeySequence::Redo, &CELMainDlg::RedoLabel);
  saveTemplateAction_ =
      fileAction(tr("Save as &Template\u2026"), QKeySequence(), &CELMainDlg::SaveAsTemplate);
  qrFromTextsAction_ = fileAction(tr("&QR Code from the Texts"), QKeySequence(), [this] {
    qr_->setText(QString::fromStdString(model_.QrFromTexts()));
  });
  qrFromDiscAction_ =
      fileAction(tr("QR Code from the &Disc"), QKeySequence(), &CELMainDlg::QrFromDisc);
  installedTemplates_ =
      InstalledTemplateFolders(QCoreApplication::applicationDirPath().toStdString());
  userTemplates_ = UserTemplateFolder();
  auto* separator = new QAction(this);
  separator->setSeparator(true);
  insertActions(helpAction_, {undoAction_, redoAction_, newAction_, openAction_, saveAction_,
                              saveAsAction_, saveTemplateAction_, pictureAction_,
                              qrFromTextsAction_, qrFromDiscAction_, exportAction_, separator});
  fileButton_ = new SkinnedTextButton(tr("&File"), this);
  fileButton_->setObjectName(QStringLiteral("file"));
  fileButton_->setAccessibleName(tr("File"));
  fileButton_->setToolTip(tr("Open, save and export label designs"));
  fileButton_->adjustSize();
  fileButton_->move(kExitRect.right() + kFileButtonGap,
                    kExitRect.top() + (kExitRect.height() - fileButton_->height()) / 2);
  connect(fileButton_, &QAbstractButton::clicked, this, &CELMainDlg::ShowFileMenu);
  setAcceptDrops(true);

  // The layout designer: Ctrl+E, the preview's context menu and a small
  // button at the end of the layout list's row. The edits leave Ctrl+E to
  // the window.
  auto* design = new QShortcut(kDesignerKeys, this);
  design->setContext(Qt::WindowShortcut);
  connect(design, &QShortcut::activated, this, &CELMainDlg::OpenDesigner);
  connect(preview_, &PreviewArea::DesignerRequested, this, &CELMainDlg::OpenDesigner);
  // The label's own picture moved by hand: each step redraws the design
  // preview only; the end of the drag settles the automatic area.
  preview_->addActions({zoomInAction_, zoomOutAction_, resetPlaceAction_});
  connect(preview_, &PreviewArea::PictureDragStarted, this,
          [this] { dragStart_ = model_.Picture(); });
  connect(preview_, &PreviewArea::PictureDragged, this, [this](QPointF delta, double shownSide) {
    model_.MovePicture(PanPictureBy(dragStart_, delta, shownSide));
  });
  connect(preview_, &PreviewArea::PictureDragEnded, this, [this] { model_.EndPictureMove(); });
  connect(preview_, &PreviewArea::PictureWheel, this, [this](int angleDelta, QPointF point) {
    model_.MovePicture(ZoomPictureAbout(model_.Picture(), WheelZoomFactor(angleDelta), point));
  });
  designButton_ = new QToolButton(this);
  designButton_->setObjectName(QStringLiteral("DesignButton"));
  designButton_->setIcon(PencilIcon());
  designButton_->setText(tr("Design"));
  designButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  designButton_->setToolTip(tr("Open the Layout Designer (Ctrl+E)"));
  designButton_->setAccessibleName(tr("Open the Layout Designer"));
  designButton_->setCursor(Qt::PointingHandCursor);
  designButton_->setStyleSheet(QStringLiteral(
      "QToolButton { color: white; background: rgba(30, 30, 40, 170); border: 1px solid "
      "rgba(255, 255, 255, 90); border-radius: 4px; padding: 2px 6px; }"
      "QToolButton:hover { background: rgba(74, 72, 168, 220); }"));
  designButton_->adjustSize();
  // At the row's end, the list giving it room; clear of the preview's well.
  designButton_->setGeometry(kLayoutRect.right() + 1 - designButton_->width(), kLayoutRect.top(),
                             designButton_->width(), kPreviewRect.top() - 1 - kLayoutRect.top());
  layouts_->setFixedWidth(kLayoutRect.width() - designButton_->width() - kDesignButtonGap);
  connect(designButton_, &QToolButton::clicked, this, &CELMainDlg::OpenDesigner);
  // "Design" / "As etched" in the bar under the disc; the etch is worked out
  // off this thread and shown when it is ready.
  etchedSwitch_ = new EtchedViewSwitch(preview_);
  etchedPreview_ = new EtchedPreviewModel(this);
  connect(etchedSwitch_, &EtchedViewSwitch::Changed, this, [this] {
    // A new quality comes back through the model's Changed (its required time).
    if (model_.SetQuality(DesignQualityFor(etchedSwitch_->Quality()))) return;
    ShowTitle();
    DrawPreview();
  });
  connect(etchedPreview_, &EtchedPreviewModel::Ready, this, [this] {
    if (etchedSwitch_->Etched() && !etchedPreview_->Picture().isNull())
      preview_->SetPreview(etchedPreview_->Picture());
  });
  // The label's warnings: a mark at the right of the bar, the list in its
  // tooltip and, on a click, at once.
  warningMark_ = new QToolButton(preview_);
  warningMark_->setObjectName(QStringLiteral("WarningMark"));
  warningMark_->setIcon(WarningIcon());
  warningMark_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  warningMark_->setCursor(Qt::PointingHandCursor);
  warningMark_->setStyleSheet(
      QStringLiteral("QToolButton { color: white; background: rgba(30, 30, 40, 190); border: "
                     "1px solid rgba(255, 196, 36, 200); border-radius: 4px; padding: 2px 6px; }"
                     "QToolButton:hover { background: rgba(74, 72, 168, 220); }"));
  warningMark_->hide();
  connect(warningMark_, &QToolButton::clicked, this, &CELMainDlg::ShowWarningList);
  status_ = new QLabel(preview_);
  status_->setObjectName(QStringLiteral("StatusLine"));
  status_->setAccessibleName(tr("Status"));
  status_->setWordWrap(true);
  status_->setStyleSheet(QStringLiteral("QLabel { %1 }").arg(kOverlayStyle));
  status_->hide();
  LayOutPreview();
  // The keyboard goes through the window as it reads: the layout row, the
  // preview's bar, Exit and File down the left; the drive, the texts, Config,
  // help and Burn down the right.
  const std::initializer_list<QWidget*> tabs = {layouts_,
                                                designButton_,
                                                etchedSwitch_->DesignButton(),
                                                etchedSwitch_->EtchedButton(),
                                                etchedSwitch_->QualityList(),
                                                warningMark_,
                                                exit_,
                                                fileButton_,
                                                drives_,
                                                scan_,
                                                title_,
                                                date_,
                                                note_,
                                                qr_,
                                                config_,
                                                helpButton_,
                                                burn_};
  for (auto it = tabs.begin(); std::next(it) != tabs.end(); ++it) setTabOrder(*it, *std::next(it));
  // The note takes its drops in its viewport.
  for (QWidget* edit : std::initializer_list<QWidget*>{title_, date_, note_, note_->viewport()})
    edit->installEventFilter(this);

  timer_.setInterval(MainWindowModel::kTickMs);
  connect(&timer_, &QTimer::timeout, this, &CELMainDlg::OnTimer);
  etchAfterTyping_.setSingleShot(true);
  etchAfterTyping_.setInterval(kEtchAfterTypingMs);
  connect(&etchAfterTyping_, &QTimer::timeout, this, &CELMainDlg::DrawPreview);
  rememberLabel_.setSingleShot(true);
  rememberLabel_.setInterval(kRememberLabelMs);
  connect(&rememberLabel_, &QTimer::timeout, this, [this] { model_.RememberLabel(); });
  model_.SetDriveRunner([](const std::function<void()>& work) { DriveTask::Run(work); });
  // The opening's drive discovery runs while the window takes input.
  model_.SetDriveStarter([this](std::function<void()> work, std::function<void()> done) {
    DriveTask::Start(std::move(work), std::move(done), this);
  });
  connect(&model_, &MainWindowModel::Changed, this, &CELMainDlg::ShowModel);

  // Nothing can be done before the opening has found layouts and drives.
  for (QWidget* w :
       std::initializer_list<QWidget*>{layouts_, drives_, scan_, title_, date_, note_, qr_, config_,
                                       burn_, designButton_, etchedSwitch_, fileButton_})
    w->setEnabled(false);
}

CELMainDlg::~CELMainDlg() {
  timer_.stop();
  // A discovery still asking a slow drive ends after its command in progress;
  // nothing it found is shown any more.
  model_.CancelDiscovery();
  DriveTask::Join();
  delete help_;  // help windows close with the program
}

void CELMainDlg::showEvent(QShowEvent* event) {
  SkinnedDialog::showEvent(event);
  if (!openingPosted_) {
    openingPosted_ = true;
    QMetaObject::invokeMethod(this, &CELMainDlg::Opening, Qt::QueuedConnection);
  }
}

bool CELMainDlg::ClosedWhileOpening(OpeningResult result) {
  if (quitRequested_) {
    done(kClosed);
    return true;
  }
  if (result != OpeningResult::Ready) {
    done(kOpeningFailed);
    return true;
  }
  return false;
}

void CELMainDlg::Opening() {
  // What the settings file gives comes at once: the layouts and the preview.
  const OpeningResult result = model_.OpenLayouts();
  if (ClosedWhileOpening(result)) return;
  FillLayoutList();
  exchanging_ = true;
  drives_->addItem(tr("Looking for drives\u2026"));
  exchanging_ = false;
  // Scan, Config and Burn stay clickable: until the drives are there they
  // say why they wait (the status line).
  for (QWidget* w :
       std::initializer_list<QWidget*>{layouts_, scan_, title_, date_, note_, qr_, config_, burn_,
                                       designButton_, etchedSwitch_, fileButton_})
    w->setEnabled(true);
  title_->setFocus(Qt::OtherFocusReason);  // typing starts with the title
  layoutsShown_ = true;
  timer_.start();
  ShowModel();
  update();
  // The drives, on the drive worker: a slow drive leaves the window working.
  model_.StartDriveDiscovery([this](OpeningResult found) { DrivesFound(found); });
  // The command line's design, over the empty window; refused, it stays empty.
  if (!designAtStart_.isEmpty())
    OpenDesignFile(std::exchange(designAtStart_, QString()));
  else if (startChoice_)
    StartChoice();
}

void CELMainDlg::DrivesFound(OpeningResult result) {
  if (ClosedWhileOpening(result)) return;
  ShowDriveList();
  drives_->setEnabled(true);
  ShowModel();
  opened_ = true;
  if (onOpened_) QMetaObject::invokeMethod(this, onOpened_, Qt::QueuedConnection);
}

void CELMainDlg::ReadControls() {
  model_.ReadControls(title_->text().toStdString(), date_->text().toStdString(),
                      NoteFromEdit(note_->toPlainText()));
}

void CELMainDlg::ShowMemberTexts() {
  exchanging_ = true;
  const QString title = QString::fromStdString(model_.Title());
  if (title_->text() != title) title_->setText(title);
  const QString date = QString::fromStdString(model_.Date());
  if (date_->text() != date) date_->setText(date);
  const QString note = NoteForEdit(model_.Note());
  if (note_->toPlainText() != note) {
    // The caret and the selection stay where they were.
    QTextCursor cursor = note_->textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    note_->setPlainText(note);
    const int end = static_cast<int>(note.size());
    cursor = note_->textCursor();
    cursor.setPosition(std::min(anchor, end));
    cursor.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
    note_->setTextCursor(cursor);
    note_->ensureCursorVisible();
  }
  const QString qr = QString::fromStdString(model_.QrText());
  if (qr_->text() != qr) qr_->setText(qr);
  // A layout without a code box draws no code: the field says so.
  qr_->setToolTip(model_.LayoutHasQrBox()
                      ? QString()
                      : tr("This layout has no QR code box; the layout designer gives it one "
                           "(QR code size on its Layout page)."));
  font_->setText(QString::fromStdString(model_.FontText()));
  radius_->setText(QString::fromStdString(model_.RadiusText()));
  time_->setText(QString::fromStdString(model_.TimeText()));
  const int shownLayout = model_.Layout() == kGivenLayout ? layouts_->count() - 1 : model_.Layout();
  if (layouts_->currentIndex() != shownLayout) layouts_->setCurrentIndex(shownLayout);
  const int quality = QualityIndex(model_.Quality());
  if (etchedSwitch_->QualityList()->currentIndex() != quality)
    etchedSwitch_->QualityList()->setCurrentIndex(quality);
  exchanging_ = false;
  ShowTitle();
}

void CELMainDlg::ShowModel() {
  DrawPreview();
  ShowMemberTexts();
  // The label is kept for Undo once the changes settle.
  rememberLabel_.start();
}

void CELMainDlg::UndoLabel() {
  if (!model_.Undo()) return;
  FillLayoutList();
  ShowModel();
}

void CELMainDlg::RedoLabel() {
  if (!model_.Redo()) return;
  FillLayoutList();
  ShowModel();
}

void CELMainDlg::DrawPreview() {
  ShowMovablePicture();
  if (!etchedSwitch_->Etched()) {
    preview_->SetPreview(model_.PreviewWithBand());
    ShowNotices();
    return;
  }
  if (typing_) {
    // The etch waits until typing pauses; the last one stays shown.
    etchAfterTyping_.start();
    ShowNotices();
    return;
  }
  etchAfterTyping_.stop();
  // The last etch stays shown until the new one is ready.
  if (etchedPreview_->Finished() == 0) preview_->SetPreview(model_.PreviewWithBand());
  etchedPreview_->Request(model_.EtchRequestAt(etchedSwitch_->Quality()));
  ShowNotices();
}

void CELMainDlg::ShowNotices() {
  const std::vector<LabelWarning> warnings = model_.Warnings();
  if (warnings.empty()) {
    warningMark_->hide();
  } else {
    const QString list = WarningList(warnings);
    warningMark_->setText(QString::number(warnings.size()));
    warningMark_->setToolTip(list);
    warningMark_->setAccessibleName(
        tr("Label warnings: %n", nullptr, static_cast<int>(warnings.size())));
    warningMark_->setAccessibleDescription(list);
    warningMark_->show();
  }
  const QString status = QString::fromStdString(model_.StatusText());
  status_->setText(status);
  status_->setVisible(!status.isEmpty());
  LayOutPreview();
}

void CELMainDlg::LayOutPreview() {
  const int barHeight =
      std::max(etchedSwitch_->sizeHint().height(), warningMark_->sizeHint().height());
  const int barTop = preview_->height() - kBarMargin - barHeight;
  etchedSwitch_->adjustSize();
  etchedSwitch_->move(kBarMargin, barTop + (barHeight - etchedSwitch_->height()) / 2);
  warningMark_->adjustSize();
  warningMark_->move(preview_->width() - kBarMargin - warningMark_->width(),
                     barTop + (barHeight - warningMark_->height()) / 2);
  int footer = preview_->height() - barTop + kBarMargin;
  if (!status_->isHidden()) {
    // Over the bar, the width of the well: the disc gives it room.
    status_->setFixedWidth(preview_->width() - 2 * kBarMargin);
    status_->adjustSize();
    status_->move(kBarMargin, barTop - kBarMargin - status_->height());
    footer += status_->height() + kBarMargin;
  }
  preview_->SetFooter(footer);
}

void CELMainDlg::ShowWarningList() {
  if (warningMark_->toolTip().isEmpty()) return;
  QToolTip::showText(warningMark_->mapToGlobal(QPoint(0, warningMark_->height())),
                     warningMark_->toolTip(), warningMark_);
}

bool CELMainDlg::GoOnDespiteWarnings() {
  const std::vector<LabelWarning> warnings = model_.WarningsBeforeBurn();
  if (warnings.empty() || quitRequested_) return true;
  return messages_.Ask(tr("Not all of the label will be burned as shown:").toStdString(),
                       WarningList(warnings).toStdString(), MessageIcon::Warning,
                       tr("&Go on").toStdString(), tr("&Cancel").toStdString());
}

void CELMainDlg::OnTextEdited(int kind) {
  if (exchanging_ || !layoutsShown_) return;
  if (kind == kQrField) {
    model_.QrTyped(qr_->text().toStdString());
  } else {
    ReadControls();
    model_.TextChanged(static_cast<TextKind>(kind));
  }
  rememberLabel_.start();
  ShowTitle();
  if (!status_->isHidden() && model_.StatusText().empty()) {
    status_->hide();
    LayOutPreview();
  }
  // Keystrokes that come together are drawn once, before the next frame.
  if (!redrawPosted_) {
    redrawPosted_ = true;
    QMetaObject::invokeMethod(this, &CELMainDlg::RedrawTyped, Qt::QueuedConnection);
  }
}

void CELMainDlg::RedrawTyped() {
  redrawPosted_ = false;
  // Comes back through the model's Changed, with the etch put off.
  typing_ = true;
  model_.RedrawTypedTexts();
  typing_ = false;
}

void CELMainDlg::OnTimer() {
  // A tick that comes while the drive is busy (a slow scan) waits for the
  // next; the opening's discovery leaves the ticks their redraws (the model
  // does no drive work then).
  if (DriveTask::Busy() && !model_.Discovering()) return;
  // The model's Changed redraws the preview and the texts.
  if (model_.TimerTick().drivesChanged) ShowDriveList();
}

void CELMainDlg::ShowDriveList() {
  // Drives came or went: the model's list, its choice kept where it could be.
  exchanging_ = true;
  drives_->clear();
  for (const std::string& item : model_.DriveItems())
    drives_->addItem(QString::fromStdString(item));
  drives_->setCurrentIndex(model_.DriveSelection());
  exchanging_ = false;
}

void CELMainDlg::OnLayoutChosen(int index) {
  if (exchanging_ || !layoutsShown_ || index < 0) return;
  ReadControls();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The entry after the settings file's layouts is the design's own.
  model_.ApplyLayoutChoice(index < static_cast<int>(model_.LayoutNames().size()) ? index
                                                                                 : kGivenLayout);
  QApplication::restoreOverrideCursor();
}

void CELMainDlg::OnDriveChosen(int index) {
  if (exchanging_ || !opened_ || index < 0) return;
  model_.DriveChoiceChanged(index);
}

void CELMainDlg::OnScan() {
  if (model_.RefusedWhileDiscovering() || DriveTask::Busy()) return;
  ReadControls();
  model_.SetDriveSelection(drives_->currentIndex());
  if (model_.ScanDisc() && model_.ListingNeedsMount())
    messages_.Show(
        tr("The disc holds only UDF, without ISO 9660: its folders and files can be listed once "
           "it is mounted. Open it in your file manager, then press Scan again.")
            .toStdString(),
        MessageIcon::Information);
}

void CELMainDlg::QrFromDisc() {
  if (model_.RefusedWhileDiscovering() || DriveTask::Busy()) return;
  ReadControls();
  const int selection = drives_->currentIndex();
  const std::vector<std::string>& items = model_.DriveItems();
  if (selection < 0 || selection >= static_cast<int>(items.size())) return;
  model_.SetDriveSelection(selection);
  model_.ApplyDriveChoice();
  const char letter = ScanLetter(items[static_cast<std::size_t>(selection)]);
  DiscQrScan scan;
  DriveTask::Run([&] { scan = ScanDiscForQr(device_, letter); });
  if (scan.text.empty()) {
    messages_.Show(tr("No disc could be read in the drive for the QR code. Put a disc with files "
                      "in the drive, then choose QR Code from the Disc again.")
                       .toStdString(),
                   MessageIcon::Information);
    return;
  }
  qr_->setText(QString::fromStdString(scan.text));
  if (scan.count.skipped > 0)
    messages_.Show(tr("Some folders on the disc could not be read; the QR code counts the files "
                      "that could.")
                       .toStdString(),
                   MessageIcon::Information);
}

void CELMainDlg::OnConfig() {
  if (model_.RefusedWhileDiscovering() || DriveTask::Busy()) return;
  CELTitleConfig dialog(configModel_, model_.ConfigValues(), device_, messages_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  model_.ConfigAccepted(configModel_.Confirmed());
}

void CELMainDlg::OnBurn() {
  if (model_.RefusedWhileDiscovering() || DriveTask::Busy()) return;
  ReadControls();
  model_.SetDriveSelection(drives_->currentIndex());
  if (!GoOnDespiteWarnings()) return;
  timer_.stop();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool ready = model_.PrepareBurn();
  QApplication::restoreOverrideCursor();
  if (ready && !quitRequested_) {
    CELDraw dialog(burnSession_, this);
    dialog.exec();
    model_.AfterBurn();
  }
  ReturnFromBurnDialog();
}

void CELMainDlg::OnCalibrate() {
  if (model_.RefusedWhileDiscovering() || DriveTask::Busy()) return;
  model_.SetDriveSelection(drives_->currentIndex());
  timer_.stop();
  if (model_.PrepareCalibration() && !quitRequested_) {
    CELDraw dialog(burnSession_, this);
    dialog.CalibrateAtOpening();
    dialog.exec();
    model_.AfterCalibration();
  }
  ReturnFromBurnDialog();
}

void CELMainDlg::ReturnFromBurnDialog() {
  if (quitRequested_ || quitAfterBurn_) {
    done(kClosed);
    return;
  }
  timer_.start();
  update();
}

void CELMainDlg::RequestQuit() {
  quitRequested_ = true;
  timer_.stop();
  // Questions and notices still to come are answered at once.
  messages_.Shutdown();
  const bool burning = burnSession_.CurrentState() == BurnSession::State::Burning;
  if (burning) burnSession_.Exit();  // the burn stops after the write in progress
  // Close what is open above this window, but a burn dialog whose burn is
  // still ending closes itself after the burn's closing steps.
  while (QWidget* modal = QApplication::activeModalWidget()) {
    if (modal == this || (burning && qobject_cast<CELDraw*>(modal))) break;
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (!dialog) break;
    dialog->done(QDialog::Rejected);
    if (QApplication::activeModalWidget() == modal) break;
  }
  if (burning) return;  // OnBurn ends the window once the burn dialog has closed
  // The opening's discovery is not waited for: it is told to stop, and the
  // window's end waits only for its command in progress.
  model_.CancelDiscovery();
  if (DriveTask::Busy() && !model_.Discovering()) {
    QTimer::singleShot(kQuitRetryMs, this, &CELMainDlg::RequestQuit);
    return;
  }
  done(kClosed);
}

void CELMainDlg::OnExit() {
  if (!CloseDesigner() || !MayLeaveDocument()) return;
  timer_.stop();
  done(kClosed);
}

void CELMainDlg::reject() {
  // Escape does nothing; only Exit and the close box end the program.
}

void CELMainDlg::closeEvent(QCloseEvent* event) {
  if ((DriveTask::Busy() && !model_.Discovering()) || !CloseDesigner() || !MayLeaveDocument()) {
    event->ignore();
    return;
  }
  timer_.stop();
  done(kClosed);
  event->accept();
}

void CELMainDlg::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();  // no default action in this window
      return;
    default:
      SkinnedDialog::keyPressEvent(event);
  }
}

// ---- The layout designer ---------------------------------------------------------

bool CELMainDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) LogPreviewEvent("key");
  // The edits would take Ctrl+E (to the end of the line): it opens the
  // designer instead.
  if (event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->keyCombination() == kDesignerKeys[0]) {
    event->ignore();
    return true;
  }
  // A design file dropped on an edit opens instead of being typed in; a
  // picture becomes the label's own.
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
    auto* drag = static_cast<QDragMoveEvent*>(event);
    if (!DesignDropped(drag->mimeData()).isEmpty() || !PictureDropped(drag->mimeData()).isEmpty()) {
      drag->acceptProposedAction();
      return true;
    }
  } else if (event->type() == QEvent::Drop) {
    auto* drop = static_cast<QDropEvent*>(event);
    if (TakeDrop(drop->mimeData())) {
      drop->acceptProposedAction();
      return true;
    }
  }
  return SkinnedDialog::eventFilter(watched, event);
}

void CELMainDlg::OpenDesigner() {
  if (!layoutsShown_) return;
  if (!designer_) {
    designer_ = new LayoutDesigner(this);
    connect(designer_, &LayoutDesigner::LayoutsSaved, this, &CELMainDlg::OnLayoutsSaved);
  }
  if (!designer_->isVisible()) {
    // The texts typed here are the designer's sample texts.
    ReadControls();
    model_.TextChanged(TextKind::Note);
    // Its burning area is worked out at the quality the preview shows.
    designer_->Model().SetQuality(model_.QualityOfBurn());
    // The design's own layout is not in the settings file: the first is edited.
    if (!designer_->OpenSettings(model_.SettingsPath(), std::max(0, model_.Layout()),
                                 model_.Title(), model_.Date(), model_.NoteLines(),
                                 model_.FontText()))
      return;
  }
  designer_->show();
  designer_->raise();
  designer_->activateWindow();
}

void CELMainDlg::OnLayoutsSaved(const QString& path, int current) {
  if (path.toStdString() != model_.SettingsPath() || !model_.LayoutsSaved(current)) return;
  FillLayoutList();
  DrawPreview();
  ShowMemberTexts();
}

bool CELMainDlg::CloseDesigner() {
  return designer_ == nullptr || !designer_->isVisible() || designer_->close();
}

void CELMainDlg::ShowHelp() {
  if (!help_) help_ = new HelpWindow(this);
  help_->ShowContents();
}

// ---- Help, About and Ctrl+Q ---------------------------------------------------

void CELMainDlg::ShowAbout() {
  AboutBox about([this] { ShowHelp(); }, this);
  about.exec();
}

void CELMainDlg::ShowHelpMenu() {
  QMenu menu(this);
  menu.addAction(helpAction_);
  menu.addAction(aboutAction_);
  menu.exec(helpButton_->mapToGlobal(QPoint(0, helpButton_->height())));
}

void CELMainDlg::OnQuitKey() {
  const bool burnShown = qobject_cast<CELDraw*>(QApplication::activeModalWidget()) != nullptr;
  if (auto* draw = qobject_cast<CELDraw*>(QApplication::activeModalWidget())) {
    // The burn dialog's Exit: during a burn it asks first, and on Yes the
    // window ends once the burn's closing steps have closed the dialog.
    const bool burning = burnSession_.CurrentState() == BurnSession::State::Burning;
    draw->reject();
    quitAfterBurn_ = (burning && burnSession_.StopRequested()) || !draw->isVisible();
    return;
  }
  if (!burnShown && !MayLeaveDocument()) return;
  RequestQuit();
}

// ---- Designs -------------------------------------------------------------------

void CELMainDlg::FillLayoutList() {
  exchanging_ = true;
  layouts_->clear();
  for (const std::string& name : model_.LayoutNames())
    layouts_->addItem(QString::fromStdString(name));
  if (!model_.GivenLayoutName().empty())
    layouts_->addItem(
        tr("%1 (the design's own layout)").arg(QString::fromStdString(model_.GivenLayoutName())));
  layouts_->setCurrentIndex(model_.Layout() == kGivenLayout ? layouts_->count() - 1
                                                            : model_.Layout());
  exchanging_ = false;
}

void CELMainDlg::ShowTitle() {
  const QString base = QString::fromStdString(MainWindowTitle());
  const std::string& path = model_.DesignPath();
  if (path.empty()) {
    // A label not saved yet: the program's own title, as always.
    if (windowTitle() != base) setWindowTitle(base);
    return;
  }
  const QString name = QFileInfo(QString::fromStdString(path)).fileName();
  const QString title = tr("%1[*] \u2014 %2").arg(name, base);
  if (windowTitle() != title) setWindowTitle(title);
  setWindowModified(model_.Modified());
}

bool CELMainDlg::MayLeaveDocument() {
  if (quitRequested_ || !model_.Modified()) return true;
  const std::string& path = model_.DesignPath();
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppName),
                  path.empty() ? tr("The label has changes that are not saved in a design.")
                               : tr("The design %1 has changes that are not saved.")
                                     .arg(QFileInfo(QString::fromStdString(path)).fileName()),
                  QMessageBox::NoButton, this);
  box.setInformativeText(tr("Save them first, or discard them?"));
  QPushButton* save = box.addButton(tr("&Save"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == discard) return true;
  if (box.clickedButton() == save) return SaveDesign();
  return false;  // Cancel keeps everything
}

bool CELMainDlg::OpenDesignFile(const QString& path) {
  return LoadIntoWindow([&] { return model_.OpenDesign(path.toStdString()); });
}

bool CELMainDlg::LoadIntoWindow(const std::function<bool()>& load) {
  if (!layoutsShown_ || (DriveTask::Busy() && !model_.Discovering()) || !MayLeaveDocument())
    return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool loaded = load();
  QApplication::restoreOverrideCursor();
  if (!loaded) return false;
  FillLayoutList();
  ShowModel();
  return true;
}

void CELMainDlg::OpenDesign() {
  if (!layoutsShown_) return;
  const QString start = model_.DesignPath().empty()
                            ? QString()
                            : QFileInfo(QString::fromStdString(model_.DesignPath())).path();
  const QString path =
      QFileDialog::getOpenFileName(this, tr("Open a label design"), start,
                                   tr("Label designs (*%1)").arg(QLatin1String(kDesignExtension)));
  if (!path.isEmpty()) OpenDesignFile(path);
}

bool CELMainDlg::SaveDesign() {
  if (model_.DesignPath().empty()) return SaveDesignAs();
  ReadControls();
  return model_.SaveDesign(model_.DesignPath());
}

bool CELMainDlg::SaveDesignAs() {
  if (!layoutsShown_) return false;
  ReadControls();
  QFileDialog dialog(this, tr("Save the label design"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(tr("Label designs (*%1)").arg(QLatin1String(kDesignExtension)));
  dialog.setDefaultSuffix(QString::fromLatin1(kDesignExtension + 1));
  if (!model_.DesignPath().empty()) dialog.selectFile(QString::fromStdString(model_.DesignPath()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return model_.SaveDesign(dialog.selectedFiles().first().toStdString());
}

void CELMainDlg::ExportLabel() {
  if (!layoutsShown_) return;
  ReadControls();
  QFileDialog dialog(this, tr("Export the label"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  const QStringList filters = {tr("PNG picture (*.png)"), tr("PDF page, 116 mm across (*.pdf)"),
                               tr("SVG drawing, 116 mm across (*.svg)")};
  const QStringList suffixes = {QStringLiteral("png"), QStringLiteral("pdf"),
                                QStringLiteral("svg")};
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(suffixes.first());
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    dialog.setDefaultSuffix(
        suffixes.value(static_cast<int>(filters.indexOf(filter)), suffixes.first()));
  });
  if (!model_.DesignPath().empty())
    dialog.selectFile(QFileInfo(QString::fromStdString(model_.DesignPath())).completeBaseName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  model_.ExportLabel(dialog.selectedFiles().first().toStdString());
  QApplication::restoreOverrideCursor();
}

void CELMainDlg::ShowFileMenu() {
  QMenu menu(this);
  model_.RememberLabel();
  undoAction_->setEnabled(model_.CanUndo());
  redoAction_->setEnabled(model_.CanRedo());
  menu.addAction(undoAction_);
  menu.addAction(redoAction_);
  menu.addSeparator();
  menu.addAction(newAction_);
  menu.addAction(openAction_);
  QMenu* recent = menu.addMenu(tr("Open &Recent"));
  // Read when asked: files that have gone are dropped with a message.
  const std::vector<std::string> paths = model_.RecentDesigns();
  for (const std::string& path : paths) {
    const QString file = QString::fromStdString(path);
    QAction* entry = recent->addAction(QFileInfo(file).fileName());
    entry->setToolTip(file);
    entry->setStatusTip(file);
    connect(entry, &QAction::triggered, this, [this, file] { OpenDesignFile(file); });
  }
  recent->setToolTipsVisible(true);
  recent->setEnabled(!paths.empty());
  menu.addSeparator();
  menu.addAction(saveAction_);
  menu.addAction(saveAsAction_);
  menu.addAction(saveTemplateAction_);
  menu.addSeparator();
  menu.addAction(pictureAction_);
  AddPictureMenu(menu);
  menu.addAction(qrFromTextsAction_);
  menu.addAction(qrFromDiscAction_);
  menu.addAction(exportAction_);
  menu.addSeparator();
  menu.addAction(tr("&Calibrate..."), this, &CELMainDlg::OnCalibrate);
  menu.exec(fileButton_->mapToGlobal(QPoint(0, fileButton_->height())));
}

void CELMainDlg::AddPictureMenu(QMenu& menu) {
  // How the label's own picture lies and its tone for the etch; the
  // preview shows each choice at once.
  QMenu* picture = menu.addMenu(tr("Picture &Placement and Tone"));
  const bool own = model_.HasOwnPicture();
  const PictureSettings now = model_.Picture();
  auto change = [this](auto edit) {
    return [this, edit] {
      PictureSettings settings = model_.Picture();
      edit(settings);
      model_.SetPictureSettings(settings);
    };
  };
  auto* fits = new QActionGroup(picture);
  const std::pair<QString, PictureFit> places[] = {
      {tr("&Fill the Label (Crop)"), PictureFit::Fill},
      {tr("Fit the &Whole Picture"), PictureFit::Fit},
      {tr("&Stretch over the Label"), PictureFit::Stretch}};
  for (const auto& [text, fit] : places) {
    QAction* action = picture->addAction(text);
    action->setEnabled(own);
    action->setCheckable(true);
    action->setChecked(now.fit == fit);
    fits->addAction(action);
    connect(action, &QAction::triggered, this,
            change([fit = fit](PictureSettings& s) { s.fit = fit; }));
  }
  picture->addSeparator();
  QAction* turn = picture->addAction(tr("&Turn by 90\u00b0"));
  turn->setEnabled(own);
  connect(turn, &QAction::triggered, this,
          change([](PictureSettings& s) { s.quarterTurns = (s.quarterTurns + 1) % 4; }));
  // Dragging the picture on the preview moves it, the wheel zooms it about
  // the pointer; these zoom about the label's middle.
  picture->addAction(zoomInAction_);
  picture->addAction(zoomOutAction_);
  picture->addAction(resetPlaceAction_);
  QAction* tone = picture->addAction(tr("Fit the Tone to the &Etch"));
  tone->setEnabled(own);
  tone->setCheckable(true);
  tone->setChecked(now.tone == PictureTone::Auto);
  tone->setToolTip(tr("Spreads the picture's greys over those the chosen quality can etch apart"));
  connect(tone, &QAction::toggled, this, [this](bool on) {
    PictureSettings settings = model_.Picture();
    settings.tone = on ? PictureTone::Auto : PictureTone::None;
    model_.SetPictureSettings(settings);
  });
  // Legible texts over any picture, the layout's or the label's own.
  picture->addSeparator();
  const TextLegibility legible = model_.Legibility();
  const bool seeThrough = legible.SeeThrough(TextBox::Title);
  const bool halo = legible.Halo(TextBox::Title);
  QAction* through = picture->addAction(tr("&See-through Text Boxes"));
  through->setCheckable(true);
  through->setChecked(seeThrough);
  through->setToolTip(
      tr("The title, date and note boxes keep no fill: the picture shows under "
         "their text"));
  connect(through, &QAction::toggled, this,
          [this, halo](bool on) { model_.SetLegibility(TextLegibility::All(on, halo)); });
  QAction* halos = picture->addAction(tr("&Halo around the Texts"));
  halos->setCheckable(true);
  halos->setChecked(halo);
  halos->setToolTip(tr("Rings the boxes' texts and the ring text in the opposite grey"));
  connect(halos, &QAction::toggled, this, [this, seeThrough](bool on) {
    model_.SetLegibility(TextLegibility::All(seeThrough, on));
  });
  picture->setToolTipsVisible(true);
}

void CELMainDlg::ShowMovablePicture() {
  const bool movable = model_.HasOwnPicture() && !etchedSwitch_->Etched();
  preview_->SetMovablePicture(
      movable ? PlacedPictureRect(model_.Picture(), QSizeF(model_.OwnPictureSize())) : QRectF());
  // Offered while they would change something.
  const bool own = model_.HasOwnPicture();
  const PictureSettings& now = model_.Picture();
  zoomInAction_->setEnabled(own && now.zoom < kMaxPictureZoom);
  zoomOutAction_->setEnabled(own && now.zoom > 1.0);
  resetPlaceAction_->setEnabled(own && (now.panX != 0.0 || now.panY != 0.0 || now.zoom != 1.0));
}

void CELMainDlg::ZoomPicture(double factor, QPointF point) {
  if (!model_.HasOwnPicture()) return;
  model_.SetPictureSettings(ZoomPictureAbout(model_.Picture(), factor, point));
}

void CELMainDlg::ResetPicturePlace() {
  if (!model_.HasOwnPicture()) return;
  PictureSettings settings = model_.Picture();
  settings.panX = settings.panY = 0.0;
  settings.zoom = 1.0;
  model_.SetPictureSettings(settings);
}

// ---- Templates -------------------------------------------------------------------

void CELMainDlg::SetTemplateFolders(std::vector<std::string> installed, std::string user) {
  installedTemplates_ = std::move(installed);
  userTemplates_ = std::move(user);
}

TemplateGallery* CELMainDlg::Gallery() const {
  return qobject_cast<TemplateGallery*>(gallery_);
}

void CELMainDlg::StartChoice() {
  // A later start goes on with the last design; the first offers the templates.
  const std::vector<std::string> recent = model_.RecentDesigns();
  if (!recent.empty()) {
    OpenDesignFile(QString::fromStdString(recent.front()));
    return;
  }
  const std::string& settings = model_.SettingsPath();
  if (TemplatesOffered(settings)) return;
  MarkTemplatesOffered(settings);
  NewLabel();
}

void CELMainDlg::NewLabel() {
  if (!layoutsShown_) return;
  if (gallery_) {
    gallery_->raise();
    gallery_->activateWindow();
    return;
  }
  auto* gallery = new TemplateGallery(ListTemplates(installedTemplates_, userTemplates_), this);
  gallery_ = gallery;
  gallery->setAttribute(Qt::WA_DeleteOnClose);
  connect(gallery, &QDialog::accepted, this, [this, gallery] {
    const QString path = gallery->ChosenPath();
    // After the gallery has gone: the question about unsaved changes may come.
    if (!path.isEmpty())
      QMetaObject::invokeMethod(
          this, [this, path] { NewFromTemplateFile(path); }, Qt::QueuedConnection);
  });
  gallery->open();
}

bool CELMainDlg::NewFromTemplateFile(const QString& path) {
  if (!LoadIntoWindow([&] { return model_.NewFromTemplate(path.toStdString()); })) return false;
  title_->setFocus(Qt::OtherFocusReason);
  title_->selectAll();  // typing replaces the template's title
  return true;
}

bool CELMainDlg::SaveAsTemplate() {
  if (!layoutsShown_) return false;
  ReadControls();
  const QString suggested =
      model_.DesignPath().empty()
          ? QString::fromStdString(model_.Title())
          : QFileInfo(QString::fromStdString(model_.DesignPath())).completeBaseName();
  bool ok = false;
  const QString name = QInputDialog::getText(this, tr("Save as Template"),
                                             tr("The template's name (it is saved in %1):")
                                                 .arg(QString::fromStdString(userTemplates_)),
                                             QLineEdit::Normal, suggested, &ok)
                           .trimmed();
  if (!ok) return false;
  std::string path;
  std::string problem;
  if (!TemplateFileFor(userTemplates_, name.toStdString(), path, problem)) {
    messages_.Show(problem, MessageIcon::Warning);
    return false;
  }
  if (QFileInfo::exists(QString::fromStdString(path)) &&
      !messages_.AskYesNo(
          tr("There is a template named %1 already. Replace it?").arg(name).toStdString(),
          MessageIcon::Warning))
    return false;
  return model_.SaveAsTemplate(path);
}

QString CELMainDlg::DesignDropped(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(QLatin1String(kDesignExtension), Qt::CaseInsensitive) ? path : QString();
}

QString CELMainDlg::PictureDropped(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().first();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
  return QImageReader::supportedImageFormats().contains(suffix) ? path : QString();
}

bool CELMainDlg::TakeDrop(const QMimeData* data) {
  if (const QString design = DesignDropped(data); !design.isEmpty()) {
    QMetaObject::invokeMethod(
        this, [this, design] { OpenDesignFile(design); }, Qt::QueuedConnection);
    return true;
  }
  if (const QString picture = PictureDropped(data); !picture.isEmpty()) {
    QMetaObject::invokeMethod(
        this, [this, picture] { UseLabelPicture(picture); }, Qt::QueuedConnection);
    return true;
  }
  return false;
}

void CELMainDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (!DesignDropped(event->mimeData()).isEmpty() || !PictureDropped(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void CELMainDlg::dropEvent(QDropEvent* event) {
  if (TakeDrop(event->mimeData())) event->acceptProposedAction();
}

bool CELMainDlg::UseLabelPicture(const QString& path) {
  if (!layoutsShown_ || (DriveTask::Busy() && !model_.Discovering())) return false;
  ReadControls();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool used = model_.UseLabelPicture(path.toStdString());
  QApplication::restoreOverrideCursor();
  if (!used) return false;
  FillLayoutList();
  ShowModel();
  return true;
}

void CELMainDlg::ChooseLabelPicture() {
  if (!layoutsShown_) return;
  const QString path = QFileDialog::getOpenFileName(
      this, tr("Choose a picture for this label"), QString(),
      tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;All files (*)"));
  if (!path.isEmpty()) UseLabelPicture(path);
}

}  // namespace twr::ui
