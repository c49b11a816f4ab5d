// The report's date range: reading a day from the command line and keeping the runs within.
#include "report/date_range.h"

#include <algorithm>

#include "drill/fact_states.h"

namespace report {

bool DateRange::Contains(const platform::DateTime& start) const {
  return (!from || *from <= start.date) && (!to || start.date <= *to);
}

bool ParseDay(std::string_view text, platform::CivilDate& day) {
  // The log's date reader, held to the two separators a person types for a date.
  return text.size() == 10 && (text[4] == '-' || text[4] == '/') && text[7] == text[4] &&
         drill::ParseDate(text, day);
}

void KeepRange(Collection& collection, const DateRange& range) {
  if (!range.Limited()) return;
  for (Learner& learner : collection.learners) {
    const auto outside =
        std::remove_if(learner.runs.begin(), learner.runs.end(),
                       [&](const drill::LoggedRun& run) { return !range.Contains(run.start); });
    const int left = static_cast<int>(learner.runs.end() - outside);
    learner.runs.erase(outside, learner.runs.end());
    collection.outsideRange += left;
    collection.filesRead -= left;
  }
  std::erase_if(collection.learners, [](const Learner& learner) { return learner.runs.empty(); });
}

int64_t JudgingDay(const Collection& collection, const DateRange& range) {
  auto dayOf = [](const platform::CivilDate& date) {
    return platform::DaysFromCivil(date.year, date.month, date.day);
  };
  if (range.to) return dayOf(*range.to);
  int64_t newest = 0;
  bool any = false;
  for (const Learner& learner : collection.learners) {
    for (const drill::LoggedRun& run : learner.runs) {
      newest = any ? std::max(newest, dayOf(run.start.date)) : dayOf(run.start.date);
      any = true;
    }
  }
  return newest;
}

}  // namespace report
