// The layouts of one settings file as the layout designer and `twr layout`
// edit them: read once together with the file's text, changed in memory,
// and saved under the file's edit lock into the file as it is then, by
// rewriting only the keys of the [LayoutNN] sections that this edit changed
// and [Config] LayoutNum, in one atomic replace, every other byte of the
// file kept (comments, spacing, key order, line ends, duplicate sections,
// the virtual drive's section, other programs' changes). Background
// pictures chosen for a layout are copied into the file's bg/ folder, so
// that the file and its pictures move together.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/WholeFile.h"
#include "label/LayoutDefinition.h"

namespace twr {

class LayoutFile {
 public:
  LayoutFile();
  ~LayoutFile();
  LayoutFile(LayoutFile&&) noexcept;
  LayoutFile& operator=(LayoutFile&&) noexcept;

  // Takes the edit lock of the settings file at `path` and holds it until
  // this object goes, so that a Read, a change and a Save (`twr layout`)
  // see nothing of another program's in between. False with the reason.
  bool LockForEdit(const std::string& path, std::string& problem);
  // Reads the file; false with the reason ("it does not exist", ...) when
  // it cannot be read. A file without layouts reads as none.
  bool Read(const std::string& path, std::string* problem = nullptr);

  const std::string& Path() const { return path_; }
  // The folder that the paths inside the file are relative to.
  std::string Folder() const;
  // The layouts as read, or as last saved.
  const std::vector<LayoutDefinition>& Layouts() const { return layouts_; }
  // True when the file's bytes are no longer those read or last saved
  // (another program, or the main window's Config, wrote to it).
  bool ChangedOnDisk() const;

  // Writes `layouts` into the file as it is on disk now, under its edit
  // lock: only what differs between `layouts` and the layouts as read (or
  // last saved) is written, so lines and layouts that others changed
  // meanwhile stay theirs, and layouts others added stay before new ones
  // of this edit. Layouts() then holds what the file holds. On failure
  // nothing changes, on disk or here, and `problem` says why.
  FileWriteResult Save(const std::vector<LayoutDefinition>& layouts);
  // Writes `layouts` into another settings file (made when missing, with
  // this file's font setting), whose other lines are kept as they are.
  // Pictures named relative to this file are copied beside the new one;
  // `layouts` is updated to name them there. From then on this object
  // stands for the new file.
  FileWriteResult SaveAs(const std::string& path, std::vector<LayoutDefinition>& layouts);

  // The settings text with its layout sections and LayoutNum made to hold
  // `layouts`, every other line kept: only keys whose value differs (from
  // the reader's defaults for a missing section) are written, sections of
  // layouts no longer there are removed, new ones are added after the last
  // layout section. "" when done; otherwise why not: a value holds a line
  // break, LayoutNum is more than kMaxLayoutCount, or a section beyond
  // LayoutNum stands where a new layout would go (it is never replaced).
  static std::string RewriteText(std::string_view text,
                                 const std::vector<LayoutDefinition>& layouts, std::string& out);
  // The layouts to save when the file holds `now` instead of `base`, the
  // layouts this edit started from: the keys `wanted` changed in a layout
  // set in the layout of that place now, the others' layouts kept, the
  // others' new layouts at the end before this edit's new ones.
  static std::vector<LayoutDefinition> MergeLayouts(const std::vector<LayoutDefinition>& base,
                                                    const std::vector<LayoutDefinition>& wanted,
                                                    const std::vector<LayoutDefinition>& now);

  // A picture chosen for a layout, as its BgImage key is to hold it: a file
  // inside this file's folder by its relative path, any other copied into
  // the folder's bg/ under a name of its own (a copy already there with the
  // same bytes is used again). Refused, with the reason, when the file is
  // no picture that can be used or cannot be copied.
  struct Picture {
    bool ok = false;
    std::string value;    // the BgImage key's value
    std::string problem;  // why not
    bool copied = false;  // a new file was made in bg/
  };
  Picture AdoptPicture(const std::string& picturePath) const;
  static Picture AdoptPictureInto(const std::string& settingsFolder,
                                  const std::string& picturePath);

 private:
  // The lock held for path_, or null.
  const SettingsEditLock* HeldLock(const std::string& path) const;

  std::string path_;
  std::string text_;  // the bytes read or last written
  std::vector<LayoutDefinition> layouts_;
  std::unique_ptr<SettingsEditLock> lock_;  // LockForEdit's
  std::string lockPath_;                    // the settings file it was taken for
};

// The layouts of a settings file's text: LayoutNum of them (at most
// kMaxLayoutCount).
std::vector<LayoutDefinition> LayoutsOfText(std::string_view text);

// A key's value as the file is to hold it: a text in quotes when the reader
// would otherwise trim its blanks or take away its own quotes.
std::string LayoutKeyAsWritten(const LayoutDefinition& layout, const LayoutKey& key);

// "Cannot save the settings file FILE: WHY." for a failed save.
std::string SaveFailureText(const std::string& path, const std::string& problem);

// Changes to the list of layouts, the same for every front end: "" when
// done, otherwise why not (the list is then unchanged).
// A new layout at the end: the built-in starting layout, or a copy.
std::string AddLayout(std::vector<LayoutDefinition>& layouts, LayoutDefinition layout);
// The layout at `index` goes; those after it move up one place. The only
// layout stays: a settings file without layouts opens neither program.
std::string DeleteLayout(std::vector<LayoutDefinition>& layouts, int index);
// The layout at `from` goes to place `to`, those between move over.
std::string MoveLayout(std::vector<LayoutDefinition>& layouts, int from, int to);
// "Layout N does not exist: the settings file has C layouts, numbered from 0."
// or "" when `index` names one.
std::string CheckLayoutIndex(const std::vector<LayoutDefinition>& layouts, int index);

}  // namespace twr
