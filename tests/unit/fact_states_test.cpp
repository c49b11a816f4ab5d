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

TEST(JudgeFirstAsks, StatesFromTheRecentFirstAsks) {
  struct Case {
    int answers, fast;
    int64_t tenths;
    int missed;
    FactState state;
  } cases[] = {
      {0, 0, 0, 0, FactState::kUnseen},
      // Two fast recalls are a first impression, three are fluent.
      {2, 2, 15, 0, FactState::kGettingThere},
      {3, 3, 30, 0, FactState::kFluent},
      {5, 3, 45, 0, FactState::kFluent},  // two slow mornings among fast ones
      {5, 3, 15, 2, FactState::kFluent},  // two slips among fast ones: fluent, not missed
      {5, 2, 15, 0, FactState::kGettingThere},
      {5, 0, 60, 0, FactState::kGettingThere},
      {5, 0, 61, 0, FactState::kSlow},
      {5, 2, 90, 1, FactState::kSlow},
      {5, 2, 15, 2, FactState::kMissed},
      {1, 0, 15, 1, FactState::kMissed},  // asked once, and answered wrongly
      {2, 1, 15, 1, FactState::kGettingThere},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JudgeFirstAsks(c.answers, c.fast, c.tenths, c.missed), c.state)
        << c.answers << " answers, " << c.fast << " fast, " << c.tenths << " tenths, " << c.missed
        << " missed";
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

// Each answer in a run of its own, a day apart, from day `first`.
void AddDaily(FactStates& states, const Problem& problem,
              std::vector<std::pair<uint32_t, int>> answers, int64_t first = 100) {
  for (auto [ms, wrongTries] : answers) {
    states.BeginRun(first++ * 86400 + 9 * 3600);
    states.Add(problem, ms, wrongTries);
  }
}

TEST(FactStates, ProblemsLandOnTheFactTheChildSees) {
  FactStates states(kDiv);
  AddDaily(states, {kDiv, 7, 8, 3}, {{1000, 0}});  // 7 × 8 ＝ ?6
  AddDaily(states, {kDiv, 7, 8, 4}, {{2000, 0}});  // 7 × 8 ＝ 5?
  AddDaily(states, {kDiv, 7, 8, 1}, {{9000, 0}});  // □ × 8 ＝ 56 is 56 ÷ 8
  AddDaily(states, {kDiv, 8, 7, 2}, {{8000, 0}});  // 8 × □ ＝ 56 is 56 ÷ 8 too
  AddDaily(states, {kDiv, 7, 8, 2}, {{4000, 1}});  // 7 × □ ＝ 56 is 56 ÷ 7
  struct Case {
    Fact fact;
    FactState state;
    int answers;
    uint64_t twiceMs;
  } cases[] = {
      {{kDiv, FactKind::kForward, 7, 8}, FactState::kGettingThere, 2, 3000},
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

// Packed practice is not recall after a delay: only a run's first ask of a fact counts.
TEST(FactStates, OnlyTheFirstAskOfARunCounts) {
  const Problem sevenEights{kDiv, 7, 8, 4};
  FactStates states(kDiv);
  states.BeginRun(100 * 86400);
  EXPECT_TRUE(states.IsFirstAsk(sevenEights));
  states.Add(sevenEights, 8000, 2);  // counted out, with two wrong keys
  EXPECT_FALSE(states.IsFirstAsk(sevenEights));
  for (int i = 0; i < 3; ++i)
    states.Add(sevenEights, 1500, 0);  // fresh: the correction and two more asks
  FactFigures f = states.FiguresAt(FactPlace(FactOf(sevenEights)));
  EXPECT_EQ(f.answers, 4);
  EXPECT_EQ(f.missedAnswers, 1);
  EXPECT_EQ(f.firstAsks, 1);
  EXPECT_EQ(f.recentAnswers, 1);
  EXPECT_EQ(f.state, FactState::kMissed);
  // Three more runs of three fast asks each: each run's count once, fluent only after the third.
  for (int64_t day : {101, 102, 103}) {
    states.BeginRun(day * 86400);
    for (int i = 0; i < 3; ++i)
      states.Add(sevenEights, 1500, 0);
    f = states.FiguresAt(FactPlace(FactOf(sevenEights)));
    EXPECT_EQ(f.state, day < 103 ? FactState::kGettingThere : FactState::kFluent) << day;
  }
  EXPECT_EQ(f.answers, 13);
  EXPECT_EQ(f.recentAnswers, 4);
  EXPECT_EQ(f.fastRecalls, 3);
}

// Three fast recalls among the newest five first asks are fluent, whatever the other two were;
// two slips without them are a pattern, until they age out.
TEST(FactStates, SlipsAmongFastRecallsDoNotHoldAFactBack) {
  const Problem sum{kSub, 8, 5, 4};
  constexpr std::pair<uint32_t, int> kFast{1500, 0}, kSlip{1500, 1}, kSlowly{4000, 0};
  struct Case {
    std::vector<std::pair<uint32_t, int>> firstAsks;
    FactState state;
  } cases[] = {
      {{kSlip, kFast, kFast, kFast}, FactState::kFluent},  // a slip, then three days of recall
      {{kFast, kSlip, kFast, kSlowly, kFast}, FactState::kFluent},
      {{kFast, kSlip, kFast, kSlip, kFast}, FactState::kFluent},
      {{kFast, kFast, kSlowly, kSlowly}, FactState::kGettingThere},  // two fast of four
      {{kFast, kFast, kSlip, kSlip}, FactState::kMissed},
      {{kFast, kSlip, kSlip, kSlowly, kSlowly, kFast}, FactState::kMissed},
      {{kSlip, kSlip, kFast, kSlowly, kFast, kSlowly}, FactState::kGettingThere},  // one aged out
      {{kFast, kFast, kFast, kSlowly, kSlowly, kSlowly}, FactState::kGettingThere},
  };
  for (const Case& c : cases) {
    FactStates states(kSub);
    AddDaily(states, sum, c.firstAsks);
    EXPECT_EQ(states.FiguresAt(FactPlace(FactOf(sum))).state, c.state) << &c - cases;
  }
}

// A fluent fact's evidence ages: due for review after 1 day up to three fast recalls in a row,
// then 3, 7, 14 and 28 days as they build up; a weak fact says since when it has been weak.
TEST(FactStates, OldEvidenceIsDueForReview) {
  const Problem fact{kDiv, 6, 7, 3};
  struct Case {
    int fastInARow;
    int daysLater;
    bool due;
  } cases[] = {
      {3, 0, false}, {3, 1, true},   {4, 2, false}, {4, 3, true},   {5, 6, false},
      {5, 7, true},  {6, 13, false}, {6, 14, true}, {9, 27, false}, {9, 28, true},
  };
  for (const Case& c : cases) {
    FactStates states(kDiv);
    AddDaily(states, fact, std::vector<std::pair<uint32_t, int>>(c.fastInARow, {1200, 0}));
    const int64_t lastDay = 100 + c.fastInARow - 1;
    states.JudgeOnDay(lastDay + c.daysLater);
    const FactFigures f = states.FiguresAt(FactPlace(FactOf(fact)));
    EXPECT_EQ(f.state, FactState::kFluent);
    EXPECT_EQ(f.streak, c.fastInARow);
    EXPECT_EQ(f.evidenceAgeDays, c.daysLater);
    EXPECT_EQ(f.dueForReview, c.due) << c.fastInARow << " in a row, " << c.daysLater << " days";
    EXPECT_EQ(states.Today(), lastDay + c.daysLater);
  }
  FactStates states(kDiv);
  // Days 100 to 105: fluent from day 102, still with two slips on day 104, missed on day 105.
  AddDaily(states, fact, {{1200, 0}, {1200, 0}, {1200, 0}, {8000, 1}, {9000, 1}, {9000, 1}});
  states.BeginRun(112 * 86400);  // a later run without the fact: today is day 112
  const FactFigures weak = states.FiguresAt(FactPlace(FactOf(fact)));
  EXPECT_EQ(weak.state, FactState::kMissed);
  EXPECT_FALSE(weak.dueForReview);
  EXPECT_EQ(weak.weakForDays, 7);
  EXPECT_EQ(weak.evidenceAgeDays, 7);
}

TEST(FactStates, TheTensOfASumSaysNothingAndTheWindowKeepsTheNewest) {
  FactStates states(kSub);
  // 8 ＋ 5: a miss and four slow first asks, then three fast ones; the tens digit in between.
  AddDaily(states, {kSub, 8, 5, 4}, {{9000, 1}, {8000, 0}, {8000, 0}, {8000, 0}, {8000, 0}}, 1);
  for (int i = 0; i < 3; i++) {
    states.BeginRun((10 + i) * 86400);
    states.Add({kSub, 8, 5, 3}, 500, 3);  // 8 ＋ 5 ＝ ?3: always 1
    states.Add({kSub, 8, 5, 4}, 1500 + i * 100, 0);
  }
  states.Add({kSub, 5, 8, 1}, 2500, 0);  // □ ＋ 8 ＝ 13 is 13 − 8
  FactFigures sum = states.Figures({kSub, FactKind::kForward, 8, 5});
  EXPECT_EQ(sum.answers, 8);
  EXPECT_EQ(sum.firstAsks, 8);
  EXPECT_EQ(sum.recentAnswers, 5);
  EXPECT_EQ(sum.recentMissed, 0);        // the miss has aged out
  EXPECT_EQ(sum.median.twiceMs, 3400u);  // 8000, 8000, 1500, 1600, 1700
  EXPECT_EQ(sum.state, FactState::kFluent);
  FactFigures difference = states.Figures({kSub, FactKind::kInverse, 13, 8});
  EXPECT_EQ(difference.answers, 1);
  EXPECT_TRUE(difference.Few());
  EXPECT_GT(difference.lastAnswer, sum.lastAnswer);
}

// The order of practice: missed, then slow, then getting there.
TEST(FactStates, WeakestFirst) {
  FactStates states(kDiv);
  auto answer = [&](int a, int b, int slot, std::vector<std::pair<uint32_t, int>> answers) {
    AddDaily(states, {kDiv, a, b, slot}, answers);
  };
  answer(3, 4, 3, {{1000, 0}, {1000, 1}, {4000, 0}});  // getting there
  answer(6, 9, 3, {{7000, 0}, {8000, 0}});             // slow, 7.5 s
  answer(9, 9, 4, {{9000, 0}});                        // slow, 9.0 s
  answer(4, 6, 3, {{2000, 1}, {2000, 1}});             // missed
  answer(7, 8, 1, {{4000, 2}, {3000, 1}, {2000, 1}});  // missed, 3
  answer(2, 5, 3, {{1000, 0}, {1000, 0}, {1000, 0}});  // fluent
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
