// The practice log reader on real logs of both drills and on each kind of damaged input.
#include "drill/log_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "drill/log_format.h"

namespace drill {
namespace {

// CP932 glyphs as the drills write them.
#define TIMES "\x81\x7E"   // ×
#define PLUS "\x81\x7B"    // ＋
#define EQUALS "\x81\x81"  // ＝

std::string ReadFixture(const char* name) {
  std::ifstream in(std::string(QUARN_LOG_FIXTURES) + "/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ParseDateTime, RegionalSeparatorsOrNone) {
  struct Case {
    const char* date;
    bool ok;
  } dates[] = {
      {"2024/03/05", true},  {"20240305", true},    {"2024-03-05", true},   {"2024.03.05", true},
      {"2024/02/29", true},  {"2023/02/29", false}, {"2024/02/30", false},  {"2024/13/01", false},
      {"2024/00/10", false}, {"2024/3/05", false},  {"2024/03/05x", false}, {"2024/0305", false},
      {"", false},           {"abcd/ef/gh", false},
  };
  for (const Case& c : dates) {
    platform::CivilDate date;
    EXPECT_EQ(ParseDate(c.date, date), c.ok) << c.date;
  }
  platform::CivilDate date;
  ASSERT_TRUE(ParseDate("2024.03.05", date));
  EXPECT_EQ(date, (platform::CivilDate{2024, 3, 5}));

  platform::DateTime t;

  Case clocks[] = {{"09:07:02", true},  {"090702", true},    {"09.07.02", true},
                   {"23:59:59", true},  {"24:00:00", false}, {"09:60:00", false},
                   {"09:07:60", false}, {"9:07:02", false},  {"09:07", false}};
  for (const Case& c : clocks) {
    EXPECT_EQ(ParseClock(c.date, t), c.ok) << c.date;
  }
  ASSERT_TRUE(ParseClock("161248", t));
  EXPECT_EQ(std::tie(t.hour, t.minute, t.second), std::make_tuple(16, 12, 48));
}

TEST(ParseSolvingTime, MinutesSecondsMilliseconds) {
  struct Case {
    const char* text;
    bool ok;
    uint32_t ms;
  } cases[] = {
      {"00:03.125", true, 3125},
      {"0003.125", true, 3125},
      {"00.03.125", true, 3125},
      {"01:15.500", true, 75500},
      {"62:03.456", true, 3723456},
      {"6203.456", true, 3723456},
      {"00:00.019", true, 19},
      {"00:60.000", false, 0},
      {"0:03.125", false, 0},
      {"00:03,125", false, 0},
      {"00:03.12", false, 0},
      {"00:03.1250", false, 0},
      {"", false, 0},
      {"00::03.125", false, 0},
      {"99999:00.000", false, 0},
      {"-1:03.125", false, 0},
  };
  for (const Case& c : cases) {
    uint32_t ms = 0;
    EXPECT_EQ(ParseSolvingTime(c.text, ms), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(ms, c.ms) << c.text;
    }
  }
}

// Logs the drills wrote in the end-to-end runs under Wine.
TEST(ReadLog, RealLogsOfBothDrills) {
  struct Case {
    const char* file;
    DrillKind kind;
  } cases[] = {{"division.log", DrillKind::kDivision},
               {"subtraction.log", DrillKind::kSubtraction}};
  for (const Case& c : cases) {
    std::string bytes = ReadFixture(c.file);
    ASSERT_FALSE(bytes.empty()) << c.file;
    ReadResult result = ReadLog(bytes);
    ASSERT_TRUE(result.Ok()) << c.file << ": " << DescribeFault(result.fault);
    EXPECT_EQ(result.run.kind, c.kind);
    EXPECT_EQ(result.run.headerCount, 100);
    EXPECT_EQ(result.run.answers.size(), 100u);
    EXPECT_EQ(result.run.skippedLines, 0);
    EXPECT_GE(result.run.start.date.year, 2024);
    for (const LoggedAnswer& a : result.run.answers) {
      EXPECT_EQ(a.problem.kind, c.kind);
      EXPECT_TRUE(a.problem.hiddenSlot >= 1 && a.problem.hiddenSlot <= 4);
      EXPECT_TRUE(IsAsked(c.kind, a.problem.a, a.problem.b));
    }
  }
}

TEST(ReadLog, FieldsOfTheDrillsExample) {
  ReadResult result = ReadLog(
      "Divide Quarn,2024/03/05,09:07:02,3\r\n"
      "7" TIMES "?" EQUALS
      "56,8,00:03.125,0\r\n"
      "4" TIMES "6" EQUALS
      "2?,4,00:05.500,1\r\n"
      "?" TIMES "3" EQUALS "27,9,00:02.004,0\r\n");
  ASSERT_TRUE(result.Ok());
  const drill::LoggedRun& run = result.run;
  EXPECT_EQ(run.start, (platform::DateTime{{2024, 3, 5}, 9, 7, 2}));
  EXPECT_EQ(run.start.Seconds(), 1709629622);
  ASSERT_EQ(run.answers.size(), 3u);
  const LoggedAnswer& second = run.answers[1];
  EXPECT_EQ(second.problem, (Problem{DrillKind::kDivision, 4, 6, 4}));
  EXPECT_EQ(std::make_tuple(second.misses, second.milliseconds), std::make_tuple(1, 5500u));
  EXPECT_EQ(run.answers[0].problem, (Problem{DrillKind::kDivision, 7, 8, 2}));
  EXPECT_EQ(run.answers[2].problem, (Problem{DrillKind::kDivision, 9, 3, 1}));
}

// A file that cannot be used at all is refused with its fault; a damaged line is skipped and
// counted, and the rest of the file is used.
TEST(ReadLog, DamagedInput) {
  const std::string header = "Divide Quarn,2024/03/05,09:07:02,2\r\n";
  const std::string good = "7" TIMES "?" EQUALS "56,8,00:03.125,0\r\n";
  std::string hundredAndOne = "Divide Quarn,2024/03/05,09:07:02,100\r\n";
  for (int i = 0; i <= kProblemsPerRun; ++i)
    hundredAndOne += good;
  using enum LogFault;
  struct Case {
    const char* what;
    std::string bytes;
    LogFault fault;
    size_t answers;
    int skipped;
    LogFault firstSkipped;
  } cases[] = {
      {"empty file", "", kEmpty, 0, 0, kNone},
      {"byte order mark only", "\xEF\xBB\xBF", kEmpty, 0, 0, kNone},
      {"byte order mark and a line end", "\xEF\xBB\xBF\r\n", kNoHeader, 0, 0, kNone},
      {"not a log", "hello world\r\nsecond line\r\n", kNoHeader, 0, 0, kNone},
      {"binary", std::string("MZ\0\0\x90\x01,,,\n", 11), kNoHeader, 0, 0, kNone},
      {"header only", header, kNoProblemLines, 0, 0, kNone},
      {"header cut off", "Divide Quarn,2024/03/05,09:07", kNoHeader, 0, 0, kNone},
      {"impossible date", "Divide Quarn,2024/02/30,09:07:02,1\r\n" + good, kBadDate, 0, 0, kNone},
      {"impossible clock", "Divide Quarn,2024/02/03,25:07:02,1\r\n" + good, kBadClock, 0, 0, kNone},
      {"count zero", "Divide Quarn,2024/02/03,09:07:02,0\r\n" + good, kBadCount, 0, 0, kNone},
      {"count past 100", "Divide Quarn,2024/02/03,09:07:02,101\r\n" + good, kBadCount, 0, 0, kNone},
      {"unknown title", "Multiply Quarn,2024/03/05,09:07:02,1\r\n" + good, kNoHeader, 0, 0, kNone},
      {"only damaged lines", header + "garbage\r\nmore garbage\r\n", kNoProblemLines, 0, 2,
       kFieldCount},
      {"clean", header + good + good, kNone, 2, 0, kNone},
      {"LF line ends",
       "Divide Quarn,2024/03/05,09:07:02,1\n7" TIMES "?" EQUALS "56,8,00:03.125,0\n", kNone, 1, 0,
       kNone},
      {"truncated last line", header + good + "7" TIMES "?" EQUALS "56,8,00:0", kNone, 1, 1,
       kCutOff},
      {"last line without its end", header + good + good.substr(0, good.size() - 2), kNone, 1, 1,
       kCutOff},
      {"three fields", header + good + "7" TIMES "?" EQUALS "56,8,00:03.125\r\n", kNone, 1, 1,
       kFieldCount},
      {"five fields", header + good + "7" TIMES "?" EQUALS "56,8,00:03.125,0,1\r\n", kNone, 1, 1,
       kFieldCount},
      {"7 x 8 = 65", header + good + "7" TIMES "8" EQUALS "6?,5,00:03.125,0\r\n", kNone, 1, 1,
       kImpossibleProblem},
      {"answer disagrees", header + good + "7" TIMES "?" EQUALS "56,9,00:03.125,0\r\n", kNone, 1, 1,
       kImpossibleProblem},
      {"operand 1 in division", header + good + "1" TIMES "?" EQUALS "12,12,00:01.000,0\r\n", kNone,
       1, 1, kMalformedProblem},
      {"1 x 9 = 09", header + good + "1" TIMES "?" EQUALS "09,9,00:01.000,0\r\n", kNone, 1, 1,
       kImpossibleProblem},
      {"product under 10", header + good + "2" TIMES "?" EQUALS "08,4,00:01.000,0\r\n", kNone, 1, 1,
       kImpossibleProblem},
      {"plus in a division log", header + good + "7" PLUS "?" EQUALS "15,8,00:03.125,0\r\n", kNone,
       1, 1, kMalformedProblem},
      {"two hidden digits", header + good + "7" TIMES "?" EQUALS "5?,8,00:03.125,0\r\n", kNone, 1,
       1, kMalformedProblem},
      {"nothing hidden", header + good + "7" TIMES "8" EQUALS "56,8,00:03.125,0\r\n", kNone, 1, 1,
       kMalformedProblem},
      {"bad solving time", header + good + "7" TIMES "?" EQUALS "56,8,00:3.125,0\r\n", kNone, 1, 1,
       kBadSolvingTime},
      {"bad misses", header + good + "7" TIMES "?" EQUALS "56,8,00:03.125,x\r\n", kNone, 1, 1,
       kBadMisses},
      {"empty line", header + good + "\r\n" + good, kNone, 2, 1, kFieldCount},
      {"count disagrees", "Divide Quarn,2024/03/05,09:07:02,5\r\n" + good, kNone, 1, 0, kNone},
      {"101 problems", hundredAndOne, kNone, 100, 1, kPastLastProblem},
  };
  for (const Case& c : cases) {
    ReadResult result = ReadLog(c.bytes);
    EXPECT_EQ(result.fault, c.fault) << c.what;
    EXPECT_EQ(result.Ok(), c.fault == kNone) << c.what;
    if (c.fault == kNone || c.fault == kNoProblemLines) {
      EXPECT_EQ(result.run.answers.size(), c.answers) << c.what;
      EXPECT_EQ(result.run.skippedLines, c.skipped) << c.what;
      EXPECT_EQ(result.run.firstSkipped, c.firstSkipped) << c.what;
    }
  }
}

// Every problem either drill can ask, in every hidden place, written as the drills write it,
// reads back as it was written.
TEST(ReadLog, ReadsWhatTheDrillsWrite) {
  for (DrillKind kind : kDrillKinds) {
    for (int hidden = 1; hidden <= 4; ++hidden) {
      std::vector<LoggedAnswer> written;
      for (int a = 1; a <= 9; ++a) {
        for (int b = 1; b <= 9; ++b) {
          if (IsAsked(kind, a, b))
            written.push_back({Problem{kind, a, b, hidden},
                               static_cast<uint32_t>(written.size() * 1001 % 600000),
                               static_cast<uint8_t>(written.size() % 4)});
        }
      }
      ASSERT_LE(written.size(), static_cast<size_t>(kProblemsPerRun));
      std::string log =
          LogHeaderLine(kind, "2026/12/08", "16:12:48", static_cast<int>(written.size()));
      for (const LoggedAnswer& w : written) {
        char time[16];
        std::snprintf(time, sizeof time, "%02u:%02u.%03u", w.milliseconds / 60000,
                      w.milliseconds / 1000 % 60, w.milliseconds % 1000);
        log += LogProblemLine(w.problem, time, w.misses);
      }
      const ReadResult result = ReadLog(log);
      ASSERT_TRUE(result.Ok()) << Title(kind) << " hidden " << hidden;
      EXPECT_EQ(result.run.kind, kind);
      EXPECT_EQ(result.run.start, (platform::DateTime{{2026, 12, 8}, 16, 12, 48}));
      EXPECT_EQ(result.run.skippedLines, 0) << Title(kind) << " hidden " << hidden;
      ASSERT_EQ(result.run.answers.size(), written.size());
      for (size_t k = 0; k < written.size(); ++k) {
        const LoggedAnswer& read = result.run.answers[k];
        EXPECT_EQ(std::tie(read.problem, read.milliseconds, read.misses),
                  std::tie(written[k].problem, written[k].milliseconds, written[k].misses))
            << LogProblemField(written[k].problem);
      }
    }
  }
}

// The drill writes CP932; a log re-saved as UTF-8 (with or without a byte order mark) reads
// the same, and so do the regional settings without separators.
TEST(ReadLog, EncodingsAndSeparators) {
  struct Case {
    const char* what;
    std::string bytes;
    DrillKind kind;
    uint32_t ms;
  } cases[] = {
      {"UTF-8",
       "Divide Quarn,2024/03/05,09:07:02,1\r\n7\xC3\x97?\xEF\xBC\x9D"
       "56,8,00:03.125,0\r\n",
       DrillKind::kDivision, 3125},
      {"UTF-8 with BOM",
       "\xEF\xBB\xBFSubtract Quarn,2024/03/05,09:07:02,1\r\n5\xEF\xBC\x8B?\xEF\xBC\x9D"
       "13,8,"
       "00:04.250,2\r\n",
       DrillKind::kSubtraction, 4250},
      {"no separators",
       "Subtract Quarn,20261208,161248,1\r\n5" PLUS "?" EQUALS "13,8,0004.250,2\r\n",
       DrillKind::kSubtraction, 4250},
      {"dots", "Divide Quarn,2026.12.08,16.12.48,1\r\n7" TIMES "?" EQUALS "56,8,00.03.125,0\r\n",
       DrillKind::kDivision, 3125},
  };
  for (const Case& c : cases) {
    ReadResult result = ReadLog(c.bytes);
    ASSERT_TRUE(result.Ok()) << c.what;
    EXPECT_EQ(result.run.kind, c.kind) << c.what;
    ASSERT_EQ(result.run.answers.size(), 1u) << c.what;
    EXPECT_EQ(result.run.answers[0].milliseconds, c.ms) << c.what;
  }
}

// The title names the drill and whether the run was a focus run; nothing else is a title.
TEST(ReadLog, TitlesNameTheDrillAndTheMode) {
  const std::string rest = ",2024/03/05,09:07:02,1\r\n7" TIMES "?" EQUALS "56,8,00:03.125,0\r\n";
  const std::string sum = ",2024/03/05,09:07:02,1\r\n5" PLUS "?" EQUALS "13,8,00:04.250,2\r\n";
  struct Case {
    std::string bytes;
    bool ok;
    DrillKind kind;
    bool focus;
  } cases[] = {
      {"Divide Quarn" + rest, true, DrillKind::kDivision, false},
      {"Divide Quarn Focus" + rest, true, DrillKind::kDivision, true},
      {"Subtract Quarn" + sum, true, DrillKind::kSubtraction, false},
      {"Subtract Quarn Focus" + sum, true, DrillKind::kSubtraction, true},
      {"Divide Quarn focus" + rest, false, DrillKind::kDivision, false},
      {"Divide Quarn Focus " + rest, false, DrillKind::kDivision, false},
      {"Divide Quarn  Focus" + rest, false, DrillKind::kDivision, false},
      {"Focus" + rest, false, DrillKind::kDivision, false},
  };
  for (const Case& c : cases) {
    const ReadResult result = ReadLog(c.bytes);
    const std::string title = c.bytes.substr(0, c.bytes.find(','));
    if (!c.ok) {
      EXPECT_EQ(result.fault, LogFault::kNoHeader) << title;
      continue;
    }
    EXPECT_EQ(result.run.kind, c.kind) << title;
    EXPECT_EQ(result.run.focus, c.focus) << title;
  }
  // A line of the other drill in a focus log is skipped as in a normal one.
  EXPECT_EQ(ReadLog("Subtract Quarn Focus" + rest).fault, LogFault::kNoProblemLines);
}

TEST(ReadLog, SubtractionFacts) {
  const std::string header = "Subtract Quarn,2024/03/05,09:07:02,1\r\n";
  struct Case {
    const char* line;
    bool read;
  } cases[] = {
      {"1" PLUS "?" EQUALS "10,9,00:01.000,0", true},
      {"9" PLUS "1" EQUALS "1?,0,00:01.000,0", true},
      {"5" PLUS "?" EQUALS "09,4,00:01.000,0", false},
      {"9" PLUS "9" EQUALS "?9,1,00:01.000,0", false},
      {"0" PLUS "?" EQUALS "10,10,00:01.000,0", false},
      {"7" TIMES "?" EQUALS "56,8,00:01.000,0", false},
  };
  for (const Case& c : cases) {
    ReadResult result =
        ReadLog(header + c.line + "\r\n" + "9" PLUS "?" EQUALS "18,9,00:01.000,0\r\n");
    ASSERT_TRUE(result.Ok()) << c.line;
    EXPECT_EQ(result.run.answers.size(), c.read ? 2u : 1u) << c.line;
  }
}

}  // namespace
}  // namespace drill
