// 24-bit image buffers over QImage.
#include "label/ImageBuffer.h"

#include <QBuffer>
#include <QColor>
#include <QImageReader>
#include <QPainter>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/Translate.h"
#include "label/LabelFont.h"

namespace twr {

namespace {

constexpr int kBytesPerPixel = 3;

QColor ToQColor(uint32_t c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

bool SizeIsSane(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
  const long long pitch = (static_cast<long long>(width) * kBytesPerPixel + 3) / 4 * 4;
  return pitch * height <= kMaxImageBytes;
}

// What is wrong with a picture follows its name ("%1 is empty"), in the
// user's language or, where it is kept in a file, in English.
class Wording {
 public:
  explicit Wording(bool translated) : translated_(translated) {}
  std::string operator()(const char* text) const {
    return translated_ ? Tr("ImageBuffer", text) : text;
  }
  std::string operator()(const char* text, std::initializer_list<std::string_view> values) const {
    return Arg((*this)(text), values);
  }

 private:
  bool translated_;
};

constexpr const char* kOutOfMemory =
    TWR_TRANSLATE_NOOP("ImageBuffer", "is too large to decode (out of memory)");
constexpr const char* kCutShort = TWR_TRANSLATE_NOOP("ImageBuffer", "is damaged or cut short");
constexpr const char* kTooManyBytes =
    TWR_TRANSLATE_NOOP("ImageBuffer", "is larger than %1 MiB, too large for a background picture");
constexpr int kBytesPerMebibyte = 1024 * 1024;
// What the image library may allocate while decoding: the largest allowed
// background at 8 bytes a pixel (16-bit channels with alpha).
constexpr int kDecodeAllocationMebibytes =
    static_cast<int>(kMaxBackgroundPixels * 8 / kBytesPerMebibyte);
// A GIF ends with this byte (the trailer); a BMP declares its file size as
// a little-endian 32-bit number at byte 2.
constexpr char kGifTrailer = 0x3B;
constexpr int kBmpSizeOffset = 2;

// Reads a regular file whole. A FIFO, socket, device or folder is refused
// without waiting: the file is opened non-blocking and looked at first.
bool ReadPictureFile(const std::string& path, QByteArray& bytes, std::string& why) {
  const Wording say(true);
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    const int error = errno;
    why = error == ENOENT ? say(TWR_TRANSLATE_NOOP("ImageBuffer", "does not exist"))
          : error == EACCES
              ? say(TWR_TRANSLATE_NOOP("ImageBuffer", "cannot be read (permission denied)"))
          : error == ENOTDIR
              ? say(TWR_TRANSLATE_NOOP("ImageBuffer",
                                       "does not exist (a part of its path is not a folder)"))
              : say(TWR_TRANSLATE_NOOP("ImageBuffer", "cannot be opened (%1)"),
                    {std::strerror(error)});
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    why = say(TWR_TRANSLATE_NOOP("ImageBuffer", "cannot be read (%1)"), {std::strerror(errno)});
  } else if (S_ISDIR(info.st_mode)) {
    why = say(TWR_TRANSLATE_NOOP("ImageBuffer", "is a folder, not a picture"));
    ok = false;
  } else if (!S_ISREG(info.st_mode)) {
    why =
        say(TWR_TRANSLATE_NOOP("ImageBuffer", "is not a regular file (a pipe, socket or device)"));
    ok = false;
  } else if (info.st_size == 0) {
    why = say(TWR_TRANSLATE_NOOP("ImageBuffer", "is empty"));
    ok = false;
  } else if (info.st_size > kMaxBackgroundFileBytes) {
    why = say(kTooManyBytes, {std::to_string(kMaxBackgroundFileBytes / kBytesPerMebibyte)});
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
      why = say(TWR_TRANSLATE_NOOP("ImageBuffer", "could not be read whole"));
      ok = false;
    }
  }
  ::close(fd);
  return ok;
}

// Keeps what the image library says while this thread decodes: it becomes
// the reason for a failure instead of noise on the terminal. Messages of
// other threads go on to the handler that was there before.
class DecoderMessages {
 public:
  DecoderMessages() : lock_(Mutex()), thread_(std::this_thread::get_id()) {
    Active().store(this);
    Previous() = qInstallMessageHandler(&Handle);
  }
  ~DecoderMessages() {
    qInstallMessageHandler(Previous());
    Active().store(nullptr);
  }
  DecoderMessages(const DecoderMessages&) = delete;
  DecoderMessages& operator=(const DecoderMessages&) = delete;

  // A complaint that the data is damaged or ends early, though decoding went on.
  bool SawDamage() const {
    for (const QString& text : texts_)
      if (text.contains(QLatin1String("corrupt"), Qt::CaseInsensitive) ||
          text.contains(QLatin1String("premature"), Qt::CaseInsensitive))
        return true;
    return false;
  }
  std::string First() const {
    return texts_.empty() ? std::string() : texts_.front().toStdString();
  }

 private:
  static std::mutex& Mutex() {
    static std::mutex mutex;
    return mutex;
  }
  static std::atomic<DecoderMessages*>& Active() {
    static std::atomic<DecoderMessages*> active{nullptr};
    return active;
  }
  static QtMessageHandler& Previous() {
    static QtMessageHandler previous = nullptr;
    return previous;
  }
  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    DecoderMessages* active = Active().load();
    if (active != nullptr && std::this_thread::get_id() == active->thread_) {
      active->texts_.push_back(text);
      return;
    }
    if (QtMessageHandler previous = Previous()) previous(type, context, text);
  }

  std::lock_guard<std::mutex> lock_;
  std::thread::id thread_;
  std::vector<QString> texts_;
};

// Whether a PNG's chunks run whole from the signature to IEND. The PNG
// decoder reports a broken file on stderr by itself, past any message
// handler, so a file that would make it do so is refused before it sees it.
bool PngChunksWhole(const QByteArray& bytes) {
  constexpr qsizetype kSignatureSize = 8;
  constexpr qsizetype kChunkOverhead = 12;  // length, type, CRC
  const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
  for (qsizetype at = kSignatureSize; at + kChunkOverhead <= bytes.size();) {
    const std::uint32_t length = (static_cast<std::uint32_t>(b[at]) << 24) | (b[at + 1] << 16) |
                                 (b[at + 2] << 8) | b[at + 3];
    for (int i = 4; i < 8; ++i)
      if (!std::isalpha(b[at + i])) return false;
    if (length > static_cast<std::uint64_t>(bytes.size() - at - kChunkOverhead)) return false;
    if (std::memcmp(b + at + 4, "IEND", 4) == 0) return true;
    at += kChunkOverhead + static_cast<qsizetype>(length);
  }
  return false;
}

// Damage the decoders pass over in silence: a BMP shorter than its header
// says, a GIF without its trailer byte (trailing zero padding allowed).
bool LooksCutShort(const QByteArray& bytes, const QByteArray& format) {
  if (format == "bmp" && bytes.size() >= kBmpSizeOffset + 4) {
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData()) + kBmpSizeOffset;
    const std::uint32_t declared =
        b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return declared > static_cast<std::uint32_t>(bytes.size());
  }
  if (format == "gif") {
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    return end == 0 || bytes[end - 1] != kGifTrailer;
  }
  return false;
}

bool DecodePicture(const QByteArray& bytes, QImage& decoded, std::string& why,
                   std::string* formatFound, const Wording& say) {
  DecoderMessages messages;
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAutoTransform(false);
  reader.setAllocationLimit(kDecodeAllocationMebibytes);
  const QByteArray format = reader.format();
  if (format.isEmpty()) {
    why = say(TWR_TRANSLATE_NOOP(
        "ImageBuffer",
        "is not a picture in a format that can be read (PNG, JPEG, BMP, GIF, TIFF, ...)"));
    return false;
  }
  if (formatFound != nullptr) *formatFound = format.toStdString();
  if (format == "png" && !PngChunksWhole(bytes)) {
    why = say(kCutShort);
    return false;
  }
  // Refuse an absurd size declared in the file's header before decoding
  // anything.
  if (const QSize declared = reader.size(); declared.isValid()) {
    const long long pixels = static_cast<long long>(declared.width()) * declared.height();
    if (pixels > kMaxBackgroundPixels || !SizeIsSane(declared.width(), declared.height())) {
      why = say(TWR_TRANSLATE_NOOP("ImageBuffer",
                                   "is %1 x %2 pixels; a background picture may have at most %3 "
                                   "megapixels"),
                {std::to_string(declared.width()), std::to_string(declared.height()),
                 std::to_string(kMaxBackgroundPixels / kBytesPerMebibyte)});
      return false;
    }
  }
  if (!reader.read(&decoded) || decoded.isNull()) {
    decoded = QImage();
    const std::string said = messages.First();
    why =
        reader.error() == QImageReader::InvalidDataError || !said.empty()
            ? (said.empty()
                   ? say(kCutShort)
                   : say(TWR_TRANSLATE_NOOP("ImageBuffer", "is damaged or cut short (%1)"), {said}))
            : say(TWR_TRANSLATE_NOOP("ImageBuffer", "cannot be decoded (%1)"),
                  {reader.errorString().toStdString()});
    return false;
  }
  if (messages.SawDamage() || LooksCutShort(bytes, format)) {
    decoded = QImage();
    why = say(kCutShort);
    return false;
  }
  if (!SizeIsSane(decoded.width(), decoded.height()) ||
      static_cast<long long>(decoded.width()) * decoded.height() > kMaxBackgroundPixels) {
    decoded = QImage();
    why = say(TWR_TRANSLATE_NOOP("ImageBuffer", "is too large for a background picture"));
    return false;
  }
  return true;
}

}  // namespace

bool ImageBuffer::Create(int width, int height) {
  image_ = QImage();
  if (!SizeIsSane(width, height)) return false;
  QImage image(width, height, QImage::Format_RGB888);
  if (image.isNull()) return false;
  image.fill(0);
  image_ = std::move(image);
  return true;
}

void ImageBuffer::FillRect(int x, int y, int width, int height, uint32_t color) {
  if (!Exists()) return;
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right =
      static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, Width()));
  const int bottom =
      static_cast<int>(std::min<long long>(static_cast<long long>(y) + height, Height()));
  if (left >= right || top >= bottom) return;
  const uchar rgb[kBytesPerPixel] = {RedOf(color), GreenOf(color), BlueOf(color)};
  const int count = right - left;
  uchar* first = Row(top) + static_cast<std::ptrdiff_t>(left) * kBytesPerPixel;
  for (int i = 0; i < count; ++i)
    std::memcpy(first + static_cast<std::ptrdiff_t>(i) * kBytesPerPixel, rgb, kBytesPerPixel);
  for (int row = top + 1; row < bottom; ++row)
    std::memcpy(Row(row) + static_cast<std::ptrdiff_t>(left) * kBytesPerPixel, first,
                static_cast<std::size_t>(count) * kBytesPerPixel);
}

void ImageBuffer::SelectFont(const LabelFont& font) {
  font_ = font.shared_from_this();
}

int ImageBuffer::MeasureText(std::string_view utf8) const {
  return font_ ? font_->Measure(utf8) : 0;
}

void ImageBuffer::DrawText(int x, int y, std::string_view utf8) {
  if (!Exists() || font_ == nullptr || utf8.empty()) return;
  QPainter painter(&image_);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(font_->font);
  painter.setPen(ToQColor(textColor_));
  painter.drawText(QPoint(x, y + font_->ascent),
                   QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

uint32_t ImageBuffer::ReadPixel(int x, int y) const {
  if (!Exists() || x < 0 || y < 0 || x >= Width() || y >= Height()) return kInvalidColor;
  const uchar* p = Row(y) + static_cast<std::ptrdiff_t>(x) * kBytesPerPixel;
  return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
}

void ImageBuffer::WritePixel(int x, int y, uint32_t color) {
  if (!Exists() || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  uchar* p = Row(y) + static_cast<std::ptrdiff_t>(x) * kBytesPerPixel;
  p[0] = RedOf(color);
  p[1] = GreenOf(color);
  p[2] = BlueOf(color);
}

void ImageBuffer::CopyBlock(int x, int y, const ImageBuffer& source) {
  if (!Exists() || !source.Exists()) return;
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right =
      static_cast<int>(std::min<long long>(static_cast<long long>(x) + source.Width(), Width()));
  const int bottom =
      static_cast<int>(std::min<long long>(static_cast<long long>(y) + source.Height(), Height()));
  if (left >= right || top >= bottom) return;
  const std::size_t bytes = static_cast<std::size_t>(right - left) * kBytesPerPixel;
  for (int row = top; row < bottom; ++row)
    std::memcpy(Row(row) + static_cast<std::ptrdiff_t>(left) * kBytesPerPixel,
                source.Row(row - y) + static_cast<std::ptrdiff_t>(left - x) * kBytesPerPixel,
                bytes);
}

void ImageBuffer::StretchFrom(const QImage& source) {
  if (!Exists() || source.isNull()) return;
  QImage scaled =
      source.size() == image_.size()
          ? source
          : source.scaled(image_.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (scaled.format() != QImage::Format_RGB888)
    scaled = scaled.convertToFormat(QImage::Format_RGB888);
  if (scaled.size() != image_.size()) return;
  const std::size_t bytes = static_cast<std::size_t>(Width()) * kBytesPerPixel;
  for (int row = 0; row < Height(); ++row) std::memcpy(Row(row), scaled.constScanLine(row), bytes);
}

bool ImageBuffer::Load(const std::string& path, std::string* problem) {
  image_ = QImage();
  std::string why;
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes, why)) {
    if (problem) *problem = why;
    return false;
  }
  return Decode(bytes, problem);
}

bool ImageBuffer::Decode(const QByteArray& bytes, std::string* problem, std::string* format,
                         bool translated) {
  image_ = QImage();
  const Wording say(translated);
  std::string why;
  if (bytes.isEmpty()) {
    if (problem) *problem = say("is empty");
    return false;
  }
  if (bytes.size() > kMaxBackgroundFileBytes) {
    if (problem)
      *problem = say(kTooManyBytes, {std::to_string(kMaxBackgroundFileBytes / kBytesPerMebibyte)});
    return false;
  }
  QImage decoded;
  if (!DecodePicture(bytes, decoded, why, format, say)) {
    if (problem) *problem = why;
    return false;
  }
  // Keep the colour channels as stored and drop transparency without
  // compositing: a fully transparent pixel keeps its own colour.
  if (decoded.hasAlphaChannel()) {
    if (decoded.format() != QImage::Format_ARGB32)
      decoded = decoded.convertToFormat(QImage::Format_ARGB32);
    QImage rgb(decoded.size(), QImage::Format_RGB888);
    if (rgb.isNull()) {
      if (problem) *problem = say(kOutOfMemory);
      return false;
    }
    for (int y = 0; y < decoded.height(); ++y) {
      const QRgb* in = reinterpret_cast<const QRgb*>(decoded.constScanLine(y));
      uchar* out = rgb.scanLine(y);
      for (int x = 0; x < decoded.width(); ++x) {
        out[static_cast<std::ptrdiff_t>(x) * kBytesPerPixel] = static_cast<uchar>(qRed(in[x]));
        out[x * kBytesPerPixel + 1] = static_cast<uchar>(qGreen(in[x]));
        out[x * kBytesPerPixel + 2] = static_cast<uchar>(qBlue(in[x]));
      }
    }
    image_ = std::move(rgb);
  } else {
    image_ = decoded.convertToFormat(QImage::Format_RGB888);
  }
  if (image_.isNull() && problem) *problem = say(kOutOfMemory);
  return !image_.isNull();
}

}  // namespace twr
