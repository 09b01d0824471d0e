// The stop signals (common/StopSignals) as a Qt signal on the GUI thread, so
// that a desktop session that logs out, a `kill` or Ctrl-C in the terminal
// close the program through its normal path: a burn in progress is asked to
// stop and still runs its closing steps (page flag cleared, removal allowed,
// disc ejected) before the program ends.
#pragma once

#include <QObject>

#include "common/StopSignals.h"

class QSocketNotifier;

namespace twr::ui {

class StopSignals : public QObject {
  Q_OBJECT

 public:
  explicit StopSignals(QObject* parent = nullptr);
  ~StopSignals() override;  // the notifier goes before the pipe it watches

 signals:
  void StopRequested(int signalNumber);

 private:
  void Drain();
  twr::StopSignals signals_{true};  // calls interrupted by a signal restart
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace twr::ui
