// The main window's model, driven without a window: the text rules, the
// once-a-second preview, layout and Rimtone radii, the Burn sequence's
// refusals, the label's warnings, the disc scan on real ISO images, and the
// opening's checks and its drive discovery beside typing, and designs saved,
// opened, refused and exported; templates listed, started from and saved.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>

#include "burn/Calibration.h"
#include "burn/MarkedBand.h"
#include "common/RecordingMessages.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/DiscScan.h"
#include "drive/EtchModel.h"
#include "drive/virtual/VirtualDrive.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "ui/model/BurnSession.h"
#include "ui/model/EtchedPreviewModel.h"
#include "ui/model/MainWindowModel.h"
#include "ui/model/TemplateGalleryModel.h"

namespace twr::test {
namespace {

namespace fs = std::filesystem;
using ui::BurnSession;
using ui::MainWindowModel;
using ui::TextKind;
using LabelWarning = twr::LabelWarning;

// Two small layouts with different burning areas.
constexpr const char* kTwoLayouts =
    "[Config]\nLayoutNum=2\nFont=Liberation Sans\n"
    "[Layout00]\nName=First\nBaseLength=400\nBgColor=230\nTitleWidth=200\nTitleHeight=30\n"
    "TitlePosX=100\nTitlePosY=60\nNoteWidth=200\nNoteHeight=120\nNotePosX=100\nNotePosY=250\n"
    "RingType=1\nRingLength=4\nInnerRadius=25\nOuterRadius=58\n"
    "[Layout01]\nName=Second\nBaseLength=400\nBgColor=200\nTitleWidth=200\nTitleHeight=30\n"
    "TitlePosX=100\nTitlePosY=60\nInnerRadius=30\nOuterRadius=50\n";

// An ISO image of `entries` (names ending in "/" are folders, each holding a
// nested file), made with xorriso.
std::string MakeIso(const fs::path& root, const std::vector<std::string>& entries) {
  const fs::path content = root / "content";
  fs::create_directories(content);
  for (const std::string& e : entries) {
    if (e.back() == '/') {
      fs::create_directories(content / e / "nested");
      std::ofstream(content / e / "nested" / "deep.txt") << "deep";
    } else {
      std::ofstream(content / e) << e;
    }
  }
  const fs::path iso = root / "disc.iso";
  const std::string command = "xorriso -as mkisofs -quiet -J -R -V HOLIDAY -o '" + iso.string() +
                              "' '" + content.string() + "' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0 ? iso.string() : std::string();
}

// The virtual drive, except that GET CONFIGURATION fails once the disc has
// been ejected (a drive that stops answering while the user turns the disc).
class DriveThatFailsAfterEject : public ScsiTransport {
 public:
  explicit DriveThatFailsAfterEject(std::shared_ptr<VirtualDrive> inner)
      : inner_(std::move(inner)) {}
  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override {
    if (cdb[0] == kOpStartStopUnit) ejected_ = true;
    if (cdb[0] == kOpGetConfiguration && ejected_) return {};
    return inner_->Execute(cdb, direction, data);
  }

 private:
  std::shared_ptr<VirtualDrive> inner_;
  bool ejected_ = false;
};

class MainWindowModelTest : public ::testing::Test {
 protected:
  void SetUp() override { Write(kTwoLayouts); }
  void Write(const std::string& ini) {
    std::ofstream(dir_.filePath("twr.ini").toStdString(), std::ios::binary) << ini;
  }

  // The model over a virtual drive (none when `config` is null), opened.
  ui::OpeningResult Open(const VirtualDriveConfig* config, bool failAfterEject = false) {
    if (config) drive_ = std::make_shared<VirtualDrive>(*config);
    std::shared_ptr<VirtualDrive> drive = drive_;
    device_.SetDriveSourceProvider([drive, failAfterEject] {
      if (!drive) return std::vector<DriveSource>{};
      DriveSource source = VirtualDrive::SourceFor(drive);
      if (failAfterEject) {
        auto flaky = std::make_shared<DriveThatFailsAfterEject>(drive);
        source.open = [flaky]() -> std::shared_ptr<ScsiTransport> { return flaky; };
        source.openAccess = [flaky](DriveAccess) {
          DriveOpenResult opened;
          opened.transport = flaky;
          return opened;
        };
      }
      return std::vector<DriveSource>{source};
    });
    layout_ = std::make_unique<CELLayout>(dir_.filePath("twr.ini").toStdString());
    burn_ = std::make_unique<BurnSession>(device_, messages_);
    model_ = std::make_unique<MainWindowModel>(*layout_, device_, *burn_, config_, messages_);
    return model_->Open();
  }
  VirtualDriveConfig Drive(const std::string& disc, const std::string& status = "complete") {
    VirtualDriveConfig c;
    c.disc = disc;
    c.status = status;
    c.reloadDelaySeconds = 0;
    return c;
  }
  // Types into one edit as the window does: all texts read, then the change.
  void Type(TextKind kind, const std::string& text) {
    MainWindowModel& m = *model_;
    const std::string title = kind == TextKind::Title ? text : m.Title();
    const std::string date = kind == TextKind::Date ? text : m.Date();
    const std::string note = kind == TextKind::Note ? text : m.Note();
    m.ReadControls(title, date, note);
    m.TextChanged(kind);
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const auto& r : messages_.Records()) texts.push_back(r.text);
    return texts;
  }

  QTemporaryDir dir_;
  CELDevice device_;
  RecordingMessages messages_;
  ui::TitleConfigModel config_;
  std::shared_ptr<VirtualDrive> drive_;
  std::unique_ptr<CELLayout> layout_;
  std::unique_ptr<BurnSession> burn_;
  std::unique_ptr<MainWindowModel> model_;
};

// ---- Opening -------------------------------------------------------------------

TEST_F(MainWindowModelTest, OpeningChecksComeInOrder) {
  Write("[Config]\nLayoutNum=0\n");
  EXPECT_EQ(Open(nullptr), ui::OpeningResult::NoLayouts);
  EXPECT_EQ(Shown(), std::vector<std::string>{"Cannot load .ini file."});  // 801 before 1003

  Write(kTwoLayouts);
  EXPECT_EQ(Open(nullptr), ui::OpeningResult::NoDrive);
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"Cannot load .ini file.", "Etchlume Drive is not found."}));
}

TEST_F(MainWindowModelTest, OpeningWithoutADiscLeavesTheTextsEmpty) {
  const VirtualDriveConfig none = Drive("none");
  ASSERT_EQ(Open(&none), ui::OpeningResult::Ready);
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(model_->Title(), "");
  EXPECT_EQ(model_->Note(), "");
  EXPECT_EQ(model_->LayoutNames(), (std::vector<std::string>{"First", "Second"}));
  EXPECT_EQ(model_->RadiusText(), "25.0 - 58.0 [mm]");
  EXPECT_EQ(model_->TimeText(), "06:47");
  EXPECT_EQ(model_->FontText(), "Liberation Sans");
  EXPECT_FALSE(model_->PreviewWithBand().isNull());
}

// ---- Texts and the preview -------------------------------------------------------

TEST_F(MainWindowModelTest, TextsAreCutAndNotesOrderedFoldersFirst) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);

  Type(TextKind::Title, std::string(300, 'T'));
  EXPECT_EQ(model_->Title().size(), 256u);
  EXPECT_EQ(layout_->Title, std::string(256, 'T'));
  // The limit counts width units: an accented letter one, a wide East Asian
  // character two, which is never split by the cut.
  Type(TextKind::Title, std::string(255, 'x') + "\xC3\xA9");
  EXPECT_EQ(model_->Title(), std::string(255, 'x') + "\xC3\xA9");
  Type(TextKind::Title, std::string(255, 'x') + "\xE6\x97\xA5");
  EXPECT_EQ(model_->Title(), std::string(255, 'x'));

  std::string twelve;
  for (int i = 1; i <= 12; ++i)
    twelve += (i == 7 ? "[folder]" : "line" + std::to_string(i)) + "\r\n";
  Type(TextKind::Note, twelve);
  EXPECT_EQ(layout_->NoteLines[0], "line1");  // typed order until the next refresh
  EXPECT_EQ(layout_->NoteLines[6], "[folder]");
  model_->ApplyLayoutChoice(0);
  std::string ordered = "[folder]\r\n";
  for (int i = 1; i <= 10; ++i)
    if (i != 7) ordered += "line" + std::to_string(i) + "\r\n";
  EXPECT_EQ(model_->Note(), ordered);

  Type(TextKind::Note, "b\r\n[a]");
  model_->ApplyLayoutChoice(0);
  std::string expected = "[a]\r\nb\r\n";
  for (int i = 0; i < 8; ++i) expected += "\r\n";
  EXPECT_EQ(model_->Note(), expected);
}

TEST_F(MainWindowModelTest, ThePreviewIsRedrawnAtMostOncePerTick) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const int before = model_->PreviewRedraws();
  // However fast the typing, the renderer is not asked before the tick.
  std::string title;
  for (int i = 0; i < 200; ++i) {
    title += static_cast<char>('a' + i % 26);
    Type(i % 2 ? TextKind::Title : TextKind::Date, title);
  }
  EXPECT_EQ(model_->PreviewRedraws(), before);
  EXPECT_TRUE(model_->TimerTick().redrawn);
  EXPECT_FALSE(model_->TimerTick().redrawn);  // nothing changed since
  Type(TextKind::Note, "x");
  Type(TextKind::Note, "x");  // the same text sets no flag again
  EXPECT_TRUE(model_->TimerTick().redrawn);
  EXPECT_EQ(model_->PreviewRedraws(), before + 2);
}

// ---- Radii -------------------------------------------------------------------------

TEST_F(MainWindowModelTest, LayoutChoiceSetsTheRadiiScanAndBurnDoNot) {
  VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  model_->ApplyLayoutChoice(1);
  EXPECT_EQ(model_->RadiusText(), "30.0 - 50.0 [mm]");
  const std::string time = model_->TimeText();
  EXPECT_NE(time, "06:47");
  model_->ConfigAccepted({false, 33.5, 55.0, "Liberation Sans"});
  EXPECT_EQ(model_->RadiusText(), "33.5 - 55.0 [mm]");
  Type(TextKind::Title, "Holidays");
  model_->ScanDisc();  // a label side: no volume texts, no lines
  Type(TextKind::Title, "Holidays");
  ASSERT_TRUE(model_->PrepareBurn());
  EXPECT_EQ(burn_->InnerRadius(), 33.5);
  EXPECT_EQ(model_->RadiusText(), "33.5 - 55.0 [mm]");
}

// Undo steps back through what was kept: the quality, then the layout with
// its area and the texts; Redo steps forward until a new change; a label
// opened from a file starts Undo again.
TEST_F(MainWindowModelTest, UndoAndRedoStepThroughTheKeptLabels) {
  VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->Undo());
  model_->RememberLabel();
  const LabelDocument first = model_->Document();
  Type(TextKind::Title, "Holidays");
  model_->ApplyLayoutChoice(1);
  model_->RememberLabel();
  const LabelDocument second = model_->Document();
  model_->SetQuality(DesignQuality::High);  // kept by Undo itself

  ASSERT_TRUE(model_->Undo());
  EXPECT_EQ(model_->Document(), second);
  ASSERT_TRUE(model_->Undo());
  EXPECT_EQ(model_->Document(), first);
  EXPECT_EQ(model_->Layout(), 0);
  EXPECT_EQ(model_->Title(), "");
  EXPECT_FALSE(model_->Undo());
  ASSERT_TRUE(model_->Redo());
  EXPECT_EQ(model_->Title(), "Holidays");
  EXPECT_EQ(model_->RadiusText(), "30.0 - 50.0 [mm]");
  // A new change drops what Redo had.
  Type(TextKind::Date, "2026");
  model_->RememberLabel();
  EXPECT_FALSE(model_->Redo());

  const std::string path = dir_.filePath("undo.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_FALSE(model_->CanUndo());
}

TEST_F(MainWindowModelTest, RimtoneRaisesTheBandPastTheRecordedData) {
  VirtualDriveConfig dvd = Drive("dvd+r");
  dvd.recordedBlocks = BlocksReportedEndingAt(40.3);
  ASSERT_EQ(Open(&dvd), ui::OpeningResult::Ready);
  config_.Begin({false, 25.0, 58.0, "Liberation Sans"}, {"Liberation Sans"}, device_);
  ASSERT_TRUE(config_.ReadControls(true, "58", "45", 0, messages_));
  ASSERT_TRUE(config_.Accept(device_, messages_));
  model_->ConfigAccepted({true, 35.0, 58.0, "Liberation Sans"});
  Type(TextKind::Title, "Data");
  ASSERT_TRUE(model_->PrepareBurn());
  EXPECT_NEAR(burn_->InnerRadius(), 40.3, 1e-9);
  EXPECT_NEAR(model_->InnerRadius(), 40.3, 1e-9);  // kept afterwards
  model_->AfterBurn();
  EXPECT_NEAR(model_->InnerRadius(), 40.3, 1e-9);
}

// A layout chosen in Rimtone mode: its own area is raised out of the data
// area (a complete DVD-R's at least 36 mm, however little data it holds), so
// that the burn's disc check accepts it.
TEST_F(MainWindowModelTest, ALayoutChosenInRimtoneModeKeepsALegalArea) {
  struct Case {
    const char* disc;
    double recordedEnd;  // mm
    int layout;
    double inner;  // expected after the choice
  };
  const Case cases[] = {
      {"dvd-r", 25.5, 0, 36.0},  // the DVD-R's data limit
      {"dvd+r", 25.5, 0, 31.0},  // the DVD+R's
      {"dvd+r", 40.3, 1, 40.3},  // the recorded data beyond the layout's 30 mm
      {"dvd+r", 25.5, 1, 31.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.disc) + " layout " + std::to_string(c.layout));
    VirtualDriveConfig dvd = Drive(c.disc);
    dvd.recordedBlocks = BlocksReportedEndingAt(c.recordedEnd);
    ASSERT_EQ(Open(&dvd), ui::OpeningResult::Ready);
    config_.SetRimtone(true);
    model_->ApplyLayoutChoice(c.layout);
    EXPECT_NEAR(model_->InnerRadius(), c.inner, 0.05);
    EXPECT_TRUE(burn_->Sequence().CheckDisc(model_->InnerRadius()));
    Type(TextKind::Title, "Data");
    ASSERT_TRUE(model_->PrepareBurn());
    EXPECT_NEAR(burn_->InnerRadius(), c.inner, 0.05);
    config_.SetRimtone(false);
  }
}

// The quality the preview shows is the one the required time is for, and
// the burn dialog opens at it; a design brings its own.
TEST_F(MainWindowModelTest, TheQualityShownGivesTheTimeAndTheBurnDialogsStart) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const std::string draft = model_->TimeText();
  EXPECT_EQ(draft, "06:47");
  EXPECT_FALSE(model_->SetQuality(DesignQuality::Draft));  // no change
  EXPECT_TRUE(model_->SetQuality(DesignQuality::High));
  const std::string high = model_->TimeText();
  EXPECT_NE(high, draft);
  Type(TextKind::Title, "Holidays");
  ASSERT_TRUE(model_->PrepareBurn());
  burn_->Open();
  EXPECT_EQ(burn_->Quality(), static_cast<int>(BurnQuality::High));
  EXPECT_EQ(burn_->TimeText(), high);
  ASSERT_TRUE(burn_->Exit());

  const std::string path = dir_.filePath("high.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_EQ(model_->TimeText(), draft);
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_EQ(model_->TimeText(), high);
  ASSERT_TRUE(model_->PrepareBurn());
  burn_->Open();
  EXPECT_EQ(burn_->Quality(), static_cast<int>(BurnQuality::High));
  ASSERT_TRUE(burn_->Exit());
}

// A picture chosen for one label is that label's: the preview, the burn and
// its design show it; the settings file (and so every later label of the
// layout) stays as it was. A file that is no picture changes nothing.
TEST_F(MainWindowModelTest, APictureChosenForALabelIsNeverWrittenIntoTheSharedLayout) {
  const std::string ini = dir_.filePath("twr.ini").toStdString();
  auto settings = [&] {
    std::ifstream in(ini, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string photo = dir_.filePath("photo.png").toStdString();
  QImage red(64, 64, QImage::Format_RGB32);
  red.fill(Qt::red);
  ASSERT_TRUE(red.save(QString::fromStdString(photo)));
  const std::string notPicture = dir_.filePath("notes.png").toStdString();
  std::ofstream(notPicture) << "not a picture";

  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const std::string before = settings();
  Type(TextKind::Title, "Aurora");
  const QImage plain = model_->PreviewWithBand();
  EXPECT_FALSE(model_->UseLabelPicture(notPicture));
  EXPECT_EQ(model_->Layout(), 0);
  EXPECT_NE(Shown().back().find("Cannot use the picture"), std::string::npos);

  ASSERT_TRUE(model_->UseLabelPicture(photo));
  EXPECT_EQ(settings(), before);
  EXPECT_EQ(model_->Layout(), kGivenLayout);
  EXPECT_EQ(model_->GivenLayoutName(), "First");
  EXPECT_TRUE(model_->Modified());
  EXPECT_EQ(model_->RadiusText(), "25.0 - 58.0 [mm]");
  EXPECT_NE(model_->PreviewWithBand(), plain);
  LabelDocument held = model_->Document();
  ASSERT_EQ(held.background.kind, DesignBackground::Kind::Picture);
  EXPECT_EQ(held.background.name, "photo.png");
  EXPECT_EQ(held.title, "Aurora");
  ASSERT_TRUE(model_->PrepareBurn());
  const QImage burnt = burn_->LabelImage();
  ASSERT_FALSE(burnt.isNull());
  // The red picture fills the label, in the greys of the etch.
  const QColor corner = burnt.pixelColor(2, 2);
  EXPECT_EQ(corner.red(), corner.green());
  EXPECT_LT(corner.red(), 128);
  const std::string path = dir_.filePath("aurora.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  EXPECT_EQ(settings().find("photo.png"), std::string::npos);

  EXPECT_FALSE(model_->Modified());

  // The next label of the layout: its own picture (none), in this window and a fresh one.
  model_->ApplyLayoutChoice(0);
  EXPECT_EQ(model_->Document().background.kind, DesignBackground::Kind::None);
  EXPECT_TRUE(model_->Modified());
  // Back on the label's own layout the document is the one saved again.
  model_->ApplyLayoutChoice(kGivenLayout);
  EXPECT_EQ(model_->Document(), held);
  EXPECT_FALSE(model_->Modified());
  model_->ApplyLayoutChoice(0);
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_EQ(model_->Document().background.kind, DesignBackground::Kind::None);
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_EQ(model_->Document().background.bytes, held.background.bytes);
}

// A picture newly chosen fills the label and is fit to the etch at the
// label's quality; its placement, tone and the texts' legibility are the
// label's, change the preview and the burn, and come back with its design.
TEST_F(MainWindowModelTest, ALabelsOwnPictureIsPlacedAndTonedForTheEtch) {
  // A pale 4:3 picture: a light sky with a slightly darker sun.
  const std::string photo = dir_.filePath("pale.png").toStdString();
  QImage pale(400, 300, QImage::Format_RGB32);
  pale.fill(QColor(225, 225, 225));
  for (int y = 100; y < 200; ++y)
    for (int x = 150; x < 250; ++x) pale.setPixelColor(x, y, QColor(200, 200, 200));
  ASSERT_TRUE(pale.save(QString::fromStdString(photo)));
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->HasOwnPicture());
  EXPECT_FALSE(model_->SetPictureSettings(PictureSettings()));
  Type(TextKind::Title, "Pale");

  ASSERT_TRUE(model_->UseLabelPicture(photo));
  ASSERT_TRUE(model_->HasOwnPicture());
  EXPECT_EQ(model_->Picture().fit, PictureFit::Fill);
  EXPECT_EQ(model_->Picture().tone, PictureTone::Auto);
  auto burnt = [&] {
    EXPECT_TRUE(model_->PrepareBurn());
    return burn_->LabelImage().copy();
  };
  const QImage filled = burnt();
  // Fit to etch darkens the pale sky so that it marks: the label's corner
  // (the picture filling the square) is darker than the picture's sky.
  EXPECT_LT(filled.pixelColor(4, 4).red(), 225);

  PictureSettings plain = model_->Picture();
  plain.fit = PictureFit::Stretch;
  plain.tone = PictureTone::None;
  ASSERT_TRUE(model_->SetPictureSettings(plain));
  EXPECT_FALSE(model_->SetPictureSettings(plain));  // no change
  const QImage stretched = burnt();
  EXPECT_EQ(stretched.pixelColor(4, 4).red(), 225);
  EXPECT_NE(stretched, filled);

  // Fit to etch follows the quality the label is meant for.
  PictureSettings fitted = plain;
  fitted.tone = PictureTone::Auto;
  ASSERT_TRUE(model_->SetPictureSettings(fitted));
  const QImage draft = burnt();
  model_->SetQuality(DesignQuality::High);
  const QImage high = burnt();
  EXPECT_NE(high, draft);
  // See-through boxes with halos are the label's too.
  ASSERT_TRUE(model_->SetLegibility(TextLegibility::All(true, true)));
  EXPECT_NE(burnt(), high);

  const std::string path = dir_.filePath("pale.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  const LabelDocument saved = model_->Document();
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_EQ(model_->Document(), saved);
  EXPECT_EQ(model_->Picture(), fitted);
  EXPECT_EQ(model_->Legibility(), TextLegibility::All(true, true));
  EXPECT_FALSE(model_->Modified());
}

// The picture placed by hand: a drag's steps and a wheel's zoom redraw the
// design preview, change the document (Modified) and come back with its
// design; a layout's own picture (stretched, as always) is not moved.
TEST_F(MainWindowModelTest, ALabelsOwnPictureIsDraggedAndZoomedByHand) {
  const std::string photo = dir_.filePath("photo.png").toStdString();
  QImage picture(400, 300, QImage::Format_RGB32);  // 4:3, dark left half
  picture.fill(QColor(230, 230, 230));
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 200; ++x) picture.setPixelColor(x, y, QColor(20, 20, 20));
  ASSERT_TRUE(picture.save(QString::fromStdString(photo)));
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->MovePicture(PanPictureBy(model_->Picture(), {60, 0}, 600)));
  EXPECT_TRUE(model_->OwnPictureSize().isEmpty());

  ASSERT_TRUE(model_->UseLabelPicture(photo));
  const std::string path = dir_.filePath("photo.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  EXPECT_EQ(model_->OwnPictureSize().width() * 3, model_->OwnPictureSize().height() * 4);
  const QImage before = model_->PreviewWithBand();
  const int redraws = model_->PreviewRedraws();
  // A drag to the right in three steps, each from where it started.
  const PictureSettings start = model_->Picture();
  for (double dx : {20.0, 40.0, 60.0})
    ASSERT_TRUE(model_->MovePicture(PanPictureBy(start, {dx, 0}, 600)));
  model_->EndPictureMove();
  EXPECT_DOUBLE_EQ(model_->Document().picture.panX, 0.1);
  EXPECT_EQ(model_->PreviewRedraws(), redraws + 3);
  EXPECT_TRUE(model_->Modified());
  // The dark half followed: a point right of the middle that showed the
  // picture's light half is dark now (a tenth of the label further).
  const QPoint point(330, 570);  // below the note box
  EXPECT_GT(qGray(before.pixel(point)), 128);
  EXPECT_LT(qGray(model_->PreviewWithBand().pixel(point)), 128);
  // The wheel zooms about the pointer.
  ASSERT_TRUE(
      model_->MovePicture(ZoomPictureAbout(model_->Picture(), WheelZoomFactor(240), {0.25, 0.5})));
  const PictureSettings placed = model_->Picture();
  EXPECT_DOUBLE_EQ(placed.zoom, kPictureZoomStep * kPictureZoomStep);
  EXPECT_NE(placed.panX, 0.1);

  ASSERT_TRUE(model_->SaveDesign(path));
  EXPECT_FALSE(model_->Modified());
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_EQ(model_->Picture(), placed);
  EXPECT_FALSE(model_->Modified());
  // On the layout's own picture there is nothing to place.
  model_->ApplyLayoutChoice(0);
  EXPECT_FALSE(model_->HasOwnPicture());
  EXPECT_FALSE(model_->MovePicture(placed));
  EXPECT_TRUE(model_->Picture().Plain());
}

// Calibrate on the virtual drive whose dye shows nothing up to 40 % of the
// dots and is fully dark from 80 %: the wedge is burnt, its etched steps
// read as a user reads them, answers that do not fit are refused and keep
// nothing, the answer is kept for the drive model, and from then on the
// etched view draws through it and fit to etch tones the picture for it.
TEST_F(MainWindowModelTest, CalibrateKeepsTheWedgeAnswerAndTheEtchedViewFollowsIt) {
  const std::string photo = dir_.filePath("pale.png").toStdString();
  QImage pale(400, 300, QImage::Format_RGB32);
  pale.fill(QColor(225, 225, 225));
  for (int y = 100; y < 200; ++y)
    for (int x = 150; x < 250; ++x) pale.setPixelColor(x, y, QColor(180, 180, 180));
  ASSERT_TRUE(pale.save(QString::fromStdString(photo)));
  VirtualDriveConfig label = Drive("label");
  label.burn.response = "0:0,40:0,80:100,100:100";
  label.burn.keepMarks = false;
  label.burn.etchedPath = dir_.filePath("etched.png").toStdString();
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  Type(TextKind::Title, "Pale");
  ASSERT_TRUE(model_->UseLabelPicture(photo));
  const ElsPage page = ui::ExampleEtchPage();
  const DriveEtch before = model_->ShownDriveEtch(page, BurnQuality::Draft);
  EXPECT_FALSE(before.profile);
  EXPECT_TRUE(model_->EtchRequestAt(BurnQuality::Draft).response.Straight());
  ASSERT_TRUE(model_->PrepareBurn());
  const QImage tonedBefore = burn_->LabelImage().copy();

  // The burn dialog opened to calibrate: no label, so Draw has nothing to burn.
  ASSERT_TRUE(model_->PrepareCalibration());
  EXPECT_TRUE(burn_->LabelImage().isNull());
  burn_->Open();
  EXPECT_TRUE(burn_->EtchResponse(page, BurnQuality::Draft).Straight());
  EXPECT_FALSE(burn_->Draw());
  EXPECT_NE(Shown().back().find("no label to burn"), std::string::npos);
  ASSERT_TRUE(burn_->DrawWedge());
  EXPECT_TRUE(Shown().back().find("test band at the rim") != std::string::npos);
  burn_->Sequence().Wait();
  burn_->BurnEnded();
  ASSERT_TRUE(burn_->WedgeToAnswer());
  ASSERT_EQ(burn_->Wedge().size(), static_cast<std::size_t>(kWedgeSteps));

  // The steps as the disc shows them: the first a little darker than the
  // bare disc, the first as dark as the darkest.
  const QImage etched(QString::fromStdString(label.burn.etchedPath));
  ASSERT_FALSE(etched.isNull());
  const auto greyAt = [&](double radiusMm, double degrees) {
    const double scale = etched.width() / (2.0 * kDiscRadiusMm);
    const double a = degrees * std::numbers::pi / 180.0;
    double sum = 0.0;
    for (int d = -2; d <= 2; ++d) {
      const double r = (radiusMm + 0.2 * d) * scale;
      sum += qGray(etched.pixel(static_cast<int>(etched.width() / 2.0 + r * std::sin(a)),
                                static_cast<int>(etched.height() / 2.0 - r * std::cos(a))));
    }
    return sum / 5.0;
  };
  const double patchMm = (kWedgePatchInnerMm + kWedgeOuterMm) / 2.0;
  const double bare = greyAt(40.0, 0.0);
  double darkest = 255.0;
  for (int k = 1; k <= kWedgeSteps; ++k)
    darkest = std::min(darkest, greyAt(patchMm, WedgeStepAngle(k)));
  int firstMark = 0, firstDark = 0;
  for (int k = kWedgeSteps; k >= 1; --k) {
    const double grey = greyAt(patchMm, WedgeStepAngle(k));
    if (grey < bare - 8.0) firstMark = k;
    if (grey <= darkest + 4.0) firstDark = k;
  }
  ASSERT_GT(firstMark, 1);
  ASSERT_LT(firstDark, kWedgeSteps);

  const std::string settings = dir_.filePath("twr.ini").toStdString();
  const auto settingsText = [&] {
    std::ifstream in(settings, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string untouched = settingsText();
  EXPECT_FALSE(burn_->AnswerWedge(firstDark, firstMark - 1).empty());  // dark before marked
  EXPECT_FALSE(burn_->AnswerWedge(0, firstDark).empty());
  EXPECT_FALSE(burn_->AnswerWedge(firstMark, kWedgeSteps + 1).empty());
  EXPECT_EQ(settingsText(), untouched);
  EXPECT_TRUE(burn_->WedgeToAnswer());  // still asked

  ASSERT_EQ(burn_->AnswerWedge(firstMark, firstDark), "");
  EXPECT_FALSE(burn_->WedgeToAnswer());
  EXPECT_NE(settingsText().find("[Calibration]"), std::string::npos);
  model_->AfterCalibration();
  EXPECT_NE(model_->StatusText().find("Calibration kept"), std::string::npos);

  // The kept profile is the dye's curve, as near as a step of twelve tells it.
  const DriveEtch after = model_->ShownDriveEtch(page, BurnQuality::Draft);
  ASSERT_TRUE(after.profile);
  const double step = 1.0 / kWedgeSteps + 0.02;
  EXPECT_NEAR(after.profile->unmarked, 0.40, step);
  EXPECT_NEAR(after.profile->dark, 0.80, step);
  EXPECT_NE(after.tone.levelOfGrey, before.tone.levelOfGrey);
  EXPECT_FALSE(model_->EtchRequestAt(BurnQuality::Draft).response.Straight());
  // Fit to etch tones the label for what this drive's discs show.
  ASSERT_TRUE(model_->PrepareBurn());
  EXPECT_NE(burn_->LabelImage(), tonedBefore);
  // The burn dialog's etched thumbnail draws through it too.
  burn_->Open();
  EXPECT_FALSE(burn_->EtchResponse(page, BurnQuality::Draft).Straight());
}

// ---- Burn refusals -------------------------------------------------------------------

TEST_F(MainWindowModelTest, BurnRefusesEmptyTextsAndAMissingDisc) {
  VirtualDriveConfig dvd = Drive("dvd-r");
  dvd.reloadDelaySeconds = 3600;  // once out, the disc stays out
  ASSERT_EQ(Open(&dvd, true), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->PrepareBurn());
  EXPECT_EQ(Shown().back(), "Scan or input text data.");

  Type(TextKind::Title, "Side A");
  EXPECT_FALSE(model_->PrepareBurn());
  const auto shown = Shown();
  ASSERT_GE(shown.size(), 3u);
  EXPECT_EQ(shown[shown.size() - 2], "Flip a disc to label-side.");
  EXPECT_EQ(shown.back(), "Disc is not found.");
  EXPECT_TRUE(drive_->TrayEmpty());
  // The preview goes on refreshing afterwards.
  Type(TextKind::Title, "Side B");
  EXPECT_TRUE(model_->TimerTick().redrawn);
}

// ---- Warnings beside the preview ------------------------------------------------------

TEST_F(MainWindowModelTest, TheWarningsFollowTheLayoutTheTextsAndTheBand) {
  std::string ini = kTwoLayouts;
  ini.replace(ini.find("LayoutNum=2"), 11, "LayoutNum=4");
  Write(ini +
        "[Layout02]\nName=Missing picture\nBaseLength=400\nBgColor=230\nBgImage=gone.png\n"
        "TitleWidth=200\nTitleHeight=30\nTitlePosX=100\nTitlePosY=60\nTitleMaxNum=4\n"
        "InnerRadius=25\nOuterRadius=58\n"
        "[Layout03]\nName=Title at the hub\nBaseLength=400\nBgColor=230\nTitleWidth=300\n"
        "TitleHeight=30\nTitlePosX=50\nTitlePosY=130\nInnerRadius=36.5\nOuterRadius=58\n");
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  using Kind = LabelWarning::Kind;
  auto kinds = [&] {
    std::vector<Kind> out;
    for (const LabelWarning& w : model_->Warnings()) out.push_back(w.kind);
    return out;
  };
  struct Case {
    int layout;
    std::string title;
    std::vector<Kind> expected;
    bool beforeBurn;  // asked about at Burn
  };
  const std::vector<Case> cases = {
      {0, "", {}, false},                                        // nothing to say
      {2, "", {Kind::Background}, false},                        // no text: Burn refuses first
      {2, "Holidays", {Kind::Background, Kind::TextCut}, true},  // cut at TitleMaxNum=4
      {3, "Hub", {Kind::UnderHub}, true},                        // inner radius 36.5 mm
      {3, "", {}, false},                                        // an empty title loses nothing
      {1, "Holidays", {}, false},
  };
  for (const Case& c : cases) {
    model_->ApplyLayoutChoice(c.layout);
    Type(TextKind::Title, c.title);
    model_->TimerTick();
    EXPECT_EQ(kinds(), c.expected) << "layout " << c.layout << " title '" << c.title << "'";
    EXPECT_EQ(model_->WarningsBeforeBurn().empty(), !c.beforeBurn) << "layout " << c.layout;
  }
  // The picture is named in the sentence the window lists.
  model_->ApplyLayoutChoice(2);
  ASSERT_FALSE(model_->Warnings().empty());
  EXPECT_NE(model_->Warnings()[0].text.find("gone.png\""), std::string::npos)
      << model_->Warnings()[0].text;
  // A band chosen in Config that leaves the title out is said at once.
  Type(TextKind::Title, "Hi");
  model_->ApplyLayoutChoice(0);
  model_->ConfigAccepted({false, 50.0, 58.0, "Liberation Sans"});
  EXPECT_EQ(kinds(), std::vector<Kind>{Kind::BoxOutsideBand});
}

// ---- Disc scan -------------------------------------------------------------------------

TEST(DiscScanTest, LetterOfADriveListEntry) {
  for (const auto& [text, letter] :
       std::vector<std::pair<std::string, char>>{{"(E:) V P R", 'E'},
                                                 {"(V:) TWRVIRT Etchlume DVD 1.00", 'V'},
                                                 {"E:) x", 'D'},
                                                 {"(e:) lower", 'D'},
                                                 {"(E) x", 'D'},
                                                 {"", 'D'},
                                                 {"(E:", 'D'}})
    EXPECT_EQ(ScanLetter(text), letter) << text;
}

class ScanTest : public MainWindowModelTest {
 protected:
  void SetUp() override {
    MainWindowModelTest::SetUp();
    if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
  }
  QTemporaryDir isoDir_;
};

TEST_F(ScanTest, FoldersComeFirstAndNestedEntriesNeverShow) {
  VirtualDriveConfig dvd = Drive("dvd-r");
  dvd.image = MakeIso(isoDir_.path().toStdString(), {"alpha.txt", "beta.txt", "omega/", "zeta/"});
  ASSERT_FALSE(dvd.image.empty());
  ASSERT_EQ(Open(&dvd), ui::OpeningResult::Ready);
  EXPECT_EQ(model_->Title(), "HOLIDAY");
  EXPECT_EQ(model_->Date().size(), 8u);
  EXPECT_EQ(model_->ScanLineCount(), 4);
  // The opening's refresh put the folders first.
  EXPECT_EQ(model_->NoteLines()[0], "[omega]  ");
  EXPECT_EQ(model_->NoteLines()[1], "[zeta]  ");
  EXPECT_EQ(model_->NoteLines()[2], "alpha.txt  ");
  EXPECT_EQ(model_->NoteLines()[3], "beta.txt  ");
  EXPECT_EQ(model_->Note().find("deep"), std::string::npos);
  EXPECT_EQ(model_->Note().find("nested"), std::string::npos);

  Type(TextKind::Title, "Mine");
  EXPECT_TRUE(model_->ScanDisc());
  EXPECT_EQ(model_->Title(), "HOLIDAY");
  EXPECT_EQ(model_->NoteLines()[0], "[omega]  ");
}

TEST_F(ScanTest, AtMostTenEntriesInFileSystemOrder) {
  std::vector<std::string> files;
  for (int i = 10; i < 25; ++i) files.push_back("file" + std::to_string(i) + ".txt");
  VirtualDriveConfig dvd = Drive("dvd+r");
  dvd.image = MakeIso(isoDir_.path().toStdString(), files);
  ASSERT_EQ(Open(&dvd), ui::OpeningResult::Ready);
  EXPECT_EQ(model_->ScanLineCount(), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(model_->NoteLines()[i], files[i] + "  ");
}

TEST_F(ScanTest, NoDiscThenTheAutomaticScanFillsTheWindow) {
  VirtualDriveConfig none = Drive("none");
  none.flip = "dvd-r";
  none.image = MakeIso(isoDir_.path().toStdString(), {"music/", "cover.jpg"});
  ASSERT_EQ(Open(&none), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->ScanDisc());
  EXPECT_EQ(Shown(), std::vector<std::string>{"Disc is not found."});
  device_.StartStopUnit(0);  // the disc goes in with its data side
  bool scanned = false;
  for (int tick = 1; tick <= 6; ++tick) scanned = model_->TimerTick().scanned;
  EXPECT_TRUE(scanned);
  EXPECT_EQ(model_->Title(), "HOLIDAY");
  EXPECT_EQ(model_->NoteLines()[0], "[music]  ");
}

TEST_F(ScanTest, ABlankDiscRepeatsSilently) {
  VirtualDriveConfig blank = Drive("dvd-r", "blank");
  blank.tracePath = isoDir_.filePath("trace.txt").toStdString();
  ASSERT_EQ(Open(&blank), ui::OpeningResult::Ready);
  for (int tick = 1; tick <= 12; ++tick) model_->TimerTick();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(model_->Title(), "");
  EXPECT_EQ(model_->Note(), "");
  // The volume descriptor was asked for at opening, and twice at ticks 6 and
  // 12 (the tick's reading, then the scan's own); and once more by each of
  // the three listings, which read the disc through the drive as nothing is
  // mounted.
  std::ifstream trace(blank.tracePath);
  int reads = 0;
  for (std::string line; std::getline(trace, line);) reads += line.rfind("A8 ", 0) == 0;
  EXPECT_EQ(reads, 8);
}

// Scan replaces the texts and redraws the preview with them, also where it
// empties one; a disc without texts keeps what was typed and says so.
TEST_F(ScanTest, ScanRedrawsAndADiscWithoutTextsKeepsTheTypedOnes) {
  VirtualDriveConfig dvd = Drive("dvd-r");
  dvd.flip = "label";
  dvd.image = MakeIso(isoDir_.path().toStdString(), {"music/"});
  ASSERT_EQ(Open(&dvd), ui::OpeningResult::Ready);
  Type(TextKind::Note, "typed note\r\n");
  int redraws = model_->PreviewRedraws();
  ASSERT_TRUE(model_->ScanDisc());  // the disc's texts replace the typed note
  EXPECT_EQ(model_->NoteLines()[0], "[music]  ");
  EXPECT_EQ(layout_->NoteLines[0], "[music]  ");  // drawn with them, at once
  EXPECT_EQ(model_->PreviewRedraws(), redraws + 1);
  EXPECT_FALSE(model_->AnyChanged());
  EXPECT_EQ(model_->StatusText(), "");

  // The disc turned over: its label side has no volume name, date or files.
  device_.StartStopUnit(0);
  Type(TextKind::Title, "Kept title");
  redraws = model_->PreviewRedraws();
  ASSERT_TRUE(model_->ScanDisc());
  EXPECT_EQ(model_->Title(), "Kept title");
  EXPECT_EQ(model_->NoteLines()[0], "[music]  ");
  EXPECT_EQ(layout_->Title, "Kept title");
  EXPECT_EQ(model_->StatusText(),
            "Scan found no volume name, date or files on the disc; the texts were kept.");
  EXPECT_TRUE(Shown().empty());
  model_->TimerTick();  // the typed title, drawn at the tick as always
  EXPECT_EQ(model_->PreviewRedraws(), redraws + 1);
  Type(TextKind::Title, "Next");  // the status is about the texts as they were
  EXPECT_EQ(model_->StatusText(), "");
}

// The opening's drive work runs beside typing: the layouts and the preview
// come first, the disc's texts fill only the fields nobody typed in, and
// what needs the drive is refused meanwhile with its reason.
TEST_F(ScanTest, DiscoveryKeepsWhatWasTypedMeanwhile) {
  VirtualDriveConfig dvd = Drive("dvd-r");
  dvd.image = MakeIso(isoDir_.path().toStdString(), {"music/", "cover.jpg"});
  drive_ = std::make_shared<VirtualDrive>(dvd);
  std::function<void()> work, done;
  ASSERT_EQ(Open(nullptr), ui::OpeningResult::Ready);  // the drive as in Open(&dvd)
  model_ = std::make_unique<MainWindowModel>(*layout_, device_, *burn_, config_, messages_);
  model_->SetDriveStarter([&](std::function<void()> w, std::function<void()> d) {
    work = std::move(w);
    done = std::move(d);
  });
  ASSERT_EQ(model_->OpenLayouts(), ui::OpeningResult::Ready);
  EXPECT_EQ(model_->LayoutNames(), (std::vector<std::string>{"First", "Second"}));
  EXPECT_FALSE(model_->PreviewWithBand().isNull());
  EXPECT_EQ(model_->TimeText(), "--:--");
  ui::OpeningResult found = ui::OpeningResult::NoLayouts;
  model_->StartDriveDiscovery([&](ui::OpeningResult r) { found = r; });
  ASSERT_TRUE(model_->Discovering());

  Type(TextKind::Title, "abc");
  EXPECT_TRUE(model_->TimerTick().redrawn);  // the preview follows the typing
  for (int tick = 0; tick < 7; ++tick) EXPECT_FALSE(model_->TimerTick().scanned);
  EXPECT_TRUE(model_->RefusedWhileDiscovering());
  EXPECT_NE(model_->StatusText().find("Still looking for drives"), std::string::npos);
  model_->ApplyLayoutChoice(1);  // a layout chosen meanwhile asks no drive
  EXPECT_EQ(model_->TimeText(), "--:--");

  work();  // on the drive worker
  done();  // back on the GUI thread
  EXPECT_EQ(found, ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->Discovering());
  EXPECT_FALSE(model_->RefusedWhileDiscovering());
  EXPECT_EQ(model_->DriveItems().size(), 1u);
  EXPECT_EQ(model_->Title(), "abc");      // typed, never mixed with HOLIDAY
  EXPECT_EQ(model_->Date().size(), 8u);   // nobody typed a date
  EXPECT_EQ(model_->ScanLineCount(), 2);  // nor a note
  EXPECT_EQ(layout_->Title, "abc");
  EXPECT_EQ(model_->RadiusText(), "30.0 - 50.0 [mm]");
  EXPECT_NE(model_->TimeText(), "--:--");

  // A discovery cancelled by a closing window changes nothing.
  model_->StartDriveDiscovery([&](ui::OpeningResult r) { found = r; });
  model_->CancelDiscovery();
  found = ui::OpeningResult::NoLayouts;
  work();
  done();
  EXPECT_EQ(found, ui::OpeningResult::NoLayouts);
}

// ---- Designs ---------------------------------------------------------------------

// The automatic area, from typing to the burn: the band follows what marks,
// the time and the circles follow the band, a label that marks nothing is
// said and not burnt, the burn dialog plans the same band, a design keeps
// the choice, and Manual gives the radii back as they were.
TEST_F(MainWindowModelTest, TheAutomaticAreaFollowsTheMarksFromTypingToTheBurn) {
  // A white picture with a title box (x 100-300, y 60-90 of 400: 31.9 mm
  // out at its lower edge's middle, 50 mm at its upper corners).
  const std::string white = dir_.filePath("white.png").toStdString();
  QImage picture(400, 400, QImage::Format_RGB888);
  picture.fill(Qt::white);
  ASSERT_TRUE(picture.save(QString::fromStdString(white)));
  Write(
      "[Config]\nLayoutNum=1\nFont=Liberation Sans\n[Layout00]\nName=White\nBaseLength=400\n"
      "BgImage=" +
      white +
      "\nTitleWidth=200\nTitleHeight=30\nTitlePosX=100\nTitlePosY=60\n"
      "InnerRadius=25\nOuterRadius=58\n");
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const std::string manualTime = model_->TimeText();
  model_->SetNewLabelArea(true);
  Type(TextKind::Title, "HOLIDAYS");
  model_->TimerTick();
  const BurnBand band = model_->ShownBand();
  EXPECT_GT(band.inner, 31.0);
  EXPECT_LT(band.outer, 50.5);
  EXPECT_EQ(model_->RadiusText(), ui::RadiusText(band.inner, band.outer));
  EXPECT_LT(model_->TimeText(), manualTime);  // "mm:ss" orders as the time does
  EXPECT_EQ(model_->InnerRadius(), 25.0);     // the manual radii are kept
  // Working it out leaves the note being typed in its order (folders go
  // first on the label only).
  Type(TextKind::Note, "first line\r\n[Fol");
  const std::string typed = model_->Note();
  model_->TimerTick();
  EXPECT_EQ(model_->Note(), typed);
  Type(TextKind::Note, "");

  // A title of blanks marks nothing: said in the status line, refused at Draw.
  Type(TextKind::Title, "   ");
  model_->TimerTick();
  EXPECT_EQ(model_->StatusText(), NothingMarksText(BurnQuality::Draft));
  ASSERT_TRUE(model_->PrepareBurn());
  burn_->Open();
  EXPECT_FALSE(burn_->Draw());
  EXPECT_EQ(Shown().back(), NothingMarksText(BurnQuality::Draft));
  ASSERT_TRUE(burn_->Exit());

  // The burn plans and burns the band shown, at the time shown.
  Type(TextKind::Title, "HOLIDAYS");
  model_->TimerTick();
  EXPECT_EQ(model_->StatusText(), "");
  ASSERT_TRUE(model_->PrepareBurn());
  burn_->Open();
  EXPECT_EQ(burn_->TimeText(), model_->TimeText());
  burn_->SetDiscCount(3);
  EXPECT_NE(burn_->StatusText({}).find("3 discs: about "), std::string::npos);
  burn_->SetDiscCount(1);
  ASSERT_TRUE(burn_->Draw());
  burn_->Sequence().Wait();
  const BurnPlan burnt = burn_->Sequence().CurrentPlan();
  burn_->BurnEnded();
  const BurnPlan shown =
      PlanBurn(burn_->Sequence().Page(), {band, BurnDisc::LabelSide(), BurnQuality::Draft});
  EXPECT_EQ(burnt.startAddress, shown.startAddress);
  EXPECT_EQ(burnt.stepCount, shown.stepCount);
  ASSERT_TRUE(burn_->Exit());

  // A design keeps the automatic area; Manual brings the radii back.
  const std::string path = dir_.filePath("auto.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->UsesAutomaticArea());
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_TRUE(model_->UsesAutomaticArea());
  EXPECT_EQ(model_->RadiusText(), ui::RadiusText(band.inner, band.outer));
  ui::TitleConfigValues values = model_->ConfigValues();
  values.automaticArea = false;
  model_->ConfigAccepted(values);
  EXPECT_EQ(model_->RadiusText(), "25.0 - 58.0 [mm]");
  EXPECT_EQ(model_->TimeText(), manualTime);
  EXPECT_TRUE(model_->Modified());
}

TEST_F(MainWindowModelTest, ADesignComesBackWholeInAFreshModelAndRefusalsKeepTheWindow) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  EXPECT_FALSE(model_->Modified());  // the disc's texts are no change
  model_->ApplyLayoutChoice(1);
  Type(TextKind::Title, "Holidays {n} of {N}");
  Type(TextKind::Date, "2026-08-15");
  Type(TextKind::Note, "beach.jpg\r\n[Photos]\r\n");
  config_.SetRimtone(true);
  model_->ConfigAccepted({true, 32.5, 47.0, "Liberation Serif"});
  model_->SetQuality(DesignQuality::High);
  EXPECT_EQ(model_->QrFromTexts().rfind("Holidays {n} of {N}, 2026-08-15, ", 0), 0u)
      << model_->QrFromTexts();
  EXPECT_TRUE(model_->QrTyped("Holidays: beach.jpg"));
  EXPECT_TRUE(model_->Modified());
  const std::string path = dir_.filePath("holidays.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(path));
  EXPECT_FALSE(model_->Modified());
  EXPECT_EQ(model_->DesignPath(), path);
  const std::string saved = DesignText(model_->Document());

  // A fresh model over settings that no longer hold the design's layout.
  Write("[Config]\nLayoutNum=1\nFont=DejaVu Sans\n[Layout00]\nName=Only\nBaseLength=400\n");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  ASSERT_TRUE(model_->OpenDesign(path));
  EXPECT_EQ(DesignText(model_->Document()), saved);
  EXPECT_EQ(model_->Layout(), kGivenLayout);
  EXPECT_EQ(model_->GivenLayoutName(), "Second");
  EXPECT_EQ(model_->Title(), "Holidays {n} of {N}");
  EXPECT_EQ(model_->Note(), "beach.jpg\r\n[Photos]\r\n");  // in the order typed
  EXPECT_EQ(model_->QrText(), "Holidays: beach.jpg");
  EXPECT_EQ(model_->RadiusText(), "32.5 - 47.0 [mm]");
  EXPECT_EQ(model_->FontText(), "Liberation Serif");
  EXPECT_TRUE(model_->Rimtone());
  EXPECT_EQ(model_->Quality(), DesignQuality::High);
  EXPECT_FALSE(model_->Modified());
  EXPECT_EQ(model_->RecentDesigns(), std::vector<std::string>{path});
  Type(TextKind::Title, "Changed");
  EXPECT_TRUE(model_->Modified());

  // Each refusal is one message; the window's document stays as it was.
  const std::string junk = dir_.filePath("junk.twrlabel").toStdString();
  std::ofstream(junk) << "not a design";
  std::string newer = saved;
  newer.replace(newer.find("\"version\": 1"), 12, "\"version\": 7");
  const std::string future = dir_.filePath("future.twrlabel").toStdString();
  std::ofstream(future) << newer;
  const std::string gone = dir_.filePath("no/such/folder").toStdString();
  struct Refusal {
    const char* what;
    std::function<bool()> run;
    const char* message;
  };
  const Refusal refusals[] = {
      {"missing file", [&] { return model_->OpenDesign(gone + ".twrlabel"); },
       "Cannot open the design"},
      {"not a design", [&] { return model_->OpenDesign(junk); }, "Cannot open the design"},
      {"newer version", [&] { return model_->OpenDesign(future); }, "Cannot open the design"},
      {"folder missing", [&] { return model_->SaveDesign(gone + "/x.twrlabel"); },
       "Cannot save the design"},
      {"unknown kind", [&] { return model_->ExportLabel(dir_.filePath("x.txt").toStdString()); },
       "Cannot export the label"},
      {"export folder missing", [&] { return model_->ExportLabel(gone + "/x.pdf"); },
       "Cannot export the label"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.what);
    const std::size_t before = messages_.Records().size();
    EXPECT_FALSE(r.run());
    ASSERT_EQ(messages_.Records().size(), before + 1);
    EXPECT_EQ(messages_.Records().back().text.rfind(r.message, 0), 0u)
        << messages_.Records().back().text;
    EXPECT_EQ(model_->Title(), "Changed");
    EXPECT_EQ(model_->DesignPath(), path);
    EXPECT_EQ(model_->Layout(), kGivenLayout);
    EXPECT_TRUE(model_->Modified());
  }
  // The reader's own reason follows the window's sentence.
  EXPECT_NE(Shown()[Shown().size() - 4].find("newer"), std::string::npos) << Shown().end()[-4];

  // Export writes each kind; a recent design that has gone is dropped, told.
  for (const char* name : {"label.png", "label.pdf", "label.svg"}) {
    const std::string file = dir_.filePath(name).toStdString();
    EXPECT_TRUE(model_->ExportLabel(file)) << name;
    EXPECT_GT(fs::file_size(file), 100u) << name;
  }
  const std::string copy = dir_.filePath("copy.twrlabel").toStdString();
  ASSERT_TRUE(model_->SaveDesign(copy));
  EXPECT_EQ(model_->RecentDesigns(), (std::vector<std::string>{copy, path}));
  fs::remove(path);
  const std::size_t before = messages_.Records().size();
  EXPECT_EQ(model_->RecentDesigns(), std::vector<std::string>{copy});
  ASSERT_EQ(messages_.Records().size(), before + 1);
  EXPECT_NE(messages_.Records().back().detail.find(path), std::string::npos);

  // A design whose face is not installed here opens, and the label says so.
  std::string faceless = saved;
  faceless.replace(faceless.find("Liberation Serif"), 16, "No Such Face 41");
  const std::string elsewhere = dir_.filePath("elsewhere.twrlabel").toStdString();
  std::ofstream(elsewhere) << faceless;
  ASSERT_TRUE(model_->OpenDesign(elsewhere));
  const std::vector<LabelWarning> warnings = model_->Warnings();
  EXPECT_TRUE(std::any_of(warnings.begin(), warnings.end(), [](const LabelWarning& w) {
    return w.text.find("\"No Such Face 41\" is not installed") != std::string::npos;
  }));
}

// ---- Templates ------------------------------------------------------------------

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The installed folder (the first that is there) and the user's, each by
// name, other files left out; a template starts a new label without a file
// that is no recent design, and neither a save nor Save as Template of the
// label touches the template; names that cannot be files are refused.
TEST_F(MainWindowModelTest, TemplatesAreListedStartNewLabelsAndStayUntouched) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const fs::path root = dir_.path().toStdString();
  const fs::path installed = root / "share" / "titlewright" / "templates";
  const fs::path user = root / "data" / "titlewright" / "templates";
  Type(TextKind::Title, "Title");
  Type(TextKind::Date, "{n} of {N}");
  for (const char* name : {"b-set", "a-plain"})
    ASSERT_TRUE(model_->SaveAsTemplate((installed / (std::string(name) + ".twrlabel")).string()));
  ASSERT_TRUE(model_->SaveAsTemplate((user / "Mine.twrlabel").string()));
  std::ofstream(installed / "notes.txt") << "not a template";
  EXPECT_TRUE(model_->DesignPath().empty());
  EXPECT_TRUE(model_->RecentDesigns().empty());

  EXPECT_EQ(ui::InstalledTemplateFolders("/opt/tw/bin"),
            (std::vector<std::string>{"/opt/tw/share/titlewright/templates",
                                      "/opt/share/titlewright/templates"}));
  const std::vector<ui::TemplateEntry> listed =
      ui::ListTemplates({(root / "none").string(), installed.string()}, user.string());
  ASSERT_EQ(listed.size(), 3u);
  const std::pair<const char*, bool> expected[] = {
      {"a-plain", false}, {"b-set", false}, {"Mine", true}};
  for (std::size_t i = 0; i < listed.size(); ++i) {
    EXPECT_EQ(listed[i].name, expected[i].first);
    EXPECT_EQ(listed[i].own, expected[i].second);
  }

  const std::string set = (installed / "b-set.twrlabel").string();
  const std::string before = FileBytes(set);
  Type(TextKind::Title, "Something else");
  ASSERT_TRUE(model_->NewFromTemplate(set));
  EXPECT_EQ(model_->Title(), "Title");
  EXPECT_EQ(model_->Date(), "{n} of {N}");
  EXPECT_EQ(model_->Layout(), kGivenLayout);
  EXPECT_TRUE(model_->DesignPath().empty());
  EXPECT_FALSE(model_->Modified());
  EXPECT_TRUE(model_->RecentDesigns().empty());
  Type(TextKind::Title, "Holidays");
  ASSERT_TRUE(model_->SaveDesign((root / "holidays.twrlabel").string()));
  ASSERT_TRUE(model_->SaveAsTemplate((user / "Holidays.twrlabel").string()));
  EXPECT_EQ(model_->DesignPath(), (root / "holidays.twrlabel").string());
  EXPECT_EQ(FileBytes(set), before);

  // A template that cannot be read leaves the window as it was.
  const std::size_t shown = messages_.Records().size();
  EXPECT_FALSE(model_->NewFromTemplate((installed / "notes.txt").string()));
  ASSERT_EQ(messages_.Records().size(), shown + 1);
  EXPECT_EQ(messages_.Records().back().text.rfind("Cannot start a label from the template", 0), 0u);
  EXPECT_EQ(model_->Title(), "Holidays");

  std::string path;
  std::string problem;
  for (const std::string& bad :
       std::vector<std::string>{"", "a/b", ".hidden", "line\nbreak", std::string(101, 'x')}) {
    EXPECT_FALSE(ui::TemplateFileFor(user.string(), bad, path, problem)) << bad;
    EXPECT_FALSE(problem.empty());
  }
  ASSERT_TRUE(ui::TemplateFileFor(user.string(), "My set", path, problem));
  EXPECT_EQ(path, (user / "My set.twrlabel").string());

  // The first start: offered once, marked in the settings file.
  const std::string settings = dir_.filePath("twr.ini").toStdString();
  EXPECT_FALSE(ui::TemplatesOffered(settings));
  ASSERT_TRUE(ui::MarkTemplatesOffered(settings));
  EXPECT_TRUE(ui::TemplatesOffered(settings));
}

// The templates installed with the program: each has its own name, opens
// without a warning (the Rimtone band on a data side too) and is drawn as
// a thumbnail with marks in it.
TEST_F(MainWindowModelTest, TheInstalledTemplatesOpenWithoutWarnings) {
  const VirtualDriveConfig label = Drive("label");
  ASSERT_EQ(Open(&label), ui::OpeningResult::Ready);
  const std::vector<ui::TemplateEntry> listed = ui::ListTemplates({TWR_TEMPLATES_DIR}, "");
  ASSERT_GE(listed.size(), 6u);
  bool rimtone = false;
  for (const ui::TemplateEntry& entry : listed) {
    SCOPED_TRACE(entry.path);
    EXPECT_NE(entry.name, fs::path(entry.path).stem().string());  // a name, not the file's
    ASSERT_TRUE(model_->NewFromTemplate(entry.path));
    rimtone = rimtone || model_->Rimtone();
    EXPECT_FALSE(model_->Title().empty());
    for (const LabelWarning& w : model_->Warnings()) ADD_FAILURE() << w.text;
    std::string problem;
    const QImage thumbnail = ui::TemplateThumbnail(entry.path, 120, problem);
    ASSERT_EQ(thumbnail.size(), QSize(120, 120)) << problem;
    EXPECT_NE(thumbnail.pixel(60, 5), thumbnail.pixel(60, 60));  // the disc and its hole
  }
  EXPECT_TRUE(rimtone);
}

}  // namespace
}  // namespace twr::test
