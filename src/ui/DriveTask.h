// Drive work off the GUI thread: a command to a slow drive (a spin-up takes
// seconds) or a long disc listing runs on a worker thread while the GUI
// thread goes on painting and handling timers and posted calls, without
// taking user input until the work is done. One task at a time: the drive
// object has one owner at a time, so callers that could overlap (a timer
// tick during a scan) look at Busy() first.
#pragma once

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class QObject;

namespace twr::ui {

class DriveTask {
 public:
  // Runs `work` on a worker thread and waits for it, keeping the window
  // alive meanwhile. Returns what `work` returns.
  template <typename Work>
  static auto Run(Work&& work) -> std::invoke_result_t<Work> {
    using Result = std::invoke_result_t<Work>;
    if constexpr (std::is_void_v<Result>) {
      RunErased(std::function<void()>(std::forward<Work>(work)));
    } else {
      std::optional<Result> result;
      RunErased([&] { result.emplace(work()); });
      return std::move(*result);
    }
  }

  // Whether a task is running now (on this GUI thread's behalf).
  static bool Busy();

  // Drive work that runs while the window takes input too (the opening's
  // drive discovery, which a slow drive makes long): `work` runs on a worker
  // thread, then `done` on the GUI thread, posted to `context`. Busy() is
  // true from here until `done` has run. One started task at a time: a
  // second Start joins the first.
  static void Start(std::function<void()> work, std::function<void()> done, QObject* context);
  // Waits for the started task's work to end; its `done` then never runs.
  // Called before `context` goes (the program closing).
  static void Join();

 private:
  static void RunErased(const std::function<void()>& work);
};

}  // namespace twr::ui
