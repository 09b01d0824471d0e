// The main window's drive list follows drives that come and go (fed by a
// fake change source) and keeps the chosen drive while it is still there;
// a drive the user may not open is told about with what to do.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "drive/DriveWatch.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/CELLayout.h"
#include "ui/model/BurnSession.h"
#include "ui/model/MainWindowModel.h"

namespace twr::test {
namespace {

using ui::MainWindowModel;

// Says "changed" once for every Signal().
class FakeChanges : public DriveChangeSource {
 public:
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    int pending = 0;
  };
  explicit FakeChanges(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  bool WaitForChange(int timeoutMs) override {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    if (!shared_->wake.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return shared_->pending > 0; }))
      return false;
    --shared_->pending;
    return true;
  }

 private:
  std::shared_ptr<Shared> shared_;
};

DriveSource Virtual(char letter, const std::string& device) {
  VirtualDriveConfig c;
  c.letter = letter;
  c.product = std::string("Drive ") + letter;
  DriveSource s = VirtualDrive::SourceFor(std::make_shared<VirtualDrive>(c));
  s.device = device;
  return s;
}

DriveSource NotAllowed(char letter, const std::string& device) {
  DriveSource s;
  s.letter = letter;
  s.device = device;
  s.vendor = "HL-DT-ST";
  s.product = "DVDRAM";
  s.revision = "1.00";
  s.open = [] { return std::shared_ptr<ScsiTransport>(); };
  s.openAccess = [](DriveAccess) {
    DriveOpenResult r;
    r.error = DriveOpenError::NoPermission;
    return r;
  };
  return s;
}

class DriveListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_.filePath("twr.ini").toStdString())
        << "[Config]\nLayoutNum=1\n[Layout00]\nName=One\nBaseLength=400\n";
    device_.SetDriveSourceProvider([this] {
      std::lock_guard<std::mutex> lock(mutex_);
      return present_;
    });
    layout_ = std::make_unique<CELLayout>(dir_.filePath("twr.ini").toStdString());
    burn_ = std::make_unique<ui::BurnSession>(device_, messages_);
    model_ = std::make_unique<MainWindowModel>(*layout_, device_, *burn_, config_, messages_);
  }
  void Present(std::vector<DriveSource> sources) {
    std::lock_guard<std::mutex> lock(mutex_);
    present_ = std::move(sources);
  }
  // A change as the system tells it; the window's ticks take it. Returns
  // how long the list took to follow (the window ticks every second).
  std::chrono::milliseconds Change() {
    const auto start = std::chrono::steady_clock::now();
    {
      std::lock_guard<std::mutex> lock(changes_->mutex);
      ++changes_->pending;
    }
    changes_->wake.notify_all();
    for (int i = 0; i < 100; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (model_->TimerTick().drivesChanged) break;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
  }
  std::vector<std::string> Items() const {
    std::vector<std::string> letters;
    for (const std::string& item : model_->DriveItems()) letters.push_back(item.substr(0, 4));
    return letters;
  }

  QTemporaryDir dir_;
  std::mutex mutex_;
  std::vector<DriveSource> present_;
  std::shared_ptr<FakeChanges::Shared> changes_ = std::make_shared<FakeChanges::Shared>();
  CELDevice device_;
  RecordingMessages messages_;
  ui::TitleConfigModel config_;
  std::unique_ptr<CELLayout> layout_;
  std::unique_ptr<ui::BurnSession> burn_;
  std::unique_ptr<MainWindowModel> model_;
};

TEST_F(DriveListTest, FollowsDrivesThatComeAndGoAndKeepsTheChoice) {
  Present({Virtual('V', "virtual"), Virtual('W', "/dev/sr19")});
  ASSERT_EQ(model_->Open(), ui::OpeningResult::Ready);
  model_->WatchDrives(std::make_unique<FakeChanges>(changes_));
  model_->ReadControls("typed", "", "");  // no scan when the choice changes
  model_->DriveChoiceChanged(1);
  ASSERT_TRUE(model_->ApplyDriveChoice());
  EXPECT_EQ(Items(), (std::vector<std::string>{"(V:)", "(W:)"}));

  // A USB drive comes in ahead of the chosen one: the choice moves with it.
  Present({Virtual('E', "/dev/sr1"), Virtual('V', "virtual"), Virtual('W', "/dev/sr19")});
  EXPECT_LT(Change().count(), 2000);
  EXPECT_EQ(Items(), (std::vector<std::string>{"(E:)", "(V:)", "(W:)"}));
  EXPECT_EQ(model_->DriveSelection(), 2);
  EXPECT_EQ(model_->DriveIndex(), 2);
  EXPECT_EQ(device_.OpenIndex(), 2);  // the applied drive is the open one

  // Another drive goes: W stays chosen.
  Present({Virtual('V', "virtual"), Virtual('W', "/dev/sr19")});
  Change();
  EXPECT_EQ(Items(), (std::vector<std::string>{"(V:)", "(W:)"}));
  EXPECT_EQ(model_->DriveSelection(), 1);

  // The chosen drive goes: the first one is chosen.
  Present({Virtual('V', "virtual")});
  Change();
  EXPECT_EQ(Items(), (std::vector<std::string>{"(V:)"}));
  EXPECT_EQ(model_->DriveSelection(), 0);
  EXPECT_EQ(device_.OpenIndex(), 0);
  EXPECT_TRUE(messages_.Records().empty());

  // A drive the user may not open: said once, with the advice.
  Present({Virtual('V', "virtual"), NotAllowed('F', "/dev/sr2")});
  Change();
  Change();
  ASSERT_EQ(messages_.Records().size(), 1u);
  EXPECT_EQ(messages_.Last(),
            "Drive (F:) HL-DT-ST DVDRAM 1.00 (/dev/sr2) is there, but cannot be used: no "
            "permission to open it; join the cdrom group (sudo usermod -aG cdrom $USER), then log "
            "out and in again.");
  EXPECT_EQ(messages_.Records()[0].icon, MessageIcon::Warning);
}

TEST_F(DriveListTest, OpeningWithOnlyADriveThatMayNotBeOpened) {
  Present({NotAllowed('D', "/dev/sr0")});
  EXPECT_EQ(model_->Open(), ui::OpeningResult::NoDrive);
  ASSERT_EQ(messages_.Records().size(), 1u);
  EXPECT_EQ(messages_.Records()[0].text, "Etchlume Drive is not found.");
  EXPECT_NE(messages_.Records()[0].detail.find("join the cdrom group"), std::string::npos)
      << messages_.Records()[0].detail;
}

// Scan on a disc that is not mounted: the note comes through the drive; a
// UDF-only disc lists nothing (the texts stay) and says that it needs a mount.
TEST_F(DriveListTest, ScanWithoutAMount) {
  if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  const std::string content = dir_.filePath("content").toStdString();
  std::filesystem::create_directories(content + "/Fotos");
  std::ofstream(content + "/liesmich.txt") << "x";
  const std::string iso = dir_.filePath("disc.iso").toStdString();
  ASSERT_EQ(std::system(("xorriso -as mkisofs -quiet -J -R -V URLAUB -o '" + iso + "' '" + content +
                         "' >/dev/null 2>&1")
                            .c_str()),
            0);
  std::string udf(20 * 2048, '\0');
  const char* ids[] = {"BEA01", "NSR03", "TEA01"};
  for (int i = 0; i < 3; ++i) udf.replace((16 + i) * 2048 + 1, 5, ids[i]);
  const std::string udfImage = dir_.filePath("udf.iso").toStdString();
  std::ofstream(udfImage, std::ios::binary) << udf;

  for (const std::string& image : {iso, udfImage}) {
    SCOPED_TRACE(image);
    VirtualDriveConfig c;
    c.disc = "dvd+r";
    c.image = image;
    c.mounted = false;
    Present({VirtualDrive::SourceFor(std::make_shared<VirtualDrive>(c))});
    ASSERT_EQ(model_->Open(), ui::OpeningResult::Ready);
    EXPECT_TRUE(model_->ScanDisc());
    if (image == iso) {
      EXPECT_EQ(model_->Title(), "URLAUB");
      EXPECT_EQ(model_->NoteLines()[0], "[Fotos]  ");
      EXPECT_EQ(model_->NoteLines()[1], "liesmich.txt  ");
      EXPECT_FALSE(model_->ListingNeedsMount());
    } else {
      // Nothing read replaces the texts the window holds: the status says so.
      EXPECT_EQ(model_->Title(), "URLAUB");
      EXPECT_NE(model_->StatusText().find("the texts were kept"), std::string::npos);
      EXPECT_TRUE(model_->ListingNeedsMount());
    }
  }
}

}  // namespace
}  // namespace twr::test
