// Day-number arithmetic and the two clock readings.
#include "drill/time_value.h"

#include "platform/calendar.h"

namespace drill {

int DayNumber(int year, int month, int day) {
  return static_cast<int>(platform::DaysFromCivil(year, month, day) -
                          platform::DaysFromCivil(1899, 12, 30));
}

TimeValue EncodeTimeValue(const platform::DateTime& t) {
  double fraction =
      (t.hour * 3'600'000.0 + t.minute * 60'000.0 + t.second * 1'000.0 + t.millisecond) / kMsPerDay;
  return DayNumber(static_cast<int>(t.date.year), t.date.month, t.date.day) + fraction;
}

TimeValue ReadClock() {
  return EncodeTimeValue(platform::LocalTime());
}

TimeValue ReadMonotonicClock() {
  return static_cast<double>(platform::MonotonicMicroseconds()) / (kMsPerDay * 1000.0);
}

}  // namespace drill
