// The results of a practice run as the results dialog shows them.
#pragma once

#include <optional>
#include <string>

#include "drill/practice_run.h"
#include "drill/time_text.h"

namespace drill {

struct Summary {
  std::string startTime;                   // date, and the time unless it is 00:00:00
  std::string totalTime;                   // sum of the solving times
  std::string problemCount;                // right answers
  std::optional<std::string> averageTime;  // none before the first right answer
};

Summary SummarizeRun(const PracticeRun& run, const TimeTextSeparators& separators);

}  // namespace drill
