// Points in time and durations as days since 1899-12-30, and the clocks that produce them.
#pragma once

#include "platform/platform.h"

namespace drill {

using TimeValue = double;  // days since 1899-12-30; the fraction is the part of the day

inline constexpr double kMsPerDay = 86'400'000.0;

// Day number of a date (1899-12-30 is 0); proleptic Gregorian, years 1..9999.
int DayNumber(int year, int month, int day);
TimeValue EncodeTimeValue(const platform::DateTime& t);
TimeValue ReadClock();  // local time, 1 ms resolution
// A reading of the monotonic clock in days; only differences of two readings mean anything.
TimeValue ReadMonotonicClock();

}  // namespace drill
