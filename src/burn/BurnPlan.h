// The burn plan: everything a burn needs worked out from the drive's ELS
// page, the band, the disc and the quality, as a plain value. It asks no
// drive and shows no message; a failed check is listed with the message a
// front end shows for it. The time the windows show, the burn dialog, the
// simulated etch, `twr burn` and the burn job all take their numbers from
// here.
//
//   const BurnPlan plan = PlanBurn(page, {{inner, outer}, BurnDisc::LabelSide(),
//                                         BurnQuality::Draft});
//   plan.timeText, plan.requiredTime; if (plan.Startable()) plan.startAddress ...
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "burn/ElsPage.h"
#include "common/Translate.h"
#include "drive/DiscGeometry.h"
#include "label/BurningArea.h"

namespace twr {

enum class BurnQuality { Draft, Normal, High };
inline constexpr int kQualityCount = 3;
// Quality choices in the order of the quality list.
inline constexpr const char* kQualityNames[kQualityCount] = {
    TWR_TRANSLATE_NOOP("BurnPlan", "Draft"), TWR_TRANSLATE_NOOP("BurnPlan", "Normal"),
    TWR_TRANSLATE_NOOP("BurnPlan", "High Quality")};

// Outcome text of a burn whose band holds less than one write's worth of blocks.
// Marked for the translation tools; Tr("BurnPlan", kBandTooNarrow) where it is shown.
inline constexpr const char* kBandTooNarrow =
    TWR_TRANSLATE_NOOP("BurnPlan", "The burn band is too narrow to burn.");

// The band burned, in millimetres from the centre.
struct BurnBand {
  double inner = kBandInnerLimitMm;
  double outer = kBandOuterLimitMm;
};

// What to burn: the band on a disc side at a quality.
struct BurnTarget {
  BurnBand band;
  BurnDisc disc;
  BurnQuality quality = BurnQuality::Draft;
  // Revolutions per circle instead of the quality's (tests, benchmarks); 0:
  // the quality's.
  std::int32_t steps = 0;
  // The band is worked out from the label when the burn is planned: the
  // narrowest that holds every mark (burn/MarkedBand); `band` is not used.
  bool automaticArea = false;
};

// What the plan checks, in the order it checks them.
enum class PlanCheck {
  NoSpeedEntry,    // no speed entry of the page is usable: no time, no burn (no message)
  FeedStepLength,  // FeedStepLength is zero (message 402)
  FeedDivisor,     // the divisor the page selects is zero (message 402 with why)
  BandRadius,      // not 22 <= inner < outer <= 59 mm ("Input Radius Error.")
  BandTooNarrow,   // less than one write's worth of blocks (the burn's outcome says so)
};

struct PlanFailure {
  PlanCheck check = PlanCheck::NoSpeedEntry;
  int messageId = 0;  // string-table id of its message; 0 when the text is built in or none
};
// The message of a failed check as the program shows it ("" for NoSpeedEntry),
// and what follows it ("" when nothing does).
std::string PlanFailureText(const PlanFailure& failure);
std::string PlanFailureDetail(const PlanFailure& failure);

// The speed entry of the page the burn runs at.
struct SpeedEntry {
  int index = -1;                // in the page's table; -1 when none is usable
  double rotation = 0.0;         // revolutions per minute
  double speed = 0.0;            // units of 75 blocks per second
  std::int32_t halfSamples = 0;  // half the samples of a circle
  std::int32_t samples = 0;      // samples of a circle
};

struct BurnPlan {
  BurnBand band;  // as burned: the inner radius raised on a data side
  BurnQuality quality = BurnQuality::Draft;
  bool dataSide = false;  // the band goes on a DVD±R data side
  SpeedEntry entry;
  double feedStep = 0.0;  // um from one circle to the next
  // Revolutions burned on each circle for Draft, Normal and High Quality
  // (found from the drive's rotation and feed step), and the minutes the
  // band takes at each.
  std::array<std::int32_t, kQualityCount> qualitySteps = {5, 11, 20};
  std::array<double, kQualityCount> qualityTimes = {};

  // The burn at the chosen quality.
  std::int32_t steps = 5;  // revolutions burned on each circle
  double advance = 0.0;    // um per revolution
  std::int32_t totalRevolutions = 0;
  double requiredTime = 0.0;                      // minutes, to 0.01; 0 when the page gives none
  std::string timeText = "00:00";                 // the required time as "mm:ss"
  std::int32_t startAddress = kBlockZeroAddress;  // the burn counts its writes from here
  std::int32_t blocksPerWrite = 0;
  std::int32_t writesPerRevolution = 1;
  double toneGamma = 0.0;
  std::int32_t stepCount = 0;            // circles burned
  std::int32_t blocksPerRevolution = 0;  // blocks of one revolution of a circle
  std::int32_t totalBlocks = 0;          // blocks encoded, in whole writes
  std::int32_t writes = 0;               // WRITE(12) commands sent

  // The checks failed, in order; empty when the burn can run as planned.
  std::vector<PlanFailure> failures;

  bool Fails(PlanCheck check) const;
  // The page gives a speed entry and a feed step: the times hold.
  bool HasTime() const { return !Fails(PlanCheck::NoSpeedEntry) && !PageFailure(); }
  // A burn may start (a band too narrow starts and ends at once).
  bool Startable() const;
  // The first failure of the page itself (FeedStepLength or the divisor),
  // nullptr when there is none.
  const PlanFailure* PageFailure() const;
  // The page as the burn sends it, from the page as read: the chosen speed
  // entry made current, the selector's high bits cleared, the steps set and
  // the label-writing flag on.
  ElsPage ArmedPage(const ElsPage& read) const;
};

// The plan of `target` on a drive that answers `page`.
BurnPlan PlanBurn(const ElsPage& page, const BurnTarget& target);

}  // namespace twr
