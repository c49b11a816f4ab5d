// The report page's style sheet: colours and marks of the fact states, the grids, the chart,
// the narrow-screen layout and the A4 print layout.
#pragma once

namespace report {

extern const char kPageStyle[];

}  // namespace report
