// Focus mode's choice of problems: from what the child's logs say about each fact and from how
// the run is going, the next problem to ask. Pure: no clock, no files, no window.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "drill/fact_states.h"
#include "drill/practice.h"
#include "drill/random.h"

namespace drill {

// At least this many other problems come between two asks of one fact in a run.
inline constexpr int kFocusSpacing = 5;
// A fact answered wrongly comes back after kFocusSpacing others until it is answered without a
// miss, at most this often in a run. Answered without a miss it takes its turns as a weak fact
// again; answered wrongly once its comebacks are used up, it rests until the next run.
inline constexpr int kFocusComebacks = 3;
// Every this-many-th problem reviews a fluent fact, the one answered longest ago.
inline constexpr int kFocusReviewEvery = 10;
// Facts never seen come in a few at a time: at most this many in a run while anything else is
// left to ask, and one on every this-many-th problem even when weak facts fill the rest.
inline constexpr int kFocusNewPerRun = 8;
inline constexpr int kFocusNewEvery = 10;

// The problem that asks the fact. Of its two forms one is drawn: an inverse fact 56 ÷ 8 is
// □ × 8 ＝ 56 or 8 × □ ＝ 56, a product's forward fact hides its tens or its units. The tens
// of a sum is always 1 and says nothing about the fact, so a sum hides its units.
Problem ProblemFor(const Fact& fact, RandomSource& random);

class FocusPlanner {
 public:
  // history: the drill's answers in the order they were practised.
  FocusPlanner(DrillKind kind, const FactStates& history);

  // Whether any answer of the drill is known. Without one there is nothing to focus on, and a
  // focus run asks what a normal run asks.
  bool HasHistory() const { return hasHistory; }

  // Chooses the next problem of the run, drawing any choice from random.
  Problem Next(RandomSource& random);
  // The problem last chosen was answered rightly after wrongTries wrong tries.
  void Answered(const Problem& problem, uint32_t milliseconds, int wrongTries);

 private:
  struct InRun {
    int asks = 0;
    int lastAsked = -kFocusSpacing - 1;  // the number of the problem that asked it
    int comebacks = 0;
    bool awaitsComeback = false;  // answered wrongly, not yet answered without a miss since
  };

  int Choose(RandomSource& random);
  bool Spaced(int place) const { return asked - inRun[place].lastAsked > kFocusSpacing; }
  bool Rests(int place) const;
  int DueComeback() const;
  int LongestUnreviewed(bool onlyUnaskedInRun) const;
  int Weakest() const;
  int NewFact(RandomSource& random) const;
  int LeastRecentlyAsked(bool spaced) const;

  DrillKind kind;
  FactStates states;
  std::array<FactFigures, kFactPlaces> figures{};
  std::array<InRun, kFactPlaces> inRun{};
  std::vector<int> askable;  // the places of the facts the drill asks, in table order
  bool hasHistory = false;
  int asked = 0;  // problems chosen so far in the run
  int newInRun = 0;
};

}  // namespace drill
