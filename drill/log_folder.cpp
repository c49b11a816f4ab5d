// The folder-reading rule shared by the report and focus mode.
#include "drill/log_folder.h"

#include <algorithm>
#include <cstdio>

#include "drill/log_format.h"

namespace drill {
namespace {

std::string_view FileNameOf(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string DrillLogName(const platform::DateTime& start) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d.log",
                static_cast<int>(start.date.year % 10000), start.date.month % 100,
                start.date.day % 100, start.hour % 100, start.minute % 100, start.second % 100);
  return text;
}

}  // namespace

std::optional<int64_t> StartNamed(std::string_view name) {
  name = FileNameOf(name);
  constexpr size_t kDigits = 14;
  if (name.size() < kDigits || !IsLogFileName(name)) return std::nullopt;
  for (size_t i = 0; i < kDigits; ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
  }
  if (name.size() > kDigits && name[kDigits] >= '0' && name[kDigits] <= '9') return std::nullopt;
  platform::DateTime start;
  if (!ParseDate(name.substr(0, 8), start.date) || !ParseClock(name.substr(8, 6), start))
    return std::nullopt;
  return start.Seconds();
}

std::vector<size_t> ExaminationOrder(const std::vector<std::string>& names) {
  struct Entry {
    std::optional<int64_t> start;
    size_t index;
  };
  std::vector<Entry> entries;
  entries.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i)
    entries.push_back({StartNamed(names[i]), i});
  std::sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
    if (x.start.has_value() != y.start.has_value()) return !x.start.has_value();
    if (x.start != y.start) return *x.start > *y.start;
    return names[x.index] < names[y.index];
  });
  std::vector<size_t> order;
  order.reserve(entries.size());
  for (const Entry& entry : entries)
    order.push_back(entry.index);
  return order;
}

bool KeepsName(std::string_view x, std::string_view y, const platform::DateTime& start) {
  const std::string original = DrillLogName(start);
  const std::string_view xName = FileNameOf(x), yName = FileNameOf(y);
  if ((xName == original) != (yName == original)) return xName == original;
  if (x.size() != y.size()) return x.size() < y.size();
  return x < y;
}

bool FolderRuns::Add(std::string name, LoggedRun run) {
  const auto [found, isNew] = runs.try_emplace(KeyOf(run));
  if (isNew) {
    found->second = {std::move(name), std::move(run)};
    return true;
  }
  FolderRun& kept = found->second;
  if (KeepsName(name, kept.name, run.start)) {
    copies.push_back({std::move(kept.name), name});
    kept = {std::move(name), std::move(run)};
    // The copies made before name the log now kept.
    for (FolderCopy& copy : copies) {
      if (copy.keptName == copies.back().name) copy.keptName = copies.back().keptName;
    }
  } else {
    copies.push_back({std::move(name), kept.name});
  }
  return false;
}

const FolderRun* FolderRuns::Find(const RunKey& key) const {
  const auto found = runs.find(key);
  return found == runs.end() ? nullptr : &found->second;
}

std::vector<FolderRun> FolderRuns::TakeRuns() {
  std::vector<FolderRun> ordered;
  ordered.reserve(runs.size());
  for (auto& [key, run] : runs)
    ordered.push_back(std::move(run));
  runs.clear();
  return ordered;
}

std::vector<FolderCopy> FolderRuns::TakeCopies() {
  std::sort(copies.begin(), copies.end(),
            [](const FolderCopy& x, const FolderCopy& y) { return x.name < y.name; });
  return std::move(copies);
}

}  // namespace drill
