// Label designs: every field through the file and back, the reader's
// refusals as one table, the atomic save, and a design rendered from its
// own layout copy and picture after the settings file and picture changed
// or went.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QBuffer>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTestSupport.h"
#include "label/LabelTexts.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

QByteArray PngOf(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A design with something unusual in every field.
LabelDocument Sample() {
  LabelDocument d;
  d.title = "Holidays {n} of {N} \"quoted\" \\ back\tslash";
  d.date = "15. August 2026 \xE2\x82\xAC";
  d.notes = {"[Photos]", "", "third", "", "", "", "", "", "", "tenth"};
  d.layoutName = "Copied layout";
  d.layout.BaseLength = 500;
  d.layout.BgColor = GreyFromSetting(200);
  d.layout.TxColor = GreyFromSetting(10);
  d.layout.Title = {300, 60, 100, 40, 24, 1};
  d.layout.Date = {200, 30, 150, 110, 10, 2};
  d.layout.Note = {-7, 2147483647, -2147483647 - 1, 5, 0, 9};
  d.layout.RingType = 1;
  d.layout.RLetterAlign = 1;
  d.layout.RingMAngle = 150;
  d.layout.RingSAngle = 0;
  d.layout.RingLength = 6;
  d.layout.InnerRadius = 30;
  d.layout.OuterRadius = 50;
  d.layout.RingBand = 6;
  d.fontFace = test::kTestFace;
  d.innerRadius = 31.25;
  d.outerRadius = 49.9;
  d.rimtone = true;
  d.quality = DesignQuality::High;
  QImage picture(40, 30, QImage::Format_RGB888);
  picture.fill(QColor(10, 120, 230));
  d.background.kind = DesignBackground::Kind::Picture;
  d.background.name = "sky.png";
  d.background.type = "png";
  d.background.bytes = PngOf(picture);
  d.layout.BgImage = "sky.png";
  return d;
}

TEST(Design, EveryFieldComesBackFromTheFile) {
  test::TempSettings folder;
  const std::string path = folder.Folder() + "/sample.twrlabel";
  const LabelDocument saved = Sample();
  std::string problem;
  ASSERT_TRUE(SaveDesignFile(path, saved, problem)) << problem;
  LabelDocument loaded;
  ASSERT_TRUE(LoadDesignFile(path, loaded, problem)) << problem;
  EXPECT_EQ(DesignText(loaded), DesignText(saved));
  EXPECT_EQ(loaded.title, saved.title);
  EXPECT_EQ(loaded.notes, saved.notes);
  EXPECT_EQ(loaded.layout.Note.Height, 2147483647);
  EXPECT_EQ(loaded.layout.Note.PosX, -2147483647 - 1);
  EXPECT_EQ(loaded.layout.BgColor, GreyFromSetting(200));
  EXPECT_EQ(loaded.layout.RingBand, 6.0);
  EXPECT_EQ(loaded.innerRadius, 31.25);
  EXPECT_EQ(loaded.outerRadius, 49.9);
  EXPECT_TRUE(loaded.rimtone);
  EXPECT_EQ(loaded.quality, DesignQuality::High);
  EXPECT_EQ(loaded.background.bytes, saved.background.bytes);  // the file's own bytes
  EXPECT_EQ(loaded.background.image.size(), QSize(40, 30));
  EXPECT_EQ(loaded.background.image.pixelColor(5, 5), QColor(10, 120, 230));
  EXPECT_EQ(DocumentNote(loaded), "[Photos]\r\n\r\nthird\r\n\r\n\r\n\r\n\r\n\r\n\r\ntenth\r\n");

  // The other two kinds of background.
  LabelDocument none = saved;
  none.background = {};
  none.layout.BgImage.clear();
  ASSERT_TRUE(ParseDesign(DesignText(none), loaded, problem)) << problem;
  EXPECT_EQ(loaded.background.kind, DesignBackground::Kind::None);
  EXPECT_TRUE(loaded.layout.BgImage.empty());
  LabelDocument unusable = saved;
  unusable.background = {
      DesignBackground::Kind::Unusable, "gone.png", {}, {}, "does not exist", {}, {}};
  ASSERT_TRUE(ParseDesign(DesignText(unusable), loaded, problem)) << problem;
  EXPECT_EQ(loaded.background.kind, DesignBackground::Kind::Unusable);
  EXPECT_EQ(loaded.background.problem, "does not exist");
  EXPECT_EQ(loaded.layout.BgImage, "gone.png");
}

// Each case changes the sample's text (`from` replaced by `to`, or the
// whole text when `from` is empty) and names a piece of the refusal.
TEST(Design, RefusesWhatItCannotUseWithOneSentence) {
  const std::string good = DesignText(Sample());
  const std::string picture = Sample().background.bytes.toBase64().toStdString();
  const std::string cutPicture =
      Sample().background.bytes.left(Sample().background.bytes.size() / 2).toBase64().toStdString();
  struct Case {
    std::string from, to;
    const char* expected;
  };
  const Case cases[] = {
      {"", "", "it is empty"},
      {"", "title,date\nA,B\n", "not JSON text"},
      {"", good.substr(0, good.size() / 2), "it is cut off"},
      {"", good.substr(0, good.size() - 3), "it is cut off"},
      {"", "[1, 2]", "not a label design"},
      {"", "{\"a\": [[[[[[[[[[]]]]]]]]]]}", "not a label design"},
      {"\"titlewright-label\"", "\"other\"", "\"format\" is not \"titlewright-label\""},
      {"\"version\": 1", "\"version\": 2", "newer Titlewright (format version 2)"},
      {"\"version\": 1", "\"version\": 0.5", "format version is not a whole number"},
      {"\"version\": 1", "\"version\": \"1\"", "format version"},
      {"\"date\": ", "\"dat\": ", "\"texts.date\" is missing"},
      {"\"title\": \"Holidays", "\"title\": \"Line\\nbreak", "\"texts.title\" holds a line break"},
      {"\"title\": \"Holidays", "\"title\": \"\\u0000", "control character"},
      {"\"title\": \"Holidays", "\"title\": \"" + std::string(300, 'x'),
       "\"texts.title\" is 333 characters long (a wide East Asian character counts two); at "
       "most 256"},
      {"\"title\": \"Holidays", "\"title\": \"\xC3\x28", "damaged"},
      {"\"notes\": [", "\"notes\": [\"eleven\", ", "holds 11 lines; a label takes 10"},
      {"\"[Photos]\"", "1", "line 1 is not a text"},
      {"\"inner\": 31.25", "\"inner\": 10", "burning area 10 - 49.9 mm is not within 25 to 58"},
      {"\"inner\": 31.25", "\"inner\": 55", "not within 25 to 58"},
      {"\"rimtone\": true", "\"rimtone\": 1", "\"rimtone\" is not true or false"},
      {"\"quality\": \"high\"", "\"quality\": \"best\"", "\"quality\" is \"best\", not draft"},
      {"\"BaseLength\": 500", "\"BaseLength\": 0",
       "its \"layout.BaseLength\" is 0, not a whole number from 1 to 10000"},
      {"\"BaseLength\": 500", "\"BaseLength\": 20000",
       "is 20000, not a whole number from 1 to 10000"},
      {"\"BaseLength\": 500", "\"BaseLength\": 50",
       "the layout cannot be drawn: BaseLength must be 194 to 10000 label pixels for a ring band "
       "of 6 mm"},
      {"\"inner\": 31.25", "\"inner\": 49.5",
       "the layout cannot be drawn in the burning area 49.5 - 49.9 mm: BaseLength must be"},
      {"\"BaseLength\": 500", "\"BaseLength\": 500.5", "\"layout.BaseLength\" is 500.5"},
      {"\"BgColor\": 200", "\"BgColor\": 300",
       "\"layout.BgColor\" is 300, not a whole number from "
       "0 to 255"},
      {"\"RingMAngle\": 150", "\"RingMAngle\": 270", "is 270, not a whole number from 0 to 180"},
      {"\"TitleWidth\": 300", "\"TitleWidth\": 3000000000", "fits 32 bits"},
      {"\"TitleWidth\": 300", "\"TitleWidth\": 1e400", "damaged"},
      {"\"RingLength\": 6", "\"RingLength\": -1", "is -1, not a whole number of 0 or more"},
      {"\"RingLength\": 6", "\"RingLength\": 6.5", "\"layout.RingLength\" is 6.5"},
      {"\"InnerRadius\": 30", "\"InnerRadius\": 20", "is 20, not a whole number from 25 to 58"},
      {"\"InnerRadius\": 30", "\"InnerRadius\": 52", "InnerRadius not beyond OuterRadius"},
      {"\"layout\": {", "\"layout\": [{", "damaged"},
      {"\"bytes\": ", "\"bytes\": 1", "where the design says"},
      {"\"bytes\": ", "\"bytes\": 1e12, \"x\": ", "not a whole number from 1 to 67108864"},
      {picture.substr(0, 76), "!!!!" + picture.substr(4, 72), "not valid base64"},
      {"\"base64\": [", "\"base64\": [\"aGVsbG8=\"], \"old\": [", "where the design says"},
      {"\"name\": \"sky.png\"", "\"name\": \"\"", "\"background.name\" is empty"},
      {"\"background\": {", "\"background\": 7, \"x\": {", "neither null nor an object"},
  };
  for (const Case& c : cases) {
    std::string text = c.to;
    if (!c.from.empty()) {
      text = good;
      const std::size_t at = text.find(c.from);
      ASSERT_NE(at, std::string::npos) << c.from;
      text.replace(at, c.from.size(), c.to);
    }
    LabelDocument design = Sample();
    design.title = "untouched";
    std::string problem;
    EXPECT_FALSE(ParseDesign(text, design, problem)) << c.expected;
    EXPECT_NE(problem.find(c.expected), std::string::npos)
        << "wanted: " << c.expected << "\n   got: " << problem;
    EXPECT_EQ(design.title, "untouched");  // nothing changes on a refusal
  }

  // Pictures that do not decode: not a picture, and a PNG cut in half.
  auto withPicture = [&](const QByteArray& bytes) {
    LabelDocument d = Sample();
    d.background.bytes = bytes;
    return DesignText(d);
  };
  LabelDocument design;
  std::string problem;
  EXPECT_FALSE(ParseDesign(withPicture("hello, not a picture"), design, problem));
  EXPECT_NE(problem.find("picture \"sky.png\" is not a picture in a format"), std::string::npos)
      << problem;
  EXPECT_FALSE(ParseDesign(
      withPicture(QByteArray::fromBase64(QByteArray::fromStdString(cutPicture))), design, problem));
  EXPECT_NE(problem.find("damaged or cut short"), std::string::npos) << problem;

  // Files that are not designs at all.
  test::TempSettings folder;
  EXPECT_FALSE(LoadDesignFile(folder.Folder(), design, problem));
  EXPECT_EQ(problem, "it is a folder");
  EXPECT_FALSE(LoadDesignFile(folder.Folder() + "/none.twrlabel", design, problem));
  EXPECT_EQ(problem, "it does not exist");
  const std::string fifo = folder.Folder() + "/pipe.twrlabel";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(LoadDesignFile(fifo, design, problem));  // refused without waiting
  EXPECT_NE(problem.find("not a regular file"), std::string::npos);
}

TEST(Design, SavesAtomicallyAndRefusesWhatItCouldNotReadBack) {
  test::TempSettings folder;
  const fs::path dir = folder.Folder();
  const fs::path path = dir / "label.twrlabel";
  std::ofstream(path) << "old contents";
  ::chmod(path.c_str(), 0640);
  std::string problem;
  LabelDocument bad = Sample();
  bad.title = std::string(300, 't');  // more than the reader takes
  EXPECT_FALSE(SaveDesignFile(path.string(), bad, problem));
  EXPECT_EQ(problem,
            "the title is 300 characters long (a wide East Asian character counts two); at most "
            "256 are taken");
  bad = Sample();
  bad.layout.BaseLength = 0;
  EXPECT_FALSE(SaveDesignFile(path.string(), bad, problem));
  EXPECT_NE(problem.find("BaseLength must be 1 to 10000"), std::string::npos) << problem;
  EXPECT_EQ(ReadFile(path), "old contents");

  ASSERT_TRUE(SaveDesignFile(path.string(), Sample(), problem)) << problem;
  EXPECT_EQ(ReadFile(path), DesignText(Sample()));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);  // a replaced file keeps its permissions

  // Through a link the file it names is replaced and the link stays.
  const fs::path link = dir / "link.twrlabel";
  fs::create_symlink(path, link);
  LabelDocument other = Sample();
  other.title = "via the link";
  ASSERT_TRUE(SaveDesignFile(link.string(), other, problem)) << problem;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(path), DesignText(other));

  // A folder in the way, or no folder: refused, the temporary file gone.
  EXPECT_FALSE(SaveDesignFile(dir.string(), Sample(), problem));
  EXPECT_FALSE(SaveDesignFile((dir / "no/such/label.twrlabel").string(), Sample(), problem));
  EXPECT_NE(problem.find("does not exist"), std::string::npos) << problem;
  int entries = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    ++entries;
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
  }
  EXPECT_EQ(entries, 2);  // the design and the link, no temporary file
}

// A design renders from its own layout copy and picture: the label of a
// settings layout, saved, equals the design's render after the settings
// file and the picture have both changed.
TEST(Design, RendersItsOwnLayoutAndPictureWhateverTheSettingsSay) {
  test::TempSettings s;
  QImage picture(64, 64, QImage::Format_RGB888);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) picture.setPixelColor(x, y, QColor(4 * x, 4 * y, 128));
  ASSERT_TRUE(picture.save(QString::fromStdString(s.Folder() + "/bg.png")));
  const std::string keys =
      "BgImage=bg.png\nBaseLength=400\nBgColor=200\nTxColor=0\nTitleWidth=200\nTitleHeight=40\n"
      "TitlePosX=100\nTitlePosY=60\nNoteWidth=200\nNoteHeight=100\nNotePosX=100\nNotePosY=250\n"
      "RingType=1\nRingLength=8\nInnerRadius=30\nOuterRadius=50\n";
  s.Write(test::OneLayout(keys));

  LabelTexts texts;
  texts.SetTitle("Disc {n} of {N}");
  texts.SetNote("[Photos]\r\nbeach");
  CELLayout layout(s.Path());
  texts.PublishLabelTexts(layout);
  ASSERT_TRUE(layout.RenderLabel(0, false));
  const QImage expected = layout.LabelImageData().copy();

  LabelDocument d;
  d.title = texts.Title();
  d.notes = {"[Photos]", "beach"};
  LoadLayout(s.Path(), 0, false, d.layout);
  d.layoutName = "Test";
  d.fontFace = test::kTestFace;
  d.background = BackgroundFromFile(d.layout.BgImage, d.layout.BaseLength);
  ASSERT_EQ(d.background.kind, DesignBackground::Kind::Picture);
  d.innerRadius = 30;
  d.outerRadius = 50;
  const std::string path = s.Folder() + "/d.twrlabel";
  std::string problem;
  ASSERT_TRUE(SaveDesignFile(path, d, problem)) << problem;

  // Another picture, another layout, another face in the settings file.
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString(s.Folder() + "/bg.png")));
  s.Write("[Config]\nLayoutNum=1\nFont=DejaVu Serif\n[Layout00]\nBaseLength=900\n");
  LabelDocument loaded;
  ASSERT_TRUE(LoadDesignFile(path, loaded, problem)) << problem;
  // The document renders by itself, also with no settings file at all.
  CELLayout again(s.Path());
  ASSERT_EQ(::unlink(s.Path().c_str()), 0);
  DocumentRender both;
  both.previewSide = 600;
  ASSERT_TRUE(again.Render(loaded, both));
  EXPECT_EQ(again.LabelImageData(), expected);
  EXPECT_EQ(again.Title, "Disc 1 of 1");
  EXPECT_EQ(again.NoteLines[0], "[Photos]");
  EXPECT_EQ(again.PreviewImage().Width(), 600);
  // Disc 2 of 3 of a series changes only the texts.
  DocumentRender second;
  second.discNumber = 2;
  second.discCount = 3;
  ASSERT_TRUE(again.Render(loaded, second));
  EXPECT_EQ(again.Title, "Disc 2 of 3");
  EXPECT_NE(again.LabelImageData(), expected);
  ASSERT_TRUE(again.Render(loaded, {}));
  EXPECT_EQ(again.LabelImageData(), expected);

  // A design whose picture could not be used fills BgColor, as the layout
  // did; one without a picture starts black.
  loaded.background = {
      DesignBackground::Kind::Unusable, "bg.png", {}, {}, "does not exist", {}, {}};
  ApplyDesignLayout(loaded, again);
  ASSERT_TRUE(again.RenderLabel(kGivenLayout, true));
  EXPECT_EQ(again.LabelImage().ReadPixel(2, 2), GreyFromSetting(200));
  loaded.background = {};
  ApplyDesignLayout(loaded, again);
  ASSERT_TRUE(again.RenderLabel(kGivenLayout, true));
  EXPECT_EQ(again.LabelImage().ReadPixel(2, 2), 0u);
}

}  // namespace
}  // namespace twr
