// The label document: one label as a value, with its texts, its layout
// record and picture, its face, burning area, Rimtone mode and quality.
// The window's model, the designer, the burn and `twr` hold one and
// present it; label/Design.h keeps it in a file. No widgets.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>
#include <string_view>

#include "label/LayoutSettings.h"
#include "label/PictureSettings.h"
#include "label/RingText.h"
#include "label/TextLegibility.h"

namespace twr {

enum class DesignQuality { Draft, Normal, High };
// "draft", "normal", "high".
const char* DesignQualityName(DesignQuality quality);
bool ParseDesignQuality(std::string_view name, DesignQuality& quality);

// The background of a design.
struct DesignBackground {
  enum class Kind {
    None,      // the layout names no picture: the label starts black
    Picture,   // the picture itself
    Unusable,  // the layout named a picture that could not be used: BgColor fill
  };
  Kind kind = Kind::None;
  std::string name;     // the picture file's name, without its folder (shown only)
  QByteArray bytes;     // Picture: the file's bytes as they were
  std::string type;     // Picture: the format found, "png", "jpeg", ...
  std::string problem;  // Unusable: why ("does not exist", ...)
  QImage image;         // Picture: decoded as a layout's picture is (24-bit; an
                        // SVG drawn at the layout's BaseLength)
  std::string source;   // the file it was read from, as its layout named it;
                        // empty for a design's own (not kept in a design file)
  // The image is decoded from the bytes: the bytes say it all.
  bool operator==(const DesignBackground& other) const;
};

// One label: what the window, the designer, the burn and `twr` share. A
// value: copies are cheap (the picture's bytes and image are shared until
// one side changes them), and two documents are equal when a saved file
// of each would be the same.
struct LabelDocument {
  std::string title;
  std::string date;
  NoteLineArray notes;  // in the order typed; lines past the last one empty
  std::string qr;       // the QR box's text; files without it: none
  // The layout record: its own ring length and radii (whole millimetres,
  // as a settings section holds them) and the ring band they give; BgImage
  // is the picture's name (empty without a picture); FontFace is unused.
  LayoutRecord layout;
  std::string layoutName;
  std::string fontFace;                     // empty: the system's sans-serif face
  double innerRadius = kLowestInnerRadius;  // the burning area, mm
  double outerRadius = kHighestOuterRadius;
  // The band burnt is the narrowest that holds the label's marks at the
  // quality (within the drive's limits); innerRadius and outerRadius are
  // kept for a change back to the manual area. Files without it: manual.
  bool automaticArea = false;
  bool rimtone = false;
  DesignQuality quality = DesignQuality::Draft;
  DesignBackground background;
  // How the picture lies on the label and its tone for the etch. Files
  // without it: stretched, tone as it is.
  PictureSettings picture;
  // Which boxes let the picture show under their text and which texts get
  // a halo. Files without it: every box filled, no halo.
  TextLegibility legibility;

  bool operator==(const LabelDocument&) const = default;
};

// The note as the main window's edit holds it: the lines up to the last
// one with text, each ended by CR LF.
std::string DocumentNote(const LabelDocument& document);

}  // namespace twr
