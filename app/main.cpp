// The entry point, compiled once per build; QUARN_DIVISION picks the division build.
#include "app/program.h"
#include "app/variants.h"

#if defined(QUARN_DIVISION)
constexpr const drill::DrillVariant& kVariant = app::kDivisionVariant;
#else
constexpr const drill::DrillVariant& kVariant = app::kSubtractionVariant;
#endif

int main() {
  return app::RunProgram(kVariant);
}
