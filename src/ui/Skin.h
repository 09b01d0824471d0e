// The program's look: the colours of the three dialogs, the conversion from
// dialog units to pixels, and the skin pictures (SVG compiled into the
// program) rendered sharp at the screen's device pixel ratio.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include <vector>

class QWidget;

namespace twr::ui {

// The brush of each dialog: the colour under its static texts, which the
// background pictures carry at those places.
inline const QColor kMainBrush{197, 198, 206};
inline const QColor kConfigBrush{212, 215, 218};
inline const QColor kBurnBrush{198, 199, 207};  // 0x00CFC7C6 as red, green, blue
inline const QColor kStaticText{50, 50, 50};
// The disc name field of the burn dialog.
inline const QColor kDiscFieldFill{229, 230, 234};
// The accent of the skin: the progress bar and the keyboard-focus ring on
// the light panels; the stage accent is its light shade for the dark stage.
inline const QColor kAccent{74, 72, 168};
inline const QColor kStageAccent{169, 173, 245};
// Captions over the light panels, and the texts of disabled controls.
inline const QColor kCaptionText{63, 66, 77};
inline const QColor kDisabledText{134, 137, 150};

// Dialog templates are laid out in dialog units of the 8-point shell font
// (6 x 13 pixels to 4 x 8 units): 1.5 pixels across and 1.625 down, rounded
// to the nearest pixel.
QRect DialogRect(int x, int y, int width, int height);

// Names of the skin pictures.
namespace skin {
inline constexpr const char* kMainBackground = "bg151";
inline constexpr const char* kBurnBackground = "bg156";
inline constexpr const char* kBurnDataSideBackground = "bg161";
inline constexpr const char* kConfigBackground = "bg158";
}  // namespace skin

// The logical size of a skin picture (its size at a device pixel ratio of 1).
QSize SkinPictureSize(const QString& name);
// Whether the program carries this picture.
bool HasSkinPicture(const QString& name);
// The picture rendered for a device pixel ratio. A picture the program does
// not carry gives a plain placeholder of the right size, so a missing
// resource never leaves a window without its controls.
QPixmap SkinPicture(const QString& name, qreal devicePixelRatio);
// The picture for the screen the widget is on.
QPixmap SkinPicture(const QString& name, const QWidget* widget);

// The words of the pictures are drawn in the user's language: the words of
// the backgrounds translated in the "Skin" context (made smaller, then
// elided, where a translation is wider than the place it stands in), a
// button face with its button's own caption ("&Scan", "E&xit"), its mnemonic
// letter underlined. Where the words are those the picture carries, the
// picture is drawn as it stands.
QPixmap SkinFace(const QString& name, const QString& caption, qreal devicePixelRatio);
QPixmap SkinFace(const QString& name, const QString& caption, const QWidget* widget);

// How a button face lays out a caption: the icon and the words as one group
// centred on the face, the words smaller (down to 9 pixels) and then elided
// where the caption is too wide for the face.
struct FaceLayout {
  bool asDrawn = true;  // the caption is the picture's own word and mnemonic
  QString shown;        // the words drawn
  int pixels = 0;       // their size
  QRectF room;          // where icon and words may lie
  QRectF word;          // the words: their advance across, ascent to descent
  QRectF icon;          // the line icon (empty on the tiles)
  QRectF underline;     // the mnemonic's rule (empty without one)
  // The face's width: a 100 x 28 face grows to hold a caption at the size
  // of the other captions rather than shrinking it.
  double faceWidth = 0;
};
FaceLayout SkinFaceLayout(const QString& name, const QString& caption);
// The SVG drawn for a picture: a background with its words translated, a
// face (given a caption) with that caption; the picture's own bytes where
// nothing changes.
QByteArray SkinSvg(const QString& name, const QString& caption = QString());

// The type face of the windows' own texts (statics, lists, edits).
QFont DialogFont();
// The contrast ratio of two colours as the accessibility guidelines define
// it, from 1 (the same) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);
// The focus ring's colour over these background colours: the accent or the
// stage accent, whichever stands out more against the least contrasting one.
QColor FocusRingColour(const std::vector<QColor>& background);
// Palette and font for the windows: highlight in the accent, statics in
// dark grey on the dialog's brush, the texts of disabled controls (check
// boxes, lists, buttons, edits) greyed.
void ApplySkinPalette(QWidget* dialog, const QColor& brush);

}  // namespace twr::ui
