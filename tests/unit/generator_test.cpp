// The problem generator: seeded sequences, the problems each build may ask, no repeats, and
// what a re-layout does to an open problem.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

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

}  // namespace
