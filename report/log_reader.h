// Reads one practice log of either drill into its run: the header, the solved problems, and
// how many lines had to be skipped. Never throws on bad input; says why a file is unusable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drill/practice.h"

namespace report {

using Drill = drill::DrillKind;

// One solved problem. Slots as the drill numbers them: 1 first operand, 2 second operand,
// 3 tens and 4 units of the result.
struct Answer {
  uint8_t a = 0;
  uint8_t b = 0;
  uint8_t hiddenSlot = 0;
  uint8_t misses = 0;  // wrong tries, capped at 255
  uint32_t milliseconds = 0;
};

// Local date and clock time of a run's start.
struct StartTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  // Seconds since 1970-01-01 00:00 of the same local clock; orders and spaces runs.
  int64_t Seconds() const;
  auto operator<=>(const StartTime&) const = default;
};

struct Run {
  Drill drill = Drill::kDivision;
  StartTime start;
  int headerCount = 0;  // the count the header states
  std::vector<Answer> answers;
  int skippedLines = 0;
  std::string skipReason;  // the first skipped line's fault, in Japanese, UTF-8
};

struct ReadResult {
  bool ok = false;
  std::string error;  // why the file is not used, in Japanese, UTF-8
  Run run;
};

// Larger files are not practice logs (a full run is about 3 KB) and are not read whole.
inline constexpr std::uintmax_t kMaxLogBytes = 64 * 1024;
inline constexpr int kMaxProblems = 100;

// The file's bytes as read; CP932 as the drill writes them, UTF-8 (a log re-saved by an
// editor) is accepted too.
ReadResult ReadLog(std::string_view bytes);

// Pieces of the reader, exposed for the tests.
bool ParseDate(std::string_view text, StartTime& out);
bool ParseClock(std::string_view text, StartTime& out);
// "nn:ss.zzz" with any or no single separator between minutes and seconds; minutes may
// have more than two digits.
bool ParseSolvingTime(std::string_view text, uint32_t& milliseconds);

}  // namespace report
