// Practice log parsing. Dates and times carry the user's regional separators, which may be
// any single byte or none, so the digits are found by position rather than by separator.
#include "drill/log_reader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "drill/log_format.h"
#include "drill/texts.h"
#include "platform/calendar.h"

namespace drill {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A glyph of the problem field as the drill writes it (CP932) and as an editor that re-saved
// the log as UTF-8 left it.
struct Glyph {
  std::string_view cp932;
  std::string_view utf8;
};

constexpr Glyph OperatorOf(DrillKind kind) {
  return {OperatorGlyph(kind), OperatorGlyphUtf8(kind)};
}
constexpr Glyph kEqualsGlyph = {texts::kEquals, kEqualsUtf8};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return !s.empty();
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits)
    n = n * 10 + (c - '0');
  return n;
}

// Splits "d..d[sep]d..d[sep]d..d" with widths w1, w2, w3 where each separator is one
// non-digit byte or nothing; both separators must be alike (both present or both absent).
bool SplitThree(std::string_view s, int w1, int w2, int w3, std::array<int, 3>& out) {
  int total = w1 + w2 + w3;
  int seps = 0;
  if (static_cast<int>(s.size()) == total + 2) {
    seps = 1;
  } else if (static_cast<int>(s.size()) != total) {
    return false;
  }
  std::string_view p1 = s.substr(0, w1);
  std::string_view p2 = s.substr(w1 + seps, w2);
  std::string_view p3 = s.substr(w1 + seps + w2 + seps, w3);
  if (!AllDigits(p1) || !AllDigits(p2) || !AllDigits(p3)) return false;
  if (seps && (IsDigit(s[w1]) || IsDigit(s[w1 + 1 + w2]))) return false;
  out = {Number(p1), Number(p2), Number(p3)};
  return true;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t separator = line.find(kLogFieldSeparator, start);
    fields.push_back(line.substr(start, separator - start));
    if (separator == std::string_view::npos) break;
    start = separator + 1;
  }
  return fields;
}

// Consumes one of the glyph's encodings at the front of s.
bool TakeGlyph(std::string_view& s, const Glyph& glyph) {
  for (std::string_view g : {glyph.cp932, glyph.utf8}) {
    if (s.starts_with(g)) {
      s.remove_prefix(g.size());
      return true;
    }
  }
  return false;
}

// One digit place: a digit, or -1 for the hidden one.
bool TakePlace(std::string_view& s, int& place) {
  if (s.empty()) return false;
  if (s[0] == kLogHiddenDigit) {
    place = -1;
  } else if (IsDigit(s[0])) {
    place = s[0] - '0';
  } else {
    return false;
  }
  s.remove_prefix(1);
  return true;
}

LogFault ParseProblemLine(std::string_view line, DrillKind kind, LoggedAnswer& answer) {
  std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != 4) return LogFault::kFieldCount;
  std::string_view field = fields[0];
  std::array<int, 5> places{};  // index 1..4
  if (!TakePlace(field, places[1]) || !TakeGlyph(field, OperatorOf(kind)) ||
      !TakePlace(field, places[2]) || !TakeGlyph(field, kEqualsGlyph) ||
      !TakePlace(field, places[3]) || !TakePlace(field, places[4]) || !field.empty()) {
    return LogFault::kMalformedProblem;
  }
  int hidden = 0;
  for (int i = 1; i <= 4; i++) {
    if (places[i] < 0) {
      if (hidden) return LogFault::kMalformedProblem;
      hidden = i;
    }
  }
  if (!hidden || fields[1].size() != 1 || !IsDigit(fields[1][0])) {
    return LogFault::kMalformedProblem;
  }
  places[hidden] = fields[1][0] - '0';
  const Problem problem{kind, places[1], places[2], hidden};
  if (!IsAsked(kind, problem.a, problem.b) || problem.Result() != places[3] * 10 + places[4]) {
    return LogFault::kImpossibleProblem;
  }
  uint32_t ms = 0;
  if (!ParseSolvingTime(fields[2], ms)) return LogFault::kBadSolvingTime;
  if (!AllDigits(fields[3]) || fields[3].size() > 6) return LogFault::kBadMisses;
  const int misses = Number(fields[3]);
  answer.problem = problem;
  answer.misses = static_cast<uint8_t>(misses > 255 ? 255 : misses);
  answer.milliseconds = ms;
  return LogFault::kNone;
}

}  // namespace

std::string_view DescribeFault(LogFault fault) {
  switch (fault) {
    case LogFault::kNone:
      return "no fault";
    case LogFault::kEmpty:
      return "empty file";
    case LogFault::kNoHeader:
      return "no header line";
    case LogFault::kBadDate:
      return "no date in the header";
    case LogFault::kBadClock:
      return "no time of day in the header";
    case LogFault::kBadCount:
      return "no problem count in the header";
    case LogFault::kNoProblemLines:
      return "no problem line";
    case LogFault::kFieldCount:
      return "a line without four fields";
    case LogFault::kMalformedProblem:
      return "a problem or answer out of shape";
    case LogFault::kImpossibleProblem:
      return "a problem the drill never asks";
    case LogFault::kBadSolvingTime:
      return "a solving time out of shape";
    case LogFault::kBadMisses:
      return "a miss count out of shape";
    case LogFault::kCutOff:
      return "a last line without its end";
    case LogFault::kPastLastProblem:
      return "a line past the last problem";
  }
  return "unknown fault";
}

bool ParseDate(std::string_view text, platform::CivilDate& out) {
  std::array<int, 3> p{};
  if (!SplitThree(text, 4, 2, 2, p)) return false;
  if (p[0] < 1900 || p[1] < 1 || p[1] > 12 || p[2] < 1 ||
      p[2] > platform::DaysInMonth(p[0], p[1])) {
    return false;
  }
  out.year = p[0];
  out.month = p[1];
  out.day = p[2];
  return true;
}

bool ParseClock(std::string_view text, platform::DateTime& out) {
  std::array<int, 3> p{};
  if (!SplitThree(text, 2, 2, 2, p)) return false;
  if (p[0] > 23 || p[1] > 59 || p[2] > 59) return false;
  out.hour = p[0];
  out.minute = p[1];
  out.second = p[2];
  return true;
}

bool ParseSolvingTime(std::string_view text, uint32_t& milliseconds) {
  // The milliseconds: "." and three digits at the end.
  if (text.size() < 8 || text[text.size() - 4] != '.') return false;
  std::string_view ms = text.substr(text.size() - 3);
  std::string_view rest = text.substr(0, text.size() - 4);
  if (!AllDigits(ms)) return false;
  std::string_view minutes, seconds;
  if (AllDigits(rest)) {
    minutes = rest.substr(0, rest.size() - 2);
    seconds = rest.substr(rest.size() - 2);
  } else {
    if (rest.size() < 5 || IsDigit(rest[rest.size() - 3])) return false;
    minutes = rest.substr(0, rest.size() - 3);
    seconds = rest.substr(rest.size() - 2);
  }
  // Four minute digits (a week) are far beyond any run and keep the sum inside 32 bits.
  if (minutes.size() < 2 || minutes.size() > 4 || !AllDigits(minutes) || !AllDigits(seconds)) {
    return false;
  }
  int s = Number(seconds);
  if (s > 59) return false;
  milliseconds = static_cast<uint32_t>((Number(minutes) * 60 + s) * 1000 + Number(ms));
  return true;
}

ReadResult ReadLog(std::string_view bytes) {
  ReadResult result;
  // The mark goes first: a file of nothing else is as empty as one without it.
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (bytes.empty()) {
    result.fault = LogFault::kEmpty;
    return result;
  }

  // Lines end in CR LF (a bare LF is taken too); a last line without its end was cut off.
  std::vector<std::string_view> lines;
  bool lastCut = false;
  while (!bytes.empty()) {
    size_t end = bytes.find(kLogLineEnd.back());
    std::string_view line = bytes.substr(0, end);
    if (end == std::string_view::npos) {
      lastCut = true;
      bytes = {};
    } else {
      bytes.remove_prefix(end + 1);
    }
    if (line.ends_with(kLogLineEnd.front())) line.remove_suffix(1);
    lines.push_back(line);
  }

  std::vector<std::string_view> header = SplitFields(lines[0]);
  LoggedRun& run = result.run;
  std::optional<DrillKind> kind;
  for (DrillKind k : kDrillKinds) {
    for (bool focus : {false, true}) {
      if (header[0] != Title(k, focus)) continue;
      kind = k;
      run.focus = focus;
    }
  }
  if (header.size() != 4 || !kind || (lastCut && lines.size() == 1)) {
    result.fault = LogFault::kNoHeader;
    return result;
  }
  run.kind = *kind;
  if (!ParseDate(header[1], run.start.date)) {
    result.fault = LogFault::kBadDate;
    return result;
  }
  if (!ParseClock(header[2], run.start)) {
    result.fault = LogFault::kBadClock;
    return result;
  }
  if (!AllDigits(header[3]) || header[3].size() > 3 || Number(header[3]) < 1 ||
      Number(header[3]) > kProblemsPerRun) {
    result.fault = LogFault::kBadCount;
    return result;
  }
  run.headerCount = Number(header[3]);

  // A folder holds thousands of runs: room for exactly the lines there are.
  run.answers.reserve(std::min(lines.size() - 1, static_cast<size_t>(kProblemsPerRun)));
  for (size_t i = 1; i < lines.size(); i++) {
    LogFault fault = LogFault::kNone;
    LoggedAnswer answer;
    if (lastCut && i == lines.size() - 1) {
      fault = LogFault::kCutOff;
    } else if (run.answers.size() >= static_cast<size_t>(kProblemsPerRun)) {
      fault = LogFault::kPastLastProblem;
    } else {
      fault = ParseProblemLine(lines[i], run.kind, answer);
    }
    if (fault == LogFault::kNone) {
      run.answers.push_back(answer);
    } else {
      if (!run.skippedLines) run.firstSkipped = fault;
      run.skippedLines++;
    }
  }
  if (run.answers.empty()) result.fault = LogFault::kNoProblemLines;
  return result;
}

}  // namespace drill
