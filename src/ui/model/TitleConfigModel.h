// The configuration dialog without its window: the font, the burning area
// and the Rimtone mode, edited on a working copy so that Cancel changes
// nothing any reader sees; the radius texts as the dialog shows and reads
// them; the Rimtone adjustment of the inner radius and the burning-area
// check against the disc in the drive. The dialog shows the working copy
// again whenever Changed says so.
#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/DiscGeometry.h"

namespace twr {
class CELDevice;
class Messages;
}  // namespace twr

namespace twr::ui {

struct TitleConfigValues {
  bool rimtone = false;
  double inner = kBandInnerLimitMm;  // mm
  double outer = kBandOuterLimitMm;  // mm
  std::string font;
  // The narrowest band that holds the label's marks instead of inner-outer
  // (which stay for a change back to the manual area).
  bool automaticArea = false;
};

// A radius as the dialog shows it: the shortest form with up to 15
// significant digits ("25", "36.1"), always with a point.
std::string FormatRadius(double millimetres);
// A radius as typed: a decimal number with a point or a comma (36,1 is
// 36.1), blanks around it allowed, in every locale. False for anything else.
bool ParseRadius(std::string_view text, double& millimetres);

class TitleConfigModel : public QObject {
  Q_OBJECT

 public:
  // Runs a piece of drive work and returns when it is done (in place unless
  // the dialog supplies a runner that keeps its window alive).
  using DriveRunner = std::function<void(const std::function<void()>&)>;
  void SetDriveRunner(DriveRunner runner) { runDrive_ = std::move(runner); }

  // What the main window and the burn dialog read: the values of the last OK.
  const TitleConfigValues& Confirmed() const { return confirmed_; }
  bool Rimtone() const { return confirmed_.rimtone; }
  // An opened design's Rimtone mode, as if the dialog had confirmed it.
  void SetRimtone(bool rimtone) { confirmed_.rimtone = rimtone; }

  // The opening: the caller's values become the working copy, the font
  // list is taken (sorted, each family once) and the font preselected (the
  // first entry equal to the font name, else entry 0); the Rimtone check box
  // is offered only for a DVD-R or DVD+R in the drive.
  void Begin(const TitleConfigValues& values, std::vector<std::string> fonts, CELDevice& device);

  // The working copy as the controls show it.
  const TitleConfigValues& Working() const { return working_; }
  const std::vector<std::string>& Fonts() const { return fonts_; }
  int FontIndex() const { return fontIndex_; }
  bool RimtoneEnabled() const { return rimtoneEnabled_; }
  // Why the check box is not offered (empty while it is): what the drive holds
  // against what Rimtone mode needs.
  const std::string& RimtoneReason() const { return rimtoneReason_; }
  std::string InnerText() const { return FormatRadius(working_.inner); }
  std::string OuterText() const { return FormatRadius(working_.outer); }

  // The radius a refusal is about: which field, with its allowed range,
  // the second line of "Please enter a number." and of "Input correct
  // burning area." says, and where the dialog puts the caret.
  enum class Field { None, Inner, Outer };
  Field Refused() const { return refused_; }

  // Reads the controls in the order mode, outer radius, inner radius. At a
  // radius that is no number "Please enter a number." is shown and reading
  // stops: what was not read keeps its value. False after such a message.
  bool ReadControls(bool rimtone, std::string_view outerText, std::string_view innerText,
                    int fontIndex, Messages& messages);
  // The burning area chosen: automatic (the radii are kept but not used)
  // or manual.
  void ChooseArea(bool automatic);
  // The check box was clicked (after ReadControls): with Rimtone mode on and
  // a finished disc, the inner radius is raised past the recorded data
  // (0.1 mm beyond it, at least 36 mm on a DVD-R, 31 mm on a DVD+R).
  void AdjustInnerRadius(CELDevice& device);
  // OK (after ReadControls): checks the burning area ("Input correct burning
  // area." when refused) and, when it passes, confirms the working copy with
  // the chosen font. True when the dialog may end with OK.
  bool Accept(CELDevice& device, Messages& messages);

 signals:
  // The working copy or the font list changed (Begin, the Rimtone
  // adjustment, an accepted OK): the dialog shows them again.
  void Changed();

 private:
  DriveRunner runDrive_ = [](const std::function<void()>& work) { work(); };
  TitleConfigValues confirmed_;
  TitleConfigValues working_;
  std::vector<std::string> fonts_;
  int fontIndex_ = 0;
  bool rimtoneEnabled_ = false;
  std::string rimtoneReason_;
  Field refused_ = Field::None;
};

}  // namespace twr::ui
