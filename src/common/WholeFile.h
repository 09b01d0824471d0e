// Whole files: reading a regular file of a bounded size without ever
// waiting on a pipe or device, and replacing a file so that it is never seen
// half written (the new bytes go to a temporary file beside the target, are
// flushed to the disc, and the temporary file is renamed over the target).
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

// Writes `bytes` as the file at `path`. The old file, when there is one,
// stays whole until the new one is complete on disc; it keeps its
// permissions. A symbolic link is followed: the file it names is replaced
// and the link stays. False, with what went wrong in `problem` ("the folder
// does not exist", "no space left on device", ...) and nothing changed,
// when the file cannot be written or `path` names a folder, device or pipe.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& problem);

}  // namespace twr
