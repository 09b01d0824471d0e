// Drive work on a worker thread with a live window.
#include "ui/DriveTask.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <atomic>
#include <memory>
#include <thread>

namespace twr::ui {

namespace {
std::atomic<int> gRunning{0};

// The task started last: its worker, and whether it still counts as busy
// (cleared by whichever comes first: its `done` or a Join).
struct StartedTask {
  std::thread worker;
  std::shared_ptr<std::atomic<bool>> counted;
};
StartedTask gStarted;

void Uncount(const std::shared_ptr<std::atomic<bool>>& counted) {
  if (counted && counted->exchange(false)) gRunning.fetch_sub(1);
}
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

void DriveTask::Start(std::function<void()> work, std::function<void()> done, QObject* context) {
  Join();
  if (QCoreApplication::instance() == nullptr || context == nullptr) {
    work();
    done();
    return;
  }
  gRunning.fetch_add(1);
  auto counted = std::make_shared<std::atomic<bool>>(true);
  gStarted.counted = counted;
  gStarted.worker = std::thread([work = std::move(work), done = std::move(done), counted, context] {
    work();
    // The context lives until Join has returned, so the post finds it; the
    // call is dropped if the context goes before it runs.
    QMetaObject::invokeMethod(
        context,
        [done, counted] {
          if (!counted->load()) return;  // joined: the window is closing
          Uncount(counted);
          done();
        },
        Qt::QueuedConnection);
  });
}

void DriveTask::Join() {
  if (gStarted.worker.joinable()) gStarted.worker.join();
  Uncount(gStarted.counted);
  gStarted.counted.reset();
}

}  // namespace twr::ui
