// The disc's QR code text.
#include "label/DiscQrText.h"

#include <array>
#include <charconv>

#include "common/Translate.h"

namespace twr {

namespace {

constexpr double kBytesPerMegabyte = 1e6;
constexpr double kWholeFrom = 100.0;  // megabytes written without a decimal from here
constexpr std::size_t kDateDigits = 8;

std::string DateText(const std::string& date) {
  const bool digits =
      date.size() == kDateDigits && date.find_first_not_of("0123456789") == std::string::npos;
  if (!digits) return date;
  return date.substr(0, 4) + "-" + date.substr(4, 2) + "-" + date.substr(6, 2);
}

}  // namespace

std::string MegabytesText(std::uint64_t bytes) {
  const double megabytes = static_cast<double>(bytes) / kBytesPerMegabyte;
  std::array<char, 32> buffer{};
  const int precision = megabytes < kWholeFrom ? 1 : 0;
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), megabytes,
                                          std::chars_format::fixed, precision);
  if (error != std::errc()) return "?";
  return std::string(buffer.data(), end);
}

std::string DiscQrText(const DiscQrFacts& facts, std::size_t maxBytes) {
  // The parts in their order, empty ones left out; the first that would
  // take the text past maxBytes ends it.
  std::vector<std::string> parts{facts.volume, DateText(facts.date)};
  if (facts.counted) {
    const std::string files = std::to_string(facts.files);
    const std::string size = MegabytesText(facts.bytes);
    if (facts.capped) {
      parts.push_back(Arg(Tr("DiscQrText", "%1+ files"), {files}));
      parts.push_back(Arg(Tr("DiscQrText", "%1+ MB"), {size}));
    } else {
      parts.push_back(facts.files == 1 ? std::string(Tr("DiscQrText", "1 file"))
                                       : Arg(Tr("DiscQrText", "%1 files"), {files}));
      parts.push_back(Arg(Tr("DiscQrText", "%1 MB"), {size}));
    }
  }
  parts.insert(parts.end(), facts.names.begin(), facts.names.end());
  std::string text;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    const std::size_t comma = text.empty() ? 0 : 2;
    if (text.size() + comma + part.size() > maxBytes) break;
    if (comma) text += ", ";
    text += part;
  }
  return text;
}

}  // namespace twr
