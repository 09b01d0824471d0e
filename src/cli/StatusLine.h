// One line of status that changes while something runs (a burn's progress,
// a countdown): redrawn in place on a terminal; written as plain lines when
// the output is a file or a pipe, one for each significant change and at
// most one every few seconds otherwise.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

namespace twr::cli {

class StatusLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // Plain lines that are not significant come at most this often.
  static constexpr std::chrono::seconds kPlainInterval{5};

  // `live`: redraw in place (the output is a terminal). `clock` is for tests.
  StatusLine(std::FILE* out, bool live, Clock clock = {});
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  void Show(const std::string& text, bool significant);
  // Ends a live line so that what is printed next starts on a line of its
  // own; the next Show starts a new live line.
  void End();
  bool Live() const { return live_; }

 private:
  std::chrono::steady_clock::time_point Now() const;

  std::mutex mutex_;
  std::FILE* out_;
  bool live_;
  Clock clock_;
  bool lineOpen_ = false;
  std::size_t width_ = 0;  // of the live line drawn last
  std::string last_;
  std::chrono::steady_clock::time_point lastPlain_{};
  bool anyPlain_ = false;
};

}  // namespace twr::cli
