// Disc image access for the virtual drive.
#include "drive/virtual/IsoImage.h"

#include <cdio/iso9660.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace twr {

namespace {

constexpr std::uint64_t kImageBlockSize = 2048;

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

std::unique_ptr<IsoImage> IsoImage::Open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
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

bool IsoImage::ListRoot(std::vector<DiscEntry>& entries) const {
  entries.clear();
  std::unique_ptr<iso9660_t, IsoCloser> iso(iso9660_open_ext(path_.c_str(), ISO_EXTENSION_ALL));
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
