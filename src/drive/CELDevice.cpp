// The request transport of the drive object and the thirteen commands.
#include "drive/CELDevice.h"

#include "drive/ByteOrder.h"

#include <scsi/sg.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace twr {

namespace {

constexpr int kTocFormatFull = 2;
constexpr std::uint8_t kModeSelectPageFormat = 0x10;
constexpr std::uint8_t kStartStopEject = 0x02;  // LoEj = 1, Start = 0
constexpr int kInquiryLength = 100;
constexpr std::uint32_t kBufferAlignment = 16;

}  // namespace

int CdbLengthForOpcode(std::uint8_t opcode) {
  switch (opcode >> 5) {
    case 0:
      return 6;
    case 1:
    case 2:
    case 7:
      return 10;
    case 5:
    case 6:
      return 12;
    default:
      return 0;
  }
}

bool CELDevice::IsPassThroughAvailable() {
#ifdef SG_IO
  return true;
#else
  return false;
#endif
}

CELDevice::CELDevice() : passThrough_(IsPassThroughAvailable() ? 1 : 0) {}

CELDevice::~CELDevice() {
  CloseDrive();
  transferRaw_.reset();
  transferAligned_ = nullptr;
  transferCapacity_ = 0;
}

void CELDevice::AttachTransport(std::shared_ptr<ScsiTransport> transport) {
  transport_ = std::move(transport);
  openIndex_ = -1;
}

void CELDevice::CloseDrive() {
  transport_.reset();
  openIndex_ = -1;
}

// ---- Request transport ----------------------------------------------------

namespace {
void PrepareCommon(ScsiRequestBlock& srb) {
  srb.command = kSrbExecuteCommand;
  srb.senseLength = kSrbSenseLength;
  int length = CdbLengthForOpcode(srb.cdb[0]);
  if (length != 0) srb.cdbLength = static_cast<std::uint8_t>(length);
}
}  // namespace

void CELDevice::PrepareRequest(ScsiRequestBlock& srb) {
  srb.flags = 0;
  srb.bufferLength = 0;
  srb.buffer = nullptr;
  PrepareCommon(srb);
}

void CELDevice::PrepareReadRequest(ScsiRequestBlock& srb, std::uint32_t length) {
  srb.flags = kSrbDataIn;
  srb.bufferLength = length;
  srb.buffer = readArea_.data();
  PrepareCommon(srb);
}

void CELDevice::PrepareWriteRequest(ScsiRequestBlock& srb, std::uint32_t length) {
  srb.flags = kSrbDataOut;
  srb.bufferLength = length;
  srb.buffer = writeArea_.data();
  PrepareCommon(srb);
}

bool CELDevice::EnsureTransferBuffer(std::uint32_t capacity) {
  transferRaw_.reset();
  transferAligned_ = nullptr;
  transferCapacity_ = 0;
  const std::size_t bytes = static_cast<std::size_t>(capacity) + (kBufferAlignment - 1);
  transferRaw_.reset(new (std::nothrow) std::uint8_t[bytes]);
  if (!transferRaw_) return false;
  // The first aligned byte: a pointer moved along, never made from a number.
  const auto address = reinterpret_cast<std::uintptr_t>(transferRaw_.get());
  transferAligned_ =
      transferRaw_.get() + (kBufferAlignment - address % kBufferAlignment) % kBufferAlignment;
  transferCapacity_ = capacity;
  return true;
}

void CELDevice::ExecuteRequest(ScsiRequestBlock& srb) {
  srb.status = kSrbError;
  lastResult_ = {};
  lastTransferred_ = 0;
  srb.sense.fill(0);
  const bool in = (srb.flags & kSrbDataIn) != 0;
  const bool out = !in && (srb.flags & kSrbDataOut) != 0;
  const ScsiDirection direction =
      in ? ScsiDirection::In : (out ? ScsiDirection::Out : ScsiDirection::None);

  // A transfer longer than the data areas cannot be honoured: refuse it
  // rather than read or write past them.
  if ((in || out) && (srb.bufferLength > kDataAreaSize || srb.buffer == nullptr)) return;
  std::uint8_t* data = nullptr;
  if (in || out) {
    if (transferCapacity_ < srb.bufferLength && !EnsureTransferBuffer(srb.bufferLength))
      return;  // no buffer: nothing is sent
    data = transferAligned_;
    if (out && srb.bufferLength) std::memcpy(data, srb.buffer, srb.bufferLength);
    // The transfer buffer still holds the last command's bytes: a drive
    // that answers short must not hand them back.
    if (in && srb.bufferLength) std::memset(data, 0, srb.bufferLength);
  }

  const std::size_t length = (in || out) ? srb.bufferLength : 0;
  if (passThrough_ && transport_) {
    const std::size_t cdbLength = srb.cdbLength <= 16 ? srb.cdbLength : 16;
    lastResult_ = transport_->Execute(std::span<const std::uint8_t>(srb.cdb.data(), cdbLength),
                                      direction, std::span<std::uint8_t>(data, length));
  }
  const bool ok = lastResult_.ok;
  srb.status = ok ? kSrbComplete : kSrbError;
  if (in) {
    // What the drive did not transfer reads as zero.
    const std::size_t transferred = std::min(lastResult_.transferred, length);
    if (transferred < length) std::memset(data + transferred, 0, length - transferred);
    lastTransferred_ = static_cast<std::uint32_t>(transferred);
  } else if (out && ok) {
    lastTransferred_ = srb.bufferLength;
  }
  // The whole requested length comes back, whatever the status: callers read
  // only what their command defines, and nothing when it failed.
  if (in && srb.bufferLength) std::memcpy(srb.buffer, data, srb.bufferLength);
  std::copy_n(lastResult_.senseBytes.begin(), srb.sense.size(), srb.sense.begin());
}

// ---- Commands ---------------------------------------------------------------

void CELDevice::ClearCdb() {
  srb_.cdb.fill(0);
}

int CELDevice::RunNoData() {
  PrepareRequest(srb_);
  ExecuteRequest(srb_);
  return srb_.status == kSrbComplete ? 1 : 0;
}

int CELDevice::RunDataIn(std::uint32_t length) {
  PrepareReadRequest(srb_, length);
  ExecuteRequest(srb_);
  return srb_.status == kSrbComplete ? 1 : 0;
}

int CELDevice::RunDataOut(std::uint32_t length) {
  PrepareWriteRequest(srb_, length);
  ExecuteRequest(srb_);
  return srb_.status == kSrbComplete ? 1 : 0;
}

int CELDevice::TestUnitReady() {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpTestUnitReady;
  return RunNoData();
}

int CELDevice::TestUnitReadyTries() {
  int ready = 0;
  for (int i = 0; i < kReadyTries; ++i) ready = TestUnitReady();
  return ready;
}

int CELDevice::Inquiry() {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpInquiry;
  srb_.cdb[4] = kInquiryLength;
  return RunDataIn(kInquiryLength);
}

int CELDevice::StartStopUnit(int immediate) {
  if (!passThrough_) return 1;
  ClearCdb();
  srb_.cdb[0] = kOpStartStopUnit;
  srb_.cdb[1] = static_cast<std::uint8_t>(immediate);
  srb_.cdb[4] = kStartStopEject;
  RunNoData();
  return 1;
}

int CELDevice::PreventAllowRemoval(int prevent) {
  if (!passThrough_) return 1;
  ClearCdb();
  srb_.cdb[0] = kOpPreventAllowRemoval;
  srb_.cdb[4] = static_cast<std::uint8_t>(prevent);
  RunNoData();
  return 1;
}

int CELDevice::ModeSense10(int page, int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpModeSense10;
  srb_.cdb[2] = static_cast<std::uint8_t>(page & 0x3F);
  PutBe16(&srb_.cdb[7], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataIn(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::ModeSelect10(int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpModeSelect10;
  srb_.cdb[1] = kModeSelectPageFormat;
  PutBe16(&srb_.cdb[7], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataOut(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::SynchronizeCache() {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpSynchronizeCache;
  return RunNoData();
}

int CELDevice::ReadToc(int format, int track, int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpReadToc;
  srb_.cdb[2] = static_cast<std::uint8_t>(format & 0x0F);
  srb_.cdb[6] = static_cast<std::uint8_t>(track);
  PutBe16(&srb_.cdb[7], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataIn(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::ReadDiscInformation(int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpReadDiscInformation;
  PutBe16(&srb_.cdb[7], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataIn(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::GetConfiguration(int requestType, int startingFeature, int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpGetConfiguration;
  srb_.cdb[1] = static_cast<std::uint8_t>(requestType);
  PutBe16(&srb_.cdb[2], static_cast<unsigned>(startingFeature) & 0xFFFF);
  PutBe16(&srb_.cdb[7], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataIn(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::ReadDiscStructure(int address, int layer, int format, int length) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpReadDiscStructure;
  PutBe16(&srb_.cdb[4], static_cast<unsigned>(address) & 0xFFFF);  // bytes 2-3 stay 0
  srb_.cdb[6] = static_cast<std::uint8_t>(layer);
  srb_.cdb[7] = static_cast<std::uint8_t>(format);
  PutBe16(&srb_.cdb[8], static_cast<unsigned>(length) & 0xFFFF);
  return RunDataIn(static_cast<unsigned>(length) & 0xFFFF);
}

int CELDevice::Read12(std::uint32_t address, std::uint32_t byteCount, int blockCount) {
  if (!passThrough_) return 0;
  ClearCdb();
  srb_.cdb[0] = kOpRead12;
  PutBe24(&srb_.cdb[3], address);
  PutBe16(&srb_.cdb[8], static_cast<unsigned>(blockCount) & 0xFFFF);
  return RunDataIn(byteCount);
}

int CELDevice::Write12(std::uint32_t address, std::uint32_t byteCount, int blockCount,
                       std::uint8_t senseOut[3]) {
  if (!passThrough_) {
    // Nothing was sent, so there is no sense to report.
    senseOut[0] = senseOut[1] = senseOut[2] = 0;
    lastResult_ = {};
    return 0;
  }
  ClearCdb();
  srb_.cdb[0] = kOpWrite12;
  PutBe24(&srb_.cdb[3], address);
  PutBe16(&srb_.cdb[8], static_cast<unsigned>(blockCount) & 0xFFFF);
  if (RunDataOut(byteCount)) return 1;
  senseOut[0] = lastResult_.sense.keyByte;
  senseOut[1] = lastResult_.sense.asc;
  senseOut[2] = lastResult_.sense.ascq;
  return 0;
}

int CELDevice::ReadModePage(int page, std::uint8_t* destination) {
  if (!ModeSense10(page, ElsPageLayout::kSize)) return 0;
  std::memcpy(destination, readArea_.data(), ElsPageLayout::kSize);
  return 1;
}

int CELDevice::WriteModePage(const std::uint8_t* source) {
  std::memcpy(writeArea_.data(), source, ElsPageLayout::kSize);
  return ModeSelect10(ElsPageLayout::kSize);
}

int CELDevice::ReadFullToc(std::uint8_t* destination) {
  if (!ReadToc(kTocFormatFull, 0, kFullTocLength)) return 0;
  std::memcpy(destination, readArea_.data(), kFullTocLength);
  return 1;
}

}  // namespace twr
