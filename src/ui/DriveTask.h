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

 private:
  static void RunErased(const std::function<void()>& work);
};

}  // namespace twr::ui
