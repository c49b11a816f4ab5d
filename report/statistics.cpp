// The figures behind the report, computed from the runs in the order they were practised.
#include "report/statistics.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace report {

namespace {

// The middle of the first or the last kBaselineRuns values, and their lowest and highest.
struct Group {
  uint64_t middle, lowest, highest;
};

Group GroupOf(std::vector<uint64_t> values) {
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values.front(), values.back()};
}

Change ChangeOf(const std::vector<RunPoint>& runs) {
  std::vector<uint64_t> whole;
  for (const RunPoint& run : runs) {
    if (run.full && !run.focus) whole.push_back(run.median.twiceMs);
  }
  Change change;
  if (whole.size() < 2 * kBaselineRuns) return change;
  Group first = GroupOf({whole.begin(), whole.begin() + kBaselineRuns});
  Group last = GroupOf({whole.end() - kBaselineRuns, whole.end()});
  change.known = true;
  change.first.twiceMs = first.middle;
  change.last.twiceMs = last.middle;
  // A change too small to show is no change.
  if (change.first.Tenths() == change.last.Tenths()) return change;
  if (last.highest < first.lowest) change.clear = -1;
  if (last.lowest > first.highest) change.clear = 1;
  return change;
}

}  // namespace

DrillStats Summarize(drill::DrillKind kind, std::vector<const drill::LoggedRun*> runs,
                     std::optional<int64_t> judgingDay) {
  std::stable_sort(
      runs.begin(), runs.end(),
      [](const drill::LoggedRun* x, const drill::LoggedRun* y) { return x->start < y->start; });
  DrillStats stats;
  stats.kind = kind;
  drill::FactStates states(kind);
  std::array<std::vector<uint32_t>, 4> slotTimes;
  std::array<int, 4> slotMissed{};

  // The states as they stood kLongWeakDays before the last practice, to tell a fact that has
  // stayed weak from one that has just become so.
  const int64_t lastDay = runs.empty() ? 0 : DayNumber(runs.back()->start);
  std::optional<drill::FactStates> before;
  std::vector<uint32_t> times;
  for (const drill::LoggedRun* run : runs) {
    if (!before && DayNumber(run->start) > lastDay - kLongWeakDays) before = states;
    RunPoint point;
    point.start = run->start;
    point.answers = static_cast<int>(run->answers.size());
    point.full = point.answers >= drill::kProblemsPerRun;
    point.focus = run->focus;
    uint64_t misses = 0;
    times.clear();
    states.BeginRun(run->start.Seconds());
    for (const drill::LoggedAnswer& answer : run->answers) {
      times.push_back(answer.milliseconds);
      misses += answer.misses;
      states.Add(answer.problem, answer.milliseconds, answer.misses);
      slotTimes[answer.problem.hiddenSlot - 1].push_back(answer.milliseconds);
      slotMissed[answer.problem.hiddenSlot - 1] += answer.misses > 0;
    }
    point.median = drill::MedianOf(times);
    if (point.answers) point.missesPerProblem = static_cast<double>(misses) / point.answers;
    stats.answers += point.answers;
    stats.runs.push_back(point);
  }
  stats.change = ChangeOf(stats.runs);
  if (judgingDay) states.JudgeOnDay(*judgingDay);

  for (int place = 0; place < drill::kFactPlaces; place++) {
    FactCell& cell = stats.CellAt(place);
    cell.fact = drill::FactAtPlace(kind, place);
    cell.asked = drill::IsAsked(cell.fact);
    if (!cell.asked) continue;
    cell.figures = states.FiguresAt(place);
    stats.stateCounts[static_cast<int>(cell.figures.state)]++;
    stats.dueForReview += cell.figures.dueForReview;
    if (before && IsWeak(cell.figures))
      cell.longWeak = StayedWeak(before->FiguresAt(place), cell.figures);
  }
  for (const drill::Fact& fact : states.Weakest(kPracticeFacts)) {
    int place = drill::FactPlace(fact);
    stats.practice.push_back(stats.CellAt(place));
  }
  for (const drill::Fact& fact : states.Weakest(drill::kFactPlaces)) {
    const int place = drill::FactPlace(fact);
    const FactCell& cell = stats.CellAt(place);
    if (!IsWeak(cell.figures)) continue;
    stats.weak.push_back(cell);
    stats.weakMissed += cell.figures.state == FactState::kMissed;
  }

  for (int slot = 0; slot < 4; slot++) {
    SlotFigures& figures = stats.slots[slot];
    figures.answers = static_cast<int>(slotTimes[slot].size());
    if (figures.answers) {
      figures.missRate = static_cast<double>(slotMissed[slot]) / figures.answers;
      figures.median = drill::MedianOf(std::move(slotTimes[slot]));
    }
  }
  return stats;
}

bool NeedsHelp(const DrillStats& stats) {
  return !stats.weak.empty();
}

bool MoreInNeed(const DrillStats& x, const DrillStats& y) {
  const auto key = [](const DrillStats& d) {
    return std::make_tuple(d.weak.size(), d.weakMissed,
                           std::count_if(d.weak.begin(), d.weak.end(),
                                         [](const FactCell& cell) { return cell.longWeak; }));
  };
  return key(x) > key(y);
}

}  // namespace report
