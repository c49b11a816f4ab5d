// One practice run with no window in it: the problems asked and their records, the counts,
// the random source, the start time and the entry's flags. Every clock reading and the seed
// come in as arguments, so whole runs can be driven without a window or a backend. A focus run
// is the same run with a planner choosing its problems.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "drill/focus_plan.h"
#include "drill/practice.h"
#include "drill/random.h"
#include "drill/time_value.h"

namespace drill {

// A problem the run has asked.
struct ProblemRecord {
  Problem problem;
  TimeValue solvingTime = 0;  // from the opening to the right answer, wrong tries included
  int misses = 0;
  bool solved = false;
};

// What the window shows of a problem just opened.
struct OpenedProblem {
  Problem problem;
  std::array<std::string, 4> digitTexts;  // places 1 to 4; the hidden one is not shown
};

enum class Verdict { kIgnored, kRight, kWrong };

class PracticeRun {
 public:
  // startTime is the local clock; the seed is what SeedFromUtcTime gives. Every problem is
  // drawn at random, and no combination comes twice.
  PracticeRun(DrillKind kind, TimeValue startTime, uint32_t seed);
  // A focus run: the planner chooses each problem, and may bring a fact back. With no history
  // the planner has nothing to go on, and the run draws exactly as a normal run does.
  PracticeRun(DrillKind kind, TimeValue startTime, uint32_t seed, FocusPlanner planner);

  DrillKind Kind() const { return kind; }
  bool Focus() const { return planner.has_value(); }
  TimeValue StartTime() const { return startTime; }
  int RightCount() const { return rightCount; }
  // The number of the problem last opened, 1 to kProblemsPerRun; 0 before the first.
  int ProblemNumber() const { return problemNumber; }
  // How many problems have been opened, given-up ones included.
  int ProblemsOpened() const { return problemsOpened; }
  bool Ended() const { return ended; }
  // Whether a key held down still waits for its release.
  bool KeyHeld() const { return entry != Entry::kArmed; }
  // Every right answer the run asks for has been given.
  bool Complete() const { return rightCount >= kProblemsPerRun; }
  // The problem last opened; none before the first.
  const ProblemRecord* CurrentProblem() const;
  // The solved problems in the order of solving.
  std::span<const ProblemRecord> SolvedProblems() const;
  // The sum of the solving times, added up in the order of solving.
  TimeValue TotalSolvingTime() const;
  const RandomSource& Random() const { return random; }
  // Whether the combination (a, b, hidden slot) has been asked in this run and may not come
  // again.
  bool WasAsked(const Problem& p) const { return asked[AskedIndex(p)]; }

  // Draws and records the next problem. An open problem that was never solved is given up:
  // it frees its record, and its combination is asked again only once every other one has
  // been (in a focus run the planner decides what comes again). Nothing is opened once the run
  // has ended or all its problems are solved.
  std::optional<OpenedProblem> OpenNextProblem(TimeValue monotonicNow);

  // Judges a typed character against the open problem and settles the answer at once: a
  // right one solves the problem, records its solving time and counts; a wrong one is charged
  // to the problem. One key press gives one answer: from here on every character is ignored
  // until ReleaseKey comes after FinishJudging. Nothing is judged before the first problem,
  // after the end, or while the problem on hand is solved and its successor not yet open.
  Verdict JudgeKey(char key, TimeValue monotonicNow);
  // The judged key's feedback is over. True when the window is to open the next problem now:
  // the answer was right, the run goes on, and nothing opened a problem during the feedback.
  bool FinishJudging();
  // A key came up: the entry is armed again, unless a judging is still running.
  void ReleaseKey();

  // Ends the run; false when it had ended already.
  bool End();

 private:
  bool AnyCombinationFree() const;
  bool Planned() const { return planner && planner->HasHistory(); }
  static size_t AskedIndex(const Problem& p) {
    return static_cast<size_t>(((p.a - 1) * 9 + (p.b - 1)) * 4 + (p.hiddenSlot - 1));
  }

  DrillKind kind;
  TimeValue startTime;
  RandomSource random;
  std::optional<FocusPlanner> planner;
  // Records 1 to rightCount are always the solved problems; the open one is record
  // problemNumber (1-based), so the table never passes kProblemsPerRun.
  std::array<ProblemRecord, kProblemsPerRun> records{};
  std::array<bool, 9 * 9 * 4> asked{};
  std::array<bool, 9 * 9 * 4> givenUp{};  // asked, but left unanswered by a re-layout
  int problemNumber = 0;
  int rightCount = 0;
  int problemsOpened = 0;
  TimeValue openedAt = 0;  // the monotonic clock when the open problem was opened
  bool ended = false;
  // The feedback of a judged key processes messages, so a key release can come while it runs
  // and must not re-arm the entry: armed, judging a key, or the judged key still down.
  enum class Entry { kArmed, kJudging, kHeld };
  Entry entry = Entry::kArmed;
};

}  // namespace drill
