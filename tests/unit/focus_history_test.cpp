// The focus history from logs: this drill's usable logs folded in the order practised, the
// other drill's, damaged ones and stray files left out, and when older logs stop mattering.
#include "drill/focus_history.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "drill/log_format.h"
#include "drill/log_reader.h"
#include "platform/headless/headless.h"

namespace drill {
namespace {

constexpr DrillKind kDiv = DrillKind::kDivision;
constexpr DrillKind kSub = DrillKind::kSubtraction;
// A start before every run: WantsOlder counts all the runs taken.
constexpr int64_t kAll = std::numeric_limits<int64_t>::min();

struct Line {
  Problem problem;
  uint32_t milliseconds;
  int misses;
};

std::string Log(DrillKind kind, const char* date, const char* time, const std::vector<Line>& lines,
                bool focus = false) {
  std::string log = LogHeaderLine(kind, date, time, static_cast<int>(lines.size()), focus);
  for (const Line& line : lines) {
    char solving[16];
    std::snprintf(solving, sizeof solving, "%02u:%02u.%03u", line.milliseconds / 60000,
                  line.milliseconds / 1000 % 60, line.milliseconds % 1000);
    log += LogProblemLine(line.problem, solving, line.misses);
  }
  return log;
}

void ExpectSameStates(const FactStates& got, const FactStates& expected) {
  for (int place = 0; place < kFactPlaces; ++place) {
    const FactFigures g = got.FiguresAt(place), e = expected.FiguresAt(place);
    EXPECT_EQ(g.state, e.state) << "place " << place;
    EXPECT_EQ(g.recentAnswers, e.recentAnswers) << "place " << place;
    EXPECT_EQ(g.recentMissed, e.recentMissed) << "place " << place;
    EXPECT_EQ(g.median, e.median) << "place " << place;
    EXPECT_EQ(g.lastAnswer, e.lastAnswer) << "place " << place;
    EXPECT_EQ(g.answers, e.answers) << "place " << place;
    EXPECT_EQ(g.firstAsks, e.firstAsks) << "place " << place;
    EXPECT_EQ(g.evidenceDay, e.evidenceDay) << "place " << place;
  }
}

// 7 × 8 is answered slowly on the 5th and fast on the 6th: whatever order the logs come in,
// the states are those of the 5th, then the 6th.
TEST(FocusHistory, FoldsThisDrillsLogsInTheOrderPractised) {
  const Problem sevenEights{kDiv, 7, 8, 4}, fiftySixBySeven{kDiv, 8, 7, 2};
  const std::string earlier =
      Log(kDiv, "2024/03/05", "09:07:02", {{sevenEights, 9000, 1}, {fiftySixBySeven, 4000, 0}});
  const std::string later =
      Log(kDiv, "2024/03/06", "09:07:02", {{sevenEights, 2000, 0}, {sevenEights, 2100, 0}}, true);
  struct Case {
    const char* what;
    std::vector<std::string> files;  // as taken, newest name first
  } cases[] = {
      {"in order", {later, earlier}},
      {"names out of order", {earlier, later}},
      {"with the other drill's, damaged and stray files",
       {Log(kSub, "2024/03/07", "09:00:00", {{{kSub, 7, 8, 1}, 1000, 0}}), later, "",
        "Divide Quarn,2024/03/08,09:00:00,1\r\ngarbage\r\n", "\x89PNG\r\n\x1a\n", earlier,
        "Divide Quarn,2024/02/30,09:00:00,1\r\n7\x81\x7e?\x81\x81"
        "56,8,00:03.125,0\r\n"}},
  };
  FactStates expected(kDiv);
  expected.BeginRun(platform::DateTime{{2024, 3, 5}, 9, 7, 2}.Seconds());
  expected.Add(sevenEights, 9000, 1);
  expected.Add(fiftySixBySeven, 4000, 0);
  expected.BeginRun(platform::DateTime{{2024, 3, 6}, 9, 7, 2}.Seconds());
  expected.Add(sevenEights, 2000, 0);
  expected.Add(sevenEights, 2100, 0);  // practice: the run's second ask
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FocusHistoryBuilder builder(kDiv);
    for (size_t i = 0; i < c.files.size(); ++i)
      builder.Add("f" + std::to_string(i) + ".log", c.files[i]);
    ExpectSameStates(builder.Build(), expected);
  }
}

TEST(FocusHistory, OlderLogsStopMatteringOnceEveryFactHasItsRecentAnswers) {
  for (DrillKind kind : kDrillKinds) {
    SCOPED_TRACE(Title(kind));
    std::vector<Line> lines;
    for (int a = 1; a <= 9; ++a) {
      for (int b = 1; b <= 9; ++b) {
        if (!IsAsked(kind, a, b)) continue;
        lines.push_back({{kind, a, b, 4}, 1500, 0});
        lines.push_back({{kind, a, b, 1}, 1500, 0});
      }
    }
    // Fast recalls in a row could still lengthen a review interval, up to kLongestStreak of
    // them; a slow newest answer ends the streak, and then the recent first asks are enough.
    for (uint32_t newest : {1500u, 4000u}) {
      SCOPED_TRACE(newest);
      const int rounds = newest == 1500 ? kLongestStreak : kRecentAnswers;
      FocusHistoryBuilder builder(kind);
      EXPECT_TRUE(builder.WantsOlder(kAll));
      // Each fact once per round, newest round first; a round is split into logs of at most 100
      // answers, each started a minute before the one taken before it.
      int minute = 59;
      for (int round = 0; round < rounds; ++round) {
        EXPECT_TRUE(builder.WantsOlder(kAll)) << "round " << round;
        std::vector<Line> answers = lines;
        for (Line& line : answers)
          line.milliseconds = round == 0 ? newest : 1500;
        for (size_t from = 0; from < answers.size(); from += kProblemsPerRun) {
          const size_t to = std::min(answers.size(), from + kProblemsPerRun);
          char time[16];
          std::snprintf(time, sizeof time, "09:%02d:00", minute--);
          EXPECT_TRUE(builder.Add("a.log", Log(kind, "2024/03/05", time,
                                               {answers.begin() + from, answers.begin() + to})));
        }
      }
      EXPECT_FALSE(builder.WantsOlder(kAll));
      // Only the runs from a start on count: those before it are older than what is to come.
      EXPECT_TRUE(builder.WantsOlder(std::nullopt));
    }
    // The tens of a sum says nothing about its fact and counts for nothing.
    if (kind == kSub) {
      FocusHistoryBuilder tens(kind);
      std::vector<Line> tensOnly;
      for (const Line& line : lines)
        tensOnly.push_back({{kind, line.problem.a, line.problem.b, 3}, 1500, 0});
      for (int round = 0; round < kRecentAnswers; ++round) {
        const std::string time = "09:0" + std::to_string(round) + ":00";
        tens.Add("t.log",
                 Log(kind, "2024/03/05", time.c_str(), {tensOnly.begin(), tensOnly.begin() + 90}));
      }
      EXPECT_TRUE(tens.WantsOlder(kAll));
      EXPECT_EQ(tens.Build().FiguresAt(0).answers, 0);
    }
  }
}

// A folder where one fact is never answered: older logs could always still tell something, and
// the newest kFocusHistoryLogs are all that is read.
TEST(FocusHistory, AtMostAYearOfLogsIsRead) {
  headless::Reset();
  std::vector<Line> lines;
  for (int a = 3; a <= 9; ++a)  // 2 x 5 = 10 is never answered
    lines.push_back({{kDiv, a, 5, 4}, 1500, 0});
  for (int k = 0; k < 300; ++k) {
    char name[32], date[16];
    std::snprintf(name, sizeof name, "2024%02d%02d090000.log", k / 28 + 1, k % 28 + 1);
    std::snprintf(date, sizeof date, "2024/%02d/%02d", k / 28 + 1, k % 28 + 1);
    headless::Machine().files[name] = Log(kDiv, date, "09:00:00", lines);
  }
  const FactStates states = ReadFocusHistory(kDiv);
  const std::vector<std::string> reads = headless::TraceOf({"file read"});
  ASSERT_EQ(reads.size(), kFocusHistoryLogs);
  EXPECT_EQ(reads.front(), "file read 20241120090000.log");  // the 300th
  EXPECT_EQ(states.Figures({kDiv, FactKind::kForward, 3, 5}).answers,
            static_cast<int>(kFocusHistoryLogs));
  EXPECT_EQ(states.Figures({kDiv, FactKind::kForward, 2, 5}).state, FactState::kUnseen);
}

// Damaged files count towards the files examined, never towards the year of logs: the reading
// stays bounded however many a folder holds, and a few hundred do not crowd out the logs.
TEST(FocusHistory, DamagedFilesUseTheExaminedBoundOnly) {
  const std::vector<Line> one = {{{kDiv, 7, 8, 4}, 1500, 0}};
  for (const int damaged : {300, 3000}) {
    SCOPED_TRACE(damaged);
    headless::Reset();
    for (int i = 0; i < damaged; ++i)
      headless::Machine().files["x" + std::to_string(10000 + i) + ".log"] =
          "Divide Quarn,garbage\r\n";
    headless::Machine().files["20240305090000.log"] = Log(kDiv, "2024/03/05", "09:00:00", one);
    const FactStates states = ReadFocusHistory(kDiv);
    const size_t reads = headless::TraceOf({"file read"}).size();
    EXPECT_EQ(reads, std::min<size_t>(damaged + 1, kFocusExaminedFiles));
    EXPECT_EQ(states.Figures({kDiv, FactKind::kForward, 7, 8}).answers, damaged < 2500 ? 1 : 0);
  }
}

}  // namespace
}  // namespace drill
