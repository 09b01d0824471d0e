// Arbitrary bytes as a disc image: the root listing must refuse what it
// cannot read and never read outside the image.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "drive/virtual/IsoImage.h"

namespace {

// Small inputs stand for the descriptor area: they are placed at block 16
// so that the fuzzer reaches the descriptors and directories at once.
constexpr std::size_t kDescriptorStart = 16 * 2048;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const int fd = memfd_create("twr-fuzz-iso", MFD_CLOEXEC);
  if (fd < 0) return 0;
  std::vector<std::uint8_t> image(kDescriptorStart, 0);
  image.insert(image.end(), data, data + size);
  if (ftruncate(fd, 0) != 0 || pwrite(fd, image.data(), image.size(), 0) < 0) return 0;
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  auto iso = twr::IsoImage::Open(path);
  if (!iso) return 0;
  std::vector<twr::DiscEntry> entries;
  iso->ListRoot(entries);
  return 0;
}
