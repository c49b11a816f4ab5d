// How well a child knows each fact, judged from the child's own answers: the one rule by which
// the report colours its grids, the table marks its answers and a practice picks the facts to
// work on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "drill/practice.h"

namespace drill {

enum class FactState : uint8_t { kUnseen, kFluent, kGettingThere, kSlow, kMissed };

// A fact is judged on recall after a delay: the first time it is asked in each run (a run is a
// day for most children). Later asks of it in the same run, and so the answer after a wrong try
// of it earlier in the run, are practice: counted among its answers, never in its state. Of
// those first asks only the newest five count, so that a fact can recover from early trouble.
inline constexpr int kRecentAnswers = 5;
// Thresholds in tenths of a second, the precision the report shows: a time shown as "3.0" is
// fast, whatever digits the exact value has beyond.
inline constexpr int kFluentTenths = 30;
inline constexpr int kGettingThereTenths = 60;  // a slower median is slow
// Fluent: this many of the recent first asks answered right at the first try within
// kFluentTenths, a majority of the five. Two slips or slow mornings among fast recalls do not
// hold a fact back; two fast recalls of five, a fact recalled only half the time, are not
// enough.
inline constexpr int kFluentAnswers = 3;
// Recent first asks with a wrong try that make a fact not fluent "missed": one slip is a slip,
// two are a pattern. A fact asked once, and answered wrongly, is missed.
inline constexpr int kMissedAnswers = 2;
// With fewer recent first asks than fluent needs a state is a first impression, and the report
// says so.
inline constexpr int kFewAnswers = kFluentAnswers;

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

// An answer that shows recall: right at the first try and within kFluentTenths as shown.
constexpr bool IsFastRecall(uint32_t milliseconds, int wrongTries) {
  return wrongTries == 0 && (static_cast<uint64_t>(milliseconds) + 50) / 100 <= kFluentTenths;
}

// The state from the recent first asks: how many there are, how many were fast recalls, the
// median of their times and how many had a wrong try. Fluent comes first, so the states never
// overlap: three fast recalls and two slips are fluent.
FactState JudgeFirstAsks(int recentAnswers, int fastRecalls, int64_t medianTenths,
                         int recentMissed);

// Evidence ages. A fluent fact is due for review once its newest first ask is this many days
// old (days of the runs' start clock): a day while its fast recalls in a row (`streak`) are at
// most kFluentAnswers, then 3, 7, 14 and at most 28 days as each further one builds up. Focus
// mode reviews at these intervals.
int ReviewIntervalDays(int streak);
// Fast recalls in a row beyond this change no interval.
inline constexpr int kLongestStreak = kFluentAnswers + 4;

// What a fact's answers say about it.
struct FactFigures {
  FactState state = FactState::kUnseen;
  int answers = 0;        // every answer of the fact, practice included
  int firstAsks = 0;      // runs that asked it: the answers the state may rest on
  int recentAnswers = 0;  // the newest first asks, at most kRecentAnswers: what it rests on
  int recentMissed = 0;   // of them, those with at least one wrong try
  int recentWrongTries = 0;
  int fastRecalls = 0;        // of them, right at the first try within kFluentTenths
  int streak = 0;             // fast recalls in a row among all first asks, newest backwards
  int missedAnswers = 0;      // every answer with a wrong try, practice included
  ExactMedian median;         // of the recent first asks' solving times
  int64_t lastAnswer = -1;    // the newest answer's place in the order answers were given
  int64_t evidenceDay = -1;   // the day of the run of the newest first ask
  int evidenceAgeDays = 0;    // days from evidenceDay to the day judged on
  bool dueForReview = false;  // fluent, and the evidence is ReviewIntervalDays(streak) old
  int weakForDays = 0;        // not fluent: days since the first ask that began the weak stretch

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

// Whole days of a local clock's seconds since 1970: the day a run belongs to.
constexpr int64_t DayOfSeconds(int64_t seconds) {
  return seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
}

// The facts' figures of one drill, from its runs' answers in the order they were practised.
class FactStates {
 public:
  explicit FactStates(DrillKind kind) : drill(kind) {}

  // Answers added from here on belong to a run that started at startSeconds (the local clock,
  // seconds since 1970). Answers added before any run belong to one run at second 0.
  void BeginRun(int64_t startSeconds);
  // An answer that says nothing about its fact (the tens digit of a sum) is left out.
  void Add(const Problem& problem, uint32_t milliseconds, int wrongTries);
  // Whether the answer Add would take now is its fact's first ask in the run, the kind the
  // state rests on.
  bool IsFirstAsk(const Problem& problem) const;

  // The day evidence is aged against: the newest run's day unless set.
  void JudgeOnDay(int64_t day) { judgeDay = day; }
  int64_t Today() const { return judgeDay ? *judgeDay : DayOfSeconds(runStart); }
  // The start of the newest run, in seconds; 0 before any.
  int64_t RunStart() const { return runStart; }

  FactFigures Figures(const Fact& fact) const { return FiguresAt(FactPlace(fact)); }
  FactFigures FiguresAt(int place) const;
  // The facts that want practice, weakest first, at most `limit`; ties in table order.
  std::vector<Fact> Weakest(size_t limit) const;

 private:
  struct FirstAsk {
    uint32_t milliseconds = 0;
    int wrongTries = 0;
  };
  struct History {
    std::array<FirstAsk, kRecentAnswers> ring{};  // the newest at (firstAsks - 1) % size
    int firstAsks = 0;
    int answers = 0;
    int missedAnswers = 0;
    int streak = 0;
    int64_t last = -1;
    int lastRun = -1;
    int64_t evidenceDay = -1;
    int64_t weakSinceDay = -1;  // -1 while fluent or unseen
  };

  static bool IsFluent(const History& history);

  DrillKind drill;
  std::array<History, kFactPlaces> histories{};
  int64_t added = 0;
  int runs = 0;  // run 0 holds the answers added before any BeginRun
  int64_t runStart = 0;
  std::optional<int64_t> judgeDay;
};

}  // namespace drill
