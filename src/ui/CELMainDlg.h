// The main window: layout list and preview, drive list and Scan, the title,
// date and note edits, the font / burning area / required time status,
// Config, Burn and Exit, and the File button with the design files. A view over the
// MainWindowModel: it forwards its events, paints the model's preview and texts whenever the model
// says they changed, runs the model's drive work without freezing, and opens the configuration and
// burn dialogs.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include "label/PictureSettings.h"
#include "ui/SkinnedDialog.h"

class QAction;
class QComboBox;
class QMimeData;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolButton;

namespace twr {
class CELDevice;
}  // namespace twr

namespace twr::ui {
enum class OpeningResult;
}  // namespace twr::ui

namespace twr::ui {

class BurnSession;
class EtchedPreviewModel;
class EtchedViewSwitch;
class GuiMessages;
class HelpWindow;
class LayoutDesigner;
class TemplateGallery;
class MainWindowModel;
class QuitShortcut;
class SkinnedButton;
class SkinnedTextButton;
class TitleConfigModel;

// Control 1021: the preview square, smoothly scaled into the area.
class PreviewArea : public QWidget {
  Q_OBJECT

 public:
  explicit PreviewArea(QWidget* parent = nullptr);
  void SetPreview(const QImage& preview);
  const QImage& Preview() const { return preview_; }
  int Paints() const { return paints_; }
  // The strip along the foot kept free for the preview's bar (pixels): the
  // disc is drawn in the square above it, centred across.
  void SetFooter(int pixels);
  QRect DiscRect() const;
  // Where the label's own picture lies on the label (label widths from its
  // top left corner, as PlacedPictureRect gives it) while it can be placed
  // by hand: over it the pointer is an open hand, a drag moves it and the
  // wheel zooms it. Empty: nothing to place.
  void SetMovablePicture(const QRectF& where);
  bool Dragging() const { return dragging_; }

 signals:
  // The preview's context menu asks for the layout designer.
  void DesignerRequested();
  // A drag of the picture: started, moved `delta` preview pixels from where
  // it started on a label shown `shownSide` pixels across, ended.
  void PictureDragStarted();
  void PictureDragged(QPointF delta, double shownSide);
  void PictureDragEnded();
  // The wheel turned by `angleDelta` (eighths of a degree) over the label at
  // `point` (label widths from its top left corner).
  void PictureWheel(int angleDelta, QPointF point);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  // `pos` (widget pixels) in label widths from the label's top left corner.
  QPointF LabelPoint(QPointF pos) const;
  // `pos` lies over the movable picture, on the disc's square.
  bool OverPicture(QPointF pos) const;
  void ShowHand(QPointF pos);

  QImage preview_;
  QPixmap scaled_;
  int paints_ = 0;
  int footer_ = 0;
  QRectF movable_;
  bool dragging_ = false;
  QPointF dragFrom_;
};

class CELMainDlg : public SkinnedDialog {
  Q_OBJECT

 public:
  enum ControlId {
    kIdLayout = 1046,
    kIdPreview = 1021,
    kIdDrive = 1008,
    kIdScan = 1030,
    kIdTitle = 1010,
    kIdDate = 1012,
    kIdNote = 1032,
    kIdQr = 1033,
    kIdFont = 1056,
    kIdRadius = 1053,
    kIdTime = 1020,
    kIdConfig = 1047,
    kIdBurn = 1061,
    kIdExit = 1062,
  };
  // Results of the window's run.
  static constexpr int kClosed = 2;
  static constexpr int kOpeningFailed = 3;

  CELMainDlg(MainWindowModel& model, TitleConfigModel& config, BurnSession& burn, CELDevice& device,
             GuiMessages& messages, QWidget* parent = nullptr);
  ~CELMainDlg() override;

  // The timer period in milliseconds (1000; tests shorten it).
  void SetTimerPeriod(int milliseconds) { timer_.setInterval(milliseconds); }
  // Runs the opening once the window is shown (posted by showEvent): the
  // layouts and preview at once, the drives when the drive worker has found
  // them. True once both are there.
  bool Opened() const { return opened_; }
  // Called after the opening with the window painted (for --screenshot).
  void SetOnOpened(std::function<void()> callback) { onOpened_ = std::move(callback); }

  QComboBox* LayoutList() const { return layouts_; }
  QComboBox* DriveList() const { return drives_; }
  QLineEdit* TitleEdit() const { return title_; }
  QLineEdit* DateEdit() const { return date_; }
  QPlainTextEdit* NoteEdit() const { return note_; }
  QLineEdit* QrEdit() const { return qr_; }
  QAction* QrFromTextsAction() const { return qrFromTextsAction_; }
  QAction* QrFromDiscAction() const { return qrFromDiscAction_; }
  PreviewArea* Preview() const { return preview_; }
  QLabel* FontStatic() const { return font_; }
  QLabel* RadiusStatic() const { return radius_; }
  QLabel* TimeStatic() const { return time_; }
  // The warning mark at the right of the preview's bar: shown while the
  // label has warnings, the list in its tooltip (a click shows it too).
  QToolButton* WarningMark() const { return warningMark_; }
  // The status line between the disc and the preview's bar: what a Scan
  // found when it found nothing, or why a click waits for the drives;
  // hidden when empty (the disc then takes its room again).
  QLabel* StatusLine() const { return status_; }
  // The layouts and preview are shown and the edits take input; Opened()
  // comes once the drives have been found too.
  bool LayoutsShown() const { return layoutsShown_; }
  SkinnedButton* ScanButton() const { return scan_; }
  SkinnedButton* ConfigButton() const { return config_; }
  SkinnedButton* BurnButton() const { return burn_; }
  SkinnedButton* ExitButton() const { return exit_; }
  HelpWindow* Help() const { return help_; }
  bool TimerRunning() const { return timer_.isActive(); }
  // ---- Help, About and Ctrl+Q ------------------------------------------------
  // The "?" button under Config: a menu with the help (F1) and the About
  // box, the same as the window's context menu.
  SkinnedTextButton* HelpButton() const { return helpButton_; }
  QAction* HelpAction() const { return helpAction_; }
  QAction* AboutAction() const { return aboutAction_; }
  // The layout designer (Ctrl+E, or the Design button beside the layouts);
  // nullptr until it is first opened.
  LayoutDesigner* Designer() const { return designer_; }
  QToolButton* DesignButton() const { return designButton_; }
  // The preview's "Design" / "As etched" switch and the etch it shows; the
  // switch and its quality list stand in the bar under the disc.
  EtchedViewSwitch* EtchedSwitch() const { return etchedSwitch_; }
  EtchedPreviewModel& EtchedPreview() const { return *etchedPreview_; }

  // ---- Designs ----------------------------------------------------------------
  // The File button beside Exit: a menu with Open (Ctrl+O), the recent
  // designs, Save (Ctrl+S), Save As (Ctrl+Shift+S), the label's own
  // picture and Export.
  SkinnedTextButton* FileButton() const { return fileButton_; }
  QAction* OpenAction() const { return openAction_; }
  QAction* SaveAction() const { return saveAction_; }
  QAction* SaveAsAction() const { return saveAsAction_; }
  QAction* ExportAction() const { return exportAction_; }
  QAction* PictureAction() const { return pictureAction_; }
  // File > Picture Placement and Tone's zoom and reset of the label's own
  // picture (Ctrl++, Ctrl+-, Ctrl+0; enabled while it has one).
  QAction* ZoomInAction() const { return zoomInAction_; }
  QAction* ZoomOutAction() const { return zoomOutAction_; }
  QAction* ResetPlaceAction() const { return resetPlaceAction_; }
  // The picture at `path` becomes this label's own (never the layout's in
  // the settings file); false after a message.
  bool UseLabelPicture(const QString& path);
  // The design the window opens once its layouts are shown (the command
  // line's FILE); one that cannot be read leaves the window empty.
  void SetDesignAtStart(const QString& path) { designAtStart_ = path; }
  // Opens the design file, after asking what becomes of unsaved changes.
  bool OpenDesignFile(const QString& path);

  // ---- Templates ----------------------------------------------------------------
  // File > New (Ctrl+N) opens the template gallery (window-modal, without
  // waiting); the template chosen becomes a new label without a file.
  // File > Save as Template writes the label into the user's templates.
  QAction* NewAction() const { return newAction_; }
  QAction* SaveTemplateAction() const { return saveTemplateAction_; }
  TemplateGallery* Gallery() const;
  // The folders the gallery lists (the installed ones beside the program
  // and the user's, unless set here).
  void SetTemplateFolders(std::vector<std::string> installed, std::string user);
  // With no design named on the command line: a first start opens the
  // gallery, a later one the last design when it is still there.
  void SetStartChoice(bool enabled) { startChoice_ = enabled; }
  // A new label from the template file, after asking what becomes of
  // unsaved changes.
  bool NewFromTemplateFile(const QString& path);

  // The program is asked to end (a stop signal): open dialogs and message
  // boxes are closed, a burn is asked to stop and the window ends once the
  // burn's closing steps have run.
  void RequestQuit();

 public slots:
  void reject() override;
  void ShowHelp();
  void ShowAbout();
  void OpenDesigner();
  void OpenDesign();
  bool SaveDesign();
  bool SaveDesignAs();
  void ExportLabel();
  void ChooseLabelPicture();
  void NewLabel();
  bool SaveAsTemplate();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // A design or template loaded by `load` (a model call) when the window may
  // leave its document: the lists and the preview shown again.
  bool LoadIntoWindow(const std::function<bool()>& load);
  void Opening();
  // The drive worker's discovery has ended.
  // Ends the window when a quit came or the opening step failed; true then.
  bool ClosedWhileOpening(OpeningResult result);
  void DrivesFound(OpeningResult result);
  // The warning mark and status line as the model has them.
  void ShowNotices();
  void ShowWarningList();
  // The burn's warnings, once, before the burn dialog: true to go on.
  bool GoOnDespiteWarnings();
  void ReadControls();
  void ShowMemberTexts();
  void DrawPreview();
  // Both, when the model says it changed.
  void ShowModel();
  // File > Undo and Redo: the label as it was kept before (or after).
  void UndoLabel();
  void RedoLabel();
  void OnTextEdited(int kind);
  // The preview redrawn with what was typed, once per batch of keystrokes;
  // the etched view follows once typing has paused.
  void RedrawTyped();
  // The bar under the disc, the status line over it and the disc's room.
  void LayOutPreview();
  void OnTimer();
  void ShowDriveList();
  void OnLayoutChosen(int index);
  void OnDriveChosen(int index);
  void OnScan();
  void QrFromDisc();
  void OnConfig();
  void OnBurn();
  // File > Calibrate...: the burn dialog burns the calibration wedge.
  void OnCalibrate();
  // After the burn dialog: the window closes when a quit came meanwhile,
  // else its refresh goes on.
  void ReturnFromBurnDialog();
  void OnExit();
  // Ctrl+Q: the way of Exit, or during a burn the way of the burn dialog's
  // Exit, after which the window ends.
  void OnQuitKey();
  void ShowHelpMenu();
  void OnLayoutsSaved(const QString& path, int current);
  // Closes the layout designer first (it asks about unsaved changes); false
  // when it stays open.
  bool CloseDesigner();
  // Unsaved changes: Save, Discard or Cancel; true when the window may set
  // them aside.
  bool MayLeaveDocument();
  // The design's name and the changed mark in the title bar.
  void ShowTitle();
  // The settings file's layouts and, while held, the opened design's own.
  void FillLayoutList();
  void ShowFileMenu();
  // The File menu's submenu for the label's own picture.
  void AddPictureMenu(QMenu& menu);
  // Placing the label's own picture by hand on the design preview: the
  // preview told where it lies (nothing while the etched view is shown or
  // the label has no picture of its own), and the zoom of the menu and the
  // wheel about a point of the label.
  void ShowMovablePicture();
  void ZoomPicture(double factor, QPointF point);
  void ResetPicturePlace();
  // The design file a drag carries (one local .twrlabel file), or empty.
  static QString DesignDropped(const QMimeData* data);
  // The picture a drag carries (one local file whose name ends as a picture
  // format's does), or empty.
  static QString PictureDropped(const QMimeData* data);
  // A design or a picture dropped: opened or used once the drop has ended
  // (the question and messages need the drag finished). False for neither.
  bool TakeDrop(const QMimeData* data);

  MainWindowModel& model_;
  TitleConfigModel& configModel_;
  BurnSession& burnSession_;
  CELDevice& device_;
  GuiMessages& messages_;
  QComboBox* layouts_ = nullptr;
  QComboBox* drives_ = nullptr;
  QLineEdit* title_ = nullptr;
  QLineEdit* date_ = nullptr;
  QLineEdit* qr_ = nullptr;  // the QR code's text
  QPlainTextEdit* note_ = nullptr;
  PreviewArea* preview_ = nullptr;
  QLabel* font_ = nullptr;
  QLabel* radius_ = nullptr;
  QLabel* time_ = nullptr;
  SkinnedButton* scan_ = nullptr;
  SkinnedButton* config_ = nullptr;
  SkinnedButton* burn_ = nullptr;
  SkinnedButton* exit_ = nullptr;
  HelpWindow* help_ = nullptr;
  SkinnedTextButton* helpButton_ = nullptr;
  QAction* helpAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QuitShortcut* quitKey_ = nullptr;
  bool quitAfterBurn_ = false;
  LayoutDesigner* designer_ = nullptr;
  QToolButton* designButton_ = nullptr;
  EtchedViewSwitch* etchedSwitch_ = nullptr;
  EtchedPreviewModel* etchedPreview_ = nullptr;
  QToolButton* warningMark_ = nullptr;
  QLabel* status_ = nullptr;
  QTimer timer_;
  QTimer etchAfterTyping_;
  // Keeps the label for Undo once a burst of changes (typing) has settled.
  QTimer rememberLabel_;
  bool redrawPosted_ = false;
  bool typing_ = false;      // the model's Changed comes from a keystroke
  bool exchanging_ = false;  // change events are ignored while texts are shown
  bool openingPosted_ = false;
  bool opened_ = false;
  bool layoutsShown_ = false;
  bool quitRequested_ = false;
  std::function<void()> onOpened_;
  SkinnedTextButton* fileButton_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  QAction* exportAction_ = nullptr;
  QAction* qrFromTextsAction_ = nullptr;
  QAction* qrFromDiscAction_ = nullptr;
  QAction* pictureAction_ = nullptr;
  QAction* zoomInAction_ = nullptr;
  QAction* zoomOutAction_ = nullptr;
  QAction* resetPlaceAction_ = nullptr;
  PictureSettings dragStart_;  // the picture's settings when a drag began
  QString designAtStart_;
  // Templates.
  void StartChoice();
  QAction* newAction_ = nullptr;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  QAction* saveTemplateAction_ = nullptr;
  QPointer<QDialog> gallery_;  // the TemplateGallery while it is open
  std::vector<std::string> installedTemplates_;
  std::string userTemplates_;
  bool startChoice_ = false;
};

}  // namespace twr::ui
