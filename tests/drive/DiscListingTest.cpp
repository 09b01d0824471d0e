// The disc's top level without a mount: xorriso images (Joliet, Rock Ridge,
// both, neither) read through the drive give the same entries as the mount
// (the virtual drive's image file system); damaged directories end the
// listing with what was read, within bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DiscScan.h"
#include "drive/DiscTree.h"
#include "drive/IsoDirectory.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

const std::string kLongName = std::string(80, 'n') + "_a_very_long_name.document";
// Long enough that its Rock Ridge name goes on in a continuation area.
const std::string kLongestName = std::string(200, 'L') + ".txt";

bool HaveXorriso() {
  return std::system("command -v xorriso >/dev/null 2>&1") == 0;
}

// Folders first, then by name: the order the window puts them in.
std::vector<DiscEntry> Ordered(std::vector<DiscEntry> entries) {
  std::sort(entries.begin(), entries.end(), [](const DiscEntry& a, const DiscEntry& b) {
    return a.folder != b.folder ? a.folder : a.name < b.name;
  });
  return entries;
}

std::string Describe(const std::vector<DiscEntry>& entries) {
  std::string text;
  for (const DiscEntry& e : entries) text += (e.folder ? "[" + e.name + "] " : e.name + " ");
  return text;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DiscListing : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveXorriso()) GTEST_SKIP() << "no xorriso";
    content_ = tmp_.Path() / "content";
    for (const char* folder : {"DATA", "Ordner ü", "Holiday Photos 2007"})
      fs::create_directories(content_ / folder / "inner");
    for (const std::string& file :
         {std::string("Read me.txt"), std::string("Größe – Ünïcode.txt"), std::string("plain"),
          kLongName, kLongestName, std::string("empty")})
      std::ofstream(content_ / file) << file;
  }

  fs::path Image(const std::string& name, const std::string& options) {
    const fs::path iso = tmp_.Path() / (name + ".iso");
    const std::string command = "xorriso -as mkisofs -quiet " + options + " -V " + name + " -o '" +
                                iso.string() + "' '" + content_.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return iso;
  }

  test::TempDir tmp_{"listing"};
  fs::path content_;
};

// The virtual drive with the image, mounted or not, listed in a drive object.
struct Served {
  explicit Served(const fs::path& iso, bool mounted) {
    VirtualDriveConfig c;
    c.letter = 'V';
    c.disc = "dvd+r";
    c.image = iso.string();
    c.mounted = mounted;
    drive = std::make_shared<VirtualDrive>(c);
    auto d = drive;
    device.SetDriveSourceProvider(
        [d] { return std::vector<DriveSource>{VirtualDrive::SourceFor(d)}; });
    device.EnumerateDrives();
  }
  std::shared_ptr<VirtualDrive> drive;
  CELDevice device;
};

TEST_F(DiscListing, MountAndDriveGiveTheSameEntries) {
  std::set<std::string> folderNames;  // what a Rock Ridge mount shows
  for (const auto& e : fs::directory_iterator(content_)) folderNames.insert(e.path().filename());
  struct Case {
    const char* name;
    const char* options;
    IsoNames names;
    bool fullNames;  // the names as in the folder (Rock Ridge, or Joliet within its 64)
  };
  const Case cases[] = {
      {"JOLIET", "--norock -J", IsoNames::Joliet, false},
      {"ROCKRIDGE", "-R", IsoNames::RockRidge, true},
      {"BOTH", "-J -R", IsoNames::Joliet, false},
      {"NEITHER", "--norock", IsoNames::Plain, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path iso = Image(c.name, c.options);
    Served mounted(iso, true), unmounted(iso, false);
    const TopLevelListing viaMount = ListTopLevel(mounted.device, 'V');
    const TopLevelListing viaDrive = ListTopLevel(unmounted.device, 'V');
    ASSERT_EQ(viaMount.source, ListingSource::Mount);
    ASSERT_EQ(viaDrive.source, ListingSource::Drive);
    EXPECT_FALSE(viaDrive.cut);
    // libiso9660 cuts a Rock Ridge name that goes on in a continuation area
    // (a mount does not); the drive's reading keeps it whole.
    auto comparable = [](std::vector<DiscEntry> entries) {
      for (DiscEntry& e : entries)
        if (e.name.rfind(std::string(100, 'L'), 0) == 0) e.name = "(longest)";
      return Describe(entries);
    };
    EXPECT_EQ(comparable(viaDrive.entries), comparable(viaMount.entries));
    if (c.names != IsoNames::RockRidge) {
      EXPECT_EQ(ScanEntryLines(unmounted.device, 'V'), ScanEntryLines(mounted.device, 'V'));
    }
    ASSERT_EQ(viaDrive.entries.size(), folderNames.size());

    const std::vector<DiscEntry> ordered = Ordered(viaDrive.entries);
    EXPECT_TRUE(ordered[0].folder && ordered[1].folder && ordered[2].folder && !ordered[3].folder);
    std::set<std::string> names;
    for (const DiscEntry& e : viaDrive.entries) names.insert(e.name);
    if (c.fullNames) {
      EXPECT_EQ(names, folderNames);
    }
    if (c.names == IsoNames::Joliet) {
      EXPECT_TRUE(names.count("Größe – Ünïcode.txt")) << Describe(viaDrive.entries);
      EXPECT_TRUE(names.count("Read me.txt"));
    }
    if (c.names == IsoNames::Plain) {
      EXPECT_TRUE(names.count("READ_ME.TXT")) << Describe(viaDrive.entries);  // no ";1"
      EXPECT_TRUE(names.count("PLAIN")) << Describe(viaDrive.entries);        // no trailing dot
    }
    // The pure parse of the same bytes says which names it read.
    const std::vector<std::uint8_t> bytes = ReadFile(iso);
    const IsoRootListing parsed =
        ListIsoRoot([&](std::uint32_t lba, std::uint32_t n, std::uint8_t* out) {
          const std::size_t at = std::size_t{lba} * kIsoBlockSize,
                            size = std::size_t{n} * kIsoBlockSize;
          if (at + size > bytes.size()) return false;
          std::memcpy(out, bytes.data() + at, size);
          return true;
        });
    EXPECT_EQ(parsed.names, c.names);
  }
}

// An in-memory disc whose reads are counted and must stay inside it.
struct MemoryDisc {
  std::vector<std::uint8_t> bytes;
  std::set<std::uint32_t> unreadable;
  int reads = 0;
  explicit MemoryDisc(std::vector<std::uint8_t> b) : bytes(std::move(b)) {}
  IsoBlockReader Reader() {
    return [this](std::uint32_t lba, std::uint32_t n, std::uint8_t* out) {
      ++reads;
      const std::uint64_t at = std::uint64_t{lba} * kIsoBlockSize;
      const std::uint64_t size = std::uint64_t{n} * kIsoBlockSize;
      if (at + size > bytes.size()) return false;
      for (std::uint32_t b = lba; b < lba + n; ++b)
        if (unreadable.count(b)) return false;
      std::memcpy(out, bytes.data() + at, size);
      return true;
    };
  }
  std::uint32_t Le32(std::size_t at) const {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (std::uint32_t{bytes[at + 3]} << 24);
  }
  void PutLe32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

TEST_F(DiscListing, DamagedDiscsEndWithWhatWasRead) {
  const fs::path iso = Image("DAMAGED", "-R");
  MemoryDisc good{ReadFile(iso)};
  const IsoRootListing whole = ListIsoRoot(good.Reader());
  ASSERT_EQ(whole.result, IsoListingResult::Listed);
  ASSERT_EQ(whole.entries.size(), 9u);
  constexpr std::size_t kPvd = 16 * kIsoBlockSize;
  constexpr std::size_t kRoot = kPvd + 156;
  const std::uint32_t volumeBlocks = good.Le32(kPvd + 80);
  const std::size_t rootDir = std::size_t{good.Le32(kRoot + 2)} * kIsoBlockSize;
  // The offset of the n-th record of the root directory ("." is 0).
  auto recordAt = [&](int n) {
    std::size_t at = rootDir;
    for (int i = 0; i < n; ++i) at += good.bytes[at];
    return at;
  };

  struct Case {
    const char* name;
    std::function<void(MemoryDisc&)> damage;
    IsoListingResult result;
    std::size_t entries;  // the first ones of the whole listing
    bool cut;
    bool more = false;  // what lies behind them may be read as further entries
  };
  const Case cases[] = {
      {"record shorter than its fields", [&](MemoryDisc& d) { d.bytes[recordAt(5)] = 20; },
       IsoListingResult::Listed, 3, true},
      {"record past the directory's end",
       [&](MemoryDisc& d) {
         d.PutLe32(kRoot + 10, static_cast<std::uint32_t>(recordAt(5) - rootDir + 10));
       },
       IsoListingResult::Listed, 3, true},
      {"name longer than its record", [&](MemoryDisc& d) { d.bytes[recordAt(2) + 32] = 250; },
       IsoListingResult::Listed, 0, true},
      {"root of 4 GiB", [&](MemoryDisc& d) { d.PutLe32(kRoot + 10, 0xFFFFFFFFu); },
       IsoListingResult::Listed, 9, true, true},
      {"root past the volume", [&](MemoryDisc& d) { d.PutLe32(kRoot + 2, volumeBlocks + 5); },
       IsoListingResult::Listed, 0, true},
      {"root unreadable", [&](MemoryDisc& d) { d.unreadable.insert(d.Le32(kRoot + 2)); },
       IsoListingResult::Listed, 0, true},
      {"blank disc", [&](MemoryDisc& d) { d.unreadable.insert(16); }, IsoListingResult::Unreadable,
       0, false},
      {"no descriptor", [&](MemoryDisc& d) { std::fill_n(d.bytes.begin() + kPvd, 2048, 0); },
       IsoListingResult::NoFileSystem, 0, false},
      {"UDF only",
       [&](MemoryDisc& d) {
         std::fill(d.bytes.begin() + kPvd, d.bytes.end(), 0);
         const char* ids[] = {"BEA01", "NSR02", "TEA01"};
         for (int i = 0; i < 3; ++i) std::memcpy(&d.bytes[kPvd + i * 2048 + 1], ids[i], 5);
       },
       IsoListingResult::UdfOnly, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryDisc disc = good;
    c.damage(disc);
    const IsoRootListing listing = ListIsoRoot(disc.Reader());
    EXPECT_EQ(listing.result, c.result);
    EXPECT_EQ(listing.cut, c.cut);
    if (c.more) {
      ASSERT_GE(listing.entries.size(), c.entries) << Describe(listing.entries);
    } else {
      ASSERT_EQ(listing.entries.size(), c.entries) << Describe(listing.entries);
    }
    for (std::size_t i = 0; i < c.entries; ++i)
      EXPECT_EQ(listing.entries[i].name, whole.entries[i].name);
    EXPECT_LT(disc.reads, 200);  // 1 MiB of root at most, in 16-block reads
  }
}

// The count below the top: through the drive (Joliet, Rock Ridge) it
// agrees with the folder the image was made of; a limit caps it; a folder
// record that points back at the root and a link that points back up end
// the count instead of looping.
TEST_F(DiscListing, TreeCountsAgreeWithTheFolderAndStayBounded) {
  fs::create_directories(content_ / "DATA" / "inner" / "deeper" / "deepest");
  std::ofstream(content_ / "DATA" / "inner" / "deeper" / "deepest" / "big.bin")
      << std::string(70000, 'x');
  std::ofstream(content_ / "DATA" / "inner" / "a.txt") << "abc";
  const DiscTreeCount folder = CountFolderTree(content_.string());
  ASSERT_TRUE(folder.counted);
  EXPECT_EQ(folder.folders, 8u);
  EXPECT_EQ(folder.files, 8u);
  for (const char* options : {"--norock -J", "-R"}) {
    SCOPED_TRACE(options);
    const fs::path iso = Image(options[2] == 'n' ? "TREEJ" : "TREER", options);
    Served unmounted(iso, false);
    const DiscTreeCount disc = CountDiscTree(unmounted.device, 'V');
    EXPECT_TRUE(disc.counted);
    EXPECT_FALSE(disc.capped);
    EXPECT_EQ(disc.skipped, 0u);
    EXPECT_EQ(disc.files, folder.files);
    EXPECT_EQ(disc.folders, folder.folders);
    EXPECT_EQ(disc.bytes, folder.bytes);
    TreeLimits few;
    few.mostEntries = 4;
    const DiscTreeCount capped = CountDiscTree(unmounted.device, 'V', few);
    EXPECT_TRUE(capped.capped);
    EXPECT_EQ(capped.files + capped.folders, 4u);
    EXPECT_FALSE(CountDiscTree(unmounted.device, 'Q').counted);  // no such drive
  }

  // A folder record of the root pointing at the root itself.
  MemoryDisc disc{ReadFile(Image("LOOP", "-R"))};
  const std::size_t rootRecord = 16 * kIsoBlockSize + 156;
  const std::uint32_t rootExtent = disc.Le32(rootRecord + 2);
  std::size_t at = std::size_t{rootExtent} * kIsoBlockSize;
  for (int i = 0; i < 2; ++i) at += disc.bytes[at];  // past "." and ".."
  while (disc.bytes[at] != 0 && !(disc.bytes[at + 25] & 0x02)) at += disc.bytes[at];
  ASSERT_NE(disc.bytes[at], 0) << "no folder in the root";
  disc.PutLe32(at + 2, rootExtent);
  int entries = 0;
  bool cut = false;
  EXPECT_EQ(WalkIsoTree(
                disc.Reader(), [&](const IsoTreeEntry&) { return ++entries < 10000; }, cut),
            IsoListingResult::Listed);
  EXPECT_TRUE(cut);
  EXPECT_LT(entries, 100);

  const fs::path links = tmp_.Path() / "links";
  fs::create_directories(links / "a");
  fs::create_directory_symlink("..", links / "a" / "up");
  std::ofstream(links / "a" / "f") << "12345";
  const DiscTreeCount linked = CountFolderTree(links.string());
  EXPECT_EQ(linked.folders, 1u);
  EXPECT_EQ(linked.files, 2u);  // the link is an entry, never followed
  EXPECT_EQ(linked.bytes, 5u);
  EXPECT_FALSE(CountFolderTree((links / "missing").string()).counted);
}

// One directory record with a name and system use bytes.
std::vector<std::uint8_t> Record(const std::string& id, std::uint8_t flags,
                                 const std::vector<std::uint8_t>& systemUse) {
  std::vector<std::uint8_t> r(33, 0);
  r[25] = flags;
  r[32] = static_cast<std::uint8_t>(id.size());
  r.insert(r.end(), id.begin(), id.end());
  if (id.size() % 2 == 0) r.push_back(0);
  r.insert(r.end(), systemUse.begin(), systemUse.end());
  r[0] = static_cast<std::uint8_t>(r.size());
  return r;
}

std::vector<std::uint8_t> Nm(const std::string& part, bool more) {
  std::vector<std::uint8_t> e = {'N', 'M', static_cast<std::uint8_t>(5 + part.size()), 1,
                                 static_cast<std::uint8_t>(more ? 1 : 0)};
  e.insert(e.end(), part.begin(), part.end());
  return e;
}

std::vector<std::uint8_t> Ce(std::uint32_t block, std::uint32_t offset, std::uint32_t length) {
  std::vector<std::uint8_t> e(28, 0);
  e[0] = 'C';
  e[1] = 'E';
  e[2] = 28;
  e[3] = 1;
  for (int i = 0; i < 4; ++i) {
    e[4 + i] = static_cast<std::uint8_t>(block >> (8 * i));
    e[12 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
    e[20 + i] = static_cast<std::uint8_t>(length >> (8 * i));
  }
  return e;
}

TEST(IsoDirectory, RockRidgeNamesContinuationsAndMultiExtentFiles) {
  // Block 7 holds a continuation area that continues in itself, for ever.
  std::vector<std::uint8_t> area = Nm("-loop", true);
  const std::vector<std::uint8_t> again = Ce(7, 0, 5 + 5 + 28);
  area.insert(area.end(), again.begin(), again.end());
  int reads = 0;
  const IsoBlockReader read = [&](std::uint32_t lba, std::uint32_t, std::uint8_t* out) {
    ++reads;
    if (lba != 7) return false;
    std::fill_n(out, kIsoBlockSize, 0);
    std::copy(area.begin(), area.end(), out);
    return true;
  };
  std::vector<std::uint8_t> dir;
  auto add = [&](const std::vector<std::uint8_t>& r) { dir.insert(dir.end(), r.begin(), r.end()); };
  add(Record(std::string(1, '\0'), 2, {}));
  add(Record("A.TXT;1", 0, Nm("split ", true)));  // continues in the next NM
  std::vector<std::uint8_t> twoParts = Nm("first ", true);
  const std::vector<std::uint8_t> second = Nm("and second", false);
  twoParts.insert(twoParts.end(), second.begin(), second.end());
  add(Record("B.TXT;1", 0, twoParts));
  std::vector<std::uint8_t> looping = Nm("name", true);
  const std::vector<std::uint8_t> ce = Ce(7, 0, static_cast<std::uint32_t>(area.size()));
  looping.insert(looping.end(), ce.begin(), ce.end());
  add(Record("C.TXT;1", 0, looping));
  add(Record("BIG.ISO;1", 0x80, {}));  // a file in three extents
  add(Record("BIG.ISO;1", 0x80, {}));
  add(Record("BIG.ISO;1", 0, {}));
  add(Record("DIR", 2, {}));
  dir.resize(kIsoBlockSize, 0);

  bool cut = false;
  const std::vector<DiscEntry> entries = ParseIsoDirectory(dir, IsoNames::RockRidge, 0, read, cut);
  EXPECT_FALSE(cut);
  EXPECT_EQ(Describe(entries), "split  first and second " +
                                   ("name" +
                                    [] {
                                      std::string s;
                                      for (std::size_t i = 0; i < kIsoMostContinuations; ++i)
                                        s += "-loop";
                                      return s;
                                    }()) +
                                   " BIG.ISO [DIR] ");
  EXPECT_EQ(reads, static_cast<int>(kIsoMostContinuations));

  // Joliet: UCS-2 big-endian with a surrogate pair; a lone one is replaced.
  const std::uint8_t joliet[] = {0x00, 'a', 0xD8, 0x3D, 0xDE, 0x00, 0xDC, 0x00, 0x00};
  EXPECT_EQ(JolietNameToUtf8(joliet), "a\xF0\x9F\x98\x80\xEF\xBF\xBD");
  EXPECT_EQ(WithoutIsoVersion("NAME.EXT;1"), "NAME.EXT");
  EXPECT_EQ(WithoutIsoVersion("NAME.;1"), "NAME");
  EXPECT_EQ(WithoutIsoVersion("A;B"), "A;B");
}

}  // namespace
}  // namespace twr
