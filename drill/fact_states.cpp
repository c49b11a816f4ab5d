// The fact states' rule and bookkeeping.
#include "drill/fact_states.h"

#include <algorithm>
#include <tuple>

namespace drill {

ExactMedian MedianOf(std::vector<uint32_t> milliseconds) {
  if (milliseconds.empty()) return {};
  size_t mid = milliseconds.size() / 2;
  std::nth_element(milliseconds.begin(), milliseconds.begin() + mid, milliseconds.end());
  uint64_t upper = milliseconds[mid];
  if (milliseconds.size() % 2) return {2 * upper};
  uint64_t lower = *std::max_element(milliseconds.begin(), milliseconds.begin() + mid);
  return {lower + upper};
}

FactState StateFrom(int recentAnswers, int64_t medianTenths, int recentMissed) {
  if (recentAnswers <= 0) return FactState::kUnseen;
  if (recentMissed >= std::min(kMissedAnswers, recentAnswers)) return FactState::kMissed;
  if (medianTenths <= kFluentTenths && recentMissed == 0) return FactState::kFluent;
  if (medianTenths <= kGettingThereTenths) return FactState::kGettingThere;
  return FactState::kSlow;
}

namespace {

int WeaknessRank(FactState state) {
  switch (state) {
    case FactState::kMissed:
      return 3;
    case FactState::kSlow:
      return 2;
    case FactState::kGettingThere:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

bool IsWeaker(const FactFigures& x, const FactFigures& y) {
  return std::make_tuple(WeaknessRank(x.state), x.recentMissed, x.median) >
         std::make_tuple(WeaknessRank(y.state), y.recentMissed, y.median);
}

int FactPlace(const Fact& fact) {
  if (fact.kind == FactKind::kForward) return (fact.first - 1) * 9 + fact.second - 1;
  return 81 + (fact.second - 1) * 9 + fact.Answer() - 1;
}

Fact FactAtPlace(DrillKind drill, int place) {
  if (place < 81) return {drill, FactKind::kForward, place / 9 + 1, place % 9 + 1};
  int known = (place - 81) / 9 + 1;
  int answer = (place - 81) % 9 + 1;
  return {drill, FactKind::kInverse, Combine(drill, answer, known), known};
}

bool IsAsked(const Fact& fact) {
  if (fact.kind == FactKind::kForward) return IsAsked(fact.drill, fact.first, fact.second);
  return fact.second >= 1 && fact.second <= 9 && IsAsked(fact.drill, fact.Answer(), fact.second) &&
         Combine(fact.drill, fact.Answer(), fact.second) == fact.first;
}

void FactStates::Add(const Problem& problem, uint32_t milliseconds, int wrongTries) {
  if (!SaysSomethingAboutTheFact(problem)) return;
  History& history = histories[FactPlace(FactOf(problem))];
  history.ring[history.total % kRecentAnswers] = {milliseconds, wrongTries};
  history.total++;
  history.last = added++;
}

FactFigures FactStates::FiguresAt(int place) const {
  const History& history = histories[place];
  FactFigures figures;
  figures.answers = history.total;
  figures.recentAnswers = std::min(history.total, kRecentAnswers);
  figures.lastAnswer = history.last;
  std::vector<uint32_t> times;
  for (int i = 0; i < figures.recentAnswers; i++) {
    times.push_back(history.ring[i].milliseconds);
    figures.recentMissed += history.ring[i].wrongTries > 0;
    figures.recentWrongTries += history.ring[i].wrongTries;
  }
  figures.median = MedianOf(std::move(times));
  figures.state = StateFrom(figures.recentAnswers, figures.median.Tenths(), figures.recentMissed);
  return figures;
}

std::vector<Fact> FactStates::Weakest(size_t limit) const {
  std::vector<std::pair<int, FactFigures>> wanting;
  for (int place = 0; place < kFactPlaces; place++) {
    FactFigures figures = FiguresAt(place);
    if (NeedsPractice(figures.state)) wanting.emplace_back(place, figures);
  }
  std::stable_sort(wanting.begin(), wanting.end(),
                   [](const auto& x, const auto& y) { return IsWeaker(x.second, y.second); });
  std::vector<Fact> facts;
  for (size_t i = 0; i < wanting.size() && i < limit; i++)
    facts.push_back(FactAtPlace(drill, wanting[i].first));
  return facts;
}

}  // namespace drill
