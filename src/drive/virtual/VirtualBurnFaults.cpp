// Parsing of the burn side's injected faults.
#include "drive/virtual/VirtualBurnFaults.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace twr {

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.emplace_back();
  return parts;
}

std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool ParseNumber(const std::string& s, int base, long long min, long long max, long long& out) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c)) ||
        (base == 10 && !std::isdigit(static_cast<unsigned char>(c))))
      return false;
  if (s.size() > 12) return false;
  const long long v = std::strtoll(s.c_str(), nullptr, base);
  if (v < min || v > max) return false;
  out = v;
  return true;
}

constexpr long long kMaxWrite = 1LL << 40;

}  // namespace

std::vector<VirtualBurnFault> ParseVirtualBurnFaults(const std::string& text) {
  std::vector<VirtualBurnFault> faults;
  for (const std::string& rawItem : Split(text, ',')) {
    const std::string item = Trim(rawItem);
    if (item.empty()) continue;
    const std::vector<std::string> f = Split(item, ':');
    VirtualBurnFault fault;
    long long write = 0, value = 0;
    if (f[0] == "busy" && f.size() == 3 && ParseNumber(f[1], 10, 1, kMaxWrite, write) &&
        (f[2] == "forever" || ParseNumber(f[2], 10, 1, 1000000, value))) {
      fault.kind = VirtualBurnFault::Busy;
      fault.endless = f[2] == "forever";
      fault.times = fault.endless ? 0 : static_cast<int>(value);
    } else if (f[0] == "streaming" && f.size() == 2 && ParseNumber(f[1], 10, 1, kMaxWrite, write)) {
      fault.kind = VirtualBurnFault::Streaming;
    } else if (f[0] == "error" && f.size() == 3 && ParseNumber(f[1], 10, 1, kMaxWrite, write)) {
      const std::vector<std::string> s = Split(f[2], '/');
      long long k = 0, a = 0, q = 0;
      if (s.size() != 3 || !ParseNumber(s[0], 16, 0, 255, k) || !ParseNumber(s[1], 16, 0, 255, a) ||
          !ParseNumber(s[2], 16, 0, 255, q))
        continue;
      fault.kind = VirtualBurnFault::Error;
      fault.key = static_cast<std::uint8_t>(k);
      fault.asc = static_cast<std::uint8_t>(a);
      fault.ascq = static_cast<std::uint8_t>(q);
    } else if (f[0] == "notready" && f.size() == 1) {
      fault.kind = VirtualBurnFault::NotReady;
    } else if (f[0] == "gone" && f.size() == 2 && ParseNumber(f[1], 10, 1, kMaxWrite, write)) {
      fault.kind = VirtualBurnFault::Gone;
    } else {
      continue;  // malformed: ignored
    }
    fault.write = write;
    faults.push_back(fault);
  }
  return faults;
}

}  // namespace twr
