// The progress chart of one learner's drill: each run's median time and misses per problem over
// the days, focus runs marked apart, with a key and the same points as a table.
#pragma once

#include <string>

#include "report/statistics.h"

namespace report {

std::string ProgressChart(const DrillStats& stats);

}  // namespace report
