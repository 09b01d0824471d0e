// Whole files, the one way this program reads and writes them: a regular
// file of a bounded size read without ever waiting on a pipe or device, and
// a file written so that it is never seen half written and never leaves a
// named piece behind (the new bytes go into an unnamed file in the target's
// folder, reach the disc, get the old file's owner and mode, and only then
// take the target's name in one rename).
#pragma once

#include <string>
#include <string_view>

namespace twr {

// Reads the regular file at `path` whole, when it holds at most `maxBytes`.
// The file is opened non-blocking and looked at before it is read: a FIFO,
// socket, device or folder is refused at once. False with `problem` ("it
// does not exist", "it is a folder", "it is larger than 16 MiB", ...).
bool ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes,
                     std::string& problem);
// The same, with `problem` in English when `translated` is false (a text that
// is kept in a file), and `*tooLarge` (when given) true when the file was
// refused for its size.
bool ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes,
                     std::string& problem, bool translated, bool* tooLarge);

// What the file at `path` is now, as one string: its size, change time and
// inode ("-" when it cannot be seen). A rewritten or replaced file gives
// another, so a text read from it can be kept until this changes.
std::string FileState(const std::string& path);

// What became of writing a file; `problem` says why it failed, as words to
// follow "cannot write FILE: " ("the file is read-only", "the disk is
// full", ...).
struct FileWriteResult {
  bool ok = false;
  std::string problem;
  // CreateFileAtomically: the name was taken already (nothing written).
  bool exists = false;
};

// Writes `bytes` as the file at `path`. The old file, when there is one,
// stays whole until the new one is complete on disc; the new one gets its
// owner, group and permissions (a new file: the usual ones for the umask).
// A symbolic link is followed: the file it names is replaced and the link
// stays. Refused, with nothing changed, when the file is read-only (for
// root too), its owner could not be kept, `path` names a folder, device or
// pipe, or any step of the write fails (a full disk, an I/O error).
FileWriteResult ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Writes `bytes` as the new file `path` in the same way, but never over
// another: when the name is taken (before or while writing), nothing is
// written and `exists` is set.
FileWriteResult CreateFileAtomically(const std::string& path, std::string_view bytes);

// Tests: the next writes fail with this errno at their write step (0 ends
// it), as a full disk (ENOSPC) would make them.
void SetFileWriteFaultForTesting(int error);
// Tests: `withoutUnnamedFiles` writes as on a file system without O_TMPFILE
// (through a named temporary file); `beforeNaming` (when set) is called
// once the bytes are on disc, before the file takes its name.
void SetFileWriteHooksForTesting(bool withoutUnnamedFiles, void (*beforeNaming)());

}  // namespace twr
