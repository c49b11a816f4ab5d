// Reads one practice log of either drill into its run: the header, the solved problems, and
// how many lines had to be skipped. Never throws on bad input; says why a file is unusable.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "drill/practice.h"
#include "platform/calendar.h"

namespace drill {

// Why a log, or one line of it, cannot be used.
enum class LogFault : uint8_t {
  kNone,
  // The whole file.
  kEmpty,           // no bytes, or a byte order mark alone
  kNoHeader,        // the first line is no header of either drill
  kBadDate,         // the header's date is no date
  kBadClock,        // the header's time is no time of day
  kBadCount,        // the header's count is not 1 to kProblemsPerRun
  kNoProblemLines,  // not one problem line could be read
  // One problem line; the rest of the file is still used.
  kFieldCount,         // not four fields
  kMalformedProblem,   // the problem field or the answer is not in the drill's shape
  kImpossibleProblem,  // a problem the drill never asks, or wrong arithmetic
  kBadSolvingTime,
  kBadMisses,
  kCutOff,           // the last line lacks its line end
  kPastLastProblem,  // a line after kProblemsPerRun problems
};

// The fault in a few English words, for test reports.
std::string_view DescribeFault(LogFault fault);

// One solved problem as the log states it.
struct LoggedAnswer {
  Problem problem;
  uint32_t milliseconds = 0;
  uint8_t misses = 0;  // wrong tries, capped at 255
};

struct LoggedRun {
  DrillKind kind = DrillKind::kDivision;
  bool focus = false;        // a focus run: its title names the mode
  platform::DateTime start;  // in the local clock of the run; no milliseconds
  int headerCount = 0;       // the count the header states
  std::vector<LoggedAnswer> answers;
  int skippedLines = 0;
  LogFault firstSkipped = LogFault::kNone;  // the first skipped line's fault
};

struct ReadResult {
  LogFault fault = LogFault::kNone;  // of the whole file; kNone when the run can be used
  LoggedRun run;
  bool Ok() const { return fault == LogFault::kNone; }
};

// Larger files are not practice logs (a full run is about 3 KB) and are not read whole.
inline constexpr std::uintmax_t kMaxLogBytes = 64 * 1024;

// The file's bytes as read; CP932 as the drill writes them, UTF-8 (a log re-saved by an
// editor, with or without a byte order mark) is accepted too. The date, the time of day
// and the solving times may carry any regional separator of one byte, or none.
ReadResult ReadLog(std::string_view bytes);

// Pieces of the reader, exposed for the tests.
bool ParseDate(std::string_view text, platform::CivilDate& out);
bool ParseClock(std::string_view text, platform::DateTime& out);
// "nn:ss.zzz" with any or no single separator between minutes and seconds; minutes may
// have more than two digits.
bool ParseSolvingTime(std::string_view text, uint32_t& milliseconds);

}  // namespace drill
