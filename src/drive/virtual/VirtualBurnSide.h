// The burn side of the virtual drive: what it does with the ELS page written
// to it, with WRITE(12) blocks and with SYNCHRONIZE CACHE, its injected
// faults and pacing, and the etched-disc picture it draws from what a burn
// sent. The virtual drive forwards those commands here.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "drive/virtual/VirtualDriveFiles.h"
#include "drive/virtual/VirtualSense.h"

namespace twr {

class ProfileFile;

// Settings of the burn side ([VirtualDrive] keys Etched, Capture, Pace,
// Faults, KeepMarks, Response).
struct VirtualBurnConfig {
  std::string etchedPath;   // picture of the disc, written at the end of each burn
  std::string capturePath;  // every WRITE(12) payload appended as sent
  double pace = 0.0;        // multiple of the real data rate; 0 = as fast as possible
  std::string faults;       // "busy:N:K,streaming:N,error:N:KK/AA/QQ,notready,gone:N"
  // With an Etched picture, the marks of every burn are kept beside it
  // (EtchedMarksPath) and each burn adds to them, also across runs, while
  // the disc stays the same (`discKey`). False: every burn starts on an
  // unmarked disc.
  bool keepMarks = true;
  std::string discKey;  // names the disc in the tray; a new key is a new disc
  // The dye's response (DyeResponse::Parse) the etched picture is drawn
  // through; empty: darkness is the share of dots. A text it cannot read
  // is warned about and the straight response taken.
  std::string response;
  // The pacing clock; empty: the steady clock. Tests set their own to make
  // a host that falls behind without waiting for it.
  std::function<std::chrono::steady_clock::time_point()> clock;
  // Where warnings about files it cannot use go; empty: stderr.
  VirtualDriveWarning warn;

  static VirtualBurnConfig FromProfile(const ProfileFile& profile, const std::string& section);
};

// What the burn side needs to know of the disc in the tray.
struct VirtualDiscView {
  std::string side;                  // "label", "dvd-r", "dvd+r", ... or "none"
  std::uint32_t recordedBlocks = 0;  // blocks of recorded data (complete DVD±R)
};

class VirtualBurnSide {
 public:
  explicit VirtualBurnSide(VirtualBurnConfig config);
  ~VirtualBurnSide();
  VirtualBurnSide(const VirtualBurnSide&) = delete;
  VirtualBurnSide& operator=(const VirtualBurnSide&) = delete;

  // MODE SELECT(10) of the ELS page: the parameter list as sent.
  void PageWritten(std::span<const std::uint8_t> page, const VirtualDiscView& disc);
  // WRITE(12). True when accepted; false with the sense to report.
  bool Write(std::uint32_t lba, std::uint32_t blocks, std::span<const std::uint8_t> data,
             const VirtualDiscView& disc, SenseTriple& sense);
  // SYNCHRONIZE CACHE. True when accepted.
  bool SynchronizeCache(const VirtualDiscView& disc, SenseTriple& sense);
  // TEST UNIT READY: false with sense while an injected fault keeps the
  // drive from becoming ready.
  bool UnitReady(SenseTriple& sense);
  // True once the device has vanished: every later command fails.
  bool Gone() const;
  // The disc was ejected or turned over: a burn in progress is over.
  void DiscChanged();
  // A fresh, unmarked disc (the next of a pile) is in the tray: it is
  // `discKey` and its etched picture goes to `etchedPath` (its marks beside
  // it). Marks an earlier run left there are not taken.
  void NewDisc(const std::string& discKey, const std::string& etchedPath);

  // ---- Inspection (tests, benchmarks) ----------------------------------------
  // One WRITE(12) as it arrived: its address, block count, the burn's write
  // number (0 when it could not be placed) and the answer.
  struct WriteRecord {
    std::uint32_t lba = 0;
    std::uint32_t blocks = 0;
    std::int64_t number = 0;
    bool accepted = false;
    SenseTriple sense;
  };
  std::vector<WriteRecord> Trace() const;
  // Decoding into the etched surface is on when an Etched picture is set;
  // tests turn it on without one, benchmarks may turn it off.
  void SetDecoding(bool on);
  // Accumulated darkness (kEtchedPictureSize squared, row by row) of a side
  // ("label", "dvd-r", ...); empty when nothing was burned there.
  std::vector<float> SurfaceDarkness(const std::string& side) const;
  // Etched pictures written so far.
  int PicturesWritten() const;

 private:
  struct State;
  VirtualBurnConfig config_;
  State* state_;
};

}  // namespace twr
