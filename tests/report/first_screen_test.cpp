// What the teacher sees first: who needs help and with what, the class in its own order, the
// children under each hard fact, the days practised; and the files, options and tables behind
// them, on runs made here and on folders made in a temporary directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/calendar.h"
#include "report/chart.h"
#include "report/csv.h"
#include "report/first_screen.h"
#include "report/grids.h"
#include "report/html.h"
#include "report/report.h"
#include "report/wording.h"
#include "scratch_folder.h"

namespace report {
namespace {

namespace fs = std::filesystem;
using drill::DrillKind;
using drill::Problem;

constexpr DrillKind kDiv = DrillKind::kDivision;
const Problem k56div7{kDiv, 8, 7, 1};  // □ × 7 ＝ 56
const Problem k7x8{kDiv, 7, 8, 4};     // 7 × 8 ＝ 5□
const Problem k6x9{kDiv, 6, 9, 4};
const Problem k9x9{kDiv, 9, 9, 4};
const Problem k4x6{kDiv, 4, 6, 4};

drill::LoggedRun RunOn(int month, int day, std::vector<drill::LoggedAnswer> answers) {
  drill::LoggedRun run;
  run.start = {{2026, month, day}, 8, 40, 0};
  run.headerCount = static_cast<int>(answers.size());
  run.answers = std::move(answers);
  return run;
}

// Three answers of each fact at the time given, with a wrong try or not.
std::vector<drill::LoggedAnswer> Thrice(std::initializer_list<Problem> facts, uint32_t ms,
                                        uint8_t misses = 0) {
  std::vector<drill::LoggedAnswer> answers;
  for (int i = 0; i < 3; i++) {
    for (const Problem& p : facts)
      answers.push_back({p, ms, misses});
  }
  return answers;
}

LearnerReport Learner(const std::string& name, const std::vector<drill::LoggedRun>& runs) {
  std::vector<const drill::LoggedRun*> pointers;
  for (const drill::LoggedRun& run : runs)
    pointers.push_back(&run);
  return {name, {Summarize(kDiv, pointers)}};
}

// Three runs on the days from the one given, each asking the facts once at the time given.
std::vector<drill::LoggedRun> ThreeDays(int month, int day, std::initializer_list<Problem> facts,
                                        uint32_t ms, uint8_t misses = 0) {
  std::vector<drill::LoggedRun> runs;
  for (int d = day; d < day + 3; d++) {
    std::vector<drill::LoggedAnswer> answers;
    for (const Problem& p : facts)
      answers.push_back({p, ms, misses});
    runs.push_back(RunOn(month, d, answers));
  }
  return runs;
}

std::vector<drill::LoggedRun> Joined(std::vector<drill::LoggedRun> x,
                                     const std::vector<drill::LoggedRun>& y) {
  x.insert(x.end(), y.begin(), y.end());
  return x;
}

TEST(FirstScreen, WhoNeedsHelpAndInWhatOrder) {
  // A slow 56 ÷ 7 from 30 March, still slow from 13 to 15 April: stayed weak.
  const std::vector<drill::LoggedRun> stayed =
      Joined(ThreeDays(3, 30, {k56div7}, 9000), ThreeDays(4, 13, {k56div7}, 9000));
  // The same, but weak only lately.
  const std::vector<drill::LoggedRun> lately =
      Joined(ThreeDays(3, 30, {k56div7}, 2000), ThreeDays(4, 13, {k56div7}, 9000));
  const std::vector<drill::LoggedRun> three = ThreeDays(4, 13, {k7x8, k6x9, k9x9}, 7000);
  const std::vector<drill::LoggedRun> fourMissed =
      ThreeDays(4, 13, {k7x8, k6x9, k9x9, k4x6}, 2000, 1);
  const std::vector<drill::LoggedRun> two = ThreeDays(4, 13, {k7x8, k6x9}, 7000);
  // Weak on one answer is a first impression, not a need.
  const std::vector<drill::LoggedRun> few = {
      RunOn(4, 15, {{k7x8, 9000, 1}, {k6x9, 9000, 1}, {k9x9, 9000, 1}, {k4x6, 9000, 1}})};
  // Weak a week before and now, but fluent from 8 to 10 April between: weak again, not still.
  const std::vector<drill::LoggedRun> relapsed =
      Joined(Joined(ThreeDays(3, 30, {k56div7}, 9000), ThreeDays(4, 8, {k56div7}, 2000)),
             ThreeDays(4, 13, {k56div7}, 9000));
  // Weak a week before, and asked three times since but in one run: one new first ask, the
  // rest practice, so not yet evidence that it stayed weak.
  const std::vector<drill::LoggedRun> drilled =
      Joined(ThreeDays(3, 30, {k56div7}, 9000), {RunOn(4, 15, Thrice({k56div7}, 9000))});
  const std::vector<LearnerReport> learners = {
      Learner("stayed", stayed),     Learner("lately", lately),  Learner("three", three),
      Learner("four", fourMissed),   Learner("two", two),        Learner("few", few),
      Learner("relapsed", relapsed), Learner("drilled", drilled)};

  const DrillStats& s = learners[0].drills[0];
  ASSERT_EQ(s.weak.size(), 1u);
  EXPECT_TRUE(s.weak[0].longWeak);
  EXPECT_EQ(FactText(s.weak[0].fact), "56 ÷ 7 ＝ 8");
  EXPECT_FALSE(learners[1].drills[0].weak.at(0).longWeak);
  EXPECT_TRUE(learners[5].drills[0].weak.empty());
  EXPECT_FALSE(learners[6].drills[0].weak.at(0).longWeak);
  EXPECT_FALSE(learners[7].drills[0].weak.at(0).longWeak);

  std::vector<std::string> order;
  for (const InNeed& need : LearnersInNeed(learners))
    order.push_back(learners[need.learner].name);
  // Most weak facts first; missed before slow on a tie, then those that stayed weak.
  EXPECT_EQ(order, (std::vector<std::string>{"four", "three", "two", "stayed", "lately", "relapsed",
                                             "drilled"}));

  const std::string html = NeedSection(learners, LastDayOf(learners));
  EXPECT_NE(html.find("その日はじめて出たときの答えが3回以上ある問題で"), std::string::npos);
  EXPECT_NE(html.find("4月15日(水)"), std::string::npos);
  // The three weakest facts of a child and the mark of one that stayed weak.
  EXPECT_NE(html.find("56 ÷ 7 ＝ 8<span class=\"long\">続</span>"), std::string::npos);
  EXPECT_LT(html.find(">four<"), html.find(">three<"));
  EXPECT_EQ(html.find(">few<"), std::string::npos);
}

TEST(FirstScreen, DaysPractisedInTheRecentWeeksAndTheLastPractice) {
  // Weeks from Monday: 6 to 12 April and 13 April; 16 March is four weeks back, left out.
  const std::vector<drill::LoggedRun> runs = {
      RunOn(3, 16, Thrice({k7x8}, 2000)), RunOn(4, 6, Thrice({k7x8}, 2000)),
      RunOn(4, 7, Thrice({k7x8}, 2000)), RunOn(4, 7, Thrice({k7x8}, 2000)),
      RunOn(4, 10, Thrice({k7x8}, 2000))};
  const LearnerReport learner = Learner("ken", runs);
  const int64_t monday = platform::DaysFromCivil(2026, 4, 13);
  EXPECT_EQ(WeekDays(learner.drills[0], monday), (std::array<int, kRecentWeeks>{0, 0, 3, 0}));
  EXPECT_EQ(WeekDaysText(learner.drills[0], monday), "0・0・3・0日");
  EXPECT_EQ(LastPracticeText(learner.drills[0], monday), "4月10日(金)・3日前");
  EXPECT_EQ(LastPracticeText(learner.drills[0], monday - 3), "4月10日(金)・最終日");
  // Each row's fluent facts of those asked: the 7 row holds 7 × 8 and 56 ÷ 7's row is 7 too.
  const std::string rows = RowCounts(learner.drills[0]);
  EXPECT_NE(rows.find("7の段</th>"), std::string::npos);
  EXPECT_NE(rows.find("<td class=\"num\">1/16</td>"), std::string::npos) << rows;
}

TEST(FirstScreen, TheChartsTimeAxisNamesTheMondaysBetween) {
  // 20 March to 13 April: 23 March is too near the first date to be written, 13 April is the
  // last date itself.
  const std::vector<drill::LoggedRun> runs = {RunOn(3, 20, Thrice({k7x8}, 2000)),
                                              RunOn(4, 13, Thrice({k7x8}, 2000))};
  const std::string html = ProgressChart(Learner("ken", runs).drills[0]);
  const std::string chart = html.substr(0, html.find("</svg>"));
  std::vector<std::string> dates;
  for (size_t at = chart.find("日("); at != std::string::npos; at = chart.find("日(", at + 1)) {
    const size_t start = chart.rfind('>', at) + 1;
    dates.push_back(chart.substr(start, chart.find('<', at) - start));
  }
  EXPECT_EQ(dates,
            (std::vector<std::string>{"3月20日(金)", "4月13日(月)", "3月30日(月)", "4月6日(月)"}));
}

TEST(FirstScreen, NumbersAndDatesAsATeacherWritesThem) {
  struct Case {
    int64_t count;
    const char* text;
  } cases[] = {{0, "0"}, {999, "999"}, {1000, "1,000"}, {1600, "1,600"}, {1234567, "1,234,567"}};
  for (const Case& c : cases)
    EXPECT_EQ(Grouped(c.count), c.text);
  EXPECT_EQ(DateText({2026, 4, 13}), "4月13日(月)");
  EXPECT_EQ(DayText(platform::DaysFromCivil(2024, 2, 29)), "2月29日(木)");
  EXPECT_EQ(DayText(platform::DaysFromCivil(2026, 1, 4)), "1月4日(日)");
}

TEST(Roster, NumberedFirstThenKanaThenTheRest) {
  // Each name sorts before the next.
  const std::vector<std::string> order = {
      "1 たなか",  "02_あべ", "３ 山田",  // full-width digits count too
      "10_さとう", "あおい",  "イシダ",   // katakana read as hiragana: いしだ
      "うえの",    "ken",     "kid9",    "kid10", "中村",
  };
  for (size_t i = 0; i + 1 < order.size(); i++) {
    EXPECT_TRUE(RosterLess(order[i], order[i + 1])) << order[i] << " < " << order[i + 1];
    EXPECT_FALSE(RosterLess(order[i + 1], order[i])) << order[i + 1] << " < " << order[i];
  }
}

class Files : public testing_support::ClassFolderTest {
 protected:
  std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  Outcome Report(std::vector<std::string> options) {
    std::vector<platform::Path> args = {
        platform::Path((root / "class").native()), platform::PathFromUtf8("-o"),
        platform::Path((root / "page.html").native()), platform::PathFromUtf8("--no-open")};
    for (const std::string& option : options)
      args.push_back(platform::PathFromUtf8(option));
    Options parsed = ParseArguments(args);
    EXPECT_EQ(parsed.error, "");
    return WriteReport(parsed);
  }
  static constexpr char kLog[] =
      "Divide Quarn,2026/04/13,08:40:00,2\r\n"
      "7\x81\x7E?\x81\x81"
      "56,8,00:03.125,0\r\n"
      "4\x81\x7E"
      "6\x81\x81"
      "2?,4,00:05.500,1\r\n";
};

TEST_F(Files, ACopyBesideItsOriginalAndAChildWithoutLogs) {
  const std::string copy = "ken/20260413084000 - \xE3\x82\xB3\xE3\x83\x94\xE3\x83\xBC.log";
  Write(copy, kLog);
  Write("ken/20260413084000.log", kLog);
  fs::create_directories(root / "class" / "yui");
  Collection collection = CollectLogs(platform::Path((root / "class").native()));
  ASSERT_EQ(collection.notRead.size(), 1u);
  EXPECT_EQ(collection.notRead[0].path, copy);
  EXPECT_EQ(collection.notRead[0].detail, "ken/20260413084000.logと同じ回");
  ASSERT_EQ(collection.learners.size(), 2u);
  EXPECT_EQ(collection.learners[1].name, "yui");
  EXPECT_TRUE(collection.learners[1].runs.empty());

  // A range keeps the child who has not started; the page lists the child as such.
  Outcome outcome = Report({"--from", "2026/4/1"});
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
  const std::string page = Read(root / "page.html");
  EXPECT_NE(page.find("1人、1回分の記録（まだ記録がありません：1人）"), std::string::npos);
  EXPECT_NE(page.find("<td class=\"name\">yui</td><td colspan=\"7\">まだ記録がありません</td>"),
            std::string::npos);
  EXPECT_NE(outcome.message.find("2人、1件の記録、使わなかったファイル1件"), std::string::npos)
      << outcome.message;
}

TEST_F(Files, TitleAndTheFactsTable) {
  Write("ken/20260413084000.log", kLog);
  Outcome outcome =
      Report({"--title", "4年2組 <練習>", "--csv-facts", (root / "facts.csv").string()});
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
  const std::string page = Read(root / "page.html");
  EXPECT_NE(page.find("<title>4年2組 &lt;練習&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("<h1>4年2組 &lt;練習&gt;</h1>"), std::string::npos);
  EXPECT_NE(outcome.message.find("facts.csv"), std::string::npos);

  const std::string csv = Read(root / "facts.csv");
  ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  std::vector<std::string> lines;
  std::istringstream in(csv.substr(3));
  for (std::string line; std::getline(in, line);) {
    ASSERT_EQ(line.back(), '\r');
    lines.push_back(line.substr(0, line.size() - 1));
  }
  // The head, then every fact the division drill asks: 58 products and 58 quotients.
  ASSERT_EQ(lines.size(), 1u + 116u);
  EXPECT_EQ(lines[0],
            "名前,ドリル,問題,判定,答えが少ない,1週間前にも苦手,答えた回数,直近の回数,直近のまち"
            "がい,直近の中央値（秒）");
  auto row = [&](const std::string& fact) {
    for (const std::string& line : lines) {
      if (line.rfind("ken,わり算," + fact + ",", 0) == 0) return line;
    }
    return std::string();
  };
  EXPECT_EQ(row("56 ÷ 7 ＝ 8"), "ken,わり算,56 ÷ 7 ＝ 8,もう少し,はい,,1,1,0,3.1");
  EXPECT_EQ(row("4 × 6 ＝ 24"), "ken,わり算,4 × 6 ＝ 24,まちがいあり,はい,,1,1,1,5.5");
  EXPECT_EQ(row("9 × 9 ＝ 81"), "ken,わり算,9 × 9 ＝ 81,未出題,,,0,0,0,");
}

TEST(ClassMap, NamesTheChildrenUnderEachHardFact) {
  const std::vector<drill::LoggedRun> slow = {RunOn(4, 13, Thrice({k56div7}, 9000))};
  const std::vector<drill::LoggedRun> fine = {RunOn(4, 13, Thrice({k56div7}, 2000))};
  const std::string html =
      ClassMap({Learner("あおい", slow), Learner("ken", fine), Learner("<b>", slow)});
  EXPECT_NE(html.find("<th scope=\"row\">56 ÷ 7 ＝ 8</th><td class=\"num\">2人</td><td "
                      "class=\"who\">あおい、&lt;b&gt;</td>"),
            std::string::npos)
      << html;
  // Shades tell one, three and seven children apart.
  struct Case {
    int count, shade;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 3}, {6, 3}, {7, 4}, {28, 4}};
  for (const Case& c : cases)
    EXPECT_EQ(ClassShade(c.count), c.shade) << c.count;
}

}  // namespace
}  // namespace report
