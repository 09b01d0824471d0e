// The templates a new label starts from: the design files installed with the
// program and the user's own, listed by name, each with a thumbnail of the
// disc as a burn of it would etch. The thumbnails are worked out one after
// another on a thread of their own, so the gallery shows its names at once
// and the pictures fill in; a thumbnail made once is kept for the run while
// its file stays as it was.
#pragma once

#include <QImage>
#include <QObject>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace twr::ui {

struct TemplateEntry {
  std::string path;
  std::string name;  // as shown: an installed template's own name, a user's file name
  bool own = false;  // one of the user's own ("Save as Template…")
};

// The user's templates: $XDG_DATA_HOME/titlewright/templates, or
// ~/.local/share/titlewright/templates when it is unset or not absolute.
std::string UserTemplateFolder();
// Where the installed templates may be, for the program in `programFolder`:
// share/titlewright/templates beside its bin folder (an installed program),
// then the build tree's share/titlewright/templates (the program in
// <build>/src/app).
std::vector<std::string> InstalledTemplateFolders(const std::string& programFolder);
// The .twrlabel files of the first installed folder that holds any, then those
// in `userFolder` (own), each part sorted by name. Folders that are not
// there give nothing.
std::vector<TemplateEntry> ListTemplates(const std::vector<std::string>& installedFolders,
                                         const std::string& userFolder);

// The file a template named `name` is saved to in `folder`: NAME.twrlabel.
// False with the reason for a name that cannot be a file name (empty, with
// a slash, starting with a dot, or longer than 100 bytes).
bool TemplateFileFor(const std::string& folder, const std::string& name, std::string& path,
                     std::string& problem);

// The disc of the design at `path` as a burn of it would etch it at its
// quality (a Rimtone design on a data side, the automatic area when it is
// made for it), scaled to `side` pixels. Null with `problem` when the file
// or its label cannot be used.
QImage TemplateThumbnail(const std::string& path, int side, std::string& problem);
// Forgets the thumbnails kept for this run (a measure of the first opening).
void ForgetTemplateThumbnails();

// The first start: the settings file has not yet been marked as having
// offered the templates (MarkTemplatesOffered). The window opens the
// gallery then, when no design was named and none was opened before.
bool TemplatesOffered(const std::string& settingsPath);
// Marks the settings file; false when it could not be written.
bool MarkTemplatesOffered(const std::string& settingsPath);

class TemplateGalleryModel : public QObject {
  Q_OBJECT

 public:
  TemplateGalleryModel(std::vector<TemplateEntry> entries, int side, QObject* parent = nullptr);
  ~TemplateGalleryModel() override;

  const std::vector<TemplateEntry>& Entries() const { return entries_; }
  // Entry `index`'s thumbnail; null while it is being made or when it
  // could not be (Problem says why then).
  QImage Thumbnail(int index) const;
  std::string Problem(int index) const;
  // Thumbnails still to come.
  int Pending() const;

 signals:
  // On the model's thread, once entry `index`'s thumbnail is done.
  void ThumbnailReady(int index);

 private:
  void Work();

  std::vector<TemplateEntry> entries_;
  int side_;
  mutable std::mutex mutex_;
  bool stopping_ = false;
  std::vector<QImage> thumbnails_;
  std::vector<std::string> problems_;
  int pending_ = 0;
  std::size_t next_ = 0;  // the next entry a worker takes
  std::vector<std::thread> workers_;
};

}  // namespace twr::ui
