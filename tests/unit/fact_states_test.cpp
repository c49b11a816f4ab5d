// The rule that gives each fact its state, on answers worked out by hand.
#include "drill/fact_states.h"

#include <gtest/gtest.h>

#include <set>

namespace drill {
namespace {

constexpr DrillKind kDiv = DrillKind::kDivision;
constexpr DrillKind kSub = DrillKind::kSubtraction;

TEST(ExactMedian, OddEvenEmptyAndTheShownTenths) {
  struct Case {
    std::vector<uint32_t> values;
    uint64_t twiceMs;
    int64_t tenths;
  } cases[] = {
      {{}, 0, 0},
      {{5}, 10, 0},
      {{3, 1, 2}, 4, 0},
      {{2000, 4001}, 6001, 30},  // 3000.5 ms is shown 3.0
      {{3049, 3050}, 6099, 30},  // 3049.5 ms
      {{3050, 3050}, 6100, 31},  // halves go up
      {{100, 1, 50, 2, 70}, 100, 1},
      {{9000, 1000, 1000, 9000}, 10000, 50},
      {{4, 1, 3, 2}, 5, 0},  // the lower middle value is not beside the upper one
      {{4000000000u, 4000000000u}, 8000000000u, 40000000},  // no overflow
      {{1, 4294967295u}, 4294967296u, 21474836},
  };
  for (const Case& c : cases) {
    ExactMedian median = MedianOf(c.values);
    EXPECT_EQ(median.twiceMs, c.twiceMs) << c.values.size();
    EXPECT_EQ(median.Tenths(), c.tenths) << c.twiceMs;
  }
}

TEST(Judge, StatesFromTheRecentAnswers) {
  struct Case {
    int answers;
    int64_t tenths;
    int missed;
    FactState state;
  } cases[] = {
      {0, 0, 0, FactState::kUnseen},
      {1, 30, 0, FactState::kFluent},
      {5, 30, 0, FactState::kFluent},
      {5, 31, 0, FactState::kGettingThere},
      {5, 60, 0, FactState::kGettingThere},
      {5, 61, 0, FactState::kSlow},
      // One slip among fast answers is not a missed fact, nor a fluent one.
      {5, 15, 1, FactState::kGettingThere},
      {2, 15, 1, FactState::kGettingThere},
      {5, 90, 1, FactState::kSlow},
      {5, 15, 2, FactState::kMissed},
      {3, 90, 3, FactState::kMissed},
      // A fact answered once, and wrongly, is not secure.
      {1, 15, 1, FactState::kMissed},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StateFrom(c.answers, c.tenths, c.missed), c.state)
        << c.answers << " answers, " << c.tenths << " tenths, " << c.missed << " missed";
  }
}

TEST(FactPlace, EveryPlaceIsOneFactAndTheAskedOnesAreTheDrills) {
  struct Case {
    DrillKind drill;
    int forward, inverse;
  } cases[] = {{kDiv, 58, 58}, {kSub, 45, 45}};
  for (const Case& c : cases) {
    int forward = 0, inverse = 0;
    std::set<Fact> seen;
    for (int place = 0; place < kFactPlaces; place++) {
      Fact fact = FactAtPlace(c.drill, place);
      ASSERT_EQ(FactPlace(fact), place);
      seen.insert(fact);
      if (!IsAsked(fact)) continue;
      (fact.kind == FactKind::kForward ? forward : inverse)++;
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kFactPlaces));
    EXPECT_EQ(forward, c.forward);
    EXPECT_EQ(inverse, c.inverse);
  }
  // Every problem the drills can ask lands on an asked fact.
  for (DrillKind drill : kDrillKinds) {
    for (int a = 1; a <= 9; a++) {
      for (int b = 1; b <= 9; b++) {
        for (int slot = 1; slot <= 4 && drill::IsAsked(drill, a, b); slot++) {
          EXPECT_TRUE(IsAsked(FactOf(Problem{drill, a, b, slot}))) << a << " " << b << " " << slot;
        }
      }
    }
  }
}

TEST(FactStates, ProblemsLandOnTheFactTheChildSees) {
  FactStates states(kDiv);
  states.Add({kDiv, 7, 8, 3}, 1000, 0);  // 7 × 8 ＝ ?6
  states.Add({kDiv, 7, 8, 4}, 2000, 0);  // 7 × 8 ＝ 5?
  states.Add({kDiv, 7, 8, 1}, 9000, 0);  // □ × 8 ＝ 56 is 56 ÷ 8
  states.Add({kDiv, 8, 7, 2}, 8000, 0);  // 8 × □ ＝ 56 is 56 ÷ 8 too
  states.Add({kDiv, 7, 8, 2}, 4000, 1);  // 7 × □ ＝ 56 is 56 ÷ 7
  struct Case {
    Fact fact;
    FactState state;
    int answers;
    uint64_t twiceMs;
  } cases[] = {
      {{kDiv, FactKind::kForward, 7, 8}, FactState::kFluent, 2, 3000},
      {{kDiv, FactKind::kInverse, 56, 8}, FactState::kSlow, 2, 17000},
      {{kDiv, FactKind::kInverse, 56, 7}, FactState::kMissed, 1, 8000},
      {{kDiv, FactKind::kForward, 8, 7}, FactState::kUnseen, 0, 0},
  };
  for (const Case& c : cases) {
    FactFigures figures = states.Figures(c.fact);
    EXPECT_EQ(figures.state, c.state) << c.fact.first << " " << c.fact.second;
    EXPECT_EQ(figures.answers, c.answers) << c.fact.first << " " << c.fact.second;
    EXPECT_EQ(figures.median.twiceMs, c.twiceMs) << c.fact.first << " " << c.fact.second;
  }
}

TEST(FactStates, TheTensOfASumSaysNothingAndTheWindowKeepsTheNewest) {
  FactStates states(kSub);
  // 8 ＋ 5: a miss and four slow answers, then five fast ones; the tens digit in between.
  states.Add({kSub, 8, 5, 4}, 9000, 1);
  for (int i = 0; i < 4; i++)
    states.Add({kSub, 8, 5, 4}, 8000, 0);
  for (int i = 0; i < 5; i++) {
    states.Add({kSub, 8, 5, 3}, 500, 3);  // 8 ＋ 5 ＝ ?3: always 1
    states.Add({kSub, 8, 5, 4}, 1500 + i * 100, 0);
  }
  states.Add({kSub, 5, 8, 1}, 2500, 0);  // □ ＋ 8 ＝ 13 is 13 − 8
  FactFigures sum = states.Figures({kSub, FactKind::kForward, 8, 5});
  EXPECT_EQ(sum.answers, 10);
  EXPECT_EQ(sum.recentAnswers, 5);
  EXPECT_EQ(sum.recentMissed, 0);
  EXPECT_EQ(sum.median.twiceMs, 3400u);
  EXPECT_EQ(sum.state, FactState::kFluent);
  FactFigures difference = states.Figures({kSub, FactKind::kInverse, 13, 8});
  EXPECT_EQ(difference.answers, 1);
  EXPECT_TRUE(difference.Few());
  EXPECT_GT(difference.lastAnswer, sum.lastAnswer);
}

// The order of practice: a fact slipped once among five fast answers comes after a slow one.
TEST(FactStates, WeakestFirst) {
  FactStates states(kDiv);
  auto answer = [&](int a, int b, int slot, std::vector<std::pair<uint32_t, int>> answers) {
    for (auto [ms, wrong] : answers)
      states.Add({kDiv, a, b, slot}, ms, wrong);
  };
  answer(3, 4, 3, {{1000, 0}, {1000, 1}, {1000, 0}, {1000, 0}, {1000, 0}});  // getting there
  answer(6, 9, 3, {{7000, 0}, {8000, 0}});                                   // slow, 7.5 s
  answer(9, 9, 4, {{9000, 0}});                                              // slow, 9.0 s
  answer(4, 6, 3, {{2000, 1}, {2000, 1}});                                   // missed
  answer(7, 8, 1, {{4000, 2}, {3000, 1}, {2000, 1}});                        // missed, 3
  answer(2, 5, 3, {{1000, 0}});                                              // fluent
  std::vector<Fact> expected = {
      {kDiv, FactKind::kInverse, 56, 8}, {kDiv, FactKind::kForward, 4, 6},
      {kDiv, FactKind::kForward, 9, 9},  {kDiv, FactKind::kForward, 6, 9},
      {kDiv, FactKind::kForward, 3, 4},
  };
  EXPECT_EQ(states.Weakest(10), expected);
  EXPECT_EQ(states.Weakest(2), std::vector<Fact>(expected.begin(), expected.begin() + 2));
}

}  // namespace
}  // namespace drill
