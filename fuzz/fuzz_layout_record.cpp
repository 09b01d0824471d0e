// Arbitrary bytes as twr.ini: the layout list and the layout record built
// from them stay within their limits (radii, ring band, arcs, list length).
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "label/LayoutSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("twr-fuzz-layouts", MFD_CLOEXEC);
  if (fd < 0 || size < 1) return 0;
  const bool keepRadii = (data[0] & 1) != 0;
  const int index = data[0] >> 1;
  ++data, --size;
  if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) < 0)) return 0;
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);

  std::vector<std::string> names;
  const bool listed = twr::LoadLayoutNames(path, names);
  if (listed != !names.empty() || names.size() > static_cast<std::size_t>(twr::kMaxLayoutCount))
    std::abort();
  twr::LayoutRecord record;
  twr::LoadLayout(path, index, false, record);
  if (record.InnerRadius < twr::kLowestInnerRadius ||
      record.OuterRadius > twr::kHighestOuterRadius || record.InnerRadius > record.OuterRadius ||
      record.RingBand > record.OuterRadius - record.InnerRadius ||
      record.RingBand > record.RingLength)
    std::abort();
  if (record.RingMAngle < 0 || record.RingMAngle > twr::kMaxRingAngle || record.RingSAngle < 0 ||
      record.RingSAngle > twr::kMaxRingAngle || record.BgColor > 0xFFFFFF ||
      record.TxColor > 0xFFFFFF)
    std::abort();
  const double band = record.RingBand;
  twr::LoadLayout(path, index, keepRadii, record);
  if (keepRadii && record.RingBand != band) std::abort();
  (void)twr::LoadFontSetting(path);
  return 0;
}
