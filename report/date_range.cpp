// The report's date range: reading a day from the command line and keeping the runs within.
#include "report/date_range.h"

#include <algorithm>
#include <string>

namespace report {

bool DateRange::Contains(const drill::StartTime& start) const {
  const Day day{start.year, start.month, start.day};
  return (!from || *from <= day) && (!to || day <= *to);
}

bool ParseDay(std::string_view text, Day& day) {
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
  drill::StartTime start;
  if (!drill::ParseDate(padded, start)) return false;
  day = {start.year, start.month, start.day};
  return true;
}

void KeepRange(Collection& collection, const DateRange& range) {
  if (!range.Limited()) return;
  std::vector<Learner> kept;
  for (Learner& learner : collection.learners) {
    const auto outside =
        std::remove_if(learner.runs.begin(), learner.runs.end(),
                       [&](const drill::Run& run) { return !range.Contains(run.start); });
    const int left = static_cast<int>(learner.runs.end() - outside);
    learner.runs.erase(outside, learner.runs.end());
    collection.outsideRange += left;
    collection.filesRead -= left;
    // A child with no log at all stays listed, as not started.
    if (!left || !learner.runs.empty()) kept.push_back(std::move(learner));
  }
  collection.learners = std::move(kept);
}

}  // namespace report
