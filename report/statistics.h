// Figures of one learner's runs of one drill: the runs over time, the two fact grids, the
// hidden positions and the facts to practise next. Each fact's state comes from the drills'
// shared rule (drill/fact_states.h); the report's own choices live here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "drill/fact_states.h"
#include "drill/log_reader.h"
#include "platform/calendar.h"

namespace report {

using drill::ExactMedian;
using drill::FactState;

// The first whole runs are compared with as many last ones; the change is called clear only
// when the two groups do not overlap, which a learner who does not change shows by chance in
// one case of twenty in each direction.
inline constexpr int kBaselineRuns = 3;
inline constexpr int kPracticeFacts = 10;
inline constexpr int kStates = 5;  // FactState's values

// A fact that is weak now, was weak this long before the learner's last practice of the drill,
// and has not been fluent since has stayed weak over many runs: the page marks it.
inline constexpr int64_t kLongWeakDays = 7;

// Whether a fact's figures say it is weak: slow or missed, judged on enough first asks that it
// is not a first impression.
constexpr bool IsWeak(const drill::FactFigures& f) {
  return (f.state == FactState::kSlow || f.state == FactState::kMissed) && !f.Few();
}

// Whether a fact weak `then` (kLongWeakDays before the last practice) stayed weak up to `now`:
// weak on kFewAnswers first asks since, most of those it is judged on now, and never fluent
// between.
constexpr bool StayedWeak(const drill::FactFigures& then, const drill::FactFigures& now) {
  return IsWeak(then) && IsWeak(now) && now.firstAsks - then.firstAsks >= drill::kFewAnswers &&
         now.weakForDays >= kLongWeakDays;
}

struct FactCell {
  drill::Fact fact;
  bool asked = false;  // whether the drill ever asks it
  drill::FactFigures figures;
  bool longWeak = false;  // weak now and already kLongWeakDays before the last practice
};

struct RunPoint {
  platform::DateTime start;
  int answers = 0;
  ExactMedian median;  // of the solving times: one long pause does not move it
  double missesPerProblem = 0;
  bool full = false;   // all of the drill's 100 answers were read
  bool focus = false;  // a focus run: the child's weak facts, slower by design
};

struct SlotFigures {
  int answers = 0;
  ExactMedian median;
  double missRate = 0;  // share of answers with at least one wrong try
};

// The last kBaselineRuns whole runs' figure against the first kBaselineRuns'. Only normal runs
// count: a focus run asks the facts the child finds hardest, and its slower figure is no
// relapse.
struct Change {
  bool known = false;  // there are 2 * kBaselineRuns whole runs
  ExactMedian first;   // median of the first runs' medians
  ExactMedian last;
  int clear = 0;  // -1 faster, +1 slower, 0 within the runs' own spread
};

struct DrillStats {
  drill::DrillKind kind = drill::DrillKind::kDivision;
  std::vector<RunPoint> runs;              // oldest first
  std::array<FactCell, 81> forward;        // a op b: row a - 1, column b - 1
  std::array<FactCell, 81> inverse;        // 56 ÷ 7: row 7 - 1 (the known number), column 8 - 1
  std::array<SlotFigures, 4> slots;        // every answer, by hidden position
  std::vector<FactCell> practice;          // at most kPracticeFacts, weakest first
  std::array<int, kStates> stateCounts{};  // asked facts, indexed by FactState
  int dueForReview = 0;                    // of the fluent ones, those due for review
  int answers = 0;
  Change change;
  std::vector<FactCell> weak;  // IsWeak facts, weakest first
  int weakMissed = 0;          // of them, missed

  // The cell of a fact place (drill::FactPlace): the 81 forward facts, then the inverse ones.
  FactCell& CellAt(int place) { return place < 81 ? forward[place] : inverse[place - 81]; }
  const FactCell& CellAt(int place) const {
    return place < 81 ? forward[place] : inverse[place - 81];
  }
};

// The learners a teacher should sit with first: a drill with a weak fact.
bool NeedsHelp(const DrillStats& stats);
// Most in need first: more weak facts, then more of them missed, then more that stayed weak.
bool MoreInNeed(const DrillStats& x, const DrillStats& y);
// Days since 1970-01-01 of the run's own local date.
inline int64_t DayNumber(const platform::DateTime& t) {
  return platform::DaysFromCivil(t.date.year, t.date.month, t.date.day);
}

struct LearnerReport {
  std::string name;                // UTF-8
  std::vector<DrillStats> drills;  // division first
};

// Runs of one drill, in any order; they are taken oldest first. The facts' evidence is aged
// against judgingDay (days since 1970 of the runs' clock), else against the newest run's day.
DrillStats Summarize(drill::DrillKind kind, std::vector<const drill::LoggedRun*> runs,
                     std::optional<int64_t> judgingDay = std::nullopt);

}  // namespace report
