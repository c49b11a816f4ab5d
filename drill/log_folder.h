// One reading of a child's folder of logs, shared by the report and focus mode: the order in
// which a folder's log files are examined, which of a log and its copies counts, and the order
// in which the runs count (the start each log records, never its file name).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "drill/log_reader.h"

namespace drill {

// The start a log's file name says, in seconds as DateTime::Seconds counts them: the fourteen
// digits the drill names a log by ("20260413084000.log"), which a copy keeps in front
// ("20260413084000 - コピー.log", "20260413084000 (2).log"). Nothing for any other name, nor
// for digits that are no time.
std::optional<int64_t> StartNamed(std::string_view name);

// The order to examine a folder's log files in, as indices into names: the names that say no
// start first (what they hold is known only once read), then the named ones newest first;
// ties by name.
std::vector<size_t> ExaminationOrder(const std::vector<std::string>& names);

// Of two logs of one run, whether the one named x is kept over the one named y: the name the
// drill gives a log of that start, then the shorter name, then the first by bytes. Names may
// carry folders ("ken/2026….log"); only the file's own name counts.
bool KeepsName(std::string_view x, std::string_view y, const platform::DateTime& start);

// What tells a run: its drill and its start second. Two logs alike in both are one run,
// whatever their names: the drill writes one log a second at most.
using RunKey = std::tuple<int64_t, DrillKind>;
inline RunKey KeyOf(const LoggedRun& run) {
  return {run.start.Seconds(), run.kind};
}

// A kept run and the name of the log it came from, as the caller gave it.
struct FolderRun {
  std::string name;
  LoggedRun run;
};

// A log left out as a copy, and the name of the log kept for its run.
struct FolderCopy {
  std::string name;
  std::string keptName;
};

// A folder's runs, one per run, in the order they were practised.
class FolderRuns {
 public:
  // Takes a log that could be read; a second log of the same run is kept instead of the first
  // only when KeepsName says so. Returns whether the log is the first of its run.
  bool Add(std::string name, LoggedRun run);
  // The run kept for a key; null when none is.
  const FolderRun* Find(const RunKey& key) const;
  // The runs taken so far by start time, then by drill (division first), oldest first.
  const std::map<RunKey, FolderRun>& Runs() const { return runs; }
  // The same as a list, emptying this; the copies by name.
  std::vector<FolderRun> TakeRuns();
  std::vector<FolderCopy> TakeCopies();

 private:
  std::map<RunKey, FolderRun> runs;
  std::vector<FolderCopy> copies;
};

}  // namespace drill
