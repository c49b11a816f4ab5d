// A drill's facts as the page tabulates them: the forward and inverse grids with each fact's
// state, the hidden positions, the facts to practise next, and the class's weak facts.
#pragma once

#include <string>
#include <vector>

#include "report/statistics.h"

namespace report {

// The state swatch with its mark, as the grids draw it and the legend explains it.
std::string Swatch(FactState state);
// The grid of forward facts (a op b) or of inverse facts (56 ÷ 7 in row 7, column 8).
std::string FactGrid(const DrillStats& stats, drill::FactKind kind);
std::string SlotTable(const DrillStats& stats);
std::string PracticeTable(const DrillStats& stats);
// For each drill, how many of the learners who practise it have each fact slow or missed.
std::string ClassMap(const std::vector<LearnerReport>& learners);

}  // namespace report
