// Every edit of the settings file, by whichever part of either program: the
// file is re-read under its edit lock, the change is made to what is there
// now (every other line kept byte for byte) and the file is replaced
// atomically, so that two edits at once never lose one of them.
//
// The edit lock is an flock on its own file beside the settings file,
// ".twr.ini.edit-lock" for "twr.ini" (beside the file a link names). It is
// not the virtual drive's ".twr.ini.lock", which a burn holds for minutes:
// an edit during a burn goes ahead at once. Edits are short (read, change,
// write), so the wait for another one is bounded; after kSettingsLockWaitMs
// the edit is refused with the reason, and nothing is written.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/ProfileFile.h"
#include "common/WholeFile.h"

namespace twr {

// How long an edit waits for another program's edit of the same file.
inline constexpr int kSettingsLockWaitMs = 5000;

// The edit lock of `settingsPath`'s file.
std::string SettingsEditLockPath(const std::string& settingsPath);

class SettingsEditLock {
 public:
  // Takes the lock, waiting up to `waitMs` for another holder; null with
  // the reason in `problem` (words that follow "Cannot save the settings
  // file FILE: ") when it stays taken or cannot be made. Where the lock
  // file cannot be made because nothing may be written there, an empty
  // lock is given: the write that follows fails with its own reason.
  static std::unique_ptr<SettingsEditLock> Acquire(const std::string& settingsPath,
                                                   std::string& problem,
                                                   int waitMs = kSettingsLockWaitMs);
  ~SettingsEditLock();
  SettingsEditLock(const SettingsEditLock&) = delete;
  SettingsEditLock& operator=(const SettingsEditLock&) = delete;

 private:
  explicit SettingsEditLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

// The settings file as an edit finds it under the lock.
struct SettingsText {
  std::string text;     // empty when the file does not exist
  bool exists = false;  // a missing file is made by the edit
};

// Makes `out` from the file's text; "" when done, otherwise why not (a
// sentence part that follows "Cannot save the settings file FILE: "), and
// nothing is written. An `out` equal to the text writes nothing.
using SettingsEditFunction = std::function<std::string(const SettingsText& now, std::string& out)>;

// Takes the lock (unless `held` is the caller's lock of this file), reads
// the file, lets `edit` make the new text and replaces the file with it.
// A file that exists but cannot be read is not written.
FileWriteResult EditSettingsFile(const std::string& path, const SettingsEditFunction& edit,
                                 const SettingsEditLock* held = nullptr);

// The usual edit: `changes` made to the file's keys (ApplyProfileChanges).
FileWriteResult ApplySettingsChanges(const std::string& path,
                                     const std::vector<ProfileSectionChange>& changes);

}  // namespace twr
