// Drive work on a worker thread with a live window.
#include "ui/DriveTask.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <atomic>
#include <thread>

namespace twr::ui {

namespace {
std::atomic<int> gRunning{0};
}  // namespace

bool DriveTask::Busy() {
  return gRunning.load() > 0;
}

void DriveTask::RunErased(const std::function<void()>& work) {
  gRunning.fetch_add(1);
  if (QCoreApplication::instance() == nullptr) {
    work();  // no event loop to keep alive
    gRunning.fetch_sub(1);
    return;
  }
  QEventLoop loop;
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    work();
    finished.store(true);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  // Paint, timers and posted calls go on; clicks and keys wait for the end.
  while (!finished.load()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  worker.join();
  gRunning.fetch_sub(1);
}

}  // namespace twr::ui
