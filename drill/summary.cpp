// Summing the solving times and formatting the dialog's four values.
#include "drill/summary.h"

#include "drill/drill_state.h"
#include "drill/texts.h"
#include "drill/time_text.h"

namespace drill {

namespace {

// "yyyy"/"m"/"d" and "hh":"nn":"ss": the separators are quoted, so the dialog shows "/" and
// ":" whatever the regional settings.
constexpr char kDialogDatePattern[] = "yyyy\"/\"m\"/\"d";
constexpr char kDialogTimePattern[] = "hh\":\"nn\":\"ss";
// nn"分 "ss"秒"zzz: minutes, a space after 分, nothing between 秒 and the milliseconds.
const std::string kDurationPattern =
    std::string("nn\"") + texts::kMinutes + " \"ss\"" + texts::kSeconds + "\"zzz";

}  // namespace

Summary SummarizeRun() {
  Summary summary;
  DatePattern = kDialogDatePattern;
  TimePattern = kDialogTimePattern;
  summary.startTime = DateTimeText(Drill.StartTime);
  Drill.TotalTime = 0;
  for (int k = 1; k <= Drill.RightCount; ++k)
    Drill.TotalTime += Drill.ProblemTable[k].Time;
  TimePattern = kDurationPattern;
  summary.totalTime = TimeText(Drill.TotalTime);
  summary.problemCount = std::to_string(Drill.RightCount);
  if (Drill.RightCount > 0) {
    long double average = static_cast<long double>(Drill.TotalTime) / Drill.RightCount;
    summary.averageTime = TimeText(static_cast<TimeValue>(average));
  }
  return summary;
}

}  // namespace drill
