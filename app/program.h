// Start-up, the event loop and shutdown of one build of the drill.
#pragma once

#include <span>
#include <string>

#include "drill/variant.h"

namespace app {

// What the command line asks of a drill.
struct DrillOptions {
  bool focus = false;  // a focus run on the facts the logs in the current folder find weak
};

// "/focus" or "--focus", in any letter case, asks for a focus run; other arguments are
// ignored, as a shortcut may carry more than the drill knows.
DrillOptions ParseDrillOptions(std::span<const std::string> arguments);

// Runs the program for a variant from start to exit with the arguments it was started with;
// returns the exit code.
int RunProgram(const drill::DrillVariant& variant);

}  // namespace app
