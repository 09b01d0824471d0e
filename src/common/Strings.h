// The program's string table: every message and caption it shows, keyed by
// the resource ids the messages have always had.
#pragma once

#include <string>

#include "common/Translate.h"

namespace twr {

enum StringId : int {
  kStrNoPassThrough = 100,    // SCSI pass-through is not available
  kStrIllegalBytpw = 401,     // ELS page: Bytpw out of range
  kStrIllegalFeedStep = 402,  // ELS page: FeedStepLength is zero
  kStrCannotSaveIni = 800,
  kStrCannotLoadIni = 801,
  kStrNoText = 802,
  kStrFlipDisc = 803,
  kStrBadBurningArea = 804,
  kStrFinishBurning = 1000,
  kStrBufferEmpty = 1001,
  kStrDriveNotFound = 1003,
  kStrImageNotFound = 1004,
  kStrScanNoDisc = 1006,
  kStrDiscBlank = 1100,
  kStrDiscIncomplete = 1101,
  kStrOverwriteDataArea = 1102,
  kStrDiscUnknown = 1103,
  kStrDiscNotFound = 1104,
  kStrBurnTitle = 1500,
  kStrRequiredTime = 1502,
  kStrConfigTitle = 1503,
  kStrEnterNumber = 61713,
};

// Text of a string-table entry in the user's language (common/Translate.h:
// English until a front end sets a translation); "" for an id the table lacks.
const char* StringText(int id);

// Texts that are not string-table entries but are fixed all the same.
inline constexpr const char* kWritingErrorFormat = "Writing Error[Sense=%x,Asc=%x,Ascq=%x]";
// Marked for the translation tools; Tr("Strings", kInputRadiusError) gives it
// in the user's language where it is shown.
inline constexpr const char* kInputRadiusError =
    TWR_TRANSLATE_NOOP("Strings", "Input Radius Error.");
inline constexpr const char* kAppName = "Titlewright";
// The version text: the project's version (CMakeLists.txt) and its edition letter.
extern const char kVersionText[];
// Main window title: the name, two blanks, "Version" and the version text.
std::string MainWindowTitle();

// "Writing Error[Sense=5,Asc=21,Ascq=0]" for the three sense values.
std::string WritingErrorText(unsigned senseKeyByte, unsigned asc, unsigned ascq);

}  // namespace twr
