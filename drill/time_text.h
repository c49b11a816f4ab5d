// Text forms of TimeValues: one pattern-driven formatter and the date and time texts built
// on the two process-wide patterns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "drill/time_value.h"

// The patterns of DateText and TimeText, CP932 bytes. Callers set both before formatting.
extern std::string DatePattern, TimePattern;
// What "/" and ":" outside quotes print; a zero byte prints nothing.
extern char LocaleDateSeparator, LocaleTimeSeparator;

// (Re)reads the separators from the user's regional settings: an empty setting prints
// nothing; "/" and ":" stand in where the system gives no value, or one that would break the
// log's comma-separated lines (a comma, a double quote, a control character, a lead byte).
void ReadLocaleSeparators();

// Codes (either case): y m d h n s z; "..." quoted text; "/" and ":" the locale separators.
// In a pattern without an hour code, "nn" counts every whole minute of the value, so a
// duration of an hour or more keeps its hours. Output is cut off after 256 bytes.
std::string FormatTimeValue(std::string_view pattern, TimeValue t);
std::string DateText(TimeValue t);
std::string TimeText(TimeValue t);
// The date, then a space and the time unless hour, minute and second are all 0.
std::string DateTimeText(TimeValue t);

struct CalendarDate {
  int64_t year;
  int month;
  int day;
};
// The inverse of DayNumber, for any day number (proleptic Gregorian; year 0 is 1 BC).
CalendarDate DateOfDayNumber(int64_t dayNumber);
// t in whole milliseconds: the product formed with a 64-bit mantissa, then rounded to the
// nearest integer, an exact half to the even one. NaN gives 0; beyond +-9e18 it is clamped.
int64_t WholeMilliseconds(TimeValue t);
