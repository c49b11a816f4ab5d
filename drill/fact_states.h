// How well a child knows each fact, judged from the child's own answers: the one rule by which
// the report colours its grids and a practice picks the facts to work on.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "drill/practice.h"

namespace drill {

enum class FactState : uint8_t { kUnseen, kFluent, kGettingThere, kSlow, kMissed };

// A fact is judged from its newest answers only, so that it can recover from early trouble.
inline constexpr int kRecentAnswers = 5;
// Thresholds in tenths of a second, the precision the report shows: a median shown as "3.0" is
// fluent, whatever digits the exact value has beyond.
inline constexpr int kFluentTenths = 30;        // and no wrong try among the recent answers
inline constexpr int kGettingThereTenths = 60;  // slower is slow
// Recent answers with a wrong try that make a fact "missed", that is not yet secure: one slip
// among fast answers is a slip, two are a pattern. A fact answered once, wrongly, is missed.
inline constexpr int kMissedAnswers = 2;
// With fewer recent answers a state is a first impression, and the report says so.
inline constexpr int kFewAnswers = 3;

// A median kept exactly: twice its milliseconds, so that the mean of two middle values loses
// nothing (2000 and 4001 ms have the median 3000.5 ms).
struct ExactMedian {
  uint64_t twiceMs = 0;

  // Tenths of a second, halves rounded up: the value as shown, 3049.5 ms is 30 and 3050 is 31.
  constexpr int64_t Tenths() const { return static_cast<int64_t>((twiceMs + 100) / 200); }
  auto operator<=>(const ExactMedian&) const = default;
};

// The median of the values; zero when there are none.
ExactMedian MedianOf(std::vector<uint32_t> milliseconds);

FactState StateFrom(int recentAnswers, int64_t medianTenths, int recentMissed);

// What a fact's answers say about it.
struct FactFigures {
  FactState state = FactState::kUnseen;
  int answers = 0;        // every answer of the fact
  int recentAnswers = 0;  // the newest, at most kRecentAnswers
  int recentMissed = 0;   // recent answers with at least one wrong try
  int recentWrongTries = 0;
  ExactMedian median;       // of the recent answers' solving times
  int64_t lastAnswer = -1;  // the newest answer's place in the order answers were given

  bool Few() const { return recentAnswers > 0 && recentAnswers < kFewAnswers; }
};

// Whether a fact in this state wants practice: missed, slow, or getting there.
constexpr bool NeedsPractice(FactState state) {
  return state == FactState::kMissed || state == FactState::kSlow ||
         state == FactState::kGettingThere;
}

// The order of practice, weakest first: missed before slow before getting there; within a
// state, more recent answers with a wrong try first, then the slower median.
bool IsWeaker(const FactFigures& x, const FactFigures& y);

// Every fact of both kinds has a place in a table of kFactPlaces: forward facts a op b at
// (a - 1) * 9 + b - 1, inverse facts after them by known operand and answer, so that a grid of
// either kind is rows and columns 1 to 9.
inline constexpr int kFactPlaces = 162;
int FactPlace(const Fact& fact);
Fact FactAtPlace(DrillKind drill, int place);
// Whether the drill ever asks the fact.
bool IsAsked(const Fact& fact);

// The facts' figures of one drill, from its answers given in the order they were practised.
class FactStates {
 public:
  explicit FactStates(DrillKind kind) : drill(kind) {}

  // An answer that says nothing about its fact (the tens digit of a sum) is left out.
  void Add(const Problem& problem, uint32_t milliseconds, int wrongTries);

  FactFigures Figures(const Fact& fact) const { return FiguresAt(FactPlace(fact)); }
  FactFigures FiguresAt(int place) const;
  // The facts that want practice, weakest first, at most `limit`; ties in table order.
  std::vector<Fact> Weakest(size_t limit) const;

 private:
  struct RecentAnswer {
    uint32_t milliseconds = 0;
    int wrongTries = 0;
  };
  struct History {
    std::array<RecentAnswer, kRecentAnswers> ring{};  // the newest at (total - 1) % kRecentAnswers
    int total = 0;
    int64_t last = -1;
  };

  DrillKind drill;
  std::array<History, kFactPlaces> histories{};
  int64_t added = 0;
};

}  // namespace drill
