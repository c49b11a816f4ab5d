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
// The class map's shade of a count of learners: 0 none, 1 one, 2 two or three, 3 four to six,
// 4 seven or more.
int ClassShade(int count);
// Names joined as a list a teacher reads out: 山田、さくら; escaped for HTML.
std::string NameList(const std::vector<const std::string*>& names);
// For each drill, how many of the learners who practise it have each fact slow or missed.
std::string ClassMap(const std::vector<LearnerReport>& learners);

}  // namespace report
