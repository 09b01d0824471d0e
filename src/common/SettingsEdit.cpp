// The settings file's edit lock and the one way its text is changed.
#include "common/SettingsEdit.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "common/Translate.h"

namespace twr {

namespace {

constexpr const char* kLockSuffix = ".edit-lock";
// The wait between tries grows from 1 ms to this.
constexpr int kLongestPauseMs = 10;
constexpr int kMillisecondsPerSecond = 1000;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file edits write: the one a link names, so that every name of the
// same file shares one lock.
std::string ResolvedSettingsPath(const std::string& path) {
  if (char* resolved = ::realpath(path.c_str(), nullptr)) {
    std::string real = resolved;
    std::free(resolved);
    return real;
  }
  if (char* folder = ::realpath(FolderOf(path).c_str(), nullptr)) {
    std::string real = folder;
    std::free(folder);
    return (real == "/" ? real : real + "/") + NameOf(path);
  }
  return path;
}

// Opens (making it when missing) the lock file. A new one gets the settings
// file's owner and permissions, so that whoever may edit that file can take
// the lock; a lock file that cannot be opened for writing locks when opened
// for reading.
int OpenLockFile(const std::string& lockPath, const std::string& settingsPath) {
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, 0666);
  if (fd >= 0) {
    struct stat settings {};
    if (::stat(settingsPath.c_str(), &settings) == 0) {
      // Root's lock file in a user's folder stays the user's; a failure
      // only narrows who may lock it for writing.
      if (::fchown(fd, settings.st_uid, settings.st_gid) != 0) {
      }
      if (::fchmod(fd, settings.st_mode & 0666) != 0) {
      }
    }
    return fd;
  }
  if (errno != EEXIST) return -1;
  fd = ::open(lockPath.c_str(), O_RDWR | kFlags);
  if (fd < 0 && (errno == EACCES || errno == EROFS))
    fd = ::open(lockPath.c_str(), O_RDONLY | kFlags);
  return fd;
}

}  // namespace

std::string SettingsEditLockPath(const std::string& settingsPath) {
  const std::string resolved = ResolvedSettingsPath(settingsPath);
  const std::string folder = FolderOf(resolved);
  return (folder == "/" ? folder : folder + "/") + "." + NameOf(resolved) + kLockSuffix;
}

std::unique_ptr<SettingsEditLock> SettingsEditLock::Acquire(const std::string& settingsPath,
                                                            std::string& problem, int waitMs) {
  const std::string lockPath = SettingsEditLockPath(settingsPath);
  const int fd = OpenLockFile(lockPath, ResolvedSettingsPath(settingsPath));
  if (fd < 0) {
    const int error = errno;
    // Nothing may be made there (or the folder is missing): neither can
    // the settings file be written, and its write says why.
    if (error == EACCES || error == EPERM || error == EROFS || error == ENOENT || error == ENOTDIR)
      return std::unique_ptr<SettingsEditLock>(new SettingsEditLock(-1));
    problem = Arg(Tr("SettingsEdit", "its edit lock %1 cannot be opened (%2)"),
                  {lockPath, std::strerror(error)});
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    problem = Arg(Tr("SettingsEdit", "its edit lock %1 is not a regular file"), {lockPath});
    return nullptr;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  int pauseMs = 1;
  while (true) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
      return std::unique_ptr<SettingsEditLock>(new SettingsEditLock(fd));
    const int error = errno;
    if (error == EINTR) continue;
    if (error != EWOULDBLOCK) {
      ::close(fd);
      problem = Arg(Tr("SettingsEdit", "its edit lock %1 cannot be taken (%2)"),
                    {lockPath, std::strerror(error)});
      return nullptr;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    pauseMs = std::min(pauseMs * 2, kLongestPauseMs);
  }
  ::close(fd);
  const int seconds = std::max(1, (waitMs + kMillisecondsPerSecond / 2) / kMillisecondsPerSecond);
  problem = Arg(Tr("SettingsEdit",
                   "another program has been changing it for more than %1 seconds (it holds "
                   "%2); try again when that program is done"),
                {std::to_string(seconds), lockPath});
  return nullptr;
}

SettingsEditLock::~SettingsEditLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the only descriptor releases the lock
}

FileWriteResult EditSettingsFile(const std::string& path, const SettingsEditFunction& edit,
                                 const SettingsEditLock* held) {
  std::unique_ptr<SettingsEditLock> own;
  if (held == nullptr) {
    std::string problem;
    own = SettingsEditLock::Acquire(path, problem);
    if (!own) return {false, problem, false};
  }
  SettingsText now;
  std::string problem;
  if (ReadRegularFile(path, kMaxSettingsFileBytes, now.text, problem)) {
    now.exists = true;
  } else {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 || errno != ENOENT) return {false, problem, false};
    now.text.clear();
  }
  std::string out;
  if (std::string why = edit(now, out); !why.empty()) return {false, why, false};
  if (out == now.text && (now.exists || out.empty())) return {true, {}, false};
  return ReplaceFileAtomically(path, out);
}

FileWriteResult ApplySettingsChanges(const std::string& path,
                                     const std::vector<ProfileSectionChange>& changes) {
  return EditSettingsFile(path, [&changes](const SettingsText& now, std::string& out) {
    if (!ApplyProfileChanges(now.text, changes, out))
      return std::string(Tr("SettingsEdit", "a name or value holds a line break"));
    return std::string();
  });
}

}  // namespace twr
