// Reading the drill from outside (see drill_view.h).
#include "tests/e2e/drill_view.h"

#include <algorithm>
#include <cstdlib>

namespace e2e {

BuildInfo MakeBuild(Build build, std::wstring exe) {
  BuildInfo info;
  info.build = build;
  info.exe = std::move(exe);
  if (build == Build::kDivision) {
    info.name = "D_Quarn";
    info.caption = text::kDivideTitle;
    info.logTitle = "Divide Quarn";
    info.operatorGlyph = text::kTimes;
    info.operatorCp932 = text::kTimesCp932;
  } else {
    info.name = "S_Quarn";
    info.caption = text::kSubtractTitle;
    info.logTitle = "Subtract Quarn";
    info.operatorGlyph = text::kPlus;
    info.operatorCp932 = text::kPlusCp932;
  }
  return info;
}

// ---- Main window -----------------------------------------------------------------------

HWND MainView::SlotLabel(int slot) const {
  static constexpr int kIndexOfSlot[5] = {-1, 0, 2, 4, 5};
  return byLeft[kIndexOfSlot[slot]];
}

std::optional<MainView> FindMainView(HWND form, std::string* why) {
  MainView view;
  view.form = form;
  std::vector<HWND> labels;
  for (HWND child : DirectChildren(form)) {
    if (HasClass(child, L"BUTTON")) {
      view.button = child;
      continue;
    }
    std::vector<HWND> statics;
    std::vector<HWND> others;
    for (HWND grandChild : DirectChildren(child))
      (HasClass(grandChild, L"STATIC") ? statics : others).push_back(grandChild);
    if (statics.size() == 6 && others.size() == 1) {
      view.panel = child;
      view.box = others.front();
      labels = statics;
    }
  }
  if (!view.panel) {
    if (why) *why = "no child window holds six STATIC labels and one answer box";
    return std::nullopt;
  }
  if (!view.button) {
    if (why) *why = "no BUTTON child (the quit button)";
    return std::nullopt;
  }
  std::sort(labels.begin(), labels.end(),
            [](HWND a, HWND b) { return RectInParent(a).left < RectInParent(b).left; });
  std::copy(labels.begin(), labels.end(), view.byLeft.begin());
  return view;
}

std::optional<Problem> ReadProblem(const MainView& view) {
  const int boxLeft = RectInParent(view.box).left;
  Problem problem;
  for (int slot = 1; slot <= 4; ++slot)
    if (RectInParent(view.SlotLabel(slot)).left == boxLeft + 4) problem.hidden = slot;
  if (problem.hidden == 0) return std::nullopt;
  for (int slot = 1; slot <= 4; ++slot) {
    if (slot == problem.hidden) {
      problem.digits[slot] = -1;
      continue;
    }
    const std::wstring caption = TextOf(view.SlotLabel(slot));
    if (caption.size() != 1 || caption[0] < L'0' || caption[0] > L'9') return std::nullopt;
    problem.digits[slot] = caption[0] - L'0';
  }
  return problem;
}

int HiddenDigit(Build build, const Problem& problem) {
  const bool product = build == Build::kDivision;
  const int lowest = product ? 2 : 1;  // the division build never asks 1 as an operand
  auto operand = [&](int value) { return value >= lowest && value <= 9; };
  auto combine = [&](int a, int b) { return product ? a * b : a + b; };
  const auto& d = problem.digits;
  switch (problem.hidden) {
    case 1:
    case 2: {
      const int known = problem.hidden == 1 ? d[2] : d[1];
      const int result = d[3] * 10 + d[4];
      if (!operand(known) || d[3] == 0) return -1;
      int missing = -1;
      if (product) {
        if (result % known == 0) missing = result / known;
      } else {
        missing = result - known;
      }
      return operand(missing) ? missing : -1;
    }
    case 3:
    case 4: {
      if (!operand(d[1]) || !operand(d[2])) return -1;
      const int result = combine(d[1], d[2]);
      if (result < 10) return -1;
      if (problem.hidden == 3) return result % 10 == d[4] ? result / 10 : -1;
      return result / 10 == d[3] ? result % 10 : -1;
    }
    default:
      return -1;
  }
}

std::string Describe(const BuildInfo& build, const Problem& problem) {
  auto slot = [&](int i) {
    return problem.hidden == i ? std::string("?") : std::to_string(problem.digits[i]);
  };
  return slot(1) + " " + Utf8(build.operatorGlyph) + " " + slot(2) + " = " + slot(3) + slot(4);
}

std::string LogProblemField(const BuildInfo& build, const Problem& problem) {
  auto slot = [&](int i) {
    return problem.hidden == i ? std::string("?")
                               : std::string(1, static_cast<char>('0' + problem.digits[i]));
  };
  return slot(1) + build.operatorCp932 + slot(2) + text::kEqualsCp932 + slot(3) + slot(4);
}

// ---- Practice log ----------------------------------------------------------------------

namespace {

std::vector<std::string> Split(std::string_view line, char separator) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t end = line.find(separator, start);
    fields.emplace_back(line.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

// A decimal number of exactly `width` digits (width 0: any length, no leading zero).
std::optional<int> Number(std::string_view digits, size_t width = 0) {
  if (digits.empty() || (width != 0 && digits.size() != width)) return std::nullopt;
  if (width == 0 && digits.size() > 1 && digits[0] == '0') return std::nullopt;
  if (digits.size() > 9) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "yyyy<sep>mm<sep>dd" or "hh<sep>nn<sep>ss": three numbers of the given widths, with no
// separator at all when the setting is empty (separator 0).
std::optional<std::array<int, 3>> Triple(std::string_view text, char separator, size_t w1) {
  const size_t gap = separator != 0 ? 1 : 0;
  if (text.size() != w1 + 4 + 2 * gap) return std::nullopt;
  if (gap && (text[w1] != separator || text[w1 + 3] != separator)) return std::nullopt;
  auto a = Number(text.substr(0, w1), w1);
  auto b = Number(text.substr(w1 + gap, 2), 2);
  auto c = Number(text.substr(w1 + gap + 2 + gap, 2), 2);
  if (!a || !b || !c) return std::nullopt;
  return std::array<int, 3>{*a, *b, *c};
}

// "nn<sep>ss.zzz" in milliseconds. A duration of an hour or more keeps its hours in the
// minutes, which then have more than two digits.
std::optional<long long> LogDuration(std::string_view text, char separator) {
  const size_t dot = text.find('.');
  const size_t gap = separator != 0 ? 1 : 0;
  if (dot == std::string_view::npos || dot < 4 + gap || text.size() != dot + 4) return std::nullopt;
  if (gap && text[dot - 3] != separator) return std::nullopt;
  const std::string_view minutes = text.substr(0, dot - 2 - gap);
  if (minutes.size() < 2 || minutes.size() > 7) return std::nullopt;
  auto m = Number(minutes, minutes.size());
  auto sec = Number(text.substr(dot - 2, 2), 2);
  auto ms = Number(text.substr(dot + 1, 3), 3);
  if (!m || !sec || !ms || *sec > 59) return std::nullopt;
  return (*m * 60LL + *sec) * 1000 + *ms;
}

// What the drill prints for "/" or ":" from a regional setting: nothing for an empty one,
// the default where there is none or it would break the log's lines.
char SeparatorFromSetting(LCTYPE item, char fallback) {
  wchar_t buffer[8] = {};
  const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 8);
  if (n <= 0) return fallback;
  if (n == 1) return 0;
  const wchar_t c = buffer[0];
  if (c >= 0x7F || c < 0x20 || c == L',' || c == L'"') return fallback;
  return static_cast<char>(c);
}

}  // namespace

Separators RegionalSeparators() {
  return {SeparatorFromSetting(LOCALE_SDATE, '/'), SeparatorFromSetting(LOCALE_STIME, ':')};
}

std::vector<std::wstring> LogFiles(const std::wstring& dir) {
  std::vector<std::wstring> names;
  for (const DirEntry& entry : ListDir(dir)) {
    const std::wstring& n = entry.name;
    if (!entry.directory && n.size() > 4 &&
        CompareStringOrdinal(n.c_str() + n.size() - 4, 4, L".log", 4, TRUE) == CSTR_EQUAL)
      names.push_back(n);
  }
  return names;
}

std::optional<PracticeLog> ReadLog(const std::wstring& dir, const std::wstring& fileName) {
  const std::optional<std::string> bytes = ReadBytes(JoinPath(dir, fileName));
  if (!Expect(bytes.has_value(), "cannot read the log %s", Utf8(fileName).c_str()))
    return std::nullopt;
  PracticeLog log;
  log.fileName = fileName;
  const Separators separators = RegionalSeparators();

  // The name: yyyymmddhhnnss.log, 18 characters.
  SYSTEMTIME named{};
  bool nameOk = fileName.size() == 18 && fileName.substr(14) == L".log";
  for (size_t i = 0; nameOk && i < 14; ++i)
    nameOk = fileName[i] >= L'0' && fileName[i] <= L'9';
  if (Expect(nameOk, "log file name %s is not yyyymmddhhnnss.log", Utf8(fileName).c_str())) {
    auto field = [&](size_t at, size_t width) {
      return static_cast<WORD>(std::wcstol(fileName.substr(at, width).c_str(), nullptr, 10));
    };
    named = SYSTEMTIME{field(0, 4),  field(4, 2),  0, field(6, 2), field(8, 2),
                       field(10, 2), field(12, 2), 0};
  }

  // Lines end in CR LF, the last one too, and hold no other CR or LF.
  const std::string& all = *bytes;
  Expect(all.size() >= 2 && all.compare(all.size() - 2, 2, "\r\n") == 0,
         "the log does not end in CR LF");
  std::vector<std::string> lines;
  size_t start = 0;
  bool strayBreak = false;
  while (start < all.size()) {
    const size_t end = all.find("\r\n", start);
    const std::string line = all.substr(start, end == std::string::npos ? end : end - start);
    strayBreak |= line.find_first_of("\r\n") != std::string::npos;
    lines.push_back(line);
    if (end == std::string::npos) break;
    start = end + 2;
  }
  Expect(!strayBreak, "the log holds a line break other than CR LF");
  if (!Expect(!lines.empty(), "the log is empty")) return std::nullopt;

  const std::vector<std::string> header = Split(lines[0], ',');
  if (!Expect(header.size() == 4, "log header %s has not 4 fields",
              Cp932ForReport(lines[0]).c_str()))
    return std::nullopt;
  log.title = header[0];
  const auto date = Triple(header[1], separators.date, 4);
  const auto time = Triple(header[2], separators.time, 2);
  const auto count = Number(header[3]);
  Expect(date && time && count, "log header %s is not title,yyyy%cmm%cdd,hh%cnn%css,count",
         Cp932ForReport(lines[0]).c_str(), separators.date, separators.date, separators.time,
         separators.time);
  if (!date || !time || !count) return std::nullopt;
  log.start = SYSTEMTIME{static_cast<WORD>((*date)[0]),
                         static_cast<WORD>((*date)[1]),
                         0,
                         static_cast<WORD>((*date)[2]),
                         static_cast<WORD>((*time)[0]),
                         static_cast<WORD>((*time)[1]),
                         static_cast<WORD>((*time)[2]),
                         0};
  log.count = *count;
  if (nameOk) {
    Expect(named.wYear == log.start.wYear && named.wMonth == log.start.wMonth &&
               named.wDay == log.start.wDay && named.wHour == log.start.wHour &&
               named.wMinute == log.start.wMinute && named.wSecond == log.start.wSecond,
           "log name %s disagrees with its header's %s %s", Utf8(fileName).c_str(),
           header[1].c_str(), header[2].c_str());
  }

  for (size_t k = 1; k < lines.size(); ++k) {
    const std::vector<std::string> fields = Split(lines[k], ',');
    const std::string shown = Cp932ForReport(lines[k]);
    if (!Expect(fields.size() == 4, "log line %zu %s has not 4 fields", k + 1, shown.c_str()))
      continue;
    LogEntry entry;
    entry.problem = fields[0];
    entry.answer = fields[1];
    const std::optional<long long> time = LogDuration(fields[2], separators.time);
    const auto misses = Number(fields[3]);
    Expect(entry.problem.size() == 8, "log line %zu: problem field is not 8 bytes: %s", k + 1,
           shown.c_str());
    Expect(time.has_value(), "log line %zu: time %s is not nn%css.zzz", k + 1, fields[2].c_str(),
           separators.time);
    Expect(misses.has_value(), "log line %zu: misses %s is no decimal number", k + 1,
           fields[3].c_str());
    entry.timeMs = time.value_or(0);
    entry.misses = misses.value_or(-1);
    log.entries.push_back(entry);
  }
  return log;
}

// ---- Results dialog --------------------------------------------------------------------

ResultsView ReadResults(HWND dialog) {
  ResultsView view;
  view.dialog = dialog;
  std::vector<std::pair<RECT, HWND>> statics;
  for (HWND child : DirectChildren(dialog)) {
    if (HasClass(child, L"BUTTON")) view.button = child;
    if (HasClass(child, L"STATIC")) {
      ++view.staticCount;
      if (IsWindowVisible(child)) statics.emplace_back(RectInParent(child), child);
    }
  }
  std::sort(statics.begin(), statics.end(), [](const auto& a, const auto& b) {
    return a.first.top != b.first.top ? a.first.top < b.first.top : a.first.left < b.first.left;
  });
  std::vector<std::vector<std::pair<RECT, HWND>>> rows;
  int rowTop = -1000;
  for (const auto& entry : statics) {
    if (entry.first.top - rowTop > 6) {
      rows.emplace_back();
      rowTop = entry.first.top;
    }
    rows.back().push_back(entry);
  }
  for (auto& row : rows) {
    std::sort(row.begin(), row.end(),
              [](const auto& a, const auto& b) { return a.first.left < b.first.left; });
    view.rows.emplace_back();
    for (const auto& entry : row)
      view.rows.back().push_back(TextOf(entry.second));
  }
  return view;
}

std::wstring DialogDuration(long long ms) {
  const long long minutes = ms / 60000;
  const long long seconds = ms / 1000 % 60;
  return Wide(Format("%02lld", minutes)) + text::kMinutes + L" " + Wide(Format("%02lld", seconds)) +
         text::kSeconds + Wide(Format("%03lld", ms % 1000));
}

}  // namespace e2e
