// Stop signals: a counter and a self-pipe written from the handler.
#include "common/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

namespace twr {

namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> gCount{0};
int gPipe[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> gPrevious{};

extern "C" void OnStopSignal(int number) {
  const int saved = errno;
  gCount.fetch_add(1);
  if (gPipe[1] >= 0) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  }
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(bool restartCalls) {
  // Cleared first: a signal that comes while the handlers go in is kept.
  gCount.store(0);
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = restartCalls ? SA_RESTART : 0;
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &action, &gPrevious[i]);
}

StopSignals::~StopSignals() {
  for (std::size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &gPrevious[i], nullptr);
  for (int& fd : gPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

bool StopSignals::Requested() {
  return gCount.load() > 0;
}

int StopSignals::NotifyFd() const {
  return gPipe[0];
}

std::vector<int> StopSignals::TakeSignals() {
  std::vector<int> numbers;
  unsigned char byte = 0;
  while (gPipe[0] >= 0 && ::read(gPipe[0], &byte, 1) == 1) numbers.push_back(byte);
  return numbers;
}

}  // namespace twr
