// The burn sequence: every step of a burn from the drive taken for the burn
// to the drive put back, in one place for both front ends. The burn dialog's
// model and `twr burn` run the same steps; they only supply what they show
// (through Messages and BurnEvents) and their own waits (BurnHooks).
//
// The steps, in the order a front end calls them:
//   TakeDrive    the drive opened for this program alone
//   FaceDisc     an empty tray refused (1104, nothing ejected), a data side
//                turned over when Rimtone mode is off (803), a disc
//                answering (1104)
//   ReadBurnDisc the side the band goes on (free function, below)
//   Plan         the ELS page read and the burn planned (the required time)
//   Draw         the disc check and its questions (1100 asked, 1101 - 1103
//                refused), prevent removal, the preparation (ready, page,
//                plan, checks), the page armed, the three burn threads
//   Wait         the burn's closing steps have run: Ending() says how it ended
//   ShareDrive   back to shared access
// The window program runs TakeDrive and Draw when Draw is pressed, FaceDisc
// and ReadBurnDisc before the label is rendered; `twr burn` runs them in a
// row. A series of discs runs NextDisc after Wait (the closing steps have
// ejected the disc; the hooks wait for the next one), then FaceDisc, Plan
// and Draw again on the drive still taken.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

#include "burn/BurnEvents.h"
#include "burn/BurnJob.h"
#include "burn/BurnOutcome.h"
#include "burn/BurnPlan.h"
#include "burn/ElsPage.h"
#include "drive/DriveSetup.h"

namespace twr {

class CELDevice;
class Messages;

// How a step ended.
enum class StepResult {
  Go,       // the sequence may go on
  Stopped,  // the user stopped it (nothing was written)
  Failed,   // a message has said why, or the caller says it (see the step)
};

// The waits of a front end that the sequence calls; the defaults go straight on.
class BurnHooks {
 public:
  virtual ~BurnHooks() = default;
  // The exclusive open was refused (`refused` says why: mounted, in use, no
  // permission). True to try again, e.g. after the user had the disc
  // unmounted.
  virtual bool RetryTakingDrive(const DriveOpening& /*refused*/) { return false; }
  // A data side faced the laser with Rimtone mode off: the disc is out and
  // "Flip a disc to label-side." has been shown. Returns once the disc is
  // back: Go, Stopped, or Failed after a message of its own.
  virtual StepResult DiscTurnedOver(CELDevice& /*device*/) { return StepResult::Go; }
  // A series: the disc burnt last is out; returns once disc `number` of
  // `count` is in and answers: Go, Stopped, or Failed after a message of
  // its own.
  virtual StepResult NextDisc(CELDevice& /*device*/, int /*number*/, int /*count*/) {
    return StepResult::Go;
  }
  // Asked before the burn sends anything: true stops the sequence there.
  virtual bool StopRequested() { return false; }
};

// How Draw (or Start) ended.
enum class StartResult {
  Started,       // the three threads run; Wait() for the end
  Refused,       // the disc or the plan was refused with a message
  NotReady,      // the drive did not get ready (no message)
  NoSpeedEntry,  // the ELS page offers no usable speed entry (no message)
  Stopped,       // the hooks asked to stop before anything was sent
};

// The side the band goes on: in Rimtone mode the data side, with where its
// recorded data ends as the drive reports it.
BurnDisc ReadBurnDisc(CELDevice& device, bool rimtone);

class BurnSequence {
 public:
  BurnSequence(CELDevice& device, Messages& messages);
  BurnSequence(const BurnSequence&) = delete;
  BurnSequence& operator=(const BurnSequence&) = delete;

  void SetHooks(BurnHooks* hooks) { hooks_ = hooks ? hooks : &noHooks_; }
  void SetEvents(BurnEvents* events);
  void SetTimings(const BurnTimings& timings) { job_.SetTimings(timings); }
  void SetLiteralEncoder(bool literal) { job_.SetLiteralEncoder(literal); }
  // What TakeDrive may do when the exclusive open is refused because the
  // drive's disc is mounted: ask, unmount without asking, or refuse with the
  // way out (the default: refuse, naming no option).
  void SetUnmount(const BurnUnmount& unmount) { unmount_ = unmount; }

  // ---- The drive ------------------------------------------------------------
  // Opens the listed drive at `index`, or the drive a user named, for this
  // program alone: a drive that is mounted or held by another program
  // (another burn, also on the virtual drive) is refused and nothing is
  // written, unless SetUnmount allows that drive's disc to be unmounted
  // first. The caller shows a refusal (opening.FailureText()).
  DriveOpening TakeDrive(int index);
  DriveOpening TakeDrive(const DriveChoice& choice);
  // Back to shared access to the drive taken last (after a burn or a refusal).
  void ShareDrive();

  // ---- Before the label is rendered ------------------------------------------------
  // An empty tray (TEST UNIT READY: medium not present) is message 1104 and
  // Failed, without an eject. With Rimtone mode off a disc that is not a
  // label side is ejected to be turned over (message 803, then
  // hooks.DiscTurnedOver); then a disc must answer, else message 1104 and
  // Failed.
  StepResult FaceDisc(bool rimtone);
  // A series of discs, between two burns on the drive still taken: the
  // last burn's threads joined (its closing steps ejected the disc), then
  // hooks.NextDisc waits for disc `number` of `count`. FaceDisc follows.
  StepResult NextDisc(int number, int count);

  // ---- The plan -------------------------------------------------------------------
  // Reads the drive's ELS page (three tries; when all fail the page read
  // before stays) and plans `target` from it. A page that cannot be used
  // (message 402) is shown; a page without a usable speed entry is not.
  const BurnPlan& Plan(const BurnTarget& target);
  // The same without keeping the plan (the main window's required time).
  BurnPlan Estimate(const BurnTarget& target) { return ReadAndPlan(target); }
  // The plan of `target` from the page read last: no drive, no message.
  BurnPlan PlanFromPage(const BurnTarget& target) const;
  // The plan kept by the last Plan, Draw or Start.
  const BurnPlan& CurrentPlan() const { return plan_; }
  const ElsPage& Page() const { return page_; }
  // Where the steps' messages go.
  Messages& MessagesTo() const { return messages_; }

  // ---- The burn -------------------------------------------------------------------
  // The disc check before marking a disc with its band from `innerRadius`:
  // asks before marking a blank DVD±R (1100), refuses an incomplete one
  // (1101), one whose data reaches the band (1102) and any other disc but a
  // label side (1103). True when the disc may be marked.
  bool CheckDisc(double innerRadius);
  // Medium removal prevented, the drive ready (three tries), the page read
  // again and `target` planned from it; a page that cannot be used (402) or
  // a band out of range ("Input Radius Error.") is refused before the page
  // is armed; then the page armed and the three threads started with
  // `label`. When it does not start, nothing is armed and removal is allowed
  // again.
  StartResult Start(const BurnTarget& target, QImage label);
  // The Draw action: CheckDisc, then (unless the hooks ask to stop) Start.
  StartResult Draw(const BurnTarget& target, QImage label);

  // Exit while burning: the write in progress completes, then the closing steps.
  void RequestStop() { job_.RequestAbort(); }
  bool Burning() const { return job_.Burning(); }
  // Joins the burn's threads; its closing steps have run.
  void Wait() { job_.Wait(); }
  BurnEnding Ending() const { return job_.Ending(); }
  std::int32_t WriteCount() const { return job_.WriteCount(); }
  BurnJob& Job() { return job_; }
  CELDevice& Device() { return device_; }

 private:
  // Three tries of MODE SENSE of the ELS page into page_; true on a success.
  bool ReadPage();
  // Reads the page and plans `target` from it, with the page's failure shown.
  BurnPlan ReadAndPlan(const BurnTarget& target);
  // The preparation of Start: everything up to the threads.
  StartResult Prepare(const BurnTarget& target, QImage label);
  DriveOpening RetryWhileRefused(DriveOpening opening, const std::function<DriveOpening()>& open);

  CELDevice& device_;
  Messages& messages_;
  BurnHooks noHooks_;
  BurnHooks* hooks_ = &noHooks_;
  BurnEvents noEvents_;
  BurnEvents* events_ = &noEvents_;
  BurnJob job_;
  ElsPage page_;
  BurnPlan plan_;
  BurnUnmount unmount_;
  int takenIndex_ = -1;  // the drive TakeDrive opened exclusively
};

}  // namespace twr
