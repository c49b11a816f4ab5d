// Simulated children on the normal drill and on focus mode, judged by what each child truly
// knows: the memory model of tools/learner_model.h says, the morning after each run and before
// any practice, whether each fact is retrieved at least 90 % of the time within 3.0 s. The runs
// go through the practice run and the planner the drills use; the report's rule is measured
// against the truth, never used as it.
//
//   quarn_focus_sim [--subtraction] [--learners N] [--variants N] [--threads N]
//
// --variants N runs only the first N rows (normal, focus, a bound that knows the child's true
// memory, then the planner's variants, each changing one rule).
//
// One run a day, every day, at 9:00, 100 right answers. Each child has its own decay, speed
// and counting speed, and starts knowing some facts: easy ones (with a 1, a 2, a 5, doubles)
// have had more practice before the drill. The same children take every mode and variant.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "drill/fact_states.h"
#include "drill/focus_plan.h"
#include "drill/practice.h"
#include "drill/practice_run.h"
#include "drill/time_text.h"
#include "tools/learner_model.h"

namespace {

using drill::DrillKind;

constexpr int kMaxRuns = 300;
constexpr int kEarlyRun = 10, kLateRun = 30, kBreakDays = 14;
constexpr double kDaySeconds = 86400;
constexpr double kFeedbackSeconds = 1.0;  // the sound and the next problem's opening
constexpr double kTensOfASumSeconds = 1.2;
constexpr int64_t kRunHour = 9 * 3600;

struct Variant {
  const char* name;
  bool focus;
  drill::FocusRules rules;
  // Not the drill: a bound that knows the child's true memory. Each run asks every fact not
  // truly mastered, the weakest first, then each of them again 20 problems later, then the
  // others least recently practised. No log, so no report figures.
  bool oracle = false;
};

// What one child reached in one variant. Runs are counted from 1; kMaxRuns + 1 is never.
struct Outcome {
  int runsToMastery = kMaxRuns + 1;
  int runsToReportFluent = kMaxRuns + 1;
  int runsToOldRuleFluent = kMaxRuns + 1;
  double masteredEarly = 0, masteredLate = 0, keptAfterBreak = 0;
  double masteredAtReportFluent = -1, masteredAtOldRuleFluent = -1;
  double secondsPerRun = 0;
};

// The rule the report used before: the five newest answers, every ask counted, median within
// 3.0 s and none with a wrong try. Kept here only to show what it said.
class OldRule {
 public:
  void Add(int place, uint32_t ms, int wrongTries) {
    History& h = histories[static_cast<size_t>(place)];
    h.ring[static_cast<size_t>(h.total++ % 5)] = {ms, wrongTries};
  }
  bool Fluent(int place) const {
    const History& h = histories[static_cast<size_t>(place)];
    if (h.total == 0) return false;
    std::vector<uint32_t> times;
    for (int i = 0; i < std::min(h.total, 5); ++i) {
      if (h.ring[static_cast<size_t>(i)].second > 0) return false;
      times.push_back(h.ring[static_cast<size_t>(i)].first);
    }
    return drill::MedianOf(times).Tenths() <= drill::kFluentTenths;
  }

 private:
  struct History {
    std::array<std::pair<uint32_t, int>, 5> ring{};
    int total = 0;
  };
  std::array<History, drill::kFactPlaces> histories{};
};

uint64_t Mix(uint64_t x) {
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// The two numbers a child counts with for the fact.
std::pair<int, int> Operands(const drill::Fact& fact) {
  if (fact.kind == drill::FactKind::kForward) return {fact.first, fact.second};
  return {fact.second, fact.Answer()};
}

// How much a fact was practised before the drill: facts with a 1, a 2 or a 5, and doubles.
double Ease(const drill::Fact& fact) {
  auto [a, b] = Operands(fact);
  double ease = 0;
  for (int x : {a, b})
    ease += x == 1 ? 3.0 : x == 2 ? 1.5 : x == 5 ? 1.0 : 0.0;
  if (a == b) ease += 1.0;
  return ease;
}

class Simulation {
 public:
  Simulation(DrillKind kind, int learner) : kind(kind), random(Mix(learner * 7919 + 17)) {
    std::uniform_real_distribution<double> u(0, 1);
    std::normal_distribution<double> normal(0, 1);
    child.alpha = std::clamp(child.p.alpha + 0.025 * normal(random), 0.12, 0.26);
    child.latencyF = 0.9 + 0.7 * u(random);
    child.motorSeconds = 0.8 + 0.5 * u(random);
    child.countSecondsPerUnit = 0.4 + 0.5 * u(random);
    const double priorLevel = 2.0 * u(random);  // how much the child practised before
    child.facts.resize(drill::kFactPlaces);
    for (int place = 0; place < drill::kFactPlaces; ++place) {
      const drill::Fact fact = drill::FactAtPlace(kind, place);
      if (!drill::IsAsked(fact)) continue;
      askable.push_back(place);
      // Facts differ: a child's own offset per fact, inverse facts a little harder.
      const double beta = 0.2 * normal(random) - (fact.kind == drill::FactKind::kInverse ? 0.1 : 0);
      child.facts[static_cast<size_t>(place)] = sim::FactMemory(beta);
      std::poisson_distribution<int> prior(Ease(fact) * priorLevel);
      for (int i = prior(random); i > 0; --i) {
        const double daysAgo = 1 + 59 * u(random);
        child.facts[static_cast<size_t>(place)].Practise(-daysAgo * kDaySeconds * child.p.h,
                                                         child.alpha, child.p.c);
      }
    }
  }

  Outcome Run(const Variant& variant) {
    Outcome out;
    drill::FactStates states(kind);
    OldRule oldRule;
    double now = 0;  // effective seconds
    double totalSeconds = 0;
    for (int run = 1; run <= kMaxRuns; ++run) {
      const int64_t start = (20000 + run) * 86400LL + kRunHour;
      const double runSeconds = variant.oracle
                                    ? PractiseKnowingTheTruth(now)
                                    : PractiseOnce(variant, run, start, now, states, oldRule);
      totalSeconds += runSeconds;
      const double morning = now + child.p.h * (kDaySeconds - runSeconds);
      const double mastered = MasteredShare(morning);
      if (mastered >= 1.0 && out.runsToMastery > kMaxRuns) out.runsToMastery = run;
      if (run == kEarlyRun) out.masteredEarly = mastered;
      if (run == kLateRun) {
        out.masteredLate = mastered;
        out.keptAfterBreak =
            MasteredShare(now + child.p.h * (kBreakDays * kDaySeconds - runSeconds));
      }
      states.JudgeOnDay(drill::DayOfSeconds(start));
      if (out.runsToReportFluent > kMaxRuns && AllFluent(states)) {
        out.runsToReportFluent = run;
        out.masteredAtReportFluent = mastered;
      }
      if (out.runsToOldRuleFluent > kMaxRuns &&
          std::all_of(askable.begin(), askable.end(), [&](int p) { return oldRule.Fluent(p); })) {
        out.runsToOldRuleFluent = run;
        out.masteredAtOldRuleFluent = mastered;
      }
      now = morning;
      out.secondsPerRun = totalSeconds / run;
      if (run >= kLateRun && out.runsToMastery <= kMaxRuns && out.runsToReportFluent <= kMaxRuns)
        break;
    }
    return out;
  }

 private:
  bool AllFluent(const drill::FactStates& states) const {
    return std::all_of(askable.begin(), askable.end(), [&](int place) {
      return states.FiguresAt(place).state == drill::FactState::kFluent;
    });
  }

  double MasteredShare(double at) const {
    int mastered = 0;
    for (int place : askable)
      mastered += sim::TrulyMastered(child, place, at);
    return static_cast<double>(mastered) / static_cast<double>(askable.size());
  }

  double PractiseKnowingTheTruth(double& now) {
    std::vector<std::pair<double, int>> weak;
    std::vector<int> others;
    for (int place : askable) {
      if (sim::TrulyMastered(child, place, now)) {
        others.push_back(place);
      } else {
        weak.emplace_back(child.facts[static_cast<size_t>(place)].Activation(now), place);
      }
    }
    std::sort(weak.begin(), weak.end());
    std::sort(others.begin(), others.end(),
              [&](int x, int y) { return lastPractised[x] < lastPractised[y]; });
    std::vector<int> order;
    for (auto [m, place] : weak)
      order.push_back(place);
    for (size_t i = 0; i < weak.size() && order.size() < drill::kProblemsPerRun; ++i) {
      if (order.size() < 20 + i) break;
      order.push_back(weak[i].second);
    }
    for (int place : others)
      order.push_back(place);
    for (size_t i = 0; order.size() < drill::kProblemsPerRun; ++i)
      order.push_back(order[i]);
    order.resize(drill::kProblemsPerRun);
    double runSeconds = 0;
    for (int place : order) {
      auto [a, b] = Operands(drill::FactAtPlace(kind, place));
      const sim::Attempt attempt =
          sim::AnswerFact(child, place, std::min(a, b), now + runSeconds, random);
      lastPractised[place] = now + runSeconds;
      runSeconds += attempt.seconds + kFeedbackSeconds;
    }
    now += runSeconds;
    return runSeconds;
  }

  // One run of 100 right answers from effective time `now`, which it moves on; its answers go
  // into the states as the log would. Returns the run's seconds.
  double PractiseOnce(const Variant& variant, int run, int64_t start, double& now,
                      drill::FactStates& states, OldRule& oldRule) {
    const drill::TimeValue startValue = 25569.0 + static_cast<double>(start) / kDaySeconds;
    const uint32_t seed =
        static_cast<uint32_t>(Mix(static_cast<uint64_t>(run) * 131 + 7) % 86'400'000u);
    drill::PracticeRun practice =
        variant.focus ? drill::PracticeRun(kind, startValue, seed,
                                           drill::FocusPlanner(kind, states, variant.rules))
                      : drill::PracticeRun(kind, startValue, seed);
    double runSeconds = 0;
    drill::TimeValue clock = 0;
    practice.OpenNextProblem(clock);
    while (!practice.Complete()) {
      const drill::Problem problem = practice.CurrentProblem()->problem;
      sim::Attempt attempt{.seconds = kTensOfASumSeconds, .wrongTries = 0, .recalled = true};
      if (drill::SaysSomethingAboutTheFact(problem)) {
        const drill::Fact fact = drill::FactOf(problem);
        auto [a, b] = Operands(fact);
        attempt = sim::AnswerFact(child, drill::FactPlace(fact), std::min(a, b), now + runSeconds,
                                  random);
      }
      for (int i = 0; i <= attempt.wrongTries; ++i) {
        const bool last = i == attempt.wrongTries;
        const char key = static_cast<char>('0' + (problem.Answer() + (last ? 0 : 1)) % 10);
        practice.JudgeKey(
            key, clock + attempt.seconds * (i + 1) / (attempt.wrongTries + 1) / kDaySeconds);
        practice.FinishJudging();
        practice.ReleaseKey();
      }
      runSeconds += attempt.seconds + kFeedbackSeconds;
      clock += (attempt.seconds + kFeedbackSeconds) / kDaySeconds;
      practice.OpenNextProblem(clock);
    }
    states.BeginRun(start);
    for (const drill::ProblemRecord& record : practice.SolvedProblems()) {
      const uint32_t ms = static_cast<uint32_t>(drill::WholeMilliseconds(record.solvingTime));
      states.Add(record.problem, ms, record.misses);
      if (drill::SaysSomethingAboutTheFact(record.problem))
        oldRule.Add(drill::FactPlace(drill::FactOf(record.problem)), ms, record.misses);
    }
    now += runSeconds;
    return runSeconds;
  }

  DrillKind kind;
  std::mt19937_64 random;
  sim::Child child;
  std::vector<int> askable;
  std::array<double, drill::kFactPlaces> lastPractised{};
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  int n = 0;
  for (double v : values) {
    if (v < 0) continue;
    sum += v;
    ++n;
  }
  return n ? sum / n : -1;
}

std::string Runs(double median) {
  return median > kMaxRuns ? std::string(">") + std::to_string(kMaxRuns)
                           : std::to_string(static_cast<int>(std::lround(median)));
}

}  // namespace

int main(int argc, char** argv) {
  DrillKind kind = DrillKind::kDivision;
  int learners = 40, threads = 2, shown = 100;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--subtraction") == 0) {
      kind = DrillKind::kSubtraction;
    } else if (std::strcmp(argv[i], "--learners") == 0 && i + 1 < argc) {
      learners = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--variants") == 0 && i + 1 < argc) {
      shown = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
      threads = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(
          stderr,
          "usage: quarn_focus_sim [--subtraction] [--learners N] [--variants N] [--threads N]\n");
      return 2;
    }
  }
  const drill::FocusRules rules;
  std::vector<Variant> variants = {{"normal", false, rules, false},
                                   {"focus", true, rules, false},
                                   {"knows the true state", true, rules, true}};
  auto vary = [&](const char* name, auto change) {
    drill::FocusRules changed = rules;
    change(changed);
    variants.push_back({name, true, changed, false});
  };
  vary("focus, gap 5", [](drill::FocusRules& r) { r.gap = 5; });
  vary("focus, once a run", [](drill::FocusRules& r) { r.weakAsks = 1; });
  vary("focus, 3 a run", [](drill::FocusRules& r) { r.weakAsks = 3; });
  vary("focus, no reviews", [](drill::FocusRules& r) { r.growingReviews = false; });
  vary("focus, fluent is secure", [](drill::FocusRules& r) { r.secureStreak = 0; });
  vary("focus, table order", [](drill::FocusRules& r) { r.byRisk = false; });
  vary("focus, 4 new a run", [](drill::FocusRules& r) { r.newPerRun = 4; });
  vary("focus, 16 new a run", [](drill::FocusRules& r) { r.newPerRun = 16; });

  variants.resize(std::min(variants.size(), static_cast<size_t>(shown)));
  std::vector<std::vector<Outcome>> outcomes(variants.size(), std::vector<Outcome>(learners));
  std::atomic<int> next{0};
  const int jobs = static_cast<int>(variants.size()) * learners;
  auto work = [&] {
    for (int job; (job = next++) < jobs;) {
      const int v = job / learners, learner = job % learners;
      outcomes[static_cast<size_t>(v)][static_cast<size_t>(learner)] =
          Simulation(kind, learner).Run(variants[static_cast<size_t>(v)]);
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back(work);
  for (std::thread& t : pool)
    t.join();

  std::printf("%s, %d learners, one run a day every day, at most %d runs\n\n",
              std::string(drill::Title(kind)).c_str(), learners, kMaxRuns);
  std::printf(
      "| variant | runs to true mastery | /normal | mastered after %d | after %d | kept %d days "
      "after %d | runs to report all fluent | report/true runs | mastered when report all "
      "fluent | old rule: mastered when all fluent (learners) | s per run |\n",
      kEarlyRun, kLateRun, kBreakDays, kLateRun);
  std::printf("|---|--:|--:|--:|--:|--:|--:|--:|--:|--:|--:|\n");
  double normalRuns = 0;
  for (size_t v = 0; v < variants.size(); ++v) {
    std::vector<double> mastery, report, ratio, early, late, kept, atReport, atOld, seconds;
    int oldReached = 0;
    for (const Outcome& o : outcomes[v]) {
      mastery.push_back(o.runsToMastery);
      report.push_back(o.runsToReportFluent);
      ratio.push_back(static_cast<double>(o.runsToReportFluent) / o.runsToMastery);
      early.push_back(o.masteredEarly);
      late.push_back(o.masteredLate);
      kept.push_back(o.keptAfterBreak);
      atReport.push_back(o.masteredAtReportFluent);
      atOld.push_back(o.masteredAtOldRuleFluent);
      oldReached += o.runsToOldRuleFluent <= kMaxRuns;
      seconds.push_back(o.secondsPerRun);
    }
    const double runs = Median(mastery);
    if (v == 0) normalRuns = runs;
    if (variants[v].oracle) {  // no log, so nothing the report would show
      std::printf("| %s | %s | %.2f | %.0f %% | %.0f %% | %.0f %% | - | - | - | - | %.0f |\n",
                  variants[v].name, Runs(runs).c_str(), runs / normalRuns, 100 * Mean(early),
                  100 * Mean(late), 100 * Mean(kept), Median(seconds));
      continue;
    }
    std::printf(
        "| %s | %s | %.2f | %.0f %% | %.0f %% | %.0f %% | %s | %.2f | %.0f %% | %s (%d) | %.0f |\n",
        variants[v].name, Runs(runs).c_str(), runs / normalRuns, 100 * Mean(early),
        100 * Mean(late), 100 * Mean(kept), Runs(Median(report)).c_str(), Median(ratio),
        100 * Mean(atReport),
        oldReached ? (std::to_string(std::lround(100 * Mean(atOld))) + " %").c_str() : "-",
        oldReached, Median(seconds));
    std::fflush(stdout);
  }
  return 0;
}
