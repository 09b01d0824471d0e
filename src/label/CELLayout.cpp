// The label renderer: background, ring text, the three fitted text boxes and
// the QR code box.
#include "label/CELLayout.h"

#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstring>
#include <numbers>

#include "common/Utf8.h"
#include "drive/DiscGeometry.h"
#include "label/BoxSurface.h"
#include "label/FitLoop.h"
#include "label/LabelFont.h"
#include "label/LabelTexts.h"

namespace twr {

namespace {

// Box fonts are never shrunk below this height.
constexpr int kMinBoxFontHeight = 6;
constexpr int kAlignCentre = 1;
constexpr int kAlignRight = 2;
constexpr int kTwoRowRingType = 2;

// The first MaxNum width units of a text (one a character, two a wide East
// Asian one), never splitting a character: a text of plain ASCII keeps its
// first MaxNum bytes.
std::string_view CutToMaxNum(const std::string& text, int maxNum) {
  return WidthPrefix(text, static_cast<std::size_t>(std::max(maxNum, 0)));
}

int AlignedStart(int align, int boxWidth, int textWidth) {
  if (align == kAlignCentre) return (boxWidth - textWidth) / 2;
  if (align == kAlignRight) return boxWidth - textWidth;
  return 0;
}

// trunc(value * scale), held within the int range.
int Scaled(int value, double scale) {
  const double scaled = value * scale;
  if (!(scaled > static_cast<double>(INT_MIN))) return INT_MIN;
  if (!(scaled < static_cast<double>(INT_MAX))) return INT_MAX;
  return static_cast<int>(scaled);
}

// The part of a box of `width` x `height` placed at (`boxX`, `boxY`) that
// lands on the target. A box may be far larger than the label or lie partly
// outside it, so only this part is allocated and drawn; it receives exactly
// the pixels that a whole-box image copied onto the target would leave there.
class BoxCanvas : public BoxSurface {
 public:
  BoxCanvas(const ImageBuffer& target, int width, int height, int boxX, int boxY)
      : target_(target) {
    if (width <= 0 || height <= 0) return;  // an empty box shows nothing
    const long long left = std::max<long long>(boxX, 0);
    const long long top = std::max<long long>(boxY, 0);
    const long long right =
        std::min<long long>(static_cast<long long>(boxX) + width, target.Width());
    const long long bottom =
        std::min<long long>(static_cast<long long>(boxY) + height, target.Height());
    if (left >= right || top >= bottom) return;
    // Box coordinates of the part's top-left corner.
    originX_ = left - boxX;
    originY_ = top - boxY;
    targetX_ = static_cast<int>(left);
    targetY_ = static_cast<int>(top);
    image_.Create(static_cast<int>(right - left), static_cast<int>(bottom - top));
  }

  bool Exists() const { return image_.Exists(); }

  void Begin(uint32_t background, uint32_t text, bool seeThrough, bool halo) override {
    if (seeThrough) {
      // The part starts as what lies under it on the target.
      const int bytes = image_.Width() * 3;
      for (int y = 0; y < image_.Height(); ++y)
        std::memcpy(image_.Row(y),
                    target_.Row(targetY_ + y) + static_cast<std::ptrdiff_t>(targetX_) * 3,
                    static_cast<std::size_t>(bytes));
    } else {
      image_.FillRect(0, 0, image_.Width(), image_.Height(), background);
    }
    image_.SetTextColor(text);
    if (halo) {
      // The texts are drawn as their coverage, laid on at End.
      coverage_ = QImage(image_.Width(), image_.Height(), QImage::Format_Grayscale8);
      coverage_.fill(0);
      haloRadius_ = 0;
    }
  }
  ImageBuffer& Measure() override { return image_; }
  void DrawText(long long x, long long y, std::string_view text) override {
    x -= originX_;
    y -= originY_;
    if (x < -kFarOffBox || y < -kFarOffBox || x >= image_.Width() || y >= image_.Height()) return;
    const LabelFont* font = image_.SelectedFont();
    if (coverage_.isNull() || font == nullptr) {
      image_.DrawText(static_cast<int>(x), static_cast<int>(y), text);
      return;
    }
    if (text.empty()) return;
    haloRadius_ = std::max(haloRadius_, HaloRadius(font->cellHeight));
    QPainter painter(&coverage_);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font->font);
    painter.setPen(Qt::white);
    painter.drawText(QPoint(static_cast<int>(x), static_cast<int>(y) + font->ascent),
                     QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  void End() override {
    if (coverage_.isNull()) return;
    PaintHaloText(image_, coverage_, image_.TextColor(), OppositeGrey(image_.TextColor()),
                  haloRadius_);
    coverage_ = QImage();
  }

  // Hands the drawn part over, with where it goes on the target.
  void Keep(ImageBuffer& part, int& x, int& y) {
    part = std::move(image_);
    x = targetX_;
    y = targetY_;
  }

 private:
  const ImageBuffer& target_;
  ImageBuffer image_;
  QImage coverage_;  // with a halo: the texts drawn so far
  int haloRadius_ = 0;
  long long originX_ = 0;
  long long originY_ = 0;
  int targetX_ = 0;
  int targetY_ = 0;
};

}  // namespace

CELLayout::CELLayout(std::string settingsPath) : settingsPath_(std::move(settingsPath)) {
  layout_.FontFace = twr::LoadFontSetting(settingsPath_);
  if (layout_.FontFace.empty()) layout_.FontFace = DefaultFontFace();
}

bool CELLayout::LoadLayoutNames(std::vector<std::string>& names) const {
  return twr::LoadLayoutNames(settingsPath_, names);
}

void CELLayout::LoadLayout(int index, bool keepRadii) {
  givenInUse_ = index == kGivenLayout && hasGiven_;
  if (!givenInUse_) {
    twr::LoadLayout(settingsPath_, index, keepRadii, layout_);
    return;
  }
  LayoutRecord record = given_;
  record.FontFace = layout_.FontFace;
  if (keepRadii) {
    record.RingLength = layout_.RingLength;
    record.InnerRadius = layout_.InnerRadius;
    record.OuterRadius = layout_.OuterRadius;
    record.RingBand = layout_.RingBand;
  }
  layout_ = std::move(record);
}

void CELLayout::UseGivenLayout(const LayoutRecord& record, const QImage& picture) {
  given_ = record;
  givenPicture_ = picture;
  givenKey_ = "given:" + std::to_string(++givenSerial_);
  hasGiven_ = true;
  hasDocumentSource_ = false;
  givenUnusedSource_.clear();
  givenUnusedProblem_.clear();
}

void CELLayout::UseDocument(const LabelDocument& document, const EtchTone& tone) {
  const DesignBackground& bg = document.background;
  DocumentSource source{document.layout, bg.kind, bg.image.cacheKey(), document.picture, tone};
  source.record.BgImage = bg.kind == DesignBackground::Kind::None ? std::string() : bg.name;
  source.record.FontFace.clear();
  if (!hasDocumentSource_ || !hasGiven_ || !(source == documentSource_)) {
    // Where the placed picture leaves the label bare: the layout's fill.
    const uint32_t fill = source.record.BgColor;
    const QColor margin(static_cast<int>(fill & 0xFF), static_cast<int>((fill >> 8) & 0xFF),
                        static_cast<int>((fill >> 16) & 0xFF));
    QImage placed;
    if (bg.kind == DesignBackground::Kind::Picture) {
      DocumentSource toneOnly{{}, bg.kind, source.picture, document.picture, tone};
      toneOnly.settings.fit = PictureFit::Stretch;
      toneOnly.settings.quarterTurns = 0;
      toneOnly.settings.panX = toneOnly.settings.panY = 0.0;
      toneOnly.settings.zoom = 1.0;
      if (toned_.isNull() || !(toneOnly == tonedFrom_)) {
        toned_ = TonedPicture(bg.image, document.picture, tone);
        tonedFrom_ = std::move(toneOnly);
      }
      placed = PreparePicture(toned_, PlacementOf(document.picture), source.record.BaseLength, tone,
                              margin);
    }
    UseGivenLayout(source.record, placed);
    documentSource_ = std::move(source);
    hasDocumentSource_ = true;
    if (bg.kind == DesignBackground::Kind::Unusable && !bg.source.empty()) {
      // What is wrong with that file, in the user's language, for the label's
      // warnings: asked here once, not at every check.
      BackgroundCache asked;
      asked.Signature(bg.source, documentSource_.record.BaseLength);
      givenUnusedSource_ = bg.source;
      givenUnusedProblem_ = asked.ProblemWith(bg.source);
    }
  }
  UseFontFace(document.fontFace);
  UseLegibility(document.legibility);
}

bool CELLayout::Render(const LabelDocument& document, const DocumentRender& how) {
  UseDocument(document, how.tone);
  LabelTexts texts;
  texts.SetTitle(document.title);
  texts.SetDate(document.date);
  texts.SetNote(DocumentNote(document));
  texts.SetQr(document.qr);
  texts.SetDiscNumber(how.discNumber, how.discCount);
  texts.PublishLabelTexts(*this);
  LoadLayout(kGivenLayout, false);
  SetBandRadii(document.innerRadius, document.outerRadius);
  if (how.label && !RenderCurrentLabel()) return false;
  return how.previewSide <= 0 || RenderCurrentPreview(how.previewSide, how.previewSide);
}

std::string CELLayout::LoadFontSetting() const {
  return twr::LoadFontSetting(settingsPath_);
}

bool CELLayout::SaveFontSetting(const std::string& face) {
  layout_.FontFace = face;
  return twr::SaveFontSetting(settingsPath_, face);
}

LabelFontCache& CELLayout::Fonts() {
  fonts_.SetFace(layout_.FontFace.empty() ? DefaultFontFace() : layout_.FontFace);
  return fonts_;
}

void CELLayout::SetBandRadii(double inner, double outer) {
  layout_.InnerRadius = inner;
  layout_.OuterRadius = outer;
  if (layout_.RingBand == 0.0) return;
  layout_.RingBand = RingBandInArea(layout_, inner, outer);
  stripHeight_ = RingStripHeight(layout_.BaseLength, layout_.RingBand);
}

void CELLayout::ComputeStripSize() {
  stripWidth_ = static_cast<int>(std::numbers::pi * layout_.BaseLength);
  stripHeight_ = RingStripHeight(layout_.BaseLength, layout_.RingBand);
}

bool CELLayout::SideIsUsable() const {
  return layout_.BaseLength > 0 && layout_.BaseLength <= kMaxBaseLength;
}

bool CELLayout::DrawBackground(ImageBuffer& target, int width, int height) {
  target.Destroy();
  // A non-positive or absurd label side fails cleanly, leaving no image.
  if (!SideIsUsable()) return false;
  // The picture stretched over the whole target, kept from the last render
  // of this size: the target starts as a copy of it.
  // (A design's own picture is stretched onto a new target below.)
  if (!givenInUse_ && !layout_.BgImage.empty() &&
      background_.MakeStretched(layout_.BgImage, layout_.BaseLength, width, height, target))
    return target.Width() == width && target.Height() == height;
  if (!target.Create(width, height)) return false;
  if (layout_.BgImage.empty()) return true;
  if (givenInUse_ ? !background_.StretchPictureOnto(givenKey_, givenPicture_, target)
                  : !background_.StretchOnto(layout_.BgImage, layout_.BaseLength, target))
    target.FillRect(0, 0, width, height, layout_.BgColor);
  return true;
}

bool CELLayout::RenderLabel(int index, bool keepRadii) {
  LoadLayout(index, keepRadii);
  return RenderCurrentLabel();
}

bool CELLayout::RenderPreview(int index, int width, int height, bool keepRadii) {
  LoadLayout(index, keepRadii);
  return RenderCurrentPreview(width, height);
}

void CELLayout::UseLayout(const LayoutRecord& record) {
  givenInUse_ = false;  // a record of the settings file, with its picture file
  const std::string face = layout_.FontFace;
  layout_ = record;
  layout_.FontFace = face;
}

bool CELLayout::RenderCurrentLabel() {
  const int side = layout_.BaseLength;
  BaseMemo& memo = baseMemos_[0];
  if (!SideIsUsable()) {
    labelImage_.Destroy();
    return false;
  }
  if (layout_.RingBand == 0.0) {
    angles_.Release();
    const std::string key = BaseKey(labelImage_, side, side, side, {}, 0);
    if (!StartFromBase(memo, key, labelImage_)) {
      if (!DrawBackground(labelImage_, side, side)) return false;
      NewBase(memo, key);
    }
  } else {
    ComputeStripSize();
    const StripGeometry geometry{stripWidth_, stripWidth_ / 2, stripHeight_};
    if (stripHeight_ < kMinStripHeight) {
      angles_.Release();
      if (!DrawBackground(labelImage_, side, side)) return false;
      ringStrip_.Create(stripWidth_, stripHeight_);
      ringStripKey_.clear();
      return false;
    }
    const int steps = 2 * stripWidth_;
    const std::string key = BaseKey(labelImage_, side, side, side, geometry, steps);
    // The strip must hold this layout's texts too, as after a full render.
    const bool stripHeld = ringStrip_.Exists() && ringStrip_.Width() == stripWidth_ &&
                           ringStrip_.Height() == stripHeight_ &&
                           ringStripKey_ == StripKey(geometry);
    if (!stripHeld || !StartFromBase(memo, key, labelImage_)) {
      if (!DrawBackground(labelImage_, side, side)) return false;
      if (angles_.Size() != steps) angles_.Build(steps);
      LayOutStrip(ringStrip_, ringStripKey_, geometry, stripWidth_, stripHeight_);
      MapRingText(ringStrip_, labelImage_, layout_, angles_, side);
      NewBase(memo, key);
    } else if (angles_.Size() != steps) {
      angles_.Build(steps);
    }
  }
  recording_ = &memo;
  DrawBox(labelImage_, BoxKind::Title, 1.0);
  DrawBox(labelImage_, BoxKind::Date, 1.0);
  DrawBox(labelImage_, BoxKind::Note, 1.0);
  DrawQr(labelImage_, 1.0);
  recording_ = nullptr;
  FinishBase(memo, labelImage_);
  return true;
}

bool CELLayout::RenderCurrentPreview(int width, int height) {
  BaseMemo& memo = baseMemos_[1];
  if (layout_.RingBand == 0.0 || !SideIsUsable()) {
    angles_.Release();
    const double scale = static_cast<double>(width) / layout_.BaseLength;
    const std::string key =
        BaseKey(previewImage_, width, height, layout_.BaseLength * scale, {}, 0);
    if (!StartFromBase(memo, key, previewImage_)) {
      if (!DrawBackground(previewImage_, width, height)) return false;
      NewBase(memo, key);
    }
    previewScale_ = scale;
    return DrawPreviewBoxes(memo);
  }
  if (!SideIsUsable()) {
    previewImage_.Destroy();
    return false;
  }
  previewScale_ = static_cast<double>(width) / layout_.BaseLength;
  ComputeStripSize();
  int stripWidth = static_cast<int>(width * std::numbers::pi);
  if (layout_.RingType == kTwoRowRingType) stripWidth /= 2;  // only the left half is used
  const int stripHeight = static_cast<int>(layout_.RingBand * width * (1.0 / kLabelWidthMm));
  if (previewStrip_.Width() != stripWidth || previewStrip_.Height() != stripHeight) {
    previewStrip_.Create(stripWidth, stripHeight);
    previewStripKey_.clear();
  }
  const int steps = static_cast<int>(2 * stripWidth_ * previewScale_);
  const double widthScaled = stripWidth_ * previewScale_;
  const StripGeometry geometry{static_cast<int>(widthScaled), static_cast<int>(widthScaled * 0.5),
                               static_cast<int>(stripHeight_ * previewScale_)};
  const bool ringDrawn = stripHeight_ >= kMinStripHeight && labelImage_.Exists();
  const std::string key =
      BaseKey(previewImage_, width, height, layout_.BaseLength * previewScale_, geometry, steps);
  const bool stripHeld = !previewStrip_.Exists() || previewStripKey_ == StripKey(geometry);
  if (ringDrawn && stripHeld && StartFromBase(memo, key, previewImage_)) {
    if (angles_.Size() != steps) angles_.Build(steps);
  } else {
    if (!DrawBackground(previewImage_, width, height)) return false;
    if (angles_.Size() != steps) angles_.Build(steps);
    if (!DrawRingPreview()) return false;
    NewBase(memo, key);
  }
  return DrawPreviewBoxes(memo);
}

bool CELLayout::DrawPreviewBoxes(BaseMemo& memo) {
  recording_ = &memo;
  const bool drawn =
      DrawTitlePreview() && DrawDatePreview() && DrawNotePreview() && DrawQrPreview();
  recording_ = nullptr;
  if (drawn)
    FinishBase(memo, previewImage_);
  else
    memo.key.clear();
  return drawn;
}

std::string CELLayout::BaseKey(const ImageBuffer& target, int width, int height, double side,
                               const StripGeometry& geometry, int steps) {
  // Everything the background and the ring text depend on, each field
  // ended by a byte no text holds.
  std::string key;
  auto add = [&key](long long n) {
    key += std::to_string(n);
    key += '\0';
  };
  auto addReal = [&key](double v) {
    char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    key.append(bytes, sizeof v);
    key += '\0';
  };
  add(&target == &labelImage_ ? 0 : 1);
  add(width);
  add(height);
  add(layout_.BaseLength);
  add(layout_.BgColor);
  key += layout_.BgImage;
  key += '\0';
  if (givenInUse_) {
    // A design's own picture: each one given has a key of its own.
    key += givenKey_;
    key += '\0';
  } else if (!layout_.BgImage.empty()) {
    // The picture as it is on disk now (and what was wrong with it).
    key += background_.Signature(layout_.BgImage, layout_.BaseLength);
    key += '\0';
  }
  if (layout_.RingBand == 0.0) return key;
  key += StripKey(geometry);
  addReal(side);
  addReal(layout_.InnerRadius);
  addReal(layout_.OuterRadius);
  addReal(layout_.RingBand);
  add(layout_.RLetterAlign);
  add(steps);
  return key;
}

bool CELLayout::StartFromBase(BaseMemo& memo, const std::string& key, ImageBuffer& target) {
  if (memo.key.empty() || memo.key != key || !memo.image.Exists()) return false;
  target.CopyFrom(memo.image);
  // The boxes' pixels go, the last drawn first: the base shows again.
  // A plain reverse loop: std::views::reverse does not build with clang 14
  // over this libstdc++, and clang-tidy parses with clang.
  // NOLINTNEXTLINE(modernize-loop-convert)
  for (auto patch = memo.under.rbegin(); patch != memo.under.rend(); ++patch)
    target.CopyBlock(patch->x, patch->y, patch->pixels);
  memo.under.clear();
  return target.Exists();
}

void CELLayout::NewBase(BaseMemo& memo, std::string key) {
  memo.key = std::move(key);
  memo.image.Destroy();
  memo.under.clear();
}

void CELLayout::FinishBase(BaseMemo& memo, const ImageBuffer& target) {
  // A huge label is drawn anew rather than held beside the next one.
  constexpr long long kMaxBaseBytes = 64LL * 1024 * 1024;
  if (memo.key.empty() || !target.Exists() ||
      static_cast<long long>(target.Width()) * target.Height() * 3 > kMaxBaseBytes) {
    memo.key.clear();
    memo.image.Destroy();
    memo.under.clear();
    return;
  }
  memo.image.CopyFrom(target);
}

void CELLayout::PasteBox(ImageBuffer& target, int x, int y, const ImageBuffer& part) {
  if (recording_ != nullptr && !recording_->key.empty() && part.Exists()) {
    // What the box covers, cut to the target as the copy is.
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = static_cast<int>(
        std::min<long long>(static_cast<long long>(x) + part.Width(), target.Width()));
    const int bottom = static_cast<int>(
        std::min<long long>(static_cast<long long>(y) + part.Height(), target.Height()));
    if (left < right && top < bottom) {
      BaseMemo::Patch patch;
      patch.x = left;
      patch.y = top;
      patch.pixels.Create(right - left, bottom - top);
      for (int row = top; row < bottom; ++row)
        std::memcpy(patch.pixels.Row(row - top),
                    target.Row(row) + static_cast<std::ptrdiff_t>(left) * 3,
                    static_cast<std::size_t>(right - left) * 3);
      recording_->under.push_back(std::move(patch));
    }
  }
  target.CopyBlock(x, y, part);
}

bool CELLayout::ClearPreview(int width, int height) {
  return DrawBackground(previewImage_, width, height);
}

bool CELLayout::DrawTitlePreview() {
  return DrawBoxPreview(BoxKind::Title);
}
bool CELLayout::DrawDatePreview() {
  return DrawBoxPreview(BoxKind::Date);
}
bool CELLayout::DrawNotePreview() {
  return DrawBoxPreview(BoxKind::Note);
}

bool CELLayout::DrawQrPreview() {
  if (!QrWanted()) return true;
  if (!previewImage_.Exists() || !labelImage_.Exists()) return false;
  DrawQr(previewImage_, previewScale_);
  return true;
}

const QrCode& CELLayout::QrSymbol() const {
  if (qrEncoded_ != QrText) {
    qr_ = EncodeQr(QrText);
    qrEncoded_ = QrText;
  }
  return qr_;
}

void CELLayout::DrawQr(ImageBuffer& target, double scale) {
  if (!QrWanted()) return;
  const QrCode& code = QrSymbol();
  if (code.Empty()) return;  // too long for a code: the warnings say so
  const int side = Scaled(layout_.Qr.Size, scale);
  const int X = Scaled(layout_.Qr.PosX, scale), Y = Scaled(layout_.Qr.PosY, scale);
  // Only the part on the target is drawn, as for the other boxes.
  const long long left = std::max<long long>(X, 0), top = std::max<long long>(Y, 0);
  const long long right = std::min<long long>(static_cast<long long>(X) + side, target.Width());
  const long long bottom = std::min<long long>(static_cast<long long>(Y) + side, target.Height());
  if (side <= 0 || left >= right || top >= bottom) return;
  ImageBuffer part;
  if (!part.Create(static_cast<int>(right - left), static_cast<int>(bottom - top))) return;
  constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000;
  part.FillRect(0, 0, part.Width(), part.Height(), kWhite);
  const QrGrid grid = PlaceQr(code.Across(), side);
  // Box coordinates of the part's corner.
  const long long dx = left - X, dy = top - Y;
  for (int row = 0; row < code.width; ++row) {
    const int y0 = grid.Edge(row + kQrQuietModules), y1 = grid.Edge(row + kQrQuietModules + 1);
    for (int column = 0; column < code.width; ++column) {
      if (!code.Dark(column, row)) continue;
      const int x0 = grid.Edge(column + kQrQuietModules);
      const int x1 = grid.Edge(column + kQrQuietModules + 1);
      part.FillRect(static_cast<int>(x0 - dx), static_cast<int>(y0 - dy), x1 - x0, y1 - y0, kBlack);
    }
  }
  PasteBox(target, static_cast<int>(left), static_cast<int>(top), part);
}

bool CELLayout::DrawBoxPreview(BoxKind kind) {
  const LayoutBox& box = kind == BoxKind::Title  ? layout_.Title
                         : kind == BoxKind::Date ? layout_.Date
                                                 : layout_.Note;
  if (box.Width == 0 && box.Height == 0) return true;
  if (!previewImage_.Exists() || !labelImage_.Exists()) return false;
  DrawBox(previewImage_, kind, previewScale_);
  return true;
}

bool CELLayout::DrawRingPreview() {
  if (layout_.RingBand == 0.0 || stripHeight_ < kMinStripHeight) return false;
  if (!previewImage_.Exists() || !labelImage_.Exists()) return false;
  const double widthScaled = stripWidth_ * previewScale_;
  const StripGeometry geometry{static_cast<int>(widthScaled), static_cast<int>(widthScaled * 0.5),
                               static_cast<int>(stripHeight_ * previewScale_)};
  // A full-size render in between leaves the label's table behind.
  const int steps = static_cast<int>(2 * stripWidth_ * previewScale_);
  if (angles_.Size() != steps) angles_.Build(steps);
  if (previewStrip_.Exists())
    LayOutStrip(previewStrip_, previewStripKey_, geometry, previewStrip_.Width(),
                previewStrip_.Height());
  MapRingText(previewStrip_, previewImage_, layout_, angles_, layout_.BaseLength * previewScale_);
  return true;
}

std::string CELLayout::StripKey(const StripGeometry& geometry) const {
  // Everything the layout stage reads, each field ended by a byte no text
  // holds.
  std::string key;
  for (long long n :
       {static_cast<long long>(geometry.width), static_cast<long long>(geometry.halfWidth),
        static_cast<long long>(geometry.height), static_cast<long long>(layout_.RingType),
        static_cast<long long>(layout_.RingMAngle), static_cast<long long>(layout_.RingSAngle),
        static_cast<long long>(layout_.BgColor), static_cast<long long>(layout_.TxColor),
        static_cast<long long>(legibility_.ringHalo)}) {
    key += std::to_string(n);
    key += '\0';
  }
  for (const std::string* text : {&layout_.FontFace, &Title, &Date}) {
    key += *text;
    key += '\0';
  }
  for (const std::string& line : NoteLines) {
    key += line;
    key += '\0';
  }
  return key;
}

void CELLayout::LayOutStrip(ImageBuffer& strip, std::string& key, const StripGeometry& geometry,
                            int width, int height) {
  // The strip shows nothing but its texts: one laid out for the same texts,
  // geometry, colours and face is used again rather than drawn anew.
  std::string wanted = StripKey(geometry);
  if (strip.Exists() && strip.Width() == width && strip.Height() == height && key == wanted) return;
  if (!strip.Exists() || strip.Width() != width || strip.Height() != height)
    strip.Create(width, height);
  key.clear();
  if (!strip.Exists()) return;
  // The label's strip keeps its large texts for its next layout; the
  // preview's texts are small (drawn from the glyph cache) and not kept.
  LayOutRingText(strip, layout_, Texts(), geometry, Fonts(),
                 &strip == &ringStrip_ ? &ringStamps_ : nullptr);
  if (legibility_.ringHalo) HaloOnStrip(strip, geometry);
  key = std::move(wanted);
}

void CELLayout::HaloOnStrip(ImageBuffer& strip, const StripGeometry& geometry) const {
  const QImage coverage = CoverageOf(strip, layout_.BgColor, layout_.TxColor);
  if (coverage.isNull()) return;  // text in BgColor leaves nothing to ring
  // The mapping copies only what differs from BgColor: a halo of that very
  // grey is drawn a step towards the text so that it is copied too.
  uint32_t halo = OppositeGrey(layout_.TxColor);
  if (halo == layout_.BgColor) halo = halo == 0 ? 0x010101u : 0xFEFEFEu;
  // The two-row form sets its texts in half the strip's height.
  const int cell = layout_.RingType == kTwoRowRingType ? geometry.height / 2 : geometry.height;
  PaintHaloText(strip, coverage, layout_.TxColor, halo, HaloRadius(cell));
}

bool CELLayout::BoxPlace(BoxKind kind, double scale, const LayoutBox*& box, int& W, int& H, int& X,
                         int& Y) const {
  box = kind == BoxKind::Title  ? &layout_.Title
        : kind == BoxKind::Date ? &layout_.Date
                                : &layout_.Note;
  if (kind == BoxKind::Title) {
    if (box->Width == 0 && box->Height == 0) return false;
  } else if (box->Width == 0 || box->Height == 0) {
    return false;
  }
  W = Scaled(box->Width, scale), H = Scaled(box->Height, scale);
  X = Scaled(box->PosX, scale), Y = Scaled(box->PosY, scale);
  return true;
}

void CELLayout::DrawBox(ImageBuffer& target, BoxKind kind, double scale) {
  const LayoutBox* placed = nullptr;
  int W = 0, H = 0, X = 0, Y = 0;
  if (!BoxPlace(kind, scale, placed, W, H, X, Y)) return;
  const LayoutBox& box = *placed;
  // A box holds nothing but its texts on BgColor, so one drawn before from
  // the same texts, place, face and colours is copied again.
  BoxMemo& memo = boxMemos_[&target == &labelImage_ ? 0 : 1][static_cast<int>(kind)];
  // A see-through box shows what lies under it: drawn anew each time.
  const bool seeThrough = legibility_.seeThrough[static_cast<int>(kind)];
  std::string key = BoxKey(box, kind, target, W, H, X, Y);
  if (!seeThrough && !memo.key.empty() && memo.key == key) {
    // A box that lies wholly on the target looks the same wherever it is.
    if (BoxIsWhole(target, W, H, X, Y)) {
      memo.x = X;
      memo.y = Y;
    }
    PasteBox(target, memo.x, memo.y, memo.part);
    return;
  }
  memo.key.clear();
  BoxCanvas canvas(target, W, H, X, Y);
  memo.part.Destroy();
  if (!canvas.Exists()) return;
  if (kind == BoxKind::Note)
    DrawNoteBox(canvas, box, W, H);
  else
    DrawSingleLineBox(canvas, kind, box, kind == BoxKind::Title ? Title : Date, W, H);
  canvas.Keep(memo.part, memo.x, memo.y);
  PasteBox(target, memo.x, memo.y, memo.part);
  if (seeThrough) {
    memo.part.Destroy();
    return;
  }
  // A box as large as a huge label is drawn anew rather than held twice.
  constexpr long long kMaxBoxMemoBytes = 32LL * 1024 * 1024;
  if (static_cast<long long>(memo.part.Width()) * memo.part.Height() * 3 > kMaxBoxMemoBytes) {
    memo.part.Destroy();
    return;
  }
  memo.key = std::move(key);
}

std::string CELLayout::BoxKey(const LayoutBox& box, BoxKind kind, const ImageBuffer& target, int W,
                              int H, int X, int Y) const {
  // Everything a box's pixels depend on, each field ended by a byte no text
  // holds.
  // Where a box lies matters only when the target cuts it.
  const bool whole = BoxIsWhole(target, W, H, X, Y);
  std::string key = whole ? "whole" : "cut";
  key += '\0';
  for (long long n :
       {static_cast<long long>(W), static_cast<long long>(H), static_cast<long long>(whole ? 0 : X),
        static_cast<long long>(whole ? 0 : Y), static_cast<long long>(target.Width()),
        static_cast<long long>(target.Height()), static_cast<long long>(box.Align),
        static_cast<long long>(box.MaxNum), static_cast<long long>(layout_.BgColor),
        static_cast<long long>(layout_.TxColor),
        static_cast<long long>(legibility_.halo[static_cast<int>(kind)])}) {
    key += std::to_string(n);
    key += '\0';
  }
  key += layout_.FontFace;
  key += '\0';
  if (kind == BoxKind::Note) {
    for (const std::string& line : NoteLines) {
      key += line;
      key += '\0';
    }
  } else {
    key += kind == BoxKind::Title ? Title : Date;
    key += '\0';
  }
  return key;
}

bool CELLayout::BoxIsWhole(const ImageBuffer& target, int W, int H, int X, int Y) {
  return W > 0 && H > 0 && X >= 0 && Y >= 0 && static_cast<long long>(X) + W <= target.Width() &&
         static_cast<long long>(Y) + H <= target.Height();
}

void CELLayout::BeginBox(BoxSurface& canvas, BoxKind kind) const {
  const int k = static_cast<int>(kind);
  canvas.Begin(layout_.BgColor, layout_.TxColor, legibility_.seeThrough[k], legibility_.halo[k]);
}

void CELLayout::DrawSingleLineBox(BoxSurface& canvas, BoxKind kind, const LayoutBox& box,
                                  const std::string& text, int W, int H) {
  BeginBox(canvas, kind);
  const std::string_view cut = CutToMaxNum(text, box.MaxNum);
  const FitResult fit = FitText(
      canvas.Measure(), Fonts(), cut, H, [&](int w) { return w >= W; },
      [](int h) { return h >= kMinBoxFontHeight; });
  canvas.DrawText(AlignedStart(box.Align, W, fit.width), (H - fit.height) / 2, cut);
  canvas.End();
}

void CELLayout::DrawNoteBox(BoxSurface& canvas, const LayoutBox& box, int W, int H) {
  BeginBox(canvas, BoxKind::Note);
  const int lineHeight = H / kNoteLineCount;
  LabelFontCache& fonts = Fonts();
  for (int k = 0; k < kNoteLineCount; ++k) {
    const std::string_view cut = CutToMaxNum(NoteLines[k], box.MaxNum);
    if (cut.empty()) continue;  // keeps its row
    const FitResult fit = FitText(
        canvas.Measure(), fonts, cut, lineHeight, [&](int w) { return w >= W; },
        [](int h) { return h >= kMinBoxFontHeight; });
    canvas.DrawText(AlignedStart(box.Align, W, fit.width),
                    static_cast<long long>(k) * lineHeight + (lineHeight - fit.height) / 2, cut);
  }
  canvas.End();
}

}  // namespace twr
