// The figures on small hand-made runs whose answers are worked out by hand below.
#include "report/statistics.h"

#include <gtest/gtest.h>

#include "report/wording.h"

namespace report {
namespace {

using drill::Fact;
using drill::FactKind;

// Answers of the division drill (A) and of the subtraction drill (S).
drill::LoggedAnswer A(int a, int b, int slot, uint32_t ms, int misses = 0) {
  return drill::LoggedAnswer{drill::Problem{drill::DrillKind::kDivision, a, b, slot}, ms,
                             static_cast<uint8_t>(misses)};
}

drill::LoggedAnswer S(int a, int b, int slot, uint32_t ms, int misses = 0) {
  return drill::LoggedAnswer{drill::Problem{drill::DrillKind::kSubtraction, a, b, slot}, ms,
                             static_cast<uint8_t>(misses)};
}

drill::LoggedRun MakeRun(drill::DrillKind kind, int day, std::vector<drill::LoggedAnswer> answers,
                         int headerCount = 0) {
  drill::LoggedRun run;
  run.kind = kind;
  run.start = platform::DateTime{{2024, 3, day}, 9, 0, 0};
  run.headerCount = headerCount ? headerCount : static_cast<int>(answers.size());
  run.answers = std::move(answers);
  return run;
}

// A whole run of 100 answers, all of 7 × 8 ＝ 5? and all taking ms.
drill::LoggedRun WholeRun(int day, uint32_t ms) {
  return MakeRun(drill::DrillKind::kDivision, day,
                 std::vector<drill::LoggedAnswer>(100, A(7, 8, 4, ms)));
}

DrillStats SummarizeAll(drill::DrillKind drill, const std::vector<drill::LoggedRun>& runs) {
  std::vector<const drill::LoggedRun*> pointers;
  for (const drill::LoggedRun& run : runs)
    pointers.push_back(&run);
  return Summarize(drill, pointers);
}

const FactCell& Cell(const DrillStats& stats, const Fact& fact) {
  int place = drill::FactPlace(fact);
  return place < 81 ? stats.forward[place] : stats.inverse[place - 81];
}

// Division: operands 2 to 9 with a product of 10 or more; subtraction: sums of 10 or more.
// Each grid of 81 places holds the drill's asked facts of its kind.
TEST(Summarize, NeverAskedCells) {
  struct Case {
    drill::DrillKind drill;
    int neverAsked;
  } cases[] = {{drill::DrillKind::kDivision, 23}, {drill::DrillKind::kSubtraction, 36}};
  for (const Case& c : cases) {
    DrillStats stats = Summarize(c.drill, {});
    for (const auto* grid : {&stats.forward, &stats.inverse}) {
      int never = 0;
      for (const FactCell& cell : *grid) {
        never += !cell.asked;
        EXPECT_EQ(cell.figures.state, FactState::kUnseen);
      }
      EXPECT_EQ(never, c.neverAsked);
    }
    EXPECT_EQ(stats.stateCounts[static_cast<int>(FactState::kUnseen)], 2 * (81 - c.neverAsked));
  }
  DrillStats division = Summarize(drill::DrillKind::kDivision, {});
  EXPECT_FALSE(Cell(division, {drill::DrillKind::kDivision, FactKind::kForward, 1, 9}).asked);
  EXPECT_FALSE(Cell(division, {drill::DrillKind::kDivision, FactKind::kForward, 2, 4}).asked);
  EXPECT_TRUE(Cell(division, {drill::DrillKind::kDivision, FactKind::kInverse, 10, 5}).asked);
  EXPECT_FALSE(Cell(division, {drill::DrillKind::kDivision, FactKind::kInverse, 8, 4}).asked);
  DrillStats subtraction = Summarize(drill::DrillKind::kSubtraction, {});
  EXPECT_TRUE(Cell(subtraction, {drill::DrillKind::kSubtraction, FactKind::kForward, 1, 9}).asked);
  EXPECT_FALSE(Cell(subtraction, {drill::DrillKind::kSubtraction, FactKind::kForward, 5, 4}).asked);
  EXPECT_TRUE(Cell(subtraction, {drill::DrillKind::kSubtraction, FactKind::kInverse, 10, 1}).asked);
}

// Three runs given out of date order. In the order practised (day 1, 2, 3), only a fact's first
// ask in a run counting for its state:
//   7 × 8 ＝ ?6 / 5?: 9.0 s with a miss (then 10.0 s, practice), 2.6 s (then 2.7 s, practice):
//   median 5.8 s, one fast recall of two: getting there
//   7 × □ ＝ 56 (56 ÷ 7): 2.0, 2.5 s: fluent on two answers
//   □ × 8 ＝ 56 (56 ÷ 8): 4.0 s; □ × 9 ＝ 81 (81 ÷ 9): 6.0 s; □ × 5 ＝ 10 (10 ÷ 5): 6.001 s,
//   shown 6.0 and so getting there
//   3 × 4 ＝ 1?: once, with two wrong tries: missed; 6 × 9 ＝ ?4: 7.0 s: slow
class SummarizeRuns : public testing::Test {
 protected:
  void SetUp() override {
    runs.push_back(
        MakeRun(drill::DrillKind::kDivision, 2,
                {A(7, 8, 2, 2000), A(7, 8, 1, 4000), A(3, 4, 4, 1000, 2), A(6, 9, 3, 7000)}));
    runs.push_back(
        MakeRun(drill::DrillKind::kDivision, 1, {A(7, 8, 3, 9000, 1), A(7, 8, 4, 10000)}));
    runs.push_back(MakeRun(
        drill::DrillKind::kDivision, 3,
        {A(7, 8, 2, 2500), A(7, 8, 3, 2600), A(7, 8, 4, 2700), A(9, 9, 1, 6000), A(2, 5, 1, 6001)},
        100));
    stats = SummarizeAll(drill::DrillKind::kDivision, runs);
  }
  std::vector<drill::LoggedRun> runs;
  DrillStats stats;
};

constexpr drill::DrillKind kDiv = drill::DrillKind::kDivision;

TEST_F(SummarizeRuns, FactCells) {
  struct Case {
    Fact fact;
    FactState state;
    int answers, recent, missed;
    uint64_t twiceMs;
    bool few;
  } cases[] = {
      {{kDiv, FactKind::kForward, 7, 8}, FactState::kGettingThere, 4, 2, 1, 11600, true},
      // Two fast recalls on two days are not yet fluent.
      {{kDiv, FactKind::kInverse, 56, 7}, FactState::kGettingThere, 2, 2, 0, 4500, true},
      {{kDiv, FactKind::kInverse, 56, 8}, FactState::kGettingThere, 1, 1, 0, 8000, true},
      {{kDiv, FactKind::kInverse, 81, 9}, FactState::kGettingThere, 1, 1, 0, 12000, true},
      {{kDiv, FactKind::kInverse, 10, 5}, FactState::kGettingThere, 1, 1, 0, 12002, true},
      {{kDiv, FactKind::kForward, 3, 4}, FactState::kMissed, 1, 1, 1, 2000, true},
      {{kDiv, FactKind::kForward, 6, 9}, FactState::kSlow, 1, 1, 0, 14000, true},
      {{kDiv, FactKind::kForward, 8, 7}, FactState::kUnseen, 0, 0, 0, 0, false},
      {{kDiv, FactKind::kInverse, 18, 2}, FactState::kUnseen, 0, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    const FactCell& cell = Cell(stats, c.fact);
    const drill::FactFigures& f = cell.figures;
    std::string what = std::to_string(c.fact.first) +
                       (c.fact.kind == FactKind::kForward ? "x" : "/") +
                       std::to_string(c.fact.second);
    EXPECT_TRUE(cell.asked) << what;
    EXPECT_EQ(cell.fact, c.fact) << what;
    EXPECT_EQ(f.state, c.state) << what;
    EXPECT_EQ(
        std::make_tuple(f.answers, f.recentAnswers, f.recentMissed, f.median.twiceMs, f.Few()),
        std::make_tuple(c.answers, c.recent, c.missed, c.twiceMs, c.few))
        << what;
  }
  EXPECT_EQ(stats.stateCounts[static_cast<int>(FactState::kFluent)], 0);
  EXPECT_EQ(stats.stateCounts[static_cast<int>(FactState::kGettingThere)], 5);
  EXPECT_EQ(stats.stateCounts[static_cast<int>(FactState::kSlow)], 1);
  EXPECT_EQ(stats.stateCounts[static_cast<int>(FactState::kMissed)], 1);
}

TEST_F(SummarizeRuns, RunsOldestFirstWithTheirMedians) {
  ASSERT_EQ(stats.runs.size(), 3u);
  struct Case {
    int day, answers;
    uint64_t twiceMs;
    double misses;
  } cases[] = {{1, 2, 19000, 0.5}, {2, 4, 6000, 0.5}, {3, 5, 5400, 0.0}};
  for (size_t i = 0; i < 3; i++) {
    const RunPoint& run = stats.runs[i];
    EXPECT_EQ(std::make_tuple(run.start.date.day, run.answers, run.median.twiceMs),
              std::make_tuple(cases[i].day, cases[i].answers, cases[i].twiceMs));
    EXPECT_DOUBLE_EQ(run.missesPerProblem, cases[i].misses);
    // The third run's header counts 100, but only five answers were read.
    EXPECT_FALSE(run.full);
  }
  EXPECT_EQ(stats.answers, 11);
  EXPECT_FALSE(stats.change.known);
}

TEST_F(SummarizeRuns, HiddenPositions) {
  // Slot 1: 4.0, 6.0, 6.001 s; slot 2: 2.0, 2.5; slot 3: 9.0 (missed), 7.0, 2.6; slot 4:
  // 10.0, 1.0 (missed), 2.7.
  struct Case {
    int answers;
    uint64_t twiceMs;
    double missRate;
  } cases[] = {{3, 12000, 0}, {2, 4500, 0}, {3, 14000, 1.0 / 3}, {3, 5400, 1.0 / 3}};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(stats.slots[i].answers, cases[i].answers) << "slot " << i + 1;
    EXPECT_EQ(stats.slots[i].median.twiceMs, cases[i].twiceMs) << "slot " << i + 1;
    EXPECT_DOUBLE_EQ(stats.slots[i].missRate, cases[i].missRate) << "slot " << i + 1;
  }
}

// Missed, then slow, then getting there with its slip first, then by the exact median.
TEST_F(SummarizeRuns, PractiseNext) {
  std::vector<Fact> facts;
  for (const FactCell& cell : stats.practice)
    facts.push_back(cell.fact);
  EXPECT_EQ(facts, (std::vector<Fact>{{kDiv, FactKind::kForward, 3, 4},
                                      {kDiv, FactKind::kForward, 6, 9},
                                      {kDiv, FactKind::kForward, 7, 8},
                                      {kDiv, FactKind::kInverse, 10, 5},
                                      {kDiv, FactKind::kInverse, 81, 9},
                                      {kDiv, FactKind::kInverse, 56, 8},
                                      {kDiv, FactKind::kInverse, 56, 7}}));
}

TEST(Summarize, PractiseAtMostTen) {
  std::vector<drill::LoggedAnswer> answers;
  for (int a = 2; a <= 9; a++) {
    for (int b = 5; b <= 9; b++)
      answers.push_back(A(a, b, 4, 7000 + a * 100 + b * 10));
  }
  drill::LoggedRun run = MakeRun(drill::DrillKind::kDivision, 1, answers);
  DrillStats stats = Summarize(drill::DrillKind::kDivision, {&run});
  ASSERT_EQ(stats.practice.size(), static_cast<size_t>(kPracticeFacts));
  EXPECT_EQ(stats.practice[0].fact, (Fact{kDiv, FactKind::kForward, 9, 9}));
  EXPECT_EQ(stats.practice[9].fact, (Fact{kDiv, FactKind::kForward, 8, 5}));
}

// One four-minute pause in a run of 5.2 s answers leaves the run's figure at 5.2 s.
TEST(Summarize, ARunsFigureIsItsMedian) {
  drill::LoggedRun run = WholeRun(1, 5200);
  run.answers[40].milliseconds = 240000;
  DrillStats stats = Summarize(drill::DrillKind::kDivision, {&run});
  ASSERT_EQ(stats.runs.size(), 1u);
  EXPECT_TRUE(stats.runs[0].full);
  EXPECT_EQ(stats.runs[0].median.twiceMs, 10400u);
}

// The first three whole runs against the last three: a change is clear only when the groups do
// not overlap and the difference shows in tenths.
TEST(Summarize, ChangeAgainstTheFirstRuns) {
  struct Case {
    const char* what;
    std::vector<uint32_t> wholeRuns;
    bool known;
    uint64_t first, last;
    int clear;
  } cases[] = {
      {"five runs", {5000, 5000, 5000, 4000, 4000}, false, 0, 0, 0},
      {"faster", {5000, 5200, 5100, 4800, 4000, 4100, 4200}, true, 10200, 8200, -1},
      {"slower", {4000, 4100, 4200, 5000, 5200, 5100}, true, 8200, 10200, 1},
      {"overlapping", {5000, 4000, 6000, 4500, 4600, 4700}, true, 10000, 9200, 0},
      {"too small to show", {5000, 5001, 5002, 5010, 5011, 5012}, true, 10002, 10022, 0},
  };
  for (const Case& c : cases) {
    std::vector<drill::LoggedRun> runs;
    for (uint32_t ms : c.wholeRuns)
      runs.push_back(WholeRun(static_cast<int>(runs.size()) + 1, ms));
    // A cut-off run does not count, however slow.
    drill::LoggedRun cut = MakeRun(drill::DrillKind::kDivision, 28, {A(7, 8, 4, 60000)}, 100);
    runs.push_back(cut);
    DrillStats stats = SummarizeAll(drill::DrillKind::kDivision, runs);
    EXPECT_EQ(stats.change.known, c.known) << c.what;
    if (!c.known) continue;
    EXPECT_EQ(stats.change.first.twiceMs, c.first) << c.what;
    EXPECT_EQ(stats.change.last.twiceMs, c.last) << c.what;
    EXPECT_EQ(stats.change.clear, c.clear) << c.what;
  }
}

// Focus runs ask the child's weakest facts: their answers colour the grids like any others, but
// their slower figures are no relapse, so the change compares normal runs alone.
TEST(Summarize, FocusRunsCountInTheGridsButNotInTheChange) {
  std::vector<drill::LoggedRun> runs;
  for (uint32_t ms : {5000, 5000, 5000, 4000, 4000, 4000, 9000, 9000, 9000}) {
    runs.push_back(WholeRun(static_cast<int>(runs.size()) + 1, ms));
    runs.back().focus = ms == 9000;
  }
  DrillStats stats = SummarizeAll(kDiv, runs);
  ASSERT_EQ(stats.runs.size(), 9u);
  EXPECT_FALSE(stats.runs[5].focus);
  EXPECT_TRUE(stats.runs[6].focus);
  ASSERT_TRUE(stats.change.known);
  EXPECT_EQ(stats.change.last.twiceMs, 8000u);
  EXPECT_EQ(stats.change.clear, -1);
  const FactCell& cell = Cell(stats, {kDiv, FactKind::kForward, 7, 8});
  EXPECT_EQ(cell.figures.answers, 900);
  EXPECT_EQ(cell.figures.state, FactState::kSlow);  // the newest answers are the focus runs'
  EXPECT_EQ(stats.answers, 900);
}

// An answer is fast as the page shows it: 3.04 s shows "3.0" and is fast, 3.05 s shows "3.1"
// and is not; three fast first asks on three days make a fact fluent.
TEST(Summarize, ACellIsJudgedOnTheSecondsItShows) {
  std::vector<drill::LoggedAnswer> answers = {A(7, 8, 3, 3040), A(6, 9, 3, 3049), A(4, 8, 3, 3050),
                                              A(9, 9, 4, 6049), A(8, 8, 4, 6050)};
  drill::LoggedRun first = MakeRun(drill::DrillKind::kDivision, 1, answers);
  drill::LoggedRun second = MakeRun(drill::DrillKind::kDivision, 2, answers);
  drill::LoggedRun third = MakeRun(drill::DrillKind::kDivision, 3, answers);
  DrillStats stats = Summarize(drill::DrillKind::kDivision, {&first, &second, &third});
  struct Case {
    int a, b;
    uint64_t twiceMs;
    const char* shown;
    FactState state;
  } cases[] = {
      {7, 8, 6080, "3.0", FactState::kFluent},       {6, 9, 6098, "3.0", FactState::kFluent},
      {4, 8, 6100, "3.1", FactState::kGettingThere}, {9, 9, 12098, "6.0", FactState::kGettingThere},
      {8, 8, 12100, "6.1", FactState::kSlow},
  };
  for (const Case& c : cases) {
    const drill::FactFigures& f = Cell(stats, {kDiv, FactKind::kForward, c.a, c.b}).figures;
    EXPECT_EQ(f.median.twiceMs, c.twiceMs) << c.a << "x" << c.b;
    EXPECT_EQ(SecondsText(f.median), c.shown) << c.a << "x" << c.b;
    EXPECT_EQ(f.state, c.state) << c.a << "x" << c.b;
  }
}

// Whole means 100 answers read, whatever the header claims.
TEST(Summarize, AWholeRunHasAHundredAnswersRead) {
  std::vector<drill::LoggedAnswer> hundred(100, A(7, 8, 4, 2000));
  struct Case {
    std::vector<drill::LoggedAnswer> answers;
    int headerCount;
    bool full;
  } cases[] = {{{A(7, 8, 4, 2000)}, 100, false},
               {hundred, 100, true},
               {hundred, 99, true},
               {{A(7, 8, 4, 2000)}, 1, false}};
  for (const Case& c : cases) {
    drill::LoggedRun run = MakeRun(drill::DrillKind::kDivision, 1, c.answers, c.headerCount);
    DrillStats stats = Summarize(drill::DrillKind::kDivision, {&run});
    ASSERT_EQ(stats.runs.size(), 1u);
    EXPECT_EQ(stats.runs[0].full, c.full) << c.answers.size() << " " << c.headerCount;
  }
}

// The tens digit of a sum is in the position table but colours no fact.
TEST(Summarize, TheTensOfASumColoursNothing) {
  drill::LoggedRun run =
      MakeRun(drill::DrillKind::kSubtraction, 1,
              {S(8, 5, 3, 900), S(8, 5, 3, 800), S(8, 5, 4, 7000), S(5, 8, 1, 2000)});
  DrillStats stats = Summarize(drill::DrillKind::kSubtraction, {&run});
  const FactCell& sum = Cell(stats, {drill::DrillKind::kSubtraction, FactKind::kForward, 8, 5});
  EXPECT_EQ(sum.figures.answers, 1);
  EXPECT_EQ(sum.figures.state, FactState::kSlow);
  // One fast recall is a first impression, not yet fluent.
  EXPECT_EQ(Cell(stats, {drill::DrillKind::kSubtraction, FactKind::kInverse, 13, 8}).figures.state,
            FactState::kGettingThere);
  EXPECT_EQ(stats.slots[2].answers, 2);
}

}  // namespace
}  // namespace report
