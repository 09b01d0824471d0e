// The design file: JSON text written in a fixed order, read with Qt's JSON
// parser and checked field by field before anything is used.
#include "label/Design.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <functional>

#include "common/JsonWriter.h"
#include "common/ProfileFile.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "common/Utf8.h"
#include "common/WholeFile.h"
#include "label/CELLayout.h"
#include "label/ImageBuffer.h"
#include "label/LabelTexts.h"
#include "label/LayoutDefinition.h"
#include "label/QrCode.h"

namespace twr {

namespace {

constexpr long long kMebibyte = 1024LL * 1024;
constexpr std::size_t kBase64LineLength = 76;
// A base64 line as written: six blanks, two quotes, a comma and a line
// break around its 76 characters. Everything of a design but its picture
// (texts, names and the layout at their limits, escaped) stays within
// a mebibyte, so a design with a picture at the limit is never too large.
constexpr long long kBase64LineBytes = kBase64LineLength + 10;
constexpr long long kMaxDesignRestBytes = 1024LL * 1024;
static_assert(((kMaxDesignPictureBytes + 2) / 3 * 4 / static_cast<long long>(kBase64LineLength) +
               1) * kBase64LineBytes +
                  kMaxDesignRestBytes <=
              kMaxDesignFileBytes);
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// `what` (%1) is `value` (%2), not a whole number from `min` to `max`
// (one that fits 32 bits when they are its limits).
std::string OutOfRange(const std::string& what, const std::string& value, long long min,
                       long long max) {
  if (min == INT_MIN && max == INT_MAX)
    return Arg(Tr("Design", "its %1 is %2, not a whole number that fits 32 bits"), {what, value});
  if (max == INT_MAX)
    return Arg(Tr("Design", "its %1 is %2, not a whole number of %3 or more"),
               {what, value, std::to_string(min)});
  return Arg(Tr("Design", "its %1 is %2, not a whole number from %3 to %4"),
             {what, value, std::to_string(min), std::to_string(max)});
}

// The layout's own ring band: its ring length within its own radii.
double OwnRingBand(const LayoutRecord& r) {
  return std::min(r.OuterRadius - r.InnerRadius, r.RingLength);
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

bool HasControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

// How a text's limit counts: bytes (names, as the settings file limits
// them) or width units (the label's texts, as the main window counts them).
enum class Count { Bytes, Width };

// A text of the design: UTF-8, at most `limit` bytes or width units, one
// line. `its` words the problem for a field of the file ("its
// \"texts.title\" is ..."), else for a text of the design ("the title is
// ...").
std::string CheckText(bool its, const std::string& what, const std::string& text, std::size_t limit,
                      Count count = Count::Bytes) {
  if (!IsValidUtf8(text))
    return Arg(
        its ? Tr("Design", "its %1 is not UTF-8 text") : Tr("Design", "%1 is not UTF-8 text"),
        {what});
  if (count == Count::Bytes && text.size() > limit)
    return Arg(its ? Tr("Design", "its %1 is %2 bytes long; at most %3 are taken")
                   : Tr("Design", "%1 is %2 bytes long; at most %3 are taken"),
               {what, std::to_string(text.size()), std::to_string(limit)});
  if (const std::size_t width = TextWidth(text); count == Count::Width && width > limit)
    return Arg(its ? Tr("Design",
                        "its %1 is %2 characters long (a wide East Asian character counts two); "
                        "at most %3 are taken")
                   : Tr("Design",
                        "%1 is %2 characters long (a wide East Asian character counts two); at "
                        "most %3 are taken"),
               {what, std::to_string(width), std::to_string(limit)});
  if (HasControl(text))
    return Arg(its ? Tr("Design", "its %1 holds a line break or another control character")
                   : Tr("Design", "%1 holds a line break or another control character"),
               {what});
  return {};
}

// Whole millimetres of the layout's own ring length and radii.
bool IsWhole(double value) {
  return std::isfinite(value) && value == std::trunc(value);
}

// ---- Reading ----

// The members of one JSON object, read with their path for messages
// ("layout.TitleWidth"). The first problem is kept, a whole sentence part
// ("its \"layout.TitleWidth\" is missing"); later reads are skipped once
// there is one.
class ObjectReader {
 public:
  ObjectReader(const QJsonObject& object, std::string path, std::string& problem)
      : object_(object), path_(std::move(path)), problem_(problem) {}

  bool Ok() const { return problem_.empty(); }
  std::string Name(const char* key) const { return path_.empty() ? key : path_ + "." + key; }
  bool Has(const char* key) const { return object_.contains(QLatin1String(key)); }
  QJsonValue Value(const char* key) const { return object_.value(QLatin1String(key)); }

  // A member that must be there, of the JSON type `check` accepts;
  // `notKind` says it is not ("its %1 is not a text", marked for translation).
  bool Need(const char* key, QJsonValue& value, bool (QJsonValue::*check)() const,
            const char* notKind) {
    if (!Ok()) return false;
    if (!Has(key)) return Fail(Missing(Quoted(Name(key))));
    value = Value(key);
    if (!(value.*check)()) return Fail(Arg(Tr("Design", notKind), {Quoted(Name(key))}));
    return true;
  }

  static std::string Missing(const std::string& what) {
    return Arg(Tr("Design", "its %1 is missing"), {what});
  }

  bool Text(const char* key, std::string& out, std::size_t limit, Count count = Count::Bytes) {
    QJsonValue v;
    if (!Need(key, v, &QJsonValue::isString, kNotText)) return false;
    std::string text = v.toString().toStdString();
    if (const std::string why = CheckText(true, Quoted(Name(key)), text, limit, count);
        !why.empty())
      return Fail(why);
    out = std::move(text);
    return true;
  }

  bool Real(const char* key, double& out) {
    QJsonValue v;
    if (!Need(key, v, &QJsonValue::isDouble,
              TWR_TRANSLATE_NOOP("Design", "its %1 is not a number")))
      return false;
    const double d = v.toDouble();
    if (!std::isfinite(d))
      return Fail(Arg(Tr("Design", "its %1 is not a finite number"), {Quoted(Name(key))}));
    out = d;
    return true;
  }

  bool Whole(const char* key, long long min, long long max, long long& out) {
    double d = 0.0;
    if (!Real(key, d)) return false;
    if (d != std::trunc(d) || d < static_cast<double>(min) || d > static_cast<double>(max))
      return Fail(OutOfRange(Quoted(Name(key)), NumberText(d), min, max));
    out = static_cast<long long>(d);
    return true;
  }

  bool Flag(const char* key, bool& out) {
    QJsonValue v;
    if (!Need(key, v, &QJsonValue::isBool,
              TWR_TRANSLATE_NOOP("Design", "its %1 is not true or false")))
      return false;
    out = v.toBool();
    return true;
  }

  bool Object(const char* key, QJsonObject& out) {
    QJsonValue v;
    if (!Need(key, v, &QJsonValue::isObject,
              TWR_TRANSLATE_NOOP("Design", "its %1 is not an object ({...})")))
      return false;
    out = v.toObject();
    return true;
  }

  bool Fail(std::string why) {
    if (problem_.empty()) problem_ = std::move(why);
    return false;
  }

  static constexpr const char* kNotText = TWR_TRANSLATE_NOOP("Design", "its %1 is not a text");

  static std::string NumberText(double d) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, d);
    return std::string(buffer, result.ptr);
  }

 private:
  const QJsonObject& object_;
  std::string path_;
  std::string& problem_;
};

bool ReadTexts(ObjectReader& top, LabelDocument& d) {
  QJsonObject object;
  if (!top.Object("texts", object)) return false;
  std::string problem;
  ObjectReader texts(object, "texts", problem);
  texts.Text("title", d.title, kTitleMaxWidth, Count::Width);
  texts.Text("date", d.date, kDateMaxWidth, Count::Width);
  QJsonValue notes;
  if (texts.Need("notes", notes, &QJsonValue::isArray,
                 TWR_TRANSLATE_NOOP("Design", "its %1 is not a list of note lines ([...])"))) {
    const QJsonArray lines = notes.toArray();
    if (lines.size() > kNoteLineCount) {
      texts.Fail(Arg(Tr("Design", "its \"texts.notes\" holds %1 lines; a label takes %2"),
                     {std::to_string(lines.size()), std::to_string(kNoteLineCount)}));
    } else {
      d.notes = {};
      for (qsizetype k = 0; k < lines.size() && texts.Ok(); ++k) {
        const std::string name =
            Arg(Tr("Design", "\"texts.notes\" line %1"), {std::to_string(k + 1)});
        if (!lines[k].isString()) {
          texts.Fail(Arg(Tr("Design", ObjectReader::kNotText), {name}));
          break;
        }
        std::string line = lines[k].toString().toStdString();
        if (const std::string why = CheckText(true, name, line, kNoteMaxWidth, Count::Width);
            !why.empty()) {
          texts.Fail(why);
          break;
        }
        d.notes[static_cast<std::size_t>(k)] = std::move(line);
      }
    }
  }
  // Files from before the QR box have no QR text.
  d.qr.clear();
  if (texts.Ok() && texts.Has("qr")) texts.Text("qr", d.qr, kQrMaxBytes);
  if (!problem.empty()) return top.Fail(problem);
  return true;
}

bool ReadLayout(ObjectReader& top, LabelDocument& d) {
  QJsonObject object;
  if (!top.Object("layout", object)) return false;
  std::string problem;
  ObjectReader in(object, "layout", problem);
  // The keys of a settings section in its order: the name, and each
  // number a whole one within what the renderer draws (greys from 0 to 255,
  // as a record holds them); what depends on several keys (the radii's
  // order, the ring band's strip) is checked with the design (CheckDesign).
  // The picture is the design's background.
  LayoutDefinition layout;
  for (const LayoutKey& key : LayoutKeys()) {
    if (key.unit == LayoutUnit::PicturePath) continue;
    if (key.IsText()) {
      in.Text(key.name, d.layoutName, kProfileStringMax);
      continue;
    }
    if (key.optional && !in.Has(key.name)) continue;  // a file from before the key
    const LayoutKeyRange range = LayoutKeyDrawnLimits(key);
    long long v = 0;
    if (in.Whole(key.name, range.minimum, range.maximum, v))
      key.number(layout) = static_cast<int>(v);
  }
  if (!problem.empty()) return top.Fail(problem);
  LayoutRecord r = RecordOfDefinition(layout);
  r.RingBand = OwnRingBand(r);
  d.layout = std::move(r);
  return true;
}

bool DecodeBase64(const QJsonValue& value, QByteArray& bytes, std::string& why) {
  QByteArray text;
  if (value.isString()) {
    text = value.toString().toLatin1();
  } else if (value.isArray()) {
    const QJsonArray lines = value.toArray();
    for (const QJsonValue line : lines) {
      if (!line.isString()) {
        why =
            Tr("Design", "its background picture is not base64 text (a line of it is not a text)");
        return false;
      }
      text += line.toString().toLatin1();
      if (text.size() > (kMaxDesignPictureBytes / 3 + 1) * 4) break;
    }
  } else {
    why = Tr("Design", "its background picture is not base64 text");
    return false;
  }
  if (text.size() > (kMaxDesignPictureBytes / 3 + 1) * 4) {
    why = Arg(
        Tr("Design", "its background picture is larger than the %1 MiB a design's picture may be"),
        {std::to_string(kMaxDesignPictureBytes / kMebibyte)});
    return false;
  }
  auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) {
    why = Tr("Design", "its background picture is not valid base64 text");
    return false;
  }
  bytes = std::move(*decoded);
  return true;
}

// The "picture" object: every member optional, each as plain as a file
// without it would have it.
bool ReadPicture(ObjectReader& top, LabelDocument& d) {
  if (!top.Has("picture")) return true;
  QJsonObject object;
  if (!top.Object("picture", object)) return false;
  std::string problem;
  ObjectReader in(object, "picture", problem);
  PictureSettings p;
  std::string word;
  if (in.Has("fit") && in.Text("fit", word, kProfileStringMax) && !ParsePictureFit(word, p.fit))
    in.Fail(
        Arg(Tr("Design", "its \"picture.fit\" is %1, not stretch, fit or fill"), {Quoted(word)}));
  if (in.Has("tone") && in.Text("tone", word, kProfileStringMax) && !ParsePictureTone(word, p.tone))
    in.Fail(Arg(Tr("Design", "its \"picture.tone\" is %1, not none or auto"), {Quoted(word)}));
  long long whole = 0;
  const auto readWhole = [&](const char* key, int& out) {
    if (in.Has(key) && in.Whole(key, -1000, 1000, whole)) out = static_cast<int>(whole);
  };
  readWhole("turns", p.quarterTurns);
  readWhole("brightness", p.brightness);
  readWhole("contrast", p.contrast);
  readWhole("black", p.black);
  readWhole("white", p.white);
  for (const auto& [key, out] : {std::pair{"panX", &p.panX}, std::pair{"panY", &p.panY},
                                 std::pair{"zoom", &p.zoom}, std::pair{"gamma", &p.gamma}})
    if (in.Has(key)) in.Real(key, *out);
  if (in.Has("invert")) in.Flag("invert", p.invert);
  if (in.Ok())
    if (const std::string why = CheckPictureSettings(p); !why.empty())
      in.Fail(Arg(Tr("Design", "its \"picture\" cannot be used: %1"), {why}));
  if (!problem.empty()) return top.Fail(problem);
  d.picture = p;
  return true;
}

// The names of the boxes in the "legibility" object, in TextBox order.
constexpr std::array<const char*, kTextBoxCount> kLegibilityBoxes = {"title", "date", "note"};

// The "legibility" object: a member for each box ({"seeThrough": bool,
// "halo": bool}) and "ring" ({"halo": bool}), every one optional.
bool ReadLegibility(ObjectReader& top, LabelDocument& d) {
  if (!top.Has("legibility")) return true;
  QJsonObject object;
  if (!top.Object("legibility", object)) return false;
  std::string problem;
  ObjectReader in(object, "legibility", problem);
  TextLegibility l;
  const auto readPart = [&](const char* name, bool* seeThrough, bool& halo) {
    if (!in.Has(name) || !in.Ok()) return;
    QJsonObject part;
    if (!in.Object(name, part)) return;
    std::string partProblem;
    ObjectReader flags(part, std::string("legibility.") + name, partProblem);
    if (seeThrough != nullptr && flags.Has("seeThrough")) flags.Flag("seeThrough", *seeThrough);
    if (flags.Has("halo")) flags.Flag("halo", halo);
    if (!partProblem.empty()) in.Fail(partProblem);
  };
  for (int k = 0; k < kTextBoxCount; ++k)
    readPart(kLegibilityBoxes[k], &l.seeThrough[k], l.halo[k]);
  readPart("ring", nullptr, l.ringHalo);
  if (!problem.empty()) return top.Fail(problem);
  d.legibility = l;
  return true;
}

bool ReadBackground(ObjectReader& top, LabelDocument& d) {
  if (!top.Has("background")) return top.Fail(ObjectReader::Missing("\"background\""));
  const QJsonValue value = top.Value("background");
  DesignBackground bg;
  if (value.isNull()) {
    d.background = std::move(bg);
    d.layout.BgImage.clear();
    return true;
  }
  if (!value.isObject())
    return top.Fail(Tr("Design", "its \"background\" is neither null nor an object ({...})"));
  const QJsonObject object = value.toObject();
  std::string problem;
  ObjectReader in(object, "background", problem);
  in.Text("name", bg.name, kMaxDesignPictureName);
  if (in.Ok() && bg.name.empty()) in.Fail(Tr("Design", "its \"background.name\" is empty"));
  if (in.Ok() && in.Has("problem")) {
    bg.kind = DesignBackground::Kind::Unusable;
    in.Text("problem", bg.problem, kMaxDesignPictureName);
  } else if (in.Ok()) {
    bg.kind = DesignBackground::Kind::Picture;
    long long size = 0;
    in.Text("type", bg.type, kProfileStringMax);
    in.Whole("bytes", 1, kMaxDesignPictureBytes, size);
    QJsonValue data;
    if (in.Ok() && !in.Has("base64")) in.Fail(ObjectReader::Missing("\"background.base64\""));
    if (in.Ok()) data = in.Value("base64");
    std::string why;
    if (in.Ok() && !DecodeBase64(data, bg.bytes, why)) in.Fail(why);
    if (in.Ok() && bg.bytes.size() != size)
      in.Fail(Arg(Tr("Design",
                     "its background picture holds %1 bytes where the design says %2: the file "
                     "is cut off or damaged"),
                  {std::to_string(bg.bytes.size()), std::to_string(size)}));
    if (in.Ok()) {
      ImageBuffer picture;
      std::string format;
      PictureRequest request;
      request.drawSide = d.layout.BaseLength;
      if (!picture.Decode(bg.bytes, request, &why, &format))
        in.Fail(Arg(Tr("Design", "its background picture %1 %2"), {Quoted(bg.name), why}));
      else
        bg.image = picture.Image();
    }
  }
  if (!problem.empty()) return top.Fail(problem);
  d.layout.BgImage = bg.name;
  d.background = std::move(bg);
  return true;
}

std::string DesignTooLarge() {
  return Arg(Tr("Design", "it is larger than the %1 MiB a design may be"),
             {std::to_string(kMaxDesignFileBytes / kMebibyte)});
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

const char* DesignQualityName(DesignQuality quality) {
  return quality == DesignQuality::High ? "high"
                                        : (quality == DesignQuality::Normal ? "normal" : "draft");
}

bool ParseDesignQuality(std::string_view name, DesignQuality& quality) {
  if (name == "draft") {
    quality = DesignQuality::Draft;
  } else if (name == "normal") {
    quality = DesignQuality::Normal;
  } else if (name == "high") {
    quality = DesignQuality::High;
  } else {
    return false;
  }
  return true;
}

std::string CheckDesign(const LabelDocument& d) {
  std::string why;
  const auto check = [](const char* what, const std::string& text, std::size_t limit,
                        Count count = Count::Bytes) {
    return CheckText(false, Tr("Design", what), text, limit, count);
  };
  if (!(why =
            check(TWR_TRANSLATE_NOOP("Design", "the title"), d.title, kTitleMaxWidth, Count::Width))
           .empty())
    return why;
  if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the date"), d.date, kDateMaxWidth, Count::Width))
           .empty())
    return why;
  for (std::size_t k = 0; k < d.notes.size(); ++k)
    if (!(why = CheckText(false, Arg(Tr("Design", "note line %1"), {std::to_string(k + 1)}),
                          d.notes[k], kNoteMaxWidth, Count::Width))
             .empty())
      return why;
  if (const std::size_t note = TextWidth(DocumentNote(d)); note > kNoteMaxWidth)
    return Arg(Tr("Design",
                  "%1 is %2 characters long (a wide East Asian character counts two); at most "
                  "%3 are taken"),
               {Tr("Design", "the note"), std::to_string(note), std::to_string(kNoteMaxWidth)});
  if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the QR code's text"), d.qr, kQrMaxBytes)).empty())
    return why;
  if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the font face"), d.fontFace, kProfileStringMax))
           .empty())
    return why;
  if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the layout's name"), d.layoutName,
                    kProfileStringMax))
           .empty())
    return why;
  if (!(std::isfinite(d.innerRadius) && std::isfinite(d.outerRadius) &&
        kLowestInnerRadius <= d.innerRadius && d.innerRadius <= d.outerRadius &&
        d.outerRadius <= kHighestOuterRadius))
    return Tr("Design", "the burning area is not within 25 to 58 mm, inner radius first");
  const LayoutRecord& r = d.layout;
  for (double mm : {r.RingLength, r.InnerRadius, r.OuterRadius})
    if (!IsWhole(mm) || mm < INT_MIN || mm > INT_MAX)
      return Tr("Design", "the layout's RingLength and radii are not whole millimetres");
  // The limits of the renderer, as for a layout of the settings file: with
  // the layout's own radii, and with the design's burning area.
  LayoutRecord own = r;
  own.RingBand = OwnRingBand(r);
  if (!(why = CheckLayoutRecord(own)).empty())
    return Arg(Tr("Design", "the layout cannot be drawn: %1"), {why});
  LayoutRecord inArea = own;
  inArea.RingBand = RingBandInArea(own, d.innerRadius, d.outerRadius);
  if (!(why = CheckLayoutRecord(inArea)).empty())
    return Arg(
        Tr("Design", "the layout cannot be drawn in the burning area %1 - %2 mm: %3"),
        {ObjectReader::NumberText(d.innerRadius), ObjectReader::NumberText(d.outerRadius), why});
  const DesignBackground& bg = d.background;
  if (bg.kind != DesignBackground::Kind::None) {
    if (bg.name.empty()) return Tr("Design", "the background picture has no name");
    if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the background picture's name"), bg.name,
                      kMaxDesignPictureName))
             .empty())
      return why;
  }
  if (bg.kind == DesignBackground::Kind::Unusable &&
      !(why = check(TWR_TRANSLATE_NOOP("Design", "the background's problem"), bg.problem,
                    kMaxDesignPictureName))
           .empty())
    return why;
  if (bg.kind == DesignBackground::Kind::Picture) {
    if (bg.bytes.isEmpty()) return Tr("Design", "the background picture is empty");
    if (bg.bytes.size() > kMaxDesignPictureBytes)
      return Arg(
          Tr("Design", "the background picture is larger than %1 MiB, the most a design embeds"),
          {std::to_string(kMaxDesignPictureBytes / kMebibyte)});
    if (!(why = check(TWR_TRANSLATE_NOOP("Design", "the background picture's type"), bg.type,
                      kProfileStringMax))
             .empty())
      return why;
  }
  return {};
}

void WriteDesignLayout(JsonWriter& out, const LabelDocument& d) {
  const LayoutDefinition numbers = DefinitionOfRecord(d.layout);
  out.BeginObject();
  for (const LayoutKey& key : LayoutKeys()) {
    if (key.unit == LayoutUnit::PicturePath) continue;
    out.Key(key.name);
    if (key.IsText())
      out.String(d.layoutName);
    else
      out.Int(key.Number(numbers));
  }
  out.EndObject();
}

void WriteDesignPicture(JsonWriter& out, const PictureSettings& p) {
  out.Key("picture").BeginObject();
  out.Key("fit").String(PictureFitName(p.fit)).Key("turns").Int(p.quarterTurns);
  out.Key("panX").Real(p.panX).Key("panY").Real(p.panY).Key("zoom").Real(p.zoom);
  out.Key("tone").String(PictureToneName(p.tone));
  out.Key("brightness").Int(p.brightness).Key("contrast").Int(p.contrast);
  out.Key("gamma").Real(p.gamma).Key("black").Int(p.black).Key("white").Int(p.white);
  out.Key("invert").Bool(p.invert);
  out.EndObject();
}

void WriteDesignLegibility(JsonWriter& out, const TextLegibility& l) {
  out.Key("legibility").BeginObject();
  for (int k = 0; k < kTextBoxCount; ++k) {
    out.Key(kLegibilityBoxes[k]).BeginObject();
    out.Key("seeThrough").Bool(l.seeThrough[k]).Key("halo").Bool(l.halo[k]);
    out.EndObject();
  }
  out.Key("ring").BeginObject().Key("halo").Bool(l.ringHalo).EndObject();
  out.EndObject();
}

std::string DesignText(const LabelDocument& d) {
  JsonWriter out(JsonWriter::Style::File);
  out.Reserve(4096 + static_cast<std::size_t>(d.background.bytes.size()) * 4 / 3 * 81 / 76);
  out.BeginObject();
  out.Key("format").String(kDesignFormatName);
  out.Key("version").Int(kDesignVersion);
  out.Key("generator").String(std::string(kAppName) + " " + kVersionText);

  out.Key("texts").BeginObject();
  out.Key("title").String(d.title);
  out.Key("date").String(d.date);
  out.Key("notes").BeginArray();
  for (const std::string& line : d.notes) out.String(line);
  out.EndArray();
  if (!d.qr.empty()) out.Key("qr").String(d.qr);
  out.EndObject();
  out.Key("font").String(d.fontFace);
  out.Key("burningArea").BeginObject();
  out.Key("inner").Real(d.innerRadius).Key("outer").Real(d.outerRadius);
  out.Key("automatic").Bool(d.automaticArea);
  out.EndObject();
  out.Key("rimtone").Bool(d.rimtone);
  out.Key("quality").String(DesignQualityName(d.quality));
  if (!d.picture.Plain()) WriteDesignPicture(out, d.picture);
  if (!d.legibility.Plain()) WriteDesignLegibility(out, d.legibility);

  out.Key("layout");
  WriteDesignLayout(out, d);

  const DesignBackground& bg = d.background;
  out.Key("background");
  if (bg.kind == DesignBackground::Kind::None) {
    out.Null();
  } else {
    out.BeginObject().Key("name").String(bg.name);
    if (bg.kind == DesignBackground::Kind::Unusable) {
      out.Key("problem").String(bg.problem);
    } else {
      out.Key("type").String(bg.type);
      out.Key("bytes").Int(bg.bytes.size());
      out.Key("base64").BeginArray(true);
      const QByteArray base64 = bg.bytes.toBase64();
      for (qsizetype at = 0; at < base64.size(); at += kBase64LineLength)
        out.String(std::string_view(
            base64.constData() + at,
            static_cast<std::size_t>(std::min<qsizetype>(kBase64LineLength, base64.size() - at))));
      out.EndArray();
    }
    out.EndObject();
  }
  out.EndObject();
  std::string text = out.Take();
  text += '\n';
  return text;
}

bool ParseDesign(std::string_view bytes, LabelDocument& design, std::string& problem) {
  problem.clear();
  if (static_cast<long long>(bytes.size()) > kMaxDesignFileBytes) {
    problem = DesignTooLarge();
    return false;
  }
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    bytes.remove_prefix(kByteOrderMark.size());
  const std::size_t first = bytes.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    problem = Tr("Design", "it is empty");
    return false;
  }
  if (bytes[first] != '{') {
    problem = Tr("Design", "it is not a label design (it is not JSON text)");
    return false;
  }
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(
      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
  if (error.error != QJsonParseError::NoError) {
    const std::size_t last = bytes.find_last_not_of(" \t\r\n");
    const bool atEnd = error.offset >= 0 && static_cast<std::size_t>(error.offset) >= last;
    const bool unterminated = error.error == QJsonParseError::UnterminatedObject ||
                              error.error == QJsonParseError::UnterminatedArray ||
                              error.error == QJsonParseError::UnterminatedString;
    if (atEnd || (unterminated && static_cast<std::size_t>(error.offset) + 2 >= bytes.size()))
      problem = Arg(Tr("Design", "it is cut off: its text ends in the middle (after %1 bytes)"),
                    {std::to_string(bytes.size())});
    else
      problem = Arg(Tr("Design", "it is damaged: %1 at byte %2"),
                    {error.errorString().toStdString(), std::to_string(error.offset)});
    return false;
  }
  if (!document.isObject()) {
    problem = Tr("Design", "it is not a label design");
    return false;
  }
  const QJsonObject object = document.object();
  if (object.value(QLatin1String("format")).toString() != QLatin1String(kDesignFormatName)) {
    problem = Arg(Tr("Design", "it is not a label design (its \"format\" is not \"%1\")"),
                  {kDesignFormatName});
    return false;
  }
  const QJsonValue version = object.value(QLatin1String("version"));
  const double v = version.toDouble(-1);
  if (!version.isDouble() || v != std::trunc(v) || v < 1) {
    problem = Tr("Design", "its format version is not a whole number from 1");
    return false;
  }
  if (v > kDesignVersion) {
    problem = Arg(
        Tr("Design", "it was written by a newer %1 (format version %2); this one reads version %3"),
        {kAppName, ObjectReader::NumberText(v), std::to_string(kDesignVersion)});
    return false;
  }

  LabelDocument d;
  ObjectReader top(object, "", problem);
  ReadTexts(top, d);
  top.Text("font", d.fontFace, kProfileStringMax);
  QJsonObject areaObject;
  if (top.Object("burningArea", areaObject)) {
    std::string areaProblem;
    ObjectReader area(areaObject, "burningArea", areaProblem);
    area.Real("inner", d.innerRadius);
    area.Real("outer", d.outerRadius);
    if (area.Has("automatic")) area.Flag("automatic", d.automaticArea);
    if (area.Ok() && !(kLowestInnerRadius <= d.innerRadius && d.innerRadius <= d.outerRadius &&
                       d.outerRadius <= kHighestOuterRadius))
      area.Fail(
          Arg(Tr("Design", "its burning area %1 - %2 mm is not within 25 to 58 mm"),
              {ObjectReader::NumberText(d.innerRadius), ObjectReader::NumberText(d.outerRadius)}));
    if (!areaProblem.empty()) top.Fail(areaProblem);
  }
  top.Flag("rimtone", d.rimtone);
  std::string quality;
  if (top.Text("quality", quality, kProfileStringMax) && !ParseDesignQuality(quality, d.quality))
    top.Fail(
        Arg(Tr("Design", "its \"quality\" is %1, not draft, normal or high"), {Quoted(quality)}));
  if (top.Ok()) ReadLayout(top, d);
  if (top.Ok()) ReadBackground(top, d);
  if (top.Ok()) ReadPicture(top, d);
  if (top.Ok()) ReadLegibility(top, d);
  if (!top.Ok()) return false;
  // What the writer would refuse is refused here too.
  if (std::string why = CheckDesign(d); !why.empty()) {
    problem = why;
    return false;
  }
  design = std::move(d);
  return true;
}

bool LoadDesignFile(const std::string& path, LabelDocument& design, std::string& problem) {
  std::string bytes;
  bool tooLarge = false;
  if (!ReadRegularFile(path, kMaxDesignFileBytes, bytes, problem, true, &tooLarge)) {
    if (tooLarge) problem = DesignTooLarge();
    return false;
  }
  return ParseDesign(bytes, design, problem);
}

bool SaveDesignFile(const std::string& path, const LabelDocument& design, std::string& problem) {
  if (std::string why = CheckDesign(design); !why.empty()) {
    problem = why;
    return false;
  }
  const std::string text = DesignText(design);
  if (static_cast<long long>(text.size()) > kMaxDesignFileBytes) {
    problem = DesignTooLarge();
    return false;
  }
  const FileWriteResult written = ReplaceFileAtomically(path, text);
  problem = written.problem;
  return written.ok;
}

void TakeSettingsLayout(const std::string& settingsPath, int index, std::string name,
                        LabelDocument& document) {
  document.layout = LayoutRecord();
  LoadLayout(settingsPath, index, false, document.layout);
  document.layoutName = std::move(name);
  document.background = BackgroundFromFile(document.layout.BgImage, document.layout.BaseLength);
  document.layout.BgImage = document.background.name;
}

DesignBackground BackgroundFromFile(const std::string& path, int labelSide) {
  DesignBackground bg;
  if (path.empty()) return bg;
  bg.source = path;
  bg.name = BaseName(path);
  if (bg.name.size() > kMaxDesignPictureName) bg.name = Utf8Cut(bg.name, kMaxDesignPictureName);
  if (!IsValidUtf8(bg.name) || HasControl(bg.name)) bg.name = "background";
  std::string why;
  ImageBuffer picture;
  std::string format;
  // The problem is kept in the design file and its JSON listing: in English.
  PictureRequest request;
  request.drawSide = labelSide;
  request.translated = false;
  if (QByteArray data;
      ReadPictureFile(path, data, why, false) && picture.Decode(data, request, &why, &format)) {
    bg.kind = DesignBackground::Kind::Picture;
    bg.bytes = std::move(data);
    bg.type = format;
    bg.image = picture.Image();
    return bg;
  }
  bg.kind = DesignBackground::Kind::Unusable;
  bg.problem = Utf8Cut(why, kMaxDesignPictureName);
  return bg;
}

void ApplyDesignLayout(const LabelDocument& design, CELLayout& layout, const EtchTone& tone) {
  layout.UseDocument(design, tone);
}

void ApplyDesignTexts(const LabelDocument& design, LabelTexts& texts) {
  texts.SetTitle(design.title);
  texts.SetDate(design.date);
  texts.SetNote(DocumentNote(design));
  texts.SetQr(design.qr);
}

std::vector<std::string> DesignWarnings(const LabelDocument& design, bool ownLayout) {
  // The texts keep the translation context `twr` first gave them.
  std::vector<std::string> warnings;
  if (!design.fontFace.empty() &&
      !QFontDatabase::hasFamily(QString::fromStdString(design.fontFace)))
    warnings.push_back(Arg(Tr("LabelOptions",
                              "The design's font face \"%1\" is not installed "
                              "here; a similar face is drawn instead."),
                           {design.fontFace}));
  if (ownLayout && design.background.kind == DesignBackground::Kind::Unusable)
    warnings.push_back(Arg(Tr("LabelOptions",
                              "The design's background picture %1 could not be "
                              "used when it was saved (%2); BgColor fills the "
                              "label."),
                           {design.background.name, design.background.problem}));
  return warnings;
}

}  // namespace twr
