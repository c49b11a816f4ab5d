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

FactState JudgeFirstAsks(int recentAnswers, int fastRecalls, int64_t medianTenths,
                         int recentMissed) {
  if (recentAnswers <= 0) return FactState::kUnseen;
  if (fastRecalls >= kFluentAnswers) return FactState::kFluent;
  if (recentMissed >= std::min(kMissedAnswers, recentAnswers)) return FactState::kMissed;
  if (medianTenths <= kGettingThereTenths) return FactState::kGettingThere;
  return FactState::kSlow;
}

int ReviewIntervalDays(int streak) {
  // Streak kFluentAnswers or less, one more, two more, three more, kLongestStreak or more.
  constexpr std::array<int, 5> kDays = {1, 3, 7, 14, 28};
  return kDays[static_cast<size_t>(std::clamp(streak - kFluentAnswers, 0, 4))];
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

void FactStates::BeginRun(int64_t startSeconds) {
  ++runs;
  runStart = startSeconds;
}

bool FactStates::IsFirstAsk(const Problem& problem) const {
  return SaysSomethingAboutTheFact(problem) &&
         histories[static_cast<size_t>(FactPlace(FactOf(problem)))].lastRun != runs;
}

void FactStates::Add(const Problem& problem, uint32_t milliseconds, int wrongTries) {
  if (!SaysSomethingAboutTheFact(problem)) return;
  const int place = FactPlace(FactOf(problem));
  History& history = histories[static_cast<size_t>(place)];
  history.answers++;
  history.missedAnswers += wrongTries > 0;
  history.last = added++;
  if (history.lastRun == runs) return;  // practice: the fact was asked earlier in this run
  history.lastRun = runs;
  history.ring[static_cast<size_t>(history.firstAsks % kRecentAnswers)] = {milliseconds,
                                                                           wrongTries};
  history.firstAsks++;
  history.streak = IsFastRecall(milliseconds, wrongTries) ? history.streak + 1 : 0;
  history.evidenceDay = DayOfSeconds(runStart);
  if (IsFluent(history)) {
    history.weakSinceDay = -1;
  } else if (history.weakSinceDay < 0) {
    history.weakSinceDay = history.evidenceDay;
  }
}

// Only fluent or not matters to Add, which asks it for every first ask: the fast recalls alone
// decide that, with no median to take.
bool FactStates::IsFluent(const History& history) {
  const int n = std::min(history.firstAsks, kRecentAnswers);
  int fast = 0;
  for (int i = 0; i < n; i++) {
    const FirstAsk& ask = history.ring[static_cast<size_t>(i)];
    fast += IsFastRecall(ask.milliseconds, ask.wrongTries);
  }
  return fast >= kFluentAnswers;
}

FactFigures FactStates::FiguresAt(int place) const {
  const History& history = histories[static_cast<size_t>(place)];
  FactFigures figures;
  figures.answers = history.answers;
  figures.firstAsks = history.firstAsks;
  figures.missedAnswers = history.missedAnswers;
  figures.streak = history.streak;
  figures.recentAnswers = std::min(history.firstAsks, kRecentAnswers);
  figures.lastAnswer = history.last;
  std::vector<uint32_t> times;
  for (int i = 0; i < figures.recentAnswers; i++) {
    const FirstAsk& ask = history.ring[static_cast<size_t>(i)];
    times.push_back(ask.milliseconds);
    figures.recentMissed += ask.wrongTries > 0;
    figures.recentWrongTries += ask.wrongTries;
    figures.fastRecalls += IsFastRecall(ask.milliseconds, ask.wrongTries);
  }
  figures.median = MedianOf(std::move(times));
  figures.state = JudgeFirstAsks(figures.recentAnswers, figures.fastRecalls,
                                 figures.median.Tenths(), figures.recentMissed);
  if (figures.state == FactState::kUnseen) return figures;
  const int64_t today = Today();
  figures.evidenceDay = history.evidenceDay;
  figures.evidenceAgeDays = static_cast<int>(std::max<int64_t>(0, today - history.evidenceDay));
  figures.dueForReview = figures.state == FactState::kFluent &&
                         figures.evidenceAgeDays >= ReviewIntervalDays(figures.streak);
  if (history.weakSinceDay >= 0)
    figures.weakForDays = static_cast<int>(std::max<int64_t>(0, today - history.weakSinceDay));
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
