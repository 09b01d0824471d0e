// What a render leaves out, reported as data: unusable background pictures
// (each kind said once, the BgColor fill drawn, nothing blocking on a FIFO),
// texts cut by MaxNum, note lines past the tenth, and boxes or ring text
// outside the burned band or reaching under the hub.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "label/CELLayout.h"
#include "label/LabelTestSupport.h"
#include "label/LabelWarnings.h"

namespace twr {
namespace {

using Kind = LabelWarning::Kind;

std::vector<LabelWarning> Of(const std::vector<LabelWarning>& all, Kind kind) {
  std::vector<LabelWarning> some;
  for (const LabelWarning& w : all)
    if (w.kind == kind) some.push_back(w);
  return some;
}

TEST(LabelWarnings, UnusableBackgroundsFallBackAndSaySo) {
  test::TempSettings dir;
  const std::string folder = dir.Folder();
  auto write = [&](const char* name, const QByteArray& bytes) {
    std::ofstream(folder + "/" + name, std::ios::binary).write(bytes.constData(), bytes.size());
  };
  QImage picture(64, 48, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString(folder + "/good.jpg"), "JPEG"));
  ASSERT_TRUE(picture.save(QString::fromStdString(folder + "/good.bmp"), "BMP"));
  ASSERT_TRUE(picture.save(QString::fromStdString(folder + "/good.png"), "PNG"));
  auto bytesOf = [&](const char* name) {
    std::ifstream in(folder + "/" + name, std::ios::binary);
    return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
  };
  const QByteArray jpeg = bytesOf("good.jpg"), bmp = bytesOf("good.bmp"), png = bytesOf("good.png");
  write("cut.png", png.left(png.size() - 20));
  write("cut.jpg", jpeg.left(jpeg.size() * 2 / 3));
  write("cut.bmp", bmp.left(bmp.size() - 100));
  write("empty.png", {});
  write("text.png", "not a picture at all");
  std::filesystem::create_directory(folder + "/folder.png");
  ASSERT_EQ(mkfifo((folder + "/fifo.png").c_str(), 0600), 0);  // nobody ever writes to it

  const struct {
    const char* name;
    const char* says;
  } cases[] = {
      {"missing.png", "does not exist"},
      {"folder.png", "is a folder"},
      {"fifo.png", "is not a regular file"},
      {"empty.png", "is empty"},
      {"text.png", "is not a picture"},
      {"cut.jpg", "cut short"},
      {"cut.bmp", "cut short"},
      {"cut.png", "cut short"},
      {"good.jpg", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A relative picture path is found beside the settings file.
    dir.Write(
        test::OneLayout(std::string("BaseLength=100\nBgColor=200\nBgImage=") + c.name + "\n"));
    CELLayout layout(dir.Path());
    ASSERT_TRUE(layout.RenderLabel(0, false));
    ASSERT_TRUE(layout.RenderPreview(0, 60, 60, false));
    const auto found = Of(CheckLabel(layout, "", {25.0, 58.0}), Kind::Background);
    const QRgb centre = layout.LabelImageData().pixel(50, 50);
    if (c.says == nullptr) {
      EXPECT_TRUE(found.empty());
      EXPECT_GT(qRed(centre), 200);  // the red picture
      continue;
    }
    ASSERT_EQ(found.size(), 1u);  // once, for both renders
    EXPECT_NE(found[0].text.find(c.says), std::string::npos) << found[0].text;
    EXPECT_NE(found[0].text.find("grey 200"), std::string::npos) << found[0].text;
    EXPECT_EQ(centre, qRgb(200, 200, 200));
  }
}

TEST(LabelWarnings, CutTextsLeftOutLinesAndBoxesOutsideTheBand) {
  // A 1160-pixel label: 10 pixels a millimetre, centre at 580. The title
  // box lies 28 to 32.6 mm from the centre, the date box near the rim (56
  // to 58.2 mm), the note box 30 to 41 mm; ring text on the outer 4 mm.
  test::TempSettings dir(test::OneLayout(
      "BaseLength=1160\nBgColor=255\nTitleWidth=200\nTitleHeight=30\nTitlePosX=480\n"
      "TitlePosY=270\nTitleMaxNum=5\nDateWidth=100\nDateHeight=20\nDatePosX=530\nDatePosY=0\n"
      "NoteWidth=200\nNoteHeight=100\nNotePosX=480\nNotePosY=880\nNoteMaxNum=4\n"
      "RingLength=4\nRLetterAlign=2\n"));
  CELLayout layout(dir.Path());
  layout.Title = "Holidays";
  layout.Date = "2026";
  layout.NoteLines[0] = "[ab]";
  layout.NoteLines[1] = "notes.txt";
  ASSERT_TRUE(layout.RenderLabel(0, false));
  std::string note;
  for (int i = 1; i <= 12; ++i) note += "line " + std::to_string(i) + "\r\n";
  note += "\r\n";  // an empty thirteenth line loses nothing

  const auto all = CheckLabel(layout, note, {25.0, 58.0});
  const auto cut = Of(all, Kind::TextCut);
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_NE(cut[0].text.find("\"Holidays\" is cut to \"Holid\" (TitleMaxNum=5"), std::string::npos)
      << cut[0].text;
  EXPECT_NE(cut[1].text.find("Note line 2"), std::string::npos) << cut[1].text;
  const auto lines = Of(all, Kind::NoteLinesLeftOut);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].text.find("2 more lines are left out: \"line 11\", \"line 12\""),
            std::string::npos)
      << lines[0].text;
  EXPECT_TRUE(Of(all, Kind::BoxOutsideBand).empty());
  EXPECT_TRUE(Of(all, Kind::RingOutsideBand).empty());

  // A burn of 34 to 50 mm only: the title box (28 - 32.6 mm) and the ring
  // text (54 - 58 mm) are lost, the date box too; the note box is crossed.
  const auto narrow = CheckLabel(layout, "", {34.0, 50.0});
  const auto boxes = Of(narrow, Kind::BoxOutsideBand);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[0].text.find("title box"), std::string::npos);
  EXPECT_NE(boxes[1].text.find("date box"), std::string::npos);
  EXPECT_NE(boxes[0].text.find("(34.0 - 50.0 mm)"), std::string::npos) << boxes[0].text;
  ASSERT_EQ(Of(narrow, Kind::RingOutsideBand).size(), 1u);
  // The note box (30 - 41 mm) reaches under the hub of 34 mm: said once,
  // apart from the boxes lost whole.
  const auto hub = Of(narrow, Kind::UnderHub);
  ASSERT_EQ(hub.size(), 1u);
  EXPECT_EQ(hub[0].text,
            "The note box reaches under the hub (inside 34.0 mm): the part of its text there "
            "will not be burned.");
  EXPECT_TRUE(Of(all, Kind::UnderHub).empty());  // none at 25 mm
  // Ring text (54 - 58 mm) that the inner radius cuts into.
  const auto ring = Of(CheckLabel(layout, "", {55.0, 58.0}), Kind::UnderHub);
  ASSERT_FALSE(ring.empty());
  EXPECT_NE(ring.back().text.find("The ring text (54.0 - 58.0 mm) reaches under the hub"),
            std::string::npos)
      << ring.back().text;

  // Without text a box loses nothing worth saying.
  layout.Title.clear();
  layout.Date.clear();
  EXPECT_TRUE(Of(CheckLabel(layout, "", {34.0, 50.0}), Kind::BoxOutsideBand).empty());
}

}  // namespace
}  // namespace twr
