// The one file writer and the settings file's edit lock: a write killed
// before its file has a name, an owner that cannot be kept, a new file that
// never replaces one, and many edits of one settings file at once (the
// hostile targets go through the real twr in tests/cli/FileSafetyTest).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/TempDir.h"
#include "common/WholeFile.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 12345;
constexpr gid_t kOtherGroup = 12346;
constexpr uid_t kNobody = 65534;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in the folder that start with a dot (temporary files, locks).
std::vector<std::string> Hidden(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string()[0] == '.') names.push_back(entry.path().filename());
  return names;
}

// Runs `body` in a child process; its exit status, or 128 + the signal
// that ended it.
int InChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}

// A user who may write a file of another user's, in a folder anyone may
// write to, would give it to himself by replacing it: refused instead.
TEST(WholeFile, AnOwnerThatCannotBeKeptIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file of another user's";
  test::TempDir dir("owner");
  ::chmod(dir.Path().c_str(), 0777);
  const fs::path file = dir.Path() / "theirs.png";
  std::ofstream(file) << "theirs";
  ASSERT_EQ(::chown(file.c_str(), kOtherUser, kOtherGroup), 0);
  ::chmod(file.c_str(), 0666);
  const int status = InChild([&] {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) return 2;
    const FileWriteResult written = ReplaceFileAtomically(file.string(), "mine");
    return !written.ok && written.problem.find("it belongs to") == 0 ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(file), "theirs");
  EXPECT_TRUE(Hidden(dir.Path()).empty());
}

// A write killed once its bytes are on disc, before the file has its name:
// the old file stays whole and no temporary file is left. Without O_TMPFILE
// the temporary file has a name; the next write of the file there removes it
// once it is old and no writer holds it.
TEST(WholeFile, AKilledWriteLeavesNoTemporaryFile) {
  test::TempDir dir("killed");
  const fs::path target = dir.Path() / "label.png";
  std::ofstream(target) << "old";
  const std::string big(8 << 20, 'x');
  for (const bool named : {false, true}) {
    SCOPED_TRACE(named ? "named temporary file" : "unnamed file");
    const int status = InChild([&] {
      SetFileWriteHooksForTesting(named, [] { std::raise(SIGKILL); });
      ReplaceFileAtomically(target.string(), big);
      return 0;
    });
    EXPECT_EQ(status, 128 + SIGKILL);
    EXPECT_EQ(ReadFile(target), "old");
    const std::vector<std::string> left = Hidden(dir.Path());
    if (!named) {
      EXPECT_TRUE(left.empty());
      continue;
    }
    ASSERT_EQ(left.size(), 1u);
    // One more left-over whose writer is still at work (it holds the lock).
    const fs::path busy = dir.Path() / ".label.png.twr-BUSY00";
    std::ofstream(busy) << "being written";
    const int busyFd = ::open(busy.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(busyFd, LOCK_EX), 0);
    const timespec old[2] = {{::time(nullptr) - 600, 0}, {::time(nullptr) - 600, 0}};
    for (const fs::path& p : {dir.Path() / left[0], busy}) ::utimensat(AT_FDCWD, p.c_str(), old, 0);
    // The next write on this file system removes the left-over only.
    SetFileWriteHooksForTesting(true, nullptr);
    ASSERT_TRUE(ReplaceFileAtomically(target.string(), "new").ok);
    SetFileWriteHooksForTesting(false, nullptr);
    EXPECT_EQ(Hidden(dir.Path()), std::vector<std::string>{busy.filename()});
    ::close(busyFd);
    fs::remove(busy);
  }
}

TEST(WholeFile, ANewFileNeverReplacesOneThatIsThere) {
  test::TempDir dir("create");
  const fs::path file = dir.Path() / "picture.png";
  for (const bool named : {false, true}) {
    SetFileWriteHooksForTesting(named, nullptr);
    fs::remove(file);
    FileWriteResult made = CreateFileAtomically(file.string(), "first");
    EXPECT_TRUE(made.ok && !made.exists) << made.problem;
    made = CreateFileAtomically(file.string(), "second");
    EXPECT_TRUE(!made.ok && made.exists);
    EXPECT_EQ(ReadFile(file), "first");
    EXPECT_TRUE(Hidden(dir.Path()).empty());
  }
  SetFileWriteHooksForTesting(false, nullptr);
}

// The edit lock is not the virtual drive's (a burn holds that one for
// minutes); a held edit lock makes an edit wait a bounded time and then
// say why; edits from two threads at once lose nothing.
TEST(SettingsEdit, EditsWaitForEachOtherOnlyAndLoseNothing) {
  test::TempDir dir("edit");
  const std::string ini = dir.File("twr.ini");
  std::ofstream(ini) << "\xEF\xBB\xBF; mine\n[Config]\nLayoutNum=0\n";
  const int burnLock =
      ::open(dir.File(".twr.ini.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  ASSERT_EQ(::flock(burnLock, LOCK_EX), 0);
  EXPECT_TRUE(ApplySettingsChanges(ini, {{"Config", {{"Font", "A"}}, false, {}}}).ok);
  ::close(burnLock);

  std::string problem;
  auto held = SettingsEditLock::Acquire(ini, problem);
  ASSERT_TRUE(held) << problem;
  EXPECT_FALSE(SettingsEditLock::Acquire(ini, problem, 50));
  EXPECT_EQ(problem, "another program has been changing it for more than 1 seconds (it holds " +
                         dir.File(".twr.ini.edit-lock") + "); try again when that program is done");
  // The holder edits through its own lock.
  EXPECT_TRUE(EditSettingsFile(
                  ini,
                  [](const SettingsText& now, std::string& out) {
                    out = now.text + "[Held]\nk=1\n";
                    return std::string();
                  },
                  held.get())
                  .ok);
  // Another name of the same file shares its lock.
  fs::create_symlink(ini, dir.Path() / "link.ini");
  EXPECT_EQ(SettingsEditLockPath(dir.File("link.ini")), dir.File(".twr.ini.edit-lock"));

  held.reset();

  constexpr int kEdits = 50;
  std::thread other([&] {
    for (int i = 0; i < kEdits; ++i)
      ApplySettingsChanges(ini, {{"Two", {{"k" + std::to_string(i), "2"}}, false, {}}});
  });
  for (int i = 0; i < kEdits; ++i)
    ApplySettingsChanges(dir.File("link.ini"),
                         {{"One", {{"k" + std::to_string(i), "1"}}, false, {}}});
  other.join();
  const ProfileFile file = ProfileFile::Load(ini);
  EXPECT_EQ(file.Keys("One").size(), static_cast<std::size_t>(kEdits));
  EXPECT_EQ(file.Keys("Two").size(), static_cast<std::size_t>(kEdits));
  EXPECT_EQ(ReadFile(ini).rfind("\xEF\xBB\xBF; mine\n[Config]\nLayoutNum=0\nFont=A\n", 0), 0u);
}

}  // namespace
}  // namespace twr
