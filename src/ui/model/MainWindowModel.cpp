// The main window's state and sequences.
#include "ui/model/MainWindowModel.h"

#include <algorithm>
#include <charconv>

#include "burn/BurnSession.h"
#include "common/DecimalText.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "drive/DiscScan.h"
#include "label/BandOverlay.h"
#include "label/CELLayout.h"

namespace twr::ui {

namespace {

constexpr int kReadyTries = 3;
constexpr const char* kLineBreak = "\r\n";
// GET CONFIGURATION from feature 0, 32 bytes: "does a disc answer?"
constexpr int kConfigurationLength = 32;
constexpr int kNotImmediate = 0;

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
    : layout_(layout), device_(device), burn_(burn), config_(config), messages_(messages) {}

OpeningResult MainWindowModel::Open() {
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
  layoutIndex_ = 0;
  int count = 0;
  RunDrive([&] { count = device_.EnumerateDrives(); });
  if (count == 0) {
    messages_.ShowString(kStrDriveNotFound, MessageIcon::Error);
    return OpeningResult::NoDrive;
  }
  driveItems_.clear();
  for (int i = 0; i < count; ++i) driveItems_.push_back(device_.GetDriveItem(i));
  driveSelection_ = 0;
  driveIndex_ = 0;

  ReadDiscTexts();  // no disc leaves title and date empty
  ListDiscEntries();
  RefreshLabel(false);
  fontText_ = layout_.FontFace();
  UpdateStatusTexts();
  return OpeningResult::Ready;
}

void MainWindowModel::ReadControls(std::string_view title, std::string_view date,
                                   std::string_view note) {
  texts_.SetTitle(title);
  texts_.SetDate(date);
  texts_.SetNote(note);
}

void MainWindowModel::TextChanged(TextKind kind) {
  switch (kind) {
    case TextKind::Title:
      if (texts_.Title() == lastTitle_) return;
      lastTitle_ = texts_.Title();
      layout_.Title = lastTitle_;
      titleChanged_ = true;
      break;
    case TextKind::Date:
      if (texts_.Date() == lastDate_) return;
      lastDate_ = texts_.Date();
      layout_.Date = lastDate_;
      dateChanged_ = true;
      break;
    case TextKind::Note:
      if (texts_.Note() == lastNote_) return;
      lastNote_ = texts_.Note();
      // Drawn in typed order until the next refresh puts folders first.
      texts_.SplitNoteLines();
      layout_.NoteLines = texts_.NoteLines();
      noteChanged_ = true;
      break;
  }
}

MainWindowModel::TickResult MainWindowModel::TimerTick() {
  TickResult result;
  if (AnyChanged()) {
    // All three boxes and the ring text, whichever text changed.
    layout_.ClearPreview(kPreviewSide, kPreviewSide);
    layout_.DrawTitlePreview();
    titleChanged_ = false;
    layout_.DrawDatePreview();
    dateChanged_ = false;
    layout_.DrawNotePreview();
    noteChanged_ = false;
    layout_.DrawRingPreview();
    ++previewRedraws_;
    result.redrawn = true;
  }
  tickTotal_ += kTickMs;
  if (tickTotal_ >= kAutoScanMs) {
    tickTotal_ = 0;
    if (AllTextsEmpty() && ReadDiscTexts()) {
      ScanDisc();
      result.scanned = true;
    }
  }
  return result;
}

void MainWindowModel::ApplyLayoutChoice(int index) {
  layoutIndex_ = index;
  PublishLabelTexts();
  layout_.RenderPreview(layoutIndex_, kPreviewSide, kPreviewSide, false);
  ++previewRedraws_;
  const BandRadii radii = layout_.GetBandRadii();
  inner_ = radii.inner;
  outer_ = radii.outer;
  if (Rimtone()) RaiseInnerForRimtone();
  UpdateStatusTexts();
}

bool MainWindowModel::ApplyDriveChoice() {
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
    for (int i = 0; i < kReadyTries; ++i) device_.TestUnitReady();
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
  RunDrive([&] { lines = ScanEntryLines(device_, letter, room); });
  if (lines.empty()) return;
  std::string note = texts_.Note();
  for (const std::string& line : lines) note += line + kLineBreak;
  texts_.SetNote(note);
  scanLines_ += static_cast<int>(lines.size());
}

bool MainWindowModel::ScanDisc() {
  texts_.SetTitle("");
  texts_.SetDate("");
  texts_.SetNote("");
  if (!ApplyDriveChoice()) return false;
  if (!ReadDiscTexts()) {
    messages_.ShowString(kStrScanNoDisc, MessageIcon::Error);
    return false;
  }
  texts_.SetNote("");
  texts_.SplitNoteLines();
  scanLines_ = 0;
  ListDiscEntries();
  if (scanLines_ > 0) RefreshLabel(true);
  return true;
}

void MainWindowModel::PublishLabelTexts() {
  texts_.PublishLabelTexts(layout_);
}

void MainWindowModel::RefreshLabel(bool keepRadii) {
  PublishLabelTexts();
  layout_.RenderLabel(layoutIndex_, keepRadii);
  if (!keepRadii) {
    const BandRadii radii = layout_.GetBandRadii();
    inner_ = radii.inner;
    outer_ = radii.outer;
  } else if (Rimtone()) {
    RaiseInnerForRimtone();
  }
  layout_.RenderPreview(layoutIndex_, kPreviewSide, kPreviewSide, keepRadii);
  ++previewRedraws_;
}

void MainWindowModel::UpdateStatusTexts() {
  radiusText_ = ui::RadiusText(inner_, outer_);
  double minutes = 0.0;
  RunDrive([&] { minutes = burn_.EstimateRequiredTime(inner_, outer_); });
  timeText_ = MinutesText(minutes);
}

void MainWindowModel::RaiseInnerForRimtone() {
  double recorded = 0.0;
  RunDrive([&] { recorded = device_.GetRecordedOuterRadius(); });
  inner_ = std::max(inner_, recorded);
}

bool MainWindowModel::AllTextsEmpty() const {
  return texts_.Title().empty() && texts_.Date().empty() && texts_.Note().empty();
}

TitleConfigValues MainWindowModel::ConfigValues() const {
  return {Rimtone(), inner_, outer_, layout_.FontFace()};
}

void MainWindowModel::ConfigAccepted(const TitleConfigValues& values) {
  inner_ = values.inner;
  outer_ = values.outer;
  fontText_ = values.font;
  // The face is used from now on, even when the file cannot keep it.
  if (!layout_.SaveFontSetting(values.font))
    messages_.ShowString(kStrCannotSaveIni, MessageIcon::Error);
  UpdateStatusTexts();
  layout_.SetBandRadii(inner_, outer_);
  layout_.RenderPreview(layoutIndex_, kPreviewSide, kPreviewSide, true);
  ++previewRedraws_;
}

bool MainWindowModel::PrepareBurn() {
  if (!ApplyDriveChoice()) return false;
  if (AllTextsEmpty()) {
    messages_.ShowString(kStrNoText, MessageIcon::Error);
    return false;
  }
  bool answering = false;
  RunDrive([&] {
    for (int i = 0; i < kReadyTries; ++i) device_.TestUnitReady();
    if (device_.GetDiscKind() != kDiscUnknown && !Rimtone()) {
      // The data side faces the laser: out it goes, to be turned over.
      device_.StartStopUnit(kNotImmediate);
      messages_.ShowString(kStrFlipDisc, MessageIcon::Information);
    }
    for (int i = 0; i < kReadyTries; ++i) device_.TestUnitReady();
    answering = device_.GetConfiguration(0, 0, kConfigurationLength) != 0;
  });
  if (!answering) {
    messages_.ShowString(kStrDiscNotFound, MessageIcon::Error);
    return false;
  }
  PublishLabelTexts();
  layout_.RenderLabel(layoutIndex_, true);
  if (Rimtone()) RaiseInnerForRimtone();
  burn_.SetDriveIndex(driveIndex_);
  burn_.SetBand(inner_, outer_);
  burn_.SetRimtone(Rimtone());
  burn_.SetLabelImage(layout_.LabelImageData());
  return true;
}

void MainWindowModel::AfterBurn() {
  layout_.RenderPreview(layoutIndex_, kPreviewSide, kPreviewSide, true);
  ++previewRedraws_;
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
  DrawBandLimits(shown, inner_, outer_);
  return shown;
}

}  // namespace twr::ui
