// Simulated learners: how many daily runs the normal drill and focus mode need until every fact
// is fluent by the report's rule. Both go through the practice run and the planner the drills
// use; only the child is simulated.
//
//   quarn_focus_sim [--subtraction] [--learners N]
//
// A child knows each fact as it sees it with a solving time drawn from 1.5 to 9 s and a miss
// chance from 0 to 40 %. Every try at a problem takes the fact's time and misses with its
// chance; a miss costs a wrong key and the child tries again. Each right answer brings the
// time 10 % of the way to 1.2 s and multiplies the miss chance by 0.8. With forgetting, a fact
// not answered on a day drifts 2 % of the way back to where it started, in time and in miss
// chance. The tens of a sum (always 1) is typed at once and teaches nothing. One run a day,
// 100 right answers a run; the last line is the ratio of the medians without forgetting.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "drill/fact_states.h"
#include "drill/focus_plan.h"
#include "drill/practice.h"
#include "drill/practice_run.h"
#include "drill/time_text.h"

namespace {

using drill::DrillKind;

constexpr int kMaxRuns = 2000;
constexpr double kFastestSeconds = 1.2;
constexpr double kLearnRate = 0.10;
constexpr double kMissFactor = 0.8;
constexpr double kForgetRate = 0.02;
constexpr double kTensOfASumSeconds = 1.2;

struct FactModel {
  double startSeconds = 0;
  double startMiss = 0;
  double seconds = 0;
  double miss = 0;
};

enum class Mode { kNormal, kFocus };

class Learner {
 public:
  Learner(DrillKind kind, uint64_t seed) : kind(kind), answers(kind), random(seed) {
    std::uniform_real_distribution<double> time(1.5, 9.0), miss(0.0, 0.4);
    for (int place = 0; place < drill::kFactPlaces; ++place) {
      FactModel& fact = facts[static_cast<size_t>(place)];
      fact.startSeconds = fact.seconds = time(random);
      fact.startMiss = fact.miss = miss(random);
      if (drill::IsAsked(drill::FactAtPlace(kind, place))) askable.push_back(place);
    }
  }

  // One day's run of 100 right answers; then the unpractised facts forget, if they do.
  void PractiseOneDay(Mode mode, uint32_t seed, bool forgets) {
    drill::PracticeRun run =
        mode == Mode::kFocus ? drill::PracticeRun(kind, 0, seed, drill::FocusPlanner(kind, answers))
                             : drill::PracticeRun(kind, 0, seed);
    std::array<bool, drill::kFactPlaces> practised{};
    drill::TimeValue now = 0;
    run.OpenNextProblem(now);
    while (!run.Complete()) {
      const drill::Problem problem = run.CurrentProblem()->problem;
      const bool teaches = drill::SaysSomethingAboutTheFact(problem);
      const size_t place = static_cast<size_t>(drill::FactPlace(drill::FactOf(problem)));
      FactModel& fact = facts[place];
      const double seconds = teaches ? fact.seconds : kTensOfASumSeconds;
      const double miss = teaches ? fact.miss : 0.0;
      for (;;) {
        now += seconds / 86400.0;
        const bool wrong = std::uniform_real_distribution<double>(0, 1)(random) < miss;
        const char key = static_cast<char>('0' + (problem.Answer() + (wrong ? 1 : 0)) % 10);
        const drill::Verdict verdict = run.JudgeKey(key, now);
        run.FinishJudging();
        run.ReleaseKey();
        if (verdict == drill::Verdict::kRight) break;
      }
      if (teaches) {
        fact.seconds += kLearnRate * (kFastestSeconds - fact.seconds);
        fact.miss *= kMissFactor;
        practised[place] = true;
      }
      run.OpenNextProblem(now);
    }
    // What the log says, as the report and the next focus run read it.
    for (const drill::ProblemRecord& record : run.SolvedProblems()) {
      const int64_t ms = drill::WholeMilliseconds(record.solvingTime);
      answers.Add(record.problem, static_cast<uint32_t>(ms), record.misses);
    }
    if (!forgets) return;
    for (int p : askable) {
      FactModel& fact = facts[static_cast<size_t>(p)];
      if (practised[static_cast<size_t>(p)]) continue;
      fact.seconds += kForgetRate * (fact.startSeconds - fact.seconds);
      fact.miss += kForgetRate * (fact.startMiss - fact.miss);
    }
  }

  bool AllFluent() const {
    return std::all_of(askable.begin(), askable.end(), [this](int place) {
      return answers.FiguresAt(place).state == drill::FactState::kFluent;
    });
  }

 private:
  DrillKind kind;
  std::array<FactModel, drill::kFactPlaces> facts{};
  std::vector<int> askable;
  drill::FactStates answers;
  std::mt19937_64 random;
};

uint32_t RunSeed(int learner, int day) {
  uint64_t x = (static_cast<uint64_t>(learner) << 32) ^ static_cast<uint64_t>(day);
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>(x ^ (x >> 31)) % 86'400'000u;  // a time of day in ms
}

// The number of runs until every fact is fluent; kMaxRuns when that never came.
int RunsUntilFluent(DrillKind kind, int learner, Mode mode, bool forgets) {
  Learner child(kind, static_cast<uint64_t>(learner) * 7919 + 1);
  for (int day = 1; day <= kMaxRuns; ++day) {
    child.PractiseOneDay(mode, RunSeed(learner, day), forgets);
    if (child.AllFluent()) return day;
  }
  return kMaxRuns;
}

double Median(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace

int main(int argc, char** argv) {
  DrillKind kind = DrillKind::kDivision;
  int learners = 200;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--subtraction") == 0) {
      kind = DrillKind::kSubtraction;
    } else if (std::strcmp(argv[i], "--learners") == 0 && i + 1 < argc) {
      learners = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: quarn_focus_sim [--subtraction] [--learners N]\n");
      return 2;
    }
  }
  std::printf("%s, %d learners, one run a day, at most %d runs\n",
              std::string(drill::Title(kind)).c_str(), learners, kMaxRuns);
  std::printf("%-14s %-7s %s\n", "model", "mode", "median runs until every fact is fluent");
  std::array<double, 2> ratios{};
  for (bool forgets : {false, true}) {
    std::array<double, 2> medians{};
    for (Mode mode : {Mode::kNormal, Mode::kFocus}) {
      std::vector<int> runs;
      int capped = 0;
      for (int learner = 0; learner < learners; ++learner) {
        runs.push_back(RunsUntilFluent(kind, learner, mode, forgets));
        capped += runs.back() >= kMaxRuns;
      }
      const double median = Median(runs);
      medians[mode == Mode::kFocus] = median;
      std::printf(
          "%-14s %-7s %.1f (fastest %d, slowest %d%s)\n", forgets ? "forgetting" : "no forgetting",
          mode == Mode::kFocus ? "focus" : "normal", median,
          *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()),
          capped ? (", " + std::to_string(capped) + " never").c_str() : "");
      std::fflush(stdout);
    }
    ratios[forgets] = medians[1] / medians[0];
  }
  std::printf("focus/normal runs with forgetting: %.2f\n", ratios[1]);
  std::printf("focus/normal runs: %.2f\n", ratios[0]);
  return 0;
}
