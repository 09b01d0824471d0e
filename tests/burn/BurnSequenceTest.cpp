// The burn sequence's steps against the virtual drive, with the hooks a
// front end supplies: the data side turned over (or not), no disc answering,
// a stop asked for before anything is sent, an exclusive open tried again,
// and a whole burn whose events say what the drive did.
#include <gtest/gtest.h>
#include <QImage>

#include <chrono>
#include <vector>

#include "burn/BurnSequence.h"
#include "burn/BurnTestDrive.h"
#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

using namespace std::chrono_literals;

class ScriptedHooks : public BurnHooks {
 public:
  StepResult DiscTurnedOver(CELDevice&) override {
    ++turned;
    return afterTurn;
  }
  bool StopRequested() override { return stop; }
  bool RetryTakingDrive(const DriveOpening& refused) override {
    refusals.push_back(refused.error);
    if (onRefusal) onRefusal();
    return refusals.size() < 2;
  }
  int turned = 0;
  StepResult afterTurn = StepResult::Go;
  bool stop = false;
  std::vector<DriveOpenError> refusals;
  std::function<void()> onRefusal;
};

// The virtual drive, except that once the disc is out no disc answers GET
// CONFIGURATION (the disc never comes back).
// The virtual drive, counting ejects; with `neverBack` GET CONFIGURATION
// fails once the disc has gone out (a disc that never comes back).
class NeverBack : public ScsiTransport {
 public:
  NeverBack(std::shared_ptr<VirtualDrive> inner, bool neverBack)
      : inner_(std::move(inner)), neverBack_(neverBack) {}
  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override {
    if (cdb[0] == kOpStartStopUnit) ++ejects;
    if (cdb[0] == kOpGetConfiguration && neverBack_ && ejects > 0) return {};
    return inner_->Execute(cdb, direction, data);
  }
  int ejects = 0;

 private:
  std::shared_ptr<VirtualDrive> inner_;
  bool neverBack_;
};

VirtualDriveConfig Drive(const std::string& disc, const std::string& flip) {
  VirtualDriveConfig config;
  config.disc = disc;
  config.flip = flip;
  config.status = "complete";
  config.recordedBlocks = 100000;
  config.reloadDelaySeconds = 0;
  return config;
}

std::vector<std::string> Texts(const test::RecordingMessages& messages) {
  std::vector<std::string> texts;
  for (const auto& r : messages.Records()) texts.push_back(r.text);
  return texts;
}

TEST(BurnSequenceTest, FaceDiscTurnsADataSideOverOrStops) {
  struct Case {
    const char* name;
    std::string disc, flip;
    bool rimtone;
    bool neverBack;
    StepResult afterTurn;
    StepResult result;
    int turned;
    std::vector<std::string> shown;
  };
  const std::string flipText = "Flip a disc to label-side.";
  const std::string noDisc = "Disc is not found.";
  // clang-format off
  const Case cases[] = {
      {"label side", "label", "", false, false, StepResult::Go, StepResult::Go, 0, {}},
      {"data side turned over", "dvd-r", "label", false, false, StepResult::Go, StepResult::Go, 1,
       {flipText}},
      {"stopped while turning", "dvd-r", "label", false, false, StepResult::Stopped,
       StepResult::Stopped, 1, {flipText}},
      {"never back", "dvd-r", "label", false, true, StepResult::Go, StepResult::Failed, 1,
       {flipText, noDisc}},
      {"Rimtone mode keeps the data side", "dvd+r", "label", true, false, StepResult::Go,
       StepResult::Go, 0, {}},
      // An empty tray: "Disc is not found." at once, nothing ejected or turned.
      {"empty tray", "none", "", false, false, StepResult::Go, StepResult::Failed, 0, {noDisc}},
      {"empty tray in Rimtone mode", "none", "", true, false, StepResult::Go, StepResult::Failed,
       0, {noDisc}},
  };
  // clang-format on

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CELDevice device;
    auto drive = std::make_shared<NeverBack>(std::make_shared<VirtualDrive>(Drive(c.disc, c.flip)),
                                             c.neverBack);
    device.AttachTransport(drive);
    test::RecordingMessages messages;
    BurnSequence sequence(device, messages);
    ScriptedHooks hooks;
    hooks.afterTurn = c.afterTurn;
    sequence.SetHooks(&hooks);
    EXPECT_EQ(sequence.FaceDisc(c.rimtone), c.result);
    EXPECT_EQ(hooks.turned, c.turned);
    EXPECT_EQ(Texts(messages), c.shown);
    if (c.disc == "none") {
      EXPECT_EQ(messages.Records().back().icon, MessageIcon::Error);
      EXPECT_EQ(drive->ejects, 0);
    }
  }
}

TEST(BurnSequenceTest, AStopBeforeDrawSendsNothing) {
  auto drive = std::make_shared<test::BurnTestDrive>();
  CELDevice device;
  device.AttachTransport(drive);
  test::RecordingMessages messages;
  BurnSequence sequence(device, messages);
  ScriptedHooks hooks;
  hooks.stop = true;
  sequence.SetHooks(&hooks);
  EXPECT_EQ(sequence.Draw({}, QImage(64, 64, QImage::Format_RGB888)), StartResult::Stopped);
  EXPECT_TRUE(drive->WrittenPages().empty());
  EXPECT_FALSE(drive->Prevented());
  EXPECT_EQ(sequence.Ending().outcome, BurnOutcome::None);
}

// The drive held by another burn: the hook is asked, and a second try after
// the holder let go takes the drive.
TEST(BurnSequenceTest, TakingTheDriveIsTriedAgainWhenTheHookSaysSo) {
  auto drive = std::make_shared<VirtualDrive>(Drive("label", ""));
  auto provider = [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; };
  CELDevice holder, burner;
  holder.SetDriveSourceProvider(provider);
  burner.SetDriveSourceProvider(provider);
  holder.EnumerateDrives();
  burner.EnumerateDrives();
  ASSERT_EQ(holder.OpenDrive(0, DriveAccess::Exclusive).error, DriveOpenError::None);

  test::RecordingMessages messages;
  BurnSequence sequence(burner, messages);
  ScriptedHooks hooks;
  sequence.SetHooks(&hooks);
  const DriveOpening refused = sequence.TakeDrive(0);
  EXPECT_EQ(refused.error, DriveOpenError::InUse);
  EXPECT_EQ(hooks.refusals.size(), 2u);  // asked, tried again, asked, given up
  EXPECT_EQ(refused.letter, 'V');

  hooks.refusals.clear();
  hooks.onRefusal = [&] { holder.CloseDrive(); };
  EXPECT_TRUE(sequence.TakeDrive(0).Ok());
  EXPECT_EQ(hooks.refusals.size(), 1u);
}

// A burn whose drive is busy for a while and loses streaming once: the
// events carry each live phase with its detail, and the ending says how the
// burn ended beside its text.
TEST(BurnSequenceTest, EventsSayWhatTheDriveDoes) {
  class PhaseLog : public BurnEvents {
   public:
    void Phase(BurnPhase phase, int detail) override {
      std::lock_guard<std::mutex> lock(mutex);
      phases.emplace_back(phase, detail);
    }
    std::mutex mutex;
    std::vector<std::pair<BurnPhase, int>> phases;
  } log;
  VirtualBurnConfig config;
  config.faults = "busy:3:4,streaming:5";
  auto drive = std::make_shared<test::BurnTestDrive>(config);
  CELDevice device;
  device.AttachTransport(drive);
  test::RecordingMessages messages;
  BurnSequence sequence(device, messages);
  BurnTimings timings;
  timings.readyPause = 1ms;
  timings.stopPoll = 5ms;
  sequence.SetTimings(timings);
  sequence.SetEvents(&log);
  QImage label(1655, 1655, QImage::Format_RGB888);
  label.fill(Qt::white);
  ASSERT_EQ(sequence.Start({{25.0, 25.1}, {}, BurnQuality::Draft}, label), StartResult::Started);
  sequence.Wait();
  const std::vector<std::pair<BurnPhase, int>> expected = {
      {BurnPhase::Preparing, 0},     {BurnPhase::Burning, 0},       {BurnPhase::DriveBusy, 0},
      {BurnPhase::Burning, 0},       {BurnPhase::StreamingLost, 1}, {BurnPhase::Burning, 1},
      {BurnPhase::Synchronising, 0}, {BurnPhase::Restoring, 0},     {BurnPhase::Done, 0},
  };
  EXPECT_EQ(log.phases, expected);
  const BurnEnding ending = sequence.Ending();
  // The loss on write 5 cost writes 5 and 6: the label has a gap, and the
  // burn is not reported as a clean finish.
  EXPECT_EQ(ending.outcome, BurnOutcome::FinishedWithGaps);
  EXPECT_FALSE(ending.Succeeded());
  EXPECT_EQ(ending.skippedWrites, 2);
  EXPECT_EQ(ending.text, "Finish Burning.");
}

}  // namespace
}  // namespace twr
