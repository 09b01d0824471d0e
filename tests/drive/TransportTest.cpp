// The request block, ExecuteRequest and the CDB of every command.
#include <gtest/gtest.h>

#include "drive/CELDevice.h"
#include "drive/ScriptedTransport.h"
#include "drive/SenseText.h"

namespace twr {
namespace {

using test::Bytes;
using test::ScriptedDrive;
using test::ScriptedReply;

TEST(CdbLength, FollowsTheGroupCode) {
  for (std::uint8_t op : {0x00, 0x12, 0x1B, 0x1E}) EXPECT_EQ(CdbLengthForOpcode(op), 6) << int(op);
  for (std::uint8_t op : {0x35, 0x43, 0x46, 0x51, 0x55, 0x5A, 0xE0})
    EXPECT_EQ(CdbLengthForOpcode(op), 10) << int(op);
  for (std::uint8_t op : {0xA8, 0xAA, 0xAD, 0xC0}) EXPECT_EQ(CdbLengthForOpcode(op), 12) << int(op);
  EXPECT_EQ(CdbLengthForOpcode(0x60), 0);
  EXPECT_EQ(CdbLengthForOpcode(0x80), 0);
}

TEST(CdbLength, GroupsThreeAndFourKeepThePreviousLength) {
  ScriptedDrive d;
  auto& srb = d.device->Request();
  srb.cdb[0] = 0x5A;
  d.device->PrepareRequest(srb);
  srb.cdb[0] = 0x85;  // group 4
  d.device->PrepareRequest(srb);
  EXPECT_EQ(srb.cdbLength, 10);
}

// Each command with its arguments and the 12 CDB bytes, direction and length it sends.
struct CdbCase {
  const char* name;
  std::function<int(CELDevice&)> run;
  std::vector<std::uint8_t> cdb;
  ScsiDirection direction;
  std::size_t length;
};

TEST(Commands, FillTheirCdbBytes) {
  std::uint8_t sense[3] = {};
  const std::vector<CdbCase> cases = {
      {"TestUnitReady", [](CELDevice& d) { return d.TestUnitReady(); },
       Bytes({0x00, 0, 0, 0, 0, 0}), ScsiDirection::None, 0},
      {"Inquiry", [](CELDevice& d) { return d.Inquiry(); }, Bytes({0x12, 0, 0, 0, 100, 0}),
       ScsiDirection::In, 100},
      {"StartStopUnit", [](CELDevice& d) { return d.StartStopUnit(1); },
       Bytes({0x1B, 1, 0, 0, 0x02, 0}), ScsiDirection::None, 0},
      {"PreventAllowRemoval", [](CELDevice& d) { return d.PreventAllowRemoval(1); },
       Bytes({0x1E, 0, 0, 0, 1, 0}), ScsiDirection::None, 0},
      {"ModeSense10", [](CELDevice& d) { return d.ModeSense10(0xED, 200); },
       Bytes({0x5A, 0, 0x2D, 0, 0, 0, 0, 0, 200, 0}), ScsiDirection::In, 200},
      {"ModeSelect10", [](CELDevice& d) { return d.ModeSelect10(200); },
       Bytes({0x55, 0x10, 0, 0, 0, 0, 0, 0, 200, 0}), ScsiDirection::Out, 200},
      {"SynchronizeCache", [](CELDevice& d) { return d.SynchronizeCache(); },
       Bytes({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}), ScsiDirection::None, 0},
      {"ReadToc", [](CELDevice& d) { return d.ReadToc(0x12, 3, 260); },
       Bytes({0x43, 0, 0x02, 0, 0, 0, 3, 0x01, 0x04, 0}), ScsiDirection::In, 260},
      {"ReadDiscInformation", [](CELDevice& d) { return d.ReadDiscInformation(50); },
       Bytes({0x51, 0, 0, 0, 0, 0, 0, 0, 50, 0}), ScsiDirection::In, 50},
      {"GetConfiguration", [](CELDevice& d) { return d.GetConfiguration(2, 0x1234, 32); },
       Bytes({0x46, 2, 0x12, 0x34, 0, 0, 0, 0, 32, 0}), ScsiDirection::In, 32},
      {"ReadDiscStructure", [](CELDevice& d) { return d.ReadDiscStructure(0xABCD, 1, 0, 20); },
       Bytes({0xAD, 0, 0, 0, 0xAB, 0xCD, 1, 0, 0, 20, 0, 0}), ScsiDirection::In, 20},
      {"Read12", [](CELDevice& d) { return d.Read12(16, 2048, 1); },
       Bytes({0xA8, 0, 0, 0, 0, 16, 0, 0, 0, 1, 0, 0}), ScsiDirection::In, 2048},
      {"Write12", [&](CELDevice& d) { return d.Write12(0x123456, 16 * 2448, 16, sense); },
       Bytes({0xAA, 0, 0, 0x12, 0x34, 0x56, 0, 0, 0, 0x10, 0, 0}), ScsiDirection::Out, 16 * 2448},
  };
  for (const CdbCase& c : cases) {
    ScriptedDrive d;
    d.drive->On(c.cdb[0], ScriptedReply{});
    EXPECT_EQ(c.run(*d.device), 1) << c.name;
    ASSERT_EQ(d.drive->Sent().size(), 1u) << c.name;
    EXPECT_EQ(d.drive->Last().cdb, c.cdb) << c.name;
    EXPECT_EQ(d.drive->Last().direction, c.direction) << c.name;
    EXPECT_EQ(d.drive->Last().length, c.length) << c.name;
    // Bytes 12-15 of the block stay 0 whatever the command.
    for (int i = 12; i < 16; ++i) EXPECT_EQ(d.device->Request().cdb[i], 0) << c.name;
  }
}

TEST(Commands, RequestHeaderFields) {
  ScriptedDrive d;
  d.drive->On(0x12, ScriptedReply{});
  d.device->Inquiry();
  const ScsiRequestBlock& srb = d.device->Request();
  EXPECT_EQ(srb.command, 2);
  EXPECT_EQ(srb.flags, kSrbDataIn);
  EXPECT_EQ(srb.buffer, d.device->ReadArea());
  EXPECT_EQ(srb.bufferLength, 100u);
  EXPECT_EQ(srb.senseLength, 14);
  EXPECT_EQ(srb.cdbLength, 6);
  EXPECT_EQ(srb.status, kSrbComplete);

  d.device->TestUnitReady();
  EXPECT_EQ(srb.flags, 0);
  EXPECT_EQ(srb.buffer, nullptr);
  EXPECT_EQ(srb.bufferLength, 0u);
  EXPECT_EQ(srb.status, kSrbError);  // no handler: the drive refused
}

TEST(Transport, NoDriveOpenFailsEveryCommand) {
  auto device = std::make_unique<CELDevice>();
  std::uint8_t sense[3] = {};
  EXPECT_EQ(device->TestUnitReady(), 0);
  EXPECT_EQ(device->Request().status, kSrbError);
  EXPECT_EQ(device->Inquiry(), 0);
  EXPECT_EQ(device->ModeSense10(ElsPageLayout::kPageCode, ElsPageLayout::kSize), 0);
  EXPECT_EQ(device->Write12(0, 2448, 1, sense), 0);
  // These two report success whatever happened.
  EXPECT_EQ(device->StartStopUnit(0), 1);
  EXPECT_EQ(device->PreventAllowRemoval(1), 1);
}

TEST(Transport, WithoutPassThroughNothingIsSent) {
  ScriptedDrive d;
  d.drive->On(0x00, ScriptedReply{});
  d.device->SetPassThroughForTest(false);
  EXPECT_EQ(d.device->TestUnitReady(), 0);
  EXPECT_EQ(d.device->StartStopUnit(0), 1);
  EXPECT_EQ(d.device->PreventAllowRemoval(0), 1);
  ElsPageBytes page{};
  std::uint8_t sense[3] = {0xAA, 0xBB, 0xCC};
  EXPECT_EQ(d.device->Inquiry(), 0);
  EXPECT_EQ(d.device->ModeSense10(ElsPageLayout::kPageCode, ElsPageLayout::kSize), 0);
  EXPECT_EQ(d.device->ModeSelect10(ElsPageLayout::kSize), 0);
  EXPECT_EQ(d.device->SynchronizeCache(), 0);
  EXPECT_EQ(d.device->ReadToc(0, 0, 4), 0);
  EXPECT_EQ(d.device->ReadDiscInformation(50), 0);
  EXPECT_EQ(d.device->GetConfiguration(0, 0, 32), 0);
  EXPECT_EQ(d.device->ReadDiscStructure(0, 0, 0, 20), 0);
  EXPECT_EQ(d.device->Read12(16, 2048, 1), 0);
  EXPECT_EQ(d.device->Write12(0, 2448, 1, sense), 0);
  EXPECT_EQ((std::array<int, 3>{sense[0], sense[1], sense[2]}), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(d.device->ReadModePage(ElsPageLayout::kPageCode, page.data()), 0);
  EXPECT_EQ(d.device->WriteModePage(page.data()), 0);
  EXPECT_EQ(d.device->GetDiscKind(), 0x00);
  EXPECT_EQ(d.device->GetDiscStatus(), 0xFF);
  EXPECT_TRUE(d.drive->Sent().empty());
}

TEST(Transport, FailedDataInStillCopiesTheRequestedLength) {
  ScriptedDrive d;
  d.drive->On(0x51, ScriptedReply{false, Bytes({0xDE, 0xAD, 0xBE, 0xEF}), {}});
  std::memset(d.device->ReadArea(), 0x55, 64);
  EXPECT_EQ(d.device->ReadDiscInformation(50), 0);
  EXPECT_EQ(d.device->ReadArea()[0], 0xDE);
  EXPECT_EQ(d.device->ReadArea()[3], 0xEF);
  EXPECT_NE(d.device->ReadArea()[49], 0x55);  // overwritten from the transfer buffer
  EXPECT_EQ(d.device->ReadArea()[50], 0x55);  // past the requested length: untouched
}

TEST(Transport, SenseComesBackEvenWithoutData) {
  ScriptedDrive d;
  std::vector<std::uint8_t> sense(32);
  for (std::size_t i = 0; i < sense.size(); ++i) sense[i] = static_cast<std::uint8_t>(i + 1);
  d.drive->On(0x00, ScriptedReply{false, {}, sense});
  EXPECT_EQ(d.device->TestUnitReady(), 0);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d.device->Request().sense[i], i + 1);

  // Success after failure: the sense area is cleared, not stale.
  d.drive->On(0x00, ScriptedReply{});
  EXPECT_EQ(d.device->TestUnitReady(), 1);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d.device->Request().sense[i], 0);
}

TEST(Transport, Write12ReportsSenseByteTwoWholeWithAscAndAscq) {
  ScriptedDrive d;
  std::vector<std::uint8_t> sense(18);
  sense[0] = 0x70;
  sense[2] = 0x25;  // a flag bit above sense key 5
  sense[12] = 0x21;
  sense[13] = 0x02;
  d.drive->On(0xAA, ScriptedReply{false, {}, sense});
  std::uint8_t out[3] = {};
  std::memset(d.device->WriteArea(), 0x7E, 2448);
  EXPECT_EQ(d.device->Write12(0x30000, 2448, 1, out), 0);
  EXPECT_EQ(out[0], 0x25);
  EXPECT_EQ(out[1], 0x21);
  EXPECT_EQ(out[2], 0x02);
  ASSERT_EQ(d.drive->LastData().size(), 2448u);
  EXPECT_EQ(d.drive->LastData()[2447], 0x7E);  // sent from the write area
}

// Sense in either format a drive may send, decoded to the same key, ASC and
// ASCQ; the burn sees a descriptor-format refusal as it sees a fixed one.
TEST(Transport, SenseInFixedAndDescriptorFormat) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool present, descriptor, deferred;
    int keyByte, key, asc, ascq;
  };
  const Case cases[] = {
      {"fixed, current", Bytes({0x70, 0, 0x03, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x0C, 0x09}), true,
       false, false, 0x03, 3, 0x0C, 0x09},
      {"fixed, flag bits over the key", Bytes({0xF0, 0, 0x82, 0, 0, 0, 0, 10, 0, 0, 0, 0, 4, 8}),
       true, false, false, 0x82, 2, 0x04, 0x08},
      {"fixed, deferred, cut short", Bytes({0x71, 0, 0x05}), true, false, true, 0x05, 5, 0, 0},
      {"descriptor, current", Bytes({0x72, 0x05, 0x21, 0x00, 0, 0, 0, 0}), true, true, false, 0x05,
       5, 0x21, 0x00},
      {"descriptor, deferred", Bytes({0x73, 0x02, 0x04, 0x08}), true, true, true, 0x02, 2, 0x04,
       0x08},
      {"no sense", Bytes({0x00, 0, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x21}), false, false, false, 0,
       0, 0, 0},
      {"vendor format", Bytes({0x7F, 0x05, 0x21}), false, false, false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ScsiSense sense = DecodeSense(c.bytes);
    EXPECT_EQ(sense.present, c.present);
    EXPECT_EQ(sense.descriptor, c.descriptor);
    EXPECT_EQ(sense.deferred, c.deferred);
    EXPECT_EQ(sense.keyByte, c.keyByte);
    EXPECT_EQ(sense.key, c.key);
    EXPECT_EQ(sense.asc, c.asc);
    EXPECT_EQ(sense.ascq, c.ascq);

    // Through the drive object: a refused WRITE(12) reports the same three
    // values, the raw bytes stay in the request block, and a drive that
    // sent sense has answered.
    ScriptedDrive d;
    d.drive->On(0xAA, ScriptedReply{false, {}, c.bytes});
    std::uint8_t out[3] = {0xAA, 0xAA, 0xAA};
    EXPECT_EQ(d.device->Write12(0x30000, 2448, 1, out), 0);
    EXPECT_EQ((std::array<int, 3>{out[0], out[1], out[2]}),
              (std::array<int, 3>{c.keyByte, c.asc, c.ascq}));
    EXPECT_EQ(d.device->Request().sense[1], c.bytes[1]);
    EXPECT_EQ(d.device->LastResult().senseLength, c.bytes.size());
    EXPECT_EQ(d.device->LastCommandUnanswered(), !c.present);
  }
}

// A refused command is unanswered only when neither sense nor a status came
// back; a refusal by status alone is said in words after the outcome.
TEST(Transport, RefusalsByStatusAreAnswers) {
  struct Case {
    int status;
    bool withSense;
    bool unanswered;
    const char* words;  // StatusRefusalText
  };
  const Case cases[] = {
      {kNoScsiStatus, false, true, ""},
      {kNoScsiStatus, true, false, ""},
      {kScsiStatusCheckCondition, true, false, ""},
      {kScsiStatusCheckCondition, false, false, ""},
      {kScsiStatusBusy, false, false, "BUSY: the drive is busy with another command or program"},
      {kScsiStatusReservationConflict, false, false,
       "RESERVATION CONFLICT: the drive is reserved by another program or computer"},
      {kScsiStatusTaskSetFull, false, false,
       "TASK SET FULL: the drive had no room for another command"},
      {0x22, false, false, "status 22"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    ScriptedDrive d;
    std::vector<std::uint8_t> sense;
    if (c.withSense) sense = {0x70, 0, 0x03, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0x00};
    d.drive->On(0xAA, ScriptedReply{false, {}, sense, SIZE_MAX, c.status});
    std::uint8_t out[3] = {};
    EXPECT_EQ(d.device->Write12(0x30000, 2448, 1, out), 0);
    EXPECT_EQ(d.device->LastCommandUnanswered(), c.unanswered);
    EXPECT_EQ(d.device->LastCommandStatus(), c.status);
    EXPECT_EQ(StatusRefusalText(c.status), c.words);
  }
}

TEST(Transport, TransferBufferOnlyGrowsAndStaysAligned) {
  ScriptedDrive d;
  d.drive->On(0x5A, ScriptedReply{});
  EXPECT_EQ(d.device->TransferCapacity(), 0u);
  d.device->ModeSense10(ElsPageLayout::kPageCode, 200);
  EXPECT_EQ(d.device->TransferCapacity(), 200u);
  const std::uint8_t* first = d.device->TransferBuffer();
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 16, 0u);
  d.device->ModeSense10(ElsPageLayout::kPageCode, 100);
  EXPECT_EQ(d.device->TransferCapacity(), 200u);
  EXPECT_EQ(d.device->TransferBuffer(), first);
  d.device->ModeSense10(ElsPageLayout::kPageCode, 4096);
  EXPECT_EQ(d.device->TransferCapacity(), 4096u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(d.device->TransferBuffer()) % 16, 0u);
}

TEST(Transport, TransferLongerThanTheDataAreasIsRefusedUnsent) {
  ScriptedDrive d;
  d.drive->On(0xA8, ScriptedReply{});
  EXPECT_EQ(d.device->Read12(0, kDataAreaSize + 1, 161), 0);
  EXPECT_TRUE(d.drive->Sent().empty());
  EXPECT_EQ(d.device->Read12(0, kDataAreaSize, 160), 1);
}

TEST(Transport, CompositeReadsCopyOnlyOnSuccess) {
  ScriptedDrive d;
  constexpr std::size_t kPageSize = ElsPageLayout::kSize;
  std::vector<std::uint8_t> page(kPageSize, 0x11);
  d.drive->On(0x5A, ScriptedReply{true, page, {}});
  ElsPageBytes out{};
  EXPECT_EQ(d.device->ReadModePage(ElsPageLayout::kPageCode, out.data()), 1);
  EXPECT_EQ(out[kPageSize - 1], 0x11);
  d.drive->On(0x5A, ScriptedReply{false, std::vector<std::uint8_t>(kPageSize, 0x22), {}});
  EXPECT_EQ(d.device->ReadModePage(ElsPageLayout::kPageCode, out.data()), 0);
  EXPECT_EQ(out[0], 0x11);

  ElsPageBytes in;
  in.fill(0x33);
  d.drive->On(0x55, ScriptedReply{});
  EXPECT_EQ(d.device->WriteModePage(in.data()), 1);
  EXPECT_EQ(d.drive->LastData(), std::vector<std::uint8_t>(kPageSize, 0x33));
}

// A drive that sends less than it was asked for: what it did not send reads
// as zero (never the last command's bytes), the short length is recorded,
// and the readers that take fields from it see the answer as short.
TEST(Transport, ShortAnswersHandBackNoStaleBytes) {
  ScriptedDrive d;
  d.drive->On(0x5A, ScriptedReply{true, std::vector<std::uint8_t>(200, 0xEE), {}});
  ASSERT_EQ(d.device->ModeSense10(ElsPageLayout::kPageCode, 200), 1);
  EXPECT_EQ(d.device->LastTransferLength(), 200u);

  // 10 of 50 bytes sent; the rest of the reply never reached the host.
  std::vector<std::uint8_t> info(50, 0xAB);
  d.drive->On(0x51, ScriptedReply{true, info, {}, 10});
  ASSERT_EQ(d.device->ReadDiscInformation(50), 1);
  EXPECT_EQ(d.device->LastTransferLength(), 10u);
  EXPECT_EQ(d.device->ReadArea()[9], 0xAB);
  for (int i = 10; i < 50; ++i) ASSERT_EQ(d.device->ReadArea()[i], 0) << i;
  // A transport that writes nothing for a failed read hands back zeros, not
  // the page read before.
  d.drive->On(0x51, ScriptedReply{false, {}, {}, 0});
  EXPECT_EQ(d.device->ReadDiscInformation(50), 0);
  EXPECT_EQ(d.device->ReadArea()[0], 0);
  EXPECT_EQ(d.device->LastTransferLength(), 0u);

  // Disc status: two bytes cannot hold the status field; it is no status,
  // not "blank". Three bytes can.
  d.drive->On(0x00, ScriptedReply{});
  d.drive->On(0x51, ScriptedReply{true, Bytes({0, 32}), {}, 2});
  EXPECT_EQ(d.device->GetDiscStatus(), 0xFF);
  d.drive->On(0x51, ScriptedReply{true, Bytes({0, 32, 0x0E}), {}, 3});
  EXPECT_EQ(d.device->GetDiscStatus(), 2);

  // The recorded radius: a TOC that declares its lead-out but is cut off
  // before it is a failure, not the radius of block 0 (25.0 mm).
  std::vector<std::uint8_t> toc(20, 0);
  toc[1] = 18;  // 20 bytes: one track and the lead-out
  toc[3] = 1;
  toc[16] = 0x00;
  toc[17] = 0x0F;  // lead-out at block 0x0F4240 = 1,000,000
  toc[18] = 0x42;
  toc[19] = 0x40;
  int calls = 0;
  d.drive->On(0x43, [&](const test::SentCommand&) {
    return ScriptedReply{true, toc, {}, ++calls == 1 ? SIZE_MAX : 14};
  });
  EXPECT_EQ(d.device->GetRecordedOuterRadius(), 0.0);
  // The same answer sent whole gives the radius as before.
  d.drive->On(0x43, ScriptedReply{true, toc, {}});
  EXPECT_DOUBLE_EQ(d.device->GetRecordedOuterRadius(), 43.3);
}

}  // namespace
}  // namespace twr
