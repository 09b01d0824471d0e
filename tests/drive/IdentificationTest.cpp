// Disc identification: kind and book type, status, the label-side
// signature, the recorded outer radius and the volume descriptor.
#include <gtest/gtest.h>

#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/ScriptedTransport.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

using test::ScriptedDrive;
using test::ScriptedReply;

ScriptedReply Profile(std::uint16_t profile) {
  std::vector<std::uint8_t> a(32, 0);
  a[6] = static_cast<std::uint8_t>(profile >> 8);
  a[7] = static_cast<std::uint8_t>(profile);
  return {true, a, {}};
}

ScriptedReply BookType(std::uint8_t byte4) {
  std::vector<std::uint8_t> a(20, 0);
  a[4] = byte4;
  return {true, a, {}};
}

TEST(DiscKind, BookTypeOfADvdRomProfile) {
  const std::pair<int, int> map[] = {{0x00, 0x10}, {0x10, 0x12}, {0x20, 0x11}, {0x30, 0x14},
                                     {0x40, 0xFF}, {0x50, 0xFF}, {0x60, 0xFF}, {0x70, 0xFF},
                                     {0x80, 0xFF}, {0x90, 0x1A}, {0xA0, 0x1B}, {0xB0, 0xFF},
                                     {0xC0, 0xFF}, {0xD0, 0xFF}, {0xE0, 0xFF}, {0xF0, 0xFF}};
  for (const auto& [book, kind] : map) {
    ScriptedDrive d;
    d.drive->On(0x46, Profile(0x0010));
    d.drive->On(0xAD, BookType(static_cast<std::uint8_t>(book | 0x05)));  // part version ignored
    EXPECT_EQ(d.device->GetDiscKind(), kind) << "book type " << book;
  }
}

TEST(DiscKind, ProfilesAndFailures) {
  ScriptedDrive d;
  d.drive->On(0x46, Profile(0xFFFF));
  EXPECT_EQ(d.device->GetDiscKind(), 0xFF);
  d.drive->On(0x46, Profile(0x0040));
  EXPECT_EQ(d.device->GetDiscKind(), 0x40);
  EXPECT_EQ(DiscNameFor(0x40, 0, false).text, "No disc or Non-support disc");
  d.drive->On(0x46, Profile(0x011B));  // the high byte is not looked at
  EXPECT_EQ(d.device->GetDiscKind(), 0x1B);

  // READ DISC STRUCTURE failing after a DVD-ROM profile: DVD-ROM, not unknown.
  d.drive->On(0x46, Profile(0x0010));
  d.drive->On(0xAD, ScriptedReply{false, std::vector<std::uint8_t>(20, 0xA0), {}});
  EXPECT_EQ(d.device->GetDiscKind(), 0x10);

  d.drive->On(0x46, ScriptedReply{false, Profile(0x001B).data, {}});
  EXPECT_EQ(d.device->GetDiscKind(), 0x00);
}

TEST(DiscStatus, OnlyTheTwoLowBitsCount) {
  ScriptedDrive d;
  d.drive->On(0x00, ScriptedReply{false, {}, {}});  // not ready: ignored
  std::vector<std::uint8_t> info(50, 0);
  info[2] = 0x0E;
  d.drive->On(0x51, ScriptedReply{true, info, {}});
  EXPECT_EQ(d.device->GetDiscStatus(), 2);
  EXPECT_EQ(d.drive->Sent().front().cdb[0], 0x00);
  d.drive->On(0x51, ScriptedReply{false, info, {}});
  EXPECT_EQ(d.device->GetDiscStatus(), 0xFF);
}

// Literal bytes, as a drive sends them: the one check of the label-side
// signature that does not go through kLabelSignature.
std::vector<std::uint8_t> SignedToc() {
  std::vector<std::uint8_t> toc(260, 0);
  toc[82] = 0x51;
  toc[90] = 0x26;
  toc[91] = 0x4B;
  return toc;
}

TEST(LabelSide, SignatureOnlyFromASuccessfulRead) {
  ScriptedDrive d;
  d.drive->On(0x43, ScriptedReply{true, SignedToc(), {}});
  EXPECT_EQ(d.device->IsLabelSide(), 1);
  // The failed read leaves the signature of the last answer in the read area.
  d.drive->On(0x43, ScriptedReply{false, {}, {}});
  EXPECT_EQ(d.device->IsLabelSide(), 0);
  for (int offset : {82, 90, 91}) {
    auto toc = SignedToc();
    toc[offset] ^= 0x01;
    d.drive->On(0x43, ScriptedReply{true, toc, {}});
    EXPECT_EQ(d.device->IsLabelSide(), 0) << offset;
  }
}

// A formatted TOC with `lastTrack` track descriptors and a lead-out at `n`,
// declaring `declared` bytes after its length field (default: all of them).
std::vector<std::uint8_t> Toc(int lastTrack, std::uint32_t n, int declared = -1) {
  const int total = 4 + 8 * (lastTrack + 1);
  std::vector<std::uint8_t> toc(static_cast<std::size_t>(total), 0);
  const int length = declared < 0 ? total - 2 : declared;
  toc[0] = static_cast<std::uint8_t>(length >> 8);
  toc[1] = static_cast<std::uint8_t>(length);
  toc[2] = 1;
  toc[3] = static_cast<std::uint8_t>(lastTrack);
  const int at = 8 * lastTrack + 8;
  toc[at] = static_cast<std::uint8_t>(n >> 24);
  toc[at + 1] = static_cast<std::uint8_t>(n >> 16);
  toc[at + 2] = static_cast<std::uint8_t>(n >> 8);
  toc[at + 3] = static_cast<std::uint8_t>(n);
  return toc;
}

double RadiusFor(const std::vector<std::uint8_t>& toc) {
  ScriptedDrive d;
  d.drive->On(0x43, ScriptedReply{true, toc, {}});
  return d.device->GetRecordedOuterRadius();
}

TEST(RecordedOuterRadius, WorkedValues) {
  EXPECT_DOUBLE_EQ(RadiusFor(Toc(1, 0)), 25.0);
  EXPECT_DOUBLE_EQ(RadiusFor(Toc(1, 100000)), 27.4);
  EXPECT_DOUBLE_EQ(RadiusFor(Toc(1, 1000000)), 43.3);
  EXPECT_DOUBLE_EQ(RadiusFor(Toc(1, 2295104)), 59.0);
}

TEST(RecordedOuterRadius, SecondReadIsSizedFromTheFirstAndFindsTheLeadOut) {
  ScriptedDrive d;
  auto toc = Toc(2, 1000000);
  toc[16] = 0x7F;  // track 2's start address, which must not be taken
  d.drive->On(0x43, ScriptedReply{true, toc, {}});
  EXPECT_DOUBLE_EQ(d.device->GetRecordedOuterRadius(), 43.3);
  ASSERT_EQ(d.drive->Sent().size(), 2u);
  EXPECT_EQ(d.drive->Sent()[0].length, 4u);
  EXPECT_EQ(d.drive->Sent()[1].length, 28u);  // lead-out at bytes 24-27
}

TEST(RecordedOuterRadius, EitherFailedReadGivesZero) {
  ScriptedDrive d;
  d.drive->On(0x43, ScriptedReply{false, Toc(1, 0), {}});
  EXPECT_EQ(d.device->GetRecordedOuterRadius(), 0.0);
  int calls = 0;
  d.drive->On(0x43, [&](const test::SentCommand&) {
    return ScriptedReply{++calls == 1, Toc(1, 0), {}};
  });
  EXPECT_EQ(d.device->GetRecordedOuterRadius(), 0.0);
}

TEST(RecordedOuterRadius, LeadOutPastTheReturnedLengthIsAFailure) {
  // Last Track Number 5 but only one track declared: the lead-out of track 5
  // would lie past the answer.
  auto toc = Toc(5, 100000);
  toc[0] = 0;
  toc[1] = 18;
  EXPECT_EQ(RadiusFor(toc), 0.0);
  // A length field of 0xFFFF wraps the request to 1 byte.
  toc = Toc(1, 0);
  toc[0] = 0xFF;
  toc[1] = 0xFF;
  EXPECT_EQ(RadiusFor(toc), 0.0);
  // The second answer declares less than the first one asked for.
  int calls = 0;
  ScriptedDrive d;
  d.drive->On(0x43, [&](const test::SentCommand&) {
    return ScriptedReply{true, ++calls == 1 ? Toc(1, 0) : Toc(1, 0, 10), {}};
  });
  EXPECT_EQ(d.device->GetRecordedOuterRadius(), 0.0);
}

std::vector<std::uint8_t> Descriptor(const std::string& volume, const std::string& publisher,
                                     const std::string& date) {
  std::vector<std::uint8_t> pvd(2048, 0);
  std::memset(&pvd[40], ' ', 32);
  std::memcpy(&pvd[40], volume.data(), std::min<std::size_t>(32, volume.size()));
  std::memset(&pvd[318], ' ', 128);
  std::memcpy(&pvd[318], publisher.data(), std::min<std::size_t>(128, publisher.size()));
  std::memcpy(&pvd[813], date.data(), std::min<std::size_t>(17, date.size()));
  return pvd;
}

TEST(VolumeInfo, FieldsAreCutAndTrimmed) {
  ScriptedDrive d;
  d.drive->On(0xA8, ScriptedReply{true, Descriptor("BACKUP", "ACME  ", "2007040412000000"), {}});
  std::string volume = "x", publisher = "x", date = "x";
  d.device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "BACKUP");
  EXPECT_EQ(publisher, "ACME");
  EXPECT_EQ(date, "20070404");
  EXPECT_EQ(d.drive->Last().cdb[5], 16);

  auto pvd = Descriptor("AB CD", std::string(40, 'P'), "");
  pvd[43] = 0;  // "AB " then NUL: cut, then the trailing blank goes
  d.drive->On(0xA8, ScriptedReply{true, pvd, {}});
  d.device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume, "AB");
  EXPECT_EQ(publisher, std::string(32, 'P'));  // the first 32 of 128 bytes
  EXPECT_EQ(date, "");

  d.drive->On(0xA8, ScriptedReply{false, Descriptor("X", "Y", "2007"), {}});
  d.device->ReadVolumeInfo(volume, publisher, date);
  EXPECT_EQ(volume + publisher + date, "");
}

TEST(DiscName, TableRowsWithoutADrive) {
  EXPECT_EQ(DiscNameFor(0x11, 3, false).text, "");
  EXPECT_EQ(DiscNameFor(0x11, 0xFF, false).verdict, 0);
  EXPECT_EQ(DiscNameFor(0x1B, 3, false).text, "");
  EXPECT_EQ(DiscNameFor(0x00, 0, true).text, "No disc or Non-support disc");
  EXPECT_EQ(DiscNameFor(0x13, 0, false).text, "No disc or Non-support disc");
  // The status is only looked at for DVD±R.
  EXPECT_EQ(DiscNameFor(0x10, 0, false).text, "DVD-ROM disc");
}

// Every row of the table through the virtual drive.
struct NameCase {
  const char* disc;
  const char* status;
  bool closedAsDvdRom;
  const char* text;
  int verdict;
  int kind;
};

TEST(DiscName, EveryRowThroughTheVirtualDrive) {
  const NameCase cases[] = {
      {"cd-rom", "complete", false, "CD-ROM disc", 0, 0x08},
      {"cd-r", "complete", false, "CD-R disc", 0, 0x09},
      {"cd-rw", "complete", false, "CD-RW disc", 0, 0x0A},
      {"dvd-rom", "complete", false, "DVD-ROM disc", 0, 0x10},
      {"dvd-r", "blank", false, "DVD-R blank", 1, 0x11},
      {"dvd-r", "incomplete", false, "DVD-R incomplete", 0, 0x11},
      {"dvd-r", "complete", false, "DVD-R complete", 1, 0x11},
      {"dvd-r", "complete", true, "DVD-R complete", 1, 0x11},
      {"dvd-ram", "complete", false, "DVD-RAM disc", 0, 0x12},
      {"dvd-rw", "complete", false, "DVD-RW disc", 0, 0x14},
      {"dvd+rw", "complete", false, "DVD+RW disc", 0, 0x1A},
      {"dvd+r", "blank", false, "DVD+R blank", 1, 0x1B},
      {"dvd+r", "incomplete", false, "DVD+R incomplete", 0, 0x1B},
      {"dvd+r", "complete", false, "DVD+R complete", 1, 0x1B},
      {"dvd+r", "complete", true, "DVD+R complete", 1, 0x1B},
      {"label", "complete", false, "Etchlume disc  label-side", 1, 0xFF},
      {"unknown", "complete", false, "Unknown disc", 0, 0xFF},
      {"none", "complete", false, "No disc or Non-support disc", 0, 0x00},
  };
  for (const NameCase& c : cases) {
    VirtualDriveConfig config;
    config.disc = c.disc;
    config.status = c.status;
    config.closedAsDvdRom = c.closedAsDvdRom;
    config.recordedBlocks = 1000;
    auto device = std::make_unique<CELDevice>();
    device->AttachTransport(std::make_shared<VirtualDrive>(config));
    const DiscIdentity id = IdentifyDisc(*device);
    EXPECT_EQ(id.name.text, c.text) << c.disc << " " << c.status;
    EXPECT_EQ(id.name.verdict, c.verdict) << c.disc << " " << c.status;
    EXPECT_EQ(id.kind, c.kind) << c.disc << " " << c.status;
  }
}

}  // namespace
}  // namespace twr
