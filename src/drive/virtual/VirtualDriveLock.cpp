// flock on the virtual drive's lock file. The file itself stays (removing it
// would let two holders lock two different files of the same name).
#include "drive/virtual/VirtualDriveLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace twr {

namespace {

constexpr mode_t kLockFileMode = 0666;  // less the umask

}  // namespace

std::unique_ptr<VirtualDriveLock> VirtualDriveLock::Acquire(const std::string& path,
                                                            Outcome& outcome, std::string& why) {
  outcome = Outcome::Unlockable;
  constexpr int kFlags = O_CREAT | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(path.c_str(), O_RDWR | kFlags, kLockFileMode);
  // A lock file someone else made (or a read-only folder where it exists
  // already) still locks when opened for reading.
  if (fd < 0 && (errno == EACCES || errno == EROFS))
    fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    why = "'" + path + "': " + std::strerror(errno);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    why = "'" + path + "' is not a regular file";
    ::close(fd);
    return nullptr;
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      outcome = Outcome::InUse;
      return nullptr;
    }
    why = "'" + path + "': " + std::strerror(error);
    return nullptr;
  }
  outcome = Outcome::Held;
  return std::unique_ptr<VirtualDriveLock>(new VirtualDriveLock(fd));
}

VirtualDriveLock::~VirtualDriveLock() {
  ::close(fd_);  // closing the only descriptor releases the lock
}

}  // namespace twr
