// The virtual drive: a ScsiTransport that answers as an Etchlume drive does,
// with a disc (label side, DVD±R, another kind or none) whose data side may
// come from an ISO 9660 image. WRITE(12), SYNCHRONIZE CACHE and the ELS page
// written to it go to its burn side. The command core (dispatch, tray, trace,
// sense) is VirtualDrive.cpp; the answers about the drive and its disc are
// VirtualDiscAnswers.cpp.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "drive/DriveSource.h"
#include "drive/ScsiTransport.h"
#include "drive/virtual/VirtualBurnSide.h"
#include "drive/virtual/VirtualDriveConfig.h"

namespace twr {

class IsoImage;

class VirtualDrive : public ScsiTransport {
 public:
  explicit VirtualDrive(VirtualDriveConfig config);
  ~VirtualDrive() override;
  VirtualDrive(const VirtualDrive&) = delete;
  VirtualDrive& operator=(const VirtualDrive&) = delete;

  // Refusals come with CHECK CONDITION and fixed-format sense; a vanished
  // drive answers nothing at all.
  ScsiResult Execute(std::span<const std::uint8_t> cdb, ScsiDirection direction,
                     std::span<std::uint8_t> data) override;

  // Shared access is the drive itself. Exclusive access (a burn) is a
  // transport of its own that holds the drive's lock until it is dropped;
  // while one exists, another exclusive open, also through another drive
  // object on the same lock file, is refused with InUse.
  static DriveOpenResult Open(const std::shared_ptr<VirtualDrive>& drive, DriveAccess access);

  const VirtualDriveConfig& Config() const { return config_; }
  // The side facing the laser now ("none" while the tray is empty).
  std::string CurrentSide();
  bool TrayEmpty();
  // With a pile of discs (Discs=N): the number of the disc in the tray, or
  // coming into it after an eject (1 to N); 0 once the last one is out.
  // Without a pile always 1.
  int PileDisc();
  // The ELS page as last selected (or as configured).
  ElsPageBytes CurrentElsPage();
  // Top-level entries of the image when a data side with an image faces
  // the laser; false otherwise.
  bool ListTopLevel(std::vector<DiscEntry>& entries);
  // A discovery source for this drive (the drive itself is what opens).
  static DriveSource SourceFor(const std::shared_ptr<VirtualDrive>& drive);

 private:
  friend class VirtualDriveHold;
  void ReleaseHold();

  struct Side {
    std::string kind;
    std::string status;
  };
  // How a command ended: the sense of a refusal (none at all from a
  // vanished drive) and the data-in bytes answered.
  struct Answer {
    SenseTriple sense;
    bool withSense = true;
    std::size_t transferred = 0;
    // Refuses the command with `refusal`; always false.
    bool Refuse(const SenseTriple& refusal) {
      sense = refusal;
      return false;
    }
  };

  // ---- Command core (VirtualDrive.cpp) ---------------------------------------
  bool Dispatch(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  void UpdateTray();
  // The pile's disc `number` comes into the tray: fresh, as configured.
  void LoadPileDisc(int number);
  VirtualDiscView DiscView() const;
  void Trace(std::span<const std::uint8_t> cdb, ScsiDirection direction, std::size_t length,
             bool ok, const SenseTriple& sense);
  bool ModeSelect(std::span<const std::uint8_t> data, Answer& answer);
  bool Write12(std::span<const std::uint8_t> cdb, std::span<const std::uint8_t> data,
               Answer& answer);
  bool StartStop(std::span<const std::uint8_t> cdb, Answer& answer);

  // ---- Answers about the drive and its disc (VirtualDiscAnswers.cpp) --------
  // True when a disc with readable data faces the laser.
  bool HasData() const;
  std::uint32_t RecordedBlocks() const;
  // True with a disc in the tray; otherwise the answer says "no medium".
  bool HasMedium(Answer& answer) const;
  bool Inquiry(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool GetConfiguration(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                        Answer& answer);
  bool ReadDiscStructure(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                         Answer& answer);
  bool ReadDiscInformation(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data,
                           Answer& answer);
  bool ReadToc(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool ModeSense(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);
  bool Read12(std::span<const std::uint8_t> cdb, std::span<std::uint8_t> data, Answer& answer);

  std::mutex mutex_;
  VirtualDriveConfig config_;
  std::unique_ptr<IsoImage> image_;
  std::unique_ptr<VirtualBurnSide> burn_;
  int traceFd_ = -1;
  bool held_ = false;  // an exclusive transport exists
  Side facing_;
  Side other_;
  bool hasOther_ = false;
  bool trayEmpty_ = false;
  std::string discKey_;  // what the configured disc is, for the burn side
  int pileDisc_ = 1;
  bool removalPrevented_ = false;
  std::chrono::steady_clock::time_point reloadAt_{};
  ElsPageBytes page_{};
};

}  // namespace twr
