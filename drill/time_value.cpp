// Day-number arithmetic and the two clock readings.
#include "drill/time_value.h"

namespace {

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

}  // namespace

int DayNumber(int year, int month, int day) {
  static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
  int y = year - 1;
  int days = y * 365 + y / 4 - y / 100 + y / 400 + kDaysBefore[month - 1] + day;
  if (month > 2 && IsLeapYear(year)) ++days;
  return days - 693594;
}

TimeValue EncodeTimeValue(const platform::SystemTime& t) {
  double fraction =
      (t.hour * 3'600'000.0 + t.minute * 60'000.0 + t.second * 1'000.0 + t.millisecond) / kMsPerDay;
  return DayNumber(t.year, t.month, t.day) + fraction;
}

TimeValue ReadClock() {
  return EncodeTimeValue(platform::LocalTime());
}

TimeValue ReadMonotonicClock() {
  return static_cast<double>(platform::MonotonicMicroseconds()) / (kMsPerDay * 1000.0);
}
