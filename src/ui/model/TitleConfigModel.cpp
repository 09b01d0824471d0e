// The configuration dialog's rules.
#include "ui/model/TitleConfigModel.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <tuple>

#include <QCoreApplication>

#include "burn/BurnSequence.h"
#include "common/Messages.h"
#include "drive/CELDevice.h"
#include "label/BurningArea.h"
#include "label/LayoutSettings.h"

namespace twr::ui {

namespace {

constexpr int kRadiusDigits = 15;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The second lines: the field refused and what it allows. Numbers in the
// radius edits' own form, whatever the locale.
QString Tr(const char* context, const char* text) {
  return QCoreApplication::translate(context, text);
}

QString Mm(double millimetres) {
  return QString::fromStdString(FormatRadius(millimetres));
}

std::string NotANumberDetail(TitleConfigModel::Field field, bool rimtone) {
  if (field == TitleConfigModel::Field::Outer)
    return Tr("TitleConfigModel",
              "Outer radius: a number of millimetres, above the inner radius and at most %1.")
        .arg(Mm(kHighestOuterRadius))
        .toStdString();
  if (rimtone)
    return Tr("TitleConfigModel",
              "Inner radius: a number of millimetres, beyond the disc's recorded data and below "
              "the outer radius.")
        .toStdString();
  return Tr("TitleConfigModel",
            "Inner radius: a number of millimetres, at least %1 and below the outer radius.")
      .arg(Mm(kLowestInnerRadius))
      .toStdString();
}

std::string BurningAreaDetail(TitleConfigModel::Field field, const TitleConfigValues& area,
                              double lowest) {
  if (field == TitleConfigModel::Field::Outer)
    return Tr("TitleConfigModel",
              "Outer radius %1 mm: allowed above the inner radius (%2 mm) and at most %3 mm.")
        .arg(Mm(area.outer), Mm(area.inner), Mm(kHighestOuterRadius))
        .toStdString();
  const QString text = area.rimtone ? Tr("TitleConfigModel",
                                         "Inner radius %1 mm: allowed from %2 mm (where the disc's "
                                         "data area ends) to below the outer radius (%3 mm).")
                                    : Tr("TitleConfigModel",
                                         "Inner radius %1 mm: allowed from %2 mm to below the "
                                         "outer radius (%3 mm).");
  return text.arg(Mm(area.inner), Mm(lowest), Mm(area.outer)).toStdString();
}

}  // namespace

std::string FormatRadius(double millimetres) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, millimetres,
                                    std::chars_format::general, kRadiusDigits);
  return std::string(buffer, result.ptr);
}

bool ParseRadius(std::string_view text, double& millimetres) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (text.empty()) return false;
  std::string number(text);
  std::replace(number.begin(), number.end(), ',', '.');
  const char* first = number.data();
  const char* last = first + number.size();
  if (*first == '+') ++first;  // from_chars takes only a minus sign
  // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
  if (first == last ||
      !(std::isdigit(static_cast<unsigned char>(*first)) || *first == '.' || *first == '-'))
    return false;
  double value = 0.0;
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value)) return false;
  millimetres = value;
  return true;
}

void TitleConfigModel::Begin(const TitleConfigValues& values, std::vector<std::string> fonts,
                             CELDevice& device) {
  working_ = values;
  confirmed_ = values;
  fonts_ = std::move(fonts);
  const auto found = std::find(fonts_.begin(), fonts_.end(), values.font);
  fontIndex_ = found == fonts_.end() ? 0 : static_cast<int>(found - fonts_.begin());
  std::uint8_t kind = kDiscNone;
  runDrive_([&] { kind = device.GetDiscKind(); });
  rimtoneEnabled_ = RimtoneAllowed(kind);
  if (rimtoneEnabled_)
    rimtoneReason_.clear();
  else if (kind == kDiscNone)
    rimtoneReason_ = Tr("TitleConfigModel",
                        "Rimtone mode needs a DVD-R or DVD+R with its data side to the laser; "
                        "the drive holds no disc.")
                         .toStdString();
  else
    rimtoneReason_ = Tr("TitleConfigModel",
                        "Rimtone mode needs a DVD-R or DVD+R with its data side to the laser; "
                        "the disc in the drive is another kind, or its label side faces the "
                        "laser.")
                         .toStdString();
  emit Changed();
}

bool TitleConfigModel::ReadControls(bool rimtone, std::string_view outerText,
                                    std::string_view innerText, int fontIndex, Messages& messages) {
  working_.rimtone = rimtone;
  if (fontIndex >= 0 && fontIndex < static_cast<int>(fonts_.size())) fontIndex_ = fontIndex;
  refused_ = Field::None;
  for (auto [text, member, field] : {std::tuple{outerText, &working_.outer, Field::Outer},
                                     std::tuple{innerText, &working_.inner, Field::Inner}}) {
    if (!ParseRadius(text, *member)) {
      refused_ = field;
      messages.ShowDetailed(StringText(kStrEnterNumber), NotANumberDetail(field, rimtone),
                            MessageIcon::Warning);
      return false;
    }
  }
  return true;
}

void TitleConfigModel::ChooseArea(bool automatic) {
  if (working_.automaticArea == automatic) return;
  working_.automaticArea = automatic;
  emit Changed();
}

void TitleConfigModel::AdjustInnerRadius(CELDevice& device) {
  runDrive_([&] {
    if (working_.rimtone) working_.inner = RimtoneInner(ReadBurnDisc(device, true), working_.inner);
  });
  emit Changed();
}

bool TitleConfigModel::Accept(CELDevice& device, Messages& messages) {
  BurnDisc disc = BurnDisc::LabelSide();
  if (working_.rimtone) runDrive_([&] { disc = ReadBurnDisc(device, true); });
  const double lowest = LowestInnerRadius(disc);
  if (!IsBurningAreaValid(working_.inner, working_.outer, lowest)) {
    // The inner radius first (out of its range, or not below the outer),
    // then an outer radius past the edge.
    const bool innerFits = lowest <= working_.inner && working_.inner < working_.outer;
    refused_ = innerFits ? Field::Outer : Field::Inner;
    messages.ShowDetailed(StringText(kStrBadBurningArea),
                          BurningAreaDetail(refused_, working_, lowest), MessageIcon::Error);
    return false;
  }
  refused_ = Field::None;
  if (fontIndex_ >= 0 && fontIndex_ < static_cast<int>(fonts_.size()))
    working_.font = fonts_[static_cast<std::size_t>(fontIndex_)];
  confirmed_ = working_;
  emit Changed();
  return true;
}

}  // namespace twr::ui
