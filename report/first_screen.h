// The page's first screen for a teacher: who needs help now and with what, and the figures of
// practice a glance should give (days practised in the recent weeks, the last practice, the
// fluent facts of each row of the grids).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/statistics.h"

namespace report {

inline constexpr int kRecentWeeks = 4;
inline constexpr size_t kNeedRows = 14;  // rows of the list of learners in need: a screen's worth
inline constexpr size_t kNeedFacts = 3;  // weak facts named per drill

// The anchor of a learner's drill on the page.
std::string DrillId(size_t learner, drill::DrillKind drill);

// The newest day with a run of any learner, as DayNumber(); -1 when there is none. The page
// counts "days ago" from it, so that every figure follows from the logs alone.
int64_t LastDayOf(const std::vector<LearnerReport>& learners);

// Days with a run of the drill in each of the kRecentWeeks weeks, Monday to Sunday, that end
// with the week of lastDay; the oldest week first.
std::array<int, kRecentWeeks> WeekDays(const DrillStats& stats, int64_t lastDay);
std::string WeekDaysText(const DrillStats& stats, int64_t lastDay);  // 2・3・5・4日
// The last practice with the days since lastDay: 4月10日(金)・3日前.
std::string LastPracticeText(const DrillStats& stats, int64_t lastDay);

struct InNeed {
  size_t learner = 0;                     // index into the learners
  std::vector<const DrillStats*> drills;  // those that need help, most in need first
};
// The learners with a drill that NeedsHelp, most in need first (by their neediest drill), ties
// in the class's order.
std::vector<InNeed> LearnersInNeed(const std::vector<LearnerReport>& learners);

// The section that opens the page: its rule in one sentence and the learners in need.
std::string NeedSection(const std::vector<LearnerReport>& learners, int64_t lastDay);

// For each row of the grids (7の段; in the subtraction drill, what is taken away), how many
// facts are fluent of those asked.
std::string RowCounts(const DrillStats& stats);

// A weak fact as the lists show it: its state's mark, the fact, and 続 when it stayed weak.
std::string MarkedFact(const FactCell& cell);

}  // namespace report
