// The burn dialog's model through whole burns on the virtual drive: the
// status line's phases as the burn goes through them, the stop question
// (asked only during a burn, No leaving it untouched), and each ending with
// its text, detail, icon and help page: clean, gaps after loss of streaming,
// a stop, a drive that stops answering, a refused write, a drive busy for good;
// and a series of discs, Next and Stop between them.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "burn/BurnOutcome.h"
#include "common/RecordingMessages.h"
#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/virtual/VirtualDrive.h"
#include "ui/model/BurnSession.h"

namespace twr::test {
namespace {

using ui::BurnSession;

struct EndingCase {
  const char* name;
  const char* faults;
  double pace;
  bool stop;  // Exit (after the question) once the burn is under way
  BurnOutcome outcome;
  const char* text;    // the start of the outcome's text
  const char* detail;  // a part of its detail
  MessageIcon icon;
  const char* help;
  std::vector<const char*> statuses;  // status lines seen, in this order
};

TEST(BurnSessionTest, StatusLineQuestionAndEndings) {
  const std::vector<EndingCase> cases = {
      {"clean",
       "",
       0.0,
       false,
       BurnOutcome::Finished,
       "Finish Burning.",
       "",
       MessageIcon::Information,
       "",
       {"Preparing the drive", "Burning", "Synchronising the drive's cache",
        "Restoring the drive"}},
      {"gaps",
       "streaming:40,streaming:400",
       0.0,
       false,
       BurnOutcome::FinishedWithGaps,
       "Finish Burning.",
       "writes skipped after loss of streaming",
       MessageIcon::Warning,
       kHelpGaps,
       {"Burning", "Loss of streaming (1 so far)", "Burning; loss of streaming (1 so far)",
        "Loss of streaming (2 so far)", "Restoring the drive"}},
      {"stopped",
       "",
       1.0,
       true,
       BurnOutcome::Stopped,
       "Finish Burning.",
       "Stopped by you after write ",
       MessageIcon::Information,
       kHelpStopped,
       {"Burning", "Synchronising the drive's cache", "Restoring the drive"}},
      {"drive gone",
       "gone:30",
       0.0,
       false,
       BurnOutcome::DriveGone,
       "Writing Error[",
       "stopped answering",
       MessageIcon::Error,
       kHelpDriveGone,
       {"Burning", "Restoring the drive"}},
      {"medium error",
       "error:12:03/0C/00",
       0.0,
       false,
       BurnOutcome::WriteFailed,
       "Writing Error[Sense=3,Asc=c,Ascq=0]",
       "The drive refused the write: ",
       MessageIcon::Error,
       kHelpWritingError,
       {"Burning", "Restoring the drive"}},
      {"busy for good",
       "busy:20:forever",
       0.0,
       false,
       BurnOutcome::WriteFailed,
       "Writing Error[Sense=2,Asc=4,Ascq=8]",
       "long write in progress",
       MessageIcon::Error,
       kHelpWritingError,
       {"Burning", "Drive busy (retrying for 0 s)", "Restoring the drive"}},
  };
  for (const EndingCase& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualDriveConfig config;
    config.disc = "label";
    config.reloadDelaySeconds = 0;
    config.burn.faults = c.faults;
    config.burn.pace = c.pace;
    auto drive = std::make_shared<VirtualDrive>(config);
    CELDevice device;
    device.SetDriveSourceProvider(
        [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
    RecordingMessages messages(false);
    BurnSession session(device, messages);
    BurnTimings timings;
    timings.busyLimit = std::chrono::milliseconds(300);
    timings.readyPause = std::chrono::milliseconds(1);
    session.Sequence().SetTimings(timings);
    // Every snapshot the burn offers, taken where the dialog takes them.
    std::mutex mutex;
    std::vector<BurnProgressState> snapshots;
    QObject::connect(&session, &BurnSession::ProgressChanged, [&] {
      std::lock_guard<std::mutex> lock(mutex);
      snapshots.push_back(session.Progress().Take());
    });
    session.SetDriveIndex(0);
    session.SetBand(41.0, 44.0);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(Qt::gray);
    session.SetLabelImage(label);
    session.Open();
    EXPECT_TRUE(session.ConfirmStop());  // nothing to stop: no question
    ASSERT_TRUE(session.Draw());
    if (c.stop) {
      while (session.Progress().Peek().position < 50 && session.Sequence().Burning())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      const int before = session.Sequence().WriteCount();
      EXPECT_FALSE(session.ConfirmStop());  // No, the default answer here
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      EXPECT_GT(session.Sequence().WriteCount(), before);  // the burn went on
      EXPECT_FALSE(session.StopRequested());
      messages.SetAnswer(true);
      EXPECT_TRUE(session.ConfirmStop());
      EXPECT_FALSE(session.Exit());  // the burn closes the dialog
      EXPECT_TRUE(session.StopRequested());
    }
    session.Sequence().Wait();
    const BurnEnding ending = session.Sequence().Ending();
    EXPECT_EQ(ending.outcome, c.outcome);
    EXPECT_EQ(ending.text.rfind(c.text, 0), 0u) << ending.text;
    EXPECT_NE(ending.detail.find(c.detail), std::string::npos) << ending.detail;
    EXPECT_EQ(ending.help, c.help);
    const auto records = messages.Records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().text, ending.text);
    EXPECT_EQ(records.back().icon, c.icon);
    EXPECT_EQ(records.back().help, c.help);
    if (c.stop) {
      EXPECT_EQ(std::count_if(records.begin(), records.end(),
                              [](const auto& r) {
                                return r.question &&
                                       r.text ==
                                           "Stop the burn? The disc keeps what is etched "
                                           "so far.";
                              }),
                2);
      EXPECT_GT(ending.lastWrite, 0);
      EXPECT_LT(ending.lastWrite, ending.writes);
    }
    if (c.outcome == BurnOutcome::FinishedWithGaps) {
      EXPECT_GT(ending.skippedWrites, 0);
      EXPECT_EQ(ending.streamingLosses, 2);
    }
    // The status lines in the order the burn went through them.
    session.BurnEnded();
    std::vector<std::string> statuses;
    {
      std::lock_guard<std::mutex> lock(mutex);
      for (const BurnProgressState& s : snapshots) {
        const std::string text = session.StatusText(s);
        if (statuses.empty() || statuses.back() != text) statuses.push_back(text);
      }
    }
    auto at = statuses.begin();
    for (const char* expected : c.statuses) {
      at = std::find(at, statuses.end(), std::string(expected));
      EXPECT_NE(at, statuses.end()) << "missing or out of order: " << expected;
    }
    EXPECT_EQ(session.StatusText(session.Progress().Peek()), "");  // after the burn
  }
}

// "Discs: 3" on a pile of two: Draw burns disc 1 with its own label, the
// session waits; Next burns disc 2; Next again finds the tray empty ("Disc
// is not found.") and keeps waiting; Stop ends the series at 2 of 3. The
// Discs count cannot change while the series runs.
TEST(BurnSessionTest, SeriesOfDiscsWithNextAndStop) {
  TempDir dir("series");
  VirtualDriveConfig config;
  config.disc = "label";
  config.reloadDelaySeconds = 0;
  config.discs = 2;
  config.burn.etchedPath = (dir.Path() / "etched.png").string();
  auto drive = std::make_shared<VirtualDrive>(config);
  CELDevice device;
  device.SetDriveSourceProvider(
      [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
  RecordingMessages messages(true);
  BurnSession session(device, messages);
  std::vector<std::pair<int, int>> made;
  session.SetLabelMaker([&](int number, int count) {
    made.emplace_back(number, count);
    QImage label(1655, 1655, QImage::Format_RGB888);
    label.fill(number == 1 ? Qt::black : Qt::white);
    return label;
  });
  session.SetDriveIndex(0);
  session.SetBand(41.0, 42.0);
  session.Open();
  EXPECT_EQ(session.DiscCount(), 1);
  session.SetDiscCount(0);
  EXPECT_EQ(session.DiscCount(), 1);
  session.SetDiscCount(3);

  auto burnToTheEnd = [&] {
    session.Sequence().Wait();
    EXPECT_EQ(session.Sequence().Ending().outcome, BurnOutcome::Finished);
    session.BurnEnded();
  };
  ASSERT_TRUE(session.Draw());
  session.SetDiscCount(5);  // not during a series
  burnToTheEnd();
  EXPECT_EQ(session.CurrentState(), BurnSession::State::NextDisc);
  EXPECT_EQ(session.Notice(), "Disc 1 of 3 is burnt. Insert disc 2 of 3 and press Next.");
  EXPECT_FALSE(session.Draw());  // only Next or Stop now
  ASSERT_TRUE(session.Next());
  EXPECT_EQ(session.DiscNumber(), 2);
  EXPECT_FALSE(session.Progress().Peek().finished);  // the dialog waits for this burn's end
  burnToTheEnd();
  EXPECT_EQ(session.Notice(), "Disc 2 of 3 is burnt. Insert disc 3 of 3 and press Next.");
  EXPECT_FALSE(session.Next());  // the pile is used up
  EXPECT_EQ(messages.Last(), "Disc is not found.");
  EXPECT_EQ(session.CurrentState(), BurnSession::State::NextDisc);
  EXPECT_TRUE(session.Exit());  // Stop
  EXPECT_EQ(session.CurrentState(), BurnSession::State::Closed);
  EXPECT_EQ(session.Notice(), "2 of 3 discs burnt.");
  EXPECT_EQ(session.DiscsBurnt(), 2);
  EXPECT_EQ(session.DiscCount(), 3);
  EXPECT_EQ(made, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
  // Each disc has its own etched picture, of its own label.
  const QImage first(QString::fromStdString(VirtualPileEtchedPath(config.burn.etchedPath, 1)));
  const QImage second(QString::fromStdString(VirtualPileEtchedPath(config.burn.etchedPath, 2)));
  ASSERT_FALSE(first.isNull());
  ASSERT_FALSE(second.isNull());
  auto lightness = [](const QImage& picture) {
    long long sum = 0;
    for (int y = 0; y < picture.height(); y += 4)
      for (int x = 0; x < picture.width(); x += 4) sum += qGray(picture.pixel(x, y));
    return sum;
  };
  EXPECT_LT(lightness(first), lightness(second));  // the black label etched darker
}

// A series whose discs come out with gaps (every burn loses streaming at
// its fifth write): the session stops after disc 1 and says so, with what
// to do; Next burns disc 2 anyway; Stop ends it with the count of etched
// discs, the ones with gaps among them. A drive that stops answering stops
// the series for good: the dialog stays with the notice, no Next.
TEST(BurnSessionTest, SeriesStopsAfterADiscWithGapsAndGoesOnWhenAsked) {
  struct Run {
    const char* faults;
    BurnSession::State after;
    const char* message;  // said once the series stops, then its detail
    const char* detail;
    const char* notice;  // what the status line keeps
  };
  const Run runs[] = {
      {"streaming:5", BurnSession::State::NextDisc,
       "Series stopped after disc 1 of 3: its label has gaps: 2 of 263 writes were skipped after "
       "loss of streaming.",
       "Look at disc 1. To go on anyway, insert disc 2 of 3 and press Next; Stop ends the series.",
       "Series stopped after disc 1 of 3; Next burns disc 2 anyway."},
      {"gone:5", BurnSession::State::Waiting,
       "Series stopped after disc 1 of 3: the drive stopped answering.", "0 of 3 discs burnt.",
       "Series stopped after disc 1 of 3; 0 of 3 discs burnt."},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.faults);
    VirtualDriveConfig config;
    config.disc = "label";
    config.reloadDelaySeconds = 0;
    config.discs = 3;
    config.burn.faults = run.faults;
    auto drive = std::make_shared<VirtualDrive>(config);
    CELDevice device;
    device.SetDriveSourceProvider(
        [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
    RecordingMessages messages(true);
    BurnSession session(device, messages);
    session.SetLabelImage(QImage(1655, 1655, QImage::Format_RGB888));
    session.SetDriveIndex(0);
    session.SetBand(41.0, 41.1);
    session.Open();
    session.SetDiscCount(3);
    ASSERT_TRUE(session.Draw());
    session.Sequence().Wait();
    session.BurnEnded();
    EXPECT_EQ(session.CurrentState(), run.after);
    ASSERT_FALSE(messages.Records().empty());
    EXPECT_EQ(messages.Records().back().text, run.message);
    EXPECT_EQ(messages.Records().back().detail, run.detail);
    EXPECT_EQ(session.Notice(), run.notice);
    if (run.after != BurnSession::State::NextDisc) continue;
    ASSERT_TRUE(session.Next());  // anyway
    EXPECT_EQ(session.DiscNumber(), 2);
    session.Sequence().Wait();
    session.BurnEnded();
    EXPECT_EQ(session.CurrentState(), BurnSession::State::NextDisc);
    EXPECT_TRUE(session.Exit());  // Stop
    EXPECT_EQ(session.Notice(), "2 of 3 discs burnt, 2 of them with gaps.");
    EXPECT_EQ(session.DiscsBurnt(), 2);
  }
}

// Drives plugged in and pulled out while the dialog is open: the drive in
// use stays chosen while it is listed, wherever it moves; when it is gone
// Draw is off and the status line says so; back again, it is chosen again.
TEST(BurnSessionTest, DriveListFollowsDrivesThatComeAndGo) {
  auto source = [](char letter) {
    VirtualDriveConfig c;
    c.letter = letter;
    c.disc = "label";
    c.reloadDelaySeconds = 0;
    c.product = std::string("Drive ") + letter;
    return VirtualDrive::SourceFor(std::make_shared<VirtualDrive>(c));
  };
  std::vector<DriveSource> present = {source('V'), source('W')};
  CELDevice device;
  device.SetDriveSourceProvider([&] { return present; });
  RecordingMessages messages;
  BurnSession session(device, messages);
  std::uint64_t changes = 0;
  session.SetDriveChanges([&] { return changes; });
  session.SetDriveIndex(1);
  session.Open();
  ASSERT_EQ(session.DriveItems().size(), 2u);
  const std::string inUse = session.DriveItems()[1];
  EXPECT_NE(inUse.find("Drive W"), std::string::npos);
  EXPECT_TRUE(session.DrawEnabled());

  struct Step {
    std::vector<char> letters;
    int selected;
    bool draw;
    const char* status;
  };
  const std::vector<Step> steps = {
      {{'W'}, 0, true, ""},                     // the other one pulled out
      {{}, -1, false, " is no longer there."},  // the one in use too
      {{'U', 'W'}, 1, true, ""},                // back, behind a new one
  };
  for (const Step& step : steps) {
    present.clear();
    for (char letter : step.letters) present.push_back(source(letter));
    ++changes;
    session.Tick();
    EXPECT_EQ(session.DriveItems().size(), step.letters.size());
    EXPECT_EQ(session.SelectedDrive(), step.selected);
    if (step.selected >= 0) {
      EXPECT_EQ(session.DriveItems()[static_cast<std::size_t>(step.selected)], inUse);
    }
    EXPECT_EQ(session.DrawEnabled(), step.draw);
    const std::string status = session.StatusText(session.Progress().Peek());
    if (*step.status == '\0')
      EXPECT_EQ(status, "");
    else
      EXPECT_EQ(status, inUse + step.status);
  }
}

}  // namespace
}  // namespace twr::test
