// A status line, live on a terminal and plain elsewhere.
#include "cli/StatusLine.h"

namespace twr::cli {

StatusLine::StatusLine(std::FILE* out, bool live, Clock clock)
    : out_(out), live_(live), clock_(std::move(clock)) {}

std::chrono::steady_clock::time_point StatusLine::Now() const {
  return clock_ ? clock_() : std::chrono::steady_clock::now();
}

void StatusLine::Show(const std::string& text, bool significant) {
  std::lock_guard<std::mutex> lock(mutex_);
  // An output that failed once (a reader gone) gets no more lines.
  if (std::ferror(out_)) return;
  if (live_) {
    if (lineOpen_ && text == last_) return;
    // Blanks wipe what is left of a longer line drawn before.
    std::string line = text;
    if (lineOpen_ && width_ > line.size()) line.append(width_ - line.size(), ' ');
    std::fprintf(out_, "\r%s", line.c_str());
    std::fflush(out_);
    lineOpen_ = true;
    width_ = text.size();
    last_ = text;
    return;
  }
  const auto now = Now();
  const bool due = !anyPlain_ || now - lastPlain_ >= kPlainInterval;
  if (text == last_ || !(significant || due)) return;
  std::fprintf(out_, "%s\n", text.c_str());
  std::fflush(out_);
  last_ = text;
  lastPlain_ = now;
  anyPlain_ = true;
}

void StatusLine::End() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (live_ && lineOpen_) {
    std::fputc('\n', out_);
    std::fflush(out_);
  }
  lineOpen_ = false;
  width_ = 0;
  last_.clear();
}

}  // namespace twr::cli
