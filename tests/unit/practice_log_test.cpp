// The practice log: its name, its bytes in both builds, the 128-byte write buffer and what a
// failed open, write or close leaves behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drill/practice_log.h"
#include "drill/time_text.h"
#include "platform/controls.h"
#include "platform/headless/headless.h"

namespace {

constexpr char kLogName[] = "20240305090702.log";

class PracticeLog : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }

  // A new machine and a run started at 2024-03-05 09:07:02.345 with nothing solved yet.
  void Fresh() {
    headless::Reset();
    separators = drill::ReadTimeTextSeparators();
    solved.clear();
  }

  // Records the next solved problem: its four places as digits, the hidden place 1..4.
  void Solve(const char* places, int hidden, double seconds, int misses = 0) {
    drill::Problem p{kind, places[0] - '0', places[1] - '0', hidden};
    ASSERT_EQ(p.Digit(3), places[2] - '0') << places;
    ASSERT_EQ(p.Digit(4), places[3] - '0') << places;
    solved.push_back({p, seconds / 86'400, misses, true});
  }

  // Solves `count` problems of the division drill, each asked once.
  void SolveMany(int count) {
    std::vector<drill::Problem> askable;
    for (int a = 1; a <= 9; ++a)
      for (int b = 1; b <= 9; ++b)
        for (int h = 1; h <= 4; ++h)
          if (drill::IsAsked(kind, a, b)) askable.push_back({kind, a, b, h});
    for (int k = 1; k <= count; ++k)
      solved.push_back(
          {askable[static_cast<size_t>(k * 7) % askable.size()], k * 1.001 / 86'400, k % 3, true});
  }

  // False when a step failed.
  bool Write(bool focus = false) {
    return drill::WritePracticeLog(
        {kind, drill::EncodeTimeValue({{2024, 3, 5}, 9, 7, 2, 345}), solved, focus}, separators);
  }

  static std::string LogFile() {
    auto it = headless::Machine().files.find(kLogName);
    return it == headless::Machine().files.end() ? std::string() : it->second;
  }

  static std::vector<std::string> Lines(const std::string& file) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(file.substr(start, end - start));
    EXPECT_EQ(start, file.size()) << "the last line has no CR LF";
    return lines;
  }

  drill::DrillKind kind = drill::DrillKind::kDivision;
  drill::TimeTextSeparators separators;
  std::vector<drill::ProblemRecord> solved;
};

TEST_F(PracticeLog, DivisionExampleByteForByte) {
  Solve("7856", 2, 3.125);
  Solve("4624", 4, 5.5, 1);
  Solve("9327", 1, 2.004);
  Write();

  EXPECT_EQ(drill::PracticeLogName(drill::EncodeTimeValue({{2024, 3, 5}, 9, 7, 2, 345})), kLogName);
  EXPECT_EQ(LogFile(),
            "Divide Quarn,2024/03/05,09:07:02,3\r\n"
            "7\x81\x7e?\x81\x81"
            "56,8,00:03.125,0\r\n"
            "4\x81\x7e"
            "6\x81\x81"
            "2?,4,00:05.500,1\r\n"
            "?\x81\x7e"
            "3\x81\x81"
            "27,9,00:02.004,0\r\n");
  const unsigned char line2[] = {0x37, 0x81, 0x7E, 0x3F, 0x81, 0x81, 0x35, 0x36,
                                 0x2C, 0x38, 0x2C, 0x30, 0x30, 0x3A, 0x30, 0x33,
                                 0x2E, 0x31, 0x32, 0x35, 0x2C, 0x30, 0x0D, 0x0A};
  const std::string file = LogFile();
  const size_t line2Start = file.find("\r\n") + 2;
  EXPECT_EQ(file.substr(line2Start, sizeof line2),
            std::string(reinterpret_cast<const char*>(line2), sizeof line2));
  EXPECT_TRUE(headless::Machine().messageBoxes.empty());
}

TEST_F(PracticeLog, SubtractionBuildHeaderAndProblemLine) {
  kind = drill::DrillKind::kSubtraction;
  Solve("5813", 2, 4.25, 2);
  Write();
  std::vector<std::string> lines = Lines(LogFile());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "Subtract Quarn,2024/03/05,09:07:02,1");
  EXPECT_EQ(lines[1],
            "5\x81\x7b?\x81\x81"
            "13,8,00:04.250,2");
}

// A focus run's log differs in its title alone.
TEST_F(PracticeLog, AFocusRunsTitleNamesTheMode) {
  struct Case {
    drill::DrillKind kind;
    const char* places;
    const char* header;
  } cases[] = {
      {drill::DrillKind::kDivision, "7856", "Divide Quarn Focus,2024/03/05,09:07:02,1"},
      {drill::DrillKind::kSubtraction, "5813", "Subtract Quarn Focus,2024/03/05,09:07:02,1"},
  };
  for (const Case& c : cases) {
    Fresh();
    kind = c.kind;
    Solve(c.places, 2, 4.25, 2);
    Write(false);
    const std::string normal = LogFile();
    Write(true);
    const std::vector<std::string> lines = Lines(LogFile());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], c.header);
    EXPECT_EQ(LogFile().substr(LogFile().find("\r\n")), normal.substr(normal.find("\r\n")));
    EXPECT_EQ(headless::Machine().files.size(), 1u) << "the same name";
  }
}

TEST_F(PracticeLog, OneLinePerSolvedProblemAfterTheHeader) {
  struct Case {
    int solved;
  } cases[] = {{1}, {2}, {99}, {100}};
  for (const Case& c : cases) {
    Fresh();
    SolveMany(c.solved);
    Write();
    std::vector<std::string> lines = Lines(LogFile());
    ASSERT_EQ(lines.size(), static_cast<size_t>(c.solved + 1)) << c.solved;
    EXPECT_EQ(lines[0], "Divide Quarn,2024/03/05,09:07:02," + std::to_string(c.solved));
    for (size_t k = 1; k < lines.size(); ++k) {
      EXPECT_EQ(lines[k].find('\n'), std::string::npos);
      EXPECT_EQ(lines[k].substr(0, 8).find(','), std::string::npos) << lines[k];
      EXPECT_EQ(lines[k][8], ',') << "the problem field is 8 bytes: " << lines[k];
    }
    // The last record's line ends in its misses.
    EXPECT_EQ(lines.back().substr(lines.back().rfind(',') + 1),
              std::to_string(solved.back().misses));
  }
}

TEST_F(PracticeLog, MissesAndLongSolvingTimes) {
  Solve("8972", 3, 12.75, 3);     // three wrong tries
  Solve("6742", 1, 75.5);         // over a minute
  Solve("2918", 4, 3723.456, 1);  // over an hour: the minutes keep the hour
  Write();
  std::vector<std::string> lines = Lines(LogFile());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1],
            "8\x81\x7e"
            "9\x81\x81?2,7,00:12.750,3");
  EXPECT_EQ(lines[2],
            "?\x81\x7e"
            "7\x81\x81"
            "42,6,01:15.500,0");
  EXPECT_EQ(lines[3],
            "2\x81\x7e"
            "9\x81\x81"
            "1?,8,62:03.456,1");
}

TEST_F(PracticeLog, RegionalSeparatorsInTheLogButNotInTheName) {
  headless::Machine().dateSeparator = '-';
  headless::Machine().timeSeparator = '.';
  separators = drill::ReadTimeTextSeparators();
  Solve("7856", 2, 3.125);
  Write();
  EXPECT_EQ(LogFile(),
            "Divide Quarn,2024-03-05,09.07.02,1\r\n"
            "7\x81\x7e?\x81\x81"
            "56,8,00.03.125,0\r\n");
}

TEST_F(PracticeLog, ReplacesALogOfTheSameSecond) {
  headless::Machine().files[kLogName] = std::string(500, 'o');
  Solve("7856", 2, 3.125);
  Write();
  EXPECT_EQ(LogFile(),
            "Divide Quarn,2024/03/05,09:07:02,1\r\n"
            "7\x81\x7e?\x81\x81"
            "56,8,00:03.125,0\r\n");
}

TEST_F(PracticeLog, WritesGoOutIn128ByteBlocks) {
  SolveMany(100);
  Write();
  const size_t size = LogFile().size();
  ASSERT_GT(size, 128u * 10);
  std::vector<std::string> writes = headless::TraceOf({"file write"});
  ASSERT_EQ(writes.size(), (size + 127) / 128);
  const std::string full = std::string("file write ") + kLogName + " 128";
  for (size_t i = 0; i + 1 < writes.size(); ++i)
    EXPECT_EQ(writes[i], full);
  EXPECT_EQ(writes.back(),
            std::string("file write ") + kLogName + " " + std::to_string(size % 128));
  std::vector<std::string> closes = headless::TraceOf({"file close"});
  EXPECT_EQ(closes.size(), 1u);
}

TEST_F(PracticeLog, FailureShowsTheWarningOnceAndStopsWriting) {
  // The failure is reported to the caller, whose window shows the warning; the log opens none.
  // The complete log of 100 problems, to compare what a failed run leaves behind.
  SolveMany(100);
  Write();
  const std::string complete = LogFile();
  ASSERT_GT(complete.size(), 3u * 128);

  struct Case {
    const char* name;
    int solved;
    bool failOpen;
    int failWriteCall;
    bool failClose;
    bool fileExists;
    std::string left;  // what the file holds afterwards
  } cases[] = {
      {"open", 100, true, 0, false, false, ""},
      {"third write", 100, false, 3, false, true, complete.substr(0, 256)},
      {"first write", 100, false, 1, false, true, ""},
      {"close", 100, false, 0, true, true, complete},
      {"last block at close", 1, false, 1, false, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    SolveMany(c.solved);
    if (c.failOpen) headless::Machine().failOpen.insert(kLogName);
    headless::Machine().failWriteCall = c.failWriteCall;
    headless::Machine().failClose = c.failClose;

    EXPECT_FALSE(Write());

    EXPECT_TRUE(headless::Machine().messageBoxes.empty());
    EXPECT_EQ(headless::Machine().files.count(kLogName), c.fileExists ? 1u : 0u);
    EXPECT_EQ(LogFile(), c.left);
    if (c.failWriteCall > 0) {
      EXPECT_EQ(headless::Machine().writeCalls, c.failWriteCall) << "wrote on after the failure";
    }
  }
}

}  // namespace
