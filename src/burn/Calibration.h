// The calibration of a drive and a kind of disc: a wedge of numbered grey
// steps burnt in a narrow band at the rim, the user's answer (the first step
// that visibly marks, the first that looks fully dark) kept per drive model
// and disc kind in the [Calibration] section of the settings file, and what
// it does to fit to etch and the as-etched view: the dots below the first
// mark show nothing, those from the first dark step on are fully dark, so
// the greys a picture is spread over are those between. No widgets.
#pragma once

#include <QImage>

#include <optional>
#include <string>
#include <vector>

#include "burn/BurnPlan.h"
#include "common/WholeFile.h"
#include "drive/DyeResponse.h"
#include "label/PictureSettings.h"

namespace twr {

class ElsPage;
class ProfileFile;

inline constexpr int kWedgeSteps = 12;
// The wedge's band: the grey patches lie outside kWedgePatchInnerMm, their
// numbers inside it.
inline constexpr double kWedgeInnerMm = 54.0;
inline constexpr double kWedgePatchInnerMm = 56.0;
inline constexpr double kWedgeOuterMm = 58.0;
inline constexpr const char* kCalibrationSection = "Calibration";

struct WedgeStep {
  int number = 0;      // 1 ... kWedgeSteps, the lightest first
  int grey = 255;      // the label grey it is drawn in
  double share = 0.0;  // the share of a sample's dots its grey leaves (0 ... 1)
};

// The wedge's steps for a burn that turns greys into marks as `tone` says:
// step k the grey whose share of dots comes nearest to k / kWedgeSteps, each
// darker than the step before. Empty when `tone` is not known.
std::vector<WedgeStep> WedgeSteps(const EtchTone& tone);
// Where step `number`'s patch lies: its middle, in degrees clockwise from
// the top of the label.
double WedgeStepAngle(int number);
// The wedge label (`side` pixels square, 116 mm across): each step's patch
// between kWedgePatchInnerMm and kWedgeOuterMm and its number in black
// inside it; white elsewhere.
QImage WedgeLabel(const std::vector<WedgeStep>& steps, int side);
// What the wedge burns: its band on the label side at Draft.
BurnTarget WedgeTarget();

// What a disc shows for the share of dots a burn leaves: nothing up to
// `unmarked`, fully dark from `dark` on, in between rising evenly.
struct CalibrationProfile {
  double unmarked = 0.0;  // share of dots, 0 ... 1
  double dark = 1.0;      // share of dots, above `unmarked`, at most 1
  bool operator==(const CalibrationProfile&) const = default;
  // The darkness (0 ... 1) a share of dots shows.
  double Darkness(double share) const;
};

// The profile from the user's answer about a wedge of `steps`: the first
// step that visibly marks and the first that looks fully dark (numbers from
// 1, firstMark <= firstDark). Empty when the numbers do not fit the steps.
std::optional<CalibrationProfile> ProfileFromAnswer(const std::vector<WedgeStep>& steps,
                                                    int firstMark, int firstDark);
// Why the answer does not fit a wedge of kWedgeSteps, in words; empty when it does.
std::string CheckWedgeAnswer(int firstMark, int firstDark);

// The key of a drive model ("VENDOR PRODUCT" as the drive names itself) and
// a disc kind ("label", "dvd-r", ...) in [Calibration]; what the settings
// file cannot hold in a key becomes '_'.
std::string CalibrationKey(const std::string& vendor, const std::string& product,
                           const std::string& discKind);
// The kept profile of `key`; empty when none is kept or it is unreadable.
std::optional<CalibrationProfile> ReadCalibration(const ProfileFile& settings,
                                                  const std::string& key);
// Keeps `profile` for `key` in the settings file at `path` (the settings
// editor: every other line stays as it is).
FileWriteResult KeepCalibration(const std::string& path, const std::string& key,
                                const CalibrationProfile& profile);
// The value as the file holds it: "unmarked,dark" in percent of the dots.
std::string CalibrationValue(const CalibrationProfile& profile);

// How a burn with `tone` marks a drive and disc with `profile`: each grey's
// level the visible darkness of its dots, so that greys below the first mark
// leave no mark and those past the first dark step all the full one. Fit to
// etch then spreads a picture over the greys that show; the simulated etch
// draws through the same profile. A tone that is not known stays as it is.
EtchTone CalibratedEtchTone(const EtchTone& tone, const CalibrationProfile& profile);
// The same profile for the simulated etch (EtchRequest::response).
DyeResponse CalibratedResponse(const CalibrationProfile& profile);

// The disc kind a calibration is kept under for `disc`: "label" for a label
// side, "dvd-r" or "dvd+r" for a data side of that kind, "data" for a data
// side of a kind not known.
std::string CalibrationDiscKind(const BurnDisc& disc);

// How a burn marks and how its etch shows, for one drive model and disc.
struct DriveEtch {
  EtchTone tone;                              // what fit to etch spreads a picture over
  DyeResponse response;                       // what the simulated etch draws the dots through
  std::optional<CalibrationProfile> profile;  // the kept calibration used, if any
};
// The etch tone of `page` at `quality` (the example drive's page when
// `page` gives none) and the straight response; when `settings` keeps a
// calibration for the drive model (`vendor`, `product`; empty: none known)
// and `disc`, both through it. The window's as-etched view, `twr render
// --etched` and `twr burn` take their tone and response from here.
DriveEtch DriveEtchFor(const ElsPage& page, BurnQuality quality, const ProfileFile& settings,
                       const std::string& vendor, const std::string& product, const BurnDisc& disc);

}  // namespace twr
