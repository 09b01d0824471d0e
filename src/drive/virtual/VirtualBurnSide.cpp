// The virtual drive's burn side: accepts a burn's writes only while the
// label-writing flag is set and only where a burn may write, injects faults,
// paces itself, captures the stream and draws what it etched.
#include "drive/virtual/VirtualBurnSide.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "common/ProfileFile.h"
#include "drive/ByteOrder.h"
#include "drive/DiscGeometry.h"
#include "drive/DyeResponse.h"
#include "drive/ElsPageLayout.h"
#include "drive/virtual/EtchedMarksFile.h"
#include "drive/virtual/EtchedStream.h"
#include "drive/virtual/VirtualBurnFaults.h"
#include "drive/virtual/VirtualBurnPng.h"

namespace twr {

namespace {

// The virtual drive reads the ELS page it is sent and the blocks of a burn
// in its own words (its own half-sample factor, block size and blocks per
// revolution, as EtchedStream has its own de-interleaving and counting of
// marks) rather than through the burn's code, so that a test of a burn
// checks the burn against a second reading, not against itself. The field
// offsets and the disc's geometry are the drive layer's shared ones.
constexpr std::size_t kBlockBytes = 2448;
// Half the samples of a circle: speed x this factor / rotation.
constexpr double kHalfSampleFactor = 441000.0;
// Each block carries 196 samples: a revolution takes half the samples of a
// circle over 98 blocks.
constexpr int kHalfSamplesPerBlock = 98;
constexpr double kBlocksPerSecondPerSpeed = 75.0;
constexpr double kMicrometresPerMillimetre = 1000.0;
constexpr std::int64_t kDriveBufferBlocks = 856;  // about 2 MiB
constexpr std::uint32_t kDefaultBytpw = 26;
// Half sample counts beyond this are a page no drive would send.
constexpr double kMostHalfSamples = 1e7;

using Layout = ElsPageLayout;

// A numerator/denominator field of the page; 0 with a zero denominator.
double Fraction(std::span<const std::uint8_t> page, std::size_t at) {
  const unsigned denominator = GetBe16(&page[at + Layout::kFractionDenominator]);
  return denominator ? static_cast<double>(GetBe16(&page[at])) / denominator : 0;
}

bool IsDataSide(const std::string& side) {
  return side == "dvd-r" || side == "dvd+r";
}

}  // namespace

struct VirtualBurnSide::State {
  std::mutex mutex;
  std::vector<VirtualBurnFault> faults;
  bool decoding = false;
  DyeResponse response;  // the etched picture is drawn through it
  bool gone = false;
  bool notReady = false;

  // From the last page written.
  bool labelWriting = false;
  EtchedBurnGeometry geometry;
  double speed = 0.0;
  std::uint32_t bytpw = kDefaultBytpw;

  // The burn in progress.
  bool started = false;
  std::int64_t start = 0;
  std::uint32_t blocksPerWrite = 0;
  std::int64_t acceptedEnd = 0;
  std::map<std::int64_t, int> attempts;
  std::unique_ptr<EtchedBurn> etching;
  std::string side;
  int captureFd = -1;
  bool captureTried = false;

  // Pacing.
  bool clockRunning = false;
  std::chrono::steady_clock::time_point clockStart;
  std::int64_t paced = 0;
  // Time this drive spent on its own work (capturing, decoding the marks
  // for its picture) while the laser clock ran: a real drive takes a
  // write's blocks into its buffer at once, so none of it is the host's.
  std::chrono::steady_clock::duration ownWork{};

  std::map<std::string, EtchedSurface> surfaces;
  bool marksSaved = false;  // this object wrote the marks file
  // A disc fresh from a pile: marks an earlier run left for its picture
  // are not its own, until this run has kept some.
  bool freshDisc = false;
  std::vector<WriteRecord> trace;
  int pictures = 0;

  ~State() { CloseCapture(); }

  // The write `offset` blocks from the start is burned on a circle inside
  // the recorded data of a DVD±R: its feed step is its first block's number
  // over the blocks of a step (blocks per revolution times the revolutions
  // of a step).
  bool IntoRecordedData(std::int64_t offset, const VirtualDiscView& disc) const {
    if (!IsDataSide(disc.side) || disc.recordedBlocks == 0) return false;
    const std::int64_t perStep =
        static_cast<std::int64_t>(std::max(geometry.halfSamples / kHalfSamplesPerBlock, 1)) *
        std::max(geometry.passes, 1);
    const std::int64_t step = (offset - blocksPerWrite) / perStep;  // whole steps
    const double radius = geometry.innerRadiusMm + static_cast<double>(step) * geometry.feedStepUm /
                                                       kMicrometresPerMillimetre;
    return radius < RecordedRadiusMm(disc.recordedBlocks);
  }

  // The refusal an injected fault gives write `number` (a vanished drive
  // answers nothing: no sense); false when the write goes through.
  bool FaultRefuses(std::int64_t number, SenseTriple& answer) {
    // Attempts are counted only for faults that look at them (no map node
    // per write otherwise).
    const int attempt = faults.empty() ? 1 : ++attempts[number];
    for (const VirtualBurnFault& f : faults) {
      if (f.write != number) continue;
      switch (f.kind) {
        case VirtualBurnFault::Gone:
          gone = true;
          answer = {};
          return true;
        case VirtualBurnFault::Error:
          if (attempt == 1) {
            answer = {f.key, f.asc, f.ascq};
            return true;
          }
          break;
        case VirtualBurnFault::Busy:
          if (f.endless || attempt <= f.times) {
            answer = kSenseLongWriteInProgress;
            return true;
          }
          break;
        case VirtualBurnFault::Streaming:
          if (attempt == 1) {
            clockRunning = false;
            answer = kSenseLossOfStreaming;
            return true;
          }
          break;
        case VirtualBurnFault::NotReady:
          break;
      }
    }
    return false;
  }

  // The laser takes blocks at pace x the real rate from a 2 MiB buffer: a
  // host that lets it run dry loses streaming (false), one that runs ahead
  // waits, without the lock, for room.
  bool Pace(const VirtualBurnConfig& config, std::unique_lock<std::mutex>& lock,
            std::uint32_t blocks) {
    if (config.pace <= 0 || speed <= 0) return true;
    const double rate = config.pace * speed * kBlocksPerSecondPerSpeed;
    const auto now = config.clock ? config.clock() : std::chrono::steady_clock::now();
    if (!clockRunning) {
      clockRunning = true;
      clockStart = now;
      paced = 0;
      ownWork = {};
    }
    // An injected clock is the whole truth of a test; the steady clock
    // leaves out the time this simulation spent on its own work.
    const auto played = (now - clockStart) - (config.clock ? decltype(ownWork){} : ownWork);
    const double consumed = std::chrono::duration<double>(played).count() * rate;
    if (paced > 0 && consumed > static_cast<double>(paced)) {
      clockRunning = false;
      return false;
    }
    const double room = static_cast<double>(kDriveBufferBlocks) - (paced - consumed);
    if (room < blocks) {
      const double wait = (blocks - room) / rate;
      lock.unlock();
      std::this_thread::sleep_for(std::chrono::duration<double>(wait));
      lock.lock();
    }
    paced += blocks;
    return true;
  }

  void CloseCapture() {
    if (captureFd >= 0) ::close(captureFd);
    captureFd = -1;
    captureTried = false;
  }

  // Appends a write's payload to the capture file, which is opened at the
  // first write of a burn. A capture that cannot be written is said once
  // and dropped for the rest of the burn.
  void Capture(const VirtualBurnConfig& config, std::span<const std::uint8_t> data) {
    if (config.capturePath.empty()) return;
    std::string why;
    if (!captureTried) {
      captureTried = true;
      captureFd = OpenVirtualOutput(config.capturePath, why);
      if (captureFd < 0) {
        WarnVirtualDrive(config.warn, "cannot write the capture file: " + why +
                                          "; this burn's writes are not captured");
        return;
      }
    }
    if (captureFd < 0 || WriteAll(captureFd, data, why)) return;
    WarnVirtualDrive(config.warn, "cannot write the capture file '" + config.capturePath +
                                      "': " + why + "; the rest of this burn is not captured");
    ::close(captureFd);
    captureFd = -1;
  }

  // Brings the disc's marks up to date before a burn's marks join them:
  // another run may have burned the same disc since, or the disc changed.
  void LoadMarks(const VirtualBurnConfig& config) {
    if (!config.keepMarks) {
      surfaces.clear();
      return;
    }
    if (config.etchedPath.empty() || freshDisc) return;  // kept in memory only
    std::map<std::string, EtchedSurface> loaded;
    std::string why;
    switch (LoadEtchedMarks(EtchedMarksPath(config.etchedPath), config.discKey, loaded, why)) {
      case MarksLoad::Loaded:
        surfaces = std::move(loaded);
        break;
      case MarksLoad::OtherDisc:
        surfaces.clear();
        break;
      case MarksLoad::Missing:
        // Removed since this drive wrote it: the marks were cleared on purpose.
        if (marksSaved) surfaces.clear();
        break;
      case MarksLoad::Damaged:
        WarnVirtualDrive(config.warn, "cannot read the marks of earlier burns: " + why +
                                          "; they are not added to this burn");
        break;
    }
  }

  void SaveMarks(const VirtualBurnConfig& config) {
    if (config.etchedPath.empty()) return;
    const std::string path = EtchedMarksPath(config.etchedPath);
    if (!config.keepMarks) {
      ::unlink(path.c_str());  // an earlier run's marks must not come back later
      return;
    }
    std::string why;
    marksSaved = SaveEtchedMarks(path, config.discKey, surfaces, why);
    if (marksSaved) freshDisc = false;
    if (!marksSaved)
      WarnVirtualDrive(config.warn, "cannot keep the marks of this burn: " + why +
                                        "; the next run starts on an unmarked disc");
  }

  // Ends the burn in progress: its marks join the side's surface and the
  // picture is written.
  void EndBurn(const VirtualBurnConfig& config, double recordedRadius) {
    CloseCapture();
    clockRunning = false;
    if (etching && !etching->Empty()) {
      std::vector<float> burned = etching->Finish();
      response.Apply(burned);
      LoadMarks(config);
      EtchedSurface& surface = surfaces[side];
      surface.Merge(burned);
      SaveMarks(config);
      std::string why;
      if (!config.etchedPath.empty()) {
        if (WriteRgbPng(config.etchedPath, kEtchedPictureSize, kEtchedPictureSize,
                        surface.RenderRgb(IsDataSide(side), recordedRadius), &why))
          ++pictures;
        else
          WarnVirtualDrive(config.warn, "cannot write the etched picture: " + why);
      }
    }
    etching.reset();
    started = false;
    attempts.clear();
  }
};

VirtualBurnConfig VirtualBurnConfig::FromProfile(const ProfileFile& profile,
                                                 const std::string& section) {
  VirtualBurnConfig c;
  c.etchedPath = profile.GetRaw(section, "Etched");
  c.capturePath = profile.GetRaw(section, "Capture");
  c.faults = profile.GetRaw(section, "Faults");
  c.pace = profile.GetInt(section, "Pace", 0);
  c.keepMarks = profile.GetInt(section, "KeepMarks", 1) != 0;
  c.response = profile.GetRaw(section, "Response");
  return c;
}

VirtualBurnSide::VirtualBurnSide(VirtualBurnConfig config)
    : config_(std::move(config)), state_(new State) {
  state_->faults = ParseVirtualBurnFaults(config_.faults);
  state_->decoding = !config_.etchedPath.empty();
  if (!DyeResponse::Parse(config_.response, state_->response))
    WarnVirtualDrive(config_.warn, "the dye response '" + config_.response +
                                       "' is neither a gamma nor dose:darkness points in "
                                       "percent; the etched picture is drawn without it");
}

VirtualBurnSide::~VirtualBurnSide() {
  delete state_;
}

void VirtualBurnSide::PageWritten(std::span<const std::uint8_t> page, const VirtualDiscView& disc) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (page.size() < Layout::kSize) return;
  const bool writing = page[Layout::kOffLabelWriting] == Layout::kLabelWritingOn;
  if (s.started) s.EndBurn(config_, RecordedRadiusMm(disc.recordedBlocks));
  s.labelWriting = writing;
  if (!writing) return;

  // A new burn: its geometry comes from the page as written.
  const double rotation = Fraction(page, Layout::kOffCurrentRotation);
  s.speed = Fraction(page, Layout::kOffCurrentSpeed);
  const double half = rotation > 0 ? s.speed * kHalfSampleFactor / rotation : 0;
  s.geometry.halfSamples = half > 0 && half < kMostHalfSamples ? static_cast<int>(half) : 0;
  s.geometry.passes = static_cast<int>(GetBe16(&page[Layout::kOffStepsPerFeed]));
  const unsigned divisor = (page[Layout::kOffSelector] & Layout::kSelectorDivisorMask) == 0
                               ? GetBe16(&page[Layout::kOffDivisorA])
                               : GetBe16(&page[Layout::kOffDivisorB]);
  const unsigned feedDen = GetBe16(&page[Layout::kOffFeedStepDenominator]);
  s.geometry.feedStepUm =
      feedDen && divisor
          ? static_cast<double>(GetBe16(&page[Layout::kOffFeedStepNumerator])) / feedDen / divisor
          : 0.0;
  s.bytpw = GetBe32(&page[Layout::kOffBytpw]);
  if (s.bytpw == 0) s.bytpw = kDefaultBytpw;
  s.side = disc.side;
  s.notReady = false;
}

bool VirtualBurnSide::Write(std::uint32_t lba, std::uint32_t blocks,
                            std::span<const std::uint8_t> data, const VirtualDiscView& disc,
                            SenseTriple& sense) {
  State& s = *state_;
  std::unique_lock<std::mutex> lock(s.mutex);
  WriteRecord record;
  record.lba = lba;
  record.blocks = blocks;
  auto refuse = [&](const SenseTriple& answer) {
    sense = answer;
    record.sense = answer;
    s.trace.push_back(record);
    return false;
  };
  if (s.gone) return refuse({});

  // The drive's own work on this write is timed so that pacing leaves it out.
  const auto workStart = std::chrono::steady_clock::now();
  s.Capture(config_, data);
  s.ownWork += std::chrono::steady_clock::now() - workStart;
  if (!s.labelWriting) return refuse(kSenseSequenceError);
  if (blocks == 0 || blocks > s.bytpw || data.size() != blocks * kBlockBytes)
    return refuse(kSenseInvalidFieldInCdb);

  if (!s.started) {
    // The first write of a burn goes to its start address + one write.
    s.started = true;
    s.start = static_cast<std::int64_t>(lba) - blocks;
    s.blocksPerWrite = blocks;
    s.acceptedEnd = lba;
    s.geometry.innerRadiusMm = RadiusOfAddress(s.start);
    if (s.decoding) s.etching = std::make_unique<EtchedBurn>(s.geometry);
  }
  const std::int64_t offset = static_cast<std::int64_t>(lba) - s.start;
  if (blocks != s.blocksPerWrite || offset % s.blocksPerWrite != 0 ||
      static_cast<std::int64_t>(lba) < s.acceptedEnd)
    return refuse(kSenseLbaOutOfRange);
  const std::int64_t number = offset / s.blocksPerWrite;
  record.number = number;

  // Never into the recorded data of a DVD±R.
  if (s.IntoRecordedData(offset, disc)) return refuse(kSenseLbaOutOfRange);
  SenseTriple fault;
  if (s.FaultRefuses(number, fault)) return refuse(fault);
  if (!s.Pace(config_, lock, blocks)) return refuse(kSenseLossOfStreaming);

  s.acceptedEnd = static_cast<std::int64_t>(lba) + blocks;
  if (s.etching) {
    const auto decodeStart = std::chrono::steady_clock::now();
    for (std::uint32_t i = 0; i < blocks; ++i)
      s.etching->AddOutputBlock(offset - s.blocksPerWrite + i, data.data() + i * kBlockBytes);
    s.ownWork += std::chrono::steady_clock::now() - decodeStart;
  }
  record.accepted = true;
  s.trace.push_back(record);
  return true;
}

bool VirtualBurnSide::SynchronizeCache(const VirtualDiscView& disc, SenseTriple&) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.started) s.EndBurn(config_, RecordedRadiusMm(disc.recordedBlocks));
  for (const VirtualBurnFault& f : s.faults)
    if (f.kind == VirtualBurnFault::NotReady) s.notReady = true;
  return true;
}

bool VirtualBurnSide::UnitReady(SenseTriple& sense) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.gone) return false;
  if (s.notReady) {
    sense = kSenseBecomingReady;
    return false;
  }
  return true;
}

bool VirtualBurnSide::Gone() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->gone;
}

void VirtualBurnSide::DiscChanged() {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.started) s.EndBurn(config_, 0.0);
  s.labelWriting = false;
  s.notReady = false;
}

void VirtualBurnSide::NewDisc(const std::string& discKey, const std::string& etchedPath) {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.started) s.EndBurn(config_, 0.0);
  s.labelWriting = false;
  s.notReady = false;
  s.surfaces.clear();
  s.marksSaved = false;
  s.freshDisc = true;
  config_.discKey = discKey;
  config_.etchedPath = etchedPath;
}

std::vector<VirtualBurnSide::WriteRecord> VirtualBurnSide::Trace() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->trace;
}

void VirtualBurnSide::SetDecoding(bool on) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->decoding = on;
}

std::vector<float> VirtualBurnSide::SurfaceDarkness(const std::string& side) const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  auto it = state_->surfaces.find(side);
  return it == state_->surfaces.end() ? std::vector<float>() : it->second.Darkness();
}

int VirtualBurnSide::PicturesWritten() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->pictures;
}

}  // namespace twr
