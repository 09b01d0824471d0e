// `twr burn`: renders the label as the main window does before a burn,
// checks the disc, prepares the drive and runs the burn with its progress:
// a live line on a terminal, plain lines otherwise. Ctrl-C asks the burn to
// stop; it still ends through its closing steps.
#include <QImage>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "burn/BurnJob.h"
#include "burn/BurnProgress.h"
#include "cli/Args.h"
#include "cli/BurnProgressView.h"
#include "cli/Commands.h"
#include "cli/GuiApplication.h"
#include "cli/LabelOptions.h"
#include "cli/SettingsFile.h"
#include "cli/StatusLine.h"
#include "cli/TerminalMessages.h"
#include "common/DecimalText.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DiscScan.h"
#include "drive/DriveSetup.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"
#include "label/LabelWarnings.h"

namespace twr::cli {

namespace {

// A live line is redrawn four times a second; plain lines are looked for at
// every watch, since they are written only when the percent changes.
constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr auto kWatchInterval = std::chrono::milliseconds(50);
// After a disc is turned over the tray takes a moment to settle.
constexpr auto kReadyWait = std::chrono::seconds(60);
constexpr auto kReadyPoll = std::chrono::milliseconds(250);
constexpr int kReadyTries = 3;
constexpr int kRadiusDecimals = 1;

std::atomic<int> gInterrupts{0};

extern "C" void OnInterrupt(int) {
  gInterrupts.fetch_add(1);
}

bool Interrupted() {
  return gInterrupts.load() > 0;
}

// Catches the signals that would end the process while it burns, and puts
// the previous handlers back when it goes.
class StopSignals {
 public:
  StopSignals() {
    // Cleared first: a signal that comes while the handlers go in is kept.
    gInterrupts.store(0);
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kSignals.size(); ++i)
      sigaction(kSignals[i], &action, &previous_[i]);
  }
  ~StopSignals() {
    for (std::size_t i = 0; i < kSignals.size(); ++i)
      sigaction(kSignals[i], &previous_[i], nullptr);
  }
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  static constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};
  std::array<struct sigaction, 3> previous_{};
};

// The burn thread's messages and the status line share the terminal: a
// message first ends the line, and once the outcome is out no further
// progress is drawn over it. An outcome other than "Finish Burning." is a
// failure and goes to stderr with the errors.
class BurnTerminal : public Messages {
 public:
  BurnTerminal(Messages& inner, StatusLine& line) : inner_(inner), line_(line), view_(line) {}
  void Show(const std::string& text, MessageIcon icon) override { ShowDetailed(text, {}, icon); }
  void ShowDetailed(const std::string& text, const std::string& detail, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    line_.End();
    if (burning_ && icon == MessageIcon::Information && text != StringText(kStrFinishBurning))
      icon = MessageIcon::Error;
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

 private:
  Messages& inner_;
  StatusLine& line_;
  BurnProgressView view_;
  std::mutex mutex_;
  bool burning_ = false;
  bool closed_ = false;
  bool shown_ = false;
};

// The main window ejects a data side when Rimtone mode is off and asks the
// user to turn the disc over. On a terminal the user answers with Enter;
// otherwise (or with --yes) the burn goes on at once. False when a signal
// came while waiting for Enter.
bool AskToFlip(CELDevice& device, BurnTerminal& terminal, bool assumeYes) {
  device.StartStopUnit(0);
  terminal.Show(StringText(kStrFlipDisc), MessageIcon::Information);
  if (assumeYes || !isatty(STDIN_FILENO)) return !Interrupted();
  std::fprintf(stderr, "Turn the disc over, put it back and press Enter... ");
  std::fflush(stderr);
  std::string line;
  std::getline(std::cin, line);
  return !Interrupted();
}

enum class ReadyWait { Ready, TimedOut, Stopped };

// Waits until the drive answers TEST UNIT READY again after the disc went
// out and back, with the seconds left on the status line.
ReadyWait WaitUntilReady(CELDevice& device, StatusLine& line) {
  const auto deadline = std::chrono::steady_clock::now() + kReadyWait;
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
    line.Show(
        "Waiting for the drive to be ready: " + std::to_string(seconds) + " s left (Ctrl-C stops)",
        false);
    std::this_thread::sleep_for(kReadyPoll);
  }
}

std::string Mm(double value) {
  return FormatDecimal(value, kRadiusDecimals);
}

int Stopped(BurnTerminal& terminal) {
  terminal.Note("twr burn: stopped before the burn began; nothing was written.", stderr);
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
  std::printf("Scanned: title '%s', date '%s', %zu note lines%s\n", label.title.c_str(),
              label.date.c_str(), label.notes.size(), entries.c_str());
  return true;
}

}  // namespace

int RunBurn(int argc, char** argv) {
  std::string letterText, qualityText;
  bool rimtone = false, assumeYes = false, scan = false;
  LabelOptions label;
  ArgParser args("burn",
                 "Burns a label onto the disc in a drive: renders the layout as the main\n"
                 "window does, checks the disc, prepares the drive and burns, showing the\n"
                 "progress. Ctrl-C stops the burn after the write in progress.");
  args.Option("drive", "DRIVE",
              "Drive letter as 'twr drives' shows it, or its device (/dev/sr0); default: the "
              "first.",
              &letterText);
  AddLabelOptions(args, label);
  args.Choice("quality", "Q", "draft, normal or high (default: draft).",
              {"draft", "normal", "high"}, &qualityText);
  args.Flag("rimtone", "Burn the unrecorded outer band of a DVD-R/DVD+R data side.", &rimtone);
  args.Flag("yes", "Say Yes to marking a blank disc; do not wait for Enter.", &assumeYes);
  args.Flag("scan",
            "Take the title, date and note from the disc first, as Scan does: its volume "
            "name, date and top-level folders and files (--title, --date and --note win).",
            &scan);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  BurnQuality quality = BurnQuality::Draft;
  ParseQuality(qualityText, quality);
  DriveChoice drive;
  if (!ParseDriveChoice(letterText, drive)) {
    std::fprintf(stderr,
                 "twr burn: '--drive %s' is neither a drive letter nor a device path (see 'twr "
                 "drives')\n",
                 letterText.c_str());
    return 2;
  }

  TerminalMessages messages(assumeYes);
  if (!CELDevice::IsPassThroughAvailable()) {
    messages.ShowString(kStrNoPassThrough, MessageIcon::Error);
    return 1;
  }
  if (scan && !ScanIntoLabel(drive, label, messages)) return kExitFailure;
  auto device = std::make_unique<CELDevice>();
  // Held exclusively until the device goes: a mounted drive, or one another
  // burn holds, is refused before anything is written.
  if (const DriveOpening opening = OpenDriveForBurn(*device, drive); !opening.Ok()) {
    if (opening.error == DriveOpenError::NotListed)
      messages.ShowString(kStrDriveNotFound, MessageIcon::Error);
    else
      std::fprintf(stderr, "twr burn: %s\n", opening.FailureText().c_str());
    return 1;
  }

  // Ctrl-C, a closed terminal or a polite kill stop the waits before the
  // burn, and ask the burn itself to stop; it then still ends through its
  // closing steps.
  StopSignals stopSignals;
  StatusLine line(stdout, isatty(STDOUT_FILENO) != 0);
  BurnTerminal terminal(messages, line);
  for (int i = 0; i < kReadyTries; ++i) device->TestUnitReady();
  if (!rimtone && device->GetDiscKind() != kDiscUnknown) {
    if (!AskToFlip(*device, terminal, assumeYes)) return Stopped(terminal);
    switch (WaitUntilReady(*device, line)) {
      case ReadyWait::Ready:
        break;
      case ReadyWait::Stopped:
        return Stopped(terminal);
      case ReadyWait::TimedOut:
        messages.ShowDetailed(StringText(kStrDiscNotFound),
                              "The drive was not ready a minute after the disc went out: put "
                              "the disc back label side down and run twr burn again.",
                              MessageIcon::Error);
        return kExitFailure;
    }
  }
  for (int i = 0; i < kReadyTries; ++i) device->TestUnitReady();
  if (!device->GetConfiguration(0, 0, 32)) {
    messages.ShowString(kStrDiscNotFound, MessageIcon::Error);
    return kExitFailure;
  }

  // Rimtone mode is only offered for a DVD-R or DVD+R data side.
  if (rimtone) {
    const std::uint8_t kind = device->GetDiscKind();
    if (kind != kDiscDvdR && kind != kDiscDvdPlusR) {
      std::fprintf(stderr,
                   "twr burn: --rimtone needs the data side of a DVD-R or DVD+R in the drive "
                   "(see 'twr disc').\n");
      return kExitFailure;
    }
  }

  // The label, rendered as the main window renders it before a burn.
  StartGui();
  const double recordedOuter = rimtone ? device->GetRecordedOuterRadius() : 0.0;
  CELLayout layout(Settings().path);
  RenderedLabel rendered;
  if (const int status = RenderAsMainWindow(label, layout, messages, rendered,
                                            LowestInnerRadius(rimtone, recordedOuter));
      status != kExitOk)
    return status;
  double inner = rendered.inner;
  if (rimtone) inner = std::max(inner, recordedOuter);
  PrintLabelWarnings("burn", CheckLabel(layout, label.TypedNote(), {inner, rendered.outer}));

  BurnJob job(*device, terminal);
  TerminalBurnProgress progress;
  job.SetEvents(&progress);
  job.SetBand(inner, rendered.outer);
  // What the burn dialog does when it opens: the speed entry and the steps
  // of each quality.
  if (!job.ChooseSpeedEntry()) {
    std::fprintf(stderr,
                 "twr burn: the drive offers no usable burn speed; check that it is a drive "
                 "that can etch labels (see 'twr drives')\n");
    return kExitFailure;
  }
  if (!job.ChooseQualitySteps()) return kExitFailure;  // its message is out
  job.SetQuality(quality);
  job.ComputeRequiredTime();
  terminal.Note("Band " + Mm(inner) + " - " + Mm(rendered.outer) + " mm, " +
                std::to_string(job.Params().steps) + " revolutions per step, required time " +
                job.Params().timeText);
  // As the burn dialog does, name the disc; Draw is only offered for a disc
  // the table accepts.
  const DiscIdentity disc = IdentifyDisc(*device);
  terminal.Note("Disc: " + disc.name.text);
  if (!disc.name.verdict) {
    std::fprintf(stderr,
                 "twr burn: no label can be burned on this disc; put in a disc that takes "
                 "a label (see 'twr disc')\n");
    return kExitFailure;
  }
  if (!job.CheckDiscForBurn()) return Interrupted() ? Stopped(terminal) : kExitFailure;
  if (Interrupted()) return Stopped(terminal);
  job.SetLabelImage(layout.LabelImageData());

  terminal.BurnStarted();
  if (!job.StartBurn()) {
    // A drive that does not get ready stops the burn without a message.
    if (!terminal.Shown())
      std::fprintf(stderr,
                   "twr burn: the drive did not get ready for the burn; check the disc "
                   "and try again\n");
    return kExitFailure;
  }
  const auto showEvery = line.Live() ? kProgressInterval : kWatchInterval;
  auto lastShown = std::chrono::steady_clock::now() - showEvery;
  bool aborted = false;
  while (job.Burning()) {
    if (Interrupted() && !aborted) {
      aborted = true;
      job.RequestAbort();
      terminal.Note("Stopping after the write in progress; the drive is then put back...");
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown >= showEvery) {
      terminal.Progress(progress.Peek());
      lastShown = now;
    }
    std::this_thread::sleep_for(kWatchInterval);
  }
  job.Wait();
  terminal.Finish();
  if (job.Outcome() != StringText(kStrFinishBurning)) return kExitFailure;
  if (!aborted) return kExitOk;
  terminal.Note("twr burn: stopped after " + WritePosition(progress.AtClose()) +
                    "; the label is not complete.",
                stderr);
  return kExitInterrupted;
}

}  // namespace twr::cli
