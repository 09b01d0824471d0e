// Volume texts and top-level entry lines of the disc in a drive.
#include "drive/DiscScan.h"

#include <algorithm>

#include "drive/CELDevice.h"

namespace twr {

namespace {
constexpr const char* kEntrySpacing = "  ";
}  // namespace

DiscTexts LoadDiscTexts(CELDevice& device) {
  DiscTexts texts;
  texts.ready = device.TestUnitReadyTries() != 0;
  if (!texts.ready) return texts;
  std::string publisher;
  device.ReadVolumeInfo(texts.title, publisher, texts.date);
  return texts;
}

char ScanLetter(const std::string& entryText) {
  if (entryText.size() >= 4 && entryText[0] == '(' && entryText[1] >= 'A' && entryText[1] <= 'Z' &&
      entryText[2] == ':' && entryText[3] == ')')
    return entryText[1];
  return 'D';
}

std::vector<std::string> ScanEntryLines(CELDevice& device, char letter, int room) {
  std::vector<std::string> lines;
  std::vector<DiscEntry> entries;
  if (!device.ListDiscTopLevel(letter, entries)) return lines;
  const auto limit = static_cast<std::size_t>(std::clamp(room, 0, kMaxScanLines));
  for (const DiscEntry& entry : entries) {
    if (lines.size() >= limit) break;
    if (entry.name == "." || entry.name == "..") continue;
    lines.push_back(entry.folder ? "[" + entry.name + "]" + kEntrySpacing
                                 : entry.name + kEntrySpacing);
  }
  return lines;
}

}  // namespace twr
