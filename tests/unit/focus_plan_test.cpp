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

// The day of the focus run; histories end before it.
constexpr int64_t kToday = 20'000;

// The answers, one run a day, the last one `daysAgo` before kToday.
void AddAnswers(FactStates& states, const Fact& fact, std::vector<std::pair<uint32_t, int>> answers,
                int daysAgo = 1) {
  int64_t day = kToday - daysAgo - static_cast<int64_t>(answers.size()) + 1;
  for (auto [ms, wrongTries] : answers) {
    states.BeginRun(day++ * 86400 + 8 * 3600);
    states.Add(ProblemOf(fact), ms, wrongTries);
  }
}

// Fast recalls in `runs` runs a day apart, up to `daysAgo`: fluent with three or more, and not
// due for review with kLongestStreak.
void MakeFluent(FactStates& states, const Fact& fact, int runs = kLongestStreak, int daysAgo = 1) {
  AddAnswers(states, fact, std::vector<std::pair<uint32_t, int>>(runs, {1500, 0}), daysAgo);
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
  constexpr TimeValue kUnixEpoch = 25569;
  return PracticeRun(kind, kUnixEpoch + kToday + 9.0 / 24, seed, FocusPlanner(kind, history));
}

// The problem numbers at which the fact was asked.
std::vector<int> NumbersOf(const std::vector<Fact>& asked, const Fact& fact) {
  std::vector<int> numbers;
  for (size_t i = 0; i < asked.size(); ++i) {
    if (asked[i] == fact) numbers.push_back(static_cast<int>(i) + 1);
  }
  return numbers;
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

// Ten weak facts among secure fluent ones: each comes first once, most at risk first, then a
// second time after a wide gap, and never a third time when answered without a miss.
TEST(FocusPlan, WeakFactsFirstThenOnceMoreAfterAWideGap) {
  const std::vector<Fact> all = AskedFacts(kDiv);
  FactStates history(kDiv);
  for (const Fact& fact : all)
    MakeFluent(history, fact);
  const std::vector<std::pair<Fact, std::vector<std::pair<uint32_t, int>>>> weak = {
      {all[40], {{2000, 1}, {2000, 1}, {2000, 1}}},  // missed in every run
      {all[70], {{9000, 0}, {9000, 0}, {9000, 0}}},  // slow
      {all[12], {{8000, 0}, {8000, 0}, {8000, 0}}},
      {all[100], {{7000, 0}, {7000, 0}, {7000, 0}}},
      {all[58], {{6500, 0}, {6500, 0}, {6500, 0}}},
      {all[21], {{1500, 1}, {4000, 0}, {1500, 0}, {4000, 0}}},
      {all[90], {{5000, 0}, {5000, 0}, {5000, 0}}},
      {all[33], {{4000, 0}, {4000, 0}, {4000, 0}}},
      {all[111], {{3500, 0}, {3500, 0}, {3500, 0}}},
      {all[3], {{2000, 1}, {2000, 2}, {5000, 0}}}};
  std::set<Fact> weakFacts;
  for (const auto& [fact, answers] : weak) {
    AddAnswers(history, fact, answers);
    weakFacts.insert(fact);
  }
  ASSERT_EQ(history.Weakest(20).size(), 10u);

  PracticeRun run = FocusRun(kDiv, history);
  // The weak facts stay weak: slow and right.
  const auto child = [&](const Fact& fact, int) {
    return weakFacts.count(fact) ? Reply{0, 7000} : Reply{0, 1500};
  };
  const std::vector<Fact> asked = Play(run, kProblemsPerRun, child);
  ASSERT_EQ(asked.size(), static_cast<size_t>(kProblemsPerRun));
  EXPECT_EQ(std::set<Fact>(asked.begin(), asked.begin() + 10), weakFacts);
  EXPECT_EQ(asked[0], all[40]);  // missed every time, and most at risk
  const FocusRules rules;
  for (const Fact& fact : weakFacts) {
    const std::vector<int> numbers = NumbersOf(asked, fact);
    ASSERT_EQ(numbers.size(), static_cast<size_t>(rules.weakAsks))
        << fact.first << " " << fact.second;
    EXPECT_GT(numbers[1] - numbers[0], rules.gap) << fact.first << " " << fact.second;
  }
  // The same seed and history give the same run.
  PracticeRun again = FocusRun(kDiv, history);
  EXPECT_EQ(Play(again, kProblemsPerRun, child), asked);
}

// A wrong answer comes back after the gap for its correction, ahead of the rest, and a fact
// answered wrongly every time is asked at most once more than a weak fact's asks; the
// corrections are practice: the run gives the fact one first ask.
TEST(FocusPlan, AWrongAnswerIsCorrectedAfterTheGap) {
  const std::vector<Fact> all = AskedFacts(kDiv);
  const Fact reviewed = all[5];
  FactStates history(kDiv);
  for (const Fact& fact : all) {
    if (fact != reviewed) MakeFluent(history, fact);
  }
  MakeFluent(history, reviewed, 3);  // just fluent: due for its first review today
  const FocusRules rules;
  struct Case {
    const char* what;
    int wrongAsks;  // `reviewed` is answered with a miss at this many asks first
    std::vector<int> expected;
  } cases[] = {
      {"always wrong", 100, {1, 1 + (rules.gap + 1), 1 + 2 * (rules.gap + 1)}},
      {"right at its correction", 1, {1, 1 + (rules.gap + 1)}},
      {"right at once", 0, {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PracticeRun run = FocusRun(kDiv, history);
    int asks = 0;
    const std::vector<Fact> asked = Play(run, kProblemsPerRun, [&](const Fact& fact, int) {
      if (fact != reviewed) return Reply{0, 1500};
      return Reply{asks++ < c.wrongAsks ? 1 : 0, 1500};
    });
    EXPECT_EQ(NumbersOf(asked, reviewed), c.expected);
    FactStates after = history;
    after.BeginRun(kToday * 86400 + 9 * 3600);
    for (const ProblemRecord& record : run.SolvedProblems())
      after.Add(record.problem, 1500, record.misses);
    const FactFigures f = after.Figures(reviewed);
    EXPECT_EQ(f.firstAsks, 4);
    EXPECT_EQ(f.answers, 3 + static_cast<int>(c.expected.size()));
  }
}

// Fluent facts come back when their evidence is as old as their streak's interval: a fact
// fluent since yesterday, one three days after its fourth fast recall, and one not yet due
// between them; secure ones not at all while anything is due.
TEST(FocusPlan, FluentFactsAreReviewedAtGrowingIntervals) {
  const std::vector<Fact> all = AskedFacts(kDiv);
  const Fact justFluent = all[7], threeDaysOld = all[30], twoDaysOld = all[60];
  FactStates history(kDiv);
  for (const Fact& fact : all) {
    if (fact != justFluent && fact != threeDaysOld && fact != twoDaysOld) MakeFluent(history, fact);
  }
  MakeFluent(history, justFluent, 3, 1);
  MakeFluent(history, threeDaysOld, 4, 3);
  MakeFluent(history, twoDaysOld, 4, 2);
  FocusRules noSecuring;
  noSecuring.secureStreak = 0;
  constexpr TimeValue kUnixEpoch = 25569;
  PracticeRun run(kDiv, kUnixEpoch + kToday + 9.0 / 24, kSeed,
                  FocusPlanner(kDiv, history, noSecuring));
  const std::vector<Fact> asked = Play(run, 3, [](const Fact&, int) { return Reply{}; });
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(std::set<Fact>(asked.begin(), asked.begin() + 2),
            (std::set<Fact>{justFluent, threeDaysOld}));
  EXPECT_NE(asked[2], twoDaysOld);
}

// The risk a fact is forgotten grows with the days since it was asked, and falls with fast
// recalls in a row; a slow median and misses raise it.
TEST(FocusPlan, RecallRiskFromTheChildsOwnAnswers) {
  auto risk = [](int ageDays, int streak, uint32_t medianMs, int recentMissed) {
    FactFigures f;
    f.state = FactState::kFluent;
    f.evidenceAgeDays = ageDays;
    f.streak = streak;
    f.median.twiceMs = 2 * uint64_t{medianMs};
    f.recentMissed = recentMissed;
    return RecallRisk(f);
  };
  EXPECT_LT(risk(1, 3, 1500, 0), risk(5, 3, 1500, 0));
  EXPECT_LT(risk(5, 5, 1500, 0), risk(5, 3, 1500, 0));
  EXPECT_LT(risk(1, 2, 1500, 0), risk(1, 2, 4000, 0));
  EXPECT_LT(risk(1, 2, 4000, 0), risk(1, 2, 8000, 0));
  EXPECT_LT(risk(1, 2, 1500, 0), risk(1, 2, 1500, 1));
  EXPECT_GT(risk(0, 0, 8000, 2), 0.99);
  EXPECT_LT(risk(1, kLongestStreak, 1500, 0), 0.05);
}

// Forty weak facts, the rest never seen: a new fact comes on every fifth problem from the
// third, at most newPerRun of them while the weak ones take their turns.
TEST(FocusPlan, UnseenFactsComeInAFewAtATime) {
  for (DrillKind kind : kDrillKinds) {
    SCOPED_TRACE(Title(kind));
    const std::vector<Fact> all = AskedFacts(kind);
    FactStates history(kind);
    std::set<Fact> seen;
    for (size_t i = 0; i < 40; ++i) {
      AddAnswers(history, all[i * 2], {{7000, 0}, {7000, 0}});
      seen.insert(all[i * 2]);
    }
    PracticeRun run = FocusRun(kind, history);
    const std::vector<Fact> asked = Play(run, 60, [](const Fact&, int) { return Reply{0, 7000}; });
    std::vector<int> numbers;  // where a new fact first comes; answered slowly, it is weak then
    for (size_t i = 0; i < asked.size(); ++i) {
      if (seen.insert(asked[i]).second) numbers.push_back(static_cast<int>(i) + 1);
    }
    EXPECT_EQ(numbers, (std::vector<int>{3, 8, 13, 18, 23, 28, 33, 38}));
    EXPECT_EQ(FocusRules{}.newPerRun, 8);
  }
}

}  // namespace
}  // namespace drill
