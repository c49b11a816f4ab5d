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
  bool KeyHeld() const { return keyHeld; }
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

  // Judges a typed character against the open problem. One key press gives one answer: from
  // here on every character is ignored until ReleaseKey comes outside the judging. A right
  // answer's solving time is recorded at once; the answer stays in flight, not yet counted,
  // until CountAnswerInFlight.
  Verdict JudgeKey(char key, TimeValue monotonicNow);
  // Counts a right answer that was judged but not yet counted; once only.
  void CountAnswerInFlight();
  // Charges the wrong answer just judged to its problem, unless another problem has been
  // opened meanwhile.
  void ChargeMiss();
  // Whether the window should open a problem after a right answer's feedback: none has been
  // opened meanwhile and the run is not complete.
  bool WaitsForNextProblem() const;
  // The judging's feedback is over.
  void FinishJudging() { busy = false; }
  // A key came up: the entry is armed again, unless a judging is still running.
  void ReleaseKey();

  // Ends the run, counting a right answer still in flight; false when it had ended already.
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
  int problemsOpened = 0;  // tells a judging that its problem was replaced meanwhile
  int judgedOpening = 0;   // problemsOpened when the last key was judged
  TimeValue openedAt = 0;  // the monotonic clock when the open problem was opened
  bool keyHeld = false;
  bool busy = false;
  bool ended = false;
  bool answerInFlight = false;
};

}  // namespace drill
