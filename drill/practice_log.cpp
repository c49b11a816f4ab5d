// The practice log.
#include "drill/practice_log.h"

namespace drill {

void WritePracticeLog(const DrillVariant&) {}

}  // namespace drill
