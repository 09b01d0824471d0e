// The layout designer's window.
#include "ui/LayoutDesigner.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "common/Strings.h"
#include "ui/DesignerCanvas.h"
#include "ui/DesignerProperties.h"

namespace twr::ui {

namespace {

constexpr int kStartWidth = 1120;
constexpr int kStartHeight = 760;
constexpr int kPropertiesWidth = 390;
constexpr int kListWidth = 230;
// Room left on the screen for the frame a window manager adds (not known
// before the window is mapped): its sides and its title bar.
constexpr int kFrameAcross = 16;
constexpr int kFrameDown = 48;

}  // namespace

LayoutDesigner::LayoutDesigner(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("LayoutDesigner"));
  setWindowFlag(Qt::Window, true);
  setWindowTitle(tr("Layout Designer") + QStringLiteral("[*]"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(kStartWidth, kStartHeight);
  setMinimumSize(760, 520);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  // The layouts of the file, with their buttons.
  auto* left = new QWidget(splitter);
  auto* leftColumn = new QVBoxLayout(left);
  leftColumn->addWidget(new QLabel(tr("Layouts"), left));
  list_ = new QListWidget(left);
  list_->setAccessibleName(tr("Layouts"));
  list_->setTextElideMode(Qt::ElideRight);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  leftColumn->addWidget(list_, 1);
  auto* row1 = new QHBoxLayout();
  auto* row2 = new QHBoxLayout();
  auto* add = new QPushButton(tr("New"), left);
  add->setToolTip(tr("A new layout from the built-in starting layout"));
  auto* copy = new QPushButton(tr("Copy"), left);
  copy->setToolTip(tr("A new layout that copies this one"));
  auto* rename = new QPushButton(tr("Rename…"), left);
  deleteButton_ = new QPushButton(tr("Delete…"), left);
  upButton_ = new QPushButton(tr("Up"), left);
  downButton_ = new QPushButton(tr("Down"), left);
  upButton_->setToolTip(tr("Move the layout up the list"));
  downButton_->setToolTip(tr("Move the layout down the list"));
  row1->addWidget(add);
  row1->addWidget(copy);
  row1->addWidget(rename);
  row2->addWidget(deleteButton_);
  row2->addWidget(upButton_);
  row2->addWidget(downButton_);
  leftColumn->addLayout(row1);
  leftColumn->addLayout(row2);
  // Wide enough for the buttons' captions in every language.
  const int listWidth = std::max(kListWidth, leftColumn->sizeHint().width());
  left->setMinimumWidth(listWidth);

  canvas_ = new DesignerCanvas(model_, splitter);
  properties_ = new DesignerProperties(model_);
  auto* scroll = new QScrollArea(splitter);
  scroll->setWidget(properties_);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setMinimumWidth(kPropertiesWidth);
  splitter->addWidget(left);
  splitter->addWidget(canvas_);
  splitter->addWidget(scroll);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setStretchFactor(2, 0);
  splitter->setSizes({listWidth, kStartWidth - listWidth - kPropertiesWidth, kPropertiesWidth});
  setCentralWidget(splitter);

  status_ = new QLabel(this);
  status_->setAccessibleName(tr("Place of the selected item"));
  statusBar()->addWidget(status_, 1);
  area_ = new QLabel(this);
  area_->setAccessibleName(tr("Automatic burning area"));
  area_->setWordWrap(true);
  statusBar()->addWidget(area_, 2);
  connect(&model_, &LayoutDesignerModel::AreaTextChanged, this,
          [this] { area_->setText(QString::fromStdString(model_.AreaText())); });
  statusBar()->addPermanentWidget(new QLabel(tr("Alt: no snapping"), this));
  BuildMenus();

  connect(add, &QPushButton::clicked, this, [this] { NewLayout(false); });
  connect(copy, &QPushButton::clicked, this, [this] { NewLayout(true); });
  connect(rename, &QPushButton::clicked, this, &LayoutDesigner::Rename);
  connect(deleteButton_, &QPushButton::clicked, this, &LayoutDesigner::Delete);
  connect(upButton_, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
  connect(downButton_, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshingList_ && row >= 0) model_.SetCurrent(row);
  });
  connect(&model_, &LayoutDesignerModel::Changed, this, [this] {
    RefreshList();
    status_->setText(QString::fromStdString(model_.StatusText()));
  });
  connect(&model_, &LayoutDesignerModel::SelectionChanged, this,
          [this] { status_->setText(QString::fromStdString(model_.StatusText())); });
  connect(&model_.UndoStack(), &QUndoStack::cleanChanged, this, &LayoutDesigner::RefreshTitle);
  connect(&model_, &LayoutDesignerModel::Saved, this,
          [this](const QString& path) { emit LayoutsSaved(path, model_.Current()); });
  connect(canvas_, &DesignerCanvas::Refused, this,
          [this](const QString& why) { Say(why.toStdString()); });

  prompter_ = [this](const Prompt& p) {
    QMessageBox box(p.warning ? QMessageBox::Warning : QMessageBox::Question,
                    QString::fromUtf8(kAppName), p.text,
                    static_cast<QMessageBox::StandardButtons>(p.buttons), this);
    box.setDefaultButton(static_cast<QMessageBox::StandardButton>(p.defaultButton));
    return box.exec();
  };
  chooseSaveAs_ = [this] {
    return QFileDialog::getSaveFileName(this, tr("Save the layouts as"),
                                        QString::fromStdString(model_.SettingsPath()),
                                        tr("Settings files (*.ini);;All files (*)"));
  };
  askName_ = [this](const QString& title, const QString& now) {
    bool ok = false;
    const QString name =
        QInputDialog::getText(this, title, tr("Name of the layout:"), QLineEdit::Normal, now, &ok);
    return ok ? name : QString();
  };
}

void LayoutDesigner::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (std::exchange(fitted_, true)) return;
  // The first showing fits the screen's free area (a 1366 x 768 screen holds
  // it whole) and stands in its middle; the properties scroll within.
  const QScreen* shown = parentWidget() ? parentWidget()->screen() : screen();
  if (shown == nullptr) return;
  const QRect room = shown->availableGeometry();
  const QSize fit = QSize(kStartWidth, kStartHeight)
                        .boundedTo(room.size() - QSize(kFrameAcross, kFrameDown))
                        .expandedTo(minimumSize());
  resize(fit);
  move(room.x() + std::max(0, (room.width() - fit.width() - kFrameAcross) / 2),
       room.y() + std::max(0, (room.height() - fit.height() - kFrameDown) / 2));
}

void LayoutDesigner::BuildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&Layout"));
  file->addAction(tr("&New layout"), this, [this] { NewLayout(false); });
  file->addAction(tr("&Copy of this layout"), this, [this] { NewLayout(true); });
  file->addAction(tr("&Rename…"), this, &LayoutDesigner::Rename);
  file->addAction(tr("&Delete…"), this, &LayoutDesigner::Delete);
  file->addAction(tr("Move &up"), this, [this] { MoveCurrent(-1); });
  file->addAction(tr("Move do&wn"), this, [this] { MoveCurrent(1); });
  file->addSeparator();
  QAction* save = file->addAction(tr("&Save"), this, &LayoutDesigner::Save);
  save->setShortcut(QKeySequence::Save);
  QAction* saveAs = file->addAction(tr("Save &As…"), this, &LayoutDesigner::SaveAs);
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  file->addSeparator();
  QAction* close = file->addAction(tr("C&lose"), this, &QWidget::close);
  close->setShortcut(QKeySequence::Close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  QAction* undo = model_.UndoStack().createUndoAction(this, tr("&Undo"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = model_.UndoStack().createRedoAction(this, tr("&Redo"));
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  edit->addAction(tr("Background &picture…"), this, [this] {
    model_.Select(DesignerItem::None);
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Background picture"), QString(),
        tr("Pictures (*.png *.jpg *.jpeg *.bmp *.gif *.tif *.tiff *.svg *.svgz);;All files "
           "(*)"));
    if (!path.isEmpty()) Say(model_.SetPicture(path.toStdString()));
  });
}

bool LayoutDesigner::OpenSettings(const std::string& path, int layout, const std::string& title,
                                  const std::string& date, const NoteLineArray& notes,
                                  const std::string& face) {
  model_.SetFontFace(face);
  model_.SetSampleTexts(title, date, notes);
  std::string problem;
  if (!model_.Open(path, layout, &problem)) {
    Say(tr("Cannot read the settings file %1: %2")
            .arg(QString::fromStdString(path), QString::fromStdString(problem))
            .toStdString());
    return false;
  }
  model_.Select(DesignerItem::Title);
  RefreshList();
  RefreshTitle();
  properties_->Refresh();
  status_->setText(QString::fromStdString(model_.StatusText()));
  return true;
}

void LayoutDesigner::RefreshList() {
  refreshingList_ = true;
  const std::vector<LayoutDefinition>& layouts = model_.Layouts();
  if (list_->count() != static_cast<int>(layouts.size())) {
    list_->clear();
    for (std::size_t i = 0; i < layouts.size(); ++i) list_->addItem(QString());
  }
  for (std::size_t i = 0; i < layouts.size(); ++i)
    list_->item(static_cast<int>(i))
        ->setText(QString::number(i) + QStringLiteral("  ") +
                  QString::fromStdString(layouts[i].Name));
  list_->setCurrentRow(model_.Current());
  deleteButton_->setEnabled(layouts.size() > 1);
  upButton_->setEnabled(model_.Current() > 0);
  downButton_->setEnabled(model_.Current() + 1 < static_cast<int>(layouts.size()));
  refreshingList_ = false;
}

void LayoutDesigner::RefreshTitle() {
  setWindowModified(model_.Modified());
}

int LayoutDesigner::Ask(const Prompt& prompt) {
  return prompter_(prompt);
}

void LayoutDesigner::Say(const std::string& why) {
  if (why.empty()) return;
  std::string text = why;
  if (text.back() != '.') text += '.';
  Ask({QString::fromStdString(text), QMessageBox::Ok, QMessageBox::Ok, true});
}

void LayoutDesigner::NewLayout(bool copy) {
  const QString suggested =
      copy ? tr("Copy of %1").arg(QString::fromStdString(model_.Layout().Name)) : tr("New layout");
  const QString name =
      askName_(copy ? tr("Copy of this layout") : tr("New layout"), suggested.left(79));
  if (name.isEmpty()) return;
  Say(model_.NewLayout(copy, name.toStdString()));
}

void LayoutDesigner::Rename() {
  const QString name =
      askName_(tr("Rename the layout"), QString::fromStdString(model_.Layout().Name));
  if (name.isEmpty()) return;
  Say(model_.RenameLayout(name.toStdString()));
}

void LayoutDesigner::Delete() {
  const QString text = tr("Delete layout %1 \"%2\"? The layouts after it move up one place.")
                           .arg(model_.Current())
                           .arg(QString::fromStdString(model_.Layout().Name));
  if (Ask({text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, false}) != QMessageBox::Yes)
    return;
  Say(model_.DeleteLayout(model_.Current()));
}

void LayoutDesigner::MoveCurrent(int by) {
  const int to = model_.Current() + by;
  if (to < 0 || to >= static_cast<int>(model_.Layouts().size())) return;
  Say(model_.MoveLayout(model_.Current(), to));
}

bool LayoutDesigner::Save() {
  if (model_.ChangedOnDisk()) {
    const QString text =
        tr("The settings file %1 was changed by another program since the Layout Designer read "
           "it.\n\nSave the layouts into it anyway? Its other lines keep what the other program "
           "wrote.")
            .arg(QString::fromStdString(model_.SettingsPath()));
    if (Ask({text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, true}) != QMessageBox::Yes)
      return false;
  }
  const FileWriteResult result = model_.Save();
  if (result.ok) return true;
  const QString text = QString::fromStdString(model_.SaveFailure(result)) +
                       tr("\n\nYour changes are still here. Save them into another settings "
                          "file (Save As)?");
  if (Ask({text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, true}) == QMessageBox::Yes)
    return SaveAs();
  return false;
}

bool LayoutDesigner::SaveAs() {
  const QString path = chooseSaveAs_();
  if (path.isEmpty()) return false;
  const FileWriteResult result = model_.SaveAs(path.toStdString());
  if (result.ok) return true;
  Say(SaveFailureText(path.toStdString(), result.problem));
  return false;
}

void LayoutDesigner::closeEvent(QCloseEvent* event) {
  if (model_.Dragging()) model_.EndDrag(false);
  if (!model_.Modified()) {
    event->accept();
    return;
  }
  const int answer = Ask(
      {tr("The layouts have changes that are not saved. Save them before closing?"),
       QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save, false});
  if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !Save())) {
    event->ignore();
    return;
  }
  if (answer == QMessageBox::Discard) {
    // The next opening reads the file again.
    model_.UndoStack().setClean();
  }
  event->accept();
}

}  // namespace twr::ui
