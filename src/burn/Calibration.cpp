// The wedge, the kept answers about it and their effect on a burn's tone.
#include "burn/Calibration.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "burn/ElsPage.h"
#include "burn/MarkedBand.h"
#include "common/DecimalText.h"
#include "common/ProfileFile.h"
#include "common/SettingsEdit.h"
#include "common/Translate.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace twr {

namespace {

constexpr double kFullCircle = 360.0;
// Each patch leaves this much of its sector empty, so that neighbours stay apart.
constexpr double kGapDegrees = 4.0;
constexpr double kPercent = 100.0;
constexpr int kPercentDecimals = 1;
// The number's height within its ring.
constexpr double kNumberShare = 0.8;

double ShareOf(const EtchTone& tone, int grey) {
  const int dots = tone.fullMarks - tone.levelOfGrey[static_cast<std::size_t>(grey)];
  return std::clamp(static_cast<double>(dots) / tone.fullMarks, 0.0, 1.0);
}

}  // namespace

std::vector<WedgeStep> WedgeSteps(const EtchTone& tone) {
  std::vector<WedgeStep> steps;
  if (!tone.known || tone.fullMarks <= 0) return steps;
  int lighter = 256;  // each step darker than the one before
  for (int k = 1; k <= kWedgeSteps; ++k) {
    const double wanted = static_cast<double>(k) / kWedgeSteps;
    int best = -1;
    double bestError = 2.0;
    for (int g = lighter - 1; g >= 0; --g) {
      const double error = std::abs(ShareOf(tone, g) - wanted);
      if (error < bestError) best = g, bestError = error;
    }
    if (best < 0) break;
    steps.push_back({k, best, ShareOf(tone, best)});
    lighter = best;
  }
  return steps;
}

double WedgeStepAngle(int number) {
  return (number - 0.5) * kFullCircle / kWedgeSteps;
}

QImage WedgeLabel(const std::vector<WedgeStep>& steps, int side) {
  QImage label(side, side, QImage::Format_RGB888);
  if (label.isNull()) return label;
  label.fill(Qt::white);
  QPainter painter(&label);
  painter.setRenderHint(QPainter::Antialiasing);
  const double perMm = side / kLabelWidthMm;
  const QPointF centre(side / 2.0, side / 2.0);
  const double outer = kWedgeOuterMm * perMm;
  const double patchInner = kWedgePatchInnerMm * perMm;
  const double numberRadius = (kWedgeInnerMm + kWedgePatchInnerMm) / 2.0 * perMm;
  QFont font;
  font.setPixelSize(
      std::max(1, static_cast<int>((kWedgePatchInnerMm - kWedgeInnerMm) * perMm * kNumberShare)));
  font.setBold(true);
  painter.setFont(font);
  const double sector = kFullCircle / kWedgeSteps;
  for (const WedgeStep& step : steps) {
    // Qt's angles run counter-clockwise from three o'clock.
    const double middle = WedgeStepAngle(step.number);
    const double start = 90.0 - middle + (sector - kGapDegrees) / 2.0;
    const double sweep = -(sector - kGapDegrees);
    QPainterPath patch;
    patch.arcMoveTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), start);
    patch.arcTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), start, sweep);
    patch.arcTo(
        QRectF(centre.x() - patchInner, centre.y() - patchInner, 2 * patchInner, 2 * patchInner),
        start + sweep, -sweep);
    patch.closeSubpath();
    painter.fillPath(patch, QColor(step.grey, step.grey, step.grey));
    // The number upright at the middle of its sector, turned with it.
    const double radians = middle * std::numbers::pi / 180.0;
    const QPointF at(centre.x() + numberRadius * std::sin(radians),
                     centre.y() - numberRadius * std::cos(radians));
    painter.save();
    painter.translate(at);
    painter.rotate(middle);
    painter.setPen(Qt::black);
    const double box = (kWedgePatchInnerMm - kWedgeInnerMm) * perMm * 2.0;
    painter.drawText(QRectF(-box, -box / 4.0, 2 * box, box / 2.0), Qt::AlignCenter,
                     QString::number(step.number));
    painter.restore();
  }
  return label;
}

BurnTarget WedgeTarget() {
  return {{kWedgeInnerMm, kWedgeOuterMm}, BurnDisc::LabelSide(), BurnQuality::Draft};
}

double CalibrationProfile::Darkness(double share) const {
  if (dark <= unmarked) return share > unmarked ? 1.0 : 0.0;
  return std::clamp((share - unmarked) / (dark - unmarked), 0.0, 1.0);
}

std::string CheckWedgeAnswer(int firstMark, int firstDark) {
  if (firstMark < 1 || firstMark > kWedgeSteps || firstDark < 1 || firstDark > kWedgeSteps)
    return Arg(Tr("Calibration", "the steps of the wedge are numbered 1 to %1"),
               {std::to_string(kWedgeSteps)});
  if (firstDark < firstMark)
    return Tr("Calibration",
              "the first fully dark step cannot come before the first step that marks");
  return {};
}

std::optional<CalibrationProfile> ProfileFromAnswer(const std::vector<WedgeStep>& steps,
                                                    int firstMark, int firstDark) {
  const int count = static_cast<int>(steps.size());
  if (firstMark < 1 || firstDark < firstMark || firstDark > count) return std::nullopt;
  CalibrationProfile profile;
  // Nothing shows up to the last step that left no visible mark.
  profile.unmarked = firstMark > 1 ? steps[static_cast<std::size_t>(firstMark - 2)].share : 0.0;
  profile.dark = steps[static_cast<std::size_t>(firstDark - 1)].share;
  if (profile.dark <= profile.unmarked) return std::nullopt;
  return profile;
}

std::string CalibrationKey(const std::string& vendor, const std::string& product,
                           const std::string& discKind) {
  std::string key = std::string(TrimProfileBlanks(vendor)) + " " +
                    std::string(TrimProfileBlanks(product)) + "/" + discKind;
  for (char& c : key) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || c == '=' || c == ';' || c == '#' || c == '[' || c == ']') c = '_';
  }
  return key;
}

std::string CalibrationValue(const CalibrationProfile& profile) {
  return FormatDecimal(profile.unmarked * kPercent, kPercentDecimals) + "," +
         FormatDecimal(profile.dark * kPercent, kPercentDecimals);
}

std::optional<CalibrationProfile> ReadCalibration(const ProfileFile& settings,
                                                  const std::string& key) {
  std::string value = settings.GetRaw(kCalibrationSection, key);
  value = value.substr(0, value.find(';'));  // a note after the value
  const std::size_t comma = value.find(',');
  if (comma == std::string::npos) return std::nullopt;
  double unmarked = 0.0;
  double dark = 0.0;
  if (!ParseDecimal(TrimProfileBlanks(std::string_view(value).substr(0, comma)), unmarked) ||
      !ParseDecimal(TrimProfileBlanks(std::string_view(value).substr(comma + 1)), dark))
    return std::nullopt;
  if (unmarked < 0.0 || dark <= unmarked || dark > kPercent) return std::nullopt;
  return CalibrationProfile{unmarked / kPercent, dark / kPercent};
}

FileWriteResult KeepCalibration(const std::string& path, const std::string& key,
                                const CalibrationProfile& profile) {
  ProfileSectionChange change;
  change.section = kCalibrationSection;
  change.keys.push_back({key, CalibrationValue(profile)});
  return ApplySettingsChanges(path, {change});
}

EtchTone CalibratedEtchTone(const EtchTone& tone, const CalibrationProfile& profile) {
  if (!tone.known || tone.fullMarks <= 0) return tone;
  EtchTone calibrated = tone;
  for (std::size_t g = 0; g < tone.levelOfGrey.size(); ++g) {
    const double share = std::clamp(
        static_cast<double>(tone.fullMarks - tone.levelOfGrey[g]) / tone.fullMarks, 0.0, 1.0);
    const double shown = profile.Darkness(share);
    calibrated.levelOfGrey[g] =
        tone.fullMarks - static_cast<int>(std::lround(shown * tone.fullMarks));
  }
  return calibrated;
}

DyeResponse CalibratedResponse(const CalibrationProfile& profile) {
  return DyeResponse::FromPoints({{profile.unmarked, 0.0}, {profile.dark, 1.0}});
}

std::string CalibrationDiscKind(const BurnDisc& disc) {
  if (!disc.dataSide) return "label";
  if (disc.kind == kDiscDvdR) return "dvd-r";
  if (disc.kind == kDiscDvdPlusR) return "dvd+r";
  return "data";
}

DriveEtch DriveEtchFor(const ElsPage& page, BurnQuality quality, const ProfileFile& settings,
                       const std::string& vendor, const std::string& product,
                       const BurnDisc& disc) {
  DriveEtch etch;
  etch.tone = EtchToneOf(page, quality);
  if (!etch.tone.known) etch.tone = EtchToneOf(ElsPage(ExampleElsPage()), quality);
  if (vendor.empty() && product.empty()) return etch;
  etch.profile =
      ReadCalibration(settings, CalibrationKey(vendor, product, CalibrationDiscKind(disc)));
  if (!etch.profile) return etch;
  etch.tone = CalibratedEtchTone(etch.tone, *etch.profile);
  etch.response = CalibratedResponse(*etch.profile);
  return etch;
}

}  // namespace twr
