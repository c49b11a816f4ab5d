// The practice log written at the end of a run with at least one right answer.
#pragma once

#include <span>
#include <string>

#include "drill/practice_run.h"
#include "drill/time_text.h"

namespace drill {

// What a log holds: the drill, the start of the run and its solved problems in order, and
// whether it was a focus run.
struct PracticeLogContents {
  DrillKind kind;
  TimeValue startTime;
  std::span<const ProblemRecord> solved;
  bool focus = false;
};

PracticeLogContents LogContentsOf(const PracticeRun& run);

// The log's file name: the start of the run to the second, "20240305090702.log".
std::string PracticeLogName(TimeValue startTime);

// Writes the log into the current directory: false when a step failed, and the caller tells
// the child. Never throws.
[[nodiscard]] bool WritePracticeLog(const PracticeLogContents& log,
                                    const TimeTextSeparators& separators);

}  // namespace drill
