// Whole files: a bounded, non-blocking read; the atomic write (an unnamed
// file made with O_TMPFILE, written, flushed, given the old file's owner and
// mode, then linked and renamed over the target; on a file system without
// O_TMPFILE a named temporary file, locked while it is written, which a
// later write of the same target removes once its writer is gone).
#include "common/WholeFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "common/Translate.h"

namespace twr {

namespace {

std::atomic<int> g_writeFault{0};
std::atomic<bool> g_withoutUnnamedFiles{false};
std::atomic<void (*)()> g_beforeNaming{nullptr};

// A named temporary file not written for this long whose writer holds no
// lock on it is left from a write that was killed: the next write of the
// same file removes it.
constexpr time_t kStaleTemporarySeconds = 60;
// ".NAME" + kTemporaryInfix + six letters: the temporary files of NAME.
constexpr const char* kTemporaryInfix = ".twr-";
constexpr std::size_t kTemporaryLetters = 6;
constexpr int kTemporaryNameTries = 100;

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

std::string TemporaryPrefix(const std::string& name) {
  return "." + name + kTemporaryInfix;
}

// Why a step of a write failed, in words that follow "cannot write FILE: ".
std::string WriteProblem(int error, const std::string& folder) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return Tr("WholeFile", "the disk is full");
    case EROFS:
      return Tr("WholeFile", "the file system is read-only");
    case EACCES:
    case EPERM:
      return Arg(Tr("WholeFile", "the folder %1 may not be written to"), {folder});
    case EIO:
      return Tr("WholeFile", "the disk reported an input/output error");
    case ENOENT:
      return Arg(Tr("WholeFile", "the folder %1 does not exist"), {folder});
    case ENOTDIR:
      return Tr("WholeFile", "a part of its path is not a folder");
    default:
      return ErrnoText(error);
  }
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

std::string UserName(uid_t uid) {
  struct passwd entry {};
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
    return found->pw_name;
  return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  struct group entry {};
  struct group* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
    return found->gr_name;
  return std::to_string(gid);
}

// Six letters for a temporary name.
std::string RandomLetters() {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char raw[kTemporaryLetters] = {};
  if (::getrandom(raw, sizeof raw, 0) != static_cast<ssize_t>(sizeof raw)) {
    // Without the kernel's numbers: the clock and the process, enough for
    // a name that is tried with O_EXCL semantics anyway.
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    unsigned long long seed = static_cast<unsigned long long>(now.tv_nsec) ^
                              (static_cast<unsigned long long>(::getpid()) << 20);
    for (unsigned char& c : raw) {
      seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
      c = static_cast<unsigned char>(seed >> 56);
    }
  }
  std::string letters;
  for (unsigned char c : raw) letters += kLetters[c % (sizeof kLetters - 1)];
  return letters;
}

// Removes the temporary files of `name` in `folder` that a killed write left
// behind: old enough, and no writer holds its lock on them.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return;
  DIR* dir = ::fdopendir(dirFd);
  if (dir == nullptr) {
    ::close(dirFd);
    return;
  }
  const std::string prefix = TemporaryPrefix(name);
  std::vector<std::string> stale;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view entryName = entry->d_name;
    if (entryName.size() == prefix.size() + kTemporaryLetters &&
        entryName.compare(0, prefix.size(), prefix) == 0)
      stale.emplace_back(entryName);
  }
  const time_t now = std::time(nullptr);
  for (const std::string& candidate : stale) {
    const int fd = ::openat(dirFd, candidate.c_str(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        now - info.st_mtime > kStaleTemporarySeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlinkat(dirFd, candidate.c_str(), 0);
    ::close(fd);
  }
  ::closedir(dir);  // closes dirFd
}

// The file a write goes to: `path`, or the file its link names.
struct Target {
  std::string path;
  std::string folder;
  std::string name;
  bool exists = false;
  struct stat info {};
};

bool ResolveTarget(const std::string& path, Target& target, std::string& problem) {
  if (path.empty() || path.back() == '/') {
    problem = Tr("WholeFile", "it names a folder, not a file");
    return false;
  }
  target.path = path;
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    // Replace what the link names, not the link; a dangling link is
    // replaced by the file.
    if (char* resolved = ::realpath(path.c_str(), nullptr)) {
      target.path = resolved;
      std::free(resolved);
    } else if (errno != ENOENT) {
      const std::string error = ErrnoText(errno);
      problem = Arg(Tr("WholeFile", "its link cannot be followed (%1)"), {error});
      return false;
    }
  }
  target.folder = FolderOf(target.path);
  target.name = NameOf(target.path);
  if (::stat(target.path.c_str(), &target.info) == 0) {
    if (S_ISDIR(target.info.st_mode)) {
      problem = Tr("WholeFile", "it is a folder");
      return false;
    }
    if (!S_ISREG(target.info.st_mode)) {
      problem = Tr("WholeFile", "it is not a regular file (a pipe, socket or device)");
      return false;
    }
    target.exists = true;
    return true;
  }
  if (errno == ENOENT) return true;
  problem = WriteProblem(errno, target.folder);
  return false;
}

// A replaced file that nobody may write to stays, for root too.
bool CheckWritable(const Target& target, std::string& problem) {
  if ((target.info.st_mode & 0222) == 0) {
    problem = Tr("WholeFile", "the file is read-only");
    return false;
  }
  if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
    problem = errno == EROFS ? Tr("WholeFile", "the file system is read-only")
                             : Tr("WholeFile", "the file may not be written to");
    return false;
  }
  return true;
}

// The new file's owner, group and permissions: those of the file it
// replaces. False with why when the owner cannot be kept.
bool TakeOwnerAndMode(int fd, const Target& target, mode_t newMode, std::string& problem) {
  if (target.exists) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
      problem = WriteProblem(errno, target.folder);
      return false;
    }
    if ((made.st_uid != target.info.st_uid || made.st_gid != target.info.st_gid) &&
        ::fchown(fd, target.info.st_uid, target.info.st_gid) != 0) {
      const std::string error = ErrnoText(errno);
      problem = Arg(Tr("WholeFile",
                       "it belongs to %1 (group %2), and its new copy could not be given to them "
                       "(%3): save it under another name or as that user"),
                    {UserName(target.info.st_uid), GroupName(target.info.st_gid), error});
      return false;
    }
    newMode = target.info.st_mode & 07777;
  }
  if (::fchmod(fd, newMode) != 0) {
    problem = WriteProblem(errno, target.folder);
    return false;
  }
  return true;
}

// Links the unnamed file `fd` under `name`.
int LinkUnnamed(int fd, const std::string& name) {
  const std::string proc = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  int error = errno;
  // Without /proc (a chroot): by the descriptor itself, which needs
  // CAP_DAC_READ_SEARCH.
  if (error == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
    if (::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
    error = errno;
  }
  return error;
}

void SyncFolder(const std::string& folder) {
  // The rename itself reaches the disc with the folder's entry.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

FileWriteResult Failed(std::string problem) {
  return {false, std::move(problem), false};
}

FileWriteResult WriteFile(const std::string& path, std::string_view bytes, bool replace) {
  Target target;
  std::string problem;
  if (!ResolveTarget(path, target, problem)) return Failed(problem);
  if (target.exists && !replace) return {false, {}, true};
  if (target.exists && !CheckWritable(target, problem)) return Failed(problem);

  // The unnamed file; a file system without O_TMPFILE says EOPNOTSUPP
  // (older kernels EISDIR or EINVAL).
  int fd = -1;
  std::string temporary;  // the named temporary file of the fallback
  if (!g_withoutUnnamedFiles.load()) {
    fd = ::open(target.folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
      return Failed(WriteProblem(errno, target.folder));
  }
  mode_t newMode = 0666 & ~CurrentUmask();
  if (fd < 0) {
    // Named temporary files are made on this file system only: their
    // left-overs are removed here (an unnamed file leaves none).
    RemoveStaleTemporaries(target.folder, target.name);
    std::string pattern =
        target.folder + "/" + TemporaryPrefix(target.name) + std::string(kTemporaryLetters, 'X');
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return Failed(WriteProblem(errno, target.folder));
    temporary = pattern;
    // Held until the file has its name: a later write sees it is in use.
    int locked = 0;
    do {
      locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
  } else {
    struct stat made {};
    if (::fstat(fd, &made) == 0) newMode = made.st_mode & 07777;  // 0666 less umask, ACL
  }
  auto fail = [&](std::string why) {
    ::close(fd);
    if (!temporary.empty()) ::unlink(temporary.c_str());
    return Failed(std::move(why));
  };

  if (!TakeOwnerAndMode(fd, target, newMode, problem)) return fail(problem);
  int error = g_writeFault.load();
  if (error == 0) WriteWhole(fd, bytes, error);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  // Its time is now, whatever the flush took: a clean-up by another write
  // never takes it for a left-over while it has a temporary name.
  if (error == 0 && ::futimens(fd, nullptr) != 0) error = errno;
  if (error != 0) return fail(WriteProblem(error, target.folder));
  if (auto hook = g_beforeNaming.load()) hook();

  if (!temporary.empty()) {
    if (::close(fd) != 0) {
      error = errno;
      ::unlink(temporary.c_str());
      return Failed(WriteProblem(error, target.folder));
    }
    int named = replace ? ::rename(temporary.c_str(), target.path.c_str())
                        : ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.path.c_str(),
                                      RENAME_NOREPLACE);
    if (named != 0 && !replace && errno == EINVAL) {
      // No RENAME_NOREPLACE here: a hard link refuses a taken name too.
      named = ::link(temporary.c_str(), target.path.c_str());
      if (named == 0) ::unlink(temporary.c_str());
    }
    if (named != 0) {
      error = errno;
      ::unlink(temporary.c_str());
      if (error == EEXIST && !replace) return {false, {}, true};
      return Failed(WriteProblem(error, target.folder));
    }
    SyncFolder(target.folder);
    return {true, {}, false};
  }

  // A new file takes its name at once (never over one made meanwhile).
  if (!target.exists) {
    error = LinkUnnamed(fd, target.path);
    if (error == 0) {
      if (::close(fd) != 0) {
        error = errno;
        ::unlink(target.path.c_str());
        return Failed(WriteProblem(error, target.folder));
      }
      SyncFolder(target.folder);
      return {true, {}, false};
    }
    if (error != EEXIST) return fail(WriteProblem(error, target.folder));
    if (!replace) {
      ::close(fd);
      return {false, {}, true};
    }
  }
  // Over an old file: a name for the moment between link and rename.
  for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
    const std::string name = target.folder + "/" + TemporaryPrefix(target.name) + RandomLetters();
    error = LinkUnnamed(fd, name);
    if (error == EEXIST) continue;
    if (error != 0) break;
    temporary = name;
    break;
  }
  if (temporary.empty()) return fail(WriteProblem(error == 0 ? EEXIST : error, target.folder));
  if (::close(fd) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    return Failed(WriteProblem(error, target.folder));
  }
  if (::rename(temporary.c_str(), target.path.c_str()) != 0) {
    error = errno;
    ::unlink(temporary.c_str());
    return Failed(WriteProblem(error, target.folder));
  }
  SyncFolder(target.folder);
  return {true, {}, false};
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

FileWriteResult ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
  return WriteFile(path, bytes, true);
}

FileWriteResult CreateFileAtomically(const std::string& path, std::string_view bytes) {
  return WriteFile(path, bytes, false);
}

void SetFileWriteFaultForTesting(int error) {
  g_writeFault = error;
}

void SetFileWriteHooksForTesting(bool withoutUnnamedFiles, void (*beforeNaming)()) {
  g_withoutUnnamedFiles = withoutUnnamedFiles;
  g_beforeNaming = beforeNaming;
}

std::string FileState(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return "-";
  return std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec) + ":" + std::to_string(st.st_ino);
}

}  // namespace twr
