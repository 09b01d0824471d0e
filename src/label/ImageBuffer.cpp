// 24-bit image buffers over QImage.
#include "label/ImageBuffer.h"

#include <QColor>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

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

bool ImageBuffer::Load(const std::string& path, std::string* problem, int drawSide) {
  image_ = QImage();
  std::string why;
  QByteArray bytes;
  if (!ReadPictureFile(path, bytes, why)) {
    if (problem) *problem = why;
    return false;
  }
  PictureRequest request;
  request.drawSide = drawSide;
  return Decode(bytes, request, problem);
}

bool ImageBuffer::Decode(const QByteArray& bytes, const PictureRequest& request,
                         std::string* problem, std::string* format) {
  image_ = QImage();
  DecodedPicture picture;
  std::string why;
  if (!DecodePicture(bytes, request, picture, why)) {
    if (problem) *problem = why;
    return false;
  }
  image_ = std::move(picture.image);
  if (format != nullptr) *format = picture.format;
  return true;
}

}  // namespace twr
