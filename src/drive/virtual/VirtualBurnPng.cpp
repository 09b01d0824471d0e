// PNG encoding with zlib: signature, IHDR, one IDAT, IEND.
#include "drive/virtual/VirtualBurnPng.h"

#include <zlib.h>

#include "drive/virtual/VirtualDriveFiles.h"

namespace twr {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint8_t kBitDepth = 8;
constexpr std::uint8_t kColourTypeRgb = 2;
constexpr std::uint8_t kFilterNone = 0;

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void AppendChunk(std::vector<std::uint8_t>& out, const char type[4],
                 const std::vector<std::uint8_t>& body) {
  PutBe32(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + body.size()));
  PutBe32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

bool WriteRgbPng(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb, std::string* why) {
  if (width <= 0 || height <= 0 ||
      rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
    if (why) *why = "the picture has no valid size";
    return false;
  }
  const std::size_t row = static_cast<std::size_t>(width) * 3;
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(kFilterNone);
    const auto begin = rgb.begin() + static_cast<std::ptrdiff_t>(row * y);
    raw.insert(raw.end(), begin, begin + static_cast<std::ptrdiff_t>(row));
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                Z_BEST_SPEED) != Z_OK) {
    if (why) *why = "the picture could not be compressed";
    return false;
  }
  packed.resize(packedSize);

  std::vector<std::uint8_t> file(kSignature, kSignature + sizeof kSignature);
  std::vector<std::uint8_t> header;
  PutBe32(header, static_cast<std::uint32_t>(width));
  PutBe32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {kBitDepth, kColourTypeRgb, 0, 0, 0});
  AppendChunk(file, "IHDR", header);
  AppendChunk(file, "IDAT", packed);
  AppendChunk(file, "IEND", {});

  std::string ignored;
  return ReplaceVirtualOutput(path, file, why ? *why : ignored);
}

}  // namespace twr
