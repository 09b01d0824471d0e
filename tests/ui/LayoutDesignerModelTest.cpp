// The layout designer's model without a window: every kind of change as one
// undo step that undoes and redoes exactly, values outside their limits
// refused with the reason, a drag that snaps, a save that leaves every other
// byte of an awkward settings file as it was, and the failures of a save
// (changed on disk, read-only, disk full) that lose nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QImage>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/ProfileFile.h"
#include "label/CELLayout.h"
#include "label/LayoutFile.h"
#include "ui/model/LayoutDesignerModel.h"

namespace twr::test {
namespace {

namespace fs = std::filesystem;
using ui::DesignerItem;
using ui::DesignerSnapshot;
using ui::DragHandle;
using ui::LayoutDesignerModel;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Comments, odd spacing, a leading zero, CR LF lines, an unknown key, a
// quoted name, a later duplicate of a section (never read), the virtual
// drive's section and no line end at the very end.
const std::string kAwkward =
    "; Layouts of the test\r\n"
    "[Config]\r\n"
    "LayoutNum = 3\r\n"
    "Font=Liberation Sans\r\n"
    "\r\n"
    "[Layout00]\r\n"
    "Name = \"  Spaced name  \"\r\n"
    " TitlePosX =   0427   \r\n"
    "TitlePosY=240\r\n"
    "TitleWidth=800\r\n"
    "TitleHeight=130\r\n"
    "; a comment inside the section\r\n"
    "Custom=keep me\r\n"
    "BaseLength=1655\r\n"
    "RingLength=5\r\n"
    "\r\n"
    "[Layout01]\r\n"
    "Name=Second\r\n"
    "BgColor=200\r\n"
    "TitleWidth=300\r\n"
    "TitleHeight=60\r\n"
    "TitlePosX=100\r\n"
    "TitlePosY=100\r\n"
    "\r\n"
    "[layout00]\r\n"
    "Name=Shadow\r\n"
    "\r\n"
    "[Layout02]\r\n"
    "Name=Third\r\n"
    "DateWidth=300\r\n"
    "DateHeight=50\r\n"
    "\r\n"
    "; The virtual drive\r\n"
    "[VirtualDrive]\r\n"
    "Letter=V\r\n"
    "Disc=label\r\n"
    "Etched = etched.png";

class DesignerModel : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/twr-designer-XXXXXX";
    dir_ = mkdtemp(tmpl);
    ini_ = dir_ / "twr.ini";
    WriteFile(ini_, kAwkward);
    std::string problem;
    ASSERT_TRUE(model_.Open(ini_.string(), 0, &problem)) << problem;
    model_.SetFontFace("Liberation Sans");
  }
  void TearDown() override {
    SetFileWriteFaultForTesting(0);
    fs::permissions(ini_, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  DesignerSnapshot Snapshot() const { return {model_.Layouts(), model_.Current()}; }
  // A drag of the selected item from `from` by (dx, dy) label pixels.
  void Drag(DesignerItem item, DragHandle handle, QPointF from, double dx, double dy,
            bool snap = false) {
    model_.BeginDrag(item, handle, from);
    model_.DragTo(from + QPointF(dx / 2, dy / 2), 10.0, snap);  // a frame on the way
    model_.DragTo(from + QPointF(dx, dy), 10.0, snap);
    model_.EndDrag(true);
  }

  fs::path dir_, ini_;
  LayoutDesignerModel model_;
};

TEST_F(DesignerModel, EveryChangeIsOneUndoStepThatUndoesAndRedoesExactly) {
  std::vector<DesignerSnapshot> states{Snapshot()};
  auto step = [&](const std::string& why) {
    ASSERT_EQ(why, "");
    states.push_back(Snapshot());
    ASSERT_EQ(model_.UndoStack().count(), static_cast<int>(states.size()) - 1);
  };
  EXPECT_FALSE(model_.Modified());

  // Move, then resize by a corner, the title box (800 x 130 at 427, 240).
  Drag(DesignerItem::Title, DragHandle::Move, {500, 300}, 33.4, -20.6);
  step("");
  EXPECT_EQ(model_.Layout().Title.PosX, 460);
  EXPECT_EQ(model_.Layout().Title.PosY, 219);
  EXPECT_TRUE(model_.Modified());
  Drag(DesignerItem::Title, DragHandle::BottomRight, {1260, 349}, -100, 20);
  step("");
  EXPECT_EQ(model_.Layout().Title.Width, 700);
  EXPECT_EQ(model_.Layout().Title.Height, 150);
  // A drag that ends where it began is no step; one that is cancelled
  // puts the layout back.
  Drag(DesignerItem::Title, DragHandle::Move, {500, 300}, 0.2, -0.3);
  model_.BeginDrag(DesignerItem::Title, DragHandle::Move, {500, 300});
  model_.DragTo({900, 900}, 10.0);
  EXPECT_EQ(model_.Layout().Title.PosX, 860);
  model_.EndDrag(false);
  EXPECT_EQ(Snapshot(), states.back());
  EXPECT_EQ(model_.UndoStack().count(), 2);

  // The outer circle dragged in to 50 mm.
  const double ppm = model_.PixelsPerMm();
  Drag(DesignerItem::OuterCircle, DragHandle::Radius, {1655 / 2.0 + 58 * ppm, 827.5}, -8 * ppm, 0);
  step("");
  EXPECT_EQ(model_.Layout().OuterRadius, 50);

  // A property, then two nudges that are one step, then Shift+arrow.
  step(model_.SetValue("TxColor", "40"));
  model_.Select(DesignerItem::Title);
  EXPECT_EQ(model_.Nudge(1, 0), "");
  EXPECT_EQ(model_.Nudge(0, -1), "");
  step("");
  EXPECT_EQ(model_.Layout().Title.PosX, 461);
  EXPECT_EQ(model_.Layout().Title.PosY, 218);
  model_.Select(DesignerItem::InnerCircle);
  step(model_.Nudge(0, -10));  // up: one millimetre out
  EXPECT_EQ(model_.Layout().InnerRadius, 26);

  // BaseLength keeps the boxes' place in millimetres.
  step(model_.SetBaseLength(827));
  EXPECT_EQ(model_.Layout().Title.PosX, 230);  // 461 * 827 / 1655, rounded
  EXPECT_EQ(model_.Layout().Title.Width, 350);

  // The list of layouts: copy, new, rename, move, delete.
  step(model_.NewLayout(true, "Copy of the first"));
  EXPECT_EQ(model_.Current(), 3);
  EXPECT_EQ(model_.Layout().Title.Width, 350);
  step(model_.NewLayout(false, "From the start"));
  EXPECT_EQ(model_.Layout(), [] {
    LayoutDefinition d = StarterLayout();
    d.Name = "From the start";
    return d;
  }());
  step(model_.RenameLayout("Renamed"));
  step(model_.MoveLayout(4, 0));
  EXPECT_EQ(model_.Current(), 0);
  EXPECT_EQ(model_.Layouts()[0].Name, "Renamed");
  EXPECT_EQ(model_.Layouts()[1].Name, "  Spaced name  ");
  step(model_.DeleteLayout(2));
  EXPECT_EQ(model_.Layouts().size(), 4u);
  EXPECT_EQ(model_.Layouts()[2].Name, "Third");

  // Back to the start one step at a time, then forward again.
  for (int i = static_cast<int>(states.size()) - 2; i >= 0; --i) {
    model_.UndoStack().undo();
    ASSERT_EQ(Snapshot(), states[static_cast<std::size_t>(i)]) << "after undoing to step " << i;
  }
  EXPECT_FALSE(model_.Modified());
  for (std::size_t i = 1; i < states.size(); ++i) {
    model_.UndoStack().redo();
    ASSERT_EQ(Snapshot(), states[i]) << "after redoing step " << i;
  }
  EXPECT_TRUE(model_.Modified());
}

TEST_F(DesignerModel, ValuesOutsideTheirLimitsAreRefusedWithTheReason) {
  struct Case {
    const char* key;
    const char* value;
    const char* reason;
  };
  const std::string longName(80, 'n');
  const Case cases[] = {
      {"BgColor", "256", "BgColor must be a grey from 0 (black) to 255 (white)"},
      {"TxColor", "-1", "TxColor must be a grey from 0 (black) to 255 (white)"},
      {"TitleWidth", "1656", "TitleWidth must be 0 to 1655 label pixels (the side of the label)"},
      {"NotePosY", "-1656", "NotePosY must be -1655 to 1655 label pixels"},
      {"TitleMaxNum", "257",
       "TitleMaxNum must be 0 to 256 characters (a wide East Asian character counts two)"},
      {"NoteMaxNum", "2561",
       "NoteMaxNum must be 0 to 2560 characters (a wide East Asian character counts two)"},
      {"DateAlign", "3", "DateAlign must be 0 (left), 1 (centred) or 2 (right)"},
      {"RingType", "5",
       "RingType must be 0 (one line around the full circle), 1 (title and "
       "date above, notes below) or 2 (two rows on the lower arc)"},
      {"RLetterAlign", "x", "RLetterAlign must be a whole number ('x' is not one)"},
      {"RingMAngle", "181", "RingMAngle must be 0 to 180 degrees"},
      {"RingLength", "34", "RingLength must be 0 to 33 mm (0: no ring text)"},
      {"InnerRadius", "24", "InnerRadius must be 25 to 58 mm (at least 25, at most OuterRadius)"},
      {"OuterRadius", "59", "OuterRadius must be 25 to 58 mm (at least InnerRadius, at most 58)"},
      {"BaseLength", "10001", "BaseLength must be 1 to 10000 label pixels"},
      {"TitlePosX", "1.5", "TitlePosX must be a whole number ('1.5' is not one)"},
      {"Name", "", "Name must not be empty: the layout list shows it"},
      {"Name", longName.c_str(), "Name must be at most 79 bytes (it has 80)"},
      {"BgImage", "a\nb", "BgImage must be one line"},
      {"Nonsense", "1", "'Nonsense' is not a key of a layout"},
  };
  const DesignerSnapshot before = Snapshot();
  for (const Case& c : cases) {
    EXPECT_EQ(model_.SetValue(c.key, c.value), c.reason) << c.key << "=" << c.value;
    EXPECT_EQ(Snapshot(), before);
  }
  // Radii limit each other.
  ASSERT_EQ(model_.SetValue("OuterRadius", "40"), "");
  EXPECT_EQ(model_.SetValue("InnerRadius", "41"),
            "InnerRadius must be 25 to 40 mm (at least 25, at most OuterRadius)");
  EXPECT_EQ(model_.UndoStack().count(), 1);
  // A picture that is none, and the only layout left cannot go.
  WriteFile(dir_ / "not-a-picture.png", "text");
  EXPECT_NE(model_.SetPicture((dir_ / "not-a-picture.png").string()), "");
  ASSERT_EQ(model_.DeleteLayout(2), "");
  ASSERT_EQ(model_.DeleteLayout(1), "");
  EXPECT_EQ(model_.DeleteLayout(0),
            "The only layout cannot be deleted: a settings file without layouts opens neither "
            "program.");
  EXPECT_EQ(model_.MoveLayout(0, 1),
            "Layout 1 does not exist: the settings file has 1 layouts, numbered from 0.");
}

TEST_F(DesignerModel, ADragSnapsToTheCentreLineAndToTheOtherBoxes) {
  // The title box is 800 wide at 427: its centre at 827, half a pixel from
  // the label's centre line.
  const QRect title = model_.BoxRect(LayoutBoxKind::Title);
  model_.BeginDrag(DesignerItem::Title, DragHandle::Move, {500, 300});
  auto feedback = model_.DragTo({506, 300}, 10.0, true);  // centre at 833: 5.5 off
  EXPECT_EQ(model_.Layout().Title.PosX, 427);
  ASSERT_EQ(feedback.guides.size(), 1u);
  EXPECT_DOUBLE_EQ(feedback.guides[0].x1(), 827.5);
  feedback = model_.DragTo({506, 300}, 10.0, false);
  EXPECT_EQ(model_.Layout().Title.PosX, 433);
  EXPECT_TRUE(feedback.guides.empty());
  model_.EndDrag(false);
  EXPECT_EQ(model_.BoxRect(LayoutBoxKind::Title), title);
  // Resizing: the right edge snaps to the date box's right edge (the date
  // box given a size first: 662 wide at 496).
  ASSERT_EQ(model_.GiveBoxSize(LayoutBoxKind::Date), "");
  const QRect date = model_.BoxRect(LayoutBoxKind::Date);
  model_.BeginDrag(DesignerItem::Title, DragHandle::Right, {1227, 300});
  model_.DragTo({1227.0 + (date.x() + date.width() - 1227) + 4, 300}, 10.0, true);
  EXPECT_EQ(model_.Layout().Title.PosX + model_.Layout().Title.Width, date.x() + date.width());
  model_.EndDrag(true);
  EXPECT_EQ(model_.UndoStack().undoText(), "Resize the title box");
  // The status line says where the box is from the disc centre.
  model_.Select(DesignerItem::Title);
  EXPECT_EQ(model_.StatusText().rfind(
                "Title box: top-left corner x -28.1 mm, y -41.2 mm from the disc centre", 0),
            0u)
      << model_.StatusText();
  // Tab goes round every item.
  for (DesignerItem expected :
       {DesignerItem::Date, DesignerItem::Note, DesignerItem::Qr, DesignerItem::Ring,
        DesignerItem::OuterCircle, DesignerItem::InnerCircle, DesignerItem::Title}) {
    model_.SelectNext();
    EXPECT_EQ(model_.Selection(), expected);
  }
  model_.SelectNext(true);
  EXPECT_EQ(model_.Selection(), DesignerItem::InnerCircle);
}

// The QR code is on the canvas like the boxes: picked on top of them,
// moved, resized by its corners keeping it square (the opposite corner
// staying), nudged, each one undo step; without a size it is not there.
TEST_F(DesignerModel, TheQrCodeIsPickedMovedAndResizedKeepingItSquare) {
  EXPECT_FALSE(model_.ItemRect(DesignerItem::Qr).has_value());
  model_.Select(DesignerItem::Qr);
  EXPECT_EQ(model_.StatusText(),
            "QR code: not drawn (QrSize is 0); give it a size in the properties");
  ASSERT_EQ(model_.SetValue("QrSize", "300"), "");
  ASSERT_EQ(model_.SetValue("QrPosX", "1100"), "");
  ASSERT_EQ(model_.SetValue("QrPosY", "1100"), "");
  EXPECT_EQ(model_.ItemAt({1250, 1250}, 4.0), DesignerItem::Qr);
  EXPECT_EQ(model_.ItemRect(DesignerItem::Qr), QRect(1100, 1100, 300, 300));
  struct Step {
    DragHandle handle;
    QPointF from;
    double dx, dy;
    QRect after;
    const char* undo;
  };
  const Step steps[] = {
      {DragHandle::Move, {1250, 1250}, -40, 20, {1060, 1120, 300, 300}, "Move the QR code"},
      {DragHandle::BottomRight, {1360, 1420}, 50, 10, {1060, 1120, 350, 350}, "Resize the QR code"},
      {DragHandle::TopLeft, {1060, 1120}, 30, 100, {1090, 1150, 320, 320}, "Resize the QR code"},
  };
  for (const Step& step : steps) {
    Drag(DesignerItem::Qr, step.handle, step.from, step.dx, step.dy);
    EXPECT_EQ(model_.ItemRect(DesignerItem::Qr), step.after) << step.undo;
    EXPECT_EQ(model_.UndoStack().undoText().toStdString(), step.undo);
  }
  model_.Select(DesignerItem::Qr);
  ASSERT_EQ(model_.Nudge(5, -5), "");
  EXPECT_EQ(model_.ItemRect(DesignerItem::Qr), QRect(1095, 1145, 320, 320));
  EXPECT_EQ(model_.StatusText().rfind("QR code: top-left corner x ", 0), 0u) << model_.StatusText();
  model_.UndoStack().undo();
  model_.UndoStack().undo();
  EXPECT_EQ(model_.ItemRect(DesignerItem::Qr), QRect(1060, 1120, 350, 350));
}

TEST_F(DesignerModel, SaveWritesOnlyWhatChangedAndKeepsEveryOtherByte) {
  // Move the first layout's title, give it a text grey, delete the second.
  Drag(DesignerItem::Title, DragHandle::Move, {500, 300}, 20, -10);
  ASSERT_EQ(model_.SetValue("TxColor", "40"), "");
  ASSERT_EQ(model_.DeleteLayout(1), "");
  ASSERT_TRUE(model_.Save().ok);
  EXPECT_FALSE(model_.Modified());
  EXPECT_EQ(ReadFile(ini_),
            "; Layouts of the test\r\n"
            "[Config]\r\n"
            "LayoutNum = 2\r\n"
            "Font=Liberation Sans\r\n"
            "\r\n"
            "[Layout00]\r\n"
            "Name = \"  Spaced name  \"\r\n"
            " TitlePosX =   447\r\n"
            "TitlePosY=230\r\n"
            "TitleWidth=800\r\n"
            "TitleHeight=130\r\n"
            "; a comment inside the section\r\n"
            "Custom=keep me\r\n"
            "BaseLength=1655\r\n"
            "RingLength=5\r\n"
            "TxColor=40\r\n"
            "\r\n"
            "[Layout01]\r\n"
            "Name=Third\r\n"
            "BgColor=255\r\n"
            "TitleWidth=0\r\n"
            "TitleHeight=0\r\n"
            "TitlePosX=0\r\n"
            "TitlePosY=0\r\n"
            "DateWidth=300\r\n"
            "DateHeight=50\r\n"
            "\r\n"
            "[layout00]\r\n"
            "Name=Shadow\r\n"
            "\r\n"
            "; The virtual drive\r\n"
            "[VirtualDrive]\r\n"
            "Letter=V\r\n"
            "Disc=label\r\n"
            "Etched = etched.png");
  // What the file holds now reads back as the designer's layouts.
  EXPECT_EQ(LayoutsOfText(ReadFile(ini_)), model_.Layouts());

  // Undo goes on across the save; saving what was read gives it back.
  model_.UndoStack().undo();
  EXPECT_TRUE(model_.Modified());
  model_.UndoStack().redo();
  EXPECT_FALSE(model_.Modified());
  while (model_.UndoStack().canUndo()) model_.UndoStack().undo();
  ASSERT_TRUE(model_.Save().ok);
  EXPECT_EQ(LayoutsOfText(ReadFile(ini_)), LayoutsOfText(kAwkward));

  // What the designer shows at rest is what the burn's renderer draws from
  // the saved file.
  CELLayout burn(ini_.string());
  burn.Title = "Title";
  burn.Date = "Date";
  burn.NoteLines[0] = "Note line 1";
  burn.NoteLines[1] = "Note line 2";
  burn.NoteLines[2] = "Note line 3";
  ASSERT_TRUE(burn.RenderLabel(0, false));
  EXPECT_EQ(model_.Render(1655, true), burn.LabelImageData());
}

// The status line's automatic area: what sets each edge and the time
// without it, following the quality.
TEST_F(DesignerModel, TheAreaLineSaysWhatSetsAnEdgeAndWhatItCosts) {
  QImage white(400, 400, QImage::Format_RGB888);
  white.fill(Qt::white);
  const std::string picture = (dir_ / "white.png").string();
  ASSERT_TRUE(white.save(QString::fromStdString(picture)));
  ASSERT_EQ(model_.SetPicture(picture), "");
  model_.SetSampleTexts("HOLIDAYS", "", {});
  int told = 0;
  QObject::connect(&model_, &LayoutDesignerModel::AreaTextChanged, [&] { ++told; });
  model_.Render(600, true);
  const std::string draft = model_.AreaText();
  EXPECT_NE(draft.find("at Draft. The inner edge is set by the title box at 3"), std::string::npos)
      << draft;
  EXPECT_NE(draft.find("; without it "), std::string::npos) << draft;
  model_.SetQuality(BurnQuality::High);
  const std::string high = model_.AreaText();
  EXPECT_NE(high.find("at High Quality. The inner edge is set by the title box"), std::string::npos)
      << high;
  EXPECT_NE(high.find("The outer edge is set by the ring text"), std::string::npos) << high;
  EXPECT_EQ(told, 2);
}

TEST_F(DesignerModel, AFailedSaveSaysWhyAndLosesNothing) {
  ASSERT_EQ(model_.SetValue("BgColor", "100"), "");
  // Another program writes to the file meanwhile (the font, a key of
  // layout 1 and a new layout): asked about, and what it wrote stays when
  // the designer saves over it.
  EXPECT_FALSE(model_.ChangedOnDisk());
  std::string text = ReadFile(ini_);
  text.replace(text.find("Font=Liberation Sans"), 20, "Font=DejaVu Sans");
  text.replace(text.find("BgColor=200"), 11, "BgColor=77");
  text.replace(text.find("LayoutNum = 3"), 13, "LayoutNum = 4");
  text += "\r\n[Layout03]\r\nName=Fourth\r\n";
  WriteFile(ini_, text);
  EXPECT_TRUE(model_.ChangedOnDisk());

  // Read-only: refused, nothing written, the edit still there.
  fs::permissions(ini_, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  FileWriteResult saved = model_.Save();
  EXPECT_FALSE(saved.ok);
  EXPECT_EQ(model_.SaveFailure(saved),
            "Cannot save the settings file " + ini_.string() + ": the file is read-only.");
  EXPECT_EQ(ReadFile(ini_), text);
  EXPECT_TRUE(model_.Modified());
  fs::permissions(ini_, fs::perms::owner_write, fs::perm_options::add);

  // A full disk: the same, and no temporary file is left behind.
  SetFileWriteFaultForTesting(ENOSPC);
  saved = model_.Save();
  EXPECT_EQ(saved.problem, "the disk is full");
  EXPECT_EQ(ReadFile(ini_), text);
  for (const auto& entry : fs::directory_iterator(dir_))  // the file and its edit lock only
    EXPECT_TRUE(entry.path() == ini_ || entry.path().filename() == ".twr.ini.edit-lock")
        << entry.path();
  SetFileWriteFaultForTesting(0);

  ASSERT_TRUE(model_.Save().ok);
  EXPECT_FALSE(model_.Modified());
  EXPECT_NE(ReadFile(ini_).find("Font=DejaVu Sans"), std::string::npos);
  const std::vector<LayoutDefinition> merged = LayoutsOfText(ReadFile(ini_));
  ASSERT_EQ(merged.size(), 4u);
  EXPECT_EQ(merged[0].BgColor, 100);
  EXPECT_EQ(merged[1].BgColor, 77);
  EXPECT_EQ(merged[3].Name, "Fourth");
  EXPECT_EQ(model_.Layouts(), merged);  // the designer shows what the file holds

  // Save As into another folder takes the background picture along.
  const fs::path picture = dir_ / "pictures" / "Holiday photo.png";
  fs::create_directories(picture.parent_path());
  QImage image(40, 40, QImage::Format_RGB888);
  image.fill(Qt::darkCyan);
  ASSERT_TRUE(image.save(QString::fromStdString(picture.string())));
  ASSERT_EQ(model_.SetPicture(picture.string()), "");
  EXPECT_EQ(model_.Layout().BgImage, "pictures/Holiday photo.png");  // inside the folder
  const fs::path other = dir_ / "elsewhere" / "mine.ini";
  fs::create_directories(other.parent_path());
  ASSERT_TRUE(model_.SaveAs(other.string()).ok);
  EXPECT_FALSE(model_.Modified());
  EXPECT_EQ(model_.SettingsPath(), other.string());
  EXPECT_EQ(model_.Layout().BgImage, "bg/Holiday-photo.png");
  EXPECT_TRUE(fs::is_regular_file(other.parent_path() / "bg" / "Holiday-photo.png"));
  const std::string copy = ReadFile(other);
  EXPECT_EQ(copy.rfind("[Config]\r\nFont=DejaVu Sans\r\nLayoutNum=4\r\n", 0), 0u) << copy;
  EXPECT_EQ(LayoutsOfText(copy), model_.Layouts());
}

}  // namespace
}  // namespace twr::test
