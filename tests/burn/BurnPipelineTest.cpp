// The three burn threads against the virtual drive's burn side: every answer
// of the drive, aborts and the mended ends. Each burn must end with its
// message, the label-writing flag cleared and the tray ejected, in bounded time.
#include <gtest/gtest.h>
#include <QImage>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "burn/BurnProgress.h"
#include "burn/BurnSequence.h"
#include "burn/BurnTestDrive.h"
#include "burn/SimulatedEtch.h"
#include "common/RecordingMessages.h"
#include "common/TempDir.h"
#include "drive/CELDevice.h"

namespace twr {
namespace {

using namespace std::chrono_literals;

class CountingEvents : public BurnEvents {
 public:
  void StepIt() override { ++steps; }
  void SetRange(int, int high) override { range = high; }
  void SetText(const std::string& t) override { text = t; }
  void Finished(const std::string& outcome) override { finished = outcome; }
  int steps = 0;
  int range = -1;
  std::string text;
  std::string finished;
};

class BurnPipelineTest : public ::testing::Test {
 protected:
  void Start(const std::string& faults, double outer = 25.3, double pace = 0,
             const QImage* image = nullptr, VirtualBurnConfig config = {},
             std::chrono::milliseconds busyLimit = std::chrono::minutes(2)) {
    config.faults = faults;
    config.pace = pace;
    drive_ = std::make_shared<test::BurnTestDrive>(config);
    device_.AttachTransport(drive_);
    image_ = QImage(1655, 1655, QImage::Format_RGB888);
    image_.fill(Qt::white);
    burn_ = std::make_unique<BurnSequence>(device_, messages_);
    BurnTimings timings;
    timings.readyPause = 1ms;
    timings.stopPoll = 5ms;
    timings.busyLimit = busyLimit;
    burn_->SetTimings(timings);
    burn_->SetEvents(&events_);
    started_ = std::chrono::steady_clock::now();
    ASSERT_EQ(burn_->Start({{25.0, outer}, {}, BurnQuality::Draft, 11},
                           image ? *image : (noImage_ ? QImage() : image_)),
              StartResult::Started);
  }

  // Waits for the burn and checks the closing steps.
  void Finish(const std::string& outcome, bool deviceGone = false) {
    burn_->Wait();
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    EXPECT_LT(elapsed, 10s);
    EXPECT_EQ(burn_->Ending().text, outcome);
    EXPECT_EQ(events_.finished, outcome);
    // Shown once at the end, with its own icon and the help that explains it.
    const auto records = messages_.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().text, outcome);
    EXPECT_EQ(records.back().icon, OutcomeIcon(burn_->Ending().outcome));
    EXPECT_EQ(records.back().help, burn_->Ending().help);
    const auto ops = drive_->Opcodes();
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.back(), 0x1B);  // the eject is the last command
    if (deviceGone) {
      // Nothing arrives any more, but the closing steps were still sent.
      const auto lastWrite = std::find(ops.rbegin(), ops.rend(), 0xAA).base();
      EXPECT_NE(std::find(lastWrite, ops.end(), 0x55), ops.end());
      EXPECT_NE(std::find(lastWrite, ops.end(), 0x1E), ops.end());
    } else {
      const auto pages = drive_->WrittenPages();
      ASSERT_FALSE(pages.empty());
      EXPECT_EQ(pages.back()[ElsPage::kOffLabelWriting], 0);
      EXPECT_FALSE(drive_->Prevented());
    }
    EXPECT_FALSE(burn_->Burning());
  }

  std::uint32_t Address(int n) const {
    return static_cast<std::uint32_t>(burn_->CurrentPlan().startAddress +
                                      n * burn_->CurrentPlan().blocksPerWrite);
  }
  std::int32_t Writes() const {
    return (burn_->CurrentPlan().totalBlocks - 2) / burn_->CurrentPlan().blocksPerWrite;
  }
  bool SyncSent() {
    for (auto op : drive_->Opcodes())
      if (op == 0x35) return true;
    return false;
  }

  CELDevice device_;
  test::RecordingMessages messages_;
  CountingEvents events_;
  std::shared_ptr<test::BurnTestDrive> drive_;
  QImage image_;
  bool noImage_ = false;
  std::unique_ptr<BurnSequence> burn_;
  std::chrono::steady_clock::time_point started_;
};

TEST_F(BurnPipelineTest, CleanBurnSendsEveryWriteInOrder) {
  Start("");
  Finish("Finish Burning.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::Finished);
  const std::int32_t writes = Writes();
  EXPECT_EQ(burn_->CurrentPlan().totalBlocks, 25 * 45 * 11);
  EXPECT_EQ(writes, (25 * 45 * 11 - 2) / 15);
  const auto trace = drive_->Side().Trace();
  ASSERT_EQ(trace.size(), static_cast<std::size_t>(writes));
  for (std::size_t i = 0; i < trace.size(); ++i) {
    ASSERT_TRUE(trace[i].accepted);
    ASSERT_EQ(trace[i].lba, Address(static_cast<int>(i) + 1));
    ASSERT_EQ(trace[i].blocks, 15u);
  }
  EXPECT_EQ(events_.range, writes);
  EXPECT_EQ(events_.steps, writes);
  EXPECT_EQ(events_.text, "00:00");
  EXPECT_TRUE(SyncSent());
}

TEST_F(BurnPipelineTest, BusyRepeatsTheSameWrite) {
  Start("busy:3:4");
  Finish("Finish Burning.");
  const auto trace = drive_->Side().Trace();
  int busy = 0;
  for (const auto& r : trace) {
    if (!r.accepted) {
      EXPECT_EQ(r.lba, Address(3));
      EXPECT_EQ(r.sense.key, 0x02);
      ++busy;
    }
  }
  EXPECT_EQ(busy, 4);
  EXPECT_EQ(trace.size(), static_cast<std::size_t>(Writes() + 4));
}

// A drive that answers busy for good: a stop request ends the repeats and
// the burn closes through Finish; without one, the spell ends after the busy
// limit as a writing error with that sense, and no SYNCHRONIZE CACHE follows.
TEST_F(BurnPipelineTest, BusyForeverStopsOnRequestOrAfterTheLimit) {
  Start("busy:3:forever");
  while (burn_->WriteCount() < 8 && burn_->Burning()) std::this_thread::sleep_for(1ms);
  burn_->RequestStop();
  Finish("Finish Burning.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::Stopped);
  auto trace = drive_->Side().Trace();
  ASSERT_GE(trace.size(), 8u);
  for (std::size_t i = 2; i < trace.size(); ++i) {
    EXPECT_FALSE(trace[i].accepted);
    EXPECT_EQ(trace[i].lba, Address(3));
  }
  EXPECT_TRUE(SyncSent());

  Start("busy:3:forever", 25.3, 0, nullptr, {}, 150ms);
  Finish("Writing Error[Sense=2,Asc=4,Ascq=8]");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::WriteFailed);
  EXPECT_NE(burn_->Ending().detail.find("long write in progress"), std::string::npos);
  trace = drive_->Side().Trace();
  // About 150 ms of 30 ms pauses; never without end.
  EXPECT_GE(trace.size(), 2u + 4u);
  EXPECT_LE(trace.size(), 2u + 40u);
  EXPECT_FALSE(SyncSent());
}

// The outcome texts stay as they are; the detail after them says what the
// drive did: refused (its sense in words), stopped answering, stayed busy.
TEST_F(BurnPipelineTest, OutcomeDetailTellsWhatTheDriveDid) {
  struct Case {
    const char* faults;
    const char* outcome;
    const char* detail;  // "" for none
  };
  const Case cases[] = {
      {"", "Finish Burning.", ""},
      {"error:5:05/21/00", "Writing Error[Sense=5,Asc=21,Ascq=0]",
       "The drive refused the write: illegal request: invalid address (logical block address "
       "out of range)."},
      {"error:3:03/0C/00", "Writing Error[Sense=3,Asc=c,Ascq=0]",
       "The drive refused the write: medium error: write error."},
      {"error:2:06/28/00", "Writing Error[Sense=6,Asc=28,Ascq=0]",
       "The drive refused the write: unit attention: the disc was changed."},
      {"error:2:82/04/08", "Writing Error[Sense=82,Asc=4,Ascq=8]",
       "The drive refused the write: not ready: long write in progress."},
      {"error:2:04/44/00", "Writing Error[Sense=4,Asc=44,Ascq=0]",
       "The drive refused the write: hardware error: internal drive failure."},
      {"gone:4", "Writing Error[Sense=0,Asc=0,Ascq=0]", "The drive stopped answering"},
      {"notready", "Finish Burning.", "The drive was still busy"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.faults);
    Start(c.faults, 25.1);
    Finish(c.outcome, std::string(c.faults).rfind("gone", 0) == 0);
    if (*c.detail == 0) {
      EXPECT_EQ(burn_->Ending().detail, "");
    } else {
      EXPECT_EQ(burn_->Ending().detail.rfind(c.detail, 0), 0u) << burn_->Ending().detail;
    }
    const auto records = messages_.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().text, c.outcome);
    EXPECT_EQ(records.back().detail, burn_->Ending().detail);
  }
}

TEST_F(BurnPipelineTest, StreamingLossSkipsTheRestOfTheRevolution) {
  // Three writes per revolution: a loss on write 4 discards 5 and 6.
  Start("streaming:4");
  Finish("Finish Burning.");
  // The failed write and the two after it are gaps: not a clean finish.
  const BurnEnding ending = burn_->Ending();
  EXPECT_EQ(ending.outcome, BurnOutcome::FinishedWithGaps);
  EXPECT_EQ(ending.skippedWrites, 3);
  EXPECT_EQ(ending.streamingLosses, 1);
  EXPECT_FALSE(ending.Succeeded());
  EXPECT_EQ(ending.detail.rfind("The burn finished with 3 of 824 writes skipped after loss of "
                                "streaming (0.4 %); the label has gaps.",
                                0),
            0u)
      << ending.detail;
  EXPECT_EQ(ending.help, "troubleshooting.html#gaps");
  const auto trace = drive_->Side().Trace();
  ASSERT_GE(trace.size(), 6u);
  EXPECT_EQ(trace[3].lba, Address(4));
  EXPECT_FALSE(trace[3].accepted);
  EXPECT_EQ(trace[4].lba, Address(7));
  EXPECT_TRUE(trace[4].accepted);
  EXPECT_EQ(trace.size(), static_cast<std::size_t>(Writes() - 2));
}

TEST_F(BurnPipelineTest, StreamingLossOnTheLastWriteOfARevolutionResends) {
  Start("streaming:6");
  Finish("Finish Burning.");
  const auto trace = drive_->Side().Trace();
  ASSERT_GE(trace.size(), 7u);
  EXPECT_FALSE(trace[5].accepted);
  EXPECT_EQ(trace[5].lba, Address(6));
  EXPECT_TRUE(trace[6].accepted);
  EXPECT_EQ(trace[6].lba, Address(6));
  EXPECT_EQ(trace.size(), static_cast<std::size_t>(Writes() + 1));
}

TEST_F(BurnPipelineTest, StreamingLossInTheLastRevolutionEndsTheBurn) {
  // 824 writes; a loss on write 823 (r = 1) would need writes 824 to 826.
  Start("streaming:823");
  ASSERT_EQ(Writes(), 824);
  Finish("Finish Burning.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::FinishedWithGaps);
  EXPECT_EQ(burn_->Ending().skippedWrites, 2);  // 823 and 824 never went out
  for (const auto& r : drive_->Side().Trace()) EXPECT_LE(r.lba, Address(Writes()));
  EXPECT_EQ(drive_->Side().Trace().size(), 823u);
  EXPECT_TRUE(SyncSent());
}

TEST_F(BurnPipelineTest, PacedDriveLosesStreamingWhenTheHostFallsBehind) {
  // The drive's clock moves 0.9 of a write's playing time per write, so
  // its buffer never runs dry, until the host stalls for a second before
  // write 4: the drive has played everything and answers loss of
  // streaming; three writes per revolution, so 5 and 6 are skipped.
  using Clock = std::chrono::steady_clock;
  constexpr double kRate = 45 * 75.0;  // blocks per second at pace 1
  const auto perWrite =
      std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(0.9 * 15 / kRate));
  auto calls = std::make_shared<std::atomic<int>>(0);
  VirtualBurnConfig config;
  config.clock = [calls, perWrite] {
    const int call = ++*calls;
    return Clock::time_point() + call * perWrite + (call >= 4 ? Clock::duration(1s) : 0s);
  };
  Start("", 25.1, 1.0, nullptr, config);
  Finish("Finish Burning.");
  const auto trace = drive_->Side().Trace();
  ASSERT_EQ(trace.size(), static_cast<std::size_t>(Writes() - 2));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(trace[i].accepted) << i;
  EXPECT_FALSE(trace[3].accepted);
  EXPECT_EQ(trace[3].lba, Address(4));
  EXPECT_EQ(trace[3].sense.key, 0x03);
  EXPECT_EQ(trace[3].sense.asc, 0x0C);
  EXPECT_EQ(trace[3].sense.ascq, 0x09);
  for (std::size_t i = 4; i < trace.size(); ++i) {
    ASSERT_TRUE(trace[i].accepted) << i;
    ASSERT_EQ(trace[i].lba, Address(static_cast<int>(i) + 3)) << i;
  }
  // The progress counts sent writes only; the ending counts the gap.
  EXPECT_EQ(events_.steps, Writes() - 3);
  EXPECT_EQ(burn_->Ending().skippedWrites, 3);
}

// A drive paced at its real rate that also draws what it etched: the
// drive's own work on a write (decoding the marks, 30 ms and more for the
// first) is not the host's, and the threads' start has its head start in
// the ring, so a host that keeps up gets a clean burn.
TEST_F(BurnPipelineTest, PacedDriveThatDrawsItsPictureBurnsClean) {
  const test::TempDir temp("paced");
  VirtualBurnConfig config;
  config.etchedPath = temp.File("etched.png");
  config.keepMarks = false;
  Start("", 25.1, 1.0, nullptr, config);
  Finish("Finish Burning.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::Finished);
  EXPECT_EQ(burn_->Ending().streamingLosses, 0);
  EXPECT_EQ(drive_->Side().PicturesWritten(), 1);
  for (const auto& r : drive_->Side().Trace()) ASSERT_TRUE(r.accepted) << r.number;
}

TEST_F(BurnPipelineTest, OtherSenseIsAWritingError) {
  Start("error:5:05/21/00");
  Finish("Writing Error[Sense=5,Asc=21,Ascq=0]");
  EXPECT_EQ(drive_->Side().Trace().size(), 5u);
  EXPECT_FALSE(SyncSent());
}

TEST_F(BurnPipelineTest, FlaggedNotReadyIsNotBusy) {
  Start("error:2:82/04/08");
  Finish("Writing Error[Sense=82,Asc=4,Ascq=8]");
  EXPECT_EQ(drive_->Side().Trace().size(), 2u);
}

TEST_F(BurnPipelineTest, NeverReadyAfterSynchronizeCache) {
  Start("notready");
  Finish("Finish Burning.");
  const auto ops = drive_->Opcodes();
  auto sync = std::find(ops.begin(), ops.end(), 0x35);
  ASSERT_NE(sync, ops.end());
  EXPECT_EQ(std::count(sync, ops.end(), 0x00), 255);
}

TEST_F(BurnPipelineTest, DeviceGoneEndsTheBurn) {
  Start("gone:10");
  Finish("Writing Error[Sense=0,Asc=0,Ascq=0]", true);
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::DriveGone);
  EXPECT_EQ(drive_->Side().Trace().size(), 10u);
}

TEST_F(BurnPipelineTest, AbortFinishesAfterTheWriteInProgress) {
  Start("", 25.3, 1.0);  // at the real rate: about 4 s for the band
  while (burn_->WriteCount() < 60 && burn_->Burning()) std::this_thread::sleep_for(1ms);
  burn_->RequestStop();
  Finish("Finish Burning.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::Stopped);
  const std::size_t sent = drive_->Side().Trace().size();
  EXPECT_LT(sent, static_cast<std::size_t>(Writes()));
  EXPECT_TRUE(SyncSent());
  // Where it stopped, as the outcome's detail says it: never a clean finish.
  const BurnEnding ending = burn_->Ending();
  // A write lost to a loss of streaming (a slowed machine) is in the trace
  // without being written.
  if (ending.streamingLosses == 0) {
    EXPECT_EQ(ending.lastWrite, static_cast<std::int32_t>(sent));
  }
  EXPECT_GT(ending.lastWrite, 0);
  const std::string percent = std::to_string(ending.lastWrite * 100 / 824);
  EXPECT_EQ(ending.detail.rfind("Stopped by you after write " + std::to_string(ending.lastWrite) +
                                    " of 824 (" + percent + " %); the disc is part-etched.",
                                0),
            0u)
      << ending.detail;
  EXPECT_EQ(ending.help, "troubleshooting.html#stopped");
  EXPECT_EQ(messages_.Records().back().icon, MessageIcon::Information);
}

// Every fault of the virtual drive at the start of the band, in its middle
// and in its last revolution: the ending the user is shown (kind, text,
// icon, detail, help), the gaps counted, and the closing steps in the
// drive's trace (page sent back, removal allowed, the eject last).
TEST_F(BurnPipelineTest, FaultMatrixEndsRightAtEveryWritePosition) {
  struct Kind {
    const char* fault;  // with %P for the write
    BurnOutcome outcome;
    const char* text;    // "" for "Finish Burning."
    const char* detail;  // how the detail starts ("" for none)
    const char* help;
  };
  const Kind kinds[] = {
      {"busy:%P:3", BurnOutcome::Finished, "", "", ""},
      {"streaming:%P", BurnOutcome::FinishedWithGaps, "", "The burn finished with ",
       "troubleshooting.html#gaps"},
      {"error:%P:05/21/00", BurnOutcome::WriteFailed, "Writing Error[Sense=5,Asc=21,Ascq=0]",
       "The drive refused the write: illegal request: invalid address", kHelpWritingError},
      {"error:%P:03/0C/00", BurnOutcome::WriteFailed, "Writing Error[Sense=3,Asc=c,Ascq=0]",
       "The drive refused the write: medium error: write error. Clean the disc", kHelpWritingError},
      {"error:%P:04/44/00", BurnOutcome::WriteFailed, "Writing Error[Sense=4,Asc=44,Ascq=0]",
       "The drive refused the write: hardware error", kHelpWritingError},
      {"error:%P:06/28/00", BurnOutcome::WriteFailed, "Writing Error[Sense=6,Asc=28,Ascq=0]",
       "The drive refused the write: unit attention: the disc was changed. Leave the tray",
       kHelpWritingError},
      {"error:%P:02/3A/00", BurnOutcome::WriteFailed, "Writing Error[Sense=2,Asc=3a,Ascq=0]",
       "The drive refused the write: not ready: no disc in the drive. The disc is gone",
       kHelpWritingError},
      {"error:%P:0B/00/00", BurnOutcome::WriteFailed, "Writing Error[Sense=b,Asc=0,Ascq=0]",
       "The drive refused the write: aborted command.", kHelpWritingError},
      {"gone:%P", BurnOutcome::DriveGone, "Writing Error[Sense=0,Asc=0,Ascq=0]",
       "The drive stopped answering", "troubleshooting.html#drive-gone"},
      {"notready,streaming:%P", BurnOutcome::FinishedWithGaps, "", "The burn finished with ",
       kHelpGaps},
      {"notready,busy:%P:2", BurnOutcome::Finished, "", "The drive was still busy",
       "troubleshooting.html#m1000"},
  };
  for (const int position : {1, 400, 823}) {
    for (const Kind& k : kinds) {
      std::string fault = k.fault;
      fault.replace(fault.find("%P"), 2, std::to_string(position));
      SCOPED_TRACE(fault);
      const bool gone = k.outcome == BurnOutcome::DriveGone;
      Start(fault);
      Finish(*k.text ? k.text : "Finish Burning.", gone);
      const BurnEnding ending = burn_->Ending();
      EXPECT_EQ(ending.outcome, k.outcome);
      EXPECT_EQ(ending.detail.rfind(k.detail, 0), 0u) << ending.detail;
      if (!*k.detail) {
        EXPECT_EQ(ending.detail, "");
      }
      EXPECT_EQ(ending.help, k.help);
      EXPECT_EQ(ending.writes, 824);
      // A loss at the end of the band skips what is left of it; elsewhere
      // the rest of the revolution.
      const int expectSkipped =
          k.outcome == BurnOutcome::FinishedWithGaps ? (position == 823 ? 2 : 3) : 0;
      EXPECT_EQ(ending.skippedWrites, expectSkipped);
      if (k.outcome == BurnOutcome::WriteFailed || gone) {
        EXPECT_FALSE(SyncSent());
        EXPECT_EQ(drive_->Side().Trace().size(), static_cast<std::size_t>(position));
      } else {
        EXPECT_TRUE(SyncSent());
      }
    }
  }
}

TEST_F(BurnPipelineTest, MissingImageEndsAllThreadsPromptly) {
  noImage_ = true;
  Start("");
  Finish("Buffer Empty Error.");
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::BufferEmpty);
  EXPECT_EQ(messages_.Records().front().text, "Image data is not found.");
  EXPECT_TRUE(drive_->Side().Trace().empty());
  EXPECT_LT(std::chrono::steady_clock::now() - started_, 2s);
}

TEST_F(BurnPipelineTest, BandTooNarrowSendsNothing) {
  Start("", 25.001);
  Finish(kBandTooNarrow);
  EXPECT_EQ(burn_->Ending().outcome, BurnOutcome::TooNarrow);
  EXPECT_TRUE(drive_->Side().Trace().empty());
  EXPECT_EQ(events_.range, 0);
}

TEST_F(BurnPipelineTest, LiteralEncoderSendsTheSameStream) {
  QImage label(1655, 1655, QImage::Format_RGB888);
  for (int y = 0; y < label.height(); ++y)
    for (int x = 0; x < label.width(); ++x)
      label.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 3) & 0xFF, (x ^ y) & 0xFF));
  const test::TempDir temp("capture");
  auto burn = [&](bool literal) {
    VirtualBurnConfig config;
    config.capturePath = temp.File(literal ? "literal.bin" : "fast.bin");
    auto drive = std::make_shared<test::BurnTestDrive>(config);
    device_.AttachTransport(drive);
    BurnSequence burn(device_, messages_);
    burn.SetLiteralEncoder(literal);
    EXPECT_EQ(burn.Start({{30.0, 30.1}, {}, BurnQuality::Draft, 11}, label), StartResult::Started);
    burn.Wait();
    std::FILE* f = std::fopen(config.capturePath.c_str(), "rb");
    std::vector<char> bytes;
    if (f) {
      char buffer[65536];
      std::size_t n;
      while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
      std::fclose(f);
    }
    return bytes;
  };
  const std::vector<char> fast = burn(false);
  const std::vector<char> literal = burn(true);
  EXPECT_GT(fast.size(), 100000u);
  EXPECT_TRUE(fast == literal);
}

// The simulated etch counts the inner and the outer steps of a wide band in
// two threads into the same marks (ThreadSanitizer watches them here); its
// small picture is the full one scaled down.
TEST(SimulatedEtchThreadsTest, WideBandCountsInTwoThreads) {
  QImage label(1655, 1655, QImage::Format_RGB888);
  label.fill(Qt::black);
  EtchRequest request;
  request.label = label;
  request.target = {{30.0, 34.0}, {}, BurnQuality::Draft};
  request.page = ElsPage(VirtualDriveConfig{}.elsPage);
  const EtchResult full = SimulateEtch(request);
  ASSERT_TRUE(full.ok) << full.problem;
  const EtchResult preview = SimulateEtchPreview(request);
  ASSERT_TRUE(preview.ok) << preview.problem;
  EXPECT_EQ(preview.picture, ScaleEtchedPicture(full.picture));
  // 32 mm from the centre is dark on both sides, 45 mm not marked.
  EXPECT_EQ(full.picture.pixel(856 - 450, 856), full.picture.pixel(856 + 450, 856));
  EXPECT_NE(full.picture.pixel(856 + 450, 856), full.picture.pixel(856 + 620, 856));
}

// The coalesced snapshot a window reads: a consumer that takes the snapshot
// only now and then gets one notification per take, never one per write, and
// sees the phases in their order with the outcome at the end.
TEST(BurnProgressTest, CoalescesChangesAndReportsPhasesInOrder) {
  CELDevice device;
  auto drive = std::make_shared<test::BurnTestDrive>(VirtualBurnConfig{});
  device.AttachTransport(drive);
  test::RecordingMessages messages;
  QImage image(1655, 1655, QImage::Format_RGB888);
  image.fill(Qt::white);
  BurnSequence burn(device, messages);
  BurnTimings timings;
  timings.readyPause = 1ms;
  timings.stopPoll = 5ms;
  burn.SetTimings(timings);

  BurnProgress progress;
  std::atomic<int> notified{0};
  std::mutex phasesMutex;
  std::vector<BurnPhase> phases;
  class PhaseLog : public BurnEvents {
   public:
    PhaseLog(BurnProgress& p, std::mutex& m, std::vector<BurnPhase>& v) : p_(p), m_(m), v_(v) {}
    void SetRange(int l, int h) override { p_.SetRange(l, h); }
    void SetPos(int n) override { p_.SetPos(n); }
    void SetStep(int s) override { p_.SetStep(s); }
    void StepIt() override { p_.StepIt(); }
    void SetText(const std::string& t) override { p_.SetText(t); }
    void SetShowText(bool s) override { p_.SetShowText(s); }
    void Phase(BurnPhase phase, int detail) override {
      {
        std::lock_guard<std::mutex> lock(m_);
        if (v_.empty() || v_.back() != phase) v_.push_back(phase);
      }
      p_.Phase(phase, detail);
    }
    void Finished(const std::string& o) override { p_.Finished(o); }

   private:
    BurnProgress& p_;
    std::mutex& m_;
    std::vector<BurnPhase>& v_;
  } log(progress, phasesMutex, phases);
  progress.SetNotifier([&] { notified.fetch_add(1); });
  burn.SetEvents(&log);

  ASSERT_EQ(burn.Start({{25.0, 25.3}, {}, BurnQuality::Draft, 11}, image), StartResult::Started);
  int takes = 0;
  BurnProgressState last;
  while (!last.finished) {
    std::this_thread::sleep_for(20ms);
    last = progress.Take();
    ++takes;
  }
  burn.Wait();
  const std::int32_t writes =
      (burn.CurrentPlan().totalBlocks - 2) / burn.CurrentPlan().blocksPerWrite;
  EXPECT_EQ(last.outcome, "Finish Burning.");
  EXPECT_FALSE(last.showText);
  EXPECT_EQ(last.position, 0);
  EXPECT_EQ(last.high, writes);
  EXPECT_GT(progress.Changes(), static_cast<std::uint64_t>(writes));
  // One notification, then none until the snapshot is taken again.
  EXPECT_LE(notified.load(), takes + 1);
  const std::vector<BurnPhase> expected = {BurnPhase::Preparing, BurnPhase::Burning,
                                           BurnPhase::Synchronising, BurnPhase::Restoring,
                                           BurnPhase::Done};
  EXPECT_EQ(phases, expected);
}

}  // namespace
}  // namespace twr
