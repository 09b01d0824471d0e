// The burn job behind the burn dialog: the burn parameters, the ELS page and
// the preparation of a burn, the disc check, and the three worker threads
// (encoder, interleaver, burn thread) with their control flags and the block
// ring. The dialog owns one; `twr burn` and the tests use it directly.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "burn/BlockRing.h"
#include "burn/BurnEvents.h"
#include "burn/DotEncoder.h"
#include "burn/ElsPage.h"
#include "drive/DiscGeometry.h"

class QImage;

namespace twr {

class CELDevice;
class Messages;

enum class BurnQuality { Draft, Normal, High };

// On a complete DVD-R / DVD+R the band starts at least this far out (mm),
// however little data the disc holds.
inline constexpr double kDvdMinusRDataLimit = 36.0;
inline constexpr double kDvdPlusRDataLimit = 31.0;

// Outcome text of a burn whose band holds less than one write's worth of blocks.
inline constexpr const char* kBandTooNarrow = "The burn band is too narrow to burn.";

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

struct BurnParameters {
  double innerRadius = 25.0;        // mm
  double outerRadius = 58.0;        // mm
  double rotation = 0.0;            // revolutions per minute of the chosen speed entry
  double speed = 0.0;               // units of 75 blocks per second
  std::int32_t halfSamples = 8820;  // half the samples of a circle
  std::int32_t samples = 17640;     // samples of a circle
  double feedStep = 0.0;            // um from one circle to the next
  double advance = 0.74;            // um per revolution
  std::int32_t steps = 5;           // revolutions burned on each circle
  std::int32_t draftSteps = 5;
  std::int32_t normalSteps = 11;
  std::int32_t highSteps = 20;
  std::int32_t totalRevolutions = 0;
  double requiredTime = 0.0;  // minutes
  std::string timeText;       // the required time as "mm:ss"
  std::int32_t startAddress = kBlockZeroAddress;
  std::int32_t blocksPerWrite = 90;
  std::int32_t writesPerRevolution = 1;
  double toneGamma = 2.0;
  // Set when a burn starts.
  std::int32_t stepCount = 0;  // circles burned
  std::int32_t blocksPerRevolution = 0;
  std::int32_t totalBlocks = 0;
};

// Sets what a burn of the prepared parameters sends: the circles burned
// (whole steps of `steps` revolutions), the blocks of a revolution and the
// blocks encoded, cut to whole writes.
void CountBurnBlocks(BurnParameters& params);
// The WRITE(12) commands of such a burn: its blocks less the two that the
// interleaver cannot complete, in whole writes.
std::int32_t BurnWrites(const BurnParameters& params);

class BurnJob {
 public:
  BurnJob(CELDevice& device, Messages& messages);
  ~BurnJob();
  BurnJob(const BurnJob&) = delete;
  BurnJob& operator=(const BurnJob&) = delete;

  // ---- Inputs -------------------------------------------------------------
  void SetBand(double innerRadius, double outerRadius);
  void SetQuality(BurnQuality quality);  // steps = that quality's revolutions per circle
  void SetSteps(std::int32_t steps) { params_.steps = steps; }
  // The label image (Format_RGB888 preferred); nullptr when there is none.
  void SetLabelImage(const QImage* image) { image_ = image; }
  void SetEvents(BurnEvents* events) { events_ = events ? events : &noEvents_; }
  void SetTimings(const BurnTimings& timings) { timings_ = timings; }
  // Encode with the literal sampler (one pixel call and one pow per sample).
  void SetLiteralEncoder(bool literal) { literalEncoder_ = literal; }

  const BurnParameters& Params() const { return params_; }
  ElsPage& Page() { return page_; }

  // ---- Preparation ----------------------------------------------------------
  bool ReadElsPage();
  bool WriteElsPage();
  bool ChooseSpeedEntry();
  bool ComputeRequiredTime();
  bool ChooseQualitySteps();
  double EstimateRequiredTime(double innerRadius, double outerRadius);
  bool CheckDiscForBurn();
  bool PrepareBurn();
  static bool RadiusToAddress(double innerRadius, double outerRadius, std::int32_t& address,
                              std::string& message);
  std::int32_t BlocksPerWrite(std::int32_t blocksPerRevolution);

  // ---- The burn -------------------------------------------------------------
  // The Draw action after the disc check: prevents medium removal, prepares
  // and starts the three threads. When the preparation fails no thread
  // starts, the label-writing flag goes back to 0 on the drive and medium
  // removal is allowed again.
  bool StartBurn();
  // Exit while burning: the write in progress completes (or, while the drive
  // answers busy, is no longer repeated), then Finish.
  void RequestAbort() { abortRequest_.store(1); }
  bool Burning() const { return burning_.load() != 0; }
  // Joins the three threads (after the burn thread's closing steps).
  void Wait();
  // Outcome text of the last burn ("" before the first).
  std::string Outcome() const;
  // What follows the outcome text: why the burn ended as it did ("" when
  // the outcome says it all).
  std::string OutcomeDetail() const;
  // WRITE commands sent by the current or last burn, repeats after a busy
  // drive or a loss of streaming included.
  std::int32_t WriteCount() const { return writeCount_.load(); }

  // ---- Thread entries and ring steps (public for tests) ----------------------
  void EncoderThread();
  void InterleaverThread();
  void BurnThread();
  bool GatherWriteBlocks();
  void StopEncoder();
  BlockRing& Ring() { return ring_; }

 private:
  // The feed step in micrometres from the page's FeedStepLength and divisor;
  // message 402 and false when FeedStepLength or the selected divisor is zero.
  bool FeedStepFromPage(double& feedStep);
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
  void CloseBurn(const std::string& outcome, const std::string& detail);
  void JoinThreads();

  CELDevice& device_;
  Messages& messages_;
  BurnEvents noEvents_;
  BurnEvents* events_ = &noEvents_;
  BurnTimings timings_;
  BurnParameters params_;
  ElsPage page_;
  const QImage* image_ = nullptr;
  bool literalEncoder_ = false;
  bool pageArmed_ = false;  // page sent with the label-writing flag set

  // Allocated by StartBurn, freed by StopEncoder.
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
  std::string outcome_;
  std::string outcomeDetail_;

  std::thread encoder_;
  std::thread interleaver_;
  std::thread burner_;
};

}  // namespace twr
