// The burn dialog's model through whole burns on the virtual drive: the
// status line's phases as the burn goes through them, the stop question
// (asked only during a burn, No leaving it untouched), and each ending with
// its text, detail, icon and help page: clean, gaps after loss of streaming,
// a stop, a drive that stops answering, a refused write, a drive busy for good.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "burn/BurnOutcome.h"
#include "common/RecordingMessages.h"
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
      {"clean", "", 0.0, false, BurnOutcome::Finished, "Finish Burning.", "",
       MessageIcon::Information, "",
       {"Preparing the drive", "Burning", "Synchronising the drive's cache",
        "Restoring the drive"}},
      {"gaps", "streaming:40,streaming:400", 0.0, false, BurnOutcome::FinishedWithGaps,
       "Finish Burning.", "writes skipped after loss of streaming", MessageIcon::Warning, kHelpGaps,
       {"Burning", "Loss of streaming (1 so far)", "Burning; loss of streaming (1 so far)",
        "Loss of streaming (2 so far)", "Restoring the drive"}},
      {"stopped", "", 1.0, true, BurnOutcome::Stopped, "Finish Burning.",
       "Stopped by you after write ", MessageIcon::Information, kHelpStopped,
       {"Burning", "Synchronising the drive's cache", "Restoring the drive"}},
      {"drive gone", "gone:30", 0.0, false, BurnOutcome::DriveGone, "Writing Error[",
       "stopped answering", MessageIcon::Error, kHelpDriveGone,
       {"Burning", "Restoring the drive"}},
      {"medium error", "error:12:03/0C/00", 0.0, false, BurnOutcome::WriteFailed,
       "Writing Error[Sense=3,Asc=c,Ascq=0]", "The drive refused the write: ",
       MessageIcon::Error, kHelpWritingError, {"Burning", "Restoring the drive"}},
      {"busy for good", "busy:20:forever", 0.0, false, BurnOutcome::WriteFailed,
       "Writing Error[Sense=2,Asc=4,Ascq=8]", "long write in progress", MessageIcon::Error,
       kHelpWritingError, {"Burning", "Drive busy (retrying for 0 s)", "Restoring the drive"}},
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
    device.SetDriveSourceProvider([drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
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
                                       r.text == "Stop the burn? The disc keeps what is etched "
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

}  // namespace
}  // namespace twr::test
