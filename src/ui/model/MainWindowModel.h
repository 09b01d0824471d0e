// The main window without its window: the label texts with their byte
// limits and change flags, the note's ten lines, the layout and drive in
// use, the burning area and the status texts, the once-a-second preview
// refresh, the disc scan and the fixed sequences of Scan, Config and Burn.
// The window forwards its events here and paints what this holds whenever
// Changed says so; tests drive it directly. Drive work goes through a runner the window supplies,
// so that a slow drive never freezes the window (tests run it in place).
#pragma once

#include <QImage>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "burn/BurnPlan.h"
#include "burn/Calibration.h"
#include "burn/SimulatedEtch.h"
#include "common/SettingsLocation.h"
#include "label/Design.h"
#include "label/LabelTexts.h"
#include "label/LabelWarnings.h"
#include "ui/model/TitleConfigModel.h"

namespace twr {
class CELDevice;
class CELLayout;
class DriveChangeSource;
class DriveWatcher;
class Messages;
struct DriveReport;
}  // namespace twr

namespace twr::ui {

class BurnSession;

enum class TextKind { Title, Date, Note };

// What the opening found; the window shows the message and ends on a failure.
enum class OpeningResult { Ready, NoPassThrough, NoLayouts, NoDrive };

class MainWindowModel : public QObject {
  Q_OBJECT

 public:
  // Runs a piece of drive work and returns when it is done.
  using DriveRunner = std::function<void(const std::function<void()>&)>;
  // Starts drive work that runs while the window takes input, and calls
  // `done` on the GUI thread once it has ended (the default: both at once).
  using DriveStarter = std::function<void(std::function<void()> work, std::function<void()> done)>;

  static constexpr int kPreviewSide = 600;
  static constexpr int kTickMs = 1000;
  static constexpr int kAutoScanMs = 6000;

  MainWindowModel(CELLayout& layout, CELDevice& device, BurnSession& burn, TitleConfigModel& config,
                  Messages& messages);
  ~MainWindowModel() override;

  void SetDriveRunner(DriveRunner runner) { runDrive_ = std::move(runner); }
  void SetDriveStarter(DriveStarter starter) { startDrive_ = std::move(starter); }
  // The settings file in use, named when it gives no layout.
  void SetSettings(SettingsLocation settings) { settings_ = std::move(settings); }

  // ---- Opening -------------------------------------------------------------
  // The checks in their order (pass-through 100, layouts 801, drives 1003),
  // each with its message; then the first disc reading and listing, the
  // first render with the layout's radii and the status texts.
  OpeningResult Open();
  // The opening in two steps, so that a slow drive never empties the window:
  // first what needs no drive (pass-through 100, layouts 801, the first
  // render with the layout's radii, the font and radius texts; the required
  // time waits for the drive); Ready when the window can show its layouts
  // and preview at once.
  OpeningResult OpenLayouts();
  // Then drive discovery and the first disc reading and listing, started on
  // the drive worker (DriveStarter). `done` runs on the GUI thread with
  // Ready, or NoDrive after message 1003. Meanwhile the texts may be typed
  // and the layout chosen; a field typed in since OpenLayouts takes nothing
  // from the disc, and no drive work of the GUI runs (TimerTick does none).
  void StartDriveDiscovery(std::function<void(OpeningResult)> done);
  bool Discovering() const { return discovering_; }
  // Scan, Config and Burn need the drive: while discovery has it they are
  // refused at once, with the reason in the status line (true then).
  bool RefusedWhileDiscovering();
  // The program is closing: a discovery still running stops after the
  // command in progress.
  void CancelDiscovery();

  // ---- Events ---------------------------------------------------------------
  // The edits' texts into the members (each cut to its byte limit, never
  // inside a character; the note with CR LF line breaks). Every command
  // starts with this; nothing else happens here.
  void ReadControls(std::string_view title, std::string_view date, std::string_view note);
  // An edit's text changed (after ReadControls): when it differs from the
  // text last handed to the renderer it is handed over and the kind's flag
  // set. The preview follows at RedrawTypedTexts or the next tick.
  void TextChanged(TextKind kind);
  // The preview redrawn now with the texts changed since its last redraw
  // (Changed then); false when none changed.
  bool RedrawTypedTexts();
  struct TickResult {
    bool redrawn = false;        // the preview was redrawn: show texts, repaint
    bool scanned = false;        // the automatic scan ran
    bool drivesChanged = false;  // the drive list changed: show it again
  };
  // The periodic timer: the preview redrawn when a text changed, and every
  // sixth tick a blank window filled from a disc that has come in.
  TickResult TimerTick();
  void ApplyLayoutChoice(int index);
  // The drive list's selection changed: applied and scanned at once only
  // while the window holds no text. True when a scan read the disc's texts.
  bool DriveChoiceChanged(int selection);
  // Scan: the disc's volume name, date and top-level entries. True when
  // the disc's texts were read (the edits then show the members, and the
  // preview is drawn with them at once). A disc without any of them keeps
  // the texts as they were and says so in the status line; after a failure
  // (1006) the texts stay too.
  bool ScanDisc();
  // The last listing met a UDF disc that only a mount can list (the window
  // says so after a Scan the user asked for).
  bool ListingNeedsMount() const { return listingNeedsMount_; }
  // Config: the values to hand the configuration dialog, and what its OK
  // confirmed.
  TitleConfigValues ConfigValues() const;
  void ConfigAccepted(const TitleConfigValues& values);
  // Burn, before the burn dialog: true when the dialog is to run (drive
  // applied, texts present, disc answering, label rendered, burn session
  // given the drive, the band and the label).
  bool PrepareBurn();
  // Burn, after the burn dialog: the preview rendered again.
  void AfterBurn();
  // File > Calibrate..., before the burn dialog opens to burn the wedge:
  // true when it is to open (the chosen drive applied; without one the
  // user is told to choose a drive). The session gets the drive and no
  // label: Draw there says there is nothing to burn.
  bool PrepareCalibration();
  // After it: a calibration newly kept tones the picture and the etched
  // view from now on; the status line says what was kept.
  void AfterCalibration();
  // The tone fit to etch spreads the label's picture over, and the
  // response the etched view draws through, at `quality` with `page`: a
  // calibration the settings file keeps for the model of the drive the
  // window shows and the disc side shown narrows both (burn/Calibration's
  // DriveEtchFor).
  DriveEtch ShownDriveEtch(const ElsPage& page, BurnQuality quality);

  // ---- Drives that come and go -----------------------------------------------
  // Watches the drives through `source` (the window program: the system's
  // udev events and sysfs; tests: a fake); a change is taken at the next tick.
  void WatchDrives(std::unique_ptr<DriveChangeSource> source);
  // The drive list built again: the chosen drive stays chosen while it is
  // still listed (else the first is), the applied one stays open, and a
  // drive newly there that the user may not open is told about. True when
  // the list changed.
  bool RefreshDrives();

  // ---- The layout designer ---------------------------------------------------
  // The settings file the layouts come from.
  const std::string& SettingsPath() const;
  // The designer saved the layouts: the list is read again and `select`
  // shown as when it is chosen (its own radii). False, changing nothing,
  // when the file holds no layout any more.
  bool LayoutsSaved(int select);

  // ---- Undo -------------------------------------------------------------------
  // The label as it stands is kept when it differs from the one kept last
  // (the window calls this once a burst of changes has settled); Undo and
  // Redo step through what was kept: texts, layout, picture and its
  // settings, face, area, Rimtone mode and quality. At most kUndoSteps.
  static constexpr std::size_t kUndoSteps = 100;
  void RememberLabel();
  bool CanUndo() const { return historyAt_ > 0; }
  bool CanRedo() const { return historyAt_ + 1 < history_.size(); }
  bool Undo();
  bool Redo();

  // ---- Designs ----------------------------------------------------------------
  // Opens the design file at `path`: its texts, its own layout record and
  // picture (shown as the layout kGivenLayout, whatever the settings file
  // numbers), its face, burning area, Rimtone mode and quality. The design
  // becomes the window's document and the first of the recent designs.
  // A file that cannot be used is refused with a message and the window
  // keeps all it held; false then.
  bool OpenDesign(const std::string& path);
  // A new label from the template at `path`: opened as OpenDesign opens a
  // design, but as a document without a file (Save asks for a name, so
  // the template is never written over) and not among the recent designs.
  bool NewFromTemplate(const std::string& path);
  // Writes what the window shows to `path` as a template; the document and
  // its file stay as they were. The folder is made when it is missing.
  // False after a message.
  bool SaveAsTemplate(const std::string& path);
  // Writes what the window shows (Document) to `path` atomically; the
  // path becomes the document's. False after a message, nothing changed.
  bool SaveDesign(const std::string& path);
  // Makes the picture at `path` this label's own background: the layout in
  // use is copied into the label (shown as its own layout, kGivenLayout,
  // under the name of the layout it came from) with the picture's bytes,
  // which the preview, the burn and a saved design use. The settings file
  // and its layouts are left alone: later labels of that layout keep its
  // own picture. A picture that cannot be used is refused with a message
  // and the window keeps all it held; false then.
  bool UseLabelPicture(const std::string& path);
  // The label the window shows: the texts as typed, a copy of the layout
  // in use (the settings file's record with its picture's bytes, taken when
  // it was chosen, or the label's own), the face, the area, Rimtone mode
  // and the quality. What a design file keeps and the burn is given.
  LabelDocument Document() const;
  // The label's own picture (chosen for it, or brought by a design) is
  // shown: its placement and tone can be set.
  bool HasOwnPicture() const;
  const PictureSettings& Picture() const { return doc_.picture; }
  // How the label's own picture lies and its tone for the etch (fit to etch
  // at the quality the label is meant for). A change redraws the preview
  // and says so (Changed); false when nothing changed or there is no own
  // picture.
  bool SetPictureSettings(const PictureSettings& settings);
  // The label's own picture placed by hand (a drag or the wheel on the
  // preview): the same change as SetPictureSettings, but only the design
  // preview is drawn again; the automatic area follows at the next tick or
  // at EndPictureMove, as it does for typing. False when nothing changed or
  // there is no own picture.
  bool MovePicture(const PictureSettings& settings);
  // The drag has ended: the automatic area is worked out for where the
  // picture now lies (the document, compared for Modified, already holds it).
  void EndPictureMove();
  // The label's own picture's size in pixels as decoded (its placement's
  // aspect); empty without one.
  QSize OwnPictureSize() const;
  // The texts' legibility over a picture (see-through boxes, halos): the
  // label's, whatever its layout. A change redraws the preview and says so
  // (Changed); false when nothing changed.
  const TextLegibility& Legibility() const { return doc_.legibility; }
  bool SetLegibility(const TextLegibility& legibility);
  // The document's file; empty for a label not yet saved.
  const std::string& DesignPath() const { return designPath_; }
  // The window holds changes since the design was opened or saved (for a
  // label without a file: since the opening or the last disc scan).
  bool Modified() const { return !(Document() == clean_); }
  // The name of the opened design's own layout while it is held (the
  // layout list's extra entry), empty otherwise.
  const std::string& GivenLayoutName() const { return own_.layoutName; }
  // The quality the label is meant for (the preview's quality list): the
  // required time is worked out at it and the burn dialog opens at it. A
  // change says so (Changed) and returns true.
  DesignQuality Quality() const { return doc_.quality; }
  // The same as the burn takes it.
  BurnQuality QualityOfBurn() const;
  bool SetQuality(DesignQuality quality);
  // Writes the label with the texts as typed to `path`: .png (or another
  // picture name), .pdf or .svg, as `twr render --label` does. False after
  // a message.
  bool ExportLabel(const std::string& path);
  // The recent designs, newest first, as the settings file keeps them
  // (kMaxRecentDesigns). Files no longer there are dropped from the list
  // with a message.
  static constexpr int kMaxRecentDesigns = 8;
  const std::vector<std::string>& RecentDesigns();

  // ---- What the window shows ----------------------------------------------------
  const std::vector<std::string>& LayoutNames() const { return layoutNames_; }
  const std::vector<std::string>& DriveItems() const { return driveItems_; }
  int Layout() const { return layoutIndex_; }
  void SetLayoutSelection(int index) { layoutIndex_ = index; }
  int DriveSelection() const { return driveSelection_; }
  void SetDriveSelection(int selection) { driveSelection_ = selection; }
  int DriveIndex() const { return driveIndex_; }
  const std::string& Title() const { return texts_.Title(); }
  const std::string& Date() const { return texts_.Date(); }
  // The note with CR LF line breaks.
  const std::string& Note() const { return texts_.Note(); }
  const NoteLineArray& NoteLines() const { return texts_.NoteLines(); }
  int ScanLineCount() const { return scanLines_; }
  // The manual burning area (the layout's radii or those confirmed in Config).
  double InnerRadius() const { return doc_.innerRadius; }
  double OuterRadius() const { return doc_.outerRadius; }
  // Whether the label burns the automatic area: the narrowest band that
  // holds its marks at the preview's quality, worked out from the full
  // label and the drive's page whenever the label or the quality changes.
  bool UsesAutomaticArea() const { return doc_.automaticArea; }
  // Labels started anew (the window's first label) take this area; an
  // opened design keeps its own. The window program starts new labels
  // with the automatic area.
  void SetNewLabelArea(bool automatic) { doc_.automaticArea = automatic; }
  // The band shown with the circles and burnt: the automatic one or the
  // manual radii.
  BurnBand ShownBand() const;
  bool Rimtone() const { return config_.Rimtone(); }
  const std::string& RadiusText() const { return radiusText_; }
  const std::string& TimeText() const { return timeText_; }
  const std::string& FontText() const { return fontText_; }
  bool AnyChanged() const { return titleChanged_ || dateChanged_ || noteChanged_ || qrChanged_; }
  // The QR code's text as typed (cut to what one code holds).
  const std::string& QrText() const { return texts_.Qr(); }
  // The QR field's text changed: handed to the renderer, drawn with the
  // next redraw of the typed texts. False when it is the same.
  bool QrTyped(std::string_view text);
  // The layout in use draws a QR code (its QrSize is not 0).
  bool LayoutHasQrBox() const;
  // A QR text from the label's texts as they stand (a scan puts the disc's
  // volume name, date and top-level names there): the title, the date and
  // the note's lines, with commas between them (a code's text is one line),
  // as many whole lines as one code holds.
  std::string QrFromTexts() const;
  int TickTotal() const { return tickTotal_; }
  // The preview as the window shows it: the renderer's preview with the
  // burning area's circles (blue outlines, black hub). Null before the first
  // successful render.
  QImage PreviewWithBand() const;
  // What the label as previewed leaves out (the list `twr` prints): a
  // background picture that cannot be used, texts cut by MaxNum, note lines
  // past the tenth, boxes and ring text outside the band or under the hub;
  // for an opened design also its face not installed here and a picture
  // its own layout could not use when it was saved.
  std::vector<LabelWarning> Warnings() const;
  // The same, asked once before a burn: none when the window holds no text
  // (Burn then refuses).
  std::vector<LabelWarning> WarningsBeforeBurn() const;
  // The window's status line: what the last Scan found when it found
  // nothing, or why a click waits for the drives ("" for nothing to say;
  // cleared by the next change of the texts).
  const std::string& StatusText() const { return statusText_; }
  // The label with the texts as typed now, its band and disc side at
  // `quality`, for the "as etched" view (the example drive's ELS page).
  EtchRequest EtchRequestAt(BurnQuality quality);
  // Full redraws of the preview (renders and once-a-second refreshes).
  int PreviewRedraws() const { return previewRedraws_; }

  // ---- Operations the window runs (also used by the sequences above) --------
  // (They change what the window shows without saying so: the sequences
  // that call them do.)
  bool ApplyDriveChoice();
  void RefreshLabel(bool keepRadii);
  void UpdateStatusTexts();

 signals:
  // What the window shows changed: the preview, the texts, the status
  // texts or the layout chosen. Said by the events and sequences above
  // (not by the opening, whose window fills its lists itself).
  void Changed();

 private:
  void RunDrive(const std::function<void()>& work) { runDrive_(work); }
  // The typed texts' redraw, shared by RedrawTypedTexts and the tick.
  bool DrawTypedTexts();
  // The document now is the clean one (a label without a file: a disc's
  // texts came in, which a scan brings again).
  void MarkClean() { clean_ = Document(); }
  void MarkCleanWithoutFile() {
    if (designPath_.empty()) MarkClean();
  }
  // OpenDesign and NewFromTemplate: `path` opened as the document's file,
  // or without one.
  bool LoadDocument(const std::string& path, bool asTemplate);
  // `path` first in the recent designs, kept in the settings file.
  void AddRecentDesign(const std::string& path);
  void SaveRecentDesigns();
  bool AllTextsEmpty() const;
  // The layout at `index` (a settings file's, or kGivenLayout: the label's
  // own) becomes the document's: its record, name and picture.
  void TakeLayout(int index);
  // The tone a picture placed for the etch is fit to: the document's
  // quality on the drive's page when it gives a time, else the example
  // drive's; none for a picture whose tone is plain.
  EtchTone PictureEtchTone();
  // The label's own picture placed and toned by `settings` and the design
  // preview drawn again; false (nothing changed) for a picture of a layout,
  // the same settings or settings out of range.
  bool TakePictureSettings(const PictureSettings& settings);
  // The document drawn as it stands: the full label (`label`) and the
  // preview (`preview`), for disc `number` of `count`, after the texts are
  // published (the note's folders first, in the edit too). False when the
  // layout cannot be drawn.
  bool Draw(bool label, bool preview, int number = 1, int count = 1);
  // The same with the note left in the order typed (the etched view).
  bool DrawAsTyped(bool label, bool preview, int number = 1, int count = 1);
  // The preview drawn again with the texts as typed, keeping the area.
  void RedrawPreview();
  // ScanDisc's steps, without saying that the window changed.
  // `asked`: the user's Scan, which says in the status line when it found
  // nothing (the automatic scan of an empty window does not).
  bool Scan(bool asked);
  // PrepareBurn's steps; false after a refusal.
  bool ReadyToBurn();
  // LoadDiscTexts through the runner: true when the drive is ready; then
  // title and date hold the disc's texts.
  bool ReadDiscTexts();
  // The listing of the current drive-list entry appended to the note.
  void ListDiscEntries();
  // The side the band goes on as the label is shown (a data side in
  // Rimtone mode, as read last).
  BurnDisc ShownDisc() const;
  // The full label drawn with the texts as they stand, leaving the texts
  // as typed (the etched view, the automatic area).
  void DrawFullLabelAsTyped();
  // The automatic area worked out again from the full label with the texts
  // as they stand and the page read last, with the radius and time texts
  // (no drive work); nothing when the area is manual.
  void UpdateAutomaticArea();
  // The inner radius raised out of the disc's data area in Rimtone mode
  // (label/BurningArea's rules), with the data side read from the drive.
  void RaiseInnerForRimtone();
  // Drives there that the user may not open, each told once.
  void TellNoPermission(const std::vector<DriveReport>& reports, bool noDrive);
  // What drive discovery found, gathered on the drive worker (drive work
  // only: no member of the model is touched there).
  struct Discovery;
  static void Discover(CELDevice& device, BurnSession& burn, Discovery& found);
  OpeningResult ApplyDiscovery(const Discovery& found);

  CELLayout& layout_;
  CELDevice& device_;
  BurnSession& burn_;
  TitleConfigModel& config_;
  Messages& messages_;
  DriveRunner runDrive_ = [](const std::function<void()>& work) { work(); };
  DriveStarter startDrive_ = [](const std::function<void()>& work,
                                const std::function<void()>& done) {
    work();
    done();
  };
  SettingsLocation settings_;

  LabelTexts texts_;
  std::string lastTitle_;
  std::string lastDate_;
  std::string lastNote_;
  bool titleChanged_ = false;
  bool dateChanged_ = false;
  bool noteChanged_ = false;
  bool qrChanged_ = false;
  int scanLines_ = 0;
  std::vector<std::string> layoutNames_;
  std::vector<std::string> driveItems_;
  // The model of the drive item `modelItem_`, read once per drive shown.
  std::string modelItem_, modelVendor_, modelProduct_;
  // ShownDriveEtch's last answer and what it was asked with, the settings
  // file's state among them: a drag of the picture asks on every step.
  struct ShownEtchAnswer {
    std::string key;  // page, quality, model, disc kind and the file's state
    DriveEtch etch;
  };
  std::optional<ShownEtchAnswer> shownEtch_;
  int layoutIndex_ = 0;
  int driveSelection_ = 0;
  int driveIndex_ = 0;
  BurnDisc disc_;               // the side the band goes on, as read for the last raise
  BurnBand automaticBand_;      // the automatic area worked out last
  bool automaticMarks_ = true;  // it holds marks
  bool areaStale_ = false;      // the texts changed since it was worked out
  std::string radiusText_;
  std::string timeText_;
  std::string fontText_;
  int tickTotal_ = 0;
  int previewRedraws_ = 0;
  std::unique_ptr<DriveWatcher> driveWatcher_;
  std::vector<std::string> toldNoPermission_;  // devices already told about
  bool listingNeedsMount_ = false;
  std::string statusText_;
  bool discovering_ = false;
  bool typedWhileDiscovering_[3] = {false, false, false};  // title, date, note
  std::shared_ptr<std::atomic<bool>> discoveryCancelled_;
  // The document: the layout chosen (record, name, picture), the burning
  // area and the quality. The texts as typed (texts_), the face (the
  // renderer's) and Rimtone mode (Config's) join it in Document().
  LabelDocument doc_;
  // The label's own layout and picture (an opened design's, or a layout
  // copied with a picture chosen for this label): the layout list's extra
  // entry, and the face it came with.
  LabelDocument own_;
  std::string designPath_;  // the document's file
  LabelDocument clean_;     // the document as last opened or saved
  // What Undo goes back to: the document with what the window needs to
  // show it again (which layout entry, the label's own layout, the texts
  // as the edits hold them).
  struct Snapshot {
    LabelDocument document;
    LabelDocument own;
    int layoutIndex = 0;
    LabelTexts texts;
  };
  void Restore(const Snapshot& snapshot);
  std::vector<Snapshot> history_;
  std::size_t historyAt_ = 0;
  std::vector<std::string> recent_;
  bool recentRead_ = false;
  bool toldRecentUnsaved_ = false;
};

// "%.01f - %.01f [mm]", with a point in every locale.
std::string RadiusText(double inner, double outer);

}  // namespace twr::ui
