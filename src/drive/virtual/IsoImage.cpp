// Disc image access for the virtual drive.
#include "drive/virtual/IsoImage.h"

#include <cdio/iso9660.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drive/virtual/VirtualDriveFiles.h"

namespace twr {

namespace {

constexpr std::uint64_t kImageBlockSize = 2048;

// ISO 9660 volume descriptors and directory records.
constexpr std::uint32_t kFirstDescriptorBlock = 16;
constexpr std::uint32_t kMostDescriptors = 64;
constexpr std::uint8_t kPrimaryDescriptor = 1;
constexpr std::uint8_t kSupplementaryDescriptor = 2;
constexpr std::uint8_t kTerminatorDescriptor = 255;
constexpr std::size_t kStandardIdOffset = 1;
constexpr std::size_t kLogicalBlockSizeOffset = 128;
constexpr std::size_t kRootRecordOffset = 156;
constexpr std::size_t kRecordExtentOffset = 2;  // little-endian half of both-endian
constexpr std::size_t kRecordSizeOffset = 10;   // little-endian half of both-endian
constexpr std::size_t kRecordNameLengthOffset = 32;
constexpr std::size_t kRecordFixedLength = 33;  // up to the name
constexpr std::uint32_t kLongestRootDirectory = 1u << 20;
// System use (Rock Ridge) entries: signature, length, version, data.
constexpr std::size_t kSystemUseHeader = 4;
constexpr std::size_t kContinuationLength = 28;

std::uint32_t GetLe32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

bool Inside(std::uint32_t extent, std::uint32_t bytes, std::uint32_t imageBlocks) {
  const std::uint64_t blocks = (std::uint64_t{bytes} + kImageBlockSize - 1) / kImageBlockSize;
  return std::uint64_t{extent} + blocks <= imageBlocks;
}

struct IsoCloser {
  void operator()(iso9660_t* iso) const {
    if (iso) iso9660_close(iso);
  }
};

struct ListFreer {
  void operator()(CdioList_t* list) const {
    if (list) iso9660_filelist_free(list);
  }
};

}  // namespace

std::unique_ptr<IsoImage> IsoImage::Open(const std::string& path, std::string* why) {
  std::string reason;
  const int fd = OpenVirtualInput(path, reason);
  if (fd < 0) {
    if (why) *why = reason;
    return nullptr;
  }
  struct stat st {};
  ::fstat(fd, &st);
  const std::uint64_t blocks =
      (static_cast<std::uint64_t>(st.st_size) + kImageBlockSize - 1) / kImageBlockSize;
  const auto capped = static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks, UINT32_MAX));
  return std::unique_ptr<IsoImage>(new IsoImage(fd, path, capped));
}

IsoImage::~IsoImage() {
  if (fd_ >= 0) ::close(fd_);
}

bool IsoImage::ReadBlocks(std::uint32_t lba, std::span<std::uint8_t> out) const {
  const std::uint64_t count = out.size() / kImageBlockSize;
  if (std::uint64_t{lba} + count > blocks_) return false;
  std::memset(out.data(), 0, out.size());
  std::uint64_t offset = std::uint64_t{lba} * kImageBlockSize;
  std::size_t done = 0;
  const std::size_t wanted = static_cast<std::size_t>(count * kImageBlockSize);
  while (done < wanted) {
    const ssize_t n = ::pread(fd_, out.data() + done, wanted - done, static_cast<off_t>(offset));
    if (n < 0) return false;
    if (n == 0) break;  // the last block of an image of odd size: zero-filled
    done += static_cast<std::size_t>(n);
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool IsoImage::DirectorySound(std::uint32_t extent, std::uint32_t bytes) const {
  if (bytes == 0 || bytes > kLongestRootDirectory || !Inside(extent, bytes, blocks_)) return false;
  const std::uint32_t blocks =
      static_cast<std::uint32_t>((bytes + kImageBlockSize - 1) / kImageBlockSize);
  std::vector<std::uint8_t> dir(std::size_t{blocks} * kImageBlockSize);
  if (!ReadBlocks(extent, dir)) return false;
  for (std::size_t block = 0; block < dir.size(); block += kImageBlockSize) {
    std::size_t at = 0;
    while (at < kImageBlockSize) {
      const std::uint8_t* record = &dir[block + at];
      const std::size_t length = record[0];
      if (length == 0) break;  // the rest of this block is padding
      if (length < kRecordFixedLength || at + length > kImageBlockSize) return false;
      const std::size_t nameLength = record[kRecordNameLengthOffset];
      std::size_t use = kRecordFixedLength + nameLength;
      if (use > length) return false;
      if (use % 2 != 0) ++use;  // padding byte after an even-length name
      // System use entries must each lie inside the record, and a
      // continuation area inside the image.
      while (use + kSystemUseHeader <= length) {
        const std::uint8_t* entry = record + use;
        const std::size_t entryLength = entry[2];
        if (entryLength == 0 && entry[0] == 0) break;  // zero padding
        if (entryLength < kSystemUseHeader || use + entryLength > length) return false;
        if (entry[0] == 'C' && entry[1] == 'E') {
          if (entryLength < kContinuationLength) return false;
          const std::uint32_t ceBlock = GetLe32(entry + 4);
          const std::uint32_t ceOffset = GetLe32(entry + 12);
          const std::uint32_t ceLength = GetLe32(entry + 20);
          if (ceOffset >= kImageBlockSize || ceLength > kImageBlockSize - ceOffset ||
              !Inside(ceBlock, 1, blocks_))
            return false;
        }
        use += entryLength;
      }
      at += length;
    }
  }
  return true;
}

bool IsoImage::FileSystemSound() const {
  bool primary = false;
  std::vector<std::uint8_t> descriptor(kImageBlockSize);
  for (std::uint32_t i = 0; i < kMostDescriptors; ++i) {
    if (!ReadBlocks(kFirstDescriptorBlock + i, descriptor)) return false;
    if (std::memcmp(&descriptor[kStandardIdOffset], "CD001", 5) != 0) return false;
    const std::uint8_t type = descriptor[0];
    if (type == kTerminatorDescriptor) return primary;
    if (type != kPrimaryDescriptor && type != kSupplementaryDescriptor) continue;
    if (descriptor[kLogicalBlockSizeOffset] != (kImageBlockSize & 0xFF) ||
        descriptor[kLogicalBlockSizeOffset + 1] != (kImageBlockSize >> 8))
      return false;
    const std::uint8_t* root = &descriptor[kRootRecordOffset];
    if (root[0] < kRecordFixedLength + 1) return false;
    if (!DirectorySound(GetLe32(root + kRecordExtentOffset), GetLe32(root + kRecordSizeOffset)))
      return false;
    if (type == kPrimaryDescriptor) primary = true;
  }
  return false;  // no terminator
}

bool IsoImage::ListRoot(std::vector<DiscEntry>& entries) const {
  entries.clear();
  // The library trusts the image's descriptors and directory records; a
  // damaged or truncated image is refused here before it reaches them.
  if (!FileSystemSound()) return false;
  // The library opens the file by name: this name is the file already open
  // and checked, even if the path now names something else (a FIFO).
  // Without /proc the path is checked again just before.
  std::string name = "/proc/self/fd/" + std::to_string(fd_);
  struct stat st {};
  if (::stat(name.c_str(), &st) != 0) {
    name = path_;
    if (::stat(name.c_str(), &st) != 0) return false;
  }
  if (!S_ISREG(st.st_mode)) return false;
  std::unique_ptr<iso9660_t, IsoCloser> iso(iso9660_open_ext(name.c_str(), ISO_EXTENSION_ALL));
  if (!iso) return false;
  std::unique_ptr<CdioList_t, ListFreer> list(iso9660_ifs_readdir(iso.get(), "/"));
  if (!list) return false;
  const std::uint8_t joliet = iso9660_ifs_get_joliet_level(iso.get());
  CdioListNode_t* node;
  _CDIO_LIST_FOREACH(node, list.get()) {
    const auto* stat = static_cast<const iso9660_stat_t*>(_cdio_list_node_data(node));
    if (!stat) continue;
    const char* raw = stat->filename;
    if (!std::strcmp(raw, ".") || !std::strcmp(raw, "..")) continue;
    std::string name = raw;
    if (joliet == 0 && stat->rr.b3_rock != yep) {
      // A plain ISO 9660 name: "NAME.EXT;1" is listed as "NAME.EXT".
      name = name.substr(0, name.find(';'));
      if (!name.empty() && name.back() == '.') name.pop_back();
    }
    entries.push_back({name, stat->type == iso9660_stat_s::_STAT_DIR});
  }
  return true;
}

}  // namespace twr
