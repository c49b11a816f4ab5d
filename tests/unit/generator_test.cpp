// The problem generator: seeded sequences, the problems each build may ask, no repeats, and
// what a re-layout does to an open problem.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <vector>

#include "drill_harness.h"

namespace {

using namespace testing_support;

struct Problem {
  int a, b, h;
  bool operator==(const Problem&) const = default;
};

Problem OpenProblem() {
  const TLogRec& r = Drill.ProblemTable[Drill.ProblemNumber];
  return {r.SlotText[1][0] - '0', r.SlotText[2][0] - '0', r.HiddenSlotText[0] - '0'};
}

uint32_t AdvanceSeed(uint32_t seed, int draws) {
  for (int i = 0; i < draws; ++i)
    seed = seed * 134775813u + 1u;
  return seed;
}

constexpr uint32_t kSeedAt123456789 = ((12 * 60 + 34) * 60 + 56) * 1000 + 789;

TEST(Generator, SeededFirstProblemsOfBothBuilds) {
  struct Case {
    const drill::DrillVariant* variant;
    Problem expected[3];
    int draws[3];  // draws used up to and including each call, rejected rounds counted
  } cases[] = {
      // The division build's second call rejects (1,7,2), (1,5,4) and (1,2,4).
      {&app::kDivisionVariant, {{5, 3, 2}, {9, 9, 4}, {2, 6, 4}}, {3, 15, 21}},
      // The subtraction build rejects (5,3,2), (1,7,2), (1,5,4), (1,2,4) first.
      {&app::kSubtractionVariant, {{9, 9, 4}, {6, 4, 2}, {7, 3, 1}}, {15, 27, 33}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant->title);
    FreshProcess();
    SetUtcTimeOfDay(12, 34, 56, 789);
    TForm1& form = StartDrill(*c.variant);
    for (int call = 0; call < 3; ++call) {
      if (call > 0) TypeKey(ExpectedKey());
      ASSERT_EQ(Drill.ProblemNumber, call + 1);
      EXPECT_EQ(OpenProblem(), c.expected[call]) << "call " << call + 1;
      EXPECT_EQ(RandomSeed, AdvanceSeed(kSeedAt123456789, c.draws[call])) << "call " << call + 1;
    }
    (void)form;
  }
}

TEST(Generator, FirstProblemFillsRecordOneAndTheLabels) {
  FreshProcess();
  SetUtcTimeOfDay(12, 34, 56, 789);
  TForm1& form = StartDrill(app::kDivisionVariant);
  // 5 x 3 = 15 with slot 2 hidden: slot 2's label keeps its stored "9" under the box.
  const TLogRec& r = Drill.ProblemTable[1];
  EXPECT_EQ(r.SlotText[1], "5");
  EXPECT_EQ(r.SlotText[2], "3");
  EXPECT_EQ(r.SlotText[3], "1");
  EXPECT_EQ(r.SlotText[4], "5");
  EXPECT_EQ(r.HiddenSlotText, "2");
  EXPECT_EQ(r.Misses, 0);
  EXPECT_DOUBLE_EQ(r.Time, EncodeTimeValue({2024, 3, 5, 12, 34, 56, 789}));
  EXPECT_EQ(Drill.ExpectedAnswer, 3);
  EXPECT_EQ(form.Label1->Caption(), "5");
  EXPECT_EQ(form.Label2->Caption(), "9");
  EXPECT_EQ(form.Label3->Caption(), "1");
  EXPECT_EQ(form.Label4->Caption(), "5");
  EXPECT_EQ(form.Image1->Left(), form.Label2->Left() - 4);
}

// Plays whole runs of 100 right answers over many seeds and checks every problem asked.
TEST(Generator, WholeRunsAskOnlyValidProblemsAndNeverRepeat) {
  for (const drill::DrillVariant* variant : {&app::kDivisionVariant, &app::kSubtractionVariant}) {
    for (int seedRun = 0; seedRun < 40; ++seedRun) {
      SCOPED_TRACE(std::string(variant->title) + " run " + std::to_string(seedRun));
      FreshProcess();
      SetUtcTimeOfDay(seedRun % 24, (seedRun * 7) % 60, seedRun % 60, (seedRun * 37) % 1000);
      StartDrill(*variant);
      std::set<std::tuple<int, int, int>> asked;
      for (int answer = 1; answer <= kProblemsPerRun; ++answer) {
        ASSERT_EQ(Drill.ProblemNumber, answer);
        Problem p = OpenProblem();
        int r = drill::Combine(variant->operation, p.a, p.b);
        ASSERT_GE(r, 10);
        if (variant->operation == drill::Operation::kProduct) {
          EXPECT_NE(p.a, 1);
          EXPECT_NE(p.b, 1);
        } else if (p.h == 3) {
          EXPECT_EQ(Drill.ExpectedAnswer, 1);
        }
        std::string digits = std::to_string(r);
        int hidden[] = {p.a, p.b, digits[0] - '0', digits[1] - '0'};
        EXPECT_EQ(Drill.ExpectedAnswer, hidden[p.h - 1]);
        EXPECT_TRUE(asked.insert({p.a, p.b, p.h}).second) << p.a << "," << p.b << "," << p.h;
        TypeKey(ExpectedKey());
      }
      EXPECT_EQ(Drill.RightCount, kProblemsPerRun);
      EXPECT_EQ(Drill.ProblemNumber, kProblemsPerRun);
      EXPECT_TRUE(Drill.RunEnded);
    }
  }
}

TEST(Generator, RelayoutReplacesTheOpenProblemInItsRecord) {
  FreshProcess();
  SetUtcTimeOfDay(12, 34, 56, 789);
  StartDrill(app::kDivisionVariant);
  TypeKey(WrongKey());
  Problem first = OpenProblem();
  headless::PostResize(800, 600);
  headless::DeliverPending();
  // Still record 1: the unanswered problem gave up its record and its combination.
  ASSERT_EQ(Drill.ProblemNumber, 1);
  EXPECT_EQ(Drill.ProblemTable[1].Misses, 0);
  EXPECT_FALSE(Drill.ProblemTable[1].Solved);
  EXPECT_EQ(Drill.UsedCombinations(first.a, first.b, first.h), OpenProblem() == first);
  // Many re-layouts neither overflow the table nor exhaust the problems.
  for (int i = 0; i < 500; ++i) {
    headless::PostResize(800 + i % 2, 600);
    headless::DeliverPending();
  }
  EXPECT_EQ(Drill.ProblemNumber, 1);
  TypeKey(ExpectedKey());
  EXPECT_EQ(Drill.RightCount, 1);
  EXPECT_EQ(Drill.ProblemNumber, 2);
  EXPECT_TRUE(Drill.ProblemTable[1].Solved);
}

TEST(Generator, AnAbandonedProblemIsNotAskedAgainAtOnce) {
  for (const drill::DrillVariant* variant : {&app::kDivisionVariant, &app::kSubtractionVariant}) {
    SCOPED_TRACE(variant->title);
    FreshProcess();
    SetUtcTimeOfDay(8, 0, 0, 0);
    StartDrill(*variant);
    for (int relayout = 0; relayout < 1000; ++relayout) {
      if (relayout % 12 == 11) TypeKey(ExpectedKey());  // 83 answers on the way
      Problem abandoned = OpenProblem();
      headless::PostResize(900 + relayout % 2, 700);
      headless::DeliverPending();
      ASSERT_FALSE(OpenProblem() == abandoned) << "re-layout " << relayout;
      // The abandoned combination may come back later: it was never answered.
      EXPECT_EQ(Drill.UsedCombinations(abandoned.a, abandoned.b, abandoned.h), 0);
    }
  }
}

// Every combination but the named ones already asked, so the generator must open those.
void LeaveOnly(const std::vector<Problem>& open) {
  for (int a = 1; a <= 9; ++a)
    for (int b = 1; b <= 9; ++b)
      for (int h = 1; h <= 4; ++h)
        Drill.UsedCombinations(a, b, h) = 1;
  for (const Problem& p : open)
    Drill.UsedCombinations(p.a, p.b, p.h) = 0;
}

TEST(Generator, APairComesBackWithAnotherHiddenSlotAndZeroIsAnAnswer) {
  struct Case {
    const drill::DrillVariant* variant;
    std::vector<Problem> open;
    char key;  // the right key for each, in any order
  } cases[] = {
      // 6 x 7 = 42 twice: once with each factor hidden.
      {&app::kDivisionVariant, {{6, 7, 1}, {6, 7, 2}}, 0},
      // 4 x 5 = 20 and 3 + 7 = 10 with the units hidden: the key 0.
      {&app::kDivisionVariant, {{4, 5, 4}}, '0'},
      {&app::kSubtractionVariant, {{3, 7, 4}}, '0'},
  };
  for (const Case& c : cases) {
    FreshProcess();
    SetUtcTimeOfDay(12, 34, 56, 789);
    platform::TheApp().CreateForm<TForm1>(*c.variant);
    // Flags set before the run are not cleared by its start.
    LeaveOnly(c.open);
    platform::backend::ShowMainForm(*Form1);
    std::set<std::tuple<int, int, int>> asked;
    for (size_t i = 0; i < c.open.size(); ++i) {
      Problem p = OpenProblem();
      asked.insert({p.a, p.b, p.h});
      // The last answer opens one more problem: give the generator one to find.
      if (i + 1 == c.open.size()) Drill.UsedCombinations(9, 9, 1) = 0;
      char key = c.key ? c.key : ExpectedKey();
      TypeKey(key);
      ASSERT_EQ(Drill.RightCount, static_cast<int>(i + 1)) << "key " << key;
    }
    std::set<std::tuple<int, int, int>> expected;
    for (const Problem& p : c.open)
      expected.insert({p.a, p.b, p.h});
    EXPECT_EQ(asked, expected);
  }
}

TEST(Generator, StartingTheRunKeepsTheTableAndTheFlags) {
  FreshProcess();
  Drill.UsedCombinations(6, 7, 3) = 1;
  Drill.ProblemTable[5].SlotText[1] = "6";
  Drill.ProblemTable[5].Misses = 4;
  headless::Advance(5000);
  StartPracticeRun();
  EXPECT_EQ(Drill.UsedCombinations(6, 7, 3), 1);
  EXPECT_EQ(Drill.ProblemTable[5].SlotText[1], "6");
  EXPECT_EQ(Drill.ProblemTable[5].Misses, 4);
  EXPECT_EQ(Drill.ProblemNumber, 0);
  EXPECT_DOUBLE_EQ(Drill.StartTime, ReadClock());
  EXPECT_DOUBLE_EQ(Drill.LastClock, Drill.StartTime);
}

}  // namespace
