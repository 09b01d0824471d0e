// The top-level listing of an ISO 9660 disc read from its blocks, without a
// mount: the volume descriptors from block 16, then the root directory of
// the Joliet tree when there is one, else of the primary tree with its Rock
// Ridge names (NM entries) when there are any, else plain names without
// their ";1" version and a trailing dot. A disc that carries only UDF is
// told apart, since its listing needs a mount.
//
// Everything here works over bytes handed in by a block reader: no file, no
// drive, no allocation past the bounds below. A damaged disc (a directory
// record with an absurd length, a continuation chain that loops, an extent
// past the end of the volume, a block that cannot be read) ends the listing
// with the entries read so far.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drive/DriveSource.h"

namespace twr {

inline constexpr std::uint32_t kIsoBlockSize = 2048;
inline constexpr std::uint32_t kIsoFirstDescriptor = 16;

// Bounds of one listing.
inline constexpr std::uint32_t kIsoMostDescriptors = 64;    // blocks 16 ... 79
inline constexpr std::uint32_t kIsoLongestRoot = 1u << 20;  // bytes of a root directory
inline constexpr std::size_t kIsoMostContinuations = 16;    // Rock Ridge CE areas per record
inline constexpr std::size_t kIsoLongestName = 1024;        // bytes of one assembled name

// Reads `count` blocks of 2048 bytes from block `lba` into `out`
// (count * 2048 bytes); false when they cannot be read.
using IsoBlockReader =
    std::function<bool(std::uint32_t lba, std::uint32_t count, std::uint8_t* out)>;

enum class IsoNames { Plain, RockRidge, Joliet };

enum class IsoListingResult {
  Listed,        // an ISO 9660 file system: `entries` holds its top level
  NoFileSystem,  // no volume descriptor the listing can use (blank, audio, unknown)
  UdfOnly,       // UDF without ISO 9660: only a mount can list it
  Unreadable,    // block 16 cannot be read
};

struct IsoRootListing {
  IsoListingResult result = IsoListingResult::NoFileSystem;
  IsoNames names = IsoNames::Plain;
  // In directory order, "." and ".." left out; files kept in several
  // extents appear once.
  std::vector<DiscEntry> entries;
  // Damaged or unreadable data ended the listing before the directory's end.
  bool cut = false;
};

// Lists the root directory of the disc the reader reads.
IsoRootListing ListIsoRoot(const IsoBlockReader& read);

// Folders below the root a walk goes into at most.
inline constexpr int kIsoDeepestWalk = 64;

// One entry of a walk below the root; `depth` 0 for the root's own entries.
struct IsoTreeEntry {
  std::string_view name;
  bool folder = false;
  std::uint64_t bytes = 0;  // a file's length (all its extents); 0 for a folder
  int depth = 0;
};
// Returns false to end the walk.
using IsoTreeVisitor = std::function<bool(const IsoTreeEntry&)>;

// Every entry of the tree ListIsoRoot reads, each folder's entries after the
// folder's own, each directory read once (a directory met again, as a
// damaged disc may make it, and anything deeper than kIsoDeepestWalk are
// left out and set `cut`, as unreadable or damaged directories do). The
// visitor bounds the walk by answering false.
IsoListingResult WalkIsoTree(const IsoBlockReader& read, const IsoTreeVisitor& visit, bool& cut);

// The entries of one directory's bytes (whole 2048-byte blocks as recorded,
// a last partial block allowed). `names` says how names are read; for
// RockRidge, `suspSkip` is the SP entry's skip length and `read` fetches
// continuation areas (it may be empty: they are then left out). `cut` is
// set when a damaged record ended the walk.
std::vector<DiscEntry> ParseIsoDirectory(std::span<const std::uint8_t> directory, IsoNames names,
                                         std::size_t suspSkip, const IsoBlockReader& read,
                                         bool& cut);

// A Joliet name (UCS-2 big-endian, surrogate pairs allowed) as UTF-8; an
// odd last byte is dropped, a lone surrogate becomes U+FFFD.
std::string JolietNameToUtf8(std::span<const std::uint8_t> name);

// "NAME.EXT;1" -> "NAME.EXT", "NAME.;1" -> "NAME", "README." -> "README".
std::string WithoutIsoVersion(std::string name);

}  // namespace twr
