// Reading the drill from outside (see drill_view.h).
#include "tests/e2e/drill_view.h"

#include <algorithm>

#include "drill/log_format.h"

namespace e2e {

BuildInfo MakeBuild(drill::DrillKind kind, std::wstring exe) {
  const bool division = kind == drill::DrillKind::kDivision;
  BuildInfo info;
  info.kind = kind;
  info.exe = std::move(exe);
  info.name = division ? "D_Quarn" : "S_Quarn";
  info.caption = Wide(drill::Title(kind));
  info.operatorGlyph = division ? text::kTimes : text::kPlus;
  return info;
}

BuildInfo FocusBuild(const BuildInfo& build) {
  BuildInfo focus = build;
  focus.focus = true;
  focus.arguments = L"/focus";
  focus.caption = Wide(drill::FocusTitle(build.kind));
  return focus;
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

std::optional<ScreenProblem> ReadProblem(const MainView& view) {
  const int boxLeft = RectInParent(view.box).left;
  ScreenProblem problem;
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

std::optional<drill::Problem> AskedProblem(drill::DrillKind kind, const ScreenProblem& shown) {
  if (shown.hidden < 1 || shown.hidden > 4) return std::nullopt;
  for (int a = 1; a <= 9; ++a) {
    for (int b = 1; b <= 9; ++b) {
      const drill::Problem asked{kind, a, b, shown.hidden};
      bool fits = drill::IsAsked(kind, a, b);
      for (int slot = 1; slot <= 4 && fits; ++slot)
        fits = slot == shown.hidden || shown.digits[slot] == asked.Digit(slot);
      if (fits) return asked;
    }
  }
  return std::nullopt;
}

std::string Describe(const BuildInfo& build, const ScreenProblem& problem) {
  auto slot = [&](int i) {
    return problem.hidden == i ? std::string("?") : std::to_string(problem.digits[i]);
  };
  return slot(1) + " " + Utf8(build.operatorGlyph) + " " + slot(2) + " = " + slot(3) + slot(4);
}

// ---- Practice log ----------------------------------------------------------------------

std::vector<std::wstring> LogFiles(const std::wstring& dir) {
  const std::wstring extension = Wide(drill::kLogExtension);
  const int length = static_cast<int>(extension.size());
  std::vector<std::wstring> names;
  for (const DirEntry& entry : ListDir(dir)) {
    const std::wstring& n = entry.name;
    if (!entry.directory && n.size() > extension.size() &&
        CompareStringOrdinal(n.c_str() + n.size() - length, length, extension.c_str(), length,
                             TRUE) == CSTR_EQUAL)
      names.push_back(n);
  }
  return names;
}

std::optional<PracticeLog> ReadLog(const std::wstring& dir, const std::wstring& fileName) {
  const std::optional<std::string> bytes = ReadBytes(JoinPath(dir, fileName));
  if (!Expect(bytes.has_value(), "cannot read the log %s", Utf8(fileName).c_str()))
    return std::nullopt;
  const std::string name = Utf8(fileName);

  // Lines end in CR LF, the last one too, and hold no other CR or LF.
  const std::string& all = *bytes;
  const std::string_view lineEnd = drill::kLogLineEnd;
  Expect(all.ends_with(lineEnd), "the log %s does not end in CR LF", name.c_str());
  PracticeLog log;
  log.fileName = fileName;
  bool strayBreak = false;
  for (size_t start = 0; start < all.size();) {
    const size_t end = all.find(lineEnd, start);
    log.lines.push_back(all.substr(start, end == std::string::npos ? end : end - start));
    strayBreak |= log.lines.back().find_first_of(lineEnd) != std::string::npos;
    if (end == std::string::npos) break;
    start = end + lineEnd.size();
  }
  Expect(!strayBreak, "the log %s holds a line break other than CR LF", name.c_str());

  const drill::ReadResult read = drill::ReadLog(all);
  if (!Expect(read.Ok(), "the log %s cannot be used: %s", name.c_str(),
              std::string(drill::DescribeFault(read.fault)).c_str()))
    return std::nullopt;
  log.run = read.run;
  Expect(log.run.skippedLines == 0, "the log %s has %d line(s) a reader skips, the first: %s",
         name.c_str(), log.run.skippedLines,
         std::string(drill::DescribeFault(log.run.firstSkipped)).c_str());

  // The name: the start as yyyymmddhhnnss, then the extension.
  const platform::DateTime& t = log.run.start;
  const std::string expected = Format("%04d%02d%02d%02d%02d%02d", static_cast<int>(t.date.year),
                                      t.date.month, t.date.day, t.hour, t.minute, t.second) +
                               std::string(drill::kLogExtension);
  Expect(name == expected, "the log %s is not named %s after its header's start", name.c_str(),
         expected.c_str());
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
