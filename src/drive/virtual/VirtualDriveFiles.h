// The virtual drive's own files (its disc image, trace, capture, etched
// picture and marks): opened without ever blocking, only regular files, and
// every file it cannot use told as a warning, never in silence.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace twr {

// Where the virtual drive's warnings go; when empty, to stderr.
using VirtualDriveWarning = std::function<void(const std::string&)>;

// Sends one warning line ("Virtual drive: ..." is put in front).
void WarnVirtualDrive(const VirtualDriveWarning& warn, const std::string& text);

// Opens an output for appending: a missing file is created, a regular file
// is opened, anything else (a FIFO, a device, a folder) is refused. Never
// blocks, also not on a FIFO without a reader. Returns the descriptor (in
// blocking mode, close-on-exec) or -1 with `why` saying what went wrong.
int OpenVirtualOutput(const std::string& path, std::string& why);

// Opens a regular file for reading without blocking on what is not one;
// -1 with `why` otherwise (ENOENT in `error` for a missing file).
int OpenVirtualInput(const std::string& path, std::string& why, int* error = nullptr);

// Writes all of `bytes` to a descriptor; false with `why` on a short write
// (a full disk, a file-size limit).
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, std::string& why);

// Replaces `path` by a regular file holding `bytes`: written to a new
// temporary file beside it, then renamed over it, so that a reader never
// sees half a file. A `path` that exists but is no regular file is left
// alone and refused.
bool ReplaceVirtualOutput(const std::string& path, std::span<const std::uint8_t> bytes,
                          std::string& why);

}  // namespace twr
