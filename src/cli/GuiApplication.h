// The Qt GUI application of `twr`, started only by the commands that draw
// (render, burn): the others never load fonts or start fontconfig.
#pragma once

namespace twr::cli {

// Remembers the program's arguments for the application made later.
void SetProgramArguments(int argc, char** argv);
// Makes the off-screen GUI application once (text measurement and drawing
// need one, never a screen); nothing when one exists already.
void StartGui();
// Ends the application made by StartGui, before the process exits.
void StopGui();

}  // namespace twr::cli
