// The focus planner's rules, in the order they are tried for each problem: a wrong answer's
// correction that is due, a new fact's turn, the run's first asks most at risk first, second
// asks of weak facts, then whatever is left.
#include "drill/focus_plan.h"

#include <algorithm>
#include <cmath>

namespace drill {

namespace {

// A new fact's turn comes every this-many-th problem while the run's share of new facts lasts.
constexpr int kNewEvery = 5;

}  // namespace

double RecallRisk(const FactFigures& figures) {
  if (figures.state == FactState::kUnseen) return 1.0;
  double halfLifeDays = figures.streak > 0 ? ReviewIntervalDays(figures.streak) : 0.5;
  const int64_t tenths = figures.median.Tenths();
  if (tenths > kFluentTenths) halfLifeDays *= 0.5;
  if (tenths > kGettingThereTenths) halfLifeDays *= 0.5;
  // Missed lately, and missed often.
  halfLifeDays = std::ldexp(halfLifeDays, -figures.recentMissed);
  if (figures.answers > 0)
    halfLifeDays *= 1.0 - 0.5 * figures.missedAnswers / static_cast<double>(figures.answers);
  return 1.0 - std::exp2(-(figures.evidenceAgeDays + 1) / halfLifeDays);
}

Problem ProblemFor(const Fact& fact, RandomSource& random) {
  if (fact.kind == FactKind::kForward) {
    if (fact.drill == DrillKind::kSubtraction) return {fact.drill, fact.first, fact.second, 4};
    return {fact.drill, fact.first, fact.second, 3 + random.Draw(2)};
  }
  const int answer = fact.Answer();
  if (random.Draw(2) == 0) return {fact.drill, answer, fact.second, 1};
  return {fact.drill, fact.second, answer, 2};
}

FocusPlanner::FocusPlanner(DrillKind kind, const FactStates& history, FocusRules rules)
    : kind(kind), rules(rules), states(history) {
  for (int place = 0; place < kFactPlaces; ++place) {
    if (!IsAsked(FactAtPlace(kind, place))) continue;
    askable.push_back(place);
    hasHistory = hasHistory || states.FiguresAt(place).answers > 0;
  }
  BeginRun(history.RunStart());
}

void FocusPlanner::BeginRun(int64_t startSeconds) {
  states.BeginRun(startSeconds);
  inRun = {};
  asked = newInRun = 0;
  agenda.clear();
  agendaNext = 0;
  for (int place : askable) {
    figures[place] = states.FiguresAt(place);
    const FactFigures& f = figures[place];
    risk[place] = rules.byRisk ? RecallRisk(f) : 0.0;
    if (!Unsecure(place) && !(rules.growingReviews && f.dueForReview)) continue;
    agenda.push_back(place);
  }
  if (rules.byRisk) {
    std::stable_sort(agenda.begin(), agenda.end(), [&](int x, int y) { return risk[x] > risk[y]; });
  }
}

Problem FocusPlanner::Next(RandomSource& random) {
  ++asked;
  const int place = Choose(random);
  InRun& fact = inRun[place];
  if (figures[place].state == FactState::kUnseen && fact.asks == 0) ++newInRun;
  ++fact.asks;
  fact.lastAsked = asked;
  fact.awaitsCorrection = false;
  return ProblemFor(FactAtPlace(kind, place), random);
}

void FocusPlanner::Answered(const Problem& problem, uint32_t milliseconds, int wrongTries) {
  if (!SaysSomethingAboutTheFact(problem)) return;
  const int place = FactPlace(FactOf(problem));
  states.Add(problem, milliseconds, wrongTries);
  figures[place] = states.FiguresAt(place);
  inRun[place].awaitsCorrection = wrongTries > 0;
}

int FocusPlanner::Choose(RandomSource& random) {
  if (int place = DueCorrection(); place >= 0) return place;
  if (newInRun < rules.newPerRun && asked % kNewEvery == kNewEvery / 2 + 1) {
    if (int place = NewFact(random); place >= 0) return place;
  }
  if (int place = NextFirstAsk(); place >= 0) return place;
  if (int place = SecondAsk(); place >= 0) return place;
  // Every weak and due fact has had its turns: new facts, then the fluent ones most at risk.
  if (int place = NewFact(random); place >= 0) return place;
  if (int place = LeastRecentlyAnsweredFluent(); place >= 0) return place;
  if (int place = LeastRecentlyAsked(true); place >= 0) return place;
  return LeastRecentlyAsked(false);
}

// A wrong answer comes back once the gap has passed, so that the child meets the right answer
// again after a while; a fact answered wrongly at its last allowed ask rests until the next run.
int FocusPlanner::DueCorrection() const {
  int due = -1;
  for (int place : askable) {
    const InRun& fact = inRun[place];
    if (!fact.awaitsCorrection || fact.asks > rules.weakAsks || !Spaced(place)) continue;
    if (due < 0 || fact.lastAsked < inRun[due].lastAsked) due = place;
  }
  return due;
}

bool FocusPlanner::Unsecure(int place) const {
  const FactFigures& f = figures[place];
  return NeedsPractice(f.state) || (f.state == FactState::kFluent && f.streak < rules.secureStreak);
}

int FocusPlanner::NextFirstAsk() {
  while (agendaNext < agenda.size() && inRun[agenda[agendaNext]].asks > 0)
    ++agendaNext;
  return agendaNext < agenda.size() ? agenda[agendaNext++] : -1;
}

int FocusPlanner::SecondAsk() const {
  int chosen = -1;
  for (int place : askable) {
    const InRun& fact = inRun[place];
    if (fact.asks == 0 || fact.asks >= rules.weakAsks || fact.awaitsCorrection ||
        !NeedsPractice(figures[place].state) || !Spaced(place))
      continue;
    if (chosen < 0 || fact.lastAsked < inRun[chosen].lastAsked) chosen = place;
  }
  return chosen;
}

int FocusPlanner::NewFact(RandomSource& random) const {
  std::vector<int> unseen;
  for (int place : askable) {
    if (figures[place].state == FactState::kUnseen && inRun[place].asks == 0)
      unseen.push_back(place);
  }
  if (unseen.empty()) return -1;
  return unseen[static_cast<size_t>(random.Draw(static_cast<int>(unseen.size())))];
}

// A fluent fact not yet asked in the run, the one answered longest ago: the fluent facts take
// turns when nothing else is left.
int FocusPlanner::LeastRecentlyAnsweredFluent() const {
  int chosen = -1;
  for (int place : askable) {
    if (figures[place].state != FactState::kFluent || inRun[place].asks > 0) continue;
    if (chosen < 0 || figures[place].lastAnswer < figures[chosen].lastAnswer) chosen = place;
  }
  return chosen;
}

int FocusPlanner::LeastRecentlyAsked(bool spaced) const {
  int chosen = -1;
  for (int place : askable) {
    if (spaced && (inRun[place].awaitsCorrection || !Spaced(place))) continue;
    if (chosen < 0 || inRun[place].lastAsked < inRun[chosen].lastAsked) chosen = place;
  }
  return chosen;
}

}  // namespace drill
