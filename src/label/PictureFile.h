// Pictures written by `twr` and the window program: the format the file
// name's extension names (PNG, JPEG, BMP, TIFF), the printed size recorded
// in the file so that the picture prints at 1:1, and no half-written file
// left behind.
#pragma once

#include <QImage>

#include <string>

namespace twr {

// The extensions taken, for messages.
inline constexpr const char* kPictureExtensions = ".png, .jpg, .jpeg, .bmp, .tif or .tiff";

// "PNG", "JPEG", "BMP" or "TIFF" for the file name's extension (any case);
// empty for any other.
std::string PictureFormatFor(const std::string& path);

// Writes the picture in the format of its extension, recording that it is
// `millimetresAcross` wide. The file is replaced only once it is written
// whole. False, with the reason in `problem`, otherwise.
bool WritePicture(QImage image, const std::string& path, double millimetresAcross,
                  std::string& problem);

}  // namespace twr
