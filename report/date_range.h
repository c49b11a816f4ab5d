// The days a report covers (--from, --to): a run belongs to a day by its start in its own
// local clock, as its log states it.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

#include "drill/log_reader.h"
#include "platform/calendar.h"
#include "report/collect.h"

namespace report {

// Both ends count; an end not given leaves that side open.
struct DateRange {
  std::optional<platform::CivilDate> from;
  std::optional<platform::CivilDate> to;

  bool Limited() const { return from || to; }
  bool Contains(const platform::DateTime& start) const;
};

// "2024-03-05", "2024/03/05" or "2024/3/5"; a day the calendar has.
bool ParseDay(std::string_view text, platform::CivilDate& day);

// Leaves out the runs that started on a day outside the range, and the learners left with no
// run; counts the runs left out in collection.outsideRange.
void KeepRange(Collection& collection, const DateRange& range);

// The day the facts' evidence is aged against ("today" for the report): the range's last day
// when given, else the day of the newest run of the whole folder; 0 with no run.
int64_t JudgingDay(const Collection& collection, const DateRange& range);

}  // namespace report
