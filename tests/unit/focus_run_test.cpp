// Focus runs of the whole program on the in-memory backend: the switch on the command line,
// the caption and the log's title, and the history read from the current folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/program.h"
#include "drill/fact_states.h"
#include "drill/log_format.h"
#include "drill/log_reader.h"
#include "drill_harness.h"

namespace {

using namespace testing_support;
using drill::DrillKind;

const drill::DrillVariant& BuildOf(DrillKind kind) {
  return kind == DrillKind::kDivision ? app::kDivisionVariant : app::kSubtractionVariant;
}

// A log of answers all taking `ms`, without a slip.
std::string Log(DrillKind kind, const char* date, const std::vector<drill::Problem>& problems,
                uint32_t ms) {
  std::string log = drill::LogHeaderLine(kind, date, "09:00:00", static_cast<int>(problems.size()));
  char solving[16];
  std::snprintf(solving, sizeof solving, "%02u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000);
  for (const drill::Problem& p : problems)
    log += drill::LogProblemLine(p, solving, 0);
  return log;
}

// Answers `answers` problems rightly, then closes the window; records what was asked and the
// caption, and dismisses the results.
struct Typist {
  int answers = 1;
  std::vector<drill::Problem> asked;
  std::string caption;

  void Start() {
    headless::Machine().idle = [this] {
      if (Results() && Results()->Showing()) {
        Results()->SetModalResult(platform::ModalResult::kCancel);
      } else if (static_cast<int>(asked.size()) < answers) {
        caption = Main().Caption();
        asked.push_back(Open().problem);
        headless::PostKey(ExpectedKey());
      } else {
        headless::PostClose();
      }
      return true;
    };
  }
};

TEST(FocusRun, TheSwitchNamesTheRunInTheCaptionTheTitleAndTheLog) {
  struct Case {
    DrillKind kind;
    std::vector<std::string> arguments;
    const char* title;
  } cases[] = {
      {DrillKind::kDivision, {}, "Divide Quarn"},
      {DrillKind::kDivision, {"/focus"}, "Divide Quarn Focus"},
      {DrillKind::kDivision, {"x", "--FOCUS"}, "Divide Quarn Focus"},
      {DrillKind::kSubtraction, {"/Focus"}, "Subtract Quarn Focus"},
      {DrillKind::kSubtraction, {"-focus"}, "Subtract Quarn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    FreshProcess();
    headless::Machine().arguments = c.arguments;
    Typist typist;
    typist.Start();
    ASSERT_EQ(app::RunProgram(BuildOf(c.kind)), 0);
    EXPECT_EQ(typist.caption, c.title);
    EXPECT_EQ(headless::Machine().title, c.title);
    const std::string log = headless::Machine().files["20240305090702.log"];
    EXPECT_EQ(log.substr(0, log.find(',')), c.title);
    EXPECT_EQ(drill::ReadLog(log).run.focus, std::string(c.title).ends_with("Focus"));
  }
}

// A folder where ten facts are slow and the rest fluent, with another drill's logs and files
// that are no logs: the run asks mostly the ten, and reads only the newest logs it needs.
TEST(FocusRun, AsksTheWeakFactsOfTheLogsInTheCurrentFolder) {
  for (DrillKind kind : drill::kDrillKinds) {
    SCOPED_TRACE(drill::Title(kind));
    FreshProcess();
    std::vector<drill::Problem> everyFact;
    for (int place = 0; place < drill::kFactPlaces; ++place) {
      const drill::Fact fact = drill::FactAtPlace(kind, place);
      if (!drill::IsAsked(fact)) continue;
      everyFact.push_back(fact.kind == drill::FactKind::kForward
                              ? drill::Problem{kind, fact.first, fact.second, 4}
                              : drill::Problem{kind, fact.Answer(), fact.second, 1});
    }
    std::vector<drill::Problem> weak(everyFact.begin() + 20, everyFact.begin() + 30);
    std::set<drill::Fact> weakFacts;
    for (const drill::Problem& p : weak)
      weakFacts.insert(drill::FactOf(p));
    auto& files = headless::Machine().files;
    // Eight rounds of every fact, two logs a round, then three days with three slow answers of
    // the ten: two slow mornings among three fast ones would leave them fluent.
    const size_t half = everyFact.size() / 2;
    for (int round = 1; round <= 8; ++round) {
      char first[32], second[32];
      std::snprintf(first, sizeof first, "202401%02d090000.log", round);
      std::snprintf(second, sizeof second, "202401%02d100000.log", round);
      files[first] = Log(kind, "2024/01/01", {everyFact.begin(), everyFact.begin() + half}, 1500);
      files[second] = Log(kind, "2024/01/01", {everyFact.begin() + half, everyFact.end()}, 1500);
      // The header, not the name, orders the runs.
      files[first].replace(files[first].find("2024/01/01"), 10,
                           "2024/01/0" + std::to_string(round));
      files[second].replace(files[second].find("2024/01/01"), 10,
                            "2024/01/0" + std::to_string(round));
      files[second].replace(files[second].find("09:00:00"), 8, "10:00:00");
    }
    std::vector<drill::Problem> slow;
    for (int i = 0; i < 3; ++i)
      slow.insert(slow.end(), weak.begin(), weak.end());
    for (const std::string day : {"01", "02", "03"})
      files["202402" + day + "090000.log"] = Log(kind, ("2024/02/" + day).c_str(), slow, 8000);
    const DrillKind other =
        kind == DrillKind::kDivision ? DrillKind::kSubtraction : DrillKind::kDivision;
    files["20240301090000.log"] = Log(other, "2024/03/01", {drill::Problem{other, 9, 9, 1}}, 9000);
    files["notes.log"] = "not a practice log\r\n";
    files["20240120090000.LOG"] = "Divide Quarn,2024/01/20,09:0";
    files["README.txt"] = "a teacher's note";
    files["old\\20230101090000.log"] = Log(kind, "2023/01/01", weak, 1000);

    headless::Machine().arguments = {"/focus"};
    Typist typist;
    typist.answers = 20;
    typist.Start();
    ASSERT_EQ(app::RunProgram(BuildOf(kind)), 0);
    int weakAsked = 0;
    for (const drill::Problem& p : typist.asked)
      weakAsked += weakFacts.count(drill::FactOf(p));
    EXPECT_GE(weakAsked, 15) << "of 20";

    // Newest first, and only as many rounds as the fluent facts' fast recalls in a row can use:
    // the oldest round of all the facts is never read.
    std::vector<std::string> reads = headless::TraceOf({"file read"});
    std::vector<std::string> expected = {
        "file read notes.log",          "file read 20240301090000.log",
        "file read 20240203090000.log", "file read 20240202090000.log",
        "file read 20240201090000.log", "file read 20240120090000.LOG"};
    for (int round = 8; round >= 2; --round) {
      for (const char* hour : {"10", "09"}) {
        char name[32];
        std::snprintf(name, sizeof name, "file read 202401%02d%s0000.log", round, hour);
        expected.push_back(name);
        if (expected.size() == 6 + 2 * drill::kLongestStreak) break;
      }
      if (expected.size() == 6 + 2 * drill::kLongestStreak) break;
    }
    EXPECT_EQ(reads, expected);
  }
}

}  // namespace
