// The burn job: the three worker threads of one burn (encoder, interleaver,
// burn thread) with their control flags and the block ring, and the closing
// steps that always put the drive back. It runs a BurnPlan on a drive that
// the burn sequence (BurnSequence) has prepared; tests drive it directly.
#pragma once

#include <QImage>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "burn/BlockRing.h"
#include "burn/BurnEvents.h"
#include "burn/BurnOutcome.h"
#include "burn/BurnPlan.h"
#include "burn/DotEncoder.h"
#include "burn/ElsPage.h"

namespace twr {

class CELDevice;
class Messages;

// Polls and pauses of the pipeline. The defaults are the burn's own timings;
// tests shorten the long waits.
struct BurnTimings {
  int gatherTries = 32767;
  std::chrono::milliseconds gatherPoll{1};
  std::chrono::milliseconds encoderPoll{20};
  std::chrono::milliseconds interleaverPoll{30};
  std::chrono::milliseconds busyPause{30};
  // A drive that has answered "long write in progress" to the same WRITE for
  // longer than this is not coming back: the burn ends with that sense.
  std::chrono::milliseconds busyLimit{std::chrono::minutes(2)};
  int readyTries = 255;
  std::chrono::milliseconds readyPause{100};
  std::chrono::milliseconds stopPoll{100};
};

class BurnJob {
 public:
  BurnJob(CELDevice& device, Messages& messages);
  ~BurnJob();
  BurnJob(const BurnJob&) = delete;
  BurnJob& operator=(const BurnJob&) = delete;

  void SetEvents(BurnEvents* events) { events_ = events ? events : &noEvents_; }
  void SetTimings(const BurnTimings& timings) { timings_ = timings; }
  const BurnTimings& Timings() const { return timings_; }
  // Encode with the literal sampler (one pixel call and one pow per sample).
  void SetLiteralEncoder(bool literal) { literalEncoder_ = literal; }

  // Starts the three threads for `plan` (a startable plan) on a drive that
  // has been prepared: `armed` sent with the label-writing flag set and
  // medium removal prevented. `label` is the label image the encoder samples
  // (Format_RGB888 preferred; a null image ends the burn with message 1004),
  // an implicitly shared copy the caller may go on changing. The previous
  // burn's threads are joined first.
  void Start(const BurnPlan& plan, const ElsPage& armed, QImage label);
  // The plan of the current or last burn.
  const BurnPlan& Plan() const { return plan_; }

  // Exit while burning: the write in progress completes (or, while the drive
  // answers busy, is no longer repeated), then Finish.
  void RequestAbort() { abortRequest_.store(1); }
  bool Burning() const { return burning_.load() != 0; }
  // Joins the three threads (after the burn thread's closing steps).
  void Wait();
  // How the last burn ended (outcome None before the first).
  BurnEnding Ending() const;
  // Its message text ("" before the first burn) and what follows it.
  std::string Outcome() const { return Ending().text; }
  std::string OutcomeDetail() const { return Ending().detail; }
  // WRITE commands sent by the current or last burn, repeats after a busy
  // drive or a loss of streaming included.
  std::int32_t WriteCount() const { return writeCount_.load(); }

  // ---- Thread entries and ring steps (public for tests) ----------------------
  void EncoderThread();
  void InterleaverThread();
  void BurnThread();
  void FillRingBeforeFirstWrite();
  bool GatherWriteBlocks();
  void StopEncoder();
  BlockRing& Ring() { return ring_; }

 private:
  struct BurnRun;
  void EncodeStep(const QImage& image, int step, std::int32_t* levels, const ToneCurve& curve);
  // Free ring slots the encoder fills in place, and how many it has filled.
  struct EncoderSpan {
    std::uint8_t* slot = nullptr;
    int left = 0;
    int filled = 0;
  };
  // Publishes the filled slots when the span is used up and takes the next
  // free ones, waiting for room; false once the encoder is stopped.
  bool NextFreeSlot(EncoderSpan& span);
  // A worker thread's end: its alive flag cleared, and whoever waits for it
  // woken at once.
  void EndThread(std::atomic<std::int32_t>& alive);
  // Polls an alive flag every stopPoll until it is cleared (woken at once).
  void WaitWhileAlive(const std::atomic<std::int32_t>& alive);
  void UpdateProgress(std::int32_t n, std::int32_t writes);
  // The burn thread's states that talk to the drive.
  void SendWrite(BurnRun& run);
  void ReadSense(BurnRun& run);
  void PauseWhileBusy(BurnRun& run);
  void SkipAfterStreamingLoss(BurnRun& run);
  void SettleDrive(BurnRun& run);
  void EnterPhase(BurnRun& run, BurnPhase phase, int detail);
  // The run's ending with its counts, the detail a stop, gaps or a drive
  // that never settled add, and where the help explains it.
  BurnEnding CompleteEnding(const BurnRun& run) const;
  void CloseBurn(const BurnEnding& ending);
  void JoinThreads();

  CELDevice& device_;
  Messages& messages_;
  BurnEvents noEvents_;
  BurnEvents* events_ = &noEvents_;
  BurnTimings timings_;
  BurnPlan plan_;
  ElsPage page_;  // as armed; sent back with the flag cleared at the end
  QImage image_;
  bool literalEncoder_ = false;

  // Allocated by Start, freed by StopEncoder.
  std::unique_ptr<AngleTables> angles_;
  BlockRing ring_;

  std::atomic<std::int32_t> encoderRun_{0};
  std::atomic<std::int32_t> encoderAlive_{0};
  std::atomic<std::int32_t> interleaverRun_{0};
  std::atomic<std::int32_t> interleaverAlive_{0};
  std::atomic<std::int32_t> abortRequest_{0};
  std::atomic<std::int32_t> burning_{0};
  std::atomic<std::int32_t> writeCount_{0};
  std::mutex endMutex_;  // with endChanged_: the waits for a thread's end
  std::condition_variable endChanged_;

  mutable std::mutex outcomeMutex_;
  BurnEnding ending_;

  std::thread encoder_;
  std::thread interleaver_;
  std::thread burner_;
};

}  // namespace twr
