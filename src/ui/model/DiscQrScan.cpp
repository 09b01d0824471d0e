// The disc's QR text read from a drive.
#include "ui/model/DiscQrScan.h"

#include "common/Utf8.h"
#include "drive/CELDevice.h"
#include "drive/DiscScan.h"

namespace twr {

DiscQrScan ScanDiscForQr(CELDevice& device, char letter, const TreeLimits& limits,
                         std::size_t maxBytes) {
  DiscQrScan scan;
  const DiscTexts texts = LoadDiscTexts(device);
  scan.ready = texts.ready;
  if (!scan.ready) return scan;
  DiscQrFacts facts;
  facts.volume = texts.title;
  facts.date = texts.date;
  for (const DiscEntry& entry : ListTopLevel(device, letter).entries) {
    const std::string name = PlainTextFromBytes(entry.name);
    if (name.empty()) continue;  // nothing but control characters
    facts.names.push_back(entry.folder ? name + "/" : name);
  }
  scan.count = CountDiscTree(device, letter, limits);
  facts.counted = scan.count.counted;
  facts.capped = scan.count.capped;
  facts.files = scan.count.files;
  facts.bytes = scan.count.bytes;
  scan.text = DiscQrText(facts, maxBytes);
  return scan;
}

}  // namespace twr
