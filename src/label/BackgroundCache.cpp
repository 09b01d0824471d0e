// Background picture cache.
#include "label/BackgroundCache.h"

#include <QFileInfo>
#include <QString>

namespace twr {

bool BackgroundCache::Refresh(const std::string& path, int labelSide) {
  asked_ = path;
  const QFileInfo info(QString::fromStdString(path));
  // Only a regular file is decoded; ImageBuffer::Load says what else it is
  // without waiting on it (a FIFO would block a plain open).
  if (!info.isFile()) {
    path_.clear();
    decoded_ = false;
    source_.Load(path, &problem_, labelSide);
    return false;
  }
  const QDateTime modified = info.lastModified();
  const qint64 bytes = info.size();
  if (path == path_ && modified == modified_ && bytes == bytes_ && (!drawn_ || labelSide == side_))
    return decoded_;
  path_ = path;
  modified_ = modified;
  bytes_ = bytes;
  side_ = labelSide;
  for (Scaled& s : scaled_) s = {};
  problem_.clear();
  QByteArray data;
  std::string format;
  PictureRequest request;
  request.drawSide = labelSide;
  decoded_ =
      ReadPictureFile(path, data, problem_) && source_.Decode(data, request, &problem_, &format);
  if (!decoded_) source_.Destroy();
  drawn_ = decoded_ && (format == "svg" || format == "svgz");
  return decoded_;
}

void BackgroundCache::StretchThrough(const QImage& source, Scaled (&scaled)[2], int& nextSlot,
                                     ImageBuffer& target) {
  const QSize size(target.Width(), target.Height());
  for (const Scaled& s : scaled) {
    if (s.size == size) {
      target.StretchFrom(s.image);
      return;
    }
  }
  target.StretchFrom(source);
  scaled[nextSlot] = {size, target.Image()};
  nextSlot = (nextSlot + 1) % 2;
}

bool BackgroundCache::StretchOnto(const std::string& path, int labelSide, ImageBuffer& target) {
  if (!target.Exists() || !Refresh(path, labelSide)) return false;
  StretchThrough(source_.Image(), scaled_, nextSlot_, target);
  return true;
}

bool BackgroundCache::StretchPictureOnto(const std::string& key, const QImage& picture,
                                         ImageBuffer& target) {
  if (!target.Exists() || picture.isNull()) return false;
  if (key != givenKey_) {
    givenKey_ = key;
    for (Scaled& s : givenScaled_) s = {};
  }
  StretchThrough(picture, givenScaled_, givenNextSlot_, target);
  return true;
}

const QImage* BackgroundCache::Decoded(const std::string& path) const {
  return path == path_ && decoded_ && source_.Exists() ? &source_.Image() : nullptr;
}

bool BackgroundCache::MakeStretched(const std::string& path, int labelSide, int width, int height,
                                    ImageBuffer& target) {
  if (!Refresh(path, labelSide)) return false;
  const QSize size(width, height);
  for (const Scaled& s : scaled_) {
    if (s.size == size) {
      target.Adopt(s.image);
      return target.Exists();
    }
  }
  ImageBuffer stretched;
  if (!stretched.Create(width, height)) return false;
  stretched.StretchFrom(source_.Image());
  scaled_[nextSlot_] = {size, stretched.Image()};
  nextSlot_ = (nextSlot_ + 1) % 2;
  target = std::move(stretched);
  return true;
}

std::string BackgroundCache::Signature(const std::string& path, int labelSide) {
  if (!Refresh(path, labelSide)) return "unusable\n" + problem_;
  return std::to_string(modified_.toMSecsSinceEpoch()) + "\n" + std::to_string(bytes_);
}

std::string BackgroundCache::ProblemWith(const std::string& path) const {
  return path == asked_ ? problem_ : std::string();
}

}  // namespace twr
