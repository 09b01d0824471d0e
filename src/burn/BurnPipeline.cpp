// The burn job: the start of a prepared burn, the encoder, interleaver and
// burn threads, and the closing steps that always put the drive back.
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <vector>

#include "burn/BurnJob.h"
#include "common/DecimalText.h"
#include "common/Messages.h"
#include "common/Translate.h"
#include "drive/CELDevice.h"
#include "drive/SenseText.h"

namespace twr {

namespace {

constexpr std::uint8_t kSenseNotReady = 0x02;
constexpr std::uint8_t kSenseWriteError = 0x03;
constexpr std::uint8_t kAscNotReady = 0x04;
constexpr std::uint8_t kAscqLongWrite = 0x08;
constexpr std::uint8_t kAscWriteError = 0x0C;
constexpr std::uint8_t kAscqLossOfStreaming = 0x09;
constexpr std::uint32_t kAddressMask = 0x00FFFFFF;  // top 8 bits cleared
constexpr int kAllow = 0;
constexpr int kNotImmediate = 0;
// A full ring wakes the encoder when this many slots are free again.
constexpr int kEncoderRoomWant = 64;
// The most free slots the encoder takes at once.
constexpr int kEncoderSpan = 256;

// What follows the outcome text when the drive is the reason for it.
std::string DetailNoAnswer() {
  return Tr("BurnJob",
            "The drive stopped answering: no status and no sense came back. It may have been "
            "disconnected, switched off or reset; check its cable and power before the next "
            "burn.");
}
std::string DetailStillBusy() {
  return Tr("BurnJob",
            "The drive was still busy: it did not become ready after the burn. Leave the disc in "
            "until the drive has settled before you use it.");
}

constexpr std::uint8_t kSenseKeyMask = 0x0F;
constexpr std::uint8_t kSenseHardwareError = 0x04;
constexpr std::uint8_t kSenseIllegalRequest = 0x05;
constexpr std::uint8_t kSenseUnitAttention = 0x06;
constexpr std::uint8_t kAscInvalidAddress = 0x21;
constexpr std::uint8_t kAscDiscChanged = 0x28;
constexpr std::uint8_t kAscPowerOnReset = 0x29;
constexpr std::uint8_t kAscNoMedium = 0x3A;

// What to do after a refused write, by its sense (key and code).
const char* WriteAdvice(std::uint8_t keyByte, std::uint8_t asc) {
  switch (keyByte & kSenseKeyMask) {
    case kSenseNotReady:
      if (asc == kAscNoMedium)
        return Tr("BurnJob",
                  "The disc is gone: leave the tray closed during a burn, check the disc and "
                  "burn again.");
      return Tr("BurnJob", "Wait until the drive is quiet, then burn again.");
    case kSenseWriteError:
      return Tr("BurnJob", "Clean the disc or try another one, then burn again.");
    case kSenseHardwareError:
      return Tr("BurnJob",
                "Switch the drive off and on (or unplug it and plug it in) and burn again; if it "
                "comes back, the drive needs service.");
    case kSenseIllegalRequest:
      if (asc == kAscInvalidAddress)
        return Tr("BurnJob",
                  "Check the burning area in Config, and that the disc is the one the burn "
                  "dialog named.");
      return Tr("BurnJob", "Check that the drive is one that can etch labels, then burn again.");
    case kSenseUnitAttention:
      if (asc == kAscDiscChanged)
        return Tr("BurnJob", "Leave the tray closed while a burn runs, and start again.");
      if (asc == kAscPowerOnReset)
        return Tr("BurnJob", "The drive was reset: check its cable and power, then burn again.");
      return Tr("BurnJob", "Burn again.");
    default:
      break;
  }
  return Tr("BurnJob", "The help's troubleshooting page explains these values.");
}

// The sense in words and what to do; a drive that refused by its status
// alone (BUSY and the like) sends no sense, and its status is said instead.
std::string RefusedDetail(const std::uint8_t sense[3], int status) {
  const std::string byStatus = StatusRefusalText(status);
  if (sense[0] == 0 && sense[1] == 0 && sense[2] == 0 && !byStatus.empty())
    return Arg(Tr("BurnJob", "The drive refused the write: %1."), {byStatus}) + " " +
           Tr("BurnJob", "Close the program that holds the drive, then burn again.");
  return Arg(Tr("BurnJob", "The drive refused the write: %1."),
             {SenseText(sense[0], sense[1], sense[2])}) +
         " " + WriteAdvice(sense[0], sense[1]);
}

std::string BusyLimitDetail(std::chrono::milliseconds limit) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
  return Arg(Tr("BurnJob",
                "The drive answered \"long write in progress\" to the same write for more than "
                "%1 s and never took it."),
             {std::to_string(seconds)}) +
         " " + Tr("BurnJob", "Switch the drive off and on, then burn again.");
}

// A share of the writes in percent: whole percents, one decimal below one
// (so that a few writes never read as none).
std::string PercentOf(std::int32_t part, std::int32_t whole) {
  if (whole <= 0) return "0";
  const double percent = 100.0 * part / whole;
  if (percent > 0.0 && percent < 1.0) return FormatDecimal(percent, 1);
  return std::to_string(static_cast<long long>(part) * 100 / whole);
}

std::string Joined(const std::string& first, const std::string& second) {
  if (first.empty()) return second;
  if (second.empty()) return first;
  return first + " " + second;
}

}  // namespace

BurnJob::BurnJob(CELDevice& device, Messages& messages) : device_(device), messages_(messages) {}

BurnJob::~BurnJob() {
  RequestAbort();
  JoinThreads();
}

void BurnJob::JoinThreads() {
  if (encoder_.joinable()) encoder_.join();
  if (interleaver_.joinable()) interleaver_.join();
  if (burner_.joinable()) burner_.join();
}

void BurnJob::Wait() {
  JoinThreads();
}

BurnEnding BurnJob::Ending() const {
  std::lock_guard<std::mutex> lock(outcomeMutex_);
  return ending_;
}

void BurnJob::Start(const BurnPlan& plan, const ElsPage& armed, QImage label) {
  JoinThreads();  // a previous burn's threads have ended by now
  plan_ = plan;
  page_ = armed;
  image_ = std::move(label);
  angles_ = std::make_unique<AngleTables>(BuildAngleTables(plan_.entry.samples));
  ring_.Reset();
  {
    std::lock_guard<std::mutex> lock(outcomeMutex_);
    ending_ = {};
  }
  writeCount_.store(0);

  encoderRun_.store(1);
  encoderAlive_.store(1);
  encoder_ = std::thread(&BurnJob::EncoderThread, this);
  interleaverRun_.store(1);
  interleaverAlive_.store(1);
  interleaver_ = std::thread(&BurnJob::InterleaverThread, this);
  abortRequest_.store(0);
  burning_.store(1);  // set before the burn thread can clear it at its end
  burner_ = std::thread(&BurnJob::BurnThread, this);
}

// ---- Encoder ------------------------------------------------------------------

void BurnJob::EncodeStep(const QImage& image, int step, std::int32_t* levels,
                         const ToneCurve& curve) {
  SamplingGeometry geometry{plan_.band.inner, plan_.feedStep, plan_.entry.samples};
  if (literalEncoder_)
    SampleCircleLiteral(image, geometry, *angles_, plan_.toneGamma, step, levels);
  else
    SampleCircleFast(image, geometry, *angles_, curve, step, levels);
}

bool BurnJob::NextFreeSlot(EncoderSpan& span) {
  if (span.left > 0) return true;
  ring_.PublishEncoded(span.filled);
  span.filled = 0;
  for (;;) {
    span.slot = ring_.FreeSlots(kEncoderSpan, span.left);
    if (span.left > 0) return true;
    if (!encoderRun_.load()) return false;  // stopped: the rest is dropped
    ring_.WaitForRoom(kEncoderRoomWant, timings_.encoderPoll);
  }
}

void BurnJob::EncoderThread() {
  std::vector<std::int32_t> levels(static_cast<std::size_t>(std::max(plan_.entry.samples, 0)));
  if (image_.isNull()) {
    messages_.ShowString(kStrImageNotFound, MessageIcon::Error);
    EndThread(encoderAlive_);
    return;
  }
  // The fast sampler reads 24-bit scanlines; another format is converted once.
  QImage converted;
  const QImage* image = &image_;
  if (!literalEncoder_ && image_.format() != QImage::Format_RGB888) {
    converted = image_.convertToFormat(QImage::Format_RGB888);
    image = &converted;
  }
  const ToneCurve curve(plan_.toneGamma);
  const std::int32_t blocksPerPass = plan_.blocksPerRevolution;
  // Blocks are encoded straight into free ring slots and published a span
  // at a time.
  EncoderSpan span;
  bool stopped = false;
  for (std::int32_t i = 0; i < plan_.stepCount && encoderRun_.load() && !stopped; ++i) {
    EncodeStep(*image, i, levels.data(), curve);
    for (std::int32_t pass = 0; pass < plan_.steps && !stopped; ++pass) {
      for (std::int32_t b = 0; b < blocksPerPass; ++b) {
        if (!NextFreeSlot(span)) {
          stopped = true;
          break;
        }
        EncodeBlock(levels.data(), b, span.slot);
        span.slot += kBurnBlockSize;
        --span.left;
        ++span.filled;
      }
      // A pass's blocks go out together, so the interleaver never waits for
      // a span to fill.
      ring_.PublishEncoded(span.filled);
      span.filled = 0;
    }
  }
  EndThread(encoderAlive_);
}

void BurnJob::EndThread(std::atomic<std::int32_t>& alive) {
  {
    std::lock_guard<std::mutex> lock(endMutex_);
    alive.store(0);
  }
  endChanged_.notify_all();
  ring_.WakeAll();  // a thread waiting for this one's blocks sees it has ended
}

void BurnJob::WaitWhileAlive(const std::atomic<std::int32_t>& alive) {
  std::unique_lock<std::mutex> lock(endMutex_);
  while (alive.load()) endChanged_.wait_for(lock, timings_.stopPoll);
}

void BurnJob::StopEncoder() {
  encoderRun_.store(0);
  ring_.WakeAll();
  WaitWhileAlive(encoderAlive_);
  angles_.reset();
}

// ---- Interleaver --------------------------------------------------------------

void BurnJob::InterleaverThread() {
  std::vector<std::uint8_t> scratch(kWindowSize);
  Block output{};
  for (std::int32_t i = 0; i < plan_.totalBlocks && interleaverRun_.load();) {
    int count = 0;
    RingRead read;
    for (;;) {
      read = ring_.ReadyToInterleave(encoderAlive_.load() != 0, plan_.totalBlocks - i, count);
      if (read != RingRead::NotYet || !interleaverRun_.load()) break;
      ring_.WaitForWindow(timings_.interleaverPoll);
    }
    if (read != RingRead::Copied) break;  // stopped, or the encoder made no more
    // The blocks from the interleaver position are this thread's alone until
    // they are published: each is rewritten in its own slot.
    for (int k = 0; k < count; ++k) {
      InterleaveBlock(ring_.WindowAhead(k, scratch.data()), output.data());
      std::memcpy(ring_.SlotAhead(k), output.data(), kBurnBlockSize);
    }
    ring_.PublishInterleaved(count);
    i += count;
  }
  EndThread(interleaverAlive_);
}

// ---- Burn thread ----------------------------------------------------------------

// The drive's laser starts with the first write and then takes blocks at
// its own rate, whatever the host does: the first write waits for a head
// start of half the ring (or the whole burn when it is smaller), so that the
// threads' own start never lets the drive's buffer run dry.
void BurnJob::FillRingBeforeFirstWrite() {
  const int want = std::min(plan_.totalBlocks, kRingSlots / 2);
  while (ring_.InterleavedBlocks() < want && interleaverAlive_.load() != 0 &&
         abortRequest_.load() == 0)
    ring_.WaitForBlocks(want, timings_.gatherPoll);
}

bool BurnJob::GatherWriteBlocks() {
  std::uint8_t* area = device_.WriteArea();
  const std::int32_t blocksPerWrite = plan_.blocksPerWrite;
  int tries = 0;  // for the block still missing
  for (std::int32_t i = 0; i < blocksPerWrite;) {
    int taken = 0;
    const RingRead read =
        ring_.TakeBlocks(area + static_cast<std::size_t>(i) * kBurnBlockSize, blocksPerWrite - i,
                         interleaverAlive_.load() != 0, taken);
    if (read == RingRead::Copied) {
      i += taken;
      tries = 0;
      continue;
    }
    // Once the interleaver has ended, a missing block never comes.
    if (read == RingRead::Never || ++tries >= timings_.gatherTries) return false;
    // Wake for the rest of this write rather than for every block.
    ring_.WaitForBlocks(blocksPerWrite - i, timings_.gatherPoll);
  }
  return true;
}

void BurnJob::UpdateProgress(std::int32_t written, std::int32_t writes) {
  const std::uint32_t percent =
      static_cast<std::uint32_t>(written) * 100u / static_cast<std::uint32_t>(writes);
  const double minutesLeft = (100.0 - percent) * plan_.requiredTime * 0.01;
  events_->SetText(MinutesText(minutesLeft));
  events_->StepIt();
}

// The burn thread's state: where the writes are and how the burn ends.
struct BurnJob::BurnRun {
  enum class State { Next, Gather, Write, Sense, Busy, Streaming, Written, Finish, End };
  State state = State::Next;
  std::int32_t blocksPerWrite = 0;
  std::int32_t writes = 0;  // WRITE commands of the band
  std::int32_t perRevolution = 1;
  std::uint32_t bytesPerWrite = 0;
  std::int32_t writeNumber = 0;  // of the write being sent, from 1
  std::int32_t lastWritten = 0;  // of the last write the drive took
  std::int32_t skipped = 0;      // writes given up after losses of streaming
  bool settled = true;           // the drive got ready after the last write
  std::uint32_t address = 0;
  std::int32_t toGather = 0;  // writes' blocks to take from the ring before the next WRITE
  std::uint8_t sense[3] = {0, 0, 0};
  // Start of the busy answers to the WRITE being repeated; empty outside one.
  std::optional<std::chrono::steady_clock::time_point> busySince;
  int streamingLosses = 0;
  BurnPhase phase = BurnPhase::Preparing;
  int phaseDetail = 0;
  BurnEnding ending = Ending(BurnOutcome::Finished, StringText(kStrFinishBurning));

  static BurnEnding Ending(BurnOutcome outcome, std::string text, std::string detail = {}) {
    BurnEnding e;
    e.outcome = outcome;
    e.text = std::move(text);
    e.detail = std::move(detail);
    return e;
  }
  void EndWith(BurnOutcome outcome, std::string text, std::string detail = {}) {
    ending = Ending(outcome, std::move(text), std::move(detail));
    state = State::End;
  }
};

void BurnJob::EnterPhase(BurnRun& run, BurnPhase phase, int detail) {
  if (run.phase == phase && run.phaseDetail == detail) return;
  run.phase = phase;
  run.phaseDetail = detail;
  events_->Phase(phase, detail);
}

void BurnJob::BurnThread() {
  using State = BurnRun::State;
  BurnRun run;
  run.blocksPerWrite = plan_.blocksPerWrite;
  run.writes = plan_.writes;
  run.bytesPerWrite = static_cast<std::uint32_t>(std::max(run.blocksPerWrite, 0)) * kBurnBlockSize;
  run.perRevolution = std::max(plan_.writesPerRevolution, 1);
  run.address = static_cast<std::uint32_t>(plan_.startAddress);
  EnterPhase(run, BurnPhase::Burning, 0);
  events_->SetText("");
  events_->SetShowText(true);
  events_->SetRange(0, std::max(run.writes, 0));
  events_->SetPos(0);
  events_->SetStep(1);

  // A band narrower than one write sends nothing.
  if (run.writes <= 0)
    run.EndWith(BurnOutcome::TooNarrow, Tr("BurnPlan", kBandTooNarrow));
  else
    FillRingBeforeFirstWrite();
  while (run.state != State::End) {
    switch (run.state) {
      case State::Next:
        run.toGather = 1;
        run.state = State::Gather;
        break;
      case State::Gather:
        run.state = State::Write;
        for (std::int32_t i = 0; i < run.toGather; ++i) {
          ++run.writeNumber;
          run.address += static_cast<std::uint32_t>(run.blocksPerWrite);
          if (!GatherWriteBlocks()) {
            run.EndWith(BurnOutcome::BufferEmpty, StringText(kStrBufferEmpty));
            break;
          }
        }
        break;
      case State::Write:
        SendWrite(run);
        break;
      case State::Sense:
        ReadSense(run);
        break;
      case State::Busy:
        PauseWhileBusy(run);
        break;
      case State::Streaming:
        SkipAfterStreamingLoss(run);
        break;
      case State::Written:
        run.busySince.reset();
        run.lastWritten = run.writeNumber;
        EnterPhase(run, BurnPhase::Burning, run.streamingLosses);
        UpdateProgress(run.writeNumber, run.writes);
        if (run.writeNumber >= run.writes) {
          run.state = State::Finish;
        } else if (abortRequest_.load()) {
          run.ending.outcome = BurnOutcome::Stopped;
          run.state = State::Finish;
        } else {
          run.state = State::Next;
        }
        break;
      case State::Finish:
        SettleDrive(run);
        break;
      case State::End:
        break;
    }
  }
  CloseBurn(CompleteEnding(run));
}

BurnEnding BurnJob::CompleteEnding(const BurnRun& run) const {
  BurnEnding ending = run.ending;
  ending.writes = std::max(run.writes, 0);
  ending.lastWrite = std::min(run.writeNumber, ending.writes);
  ending.skippedWrites = run.skipped;
  ending.streamingLosses = run.streamingLosses;
  const std::string writes = std::to_string(ending.writes);
  const std::string skipped = std::to_string(run.skipped);
  const std::string skippedShare = PercentOf(run.skipped, ending.writes);
  // The drive that fell silent after the writes: the end of the burn is not
  // known to be on the disc.
  const std::string unsettled =
      run.settled ? std::string()
                  : (device_.LastCommandUnanswered() ? DetailNoAnswer() : DetailStillBusy());
  switch (ending.outcome) {
    case BurnOutcome::Finished:
      if (run.skipped > 0) {
        ending.outcome = BurnOutcome::FinishedWithGaps;
        ending.detail = Arg(Tr("BurnJob",
                               "The burn finished with %1 of %2 writes skipped after loss of "
                               "streaming (%3 %); the label has gaps. Losses of streaming: %4, "
                               "each costing the rest of a revolution; keep the computer lightly "
                               "loaded during a burn."),
                            {skipped, writes, skippedShare, std::to_string(run.streamingLosses)});
        ending.help = kHelpGaps;
      } else if (!run.settled) {
        ending.help = kHelpFinished;
      }
      break;
    case BurnOutcome::Stopped: {
      const std::int32_t done = std::max(run.lastWritten, 0);
      ending.lastWrite = done;
      ending.detail = Arg(Tr("BurnJob",
                             "Stopped by you after write %1 of %2 (%3 %); the disc is "
                             "part-etched."),
                          {std::to_string(done), writes, PercentOf(done, ending.writes)});
      if (run.skipped > 0)
        ending.detail = Joined(ending.detail,
                               Arg(Tr("BurnJob",
                                      "Before the stop, %1 of %2 writes were skipped after loss of "
                                      "streaming (%3 %); the label has gaps."),
                                   {skipped, writes, skippedShare}));
      ending.help = kHelpStopped;
      break;
    }
    case BurnOutcome::WriteFailed:
      ending.help = kHelpWritingError;
      break;
    case BurnOutcome::DriveGone:
      ending.help = kHelpDriveGone;
      break;
    case BurnOutcome::BufferEmpty:
      ending.help = kHelpBufferEmpty;
      break;
    case BurnOutcome::TooNarrow:
      ending.help = kHelpTooNarrow;
      break;
    case BurnOutcome::None:
    case BurnOutcome::FinishedWithGaps:
      break;
  }
  if (!run.settled) {
    ending.detail = Joined(ending.detail, unsettled);
    // A drive that stopped answering after the writes may not have etched
    // what it held: that is not a clean finish.
    if (device_.LastCommandUnanswered() && ending.outcome != BurnOutcome::Stopped) {
      ending.outcome = BurnOutcome::DriveGone;
      ending.help = kHelpDriveGone;
    }
  }
  return ending;
}

void BurnJob::SendWrite(BurnRun& run) {
  writeCount_.fetch_add(1);
  run.state =
      device_.Write12(run.address & kAddressMask, run.bytesPerWrite, run.blocksPerWrite, run.sense)
          ? BurnRun::State::Written
          : BurnRun::State::Sense;
}

void BurnJob::ReadSense(BurnRun& run) {
  const std::uint8_t* sense = run.sense;
  if (sense[0] == kSenseNotReady && sense[1] == kAscNotReady && sense[2] == kAscqLongWrite) {
    const auto now = std::chrono::steady_clock::now();
    if (!run.busySince) run.busySince = now;
    if (now - *run.busySince > timings_.busyLimit) {
      run.EndWith(BurnOutcome::WriteFailed, WritingErrorText(sense[0], sense[1], sense[2]),
                  BusyLimitDetail(timings_.busyLimit));
      return;
    }
    const auto busy = std::chrono::duration_cast<std::chrono::seconds>(now - *run.busySince);
    EnterPhase(run, BurnPhase::DriveBusy, static_cast<int>(busy.count()));
    run.state = BurnRun::State::Busy;
    return;
  }
  run.busySince.reset();
  if (sense[0] == kSenseWriteError && sense[1] == kAscWriteError &&
      sense[2] == kAscqLossOfStreaming) {
    run.state = BurnRun::State::Streaming;
    return;
  }
  if (device_.LastCommandUnanswered())
    run.EndWith(BurnOutcome::DriveGone, WritingErrorText(sense[0], sense[1], sense[2]),
                DetailNoAnswer());
  else
    run.EndWith(BurnOutcome::WriteFailed, WritingErrorText(sense[0], sense[1], sense[2]),
                RefusedDetail(run.sense, device_.LastCommandStatus()));
}

void BurnJob::PauseWhileBusy(BurnRun& run) {
  {
    std::lock_guard<std::mutex> lock(ring_.Lock());
    std::this_thread::sleep_for(timings_.busyPause);
  }
  // A stop request ends the repeats: the blocks of this write are not sent,
  // and the burn closes as after any stop.
  if (abortRequest_.load()) {
    run.busySince.reset();
    run.ending.outcome = BurnOutcome::Stopped;
    run.state = BurnRun::State::Finish;
  } else {
    run.state = BurnRun::State::Write;
  }
}

void BurnJob::SkipAfterStreamingLoss(BurnRun& run) {
  ++run.streamingLosses;
  EnterPhase(run, BurnPhase::StreamingLost, run.streamingLosses);
  // A loss at a revolution's last write sends that write again. A loss
  // before it gives up the rest of the revolution: the burn goes on at the
  // next revolution's first write, its blocks taken from the ring past the
  // skipped ones (toGather - 1 writes are skipped: a gap count starts here).
  const std::int32_t intoRevolution = run.writeNumber % run.perRevolution;
  run.toGather = intoRevolution == 0 ? 0 : run.perRevolution - intoRevolution + 1;
  // A loss in the last revolution would need blocks from past the stream:
  // the burn ends there instead, without the failed write and those after it.
  if (run.writeNumber + run.toGather > run.writes) {
    run.skipped += run.writes - run.writeNumber + 1;
    run.state = BurnRun::State::Finish;
  } else {
    // The failed write and the rest of its revolution are not on the disc.
    run.skipped += run.toGather;
    run.state = intoRevolution == 0 ? BurnRun::State::Write : BurnRun::State::Gather;
  }
}

void BurnJob::SettleDrive(BurnRun& run) {
  EnterPhase(run, BurnPhase::Synchronising, 0);
  device_.SynchronizeCache();
  bool ready = false;
  for (int i = 0; i < timings_.readyTries; ++i) {
    ready = device_.TestUnitReady() != 0;
    if (ready) break;
    EnterPhase(run, BurnPhase::WaitingForDrive, i + 1);
    std::lock_guard<std::mutex> lock(ring_.Lock());
    std::this_thread::sleep_for(timings_.readyPause);
  }
  // The outcome text stays; the detail says the drive never settled.
  run.settled = ready;
  run.state = BurnRun::State::End;
}

void BurnJob::CloseBurn(const BurnEnding& ending) {
  events_->Phase(BurnPhase::Restoring, 0);
  StopEncoder();
  interleaverRun_.store(0);
  ring_.WakeAll();
  WaitWhileAlive(interleaverAlive_);
  page_.SetU8(ElsPage::kOffLabelWriting, 0);
  device_.WriteModePage(page_.Data());
  {
    std::lock_guard<std::mutex> lock(outcomeMutex_);
    ending_ = ending;
  }
  messages_.ShowWithHelp(ending.text, ending.detail, OutcomeIcon(ending.outcome), ending.help);
  events_->SetShowText(false);
  events_->SetPos(0);
  device_.PreventAllowRemoval(kAllow);
  device_.StartStopUnit(kNotImmediate);
  burning_.store(0);
  events_->Phase(BurnPhase::Done, 0);
  events_->Finished(ending.text);
}

}  // namespace twr
