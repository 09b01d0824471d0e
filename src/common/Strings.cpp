// String table texts.
#include "common/Strings.h"

#include <cstdio>

#include "common/Translate.h"
#include "common/Version.h"

namespace twr {

const char kVersionText[] = TWR_VERSION_TEXT;

namespace {
// The translation context of the table's texts.
constexpr const char* kStringsContext = "Strings";

struct Entry {
  int id;
  const char* text;
};

constexpr Entry kTable[] = {
    {kStrNoPassThrough, TWR_TRANSLATE_NOOP("Strings", "This software is only for Windows 2000/XP")},
    {kStrIllegalBytpw, TWR_TRANSLATE_NOOP("Strings", "Illegal parameter in ELS Page (Bytpw)")},
    {kStrIllegalFeedStep,
     TWR_TRANSLATE_NOOP("Strings", "Illegal parameter in ELS Page (FeedStepLength)")},
    {kStrCannotSaveIni, TWR_TRANSLATE_NOOP("Strings", "Cannot save .ini file.")},
    {kStrCannotLoadIni, TWR_TRANSLATE_NOOP("Strings", "Cannot load .ini file.")},
    {kStrNoText, TWR_TRANSLATE_NOOP("Strings", "Scan or input text data.")},
    {kStrFlipDisc, TWR_TRANSLATE_NOOP("Strings", "Flip a disc to label-side.")},
    {kStrBadBurningArea, TWR_TRANSLATE_NOOP("Strings", "Input correct burning area.")},
    {kStrFinishBurning, TWR_TRANSLATE_NOOP("Strings", "Finish Burning.")},
    {kStrBufferEmpty, TWR_TRANSLATE_NOOP("Strings", "Buffer Empty Error.")},
    {kStrDriveNotFound, TWR_TRANSLATE_NOOP("Strings", "Etchlume Drive is not found.")},
    {kStrImageNotFound, TWR_TRANSLATE_NOOP("Strings", "Image data is not found.")},
    {kStrScanNoDisc, TWR_TRANSLATE_NOOP("Strings", "Disc is not found.")},
    {kStrDiscBlank,
     TWR_TRANSLATE_NOOP("Strings", "Disc is blank. You must not write data afterwards.")},
    {kStrDiscIncomplete, TWR_TRANSLATE_NOOP("Strings", "Disc is incomplete. Not support burning.")},
    {kStrOverwriteDataArea, TWR_TRANSLATE_NOOP("Strings", "You must not overwrite data area.")},
    {kStrDiscUnknown, TWR_TRANSLATE_NOOP("Strings", "Disc is unknown. Not support burning.")},
    {kStrDiscNotFound, TWR_TRANSLATE_NOOP("Strings", "Disc is not found.")},
    {kStrBurnTitle, TWR_TRANSLATE_NOOP("Strings", "Etchlume Burn")},
    {kStrRequiredTime, TWR_TRANSLATE_NOOP("Strings", "Required Time")},
    {kStrConfigTitle, TWR_TRANSLATE_NOOP("Strings", "Config")},
    {kStrEnterNumber, TWR_TRANSLATE_NOOP("Strings", "Please enter a number.")},
};
}  // namespace

const char* StringText(int id) {
  for (const Entry& e : kTable) {
    if (e.id == id) return Tr(kStringsContext, e.text);
  }
  return "";
}

std::string MainWindowTitle() {
  return std::string(kAppName) + "  Version " + kVersionText;
}

std::string WritingErrorText(unsigned senseKeyByte, unsigned asc, unsigned ascq) {
  char text[64];
  std::snprintf(text, sizeof text, kWritingErrorFormat, senseKeyByte & 0xFFu, asc & 0xFFu,
                ascq & 0xFFu);
  return text;
}

}  // namespace twr
