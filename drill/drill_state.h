// The process-wide state of the one practice run: the problem records, the combinations
// already asked, the entry flags and the counters.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "drill/time_value.h"

namespace platform {
class Label;
}

inline constexpr int kProblemsPerRun = 100;

// One problem's record.
struct TLogRec {
  // The four slot texts, indexed by slot 1..4: operands, then tens and units of the result.
  struct Slots {
    std::array<std::string, 4> text;
    std::string& operator[](int slot) { return text[static_cast<size_t>(slot - 1)]; }
    const std::string& operator[](int slot) const { return text[static_cast<size_t>(slot - 1)]; }
  } SlotText;
  std::string HiddenSlotText;  // "1".."4"
  // The local clock at generation while open; the solving duration once solved.
  TimeValue Time = 0;
  int32_t Misses = 0;
  // The monotonic clock at generation; the duration is measured against it.
  TimeValue Opened = 0;
  bool Solved = false;
};

// Records 1..100; there is no record 0.
struct TProblemTable {
  std::array<TLogRec, kProblemsPerRun> records;
  TLogRec& operator[](int k) { return records[static_cast<size_t>(k - 1)]; }
  const TLogRec& operator[](int k) const { return records[static_cast<size_t>(k - 1)]; }
};

// Flags [first operand 1..9][second operand 1..9][hidden slot 1..4].
struct TUsedCombinations {
  std::array<uint8_t, 9 * 9 * 4> flags{};
  uint8_t& operator()(int a, int b, int h) {
    return flags[static_cast<size_t>(((a - 1) * 9 + (b - 1)) * 4 + (h - 1))];
  }
};

struct DrillState {
  std::array<platform::Label*, 6> LabelArray{};
  bool KeyHeld = false;
  bool Busy = false;
  std::string TypedKey;
  std::string LogFileName;
  int32_t ExpectedAnswer = 0;
  TimeValue StartTime = 0;
  TimeValue LastClock = 0;
  TimeValue TotalTime = 0;
  // The open problem is ProblemTable[ProblemNumber]. An unsolved problem that a new one
  // replaces gives up its record, so records 1..RightCount are always the solved problems.
  int32_t ProblemNumber = 0;
  int32_t RightCount = 0;
  TUsedCombinations UsedCombinations;
  TProblemTable ProblemTable;
  int32_t ProblemsOpened = 0;  // counts generator calls; tells a judging its problem went away
  bool RunEnded = false;       // the main window has been closed: no further problem or answer
  // A right answer has been judged and recorded but not yet counted in RightCount.
  bool AnswerInFlight = false;
};

extern DrillState Drill;

// Begins the practice run; the last step of the main window's creation.
void StartPracticeRun();
