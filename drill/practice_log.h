// The practice log written at the end of a run with at least one right answer.
#pragma once

#include "drill/variant.h"

namespace drill {

// Names the log after Drill.StartTime into Drill.LogFileName and writes it into the current
// directory. A failure shows the warning box once; it always returns normally.
void WritePracticeLog(const DrillVariant& variant);
// The same without the box: false when a step failed.
bool WritePracticeLogQuietly(const DrillVariant& variant);
// The warning box of a failed log.
void ShowLogFailure();

}  // namespace drill
