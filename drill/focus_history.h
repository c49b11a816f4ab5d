// The history a focus run starts from: the answers in this drill's logs, folded in the order
// they were practised into each fact's state. Only the logs that can still change a state are
// read.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "drill/fact_states.h"
#include "drill/practice.h"

namespace drill {

// Takes logs newest first and keeps of them what the facts' states need.
class FocusHistoryBuilder {
 public:
  explicit FocusHistoryBuilder(DrillKind kind) : kind(kind) {}

  // One file's bytes. A log of the other drill, a damaged log or a stray file adds nothing.
  void Add(std::string_view bytes);
  // Whether an older log can still change a state: not once every fact the drill asks has its
  // newest kRecentAnswers first asks among the logs taken, and either a first ask that was no
  // fast recall or kLongestStreak first asks, which is all its review interval needs.
  bool WantsOlder() const;
  // The states, from the logs taken in the order of their start times.
  FactStates Build() const;

 private:
  // An answer as a fact needs it; a full run keeps 800 bytes.
  struct Kept {
    uint8_t place = 0;
    uint8_t wrongTries = 0;
    uint32_t milliseconds = 0;
  };
  struct KeptRun {
    int64_t start = 0;  // seconds of the local clock
    int order = 0;      // the order taken: newest first
    std::vector<Kept> answers;
  };

  DrillKind kind;
  std::vector<KeptRun> runs;
  std::array<int, kFactPlaces> firstAsksTaken{};
  std::array<bool, kFactPlaces> streakEnds{};  // a first ask taken was no fast recall
};

// At most this many of a folder's newest logs are read, whichever drill wrote them: a year of
// daily runs. A fact not answered in them starts afresh, as if never seen; the reading stays
// short in a folder of 10,000 logs, even where most are the other drill's.
inline constexpr size_t kFocusHistoryLogs = 250;

// The history in the current folder: its *.log files, newest first by name (a log's name is
// its start time), until older logs can change nothing or kFocusHistoryLogs have been read.
// Unreadable files are skipped.
FactStates ReadFocusHistory(DrillKind kind);

}  // namespace drill
