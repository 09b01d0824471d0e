// The marks file: "TWRMARK1", the disc key, then per side its name and its
// darkness (32-bit floats, big-endian) packed with zlib. Lengths and counts
// are 32-bit big-endian.
#include "drive/virtual/EtchedMarksFile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include "drive/ByteOrder.h"
#include "drive/virtual/VirtualDriveFiles.h"

namespace twr {

namespace {

constexpr char kMagic[8] = {'T', 'W', 'R', 'M', 'A', 'R', 'K', '1'};
constexpr std::size_t kPixels = static_cast<std::size_t>(kEtchedPictureSize) * kEtchedPictureSize;
constexpr std::size_t kSurfaceBytes = kPixels * 4;
constexpr std::size_t kLongestText = 4096;  // disc key, side name
constexpr std::size_t kMostSides = 16;
// Every side's marks beyond all packing (zlib's worst case adds far less
// than a tenth).
constexpr std::size_t kLongestFile = kMostSides * (kSurfaceBytes + kSurfaceBytes / 10);

void PutU32(std::vector<std::uint8_t>& out, std::size_t value) {
  const std::size_t at = out.size();
  out.resize(at + 4);
  PutBe32(&out[at], static_cast<std::uint32_t>(value));
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
  PutU32(out, text.size());
  out.insert(out.end(), text.begin(), text.end());
}

// Reads the fields of a loaded file in order, never past its end.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  bool U32(std::size_t& value) {
    if (bytes_.size() - at_ < 4) return false;
    value = GetBe32(&bytes_[at_]);
    at_ += 4;
    return true;
  }
  bool Bytes(std::size_t count, const std::uint8_t*& start) {
    if (bytes_.size() - at_ < count) return false;
    start = &bytes_[at_];
    at_ += count;
    return true;
  }
  bool Text(std::string& text) {
    std::size_t length = 0;
    const std::uint8_t* start = nullptr;
    if (!U32(length) || length > kLongestText || !Bytes(length, start)) return false;
    text.assign(reinterpret_cast<const char*>(start), length);
    return true;
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t at_ = 0;
};

bool ReadWhole(int fd, std::vector<std::uint8_t>& bytes, std::string& why) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = std::strerror(errno);
    return false;
  }
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > kLongestFile) {
    why = "it is larger than any marks file";
    return false;
  }
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return true;
}

}  // namespace

std::string EtchedMarksPath(const std::string& etchedPath) {
  std::filesystem::path marks(etchedPath);
  marks.replace_extension(".marks");
  if (marks == std::filesystem::path(etchedPath)) marks += ".marks";
  return marks.string();
}

MarksLoad LoadEtchedMarks(const std::string& path, const std::string& discKey,
                          std::map<std::string, EtchedSurface>& surfaces, std::string& why) {
  surfaces.clear();
  int error = 0;
  const int fd = OpenVirtualInput(path, why, &error);
  if (fd < 0) return error == ENOENT ? MarksLoad::Missing : MarksLoad::Damaged;
  std::vector<std::uint8_t> bytes;
  const bool read = ReadWhole(fd, bytes, why);
  ::close(fd);
  if (!read) {
    why = "'" + path + "': " + why;
    return MarksLoad::Damaged;
  }
  const auto damaged = [&] {
    surfaces.clear();
    why = "'" + path + "' is no marks file of this program, or it is damaged";
    return MarksLoad::Damaged;
  };
  Reader in(bytes);
  const std::uint8_t* magic = nullptr;
  std::string key;
  if (!in.Bytes(sizeof kMagic, magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 ||
      !in.Text(key))
    return damaged();
  if (key != discKey) return MarksLoad::OtherDisc;
  std::size_t sides = 0;
  if (!in.U32(sides) || sides > kMostSides) return damaged();
  std::vector<std::uint8_t> raw(kSurfaceBytes);
  for (std::size_t s = 0; s < sides; ++s) {
    std::string side;
    std::size_t packedLength = 0;
    const std::uint8_t* packed = nullptr;
    if (!in.Text(side) || !in.U32(packedLength) || !in.Bytes(packedLength, packed))
      return damaged();
    uLongf rawLength = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawLength, packed, static_cast<uLong>(packedLength)) != Z_OK ||
        rawLength != raw.size())
      return damaged();
    std::vector<float>& darkness = surfaces[side].Darkness();
    for (std::size_t i = 0; i < kPixels; ++i) {
      const std::uint32_t bits = GetBe32(&raw[4 * i]);
      float value;
      std::memcpy(&value, &bits, sizeof value);
      // Darkness lies in [0, 1]; whatever else a file holds counts as none.
      darkness[i] = (value >= 0.0f && value <= 1.0f) ? value : 0.0f;
    }
  }
  if (!in.AtEnd()) return damaged();
  return MarksLoad::Loaded;
}

bool SaveEtchedMarks(const std::string& path, const std::string& discKey,
                     const std::map<std::string, EtchedSurface>& surfaces, std::string& why) {
  std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
  PutText(out, discKey);
  PutU32(out, surfaces.size());
  std::vector<std::uint8_t> raw(kSurfaceBytes);
  std::vector<std::uint8_t> packed;
  for (const auto& [side, surface] : surfaces) {
    const std::vector<float>& darkness = surface.Darkness();
    for (std::size_t i = 0; i < kPixels; ++i) {
      std::uint32_t bits;
      std::memcpy(&bits, &darkness[i], sizeof bits);
      PutBe32(&raw[4 * i], bits);
    }
    uLongf packedLength = compressBound(static_cast<uLong>(raw.size()));
    packed.resize(packedLength);
    if (compress2(packed.data(), &packedLength, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_SPEED) != Z_OK) {
      why = "the marks could not be compressed";
      return false;
    }
    PutText(out, side);
    PutU32(out, packedLength);
    out.insert(out.end(), packed.begin(),
               packed.begin() + static_cast<std::ptrdiff_t>(packedLength));
  }
  return ReplaceVirtualOutput(path, out, why);
}

}  // namespace twr
