// Summing the solving times and formatting the dialog's four values.
#include "drill/summary.h"

#include "drill/texts.h"

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

Summary SummarizeRun(const PracticeRun& run, const TimeTextSeparators& separators) {
  Summary summary;
  summary.startTime =
      DateTimeText(kDialogDatePattern, kDialogTimePattern, run.StartTime(), separators);
  const TimeValue total = run.TotalSolvingTime();
  summary.totalTime = FormatTimeValue(kDurationPattern, total, separators);
  summary.problemCount = std::to_string(run.RightCount());
  if (run.RightCount() > 0) {
    // The quotient is formed in extended precision, then held as a double.
    long double average = static_cast<long double>(total) / run.RightCount();
    summary.averageTime =
        FormatTimeValue(kDurationPattern, static_cast<TimeValue>(average), separators);
  }
  return summary;
}

}  // namespace drill
