// Figures of one learner's runs of one drill: the runs over time, the fact grid, the hidden
// positions and the facts to practise next. The thresholds live here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/log_reader.h"

namespace report {

// A fact is judged from its most recent answers, in any hidden position.
inline constexpr int kRecentAnswers = 5;
inline constexpr uint32_t kFluentMs = 3000;        // median at most this and no miss
inline constexpr uint32_t kGettingThereMs = 6000;  // median at most this
// The first runs a learner's latest run is compared with.
inline constexpr int kBaselineRuns = 3;
inline constexpr int kPracticeFacts = 10;
// Ranking the facts to practise: each recent miss weighs as much as this much time.
inline constexpr uint32_t kMissWeightMs = 3000;

enum class Fluency { kNeverAsked, kUnseen, kFluent, kGettingThere, kSlow, kMissed };

struct FactCell {
  int a = 0;
  int b = 0;
  Fluency fluency = Fluency::kUnseen;
  int answers = 0;        // all answers of this fact
  int recentAnswers = 0;  // at most kRecentAnswers
  int recentMisses = 0;   // wrong tries within the recent answers
  double medianMs = 0;    // of the recent answers; a half for an even count
};

struct RunPoint {
  StartTime start;
  int answers = 0;
  uint32_t averageMs = 0;
  double missesPerProblem = 0;
  bool full = false;  // the run has all of the drill's 100 answers
};

struct SlotFigures {
  int answers = 0;
  double medianMs = 0;
  double missRate = 0;  // share of answers with at least one wrong try
};

struct DrillStats {
  Drill drill = Drill::kDivision;
  std::vector<RunPoint> runs;      // oldest first
  std::array<FactCell, 81> cells;  // row a - 1, column b - 1
  std::array<SlotFigures, 4> slots;
  std::vector<FactCell> practice;  // at most kPracticeFacts, most needed first
  int answers = 0;
  uint32_t baselineMs = 0;  // average time over the first kBaselineRuns runs
};

// Whether the drill ever asks a op b (operands 1 to 9).
bool IsAsked(Drill drill, int a, int b);
// The median; the mean of the two middle values for an even count, unrounded; 0 when empty.
double Median(std::vector<uint32_t> values);
// Milliseconds as the page shows them, in whole tenths of a second, halves rounded up.
uint64_t ShownTenths(double ms);
// Judged on the seconds the page shows, so that a cell showing "3.0" is what the legend
// calls 3.0 s.
Fluency Classify(int recentAnswers, double medianMs, int recentMisses);

// Runs of one drill, in any order; they are taken oldest first.
DrillStats Summarise(Drill drill, std::vector<const Run*> runs);

}  // namespace report
