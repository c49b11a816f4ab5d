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

// The planner's rules, as numbers a simulation can vary one at a time.
struct FocusRules {
  // At least this many other problems come between two asks of one fact in a run: a handful
  // is too close for a second ask to be more than an echo of the first.
  int gap = 20;
  // Asks of a weak fact in a run when it is answered without a miss. A wrong answer always
  // gets one correction after `gap` others, as long as the fact has been asked fewer than
  // weakAsks + 1 times; the correction is practice, not evidence.
  int weakAsks = 2;
  // A fluent fact with fewer fast recalls in a row than this is not yet secure: it is
  // practised like a weak one, after them.
  int secureStreak = 3;
  // Facts never seen: at most this many in a run while weak or due facts are left to ask.
  int newPerRun = 8;
  // Fluent facts come back when ReviewIntervalDays says they are due (a day after turning
  // fluent, then 3, 7, 14, 28 days). Off: a secure fluent fact is asked only when nothing
  // else is left, longest unseen first.
  bool growingReviews = true;
  // The first asks of the run go to the facts whose recall is most at risk now (RecallRisk).
  // Off: in table order.
  bool byRisk = true;
};

// How likely the child is to fail the fact today, 0 to 1, from its own answers: an estimated
// memory half-life (the review interval its fast recalls in a row have earned, half a day
// with none), halved for a median beyond the fluent time and again beyond the slow one, halved
// for each recent first ask with a wrong try and shorter for a fact often missed, against the
// days since the fact was last asked.
double RecallRisk(const FactFigures& figures);

// The problem that asks the fact. Of its two forms one is drawn: an inverse fact 56 ÷ 8 is
// □ × 8 ＝ 56 or 8 × □ ＝ 56, a product's forward fact hides its tens or its units. The tens
// of a sum is always 1 and says nothing about the fact, so a sum hides its units.
Problem ProblemFor(const Fact& fact, RandomSource& random);

class FocusPlanner {
 public:
  // history: the drill's answers in the order they were practised, run by run.
  FocusPlanner(DrillKind kind, const FactStates& history, FocusRules rules = {});

  // Whether any answer of the drill is known. Without one there is nothing to focus on, and a
  // focus run asks what a normal run asks.
  bool HasHistory() const { return hasHistory; }

  // The run starts at startSeconds of the local clock: its answers are a new run's, and the
  // history's evidence is aged against its day. Sets the run's order of first asks.
  void BeginRun(int64_t startSeconds);
  // Chooses the next problem of the run, drawing any choice from random.
  Problem Next(RandomSource& random);
  // The problem last chosen was answered rightly after wrongTries wrong tries.
  void Answered(const Problem& problem, uint32_t milliseconds, int wrongTries);

 private:
  struct InRun {
    int asks = 0;
    int lastAsked = -1000;          // the number of the problem that asked it
    bool awaitsCorrection = false;  // its last answer had a wrong try
  };

  int Choose(RandomSource& random);
  bool Spaced(int place) const { return asked - inRun[place].lastAsked > rules.gap; }
  bool Unsecure(int place) const;
  int DueCorrection() const;
  int NextFirstAsk();
  int SecondAsk() const;
  int NewFact(RandomSource& random) const;
  int LeastRecentlyAnsweredFluent() const;
  int LeastRecentlyAsked(bool spaced) const;

  DrillKind kind;
  FocusRules rules;
  FactStates states;
  std::array<FactFigures, kFactPlaces> figures{};
  std::array<InRun, kFactPlaces> inRun{};
  std::vector<int> askable;                // the places of the facts the drill asks, in table order
  std::array<double, kFactPlaces> risk{};  // RecallRisk at the run's start
  std::vector<int> agenda;  // the run's first asks: weak, not yet secure and due facts
  size_t agendaNext = 0;
  bool hasHistory = false;
  int asked = 0;  // problems chosen so far in the run
  int newInRun = 0;
};

}  // namespace drill
