// The practice run with no window: seeded sequences, the problems each drill may ask, no
// repeats, what giving up an open problem does, and the rules of judging and ending.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "drill/practice_run.h"
#include "drill_harness.h"

namespace {

using drill::DrillKind;
using drill::PracticeRun;
using drill::Problem;
using drill::Verdict;
using testing_support::AnswerRight;

constexpr drill::TimeValue kMs = 1 / drill::kMsPerDay;

uint32_t AdvanceSeed(uint32_t seed, int draws) {
  for (int i = 0; i < draws; ++i)
    seed = seed * 134775813u + 1u;
  return seed;
}

// The seed of a run started at 12:34:56.789 UTC.
constexpr uint32_t kSeedAt123456789 = ((12 * 60 + 34) * 60 + 56) * 1000 + 789;

Problem Current(const PracticeRun& run) {
  return run.CurrentProblem()->problem;
}

char KeyFor(const PracticeRun& run) {
  return static_cast<char>('0' + Current(run).Answer());
}

char WrongKeyFor(const PracticeRun& run) {
  return static_cast<char>('0' + (Current(run).Answer() + 1) % 10);
}

TEST(PracticeRun, SeededFirstProblemsOfBothDrills) {
  struct Case {
    DrillKind kind;
    Problem expected[3];
    int draws[3];  // draws used up to and including each opening, rejected rounds counted
  } cases[] = {
      // The division drill's second opening rejects (1,7,2), (1,5,4) and (1,2,4).
      {DrillKind::kDivision,
       {{DrillKind::kDivision, 5, 3, 2},
        {DrillKind::kDivision, 9, 9, 4},
        {DrillKind::kDivision, 2, 6, 4}},
       {3, 15, 21}},
      // The subtraction drill rejects (5,3,2), (1,7,2), (1,5,4), (1,2,4) first.
      {DrillKind::kSubtraction,
       {{DrillKind::kSubtraction, 9, 9, 4},
        {DrillKind::kSubtraction, 6, 4, 2},
        {DrillKind::kSubtraction, 7, 3, 1}},
       {15, 27, 33}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(drill::Title(c.kind));
    PracticeRun run(c.kind, 0, kSeedAt123456789);
    run.OpenNextProblem(0);
    for (int opening = 0; opening < 3; ++opening) {
      if (opening > 0) AnswerRight(run, 0);
      ASSERT_EQ(run.ProblemNumber(), opening + 1);
      EXPECT_EQ(Current(run), c.expected[opening]) << "opening " << opening + 1;
      EXPECT_EQ(run.Random().State(), AdvanceSeed(kSeedAt123456789, c.draws[opening]))
          << "opening " << opening + 1;
    }
  }
}

TEST(PracticeRun, OpenedProblemGivesTheTextsOfItsFourPlaces) {
  PracticeRun run(DrillKind::kDivision, 0, kSeedAt123456789);
  std::optional<drill::OpenedProblem> opened = run.OpenNextProblem(0);
  ASSERT_TRUE(opened);
  // 5 x 3 = 15 with place 2 hidden.
  EXPECT_EQ(opened->problem, (Problem{DrillKind::kDivision, 5, 3, 2}));
  EXPECT_EQ(opened->digitTexts, (std::array<std::string, 4>{"5", "3", "1", "5"}));
  EXPECT_EQ(run.CurrentProblem()->misses, 0);
  EXPECT_FALSE(run.CurrentProblem()->solved);
}

// Plays whole runs of 100 right answers over many seeds and checks every problem asked.
TEST(PracticeRun, WholeRunsAskOnlyValidProblemsAndNeverRepeat) {
  for (DrillKind kind : drill::kDrillKinds) {
    for (int seedRun = 0; seedRun < 40; ++seedRun) {
      SCOPED_TRACE(std::string(drill::Title(kind)) + " run " + std::to_string(seedRun));
      const uint32_t seed = drill::SeedFromUtcTime(
          {{2024, 3, 5}, seedRun % 24, (seedRun * 7) % 60, seedRun % 60, (seedRun * 37) % 1000});
      PracticeRun run(kind, 0, seed);
      run.OpenNextProblem(0);
      std::set<std::tuple<int, int, int>> asked;
      for (int answer = 1; answer <= drill::kProblemsPerRun; ++answer) {
        ASSERT_EQ(run.ProblemNumber(), answer);
        Problem p = Current(run);
        ASSERT_GE(p.Result(), 10);
        ASSERT_LT(p.Result(), 100);
        if (kind == DrillKind::kDivision) {
          EXPECT_NE(p.a, 1);
          EXPECT_NE(p.b, 1);
        } else if (p.hiddenSlot == 3) {
          EXPECT_EQ(p.Answer(), 1);
        }
        EXPECT_TRUE(asked.insert({p.a, p.b, p.hiddenSlot}).second)
            << p.a << "," << p.b << "," << p.hiddenSlot;
        AnswerRight(run, 0);
      }
      EXPECT_EQ(run.RightCount(), drill::kProblemsPerRun);
      EXPECT_EQ(run.ProblemNumber(), drill::kProblemsPerRun);
      EXPECT_TRUE(run.Complete());
      EXPECT_FALSE(run.OpenNextProblem(0)) << "a 101st problem";
    }
  }
}

// A pair comes back with another place hidden (7 x 8 with 7 hidden, then with 8 hidden), and
// a hidden 0 (4 x 5 = 20 with the units hidden) is answered with the key 0.
TEST(PracticeRun, PairsComeBackWithAnotherHiddenPlaceAndZeroIsAnAnswer) {
  for (DrillKind kind : drill::kDrillKinds) {
    SCOPED_TRACE(drill::Title(kind));
    int zeroAnswers = 0;
    int pairsAgain = 0;
    for (uint32_t seed = 0; seed < 20; ++seed) {
      PracticeRun run(kind, 0, seed * 7919);
      run.OpenNextProblem(0);
      std::set<std::pair<int, int>> pairs;
      while (!run.Complete()) {
        Problem p = Current(run);
        if (!pairs.insert({p.a, p.b}).second) ++pairsAgain;
        if (p.Answer() == 0) {
          ++zeroAnswers;
          ASSERT_EQ(run.JudgeKey('0', 0), Verdict::kRight);
          if (run.FinishJudging()) run.OpenNextProblem(0);
          run.ReleaseKey();
        } else {
          AnswerRight(run, 0);
        }
      }
    }
    EXPECT_GT(zeroAnswers, 0);
    EXPECT_GT(pairsAgain, 0);
  }
}

TEST(PracticeRun, GivingUpTheOpenProblemFreesItsRecordButNotItsCombination) {
  PracticeRun run(DrillKind::kDivision, 0, kSeedAt123456789);
  run.OpenNextProblem(0);
  ASSERT_EQ(run.JudgeKey(WrongKeyFor(run), 0), Verdict::kWrong);
  ASSERT_EQ(run.CurrentProblem()->misses, 1);
  EXPECT_FALSE(run.FinishJudging());
  run.ReleaseKey();
  Problem first = Current(run);
  run.OpenNextProblem(0);
  // Still record 1: the unanswered problem gave up its record, not its combination.
  ASSERT_EQ(run.ProblemNumber(), 1);
  EXPECT_EQ(run.CurrentProblem()->misses, 0);
  EXPECT_FALSE(run.CurrentProblem()->solved);
  EXPECT_TRUE(run.WasAsked(first));
  EXPECT_TRUE(run.WasAsked(Current(run)));
  // Many re-openings neither overflow the table nor exhaust the problems.
  for (int i = 0; i < 500; ++i)
    run.OpenNextProblem(0);
  EXPECT_EQ(run.ProblemNumber(), 1);
  AnswerRight(run, 0);
  EXPECT_EQ(run.RightCount(), 1);
  EXPECT_EQ(run.ProblemNumber(), 2);
  EXPECT_TRUE(run.SolvedProblems()[0].solved);
}

TEST(PracticeRun, TwoReLayoutsInARowDoNotBringTheFirstProblemBack) {
  // From this seed the old rule, which freed a given-up combination at once, showed
  // (6, 4, hidden 3), (4, 6, hidden 1) and then (6, 4, hidden 3) again.
  PracticeRun run(DrillKind::kDivision, 0, drill::SeedFromUtcTime({{2024, 3, 5}, 12, 34, 56, 86}));
  run.OpenNextProblem(0);
  Problem first = Current(run);
  ASSERT_EQ(first, (Problem{DrillKind::kDivision, 6, 4, 3}));
  run.OpenNextProblem(0);
  Problem second = Current(run);
  ASSERT_EQ(second, (Problem{DrillKind::kDivision, 4, 6, 1}));
  run.OpenNextProblem(0);
  EXPECT_NE(Current(run), first);
  EXPECT_NE(Current(run), second);
}

// Re-layouts between answers: no combination comes twice while a free one is left; once every
// one has been asked, the given-up ones come back, never an answered one, and the drawing
// never hangs.
TEST(PracticeRun, GivenUpProblemsComeBackOnlyOnceEveryCombinationIsUsed) {
  for (DrillKind kind : drill::kDrillKinds) {
    SCOPED_TRACE(drill::Title(kind));
    int askable = 0;
    for (int a = 1; a <= 9; ++a) {
      for (int b = 1; b <= 9; ++b)
        askable += drill::IsAsked(kind, a, b) ? 4 : 0;
    }
    PracticeRun run(kind, 0, drill::SeedFromUtcTime({{2024, 3, 5}, 8, 0, 0, 0}));
    std::set<std::tuple<int, int, int>> shown, answered;
    auto key = [](const Problem& p) { return std::tuple(p.a, p.b, p.hiddenSlot); };
    run.OpenNextProblem(0);
    shown.insert(key(Current(run)));
    int repeats = 0;
    for (int reopening = 0; reopening < 1000; ++reopening) {
      if (reopening % 12 == 11) {  // 83 answers on the way
        answered.insert(key(Current(run)));
        AnswerRight(run, 0);
      } else {
        Problem abandoned = Current(run);
        run.OpenNextProblem(0);
        ASSERT_NE(Current(run), abandoned) << "re-opening " << reopening;
      }
      auto now = key(Current(run));
      ASSERT_FALSE(answered.count(now))
          << "an answered problem came back, re-opening " << reopening;
      if (!shown.insert(now).second) {
        ++repeats;
        ASSERT_EQ(static_cast<int>(shown.size()), askable) << "re-opening " << reopening;
      }
    }
    EXPECT_GT(repeats, 0);  // the combinations did run out, and the drawing went on
    EXPECT_EQ(run.RightCount(), 83);
  }
}

TEST(PracticeRun, OneKeyPressGivesOneAnswerUntilItsReleaseOutsideTheJudging) {
  PracticeRun run(DrillKind::kDivision, 0, kSeedAt123456789);
  // Before the first problem nothing is judged and the entry stays armed.
  for (char key = '0'; key <= '9'; ++key)
    EXPECT_EQ(run.JudgeKey(key, 0), Verdict::kIgnored);
  EXPECT_FALSE(run.KeyHeld());
  run.OpenNextProblem(0);
  for (char key : {'a', '/', ':', '\x82', '\xb1', '\r'})
    EXPECT_EQ(run.JudgeKey(key, 0), Verdict::kIgnored) << int(key);
  EXPECT_FALSE(run.KeyHeld());

  ASSERT_EQ(run.JudgeKey(KeyFor(run), 0), Verdict::kRight);
  EXPECT_EQ(run.JudgeKey(KeyFor(run), 0), Verdict::kIgnored) << "auto-repeat";
  run.ReleaseKey();  // seen during the feedback: the key stays held
  ASSERT_TRUE(run.FinishJudging());
  EXPECT_TRUE(run.KeyHeld());
  run.OpenNextProblem(0);
  EXPECT_EQ(run.JudgeKey(KeyFor(run), 0), Verdict::kIgnored);
  run.ReleaseKey();
  EXPECT_FALSE(run.KeyHeld());
  EXPECT_EQ(run.JudgeKey(KeyFor(run), 0), Verdict::kRight);
}

TEST(PracticeRun, SolvingTimeRunsFromTheOpeningOnTheGivenClock) {
  PracticeRun run(DrillKind::kDivision, 45356.5, kSeedAt123456789);
  run.OpenNextProblem(1000 * kMs);
  run.JudgeKey(WrongKeyFor(run), 1500 * kMs);
  run.FinishJudging();
  run.ReleaseKey();
  run.JudgeKey(KeyFor(run), 4125 * kMs);
  ASSERT_EQ(run.SolvedProblems().size(), 1u);
  EXPECT_NEAR(run.SolvedProblems()[0].solvingTime / kMs, 3125, 1e-6);
  EXPECT_EQ(run.SolvedProblems()[0].misses, 1);
  EXPECT_DOUBLE_EQ(run.StartTime(), 45356.5);
}

// A wrong answer's miss belongs to the problem judged; a problem opened during its feedback
// starts with none.
TEST(PracticeRun, AMissGoesToTheProblemJudged) {
  PracticeRun run(DrillKind::kSubtraction, 0, kSeedAt123456789);
  run.OpenNextProblem(0);
  run.JudgeKey(WrongKeyFor(run), 0);
  EXPECT_EQ(run.CurrentProblem()->misses, 1);
  run.OpenNextProblem(0);  // a re-layout during the feedback
  EXPECT_EQ(run.CurrentProblem()->misses, 0);
  EXPECT_FALSE(run.FinishJudging());
  run.ReleaseKey();
  run.JudgeKey(WrongKeyFor(run), 0);
  EXPECT_EQ(run.CurrentProblem()->misses, 1);
}

// What the window does once a judged key's feedback is over: it opens the next problem only
// after a right answer, with the run going on and no problem opened during the feedback.
TEST(PracticeRun, FinishingTheJudgingSaysWhetherToOpenTheNextProblem) {
  enum class During { kNothing, kReLayout, kEnd };
  struct Case {
    const char* name;
    int solvedBefore;
    bool right;
    During during;
    bool opensNext;
  } cases[] = {
      {"right", 0, true, During::kNothing, true},
      {"wrong", 0, false, During::kNothing, false},
      {"right, re-layout meanwhile", 0, true, During::kReLayout, false},
      {"wrong, re-layout meanwhile", 0, false, During::kReLayout, false},
      {"right, run ended meanwhile", 0, true, During::kEnd, false},
      {"the last right answer", drill::kProblemsPerRun - 1, true, During::kNothing, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PracticeRun run(DrillKind::kDivision, 0, kSeedAt123456789);
    run.OpenNextProblem(0);
    for (int i = 0; i < c.solvedBefore; ++i)
      AnswerRight(run, 0);
    ASSERT_EQ(run.JudgeKey(c.right ? KeyFor(run) : WrongKeyFor(run), 0),
              c.right ? Verdict::kRight : Verdict::kWrong);
    const int opened = run.ProblemsOpened();
    if (c.during == During::kReLayout) {
      ASSERT_TRUE(run.OpenNextProblem(0));
    }
    if (c.during == During::kEnd) {
      ASSERT_TRUE(run.End());
    }
    EXPECT_EQ(run.FinishJudging(), c.opensNext);
    // A solved problem waiting for its successor takes no answer, even from a new key.
    run.ReleaseKey();
    if (run.CurrentProblem()->solved) {
      EXPECT_EQ(run.JudgeKey(KeyFor(run), 0), Verdict::kIgnored);
    }
    EXPECT_EQ(run.ProblemsOpened(), opened + (c.during == During::kReLayout ? 1 : 0));
  }
}

// A right answer is counted once, at its judging, whether the run ends during its feedback or
// after it.
TEST(PracticeRun, ARightAnswerIsCountedOnce) {
  for (bool endsDuringFeedback : {true, false}) {
    SCOPED_TRACE(endsDuringFeedback);
    PracticeRun run(DrillKind::kDivision, 0, kSeedAt123456789);
    run.OpenNextProblem(0);
    AnswerRight(run, 0);
    ASSERT_EQ(run.JudgeKey(KeyFor(run), 2000 * kMs), Verdict::kRight);
    EXPECT_EQ(run.RightCount(), 2);
    if (!endsDuringFeedback) {
      EXPECT_TRUE(run.FinishJudging());
    }
    EXPECT_TRUE(run.End());
    EXPECT_FALSE(run.FinishJudging());
    EXPECT_EQ(run.RightCount(), 2);
    EXPECT_NEAR(run.TotalSolvingTime() / kMs, 2000, 1e-6);
    // Once ended, the run takes no further end, key or problem.
    EXPECT_FALSE(run.End());
    run.ReleaseKey();
    EXPECT_EQ(run.JudgeKey('5', 0), Verdict::kIgnored);
    EXPECT_FALSE(run.OpenNextProblem(0));
    EXPECT_EQ(run.ProblemsOpened(), 2);
  }
}

}  // namespace
