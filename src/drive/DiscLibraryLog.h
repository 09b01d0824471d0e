// The log of the ISO 9660 library (libiso9660 / libcdio) the virtual drive
// lists disc images with. Its default handler prints warnings about odd
// images as "++ WARN: ..." lines on stdout, where `twr` writes its results
// and JSON; the program's own checks already say what an image lacks.
#pragma once

namespace twr {

// Routes the library's log away from stdout: its messages are dropped.
// Called once by each main() before any disc image is read.
void QuietDiscLibraryLog();

}  // namespace twr
