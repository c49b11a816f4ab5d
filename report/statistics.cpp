// The figures behind the report, computed from the runs in the order they were practised.
#include "report/statistics.h"

#include <algorithm>

namespace report {

uint32_t Median(std::vector<uint32_t> values) {
  if (values.empty()) return 0;
  size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + mid, values.end());
  uint32_t upper = values[mid];
  if (values.size() % 2) return upper;
  uint32_t lower = *std::max_element(values.begin(), values.begin() + mid);
  return lower + (upper - lower) / 2;
}

Fluency Classify(int recentAnswers, uint32_t medianMs, int recentMisses) {
  if (recentAnswers == 0) return Fluency::kUnseen;
  if (recentMisses > 0) return Fluency::kMissed;
  if (medianMs <= kFluentMs) return Fluency::kFluent;
  if (medianMs <= kGettingThereMs) return Fluency::kGettingThere;
  return Fluency::kSlow;
}

DrillStats Summarise(drill::DrillKind kind, std::vector<const drill::Run*> runs) {
  std::stable_sort(runs.begin(), runs.end(),
                   [](const drill::Run* x, const drill::Run* y) { return x->start < y->start; });
  DrillStats stats;
  stats.kind = kind;

  // The last kRecentAnswers answers of each fact, oldest first, as a ring.
  struct Recent {
    std::array<drill::Answer, kRecentAnswers> ring;
    int total = 0;
  };
  std::array<Recent, 81> recent{};
  std::array<std::vector<uint32_t>, 4> slotTimes;
  std::array<int, 4> slotMissed{};
  uint64_t baselineSum = 0;
  int baselineCount = 0;

  for (const drill::Run* run : runs) {
    RunPoint point;
    point.start = run->start;
    point.answers = static_cast<int>(run->answers.size());
    point.full = run->headerCount >= drill::kProblemsPerRun;
    uint64_t sum = 0;
    uint64_t misses = 0;
    for (const drill::Answer& answer : run->answers) {
      const drill::Problem& problem = answer.problem;
      sum += answer.milliseconds;
      misses += answer.misses;
      Recent& fact = recent[(problem.a - 1) * 9 + problem.b - 1];
      fact.ring[fact.total % kRecentAnswers] = answer;
      fact.total++;
      slotTimes[problem.hiddenSlot - 1].push_back(answer.milliseconds);
      slotMissed[problem.hiddenSlot - 1] += answer.misses > 0;
    }
    if (point.answers) {
      point.averageMs = static_cast<uint32_t>(sum / point.answers);
      point.missesPerProblem = static_cast<double>(misses) / point.answers;
    }
    if (static_cast<int>(stats.runs.size()) < kBaselineRuns) {
      baselineSum += sum;
      baselineCount += point.answers;
    }
    stats.answers += point.answers;
    stats.runs.push_back(point);
  }
  if (baselineCount) stats.baselineMs = static_cast<uint32_t>(baselineSum / baselineCount);

  for (int a = 1; a <= 9; a++) {
    for (int b = 1; b <= 9; b++) {
      FactCell& cell = stats.cells[(a - 1) * 9 + b - 1];
      const Recent& fact = recent[(a - 1) * 9 + b - 1];
      cell.a = a;
      cell.b = b;
      cell.answers = fact.total;
      cell.recentAnswers = std::min(fact.total, kRecentAnswers);
      std::vector<uint32_t> times;
      for (int i = 0; i < cell.recentAnswers; i++) {
        times.push_back(fact.ring[i].milliseconds);
        cell.recentMisses += fact.ring[i].misses;
      }
      cell.medianMs = Median(times);
      cell.fluency = drill::IsAsked(kind, a, b)
                         ? Classify(cell.recentAnswers, cell.medianMs, cell.recentMisses)
                         : Fluency::kNeverAsked;
    }
  }

  for (int slot = 0; slot < 4; slot++) {
    SlotFigures& figures = stats.slots[slot];
    figures.answers = static_cast<int>(slotTimes[slot].size());
    if (figures.answers) {
      figures.missRate = static_cast<double>(slotMissed[slot]) / figures.answers;
      figures.medianMs = Median(std::move(slotTimes[slot]));
    }
  }

  auto weight = [](const FactCell& c) {
    return static_cast<uint64_t>(c.medianMs) +
           static_cast<uint64_t>(c.recentMisses) * kMissWeightMs;
  };
  for (const FactCell& cell : stats.cells) {
    if (cell.fluency != Fluency::kNeverAsked && cell.fluency != Fluency::kUnseen &&
        cell.fluency != Fluency::kFluent) {
      stats.practice.push_back(cell);
    }
  }
  std::stable_sort(stats.practice.begin(), stats.practice.end(),
                   [&](const FactCell& x, const FactCell& y) { return weight(x) > weight(y); });
  if (stats.practice.size() > kPracticeFacts) stats.practice.resize(kPracticeFacts);
  return stats;
}

}  // namespace report
