// The drive object: the request block and its transport (two fixed 320 KiB
// data areas, an aligned transfer buffer), the MMC command set, disc
// identification and drive discovery. One process-wide instance in the
// program; tests make their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drive/DriveReport.h"
#include "drive/DriveSource.h"
#include "drive/ElsPageLayout.h"
#include "drive/ScsiTransport.h"

namespace twr {

inline constexpr std::size_t kDataAreaSize = 327680;

// Request status values.
inline constexpr std::uint8_t kSrbComplete = 1;
inline constexpr std::uint8_t kSrbError = 4;
// Request flags: which way the data goes.
inline constexpr std::uint8_t kSrbDataIn = 0x08;
inline constexpr std::uint8_t kSrbDataOut = 0x10;
// The request's command code: run a SCSI command.
inline constexpr std::uint8_t kSrbExecuteCommand = 2;
// Sense bytes a request asks for.
inline constexpr std::uint8_t kSrbSenseLength = 14;

// The program's one SCSI request record: what to send, where the data is,
// and how it ended.
struct ScsiRequestBlock {
  std::uint8_t command = 0;  // kSrbExecuteCommand
  std::uint8_t status = 0;   // kSrbComplete, or kSrbError when the command failed
  std::uint8_t flags = 0;    // kSrbDataIn, kSrbDataOut, or 0 for no data
  std::uint32_t bufferLength = 0;
  std::uint8_t* buffer = nullptr;  // the read or the write area
  std::uint8_t senseLength = 0;
  std::uint8_t cdbLength = 0;
  std::array<std::uint8_t, 16> cdb{};
  std::array<std::uint8_t, 16> sense{};  // the drive's sense data when it refused
};

// CDB length from the group code (cdb[0] >> 5); 0 for groups 3 and 4, whose
// length is left as it was.
int CdbLengthForOpcode(std::uint8_t opcode);

// Disc kind codes (low byte of the MMC current profile, with 0xFF unknown).
enum DiscKind : std::uint8_t {
  kDiscNone = 0x00,
  kDiscCdRom = 0x08,
  kDiscCdR = 0x09,
  kDiscCdRw = 0x0A,
  kDiscDvdRom = 0x10,
  kDiscDvdR = 0x11,
  kDiscDvdRam = 0x12,
  kDiscDvdRw = 0x14,
  kDiscDvdPlusRw = 0x1A,
  kDiscDvdPlusR = 0x1B,
  kDiscUnknown = 0xFF,
};

// Disc status codes (READ DISC INFORMATION, Disc Status).
enum DiscStatus : std::uint8_t {
  kStatusBlank = 0,
  kStatusIncomplete = 1,
  kStatusComplete = 2,
  kStatusOther = 3,
  kStatusFailed = 0xFF,
};

// Opcodes of the commands the program sends.
enum ScsiOpcode : std::uint8_t {
  kOpTestUnitReady = 0x00,
  kOpInquiry = 0x12,
  kOpStartStopUnit = 0x1B,
  kOpPreventAllowRemoval = 0x1E,
  kOpSynchronizeCache = 0x35,
  kOpReadToc = 0x43,
  kOpGetConfiguration = 0x46,
  kOpReadDiscInformation = 0x51,
  kOpModeSelect10 = 0x55,
  kOpModeSense10 = 0x5A,
  kOpRead12 = 0xA8,
  kOpWrite12 = 0xAA,
  kOpReadDiscStructure = 0xAD,
};

inline constexpr int kFullTocLength = 260;
// A caller that needs the drive ready sends TEST UNIT READY this many times
// in a row and uses only the last answer: the first ones may report a disc
// just changed or a drive still spinning up.
inline constexpr int kReadyTries = 3;
inline constexpr std::uint32_t kBlockSize = 2048;

class CELDevice {
 public:
  CELDevice();
  virtual ~CELDevice();
  CELDevice(const CELDevice&) = delete;
  CELDevice& operator=(const CELDevice&) = delete;

  // ---- Request transport -------------------------------------------------
  // Whether SCSI pass-through exists on this system (SG_IO: always on Linux).
  static bool IsPassThroughAvailable();
  void SetPassThroughForTest(bool on) { passThrough_ = on ? 1 : 0; }

  ScsiRequestBlock& Request() { return srb_; }
  std::uint8_t* ReadArea() { return readArea_.data(); }
  std::uint8_t* WriteArea() { return writeArea_.data(); }

  void PrepareRequest(ScsiRequestBlock& srb);
  void PrepareReadRequest(ScsiRequestBlock& srb, std::uint32_t length);
  void PrepareWriteRequest(ScsiRequestBlock& srb, std::uint32_t length);
  void ExecuteRequest(ScsiRequestBlock& srb);
  // Replaces the transfer buffer by one of at least `capacity` bytes (16-byte
  // aligned). False, with no buffer, when memory runs out.
  bool EnsureTransferBuffer(std::uint32_t capacity);
  std::uint32_t TransferCapacity() const { return transferCapacity_; }
  const std::uint8_t* TransferBuffer() const { return transferAligned_; }
  // Bytes the drive really sent for the last data-in request (the rest of
  // the requested length reads as zero), or sent for the last data-out
  // request that succeeded; 0 after a request without data.
  std::uint32_t LastTransferLength() const { return lastTransferred_; }

  // Makes `transport` the open drive (closing the one open before). Used for
  // the virtual drive and by tests; discovery opens drives itself.
  void AttachTransport(std::shared_ptr<ScsiTransport> transport);
  void CloseDrive();
  bool IsOpen() const { return transport_ != nullptr; }
  ScsiTransport* Transport() const { return transport_.get(); }

  // ---- Command set (1 success, 0 failure) --------------------------------
  int TestUnitReady();
  // TEST UNIT READY kReadyTries times; the last answer.
  int TestUnitReadyTries();
  int Inquiry();
  int StartStopUnit(int immediate);      // eject; always 1
  int PreventAllowRemoval(int prevent);  // always 1
  int ModeSense10(int page, int length);
  int ModeSelect10(int length);
  int SynchronizeCache();
  int ReadToc(int format, int track, int length);
  int ReadDiscInformation(int length);
  int GetConfiguration(int requestType, int startingFeature, int length);
  int ReadDiscStructure(int address, int layer, int format, int length);
  int Read12(std::uint32_t address, std::uint32_t byteCount, int blockCount);
  // On failure writes the sense key's byte (whole: sense byte 2 of fixed
  // format), ASC and ASCQ to senseOut.
  int Write12(std::uint32_t address, std::uint32_t byteCount, int blockCount,
              std::uint8_t senseOut[3]);
  // True when the last command failed without an answer from the drive:
  // neither sense data nor a status came back (a vanished drive, a failed
  // transport), as opposed to a drive that refused it with sense or with a
  // status such as BUSY.
  bool LastCommandUnanswered() const { return !lastResult_.ok && !lastResult_.Answered(); }
  // The last command's status byte, or kNoScsiStatus when none is known.
  int LastCommandStatus() const { return lastResult_.status; }
  // How the last command ended: status, sense (either format, decoded),
  // the errno of a failed pass-through call, the bytes transferred.
  const ScsiResult& LastResult() const { return lastResult_; }

  // A mode page of the ELS page's size (ElsPageLayout::kSize bytes, header
  // included) read into `destination` or written from `source`.
  int ReadModePage(int page, std::uint8_t* destination);
  int WriteModePage(const std::uint8_t* source);
  // The full TOC (READ TOC format 2), kFullTocLength bytes.
  int ReadFullToc(std::uint8_t* destination);

  // ---- Disc identification -------------------------------------------------
  std::uint8_t GetDiscKind();
  std::uint8_t GetDiscStatus();
  int IsLabelSide();
  double GetRecordedOuterRadius();
  void ReadVolumeInfo(std::string& volumeName, std::string& publisher, std::string& date);

  // ---- Drive discovery -------------------------------------------------------
  int EnumerateDrives();
  // EnumerateDrives, and a report on every candidate drive (letter order),
  // listed or not, that says why; it also looks whether each drive is in
  // use (mounted or held exclusively by another program).
  int SurveyDrives(std::vector<DriveReport>& reports);
  std::string GetDriveItem(int index) const;
  // Opens the listed drive at the index for shared use (identification).
  void OpenDrive(int index);
  // Opens the listed drive at the index with the access asked for, closing
  // the one open before. A burn asks for exclusive access: a drive that is
  // mounted or held by another program (another burn, also on the virtual
  // drive) is refused with InUse, and the access lasts until CloseDrive, the
  // next OpenDrive or the next enumeration. On failure no drive is open.
  // Unlike OpenDrive, an index outside the list is NotListed.
  DriveOpenResult OpenDrive(int index, DriveAccess access);
  void SelectDrive(const std::string& itemText, int index);
  void ReadInquiryStrings(std::string& vendor, std::string& product, std::string& revision);
  int DriveCount() const { return driveCount_; }
  char DriveLetter(int index) const;

  // Where discovery finds its candidate drives. The default provider lists
  // the optical drives of this system and the virtual drive of ./twr.ini.
  void SetDriveSourceProvider(DriveSourceProvider provider);
  // Index of the listed drive with this letter (case-insensitive), or -1.
  int FindDriveIndex(char letter) const;
  // The device of the listed drive at the index ("/dev/sr0", "virtual"), or
  // an empty string.
  std::string DriveDevice(int index) const;
  // Index of the open drive in the list, or -1 when none is open.
  int OpenIndex() const { return openIndex_; }
  // Lists the top-level entries of the disc in the listed drive with this
  // letter; false when the letter is not listed or no listing can start.
  bool ListDiscTopLevel(char letter, std::vector<DiscEntry>& entries) const;
  // The folder the disc in the listed drive with this letter is mounted on;
  // empty when it is not mounted or the letter is not listed.
  std::string DiscMountFolder(char letter) const;

 private:
  void ClearCdb();
  int RunNoData();
  int RunDataIn(std::uint32_t length);
  int RunDataOut(std::uint32_t length);
  int Enumerate(std::vector<DriveReport>* reports);
  // Opens the listed drive at a valid index; the transport is kept even
  // when the open failed (nullptr: its commands then fail).
  DriveOpenResult OpenListed(int index, DriveAccess access);
  // ReadInquiryStrings; true when the drive answered INQUIRY.
  bool InquiryStrings(std::string& vendor, std::string& product, std::string& revision);

  alignas(16) std::array<std::uint8_t, kDataAreaSize> readArea_{};
  alignas(16) std::array<std::uint8_t, kDataAreaSize> writeArea_{};
  std::vector<std::string> driveList_;
  int passThrough_ = 0;
  int driveCount_ = 0;
  std::vector<char> driveLetters_;
  std::vector<DriveSource> driveSources_;  // same order as driveLetters_
  DriveSourceProvider sourceProvider_;
  int openIndex_ = -1;
  std::shared_ptr<ScsiTransport> transport_;
  std::unique_ptr<std::uint8_t[]> transferRaw_;
  std::uint8_t* transferAligned_ = nullptr;
  std::uint32_t transferCapacity_ = 0;
  std::uint32_t lastTransferred_ = 0;
  ScsiRequestBlock srb_;
  ScsiResult lastResult_;
};

}  // namespace twr
