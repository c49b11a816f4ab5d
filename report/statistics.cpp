// The figures behind the report, computed from the runs in the order they were practised.
#include "report/statistics.h"

#include <algorithm>
#include <cmath>

namespace report {

bool IsAsked(Drill drill, int a, int b) {
  if (drill == Drill::kDivision) return a >= 2 && b >= 2 && a * b >= 10;
  return a >= 1 && b >= 1 && a + b >= 10;
}

double Median(std::vector<uint32_t> values) {
  if (values.empty()) return 0;
  size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + mid, values.end());
  uint32_t upper = values[mid];
  if (values.size() % 2) return upper;
  uint32_t lower = *std::max_element(values.begin(), values.begin() + mid);
  // Halves of whole milliseconds are exact in a double.
  return (static_cast<double>(lower) + upper) / 2;
}

uint64_t ShownTenths(double ms) {
  // Whole tenths, halves rounded up: printf would round 4.25 down to an even 4.2. The value
  // is whole or half milliseconds, so the division cannot land beside a whole tenth.
  return static_cast<uint64_t>(std::floor((ms + 50) / 100));
}

Fluency Classify(int recentAnswers, double medianMs, int recentMisses) {
  if (recentAnswers == 0) return Fluency::kUnseen;
  if (recentMisses > 0) return Fluency::kMissed;
  const uint64_t shown = ShownTenths(medianMs);
  if (shown <= ShownTenths(kFluentMs)) return Fluency::kFluent;
  if (shown <= ShownTenths(kGettingThereMs)) return Fluency::kGettingThere;
  return Fluency::kSlow;
}

DrillStats Summarise(Drill drill, std::vector<const Run*> runs) {
  std::stable_sort(runs.begin(), runs.end(),
                   [](const Run* x, const Run* y) { return x->start < y->start; });
  DrillStats stats;
  stats.drill = drill;

  // The last kRecentAnswers answers of each fact, oldest first, as a ring.
  struct Recent {
    std::array<Answer, kRecentAnswers> ring;
    int total = 0;
  };
  std::array<Recent, 81> recent{};
  std::array<std::vector<uint32_t>, 4> slotTimes;
  std::array<int, 4> slotMissed{};
  uint64_t baselineSum = 0;
  int baselineCount = 0;

  for (const Run* run : runs) {
    RunPoint point;
    point.start = run->start;
    point.answers = static_cast<int>(run->answers.size());
    point.full = point.answers >= kMaxProblems;
    uint64_t sum = 0;
    uint64_t misses = 0;
    for (const Answer& answer : run->answers) {
      sum += answer.milliseconds;
      misses += answer.misses;
      Recent& fact = recent[(answer.a - 1) * 9 + answer.b - 1];
      fact.ring[fact.total % kRecentAnswers] = answer;
      fact.total++;
      slotTimes[answer.hiddenSlot - 1].push_back(answer.milliseconds);
      slotMissed[answer.hiddenSlot - 1] += answer.misses > 0;
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
      cell.fluency = IsAsked(drill, a, b)
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
    return c.medianMs + static_cast<double>(c.recentMisses) * kMissWeightMs;
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
