// Decoded and stretched background pictures, kept while the file is
// unchanged so that the once-a-second preview refresh does not decode again,
// and what was wrong with a picture that could not be used.
#pragma once

#include <QDateTime>
#include <QImage>

#include <string>

#include "label/ImageBuffer.h"

namespace twr {

class BackgroundCache {
 public:
  // Draws the background picture over the whole target. False (target
  // untouched) when the file is missing or cannot be decoded. An SVG is
  // drawn at `labelSide` (the label's side), then stretched as any picture.
  bool StretchOnto(const std::string& path, int labelSide, ImageBuffer& target);
  // The same for a target made here, width x height, holding the picture
  // as StretchOnto would leave it on a new (black) buffer; it shares the
  // kept picture until it is drawn on. False, leaving `target` alone, as
  // for StretchOnto.
  bool MakeStretched(const std::string& path, int labelSide, int width, int height,
                     ImageBuffer& target);

  // Draws a picture given already decoded (a design's own) over the whole
  // target, keeping the scaled copies as for a file; `key` names the
  // picture (another key, another picture). False for a null picture.
  bool StretchPictureOnto(const std::string& key, const QImage& picture, ImageBuffer& target);

  // The picture of `path` as decoded by the last StretchOnto, at its own
  // size; nullptr when that was another path or found no usable picture.
  const QImage* Decoded(const std::string& path) const;

  // Why the last StretchOnto of `path` found no usable picture ("does not
  // exist", "is a folder", ...); empty when it drew, or when `path` was not
  // the last one asked for.
  std::string ProblemWith(const std::string& path) const;

  // What a picture at `path` would draw now, as a text that changes when
  // the file does (its time and size), or says why it draws nothing. Asks
  // as StretchOnto does, so ProblemWith answers for it afterwards.
  std::string Signature(const std::string& path, int labelSide);

 private:
  struct Scaled {
    QSize size;
    QImage image;
  };
  bool Refresh(const std::string& path, int labelSide);
  // The whole source over the target through the two scaled copies.
  static void StretchThrough(const QImage& source, Scaled (&scaled)[2], int& nextSlot,
                             ImageBuffer& target);

  std::string path_;
  QDateTime modified_;
  qint64 bytes_ = -1;
  bool decoded_ = false;
  bool drawn_ = false;  // an SVG, drawn at side_: another side draws it again
  int side_ = 0;
  std::string asked_;    // the path of the last request
  std::string problem_;  // what was wrong with it
  ImageBuffer source_;
  // The last two target sizes (label and preview).
  Scaled scaled_[2];
  int nextSlot_ = 0;
  // The given picture's scaled copies.
  std::string givenKey_;
  Scaled givenScaled_[2];
  int givenNextSlot_ = 0;
};

}  // namespace twr
