// The report's date range: reading a day from the command line and keeping the runs within.
#include "report/date_range.h"

#include <algorithm>
#include <string>

#include "drill/fact_states.h"

namespace report {

bool DateRange::Contains(const platform::DateTime& start) const {
  return (!from || *from <= start.date) && (!to || start.date <= *to);
}

bool ParseDay(std::string_view text, platform::CivilDate& day) {
  // Year, month and day as a person types them: 2024-03-05, 2024/03/05 or 2024/3/5, one
  // separator throughout; then the log's date reader checks the calendar.
  if (text.size() < 8 || text.size() > 10 || (text[4] != '-' && text[4] != '/')) return false;
  const char separator = text[4];
  const size_t second = text.find(separator, 5);
  if (second == std::string_view::npos) return false;
  const std::string_view month = text.substr(5, second - 5), dayPart = text.substr(second + 1);
  auto digits = [](std::string_view part) {
    return (part.size() == 1 || part.size() == 2) &&
           part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(month) || !digits(dayPart)) return false;
  const std::string padded = std::string(text.substr(0, 4)) + separator +
                             (month.size() == 1 ? "0" : "") + std::string(month) + separator +
                             (dayPart.size() == 1 ? "0" : "") + std::string(dayPart);
  return drill::ParseDate(padded, day);
}

void KeepRange(Collection& collection, const DateRange& range) {
  if (!range.Limited()) return;
  std::vector<Learner> kept;
  for (Learner& learner : collection.learners) {
    const auto outside =
        std::remove_if(learner.runs.begin(), learner.runs.end(),
                       [&](const drill::LoggedRun& run) { return !range.Contains(run.start); });
    const int left = static_cast<int>(learner.runs.end() - outside);
    learner.runs.erase(outside, learner.runs.end());
    collection.outsideRange += left;
    collection.filesRead -= left;
    // A child with no log at all stays listed, as not started.
    if (!left || !learner.runs.empty()) kept.push_back(std::move(learner));
  }
  collection.learners = std::move(kept);
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
