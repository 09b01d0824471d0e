// Entry points of the `twr` commands. Each gets the arguments after the
// command name (argv[0] is the command name) and returns the exit status.
#pragma once

#include <string>

#include "burn/BurnPlan.h"

namespace twr::cli {

int RunLayouts(int argc, char** argv);  // twr layouts
int RunLayout(int argc, char** argv);   // twr layout show|new|set|delete|move
int RunRender(int argc, char** argv);   // twr render
int RunDrives(int argc, char** argv);   // twr drives
int RunDisc(int argc, char** argv);     // twr disc
int RunBurn(int argc, char** argv);     // twr burn
int RunDesign(int argc, char** argv);   // twr design save | show
int RunPlan(int argc, char** argv);     // twr plan

// "draft" (or empty), "normal", "high"; false for anything else.
bool ParseQuality(const std::string& text, BurnQuality& quality);

}  // namespace twr::cli
