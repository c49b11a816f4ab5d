// The figures on small hand-made runs whose answers are worked out by hand below.
#include "report/statistics.h"

#include <gtest/gtest.h>

namespace report {
namespace {

Answer A(int a, int b, int slot, uint32_t ms, int misses = 0) {
  return Answer{static_cast<uint8_t>(a), static_cast<uint8_t>(b), static_cast<uint8_t>(slot),
                static_cast<uint8_t>(misses), ms};
}

report::Run MakeRun(Drill drill, int day, std::vector<Answer> answers, int headerCount = 0) {
  report::Run run;
  run.drill = drill;
  run.start = StartTime{2024, 3, day, 9, 0, 0};
  run.headerCount = headerCount ? headerCount : static_cast<int>(answers.size());
  run.answers = std::move(answers);
  return run;
}

const FactCell& Cell(const DrillStats& stats, int a, int b) {
  return stats.cells[(a - 1) * 9 + b - 1];
}

TEST(Median, OddEvenAndEmpty) {
  struct Case {
    std::vector<uint32_t> values;
    double median;
  } cases[] = {
      {{}, 0},
      {{5}, 5},
      {{2000, 3000}, 2500},
      {{3, 1, 2}, 2},
      {{4, 1, 3, 2}, 2.5},
      {{9, 9, 1}, 9},
      {{100, 1, 50, 2, 70}, 50},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(Median(c.values), c.median);
}

// The middle of an even count is not rounded: 3.0005 s is no 3.000 s.
TEST(Median, EvenCountsAreExact) {
  struct Case {
    std::vector<uint32_t> values;
    double median;
  } cases[] = {{{2000, 4001}, 3000.5}, {{1, 4294967295u}, 2147483648.0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(Median(c.values), c.median);
}

// A cell is judged on the tenths it shows: 3.04 s shows "3.0", which the legend calls fluent.
TEST(Classify, OnTheSecondsShown) {
  struct Case {
    double median;
    Fluency fluency;
  } cases[] = {
      {3040, Fluency::kFluent},       {3049.5, Fluency::kFluent}, {3050, Fluency::kGettingThere},
      {6049, Fluency::kGettingThere}, {6050, Fluency::kSlow},     {3000.5, Fluency::kFluent},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Classify(5, c.median, 0), c.fluency) << c.median;
}

TEST(Summarise, CellsShowTheExactMedianAndItsColourAgrees) {
  report::Run run =
      MakeRun(Drill::kDivision, 1,
              {A(7, 8, 1, 2000), A(7, 8, 2, 4001), A(6, 9, 1, 3040), A(4, 8, 1, 3050)});
  DrillStats stats = Summarise(Drill::kDivision, {&run});
  EXPECT_DOUBLE_EQ(Cell(stats, 7, 8).medianMs, 3000.5);
  EXPECT_EQ(Cell(stats, 7, 8).fluency, Fluency::kFluent);
  EXPECT_EQ(Cell(stats, 6, 9).fluency, Fluency::kFluent);
  EXPECT_EQ(Cell(stats, 4, 8).fluency, Fluency::kGettingThere);
}

// Whole means 100 answers read, whatever the header claims.
TEST(Summarise, AFullRunHasAHundredAnswers) {
  std::vector<Answer> hundred(100, A(7, 8, 1, 2000));
  struct Case {
    std::vector<Answer> answers;
    int headerCount;
    bool full;
  } cases[] = {{{A(7, 8, 1, 2000)}, 100, false},
               {hundred, 100, true},
               {hundred, 99, true},
               {{A(7, 8, 1, 2000)}, 1, false}};
  for (const Case& c : cases) {
    report::Run run = MakeRun(Drill::kDivision, 1, c.answers, c.headerCount);
    DrillStats stats = Summarise(Drill::kDivision, {&run});
    EXPECT_EQ(stats.runs.at(0).full, c.full) << c.answers.size() << " " << c.headerCount;
  }
}

TEST(Classify, ThresholdsAndMisses) {
  struct Case {
    int answers;
    double median;
    int misses;
    Fluency fluency;
  } cases[] = {
      {0, 0, 0, Fluency::kUnseen},          {1, 3000, 0, Fluency::kFluent},
      {5, 3050, 0, Fluency::kGettingThere}, {5, 6000, 0, Fluency::kGettingThere},
      {5, 6050, 0, Fluency::kSlow},         {5, 1000, 1, Fluency::kMissed},
      {3, 9000, 2, Fluency::kMissed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Classify(c.answers, c.median, c.misses), c.fluency)
        << c.answers << " " << c.median << " " << c.misses;
  }
}

// Division: operands 2 to 9 with a product of 10 or more; subtraction: sums of 10 or more.
TEST(Summarise, NeverAskedCells) {
  struct Case {
    Drill drill;
    int neverAsked;
  } cases[] = {{Drill::kDivision, 23}, {Drill::kSubtraction, 36}};
  for (const Case& c : cases) {
    DrillStats stats = Summarise(c.drill, {});
    int never = 0, unseen = 0;
    for (const FactCell& cell : stats.cells) {
      never += cell.fluency == Fluency::kNeverAsked;
      unseen += cell.fluency == Fluency::kUnseen;
    }
    EXPECT_EQ(never, c.neverAsked);
    EXPECT_EQ(unseen, 81 - c.neverAsked);
  }
  DrillStats division = Summarise(Drill::kDivision, {});
  EXPECT_EQ(Cell(division, 1, 9).fluency, Fluency::kNeverAsked);
  EXPECT_EQ(Cell(division, 2, 4).fluency, Fluency::kNeverAsked);
  EXPECT_EQ(Cell(division, 2, 5).fluency, Fluency::kUnseen);
  DrillStats subtraction = Summarise(Drill::kSubtraction, {});
  EXPECT_EQ(Cell(subtraction, 1, 9).fluency, Fluency::kUnseen);
  EXPECT_EQ(Cell(subtraction, 5, 4).fluency, Fluency::kNeverAsked);
}

// Three runs given out of date order. In the order practised, 7 x 8 was answered
// 9.0 s (a miss), 10.0 s, then 2.0, 4.0, 2.5, 2.6, 2.7 s: its last five have median 2.6 s
// and no miss, so it is fluent, although two of its seven answers are slow or missed.
class SummariseRuns : public testing::Test {
 protected:
  void SetUp() override {
    runs.push_back(
        MakeRun(Drill::kDivision, 2,
                {A(7, 8, 2, 2000), A(7, 8, 1, 4000), A(3, 4, 4, 1000, 2), A(6, 9, 3, 7000)}));
    runs.push_back(MakeRun(Drill::kDivision, 1, {A(7, 8, 3, 9000, 1), A(7, 8, 4, 10000)}));
    runs.push_back(MakeRun(
        Drill::kDivision, 3,
        {A(7, 8, 2, 2500), A(7, 8, 3, 2600), A(7, 8, 4, 2700), A(9, 9, 1, 6000), A(2, 5, 1, 6001)},
        100));
    std::vector<const report::Run*> pointers;
    for (const report::Run& run : runs)
      pointers.push_back(&run);
    stats = Summarise(Drill::kDivision, pointers);
  }
  std::vector<report::Run> runs;
  DrillStats stats;
};

TEST_F(SummariseRuns, FactCells) {
  struct Case {
    int a, b;
    Fluency fluency;
    int answers, recent, misses;
    uint32_t median;
  } cases[] = {
      {7, 8, Fluency::kFluent, 7, 5, 0, 2600},       {3, 4, Fluency::kMissed, 1, 1, 2, 1000},
      {6, 9, Fluency::kSlow, 1, 1, 0, 7000},         {9, 9, Fluency::kGettingThere, 1, 1, 0, 6000},
      {2, 5, Fluency::kGettingThere, 1, 1, 0, 6001}, {8, 7, Fluency::kUnseen, 0, 0, 0, 0},
      {2, 4, Fluency::kNeverAsked, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const FactCell& cell = Cell(stats, c.a, c.b);
    EXPECT_EQ(cell.fluency, c.fluency) << c.a << "x" << c.b;
    EXPECT_EQ(std::make_tuple(cell.answers, cell.recentAnswers, cell.recentMisses, cell.medianMs),
              std::make_tuple(c.answers, c.recent, c.misses, c.median))
        << c.a << "x" << c.b;
  }
}

TEST_F(SummariseRuns, RunsOldestFirst) {
  ASSERT_EQ(stats.runs.size(), 3u);
  struct Case {
    int day, answers;
    uint32_t average;
    double misses;
    bool full;
  } cases[] = {{1, 2, 9500, 0.5, false}, {2, 4, 3500, 0.5, false}, {3, 5, 3960, 0.0, false}};
  for (size_t i = 0; i < 3; i++) {
    const RunPoint& run = stats.runs[i];
    EXPECT_EQ(std::make_tuple(run.start.day, run.answers, run.averageMs, run.full),
              std::make_tuple(cases[i].day, cases[i].answers, cases[i].average, cases[i].full));
    EXPECT_DOUBLE_EQ(run.missesPerProblem, cases[i].misses);
  }
  EXPECT_EQ(stats.answers, 11);
  // (19000 + 14000 + 19801) ms over 11 answers.
  EXPECT_EQ(stats.baselineMs, 4800u);
}

TEST_F(SummariseRuns, HiddenPositions) {
  // Slot 1: 4.0, 6.0, 6.001 s; slot 2: 2.0, 2.5; slot 3: 9.0 (missed), 7.0, 2.6; slot 4:
  // 10.0, 1.0 (missed), 2.7.
  struct Case {
    int answers;
    uint32_t median;
    double missRate;
  } cases[] = {{3, 6000, 0}, {2, 2250, 0}, {3, 7000, 1.0 / 3}, {3, 2700, 1.0 / 3}};
  for (int i = 0; i < 4; i++) {
    EXPECT_EQ(stats.slots[i].answers, cases[i].answers) << "slot " << i + 1;
    EXPECT_EQ(stats.slots[i].medianMs, cases[i].median) << "slot " << i + 1;
    EXPECT_DOUBLE_EQ(stats.slots[i].missRate, cases[i].missRate) << "slot " << i + 1;
  }
}

// Weights: 3 x 4 is 1.0 s + 2 misses x 3 s = 7.0 s, 6 x 9 is 7.0 s (later in the grid),
// 2 x 5 is 6.001 s, 9 x 9 is 6.0 s; 7 x 8 is fluent and not listed.
TEST_F(SummariseRuns, PractiseNext) {
  std::vector<std::pair<int, int>> facts;
  for (const FactCell& cell : stats.practice)
    facts.emplace_back(cell.a, cell.b);
  EXPECT_EQ(facts, (std::vector<std::pair<int, int>>{{3, 4}, {6, 9}, {2, 5}, {9, 9}}));
}

TEST(Summarise, PractiseAtMostTen) {
  std::vector<Answer> answers;
  for (int a = 2; a <= 9; a++) {
    for (int b = 5; b <= 9; b++)
      answers.push_back(A(a, b, 1, 7000 + a * 10 + b));
  }
  report::Run run = MakeRun(Drill::kDivision, 1, answers);
  DrillStats stats = Summarise(Drill::kDivision, {&run});
  ASSERT_EQ(stats.practice.size(), static_cast<size_t>(kPracticeFacts));
  EXPECT_EQ(std::make_pair(stats.practice[0].a, stats.practice[0].b), std::make_pair(9, 9));
  EXPECT_EQ(std::make_pair(stats.practice[9].a, stats.practice[9].b), std::make_pair(8, 5));
}

}  // namespace
}  // namespace report
