// The one calendar of the programs: day counts of known dates, month lengths, and the round
// trip far beyond the years any clock shows.
#include "platform/calendar.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Calendar, DayCountsOfKnownDates) {
  struct Case {
    CivilDate date;
    int64_t days;
  } cases[] = {
      {{1970, 1, 1}, 0},      {{1969, 12, 31}, -1},    {{1899, 12, 30}, -25'569},
      {{2000, 3, 1}, 11'017}, {{2024, 2, 29}, 19'782}, {{1600, 2, 29}, -135'081},
      {{1, 1, 1}, -719'162},  {{0, 3, 1}, -719'468},   {{9999, 12, 31}, 2'932'896},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DaysFromCivil(c.date.year, c.date.month, c.date.day), c.days) << c.days;
    EXPECT_EQ(CivilFromDays(c.days), c.date) << c.days;
  }
}

TEST(Calendar, MonthLengths) {
  struct Case {
    int64_t year;
    int month;
    int days;
  } cases[] = {{2023, 2, 28}, {2024, 2, 29}, {1900, 2, 28}, {2000, 2, 29},
               {2100, 2, 28}, {2024, 1, 31}, {2024, 4, 30}, {2024, 12, 31}};
  for (const Case& c : cases)
    EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

// The drills format time values up to about 1e11 days either side of 1899; each day count
// there must come back from its date, and the next day must be the next date.
TEST(Calendar, RoundTripFarFromToday) {
  for (int64_t start : {int64_t{-104'000'000'000}, int64_t{-1'000'000}, int64_t{-1},
                        int64_t{5'000'000}, int64_t{104'000'000'000}}) {
    CivilDate previous = CivilFromDays(start - 1);
    for (int64_t days = start; days < start + 800; ++days) {
      const CivilDate date = CivilFromDays(days);
      ASSERT_EQ(DaysFromCivil(date.year, date.month, date.day), days);
      const bool nextInMonth = date.day == previous.day + 1 && date.month == previous.month;
      const bool firstOfMonth =
          date.day == 1 && previous.day == DaysInMonth(previous.year, previous.month);
      ASSERT_TRUE(nextInMonth || firstOfMonth) << days;
      previous = date;
    }
  }
}

}  // namespace
}  // namespace platform
