// Focus runs on hand-made histories: what the planner asks first, what comes back and when,
// how unseen and fluent facts come in, and that no history gives exactly the normal run.
#include "drill/focus_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "drill/practice_run.h"
#include "drill_harness.h"

namespace drill {
namespace {

constexpr DrillKind kDiv = DrillKind::kDivision;
constexpr drill::TimeValue kMs = 1 / drill::kMsPerDay;
constexpr uint32_t kSeed = 45'296'789;  // 12:34:56.789 UTC

// A problem that asks the fact, for building histories.
Problem ProblemOf(const Fact& fact) {
  if (fact.kind == FactKind::kForward) return {fact.drill, fact.first, fact.second, 4};
  return {fact.drill, fact.Answer(), fact.second, 1};
}

std::vector<Fact> AskedFacts(DrillKind kind) {
  std::vector<Fact> facts;
  for (int place = 0; place < kFactPlaces; ++place) {
    if (IsAsked(FactAtPlace(kind, place))) facts.push_back(FactAtPlace(kind, place));
  }
  return facts;
}

void AddAnswers(FactStates& states, const Fact& fact,
                std::vector<std::pair<uint32_t, int>> answers) {
  for (auto [ms, wrongTries] : answers)
    states.Add(ProblemOf(fact), ms, wrongTries);
}

// Five fast answers without a slip: fluent.
void MakeFluent(FactStates& states, const Fact& fact) {
  AddAnswers(states, fact, {{1500, 0}, {1500, 0}, {1500, 0}, {1500, 0}, {1500, 0}});
}

// How the simulated child answers a problem: wrong tries before the right key, and the time.
struct Reply {
  int wrongTries = 0;
  uint32_t milliseconds = 1500;
};
using Child = std::function<Reply(const Fact& fact, int number)>;

// Plays the run for `problems` right answers (or to its end) and returns the facts asked.
std::vector<Fact> Play(PracticeRun& run, int problems, const Child& child) {
  std::vector<Fact> asked;
  drill::TimeValue now = 0;
  run.OpenNextProblem(now);
  for (int number = 1; number <= problems && !run.Complete(); ++number) {
    const Problem problem = run.CurrentProblem()->problem;
    asked.push_back(FactOf(problem));
    const Reply reply = child(asked.back(), number);
    for (int i = 0; i < reply.wrongTries; ++i) {
      EXPECT_EQ(run.JudgeKey(static_cast<char>('0' + (problem.Answer() + 1) % 10), now),
                Verdict::kWrong);
      run.FinishJudging();
      run.ReleaseKey();
    }
    now += reply.milliseconds * kMs;
    EXPECT_EQ(run.JudgeKey(static_cast<char>('0' + problem.Answer()), now), Verdict::kRight);
    run.FinishJudging();
    run.ReleaseKey();
    run.OpenNextProblem(now);
  }
  return asked;
}

PracticeRun FocusRun(DrillKind kind, const FactStates& history, uint32_t seed = kSeed) {
  return PracticeRun(kind, 0, seed, FocusPlanner(kind, history));
}

int Count(const std::vector<Fact>& asked, const std::set<Fact>& among) {
  return static_cast<int>(
      std::count_if(asked.begin(), asked.end(), [&](const Fact& f) { return among.count(f); }));
}

TEST(FocusPlan, AProblemAsksExactlyItsFactInEitherForm) {
  for (DrillKind kind : kDrillKinds) {
    RandomSource random(kSeed);
    for (const Fact& fact : AskedFacts(kind)) {
      std::set<int> hidden;
      for (int draw = 0; draw < 16; ++draw) {
        const Problem p = ProblemFor(fact, random);
        ASSERT_TRUE(IsAsked(kind, p.a, p.b)) << p.a << " " << p.b;
        ASSERT_EQ(FactOf(p), fact) << p.a << " " << p.b << " " << p.hiddenSlot;
        ASSERT_TRUE(SaysSomethingAboutTheFact(p));
        hidden.insert(p.hiddenSlot);
      }
      const std::set<int> expected = fact.kind == FactKind::kInverse ? std::set<int>{1, 2}
                                     : kind == kDiv                  ? std::set<int>{3, 4}
                                                                     : std::set<int>{4};
      EXPECT_EQ(hidden, expected) << Title(kind) << " " << fact.first << " " << fact.second;
    }
  }
}

// With no history the planner is never asked: every draw, the no-repeat rule and a given-up
// problem go exactly as in the normal run from the same seed.
TEST(FocusPlan, NoHistoryGivesExactlyTheNormalRun) {
  for (DrillKind kind : kDrillKinds) {
    for (uint32_t seed : {0u, kSeed, 86'399'999u}) {
      SCOPED_TRACE(std::string(Title(kind)) + " seed " + std::to_string(seed));
      PracticeRun normal(kind, 0, seed);
      PracticeRun focus = FocusRun(kind, FactStates(kind), seed);
      EXPECT_TRUE(focus.Focus());
      EXPECT_FALSE(normal.Focus());
      normal.OpenNextProblem(0);
      focus.OpenNextProblem(0);
      normal.OpenNextProblem(0);  // a re-layout gives the first problem up
      focus.OpenNextProblem(0);
      while (!normal.Complete()) {
        ASSERT_EQ(focus.CurrentProblem()->problem, normal.CurrentProblem()->problem)
            << "problem " << normal.ProblemNumber();
        testing_support::AnswerRight(normal, 0);
        testing_support::AnswerRight(focus, 0);
      }
      EXPECT_TRUE(focus.Complete());
      EXPECT_EQ(focus.Random().State(), normal.Random().State());
    }
  }
}

// Ten weak facts among fluent ones: the weakest come first, and they fill the run but for its
// review turns.
TEST(FocusPlan, WeakestFirstAndMostOfTheRun) {
  const std::vector<Fact> all = AskedFacts(kDiv);
  FactStates history(kDiv);
  for (const Fact& fact : all)
    MakeFluent(history, fact);
  // Weakest first, as the report lists them.
  const std::vector<std::pair<Fact, std::vector<std::pair<uint32_t, int>>>> weak = {
      {all[40], {{2000, 1}, {2000, 1}, {2000, 1}}},    // missed, three slips
      {all[3], {{2000, 1}, {2000, 2}}},                // missed, two slips
      {all[70], {{9000, 0}, {9000, 0}, {9000, 0}}},    // slow, 9 s
      {all[12], {{8000, 0}, {8000, 0}, {8000, 0}}},    // slow, 8 s
      {all[100], {{7000, 0}, {7000, 0}, {7000, 0}}},   // slow, 7 s
      {all[58], {{6500, 0}, {6500, 0}, {6500, 0}}},    // slow, 6.5 s
      {all[21], {{1500, 1}, {1500, 0}, {1500, 0}}},    // getting there: one slip
      {all[90], {{5000, 0}, {5000, 0}, {5000, 0}}},    // getting there, 5 s
      {all[33], {{4000, 0}, {4000, 0}, {4000, 0}}},    // getting there, 4 s
      {all[111], {{3500, 0}, {3500, 0}, {3500, 0}}}};  // getting there, 3.5 s
  std::set<Fact> weakFacts;
  for (const auto& [fact, answers] : weak) {
    AddAnswers(history, fact, answers);
    weakFacts.insert(fact);
  }
  ASSERT_EQ(history.Weakest(20).size(), 10u);

  PracticeRun run = FocusRun(kDiv, history);
  // The weak facts stay weak: slow and right.
  const std::vector<Fact> asked = Play(run, kProblemsPerRun, [&](const Fact& fact, int) {
    return weakFacts.count(fact) ? Reply{0, 7000} : Reply{0, 1500};
  });
  ASSERT_EQ(asked.size(), static_cast<size_t>(kProblemsPerRun));
  for (size_t i = 0; i < 6; ++i)
    EXPECT_EQ(asked[i], weak[i].first) << "problem " << i + 1;
  EXPECT_GE(Count(asked, weakFacts), 85);
  // Every tenth problem reviews a fluent fact.
  for (size_t i = 9; i < asked.size(); i += 10)
    EXPECT_FALSE(weakFacts.count(asked[i])) << "problem " << i + 1;
  // The same seed and history give the same run.
  PracticeRun again = FocusRun(kDiv, history);
  EXPECT_EQ(Play(again, kProblemsPerRun,
                 [&](const Fact& fact, int) {
                   return weakFacts.count(fact) ? Reply{0, 7000} : Reply{0, 1500};
                 }),
            asked);
}

// A fluent fact answered wrongly at its review comes back after exactly five others, ahead of
// weaker facts, until it is answered without a miss, and at most three times; answered
// wrongly after that it rests for the rest of the run.
TEST(FocusPlan, AWrongAnswerComesBackAfterFiveOthersAtMostThreeTimes) {
  const std::vector<Fact> all = AskedFacts(kDiv);
  FactStates history(kDiv);
  for (const Fact& fact : all)
    MakeFluent(history, fact);
  std::set<Fact> slow;
  for (size_t i = 60; i < 70; ++i) {
    AddAnswers(history, all[i], {{8000, 0}, {8000, 0}, {8000, 0}});
    slow.insert(all[i]);
  }
  const Fact reviewed = all[0];  // answered longest ago: the first review
  struct Case {
    const char* what;
    int rightFromAsk;  // `reviewed` is answered without a miss from this ask on; 0: never
    std::vector<int> expected;
  } cases[] = {
      {"always wrong", 0, {10, 16, 22, 28}},
      {"right at its first comeback", 2, {10, 16}},
      // Then it is a missed fact, the weakest, until its slips leave its newest answers; the
      // 40th problem is a review.
      {"right at its third comeback", 4, {10, 16, 22, 28, 34, 41, 47}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PracticeRun run = FocusRun(kDiv, history);
    int asks = 0;
    std::vector<int> numbers;
    Play(run, kProblemsPerRun, [&](const Fact& fact, int number) {
      if (fact == reviewed) {
        numbers.push_back(number);
        ++asks;
        return Reply{c.rightFromAsk == 0 || asks < c.rightFromAsk ? 1 : 0, 1500};
      }
      return slow.count(fact) ? Reply{0, 8000} : Reply{0, 1500};
    });
    EXPECT_EQ(numbers, c.expected);
  }
}

TEST(FocusPlan, FluentFactsAreReviewedLongestUnseenFirst) {
  for (DrillKind kind : kDrillKinds) {
    SCOPED_TRACE(Title(kind));
    std::vector<Fact> all = AskedFacts(kind);
    // Practised in an order of its own: every seventh fact, round and round.
    std::vector<Fact> practised;
    for (size_t start = 0; start < 7; ++start) {
      for (size_t i = start; i < all.size(); i += 7)
        practised.push_back(all[i]);
    }
    FactStates history(kind);
    for (const Fact& fact : practised)
      MakeFluent(history, fact);
    PracticeRun run = FocusRun(kind, history);
    const std::vector<Fact> asked = Play(run, 50, [](const Fact&, int) { return Reply{}; });
    EXPECT_EQ(asked, std::vector<Fact>(practised.begin(), practised.begin() + 50));
  }
}

// Twenty weak facts, the rest never seen: new facts come one on every tenth problem, at most
// kFocusNewPerRun of them, and join the weak ones once answered slowly.
TEST(FocusPlan, UnseenFactsComeInAFewAtATime) {
  for (DrillKind kind : kDrillKinds) {
    SCOPED_TRACE(Title(kind));
    const std::vector<Fact> all = AskedFacts(kind);
    FactStates history(kind);
    std::set<Fact> seen;
    for (size_t i = 0; i < 20; ++i) {
      AddAnswers(history, all[i * 3], {{7000, 0}, {7000, 0}});
      seen.insert(all[i * 3]);
    }
    PracticeRun run = FocusRun(kind, history);
    const std::vector<Fact> asked = Play(run, kProblemsPerRun, [](const Fact&, int) {
      return Reply{0, 7000};
    });
    std::map<Fact, int> firstAsked;
    for (size_t i = 0; i < asked.size(); ++i) {
      if (!seen.count(asked[i])) firstAsked.try_emplace(asked[i], static_cast<int>(i) + 1);
    }
    std::vector<int> numbers;
    for (const auto& [fact, number] : firstAsked)
      numbers.push_back(number);
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<int>{5, 15, 25, 35, 45, 55, 65, 75}));
    static_assert(kFocusNewPerRun == 8 && kFocusNewEvery == 10);
  }
}

}  // namespace
}  // namespace drill
