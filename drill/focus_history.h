// The history a focus run starts from: the answers in this drill's logs, folded in the order
// they were practised into each fact's state. Only the logs that can still change a state are
// read, and the folder is read by the report's rule (drill/log_folder.h).
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drill/fact_states.h"
#include "drill/log_folder.h"
#include "drill/practice.h"

namespace drill {

// Takes a folder's logs in the order drill/log_folder.h examines them and keeps of them what
// the facts' states need: one run per run (a copy is counted once, by the log_folder rule),
// folded in the order of the start times the logs record.
class FocusHistoryBuilder {
 public:
  explicit FocusHistoryBuilder(DrillKind kind) : kind(kind) {}

  // One file's name and bytes. True when it is a log of this drill whose run was not taken
  // before: what counts towards kFocusHistoryLogs. A log of the other drill, a damaged log or
  // a stray file adds nothing.
  bool Add(std::string_view name, std::string_view bytes);
  // Whether a log that starts at `start` or earlier can still change a state: not once every
  // fact the drill asks has its newest kRecentAnswers first asks among the runs taken that
  // start at `start` or later, and either a first ask that was no fast recall or
  // kLongestStreak first asks, which is all its review interval needs. A log whose start is
  // unknown until read (nullopt) always can.
  bool WantsOlder(std::optional<int64_t> start);
  // The states, from the runs taken in the order of their start times.
  FactStates Build() const;
  // The runs taken, one per run, in the order of their start times: the folder as the report
  // reads it, for rules that need each run's bounds and start.
  const std::map<RunKey, FolderRun>& Runs() const { return folder.Runs(); }

 private:
  void Count(const LoggedRun& run, int sign);

  DrillKind kind;
  FolderRuns folder;  // this drill's runs only
  // Of the runs that start at countedFrom or later, by fact: the first asks, and those of them
  // that were no fast recall (any one ends the streak of fast recalls read back from the newest).
  std::array<int, kFactPlaces> firstAsksTaken{};
  std::array<int, kFactPlaces> slowFirstAsks{};
  int64_t countedFrom = std::numeric_limits<int64_t>::max();
};

// At most this many of the drill's own logs are taken, the newest: a year of daily runs. A
// fact not answered in them starts afresh, as if never seen.
inline constexpr size_t kFocusHistoryLogs = 250;
// At most this many files are examined at all, whatever they hold: the other drill's logs,
// damaged ones and copies count here but not above, and the reading stays short in a folder
// of 10,000 logs.
inline constexpr size_t kFocusExaminedFiles = 2500;

// The history in the current folder: its *.log files in the order of ExaminationOrder (names
// that say no start first, then newest first by the start the name says), until older logs
// can change nothing, kFocusHistoryLogs logs of the drill are taken or kFocusExaminedFiles
// files examined. Unreadable files are skipped.
FactStates ReadFocusHistory(DrillKind kind);

}  // namespace drill
