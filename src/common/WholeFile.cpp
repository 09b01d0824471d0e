// Whole files: a bounded, non-blocking read; atomic replacement (temporary
// file, fsync, rename, fsync of the folder).
#include "common/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Translate.h"

namespace twr {

namespace {

std::string ErrnoText(int error) {
  return std::strerror(error);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteWhole(int fd, std::string_view bytes, int& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The process's umask, read without changing it (umask() would, for a
// moment, for every thread).
mode_t CurrentUmask() {
  constexpr mode_t kUsual = 022;
  const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kUsual;
  char text[4096];
  const ssize_t n = ::read(fd, text, sizeof text - 1);
  ::close(fd);
  if (n <= 0) return kUsual;
  text[n] = '\0';
  const char* line = std::strstr(text, "Umask:");
  if (line == nullptr) return kUsual;
  char* end = nullptr;
  const long mask = std::strtol(line + 6, &end, 8);
  return end == line + 6 || mask < 0 || mask > 0777 ? kUsual : static_cast<mode_t>(mask);
}

}  // namespace

bool ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes,
                     std::string& problem) {
  return ReadRegularFile(path, maxBytes, bytes, problem, true, nullptr);
}

bool ReadRegularFile(const std::string& path, long long maxBytes, std::string& bytes,
                     std::string& problem, bool translated, bool* tooLarge) {
  const auto say = [translated](const char* text) {
    return translated ? Tr("WholeFile", text) : text;
  };
  if (tooLarge) *tooLarge = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    problem = error == ENOENT ? say(TWR_TRANSLATE_NOOP("WholeFile", "it does not exist"))
              : error == EACCES
                  ? say(TWR_TRANSLATE_NOOP("WholeFile", "it cannot be read (permission denied)"))
              : error == ENOTDIR
                  ? say(TWR_TRANSLATE_NOOP(
                        "WholeFile", "it does not exist (a part of its path is not a folder)"))
                  : Arg(say(TWR_TRANSLATE_NOOP("WholeFile", "it cannot be opened (%1)")),
                        {ErrnoText(error)});
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    const std::string error = ErrnoText(errno);
    problem = Arg(say(TWR_TRANSLATE_NOOP("WholeFile", "it cannot be read (%1)")), {error});
  } else if (S_ISDIR(info.st_mode)) {
    problem = say(TWR_TRANSLATE_NOOP("WholeFile", "it is a folder"));
    ok = false;
  } else if (!S_ISREG(info.st_mode)) {
    problem =
        say(TWR_TRANSLATE_NOOP("WholeFile", "it is not a regular file (a pipe, socket or device)"));
    ok = false;
  } else if (info.st_size > maxBytes) {
    constexpr long long kMebibyte = 1024LL * 1024;
    problem = Arg(say(TWR_TRANSLATE_NOOP("WholeFile", "it is larger than %1 MiB")),
                  {std::to_string(maxBytes / kMebibyte)});
    if (tooLarge) *tooLarge = true;
    ok = false;
  }
  if (ok) {
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (done != bytes.size()) {
      problem = say(TWR_TRANSLATE_NOOP("WholeFile", "it could not be read whole"));
      ok = false;
    }
  }
  ::close(fd);
  return ok;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& problem) {
  if (path.empty() || path.back() == '/') {
    problem = Tr("WholeFile", "it names a folder, not a file");
    return false;
  }
  std::string target = path;
  struct stat info {};
  bool existed = false;
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    // Replace what the link names, not the link.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) {
      target = resolved;
    } else if (errno != ENOENT) {
      const std::string error = ErrnoText(errno);
      problem = Arg(Tr("WholeFile", "its link cannot be followed (%1)"), {error});
      return false;
    }
    // A dangling link is replaced by the file.
  }
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) {
      problem = Tr("WholeFile", "it is a folder");
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      problem = Tr("WholeFile", "it is not a regular file (a pipe, socket or device)");
      return false;
    }
    existed = true;
  } else if (errno != ENOENT) {
    problem = ErrnoText(errno);
    return false;
  }

  const std::string folder = FolderOf(target);
  std::string pattern = folder + "/." + NameOf(target) + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    problem =
        error == ENOENT ? Arg(Tr("WholeFile", "the folder %1 does not exist"), {folder})
        : error == EACCES
            ? Arg(Tr("WholeFile", "the folder %1 cannot be written (permission denied)"), {folder})
        : error == ENOTDIR ? std::string(Tr("WholeFile", "a part of its path is not a folder"))
                           : ErrnoText(error);
    return false;
  }
  // A new file gets the usual permissions for the user's umask; a replaced
  // one keeps its own.
  mode_t mode = 0;
  if (existed) {
    mode = info.st_mode & 07777;
  } else {
    mode = 0666 & ~CurrentUmask();
  }
  int error = 0;
  bool ok = true;
  if (::fchmod(fd, mode) != 0) {
    error = errno;
    ok = false;
  }
  if (ok) ok = WriteWhole(fd, bytes, error);
  if (ok && ::fsync(fd) != 0) {
    error = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    error = errno;
    ok = false;
  }
  if (ok && ::rename(name.data(), target.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(name.data());
    problem = ErrnoText(error);
    return false;
  }
  // The rename itself reaches the disc with the folder's entry.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace twr
