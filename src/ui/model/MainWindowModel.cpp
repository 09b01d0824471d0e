// The main window's state and sequences.
#include "ui/model/MainWindowModel.h"

#include <QStringList>

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "burn/DocumentWarnings.h"
#include "burn/MarkedBand.h"
#include "common/DecimalText.h"
#include "common/Messages.h"
#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/WholeFile.h"
#include "drive/CELDevice.h"
#include "drive/DiscScan.h"
#include "drive/DriveReport.h"
#include "drive/DriveWatch.h"
#include "label/BandOverlay.h"
#include "label/CELLayout.h"
#include "label/LabelExport.h"
#include "label/LayoutSettings.h"
#include "ui/model/BurnSession.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::ui {

namespace {

namespace fs = std::filesystem;

constexpr const char* kLineBreak = "\r\n";
// The required time before the drive has given its page.
constexpr const char* kNoTimeYet = "--:--";
// Where the settings file keeps the recent designs: File1 the newest.
constexpr const char* kRecentSection = "RecentDesigns";

std::string RecentKey(int number) {
  return "File" + std::to_string(number);
}

// The note's lines in the order typed, without the empty ones at its end.
std::string Q(const QString& text) {
  return text.toStdString();
}
QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Fixed1(double value) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string RadiusText(double inner, double outer) {
  return Fixed1(inner) + " - " + Fixed1(outer) + " [mm]";
}

MainWindowModel::MainWindowModel(CELLayout& layout, CELDevice& device, BurnSession& burn,
                                 TitleConfigModel& config, Messages& messages)
    : layout_(layout), device_(device), burn_(burn), config_(config), messages_(messages) {
  burn_.SetSettingsPath(layout_.SettingsPath());
}

MainWindowModel::~MainWindowModel() = default;

OpeningResult MainWindowModel::OpenLayouts() {
  if (!CELDevice::IsPassThroughAvailable()) {
    messages_.ShowString(kStrNoPassThrough, MessageIcon::Error);
    return OpeningResult::NoPassThrough;
  }
  if (!layout_.LoadLayoutNames(layoutNames_)) {
    SettingsLocation settings = settings_;
    if (settings.path.empty()) settings.path = layout_.SettingsPath();
    messages_.ShowDetailed(StringText(kStrCannotLoadIni), NoLayoutsReason(settings),
                           MessageIcon::Error);
    return OpeningResult::NoLayouts;
  }
  TakeLayout(0);
  RefreshLabel(false);
  fontText_ = layout_.FontFace();
  radiusText_ = ui::RadiusText(doc_.innerRadius, doc_.outerRadius);
  timeText_ = kNoTimeYet;  // the drive's page gives it
  MarkClean();
  return OpeningResult::Ready;
}

// What discovery gathers: the drives, the first drive's disc texts and
// listing, and the required time for the band it was asked for.
struct MainWindowModel::Discovery {
  std::shared_ptr<std::atomic<bool>> cancelled;
  int count = 0;
  std::vector<DriveReport> reports;
  std::vector<std::string> items;
  DiscTexts disc;
  std::vector<std::string> lines;
  bool needsMount = false;
  double inner = 0.0, outer = 0.0;
  BurnQuality quality = BurnQuality::Draft;
  double minutes = 0.0;
};

OpeningResult MainWindowModel::Open() {
  const OpeningResult layouts = OpenLayouts();
  if (layouts != OpeningResult::Ready) return layouts;
  Discovery found;
  RunDrive([&] { Discover(device_, burn_, found); });
  return ApplyDiscovery(found);
}

void MainWindowModel::Discover(CELDevice& device, BurnSession& burn, Discovery& found) {
  auto cancelled = [&] { return found.cancelled && found.cancelled->load(); };
  found.count = device.SurveyDrives(found.reports);
  for (int i = 0; i < found.count; ++i) found.items.push_back(device.GetDriveItem(i));
  if (found.count == 0 || cancelled()) return;
  found.disc = LoadDiscTexts(device);  // no disc leaves title and date empty
  if (cancelled()) return;
  found.lines =
      ScanEntryLines(device, ScanLetter(found.items[0]), kMaxScanLines, &found.needsMount);
  if (cancelled()) return;
  found.minutes = burn.EstimateRequiredTime(found.inner, found.outer, found.quality);
}

OpeningResult MainWindowModel::ApplyDiscovery(const Discovery& found) {
  discovering_ = false;
  TellNoPermission(found.reports, found.count == 0);
  if (found.count == 0) return OpeningResult::NoDrive;
  driveItems_ = found.items;
  driveSelection_ = 0;
  driveIndex_ = 0;
  listingNeedsMount_ = found.needsMount;

  // The disc's texts go only into the fields nobody has typed in meanwhile.
  bool filled = false;
  if (found.disc.ready) {
    if (!typedWhileDiscovering_[0] && !found.disc.title.empty()) {
      texts_.SetTitle(found.disc.title);
      filled = true;
    }
    if (!typedWhileDiscovering_[1] && !found.disc.date.empty()) {
      texts_.SetDate(found.disc.date);
      filled = true;
    }
  }
  if (!typedWhileDiscovering_[2] && !found.lines.empty()) {
    const int room = kMaxScanLines - scanLines_;
    std::string note = texts_.Note();
    int added = 0;
    for (const std::string& line : found.lines) {
      if (added == room) break;
      note += line + kLineBreak;
      ++added;
    }
    texts_.SetNote(note);
    scanLines_ += added;
    filled = filled || added > 0;
  }
  if (filled) {
    RefreshLabel(false);
    MarkCleanWithoutFile();
  }
  // The time for the band as it is now (a layout chosen meanwhile has its own).
  if (found.inner == doc_.innerRadius && found.outer == doc_.outerRadius &&
      found.quality == BurnQualityOf(doc_.quality))
    timeText_ = MinutesText(found.minutes);
  else
    UpdateStatusTexts();
  radiusText_ = ui::RadiusText(doc_.innerRadius, doc_.outerRadius);
  UpdateAutomaticArea();
  return OpeningResult::Ready;
}

void MainWindowModel::StartDriveDiscovery(std::function<void(OpeningResult)> done) {
  discovering_ = true;
  for (bool& typed : typedWhileDiscovering_) typed = false;
  discoveryCancelled_ = std::make_shared<std::atomic<bool>>(false);
  auto found = std::make_shared<Discovery>();
  found->cancelled = discoveryCancelled_;
  found->inner = doc_.innerRadius;
  found->outer = doc_.outerRadius;
  found->quality = BurnQualityOf(doc_.quality);
  CELDevice& device = device_;
  BurnSession& burn = burn_;
  startDrive_([&device, &burn, found] { Discover(device, burn, *found); },
              [this, found, done = std::move(done)] {
                if (found->cancelled->load()) return;
                const OpeningResult result = ApplyDiscovery(*found);
                if (result == OpeningResult::Ready) emit Changed();
                if (done) done(result);
              });
}

bool MainWindowModel::RefusedWhileDiscovering() {
  if (!discovering_) return false;
  statusText_ = tr("Still looking for drives: Scan, Config and Burn wait until the drive list "
                   "is filled.")
                    .toStdString();
  emit Changed();
  return true;
}

void MainWindowModel::CancelDiscovery() {
  if (discoveryCancelled_) discoveryCancelled_->store(true);
}

void MainWindowModel::ReadControls(std::string_view title, std::string_view date,
                                   std::string_view note) {
  texts_.SetTitle(title);
  texts_.SetDate(date);
  texts_.SetNote(note);
}

void MainWindowModel::TextChanged(TextKind kind) {
  statusText_.clear();  // a status about the texts is old news once they change
  switch (kind) {
    case TextKind::Title:
      if (texts_.Title() == lastTitle_) return;
      lastTitle_ = texts_.Title();
      layout_.Title = lastTitle_;
      titleChanged_ = true;
      typedWhileDiscovering_[0] = discovering_;
      break;
    case TextKind::Date:
      if (texts_.Date() == lastDate_) return;
      lastDate_ = texts_.Date();
      layout_.Date = lastDate_;
      dateChanged_ = true;
      typedWhileDiscovering_[1] = discovering_;
      break;
    case TextKind::Note:
      if (texts_.Note() == lastNote_) return;
      lastNote_ = texts_.Note();
      // Drawn in typed order until the next refresh puts folders first.
      texts_.SplitNoteLines();
      layout_.NoteLines = texts_.NoteLines();
      noteChanged_ = true;
      typedWhileDiscovering_[2] = discovering_;
      break;
  }
}

bool MainWindowModel::QrTyped(std::string_view text) {
  if (!texts_.SetQr(text)) return false;
  statusText_.clear();
  layout_.QrText = texts_.Qr();  // {n} and {N} are filled in for a burn
  qrChanged_ = true;
  return true;
}

bool MainWindowModel::LayoutHasQrBox() const {
  return layout_.Layout().Qr.Size > 0;
}

std::string MainWindowModel::QrFromTexts() const {
  std::vector<std::string> lines{texts_.Title(), texts_.Date()};
  for (const std::string& line : texts_.NoteLines()) lines.push_back(line);
  std::string text;
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const std::string_view comma = text.empty() ? "" : ", ";
    if (text.size() + comma.size() + line.size() > kQrMaxBytes) break;
    text.append(comma).append(line);
  }
  return text;
}

bool MainWindowModel::DrawTypedTexts() {
  if (!AnyChanged()) return false;
  // All three boxes and the ring text, whichever text changed.
  layout_.ClearPreview(kPreviewSide, kPreviewSide);
  layout_.DrawTitlePreview();
  titleChanged_ = false;
  layout_.DrawDatePreview();
  dateChanged_ = false;
  layout_.DrawNotePreview();
  noteChanged_ = false;
  qrChanged_ = false;
  layout_.DrawRingPreview();
  layout_.DrawQrPreview();
  ++previewRedraws_;
  areaStale_ = doc_.automaticArea;
  return true;
}

bool MainWindowModel::RedrawTypedTexts() {
  if (!DrawTypedTexts()) return false;
  emit Changed();
  return true;
}

MainWindowModel::TickResult MainWindowModel::TimerTick() {
  TickResult result;
  // While the drives are being looked for, the drive is the worker's.
  if (!discovering_ && driveWatcher_ && driveWatcher_->TakeChange())
    result.drivesChanged = RefreshDrives();
  result.redrawn = DrawTypedTexts();
  // The automatic area follows the texts here, not at every keystroke: it
  // draws the full label.
  if (areaStale_) {
    areaStale_ = false;
    UpdateAutomaticArea();
    result.redrawn = true;
  }
  tickTotal_ += kTickMs;
  if (tickTotal_ >= kAutoScanMs && !discovering_) {
    tickTotal_ = 0;
    if (AllTextsEmpty() && ReadDiscTexts()) {
      Scan(false);
      result.scanned = true;
    }
  }
  if (result.redrawn || result.scanned) emit Changed();
  return result;
}

void MainWindowModel::ApplyLayoutChoice(int index) {
  TakeLayout(index);
  // The layout's own radii, as a layout chosen brings them.
  doc_.innerRadius = doc_.layout.InnerRadius;
  doc_.outerRadius = doc_.layout.OuterRadius;
  if (Rimtone()) RaiseInnerForRimtone();
  Draw(false, true);
  UpdateStatusTexts();
  emit Changed();
}

bool MainWindowModel::ApplyDriveChoice() {
  if (discovering_) return false;  // the drive is discovery's until it ends
  const bool listed =
      driveSelection_ >= 0 && driveSelection_ < static_cast<int>(driveItems_.size());
  const std::string text = listed ? driveItems_[static_cast<std::size_t>(driveSelection_)] : "";
  if (text.empty()) {
    messages_.ShowString(kStrDriveNotFound, MessageIcon::Error);
    return false;
  }
  driveIndex_ = driveSelection_;
  RunDrive([&] {
    device_.SelectDrive(text, driveIndex_);
    device_.TestUnitReadyTries();
  });
  return true;
}

bool MainWindowModel::DriveChoiceChanged(int selection) {
  driveSelection_ = selection;
  // With text in the window the new drive waits for the next Scan or Burn.
  if (!AllTextsEmpty()) return false;
  return ApplyDriveChoice() && ReadDiscTexts() && ScanDisc();
}

bool MainWindowModel::ReadDiscTexts() {
  DiscTexts disc;
  RunDrive([&] { disc = LoadDiscTexts(device_); });
  if (!disc.ready) return false;
  texts_.SetTitle(disc.title);
  texts_.SetDate(disc.date);
  return true;
}

void MainWindowModel::ListDiscEntries() {
  const bool listed =
      driveSelection_ >= 0 && driveSelection_ < static_cast<int>(driveItems_.size());
  const char letter =
      ScanLetter(listed ? driveItems_[static_cast<std::size_t>(driveSelection_)] : "");
  std::vector<std::string> lines;
  const int room = kMaxScanLines - scanLines_;
  RunDrive([&] { lines = ScanEntryLines(device_, letter, room, &listingNeedsMount_); });
  if (lines.empty()) return;
  std::string note = texts_.Note();
  for (const std::string& line : lines) note += line + kLineBreak;
  texts_.SetNote(note);
  scanLines_ += static_cast<int>(lines.size());
}

bool MainWindowModel::ScanDisc() {
  if (!Scan(true)) return false;
  emit Changed();
  return true;
}

bool MainWindowModel::Scan(bool asked) {
  // The texts as they were, for a scan that brings nothing.
  const std::string title = texts_.Title();
  const std::string date = texts_.Date();
  const std::string note = texts_.Note();
  const int scanLines = scanLines_;
  auto keep = [&] {
    texts_.SetTitle(title);
    texts_.SetDate(date);
    texts_.SetNote(note);
    texts_.SplitNoteLines();
    scanLines_ = scanLines;
  };
  texts_.SetTitle("");
  texts_.SetDate("");
  texts_.SetNote("");
  if (!ApplyDriveChoice()) {
    keep();
    return false;
  }
  if (!ReadDiscTexts()) {
    keep();
    messages_.ShowString(kStrScanNoDisc, MessageIcon::Error);
    return false;
  }
  texts_.SetNote("");
  texts_.SplitNoteLines();
  scanLines_ = 0;
  ListDiscEntries();
  if (texts_.Title().empty() && texts_.Date().empty() && scanLines_ == 0) {
    // A disc without a volume name, a date or files (a label side, a blank
    // disc): nothing replaces what the window holds.
    keep();
    // The automatic scan of an empty window keeps quiet: there was nothing to keep.
    if (asked)
      statusText_ = tr("Scan found no volume name, date or files on the disc; the texts were kept.")
                        .toStdString();
    return true;
  }
  statusText_.clear();
  // The preview shows what the scan brought at once, also where it emptied
  // a text.
  RefreshLabel(true);
  MarkCleanWithoutFile();
  return true;
}

EtchTone MainWindowModel::PictureEtchTone() {
  if (doc_.picture.PlainTone()) return {};
  return ShownDriveEtch(burn_.Sequence().Page(), BurnQualityOf(doc_.quality)).tone;
}

bool MainWindowModel::Draw(bool label, bool preview, int number, int count) {
  // The texts as the label holds them: the note's folders first (the edit
  // shows that order from now on). The next edit is compared with them.
  texts_.PublishLabelTexts(layout_);
  lastTitle_ = texts_.Title();
  lastDate_ = texts_.Date();
  lastNote_ = texts_.Note();
  return DrawAsTyped(label, preview, number, count);
}

bool MainWindowModel::DrawAsTyped(bool label, bool preview, int number, int count) {
  DocumentRender how;
  how.label = label;
  how.previewSide = preview ? kPreviewSide : 0;
  how.discNumber = number;
  how.discCount = count;
  how.tone = PictureEtchTone();
  if (preview) ++previewRedraws_;
  return layout_.Render(Document(), how);
}

void MainWindowModel::RefreshLabel(bool keepRadii) {
  if (!keepRadii) {
    doc_.innerRadius = doc_.layout.InnerRadius;
    doc_.outerRadius = doc_.layout.OuterRadius;
  }
  if (Rimtone()) RaiseInnerForRimtone();
  Draw(true, true);
  // The preview holds every text now: the next tick has nothing to redraw.
  titleChanged_ = dateChanged_ = noteChanged_ = qrChanged_ = false;
}

void MainWindowModel::UpdateStatusTexts() {
  radiusText_ = ui::RadiusText(doc_.innerRadius, doc_.outerRadius);
  // The time comes from the drive, which discovery has for now: it is
  // worked out when discovery ends.
  if (discovering_) return;
  double minutes = 0.0;
  // (The estimate reads the drive's page, which the automatic area plans from.)
  RunDrive([&] {
    minutes =
        burn_.EstimateRequiredTime(doc_.innerRadius, doc_.outerRadius, BurnQualityOf(doc_.quality));
  });
  timeText_ = MinutesText(minutes);
  UpdateAutomaticArea();
}

BurnDisc MainWindowModel::ShownDisc() const {
  if (!Rimtone()) return BurnDisc::LabelSide();
  return disc_.dataSide ? disc_ : BurnDisc::DataSide(doc_.innerRadius);
}

BurnBand MainWindowModel::ShownBand() const {
  return doc_.automaticArea ? automaticBand_ : BurnBand{doc_.innerRadius, doc_.outerRadius};
}

void MainWindowModel::DrawFullLabelAsTyped() {
  // The note the user is typing keeps its order (folders go first only on
  // the label).
  DrawAsTyped(true, false);
}

void MainWindowModel::UpdateAutomaticArea() {
  if (!doc_.automaticArea || discovering_) return;
  DrawFullLabelAsTyped();
  const BurnTarget target{
      {doc_.innerRadius, doc_.outerRadius}, ShownDisc(), BurnQualityOf(doc_.quality)};
  AutomaticArea area = PlanAutomaticArea(burn_.Sequence().Page(), layout_.LabelImageData(), target);
  // A drive without a usable page has no time to give: the band is shown
  // as the example drive would burn it.
  if (!area.plan.HasTime())
    area = PlanAutomaticArea(ExampleEtchPage(), layout_.LabelImageData(), target);
  automaticMarks_ = area.marks.marks;
  automaticBand_ = area.band;
  radiusText_ = ui::RadiusText(area.band.inner, area.band.outer);
  const BurnTarget chosen{area.band, target.disc, target.quality};
  timeText_ =
      MinutesText(automaticMarks_ ? burn_.Sequence().PlanFromPage(chosen).requiredTime : 0.0);
  const std::string blank = NothingMarksText(target.quality);
  if (!automaticMarks_)
    statusText_ = blank;
  else if (statusText_ == blank)
    statusText_.clear();
}

BurnQuality MainWindowModel::QualityOfBurn() const {
  return BurnQualityOf(doc_.quality);
}

bool MainWindowModel::SetQuality(DesignQuality quality) {
  if (quality == doc_.quality) return false;
  doc_.quality = quality;
  // Fit to etch follows the quality.
  if (HasOwnPicture() && own_.picture.tone == PictureTone::Auto) RedrawPreview();
  UpdateStatusTexts();
  emit Changed();
  return true;
}

void MainWindowModel::RaiseInnerForRimtone() {
  if (discovering_) return;  // the drive is discovery's; its end draws again
  RunDrive([&] { disc_ = ReadBurnDisc(device_, true); });
  doc_.innerRadius = BandInnerOn(disc_, doc_.innerRadius);
}

void MainWindowModel::WatchDrives(std::unique_ptr<DriveChangeSource> source) {
  driveWatcher_.reset();
  if (source) driveWatcher_ = std::make_unique<DriveWatcher>(std::move(source));
  // The burn dialog follows the same changes with its own count.
  burn_.SetDriveChanges(
      [this]() -> std::uint64_t { return driveWatcher_ ? driveWatcher_->Changes() : 0; });
}

bool MainWindowModel::RefreshDrives() {
  auto item = [this](int index) {
    return index >= 0 && index < static_cast<int>(driveItems_.size())
               ? driveItems_[static_cast<std::size_t>(index)]
               : std::string();
  };
  const std::string chosen = item(driveSelection_);
  const std::string applied = item(driveIndex_);
  std::vector<DriveReport> reports;
  std::vector<std::string> items;
  RunDrive([&] {
    const int count = device_.SurveyDrives(reports);
    for (int i = 0; i < count; ++i) items.push_back(device_.GetDriveItem(i));
  });
  const bool changed = items != driveItems_;
  driveItems_ = std::move(items);
  auto find = [this](const std::string& text, int fallback) {
    const auto it = std::find(driveItems_.begin(), driveItems_.end(), text);
    return it == driveItems_.end() ? fallback : static_cast<int>(it - driveItems_.begin());
  };
  driveSelection_ = find(chosen, 0);
  driveIndex_ = find(applied, driveSelection_);
  // The list was built again with the first drive open: the applied one is.
  RunDrive([&] { device_.OpenDrive(driveIndex_); });
  TellNoPermission(reports, false);
  return changed;
}

void MainWindowModel::TellNoPermission(const std::vector<DriveReport>& reports, bool noDrive) {
  std::vector<DriveReport> untold;
  for (const DriveReport& r : reports) {
    if (r.reason != DriveReason::NoPermission) continue;
    if (std::find(toldNoPermission_.begin(), toldNoPermission_.end(), r.device) !=
        toldNoPermission_.end())
      continue;
    toldNoPermission_.push_back(r.device);
    untold.push_back(r);
  }
  const std::string notice = NoPermissionNotice(untold);
  if (noDrive && notice.empty())
    messages_.ShowString(kStrDriveNotFound, MessageIcon::Error);
  else if (noDrive)
    messages_.ShowDetailed(StringText(kStrDriveNotFound), notice, MessageIcon::Error);
  else if (!notice.empty())
    messages_.Show(notice, MessageIcon::Warning);
}

bool MainWindowModel::AllTextsEmpty() const {
  return texts_.Title().empty() && texts_.Date().empty() && texts_.Note().empty();
}

TitleConfigValues MainWindowModel::ConfigValues() const {
  return {Rimtone(), doc_.innerRadius, doc_.outerRadius, layout_.FontFace(), doc_.automaticArea};
}

void MainWindowModel::ConfigAccepted(const TitleConfigValues& values) {
  doc_.innerRadius = values.inner;
  doc_.outerRadius = values.outer;
  doc_.automaticArea = values.automaticArea;
  fontText_ = values.font;
  // The face is used from now on, even when the file cannot keep it.
  if (!layout_.SaveFontSetting(values.font))
    messages_.ShowString(kStrCannotSaveIni, MessageIcon::Error);
  UpdateStatusTexts();
  DrawAsTyped(false, true);
  emit Changed();
}

bool MainWindowModel::PrepareBurn() {
  if (!ReadyToBurn()) {
    emit Changed();  // the texts as read, cut to their limits
    return false;
  }
  return true;
}

bool MainWindowModel::ReadyToBurn() {
  if (!ApplyDriveChoice()) return false;
  if (AllTextsEmpty()) {
    messages_.ShowString(kStrNoText, MessageIcon::Error);
    return false;
  }
  StepResult faced = StepResult::Failed;
  RunDrive([&] { faced = burn_.Sequence().FaceDisc(Rimtone()); });
  if (faced != StepResult::Go) return false;
  if (Rimtone())
    RaiseInnerForRimtone();
  else
    disc_ = BurnDisc::LabelSide();
  Draw(true, false);
  burn_.SetDriveIndex(driveIndex_);
  burn_.SetDocument(Document());
  burn_.SetDisc(disc_);
  burn_.SetLabelImage(layout_.LabelImageData());
  // Each disc of a series: the label drawn again with its {n} and {N}; the
  // texts go back to disc 1 of 1 for the preview.
  burn_.SetLabelMaker([this](int number, int count) {
    Draw(true, false, number, count);
    QImage label = layout_.LabelImageData();
    texts_.PublishLabelTexts(layout_);
    return label;
  });
  return true;
}

void MainWindowModel::AfterBurn() {
  DrawAsTyped(false, true);
  emit Changed();
}

bool MainWindowModel::PrepareCalibration() {
  if (!ApplyDriveChoice()) return false;
  burn_.SetDriveIndex(driveIndex_);
  burn_.SetDocument(Document());
  burn_.SetDisc(BurnDisc::LabelSide());
  burn_.SetLabelImage(QImage());
  burn_.SetLabelMaker({});
  return true;
}

void MainWindowModel::AfterCalibration() {
  RedrawPreview();
  if (!burn_.KeptCalibration().empty())
    statusText_ = Q(tr("Calibration kept: %1").arg(Q(burn_.KeptCalibration())));
  emit Changed();
}

DriveEtch MainWindowModel::ShownDriveEtch(const ElsPage& page, BurnQuality quality) {
  const bool listed = driveIndex_ >= 0 && driveIndex_ < static_cast<int>(driveItems_.size());
  if (listed && !discovering_) {
    const std::string& item = driveItems_[static_cast<std::size_t>(driveIndex_)];
    if (item != modelItem_) {
      std::string revision;
      RunDrive([&] {
        device_.SelectDrive(item, driveIndex_);
        device_.ReadInquiryStrings(modelVendor_, modelProduct_, revision);
      });
      modelItem_ = item;
    }
  }
  const bool known = listed && modelItem_ == driveItems_[static_cast<std::size_t>(driveIndex_)];
  const std::string vendor = known ? modelVendor_ : std::string();
  const std::string product = known ? modelProduct_ : std::string();
  const BurnDisc disc = ShownDisc();
  // Asked again only when something it depends on changed: the settings
  // file is read once per change of it (a calibration kept, Config saved,
  // another program's edit), not on every redraw.
  std::string key(reinterpret_cast<const char*>(page.Bytes().data()), page.Bytes().size());
  key += '\n' + std::to_string(static_cast<int>(quality)) + '\n' + vendor + '\n' + product + '\n' +
         CalibrationDiscKind(disc) + '\n' + FileState(layout_.SettingsPath());
  if (shownEtch_ && shownEtch_->key == key) return shownEtch_->etch;
  shownEtch_ = ShownEtchAnswer{
      std::move(key), DriveEtchFor(page, quality, ProfileFile::Load(layout_.SettingsPath()), vendor,
                                   product, disc)};
  return shownEtch_->etch;
}

std::vector<LabelWarning> MainWindowModel::Warnings() const {
  // The QR code at the quality the preview shows, as the etched view draws it.
  std::vector<LabelWarning> warnings = DocumentWarnings(
      layout_, texts_.Note(), ExampleEtchPage(),
      {ShownDisc(), doc_.automaticArea, ShownBand(), {BurnQualityOf(doc_.quality)}});
  // An opened design's face missing here (while it is the face in use) and
  // the picture its own layout could not use when it was saved.
  LabelDocument held;
  held.fontFace = layout_.FontFace() == own_.fontFace ? own_.fontFace : std::string();
  held.background = own_.background;
  for (std::string& text : DesignWarnings(held, layoutIndex_ == kGivenLayout))
    warnings.push_back({LabelWarning::Kind::Background, std::move(text)});
  return warnings;
}

std::vector<LabelWarning> MainWindowModel::WarningsBeforeBurn() const {
  // Without texts Burn refuses anyway ("Scan or input text data.").
  if (AllTextsEmpty()) return {};
  return Warnings();
}

// ---- The layout designer ---------------------------------------------------------

const std::string& MainWindowModel::SettingsPath() const {
  return layout_.SettingsPath();
}

bool MainWindowModel::LayoutsSaved(int select) {
  std::vector<std::string> names;
  if (!layout_.LoadLayoutNames(names)) return false;
  layoutNames_ = std::move(names);
  ApplyLayoutChoice(std::clamp(select, 0, static_cast<int>(layoutNames_.size()) - 1));
  return true;
}

QImage MainWindowModel::PreviewWithBand() const {
  const QImage& preview = layout_.PreviewImage().Image();
  if (preview.isNull()) return QImage();
  QImage shown = preview.copy();
  if (doc_.automaticArea)
    DrawAutomaticBand(shown, automaticBand_.inner, automaticBand_.outer,
                      LowestInnerRadius(ShownDisc()));
  else
    DrawBandLimits(shown, doc_.innerRadius, doc_.outerRadius);
  return shown;
}

EtchRequest MainWindowModel::EtchRequestAt(BurnQuality quality) {
  // Typing redraws only the preview: the full label is drawn here with the
  // texts as they stand (the held layout, the settings file is not read; the
  // preview's own comparison of the texts is left to the next tick).
  DrawFullLabelAsTyped();
  EtchRequest request;
  request.label = layout_.LabelImageData();
  request.target = {{doc_.innerRadius, doc_.outerRadius}, ShownDisc(), quality};
  request.page = ExampleEtchPage();
  request.response = ShownDriveEtch(request.page, quality).response;
  if (doc_.automaticArea) {
    const AutomaticArea area = PlanAutomaticArea(request.page, request.label, request.target);
    if (area.marks.marks) request.target.band = area.band;
  }
  return request;
}

// ---- Designs -------------------------------------------------------------------

bool MainWindowModel::OpenDesign(const std::string& path) {
  return LoadDocument(path, false);
}

bool MainWindowModel::NewFromTemplate(const std::string& path) {
  return LoadDocument(path, true);
}

bool MainWindowModel::LoadDocument(const std::string& path, bool asTemplate) {
  LabelDocument design;
  std::string problem;
  if (!LoadDesignFile(path, design, problem)) {
    const QString text = asTemplate ? tr("Cannot start a label from the template '%1': %2.")
                                    : tr("Cannot open the design '%1': %2.");
    messages_.Show(Q(text.arg(Q(path), Q(problem))), MessageIcon::Error);
    return false;
  }
  own_ = std::move(design);
  designPath_ = asTemplate ? std::string() : path;
  doc_.quality = own_.quality;
  doc_.legibility = own_.legibility;
  // The design's own layout record and face, whatever the settings hold.
  layout_.UseFontFace(own_.fontFace);
  ApplyDesignTexts(own_, texts_);
  scanLines_ = 0;
  // A discovery still running brings no disc texts over the design's.
  for (bool& typed : typedWhileDiscovering_) typed = typed || discovering_;
  fontText_ = own_.fontFace.empty() ? DefaultFontFace() : own_.fontFace;
  config_.SetRimtone(own_.rimtone);
  doc_.quality = own_.quality;
  TakeLayout(kGivenLayout);
  doc_.innerRadius = own_.innerRadius;
  doc_.outerRadius = own_.outerRadius;
  doc_.automaticArea = own_.automaticArea;
  RefreshLabel(true);
  // The render drew the folders first; the edit keeps the order typed, so
  // that saving again writes the note as it came.
  texts_.SetNote(DocumentNote(own_));
  lastNote_ = texts_.Note();
  UpdateStatusTexts();
  statusText_.clear();
  MarkClean();
  // Undo starts again with the label opened: it never brings back another
  // label under this one's file.
  history_.clear();
  historyAt_ = 0;
  RememberLabel();
  if (!asTemplate) AddRecentDesign(path);
  emit Changed();
  return true;
}

bool MainWindowModel::SaveAsTemplate(const std::string& path) {
  std::string problem;
  std::error_code error;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, error);
  const bool saved = !error && SaveDesignFile(path, Document(), problem);
  if (error) problem = error.message();
  if (!saved) {
    messages_.Show(Q(tr("Cannot save the template to '%1': %2.").arg(Q(path), Q(problem))),
                   MessageIcon::Error);
    return false;
  }
  statusText_ = Q(tr("The label was saved as the template %1.").arg(Q(path)));
  emit Changed();
  return true;
}

bool MainWindowModel::UseLabelPicture(const std::string& path) {
  LabelDocument label = Document();
  DesignBackground picture = BackgroundFromFile(path, label.layout.BaseLength);
  if (picture.kind != DesignBackground::Kind::Picture) {
    const std::string why = picture.problem.empty() ? "it names no file" : picture.problem;
    messages_.Show(Q(tr("Cannot use the picture '%1' for this label: %2.").arg(Q(path), Q(why))),
                   MessageIcon::Error);
    return false;
  }
  // Only the layout and its picture become the label's own: the texts, the
  // face and the area stay as the window holds them.
  label.layout.BgImage = picture.name;
  label.background = std::move(picture);
  // A picture newly chosen fills the label and is fit to the etch.
  label.picture = PictureSettings();
  label.picture.fit = PictureFit::Fill;
  label.picture.tone = PictureTone::Auto;
  own_ = std::move(label);
  TakeLayout(kGivenLayout);
  // The texts as they are (the note in the order typed); the full label is
  // drawn when it is burnt, exported or etched.
  DrawAsTyped(false, true);
  emit Changed();
  return true;
}

void MainWindowModel::TakeLayout(int index) {
  layoutIndex_ = index;
  if (index == kGivenLayout) {
    doc_.layout = own_.layout;
    doc_.layoutName = own_.layoutName;
    doc_.background = own_.background;
    doc_.picture = own_.picture;
    return;
  }
  doc_.picture = PictureSettings();  // a layout's picture lies as it always has
  const bool listed = index >= 0 && index < static_cast<int>(layoutNames_.size());
  TakeSettingsLayout(layout_.SettingsPath(), index,
                     listed ? layoutNames_[static_cast<std::size_t>(index)] : std::string(), doc_);
}

bool MainWindowModel::SetLegibility(const TextLegibility& legibility) {
  if (legibility == doc_.legibility) return false;
  doc_.legibility = legibility;
  own_.legibility = legibility;
  RedrawPreview();
  UpdateAutomaticArea();
  emit Changed();
  return true;
}

void MainWindowModel::RedrawPreview() {
  Draw(false, true);
}

bool MainWindowModel::HasOwnPicture() const {
  return layoutIndex_ == kGivenLayout && own_.background.kind == DesignBackground::Kind::Picture;
}

bool MainWindowModel::TakePictureSettings(const PictureSettings& settings) {
  if (!HasOwnPicture() || settings == own_.picture || !CheckPictureSettings(settings).empty())
    return false;
  own_.picture = settings;
  doc_.picture = settings;
  RedrawPreview();
  return true;
}

bool MainWindowModel::SetPictureSettings(const PictureSettings& settings) {
  if (!TakePictureSettings(settings)) return false;
  UpdateAutomaticArea();
  emit Changed();
  return true;
}

bool MainWindowModel::MovePicture(const PictureSettings& settings) {
  if (!TakePictureSettings(settings)) return false;
  areaStale_ = doc_.automaticArea;
  emit Changed();
  return true;
}

void MainWindowModel::EndPictureMove() {
  if (!areaStale_) return;
  areaStale_ = false;
  UpdateAutomaticArea();
  emit Changed();
}

QSize MainWindowModel::OwnPictureSize() const {
  return HasOwnPicture() ? own_.background.image.size() : QSize();
}

LabelDocument MainWindowModel::Document() const {
  LabelDocument d = doc_;
  TakeTexts(texts_, d);
  d.fontFace = layout_.FontFace();
  d.rimtone = Rimtone();
  return d;
}

// ---- Undo -------------------------------------------------------------------------

void MainWindowModel::RememberLabel() {
  Snapshot now{Document(), own_, layoutIndex_, texts_};
  if (!history_.empty() && history_[historyAt_].document == now.document) return;
  if (!history_.empty()) history_.resize(historyAt_ + 1);  // what Redo had goes
  history_.push_back(std::move(now));
  if (history_.size() > kUndoSteps) history_.erase(history_.begin());
  historyAt_ = history_.size() - 1;
}

bool MainWindowModel::Undo() {
  RememberLabel();  // what changed since it was last kept
  if (!CanUndo()) return false;
  Restore(history_[--historyAt_]);
  return true;
}

bool MainWindowModel::Redo() {
  if (!CanRedo()) return false;
  Restore(history_[++historyAt_]);
  return true;
}

void MainWindowModel::Restore(const Snapshot& snapshot) {
  own_ = snapshot.own;
  layoutIndex_ = snapshot.layoutIndex;
  doc_ = snapshot.document;
  texts_ = snapshot.texts;
  layout_.UseFontFace(snapshot.document.fontFace);
  fontText_ = snapshot.document.fontFace.empty() ? DefaultFontFace() : snapshot.document.fontFace;
  config_.SetRimtone(snapshot.document.rimtone);
  lastTitle_ = texts_.Title();
  lastDate_ = texts_.Date();
  lastNote_ = texts_.Note();
  titleChanged_ = dateChanged_ = noteChanged_ = qrChanged_ = false;
  DrawAsTyped(false, true);
  UpdateStatusTexts();
  emit Changed();
}

bool MainWindowModel::SaveDesign(const std::string& path) {
  std::string problem;
  if (!SaveDesignFile(path, Document(), problem)) {
    messages_.Show(Q(tr("Cannot save the design to '%1': %2.").arg(Q(path), Q(problem))),
                   MessageIcon::Error);
    return false;
  }
  designPath_ = path;
  MarkClean();
  AddRecentDesign(path);
  emit Changed();
  return true;
}

bool MainWindowModel::ExportLabel(const std::string& path) {
  // The full label with the texts as they stand, as for the etched view.
  Draw(true, false);
  ExportOptions options;
  const BurnBand band = ShownBand();
  options.innerRadius = band.inner;
  options.outerRadius = band.outer;
  options.title = texts_.Title();
  std::string problem;
  if (!WriteLabelFile(layout_, path, options, problem)) {
    messages_.Show(Q(tr("Cannot export the label to '%1': %2.").arg(Q(path), Q(problem))),
                   MessageIcon::Error);
    return false;
  }
  statusText_ = Q(tr("The label was exported to %1.").arg(Q(path)));
  emit Changed();
  return true;
}

const std::vector<std::string>& MainWindowModel::RecentDesigns() {
  if (!recentRead_) {
    recentRead_ = true;
    const ProfileFile profile = ProfileFile::Load(layout_.SettingsPath());
    for (int k = 1; k <= kMaxRecentDesigns; ++k) {
      const std::string path = profile.GetRaw(kRecentSection, RecentKey(k));
      if (!path.empty() && std::find(recent_.begin(), recent_.end(), path) == recent_.end())
        recent_.push_back(path);
    }
  }
  QStringList gone;
  for (auto it = recent_.begin(); it != recent_.end();) {
    std::error_code error;
    if (fs::is_regular_file(*it, error)) {
      ++it;
      continue;
    }
    gone << Q(*it);
    it = recent_.erase(it);
  }
  if (!gone.isEmpty()) {
    SaveRecentDesigns();
    messages_.ShowDetailed(
        Q(tr("These recent designs are no longer there and were taken off the list:")),
        Q(gone.join(QLatin1Char('\n'))), MessageIcon::Information);
  }
  return recent_;
}

void MainWindowModel::AddRecentDesign(const std::string& path) {
  RecentDesigns();
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  const std::string shown = error ? path : absolute.lexically_normal().string();
  // A name with a line break cannot be kept in the settings file.
  if (shown.find_first_of("\r\n") != std::string::npos) return;
  recent_.erase(std::remove(recent_.begin(), recent_.end(), shown), recent_.end());
  recent_.insert(recent_.begin(), shown);
  if (recent_.size() > static_cast<std::size_t>(kMaxRecentDesigns))
    recent_.resize(kMaxRecentDesigns);
  SaveRecentDesigns();
}

void MainWindowModel::SaveRecentDesigns() {
  ProfileSectionChange change;
  change.section = kRecentSection;
  for (int k = 1; k <= kMaxRecentDesigns; ++k) {
    const std::size_t at = static_cast<std::size_t>(k - 1);
    change.keys.push_back({RecentKey(k), at < recent_.size() ? std::optional(recent_[at])
                                                             : std::optional<std::string>()});
  }
  const std::string& settings = layout_.SettingsPath();
  const FileWriteResult written = ApplySettingsChanges(settings, {change});
  // Told once: the list lives on for this run.
  if (!written.ok && !toldRecentUnsaved_) {
    toldRecentUnsaved_ = true;
    messages_.Show(Q(tr("The list of recent designs cannot be kept in %1: %2.")
                         .arg(Q(settings), Q(written.problem))),
                   MessageIcon::Warning);
  }
}

}  // namespace twr::ui
