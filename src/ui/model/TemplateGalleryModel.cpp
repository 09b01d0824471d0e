#include "ui/model/TemplateGalleryModel.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>

#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/Translate.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTexts.h"
#include "ui/model/EtchedPreviewModel.h"

namespace twr::ui {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxTemplateName = 100;
constexpr unsigned kMaxWorkers = 4;
// [Templates] Offered=1: the gallery was shown at a first start.
constexpr const char* kStartSection = "Templates";
constexpr const char* kOfferedKey = "Offered";

// The installed templates' names, by file name (a file not listed here
// shows its own name).
struct InstalledName {
  const char* file;
  const char* name;
};
constexpr InstalledName kInstalledNames[] = {
    {"1-plain-title", TWR_TRANSLATE_NOOP("TemplateGallery", "Plain title")},
    {"2-photo-disc", TWR_TRANSLATE_NOOP("TemplateGallery", "Photo disc")},
    {"3-data-backup", TWR_TRANSLATE_NOOP("TemplateGallery", "Data backup with its file list")},
    {"4-backup-rim", TWR_TRANSLATE_NOOP("TemplateGallery", "Backup, its list around the rim")},
    {"5-disc-set", TWR_TRANSLATE_NOOP("TemplateGallery", "A set of discs, 1 of N")},
    {"6-rimtone-band", TWR_TRANSLATE_NOOP("TemplateGallery", "Rimtone band on a data side")},
    {"7-backup-code", TWR_TRANSLATE_NOOP("TemplateGallery", "Backup with a QR code of its list")},
};

std::string ShownName(const fs::path& file, bool own) {
  std::string stem = file.stem().string();
  if (!own)
    for (const InstalledName& known : kInstalledNames)
      if (stem == known.file) return Tr("TemplateGallery", known.name);
  return stem;
}

// The .twrlabel files in `folder`, sorted by file name.
std::vector<fs::path> DesignFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code error;
  if (folder.empty() || !fs::is_directory(folder, error)) return files;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const fs::path& path = it->path();
    std::error_code kindError;
    if (path.extension() == kDesignExtension && fs::is_regular_file(path, kindError))
      files.push_back(path);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Thumbnails made in this run, by file, while the file keeps its time and size.
struct CachedThumbnail {
  fs::file_time_type written;
  std::uintmax_t size = 0;
  int side = 0;
  QImage picture;
};
std::mutex cacheMutex;
std::map<std::string, CachedThumbnail>& ThumbnailCache() {
  static std::map<std::string, CachedThumbnail> cache;
  return cache;
}

QImage Etched(const std::string& path, int side, std::string& problem) {
  LabelDocument design;
  if (!LoadDesignFile(path, design, problem)) return {};
  // A renderer of its own: the window's is never touched off its thread.
  CELLayout layout(std::string{});
  ApplyDesignLayout(design, layout);
  LabelTexts texts;
  ApplyDesignTexts(design, texts);
  texts.SetDiscNumber(1, 1);
  texts.PublishLabelTexts(layout);
  layout.LoadLayout(kGivenLayout, false);
  layout.SetBandRadii(design.innerRadius, design.outerRadius);
  if (!layout.RenderLabel(kGivenLayout, true)) {
    problem = Tr("TemplateGallery", "its layout cannot be drawn");
    return {};
  }
  EtchRequest request;
  request.label = layout.LabelImageData();
  const BurnDisc disc =
      design.rimtone ? BurnDisc::DataSide(design.innerRadius) : BurnDisc::LabelSide();
  request.target = {{BandInnerOn(disc, design.innerRadius), design.outerRadius},
                    disc,
                    BurnQualityOf(design.quality)};
  request.page = ExampleEtchPage();
  if (design.automaticArea) {
    const AutomaticArea area = PlanAutomaticArea(request.page, request.label, request.target);
    if (area.marks.marks) request.target.band = area.band;
  }
  const EtchResult etched = SimulateEtchPreview(request);
  if (!etched.ok) {
    problem = etched.problem;
    return {};
  }
  return etched.picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

std::string UserTemplateFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  fs::path base;
  if (data != nullptr && fs::path(data).is_absolute()) {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home != nullptr ? home : "") / ".local" / "share";
  }
  return (base / "titlewright" / "templates").string();
}

std::vector<std::string> InstalledTemplateFolders(const std::string& programFolder) {
  const fs::path bin(programFolder);
  const fs::path below = fs::path("share") / "titlewright" / "templates";
  return {(bin.parent_path() / below).lexically_normal().string(),
          (bin.parent_path().parent_path() / below).lexically_normal().string()};
}

std::vector<TemplateEntry> ListTemplates(const std::vector<std::string>& installedFolders,
                                         const std::string& userFolder) {
  std::vector<TemplateEntry> entries;
  for (const std::string& folder : installedFolders) {
    const std::vector<fs::path> files = DesignFiles(folder);
    if (files.empty()) continue;
    for (const fs::path& file : files) entries.push_back({file.string(), ShownName(file, false)});
    break;
  }
  for (const fs::path& file : DesignFiles(userFolder))
    entries.push_back({file.string(), ShownName(file, true), true});
  return entries;
}

bool TemplateFileFor(const std::string& folder, const std::string& name, std::string& path,
                     std::string& problem) {
  if (name.empty()) {
    problem = Tr("TemplateGallery", "Give the template a name.");
    return false;
  }
  if (name.find('/') != std::string::npos || name.front() == '.' ||
      name.find_first_of("\r\n") != std::string::npos) {
    problem = Tr("TemplateGallery",
                 "A template's name cannot hold a slash or a line break, nor start with a dot.");
    return false;
  }
  if (name.size() > kMaxTemplateName) {
    problem = Tr("TemplateGallery", "A template's name can be at most 100 bytes long.");
    return false;
  }
  path = (fs::path(folder) / (name + kDesignExtension)).string();
  return true;
}

bool TemplatesOffered(const std::string& settingsPath) {
  return !ProfileFile::Load(settingsPath).GetRaw(kStartSection, kOfferedKey).empty();
}

bool MarkTemplatesOffered(const std::string& settingsPath) {
  ProfileSectionChange change;
  change.section = kStartSection;
  change.keys.push_back({kOfferedKey, std::optional<std::string>("1")});
  return ApplySettingsChanges(settingsPath, {change}).ok;
}

QImage TemplateThumbnail(const std::string& path, int side, std::string& problem) {
  std::error_code error;
  const fs::file_time_type written = fs::last_write_time(path, error);
  const std::uintmax_t size = error ? 0 : fs::file_size(path, error);
  {
    const std::lock_guard lock(cacheMutex);
    const auto found = ThumbnailCache().find(path);
    if (!error && found != ThumbnailCache().end() && found->second.written == written &&
        found->second.size == size && found->second.side == side)
      return found->second.picture;
  }
  QImage picture = Etched(path, side, problem);
  if (!error && !picture.isNull()) {
    const std::lock_guard lock(cacheMutex);
    ThumbnailCache()[path] = {written, size, side, picture};
  }
  return picture;
}

void ForgetTemplateThumbnails() {
  const std::lock_guard lock(cacheMutex);
  ThumbnailCache().clear();
}

TemplateGalleryModel::TemplateGalleryModel(std::vector<TemplateEntry> entries, int side,
                                           QObject* parent)
    : QObject(parent),
      entries_(std::move(entries)),
      side_(side),
      thumbnails_(entries_.size()),
      problems_(entries_.size()),
      pending_(static_cast<int>(entries_.size())) {
  const unsigned cores = std::thread::hardware_concurrency();
  const std::size_t count =
      std::min(entries_.size(), static_cast<std::size_t>(std::clamp(cores, 1U, kMaxWorkers)));
  for (std::size_t i = 0; i < count; ++i) workers_.emplace_back(&TemplateGalleryModel::Work, this);
}

TemplateGalleryModel::~TemplateGalleryModel() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  for (std::thread& worker : workers_) worker.join();
}

QImage TemplateGalleryModel::Thumbnail(int index) const {
  const std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(thumbnails_.size())) return {};
  return thumbnails_[static_cast<std::size_t>(index)];
}

std::string TemplateGalleryModel::Problem(int index) const {
  const std::lock_guard lock(mutex_);
  if (index < 0 || index >= static_cast<int>(problems_.size())) return {};
  return problems_[static_cast<std::size_t>(index)];
}

int TemplateGalleryModel::Pending() const {
  const std::lock_guard lock(mutex_);
  return pending_;
}

void TemplateGalleryModel::Work() {
  for (;;) {
    std::size_t i = 0;
    {
      const std::lock_guard lock(mutex_);
      if (stopping_ || next_ >= entries_.size()) return;
      i = next_++;
    }
    std::string problem;
    QImage picture = TemplateThumbnail(entries_[i].path, side_, problem);
    {
      const std::lock_guard lock(mutex_);
      thumbnails_[i] = std::move(picture);
      problems_[i] = std::move(problem);
      --pending_;
    }
    const int index = static_cast<int>(i);
    // A queued call to this object is dropped if it is gone by then.
    QMetaObject::invokeMethod(
        this, [this, index] { emit ThumbnailReady(index); }, Qt::QueuedConnection);
  }
}

}  // namespace twr::ui
