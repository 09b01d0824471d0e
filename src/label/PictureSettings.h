// A label's own picture as it goes onto the label: where it lies (stretched
// over the square as a layout's BgImage is, fitted whole, or filling the
// square and cropped; turned by quarter turns, panned and zoomed) and its
// tone for the etch (brightness, contrast, gamma, black and white points,
// invert, and "fit to etch": the picture's own range of greys mapped onto
// the greys a burn's quality can tell apart). Everything happens to the
// picture before the renderer draws it; with every setting plain the
// picture is handed on untouched, so the label's bytes stay as they were.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <string>
#include <string_view>

namespace twr {

enum class PictureFit { Stretch, Fit, Fill };
enum class PictureTone { None, Auto };

// "stretch", "fit", "fill"; "none", "auto".
const char* PictureFitName(PictureFit fit);
bool ParsePictureFit(std::string_view name, PictureFit& fit);
const char* PictureToneName(PictureTone tone);
bool ParsePictureTone(std::string_view name, PictureTone& tone);

// The limits of each setting (the design reader and `twr` check them).
inline constexpr double kMaxPictureZoom = 8.0;
inline constexpr double kMaxPicturePan = 1.0;  // label widths either way
inline constexpr int kMaxPictureBrightness = 100;
inline constexpr int kMaxPictureContrast = 100;
inline constexpr double kMinPictureGamma = 0.1;
inline constexpr double kMaxPictureGamma = 10.0;

struct PictureSettings {
  PictureFit fit = PictureFit::Stretch;
  int quarterTurns = 0;  // 0 ... 3, clockwise
  // Where the picture's centre lies from the label's centre, in label
  // widths (right and down), and how much larger than its fit it is drawn.
  double panX = 0.0;
  double panY = 0.0;
  double zoom = 1.0;  // 1 ... kMaxPictureZoom
  PictureTone tone = PictureTone::None;
  int brightness = 0;  // -100 ... 100: added, in hundredths of the grey range
  int contrast = 0;    // -100 ... 100: the slope about mid-grey, 4^(contrast / 100)
  double gamma = 1.0;  // kMinPictureGamma ... kMaxPictureGamma; above 1 lightens the mid-greys
  int black = 0;       // 0 ... 254: this grey and darker become black
  int white = 255;     // black + 1 ... 255: this grey and lighter become white
  bool invert = false;

  bool operator==(const PictureSettings&) const = default;
  // The picture lies as a layout's BgImage does: stretched, untouched.
  bool PlainPlacement() const;
  // The picture's greys are left as they are.
  bool PlainTone() const;
  bool Plain() const { return PlainPlacement() && PlainTone(); }
};

// What is out of range, as one sentence ("the zoom 9 is not within 1 to
// 8"); empty when every setting is usable.
std::string CheckPictureSettings(const PictureSettings& settings);

// How a burn turns a label's grey into marks: for each grey g (a pixel
// with red, green and blue g) the level the encoder gives it; a sample
// leaves fullMarks - level of fullMarks dots over its passes, none from
// fullMarks on. Filled from a burn plan (burn/MarkedBand's EtchToneOf);
// `known` false when no plan is at hand.
struct EtchTone {
  bool known = false;
  std::array<int, 256> levelOfGrey{};
  int fullMarks = 0;
  bool operator==(const EtchTone&) const = default;
  // The lightest grey that marks at all (-1: none does).
  int LightestMarkingGrey() const;
  // How many different darknesses the greys give (unmarked included).
  int DistinctMarks() const;
};

// The grey each input grey (the luma of a pixel) becomes under `settings`'
// tone for a picture whose greys are counted in `histogram` (256 counts of
// its luma): the manual adjustments, then with Auto the adjusted picture's
// range (its 1st to 99th percentile) spread over what `tone` marks, evenly
// in darkness; without a known tone over the whole 0 ... 255.
std::array<std::uint8_t, 256> PictureToneTable(const PictureSettings& settings,
                                               const std::array<long long, 256>& histogram,
                                               const EtchTone& tone);

// ---- Placing the picture by hand (a drag or the wheel on the preview) ----------

// How much one notch of the wheel (or Zoom In) zooms.
inline constexpr double kPictureZoomStep = 1.25;

// Where the picture lies on the label under `settings`, in label widths
// from the label's top left corner (the label is 0 ... 1 across and down),
// for a picture `size` pixels before its quarter turns. It may reach past
// the label; empty for an empty size.
QRectF PlacedPictureRect(const PictureSettings& settings, QSizeF size);

// The settings with the picture dragged by `delta` pixels of a view that
// shows the label `shownSide` pixels across: the pan follows the pointer,
// held within kMaxPicturePan either way.
PictureSettings PanPictureBy(const PictureSettings& settings, QPointF delta, double shownSide);

// The settings zoomed by `factor` about `point` (label widths from the
// label's top left corner): the zoom held within 1 ... kMaxPictureZoom, and
// the part of the picture under `point` stays under it unless the pan's
// limits stop it.
PictureSettings ZoomPictureAbout(const PictureSettings& settings, double factor, QPointF point);

// The zoom factor of a wheel turned by `angleDelta` eighths of a degree
// (120 a notch; a touchpad's smaller steps zoom less): kPictureZoomStep a
// notch, below 1 when turned towards the user.
double WheelZoomFactor(int angleDelta);

// The picture as it goes onto a label `side` pixels square: `picture`
// itself when the settings are plain; else placed as the settings say on a
// square of `side` filled with `margin` (the tone applied, in greys, when
// it is not plain; RGB32, the same colours as RGB888). Only the tone: the
// picture at its own size, for the renderer to stretch. A null picture
// stays null.
QImage PreparePicture(const QImage& picture, const PictureSettings& settings, int side,
                      const EtchTone& tone, QColor margin);

// PreparePicture in two steps, for a picture placed again and again with
// the same tone (a drag): the picture toned at its own size (`picture`
// itself when the tone is plain), and the settings that place that toned
// picture (the tone plain). PreparePicture(TonedPicture(p, s, t),
// PlacementOf(s), ...) gives what PreparePicture(p, s, ...) does.
QImage TonedPicture(const QImage& picture, const PictureSettings& settings, const EtchTone& tone);
PictureSettings PlacementOf(const PictureSettings& settings);

}  // namespace twr
