// Text forms of TimeValues: one pattern-driven formatter, the date-and-time text built on
// it, and the regional separators it prints.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "drill/time_value.h"
#include "platform/calendar.h"

namespace drill {

// What "/" and ":" outside quotes print; a zero byte prints nothing.
struct TimeTextSeparators {
  char date = '/';
  char time = ':';

  // The separators for the user's regional settings as the system reports them: an empty
  // setting prints nothing; "/" and ":" stand in where the system gives no value, or one that
  // would break the log's comma-separated lines (a comma, a double quote, a control
  // character, a lead byte).
  static TimeTextSeparators FromSettings(std::optional<char> date, std::optional<char> time);
  bool operator==(const TimeTextSeparators&) const = default;
};

// Reads the separators from the user's regional settings; the program does it at start and
// whenever the system reports a change.
TimeTextSeparators ReadTimeTextSeparators();

// Codes (either case): y m d h n s z; "..." quoted text; "/" and ":" the separators.
// In a pattern without an hour code, "nn" counts every whole minute of the value, so a
// duration of an hour or more keeps its hours. Output is cut off after 256 bytes.
std::string FormatTimeValue(std::string_view pattern, TimeValue t,
                            const TimeTextSeparators& separators);
// The date, then a space and the time unless hour, minute and second are all 0.
std::string DateTimeText(std::string_view datePattern, std::string_view timePattern, TimeValue t,
                         const TimeTextSeparators& separators);

// The inverse of DayNumber, for any day number (proleptic Gregorian; year 0 is 1 BC).
platform::CivilDate DateOfDayNumber(int64_t dayNumber);
// t in whole milliseconds: the product formed with a 64-bit mantissa, then rounded to the
// nearest integer, an exact half to the even one. NaN gives 0; beyond +-9e18 it is clamped.
int64_t WholeMilliseconds(TimeValue t);

}  // namespace drill
