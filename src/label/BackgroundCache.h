// Decoded and stretched background pictures, kept while the file is
// unchanged so that the once-a-second preview refresh does not decode again.
#pragma once

#include <QDateTime>
#include <QImage>

#include <string>

#include "label/ImageBuffer.h"

namespace twr {

class BackgroundCache {
 public:
  // Draws the background picture over the whole target. False (target
  // untouched) when the file is missing or cannot be decoded.
  bool StretchOnto(const std::string& path, ImageBuffer& target);

 private:
  struct Scaled {
    QSize size;
    QImage image;
  };
  bool Refresh(const std::string& path);

  std::string path_;
  QDateTime modified_;
  qint64 bytes_ = -1;
  bool decoded_ = false;
  ImageBuffer source_;
  // The last two target sizes (label and preview).
  Scaled scaled_[2];
  int nextSlot_ = 0;
};

}  // namespace twr
