// Hostile background pictures, one table, each refused with its one-line
// reason on every way a picture comes in: a layout's BgImage as rendered
// and listed by CheckLabel, a design saving the picture, a design file
// holding it, and the layout designer's drop and file chooser (which adopt
// a picture through LayoutFile). Nothing the image libraries say reaches
// the standard error. Then a design whose picture is at the size limit
// goes to its file and back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QBuffer>
#include <QImage>

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelTestSupport.h"
#include "label/LabelWarnings.h"
#include "label/LayoutFile.h"
#include "label/PictureDecode.h"

namespace twr {
namespace {

using ::testing::HasSubstr;

constexpr int kSide = 100;  // the test label's BaseLength
constexpr uint32_t kGrey200 = 0xC8C8C8;

// What file descriptor 2 receives while it lives.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = ::dup(STDERR_FILENO);
    ::dup2(::fileno(file_), STDERR_FILENO);
  }
  ~StderrCapture() { Finish(); }
  std::string Finish() {
    if (saved_ >= 0) {
      std::fflush(stderr);
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
      saved_ = -1;
      std::rewind(file_);
      char buffer[4096];
      std::size_t n = 0;
      while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) text_.append(buffer, n);
      std::fclose(file_);
    }
    return text_;
  }

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
  std::string text_;
};

QByteArray BigEndian(uint32_t v) {
  QByteArray out;
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
  return out;
}
QByteArray LittleEndian(uint64_t v, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i));
  return out;
}

QByteArray Chunk(const char* type, const QByteArray& data) {
  QByteArray body = QByteArray(type) + data;
  const uLong crc =
      crc32(0, reinterpret_cast<const Bytef*>(body.constData()), static_cast<uInt>(body.size()));
  return BigEndian(static_cast<uint32_t>(data.size())) + body +
         BigEndian(static_cast<uint32_t>(crc));
}

QByteArray Deflated(const QByteArray& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  QByteArray out(static_cast<qsizetype>(size), '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &size,
           reinterpret_cast<const Bytef*>(raw.constData()), static_cast<uLong>(raw.size()));
  out.resize(static_cast<qsizetype>(size));
  return out;
}

// A PNG of width x height, `bits` a pixel (grey 1 or RGB 24), its rows
// filled with `value`, `extra` chunks after the header.
QByteArray Png(uint32_t width, uint32_t height, int bits, char value,
               const QByteArray& extra = {}) {
  const qsizetype row = (static_cast<qsizetype>(width) * bits + 7) / 8;
  QByteArray raw;
  raw.reserve((row + 1) * height);
  for (uint32_t y = 0; y < height; ++y) raw += '\0' + QByteArray(row, value);
  const char colourType = bits == 24 ? 2 : 0;
  QByteArray header = BigEndian(width) + BigEndian(height);
  header += static_cast<char>(bits == 24 ? 8 : bits);
  header += colourType;
  header += QByteArray(3, '\0');
  return QByteArray("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + extra +
         Chunk("IDAT", Deflated(raw)) + Chunk("IEND", {});
}

// A gzip stream of `head`, `mebibytes` MiB of spaces and `tail`. The
// spaces are deflated once, a mebibyte after a full flush (a block that
// refers to nothing before it), and that block repeated: a gigabyte's
// stream is made at once.
QByteArray Gzip(const QByteArray& head, int mebibytes, const QByteArray& tail) {
  z_stream z{};
  deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_RLE);
  auto deflated = [&z](const QByteArray& in, int flush) {
    QByteArray out;
    std::vector<char> buffer(1 << 16);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = static_cast<uInt>(in.size());
    do {
      z.next_out = reinterpret_cast<Bytef*>(buffer.data());
      z.avail_out = static_cast<uInt>(buffer.size());
      deflate(&z, flush);
      out.append(buffer.data(), static_cast<qsizetype>(buffer.size() - z.avail_out));
    } while (z.avail_out == 0);
    return out;
  };
  const QByteArray spaces(1 << 20, ' ');
  QByteArray out("\x1f\x8b\x08\0\0\0\0\0\x02\x03", 10);
  out += deflated(head, Z_FULL_FLUSH);
  const QByteArray block = deflated(spaces, Z_FULL_FLUSH);
  for (int i = 0; i < mebibytes; ++i) out += block;
  out += deflated(tail, Z_FINISH);
  deflateEnd(&z);
  auto crcOf = [](uLong crc, const QByteArray& bytes) {
    return crc32(crc, reinterpret_cast<const Bytef*>(bytes.constData()),
                 static_cast<uInt>(bytes.size()));
  };
  uLong crc = crcOf(0, head);
  const uLong spacesCrc = crcOf(0, spaces);
  for (int i = 0; i < mebibytes; ++i) crc = crc32_combine(crc, spacesCrc, spaces.size());
  crc = crcOf(crc, tail);
  const auto size = static_cast<uint32_t>(head.size() + tail.size() +
                                          static_cast<long long>(mebibytes) * spaces.size());
  return out + LittleEndian(static_cast<uint32_t>(crc), 4) + LittleEndian(size, 4);
}

const QByteArray kSvgHead = "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'>";
const QByteArray kRed = "--><rect width='40' height='40' fill='#ff0000'/></svg>";

QByteArray Bmp(int32_t width, int32_t height, int size) {
  QByteArray b = "BM" + LittleEndian(static_cast<uint32_t>(size), 4) + LittleEndian(0, 4) +
                 LittleEndian(54, 4) + LittleEndian(40, 4) +
                 LittleEndian(static_cast<uint32_t>(width), 4) +
                 LittleEndian(static_cast<uint32_t>(height), 4) + LittleEndian(1, 2) +
                 LittleEndian(24, 2) + LittleEndian(0, 4) + LittleEndian(0, 4) +
                 LittleEndian(2835, 4) + LittleEndian(2835, 4) + LittleEndian(0, 8);
  return b + QByteArray(size - b.size(), '\0');
}

QByteArray JpegClaiming(int width, int height) {
  QImage small(16, 16, QImage::Format_RGB32);
  small.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  small.save(&buffer, "JPEG");
  const qsizetype sof = bytes.indexOf("\xFF\xC0");
  bytes[sof + 5] = static_cast<char>(height >> 8);
  bytes[sof + 6] = static_cast<char>(height);
  bytes[sof + 7] = static_cast<char>(width >> 8);
  bytes[sof + 8] = static_cast<char>(width);
  return bytes;
}

QByteArray GifClaiming(int width, int height) {
  const QByteArray w = LittleEndian(static_cast<uint32_t>(width), 2);
  const QByteArray h = LittleEndian(static_cast<uint32_t>(height), 2);
  return "GIF89a" + w + h + QByteArray("\x80\0\0\0\0\0\xFF\xFF\xFF", 9) + "," +
         QByteArray(4, '\0') + w + h + QByteArray("\0\x02\x02\x4C\x01\0;", 7);
}

// A TIFF of 1000 x 1000 grey pixels whose one strip lies past its end.
QByteArray TiffCut() {
  struct Entry {
    uint32_t tag, type, value;
  };
  const Entry entries[] = {{256, 4, 1000}, {257, 4, 1000}, {258, 3, 8},
                           {259, 3, 1},    {262, 3, 1},    {273, 4, 200},
                           {277, 3, 1},    {278, 4, 1000}, {279, 4, 1000000}};
  QByteArray t = "II*" + QByteArray(1, '\0') + LittleEndian(8, 4) + LittleEndian(9, 2);
  for (const Entry& e : entries)
    t += LittleEndian(e.tag, 2) + LittleEndian(e.type, 2) + LittleEndian(1, 4) +
         LittleEndian(e.value, 4);
  return t + LittleEndian(0, 4) + QByteArray(100, '\0');
}

struct Hostile {
  const char* name;
  QByteArray bytes;
  const char* refusal;  // what the reason says; empty: the picture is used
};

const std::vector<Hostile>& Table() {
  static const std::vector<Hostile> table = [] {
    const QByteArray png = Png(64, 64, 24, '\x40');
    const QByteArray uses = [] {
      // Seven levels, each using the one before ten times: ten million.
      QByteArray s =
          "<svg xmlns='http://www.w3.org/2000/svg' "
          "xmlns:xlink='http://www.w3.org/1999/xlink' width='40' height='40'>"
          "<defs><rect id='l0' width='40' height='40'/>";
      for (int level = 1; level <= 7; ++level) {
        s += "<g id='l" + QByteArray::number(level) + "'>";
        for (int i = 0; i < 10; ++i)
          s += "<use xlink:href='#l" + QByteArray::number(level - 1) + "'/>";
        s += "</g>";
      }
      return s + "</defs><use xlink:href='#l7'/></svg>";
    }();
    const QByteArray hugeInside =
        kSvgHead + "<image width='40' height='40' xlink:href='data:image/png;base64," +
        Png(9000, 9000, 1, '\0').left(33).toBase64() +
        "' xmlns:xlink='http://www.w3.org/1999/xlink'/></svg>";
    return std::vector<Hostile>{
        {"bomb.svgz", Gzip(kSvgHead + "<!--", 1024, "--></svg>"),
         "inflates to more than 64 MiB; a background picture may be at most 64 MiB"},
        {"huge.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='1000000' height='1e6'/>",
         "is 1000000 x 1000000 pixels; a background picture may have at most 64 megapixels"},
        {"repeats.svg", uses, "draws more than 200000 elements"},
        {"covers.svg",
         kSvgHead + QByteArray("<rect width='40' height='40'/>").repeated(300) + "</svg>",
         "paints its shapes over more than 256 times the label"},
        {"elsewhere.svg",
         kSvgHead + "<image width='9' height='9' xlink:href='/dev/zero' "
                    "xmlns:xlink='http://www.w3.org/1999/xlink'/></svg>",
         "draws another file (/dev/zero)"},
        {"inside.svg", hugeInside, "holds a picture that is 9000 x 9000 pixels"},
        {"huge.bmp", Bmp(9000, 9000, 200), "is 9000 x 9000 pixels"},
        {"huge.png", Png(9000, 9000, 1, '\0').left(33) + Chunk("IEND", {}),
         "is 9000 x 9000 pixels"},
        {"huge.jpg", JpegClaiming(9000, 9000), "is 9000 x 9000 pixels"},
        {"huge.gif", GifClaiming(9000, 9000), "is 9000 x 9000 pixels"},
        {"claims.bmp", Bmp(8192, 8192, 70), "is damaged or cut short"},
        // Its rows' bytes once overflowed the count of the bytes it needs.
        {"widest.bmp", Bmp(INT32_MAX, INT32_MAX, 70), "is 2147483647 x 2147483647 pixels"},
        {"cut.png", png.left(png.size() - 30), "is damaged or cut short"},
        {"broken.png",
         png.left(33) + Chunk("IDAT", "\x78\x9c" + QByteArray(40, '\xFF')) + Chunk("IEND", {}),
         "is damaged or cut short (libpng error: "},
        {"cut.tif", TiffCut(), "is damaged or cut short"},
        {"bad-profile.png",
         Png(16, 16, 24, '\x80',
             Chunk("iCCP", QByteArray("bad\0\0", 5) + Deflated(QByteArray(132, '\0')))),
         ""},
        {"largest.png", Png(8192, 8192, 1, '\x55'), ""},
        {"drawing.svgz", Gzip(kSvgHead + "<!--", 1, kRed), ""},
    };
  }();
  return table;
}

enum class Way { LayoutKey, DesignSave, DesignRead, DesignerDrop };

std::string WayName(const ::testing::TestParamInfo<Way>& info) {
  switch (info.param) {
    case Way::LayoutKey:
      return "LayoutKey";
    case Way::DesignSave:
      return "DesignSave";
    case Way::DesignRead:
      return "DesignRead";
    case Way::DesignerDrop:
      return "DesignerDrop";
  }
  return "?";
}

class EveryWayIn : public ::testing::TestWithParam<Way> {
 protected:
  // Takes the picture in; false with the reason when it is refused.
  bool TakeIn(const Hostile& picture, std::string& problem) {
    const std::string path = folder_.Folder() + "/" + picture.name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(picture.bytes.constData(), picture.bytes.size());
    switch (GetParam()) {
      case Way::LayoutKey: {
        folder_.Write(test::OneLayout("BaseLength=100\nBgColor=200\nBgImage=" + path + "\n"));
        CELLayout layout(folder_.Path());
        EXPECT_TRUE(layout.RenderLabel(0, false));
        for (const LabelWarning& w : CheckLabel(layout, "", LabelBand{25, 58}))
          if (w.kind == LabelWarning::Kind::Background) problem = w.text;
        if (problem.empty()) {
          EXPECT_NE(layout.LabelImage().ReadPixel(kSide / 2, kSide / 2), kGrey200);
        }
        return problem.empty();
      }
      case Way::DesignSave: {
        const DesignBackground bg = BackgroundFromFile(path, kSide);
        problem = bg.problem;
        // An SVG is drawn at the label's side.
        if (bg.kind == DesignBackground::Kind::Picture && bg.type == "svgz") {
          EXPECT_EQ(bg.image.size(), QSize(kSide, kSide));
        }
        return bg.kind == DesignBackground::Kind::Picture;
      }
      case Way::DesignRead: {
        LabelDocument d;
        d.layout.BaseLength = kSide;
        d.layout.InnerRadius = 30;
        d.layout.OuterRadius = 50;
        d.background.kind = DesignBackground::Kind::Picture;
        d.background.name = picture.name;
        d.background.type = "png";
        d.background.bytes = picture.bytes;
        LabelDocument read;
        return ParseDesign(DesignText(d), read, problem);
      }
      case Way::DesignerDrop: {
        const LayoutFile::Picture adopted = LayoutFile::AdoptPictureInto(other_.Folder(), path);
        problem = adopted.problem;
        return adopted.ok;
      }
    }
    return false;
  }

  test::TempSettings folder_;
  test::TempSettings other_;
};

TEST_P(EveryWayIn, EachHostilePictureIsRefusedWithItsReasonAndTheTerminalStaysQuiet) {
  for (const Hostile& picture : Table()) {
    SCOPED_TRACE(picture.name);
    std::string problem;
    StderrCapture terminal;
    const bool used = TakeIn(picture, problem);
    EXPECT_EQ(terminal.Finish(), "");
    if (*picture.refusal == '\0') {
      EXPECT_TRUE(used) << problem;
      continue;
    }
    EXPECT_FALSE(used);
    EXPECT_THAT(problem, HasSubstr(picture.refusal));
    EXPECT_EQ(problem.find('\n'), std::string::npos) << problem;
  }
}

INSTANTIATE_TEST_SUITE_P(Pictures, EveryWayIn,
                         ::testing::Values(Way::LayoutKey, Way::DesignSave, Way::DesignRead,
                                           Way::DesignerDrop),
                         WayName);

// The largest picture a design may hold goes to the file and back; one
// byte more is refused when the design is made, never written.
TEST(PictureLimits, ADesignWithThePictureAtItsLimitIsReadBack) {
  test::TempSettings folder;
  const QByteArray small = Png(16, 16, 24, '\x30');
  const qsizetype iend = small.size() - 12;
  const QByteArray padding(kMaxPictureBytes - small.size() - 12, 'x');
  const QByteArray largest = small.left(iend) + Chunk("twRp", padding) + small.mid(iend);
  ASSERT_EQ(largest.size(), kMaxPictureBytes);
  const std::string picture = folder.Folder() + "/largest.png";
  std::ofstream(picture, std::ios::binary).write(largest.constData(), largest.size());

  LabelDocument d;
  d.layout.BaseLength = kSide;
  d.layout.InnerRadius = 30;
  d.layout.OuterRadius = 50;
  d.background = BackgroundFromFile(picture, kSide);
  ASSERT_EQ(d.background.kind, DesignBackground::Kind::Picture) << d.background.problem;
  const std::string path = folder.Folder() + "/largest.twrlabel";
  std::string problem;
  ASSERT_TRUE(SaveDesignFile(path, d, problem)) << problem;
  LabelDocument read;
  ASSERT_TRUE(LoadDesignFile(path, read, problem)) << problem;
  EXPECT_EQ(read.background.bytes, largest);
  EXPECT_EQ(read.background.image.size(), QSize(16, 16));

  std::ofstream(picture, std::ios::binary | std::ios::app) << 'x';
  EXPECT_EQ(BackgroundFromFile(picture, kSide).problem,
            "is larger than 64 MiB, too large for a background picture");
  d.background.bytes += 'x';
  EXPECT_FALSE(SaveDesignFile(path, d, problem));
  EXPECT_EQ(problem, "the background picture is larger than 64 MiB, the most a design embeds");
}

}  // namespace
}  // namespace twr
