// What differs between the division build and the subtraction build. Each program is
// compiled with exactly one of the two tables in app/variants.h.
#pragma once

namespace drill {

enum class Operation { kProduct, kSum };

struct DrillVariant {
  const char* title;          // application title, main window caption, log title
  const char* operatorGlyph;  // Label5 and the log, CP932
  Operation operation;        // how the result r of operands a, b is formed
  const char* generatorName;  // KakeZan or TasiZan
};

inline int Combine(Operation op, int a, int b) {
  return op == Operation::kProduct ? a * b : a + b;
}

}  // namespace drill
