// Gathering the focus history from the logs.
#include "drill/focus_history.h"

#include <algorithm>

#include "drill/log_folder.h"
#include "drill/log_format.h"
#include "drill/log_reader.h"
#include "platform/file_system.h"

namespace drill {

bool FocusHistoryBuilder::Add(std::string_view name, std::string_view bytes) {
  ReadResult read = ReadLog(bytes);
  if (!read.Ok() || read.run.kind != kind) return false;
  const RunKey key = KeyOf(read.run);
  const bool counted = read.run.start.Seconds() >= countedFrom;
  // A copy replaces the run taken only where the log_folder rule keeps its name instead.
  if (const FolderRun* before = folder.Find(key); counted && before) Count(before->run, -1);
  const bool isNew = folder.Add(std::string(name), std::move(read.run));
  if (counted) Count(folder.Find(key)->run, +1);
  return isNew;
}

void FocusHistoryBuilder::Count(const LoggedRun& run, int sign) {
  std::array<bool, kFactPlaces> inRun{};
  for (const LoggedAnswer& answer : run.answers) {
    if (!SaysSomethingAboutTheFact(answer.problem)) continue;
    const auto place = static_cast<size_t>(FactPlace(FactOf(answer.problem)));
    if (inRun[place]) continue;  // practice: only a run's first ask counts for the state
    inRun[place] = true;
    firstAsksTaken[place] += sign;
    if (!IsFastRecall(answer.milliseconds, answer.misses)) slowFirstAsks[place] += sign;
  }
}

bool FocusHistoryBuilder::WantsOlder(std::optional<int64_t> start) {
  if (!start) return true;
  if (*start < countedFrom) {
    const auto& runs = folder.Runs();
    for (auto it = runs.lower_bound({*start, kind});
         it != runs.end() && std::get<0>(it->first) < countedFrom; ++it)
      Count(it->second.run, +1);
    countedFrom = *start;
  }
  for (int place = 0; place < kFactPlaces; ++place) {
    const auto at = static_cast<size_t>(place);
    if (!IsAsked(FactAtPlace(kind, place))) continue;
    if (firstAsksTaken[at] < kRecentAnswers) return true;
    if (slowFirstAsks[at] == 0 && firstAsksTaken[at] < kLongestStreak) return true;
  }
  return false;
}

FactStates FocusHistoryBuilder::Build() const {
  FactStates states(kind);
  for (const auto& [key, run] : folder.Runs()) {
    states.BeginRun(run.run.start.Seconds());
    for (const LoggedAnswer& answer : run.run.answers)
      states.Add(answer.problem, answer.milliseconds, answer.misses);
  }
  return states;
}

FactStates ReadFocusHistory(DrillKind kind) {
  FocusHistoryBuilder builder(kind);
  std::vector<platform::FolderEntry> entries;
  platform::ListFolder(platform::Path::FromAscii("."), entries);
  std::vector<platform::Path> logs;
  std::vector<std::string> names;
  for (platform::FolderEntry& entry : entries) {
    std::string name = platform::DisplayUtf8(entry.name);
    if (entry.kind == platform::EntryKind::kFile && IsLogFileName(name)) {
      logs.push_back(std::move(entry.name));
      names.push_back(std::move(name));
    }
  }
  std::string bytes;  // one file at a time
  size_t examined = 0, taken = 0;
  for (const size_t i : ExaminationOrder(names)) {
    if (examined == kFocusExaminedFiles || taken == kFocusHistoryLogs) break;
    if (!builder.WantsOlder(StartNamed(names[i]))) break;
    ++examined;
    if (platform::ReadSmallFile(logs[i], kMaxLogBytes, bytes) == platform::ReadStatus::kRead &&
        builder.Add(names[i], bytes))
      ++taken;
  }
  return builder.Build();
}

}  // namespace drill
