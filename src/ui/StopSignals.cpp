// Stop signals through a self-pipe.
#include "ui/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>

#include <array>
#include <csignal>

namespace twr::ui {

namespace {

int gPipe[2] = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

extern "C" void OnStopSignal(int number) {
  const unsigned char byte = static_cast<unsigned char>(number);
  const int saved = errno;
  [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::Drain);
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) sigaction(number, &action, nullptr);
}

StopSignals::~StopSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int number : kSignals) sigaction(number, &action, nullptr);
  for (int& fd : gPipe) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

void StopSignals::Drain() {
  unsigned char byte = 0;
  while (::read(gPipe[0], &byte, 1) == 1) emit StopRequested(byte);
}

}  // namespace twr::ui
