// Practice log parsing. Dates and times carry the user's regional separators, which may be
// any single byte or none, so the digits are found by position rather than by separator.
#include "report/log_reader.h"

#include "platform/calendar.h"

#include <array>

namespace report {
namespace {

constexpr std::string_view kDivisionTitle = "Divide Quarn";
constexpr std::string_view kSubtractionTitle = "Subtract Quarn";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The glyphs of the problem field in the drill's CP932 and in UTF-8.
constexpr std::array<std::string_view, 2> kTimes = {"\x81\x7E", "\xC3\x97"};
constexpr std::array<std::string_view, 2> kPlus = {"\x81\x7B", "\xEF\xBC\x8B"};
constexpr std::array<std::string_view, 2> kEquals = {"\x81\x81", "\xEF\xBC\x9D"};

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

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (;;) {
    size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

// Consumes one of the glyph's encodings at the front of s.
bool TakeGlyph(std::string_view& s, const std::array<std::string_view, 2>& glyph) {
  for (std::string_view g : glyph) {
    if (s.starts_with(g)) {
      s.remove_prefix(g.size());
      return true;
    }
  }
  return false;
}

// One slot: a digit, or -1 for the hidden "?".
bool TakeSlot(std::string_view& s, int& slot) {
  if (s.empty()) return false;
  if (s[0] == '?') {
    slot = -1;
  } else if (IsDigit(s[0])) {
    slot = s[0] - '0';
  } else {
    return false;
  }
  s.remove_prefix(1);
  return true;
}

// Why a problem line is skipped; empty when it was read.
std::string ParseProblem(std::string_view line, Drill drill, Answer& answer) {
  std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() != 4) return "項目の数が 4 でない行";
  std::string_view problem = fields[0];
  std::array<int, 5> slots{};  // index 1..4
  const auto& op = drill == Drill::kDivision ? kTimes : kPlus;
  if (!TakeSlot(problem, slots[1]) || !TakeGlyph(problem, op) || !TakeSlot(problem, slots[2]) ||
      !TakeGlyph(problem, kEquals) || !TakeSlot(problem, slots[3]) ||
      !TakeSlot(problem, slots[4]) || !problem.empty()) {
    return "問題の形が正しくない行";
  }
  int hidden = 0;
  for (int i = 1; i <= 4; i++) {
    if (slots[i] < 0) {
      if (hidden) return "問題の形が正しくない行";
      hidden = i;
    }
  }
  if (!hidden || fields[1].size() != 1 || !IsDigit(fields[1][0])) {
    return "問題の形が正しくない行";
  }
  slots[hidden] = fields[1][0] - '0';
  int a = slots[1], b = slots[2], result = slots[3] * 10 + slots[4];
  bool possible = drill == Drill::kDivision ? a >= 2 && b >= 2 && a * b >= 10 && a * b == result
                                            : a >= 1 && b >= 1 && a + b >= 10 && a + b == result;
  if (!possible) return "ありえない計算の行";
  uint32_t ms = 0;
  if (!ParseSolvingTime(fields[2], ms)) return "解いた時間が読めない行";
  if (!AllDigits(fields[3]) || fields[3].size() > 6) return "ミスの数が読めない行";
  int misses = Number(fields[3]);
  answer.a = static_cast<uint8_t>(a);
  answer.b = static_cast<uint8_t>(b);
  answer.hiddenSlot = static_cast<uint8_t>(hidden);
  answer.misses = static_cast<uint8_t>(misses > 255 ? 255 : misses);
  answer.milliseconds = ms;
  return {};
}

}  // namespace

int64_t StartTime::Seconds() const {
  return platform::DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

bool ParseDate(std::string_view text, StartTime& out) {
  std::array<int, 3> p{};
  if (!SplitThree(text, 4, 2, 2, p)) return false;
  if (p[0] < 1900 || p[1] < 1 || p[1] > 12 || p[2] < 1 || p[2] > DaysInMonth(p[0], p[1])) {
    return false;
  }
  out.year = p[0];
  out.month = p[1];
  out.day = p[2];
  return true;
}

bool ParseClock(std::string_view text, StartTime& out) {
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
  if (bytes.empty()) {
    result.error = "空のファイル";
    return result;
  }
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());

  // Lines end in CR LF (a bare LF is taken too); a last line without its end was cut off.
  std::vector<std::string_view> lines;
  bool lastCut = false;
  while (!bytes.empty()) {
    size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    if (lf == std::string_view::npos) {
      lastCut = true;
      bytes = {};
    } else {
      bytes.remove_prefix(lf + 1);
    }
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
  }

  std::vector<std::string_view> header = SplitFields(lines[0]);
  Run& run = result.run;
  if (header.size() != 4 || (header[0] != kDivisionTitle && header[0] != kSubtractionTitle) ||
      (lastCut && lines.size() == 1)) {
    result.error = "練習記録ではありません（1 行目が見出しでない）";
    return result;
  }
  run.drill = header[0] == kDivisionTitle ? Drill::kDivision : Drill::kSubtraction;
  if (!ParseDate(header[1], run.start)) {
    result.error = "見出しの日付が正しくありません";
    return result;
  }
  if (!ParseClock(header[2], run.start)) {
    result.error = "見出しの時刻が正しくありません";
    return result;
  }
  if (!AllDigits(header[3]) || header[3].size() > 3 || Number(header[3]) < 1 ||
      Number(header[3]) > kMaxProblems) {
    result.error = "見出しの問題数が正しくありません";
    return result;
  }
  run.headerCount = Number(header[3]);

  for (size_t i = 1; i < lines.size(); i++) {
    std::string reason;
    Answer answer;
    if (lastCut && i == lines.size() - 1) {
      reason = "途中で切れた最後の行";
    } else if (run.answers.size() >= kMaxProblems) {
      reason = "100 問を超えた行";
    } else {
      reason = ParseProblem(lines[i], run.drill, answer);
    }
    if (reason.empty()) {
      run.answers.push_back(answer);
    } else {
      if (!run.skippedLines) run.skipReason = reason;
      run.skippedLines++;
    }
  }
  if (run.answers.empty()) {
    result.error = "読める問題の行がありません";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace report
