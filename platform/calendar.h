// The one calendar: civil dates (proleptic Gregorian; year 0 is 1 BC), a date with its time of
// day, and day counts since 1970-01-01, for the clocks, the drills' time values, the log reader,
// the report and the test driver.
#pragma once

#include <cstdint>

namespace platform {

struct CivilDate {
  int64_t year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  auto operator<=>(const CivilDate&) const = default;
};

constexpr bool IsLeapYear(int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int DaysInMonth(int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the date; negative before it. The year is counted from March, so
// that February, the month of varying length, ends it; eras of 400 years repeat exactly.
constexpr int64_t DaysFromCivil(int64_t year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146'097 + dayOfEra - 719'468;  // 0000-03-01 is 719,468 days before 1970
}

// The date of a day count from 1970-01-01; the inverse of DaysFromCivil for any count.
constexpr CivilDate CivilFromDays(int64_t days) {
  const int64_t z = days + 719'468;
  const int64_t era = (z >= 0 ? z : z - 146'096) / 146'097;
  const int64_t dayOfEra = z - era * 146'097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // 0 is March
  CivilDate date;
  date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  date.year = yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0);
  return date;
}

// A civil date and a time of day to the millisecond, in one clock (local or UTC): what the
// system's clock reads and what a log's header states.
struct DateTime {
  CivilDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  // Whole seconds since 1970-01-01 00:00 of the same clock; orders and spaces runs.
  constexpr int64_t Seconds() const {
    return DaysFromCivil(date.year, date.month, date.day) * 86'400 + hour * 3'600 + minute * 60 +
           second;
  }
  auto operator<=>(const DateTime&) const = default;
};

}  // namespace platform
