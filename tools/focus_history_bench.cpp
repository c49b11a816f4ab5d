// How long a focus run takes to read its history: ReadFocusHistory on folders of 250 and
// 10,000 generated logs in the in-memory backend (listing, sorting, reading, parsing and
// folding; the disk itself is measured under Wine by the end-to-end measure-focus scenario).
//
//   quarn_focus_history_bench
//
// Each folder is read five times; the median is printed with the number of logs read. The
// last folder leaves one fact out of every log, so that every log must be read.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "drill/focus_history.h"
#include "drill/log_format.h"
#include "drill/random.h"
#include "platform/headless/headless.h"

namespace {

using drill::DrillKind;

// One log a day (or an hour, past 3,000 logs), 100 answers of 1 to 8 s with a miss now and then;
// without `everyFact` the first fact is never answered.
void FillFolder(DrillKind kind, int logs, bool everyFact) {
  headless::Reset();
  std::vector<drill::Problem> every = drill::OneProblemPerFact(kind);
  if (!everyFact) every.erase(every.begin());
  drill::RandomSource random(12345);
  for (int k = 0; k < logs; ++k) {
    const int hours = logs > 3000 ? k : k * 24;
    const int day = hours / 24;
    char date[16], time[16], name[32];
    // Day numbers past the month's end are fine for the reader only within a month, so the
    // days count on in a 28-day calendar of their own.
    std::snprintf(date, sizeof date, "%04d/%02d/%02d", 2000 + day / 336, day / 28 % 12 + 1,
                  day % 28 + 1);
    std::snprintf(time, sizeof time, "%02d:00:00", hours % 24);
    std::snprintf(name, sizeof name, "%04d%02d%02d%02d0000.log", 2000 + day / 336,
                  day / 28 % 12 + 1, day % 28 + 1, hours % 24);
    std::string log = drill::LogHeaderLine(kind, date, time, drill::kProblemsPerRun);
    for (int i = 0; i < drill::kProblemsPerRun; ++i) {
      const auto ms = static_cast<uint32_t>(1000 + random.Draw(7000));
      char solving[16];
      std::snprintf(solving, sizeof solving, "00:%02u.%03u", ms / 1000, ms % 1000);
      log += drill::LogProblemLine(
          every[static_cast<size_t>(random.Draw(static_cast<int>(every.size())))], solving,
          random.Draw(8) == 0 ? 1 : 0);
    }
    headless::Machine().files[name] = std::move(log);
  }
}

}  // namespace

int main() {
  struct Folder {
    int logs;
    bool everyFact;
  } folders[] = {{250, true}, {10000, true}, {10000, false}};
  for (DrillKind kind : drill::kDrillKinds) {
    for (const Folder& folder : folders) {
      FillFolder(kind, folder.logs, folder.everyFact);
      std::vector<double> times;
      size_t reads = 0;
      for (int round = 0; round < 5; ++round) {
        headless::Machine().trace.clear();
        const auto start = std::chrono::steady_clock::now();
        drill::ReadFocusHistory(kind);
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        reads = headless::TraceOf({"file read"}).size();
      }
      std::sort(times.begin(), times.end());
      std::printf("%s, %5d logs%s: %7.2f ms (median of 5), %5zu logs read\n",
                  std::string(drill::Title(kind)).c_str(), folder.logs,
                  folder.everyFact ? "                          " : ", one fact never answered",
                  times[2], reads);
    }
  }
  return 0;
}
