// The renderer: holds the current layout and the label texts and draws the
// full-size label image that the burn samples and the on-screen preview,
// and paints the same label onto any painter for export.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "label/BackgroundCache.h"
#include "label/ImageBuffer.h"
#include "label/LabelDocument.h"
#include "label/LabelFont.h"
#include "label/LayoutSettings.h"
#include "label/QrCode.h"
#include "label/RingText.h"
#include "label/TextLegibility.h"

class QPainter;

namespace twr {

// Labels larger than this are refused: the render fails as for BaseLength 0.
// 10000 pixels across 116 mm is 86 pixels per millimetre, finer than any
// burn samples the label (the example drive's 8820 samples per circle are
// 41 um apart on the outermost circle, 24 per millimetre). At this side the
// label takes 300 MB and the widest ring strip (33 mm, pi x 10000 by 2844
// pixels) 270 MB, and a full render stays within a couple of seconds; at
// 20000 the two took over 2 GB together and half a minute.
inline constexpr int kMaxBaseLength = 10000;
// Ring strips thinner than this many label pixels carry no ring text: the
// render draws the background only and fails (label/LayoutDefinition's
// limits keep layouts clear of it).
inline constexpr int kMinStripHeight = 10;

// The height in label pixels of the ring strip of a ring band `bandMm` thick
// on a label `side` pixels across, whole pixels as drawn.
inline int RingStripHeight(int side, double bandMm) {
  return static_cast<int>(side * bandMm * (1.0 / kLabelWidthMm));
}

// The layout index that stands for a layout record given to the renderer
// (a design's own copy, UseGivenLayout) rather than a [LayoutNN] section.
inline constexpr int kGivenLayout = -1;

struct BandRadii {
  double inner = 0.0;  // mm
  double outer = 0.0;  // mm
};

// What Render draws of a label document.
struct DocumentRender {
  bool label = true;    // the full-size label, into LabelImage
  int previewSide = 0;  // a preview this many pixels square, into PreviewImage; 0: none
  // The disc of a series the label is for, for the number fields {n} and {N}.
  int discNumber = 1;
  int discCount = 1;
  // How the burn turns greys into marks, for a picture fit to etch; not
  // known: fit to the whole grey range.
  EtchTone tone;
};

class BoxSurface;

class CELLayout {
 public:
  // Reads the font setting at once (the system's sans-serif face when empty).
  explicit CELLayout(std::string settingsPath = kSettingsPath);
  CELLayout(const CELLayout&) = delete;
  CELLayout& operator=(const CELLayout&) = delete;

  // Label texts (UTF-8), assigned by the caller before each render.
  std::string Title;
  std::string Date;
  NoteLineArray NoteLines;
  // The QR box's text: no code is drawn without one (or with QrSize 0).
  std::string QrText;

  // Settings file.
  bool LoadLayoutNames(std::vector<std::string>& names) const;
  void LoadLayout(int index, bool keepRadii);
  std::string LoadFontSetting() const;
  // The face is used at once, also when writing the file fails.
  bool SaveFontSetting(const std::string& face);
  // The face for every text from now on, without writing the settings file
  // (a design's own face); empty for the system's sans-serif face.
  void UseFontFace(const std::string& face) { layout_.FontFace = face; }

  // Makes `record` the layout kGivenLayout: LoadLayout(kGivenLayout, ...)
  // and the renders of that index take it as LoadLayout takes a section
  // (every field but FontFace; with keepRadii the ring length, radii and
  // ring band held stay). Its background is `picture` instead of a file:
  // with BgImage empty the label starts black, with BgImage set and a null
  // picture it is filled with BgColor, as for a picture that cannot be used.
  void UseGivenLayout(const LayoutRecord& record, const QImage& picture);

  // The document's layout record and picture as the layout kGivenLayout
  // (the picture placed and toned as the document says, fit to etch with
  // `tone`), its face and its legibility. The placed picture is kept: the
  // same record and picture again with the same placement and tone (a
  // document that changed only its texts or area) goes in as it is.
  void UseDocument(const LabelDocument& document, const EtchTone& tone = {});
  // Renders `document` as it stands: its texts (the note's folders first,
  // {n} and {N} filled in), its layout and picture (UseDocument) and its
  // burning area. Reads no file and writes no setting; what the last
  // render drew (the placed picture, the background, the ring text) is
  // reused where it still holds. False when the layout cannot be drawn.
  bool Render(const LabelDocument& document, const DocumentRender& how);

  // Which boxes keep no fill and which texts get a halo, for every render
  // from now on (a label document's choice; plain: as the layout draws).
  void UseLegibility(const TextLegibility& legibility) { legibility_ = legibility; }
  const TextLegibility& Legibility() const { return legibility_; }

  // Full-size render into LabelImage.
  bool RenderLabel(int index, bool keepRadii);
  // Preview render into PreviewImage of width x height.
  bool RenderPreview(int index, int width, int height, bool keepRadii);

  // A layout made in memory instead of read from the settings file (the
  // layout designer's): the renders below draw it as it is. FontFace stays.
  void UseLayout(const LayoutRecord& record);
  // RenderLabel and RenderPreview of the layout held now, without reading
  // the settings file.
  bool RenderCurrentLabel();
  bool RenderCurrentPreview(int width, int height);

  BandRadii GetBandRadii() const { return {layout_.InnerRadius, layout_.OuterRadius}; }
  // Radii chosen by the user; no range check here.
  void SetBandRadii(double inner, double outer);

  // Draws the label of the last RenderLabel onto any painter (a PDF page,
  // an SVG drawing) with one label pixel `scale` painter units wide, through
  // the same steps as the label image: the background picture at its own
  // resolution, at most the label's (or the fill), the ring text as the
  // picture of its mapped pixels, the boxes' fills and their texts as text,
  // fitted and placed as in the label image, clipped to the label's square.
  // The texts are those of the renderer now. False when there is no label
  // image.
  bool PaintLabel(QPainter& painter, double scale);

  // The once-a-second preview refresh, with the state of the last RenderPreview.
  bool ClearPreview(int width, int height);
  bool DrawTitlePreview();
  bool DrawDatePreview();
  bool DrawNotePreview();
  bool DrawRingPreview();
  bool DrawQrPreview();

  // The code of QrText as the QR box draws it (empty when there is none or
  // the text is longer than a code holds).
  const QrCode& QrSymbol() const;
  // Whether the layout has a QR box and there is a text for it.
  bool QrWanted() const { return layout_.Qr.Size > 0 && !QrText.empty(); }

  const ImageBuffer& LabelImage() const { return labelImage_; }
  const ImageBuffer& PreviewImage() const { return previewImage_; }
  // The label image as the burn samples it (Format_RGB888): an implicitly
  // shared copy that later renders leave alone; a null image when there is
  // none.
  QImage LabelImageData() const { return labelImage_.Exists() ? labelImage_.Image() : QImage(); }

  const LayoutRecord& Layout() const { return layout_; }
  const std::string& FontFace() const { return layout_.FontFace; }
  int StripWidth() const { return stripWidth_; }
  int StripHeight() const { return stripHeight_; }
  double PreviewScale() const { return previewScale_; }
  const RingAngleTable& AngleTable() const { return angles_; }
  const ImageBuffer& RingStrip() const { return ringStrip_; }
  const ImageBuffer& PreviewRingStrip() const { return previewStrip_; }
  const std::string& SettingsPath() const { return settingsPath_; }
  // Ring texts the last layout of the label's strip copied from the one
  // before instead of drawing them (tests, measurements).
  int RingTextsCopied() const { return ringStamps_.Copied(); }
  // The background pictures of the renders so far (and what was wrong).
  const BackgroundCache& Background() const { return background_; }
  // The file the picture of the document in use was read from when it could
  // not be used (its layout's BgImage), and what is wrong with it, asked
  // once when the document came; empty otherwise.
  std::string UnusedPictureSource() const {
    return givenInUse_ ? givenUnusedSource_ : std::string();
  }
  std::string UnusedPictureProblem() const {
    return givenInUse_ ? givenUnusedProblem_ : std::string();
  }

 private:
  enum class BoxKind { Title, Date, Note };

  bool SideIsUsable() const;
  bool DrawBackground(ImageBuffer& target, int width, int height);
  // PaintLabel's steps (CELLayoutPaint.cpp).
  void PaintBackground(QPainter& painter, int side);
  void PaintRingText(QPainter& painter, int side);
  void PaintQr(QPainter& painter);
  void ComputeStripSize();
  RingTexts Texts() const { return {Title, Date, NoteLines}; }
  // What the layout stage of a strip depends on, as one text.
  std::string StripKey(const StripGeometry& geometry) const;
  // Lays the ring texts out on `strip` (width x height), unless it already
  // holds them as `key` says; `key` then describes what it holds.
  void LayOutStrip(ImageBuffer& strip, std::string& key, const StripGeometry& geometry, int width,
                   int height);
  // The halo around the ring texts just laid out on a strip.
  void HaloOnStrip(ImageBuffer& strip, const StripGeometry& geometry) const;
  // The background and the ring text of a render, kept with everything they
  // were drawn from, so that a render that changes only the boxes (a box
  // moved, or the same texts again) starts from them. They are kept as the
  // render's finished picture (shared, not copied) with the pixels that its
  // boxes covered.
  struct BaseMemo {
    struct Patch {
      int x = 0;
      int y = 0;
      ImageBuffer pixels;
    };
    std::string key;           // "" when unknown
    ImageBuffer image;         // the finished render
    std::vector<Patch> under;  // what the boxes covered, in drawing order
  };
  std::string BaseKey(const ImageBuffer& target, int width, int height, double side,
                      const StripGeometry& geometry, int steps);
  // Starts `target` from the memo when it holds this key (the finished
  // picture with what its boxes covered put back); true then.
  bool StartFromBase(BaseMemo& memo, const std::string& key, ImageBuffer& target);
  // The target now holds a new base of this key; its boxes follow.
  void NewBase(BaseMemo& memo, std::string key);
  // The boxes are drawn: the memo keeps the finished picture.
  void FinishBase(BaseMemo& memo, const ImageBuffer& target);
  // A box's drawn part onto the target, keeping what it covers while a
  // render records its base.
  void PasteBox(ImageBuffer& target, int x, int y, const ImageBuffer& part);
  // The preview's three boxes after its base, recorded in the memo.
  bool DrawPreviewBoxes(BaseMemo& memo);
  LabelFontCache& Fonts();
  // One box onto the target; `scale` 1 for the label, PreviewScale for the preview.
  void DrawBox(ImageBuffer& target, BoxKind kind, double scale);
  bool DrawBoxPreview(BoxKind kind);
  // The part of a box last drawn on a target, and what it was drawn from.
  struct BoxMemo {
    std::string key;  // "" when unknown
    ImageBuffer part;
    int x = 0;
    int y = 0;
  };
  std::string BoxKey(const LayoutBox& box, BoxKind kind, const ImageBuffer& target, int W, int H,
                     int X, int Y) const;
  // The box of `kind` with its size and place on a target `scale` times the
  // label's size; false for a box that is not drawn.
  bool BoxPlace(BoxKind kind, double scale, const LayoutBox*& box, int& W, int& H, int& X,
                int& Y) const;
  // A box's fill and texts, fitted and placed, onto a surface: the one
  // drawing routine of every target.
  void DrawSingleLineBox(BoxSurface& canvas, BoxKind kind, const LayoutBox& box,
                         const std::string& text, int W, int H);
  void DrawNoteBox(BoxSurface& canvas, const LayoutBox& box, int W, int H);
  // Begins a box of `kind` on the canvas with the layout's colours and the
  // label's legibility.
  void BeginBox(BoxSurface& canvas, BoxKind kind) const;
  static bool BoxIsWhole(const ImageBuffer& target, int W, int H, int X, int Y);
  // The QR box onto the target: white with black modules on whole pixels.
  void DrawQr(ImageBuffer& target, double scale);

  std::string settingsPath_;
  LayoutRecord layout_;
  TextLegibility legibility_;
  ImageBuffer labelImage_;
  ImageBuffer previewImage_;
  ImageBuffer ringStrip_;
  ImageBuffer previewStrip_;
  std::string ringStripKey_;  // what the strips hold ("" when unknown)
  std::string previewStripKey_;
  TextStamps ringStamps_;          // the large texts last laid out on the label's strip
  BaseMemo baseMemos_[2];          // [label, preview]
  BaseMemo* recording_ = nullptr;  // the memo whose boxes are being drawn
  BoxMemo boxMemos_[2][3];         // [label, preview][title, date, note]
  // The code of the text last encoded.
  mutable std::string qrEncoded_;
  mutable QrCode qr_;
  int stripWidth_ = 0;
  int stripHeight_ = 0;
  RingAngleTable angles_;
  double previewScale_ = 0.0;
  LabelFontCache fonts_;
  BackgroundCache background_;
  // The layout given with UseGivenLayout, and whether layout_ holds it.
  LayoutRecord given_;
  QImage givenPicture_;
  std::string givenKey_;  // names the given picture in background_
  int givenSerial_ = 0;
  bool hasGiven_ = false;
  bool givenInUse_ = false;
  // What the given layout of the last UseDocument was made from.
  struct DocumentSource {
    LayoutRecord record;
    DesignBackground::Kind kind = DesignBackground::Kind::None;
    qint64 picture = 0;  // the decoded picture's cacheKey
    PictureSettings settings;
    EtchTone tone;
    bool operator==(const DocumentSource&) const = default;
  };
  DocumentSource documentSource_;
  bool hasDocumentSource_ = false;
  // The document's picture toned at its own size, for the picture, tone
  // settings and etch of `tonedFrom_` (placement plain): a picture moved
  // or zoomed is only placed again.
  DocumentSource tonedFrom_;
  QImage toned_;
  std::string givenUnusedSource_;
  std::string givenUnusedProblem_;
};

}  // namespace twr
