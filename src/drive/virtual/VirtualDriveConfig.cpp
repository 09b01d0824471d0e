// Reading the [VirtualDrive] section and building the ELS page the virtual
// drive reports.
#include "drive/virtual/VirtualDriveConfig.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "common/ProfileFile.h"
#include "drive/ByteOrder.h"

namespace twr {

namespace {

using Layout = ElsPageLayout;

// The example page's fields.
constexpr std::uint8_t kExampleSelector = 0x0F;
constexpr std::uint32_t kExampleBytpw = 214;
constexpr unsigned kExampleDivisor = 8;
constexpr unsigned kExampleFeedStepNumerator = 95;
constexpr unsigned kExampleFeedStepDenominator = 1;

// A numerator/denominator field of the page.
void PutFraction(std::uint8_t* field, std::uint16_t numerator, std::uint16_t denominator) {
  PutBe16(field, numerator);
  PutBe16(field + Layout::kFractionDenominator, denominator);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string NormalKind(const std::string& kind) {
  const std::string k = Lower(kind);
  return IsVirtualDiscKind(k) ? k : "unknown";
}

std::string NormalStatus(const std::string& status) {
  const std::string s = Lower(status);
  return (s == "blank" || s == "incomplete") ? s : "complete";
}

// A settings value without its trailing " ; comment".
std::string Value(const ProfileFile& profile, const std::string& section, const char* key,
                  const std::string& def) {
  if (!profile.HasKey(section, key)) return def;
  std::string raw = profile.GetRaw(section, key);
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == ';' && (i == 0 || raw[i - 1] == ' ' || raw[i - 1] == '\t')) {
      cut = i;
      break;
    }
  }
  if (cut != std::string::npos) raw.erase(cut);
  return std::string(TrimProfileBlanks(raw));
}

// A decimal number of at most `max`, nothing else in the text.
bool ParseUnsigned(const std::string& text, unsigned long& out, unsigned long max = 0xFFFFFFFFul) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long value = std::strtoul(text.c_str(), &end, 10);
  if (errno == ERANGE || !end || *end != '\0' || value > max) return false;
  out = value;
  return true;
}

constexpr unsigned long kLongestLatencyMs = 10000;

// A latency a test of a slow drive can use: at most ten seconds a command.
int SaneLatency(unsigned long milliseconds) {
  return static_cast<int>(std::min(milliseconds, kLongestLatencyMs));
}

constexpr double kDefaultReloadDelay = 2.0;
constexpr double kLongestReloadDelay = 3600.0;

// A reload delay the tray can wait: not a number gives the default, the
// rest is held between 0 and an hour.
double SaneReloadDelay(double seconds) {
  if (std::isnan(seconds)) return kDefaultReloadDelay;
  return std::clamp(seconds, 0.0, kLongestReloadDelay);
}

}  // namespace

// ---- ELS page ---------------------------------------------------------------

void SetElsSpeedEntries(ElsPageBytes& page, const std::vector<ElsSpeedEntry>& entries) {
  const std::size_t count =
      std::min(entries.size(), static_cast<std::size_t>(Layout::kMaxSpeedEntries));
  std::memset(&page[Layout::kOffSpeedEntries], 0, Layout::kSize - Layout::kOffSpeedEntries);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* row = &page[Layout::EntryOffset(static_cast<int>(i))];
    PutFraction(row + Layout::kEntryRotation, entries[i].rotationNum, entries[i].rotationDen);
    PutFraction(row + Layout::kEntrySpeed, entries[i].speedNum, entries[i].speedDen);
  }
  page[Layout::kOffEntryCount] =
      static_cast<std::uint8_t>((page[Layout::kOffEntryCount] & ~Layout::kEntryCountMask) |
                                (count & Layout::kEntryCountMask));
}

ElsPageBytes ExampleElsPage() {
  ElsPageBytes page{};
  // The mode data length counts the bytes after its own two.
  PutBe16(&page[Layout::kOffModeDataLength], Layout::kSize - 2);
  page[Layout::kOffPageCode] = Layout::kPageCode | Layout::kParametersSavable;
  page[Layout::kOffPageLength] =
      static_cast<std::uint8_t>(Layout::kSize - Layout::kOffPageLength - 1);
  page[Layout::kOffSelector] = kExampleSelector;
  PutBe32(&page[Layout::kOffBytpw], kExampleBytpw);
  PutBe16(&page[Layout::kOffDivisorA], kExampleDivisor);
  PutBe16(&page[Layout::kOffDivisorB], kExampleDivisor);
  PutFraction(&page[Layout::kOffFeedStepNumerator], kExampleFeedStepNumerator,
              kExampleFeedStepDenominator);
  const std::vector<ElsSpeedEntry> speeds = {
      {9000, 1, 36, 1}, {7875, 1, 189, 4}, {6750, 1, 36, 1}, {4500, 1, 45, 1},
      {2250, 1, 45, 1}, {1125, 1, 36, 1},  {225, 1, 45, 2},
  };
  SetElsSpeedEntries(page, speeds);
  PutFraction(&page[Layout::kOffCurrentRotation], speeds[0].rotationNum, speeds[0].rotationDen);
  PutFraction(&page[Layout::kOffCurrentSpeed], speeds[0].speedNum, speeds[0].speedDen);
  return page;
}

bool ParseElsFraction(const std::string& text, std::uint16_t& num, std::uint16_t& den) {
  constexpr unsigned long kMax16 = 0xFFFF;
  unsigned long n = 0, d = 1;
  const std::size_t slash = text.find('/');
  const std::size_t point = text.find('.');
  if (slash != std::string::npos) {
    if (!ParseUnsigned(text.substr(0, slash), n) || !ParseUnsigned(text.substr(slash + 1), d))
      return false;
  } else if (point != std::string::npos) {
    const std::string whole = text.substr(0, point), fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.size() > 4) return false;
    unsigned long w = 0, f = 0;
    if (!ParseUnsigned(whole.empty() ? "0" : whole, w) || !ParseUnsigned(fraction, f)) return false;
    for (std::size_t i = 0; i < fraction.size(); ++i) d *= 10;
    if (w > kMax16) return false;
    n = w * d + f;
  } else if (!ParseUnsigned(text, n)) {
    return false;
  }
  if (d == 0) return false;
  const unsigned long g = std::gcd(n, d);
  if (g > 1) n /= g, d /= g;
  if (n > kMax16 || d > kMax16) return false;
  num = static_cast<std::uint16_t>(n);
  den = static_cast<std::uint16_t>(d);
  return true;
}

// ---- Configuration ----------------------------------------------------------

VirtualDriveConfig VirtualDriveConfig::FromProfile(const ProfileFile& profile,
                                                   const std::string& section) {
  VirtualDriveConfig c;
  const std::string letter = Value(profile, section, "Letter", "V");
  if (!letter.empty() && std::isalpha(static_cast<unsigned char>(letter[0])))
    c.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(letter[0])));
  c.vendor = Value(profile, section, "Vendor", c.vendor);
  c.product = Value(profile, section, "Product", c.product);
  c.revision = Value(profile, section, "Revision", c.revision);
  c.disc = NormalKind(Value(profile, section, "Disc", c.disc));
  c.status = NormalStatus(Value(profile, section, "Status", c.status));
  c.flip = Value(profile, section, "Flip", "");
  if (!c.flip.empty()) c.flip = NormalKind(c.flip);
  c.flipStatus = Value(profile, section, "FlipStatus", "");
  if (!c.flipStatus.empty()) c.flipStatus = NormalStatus(c.flipStatus);
  c.image = Value(profile, section, "Image", "");
  c.mounted = Value(profile, section, "Mounted", "1") != "0";
  unsigned long number = 0;
  if (ParseUnsigned(Value(profile, section, "Recorded", ""), number))
    c.recordedBlocks = static_cast<std::uint32_t>(number);
  const std::string delay = Value(profile, section, "ReloadDelay", "");
  double seconds = 0.0;
  const auto [delayEnd, delayError] =
      std::from_chars(delay.data(), delay.data() + delay.size(), seconds);
  if (!delay.empty() && delayError == std::errc() && delayEnd == delay.data() + delay.size())
    c.reloadDelaySeconds = SaneReloadDelay(seconds);
  if (ParseUnsigned(Value(profile, section, "Latency", ""), number))
    c.latencyMs = SaneLatency(number);
  if (ParseUnsigned(Value(profile, section, "Discs", ""), number))
    c.discs = static_cast<int>(std::min<unsigned long>(number, kMaxVirtualPile));
  c.tracePath = Value(profile, section, "Trace", "");
  c.closedAsDvdRom = Value(profile, section, "ClosedAsDvdRom", "0") == "1";
  c.hasElsPage = Value(profile, section, "ElsPage", "1") != "0";

  if (ParseUnsigned(Value(profile, section, "Bytpw", ""), number))
    PutBe32(&c.elsPage[Layout::kOffBytpw], static_cast<std::uint32_t>(number));
  if (ParseUnsigned(Value(profile, section, "DivisorA", ""), number, 0xFFFF))
    PutBe16(&c.elsPage[Layout::kOffDivisorA], static_cast<unsigned>(number));
  if (ParseUnsigned(Value(profile, section, "DivisorB", ""), number, 0xFFFF))
    PutBe16(&c.elsPage[Layout::kOffDivisorB], static_cast<unsigned>(number));
  std::uint16_t num = 0, den = 0;
  if (ParseElsFraction(Value(profile, section, "FeedStep", ""), num, den))
    PutFraction(&c.elsPage[Layout::kOffFeedStepNumerator], num, den);
  const std::string speeds = Value(profile, section, "Speeds", "");
  if (!speeds.empty()) {
    std::vector<ElsSpeedEntry> entries;
    std::size_t start = 0;
    while (start <= speeds.size()) {
      const std::size_t comma = std::min(speeds.find(',', start), speeds.size());
      const std::string pair(TrimProfileBlanks(speeds.substr(start, comma - start)));
      const std::size_t colon = pair.find(':');
      ElsSpeedEntry e;
      if (colon != std::string::npos &&
          ParseElsFraction(std::string(TrimProfileBlanks(pair.substr(0, colon))), e.rotationNum,
                           e.rotationDen) &&
          ParseElsFraction(std::string(TrimProfileBlanks(pair.substr(colon + 1))), e.speedNum,
                           e.speedDen))
        entries.push_back(e);
      start = comma + 1;
    }
    SetElsSpeedEntries(c.elsPage, entries);
  }
  c.burn = VirtualBurnConfig::FromProfile(profile, section);
  return c;
}

void VirtualDriveConfig::Normalize() {
  disc = NormalKind(disc);
  status = NormalStatus(status);
  if (!flip.empty()) flip = NormalKind(flip);
  if (!flipStatus.empty()) flipStatus = NormalStatus(flipStatus);
  reloadDelaySeconds = SaneReloadDelay(reloadDelaySeconds);
  latencyMs = std::clamp(latencyMs, 0, static_cast<int>(kLongestLatencyMs));
  discs = std::clamp(discs, 0, kMaxVirtualPile);
}

std::string VirtualPileEtchedPath(const std::string& etched, int disc) {
  if (etched.empty() || disc <= 1) return etched;
  const std::size_t slash = etched.rfind('/');
  const std::size_t dot = etched.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
  std::string number(1, '-');
  number += std::to_string(disc);
  return hasExtension ? etched.substr(0, dot) + number + etched.substr(dot) : etched + number;
}

}  // namespace twr
