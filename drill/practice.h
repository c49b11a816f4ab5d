// What a practice is, shared by the drills, the report, the benchmarks and the tests: the two
// kinds of drill, the problems each can ask, a problem's four digit places, and a fact as the
// child sees it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "resources/resource_ids.h"

namespace drill {

// The two drills. The division drill shows products (a × b ＝ cd) and the subtraction drill
// sums (a ＋ b ＝ cd); finding a hidden operand is the division or subtraction.
enum class DrillKind : uint8_t { kDivision, kSubtraction };

inline constexpr std::array<DrillKind, 2> kDrillKinds = {DrillKind::kDivision,
                                                         DrillKind::kSubtraction};
inline constexpr int kProblemsPerRun = 100;

// The program's title, its main window's caption and the log's title word.
constexpr std::string_view Title(DrillKind kind) {
  return kind == DrillKind::kDivision ? QUARN_DIVISION_TITLE : QUARN_SUBTRACTION_TITLE;
}
// The same for a focus run, which practises the facts the child's logs find weak:
// "Divide Quarn Focus". A literal, so that it ends in a NUL for the window system.
constexpr std::string_view FocusTitle(DrillKind kind) {
  return kind == DrillKind::kDivision ? QUARN_DIVISION_TITLE QUARN_FOCUS_TITLE_SUFFIX
                                      : QUARN_SUBTRACTION_TITLE QUARN_FOCUS_TITLE_SUFFIX;
}
constexpr std::string_view Title(DrillKind kind, bool focus) {
  return focus ? FocusTitle(kind) : Title(kind);
}

// The result the drill shows for operands a and b.
constexpr int Combine(DrillKind kind, int a, int b) {
  return kind == DrillKind::kDivision ? a * b : a + b;
}

// Whether the drill ever asks a and b (1 to 9): only two-digit results are asked.
constexpr bool IsAsked(DrillKind kind, int a, int b) {
  return a >= 1 && a <= 9 && b >= 1 && b <= 9 && Combine(kind, a, b) >= 10;
}

// The four digit places of a problem: 1 first operand, 2 second operand, 3 tens and 4 units
// of the result. One of them is hidden.
struct Problem {
  DrillKind kind = DrillKind::kDivision;
  int a = 0;
  int b = 0;
  int hiddenSlot = 0;  // 1 to 4

  constexpr int Result() const { return Combine(kind, a, b); }
  // The digit shown in place 1 to 4.
  constexpr int Digit(int slot) const {
    switch (slot) {
      case 1:
        return a;
      case 2:
        return b;
      case 3:
        return Result() / 10;
      default:
        return Result() % 10;
    }
  }
  constexpr int Answer() const { return Digit(hiddenSlot); }
  bool operator==(const Problem&) const = default;
};

// A fact as the child meets it. With a digit of the result hidden the child recalls a × b
// (or a + b); with an operand hidden the child works out result ÷ known (or result − known),
// whichever place the known operand stands in: □ × 8 ＝ 56 and 8 × □ ＝ 56 are both 56 ÷ 8.
enum class FactKind : uint8_t { kForward, kInverse };

struct Fact {
  DrillKind drill = DrillKind::kDivision;
  FactKind kind = FactKind::kForward;
  // Forward: the operands a and b in the order shown. Inverse: the result and the known
  // operand (56 and 8 for 56 ÷ 8).
  int first = 0;
  int second = 0;

  // The answer the fact asks for: the result, or the unknown operand.
  constexpr int Answer() const {
    return kind == FactKind::kForward      ? Combine(drill, first, second)
           : drill == DrillKind::kDivision ? first / second
                                           : first - second;
  }
  auto operator<=>(const Fact&) const = default;
};

constexpr Fact FactOf(const Problem& p) {
  switch (p.hiddenSlot) {
    case 1:
      return {p.kind, FactKind::kInverse, Combine(p.kind, p.a, p.b), p.b};
    case 2:
      return {p.kind, FactKind::kInverse, Combine(p.kind, p.a, p.b), p.a};
    default:
      return {p.kind, FactKind::kForward, p.a, p.b};
  }
}

// One problem for each fact the drill asks, in table order: for each pair a op b asked, the
// result's units digit hidden (the fact a op b) and the first operand hidden (the result
// less, or over, b).
inline std::vector<Problem> OneProblemPerFact(DrillKind kind) {
  std::vector<Problem> problems;
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      if (!IsAsked(kind, a, b)) continue;
      problems.push_back({kind, a, b, 4});
      problems.push_back({kind, a, b, 1});
    }
  }
  return problems;
}

// Whether an answer tells anything about its fact. The tens digit of a sum of two digits is
// always 1: typing it says nothing about 8 ＋ 5.
constexpr bool SaysSomethingAboutTheFact(const Problem& p) {
  return !(p.kind == DrillKind::kSubtraction && p.hiddenSlot == 3);
}

}  // namespace drill
