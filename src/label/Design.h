// The design file (.twrlabel): a LabelDocument as one self-contained file,
// everything needed to burn the same label again on another machine: the
// texts as typed, a full copy of the layout record, the background
// picture's own bytes, the font face, the burning area, Rimtone mode and
// the quality. The format is
// JSON text, versioned (docs/design-format.md). The reader checks before it
// trusts and refuses what it cannot use with one sentence; the writer
// replaces the file atomically. No widgets; the window program and `twr`
// share it.
#pragma once

#include <QByteArray>
#include <QImage>

#include <string>
#include <string_view>
#include <vector>

#include "label/LabelDocument.h"
#include "label/PictureDecode.h"

namespace twr {

class CELLayout;
class JsonWriter;
class LabelTexts;

inline constexpr const char* kDesignExtension = ".twrlabel";
inline constexpr const char* kDesignMimeType = "application/x-titlewright-label";
// The "format" member that names a design file, and the version written.
inline constexpr const char* kDesignFormatName = "titlewright-label";
inline constexpr int kDesignVersion = 1;

// A design's picture is a background picture within the limits of every
// one (64 MiB, label/PictureDecode.h). A design file is at most 128 MiB:
// the picture's base64 lines (four characters for three bytes, 76 a line
// with their indent and quotes) take at most 97 MiB and everything else
// a few kilobytes, so a design that can be saved can always be read.
inline constexpr long long kMaxDesignFileBytes = 128LL * 1024 * 1024;
inline constexpr long long kMaxDesignPictureBytes = kMaxPictureBytes;
// The longest picture name kept (the name is only shown).
inline constexpr std::size_t kMaxDesignPictureName = 255;

// What in the design a file cannot hold or the reader would refuse, as one
// sentence ("the title is 300 bytes long; ..."); empty when it can be saved.
std::string CheckDesign(const LabelDocument& design);

// The design as the text of its file (UTF-8 JSON, the picture last).
std::string DesignText(const LabelDocument& design);
// The design's "layout" object as its file holds it: the layout's name,
// then its numbers in the order of a settings section (its picture is the
// design's background). `twr design show --json` lists it the same way.
void WriteDesignLayout(JsonWriter& out, const LabelDocument& design);
// The "picture" member (placement and tone) as the file holds it.
void WriteDesignPicture(JsonWriter& out, const PictureSettings& picture);
// The "legibility" member as a design file holds it.
void WriteDesignLegibility(JsonWriter& out, const TextLegibility& legibility);

// Reads a design from the bytes of its file. Never crashes and never
// trusts: on any problem it returns false with one sentence in `problem`
// ("it is cut off ...", "it was written by a newer Titlewright ...",
// "its layout's BaseLength is 0; ...", "its background picture ... is
// damaged or cut short") and `design` is left as it was.
bool ParseDesign(std::string_view bytes, LabelDocument& design, std::string& problem);

// The file at `path`: a regular file of at most kMaxDesignFileBytes, read
// without waiting on a pipe or device, then ParseDesign.
bool LoadDesignFile(const std::string& path, LabelDocument& design, std::string& problem);
// Checks the design (CheckDesign) and writes it atomically
// (ReplaceFileAtomically: the old file stays whole until the new one is on
// disc, and keeps its owner and permissions). A text the reader would
// refuse as too large is never written.
bool SaveDesignFile(const std::string& path, const LabelDocument& design, std::string& problem);

// The background for a layout's BgImage path: none for an empty path, else
// the file's bytes as they are when the picture can be used (an SVG drawn
// at `labelSide`, the layout's BaseLength), or Unusable with the reason.
DesignBackground BackgroundFromFile(const std::string& path, int labelSide);

// The settings file's layout `index`, named `name`, becomes the document's
// layout: its record and its picture's own bytes (BackgroundFromFile), the
// record's BgImage then the picture's name.
void TakeSettingsLayout(const std::string& settingsPath, int index, std::string name,
                        LabelDocument& document);

// Puts the design's layout record and picture into the renderer as the
// layout kGivenLayout and makes its face the renderer's face. Render it then
// with kGivenLayout after SetBandRadii(innerRadius, outerRadius). The
// picture goes in placed and toned as design.picture says, fit to etch
// with `tone` (the burn's; without it, over the whole grey range).
void ApplyDesignLayout(const LabelDocument& design, CELLayout& layout, const EtchTone& tone = {});
// The design's texts into the main window's text model.
void ApplyDesignTexts(const LabelDocument& design, LabelTexts& texts);

// What a design used here will not show as it did where it was saved: its
// font face not installed, and (when its own layout is drawn) a picture
// that could not be used when it was saved. Sentences for a warning, for
// `twr` and the window program.
std::vector<std::string> DesignWarnings(const LabelDocument& design, bool ownLayout);

}  // namespace twr
