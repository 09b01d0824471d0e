// Arbitrary bytes as a layout's background picture, through the loading path
// the renderer uses (ImageBuffer::Load, its size guard included): a picture
// is either refused or decoded into a 24-bit buffer of a sane size.
#include <sys/mman.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "label/ImageBuffer.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QGuiApplication app(*argc, *argv);  // image format plugins
  // The decoders' complaints about broken files are expected by the
  // thousand; printing them would slow every run.
  QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("twr-fuzz-picture", MFD_CLOEXEC);
  if (fd < 0) return 0;
  if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) < 0)) return 0;
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  twr::ImageBuffer picture;
  if (!picture.Load(path)) {
    if (picture.Exists()) std::abort();  // a refused picture leaves no image
    return 0;
  }
  if (picture.Width() <= 0 || picture.Height() <= 0 || picture.Width() > twr::kMaxImageSide ||
      picture.Height() > twr::kMaxImageSide || picture.Image().format() != QImage::Format_RGB888)
    std::abort();
  // Read the corners as the stretch onto the label would.
  volatile std::uint32_t corner = picture.ReadPixel(picture.Width() - 1, picture.Height() - 1);
  (void)corner;
  return 0;
}
