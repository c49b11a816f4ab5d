// Gathering the focus history from the logs.
#include "drill/focus_history.h"

#include <algorithm>

#include "drill/log_format.h"
#include "drill/log_reader.h"
#include "platform/file_system.h"

namespace drill {

namespace {

// The problem by which a kept answer goes back into the states: any problem of the fact does.
Problem ProblemOfPlace(DrillKind kind, int place) {
  const Fact fact = FactAtPlace(kind, place);
  if (fact.kind == FactKind::kForward) return {kind, fact.first, fact.second, 4};
  return {kind, fact.Answer(), fact.second, 1};
}

}  // namespace

void FocusHistoryBuilder::Add(std::string_view bytes) {
  const ReadResult read = ReadLog(bytes);
  if (!read.Ok() || read.run.kind != kind) return;
  KeptRun run{
      .start = read.run.start.Seconds(), .order = static_cast<int>(runs.size()), .answers = {}};
  run.answers.reserve(read.run.answers.size());
  std::array<bool, kFactPlaces> inRun{};
  for (const LoggedAnswer& answer : read.run.answers) {
    if (!SaysSomethingAboutTheFact(answer.problem)) continue;
    const auto place = static_cast<size_t>(FactPlace(FactOf(answer.problem)));
    run.answers.push_back({static_cast<uint8_t>(place), answer.misses, answer.milliseconds});
    if (inRun[place]) continue;  // practice: only a run's first ask counts for the state
    inRun[place] = true;
    ++firstAsksTaken[place];
    streakEnds[place] = streakEnds[place] || !IsFastRecall(answer.milliseconds, answer.misses);
  }
  runs.push_back(std::move(run));
}

bool FocusHistoryBuilder::WantsOlder() const {
  for (int place = 0; place < kFactPlaces; ++place) {
    const auto at = static_cast<size_t>(place);
    if (!IsAsked(FactAtPlace(kind, place))) continue;
    if (firstAsksTaken[at] < kRecentAnswers) return true;
    if (!streakEnds[at] && firstAsksTaken[at] < kLongestStreak) return true;
  }
  return false;
}

FactStates FocusHistoryBuilder::Build() const {
  std::vector<const KeptRun*> ordered;
  for (const KeptRun& run : runs)
    ordered.push_back(&run);
  // Two logs of the same second keep the order of their names: the one taken later is older.
  std::sort(ordered.begin(), ordered.end(), [](const KeptRun* x, const KeptRun* y) {
    return x->start != y->start ? x->start < y->start : x->order > y->order;
  });
  FactStates states(kind);
  for (const KeptRun* run : ordered) {
    states.BeginRun(run->start);
    for (const Kept& answer : run->answers)
      states.Add(ProblemOfPlace(kind, answer.place), answer.milliseconds, answer.wrongTries);
  }
  return states;
}

FactStates ReadFocusHistory(DrillKind kind) {
  FocusHistoryBuilder builder(kind);
  std::vector<platform::FolderEntry> entries;
  platform::ListFolder(platform::Path::FromAscii("."), entries);
  std::vector<platform::Path> logs;
  for (platform::FolderEntry& entry : entries) {
    if (entry.kind == platform::EntryKind::kFile &&
        IsLogFileName(platform::DisplayUtf8(entry.name)))
      logs.push_back(std::move(entry.name));
  }
  // The drills name a log after its start, so the newest name comes first.
  const size_t taken = std::min(logs.size(), kFocusHistoryLogs);
  std::partial_sort(
      logs.begin(), logs.begin() + static_cast<std::ptrdiff_t>(taken), logs.end(),
      [](const platform::Path& x, const platform::Path& y) { return x.Native() > y.Native(); });
  logs.resize(taken);
  std::string bytes;  // one file at a time
  for (const platform::Path& log : logs) {
    if (!builder.WantsOlder()) break;
    if (platform::ReadSmallFile(log, kMaxLogBytes, bytes) == platform::ReadStatus::kRead)
      builder.Add(bytes);
  }
  return builder.Build();
}

}  // namespace drill
