// Date and time texts: the program's patterns on their worked examples, rounding to whole
// milliseconds, regional separators, CP932 in patterns and the output limit.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "drill/time_text.h"
#include "drill/time_value.h"
#include "platform/headless/headless.h"

namespace {

// The program's patterns.
const std::string kDialogDate = "yyyy\"/\"m\"/\"d";
const std::string kDialogTime = "hh\":\"nn\":\"ss";
const std::string kDialogDuration = "nn\"\x95\xaa \"ss\"\x95\x62\"zzz";  // nn"分 "ss"秒"zzz
const std::string kLogDuration = "nn:ss.zzz";

// 2024-03-05 09:07:02.345, the start of the worked examples.
const drill::TimeValue kStart = drill::EncodeTimeValue({{2024, 3, 5}, 9, 7, 2, 345});

drill::TimeValue Seconds(double s) {
  return s / 86'400.0;
}

// "mm分 ss秒zzz" as the dialog shows it.
std::string DialogDuration(const char* minutes, const char* seconds, const char* ms) {
  return std::string(minutes) + "\x95\xaa " + seconds + "\x95\x62" + ms;
}

class TimeText : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::Reset();
    separators = drill::ReadTimeTextSeparators();
  }

  std::string Format(std::string_view pattern, drill::TimeValue t) const {
    return drill::FormatTimeValue(pattern, t, separators);
  }
  std::string DialogDateTime(drill::TimeValue t) const {
    return drill::DateTimeText(kDialogDate, kDialogTime, t, separators);
  }

  drill::TimeTextSeparators separators;
};

TEST_F(TimeText, DialogStartTimeShowsTheTimeUnlessItIsMidnight) {
  struct Case {
    platform::DateTime at;
    std::string expected;
  } cases[] = {
      {{{2024, 3, 5}, 9, 7, 2, 345}, "2024/3/5 09:07:02"},
      {{{2024, 11, 23}, 18, 45, 9, 0}, "2024/11/23 18:45:09"},
      {{{2024, 3, 5}, 0, 0, 0, 250}, "2024/3/5"},  // milliseconds are not looked at
      {{{2024, 3, 5}, 0, 0, 1, 0}, "2024/3/5 00:00:01"},
      {{{2024, 2, 29}, 0, 1, 0, 0}, "2024/2/29 00:01:00"},
      {{{1899, 12, 30}, 0, 0, 0, 0}, "1899/12/30"},
      {{{9999, 12, 31}, 23, 59, 59, 999}, "9999/12/31 23:59:59"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogDateTime(drill::EncodeTimeValue(c.at)), c.expected) << c.expected;
  }
  // 23:59:59.9996 becomes the next midnight before anything is looked at.
  EXPECT_EQ(DialogDateTime(45356 + 86'399'999.6 / 86'400'000), "2024/3/6");
}

TEST_F(TimeText, LogFileNamePartsTruncateSeconds) {
  struct Case {
    platform::DateTime at;
    const char* date;
    const char* time;
  } cases[] = {
      {{{2024, 3, 5}, 9, 7, 2, 345}, "20240305", "090702"},
      {{{2024, 3, 5}, 9, 7, 2, 999}, "20240305", "090702"},
      {{{2024, 12, 31}, 23, 59, 59, 999}, "20241231", "235959"},
      {{{2025, 1, 1}, 0, 0, 0, 0}, "20250101", "000000"},
  };
  for (const Case& c : cases) {
    drill::TimeValue t = drill::EncodeTimeValue(c.at);
    EXPECT_EQ(Format("yyyymmdd", t), c.date);
    EXPECT_EQ(Format("hhnnss", t), c.time);
  }
}

TEST_F(TimeText, LogHeaderFieldsUseTheRegionalSeparators) {
  constexpr std::optional<char> kNoValue;  // the system cannot report the setting
  struct Case {
    std::optional<char> date, time;  // as the regional settings give them
    const char* dateText;
    const char* timeText;
    const char* solvingTime;
  } cases[] = {
      {'/', ':', "2024/03/05", "09:07:02", "00:03.125"},
      {'-', '.', "2024-03-05", "09.07.02", "00.03.125"},
      {'.', '.', "2024.03.05", "09.07.02", "00.03.125"},
      // An empty setting prints nothing; only a missing one takes the default.
      {'\0', '\0', "20240305", "090702", "0003.125"},
      {kNoValue, kNoValue, "2024/03/05", "09:07:02", "00:03.125"},
      {'\0', kNoValue, "20240305", "09:07:02", "00:03.125"},
      // Separators that would break the comma-separated lines take the defaults.
      {',', ',', "2024/03/05", "09:07:02", "00:03.125"},
      {'"', '"', "2024/03/05", "09:07:02", "00:03.125"},
      {'\t', '\n', "2024/03/05", "09:07:02", "00:03.125"},
      {'\r', '\x7f', "2024/03/05", "09:07:02", "00:03.125"},
      // A lone lead byte would swallow the digit after it; the defaults stand in.
      {'\x81', '\x82', "2024/03/05", "09:07:02", "00:03.125"},
      // Half-width katakana are single bytes and print as they are.
      {'\xb0', ' ',
       "2024\xb0"
       "03\xb0"
       "05",
       "09 07 02", "00 03.125"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dateText + std::string(" ") + c.timeText);
    headless::Machine().dateSeparator = c.date;
    headless::Machine().timeSeparator = c.time;
    separators = drill::ReadTimeTextSeparators();
    EXPECT_EQ(Format("yyyy/mm/dd", kStart), c.dateText);
    EXPECT_EQ(Format("hh:nn:ss", kStart), c.timeText);
    EXPECT_EQ(Format(kLogDuration, Seconds(3.125)), c.solvingTime);
    // Quoted separators stay as written.
    EXPECT_EQ(DialogDateTime(kStart), "2024/3/5 09:07:02");
  }
}

TEST_F(TimeText, ZeroSeparatorPrintsNothing) {
  separators = {0, 0};
  EXPECT_EQ(Format("yyyy/mm/dd hh:nn:ss", kStart), "20240305 090702");
}

TEST_F(TimeText, DurationsInTheDialogAndTheLog) {
  struct Case {
    double seconds;
    std::string dialog;
    std::string log;
  } cases[] = {
      {0, DialogDuration("00", "00", "000"), "00:00.000"},
      {3.125, DialogDuration("00", "03", "125"), "00:03.125"},
      {75.5, DialogDuration("01", "15", "500"), "01:15.500"},
      {245.678, DialogDuration("04", "05", "678"), "04:05.678"},
      {2.45678, DialogDuration("00", "02", "457"), "00:02.457"},  // 2,456.78 ms -> 2,457
      {-0.5, DialogDuration("00", "00", "500"), "00:00.500"},     // the magnitude
      {59.9996, DialogDuration("01", "00", "000"), "01:00.000"},  // rounding carries
      {599.999, DialogDuration("09", "59", "999"), "09:59.999"},
      // Without an hour code the minutes keep the hours and days.
      {3599.999, DialogDuration("59", "59", "999"), "59:59.999"},
      {3600, DialogDuration("60", "00", "000"), "60:00.000"},
      {3723.456, DialogDuration("62", "03", "456"), "62:03.456"},
      {-3723.456, DialogDuration("62", "03", "456"), "62:03.456"},
      {86'405, DialogDuration("1440", "05", "000"), "1440:05.000"},
  };
  for (const Case& c : cases) {
    drill::TimeValue t = Seconds(c.seconds);
    EXPECT_EQ(Format(kDialogDuration, t), c.dialog) << c.seconds;
    EXPECT_EQ(Format(kLogDuration, t), c.log) << c.seconds;
  }
}

TEST_F(TimeText, WithAnHourCodeMinutesStayWithinTheHour) {
  struct Case {
    double seconds;
    const char* pattern;
    const char* expected;
  } cases[] = {
      {3723.456, "hh:nn:ss.zzz", "01:02:03.456"},
      {86'405, "hh:nn:ss", "00:00:05"},  // whole days never show
      {-3723.456, "h:n:s", "1:2:3"},
      {3723.456, "nn\"h\"ss", "62h03"},  // a quoted h is no hour code
      {3723.456, "HH:NN", "01:02"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.pattern, Seconds(c.seconds)), c.expected) << c.pattern;
  }
}

TEST_F(TimeText, MillisecondsRoundHalfToEvenFromTheExtendedProduct) {
  struct Case {
    double t;
    const char* expected;
  } cases[] = {
      // Exact halves: 1/2048 day is 42,187.5 ms, 3/2048 day 126,562.5 ms.
      {1.0 / 2048, "00:42.188"},
      {3.0 / 2048, "02:06.562"},
      {-3.0 / 2048, "02:06.562"},
      // Products a hair off an exact half, which a double product would round to the half
      // (and then to the even neighbour); the 64-bit mantissa keeps the hair.
      {2.8454861111111113e-05, "00:02.459"},  // 2,458.5000000000002 ms
      {2.8466435185185185e-05, "00:02.459"},  // 2,459.4999999999999 ms
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(kLogDuration, c.t), c.expected) << c.t;
  }
}

uint16_t X87ControlWord() {
  uint16_t cw = 0;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

void SetX87ControlWord(uint16_t cw) {
  __asm__ volatile("fldcw %0" : : "m"(cw));
}

TEST_F(TimeText, ProductKeepsItsMantissaWhateverTheX87PrecisionSetting) {
  const uint16_t original = X87ControlWord();
  const uint16_t doublePrecision = 0x027F;  // the control word Windows x64 starts threads with
  SetX87ControlWord(doublePrecision);
  std::string text = Format(kLogDuration, 2.8454861111111113e-05);
  uint16_t after = X87ControlWord();
  SetX87ControlWord(original);
  EXPECT_EQ(text, "00:02.459");
  EXPECT_EQ(after, doublePrecision);
}

TEST_F(TimeText, ValuesOutsideTheCalendarStillFormat) {
  EXPECT_EQ(drill::WholeMilliseconds(std::nan("")), 0);
  EXPECT_EQ(drill::WholeMilliseconds(1e300), 9'000'000'000'000'000'000);
  EXPECT_EQ(drill::WholeMilliseconds(-1e300), -9'000'000'000'000'000'000);
  EXPECT_EQ(Format("yyyy/mm/dd", -693'594), "0000/12/31");
}

TEST_F(TimeText, CodesAreCaseInsensitiveRunsOfOneLetter) {
  const drill::TimeValue t = drill::EncodeTimeValue({{2024, 11, 3}, 7, 8, 9, 45});
  struct Case {
    const char* pattern;
    const char* expected;
  } cases[] = {
      {"YYYY/MM/DD HH:NN:SS.ZZZ", "2024/11/03 07:08:09.045"},
      {"yYyY-mM-Dd", "2024-11-03"},
      {"m/d h:n:s.z", "11/3 7:8:9.45"},
      {"yyyyy", "2024"},  // three or more y are the year in at least 4 digits
      {"ddd", "003"},
      {"zzzz", "0045"},
      {"T,ax!", "T,ax!"},  // letters that are no code are copied
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.pattern, t), c.expected) << c.pattern;
  }
}

TEST_F(TimeText, QuotedTextAndDoubleByteCharacters) {
  struct Case {
    std::string pattern;
    std::string expected;
  } cases[] = {
      {"\"yyyy mm\"dd", "yyyy mm05"},
      {"\"\"hh", "09"},
      {"dd\"unterminated", "05unterminated"},
      // CP932 trail bytes are never 0x22, but many are ASCII letters: the second byte of
      // "Ｎ" (82 6D) is "m", of "Ｉ" (82 68) "h", of "秒" (95 62) "b".
      {"\x82\x6d\x82\x68", "\x82\x6d\x82\x68"},
      {"\"\x82\x6d\"dd\x95\x62",
       "\x82\x6d"
       "05\x95\x62"},
      // Half-width katakana are single bytes: the "m" after one is the month.
      {"\xb1m",
       "\xb1"
       "3"},
      // A lead byte without a trail byte stands alone and does not eat the closing quote.
      {"\"\x95\"dd",
       "\x95"
       "05"},
      {"dd\x95", "05\x95"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.pattern, kStart), c.expected) << c.pattern;
  }
}

TEST_F(TimeText, AnHourCodeBehindADoubleByteCharacterIsFound) {
  // "Ｉ" ends in the byte "h" yet is no hour code; the real "hh" after it is.
  EXPECT_EQ(Format("\x82\x68nn", Seconds(3723)),
            "\x82\x68"
            "62");
  EXPECT_EQ(Format("\x82\x68hhnn", Seconds(3723)),
            "\x82\x68"
            "0102");
}

TEST_F(TimeText, OutputStopsAt256Bytes) {
  struct Case {
    std::string pattern;
    std::string expected;
  } cases[] = {
      {std::string(300, 'x'), std::string(256, 'x')},
      {'"' + std::string(300, 'q') + '"', std::string(256, 'q')},
      {std::string(254, 'x') + "yyyy", std::string(254, 'x') + "20"},
      // A double-byte character is not split, and nothing after it slips in.
      {std::string(255, 'x') + "\x82\x6d" + "x", std::string(255, 'x')},
      {std::string(254, 'x') + "\x82\x6d" + "x", std::string(254, 'x') + "\x82\x6d"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(c.pattern, kStart), c.expected) << c.pattern.size();
  }
}

TEST(DateOfDayNumber, InvertsDayNumberOverTheWholeCalendar) {
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int expectedDay = drill::DayNumber(1, 1, 1);
  for (int y = 1; y <= 9999; ++y) {
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    for (int m = 1; m <= 12; ++m) {
      int days = kDaysIn[m - 1] + (m == 2 && leap ? 1 : 0);
      for (int d = 1; d <= days; ++d, ++expectedDay) {
        ASSERT_EQ(drill::DayNumber(y, m, d), expectedDay) << y << "-" << m << "-" << d;
        platform::CivilDate date = drill::DateOfDayNumber(expectedDay);
        ASSERT_TRUE(date.year == y && date.month == m && date.day == d)
            << expectedDay << " gave " << date.year << "-" << date.month << "-" << date.day;
      }
    }
  }
  EXPECT_EQ(drill::DayNumber(1899, 12, 30), 0);
}

}  // namespace
