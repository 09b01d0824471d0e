// Background pictures read and decoded within fixed limits, the same for
// every format and for every way a picture comes in (a layout's BgImage, a
// design's own picture, a picture dropped on the layout designer or chosen
// there, `twr`): the file's size, an SVGZ's text once inflated, the pixels
// a header declares, whether the file is long enough for them, and what an
// SVG draws are all checked before anything is decoded. What the image
// libraries say while decoding never reaches the terminal: it becomes the
// reason a picture is refused, or is dropped.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>

namespace twr {

// A background picture's file is at most 64 MiB, and an SVGZ's text, once
// inflated, too.
inline constexpr long long kMaxPictureBytes = 64LL * 1024 * 1024;
// A background picture has at most 64 megapixels (8192 x 8192) as its
// header or an SVG's size declares it; an SVG is drawn into at most that.
inline constexpr long long kMaxPicturePixels = 64LL * 1024 * 1024;
inline constexpr int kMaxSvgDrawSide = 8192;
// An SVG has at most this many elements, each repeat of a <use> counted
// with all it repeats, nested at most kMaxSvgDepth deep (repeats included).
inline constexpr long long kMaxSvgElements = 200000;
inline constexpr int kMaxSvgDepth = 128;
// What an SVG's shapes paint on the label, found by drawing it once onto
// nothing before it is drawn (a fill counted by the rectangle around it, an
// outline by its length times the pen's width): at most 256 times the
// label's area and 1024 megapixels in all. This bounds the drawing's time.
inline constexpr int kMaxSvgCover = 256;
inline constexpr long long kMaxSvgPaintedPixels = 1024LL * 1024 * 1024;

struct PictureRequest {
  // The side of the square an SVG is drawn into: the label's side, at most
  // kMaxSvgDrawSide. 0: the SVG's own size. Pixel pictures keep their own
  // size whatever it says.
  int drawSide = 0;
  // What is wrong in the user's language; false: in English (a problem
  // kept in a file).
  bool translated = true;
};

struct DecodedPicture {
  QImage image;        // Format_RGB888: the colour channels, alpha dropped
  std::string format;  // as found: "png", "jpeg", "bmp", "gif", "tiff", "svg", "svgz", ...
};

// Reads a picture file whole: a regular file of 1 to kMaxPictureBytes
// bytes. A FIFO, socket, device or folder is refused without waiting on it.
// False with what is wrong in `problem` ("does not exist", "is a folder,
// not a picture", ...), worded to follow the file's name.
bool ReadPictureFile(const std::string& path, QByteArray& bytes, std::string& problem,
                     bool translated = true);

// The one decoder of background pictures. False, with `picture` emptied
// and what is wrong in `problem` (one line, to follow the picture's name:
// "is damaged or cut short", "is 9000 x 9000 pixels; ..."), for a picture
// past the limits above, cut off, damaged or in no format that can be read.
bool DecodePicture(const QByteArray& bytes, const PictureRequest& request, DecodedPicture& picture,
                   std::string& problem);

}  // namespace twr
