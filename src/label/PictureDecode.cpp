// The bounded decoder of background pictures: limits checked from the
// headers first, then Qt's image readers (pixel pictures) or its SVG
// renderer (SVG, SVGZ inflated here), with the libraries' output captured.
#include "label/PictureDecode.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <QTransform>
#include <QXmlStreamReader>
#include <QtGlobal>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "common/Translate.h"
#include "common/Utf8.h"
#include "label/ImageBuffer.h"

namespace twr {

namespace {

constexpr long long kMebibyte = 1024LL * 1024;
// What the image library may allocate while decoding: the largest picture
// at 8 bytes a pixel (16-bit channels with alpha).
constexpr int kDecodeAllocationMebibytes = static_cast<int>(kMaxPicturePixels * 8 / kMebibyte);
// The most a deflate stream inflates a byte into (PNG's pixel data).
constexpr long long kMaxDeflateRatio = 1032;
// Kept of what the libraries print, and of one line of it in a problem.
constexpr std::size_t kMaxCapturedBytes = std::size_t{64} * 1024;
constexpr std::size_t kMaxSaidLine = 200;
constexpr int kBitsPerByte = 8;
constexpr int kBytesPerPixel = 3;

// What is wrong with a picture follows its name ("%1 is empty"), in the
// user's language or, where it is kept in a file, in English.
class Wording {
 public:
  explicit Wording(bool translated) : translated_(translated) {}
  std::string operator()(const char* text) const {
    return translated_ ? Tr("PictureDecode", text) : text;
  }
  std::string operator()(const char* text, std::initializer_list<std::string_view> values) const {
    return Arg((*this)(text), values);
  }

 private:
  bool translated_;
};

constexpr const char* kOutOfMemory =
    TWR_TRANSLATE_NOOP("PictureDecode", "is too large to decode (out of memory)");
constexpr const char* kCutShort = TWR_TRANSLATE_NOOP("PictureDecode", "is damaged or cut short");
constexpr const char* kCutShortSaying =
    TWR_TRANSLATE_NOOP("PictureDecode", "is damaged or cut short (%1)");
constexpr const char* kTooManyBytes = TWR_TRANSLATE_NOOP(
    "PictureDecode", "is larger than %1 MiB, too large for a background picture");
constexpr const char* kTooManyPixels = TWR_TRANSLATE_NOOP(
    "PictureDecode", "is %1 x %2 pixels; a background picture may have at most %3 megapixels");
constexpr const char* kNoFormat = TWR_TRANSLATE_NOOP(
    "PictureDecode",
    "is not a picture in a format that can be read (PNG, JPEG, BMP, GIF, TIFF, SVG, ...)");

// A count in units of 2^20 (mebibytes, megapixels).
std::string InMebi(long long count) {
  return std::to_string(count / kMebibyte);
}

// A side as a picture declares it: whole pixels, or in exponent form when
// too large for that.
std::string SideText(double side) {
  if (side < 1e15) return std::to_string(std::llround(side));
  char text[32];
  const auto result =
      std::to_chars(text, text + sizeof text, side, std::chars_format::scientific, 3);
  return std::string(text, result.ptr);
}

bool FitsLimits(double width, double height) {
  return width <= kMaxImageSide && height <= kMaxImageSide && width * height <= kMaxPicturePixels &&
         std::ceil(width) * kBytesPerPixel * std::ceil(height) <= kMaxImageBytes;
}

std::string TooManyPixels(double width, double height, const Wording& say) {
  return say(kTooManyPixels, {SideText(width), SideText(height), InMebi(kMaxPicturePixels)});
}

// ---------------------------------------------------------------------------
// What the libraries say

// Keeps what the image libraries say while this thread decodes: Qt's
// messages through a message handler, and what libpng and libtiff print on
// the standard error themselves through file descriptor 2 pointed at a
// memory file for that time. Messages of other threads meanwhile are held
// and passed on to the handler that was there once the standard error is
// back. One decode at a time holds it.
class DecoderOutput {
 public:
  DecoderOutput() : lock_(DecodeMutex()), thread_(std::this_thread::get_id()) {
    {
      const std::lock_guard<std::mutex> handlerLock(HandlerMutex());
      Active() = this;
    }
    previous_ = qInstallMessageHandler(&Handle);
    Previous().store(previous_);
    std::fflush(stderr);
    capture_ = ::memfd_create("twr-picture-decoder", MFD_CLOEXEC);
    if (capture_ >= 0) saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (capture_ >= 0 && (saved_ < 0 || ::dup2(capture_, STDERR_FILENO) < 0)) {
      if (saved_ >= 0) ::close(saved_);
      ::close(capture_);
      saved_ = capture_ = -1;
    }
  }
  ~DecoderOutput() { Finish(); }
  DecoderOutput(const DecoderOutput&) = delete;
  DecoderOutput& operator=(const DecoderOutput&) = delete;

  // Ends the capture and answers what was said, one line each: Qt's
  // messages, then the standard error's lines.
  const std::vector<std::string>& Finish() {
    if (finished_) return lines_;
    finished_ = true;
    if (saved_ >= 0) {
      std::fflush(stderr);
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
      std::string text(kMaxCapturedBytes, '\0');
      const ssize_t n = ::pread(capture_, text.data(), text.size(), 0);
      text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
      ::close(capture_);
      std::size_t at = 0;
      while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        AddLine(QString::fromUtf8(text.data() + at, static_cast<qsizetype>(end - at)));
        at = end + 1;
      }
    }
    std::vector<Held> held;
    {
      const std::lock_guard<std::mutex> handlerLock(HandlerMutex());
      Active() = nullptr;
      held.swap(held_);
    }
    qInstallMessageHandler(previous_);
    for (const Held& h : held) {
      const QMessageLogContext context(h.file.constData(), h.line, h.function.constData(),
                                       h.category.constData());
      qt_message_output(h.type, context, h.text);
    }
    return lines_;
  }

  // A line says the data is damaged or ends early, though decoding went on.
  bool SawDamage() const {
    for (const std::string& line : lines_) {
      const QString text = QString::fromStdString(line);
      for (const char* word : {"corrupt", "premature", "truncat", "read error", "libpng error"})
        if (text.contains(QLatin1String(word), Qt::CaseInsensitive)) return true;
    }
    return false;
  }

 private:
  struct Held {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
  };
  static std::mutex& DecodeMutex() {
    static std::mutex mutex;
    return mutex;
  }
  static std::mutex& HandlerMutex() {
    static std::mutex mutex;
    return mutex;
  }
  static DecoderOutput*& Active() {
    static DecoderOutput* active = nullptr;
    return active;
  }
  static std::atomic<QtMessageHandler>& Previous() {
    static std::atomic<QtMessageHandler> previous{nullptr};
    return previous;
  }
  void AddLine(const QString& line) {
    const QString text = line.simplified();
    if (!text.isEmpty()) lines_.push_back(Utf8Cut(text.toStdString(), kMaxSaidLine));
  }
  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg) {
      const std::lock_guard<std::mutex> handlerLock(HandlerMutex());
      if (DecoderOutput* active = Active()) {
        if (std::this_thread::get_id() == active->thread_)
          active->AddLine(text);
        else
          active->held_.push_back({type, QByteArray(context.file), QByteArray(context.function),
                                   QByteArray(context.category), context.line, text});
        return;
      }
    }
    if (QtMessageHandler previous = Previous().load()) previous(type, context, text);
  }

  std::lock_guard<std::mutex> lock_;
  std::thread::id thread_;
  QtMessageHandler previous_ = nullptr;
  int capture_ = -1;
  int saved_ = -1;
  bool finished_ = false;
  std::vector<std::string> lines_;
  std::vector<Held> held_;
};

// ---------------------------------------------------------------------------
// Pixel pictures: what their headers declare

std::uint32_t BigEndian32(const uchar* b) {
  return (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
         (static_cast<std::uint32_t>(b[2]) << 8) | b[3];
}
std::uint32_t LittleEndian32(const uchar* b) {
  return b[0] | (static_cast<std::uint32_t>(b[1]) << 8) | (static_cast<std::uint32_t>(b[2]) << 16) |
         (static_cast<std::uint32_t>(b[3]) << 24);
}
int LittleEndian16(const uchar* b) {
  return b[0] | (b[1] << 8);
}

// What a pixel picture's header declares, read here rather than by the
// decoder (which may give up on a header it would still allocate for):
// its size, and whether the file is too short for what it declares.
struct PixelHeader {
  bool known = false;  // a header this reads; else the reader is asked
  double width = 0;
  double height = 0;
  bool cut = false;
};

// A PNG: the size from IHDR; cut when its chunks do not run whole from
// the signature to IEND, or its pixel data could not inflate to the pixels
// declared (a deflate stream grows a byte at most 1032 times).
PixelHeader PngHeader(const QByteArray& bytes) {
  constexpr qsizetype kSignatureSize = 8;
  constexpr qsizetype kChunkOverhead = 12;  // length, type, CRC
  constexpr qsizetype kHeaderData = kSignatureSize + 8;
  constexpr qsizetype kHeaderSize = 13;
  PixelHeader h;
  const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
  if (bytes.size() < kHeaderData + kHeaderSize || std::memcmp(b + 12, "IHDR", 4) != 0) return h;
  h.known = true;
  h.width = BigEndian32(b + kHeaderData);
  h.height = BigEndian32(b + kHeaderData + 4);
  const int depth = b[kHeaderData + 8];
  const int colourType = b[kHeaderData + 9];
  const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
  long long data = 0;
  h.cut = true;
  for (qsizetype at = kSignatureSize; at + kChunkOverhead <= bytes.size();) {
    const std::uint32_t length = BigEndian32(b + at);
    bool named = true;
    for (int i = 4; i < 8; ++i) named = named && std::isalpha(b[at + i]) != 0;
    if (!named || length > static_cast<std::uint64_t>(bytes.size() - at - kChunkOverhead)) break;
    if (std::memcmp(b + at + 4, "IDAT", 4) == 0) data += length;
    if (std::memcmp(b + at + 4, "IEND", 4) == 0) {
      const double pixelBytes = h.width * h.height * depth * channels / kBitsPerByte;
      h.cut = static_cast<double>(data) < std::floor(pixelBytes / kMaxDeflateRatio);
      break;
    }
    at += kChunkOverhead + static_cast<qsizetype>(length);
  }
  return h;
}

// A BMP: the size from its info header; cut when the file is shorter than
// the size it declares, the rows of an uncompressed picture, or run-length
// data that ends before its last row or its end mark.
PixelHeader BmpHeader(const QByteArray& bytes) {
  constexpr qsizetype kFileHeader = 14;
  constexpr std::uint32_t kCoreHeader = 12, kRle8 = 1, kRle4 = 2;
  PixelHeader h;
  const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
  const auto size = static_cast<long long>(bytes.size());
  if (size < kFileHeader + 4) return h;
  const std::uint32_t infoSize = LittleEndian32(b + kFileHeader);
  if (size < kFileHeader + (infoSize == kCoreHeader ? 12 : 20)) return h;
  h.known = true;
  long long width = 0, height = 0;
  int bits = 0;
  std::uint32_t compression = 0;
  if (infoSize == kCoreHeader) {  // the OS/2 core header
    width = LittleEndian16(b + 18);
    height = LittleEndian16(b + 20);
    bits = LittleEndian16(b + 24);
  } else {
    width = static_cast<std::int32_t>(LittleEndian32(b + 18));
    height = std::abs(static_cast<long long>(static_cast<std::int32_t>(LittleEndian32(b + 22))));
    bits = size >= kFileHeader + 20 ? LittleEndian16(b + 28) : 0;
    compression = size >= kFileHeader + 20 ? LittleEndian32(b + 30) : 0;
  }
  h.width = static_cast<double>(std::abs(width));
  h.height = static_cast<double>(height);
  const long long offset = LittleEndian32(b + 10);
  h.cut = LittleEndian32(b + 2) > static_cast<std::uint64_t>(size) || width <= 0 || height <= 0 ||
          offset >= size;
  if (h.cut) return h;
  if (compression == kRle8 || compression == kRle4) {
    // Runs, each row ended by 0 0, the picture by 0 1; 0 2 dx dy moves on,
    // 0 n copies n pixels (padded to whole 16-bit words).
    long long row = 0;
    h.cut = true;
    for (long long at = offset; at + 1 < size && row < height;) {
      const int count = b[at], code = b[at + 1];
      at += 2;
      if (count != 0) continue;
      if (code == 0) {
        ++row;
      } else if (code == 1) {
        h.cut = false;
        break;
      } else if (code == 2) {
        if (at + 1 >= size) break;
        row += b[at + 1];
        at += 2;
      } else {
        const long long copied = compression == kRle8 ? code : (code + 1) / 2;
        at += (copied + 1) / 2 * 2;
      }
      if (row >= height) h.cut = false;
    }
    return h;
  }
  const long long stride = (width * bits + 31) / 32 * 4;
  // A row longer than the file is cut already; shorter rows keep the product
  // of the rows far inside a long long.
  h.cut = stride > size || offset + stride * height > size;
  return h;
}

// A JPEG: the size from its frame header; cut when it ends before its
// scan, or its scan data is too short for the blocks declared: each 8 x 8
// block of a component takes at least one bit of Huffman-coded data (each
// pixel, for lossless coding). Arithmetic coding has no such floor.
PixelHeader JpegHeader(const QByteArray& bytes) {
  PixelHeader h;
  const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
  const auto size = static_cast<long long>(bytes.size());
  long long floorBits = 0;
  h.cut = true;
  for (long long at = 2; at + 3 < size;) {
    if (b[at] != 0xFF) break;
    const int marker = b[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
      at += 2;
      continue;
    }
    const long long length = (b[at + 2] << 8) | b[at + 3];
    if (length < 2 || at + 2 + length > size) break;
    const uchar* segment = b + at + 4;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame && length >= 8) {
      h.known = true;
      h.height = (segment[1] << 8) | segment[2];
      h.width = (segment[3] << 8) | segment[4];
      const int components = segment[5];
      if (length < 8 + 3LL * components) break;
      int maxH = 1, maxV = 1;
      for (int i = 0; i < components; ++i) {
        maxH = std::max(maxH, segment[7 + 3 * i] >> 4);
        maxV = std::max(maxV, segment[7 + 3 * i] & 0x0F);
      }
      const bool huffman = marker <= 0xC3;
      for (int i = 0; i < components && huffman; ++i) {
        const long long sh = std::max(1, segment[7 + 3 * i] >> 4);
        const long long sv = std::max(1, segment[7 + 3 * i] & 0x0F);
        const auto w = static_cast<long long>(h.width), t = static_cast<long long>(h.height);
        const long long cw = (w * sh + maxH - 1) / maxH, ch = (t * sv + maxV - 1) / maxV;
        floorBits = std::max(floorBits, marker == 0xC3 ? cw * ch : ((cw + 7) / 8) * ((ch + 7) / 8));
      }
    }
    if (marker == 0xDA) {
      h.cut = (size - at - 2 - length) * kBitsPerByte < floorBits;
      break;
    }
    at += 2 + length;
  }
  return h;
}

// A GIF: the size of its screen, or of its first picture where that
// reaches beyond the screen; cut without its trailer byte (zero padding
// after it allowed).
PixelHeader GifHeader(const QByteArray& bytes) {
  constexpr qsizetype kScreen = 13;
  constexpr char kTrailer = 0x3B;
  PixelHeader h;
  const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
  const qsizetype size = bytes.size();
  if (size < kScreen) return h;
  h.known = true;
  h.width = LittleEndian16(b + 6);
  h.height = LittleEndian16(b + 8);
  qsizetype at = kScreen + ((b[10] & 0x80) != 0 ? 3 * (2 << (b[10] & 7)) : 0);
  while (at < size && b[at] == '!') {  // extensions: label, then sub-blocks
    at += 2;
    while (at < size && b[at] != 0) at += 1 + b[at];
    ++at;
  }
  if (at + 9 < size && b[at] == ',') {
    h.width = std::max(
        h.width, static_cast<double>(LittleEndian16(b + at + 1) + LittleEndian16(b + at + 5)));
    h.height = std::max(
        h.height, static_cast<double>(LittleEndian16(b + at + 3) + LittleEndian16(b + at + 7)));
  }
  qsizetype end = size;
  while (end > 0 && bytes[end - 1] == '\0') --end;
  h.cut = end == 0 || bytes[end - 1] != kTrailer;
  return h;
}

// What keeps a pixel picture from being decoded, found from its header
// before anything is decoded: its size unknown or past the limits, or the
// file too short for it. Empty when it may be decoded; `pixels` gets what
// it declares.
std::string CheckPixelPicture(const QByteArray& bytes, QImageReader& reader,
                              const QByteArray& format, long long& pixels, const Wording& say) {
  PixelHeader h = format == "png"    ? PngHeader(bytes)
                  : format == "bmp"  ? BmpHeader(bytes)
                  : format == "jpeg" ? JpegHeader(bytes)
                  : format == "gif"  ? GifHeader(bytes)
                                     : PixelHeader{};
  if (!h.known) {
    const QSize declared = reader.size();
    if (!declared.isValid())
      return format == "png" || format == "bmp" || format == "jpeg" || format == "gif"
                 ? say(kCutShort)
                 : say(TWR_TRANSLATE_NOOP("PictureDecode",
                                          "does not declare its size before its pixels (a %1 "
                                          "picture); use PNG, JPEG, BMP, GIF or TIFF"),
                       {format.toUpper().toStdString()});
    h.width = declared.width();
    h.height = declared.height();
  }
  if (!FitsLimits(h.width, h.height)) return TooManyPixels(h.width, h.height, say);
  pixels = static_cast<long long>(h.width * h.height);
  return h.cut ? say(kCutShort) : std::string();
}

bool IsSvgFormat(const QByteArray& format) {
  return format == "svg" || format == "svgz";
}

bool IsGzip(const QByteArray& bytes) {
  return bytes.size() >= 2 && static_cast<uchar>(bytes[0]) == 0x1F &&
         static_cast<uchar>(bytes[1]) == 0x8B;
}

// The format Qt's readers find in the bytes; empty for none.
QByteArray FormatOf(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return QImageReader(&buffer).format();
}

// ---------------------------------------------------------------------------
// SVG

enum class Inflated { Whole, TooLarge, CutShort, Damaged };

// Inflates a gzip stream into at most `limit` bytes, in steps: never more
// than the limit (plus one step) is held, whatever the stream claims.
Inflated InflateBounded(const QByteArray& in, long long limit, QByteArray& out) {
  z_stream z{};
  constexpr int kGzipWindow = 15 + 16;
  if (inflateInit2(&z, kGzipWindow) != Z_OK) return Inflated::Damaged;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
  z.avail_in = static_cast<uInt>(in.size());
  constexpr long long kFirstStep = 1LL << 20;
  out.resize(static_cast<qsizetype>(std::min(limit + 1, kFirstStep)));
  long long produced = 0;
  Inflated result = Inflated::Whole;
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
    z.avail_out = static_cast<uInt>(out.size() - produced);
    const int status = inflate(&z, Z_NO_FLUSH);
    produced = out.size() - z.avail_out;
    if (status == Z_STREAM_END) break;
    if (produced > limit) {
      result = Inflated::TooLarge;
      break;
    }
    if (status == Z_BUF_ERROR && z.avail_in == 0) {
      result = Inflated::CutShort;
      break;
    }
    if (status != Z_OK && status != Z_BUF_ERROR) {
      result = Inflated::Damaged;
      break;
    }
    if (z.avail_out == 0)
      out.resize(
          static_cast<qsizetype>(std::min(limit + 1, static_cast<long long>(out.size()) * 2)));
  }
  inflateEnd(&z);
  if (result == Inflated::Whole && produced > limit) result = Inflated::TooLarge;
  out.resize(result == Inflated::Whole ? static_cast<qsizetype>(produced) : 0);
  out.squeeze();
  return result;
}

// A length as an SVG's root gives it, in pixels as the SVG renderer counts
// them (90 to the inch); negative for none or a relative one (a percentage).
double SvgLength(QStringView text) {
  const QByteArray latin = text.trimmed().toLatin1();
  const char* begin = latin.constData();
  const char* end = begin + latin.size();
  if (begin != end && *begin == '+') ++begin;
  double value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec == std::errc::result_out_of_range) return HUGE_VAL;
  if (ec != std::errc() || !std::isfinite(value) || value <= 0) return -1;
  const std::string_view unit(ptr, static_cast<std::size_t>(end - ptr));
  if (unit == "%") return -1;
  constexpr double kPerInch = 90, kPerPica = 15, kPerPoint = 1.25, kPerFont = 16;
  constexpr double kPerMillimetre = kPerInch / 25.4, kPerCentimetre = kPerInch / 2.54;
  const double factor = unit == "in"                     ? kPerInch
                        : unit == "cm"                   ? kPerCentimetre
                        : unit == "mm"                   ? kPerMillimetre
                        : unit == "pc"                   ? kPerPica
                        : unit == "pt"                   ? kPerPoint
                        : (unit == "em" || unit == "ex") ? kPerFont
                                                         : 1.0;
  return value * factor;
}

// What an SVG's text holds, found by reading it once as XML before the
// renderer sees it: its declared size, how many elements it draws with its
// repeats and how deep, and what its <image> elements hold.
class SvgCheck {
 public:
  SvgCheck(const QByteArray& text, const Wording& say) : text_(text), say_(say) {}

  // Empty when the SVG may be drawn, else what is wrong.
  std::string Run() {
    QXmlStreamReader xml(text_);
    std::vector<int> open;
    while (!xml.atEnd()) {
      if (xml.readNext() != QXmlStreamReader::StartElement) {
        if (xml.tokenType() == QXmlStreamReader::EndElement && !open.empty()) open.pop_back();
        continue;
      }
      if (nodes_.empty()) {
        if (xml.name() != QLatin1String("svg")) return say_(kNoFormat);
        if (std::string why = CheckDeclaredSize(xml.attributes()); !why.empty()) return why;
      }
      if (static_cast<long long>(nodes_.size()) >= kMaxSvgElements) return TooManyElements();
      if (static_cast<int>(open.size()) >= kMaxSvgDepth) return TooDeep();
      const int index = static_cast<int>(nodes_.size());
      Node node;
      node.parent = open.empty() ? -1 : open.back();
      if (node.parent >= 0) nodes_[static_cast<std::size_t>(node.parent)].children.push_back(index);
      const QXmlStreamAttributes attributes = xml.attributes();
      const QStringView id = attributes.value(QLatin1String("id"));
      if (!id.isEmpty()) ids_.insert(id.toString(), index);
      for (const QXmlStreamAttribute& a : attributes) {
        if (a.name() != QLatin1String("href")) continue;
        if (xml.name() == QLatin1String("use") && a.value().startsWith(u'#'))
          node.useId = a.value().mid(1).toString();
        if (xml.name() == QLatin1String("image"))
          if (std::string why = CheckImage(a.value()); !why.empty()) return why;
      }
      nodes_.push_back(std::move(node));
      open.push_back(index);
    }
    if (xml.hasError()) {
      if (nodes_.empty()) return say_(kNoFormat);
      if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) return say_(kCutShort);
      return say_(TWR_TRANSLATE_NOOP("PictureDecode", "is damaged (%1 on line %2)"),
                  {xml.errorString().toStdString(), std::to_string(xml.lineNumber())});
    }
    if (nodes_.empty()) return say_(kNoFormat);
    return CheckRepeats();
  }

 private:
  struct Node {
    int parent = -1;
    std::vector<int> children;
    QString useId;
  };

  std::string TooManyElements() const {
    return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                   "draws more than %1 elements (each repeat counted); an SVG "
                                   "background picture may draw at most %1"),
                {std::to_string(kMaxSvgElements)});
  }
  std::string TooDeep() const {
    return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                   "nests its elements more than %1 deep; an SVG background "
                                   "picture may nest them at most %1 deep"),
                {std::to_string(kMaxSvgDepth)});
  }

  // The root's width and height, or its viewBox without them.
  std::string CheckDeclaredSize(const QXmlStreamAttributes& attributes) const {
    double width = SvgLength(attributes.value(QLatin1String("width")));
    double height = SvgLength(attributes.value(QLatin1String("height")));
    const QStringView box = attributes.value(QLatin1String("viewBox"));
    if ((width < 0 || height < 0) && !box.isEmpty()) {
      const QStringList parts =
          box.toString().replace(u',', u' ').simplified().split(u' ', Qt::SkipEmptyParts);
      if (parts.size() == 4) {
        if (width < 0) width = SvgLength(parts[2]);
        if (height < 0) height = SvgLength(parts[3]);
      }
    }
    if (width > 0 && height > 0 && !FitsLimits(width, height))
      return TooManyPixels(width, height, say_);
    return {};
  }

  // An <image> may hold a pixel picture in its own text (a data: address,
  // base64) within the limits; one naming another file is refused, as
  // the renderer would read that file past every check here.
  std::string CheckImage(QStringView href) {
    const QStringView address = href.trimmed();
    if (!address.startsWith(QLatin1String("data"))) {
      return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                     "draws another file (%1); an SVG background picture must "
                                     "hold everything it draws"),
                  {Utf8Cut(address.toString().toStdString(), kMaxSaidLine)});
    }
    const qsizetype at = address.lastIndexOf(QLatin1String("base64,"));
    if (at < 0) return {};  // not drawn
    const QByteArray bytes = QByteArray::fromBase64(address.mid(at + 7).toLatin1());
    const QByteArray format = FormatOf(bytes);
    if (IsGzip(bytes) || IsSvgFormat(format))
      return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                     "holds an SVG picture inside it; an SVG background picture "
                                     "may hold pixel pictures only"));
    if (format.isEmpty()) return {};  // not drawn
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    long long pixels = 0;
    if (std::string why = CheckPixelPicture(bytes, reader, format, pixels, say_); !why.empty())
      return say_(TWR_TRANSLATE_NOOP("PictureDecode", "holds a picture that %1"), {why});
    imagePixels_ += pixels;
    if (imagePixels_ > kMaxPicturePixels)
      return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                     "holds pictures of more than %1 megapixels in all; a "
                                     "background picture may have at most %1 megapixels"),
                  {InMebi(kMaxPicturePixels)});
    return {};
  }

  // Counts each element with what it holds and what its <use> repeats,
  // depth first without recursion; a <use> that reaches itself is refused.
  std::string CheckRepeats() {
    enum State : char { kNew, kOpen, kDone };
    const std::size_t n = nodes_.size();
    std::vector<State> state(n, kNew);
    std::vector<long long> count(n, 0);
    std::vector<int> depth(n, 0);
    // A <use> counts every element of its id (ids given twice included).
    std::vector<std::vector<int>> targets(n);
    for (std::size_t i = 0; i < n; ++i) {
      if (nodes_[i].useId.isEmpty()) continue;
      const QList<int> found = ids_.values(nodes_[i].useId);
      targets[i].assign(found.begin(), found.end());
    }
    std::vector<std::pair<int, bool>> stack{{0, false}};
    while (!stack.empty()) {
      const auto [node, leaving] = stack.back();
      stack.pop_back();
      const auto i = static_cast<std::size_t>(node);
      const Node& element = nodes_[i];
      if (leaving) {
        long long total = 1;
        int deepest = 0;
        auto add = [&](int other) {
          const auto o = static_cast<std::size_t>(other);
          total = std::min(total + count[o], kMaxSvgElements + 1);
          deepest = std::max(deepest, depth[o]);
        };
        for (int child : element.children) add(child);
        for (int target : targets[i]) add(target);
        count[i] = total;
        depth[i] = deepest + 1;
        state[i] = kDone;
        if (total > kMaxSvgElements) return TooManyElements();
        if (depth[i] > kMaxSvgDepth) return TooDeep();
        continue;
      }
      if (state[i] == kDone) continue;
      if (state[i] == kOpen)
        return say_(TWR_TRANSLATE_NOOP("PictureDecode",
                                       "is damaged (an element repeats itself through <use>)"));
      state[i] = kOpen;
      stack.emplace_back(node, true);
      for (int target : targets[i]) stack.emplace_back(target, false);
      for (int child : element.children) stack.emplace_back(child, false);
    }
    return {};
  }

  const QByteArray& text_;
  const Wording& say_;
  std::vector<Node> nodes_;
  QMultiHash<QString, int> ids_;
  long long imagePixels_ = 0;
};

// Paints nothing: adds up the pixels each shape could paint on the canvas,
// so that an SVG's drawing work is known before it is drawn. A fill counts
// the rectangle around it, an outline its length times the pen's width,
// both together never more than the rectangle around the shape and its
// outline, each cut to the canvas.
class CoverageEngine : public QPaintEngine {
 public:
  explicit CoverageEngine(const QSize& canvas)
      : QPaintEngine(QPaintEngine::AllFeatures), canvas_(QPointF(0, 0), QSizeF(canvas)) {}
  double Covered() const { return covered_; }

  bool begin(QPaintDevice* /*device*/) override { return true; }
  bool end() override { return true; }
  Type type() const override { return QPaintEngine::User; }
  void updateState(const QPaintEngineState& state) override {
    const DirtyFlags dirty = state.state();
    if ((dirty & DirtyTransform) != 0) transform_ = state.transform();
    if ((dirty & DirtyPen) != 0) pen_ = state.pen();
    if ((dirty & DirtyBrush) != 0) brush_ = state.brush();
  }
  using QPaintEngine::drawEllipse;
  using QPaintEngine::drawLines;
  using QPaintEngine::drawPoints;
  using QPaintEngine::drawPolygon;
  using QPaintEngine::drawRects;
  void drawPath(const QPainterPath& path) override {
    Add(path.controlPointRect(), true, path.length());
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count <= 0) return;
    const QPolygonF polygon(QList<QPointF>(points, points + count));
    qreal length = 0;
    for (int i = 1; i < count; ++i) length += QLineF(points[i - 1], points[i]).length();
    if (mode != PolylineMode) length += QLineF(points[count - 1], points[0]).length();
    Add(polygon.boundingRect(), mode != PolylineMode, length);
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i)
      Add(rects[i], true, 2 * (std::abs(rects[i].width()) + std::abs(rects[i].height())));
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i)
      Add(QRectF(lines[i].p1(), lines[i].p2()).normalized(), false, lines[i].length());
  }
  void drawEllipse(const QRectF& rect) override {
    // An ellipse's outline is no longer than its rectangle's.
    Add(rect, true, 2 * (std::abs(rect.width()) + std::abs(rect.height())));
  }
  void drawPoints(const QPointF* points, int count) override {
    for (int i = 0; i < count; ++i) Add(QRectF(points[i], QSizeF(0, 0)), false, 0);
  }
  void drawPixmap(const QRectF& rect, const QPixmap& /*pixmap*/,
                  const QRectF& /*source*/) override {
    AddArea(rect);
  }
  void drawImage(const QRectF& rect, const QImage& /*image*/, const QRectF& /*source*/,
                 Qt::ImageConversionFlags /*flags*/) override {
    AddArea(rect);
  }
  void drawTiledPixmap(const QRectF& rect, const QPixmap& /*pixmap*/,
                       const QPointF& /*offset*/) override {
    AddArea(rect);
  }
  void drawTextItem(const QPointF& at, const QTextItem& text) override {
    AddArea(QRectF(at.x(), at.y() - text.ascent(), text.width(), text.ascent() + text.descent()));
  }

 private:
  // The rectangle on the canvas, in pixels.
  double OnCanvas(const QRectF& device) const {
    const QRectF on = device.normalized().intersected(canvas_);
    return on.isEmpty() ? 0.0 : on.width() * on.height();
  }
  void AddArea(const QRectF& rect) { covered_ += OnCanvas(transform_.mapRect(rect)); }
  // A shape of these bounds, filled with the brush when `filled`, its
  // outline `length` long drawn with the pen.
  void Add(const QRectF& bounds, bool filled, qreal length) {
    QRectF outer = transform_.mapRect(bounds);
    const double fill = filled && brush_.style() != Qt::NoBrush ? OnCanvas(outer) : 0.0;
    double stroke = 0;
    if (pen_.style() != Qt::NoPen) {
      // How much the transform may stretch a length at most.
      const qreal scale =
          std::sqrt(transform_.m11() * transform_.m11() + transform_.m12() * transform_.m12() +
                    transform_.m21() * transform_.m21() + transform_.m22() * transform_.m22());
      const qreal width =
          std::max<qreal>(pen_.isCosmetic() ? pen_.widthF() : pen_.widthF() * scale, 1);
      // Caps and miters reach out beyond the outline's ends and corners.
      const qreal reach = width * std::max<qreal>(pen_.miterLimit(), 1);
      outer.adjust(-reach, -reach, reach, reach);
      stroke = (length * scale + 2 * reach) * width;
    }
    covered_ += std::min(OnCanvas(outer), fill + stroke);
  }

  QRectF canvas_;
  QTransform transform_;
  QPen pen_;
  QBrush brush_;
  double covered_ = 0;
};

// A canvas of a given size that keeps no pixels: CoverageEngine's.
class CoverageDevice : public QPaintDevice {
 public:
  explicit CoverageDevice(const QSize& size) : size_(size), engine_(size) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  double Covered() const { return engine_.Covered(); }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    constexpr int kDotsPerInch = 96;  // as a new QImage has
    constexpr double kMillimetresPerInch = 25.4;
    switch (metric) {
      case PdmWidth:
        return size_.width();
      case PdmHeight:
        return size_.height();
      case PdmWidthMM:
        return static_cast<int>(size_.width() * kMillimetresPerInch / kDotsPerInch);
      case PdmHeightMM:
        return static_cast<int>(size_.height() * kMillimetresPerInch / kDotsPerInch);
      case PdmNumColors:
        return 0;
      case PdmDepth:
        return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY:
        return kDotsPerInch;
      case PdmDevicePixelRatio:
        return 1;
      case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    }
    return 0;
  }

 private:
  QSize size_;
  mutable CoverageEngine engine_;
};

// Draws an SVG's text into a square of the requested side (or its own
// size) once its checks pass.
bool DrawSvg(const QByteArray& text, const PictureRequest& request, DecoderOutput& output,
             QImage& drawn, std::string& why, const Wording& say) {
  if (std::string problem = SvgCheck(text, say).Run(); !problem.empty()) {
    why = problem;
    return false;
  }
  QSvgRenderer renderer;
  if (!renderer.load(text) || !renderer.isValid()) {
    const std::vector<std::string>& said = output.Finish();
    why = said.empty() ? say(kCutShort) : say(kCutShortSaying, {said.front()});
    return false;
  }
  QSize size(request.drawSide, request.drawSide);
  if (request.drawSide <= 0) {
    size = renderer.defaultSize();
    if (size.isEmpty())
      size = QSize(kMaxSvgDrawSide, kMaxSvgDrawSide).boundedTo(renderer.viewBox().size());
    if (size.isEmpty()) {
      why = say(TWR_TRANSLATE_NOOP("PictureDecode",
                                   "has no size of its own (its width, height and viewBox)"));
      return false;
    }
  }
  size = size.boundedTo(QSize(kMaxSvgDrawSide, kMaxSvgDrawSide));
  if (!FitsLimits(size.width(), size.height())) {
    why = TooManyPixels(size.width(), size.height(), say);
    return false;
  }
  // The drawing's work, found by drawing it once onto nothing: the pixels
  // its shapes could cover, at most kMaxSvgCover times the canvas and
  // kMaxSvgPaintedPixels in all.
  CoverageDevice dryRun(size);
  {
    QPainter counting(&dryRun);
    renderer.render(&counting, QRectF(QPointF(0, 0), QSizeF(size)));
  }
  const double canvas = static_cast<double>(size.width()) * size.height();
  if (dryRun.Covered() >
      std::min(canvas * kMaxSvgCover, static_cast<double>(kMaxSvgPaintedPixels))) {
    why = say(TWR_TRANSLATE_NOOP("PictureDecode",
                                 "paints its shapes over more than %1 times the label or %2 "
                                 "megapixels in all; an SVG background picture may paint at "
                                 "most that"),
              {std::to_string(kMaxSvgCover), InMebi(kMaxSvgPaintedPixels)});
    return false;
  }
  drawn = QImage(size, QImage::Format_ARGB32_Premultiplied);
  if (drawn.isNull()) {
    why = say(kOutOfMemory);
    return false;
  }
  drawn.fill(Qt::transparent);
  QPainter painter(&drawn);
  renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return true;
}

bool DecodeSvg(const QByteArray& bytes, bool compressed, const PictureRequest& request,
               DecoderOutput& output, QImage& drawn, std::string& why, const Wording& say) {
  if (!compressed) return DrawSvg(bytes, request, output, drawn, why, say);
  QByteArray text;
  switch (InflateBounded(bytes, kMaxPictureBytes, text)) {
    case Inflated::Whole:
      break;
    case Inflated::TooLarge:
      why = say(TWR_TRANSLATE_NOOP("PictureDecode",
                                   "inflates to more than %1 MiB; a background picture may be at "
                                   "most %1 MiB, compressed or not"),
                {InMebi(kMaxPictureBytes)});
      return false;
    case Inflated::CutShort:
      why = say(kCutShort);
      return false;
    case Inflated::Damaged:
      why = say(TWR_TRANSLATE_NOOP("PictureDecode",
                                   "is damaged (its compressed data cannot be inflated)"));
      return false;
  }
  return DrawSvg(text, request, output, drawn, why, say);
}

// ---------------------------------------------------------------------------

bool DecodePixels(const QByteArray& bytes, const QByteArray& format, DecoderOutput& output,
                  QImage& decoded, std::string& why, const Wording& say) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(kDecodeAllocationMebibytes);
  long long pixels = 0;
  if (std::string problem = CheckPixelPicture(bytes, reader, format, pixels, say);
      !problem.empty()) {
    why = problem;
    return false;
  }
  const bool read = reader.read(&decoded) && !decoded.isNull();
  const std::vector<std::string>& said = output.Finish();
  if (!read) {
    decoded = QImage();
    why = reader.error() == QImageReader::InvalidDataError || !said.empty()
              ? (said.empty() ? say(kCutShort) : say(kCutShortSaying, {said.front()}))
              : say(TWR_TRANSLATE_NOOP("PictureDecode", "cannot be decoded (%1)"),
                    {reader.errorString().toStdString()});
    return false;
  }
  if (output.SawDamage()) {
    decoded = QImage();
    why = say(kCutShort);
    return false;
  }
  if (!FitsLimits(decoded.width(), decoded.height())) {
    const QSize size = decoded.size();
    decoded = QImage();
    why = TooManyPixels(size.width(), size.height(), say);
    return false;
  }
  return true;
}

// The colour channels as stored, transparency dropped without compositing:
// a fully transparent pixel keeps its own colour.
QImage ColourChannels(QImage decoded) {
  if (!decoded.hasAlphaChannel()) return decoded.convertToFormat(QImage::Format_RGB888);
  if (decoded.format() != QImage::Format_ARGB32)
    decoded = decoded.convertToFormat(QImage::Format_ARGB32);
  QImage rgb(decoded.size(), QImage::Format_RGB888);
  if (rgb.isNull() || decoded.isNull()) return {};
  for (int y = 0; y < decoded.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
    uchar* out = rgb.scanLine(y);
    for (int x = 0; x < decoded.width(); ++x) {
      uchar* pixel = out + static_cast<std::ptrdiff_t>(x) * kBytesPerPixel;
      pixel[0] = static_cast<uchar>(qRed(in[x]));
      pixel[1] = static_cast<uchar>(qGreen(in[x]));
      pixel[2] = static_cast<uchar>(qBlue(in[x]));
    }
  }
  return rgb;
}

}  // namespace

bool ReadPictureFile(const std::string& path, QByteArray& bytes, std::string& problem,
                     bool translated) {
  const Wording say(translated);
  bytes.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    problem = error == ENOENT ? say(TWR_TRANSLATE_NOOP("PictureDecode", "does not exist"))
              : error == EACCES
                  ? say(TWR_TRANSLATE_NOOP("PictureDecode", "cannot be read (permission denied)"))
              : error == ENOTDIR
                  ? say(TWR_TRANSLATE_NOOP("PictureDecode",
                                           "does not exist (a part of its path is not a folder)"))
                  : say(TWR_TRANSLATE_NOOP("PictureDecode", "cannot be opened (%1)"),
                        {std::strerror(error)});
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    problem =
        say(TWR_TRANSLATE_NOOP("PictureDecode", "cannot be read (%1)"), {std::strerror(errno)});
  } else if (S_ISDIR(info.st_mode)) {
    problem = say(TWR_TRANSLATE_NOOP("PictureDecode", "is a folder, not a picture"));
    ok = false;
  } else if (!S_ISREG(info.st_mode)) {
    problem = say(
        TWR_TRANSLATE_NOOP("PictureDecode", "is not a regular file (a pipe, socket or device)"));
    ok = false;
  } else if (info.st_size == 0) {
    problem = say(TWR_TRANSLATE_NOOP("PictureDecode", "is empty"));
    ok = false;
  } else if (info.st_size > kMaxPictureBytes) {
    problem = say(kTooManyBytes, {InMebi(kMaxPictureBytes)});
    ok = false;
  }
  if (ok) {
    bytes.resize(static_cast<qsizetype>(info.st_size));
    qsizetype done = 0;
    while (done < bytes.size()) {
      const ssize_t n =
          ::read(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += n;
    }
    if (done != bytes.size()) {
      problem = say(TWR_TRANSLATE_NOOP("PictureDecode", "could not be read whole"));
      bytes.clear();
      ok = false;
    }
  }
  ::close(fd);
  return ok;
}

bool DecodePicture(const QByteArray& bytes, const PictureRequest& request, DecodedPicture& picture,
                   std::string& problem) {
  picture = {};
  const Wording say(request.translated);
  if (bytes.isEmpty()) {
    problem = say(TWR_TRANSLATE_NOOP("PictureDecode", "is empty"));
    return false;
  }
  if (bytes.size() > kMaxPictureBytes) {
    problem = say(kTooManyBytes, {InMebi(kMaxPictureBytes)});
    return false;
  }
  DecoderOutput output;
  // A gzip stream is only ever an SVGZ here, inflated within the limit:
  // never handed to a reader that would inflate it whole.
  const bool compressed = IsGzip(bytes);
  const QByteArray format = compressed ? QByteArray("svgz") : FormatOf(bytes);
  if (format.isEmpty()) {
    problem = say(kNoFormat);
    return false;
  }
  QImage decoded;
  std::string why;
  const bool ok = IsSvgFormat(format)
                      ? DecodeSvg(bytes, compressed, request, output, decoded, why, say)
                      : DecodePixels(bytes, format, output, decoded, why, say);
  output.Finish();
  if (!ok) {
    problem = why;
    return false;
  }
  picture.image = ColourChannels(std::move(decoded));
  if (picture.image.isNull()) {
    problem = say(kOutOfMemory);
    return false;
  }
  picture.format = compressed ? "svgz" : format.toStdString();
  return true;
}

}  // namespace twr
