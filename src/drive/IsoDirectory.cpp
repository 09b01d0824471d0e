// Volume descriptors, directory records and Rock Ridge names of an ISO 9660
// disc, read from its blocks with every length checked against its bounds.
#include "drive/IsoDirectory.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace twr {

namespace {

// Volume descriptors.
constexpr std::size_t kStandardIdOffset = 1;
constexpr std::size_t kStandardIdLength = 5;
constexpr std::uint8_t kBootRecord = 0;
constexpr std::uint8_t kPrimary = 1;
constexpr std::uint8_t kSupplementary = 2;
constexpr std::uint8_t kTerminator = 255;
constexpr std::size_t kVolumeSpaceOffset = 80;  // little-endian half of both-endian
constexpr std::size_t kEscapesOffset = 88;
constexpr std::size_t kBlockSizeOffset = 128;
constexpr std::size_t kRootRecordOffset = 156;
// Directory records.
constexpr std::size_t kExtentOffset = 2;
constexpr std::size_t kDataLengthOffset = 10;
constexpr std::size_t kFlagsOffset = 25;
constexpr std::size_t kNameLengthOffset = 32;
constexpr std::size_t kNameOffset = 33;
constexpr std::uint8_t kFlagDirectory = 0x02;
constexpr std::uint8_t kFlagAssociated = 0x04;
constexpr std::uint8_t kFlagMultiExtent = 0x80;
// System use entries: signature, length, version, data.
constexpr std::size_t kEntryHeader = 4;
constexpr std::size_t kSpLength = 7;
constexpr std::size_t kCeLength = 28;
constexpr std::size_t kNmHeader = 5;
constexpr std::uint8_t kNmContinue = 0x01;
constexpr std::uint8_t kNmCurrentOrParent = 0x06;
// Blocks read at once for a directory.
constexpr std::uint32_t kDirectoryChunk = 16;

std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

bool IdIs(const std::uint8_t* block, const char* id) {
  return std::memcmp(block + kStandardIdOffset, id, kStandardIdLength) == 0;
}

// The UDF volume recognition sequence's descriptors.
bool IsUdfRecognition(const std::uint8_t* block) {
  for (const char* id : {"BEA01", "NSR02", "NSR03", "TEA01", "BOOT2", "CDW02"})
    if (IdIs(block, id)) return true;
  return false;
}

void PutUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

struct Root {
  std::uint32_t extent = 0;
  std::uint32_t bytes = 0;
};

// The root directory record of a descriptor, when its block size is 2048.
bool RootOf(const std::uint8_t* descriptor, Root& root) {
  if (descriptor[kBlockSizeOffset] != (kIsoBlockSize & 0xFF) ||
      descriptor[kBlockSizeOffset + 1] != (kIsoBlockSize >> 8))
    return false;
  const std::uint8_t* record = descriptor + kRootRecordOffset;
  if (record[0] < kNameOffset + 1) return false;
  root.extent = Le32(record + kExtentOffset);
  root.bytes = Le32(record + kDataLengthOffset);
  return true;
}

bool IsJolietEscape(const std::uint8_t* descriptor) {
  const std::uint8_t* e = descriptor + kEscapesOffset;
  return e[0] == '%' && e[1] == '/' && (e[2] == '@' || e[2] == 'C' || e[2] == 'E');
}

// The Rock Ridge name among a record's system use entries and those of its
// continuation areas; empty when it has none. `dot` is set for the entries
// that name "." or "..".
std::string RockRidgeName(std::span<const std::uint8_t> area, const IsoBlockReader& read,
                          bool& dot) {
  std::string name;
  bool complete = false;
  std::vector<std::uint8_t> block;
  for (std::size_t areas = 0; areas <= kIsoMostContinuations && !area.empty(); ++areas) {
    std::uint32_t ceBlock = 0, ceOffset = 0, ceLength = 0;
    bool continued = false;
    std::size_t at = 0;
    while (at + kEntryHeader <= area.size()) {
      const std::uint8_t* e = area.data() + at;
      const std::size_t length = e[2];
      if (e[0] == 0 || length < kEntryHeader || at + length > area.size()) break;
      if (e[0] == 'S' && e[1] == 'T') break;
      if (e[0] == 'C' && e[1] == 'E' && length >= kCeLength) {
        ceBlock = Le32(e + 4);
        ceOffset = Le32(e + 12);
        ceLength = Le32(e + 20);
        continued = true;
      } else if (e[0] == 'N' && e[1] == 'M' && length >= kNmHeader && !complete) {
        if (e[4] & kNmCurrentOrParent) dot = true;
        const std::size_t room = kIsoLongestName - name.size();
        name.append(reinterpret_cast<const char*>(e + kNmHeader),
                    std::min(length - kNmHeader, room));
        if (!(e[4] & kNmContinue) || name.size() >= kIsoLongestName) complete = true;
      }
      at += length;
    }
    if (!continued || !read || areas == kIsoMostContinuations || ceOffset >= kIsoBlockSize ||
        ceLength == 0)
      break;
    block.resize(kIsoBlockSize);
    if (!read(ceBlock, 1, block.data())) break;
    const std::size_t fits = std::min<std::size_t>(ceLength, kIsoBlockSize - ceOffset);
    area = std::span<const std::uint8_t>(block).subspan(ceOffset, fits);
  }
  return name;
}

// One kept directory record: its entry, where its data starts and how long
// it is (every extent of a file kept in several).
struct Record {
  DiscEntry entry;
  std::uint32_t extent = 0;
  std::uint64_t bytes = 0;
};

std::vector<Record> ParseRecords(std::span<const std::uint8_t> directory, IsoNames names,
                                 std::size_t suspSkip, const IsoBlockReader& read, bool& cut) {
  std::vector<Record> records;
  bool inMultiExtent = false;  // the records after one marked "more extents follow"
  bool lastKept = false;       // the record that opened the current file was kept
  for (std::size_t block = 0; block < directory.size(); block += kIsoBlockSize) {
    const std::size_t blockEnd = std::min<std::size_t>(block + kIsoBlockSize, directory.size());
    std::size_t at = block;
    while (at < blockEnd) {
      const std::uint8_t* r = directory.data() + at;
      const std::size_t length = r[0];
      if (length == 0) break;  // the rest of this block is padding
      if (length < kNameOffset + 1 || at + length > blockEnd) {
        cut = true;
        return records;
      }
      const std::size_t nameLength = r[kNameLengthOffset];
      if (kNameOffset + nameLength > length) {
        cut = true;
        return records;
      }
      at += length;
      const std::uint8_t flags = r[kFlagsOffset];
      const bool continuation = inMultiExtent;
      inMultiExtent = (flags & kFlagMultiExtent) != 0;
      if (continuation) {  // the same file's further extents
        if (lastKept) records.back().bytes += Le32(r + kDataLengthOffset);
        continue;
      }
      lastKept = false;
      if (flags & kFlagAssociated) continue;
      if (nameLength == 1 && (r[kNameOffset] == 0 || r[kNameOffset] == 1)) continue;  // . ..
      const std::span<const std::uint8_t> id(r + kNameOffset, nameLength);

      std::string name;
      if (names == IsoNames::Joliet) {
        name = WithoutIsoVersion(JolietNameToUtf8(id));
      } else {
        if (names == IsoNames::RockRidge) {
          std::size_t use = kNameOffset + nameLength + (nameLength % 2 == 0 ? 1 : 0) + suspSkip;
          if (use < length) {
            bool dot = false;
            name = RockRidgeName(std::span<const std::uint8_t>(r + use, length - use), read, dot);
            if (dot) continue;
          }
        }
        if (name.empty())
          name =
              WithoutIsoVersion(std::string(reinterpret_cast<const char*>(id.data()), id.size()));
      }
      if (name.empty()) continue;
      records.push_back({{std::move(name), (flags & kFlagDirectory) != 0},
                         Le32(r + kExtentOffset),
                         Le32(r + kDataLengthOffset)});
      lastKept = true;
    }
  }
  return records;
}

// The bytes of a directory extent, as far as they can be read inside the
// volume; `cut` when not all of them could.
std::vector<std::uint8_t> ReadDirectory(const IsoBlockReader& read, const Root& root,
                                        std::uint32_t volumeBlocks, bool& cut) {
  std::uint32_t bytes = root.bytes;
  if (bytes > kIsoLongestRoot) {
    bytes = kIsoLongestRoot;
    cut = true;
  }
  std::uint32_t blocks = (bytes + kIsoBlockSize - 1) / kIsoBlockSize;
  if (volumeBlocks > 0) {
    const std::uint32_t inside = root.extent < volumeBlocks ? volumeBlocks - root.extent : 0;
    if (blocks > inside) {
      blocks = inside;
      cut = true;
    }
  }
  std::vector<std::uint8_t> data(std::size_t{blocks} * kIsoBlockSize);
  std::uint32_t done = 0;
  while (done < blocks) {
    const std::uint32_t count = std::min(kDirectoryChunk, blocks - done);
    if (!read(root.extent + done, count, data.data() + std::size_t{done} * kIsoBlockSize)) {
      cut = true;
      break;
    }
    done += count;
  }
  data.resize(std::min<std::size_t>(std::size_t{done} * kIsoBlockSize, bytes));
  return data;
}

// The skip length of the SP entry that opens the system use area of the
// root's "." record, when the primary tree uses the system use sharing
// protocol (as Rock Ridge does).
bool FindSharingProtocol(std::span<const std::uint8_t> root, std::size_t& skip) {
  if (root.size() < kNameOffset + 1) return false;
  const std::size_t length = root[0];
  const std::size_t nameLength = root[kNameLengthOffset];
  if (length > root.size() || kNameOffset + nameLength > length) return false;
  const std::size_t use = kNameOffset + nameLength + (nameLength % 2 == 0 ? 1 : 0);
  if (use + kSpLength > length) return false;
  const std::uint8_t* sp = root.data() + use;
  if (sp[0] != 'S' || sp[1] != 'P' || sp[2] < kSpLength || sp[4] != 0xBE || sp[5] != 0xEF)
    return false;
  skip = sp[6];
  return true;
}

std::vector<DiscEntry> EntriesOf(std::vector<Record> records) {
  std::vector<DiscEntry> entries;
  entries.reserve(records.size());
  for (Record& record : records) entries.push_back(std::move(record.entry));
  return entries;
}

// The tree a listing reads: its root, how its names are read, and a reader
// that never asks for blocks past the end of the volume.
struct Volume {
  Root root;
  IsoNames names = IsoNames::Plain;
  std::size_t suspSkip = 0;
  std::uint32_t blocks = 0;  // 0: the descriptor gave no size
  IsoBlockReader read;
};

}  // namespace

std::string JolietNameToUtf8(std::span<const std::uint8_t> name) {
  std::string out;
  const std::size_t units = name.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    std::uint32_t c = (std::uint32_t{name[2 * i]} << 8) | name[2 * i + 1];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units) {
      const std::uint32_t low = (std::uint32_t{name[2 * i + 2]} << 8) | name[2 * i + 3];
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    PutUtf8(out, c);
  }
  return out;
}

std::string WithoutIsoVersion(std::string name) {
  const std::size_t semicolon = name.rfind(';');
  if (semicolon != std::string::npos &&
      std::all_of(name.begin() + static_cast<std::ptrdiff_t>(semicolon) + 1, name.end(),
                  [](char c) { return c >= '0' && c <= '9'; }))
    name.resize(semicolon);
  if (name.size() > 1 && name.back() == '.') name.pop_back();
  return name;
}

std::vector<DiscEntry> ParseIsoDirectory(std::span<const std::uint8_t> directory, IsoNames names,
                                         std::size_t suspSkip, const IsoBlockReader& read,
                                         bool& cut) {
  return EntriesOf(ParseRecords(directory, names, suspSkip, read, cut));
}

namespace {

// Finds the tree to read from the volume descriptors: the Joliet tree when
// there is one, else the primary tree with or without Rock Ridge names.
// `rootDirectory` receives the root directory's bytes as far as they could
// be read, `cut` is set when they could not all be.
IsoListingResult OpenVolume(const IsoBlockReader& read, Volume& volume,
                            std::vector<std::uint8_t>& rootDirectory, bool& cut) {
  std::vector<std::uint8_t> block(kIsoBlockSize);
  Root primary, joliet;
  bool havePrimary = false, haveJoliet = false, udf = false;
  std::uint32_t volumeBlocks = 0;
  for (std::uint32_t i = 0; i < kIsoMostDescriptors; ++i) {
    if (!read(kIsoFirstDescriptor + i, 1, block.data())) {
      if (i == 0) return IsoListingResult::Unreadable;
      break;
    }
    if (IsUdfRecognition(block.data())) {
      udf = udf || IdIs(block.data(), "NSR02") || IdIs(block.data(), "NSR03");
      continue;
    }
    if (!IdIs(block.data(), "CD001")) break;  // the end of the descriptor area
    const std::uint8_t type = block[0];
    if (type == kTerminator) continue;  // a UDF sequence may follow
    if (type == kPrimary && !havePrimary && RootOf(block.data(), primary)) {
      havePrimary = true;
      volumeBlocks = Le32(&block[kVolumeSpaceOffset]);
    } else if (type == kSupplementary && !haveJoliet && IsJolietEscape(block.data()) &&
               RootOf(block.data(), joliet)) {
      haveJoliet = true;
    } else if (type != kBootRecord && type != kPrimary && type != kSupplementary && type > 3) {
      break;
    }
  }
  if (!havePrimary) return udf ? IsoListingResult::UdfOnly : IsoListingResult::NoFileSystem;
  // Blocks past the end of the volume are never asked for.
  volume.blocks = volumeBlocks;
  volume.read = [&read, volumeBlocks](std::uint32_t lba, std::uint32_t count, std::uint8_t* out) {
    if (volumeBlocks > 0 && std::uint64_t{lba} + count > volumeBlocks) return false;
    return read(lba, count, out);
  };
  volume.root = haveJoliet ? joliet : primary;
  rootDirectory = ReadDirectory(volume.read, volume.root, volumeBlocks, cut);
  if (haveJoliet) {
    volume.names = IsoNames::Joliet;
  } else {
    volume.names =
        FindSharingProtocol(rootDirectory, volume.suspSkip) ? IsoNames::RockRidge : IsoNames::Plain;
  }
  return IsoListingResult::Listed;
}

}  // namespace

IsoRootListing ListIsoRoot(const IsoBlockReader& read) {
  IsoRootListing listing;
  Volume volume;
  std::vector<std::uint8_t> root;
  listing.result = OpenVolume(read, volume, root, listing.cut);
  if (listing.result != IsoListingResult::Listed) return listing;
  listing.names = volume.names;
  listing.entries =
      EntriesOf(ParseRecords(root, volume.names, volume.suspSkip, volume.read, listing.cut));
  return listing;
}

IsoListingResult WalkIsoTree(const IsoBlockReader& read, const IsoTreeVisitor& visit, bool& cut) {
  Volume volume;
  std::vector<std::uint8_t> directory;
  const IsoListingResult result = OpenVolume(read, volume, directory, cut);
  if (result != IsoListingResult::Listed) return result;
  // Depth first; a directory whose extent was read before (a damaged or
  // crafted disc that loops) is not read again.
  struct Pending {
    Root root;
    int depth = 0;
  };
  std::vector<Pending> pending;
  std::unordered_set<std::uint32_t> seen{volume.root.extent};
  int depth = 0;
  for (;;) {
    for (const Record& record :
         ParseRecords(directory, volume.names, volume.suspSkip, volume.read, cut)) {
      if (!visit({record.entry.name, record.entry.folder, record.entry.folder ? 0 : record.bytes,
                  depth}))
        return result;
      if (!record.entry.folder) continue;
      if (depth + 1 >= kIsoDeepestWalk || !seen.insert(record.extent).second) {
        cut = true;
        continue;
      }
      pending.push_back({{record.extent, static_cast<std::uint32_t>(
                                             std::min<std::uint64_t>(record.bytes, UINT32_MAX))},
                         depth + 1});
    }
    if (pending.empty()) return result;
    const Pending next = pending.back();
    pending.pop_back();
    depth = next.depth;
    directory = ReadDirectory(volume.read, next.root, volume.blocks, cut);
  }
}

}  // namespace twr
