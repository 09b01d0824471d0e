// The virtual drive: refusals with sense data, the ELS page, the tray and
// the flipped disc, its settings section, the trace and concurrent callers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <thread>

#include "common/ProfileFile.h"
#include "common/TempDir.h"
#include "drive/ByteOrder.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/virtual/VirtualDrive.h"

namespace twr {
namespace {

struct VirtualRig {
  std::shared_ptr<VirtualDrive> drive;
  std::unique_ptr<CELDevice> device = std::make_unique<CELDevice>();
  explicit VirtualRig(VirtualDriveConfig config)
      : drive(std::make_shared<VirtualDrive>(std::move(config))) {
    device->AttachTransport(drive);
  }
  std::array<int, 3> Sense() const {
    const auto& s = device->Request().sense;
    return {s[2] & 0x0F, s[12], s[13]};
  }
};

VirtualDriveConfig Config(const std::string& disc, const std::string& flip = "") {
  VirtualDriveConfig c;
  c.disc = disc;
  c.flip = flip;
  c.reloadDelaySeconds = 0;
  return c;
}

TEST(VirtualDrive, RefusesWithFixedFormatSense) {
  VirtualRig rig(Config("label"));
  EXPECT_EQ(rig.device->ModeSense10(0x2A, 200), 0);
  EXPECT_EQ(rig.device->Request().sense[0], 0x70);
  EXPECT_EQ(rig.device->Request().sense[7], 10);
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x05, 0x24, 0x00}));

  auto& srb = rig.device->Request();
  srb.cdb.fill(0);
  srb.cdb[0] = 0xBE;  // READ CD: not answered
  rig.device->PrepareReadRequest(srb, 16);
  rig.device->ExecuteRequest(srb);
  EXPECT_EQ(srb.status, kSrbError);
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x05, 0x20, 0x00}));

  // The label side has no data to read.
  EXPECT_EQ(rig.device->Read12(16, 2048, 1), 0);
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x05, 0x21, 0x00}));
  EXPECT_EQ(rig.device->GetRecordedOuterRadius(), 0.0);
}

// Sends one CDB straight to the drive with a transfer of `length` bytes
// (filled with 0xEE first, to show what the drive left alone).
struct Sent {
  bool ok;
  std::vector<std::uint8_t> data;
  std::array<std::uint8_t, kTransportSenseSize> sense{};
};
Sent Send(VirtualDrive& drive, std::vector<std::uint8_t> cdb, std::size_t length) {
  Sent r{false, std::vector<std::uint8_t>(length, 0xEE)};
  const ScsiResult result =
      drive.Execute(cdb, length ? ScsiDirection::In : ScsiDirection::None, r.data);
  r.ok = result.ok;
  r.sense = result.senseBytes;
  return r;
}

TEST(VirtualDrive, NeverReturnsMoreThanTheAllocationLength) {
  VirtualDriveConfig c = Config("dvd-r");
  c.recordedBlocks = 1000;
  VirtualDrive drive(c);
  // Each command asks for 6 bytes in its CDB over a transfer of 64.
  const std::vector<std::vector<std::uint8_t>> cdbs = {
      {kOpInquiry, 0, 0, 0, 6, 0},
      {kOpGetConfiguration, 0, 0, 0, 0, 0, 0, 0, 6, 0},
      {kOpReadDiscInformation, 0, 0, 0, 0, 0, 0, 0, 6, 0},
      {kOpReadToc, 0, 0, 0, 0, 0, 0, 0, 6, 0},
      {kOpModeSense10, 0, ElsPageLayout::kPageCode, 0, 0, 0, 0, 0, 6, 0},
      {kOpReadDiscStructure, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0, 0},
  };
  for (const auto& cdb : cdbs) {
    const Sent r = Send(drive, cdb, 64);
    ASSERT_TRUE(r.ok) << std::hex << int{cdb[0]};
    EXPECT_EQ(std::count(r.data.begin() + 6, r.data.end(), 0), 58) << std::hex << int{cdb[0]};
  }
  // A transfer shorter than the allocation length gets what fits.
  EXPECT_TRUE(Send(drive, {kOpInquiry, 0, 0, 0, 96, 0}, 10).ok);
}

TEST(VirtualDrive, InquiryAndConfigurationAnswers) {
  VirtualDriveConfig c = Config("dvd+r");
  c.vendor = "ACME";
  VirtualDrive drive(c);
  Sent r = Send(drive, {kOpInquiry, 0, 0, 0, 96, 0}, 96);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.data[0], 0x05);
  EXPECT_EQ(r.data[4], 91);  // additional length: 96 bytes in all
  EXPECT_EQ(std::string(r.data.begin() + 8, r.data.begin() + 16), "ACME    ");
  // Vital product data pages are not offered.
  r = Send(drive, {kOpInquiry, 0x01, 0x80, 0, 96, 0}, 96);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.sense[12], 0x24);

  // All features from 0: header, Profile List with the current profile
  // flagged, Core; the header's data length counts what follows it.
  r = Send(drive, {kOpGetConfiguration, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0}, 256);
  ASSERT_TRUE(r.ok);
  const std::uint32_t dataLength = GetBe32(r.data.data());
  EXPECT_EQ(GetBe16(&r.data[6]), 0x1B);
  EXPECT_EQ(GetBe16(&r.data[8]), 0x0000);
  const int profiles = r.data[11] / 4;
  bool currentFlagged = false;
  for (int i = 0; i < profiles; ++i) {
    if (GetBe16(&r.data[12 + 4 * i]) == 0x1B) currentFlagged = (r.data[14 + 4 * i] & 1) != 0;
  }
  EXPECT_TRUE(currentFlagged);
  const std::size_t core = 12 + 4 * static_cast<std::size_t>(profiles);
  EXPECT_EQ(GetBe16(&r.data[core]), 0x0001);
  EXPECT_EQ(dataLength, core + 4 + r.data[core + 3] - 4);
  EXPECT_EQ(r.data[dataLength + 4], 0);  // nothing past the answer

  // Request type 2: the starting feature only.
  r = Send(drive, {kOpGetConfiguration, 0x02, 0, 0x01, 0, 0, 0, 0, 64, 0}, 64);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(GetBe32(r.data.data()), 4u + 12u);
  EXPECT_EQ(GetBe16(&r.data[8]), 0x0001);
}

TEST(VirtualDrive, TableOfContentsOfADataSide) {
  VirtualDriveConfig c = Config("dvd-r");
  c.recordedBlocks = 2295104;
  VirtualDrive drive(c);
  Sent r = Send(drive, {kOpReadToc, 0, 0, 0, 0, 0, 0, 0, 100, 0}, 100);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(GetBe16(r.data.data()), 18);
  EXPECT_EQ(r.data[3], 1);  // last track
  EXPECT_EQ(r.data[6], 1);
  EXPECT_EQ(r.data[14], 0xAA);
  EXPECT_EQ(GetBe32(&r.data[16]), 2295104u);

  // From the lead-out: its descriptor alone.
  r = Send(drive, {kOpReadToc, 0, 0, 0, 0, 0, 0xAA, 0, 100, 0}, 100);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(GetBe16(r.data.data()), 10);
  EXPECT_EQ(r.data[6], 0xAA);
  EXPECT_EQ(GetBe32(&r.data[8]), 2295104u);
  // A track that does not exist.
  r = Send(drive, {kOpReadToc, 0, 0, 0, 0, 0, 2, 0, 100, 0}, 100);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.sense[12], 0x24);

  // MSF addresses: block 0 is 00:02:00; the lead-out's 510 minutes clamp
  // to 255.
  r = Send(drive, {kOpReadToc, 0x02, 0, 0, 0, 0, 0, 0, 100, 0}, 100);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ((std::array<int, 4>{r.data[8], r.data[9], r.data[10], r.data[11]}),
            (std::array<int, 4>{0, 0, 2, 0}));
  const std::uint32_t frames = 2295104u + 150u;
  EXPECT_EQ(r.data[17], 255);
  EXPECT_EQ(r.data[18], frames / 75 % 60);
  EXPECT_EQ(r.data[19], frames % 75);

  // Full TOC: A2 gives the lead-out start.
  r = Send(drive, {kOpReadToc, 0, 2, 0, 0, 0, 0, 0, 100, 0}, 100);
  ASSERT_TRUE(r.ok);
  const std::uint8_t* a2 = &r.data[4 + 22];
  EXPECT_EQ(a2[3], 0xA2);
  EXPECT_EQ(a2[9], frames / 75 % 60);
  EXPECT_EQ(a2[10], frames % 75);

  // Disc information and physical format.
  r = Send(drive, {kOpReadDiscInformation, 0, 0, 0, 0, 0, 0, 0, 50, 0}, 50);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(GetBe16(r.data.data()), 32);
  EXPECT_EQ(r.data[2], 0x0E);
  EXPECT_EQ(r.data[34], 0);
  r = Send(drive, {kOpReadDiscStructure, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0}, 20);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.data[4] & 0xF0, 0x20);
}

// Literal offsets, as a drive's page has them: the one check of
// ElsPageLayout's offsets that does not go through it.
TEST(VirtualDrive, ExampleElsPageLayout) {
  const ElsPageBytes page = ExampleElsPage();
  EXPECT_EQ(page[8], 0xAD);
  EXPECT_EQ(page[14], 0x0F);
  EXPECT_EQ(page[18], 7);
  EXPECT_EQ(GetBe32(&page[22]), 214u);
  EXPECT_EQ(GetBe16(&page[58]), 8);
  EXPECT_EQ(GetBe16(&page[60]), 8);
  EXPECT_EQ(GetBe16(&page[62]), 95);
  EXPECT_EQ(GetBe16(&page[64]), 1);
  const int expected[7][4] = {{9000, 1, 36, 1}, {7875, 1, 189, 4}, {6750, 1, 36, 1},
                              {4500, 1, 45, 1}, {2250, 1, 45, 1},  {1125, 1, 36, 1},
                              {225, 1, 45, 2}};
  for (int i = 0; i < 7; ++i) {
    for (int f = 0; f < 4; ++f)
      EXPECT_EQ(GetBe16(&page[92 + 12 * i + 2 * f]), expected[i][f]) << i << "," << f;
  }
  EXPECT_EQ(GetBe16(&page[92 + 12 * 7]), 0);  // the eighth row is empty
}

TEST(VirtualDrive, KeepsTheSelectedPage) {
  using Layout = ElsPageLayout;
  VirtualRig rig(Config("label"));
  ElsPageBytes page{};
  ASSERT_EQ(rig.device->ReadModePage(Layout::kPageCode, page.data()), 1);
  EXPECT_EQ(page, ExampleElsPage());
  page[Layout::kOffLabelWriting] = 1;
  page[Layout::kOffStepsPerFeed] = 11;
  ASSERT_EQ(rig.device->WriteModePage(page.data()), 1);
  ElsPageBytes again{};
  ASSERT_EQ(rig.device->ReadModePage(Layout::kPageCode, again.data()), 1);
  EXPECT_EQ(again[Layout::kOffLabelWriting], 1);
  EXPECT_EQ(again[Layout::kOffStepsPerFeed], 11);

  page[Layout::kOffPageCode] = 0x2A;  // another page: refused, the ELS page unchanged
  EXPECT_EQ(rig.device->WriteModePage(page.data()), 0);
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x05, 0x26, 0x00}));
  EXPECT_EQ(rig.drive->CurrentElsPage()[Layout::kOffPageCode], 0xAD);
}

TEST(VirtualDrive, BurnFlipBurnAgain) {
  VirtualDriveConfig c = Config("label", "dvd+r");
  c.status = "blank";
  VirtualRig rig(c);
  ElsPageBytes page{};
  std::uint8_t sense[3];
  auto burn = [&] {
    ASSERT_EQ(rig.device->ReadModePage(ElsPageLayout::kPageCode, page.data()), 1);
    page[ElsPageLayout::kOffLabelWriting] = 1;
    ASSERT_EQ(rig.device->WriteModePage(page.data()), 1);
    rig.device->PreventAllowRemoval(1);
    EXPECT_EQ(rig.device->Write12(0x30000, 2448 * 4, 4, sense), 1);
    EXPECT_EQ(rig.device->SynchronizeCache(), 1);
    page[ElsPageLayout::kOffLabelWriting] = 0;
    ASSERT_EQ(rig.device->WriteModePage(page.data()), 1);
    rig.device->PreventAllowRemoval(0);
    rig.device->StartStopUnit(0);
  };
  EXPECT_EQ(IdentifyDisc(*rig.device).name.text, "Etchlume disc  label-side");
  burn();
  EXPECT_EQ(IdentifyDisc(*rig.device).name.text, "DVD+R blank");
  burn();
  EXPECT_EQ(IdentifyDisc(*rig.device).name.text, "Etchlume disc  label-side");
}

// A drive that vanishes at write N (Faults=gone:N) answers that write and
// every command after it as a pulled-out drive does: no status and no
// sense, so the drive object tells it apart from a refusal. The tray stays
// as it was: nothing is ejected by a drive that is not there.
TEST(VirtualDrive, AGoneDriveAnswersNothingFromItsWriteOn) {
  VirtualDriveConfig c = Config("label");
  c.burn.faults = "gone:3";
  VirtualRig rig(c);
  ElsPageBytes page{};
  ASSERT_EQ(rig.device->ReadModePage(ElsPageLayout::kPageCode, page.data()), 1);
  page[ElsPageLayout::kOffLabelWriting] = 1;
  ASSERT_EQ(rig.device->WriteModePage(page.data()), 1);
  std::uint8_t sense[3];
  const std::uint32_t start = 0x30000;
  for (std::uint32_t write = 1; write <= 2; ++write)
    ASSERT_EQ(rig.device->Write12(start + 4 * write, 2448 * 4, 4, sense), 1) << write;

  // Removal and eject report 1 whatever the drive answers; the drive
  // object still knows that nothing came back.
  struct Command {
    const char* name;
    std::function<int()> send;
    bool reportsFailure = true;
  };
  CELDevice& d = *rig.device;
  const std::vector<Command> commands = {
      {"the third write", [&] { return d.Write12(start + 12, 2448 * 4, 4, sense); }},
      {"the write after it", [&] { return d.Write12(start + 16, 2448 * 4, 4, sense); }},
      {"SYNCHRONIZE CACHE", [&] { return d.SynchronizeCache(); }},
      {"TEST UNIT READY", [&] { return d.TestUnitReady(); }},
      {"the page sent back",
       [&] {
         page[ElsPageLayout::kOffLabelWriting] = 0;
         return d.WriteModePage(page.data());
       }},
      {"MODE SENSE", [&] { return d.ReadModePage(ElsPageLayout::kPageCode, page.data()); }},
      {"removal allowed", [&] { return d.PreventAllowRemoval(0); }, false},
      {"eject", [&] { return d.StartStopUnit(0); }, false},
      {"GET CONFIGURATION", [&] { return d.GetConfiguration(0, 0, 32); }},
      {"READ TOC", [&] { return d.ReadToc(2, 0, 256); }},
  };
  for (const Command& command : commands) {
    const int result = command.send();
    if (command.reportsFailure) {
      EXPECT_EQ(result, 0) << command.name;
    }
    EXPECT_TRUE(d.LastCommandUnanswered()) << command.name;
    EXPECT_EQ(d.LastCommandStatus(), kNoScsiStatus) << command.name;
    const auto& bytes = d.Request().sense;
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
        << command.name;
  }
  EXPECT_FALSE(rig.drive->TrayEmpty());
  // Straight to the transport: nothing comes back, not even an empty sense.
  const Sent inquiry = Send(*rig.drive, {kOpInquiry, 0, 0, 0, 36, 0}, 36);
  EXPECT_FALSE(inquiry.ok);
  EXPECT_TRUE(std::all_of(inquiry.sense.begin(), inquiry.sense.end(),
                          [](std::uint8_t b) { return b == 0; }));
}

TEST(VirtualDrive, TrayStaysEmptyUntilTheReloadDelay) {
  VirtualDriveConfig c = Config("dvd-r");
  c.reloadDelaySeconds = 3600;
  VirtualRig rig(c);
  EXPECT_EQ(rig.device->TestUnitReady(), 1);
  rig.device->PreventAllowRemoval(1);
  EXPECT_EQ(rig.device->StartStopUnit(0), 1);  // refused by the drive, still 1
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x05, 0x53, 0x02}));
  EXPECT_FALSE(rig.drive->TrayEmpty());
  rig.device->PreventAllowRemoval(0);
  rig.device->StartStopUnit(0);
  EXPECT_TRUE(rig.drive->TrayEmpty());
  EXPECT_EQ(rig.device->TestUnitReady(), 0);
  EXPECT_EQ(rig.Sense(), (std::array<int, 3>{0x02, 0x3A, 0x00}));
  EXPECT_EQ(rig.device->GetDiscKind(), 0x00);
  EXPECT_EQ(rig.device->ModeSense10(ElsPageLayout::kPageCode, ElsPageLayout::kSize),
            1);  // no disc needed

  // Load (LoEj with Start) closes the tray at once.
  auto& srb = rig.device->Request();
  srb.cdb.fill(0);
  srb.cdb[0] = kOpStartStopUnit;
  srb.cdb[4] = 0x03;
  rig.device->PrepareRequest(srb);
  rig.device->ExecuteRequest(srb);
  EXPECT_EQ(rig.device->TestUnitReady(), 1);
}

TEST(VirtualDrive, ClosedDiscMayReportTheDvdRomProfile) {
  VirtualDriveConfig c = Config("dvd+r");
  c.closedAsDvdRom = true;
  c.recordedBlocks = 100000;
  VirtualRig rig(c);
  ASSERT_EQ(rig.device->GetConfiguration(0, 0, 32), 1);
  EXPECT_EQ(rig.device->ReadArea()[7], 0x10);
  EXPECT_EQ(rig.device->GetDiscKind(), 0x1B);
  EXPECT_EQ(rig.device->GetDiscStatus(), 2);
  EXPECT_DOUBLE_EQ(rig.device->GetRecordedOuterRadius(), 27.4);
}

TEST(VirtualDrive, SettingsSection) {
  const ProfileFile profile = ProfileFile::Parse(
      "[VirtualDrive]\n"
      "Letter=x ; lower case is fine\n"
      "Vendor=ACME ; maker\n"
      "Product=Burner 9\n"
      "Disc=DVD-R\n"
      "Status=incomplete   ; appendable\n"
      "Flip=label\n"
      "ReloadDelay=0.5\n"
      "ClosedAsDvdRom=1\n"
      "Bytpw=90\n"
      "FeedStep=190/2\n"
      "Speeds=9000:36, 225:22.5 ; two entries\n"
      "Faults=busy:3:2\n"
      "Discs=3 ; a pile\n");
  const VirtualDriveConfig c = VirtualDriveConfig::FromProfile(profile);
  EXPECT_EQ(c.discs, 3);
  EXPECT_EQ(c.letter, 'X');
  EXPECT_EQ(c.vendor, "ACME");
  EXPECT_EQ(c.product, "Burner 9");
  EXPECT_EQ(c.revision, "1.00");
  EXPECT_EQ(c.disc, "dvd-r");
  EXPECT_EQ(c.status, "incomplete");
  EXPECT_EQ(c.flip, "label");
  EXPECT_DOUBLE_EQ(c.reloadDelaySeconds, 0.5);
  EXPECT_TRUE(c.closedAsDvdRom);
  EXPECT_TRUE(c.hasElsPage);
  using Layout = ElsPageLayout;
  EXPECT_EQ(GetBe32(&c.elsPage[Layout::kOffBytpw]), 90u);
  EXPECT_EQ(GetBe16(&c.elsPage[Layout::kOffFeedStepNumerator]), 95);
  EXPECT_EQ(GetBe16(&c.elsPage[Layout::kOffFeedStepDenominator]), 1);
  EXPECT_EQ(c.elsPage[Layout::kOffEntryCount] & Layout::kEntryCountMask, 2);
  const std::size_t secondSpeed = Layout::EntryOffset(1) + Layout::kEntrySpeed;
  EXPECT_EQ(GetBe16(&c.elsPage[secondSpeed]), 45);
  EXPECT_EQ(GetBe16(&c.elsPage[secondSpeed + Layout::kFractionDenominator]), 2);
  EXPECT_EQ(GetBe16(&c.elsPage[Layout::EntryOffset(2)]), 0);
  EXPECT_EQ(c.burn.faults, "busy:3:2");

  const VirtualDriveConfig d = VirtualDriveConfig::FromProfile(
      ProfileFile::Parse("[VirtualDrive]\nDisc=floppy\nElsPage=0\n"));
  EXPECT_EQ(d.letter, 'V');
  EXPECT_EQ(d.disc, "unknown");
  EXPECT_FALSE(d.hasElsPage);
  EXPECT_EQ(d.elsPage, ExampleElsPage());
}

TEST(VirtualDrive, SettingsOutOfRangeKeepTheirDefaults) {
  const VirtualDriveConfig c =
      VirtualDriveConfig::FromProfile(ProfileFile::Parse("[VirtualDrive]\n"
                                                         "Letter=7\n"
                                                         "Recorded=4294967296\n"
                                                         "Bytpw=99999999999999999999999\n"
                                                         "DivisorA=65536\n"
                                                         "DivisorB=12x\n"
                                                         "ReloadDelay=soon\n"
                                                         "Discs=-2\n"));
  EXPECT_EQ(c.letter, 'V');
  EXPECT_EQ(c.discs, 0);
  EXPECT_EQ(c.recordedBlocks, 0u);
  EXPECT_EQ(GetBe32(&c.elsPage[22]), 214u);
  EXPECT_EQ(GetBe16(&c.elsPage[58]), 8);
  EXPECT_EQ(GetBe16(&c.elsPage[60]), 8);
  EXPECT_DOUBLE_EQ(c.reloadDelaySeconds, 2.0);

  const auto delay = [](const char* text) {
    return VirtualDriveConfig::FromProfile(
               ProfileFile::Parse(std::string("[VirtualDrive]\nReloadDelay=") + text + "\n"))
        .reloadDelaySeconds;
  };
  EXPECT_DOUBLE_EQ(delay("-3"), 0.0);
  EXPECT_DOUBLE_EQ(delay("inf"), 3600.0);
  EXPECT_DOUBLE_EQ(delay("1e300"), 3600.0);
  EXPECT_DOUBLE_EQ(delay("nan"), 2.0);
  EXPECT_DOUBLE_EQ(delay("4294967296"), 3600.0);

  // An endless delay given directly still lets the tray be ejected.
  VirtualDriveConfig endless = Config("dvd-r", "label");
  endless.reloadDelaySeconds = std::numeric_limits<double>::infinity();
  VirtualRig rig(endless);
  EXPECT_EQ(rig.device->StartStopUnit(0), 1);
  EXPECT_TRUE(rig.drive->TrayEmpty());
}

TEST(VirtualDrive, ElsFractions) {
  std::uint16_t n = 0, d = 0;
  EXPECT_TRUE(ParseElsFraction("47.25", n, d));
  EXPECT_EQ(n, 189);
  EXPECT_EQ(d, 4);
  EXPECT_TRUE(ParseElsFraction("22.5", n, d));
  EXPECT_EQ(n, 45);
  EXPECT_EQ(d, 2);
  EXPECT_TRUE(ParseElsFraction("9000", n, d));
  EXPECT_EQ(n, 9000);
  EXPECT_EQ(d, 1);
  EXPECT_TRUE(ParseElsFraction("95/1", n, d));
  EXPECT_EQ(n, 95);
  for (const char* bad : {"", "x", "1/0", "70000", "-3", "1.23456", "3.", "65535.5"})
    EXPECT_FALSE(ParseElsFraction(bad, n, d)) << bad;
}

TEST(VirtualDrive, TraceLinePerCommand) {
  const test::TempDir temp("trace");
  const auto path = temp / "trace.txt";
  {
    VirtualDriveConfig c = Config("label");
    c.tracePath = path.string();
    VirtualRig rig(c);
    rig.device->TestUnitReady();
    rig.device->ModeSense10(0x2A, 200);
  }
  std::ifstream in(path);
  std::string first, second;
  std::getline(in, first);
  std::getline(in, second);
  EXPECT_EQ(first, "00 00 00 00 00 00 none 0 good 00/00/00");
  EXPECT_EQ(second, "5A 00 2A 00 00 00 00 00 C8 00 in 200 check 05/24/00");

  // A second drive appends to what is there.
  {
    VirtualDriveConfig c = Config("label");
    c.tracePath = path.string();
    VirtualRig rig(c);
    rig.device->TestUnitReady();
  }
  std::ifstream again(path);
  int lines = 0;
  for (std::string line; std::getline(again, line);) ++lines;
  EXPECT_EQ(lines, 3);
  std::filesystem::remove(path);

  // A trace that cannot be opened is no trace (and says so): the drive
  // answers as before.
  VirtualDriveConfig c = Config("label");
  c.tracePath = "/nonexistent-folder/twr-trace.txt";
  std::string warning;
  c.warn = [&](const std::string& text) { warning += text; };
  VirtualRig rig(c);
  EXPECT_EQ(rig.device->TestUnitReady(), 1);
  EXPECT_EQ(rig.device->IsLabelSide(), 1);
  EXPECT_NE(warning.find("twr-trace.txt"), std::string::npos) << warning;
}

TEST(VirtualDrive, CallersOnSeveralThreads) {
  auto drive = std::make_shared<VirtualDrive>(Config("label"));
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      std::uint8_t cdb[10] = {kOpModeSense10,       0, ElsPageLayout::kPageCode, 0, 0, 0, 0, 0,
                              ElsPageLayout::kSize, 0};
      std::vector<std::uint8_t> data(ElsPageLayout::kSize);
      for (int i = 0; i < 500; ++i) {
        if (!drive->Execute(cdb, ScsiDirection::In, data).ok ||
            data[ElsPageLayout::kOffPageCode] != 0xAD)
          ++failures;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, 0);
}

}  // namespace
}  // namespace twr
