// The practice log's format, written once: a header line and one line per solved problem,
// CP932, fields split by ",", every line ending in CR LF. The drills write with it and the
// log reader reads with it.
#pragma once

#include <string>
#include <string_view>

#include "drill/practice.h"
#include "drill/texts.h"
#include "platform/ascii.h"

namespace drill {

inline constexpr std::string_view kLogLineEnd = "\r\n";
inline constexpr char kLogFieldSeparator = ',';
inline constexpr std::string_view kLogExtension = ".log";
inline constexpr char kLogHiddenDigit = '?';

// Whether a file name (UTF-8) is a practice log's: it ends in ".log", in any letter case, after
// something. Dots and spaces at the end do not count: Windows drops them from a name, so
// "a.log." opens a.log.
inline bool IsLogFileName(std::string_view name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' '))
    name.remove_suffix(1);
  if (name.size() <= kLogExtension.size()) return false;
  return platform::EqualsIgnoringAsciiCase(name.substr(name.size() - kLogExtension.size()),
                                           kLogExtension);
}

// The operator as the window and the log show it: × (0x81 0x7E) or ＋ (0x81 0x7B).
constexpr std::string_view OperatorGlyph(DrillKind kind) {
  return kind == DrillKind::kDivision ? texts::kTimes : texts::kPlus;
}

// "Divide Quarn,2024/03/05,09:07:02,3" and its line end; the date and time come formatted. A
// focus run's title names the mode: "Divide Quarn Focus,2024/03/05,09:07:02,3".
inline std::string LogHeaderLine(DrillKind kind, std::string_view date, std::string_view time,
                                 int count, bool focus = false) {
  std::string line(Title(kind, focus));
  line.append(1, kLogFieldSeparator).append(date).append(1, kLogFieldSeparator).append(time);
  line.append(1, kLogFieldSeparator).append(std::to_string(count)).append(kLogLineEnd);
  return line;
}

// The same glyphs in UTF-8, as an editor that re-saves a log leaves them and as a table for a
// spreadsheet shows the problem.
constexpr std::string_view OperatorGlyphUtf8(DrillKind kind) {
  return kind == DrillKind::kDivision ? "\xC3\x97"       // ×
                                      : "\xEF\xBC\x8B";  // ＋
}
inline constexpr std::string_view kEqualsUtf8 = "\xEF\xBC\x9D";  // ＝

// The problem as shown with "?" in the hidden place, in the given glyphs.
inline std::string ProblemField(const Problem& p, std::string_view op, std::string_view equals) {
  auto place = [&p](int slot) {
    return slot == p.hiddenSlot ? std::string(1, kLogHiddenDigit) : std::to_string(p.Digit(slot));
  };
  return place(1) + std::string(op) + place(2) + std::string(equals) + place(3) + place(4);
}

// The problem as the log holds it, always 8 bytes: "7×?＝56".
inline std::string LogProblemField(const Problem& p) {
  return ProblemField(p, OperatorGlyph(p.kind), texts::kEquals);
}

// The same in UTF-8.
inline std::string LogProblemFieldUtf8(const Problem& p) {
  return ProblemField(p, OperatorGlyphUtf8(p.kind), kEqualsUtf8);
}

// "7×?＝56,8,00:03.125,0" and its line end; the solving time comes formatted.
inline std::string LogProblemLine(const Problem& p, std::string_view solvingTime, int misses) {
  std::string line = LogProblemField(p);
  line.append(1, kLogFieldSeparator).append(std::to_string(p.Answer()));
  line.append(1, kLogFieldSeparator).append(solvingTime);
  line.append(1, kLogFieldSeparator).append(std::to_string(misses)).append(kLogLineEnd);
  return line;
}

}  // namespace drill
