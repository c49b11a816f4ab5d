// The focus planner's rules, in the order they are tried for each problem: a wrongly answered
// fact that is due again, a review turn, a new fact's turn, the weakest fact, then whatever is
// left.
#include "drill/focus_plan.h"

#include <tuple>

namespace drill {

Problem ProblemFor(const Fact& fact, RandomSource& random) {
  if (fact.kind == FactKind::kForward) {
    if (fact.drill == DrillKind::kSubtraction) return {fact.drill, fact.first, fact.second, 4};
    return {fact.drill, fact.first, fact.second, 3 + random.Draw(2)};
  }
  const int answer = fact.Answer();
  if (random.Draw(2) == 0) return {fact.drill, answer, fact.second, 1};
  return {fact.drill, fact.second, answer, 2};
}

FocusPlanner::FocusPlanner(DrillKind kind, const FactStates& history)
    : kind(kind), states(history) {
  for (int place = 0; place < kFactPlaces; ++place) {
    figures[place] = states.FiguresAt(place);
    if (!IsAsked(FactAtPlace(kind, place))) continue;
    askable.push_back(place);
    hasHistory = hasHistory || figures[place].answers > 0;
  }
}

Problem FocusPlanner::Next(RandomSource& random) {
  ++asked;
  const int place = Choose(random);
  InRun& fact = inRun[place];
  if (fact.awaitsComeback) ++fact.comebacks;
  if (figures[place].state == FactState::kUnseen && fact.asks == 0) ++newInRun;
  ++fact.asks;
  fact.lastAsked = asked;
  return ProblemFor(FactAtPlace(kind, place), random);
}

void FocusPlanner::Answered(const Problem& problem, uint32_t milliseconds, int wrongTries) {
  if (!SaysSomethingAboutTheFact(problem)) return;
  const int place = FactPlace(FactOf(problem));
  states.Add(problem, milliseconds, wrongTries);
  figures[place] = states.FiguresAt(place);
  inRun[place].awaitsComeback = wrongTries > 0;
}

int FocusPlanner::Choose(RandomSource& random) {
  if (int place = DueComeback(); place >= 0) return place;
  if (asked % kFocusReviewEvery == 0) {
    if (int place = LongestUnreviewed(true); place >= 0) return place;
  }
  const bool roomForNew = newInRun < kFocusNewPerRun;
  if (roomForNew && asked % kFocusNewEvery == kFocusNewEvery / 2) {
    if (int place = NewFact(random); place >= 0) return place;
  }
  if (int place = Weakest(); place >= 0) return place;
  if (roomForNew) {
    if (int place = NewFact(random); place >= 0) return place;
  }
  if (int place = LongestUnreviewed(false); place >= 0) return place;
  // Nothing weak or fluent can be asked now: more new facts rather than a fact too soon again.
  if (int place = NewFact(random); place >= 0) return place;
  if (int place = LeastRecentlyAsked(true); place >= 0) return place;
  return LeastRecentlyAsked(false);
}

// A fact answered wrongly waits for its comeback and takes no other turn; once its comebacks
// are used up it rests for the rest of the run.
bool FocusPlanner::Rests(int place) const {
  return inRun[place].awaitsComeback;
}

int FocusPlanner::DueComeback() const {
  int due = -1;
  for (int place : askable) {
    const InRun& fact = inRun[place];
    if (!fact.awaitsComeback || fact.comebacks >= kFocusComebacks || !Spaced(place)) continue;
    if (due < 0 || fact.lastAsked < inRun[due].lastAsked) due = place;
  }
  return due;
}

int FocusPlanner::LongestUnreviewed(bool onlyUnaskedInRun) const {
  int chosen = -1;
  for (int place : askable) {
    if (figures[place].state != FactState::kFluent || Rests(place) || !Spaced(place)) continue;
    if (onlyUnaskedInRun && inRun[place].asks > 0) continue;
    if (chosen < 0 || figures[place].lastAnswer < figures[chosen].lastAnswer) chosen = place;
  }
  return chosen;
}

int FocusPlanner::Weakest() const {
  int chosen = -1;
  for (int place : askable) {
    if (!NeedsPractice(figures[place].state) || Rests(place) || !Spaced(place)) continue;
    if (chosen < 0 || IsWeaker(figures[place], figures[chosen]) ||
        (!IsWeaker(figures[chosen], figures[place]) &&
         inRun[place].lastAsked < inRun[chosen].lastAsked)) {
      chosen = place;
    }
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

int FocusPlanner::LeastRecentlyAsked(bool spaced) const {
  int chosen = -1;
  for (int place : askable) {
    if (spaced && (Rests(place) || !Spaced(place))) continue;
    if (chosen < 0 || inRun[place].lastAsked < inRun[chosen].lastAsked) chosen = place;
  }
  return chosen;
}

}  // namespace drill
