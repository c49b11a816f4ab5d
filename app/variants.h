// The two builds' variant tables, each made from its kind of drill. The icon is chosen in the
// resource script by the same build switch as the entry point.
#pragma once

#include "drill/variant.h"

namespace app {

inline constexpr drill::DrillVariant kDivisionVariant =
    drill::VariantOf(drill::DrillKind::kDivision);
inline constexpr drill::DrillVariant kSubtractionVariant =
    drill::VariantOf(drill::DrillKind::kSubtraction);

}  // namespace app
