// The days a report covers (--from, --to): a run belongs to a day by its start in its own
// local clock, as its log states it.
#pragma once

#include <compare>
#include <optional>
#include <string_view>

#include "drill/log_reader.h"
#include "report/collect.h"

namespace report {

struct Day {
  int year = 0, month = 0, day = 0;
  auto operator<=>(const Day&) const = default;
};

// Both ends count; an end not given leaves that side open.
struct DateRange {
  std::optional<Day> from;
  std::optional<Day> to;

  bool Limited() const { return from || to; }
  bool Contains(const drill::StartTime& start) const;
};

// "2024-03-05", "2024/03/05" or "2024/3/5"; a day the calendar has.
bool ParseDay(std::string_view text, Day& day);

// Leaves out the runs that started on a day outside the range, and the learners left with no
// run; counts the runs left out in collection.outsideRange.
void KeepRange(Collection& collection, const DateRange& range);

}  // namespace report
