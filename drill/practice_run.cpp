// Opening problems, judging keys and the run's counts.
#include "drill/practice_run.h"

#include <algorithm>
#include <cmath>

#include "drill/time_text.h"

namespace drill {

PracticeRun::PracticeRun(DrillKind kind, TimeValue startTime, uint32_t seed)
    : kind(kind), startTime(startTime), random(seed) {}

PracticeRun::PracticeRun(DrillKind kind, TimeValue startTime, uint32_t seed, FocusPlanner planner)
    : kind(kind), startTime(startTime), random(seed), planner(std::move(planner)) {
  // The planner ages the history against the run's day, on the clock the log's name is on.
  constexpr double kUnixEpochDay = 25569;  // 1970-01-01 as a TimeValue
  this->planner->BeginRun(std::llround((startTime - kUnixEpochDay) * 86400));
}

const ProblemRecord* PracticeRun::CurrentProblem() const {
  return problemNumber > 0 ? &records[static_cast<size_t>(problemNumber - 1)] : nullptr;
}

std::span<const ProblemRecord> PracticeRun::SolvedProblems() const {
  return std::span(records).first(static_cast<size_t>(std::min(rightCount, kProblemsPerRun)));
}

TimeValue PracticeRun::TotalSolvingTime() const {
  TimeValue total = 0;
  for (const ProblemRecord& record : SolvedProblems())
    total += record.solvingTime;
  return total;
}

std::optional<OpenedProblem> PracticeRun::OpenNextProblem(TimeValue monotonicNow) {
  if (ended) return std::nullopt;
  int index = problemNumber;
  std::optional<Problem> abandoned;
  if (index > 0 && !records[static_cast<size_t>(index - 1)].solved) {
    // An open problem that was never solved gives its record back, so records 1 to
    // rightCount stay the solved problems. Its combination stays asked: no combination comes
    // twice in a run.
    abandoned = records[static_cast<size_t>(index - 1)].problem;
    givenUp[AskedIndex(*abandoned)] = true;
    --index;
  }
  if (index >= kProblemsPerRun) return std::nullopt;
  // Endless re-layouts must not use up every combination and leave the drawing nothing to
  // find: once none is free, the given-up ones (never the answered ones) are asked again.
  if (!AnyCombinationFree()) {
    for (size_t i = 0; i < asked.size(); ++i) {
      if (givenUp[i]) asked[i] = givenUp[i] = false;
    }
  }

  // At most 99 answered combinations and the one just given up are then excluded, of at
  // least 180, so the drawing always ends. The draws come in the order a, b, hidden slot,
  // also for a rejected round: a seed gives the same problems as it always has.
  Problem p{.kind = kind};
  if (Planned()) {
    p = planner->Next(random);
  } else {
    do {
      p.a = random.Draw(9) + 1;
      p.b = random.Draw(9) + 1;
      p.hiddenSlot = random.Draw(4) + 1;
    } while (!IsAsked(kind, p.a, p.b) || asked[AskedIndex(p)] || p == abandoned);
  }
  asked[AskedIndex(p)] = true;
  ++problemsOpened;
  problemNumber = index + 1;
  records[static_cast<size_t>(index)] = ProblemRecord{.problem = p};
  openedAt = monotonicNow;

  OpenedProblem opened{.problem = p, .digitTexts = {}};
  for (int slot = 1; slot <= 4; ++slot)
    opened.digitTexts[static_cast<size_t>(slot - 1)] = std::to_string(p.Digit(slot));
  return opened;
}

bool PracticeRun::AnyCombinationFree() const {
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      if (!IsAsked(kind, a, b)) continue;
      for (int h = 1; h <= 4; ++h) {
        if (!asked[AskedIndex({kind, a, b, h})]) return true;
      }
    }
  }
  return false;
}

Verdict PracticeRun::JudgeKey(char key, TimeValue monotonicNow) {
  if (entry != Entry::kArmed || key < '0' || key > '9' || ended) return Verdict::kIgnored;
  // Before the first problem there is no record to judge against.
  ProblemRecord* record =
      problemNumber > 0 ? &records[static_cast<size_t>(problemNumber - 1)] : nullptr;
  if (!record || record->solved) return Verdict::kIgnored;
  entry = Entry::kJudging;
  // Whatever the feedback's message processing brings, the answer stands as judged here: a
  // close or a log-off ends the run with it, and a re-layout that gives up a wrongly answered
  // problem takes its record, miss and all.
  if (key - '0' != record->problem.Answer()) {
    ++record->misses;
    return Verdict::kWrong;
  }
  record->solvingTime = monotonicNow - openedAt;
  record->solved = true;
  ++rightCount;
  if (Planned()) {
    // The planner hears the time the log will show.
    const int64_t ms = std::clamp<int64_t>(WholeMilliseconds(record->solvingTime), 0, UINT32_MAX);
    planner->Answered(record->problem, static_cast<uint32_t>(ms), record->misses);
  }
  return Verdict::kRight;
}

bool PracticeRun::FinishJudging() {
  if (entry == Entry::kJudging) entry = Entry::kHeld;
  const ProblemRecord* open = CurrentProblem();
  return !ended && !Complete() && open && open->solved;
}

void PracticeRun::ReleaseKey() {
  if (entry == Entry::kHeld) entry = Entry::kArmed;
}

bool PracticeRun::End() {
  if (ended) return false;
  ended = true;
  return true;
}

}  // namespace drill
