// Focus mode and the report read one child's folder alike: the same awkward folders (copies,
// renamed logs, stray and damaged files) give the same state of every fact.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "drill/focus_history.h"
#include "drill/log_folder.h"
#include "drill/log_format.h"
#include "report/collect.h"
#include "scratch_folder.h"

namespace report {
namespace {

namespace fs = std::filesystem;
using drill::DrillKind;
using drill::Problem;

constexpr DrillKind kDiv = DrillKind::kDivision;

// Every fact the division drill asks, as two lines per product (a digit of the product hidden,
// and a factor hidden), answered in `ms` with `misses` wrong tries.
std::vector<std::string> EveryFact(uint32_t ms, int misses) {
  std::vector<std::string> lines;
  char solving[16];
  std::snprintf(solving, sizeof solving, "00:%02u.%03u", ms / 1000, ms % 1000);
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      if (!drill::IsAsked(kDiv, a, b)) continue;
      lines.push_back(drill::LogProblemLine({kDiv, a, b, 4}, solving, misses));
      lines.push_back(drill::LogProblemLine({kDiv, a, b, 1}, solving, misses));
    }
  }
  return lines;
}

// The lines as logs of at most a run's problems, started a minute apart from day/hour on.
std::vector<std::string> Logs(const std::vector<std::string>& lines, int day, int hour) {
  std::vector<std::string> logs;
  for (size_t from = 0, minute = 0; from < lines.size(); from += drill::kProblemsPerRun) {
    const size_t to = std::min(lines.size(), from + drill::kProblemsPerRun);
    char date[16], time[16];
    std::snprintf(date, sizeof date, "2024/03/%02d", day);
    std::snprintf(time, sizeof time, "%02d:%02zu:00", hour, minute++);
    std::string log = drill::LogHeaderLine(kDiv, date, time, static_cast<int>(to - from));
    for (size_t i = from; i < to; ++i)
      log += lines[i];
    logs.push_back(std::move(log));
  }
  return logs;
}

// The name the drill gives a log, from its header.
std::string DrillName(const std::string& log) {
  const platform::DateTime s = drill::ReadLog(log).run.start;
  char name[32];
  std::snprintf(name, sizeof name, "%04d%02d%02d%02d%02d%02d.log", static_cast<int>(s.date.year),
                s.date.month, s.date.day, s.hour, s.minute, s.second);
  return name;
}

class FolderReading : public testing_support::ClassFolderTest {
 protected:
  // The states by the report's reading and by focus mode's, of the learner folder "ken".
  void ExpectSameStates() {
    const Collection collection = CollectLogs(platform::Path((root / "class").native()));
    drill::FactStates reported(kDiv);
    for (const Learner& learner : collection.learners) {
      ASSERT_EQ(learner.name, "ken");
      for (const drill::LoggedRun& run : learner.runs) {
        if (run.kind != kDiv) continue;
        reported.BeginRun(run.start.Seconds());
        for (const drill::LoggedAnswer& answer : run.answers)
          reported.Add(answer.problem, answer.milliseconds, answer.misses);
      }
    }
    const fs::path saved = fs::current_path();
    fs::current_path(root / "class" / "ken");
    const drill::FactStates focused = drill::ReadFocusHistory(kDiv);
    fs::current_path(saved);
    int seen = 0;
    for (int place = 0; place < drill::kFactPlaces; ++place) {
      const drill::FactFigures r = reported.FiguresAt(place), f = focused.FiguresAt(place);
      EXPECT_EQ(f.state, r.state) << "place " << place;
      EXPECT_EQ(f.recentAnswers, r.recentAnswers) << "place " << place;
      EXPECT_EQ(f.recentMissed, r.recentMissed) << "place " << place;
      EXPECT_EQ(f.median, r.median) << "place " << place;
      seen += r.state != drill::FactState::kUnseen;
    }
    EXPECT_GT(seen, 0);
  }
};

TEST_F(FolderReading, FocusModeAndTheReportFindTheSameStates) {
  const std::vector<std::string> fast = Logs(EveryFact(1500, 0), 20, 9);
  const std::string& one = fast[0];
  struct Case {
    const char* what;
    std::function<void()> fill;
  } cases[] = {
      {"a log and its copy, the copy listed first",
       [&] {
         Write("ken/" + DrillName(one), one);
         Write(
             "ken/" + DrillName(one).substr(0, 14) + " - \xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC.log",
             one);  // コピー
         Write("ken/backup/" + DrillName(one), one);
       }},
      {"old logs renamed so that their names sort first",
       [&] {
         // Five rounds of every fact missed, then five of every fact fast, a day later each.
         for (int round = 0; round < 5; ++round) {
           const std::vector<std::string> old = Logs(EveryFact(8000, 1), 1 + round, 8);
           for (size_t i = 0; i < old.size(); ++i)
             Write("ken/old" + std::to_string(round) + std::to_string(i) + ".log", old[i]);
           for (const std::string& log : Logs(EveryFact(1500, 0), 10 + round, 9))
             Write("ken/" + DrillName(log), log);
         }
       }},
      {"damaged logs by the hundred before the real ones",
       [&] {
         for (int i = 0; i < 260; ++i) {
           char name[16];
           std::snprintf(name, sizeof name, "x%03d.log", i);
           Write(std::string("ken/") + name, "Divide Quarn,2024/03/01,09:00:00,1\r\ngarbage\r\n");
         }
         for (const std::string& log : fast)
           Write("ken/" + DrillName(log), log);
       }},
      {"stray files, the other drill's logs and a log under a wrong name",
       [&] {
         Write("ken/notes.txt", "not a log");
         Write("ken/empty.log", "");
         Write("ken/20240321090000.log",
               "Subtract Quarn,2024/03/21,09:00:00,1\r\n"
               "7\x81\x7B?\x81\x81"
               "15,8,00:01.000,0\r\n");
         Write("ken/20991231235959.log", fast[0]);
         for (size_t i = 1; i < fast.size(); ++i)
           Write("ken/" + DrillName(fast[i]), fast[i]);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(root / "class" / "ken");
    c.fill();
    ExpectSameStates();
  }
}

}  // namespace
}  // namespace report
