// The burn plan: speed entry, feed step, quality steps, required time,
// start address, blocks per write, tone gamma and the blocks of the burn.
#include "burn/BurnPlan.h"

#include <algorithm>

#include "burn/DotEncoder.h"
#include "common/DecimalText.h"
#include "common/Strings.h"
#include "common/Translate.h"
#include "common/Truncate.h"

namespace twr {

namespace {

constexpr double kMaxEntryRotation = 4500.0;
constexpr double kHalfSampleFactor = 441000.0;
constexpr double kMinHalfSamples = 98.0;       // one block of 196 samples per revolution
constexpr double kMaxHalfSamples = 1000000.0;  // real drives give about 4,400 to 44,100
constexpr double kBlocksPerRevolutionFactor = 4500.0;
constexpr int kFirstQualityStep = 3;
constexpr int kLastQualityStep = 39;
constexpr double kDraftLimit = 7.0;
constexpr double kNormalLimit = 16.0;
constexpr double kHighLimit = 25.0;
constexpr double kMinBurnRadius = 22.0;
constexpr double kMaxBurnRadius = 59.0;
constexpr std::uint32_t kMaxBlocksPerWrite = 26;
constexpr double kMicrometresPerMillimetre = 1000.0;
// The last two blocks of the stream: the interleaver has no blocks after
// them to complete their data.
constexpr std::int32_t kIncompleteBlocks = 2;

// Minutes for `revolutions` at `rotation`: to 0.01, both operands unsigned 32-bit.
double MinutesFor(std::int32_t revolutions, double rotation) {
  const double minutes = static_cast<double>(static_cast<std::uint32_t>(revolutions)) /
                         static_cast<double>(TruncToUint32(rotation));
  return TruncToInt32(minutes * 100.0) * 0.01;
}

// Revolutions that cover the band at `advance` um per revolution.
std::int32_t RevolutionsFor(double inner, double outer, double advance) {
  return TruncToInt32((outer - inner) / advance * kMicrometresPerMillimetre);
}

// The first entry whose rotation is at most 4500 rpm and whose samples per
// revolution are sane (a drive answering garbage could otherwise ask for
// gigabytes of tables); index -1 when there is none.
SpeedEntry ChooseSpeedEntry(const ElsPage& page) {
  for (int i = 0; i < page.EntryCount(); ++i) {
    const std::size_t rotationAt = ElsPage::EntryOffset(i) + ElsPage::kEntryRotation;
    const std::size_t speedAt = ElsPage::EntryOffset(i) + ElsPage::kEntrySpeed;
    const unsigned rotationDen = page.U16(rotationAt + ElsPage::kFractionDenominator);
    const unsigned speedDen = page.U16(speedAt + ElsPage::kFractionDenominator);
    if (rotationDen == 0 || speedDen == 0) continue;
    const double rotation = static_cast<double>(page.U16(rotationAt)) / rotationDen;
    if (rotation > kMaxEntryRotation) continue;
    const double speed = static_cast<double>(page.U16(speedAt)) / speedDen;
    const double halfSamples = speed * kHalfSampleFactor / rotation;
    if (!(halfSamples >= kMinHalfSamples && halfSamples <= kMaxHalfSamples)) continue;
    SpeedEntry entry;
    entry.index = i;
    entry.rotation = rotation;
    entry.speed = speed;
    entry.halfSamples = TruncToInt32(speed * kHalfSampleFactor / rotation);
    entry.samples = 2 * entry.halfSamples;
    return entry;
  }
  return {};
}

// FeedStepLength over the selected divisor; a zero length or divisor is an
// illegal page (a zero divisor would make the step infinite and the band
// look empty).
bool FeedStepOf(const ElsPage& page, double& feedStep, PlanCheck& failed) {
  const unsigned den = page.U16(ElsPage::kOffFeedStepDenominator);
  const double ratio =
      den == 0 ? 0.0 : static_cast<double>(page.U16(ElsPage::kOffFeedStepNumerator)) / den;
  if (ratio == 0.0) {
    failed = PlanCheck::FeedStepLength;
    return false;
  }
  const unsigned divisor = page.FeedDivisor();
  if (divisor == 0) {
    failed = PlanCheck::FeedDivisor;
    return false;
  }
  feedStep = ratio / divisor;
  return true;
}

// Draft is the most revolutions per circle whose 25 - 58 mm band takes
// under 7 minutes, Normal the most under 16, High Quality the first over 25;
// a quality keeps its default when none fits.
std::array<std::int32_t, kQualityCount> QualityStepsFor(double feedStep, double rotation) {
  std::array<std::int32_t, kQualityCount> steps = BurnPlan{}.qualitySteps;
  for (int i = kFirstQualityStep; i <= kLastQualityStep; ++i) {
    const double time =
        MinutesFor(RevolutionsFor(kBandInnerLimitMm, kBandOuterLimitMm, feedStep / i), rotation);
    if (time < kDraftLimit) {
      steps[0] = i;
    } else if (time < kNormalLimit) {
      steps[1] = i;
    } else if (time > kHighLimit) {
      steps[2] = i;
      break;
    }
  }
  return steps;
}

// Blocks per WRITE(12) for `perRevolution` blocks a revolution: all of them
// when the page's Bytpw (at most 26) allows, else the fewest writes that
// share them evenly.
void ShareRevolution(const ElsPage& page, std::int32_t perRevolution, BurnPlan& plan) {
  std::uint32_t most = page.U32(ElsPage::kOffBytpw);
  if (most == 0 || most > kMaxBlocksPerWrite) most = kMaxBlocksPerWrite;
  const auto limit = static_cast<std::int32_t>(most);
  std::int32_t writes = 1;
  if (perRevolution > limit) {
    writes = 2;
    while (!(perRevolution % writes == 0 && perRevolution / writes <= limit)) ++writes;
  }
  plan.writesPerRevolution = writes;
  plan.blocksPerWrite = perRevolution / writes;
}

// The circles, blocks and writes of the burn: whole circles of `steps`
// revolutions, cut to whole writes, less the two blocks the interleaver
// cannot complete.
void CountBlocks(BurnPlan& p) {
  p.stepCount = p.steps > 0 ? p.totalRevolutions / p.steps : 0;
  p.blocksPerRevolution = p.entry.halfSamples / kHalfSamplesPerBlock;
  const std::int64_t blocks =
      static_cast<std::int64_t>(p.stepCount) * p.blocksPerRevolution * p.steps;
  p.totalBlocks = p.blocksPerWrite > 0
                      ? static_cast<std::int32_t>((blocks / p.blocksPerWrite) * p.blocksPerWrite)
                      : 0;
  p.writes = p.blocksPerWrite > 0 ? (p.totalBlocks - kIncompleteBlocks) / p.blocksPerWrite : 0;
}

}  // namespace

BurnPlan PlanBurn(const ElsPage& page, const BurnTarget& target) {
  BurnPlan p;
  p.band = {BandInnerOn(target.disc, target.band.inner), target.band.outer};
  p.quality = target.quality;
  p.dataSide = target.disc.dataSide;
  const auto q = static_cast<std::size_t>(target.quality);
  const std::int32_t givenSteps = target.steps;
  p.steps = givenSteps > 0 ? givenSteps : p.qualitySteps[q];
  p.entry = ChooseSpeedEntry(page);
  if (p.entry.index < 0) {
    p.failures.push_back({PlanCheck::NoSpeedEntry, 0});
    return p;
  }
  PlanCheck failed = PlanCheck::FeedStepLength;
  if (!FeedStepOf(page, p.feedStep, failed)) {
    p.failures.push_back({failed, kStrIllegalFeedStep});
    return p;
  }
  const double rotation = p.entry.rotation;
  p.qualitySteps = QualityStepsFor(p.feedStep, rotation);
  for (std::size_t i = 0; i < p.qualityTimes.size(); ++i)
    p.qualityTimes[i] = MinutesFor(
        RevolutionsFor(p.band.inner, p.band.outer, p.feedStep / p.qualitySteps[i]), rotation);

  p.steps = givenSteps > 0 ? givenSteps : p.qualitySteps[q];
  p.advance = p.feedStep / p.steps;
  p.totalRevolutions = RevolutionsFor(p.band.inner, p.band.outer, p.advance);
  p.requiredTime = MinutesFor(p.totalRevolutions, rotation);
  p.timeText = MinutesText(p.requiredTime);

  if (kMinBurnRadius <= p.band.inner && p.band.inner < p.band.outer &&
      p.band.outer <= kMaxBurnRadius)
    p.startAddress = AddressOfRadius(p.band.inner);
  else
    p.failures.push_back({PlanCheck::BandRadius, 0});
  ShareRevolution(page, TruncToInt32(p.entry.speed / rotation * kBlocksPerRevolutionFactor), p);
  p.toneGamma = ToneGamma(p.advance);
  CountBlocks(p);
  if (p.writes <= 0) p.failures.push_back({PlanCheck::BandTooNarrow, 0});
  return p;
}

std::string PlanFailureText(const PlanFailure& failure) {
  switch (failure.check) {
    case PlanCheck::NoSpeedEntry:
      return {};
    case PlanCheck::FeedStepLength:
    case PlanCheck::FeedDivisor:
      return StringText(failure.messageId);
    case PlanCheck::BandRadius:
      return Tr("Strings", kInputRadiusError);
    case PlanCheck::BandTooNarrow:
      return Tr("BurnPlan", kBandTooNarrow);
  }
  return {};
}

std::string PlanFailureDetail(const PlanFailure& failure) {
  if (failure.check != PlanCheck::FeedDivisor) return {};
  return Arg(Tr("BurnPlan",
                "The feed divisor that the page selects (offset %1 or %2) is 0. The drive's ELS "
                "page cannot be used for a burn."),
             {std::to_string(ElsPage::kOffDivisorA), std::to_string(ElsPage::kOffDivisorB)});
}

bool BurnPlan::Fails(PlanCheck check) const {
  return std::any_of(failures.begin(), failures.end(),
                     [check](const PlanFailure& f) { return f.check == check; });
}

bool BurnPlan::Startable() const {
  return std::all_of(failures.begin(), failures.end(),
                     [](const PlanFailure& f) { return f.check == PlanCheck::BandTooNarrow; });
}

const PlanFailure* BurnPlan::PageFailure() const {
  for (const PlanFailure& f : failures)
    if (f.check == PlanCheck::FeedStepLength || f.check == PlanCheck::FeedDivisor) return &f;
  return nullptr;
}

ElsPage BurnPlan::ArmedPage(const ElsPage& read) const {
  ElsPage page = read;
  if (entry.index >= 0) {
    const std::size_t rotationAt = ElsPage::EntryOffset(entry.index) + ElsPage::kEntryRotation;
    const std::size_t speedAt = ElsPage::EntryOffset(entry.index) + ElsPage::kEntrySpeed;
    for (std::size_t b = 0; b < ElsPage::kFractionSize; ++b) {
      page.SetU8(ElsPage::kOffCurrentRotation + b, read.U8(rotationAt + b));
      page.SetU8(ElsPage::kOffCurrentSpeed + b, read.U8(speedAt + b));
    }
    page.SetU8(ElsPage::kOffSelector, read.U8(ElsPage::kOffSelector) & ElsPage::kSelectorClearMask);
  }
  page.SetU16(ElsPage::kOffStepsPerFeed, static_cast<unsigned>(steps));
  page.SetU8(ElsPage::kOffLabelWriting, ElsPage::kLabelWritingOn);
  return page;
}

}  // namespace twr
