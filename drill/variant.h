// What differs between the division build and the subtraction build; all of it follows from
// the kind of drill. Each program is compiled with one of the two entries of app/variants.h.
#pragma once

#include "drill/log_format.h"
#include "drill/practice.h"

namespace drill {

struct DrillVariant {
  DrillKind kind;
  // Both point into string literals, so they end in a NUL for the window system.
  const char* title;          // application title, main window caption, log title
  const char* operatorGlyph;  // the operator sign, CP932
};

constexpr DrillVariant VariantOf(DrillKind kind) {
  return {kind, Title(kind).data(), OperatorGlyph(kind).data()};
}

}  // namespace drill
