// String table texts.
#include "common/Strings.h"

#include <cstdio>

#include "common/Version.h"

namespace twr {

const char kVersionText[] = TWR_VERSION_TEXT;

namespace {
struct Entry {
  int id;
  const char* text;
};

constexpr Entry kTable[] = {
    {kStrNoPassThrough, "This software is only for Windows 2000/XP"},
    {kStrIllegalBytpw, "Illegal parameter in ELS Page (Bytpw)"},
    {kStrIllegalFeedStep, "Illegal parameter in ELS Page (FeedStepLength)"},
    {kStrCannotSaveIni, "Cannot save .ini file."},
    {kStrCannotLoadIni, "Cannot load .ini file."},
    {kStrNoText, "Scan or input text data."},
    {kStrFlipDisc, "Flip a disc to label-side."},
    {kStrBadBurningArea, "Input correct burning area."},
    {kStrFinishBurning, "Finish Burning."},
    {kStrBufferEmpty, "Buffer Empty Error."},
    {kStrDriveNotFound, "Etchlume Drive is not found."},
    {kStrImageNotFound, "Image data is not found."},
    {kStrScanNoDisc, "Disc is not found."},
    {kStrDiscBlank, "Disc is blank. You must not write data afterwards."},
    {kStrDiscIncomplete, "Disc is incomplete. Not support burning."},
    {kStrOverwriteDataArea, "You must not overwrite data area."},
    {kStrDiscUnknown, "Disc is unknown. Not support burning."},
    {kStrDiscNotFound, "Disc is not found."},
    {kStrBurnTitle, "Etchlume Burn"},
    {kStrRequiredTime, "Required Time"},
    {kStrConfigTitle, "Config"},
    {kStrEnterNumber, "Please enter a number."},
};
}  // namespace

const char* StringText(int id) {
  for (const Entry& e : kTable) {
    if (e.id == id) return e.text;
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
