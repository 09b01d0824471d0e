// What a rendered label leaves out or changes without being asked, as data
// for a front end to show: a layout the renderer cannot draw (a settings
// section edited by hand, a ring band narrowed by the burning area), a
// background picture that could not be used,
// texts cut by a box's MaxNum, note lines past the tenth, boxes or ring
// text lying wholly outside the band that is burned, and boxes or ring text
// reaching under the hub (inside the band's inner radius). No widgets; `twr`
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

// The part of the last render of `layout` that draws label pixel (x, y): a box
// with its text, the ring text, or the background (its fill or picture).
enum class LabelPart { TitleBox, DateBox, NoteBox, RingText, Background };
LabelPart LabelPartAt(const CELLayout& layout, int x, int y);
// "the title box", "the ring text", ... in the user's language.
std::string LabelPartName(LabelPart part);
// Its name in machine-readable output: "title", "date", "note", "ring", "background".
const char* LabelPartId(LabelPart part);

}  // namespace twr
