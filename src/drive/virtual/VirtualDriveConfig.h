// The virtual drive's settings: the [VirtualDrive] section of the settings
// file (disc, image, outputs, faults, timing) and the ELS page it reports.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drive/ElsPageLayout.h"
#include "drive/virtual/VirtualBurnSide.h"
#include "drive/virtual/VirtualDriveFiles.h"

namespace twr {

class ProfileFile;

inline constexpr const char* kVirtualDriveSection = "VirtualDrive";

// One rotation/speed pair of the ELS page, each as numerator/denominator.
struct ElsSpeedEntry {
  std::uint16_t rotationNum = 0, rotationDen = 1;
  std::uint16_t speedNum = 0, speedDen = 1;
};

// The example page: selector 0x0F, seven entries, Bytpw 214, divisors 8 and
// 8, FeedStepLength 95/1, speeds (9000, 36) (7875, 47.25) (6750, 36)
// (4500, 45) (2250, 45) (1125, 36) (225, 22.5).
ElsPageBytes ExampleElsPage();
// Puts the speed entries into a page (at most seven; the count byte too).
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
  // Whether the data side counts as mounted: its listing comes from the
  // image's file system as a mount's would; false: only the drive's own
  // blocks (READ(12)) can list it, as for a disc the desktop left alone.
  bool mounted = true;
  // A pile of discs (key Discs): 0, the one disc comes back after each
  // eject (turned over when it has another side); N, each eject takes the
  // disc away and after the reload delay the next fresh disc of the pile,
  // as Disc/Status/Flip say, is loaded, N discs in all, then the tray stays
  // empty. Disc k (from 1) leaves its etched picture in
  // VirtualPileEtchedPath(Etched, k). At most kMaxVirtualPile.
  int discs = 0;
  std::string tracePath;
  int latencyMs = 0;  // added to every command (a slow drive); 0 to 10000
  // The lock file that keeps a second burn out, also one in another
  // process; empty: only within this drive object.
  std::string lockPath;
  // Where warnings about files it cannot use go; empty: stderr.
  VirtualDriveWarning warn;
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
  // "complete". ReloadDelay is held between 0 and 3600 seconds, Latency
  // (milliseconds) between 0 and 10000, Discs between 0 and kMaxVirtualPile.
  static VirtualDriveConfig FromProfile(const ProfileFile& profile,
                                        const std::string& section = kVirtualDriveSection);
  // Puts values given directly into the ranges and spellings the settings
  // allow (lower-case kinds, an unknown kind "unknown", held delays).
  void Normalize();
};

inline constexpr int kMaxVirtualPile = 10000;

// The etched picture of disc `disc` (from 1) of a pile: the Etched path
// itself for the first, "-2", "-3", ... before its extension for the next
// ("etched.png", "etched-2.png", ...). Empty for an empty path.
std::string VirtualPileEtchedPath(const std::string& etched, int disc);

// Whether the virtual drive knows a disc kind of this (lower-case) name.
bool IsVirtualDiscKind(const std::string& kind);

// "47.25" -> 189/4; false when it is no number or does not fit 16 bits.
bool ParseElsFraction(const std::string& text, std::uint16_t& num, std::uint16_t& den);

}  // namespace twr
