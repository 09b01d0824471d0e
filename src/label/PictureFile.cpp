// Picture files in the format of their extension, at their true size, encoded
// in memory and written through the one atomic file writer.
#include "label/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "common/Translate.h"
#include "common/WholeFile.h"

namespace twr {

namespace {

constexpr double kMillimetresPerMetre = 1000.0;
constexpr int kJpegQuality = 95;

struct Extension {
  const char* suffix;
  const char* format;
};
constexpr Extension kExtensions[] = {
    {".png", "PNG"}, {".jpg", "JPEG"}, {".jpeg", "JPEG"},
    {".bmp", "BMP"}, {".tif", "TIFF"}, {".tiff", "TIFF"},
};

}  // namespace

std::string PictureFormatFor(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const Extension& e : kExtensions) {
    const std::string suffix = e.suffix;
    if (lower.size() > suffix.size() &&
        lower.compare(lower.size() - suffix.size(), suffix.size(), suffix) == 0)
      return e.format;
  }
  return {};
}

bool WritePicture(QImage image, const std::string& path, double millimetresAcross,
                  std::string& problem) {
  const std::string format = PictureFormatFor(path);
  if (format.empty()) {
    problem = Arg(Tr("PictureFile", "its name does not end in %1"), {kPictureExtensions});
    return false;
  }
  if (!QImageWriter::supportedImageFormats().contains(QByteArray(format.c_str()).toLower())) {
    problem = Arg(Tr("PictureFile",
                     "%1 pictures cannot be written on this system: install the Qt image format "
                     "plugins (Debian: qt6-image-formats-plugins)"),
                  {format});
    return false;
  }
  if (millimetresAcross > 0.0) {
    const int dotsPerMetre =
        static_cast<int>(std::lround(image.width() / (millimetresAcross / kMillimetresPerMetre)));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
  }
  // Encoded in memory first: a picture writer may not notice a failed write
  // (the PNG writer does not), the file writer checks every step.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, QByteArray(format.c_str()));
  if (format == "JPEG") writer.setQuality(kJpegQuality);
  if (!writer.write(image)) {
    problem = writer.errorString().toStdString();
    return false;
  }
  buffer.close();
  const FileWriteResult written = ReplaceFileAtomically(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  problem = written.problem;
  return written.ok;
}

}  // namespace twr
