// Designs and export through the real `twr` binary: a design saved, shown
// and rendered gives the label the same options give, also after the
// settings file and the picture are gone; the exit statuses; the PDF and
// SVG at exactly 116 mm, drawing their texts where the PNG does.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace twr {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class DesignCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) / ("twr-design-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "home");
    fs::copy(fs::path(TWR_SOURCE_DIR) / "examples", dir_ / "ex", fs::copy_options::recursive);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs twr in the example folder, `env` (VAR=value ...) prepended.
  Outcome Twr(const std::vector<std::string>& args, const std::string& env = "") {
    const fs::path out = dir_ / "out.txt", err = dir_ / "err.txt";
    std::string command = "cd " + Quote((dir_ / "ex").string()) +
                          " && env -u XDG_CONFIG_HOME HOME=" + Quote((dir_ / "home").string()) +
                          " " + env + " " + Quote(TWR_CLI_PATH);
    for (const std::string& a : args) command += " " + Quote(a);
    command += " > " + Quote(out.string()) + " 2> " + Quote(err.string()) + " < /dev/null";
    Outcome r;
    const int raw = std::system(command.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = ReadFile(out);
    r.err = ReadFile(err);
    return r;
  }
  // Runs twr and expects it to succeed.
  void Ok(const std::vector<std::string>& args, const std::string& env = "") {
    const Outcome r = Twr(args, env);
    ASSERT_EQ(r.status, 0) << args[0] << " " << (args.size() > 1 ? args[1] : "") << ": " << r.err;
  }
  QImage Picture(const char* name) {
    return QImage(QString::fromStdString((dir_ / "ex" / name).string()));
  }

  fs::path dir_;
};

// The label options of the round trip.
const std::vector<std::string> kOptions = {
    "--layout", "0",          "--title", "Holidays {n} of {N}",
    "--date",   "2026-08-15", "--note",  "[Photos]",
    "--note",   "beach",      "--inner", "26",
    "--outer",  "57.5"};

std::vector<std::string> With(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST_F(DesignCommands, SaveShowRenderGiveTheLabelOfTheOptionsAlsoWithoutTheSettings) {
  ASSERT_NO_FATAL_FAILURE(
      Ok(With({"design", "save", "d.twrlabel", "--quality", "high"}, kOptions)));

  const Outcome shown = Twr({"design", "show", "d.twrlabel", "--json"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(shown.out)).object();
  const QJsonObject texts = json["texts"].toObject();
  EXPECT_EQ(texts["title"].toString(), "Holidays {n} of {N}");  // as typed
  EXPECT_EQ(texts["date"].toString(), "2026-08-15");
  EXPECT_EQ(texts["notes"].toArray().size(), 10);
  EXPECT_EQ(texts["notes"].toArray()[1].toString(), "beach");
  EXPECT_EQ(json["burningArea"].toObject()["inner"].toDouble(), 26.0);
  EXPECT_EQ(json["burningArea"].toObject()["outer"].toDouble(), 57.5);
  EXPECT_FALSE(json["burningArea"].toObject()["automatic"].toBool(true));
  EXPECT_EQ(json["quality"].toString(), "high");
  EXPECT_FALSE(json["rimtone"].toBool(true));
  EXPECT_EQ(json["font"].toString(), "Liberation Sans");
  const QJsonObject layout = json["layout"].toObject();
  EXPECT_TRUE(layout["Name"].toString().startsWith("Aurora"));
  EXPECT_EQ(layout["TitleWidth"].toInt(), 800);
  EXPECT_EQ(layout["RingType"].toInt(), 1);
  const QJsonObject background = json["background"].toObject();
  EXPECT_EQ(background["name"].toString(), "aurora.png");
  EXPECT_EQ(background["bytes"].toInteger(),
            static_cast<qint64>(fs::file_size(dir_ / "ex/bg/aurora.png")));
  const Outcome text = Twr({"design", "show", "d.twrlabel"});
  EXPECT_NE(text.out.find("Title:         Holidays {n} of {N}\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Quality:       High Quality\n"), std::string::npos) << text.out;

  // The design renders the label and preview of its options, byte for byte.
  ASSERT_NO_FATAL_FAILURE(
      Ok(With({"render", "--label", "options.png", "--preview", "options-p.png"}, kOptions)));
  ASSERT_NO_FATAL_FAILURE(Ok(
      {"render", "--design", "d.twrlabel", "--label", "design.png", "--preview", "design-p.png"}));
  const QImage label = Picture("options.png");
  ASSERT_FALSE(label.isNull());
  EXPECT_EQ(Picture("design.png"), label);
  EXPECT_EQ(Picture("design-p.png"), Picture("options-p.png"));

  // Options beside the design win; a design saved from a design keeps the rest.
  std::vector<std::string> other = kOptions;
  other[3] = "Other title";
  ASSERT_NO_FATAL_FAILURE(Ok(With({"render", "--label", "other.png"}, other)));
  ASSERT_NO_FATAL_FAILURE(
      Ok({"render", "--design", "d.twrlabel", "--title", "Other title", "--label", "beside.png"}));
  EXPECT_EQ(Picture("beside.png"), Picture("other.png"));
  EXPECT_NE(Picture("beside.png"), label);
  ASSERT_NO_FATAL_FAILURE(
      Ok({"design", "save", "e.twrlabel", "--design", "d.twrlabel", "--title", "Other title"}));
  ASSERT_NO_FATAL_FAILURE(Ok({"render", "--design", "e.twrlabel", "--label", "e.png"}));
  EXPECT_EQ(Picture("e.png"), Picture("other.png"));

  // Without the picture and with a settings file of no layout at all, the
  // design still renders the same label: it carries everything.
  fs::remove_all(dir_ / "ex/bg");
  std::ofstream(dir_ / "ex/twr.ini") << "[Config]\nLayoutNum=0\nFont=DejaVu Serif\n";
  ASSERT_NO_FATAL_FAILURE(Ok({"render", "--design", "d.twrlabel", "--label", "alone.png"}));
  EXPECT_EQ(Picture("alone.png"), label);
}

// --see-through and --halo: kept by a design, listed by design show, and
// the same label from the options as from the design; without them the
// label is the layout's own.
TEST_F(DesignCommands, SeeThroughAndHaloGoThroughTheDesign) {
  ASSERT_NO_FATAL_FAILURE(
      Ok(With({"design", "save", "d.twrlabel", "--see-through", "--halo"}, kOptions)));
  const Outcome text = Twr({"design", "show", "d.twrlabel"});
  EXPECT_NE(text.out.find("See-through:   title, date, note\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Halo:          title, date, note, ring text\n"), std::string::npos)
      << text.out;
  const Outcome shown = Twr({"design", "show", "d.twrlabel", "--json"});
  const QJsonObject legibility = QJsonDocument::fromJson(QByteArray::fromStdString(shown.out))
                                     .object()["legibility"]
                                     .toObject();
  EXPECT_TRUE(legibility["note"].toObject()["seeThrough"].toBool());
  EXPECT_TRUE(legibility["ring"].toObject()["halo"].toBool());

  ASSERT_NO_FATAL_FAILURE(Ok({"render", "--design", "d.twrlabel", "--label", "design.png"}));
  ASSERT_NO_FATAL_FAILURE(
      Ok(With({"render", "--see-through", "--halo", "--label", "options.png"}, kOptions)));
  ASSERT_NO_FATAL_FAILURE(Ok(With({"render", "--label", "plain.png"}, kOptions)));
  ASSERT_FALSE(Picture("design.png").isNull());
  EXPECT_EQ(Picture("design.png"), Picture("options.png"));
  EXPECT_NE(Picture("design.png"), Picture("plain.png"));
  const Outcome plain = Twr({"design", "save", "p.twrlabel", "--layout", "0"});
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_NE(Twr({"design", "show", "p.twrlabel"}).out.find("Halo:          none\n"),
            std::string::npos);
}

// twr burn --design burns the design's label at its quality, options beside
// it winning: the virtual drive's etched disc is the one twr render --etched
// draws from the same design.
// A design made for the automatic area keeps it: shown, planned and
// rendered with it unless --area or --inner/--outer say otherwise.
TEST_F(DesignCommands, ADesignKeepsTheAutomaticArea) {
  ASSERT_NO_FATAL_FAILURE(
      Ok({"design", "save", "a.twrlabel", "--layout", "1", "--title", "Rim", "--area", "auto"}));
  const Outcome shown = Twr({"design", "show", "a.twrlabel", "--json"});
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(shown.out)).object();
  EXPECT_TRUE(json["burningArea"].toObject()["automatic"].toBool(false)) << shown.out;
  EXPECT_NE(Twr({"design", "show", "a.twrlabel"}).out.find("Burning area:  automatic"),
            std::string::npos);
  struct Case {
    std::vector<std::string> extra;
    const char* area;
  };
  for (const Case& c :
       {Case{{}, "\"area\":\"auto\""}, Case{{"--area", "manual"}, "\"area\":\"manual\""},
        Case{{"--inner", "30"}, "\"area\":\"manual\""}}) {
    const Outcome plan = Twr(With({"plan", "--design", "a.twrlabel", "--json"}, c.extra));
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_NE(plan.out.find(c.area), std::string::npos) << plan.out;
  }
}

TEST_F(DesignCommands, BurnTakesTheDesign) {
  std::string ini = ReadFile(dir_ / "ex/twr.ini");
  ini = ini.substr(0, ini.find("; The virtual drive:"));
  std::ofstream(dir_ / "ex/twr.ini")
      << ini << "[VirtualDrive]\nDisc=label\nReloadDelay=0\nEtched=etched.png\n";
  ASSERT_NO_FATAL_FAILURE(Ok({"design", "save", "d.twrlabel", "--layout", "0", "--title", "Burned",
                              "--inner", "40.5", "--outer", "41.5", "--quality", "normal"}));
  const Outcome burned = Twr({"burn", "--design", "d.twrlabel", "--drive", "V", "--yes"});
  ASSERT_EQ(burned.status, 0) << burned.err;
  EXPECT_NE(burned.out.find("Band 40.5 - 41.5 mm"), std::string::npos) << burned.out;
  ASSERT_NO_FATAL_FAILURE(Ok({"render", "--design", "d.twrlabel", "--etched", "sim.png"}));
  const QImage etched = Picture("etched.png");
  ASSERT_FALSE(etched.isNull());
  EXPECT_EQ(etched.convertToFormat(QImage::Format_RGB888),
            Picture("sim.png").convertToFormat(QImage::Format_RGB888));
  // --quality beside the design wins over its Normal.
  const Outcome draft =
      Twr({"burn", "--design", "d.twrlabel", "--drive", "V", "--yes", "--quality", "draft"});
  ASSERT_EQ(draft.status, 0) << draft.err;
  EXPECT_NE(draft.out.find("revolutions per step"), std::string::npos);
  EXPECT_NE(draft.out.substr(draft.out.find("Band")).substr(0, 40),
            burned.out.substr(burned.out.find("Band")).substr(0, 40));
}

TEST_F(DesignCommands, ExitStatusesAndMessages) {
  ASSERT_NO_FATAL_FAILURE(Ok({"design", "save", "rimtone.twrlabel", "--rimtone"}));
  std::string faceless = ReadFile(dir_ / "ex/rimtone.twrlabel");
  faceless.replace(faceless.find("Liberation Sans"), 15, "No Such Face");
  std::ofstream(dir_ / "ex/face.twrlabel") << faceless;
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;
    const char* err;
  };
  const Case cases[] = {
      {{"design"}, 2, "", "say save or show"},
      {{"design", "--help"}, 0, "Usage: twr design save FILE", ""},
      {{"design", "bogus"}, 2, "", "unknown action 'bogus'"},
      {{"design", "show", "--help"}, 0, "Usage: twr design show FILE [options]", ""},
      {{"design", "save"}, 2, "", "twr design save: FILE is missing"},
      {{"design", "save", "a.twrlabel", "b.twrlabel"}, 2, "", "unexpected argument 'b.twrlabel'"},
      {{"design", "save", "a.twrlabel", "--layout", "9"}, 2, "", "Layout 9 does not exist"},
      {{"design", "save", "a.twrlabel", "--inner", "20"}, 2, "", "Input correct burning area."},
      {{"design", "save", "a.twrlabel", "--quality", "best"},
       2,
       "",
       "is not draft, normal or high"},
      {{"design", "save", "no/such/a.twrlabel"},
       1,
       "",
       "Cannot save the design to 'no/such/a.twrlabel': the folder no/such does not exist."},
      {{"design", "show", "none.twrlabel"},
       1,
       "",
       "Cannot open the design 'none.twrlabel': it does not exist."},
      {{"design", "show", "bg/aurora.png"}, 1, "", "it is not a label design (it is not JSON"},
      {{"design", "show", "bg"}, 1, "", "it is a folder"},
      {{"render", "--design", "none.twrlabel", "--label", "l.png"},
       1,
       "",
       "Cannot open the design"},
      {{"render", "--guides", "--preview", "p.png"},
       2,
       "",
       "--guides goes with a --label FILE ending in .pdf or .svg"},
      {{"render", "--guides", "--label", "l.png"}, 2, "", "--guides goes with"},
      {{"render", "--label", "l.gif"},
       2,
       "",
       "does not end in .png, .jpg, .jpeg, .bmp, .tif or "
       ".tiff, .pdf or .svg"},
      {{"render", "--label", "no/such/l.pdf"}, 1, "", "Cannot write the label to 'no/such/l.pdf'"},
      {{"render", "--design", "rimtone.twrlabel", "--etched", "e.png"},
       2,
       "",
       "the design is for Rimtone mode: --etched needs --disc dvd-r or --disc dvd+r"},
      {{"render", "--design", "rimtone.twrlabel", "--etched", "e.png", "--disc", "dvd-r"},
       0,
       "band 36.0 - 58.0 mm",
       ""},
      {{"render", "--design", "rimtone.twrlabel", "--preview", "p.png"},
       0,
       "Rendered the design's layout \"Aurora",
       ""},
      {{"render", "--design", "face.twrlabel", "--preview", "p.png"},
       0,
       "Rendered",
       "twr render: warning: The design's font face \"No Such Face\" is not installed here"},
  };
  for (const Case& c : cases) {
    const Outcome r = Twr(c.args);
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    EXPECT_EQ(r.status, c.status) << shown << "\n" << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << shown << "\nstdout: " << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << shown << "\nstderr: " << r.err;
  }
  EXPECT_FALSE(fs::exists(dir_ / "ex/a.twrlabel"));  // no refused save left a file
}

// The bounding box of the dark pixels (text in grey 40, never the
// background) of a region.
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
Ink InkIn(const QImage& image, const QRect& region) {
  Ink ink;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x) {
      if (qGray(image.pixel(x, y)) >= 70) continue;
      ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
      ++ink.count;
    }
  return ink;
}

// Whether a pixel of the colour test lies within 3 pixels of (x, y).
template <typename Test>
bool Near(const QImage& image, int x, int y, Test test) {
  for (int dy = -3; dy <= 3; ++dy)
    for (int dx = -3; dx <= 3; ++dx)
      if (test(QColor(image.pixel(x + dx, y + dy)))) return true;
  return false;
}

TEST_F(DesignCommands, PdfAndSvgAreExactly116MillimetresAndDrawWhereThePngDoes) {
  const std::vector<std::string> options = {"--layout", "0",        "--title", "Export {n}",
                                            "--date",   "2026",     "--note",  "[Photos]",
                                            "--note",   "beach.jpg"};
  // Under a locale that writes decimal commas, as a German desktop has it.
  for (const char* file : {"l.png", "l.pdf", "l.svg"})
    ASSERT_NO_FATAL_FAILURE(Ok(With({"render", "--label", file}, options), "LC_ALL=de_DE.UTF-8"));
  ASSERT_NO_FATAL_FAILURE(Ok(With({"render", "--label", "g.svg", "--guides"}, options)));

  // Sizes: the PDF page 328.819 points (116 mm), the SVG 116 mm with a
  // view box of 116 millimetre units; the texts are text, the picture a picture.
  const fs::path ex = dir_ / "ex";
  const std::string info = "pdfinfo " + Quote((ex / "l.pdf").string()) + " > " +
                           Quote((dir_ / "info.txt").string()) + " 2>&1";
  ASSERT_EQ(std::system(info.c_str()), 0)
      << "pdfinfo (poppler-utils) is needed: " << ReadFile(dir_ / "info.txt");
  const std::string pdfInfo = ReadFile(dir_ / "info.txt");
  EXPECT_NE(pdfInfo.find("Pages:           1\n"), std::string::npos) << pdfInfo;
  EXPECT_NE(pdfInfo.find("Page size:       328.819 x 328.819 pts"), std::string::npos) << pdfInfo;
  const std::string svg = ReadFile(ex / "l.svg");
  EXPECT_NE(svg.find("<svg width=\"116mm\" height=\"116mm\"\n viewBox=\"0 0 116 116\""),
            std::string::npos)
      << svg.substr(0, 300);
  EXPECT_NE(svg.find(">Export 1</text>"), std::string::npos);
  EXPECT_NE(svg.find("<image "), std::string::npos);

  // Drawn at the label's own pixels, both put their texts where the PNG has them.
  const QImage png = Picture("l.png").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(png.width(), 1655);
  const std::string raster = "pdftoppm -png -singlefile -scale-to 1655 " +
                             Quote((ex / "l.pdf").string()) + " " +
                             Quote((dir_ / "from-pdf").string());
  ASSERT_EQ(std::system(raster.c_str()), 0);
  const QImage pdf = QImage(QString::fromStdString((dir_ / "from-pdf.png").string()))
                         .convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(pdf.size(), png.size());
  auto rasterSvg = [](const fs::path& path) {
    QSvgRenderer renderer(QString::fromStdString(path.string()));
    QImage image(1655, 1655, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
  };
  const QImage fromSvg = rasterSvg(ex / "l.svg");
  const QImage guided = rasterSvg(ex / "g.svg");

  struct Region {
    const char* name;
    QRect rect;
  };
  const Region regions[] = {
      {"title box", QRect(427, 240, 800, 130)},
      {"date box", QRect(617, 390, 420, 64)},
      {"note box", QRect(557, 1200, 540, 260)},
      {"ring text on the upper arc", QRect(200, 0, 1255, 160)},
      {"ring text on the lower arc", QRect(200, 1500, 1255, 155)},
  };
  for (const Region& r : regions) {
    const Ink expected = InkIn(png, r.rect);
    ASSERT_GT(expected.count, 50) << r.name;
    for (const auto& [format, image] :
         {std::pair<const char*, const QImage&>{"PDF", pdf}, {"SVG", fromSvg}}) {
      const Ink ink = InkIn(image, r.rect);
      EXPECT_NEAR(ink.left, expected.left, 3) << format << " " << r.name;
      EXPECT_NEAR(ink.right, expected.right, 3) << format << " " << r.name;
      EXPECT_NEAR(ink.top, expected.top, 3) << format << " " << r.name;
      EXPECT_NEAR(ink.bottom, expected.bottom, 3) << format << " " << r.name;
      EXPECT_NEAR(ink.count, expected.count, expected.count / 5) << format << " " << r.name;
    }
  }
  // The background picture's colours are there too (a light blue corner).
  EXPECT_LT(QColor(png.pixel(3, 3)).red(), QColor(png.pixel(3, 3)).blue());
  EXPECT_NEAR(QColor(pdf.pixel(3, 3)).blue(), QColor(png.pixel(3, 3)).blue(), 12);
  EXPECT_NEAR(QColor(fromSvg.pixel(3, 3)).blue(), QColor(png.pixel(3, 3)).blue(), 12);

  // Guides only when asked: the burning area's inner circle (25 mm) in
  // blue, the centre hole (7.5 mm) in red.
  const int c = 827;
  const int inner = c - static_cast<int>(25.0 * 1655 / 116);
  const int hub = c - static_cast<int>(7.5 * 1655 / 116);
  auto blue = [](const QColor& q) { return q.blue() > 150 && q.red() < 110 && q.green() < 110; };
  auto red = [](const QColor& q) { return q.red() > 150 && q.green() < 110 && q.blue() < 110; };
  EXPECT_TRUE(Near(guided, inner, c, blue));
  EXPECT_TRUE(Near(guided, hub, c, red));
  EXPECT_FALSE(Near(fromSvg, inner, c, blue));
  EXPECT_FALSE(Near(fromSvg, hub, c, red));
}

}  // namespace
}  // namespace twr
