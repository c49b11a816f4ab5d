// The two builds' variant tables. The icon is chosen in the resource script by the same
// build switch.
#pragma once

#include "drill/texts.h"
#include "drill/variant.h"

namespace app {

inline constexpr drill::DrillVariant kDivisionVariant{"Divide Quarn", texts::kTimes,
                                                      drill::Operation::kProduct, "KakeZan"};
inline constexpr drill::DrillVariant kSubtractionVariant{"Subtract Quarn", texts::kPlus,
                                                         drill::Operation::kSum, "TasiZan"};

}  // namespace app
