// Burn preparation: the ELS page, the speed entry, the required time, the
// quality steps, the start address and the blocks per write.
#include "burn/BurnJob.h"

#include "common/DecimalText.h"
#include "common/Messages.h"
#include "common/Truncate.h"
#include "drive/CELDevice.h"
#include "drive/DiscGeometry.h"

namespace twr {

namespace {

constexpr int kPageReadTries = 3;
constexpr double kMaxEntryRotation = 4500.0;
constexpr double kHalfSampleFactor = 441000.0;
constexpr double kMinHalfSamples = 98.0;       // one block of 196 samples per revolution
constexpr double kMaxHalfSamples = 1000000.0;  // real drives give about 4,400 to 44,100
constexpr double kBlocksPerRevolutionFactor = 4500.0;
constexpr double kQualityBandInner = 25.0;
constexpr double kQualityBandOuter = 58.0;
constexpr int kFirstQualityStep = 3;
constexpr int kLastQualityStep = 39;
constexpr double kDraftLimit = 7.0;
constexpr double kNormalLimit = 16.0;
constexpr double kHighLimit = 25.0;
constexpr double kMinBurnRadius = 22.0;
constexpr double kMaxBurnRadius = 59.0;
constexpr std::uint32_t kMaxBlocksPerWrite = 26;
// The last two blocks of the stream: the interleaver has no blocks after
// them to complete their data.
constexpr std::int32_t kIncompleteBlocks = 2;

// Minutes for `revolutions` at `rotation`: to 0.01, both operands unsigned 32-bit.
double MinutesFor(std::int32_t revolutions, double rotation) {
  const double minutes = static_cast<double>(static_cast<std::uint32_t>(revolutions)) /
                         static_cast<double>(TruncToUint32(rotation));
  return TruncToInt32(minutes * 100.0) * 0.01;
}

std::string ZeroDivisorDetail() {
  return "The feed divisor that the page selects (offset " + std::to_string(ElsPage::kOffDivisorA) +
         " or " + std::to_string(ElsPage::kOffDivisorB) +
         ") is 0. The drive's ELS page cannot be used for a burn.";
}

}  // namespace

void CountBurnBlocks(BurnParameters& p) {
  p.stepCount = p.steps > 0 ? p.totalRevolutions / p.steps : 0;
  p.blocksPerRevolution = p.halfSamples / kHalfSamplesPerBlock;
  const std::int64_t blocks =
      static_cast<std::int64_t>(p.stepCount) * p.blocksPerRevolution * p.steps;
  p.totalBlocks = p.blocksPerWrite > 0
                      ? static_cast<std::int32_t>((blocks / p.blocksPerWrite) * p.blocksPerWrite)
                      : 0;
}

std::int32_t BurnWrites(const BurnParameters& p) {
  return p.blocksPerWrite > 0 ? (p.totalBlocks - kIncompleteBlocks) / p.blocksPerWrite : 0;
}

BurnJob::BurnJob(CELDevice& device, Messages& messages) : device_(device), messages_(messages) {}

BurnJob::~BurnJob() {
  RequestAbort();
  JoinThreads();
}

void BurnJob::SetBand(double innerRadius, double outerRadius) {
  params_.innerRadius = innerRadius;
  params_.outerRadius = outerRadius;
}

void BurnJob::SetQuality(BurnQuality quality) {
  switch (quality) {
    case BurnQuality::Draft:
      params_.steps = params_.draftSteps;
      break;
    case BurnQuality::Normal:
      params_.steps = params_.normalSteps;
      break;
    case BurnQuality::High:
      params_.steps = params_.highSteps;
      break;
  }
}

bool BurnJob::ReadElsPage() {
  for (int i = 0; i < kPageReadTries; ++i) {
    if (device_.ReadModePage(ElsPage::kPageCode, page_.Data())) return true;
  }
  return false;
}

bool BurnJob::WriteElsPage() {
  return device_.WriteModePage(page_.Data()) != 0;
}

bool BurnJob::ChooseSpeedEntry() {
  ReadElsPage();  // on failure the buffer keeps what it held
  const int count = page_.EntryCount();
  for (int i = 0; i < count; ++i) {
    const std::size_t rotationAt = ElsPage::EntryOffset(i) + ElsPage::kEntryRotation;
    const std::size_t speedAt = ElsPage::EntryOffset(i) + ElsPage::kEntrySpeed;
    const unsigned rotationDen = page_.U16(rotationAt + ElsPage::kFractionDenominator);
    const unsigned speedDen = page_.U16(speedAt + ElsPage::kFractionDenominator);
    if (rotationDen == 0 || speedDen == 0) continue;
    const double rotation = static_cast<double>(page_.U16(rotationAt)) / rotationDen;
    if (rotation > kMaxEntryRotation) continue;
    const double speed = static_cast<double>(page_.U16(speedAt)) / speedDen;
    // An entry that gives less than one block or an absurd number of samples
    // per revolution (a drive answering garbage) is not usable either: its
    // sample count would overflow or ask for gigabytes of tables.
    const double halfSamples = speed * kHalfSampleFactor / rotation;
    if (!(halfSamples >= kMinHalfSamples && halfSamples <= kMaxHalfSamples)) continue;
    // The chosen rotation and speed become the current ones, as written.
    for (std::size_t b = 0; b < ElsPage::kFractionSize; ++b) {
      page_.SetU8(ElsPage::kOffCurrentRotation + b, page_.U8(rotationAt + b));
      page_.SetU8(ElsPage::kOffCurrentSpeed + b, page_.U8(speedAt + b));
    }
    page_.SetU8(ElsPage::kOffSelector,
                page_.U8(ElsPage::kOffSelector) & ElsPage::kSelectorClearMask);
    params_.rotation = rotation;
    params_.speed = speed;
    params_.halfSamples = TruncToInt32(speed * kHalfSampleFactor / rotation);
    params_.samples = 2 * params_.halfSamples;
    return true;
  }
  return false;
}

bool BurnJob::FeedStepFromPage(double& feedStep) {
  const unsigned den = page_.U16(ElsPage::kOffFeedStepDenominator);
  const double ratio =
      den == 0 ? 0.0 : static_cast<double>(page_.U16(ElsPage::kOffFeedStepNumerator)) / den;
  if (ratio == 0.0) {
    messages_.ShowString(kStrIllegalFeedStep, MessageIcon::Error);
    return false;
  }
  // The feed step is FeedStepLength over the selected divisor: a zero
  // divisor is as illegal as a zero length (it would make the step infinite
  // and the band look empty).
  const unsigned divisor = page_.FeedDivisor();
  if (divisor == 0) {
    messages_.ShowDetailed(StringText(kStrIllegalFeedStep), ZeroDivisorDetail(),
                           MessageIcon::Error);
    return false;
  }
  feedStep = ratio / divisor;
  return true;
}

bool BurnJob::ComputeRequiredTime() {
  if (!FeedStepFromPage(params_.feedStep)) return false;
  params_.advance = params_.feedStep / params_.steps;
  params_.totalRevolutions =
      TruncToInt32((params_.outerRadius - params_.innerRadius) / params_.advance * 1000.0);
  params_.requiredTime = MinutesFor(params_.totalRevolutions, params_.rotation);
  params_.timeText = MinutesText(params_.requiredTime);
  return true;
}

bool BurnJob::ChooseQualitySteps() {
  double feedStep = 0.0;
  if (!FeedStepFromPage(feedStep)) return false;
  for (int i = kFirstQualityStep; i <= kLastQualityStep; ++i) {
    const std::int32_t revolutions =
        TruncToInt32((kQualityBandOuter - kQualityBandInner) / (feedStep / i) * 1000.0);
    const double time = MinutesFor(revolutions, params_.rotation);
    if (time < kDraftLimit) {
      params_.draftSteps = i;
    } else if (time < kNormalLimit) {
      params_.normalSteps = i;
    } else if (time > kHighLimit) {
      params_.highSteps = i;
      break;
    }
  }
  return true;
}

double BurnJob::EstimateRequiredTime(double innerRadius, double outerRadius) {
  if (!ChooseSpeedEntry() || !ChooseQualitySteps()) return 0.0;
  params_.steps = params_.draftSteps;
  const double savedInner = params_.innerRadius;
  const double savedOuter = params_.outerRadius;
  params_.innerRadius = innerRadius;
  params_.outerRadius = outerRadius;
  ComputeRequiredTime();
  params_.innerRadius = savedInner;
  params_.outerRadius = savedOuter;
  return params_.requiredTime;
}

bool BurnJob::RadiusToAddress(double innerRadius, double outerRadius, std::int32_t& address,
                              std::string& message) {
  if (!(kMinBurnRadius <= innerRadius && innerRadius < outerRadius &&
        outerRadius <= kMaxBurnRadius)) {
    message = kInputRadiusError;
    return false;
  }
  address = AddressOfRadius(innerRadius);
  return true;
}

std::int32_t BurnJob::BlocksPerWrite(std::int32_t blocksPerRevolution) {
  // The most blocks one write may carry: the page's Bytpw, never above 26.
  std::uint32_t most = page_.U32(ElsPage::kOffBytpw);
  if (most == 0 || most > kMaxBlocksPerWrite) most = kMaxBlocksPerWrite;
  const auto limit = static_cast<std::int32_t>(most);
  if (blocksPerRevolution <= limit) {
    params_.writesPerRevolution = 1;
    return blocksPerRevolution;
  }
  // Otherwise the fewest writes that share a revolution's blocks evenly.
  std::int32_t writes = 2;
  while (!(blocksPerRevolution % writes == 0 && blocksPerRevolution / writes <= limit)) ++writes;
  params_.writesPerRevolution = writes;
  return blocksPerRevolution / writes;
}

bool BurnJob::PrepareBurn() {
  pageArmed_ = false;
  device_.TestUnitReady();
  device_.TestUnitReady();
  if (!device_.TestUnitReady()) return false;
  if (!ChooseSpeedEntry()) return false;
  if (!ComputeRequiredTime()) return false;
  page_.SetU16(ElsPage::kOffStepsPerFeed, static_cast<unsigned>(params_.steps));
  page_.SetU8(ElsPage::kOffLabelWriting, ElsPage::kLabelWritingOn);
  WriteElsPage();
  pageArmed_ = true;
  std::string message;
  if (!RadiusToAddress(params_.innerRadius, params_.outerRadius, params_.startAddress, message)) {
    messages_.Show(message, MessageIcon::Error);
    return false;
  }
  params_.blocksPerWrite =
      BlocksPerWrite(TruncToInt32(params_.speed / params_.rotation * kBlocksPerRevolutionFactor));
  params_.toneGamma = ToneGamma(params_.advance);
  return true;
}

}  // namespace twr
