// The report as one self-contained HTML page in Japanese: inline CSS and SVG, no script.
// Each part is its own function so that it can be checked alone; the chart, the grids, the
// style and the words have their own files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/collect.h"
#include "report/date_range.h"
#include "report/statistics.h"

namespace report {

// The files not read list at most this many names for each reason.
inline constexpr int kNamesPerReason = 50;

// The page's parts.
std::string Legend();
// lastDay: the day "days ago" counts from (LastDayOf).
std::string Overview(const std::vector<LearnerReport>& learners, int64_t lastDay);
std::string FileNotes(const Collection& collection);

// The title heads the page, with the range when it limits the runs; UTF-8.
std::string ReportPage(std::string_view title, const std::vector<LearnerReport>& learners,
                       const Collection& collection, const DateRange& range = {});

}  // namespace report
