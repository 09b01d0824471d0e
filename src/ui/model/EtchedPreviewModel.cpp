#include "ui/model/EtchedPreviewModel.h"

#include "drive/virtual/VirtualDriveConfig.h"

namespace twr::ui {

EtchedPreviewModel::EtchedPreviewModel(QObject* parent) : QObject(parent) {
  worker_ = std::thread(&EtchedPreviewModel::Work, this);
}

EtchedPreviewModel::~EtchedPreviewModel() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
  }
  wake_.notify_one();
  worker_.join();
}

void EtchedPreviewModel::Request(EtchRequest request) {
  {
    const std::lock_guard lock(mutex_);
    pending_ = std::move(request);
  }
  wake_.notify_one();
}

void EtchedPreviewModel::Work() {
  for (;;) {
    EtchRequest request;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || pending_.has_value(); });
      if (stopping_) return;
      request = std::move(*pending_);
      pending_.reset();
    }
    const EtchResult result = SimulateEtchPreview(request);
    // A queued call to this object is dropped if it is gone by then.
    QMetaObject::invokeMethod(
        this, [this, result] { Deliver(result); }, Qt::QueuedConnection);
  }
}

void EtchedPreviewModel::Deliver(const EtchResult& result) {
  picture_ = result.ok ? result.picture : QImage();
  problem_ = result.problem;
  ++finished_;
  emit Ready();
}

ElsPage ExampleEtchPage() {
  return ElsPage(ExampleElsPage());
}

BurnQuality BurnQualityOf(DesignQuality quality) {
  switch (quality) {
    case DesignQuality::Normal:
      return BurnQuality::Normal;
    case DesignQuality::High:
      return BurnQuality::High;
    case DesignQuality::Draft:
      break;
  }
  return BurnQuality::Draft;
}

}  // namespace twr::ui
