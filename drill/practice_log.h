// The practice log written at the end of a run with at least one right answer.
#pragma once

#include "drill/variant.h"

namespace drill {

void WritePracticeLog(const DrillVariant& variant);

}  // namespace drill
