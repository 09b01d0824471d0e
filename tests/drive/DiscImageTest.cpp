// A real ISO 9660 image, built with xorriso, served by the virtual drive:
// volume descriptor, recorded size and the top-level listing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "common/TempDir.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"
#include "drive/DiscName.h"
#include "drive/virtual/IsoImage.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

namespace fs = std::filesystem;

class DiscImage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v xorriso >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xorriso";
    ASSERT_FALSE(temp_.Path().empty());
    root_ = temp_.Path();
    const fs::path content = root_ / "content";
    fs::create_directories(content / "Holiday Photos 2007" / "inner");
    fs::create_directories(content / "DATA");
    std::ofstream(content / "Read me first.txt") << "hello";
    std::ofstream(content / "a_rather_long_file_name_for_joliet.document")
        << std::string(5000, 'x');
    std::ofstream(content / "Holiday Photos 2007" / "inner" / "deep.txt") << "deep";
    iso_ = root_ / "disc.iso";
    const std::string command =
        "xorriso -as mkisofs -quiet -J -R -V MYDISC -publisher 'ACME MEDIA' -o '" + iso_.string() +
        "' '" + content.string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  test::TempDir temp_{"iso"};
  fs::path root_, iso_;
};

TEST_F(DiscImage, ServedAsACompleteDvdR) {
  VirtualDriveConfig c;
  c.letter = 'W';
  c.disc = "dvd-r";
  c.status = "complete";
  c.image = iso_.string();
  auto drive = std::make_shared<VirtualDrive>(c);
  auto device = std::make_unique<CELDevice>();
  device->SetDriveSourceProvider(
      [drive] { return std::vector<DriveSource>{VirtualDrive::SourceFor(drive)}; });
  ASSERT_EQ(device->EnumerateDrives(), 1);

  const DiscIdentity id = IdentifyDisc(*device);
  EXPECT_EQ(id.name.text, "DVD-R complete");
  EXPECT_EQ(id.name.verdict, 1);

  std::string volume, publisher, date;
  device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "MYDISC");
  EXPECT_EQ(publisher, "ACME MEDIA");
  ASSERT_EQ(date.size(), 8u);
  char today[16];
  const std::time_t now = std::time(nullptr);
  std::strftime(today, sizeof today, "%Y", std::gmtime(&now));
  EXPECT_EQ(date.substr(0, 4), today);

  // The lead-out lies at the image's size in blocks.
  const auto blocks = static_cast<std::uint32_t>(fs::file_size(iso_) / kBlockSize);
  EXPECT_DOUBLE_EQ(device->GetRecordedOuterRadius(), ReportedRecordedRadiusMm(blocks));

  std::vector<DiscEntry> entries;
  ASSERT_TRUE(device->ListDiscTopLevel('w', entries));
  std::sort(entries.begin(), entries.end(),
            [](const DiscEntry& a, const DiscEntry& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "DATA");
  EXPECT_TRUE(entries[0].folder);
  EXPECT_EQ(entries[1].name, "Holiday Photos 2007");
  EXPECT_TRUE(entries[1].folder);
  EXPECT_EQ(entries[2].name, "Read me first.txt");
  EXPECT_FALSE(entries[2].folder);
  EXPECT_EQ(entries[3].name, "a_rather_long_file_name_for_joliet.document");
  EXPECT_FALSE(device->ListDiscTopLevel('X', entries));
}

TEST_F(DiscImage, RawBlocksAndSize) {
  auto image = IsoImage::Open(iso_.string());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BlockCount(), (fs::file_size(iso_) + 2047) / 2048);
  std::vector<std::uint8_t> block(2048);
  ASSERT_TRUE(image->ReadBlocks(16, block));
  EXPECT_EQ(block[0], 1);  // primary volume descriptor
  EXPECT_EQ(std::string(block.begin() + 1, block.begin() + 6), "CD001");
  EXPECT_FALSE(image->ReadBlocks(image->BlockCount(), block));
  EXPECT_FALSE(image->ReadBlocks(0xFFFFFFFFu, block));
  EXPECT_EQ(IsoImage::Open((root_ / "missing.iso").string()), nullptr);
}

TEST_F(DiscImage, BlankOrLabelSideHidesTheImage) {
  VirtualDriveConfig c;
  c.disc = "label";
  c.flip = "dvd+r";
  c.image = iso_.string();
  c.reloadDelaySeconds = 0;
  auto drive = std::make_shared<VirtualDrive>(c);
  std::vector<DiscEntry> entries;
  EXPECT_FALSE(drive->ListTopLevel(entries));
  auto device = std::make_unique<CELDevice>();
  device->AttachTransport(drive);
  std::string volume, publisher, date;
  device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "");
  device->StartStopUnit(0);  // the data side faces the laser now
  device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "MYDISC");
  EXPECT_TRUE(drive->ListTopLevel(entries));
  EXPECT_EQ(entries.size(), 4u);
}

// A copy of the image with some bytes changed, or cut short.
fs::path Damaged(const fs::path& iso, const std::string& name,
                 const std::vector<std::pair<std::size_t, std::uint8_t>>& bytes,
                 std::size_t keep = SIZE_MAX) {
  std::ifstream in(iso, std::ios::binary);
  std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  image.resize(std::min(keep, image.size()));
  for (const auto& [at, value] : bytes) image[at] = static_cast<char>(value);
  const fs::path out = iso.parent_path() / name;
  std::ofstream(out, std::ios::binary) << image;
  return out;
}

std::uint32_t Le32(const fs::path& file, std::size_t at) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(at));
  std::uint8_t b[4] = {};
  in.read(reinterpret_cast<char*>(b), 4);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t{b[3]} << 24);
}

TEST_F(DiscImage, DamagedImagesAreRefusedNotTrusted) {
  constexpr std::size_t kPvd = 16 * 2048;
  constexpr std::size_t kRoot = kPvd + 156;
  const std::uint32_t rootExtent = Le32(iso_, kRoot + 2);
  const std::size_t rootDir = std::size_t{rootExtent} * 2048;
  std::vector<DiscEntry> entries;

  struct Case {
    const char* name;
    std::vector<std::pair<std::size_t, std::uint8_t>> bytes;
    std::size_t keep = SIZE_MAX;
  };
  const std::vector<Case> cases = {
      {"truncated", {}, rootDir},                                 // root lies past the end
      {"no-terminator", {}, kPvd + 2048},                         // set ends with the file
      {"huge-root", {{kRoot + 10, 0x00}, {kRoot + 13, 0xFF}}},    // 4 GiB root directory
      {"root-past-end", {{kRoot + 2, 0xFF}, {kRoot + 4, 0x7F}}},  // extent far away
      {"system-use-past-record", {{rootDir + 34 + 2, 250}}},      // "." record's SP entry
      {"short-record", {{rootDir, 20}}},                          // shorter than its fields
      {"name-past-record", {{rootDir + 32, 200}}},                // name longer than record
      {"block-size", {{kPvd + 128, 0x00}, {kPvd + 129, 0x02}}},   // 512-byte blocks
      {"not-cd001", {{kPvd + 1, 'X'}}},
  };
  for (const Case& c : cases) {
    const fs::path path = Damaged(iso_, c.name, c.bytes, c.keep);
    auto image = IsoImage::Open(path.string());
    ASSERT_NE(image, nullptr) << c.name;
    EXPECT_FALSE(image->ListRoot(entries)) << c.name;
    EXPECT_TRUE(entries.empty()) << c.name;
  }

  // Served by the drive, a damaged image still reads as raw blocks; only
  // the listing fails.
  VirtualDriveConfig c;
  c.disc = "dvd+r";
  c.image = Damaged(iso_, "served", {{rootDir + 32, 200}}).string();
  auto drive = std::make_shared<VirtualDrive>(c);
  CELDevice device;
  device.AttachTransport(drive);
  std::string volume, publisher, date;
  device.ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "MYDISC");
  EXPECT_FALSE(drive->ListTopLevel(entries));
}

TEST(DiscImageFile, MissingImageIsADiscWithoutData) {
  EXPECT_EQ(IsoImage::Open("/nonexistent/twr.iso"), nullptr);
  EXPECT_EQ(IsoImage::Open("/tmp"), nullptr);  // not a regular file
  VirtualDriveConfig c;
  c.disc = "dvd-r";
  c.image = "/nonexistent/twr.iso";
  std::string warning;
  c.warn = [&](const std::string& text) { warning += text; };
  auto drive = std::make_shared<VirtualDrive>(c);
  EXPECT_NE(warning.find("twr.iso"), std::string::npos) << warning;
  CELDevice device;
  device.AttachTransport(drive);
  std::string volume, publisher, date;
  device.ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "");
  std::vector<DiscEntry> entries;
  EXPECT_FALSE(drive->ListTopLevel(entries));
}

TEST(DiscImageFile, NotAnIsoImage) {
  const test::TempDir temp("iso");
  const auto path = temp / "not-iso.bin";
  std::ofstream(path) << std::string(40000, 'z');
  auto image = IsoImage::Open(path.string());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->BlockCount(), 20u);
  std::vector<DiscEntry> entries;
  EXPECT_FALSE(image->ListRoot(entries));
}

}  // namespace
}  // namespace twr
