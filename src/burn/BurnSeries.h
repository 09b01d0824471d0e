// A series of discs, for both front ends: the steps of each disc on the
// drive still taken (the next disc waited for, facing the laser, its own
// label, the plan, Draw), the count of discs burnt (a disc with gaps is an
// etched disc) and what follows a disc's end: the next disc, the end of the
// series, or a stop that says after which disc and why.
#pragma once

#include <QImage>

#include <string>

#include "burn/BurnOutcome.h"
#include "burn/BurnPlan.h"
#include "burn/BurnSequence.h"

namespace twr {

// What a front end supplies for each disc of a series.
class SeriesHooks {
 public:
  virtual ~SeriesHooks() = default;
  // Disc `number` of `count` is in the drive (after the first, the wait for
  // it is over) and is about to face the laser.
  virtual void DiscBegins(int /*number*/, int /*count*/) {}
  // The label of disc `number` of `count` for `disc`, the side facing the
  // laser: the image the burn samples and the target (band, disc, quality).
  // False after a message of its own: the disc is not burnt.
  virtual bool MakeLabel(int number, int count, const BurnDisc& disc, BurnTarget& target,
                         QImage& label) = 0;
  // The plan of the disc, before Draw: false after a message of its own
  // stops there (a page that cannot be used, a disc that takes no label).
  virtual bool Planned(const BurnPlan& /*plan*/) { return true; }
};

// What the series does after a disc's end.
enum class SeriesNext {
  NextDisc,  // disc Number() + 1 is to be burnt
  Done,      // the last disc has been burnt (cleanly or with gaps)
  Halted,    // the series stopped early: HaltText() says after which disc and why
};

class BurnSeries {
 public:
  BurnSeries(BurnSequence& sequence, SeriesHooks& hooks) : sequence_(sequence), hooks_(hooks) {}

  // A new series of `count` discs; with `goOnAfterGaps` a disc with gaps
  // does not stop it.
  void Begin(int count, bool goOnAfterGaps = false);

  // The steps of disc Number() on the drive taken: after the first, the
  // last burn's end and the wait for this disc (BurnSequence::NextDisc),
  // then the disc facing the laser, its label, the plan and Draw. Started
  // when its burn runs (Wait for it, then DiscEnded); anything else halts
  // the series (HaltText) unless Draw's questions stopped it (Stopped).
  StartResult StartDisc(bool rimtone);
  // Disc Number() is the next one: Halted goes on with the disc after it
  // (Next pressed "anyway").
  void Advance();

  // Disc Number()'s burn has ended as `ending` says: it is counted, and the
  // answer says what follows.
  SeriesNext DiscEnded(const BurnEnding& ending);
  // Disc Number() could not be burnt (no disc came, it was refused, the
  // user stopped before anything was written): the series halts with `why`.
  SeriesNext DiscNotBurnt(const std::string& why);

  int Count() const { return count_; }
  int Number() const { return number_; }
  // Discs etched to their end, those with gaps among them.
  int Burnt() const { return burnt_; }
  int WithGaps() const { return withGaps_; }
  bool Halted() const { return halted_; }
  // The halt came from a disc's own trouble (gaps, a refused write): another
  // disc may still burn well, so the user may go on anyway.
  bool MayGoOn() const { return halted_ && mayGoOn_ && number_ < count_; }

  // "Series stopped after disc 1 of 5: its label has gaps (...)."
  const std::string& HaltText() const { return haltText_; }
  // "3 of 5 discs burnt." or "3 of 5 discs burnt, 1 of them with gaps."
  std::string SummaryText() const;

 private:
  SeriesNext Halt(std::string why, bool mayGoOn);

  BurnSequence& sequence_;
  SeriesHooks& hooks_;
  int count_ = 1;
  int number_ = 1;
  int burnt_ = 0;
  int withGaps_ = 0;
  bool goOnAfterGaps_ = false;
  bool halted_ = false;
  bool mayGoOn_ = false;
  std::string haltText_;
};

}  // namespace twr
