// Figures of one learner's runs of one drill: the runs over time, the fact grid, the hidden
// positions and the facts to practise next. The thresholds live here and nowhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "drill/log_reader.h"

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
  uint32_t medianMs = 0;  // of the recent answers
};

struct RunPoint {
  drill::StartTime start;
  int answers = 0;
  uint32_t averageMs = 0;
  double missesPerProblem = 0;
  bool full = false;  // the run reached the drill's kProblemsPerRun answers
};

struct SlotFigures {
  int answers = 0;
  uint32_t medianMs = 0;
  double missRate = 0;  // share of answers with at least one wrong try
};

struct DrillStats {
  drill::DrillKind kind = drill::DrillKind::kDivision;
  std::vector<RunPoint> runs;      // oldest first
  std::array<FactCell, 81> cells;  // row a - 1, column b - 1
  std::array<SlotFigures, 4> slots;
  std::vector<FactCell> practice;  // at most kPracticeFacts, most needed first
  int answers = 0;
  uint32_t baselineMs = 0;  // average time over the first kBaselineRuns runs
};

// The median; the mean of the two middle values for an even count; 0 when empty.
uint32_t Median(std::vector<uint32_t> values);
Fluency Classify(int recentAnswers, uint32_t medianMs, int recentMisses);

// Runs of one drill, in any order; they are taken oldest first.
DrillStats Summarise(drill::DrillKind kind, std::vector<const drill::Run*> runs);

}  // namespace report
