// The "as etched" views' picture: the simulated etch of a label at preview
// size, worked out on a thread of its own so that typing never waits for it.
// Only the latest request counts: one asked for while another runs is taken
// when that one ends, and those in between are dropped. The picture comes
// back on the thread the model lives on (Ready).
#pragma once

#include <QImage>
#include <QObject>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "burn/SimulatedEtch.h"
#include "label/LabelDocument.h"

namespace twr::ui {

class EtchedPreviewModel : public QObject {
  Q_OBJECT

 public:
  explicit EtchedPreviewModel(QObject* parent = nullptr);
  ~EtchedPreviewModel() override;

  // The etch of `request` at preview size, after the one that runs.
  void Request(EtchRequest request);
  // The last finished picture (null before the first, or when the last
  // request gave none: Problem says why).
  const QImage& Picture() const { return picture_; }
  const std::string& Problem() const { return problem_; }
  // Requests finished and handed back.
  int Finished() const { return finished_; }

 signals:
  void Ready();

 private:
  void Work();
  void Deliver(const EtchResult& result);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<EtchRequest> pending_;
  bool stopping_ = false;
  std::thread worker_;
  QImage picture_;
  std::string problem_;
  int finished_ = 0;
};

// The ELS page of the example drive: the views' picture when no drive's page
// is at hand, as `twr render --etched` draws it.
ElsPage ExampleEtchPage();

// The burn's quality for the quality a label is meant for.
BurnQuality BurnQualityOf(DesignQuality quality);

}  // namespace twr::ui
