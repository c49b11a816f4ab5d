// Start-up, the event loop and shutdown of one build of the drill.
#pragma once

#include "drill/variant.h"

namespace app {

// Runs the program for a variant from start to exit; returns the exit code.
int RunProgram(const drill::DrillVariant& variant);

}  // namespace app
