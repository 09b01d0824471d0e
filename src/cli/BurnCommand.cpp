// `twr burn`: renders the label as the main window does before a burn,
// then runs the burn sequence (the disc turned over and answering, the plan,
// the disc check, the preparation and the burn) with its progress: a live
// line on a terminal, plain lines otherwise. Ctrl-C asks the burn to stop;
// it still ends through its closing steps. A series (--copies N, --merge
// FILE) runs the same sequence once per disc on the drive kept taken: after
// each burn the disc is out, the next one is waited for, and each label has
// its own {n}/{N} (and, merged, its own row's texts).
#include <QImage>

#include <unistd.h>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "burn/BurnProgress.h"
#include "burn/BurnSequence.h"
#include "burn/BurnSeries.h"
#include "burn/Calibration.h"
#include "burn/DocumentWarnings.h"
#include "burn/MarkedBand.h"
#include "burn/SimulatedEtch.h"
#include "cli/Args.h"
#include "cli/BurnProgressView.h"
#include "cli/Commands.h"
#include "cli/DriveNotFound.h"
#include "cli/GuiApplication.h"
#include "cli/LabelOptions.h"
#include "cli/Print.h"
#include "cli/SettingsFile.h"
#include "cli/StatusLine.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "common/ProfileFile.h"
#include "common/StopSignals.h"
#include "desktop/UDisksUnmountService.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DiscScan.h"
#include "drive/DriveSetup.h"
#include "drive/virtual/VirtualDriveConfig.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/Design.h"
#include "label/LabelWarnings.h"
#include "label/MergeCsv.h"

namespace twr::cli {

namespace {

// A live line is redrawn four times a second; plain lines are looked for at
// every watch, since they are written only when the percent changes.
constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr auto kWatchInterval = std::chrono::milliseconds(50);
// After a disc is turned over the tray takes a moment to settle.
constexpr auto kReadyWait = std::chrono::seconds(60);
constexpr auto kReadyPoll = std::chrono::milliseconds(250);
constexpr int kRadiusDecimals = 1;
// The wait for the next disc of a series, unless --disc-wait says otherwise.
constexpr int kDefaultDiscWaitSeconds = 300;
constexpr int kMaxDiscWaitSeconds = 3600;

bool Interrupted() {
  return StopSignals::Requested();
}

// The burn thread's messages and the status line share the terminal: a
// message first ends the line, and once the outcome is out no further
// progress is drawn over it. An outcome that is neither a finished nor a
// stopped burn is a failure and goes to stderr with the errors.
class BurnTerminal : public Messages {
 public:
  BurnTerminal(Messages& inner, StatusLine& line) : inner_(inner), line_(line), view_(line) {}
  // The burn whose outcome decides where its closing message goes.
  void SetSequence(const BurnSequence* sequence) { sequence_ = sequence; }
  void Show(const std::string& text, MessageIcon icon) override { ShowDetailed(text, {}, icon); }
  void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    line_.End();
    if (burning_ && icon == MessageIcon::Information && !EndedWell()) icon = MessageIcon::Error;
    closed_ = burning_;
    shown_ = true;
    inner_.ShowDetailed(text, detail, icon);
  }
  bool AskYesNo(const std::string& text, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    line_.End();
    return inner_.AskYesNo(text, icon);
  }
  void Progress(const BurnProgressState& state) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!closed_) view_.Update(state);
  }
  // A line of its own on stdout (or stderr), between progress lines.
  void Note(const std::string& text, std::FILE* out = stdout) {
    std::lock_guard<std::mutex> lock(mutex_);
    line_.End();
    std::fflush(stdout);
    std::fprintf(out, "%s\n", text.c_str());
    std::fflush(out);
  }
  // From here on the messages are the burn's.
  void BurnStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    burning_ = true;
  }
  // Whether any message has been shown through this terminal.
  bool Shown() {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }
  void Finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    line_.End();
    closed_ = true;
  }
  // The next disc of a series: its progress and messages are a new burn's.
  void NextBurn() {
    std::lock_guard<std::mutex> lock(mutex_);
    burning_ = false;
    closed_ = false;
    view_.Reset();
  }

 private:
  // The burn has ended (its outcome is known before its message is shown)
  // as finished or stopped.
  bool EndedWell() const {
    if (!sequence_) return true;
    const BurnOutcome outcome = sequence_->Ending().outcome;
    return outcome == BurnOutcome::Finished || outcome == BurnOutcome::Stopped;
  }

  const BurnSequence* sequence_ = nullptr;
  Messages& inner_;
  StatusLine& line_;
  BurnProgressView view_;
  std::mutex mutex_;
  bool burning_ = false;
  bool closed_ = false;
  bool shown_ = false;
};

enum class ReadyWait { Ready, TimedOut, Stopped };

// Waits until the drive answers TEST UNIT READY again after the disc went
// out and back, at most `wait`, with the seconds left on the status line
// (`shown` makes its text from them).
ReadyWait WaitUntilReady(CELDevice& device, StatusLine& line, std::chrono::seconds wait,
                         const std::function<std::string(const std::string&)>& shown) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (device.TestUnitReady()) {
      line.End();
      return ReadyWait::Ready;
    }
    if (Interrupted()) {
      line.End();
      return ReadyWait::Stopped;
    }
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) {
      line.End();
      return ReadyWait::TimedOut;
    }
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(left).count();
    line.Show(shown(std::to_string(seconds)), false);
    std::this_thread::sleep_for(kReadyPoll);
  }
}

// The step after a wait for the drive that did not time out.
StepResult Settled(ReadyWait wait) {
  return wait == ReadyWait::Ready ? StepResult::Go : StepResult::Stopped;
}

// The terminal's waits in the burn sequence: after a data side went out to
// be turned over, Enter on a terminal (not with --yes or without one), then
// the drive ready again within a minute; Ctrl-C stops either.
// The next disc of a series likewise: "Insert disc 2 of 5 and press Enter"
// on a terminal, then a wait of at most --disc-wait seconds for the disc.
class TerminalHooks : public BurnHooks {
 public:
  TerminalHooks(Messages& messages, StatusLine& line, bool assumeYes, int discWaitSeconds)
      : messages_(messages), line_(line), assumeYes_(assumeYes), discWait_(discWaitSeconds) {}
  StepResult DiscTurnedOver(CELDevice& device) override {
    AskForEnter(Tr("BurnCommand", "Turn the disc over, put it back and press Enter... "));
    if (Interrupted()) return StepResult::Stopped;
    const auto shown = [](const std::string& seconds) {
      return Arg(Tr("BurnCommand", "Waiting for the drive to be ready: %1 s left (Ctrl-C stops)"),
                 {seconds});
    };
    if (const ReadyWait wait = WaitUntilReady(device, line_, kReadyWait, shown);
        wait != ReadyWait::TimedOut)
      return Settled(wait);
    messages_.ShowDetailed(StringText(kStrDiscNotFound),
                           Tr("BurnCommand",
                              "The drive was not ready a minute after the disc went out: put "
                              "the disc back label side down and run twr burn again."),
                           MessageIcon::Error);
    return StepResult::Failed;
  }
  StepResult NextDisc(CELDevice& device, int number, int count) override {
    const std::string n = std::to_string(number), of = std::to_string(count);
    AskForEnter(Arg(Tr("BurnCommand", "Insert disc %1 of %2 and press Enter"), {n, of}) + " ");
    if (Interrupted()) return StepResult::Stopped;
    const auto shown = [&](const std::string& seconds) {
      return Arg(Tr("BurnCommand", "Waiting for disc %1 of %2: %3 s left (Ctrl-C stops)"),
                 {n, of, seconds});
    };
    if (const ReadyWait wait =
            WaitUntilReady(device, line_, std::chrono::seconds(discWait_), shown);
        wait != ReadyWait::TimedOut)
      return Settled(wait);
    messages_.ShowDetailed(
        Arg(Tr("BurnCommand", "No disc %1 of %2 was in the drive within %3 s."),
            {n, of, std::to_string(discWait_)}),
        Tr("BurnCommand",
           "Put the next disc in and burn the rest of the series with another twr burn."),
        MessageIcon::Error);
    return StepResult::Failed;
  }
  bool StopRequested() override { return Interrupted(); }

 private:
  // The prompt and Enter on a terminal; nothing with --yes or without one.
  void AskForEnter(const std::string& prompt) {
    if (assumeYes_ || !isatty(STDIN_FILENO)) return;
    std::fputs(prompt.c_str(), stderr);
    std::fflush(stderr);
    std::string answer;
    std::getline(std::cin, answer);
  }

  Messages& messages_;
  StatusLine& line_;
  bool assumeYes_;
  int discWait_;
};

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

int Stopped(BurnTerminal& terminal) {
  terminal.Note(Tr("BurnCommand", "twr burn: stopped before the burn began; nothing was written."),
                stderr);
  return kExitInterrupted;
}

// The disc's texts into the label options the user left empty, as the main
// window's Scan fills its edits. The drive is opened for reading only and
// closed again before the burn takes it for itself. False after message
// "Disc is not found." when the drive is not ready.
bool ScanIntoLabel(const DriveChoice& drive, LabelOptions& label, Messages& messages) {
  CELDevice device;
  const DriveOpening opening = OpenChosenDrive(device, drive, DriveAccess::Shared);
  if (!opening.Ok()) return true;  // the burn's own open says what is wrong
  const DiscTexts disc = LoadDiscTexts(device);
  if (!disc.ready) {
    messages.ShowString(kStrScanNoDisc, MessageIcon::Error);
    return false;
  }
  if (label.title.empty()) label.title = disc.title;
  if (label.date.empty()) label.date = disc.date;
  if (label.notes.empty()) label.notes = ScanEntryLines(device, opening.letter);
  std::string entries;
  for (const std::string& line : label.notes) entries += " | " + line;
  PrintLine(stdout, Tr("BurnCommand", "Scanned: title '%1', date '%2', %3 note lines%4"),
            {label.title, label.date, std::to_string(label.notes.size()), entries});
  return true;
}

// What a series does after a disc with gaps (--on-gaps).
enum class OnGaps { Stop, Continue };

// What `twr burn` was asked for.
struct BurnRequest {
  bool helpShown = false;  // --help: the help was printed and nothing else is done
  DriveChoice drive;
  LabelOptions label;
  BurnQuality quality = BurnQuality::Draft;
  bool rimtone = false;
  bool assumeYes = false;
  bool scan = false;
  bool unmount = false;
  std::string designPath;        // --design FILE
  bool qualityGiven = false;     // --quality stands over the design's
  bool automaticArea = false;    // --area auto (or a design made for it)
  std::string areaText;          // --area as given
  std::optional<int> copies;     // --copies N: a series of N discs with the same texts
  std::string mergePath;         // --merge FILE.csv: a series of one disc per row
  std::optional<int> discWait;   // --disc-wait SECONDS
  OnGaps onGaps = OnGaps::Stop;  // --on-gaps stop|continue
  // --test-wedge: the calibration wedge instead of a label, with the answer
  // given (--first-mark, --first-dark) or asked after the burn.
  bool testWedge = false;
  std::optional<int> firstMark;
  std::optional<int> firstDark;
  std::vector<WedgeStep> wedge;  // the wedge's steps for the drive's page
  bool Series() const { return copies.has_value() || !mergePath.empty(); }
  int DiscWaitSeconds() const { return discWait.value_or(kDefaultDiscWaitSeconds); }
};

// The options; kExitOk, or the exit status after the usage or an error.
int ParseBurnRequest(int argc, char** argv, BurnRequest& request) {
  std::string letterText, qualityText, onGapsText, areaText;
  ArgParser args("burn",
                 Tr("BurnCommand",
                    "Burns a label onto the disc in a drive: renders the layout as the main\n"
                    "window does, checks the disc, prepares the drive and burns, showing the\n"
                    "progress. Ctrl-C stops the burn after the write in progress."));
  args.Option("drive", "DRIVE",
              Tr("BurnCommand",
                 "Drive letter as 'twr drives' shows it, or its device (/dev/sr0); default: the "
                 "first."),
              &letterText);
  AddLabelOptions(args, request.label);
  AddDesignOption(args, request.designPath);
  args.Choice("quality", "Q", Tr("BurnCommand", "draft, normal or high (default: draft)."),
              {"draft", "normal", "high"}, &qualityText);
  AddAreaOption(args, areaText);
  args.Flag("rimtone",
            Tr("BurnCommand", "Burn the unrecorded outer band of a DVD-R/DVD+R data side."),
            &request.rimtone);
  args.Flag("yes", Tr("BurnCommand", "Say Yes to marking a blank disc; do not wait for Enter."),
            &request.assumeYes);
  args.Flag("scan",
            Tr("BurnCommand",
               "Take the title, date and note from the disc first, as Scan does: its volume "
               "name, date and top-level folders and files (--title, --date and --note win)."),
            &request.scan);
  args.Flag("unmount",
            Tr("BurnCommand",
               "When the desktop has mounted the disc in the drive, have it unmounted (through "
               "udisks2) before the burn takes the drive."),
            &request.unmount);
  args.Integer("copies", "N",
               Tr("BurnCommand",
                  "Burn N discs one after another: after each the disc is ejected and the next "
                  "one waited for; {n} and {N} in the texts are the disc's number and N."),
               &request.copies);
  args.Option("merge", "FILE.csv",
              Tr("BurnCommand",
                 "Burn one disc for each row of a CSV file with a header row naming the columns "
                 "title, date and note1 to note10; an empty field keeps the text given with "
                 "--title, --date, --note or the design."),
              &request.mergePath);
  args.Integer(
      "disc-wait", "SECONDS",
      Tr("BurnCommand", "How long a series waits for the next disc (default: 300; Ctrl-C stops)."),
      &request.discWait);
  args.Choice("on-gaps", "WHAT",
              Tr("BurnCommand",
                 "What a series does after a disc whose label has gaps (writes skipped after "
                 "loss of streaming): stop (the default) or continue with the next disc."),
              {"stop", "continue"}, &onGapsText);
  args.Flag("test-wedge",
            Tr("BurnCommand",
               "Burn a calibration wedge instead of a label: 12 numbered grey steps in a band at "
               "the rim at Draft (under a minute). Then say which step is the first that "
               "visibly marks and which the first that looks fully dark; the answer is kept "
               "for this drive model and kind of disc and used by --tone auto."),
            &request.testWedge);
  args.Integer("first-mark", "N",
               Tr("BurnCommand", "With --test-wedge: the first step that visibly marks."),
               &request.firstMark);
  args.Integer("first-dark", "N",
               Tr("BurnCommand", "With --test-wedge: the first step that looks fully dark."),
               &request.firstDark);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk) {
    request.helpShown = r == ArgParser::kHelpShown;
    return ExitStatusFor(r);
  }
  if (!request.testWedge && (request.firstMark || request.firstDark)) {
    PrintLine(stderr,
              Tr("BurnCommand", "twr burn: --first-mark and --first-dark go with --test-wedge"));
    return kExitUsage;
  }
  if (request.testWedge) {
    if (request.Series() || request.rimtone || !request.designPath.empty()) {
      PrintLine(stderr, Tr("BurnCommand",
                           "twr burn: --test-wedge burns one wedge on a label side: it does not go "
                           "with --copies, --merge, --rimtone or --design"));
      return kExitUsage;
    }
    if (request.firstMark.has_value() != request.firstDark.has_value()) {
      PrintLine(stderr, Tr("BurnCommand",
                           "twr burn: give both --first-mark and --first-dark, or neither (the "
                           "question is then asked after the burn)"));
      return kExitUsage;
    }
    if (request.firstMark) {
      if (const std::string why = CheckWedgeAnswer(*request.firstMark, *request.firstDark);
          !why.empty()) {
        PrintLine(stderr, Tr("BurnCommand", "twr burn: %1"), {why});
        return kExitUsage;
      }
    }
  }
  if (request.copies && !request.mergePath.empty()) {
    PrintLine(stderr, Tr("BurnCommand",
                         "twr burn: --copies and --merge do not go together: a merge file "
                         "burns one disc for each of its rows (see 'twr burn --help')"));
    return kExitUsage;
  }
  if (request.copies && (*request.copies < 1 || *request.copies > kMaxMergeRows)) {
    PrintLine(stderr,
              Tr("BurnCommand", "twr burn: '--copies %1' is not a count of discs from 1 to %2"),
              {std::to_string(*request.copies), std::to_string(kMaxMergeRows)});
    return kExitUsage;
  }
  if (request.discWait && (*request.discWait < 1 || *request.discWait > kMaxDiscWaitSeconds)) {
    PrintLine(
        stderr,
        Tr("BurnCommand", "twr burn: '--disc-wait %1' is not a number of seconds from 1 to %2"),
        {std::to_string(*request.discWait), std::to_string(kMaxDiscWaitSeconds)});
    return kExitUsage;
  }
  ParseQuality(qualityText, request.quality);
  request.onGaps = onGapsText == "continue" ? OnGaps::Continue : OnGaps::Stop;
  request.qualityGiven = !qualityText.empty();
  request.areaText = areaText;
  request.automaticArea = areaText == "auto";
  if (!ParseDriveChoice(letterText, request.drive)) {
    PrintLine(stderr,
              Tr("BurnCommand",
                 "twr burn: '--drive %1' is neither a drive letter nor a device path (see 'twr "
                 "drives')"),
              {letterText});
    return kExitUsage;
  }
  return kExitOk;
}

// The drive held exclusively until the device goes: a mounted drive, or one
// another burn holds, is refused before anything is written.
int TakeTheDrive(BurnSequence& sequence, const DriveChoice& drive, Messages& messages) {
  const DriveOpening opening = sequence.TakeDrive(drive);
  if (opening.Ok()) return kExitOk;
  if (opening.error == DriveOpenError::NotListed)
    ShowDriveNotListed("burn", drive, sequence.Device(), messages);
  else
    PrintLine(stderr, Tr("BurnCommand", "twr burn: %1"), {opening.FailureText()});
  return kExitFailure;
}

// The label, rendered as the main window renders it before a burn, and
// what the burn is to put where.
int RenderTheLabel(const BurnRequest& request, const LabelOptions& label, const BurnDisc& disc,
                   CELDevice& device, CELLayout& layout, Messages& messages, BurnTarget& target) {
  // Rimtone mode is only offered for a DVD-R or DVD+R data side.
  if (request.rimtone) {
    if (!RimtoneAllowed(device.GetDiscKind())) {
      PrintLine(stderr,
                Tr("BurnCommand",
                   "twr burn: --rimtone needs the data side of a DVD-R or DVD+R in the drive "
                   "(see 'twr disc')."));
      return kExitFailure;
    }
  }
  StartGui();
  target.disc = disc;
  target.quality = request.quality;
  RenderedLabel rendered;
  // A design's picture fit to etch is fit to this burn's quality.
  // A wedge answered for this drive model and disc kind narrows the greys
  // a picture is spread over to those that show on its discs.
  LabelOptions toned = label;
  std::string vendor, product, revision;
  device.ReadInquiryStrings(vendor, product, revision);
  toned.etchTone = DriveEtchFor(ElsPage(ExampleElsPage()), request.quality,
                                ProfileFile::Load(Settings().path), vendor, product, disc)
                       .tone;
  if (const int status =
          RenderAsMainWindow(toned, layout, messages, rendered, LowestInnerRadius(target.disc));
      status != kExitOk)
    return status;
  target.band = {rendered.inner, rendered.outer};
  target.automaticArea = request.automaticArea;
  // The QR code against the burn's geometry as the simulated etch draws it.
  PrintLabelWarnings(
      "burn",
      DocumentWarnings(layout, label.TypedNote(), ElsPage(ExampleElsPage()),
                       {target.disc, request.automaticArea, target.band, {target.quality}}));
  return kExitOk;
}

// What the burn dialog shows when it opens: the band, the revolutions per
// step and the required time, and the disc's name; Draw is only offered for
// a disc the table accepts.
int PlanTheBurn(const BurnPlan& plan, CELDevice& device, BurnTerminal& terminal) {
  if (plan.Fails(PlanCheck::NoSpeedEntry)) {
    PrintLine(stderr,
              Tr("BurnCommand",
                 "twr burn: the drive offers no usable burn speed; check that it is a drive "
                 "that can etch labels (see 'twr drives')"));
    return kExitFailure;
  }
  if (plan.PageFailure()) return kExitFailure;  // its message is out
  terminal.Note(
      Arg(Tr("BurnCommand", "Band %1 - %2 mm, %3 revolutions per step, required time %4"),
          {Mm(plan.band.inner), Mm(plan.band.outer), std::to_string(plan.steps), plan.timeText}));
  const DiscIdentity disc = IdentifyDisc(device);
  terminal.Note(Arg(Tr("BurnCommand", "Disc: %1"), {disc.name.Shown()}));
  if (!disc.name.verdict) {
    PrintLine(stderr, Tr("BurnCommand",
                         "twr burn: no label can be burned on this disc; put in a disc that takes "
                         "a label (see 'twr disc')"));
    return kExitFailure;
  }
  return kExitOk;
}

// Draw did not start the burn: the disc check refused it (its message is
// out), or the drive did not get ready (said here unless a message was).
int DrawRefused(StartResult result, BurnTerminal& terminal) {
  if (result == StartResult::Refused) return kExitFailure;
  if (!terminal.Shown())
    PrintLine(stderr, Tr("BurnCommand",
                         "twr burn: the drive did not get ready for the burn; check the disc "
                         "and try again"));
  return kExitFailure;
}

// The exit status of a burn that ran: 0 only for a clean finish; 3 for a
// label with gaps (writes skipped after loss of streaming), 130 for a stop
// asked for, 1 for every failure.
int BurnExitStatus(const BurnEnding& ending, BurnTerminal& terminal) {
  const std::string writes = std::to_string(ending.writes);
  switch (ending.outcome) {
    case BurnOutcome::Finished:
      return kExitOk;
    case BurnOutcome::FinishedWithGaps:
      terminal.Note(Arg(Tr("BurnCommand",
                           "twr burn: the label has gaps: %1 of %2 writes were skipped after "
                           "loss of streaming."),
                        {std::to_string(ending.skippedWrites), writes}),
                    stderr);
      return kExitGaps;
    case BurnOutcome::Stopped: {
      BurnProgressState at;
      at.high = ending.writes;
      at.position = ending.lastWrite;
      terminal.Note(Arg(Tr("BurnCommand", "twr burn: stopped after %1; the label is not complete."),
                        {WritePosition(at)}),
                    stderr);
      return kExitInterrupted;
    }
    case BurnOutcome::None:
    case BurnOutcome::TooNarrow:
    case BurnOutcome::BufferEmpty:
    case BurnOutcome::WriteFailed:
    case BurnOutcome::DriveGone:
      break;
  }
  return kExitFailure;
}

// The burn's progress until its closing steps have run; Ctrl-C asks it to
// stop after the write in progress. The exit status of the burn.
int WatchTheBurn(BurnSequence& sequence, BurnTerminal& terminal, const StatusLine& line,
                 const TerminalBurnProgress& progress) {
  const auto showEvery = line.Live() ? kProgressInterval : kWatchInterval;
  auto lastShown = std::chrono::steady_clock::now() - showEvery;
  bool stopping = false;
  while (sequence.Burning()) {
    if (Interrupted() && !stopping) {
      stopping = true;
      sequence.RequestStop();
      terminal.Note(
          Tr("BurnCommand", "Stopping after the write in progress; the drive is then put back..."));
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown >= showEvery) {
      terminal.Progress(progress.Peek());
      lastShown = now;
    }
    std::this_thread::sleep_for(kWatchInterval);
  }
  sequence.Wait();
  terminal.Finish();
  return BurnExitStatus(sequence.Ending(), terminal);
}

// The labels of the discs: one without a series, N copies, or one for each
// row of the merge file, each with its number and the count. The whole file
// is read before the first burn, so that a bad row stops the series before
// any disc is burnt with a count that is not the file's.
int SeriesLabels(const BurnRequest& request, std::vector<LabelOptions>& discs) {
  if (request.mergePath.empty()) {
    discs.assign(static_cast<std::size_t>(request.copies.value_or(1)), request.label);
  } else {
    const MergeTable table = ReadMergeFile(request.mergePath);
    if (!table.ok) {
      PrintLine(stderr, Tr("BurnCommand", "twr burn: %1: %2; no disc was burnt."),
                {request.mergePath, table.Message()});
      return kExitFailure;
    }
    for (const MergeRow& row : table.rows) {
      LabelOptions label = request.label;
      if (!row.title.empty()) label.title = row.title;
      if (!row.date.empty()) label.date = row.date;
      if (!row.note.empty()) {
        label.notes.clear();
        for (std::size_t at = 0; at < row.note.size();) {
          const std::size_t end = std::min(row.note.find("\r\n", at), row.note.size());
          label.notes.push_back(row.note.substr(at, end - at));
          at = end + 2;
        }
      }
      discs.push_back(std::move(label));
    }
  }
  const int count = static_cast<int>(discs.size());
  for (int i = 0; i < count; ++i) {
    discs[static_cast<std::size_t>(i)].discNumber = i + 1;
    discs[static_cast<std::size_t>(i)].discCount = count;
  }
  return kExitOk;
}

// The wedge's label is drawn as many pixels across as a layout's label
// (BaseLength 1655).
constexpr int kLabelSideForWedge = 1655;

// The discs of a series as `twr burn` makes them: each label rendered with
// its own texts as the main window renders it, the plan and the disc shown
// as the burn dialog shows them. A step that fails keeps its exit status.
class TerminalSeries : public SeriesHooks {
 public:
  TerminalSeries(const BurnRequest& request, const std::vector<LabelOptions>& discs,
                 CELDevice& device, CELLayout& layout, Messages& messages, BurnTerminal& terminal)
      : request_(request),
        discs_(discs),
        device_(device),
        layout_(layout),
        messages_(messages),
        terminal_(terminal) {}

  void DiscBegins(int number, int count) override {
    if (request_.Series())
      terminal_.Note(
          Arg(Tr("BurnCommand", "Disc %1 of %2"), {std::to_string(number), std::to_string(count)}));
  }
  bool MakeLabel(int number, int /*count*/, const BurnDisc& disc, BurnTarget& target,
                 QImage& label) override {
    if (request_.testWedge) {
      label = WedgeLabel(request_.wedge, kLabelSideForWedge);
      target = WedgeTarget();
      return true;
    }
    status_ = RenderTheLabel(request_, discs_[static_cast<std::size_t>(number - 1)], disc, device_,
                             layout_, messages_, target);
    if (status_ != kExitOk) return false;
    label = layout_.LabelImageData();
    return true;
  }
  bool Planned(const BurnPlan& plan) override {
    status_ = PlanTheBurn(plan, device_, terminal_);
    // From Draw on the messages are the burn's.
    if (status_ == kExitOk) terminal_.BurnStarted();
    return status_ == kExitOk;
  }
  // The exit status of the step that refused, kExitOk when none did.
  int Status() const { return status_; }
  void Clear() { status_ = kExitOk; }

 private:
  const BurnRequest& request_;
  const std::vector<LabelOptions>& discs_;
  CELDevice& device_;
  CELLayout& layout_;
  Messages& messages_;
  BurnTerminal& terminal_;
  int status_ = kExitOk;
};

// One disc of the series: its steps up to Draw, then the burn watched to
// its end. The exit status of that disc, and what the series does next
// (Halted also when the disc was not burnt: series.DiscNotBurnt).
int BurnOneDisc(BurnSeries& series, TerminalSeries& hooks, const BurnRequest& request,
                BurnSequence& sequence, BurnTerminal& terminal, const StatusLine& line,
                SeriesNext& next, bool& ran) {
  next = SeriesNext::Halted;
  ran = false;
  hooks.Clear();
  // The progress of this burn alone; the sequence forgets it once its threads are joined.
  TerminalBurnProgress progress;
  sequence.SetEvents(&progress);
  const StartResult started = series.StartDisc(request.rimtone);
  int status = kExitOk;
  switch (started) {
    case StartResult::Started:
      status = WatchTheBurn(sequence, terminal, line, progress);
      next = series.DiscEnded(sequence.Ending());
      ran = true;
      break;
    case StartResult::Stopped:
      status = series.Number() > 1 ? kExitInterrupted : Stopped(terminal);
      if (series.Number() > 1)
        terminal.Note(Arg(Tr("BurnCommand", "twr burn: stopped before disc %1 of %2."),
                          {std::to_string(series.Number()), std::to_string(series.Count())}),
                      stderr);
      series.DiscNotBurnt({});
      break;
    case StartResult::Refused:
    case StartResult::NotReady:
    case StartResult::NoSpeedEntry:
      status = hooks.Status() != kExitOk ? hooks.Status() : DrawRefused(started, terminal);
      series.DiscNotBurnt({});
      break;
  }
  sequence.Wait();
  sequence.SetEvents(nullptr);
  return status;
}

// After a wedge was burnt: the answer (given, or asked on the terminal)
// kept for the drive model and a label side. kExitOk also when the
// question is left unanswered (the wedge is on the disc; nothing is kept).
int KeepWedgeAnswer(const BurnRequest& request, CELDevice& device, Messages& messages) {
  int firstMark = request.firstMark.value_or(0);
  int firstDark = request.firstDark.value_or(0);
  if (!request.firstMark) {
    if (isatty(STDIN_FILENO) == 0) {
      PrintLine(stderr, Tr("BurnCommand",
                           "twr burn: the wedge is burnt; no answer was kept (give --first-mark "
                           "and --first-dark, or run on a terminal to be asked)."));
      return kExitOk;
    }
    auto ask = [](const char* question, int& answer) {
      for (;;) {
        std::fputs(question, stdout);
        std::fflush(stdout);
        char line[64] = {};
        if (std::fgets(line, sizeof line, stdin) == nullptr) return false;
        const char* end = line + std::strlen(line);
        while (end > line && (end[-1] == '\n' || end[-1] == '\r' || end[-1] == ' ')) --end;
        const char* begin = line;
        while (begin < end && *begin == ' ') ++begin;
        if (begin == end) return false;
        const auto [at, error] = std::from_chars(begin, end, answer);
        if (error == std::errc() && at == end) return true;
      }
    };
    if (!ask(Tr("BurnCommand", "Which step is the first that visibly marks (1-12)? "), firstMark) ||
        !ask(Tr("BurnCommand", "Which step is the first that looks fully dark (1-12)? "),
             firstDark)) {
      PrintLine(stderr, Tr("BurnCommand", "twr burn: no answer; nothing was kept."));
      return kExitOk;
    }
    if (const std::string why = CheckWedgeAnswer(firstMark, firstDark); !why.empty()) {
      PrintLine(stderr, Tr("BurnCommand", "twr burn: %1; nothing was kept."), {why});
      return kExitUsage;
    }
  }
  const std::optional<CalibrationProfile> profile =
      ProfileFromAnswer(request.wedge, firstMark, firstDark);
  if (!profile) {
    PrintLine(stderr,
              Tr("BurnCommand", "twr burn: the answer does not fit the wedge; nothing was kept."));
    return kExitFailure;
  }
  std::string vendor, product, revision;
  device.ReadInquiryStrings(vendor, product, revision);
  const std::string key = CalibrationKey(vendor, product, "label");
  const std::string& path = Settings().path;
  const FileWriteResult kept = KeepCalibration(path, key, *profile);
  if (!kept.ok) {
    messages.Show(
        Arg(Tr("BurnCommand", "The calibration cannot be kept in %1: %2."), {path, kept.problem}),
        MessageIcon::Error);
    return kExitFailure;
  }
  PrintLine(stdout, Tr("BurnCommand", "Calibration kept for %1: %2"),
            {key, CalibrationValue(*profile)});
  return kExitOk;
}

}  // namespace

int RunBurn(int argc, char** argv) {
  BurnRequest request;
  if (const int status = ParseBurnRequest(argc, argv, request);
      status != kExitOk || request.helpShown)
    return status;
  TerminalMessages messages(request.assumeYes);
  if (!CELDevice::IsPassThroughAvailable()) {
    messages.ShowString(kStrNoPassThrough, MessageIcon::Error);
    return kExitFailure;
  }
  if (!request.designPath.empty()) {
    StartGui();
    if (!LoadDesignOption(request.designPath, request.label, messages)) return kExitFailure;
    // The design's Rimtone mode and quality stand unless the options say.
    request.rimtone = request.rimtone || request.label.design->rimtone;
    request.automaticArea = UsesAutomaticArea(request.areaText, request.label);
    if (!request.qualityGiven)
      ParseQuality(DesignQualityName(request.label.design->quality), request.quality);
  }
  if (request.testWedge) {
    request.label.title = "wedge";  // a wedge needs no texts
    StartGui();                     // its numbers are drawn with a font
  }
  if (request.scan && !ScanIntoLabel(request.drive, request.label, messages)) return kExitFailure;
  std::vector<LabelOptions> discs;
  if (const int status = SeriesLabels(request, discs); status != kExitOk) return status;

  // Ctrl-C, a closed terminal or a polite kill stop the waits before the
  // burn, and ask the burn itself to stop; it then still ends through its
  // closing steps.
  StopSignals stopSignals;
  auto device = std::make_unique<CELDevice>();
  StatusLine line(stdout, isatty(STDOUT_FILENO) != 0);
  BurnTerminal terminal(messages, line);
  BurnSequence sequence(*device, terminal);
  terminal.SetSequence(&sequence);
  TerminalHooks hooks(messages, line, request.assumeYes, request.DiscWaitSeconds());
  sequence.SetHooks(&hooks);
  // Only the disc in the drive being burned, and only with --unmount; without
  // it the refusal names the option.
  const std::unique_ptr<UnmountService> unmounter = desktop::MakeUnmountService();
  BurnUnmount unmount;
  unmount.permission = request.unmount ? UnmountPermission::Always : UnmountPermission::Never;
  unmount.service = unmounter.get();
  unmount.option = "--unmount";
  sequence.SetUnmount(unmount);

  if (const int status = TakeTheDrive(sequence, request.drive, messages); status != kExitOk)
    return status;
  if (request.testWedge) {
    // The steps from the drive's own page, so that each step leaves the
    // share of dots it stands for.
    EtchTone tone = EtchToneOf(sequence.Page(), BurnQuality::Draft);
    if (!tone.known) tone = EtchToneOf(ElsPage(ExampleElsPage()), BurnQuality::Draft);
    request.wedge = WedgeSteps(tone);
  }
  CELLayout layout(Settings().path);
  TerminalSeries discHooks(request, discs, *device, layout, messages, terminal);
  BurnSeries series(sequence, discHooks);
  series.Begin(static_cast<int>(discs.size()), request.onGaps == OnGaps::Continue);
  int status = kExitOk;
  bool gaps = false;
  bool haltedAfterBurn = false;
  for (;;) {
    if (series.Number() > 1) {
      // Between two discs Ctrl-C ends the series; during a burn it stops that burn.
      if (Interrupted()) {
        terminal.Note(Arg(Tr("BurnCommand", "twr burn: stopped before disc %1 of %2."),
                          {std::to_string(series.Number()), std::to_string(series.Count())}),
                      stderr);
        status = kExitInterrupted;
        break;
      }
      terminal.NextBurn();
    }
    SeriesNext next = SeriesNext::Halted;
    bool ran = false;
    status = BurnOneDisc(series, discHooks, request, sequence, terminal, line, next, ran);
    gaps = gaps || status == kExitGaps;
    haltedAfterBurn = next == SeriesNext::Halted && ran;
    if (next != SeriesNext::NextDisc) break;
  }
  // A disc with gaps is an etched disc; the series says where it stopped
  // (a disc that was not burnt has said why already).
  if (request.Series()) {
    if (haltedAfterBurn) terminal.Note(series.HaltText(), stderr);
    if (series.Halted() && series.MayGoOn() && status == kExitGaps)
      terminal.Note(Tr("BurnCommand",
                       "Look at the disc; to go on after a disc with gaps, add --on-gaps continue, "
                       "and burn the rest of the series with another twr burn."),
                    stderr);
    terminal.Note(Arg(Tr("BurnCommand", "twr burn: %1"), {series.SummaryText()}),
                  series.Burnt() == series.Count() && !gaps ? stdout : stderr);
  }
  if (status == kExitOk && gaps) status = kExitGaps;
  if (request.testWedge && status == kExitOk) status = KeepWedgeAnswer(request, *device, messages);
  return status;
}

}  // namespace twr::cli
