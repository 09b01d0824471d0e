// Stop signals through the self-pipe's socket notifier.
#include "ui/StopSignals.h"

#include <QSocketNotifier>

namespace twr::ui {

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
  if (signals_.NotifyFd() < 0) return;
  notifier_ = new QSocketNotifier(signals_.NotifyFd(), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::Drain);
}

StopSignals::~StopSignals() {
  delete notifier_;
}

void StopSignals::Drain() {
  for (int number : signals_.TakeSignals()) emit StopRequested(number);
}

}  // namespace twr::ui
