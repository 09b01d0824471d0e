// What a rendered label leaves out or changes without being asked, as data
// for a front end to show: a layout the renderer cannot draw (a settings
// section edited by hand, a ring band narrowed by the burning area), a
// background picture that could not be used,
// texts cut by a box's MaxNum, note lines past the tenth, boxes or ring
// text lying wholly outside the band that is burned, and boxes or ring text
// reaching under the hub (inside the band's inner radius), a QR code that is
// not drawn or too fine to etch legibly. No widgets; `twr`
// prints them, the window program can list them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twr {

class CELLayout;

struct LabelWarning {
  enum class Kind {
    NotDrawn,          // the layout is outside what the renderer draws: no label
    Background,        // the picture could not be used; the BgColor fill is drawn
    TextCut,           // a text longer than its box's MaxNum
    NoteLinesLeftOut,  // note lines past the tenth
    BoxOutsideBand,    // a box with text that no burned circle crosses
    RingOutsideBand,   // ring text that no burned circle crosses
    UnderHub,          // a box with text, or the ring text, reaching inside the
                       // band's inner radius: that part is not burned
    QrNotDrawn,        // a QR text longer than a code holds: no code is drawn
    QrModulesSmall,    // the QR code's modules finer than the burn etches legibly
  };
  Kind kind;
  std::string text;  // one sentence, for a person
};

// The band a burn would etch, in millimetres from the centre.
struct LabelBand {
  double inner = 0.0;
  double outer = 0.0;
};

// Looks at the layout, texts and background of the last render of `layout`.
// `typedNote` is the note as typed (lines split at LF, any number of them),
// before it was cut into the ten lines the renderer draws.
std::vector<LabelWarning> CheckLabel(const CELLayout& layout, std::string_view typedNote,
                                     const LabelBand& band);

// The QR box's modules against the smallest one a burn etches legibly
// (`smallestModuleMm`, burn/BurnPlan's SmallestLegibleQrModuleMm of the
// burn's plan); `quality` names the quality in the sentence. Empty without a
// drawn QR code or when its modules are large enough.
std::vector<LabelWarning> CheckQrModules(const CELLayout& layout, double smallestModuleMm,
                                         std::string_view quality);
// The width of one of the QR box's modules on the label in millimetres as
// drawn (whole label pixels each); 0 without a drawn code.
double QrModuleMm(const CELLayout& layout);

// The part of the last render of `layout` that draws label pixel (x, y): a box
// with its text, the ring text, or the background (its fill or picture).
enum class LabelPart { TitleBox, DateBox, NoteBox, QrBox, RingText, Background };
LabelPart LabelPartAt(const CELLayout& layout, int x, int y);
// "the title box", "the ring text", ... in the user's language.
std::string LabelPartName(LabelPart part);
// Its name in machine-readable output: "title", "date", "note", "ring", "background".
const char* LabelPartId(LabelPart part);

}  // namespace twr
