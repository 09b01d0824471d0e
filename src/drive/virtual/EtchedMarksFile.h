// The marks on the virtual drive's disc kept between runs, beside its etched
// picture, so that a second burn adds to the first as on a real disc. The
// file names the disc it belongs to; a file of another disc is no marks.
#pragma once

#include <map>
#include <string>

#include "drive/EtchModel.h"

namespace twr {

// "etched.png" -> "etched.marks".
std::string EtchedMarksPath(const std::string& etchedPath);

enum class MarksLoad {
  Loaded,     // the marks of this disc
  Missing,    // no file: an unmarked disc
  OtherDisc,  // the marks of another disc: an unmarked disc
  Damaged,    // unreadable or malformed (`why` says how)
};

// Reads the marks of the disc named `discKey`, one surface per side.
MarksLoad LoadEtchedMarks(const std::string& path, const std::string& discKey,
                          std::map<std::string, EtchedSurface>& surfaces, std::string& why);

// Writes them (the file is replaced whole); false with `why`.
bool SaveEtchedMarks(const std::string& path, const std::string& discKey,
                     const std::map<std::string, EtchedSurface>& surfaces, std::string& why);

}  // namespace twr
