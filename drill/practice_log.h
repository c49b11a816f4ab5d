// The practice log written at the end of a run with at least one right answer.
#pragma once

#include <span>
#include <string>

#include "drill/practice_run.h"
#include "drill/time_text.h"

namespace drill {

// What a log holds: the drill, the start of the run and its solved problems in order.
struct PracticeLogContents {
  DrillKind kind;
  TimeValue startTime;
  std::span<const ProblemRecord> solved;
};

PracticeLogContents LogContentsOf(const PracticeRun& run);

// The log's file name: the start of the run to the second, "20240305090702.log".
std::string PracticeLogName(TimeValue startTime);

// Writes the log into the current directory. A failure shows the warning box once; it always
// returns normally.
void WritePracticeLog(const PracticeLogContents& log, const TimeTextSeparators& separators);
// The same without the box: false when a step failed.
bool WritePracticeLogQuietly(const PracticeLogContents& log, const TimeTextSeparators& separators);
// The warning box of a failed log.
void ShowLogFailure();

}  // namespace drill
