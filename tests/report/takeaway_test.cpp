// What a teacher takes away besides the page: the answers as CSV and the date range, from the
// command line to the bytes written, on folders made in a temporary directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "drill/log_format.h"
#include "report/csv.h"
#include "report/report.h"
#include "scratch_folder.h"

namespace report {
namespace {

namespace fs = std::filesystem;

std::vector<platform::Path> Args(std::initializer_list<fs::path> args) {
  std::vector<platform::Path> paths;
  for (const fs::path& arg : args)
    paths.push_back(platform::Path(arg.native()));
  return paths;
}

#define TIMES "\x81\x7E"
#define PLUS "\x81\x7B"
#define EQUALS "\x81\x81"

// A division run with a hidden factor and a hidden units digit.
std::string DivisionLog(const std::string& date, const std::string& time) {
  return "Divide Quarn," + date + "," + time +
         ",2\r\n"
         "7" TIMES "?" EQUALS
         "56,8,00:03.125,0\r\n"
         "4" TIMES "6" EQUALS "2?,4,00:05.500,1\r\n";
}

// A subtraction run: 13 − 8 from a hidden addend, and a sum's tens digit after a long pause.
std::string SubtractionLog(const std::string& date, const std::string& time) {
  return "Subtract Quarn," + date + "," + time +
         ",2\r\n"
         "?" PLUS "8" EQUALS
         "13,5,00:01.050,0\r\n"
         "9" PLUS "4" EQUALS "?3,1,01:02.003,2\r\n";
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class ClassFolder : public testing_support::ClassFolderTest {
 protected:
  // The report of the class folder with these options added; the page goes to root/page.html.
  Outcome Report(std::initializer_list<fs::path> options) {
    std::vector<platform::Path> args =
        Args({root / "class", "-o", root / "page.html", "--no-open"});
    for (const platform::Path& option : Args(options))
      args.push_back(option);
    Options parsed = ParseArguments(args);
    EXPECT_EQ(parsed.error, "");
    return WriteReport(parsed);
  }
};

TEST(Csv, FieldsQuotedAsRfc4180AndNeverAFormula) {
  struct Case {
    std::string text, field;
  } cases[] = {
      {"ken", "ken"},
      {"", ""},
      {"\xE3\x81\x82\xE3\x81\x8A\xE3\x81\x84", "\xE3\x81\x82\xE3\x81\x8A\xE3\x81\x84"},  // あおい
      {"Sato, Ken", "\"Sato, Ken\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"line\nfeed", "\"line\nfeed\""},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+1", "'+1"},
      {"-x", "'-x"},
      {"@sum", "'@sum"},
      {"\tab", "'\tab"},
      {"a=b", "a=b"},  // only the first character makes a formula
      {"\nx", "\"'\nx\""},
      {"\xEF\xBC\x9D"
       "1+1",
       "'\xEF\xBC\x9D"
       "1+1"},  // ＝1+1
      {"\xEF\xBC\x8B"
       "1",
       "'\xEF\xBC\x8B"
       "1"},  // ＋1
      {"\xEF\xBC\x8D"
       "1",
       "'\xEF\xBC\x8D"
       "1"},  // －1
      {"\xEF\xBC\xA0"
       "a",
       "'\xEF\xBC\xA0"
       "a"},                                    // ＠a
      {"\xEF\xBB\xBF=1", "'\xEF\xBB\xBF=1"},    // a byte order mark before a formula
      {"\xE2\x80\x8Fken", "'\xE2\x80\x8Fken"},  // U+200F
      {"\xE2\x80\xAEnek", "'\xE2\x80\xAEnek"},  // U+202E
      {"\xE2\x81\xA6ken", "'\xE2\x81\xA6ken"},  // U+2066
      {"\xE2\x81\xA9ken", "'\xE2\x81\xA9ken"},  // U+2069
      {"k\xE2\x80\xAEn", "k\xE2\x80\xAEn"},     // inside, the page shows it isolated
      {"7\xC3\x97?\xEF\xBC\x9D"
       "56",
       "7\xC3\x97?\xEF\xBC\x9D"
       "56"},  // 7×?＝56
  };
  for (const Case& c : cases)
    EXPECT_EQ(CsvField(c.text), c.field) << c.text;
}

TEST(Csv, ProblemAsLoggedAndStartInIso8601) {
  using drill::DrillKind;
  using drill::Problem;
  struct Case {
    Problem problem;
    const char* utf8;
  } cases[] = {
      {{DrillKind::kDivision, 7, 8, 1},
       "?\xC3\x97"
       "8\xEF\xBC\x9D"
       "56"},  // ?×8＝56
      {{DrillKind::kDivision, 7, 8, 3},
       "7\xC3\x97"
       "8\xEF\xBC\x9D?6"},  // 7×8＝?6
      {{DrillKind::kSubtraction, 9, 4, 2},
       "9\xEF\xBC\x8B?\xEF\xBC\x9D"
       "13"},  // 9＋?＝13
      {{DrillKind::kSubtraction, 9, 4, 4},
       "9\xEF\xBC\x8B"
       "4\xEF\xBC\x9D"
       "1?"},  // 9＋4＝1?
  };
  for (const Case& c : cases) {
    EXPECT_EQ(drill::LogProblemFieldUtf8(c.problem), c.utf8);
    // The reader takes the UTF-8 field as it takes the drill's own.
    drill::ReadResult read =
        drill::ReadLog(std::string(drill::Title(c.problem.kind)) + ",2024/03/05,09:07:02,1\r\n" +
                       c.utf8 + "," + std::to_string(c.problem.Answer()) + ",00:01.000,0\r\n");
    ASSERT_TRUE(read.Ok()) << c.utf8;
    ASSERT_EQ(read.run.answers.size(), 1u);
    EXPECT_EQ(read.run.answers[0].problem, c.problem);
  }
  EXPECT_EQ(SheetDateTime({{2024, 3, 5}, 9, 7, 2}), "2024-03-05 09:07:02");
  EXPECT_EQ(SheetDateTime({{1999, 12, 31}, 23, 59, 59}), "1999-12-31 23:59:59");
}

// Every answer as a row, learners in the page's order and runs by start; names with a comma,
// a quote, a formula's first character and Japanese; the byte order mark and CR LF.
TEST_F(ClassFolder, CsvBytesOfASmallClass) {
  const std::string aoi = "\xE3\x81\x82\xE3\x81\x8A\xE3\x81\x84";  // あおい
  Write("Sato, \"Ken\"/20240305090702.log", DivisionLog("2024/03/05", "09:07:02"));
  Write("Sato, \"Ken\"/20240304090702.log", DivisionLog("2024/03/04", "23:59:59"));  // before
  Write(aoi + "/a.log", SubtractionLog("2024/03/06", "14:00:09"));
  Write(aoi + "/b.log", DivisionLog("2024/03/06", "13:00:00"));  // earlier, so first
  Write("=cmd/x.log", DivisionLog("2024/03/31", "23:59:59"));
  Outcome outcome = Report({"--csv", root / "answers.csv", "--from", "2024-03-05"});
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;

  // The start as a spreadsheet reads a date and time; an empty focus column for normal runs;
  // the tens of a sum labelled as counting for no fact. Kana names before the rest.
  const std::string header =
      "\xEF\xBB\xBF名前,ドリル,開始日時,集中練習,問題番号,問題,考える計算,□の位置,答え,秒,"
      "まちがいの数,判定に数える,今の判定\r\n";
  auto division = [](const std::string& learner, const std::string& start) {
    return learner + ",わり算," + start + ",,1,7×?＝56,56 ÷ 7 ＝ 8,2,8,3.125,0,1,もう少し\r\n" +
           learner + ",わり算," + start + ",,2,4×6＝2?,4 × 6 ＝ 24,4,4,5.500,1,1,まちがいあり\r\n";
  };
  const std::string expected =
      header + division(aoi, "2024-03-06 13:00:00") + aoi +
      ",ひき算,2024-03-06 14:00:09,,1,?＋8＝13,13 − 8 ＝ 5,1,5,1.050,0,1,もう少し\r\n" + aoi +
      ",ひき算,2024-03-06 14:00:09,,2,9＋4＝?3,9 ＋ 4 ＝ "
      "13（答えの十の位：いつも1なので判定に数えない）,3,1,62.003,2,0,\r\n" +
      division("'=cmd", "2024-03-31 23:59:59") +
      division("\"Sato, \"\"Ken\"\"\"", "2024-03-05 09:07:02");
  EXPECT_EQ(ReadBytes(root / "answers.csv"), expected);
  // The page is written too, over the same runs.
  EXPECT_NE(ReadBytes(root / "page.html").find("3人、4回分の記録"), std::string::npos);
  EXPECT_NE(outcome.message.find("answers.csv"), std::string::npos);
}

// The table judges by the page's rule: a fact's second ask in a run is practice (0), and a fact
// fluent from three fast days, 3/1 to 3/3, is due for review on the --to day, 3/4, a day later.
TEST_F(ClassFolder, CsvCountsFirstAsksAndShowsTheStateOnTheLastDay) {
  auto fast = [](const std::string& date, int asks) {
    std::string log = "Divide Quarn," + date + ",09:00:00," + std::to_string(asks) + "\r\n";
    for (int i = 0; i < asks; ++i)
      log += "7" TIMES "8" EQUALS "5?,6,00:01.500,0\r\n";
    return log;
  };
  Write("ken/20240301090000.log", fast("2024/03/01", 2));
  Write("ken/20240302090000.log", fast("2024/03/02", 1));
  Write("ken/20240303090000.log", fast("2024/03/03", 1));
  for (const char* to : {"2024-03-03", "2024-03-04"}) {
    SCOPED_TRACE(to);
    Outcome outcome = Report({"--csv", root / "answers.csv", "--to", to});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
    const std::string state = std::string(to) == "2024-03-03" ? "すらすら" : "すらすら（復習どき）";
    const std::string csv = ReadBytes(root / "answers.csv");
    for (const std::string& row : {",1,7×8＝5?,7 × 8 ＝ 56,4,6,1.500,0,1," + state + "\r\n",
                                   ",2,7×8＝5?,7 × 8 ＝ 56,4,6,1.500,0,0," + state + "\r\n"}) {
      EXPECT_NE(csv.find(row), std::string::npos) << row << csv;
    }
    EXPECT_EQ(
        ReadBytes(root / "page.html").find("復習どき（最後に出てから1日）") != std::string::npos,
        std::string(to) == "2024-03-04");
  }
}

TEST_F(ClassFolder, CsvOfAnEmptyFolderIsTheHeaderAlone) {
  Outcome outcome = Report({"--csv", root / "answers.csv"});
  ASSERT_EQ(outcome.exitCode, 0) << outcome.message;
  const std::string csv = ReadBytes(root / "answers.csv");
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
  EXPECT_EQ(csv.find("\r\n"), csv.size() - 2);
}

// The table is held to the page's rules, and a table that cannot be written leaves the page
// as it was: never over a log by name or by another name of it, nor anything but a regular
// file, nor the page itself.
TEST_F(ClassFolder, CsvRefusedOrFailedWritesNothing) {
  const std::string log = DivisionLog("2024/03/05", "09:07:02");
  Write("ken/a.log", log);
  fs::create_directories(root / "taken.csv");
  fs::create_hard_link(root / "class" / "ken" / "a.log", root / "alias.csv");
  std::ofstream(root / "elsewhere.txt", std::ios::binary) << "keep";
  fs::create_symlink(root / "elsewhere.txt", root / "link.csv");
  struct Case {
    const char* what;
    fs::path csv;
  } cases[] = {
      {"a folder", root / "taken.csv"},
      {"in a missing folder", root / "missing" / "answers.csv"},
      {"a log", root / "class" / "ken" / "a.log"},
      {"a new log", root / "answers.LOG"},
      {"another name of a log read", root / "alias.csv"},
      {"a link", root / "link.csv"},
      {"the page by another name", root / "page-alias.html"},
  };
  for (const Case& c : cases) {
    std::ofstream(root / "page.html", std::ios::binary) << "old page";
    fs::remove(root / "page-alias.html");
    fs::create_hard_link(root / "page.html", root / "page-alias.html");
    Outcome outcome = Report({"--csv", c.csv});
    EXPECT_EQ(outcome.exitCode, kExitFailure) << c.what;
    EXPECT_NE(outcome.message.find("CSV"), std::string::npos) << c.what << ": " << outcome.message;
    EXPECT_EQ(ReadBytes(root / "page.html"), "old page") << c.what;
    EXPECT_EQ(ReadBytes(root / "class" / "ken" / "a.log"), log) << c.what;
    EXPECT_EQ(ReadBytes(root / "elsewhere.txt"), "keep") << c.what;
    EXPECT_FALSE(fs::exists(root / "answers.LOG")) << c.what;
  }
}

TEST(ParseArguments, CsvAndDateRange) {
  using Range = std::pair<std::optional<platform::CivilDate>, std::optional<platform::CivilDate>>;
  const platform::CivilDate march1{2024, 3, 1}, march31{2024, 3, 31};
  struct Case {
    std::vector<fs::path> args;
    fs::path csv;
    Range range;
    bool error;
  } cases[] = {
      {{"logs"}, "", {}, false},
      {{"--csv", "a.csv"}, "a.csv", {}, false},
      {{"logs", "--csv", "a.csv", "-o", "p.html"}, "a.csv", {}, false},
      {{"--from", "2024-03-01"}, "", {march1, {}}, false},
      {{"--to", "2024/03/31"}, "", {{}, march31}, false},
      {{"--to", "2024-03-31", "--from", "2024-03-01"}, "", {march1, march31}, false},
      {{"--from", "2024-03-01", "--to", "2024-03-01"}, "", {march1, march1}, false},
      {{"--from", "2024-02-29"}, "", {platform::CivilDate{2024, 2, 29}, {}}, false},
      // The way a date is written on a form in Japan: no leading zeros.
      {{"--from", "2024/3/1", "--to", "2024/3/31"}, "", {march1, march31}, false},
      {{"--from", "2024-3-1"}, "", {march1, {}}, false},
      {{"--to", "2024/3/09"}, "", {{}, platform::CivilDate{2024, 3, 9}}, false},
      {{"--", "--from"}, "", {}, false},  // a folder named --from
      {{"--csv", "a.csv", "--", "--to"}, "a.csv", {}, false},
      // Usage errors.
      {{"--from", "2024-04-01", "--to", "2024-03-31"}, "", {}, true},
      {{"--from", "2023-02-29"}, "", {}, true},
      {{"--from", "2024/3-1"}, "", {}, true},
      {{"--from", "2024/003/1"}, "", {}, true},
      {{"--from", "2024/2/30"}, "", {}, true},
      {{"--from", "24/3/1"}, "", {}, true},
      {{"--from", "20240301"}, "", {}, true},
      {{"--from", "2024-03/01"}, "", {}, true},
      {{"--from", "2024.03.01"}, "", {}, true},
      {{"--from", "2024-13-01"}, "", {}, true},
      {{"--from", "yesterday"}, "", {}, true},
      {{"--from", ""}, "", {}, true},
      {{"--from"}, "", {}, true},
      {{"--from", "2024-03-01", "--from", "2024-03-02"}, "", {}, true},
      {{"--csv"}, "", {}, true},
      {{"--csv", ""}, "", {}, true},
      {{"--csv", "a.csv", "--csv", "b.csv"}, "", {}, true},
      {{"logs", "--csv", "p.html", "-o", "p.html"}, "", {}, true},
      {{"logs", "--csv", fs::path("logs") / "report.html"}, "", {}, true},
      {{"--csv-facts", "a.csv", "--csv", "a.csv"}, "", {}, true},
      {{"--csv-facts", "f.csv", "--csv-facts", "g.csv"}, "", {}, true},
      {{"--csv-facts"}, "", {}, true},
      {{"--title"}, "", {}, true},
      {{"--title", ""}, "", {}, true},
      {{"--title", "a", "--title", "b"}, "", {}, true},
  };
  for (const Case& c : cases) {
    std::vector<platform::Path> args;
    for (const fs::path& arg : c.args)
      args.push_back(platform::Path(arg.native()));
    Options options = ParseArguments(args);
    std::string what;
    for (const fs::path& arg : c.args)
      what += arg.string() + " ";
    EXPECT_EQ(!options.error.empty(), c.error) << what;
    if (c.error) continue;
    EXPECT_EQ(platform::DisplayUtf8(options.csv), c.csv.string()) << what;
    EXPECT_EQ(std::make_pair(options.range.from, options.range.to), c.range) << what;
  }
}

// Runs in and out at the edges of the range: the start's own date decides, to the second.
TEST_F(ClassFolder, RangeKeepsRunsByTheirStartDate) {
  Write("ken/1.log", DivisionLog("2024/02/29", "23:59:59"));
  Write("ken/2.log", DivisionLog("2024/03/01", "00:00:00"));
  Write("ken/3.log", SubtractionLog("2024/03/31", "23:59:59"));
  Write("ken/4.log", DivisionLog("2024/04/01", "00:00:00"));
  Write("ann/5.log", DivisionLog("2024/04/02", "08:00:00"));
  Write("ken/bad.log", "not a log");  // not read, whatever the range
  struct Case {
    std::initializer_list<fs::path> range;
    int runs, outside;
    std::vector<std::string> learners;
    const char* title;  // the range as the page's heading says it
  } cases[] = {
      {{}, 5, 0, {"ann", "ken"}, nullptr},
      {{"--from", "2024-03-01", "--to", "2024-03-31"},
       2,
       3,
       {"ken"},
       "2024年3月1日〜2024年3月31日の記録"},
      {{"--from", "2024-03-01"}, 4, 1, {"ann", "ken"}, "2024年3月1日からの記録"},
      {{"--to", "2024-03-31"}, 3, 2, {"ken"}, "2024年3月31日までの記録"},
      {{"--from", "2024-04-01", "--to", "2024-04-01"}, 1, 4, {"ken"}, "2024年4月1日〜2024年4月1日"},
      {{"--from", "2025-01-01"}, 0, 5, {}, "2025年1月1日から"},
  };
  for (const Case& c : cases) {
    std::vector<platform::Path> args = Args({root / "class", "-o", root / "page.html"});
    for (const platform::Path& arg : Args(c.range))
      args.push_back(arg);
    Options options = ParseArguments(args);
    ASSERT_EQ(options.error, "");

    Collection collection = CollectLogs(options.folder);
    KeepRange(collection, options.range);
    std::vector<std::string> learners;
    int runs = 0;
    for (const Learner& learner : collection.learners) {
      learners.push_back(learner.name);
      runs += static_cast<int>(learner.runs.size());
      for (const drill::LoggedRun& run : learner.runs)
        EXPECT_TRUE(options.range.Contains(run.start));
    }
    EXPECT_EQ(runs, c.runs) << c.title;
    EXPECT_EQ(collection.filesRead, c.runs) << c.title;
    EXPECT_EQ(collection.outsideRange, c.outside) << c.title;
    EXPECT_EQ(collection.notRead.size(), 1u) << c.title;
    EXPECT_EQ(learners, c.learners) << c.title;

    ASSERT_EQ(WriteReport(options).exitCode, 0) << c.title;
    const std::string page = ReadBytes(root / "page.html");
    const size_t h1 = page.find("<h1>"), h1End = page.find("</h1>");
    ASSERT_NE(h1End, std::string::npos);
    const std::string heading = page.substr(h1, h1End - h1);
    if (c.title) {
      EXPECT_NE(heading.find(c.title), std::string::npos) << heading;
      EXPECT_NE(page.find("この期間の外の記録" + std::to_string(c.outside) + "回"),
                std::string::npos)
          << c.title;
    } else {
      EXPECT_EQ(heading.find("range"), std::string::npos) << heading;
      EXPECT_EQ(page.find("期間"), std::string::npos);
    }
    // A range that leaves nothing says so, and not that the folder has no logs.
    EXPECT_EQ(page.find("この期間に始めた練習の記録はありません") != std::string::npos, c.runs == 0)
        << c.title;
  }
}

}  // namespace
}  // namespace report
