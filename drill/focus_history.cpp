// Gathering the focus history from the logs.
#include "drill/focus_history.h"

#include <algorithm>

#include "drill/log_folder.h"
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

bool FocusHistoryBuilder::Add(std::string_view name, std::string_view bytes) {
  const ReadResult read = ReadLog(bytes);
  if (!read.Ok() || read.run.kind != kind) return false;
  KeptRun run{.name = std::string(name), .answers = {}};
  run.answers.reserve(read.run.answers.size());
  for (const Answer& answer : read.run.answers) {
    if (!SaysSomethingAboutTheFact(answer.problem)) continue;
    const int place = FactPlace(FactOf(answer.problem));
    run.answers.push_back({static_cast<uint8_t>(place), answer.misses, answer.milliseconds});
  }
  const int64_t start = read.run.start.Seconds();
  const bool counted = start >= countedFrom;
  const auto [found, isNew] = runs.try_emplace(start);
  if (!isNew) {
    // A copy: the log_folder rule says which name, and so which contents, count.
    if (!KeepsName(name, found->second.name, read.run.start)) return false;
    if (counted) Count(found->second, -1);
  }
  found->second = std::move(run);
  if (counted) Count(found->second, +1);
  return isNew;
}

void FocusHistoryBuilder::Count(const KeptRun& run, int sign) {
  for (const Kept& answer : run.answers)
    answersTaken[answer.place] += sign;
}

bool FocusHistoryBuilder::WantsOlder(std::optional<int64_t> start) {
  if (!start) return true;
  if (*start < countedFrom) {
    for (auto it = runs.lower_bound(*start); it != runs.end() && it->first < countedFrom; ++it)
      Count(it->second, +1);
    countedFrom = *start;
  }
  for (int place = 0; place < kFactPlaces; ++place) {
    if (IsAsked(FactAtPlace(kind, place)) &&
        answersTaken[static_cast<size_t>(place)] < kRecentAnswers)
      return true;
  }
  return false;
}

FactStates FocusHistoryBuilder::Build() const {
  FactStates states(kind);
  for (const auto& [start, run] : runs) {
    for (const Kept& answer : run.answers)
      states.Add(ProblemOfPlace(kind, answer.place), answer.milliseconds, answer.wrongTries);
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
