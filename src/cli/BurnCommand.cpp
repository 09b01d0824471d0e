// `twr burn`: renders the label as the main window does before a burn,
// checks the disc, prepares the drive and runs the burn with a live progress
// line. Ctrl-C asks the burn to stop; it still ends through its closing steps.
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
#include "cli/Commands.h"
#include "cli/LabelOptions.h"
#include "cli/TerminalMessages.h"
#include "drive/CELDevice.h"
#include "drive/DiscName.h"
#include "drive/DriveSetup.h"
#include "label/BurningArea.h"
#include "label/CELLayout.h"

namespace twr::cli {

namespace {

constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr auto kWatchInterval = std::chrono::milliseconds(50);
constexpr int kExitInterrupted = 130;

std::atomic<int> gInterrupts{0};

extern "C" void OnInterrupt(int) {
  gInterrupts.fetch_add(1);
}

// The live progress line for the snapshot the burn thread keeps.
std::string ProgressLine(const BurnProgressState& state) {
  char line[96];
  std::snprintf(line, sizeof line, "Burning: %3d%%  remaining %s  (%d/%d writes)", state.Percent(),
                state.text.empty() ? "--:--" : state.text.c_str(), state.position - state.low,
                state.high - state.low);
  return line;
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

// The burn thread's messages and the live progress line share the terminal:
// a message first ends the progress line, and once the outcome is out no
// further progress line is drawn over it.
class BurnTerminal : public Messages {
 public:
  explicit BurnTerminal(Messages& inner) : inner_(inner) {}
  void Show(const std::string& text, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    EndLine();
    closed_ = true;
    shown_ = true;
    inner_.Show(text, icon);
  }
  bool AskYesNo(const std::string& text, MessageIcon icon) override {
    std::lock_guard<std::mutex> lock(mutex_);
    EndLine();
    return inner_.AskYesNo(text, icon);
  }
  void Progress(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_) return;
    std::fprintf(stderr, "\r%s", line.c_str());
    std::fflush(stderr);
    lineOpen_ = true;
  }
  void Note(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    EndLine();
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  // Whether any message has been shown through this terminal.
  bool Shown() {
    std::lock_guard<std::mutex> lock(mutex_);
    return shown_;
  }
  void Finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    EndLine();
    closed_ = true;
  }

 private:
  void EndLine() {
    if (lineOpen_) std::fputc('\n', stderr);
    lineOpen_ = false;
  }
  Messages& inner_;
  std::mutex mutex_;
  bool lineOpen_ = false;
  bool closed_ = false;
  bool shown_ = false;
};

// The main window ejects a data side when Rimtone mode is off and asks the
// user to turn the disc over; the burn then goes on with whatever is in the
// tray. On a terminal the user answers with Enter; otherwise the burn goes on
// at once.
void AskToFlip(CELDevice& device, Messages& messages, bool assumeYes) {
  device.StartStopUnit(0);
  messages.ShowString(kStrFlipDisc, MessageIcon::Information);
  if (assumeYes || !isatty(STDIN_FILENO)) return;
  std::printf("Turn the disc over, put it back and press Enter... ");
  std::fflush(stdout);
  std::string line;
  std::getline(std::cin, line);
}

bool ParseQuality(const std::string& text, BurnQuality& quality) {
  if (text.empty() || text == "draft") {
    quality = BurnQuality::Draft;
  } else if (text == "normal") {
    quality = BurnQuality::Normal;
  } else if (text == "high") {
    quality = BurnQuality::High;
  } else {
    return false;
  }
  return true;
}

}  // namespace

int RunBurn(int argc, char** argv) {
  std::string letterText, qualityText;
  bool rimtone = false, assumeYes = false;
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
  args.Option("quality", "Q", "draft, normal or high (default: draft).", &qualityText);
  args.Flag("rimtone", "Burn the unrecorded outer band of a DVD-R/DVD+R data side.", &rimtone);
  args.Flag("yes", "Say Yes to marking a blank disc; do not wait for Enter.", &assumeYes);
  if (const ArgParser::Result r = args.Parse(argc, argv); r != ArgParser::kOk)
    return ExitStatusFor(r);
  BurnQuality quality = BurnQuality::Draft;
  if (!ParseQuality(qualityText, quality)) {
    std::fprintf(stderr, "twr burn: '--quality %s' is not draft, normal or high\n",
                 qualityText.c_str());
    return 2;
  }
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
  for (int i = 0; i < 3; ++i) device->TestUnitReady();
  if (!rimtone && device->GetDiscKind() != kDiscUnknown) AskToFlip(*device, messages, assumeYes);
  for (int i = 0; i < 3; ++i) device->TestUnitReady();
  if (!device->GetConfiguration(0, 0, 32)) {
    messages.ShowString(kStrDiscNotFound, MessageIcon::Error);
    return 1;
  }

  // Rimtone mode is only offered for a DVD-R or DVD+R data side.
  if (rimtone) {
    const std::uint8_t kind = device->GetDiscKind();
    if (kind != kDiscDvdR && kind != kDiscDvdPlusR) {
      std::fprintf(stderr,
                   "twr burn: --rimtone needs the data side of a DVD-R or DVD+R in the drive "
                   "(see 'twr disc').\n");
      return 1;
    }
  }

  // The label, rendered as the main window renders it before a burn.
  const double recordedOuter = rimtone ? device->GetRecordedOuterRadius() : 0.0;
  CELLayout layout;
  RenderedLabel rendered;
  if (!RenderAsMainWindow(label, layout, messages, rendered,
                          LowestInnerRadius(rimtone, recordedOuter)))
    return 1;
  double inner = rendered.inner;
  if (rimtone) inner = std::max(inner, recordedOuter);

  BurnTerminal terminal(messages);
  BurnJob job(*device, terminal);
  BurnProgress progress;
  job.SetEvents(&progress);
  job.SetBand(inner, rendered.outer);
  // What the burn dialog does when it opens: the speed entry and the steps
  // of each quality.
  if (!job.ChooseSpeedEntry()) {
    std::fprintf(stderr,
                 "twr burn: the drive offers no usable burn speed; check that it is a drive "
                 "that can etch labels (see 'twr drives')\n");
    return 1;
  }
  if (!job.ChooseQualitySteps()) return 1;  // its message is out
  job.SetQuality(quality);
  job.ComputeRequiredTime();
  char band[128];
  std::snprintf(band, sizeof band, "Band %.1f - %.1f mm, %d revolutions per step, required time %s",
                inner, rendered.outer, job.Params().steps, job.Params().timeText.c_str());
  terminal.Note(band);
  // As the burn dialog does, name the disc; Draw is only offered for a disc
  // the table accepts.
  const DiscIdentity disc = IdentifyDisc(*device);
  terminal.Note("Disc: " + disc.name.text);
  if (!disc.name.verdict) {
    std::fprintf(stderr,
                 "twr burn: no label can be burned on this disc; put in a disc that takes "
                 "a label (see 'twr disc')\n");
    return 1;
  }
  if (!job.CheckDiscForBurn()) return 1;
  job.SetLabelImage(layout.LabelImageData());

  // Ctrl-C, a closed terminal or a polite kill all ask the burn to stop;
  // the burn then still ends through its closing steps.
  StopSignals stopSignals;
  if (!job.StartBurn()) {
    // A drive that does not get ready stops the burn without a message.
    if (!terminal.Shown())
      std::fprintf(stderr,
                   "twr burn: the drive did not get ready for the burn; check the disc "
                   "and try again\n");
    return 1;
  }
  auto lastPrint = std::chrono::steady_clock::now() - kProgressInterval;
  bool aborted = false;
  while (job.Burning()) {
    if (gInterrupts.load() > 0 && !aborted) {
      aborted = true;
      job.RequestAbort();
      terminal.Note("Stopping after the write in progress...");
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPrint >= kProgressInterval) {
      const BurnProgressState state = progress.Peek();
      if (state.high > state.low) terminal.Progress(ProgressLine(state));
      lastPrint = now;
    }
    std::this_thread::sleep_for(kWatchInterval);
  }
  job.Wait();
  terminal.Finish();
  if (job.Outcome() != StringText(kStrFinishBurning)) return 1;
  return aborted ? kExitInterrupted : 0;
}

}  // namespace twr::cli
