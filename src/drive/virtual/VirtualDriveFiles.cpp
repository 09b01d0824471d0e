// Non-blocking, regular-file-only access to the virtual drive's files.
#include "drive/virtual/VirtualDriveFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace twr {

namespace {

constexpr mode_t kNewFileMode = 0666;       // less the umask
constexpr mode_t kReplacedFileMode = 0644;  // a temporary file starts private
constexpr const char* kTemporarySuffix = ".XXXXXX";

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

std::string KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// Keeps `fd` when it is a regular file (and puts it back into blocking
// mode); otherwise closes it and says what it is.
int KeepRegular(int fd, const std::string& path, std::string& why) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = Quoted(path) + ": " + std::strerror(errno);
    ::close(fd);
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    why = Quoted(path) + " is " + KindOf(st.st_mode) + ", not a regular file";
    ::close(fd);
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace

void WarnVirtualDrive(const VirtualDriveWarning& warn, const std::string& text) {
  const std::string line = "Virtual drive: " + text;
  if (warn) {
    warn(line);
    return;
  }
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

int OpenVirtualOutput(const std::string& path, std::string& why) {
  // O_NONBLOCK: a FIFO without a reader fails at once (ENXIO) instead of
  // waiting for one; O_NOCTTY: a terminal named here never becomes ours.
  const int fd =
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
             kNewFileMode);
  if (fd < 0) {
    why = errno == ENXIO ? Quoted(path) + " is a FIFO, not a regular file"
                         : Quoted(path) + ": " + std::strerror(errno);
    return -1;
  }
  return KeepRegular(fd, path, why);
}

int OpenVirtualInput(const std::string& path, std::string& why, int* error) {
  if (error) *error = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = errno;
    why = Quoted(path) + ": " + std::strerror(errno);
    return -1;
  }
  return KeepRegular(fd, path, why);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, std::string& why) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      why = n < 0 ? std::strerror(errno) : "nothing could be written";
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool ReplaceVirtualOutput(const std::string& path, std::span<const std::uint8_t> bytes,
                          std::string& why) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    why = Quoted(path) + " is " + KindOf(st.st_mode) + ", not a regular file";
    return false;
  }
  // A name of its own (created, never opened): never a FIFO left there.
  std::vector<char> temporary(path.begin(), path.end());
  temporary.insert(temporary.end(), kTemporarySuffix,
                   kTemporarySuffix + std::strlen(kTemporarySuffix) + 1);
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) {
    why = Quoted(path) + ": " + std::strerror(errno);
    return false;
  }
  ::fchmod(fd, kReplacedFileMode);
  std::string writeError;
  bool written = WriteAll(fd, bytes, writeError);
  if (::close(fd) != 0 && written) {
    written = false;
    writeError = std::strerror(errno);
  }
  if (!written) {
    ::unlink(temporary.data());  // no half-written file left behind
    why = Quoted(path) + ": " + writeError;
    return false;
  }
  if (::rename(temporary.data(), path.c_str()) != 0) {
    why = Quoted(path) + ": " + std::strerror(errno);
    ::unlink(temporary.data());
    return false;
  }
  return true;
}

}  // namespace twr
