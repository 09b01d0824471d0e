// The virtual drive: a ScsiTransport that answers as an Etchlume drive does,
// with a disc (label side, DVD±R, another kind or none) whose data side may
// come from an ISO 9660 image. WRITE(12), SYNCHRONIZE CACHE and the ELS page
// written to it go to its burn side.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "drive/DriveSource.h"
#include "drive/ScsiTransport.h"
#include "drive/virtual/VirtualBurnSide.h"

namespace twr {

class IsoImage;
class ProfileFile;

inline constexpr const char* kVirtualDriveSection = "VirtualDrive";
inline constexpr std::size_t kVirtualElsPageSize = 200;
using ElsPageBytes = std::array<std::uint8_t, kVirtualElsPageSize>;

// One rotation/speed pair of the ELS page, each as numerator/denominator.
struct ElsSpeedEntry {
  std::uint16_t rotationNum = 0, rotationDen = 1;
  std::uint16_t speedNum = 0, speedDen = 1;
};

// The example page: selector 0x0F, seven entries, Bytpw 214, divisors 8 and
// 8, FeedStepLength 95/1, speeds (9000, 36) (7875, 47.25) (6750, 36)
// (4500, 45) (2250, 45) (1125, 36) (225, 22.5).
ElsPageBytes ExampleElsPage();
// Puts the speed entries into a page (at most eight; the count byte too).
void SetElsSpeedEntries(ElsPageBytes& page, const std::vector<ElsSpeedEntry>& entries);

struct VirtualDriveConfig {
  char letter = 'V';
  std::string vendor = "TWRVIRT";
  std::string product = "Etchlume DVD";
  std::string revision = "1.00";
  // Side facing the laser: label, dvd-r, dvd+r, dvd-rom, dvd-rw, dvd+rw,
  // dvd-ram, cd-rom, cd-r, cd-rw, unknown or none.
  std::string disc = "label";
  std::string status = "complete";   // dvd-r / dvd+r: blank, incomplete, complete
  std::string flip;                  // the other side; empty: the disc has one side
  std::string flipStatus;            // status of the other side; empty: as `status`
  std::string image;                 // ISO 9660 image of the data side
  std::uint32_t recordedBlocks = 0;  // recorded size without an image
  double reloadDelaySeconds = 2.0;
  std::string tracePath;
  bool closedAsDvdRom = false;  // a complete DVD±R reports the DVD-ROM profile
  bool hasElsPage = true;       // false: a plain DVD writer without the ELS page
  ElsPageBytes elsPage = ExampleElsPage();
  VirtualBurnConfig burn;

  // Reads a settings section; values may carry a trailing " ; comment".
  // ELS page keys: Bytpw=, FeedStep=num/den, DivisorA=, DivisorB=,
  // Speeds=rotation:speed,... (decimals allowed, e.g. 7875:47.25), ElsPage=0.
  // A value that is not a number, or does not fit its field (Recorded and
  // Bytpw 32 bits, the divisors 16 bits), leaves the default; a letter
  // outside A-Z gives V, an unknown disc kind "unknown", an unknown status
  // "complete". ReloadDelay is held between 0 and 3600 seconds.
  static VirtualDriveConfig FromProfile(const ProfileFile& profile,
                                        const std::string& section = kVirtualDriveSection);
};

// "47.25" -> 189/4; false when it is no number or does not fit 16 bits.
bool ParseElsFraction(const std::string& text, std::uint16_t& num, std::uint16_t& den);

class VirtualDrive : public ScsiTransport {
 public:
  explicit VirtualDrive(VirtualDriveConfig config);
  ~VirtualDrive() override;
  VirtualDrive(const VirtualDrive&) = delete;
  VirtualDrive& operator=(const VirtualDrive&) = delete;

  bool Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
               std::span<std::uint8_t> data,
               std::span<std::uint8_t, kTransportSenseSize> sense) override;

  const VirtualDriveConfig& Config() const { return config_; }
  // The side facing the laser now ("none" while the tray is empty).
  std::string CurrentSide();
  bool TrayEmpty();
  // The ELS page as last selected (or as configured).
  ElsPageBytes CurrentElsPage();
  // Top-level entries of the image when a data side with an image faces
  // the laser; false otherwise.
  bool ListTopLevel(std::vector<DiscEntry>& entries);
  // A discovery source for this drive (the drive itself is what opens).
  static DriveSource SourceFor(const std::shared_ptr<VirtualDrive>& drive);

 private:
  struct Side {
    std::string kind;
    std::string status;
  };
  struct Answer;

  bool Dispatch(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  void UpdateTray();
  bool HasData() const;
  std::uint32_t RecordedBlocks() const;
  VirtualDiscView DiscView() const;
  void Trace(std::span<const std::uint8_t> cdb, ScsiDirection direction, std::size_t length,
             bool ok, const SenseTriple& sense);

  bool Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool GetConfiguration(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                        Answer& answer);
  bool ReadDiscStructure(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                         Answer& answer);
  bool ReadDiscInformation(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                           Answer& answer);
  // True with a disc in the tray; otherwise the answer says "no medium".
  bool HasMedium(Answer& answer) const;
  bool ReadToc(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool ModeSelect(std::span<const std::uint8_t> data, Answer& answer);
  bool Read12(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool Write12(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> data,
               Answer& answer);
  bool StartStop(std::span<const std::uint8_t> cdb, Answer& answer);

  std::mutex mutex_;
  VirtualDriveConfig config_;
  std::unique_ptr<IsoImage> image_;
  std::unique_ptr<VirtualBurnSide> burn_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> trace_;
  Side facing_;
  Side other_;
  bool hasOther_ = false;
  bool trayEmpty_ = false;
  bool removalPrevented_ = false;
  std::chrono::steady_clock::time_point reloadAt_{};
  ElsPageBytes page_{};
};

}  // namespace twr
