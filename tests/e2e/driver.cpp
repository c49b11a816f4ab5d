// The end-to-end driver: runs D_Quarn.exe and S_Quarn.exe under Wine as a person would and
// checks what they show and write. Started by ctest, it reruns itself inside a Wine virtual
// desktop (where maximising works) and hands the scenario's verdict back as its exit code.
#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "drill/log_format.h"
#include "drill/random.h"
#include "resources/resource_ids.h"
#include "tests/e2e/drill_view.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/installed.h"
#include "tests/e2e/session.h"

namespace e2e {
namespace {

constexpr wchar_t kReportName[] = L"report.txt";
constexpr wchar_t kVerdictName[] = L"verdict.txt";
constexpr wchar_t kDesktopSize[] = L"1024x768";
// What a focus shortcut passes to its drill.
constexpr wchar_t kFocusArgument[] = L"/focus";

struct Options {
  std::wstring scenario;
  std::vector<BuildInfo> builds;
  std::wstring minimal;  // the yardstick program of the measure scenario
  std::wstring work;     // scratch directory, made afresh
  std::wstring desktop;  // virtual desktop name; empty: run here
  int timeoutSeconds = 300;
  bool inner = false;
  InstalledOptions installed;        // the installed scenario's shortcuts and folder
  std::vector<std::wstring> passOn;  // the arguments the inner run gets
};

bool HasFontResource(const BuildInfo& build) {
  UniqueModule module(LoadLibraryExW(build.exe.c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  const std::wstring font = Wide(QUARN_TEXT(QUARN_FONT_RESOURCE));
  return module && FindResourceW(module.Get(), font.c_str(), font.c_str()) != nullptr;
}

std::wstring MakeDir(const std::wstring& parent, const std::wstring& name) {
  const std::wstring path = JoinPath(parent, name);
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

// ---- Scenarios -------------------------------------------------------------------------

void CheckStartLayout(const Session& session) {
  const MainView& v = session.View();
  const std::string& name = session.Build().name;
  Expect(IsZoomed(v.form) != 0, "%s: the main window is not maximised", name.c_str());
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  const RECT outer = ScreenRect(v.form);
  Expect(outer.left <= workArea.left && outer.top <= workArea.top &&
             outer.right >= workArea.right && outer.bottom >= workArea.bottom,
         "%s: the maximised window (%ld,%ld)-(%ld,%ld) does not cover the work area", name.c_str(),
         outer.left, outer.top, outer.right, outer.bottom);

  std::array<RECT, 6> label;
  for (int i = 0; i < 6; ++i)
    label[i] = RectInParent(v.byLeft[i]);
  static const char* const kNames[6] = {"digitPlace1", "operatorSign", "digitPlace2",
                                        "equalsSign",  "digitPlace3",  "digitPlace4"};
  for (int i = 0; i < 6; ++i) {
    Expect(label[i].top == 4, "%s: %s stands at Top %ld", name.c_str(), kNames[i], label[i].top);
    if (i > 0)
      Expect(label[i].left == label[i - 1].right + 8, "%s: %s stands at Left %ld, %s ends at %ld",
             name.c_str(), kNames[i], label[i].left, kNames[i - 1], label[i - 1].right);
  }
  Expect(label[0].left == 4, "%s: digitPlace1 stands at Left %ld", name.c_str(), label[0].left);
  const SIZE client = ClientSize(v.form);
  const RECT panel = RectInParent(v.panel);
  Expect(Width(panel) == label[5].right + 4 && Height(panel) == Height(label[0]) + 8,
         "%s: the panel is %d x %d for labels ending at %ld, %d high", name.c_str(), Width(panel),
         Height(panel), label[5].right, Height(label[0]));
  Expect(
      panel.left == (client.cx - Width(panel)) / 2 && panel.top == (client.cy - Height(panel)) / 2,
      "%s: the panel stands at (%ld, %ld) in a %ld x %ld client area", name.c_str(), panel.left,
      panel.top, client.cx, client.cy);
  const RECT box = RectInParent(v.box);
  const RECT hidden = RectInParent(v.SlotLabel(session.Open().hidden));
  Expect(box.top == 0 && Width(box) == Width(label[0]) + 8 && Height(box) == Height(label[0]) + 8,
         "%s: the answer box is %d x %d at Top %ld; digitPlace1 is %d x %d", name.c_str(),
         Width(box), Height(box), box.top, Width(label[0]), Height(label[0]));
  Expect(box.left == hidden.left - 4, "%s: the answer box stands at Left %ld over a label at %ld",
         name.c_str(), box.left, hidden.left);
  const RECT button = RectInParent(v.button);
  Expect(Width(button) == 57 && Height(button) == 25 && button.left == client.cx - 57 - 16 &&
             button.top == client.cy - 25 - 16,
         "%s: the quit button is %d x %d at (%ld, %ld) in a %ld x %ld client area", name.c_str(),
         Width(button), Height(button), button.left, button.top, client.cx, client.cy);
  Expect(TextOf(v.button) == text::kQuit, "%s: the quit button reads %s", name.c_str(),
         Utf8(TextOf(v.button)).c_str());
  Expect(TextOf(v.OperatorLabel()) == session.Build().operatorGlyph &&
             TextOf(v.EqualsLabel()) == text::kEquals,
         "%s: the operator and equals labels read %s and %s", name.c_str(),
         Utf8(TextOf(v.OperatorLabel())).c_str(), Utf8(TextOf(v.EqualsLabel())).c_str());
  // Before the first answer the hidden label keeps its design-time caption under the box.
  const HWND hiddenLabel = v.SlotLabel(session.Open().hidden);
  Expect(TextOf(hiddenLabel) == std::wstring(L"9"), "%s: the hidden label of problem 1 reads %s",
         name.c_str(), Utf8(TextOf(hiddenLabel)).c_str());

  // With the embedded face a digit is 64 x 128 pixels and a sign 128 x 128.
  if (HasFontResource(session.Build())) {
    static constexpr int kLefts[6] = {4, 76, 212, 284, 420, 492};
    bool exact =
        Width(panel) == 560 && Height(panel) == 136 && Width(box) == 72 && Height(box) == 136;
    for (int i = 0; i < 6; ++i)
      exact &= label[i].left == kLefts[i];
    Expect(exact,
           "%s: with the embedded face the labels stand at 4, 76, 212, 284, 420, 492 in a 560 x "
           "136 panel; they stand at %ld, %ld, %ld, %ld, %ld, %ld in %d x %d",
           name.c_str(), label[0].left, label[1].left, label[2].left, label[3].left, label[4].left,
           label[5].left, Width(panel), Height(panel));
  } else {
    Say("%s carries no font resource yet: exact label positions not checked", name.c_str());
  }
}

// The keypad gives digits only with Num Lock on, which a fresh X server leaves off.
void SetNumLock(bool on) {
  if (((GetKeyState(VK_NUMLOCK) & 1) != 0) != on) TypeKey(VK_NUMLOCK);
}

void Startup(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work, true);
  CheckStartLayout(session);
  Expect(FontFileExists(), "KORVEN.ttf is not in the temporary directory %s while %s runs",
         Utf8(TempDir()).c_str(), build.name.c_str());
  session.Screenshot(session.View().form, build.name + "-main.png");
  session.FinishWithoutAnswer();
}

void FullRun(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work);
  for (int n = 1; n <= 100; ++n) {
    if (n % 10 == 0) session.AnswerWrong(n == 10 ? build.name + "-wrong.png" : "");
    session.AnswerRight();
  }
  session.FinishRun({.expectWarning = false,
                     .otherInstanceRunning = false,
                     .screenshot = build.name + "-dialog.png"});
}

void QuitButton(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work);
  session.AnswerRight();
  session.AnswerWrong();
  session.AnswerRight();
  session.AnswerRight();
  session.PressQuitButton();
  session.FinishRun({});
}

void Keys(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work);
  Say("a wrong digit held down with auto-repeat");
  session.HoldDigit((session.OpenAnswer() + 5) % 10, 5);  // one miss, not six
  Say("keys that are no digits");
  session.TypeNonDigits({'A', VK_OEM_MINUS, VK_OEM_2, VK_SPACE, VK_RETURN});
  Say("the right digit held down with auto-repeat");
  session.HoldDigit(session.OpenAnswer(), 5);  // one answer
  Say("the right digit on the numeric keypad");
  SetNumLock(true);
  session.AnswerRight(static_cast<WORD>(VK_NUMPAD0 + session.OpenAnswer()));
  Say("the right digit typed twice, the second time during the feedback");
  session.DoubleTypeRight();
  session.AnswerRight();
  Say("Tab to the quit button, Enter");
  session.PressQuitByKeyboard();
  session.FinishRun({});
}

void LogUnwritable(const BuildInfo& build, const std::wstring& work) {
  // The log's name comes from the start second; a directory of that name cannot be
  // opened as a file, whoever runs the program (Wine's root ignores permissions).
  const SYSTEMTIME now = ReadLocal().time;
  for (int s = -2; s <= 20; ++s) {
    const SYSTEMTIME t = AddSeconds(now, s);
    MakeDir(work, Wide(Format("%04d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour,
                              t.wMinute, t.wSecond) +
                       std::string(drill::kLogExtension)));
  }
  Session session(build, work);
  session.AnswerRight();
  session.AnswerWrong();
  session.AnswerRight();
  session.CloseBox();
  session.FinishRun({.expectWarning = true, .otherInstanceRunning = false, .screenshot = ""});
}

void TwoInstances(const std::vector<BuildInfo>& builds, const std::wstring& work) {
  Require(builds.size() == 2, "two-instances needs two programs");
  Session first(builds[0], MakeDir(work, L"first"));
  Session second(builds[1], MakeDir(work, L"second"));
  Expect(FontFileExists(), "KORVEN.ttf is not in the temporary directory while both run");
  first.AnswerRight();
  second.AnswerRight();
  first.AnswerWrong();
  first.AnswerRight();
  second.AnswerRight();
  first.AnswerRight();
  second.AnswerWrong();
  second.AnswerRight();
  first.PressQuitButton();
  first.FinishRun({.expectWarning = false, .otherInstanceRunning = true, .screenshot = ""});
  Require(IsRunning(second.Program()), "the second program ended with the first");
  second.AnswerRight();
  second.PressQuitButton();
  second.FinishRun({});
}

// A regional setting of the user; nothing when the system has none.
std::optional<std::wstring> RegionalText(LCTYPE item) {
  wchar_t text[16] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, 16) <= 0) return std::nullopt;
  return std::wstring(text);
}

// A regional setting for one scenario, written where the system keeps it (the sDate and
// sTime values under HKCU\Control Panel\International); the old one comes back at the end,
// so the shared prefix is left as it was. Wine gives each process the values it found at
// its first look, so only programs started afterwards see the change.
class RegionalSetting {
 public:
  RegionalSetting(LCTYPE setting, const std::wstring& value)
      : item(setting), previous(RegionalText(setting)) {
    Require(SetLocaleInfoW(LOCALE_USER_DEFAULT, item, value.c_str()) != 0,
            "cannot change a regional setting (error %lu)", GetLastError());
  }
  RegionalSetting(const RegionalSetting&) = delete;
  RegionalSetting& operator=(const RegionalSetting&) = delete;
  ~RegionalSetting() {
    if (previous) SetLocaleInfoW(LOCALE_USER_DEFAULT, item, previous->c_str());
  }

 private:
  LCTYPE item;
  std::optional<std::wstring> previous;
};

// An environment variable of this process, and so of the programs it starts, for one
// scenario.
class EnvironmentSetting {
 public:
  EnvironmentSetting(const wchar_t* variable, const std::wstring& value) : name(variable) {
    wchar_t old[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableW(name, old, MAX_PATH);
    if (n > 0 && n < MAX_PATH) previous = std::wstring(old, n);
    SetEnvironmentVariableW(name, value.c_str());
  }
  EnvironmentSetting(const EnvironmentSetting&) = delete;
  EnvironmentSetting& operator=(const EnvironmentSetting&) = delete;
  ~EnvironmentSetting() { SetEnvironmentVariableW(name, previous ? previous->c_str() : nullptr); }

 private:
  const wchar_t* name;
  std::optional<std::wstring> previous;
};

// Empty date and time separators print nothing: the header reads 20261208,161248 and a
// solving time 0003.125.
void RegionalEmpty(const BuildInfo& build, const std::wstring& work) {
  RegionalSetting date(LOCALE_SDATE, L"");
  RegionalSetting time(LOCALE_STIME, L"");
  Require(RegionalText(LOCALE_SDATE) == L"" && RegionalText(LOCALE_STIME) == L"",
          "the prefix does not report the empty separators");
  Session session(build, work);
  session.AnswerRight();
  session.AnswerWrong();
  session.AnswerRight();
  session.PressQuitButton();
  session.FinishRun({.expectWarning = false,
                     .otherInstanceRunning = false,
                     .screenshot = "",
                     .describe = false,
                     .separators = LogSeparators{.date = 0, .time = 0}});
}

// A temporary and a current directory whose names CP932 cannot spell: the font is still
// written and used, and the log lands in the current directory.
void NonAsciiPaths(const BuildInfo& build, const std::wstring& work) {
  const std::wstring temp = MakeDir(work, L"caf\u00e9 temp") + L"\\";
  EnvironmentSetting tmp(L"TMP", temp);
  EnvironmentSetting tempVariable(L"TEMP", temp);
  Require(TempDir() == temp, "the temporary directory is %s, not %s", Utf8(TempDir()).c_str(),
          Utf8(temp).c_str());
  Session session(build, MakeDir(work, L"Jos\u00e9"), true);
  Expect(PathExists(temp + L"KORVEN.ttf"), "KORVEN.ttf is not in %s", Utf8(temp).c_str());
  for (HWND window : TopWindows(session.Program().pid))
    Expect(!HasClass(window, L"#32770"), "%s shows a box at start: %s", build.name.c_str(),
           Utf8(TextOf(window)).c_str());
  CheckStartLayout(session);
  session.AnswerRight();
  session.AnswerRight();
  session.PressQuitButton();
  session.FinishRun({});
}

// Logging off in the middle of a run keeps the run.
void EndSession(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work);
  session.AnswerRight();
  session.AnswerWrong();
  session.AnswerRight();
  session.EndSession();
}

// A short showing for a machine without a display (tools/run.sh): a problem, ten answers of
// which the fourth comes after a wrong try, the quit button and the results dialog, each
// with its screenshot; the report names the dialog's texts.
void Demo(const BuildInfo& build, const std::wstring& work) {
  Session session(build, work, true);
  session.Screenshot(session.View().form, build.name + "-problem.png");
  for (int n = 1; n <= 10; ++n) {
    // A learner's thinking time, so that the log's solving times look like a person's.
    Pause(700 + 250 * (n % 4));
    if (n == 4) session.AnswerWrong(build.name + "-wrong.png");
    session.AnswerRight();
  }
  session.PressQuitButton();
  session.FinishRun({.expectWarning = false,
                     .otherInstanceRunning = false,
                     .screenshot = build.name + "-dialog.png",
                     .describe = true});
}

// ---- Focus -----------------------------------------------------------------------------

// A log as the drill writes it, named after its start; each answer's time and misses come from
// the answer function.
template <class AnswerOf>
void WriteLog(const std::wstring& dir, drill::DrillKind kind, const SYSTEMTIME& start,
              const std::vector<drill::Problem>& problems, AnswerOf answerOf) {
  std::string log =
      drill::LogHeaderLine(kind, Format("%04d/%02d/%02d", start.wYear, start.wMonth, start.wDay),
                           Format("%02d:%02d:%02d", start.wHour, start.wMinute, start.wSecond),
                           static_cast<int>(problems.size()));
  for (size_t i = 0; i < problems.size(); ++i) {
    const auto [ms, misses] = answerOf(i);
    log += drill::LogProblemLine(
        problems[i], Format("%02u:%02u.%03u", ms / 60000, ms / 1000 % 60, ms % 1000), misses);
  }
  const std::string name = Format("%04d%02d%02d%02d%02d%02d", start.wYear, start.wMonth, start.wDay,
                                  start.wHour, start.wMinute, start.wSecond) +
                           std::string(drill::kLogExtension);
  Require(WriteBytes(JoinPath(dir, Wide(name)), log), "cannot write %s", name.c_str());
}

SYSTEMTIME DayAt(int year, int day) {
  SYSTEMTIME start{};
  start.wYear = static_cast<WORD>(year);
  start.wMonth = 1;
  start.wDay = 1;
  start.wHour = 9;
  return AddSeconds(start, int64_t{day} * 86400);
}

// A child who knows every fact but ten: six days of every fact in 1.5 s, then three days with
// three slow answers of each of the ten (a fact's state rests on its first ask of each run, and
// two slow mornings among three fast ones leave it fluent); and a file that is no log. Returns
// the ten.
std::set<drill::Fact> WriteWeakHistory(const std::wstring& dir, drill::DrillKind kind) {
  const std::vector<drill::Problem> every = drill::OneProblemPerFact(kind);
  const auto fast = [](size_t) { return std::pair<uint32_t, int>{1500, 0}; };
  for (int day = 0; day < 6; ++day) {
    // At most 100 answers a log: two runs a day.
    const auto middle = every.begin() + static_cast<std::ptrdiff_t>(every.size() / 2);
    WriteLog(dir, kind, DayAt(2026, day), {every.begin(), middle}, fast);
    WriteLog(dir, kind, AddSeconds(DayAt(2026, day), 3600), {middle, every.end()}, fast);
  }
  std::set<drill::Fact> weak;
  std::vector<drill::Problem> slow;
  for (size_t i = 0; i < 10; ++i) {
    const drill::Problem& p = every[every.size() * (2 * i + 1) / 20];
    weak.insert(drill::FactOf(p));
    for (int answer = 0; answer < 3; ++answer)
      slow.push_back(p);
  }
  for (int day : {6, 7, 8}) {
    WriteLog(dir, kind, DayAt(2026, day), slow, [](size_t) {
      return std::pair<uint32_t, int>{8000, 0};
    });
  }
  WriteBytes(JoinPath(dir, L"notes.log"), "not a practice log\r\n");
  return weak;
}

// A folder whose history makes ten facts weak: the focus run asks mostly those, and writes its
// log under a title that names the mode. The report then reads the folder (report.sh).
void FocusRun(const BuildInfo& build, const std::wstring& work) {
  const std::set<drill::Fact> weak = WriteWeakHistory(work, build.kind);
  const BuildInfo focus = FocusBuild(build);
  Session session(focus, work, true);
  for (HWND window : TopWindows(session.Program().pid))
    Expect(!HasClass(window, L"#32770"), "%s shows a box at start: %s", build.name.c_str(),
           Utf8(TextOf(window)).c_str());
  Expect(weak.count(drill::FactOf(session.Asked())) > 0, "%s: the first problem %s is no weak fact",
         build.name.c_str(), Describe(focus, session.Open()).c_str());
  session.Screenshot(session.View().form, build.name + "-focus.png");
  constexpr int kAnswers = 30;
  for (int n = 1; n <= kAnswers; ++n) {
    if (n == 4) session.AnswerWrong();
    session.AnswerRight();
  }
  // The ten come first, each once, and the one answered wrongly (the fourth) again after the
  // gap, for its correction; the rest reviews fluent facts, whose answers are months old by the
  // run's clock and so due for review.
  int weakAnswers = 0, weakFirst = 0, number = 0;
  for (const SolvedProblem& solved : session.Solved()) {
    const bool isWeak = weak.count(drill::FactOf(solved.problem)) > 0;
    weakAnswers += isWeak;
    weakFirst += isWeak && number < 10;
    ++number;
  }
  Say("%s: %d of %d problems asked the ten weak facts, %d of the first ten", build.name.c_str(),
      weakAnswers, kAnswers, weakFirst);
  Expect(weakFirst == 10, "%s: only %d of the first ten problems asked the ten weak facts",
         build.name.c_str(), weakFirst);
  Expect(weakAnswers >= 11, "%s: only %d of %d problems asked the ten weak facts",
         build.name.c_str(), weakAnswers, kAnswers);
  session.PressQuitButton();
  session.FinishRun({.expectWarning = false,
                     .otherInstanceRunning = false,
                     .screenshot = build.name + "-focus-dialog.png"});
}

// ---- Measure ---------------------------------------------------------------------------

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MinimalFirstPaint(const std::wstring& exe, const std::wstring& work) {
  Running program = StartProcess(exe, L"", work);
  double paintedMs = -1;
  while (paintedMs < 0 && NowMs() < program.startMs + 20000) {
    for (HWND window : TopWindows(program.pid)) {
      if (TextOf(window) != L"Quarn Minimal" || !IsZoomed(window)) continue;
      const RECT client = ClientScreenRect(window);
      const int left = client.left + (Width(client) - 72) / 2;
      const int top = client.top + (Height(client) - 136) / 2;
      const Pixels box = Capture(RECT{left, top, left + 72, top + 136});
      if (box.width == 72 && box.At(0, 68) == 0 && box.At(36, 0) == 0 &&
          box.At(36, 68) == 0xFFFFFF) {
        paintedMs = NowMs() - program.startMs;
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
    }
    Pause(1);
  }
  Expect(paintedMs >= 0, "the minimal program did not paint within 20 s");
  if (!WaitExit(program, 5000)) TerminateProcess(program.process.Get(), 1);
  return paintedMs;
}

// One start of the drill per build; ctest --repeat gives more samples.
void Measure(const Options& options) {
  for (const BuildInfo& build : options.builds) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(build.exe.c_str(), GetFileExInfoStandard, &data);
    Say("%s.exe: %lu bytes", build.name.c_str(), data.nFileSizeLow);
  }
  if (!options.minimal.empty()) {
    std::vector<double> paints;
    for (int run = 0; run < 5; ++run)
      paints.push_back(MinimalFirstPaint(options.minimal, options.work));
    Say("minimal program: start to first paint, median of 5: %.0f ms (runs: %.0f %.0f %.0f %.0f "
        "%.0f)",
        Median(paints), paints[0], paints[1], paints[2], paints[3], paints[4]);
  }
  Require(options.builds.size() == 1, "measure starts one drill program");
  const BuildInfo& build = options.builds.front();
  Session session(build, options.work, true);
  Say("%s: start to problem 1 painted: %.0f ms", build.name.c_str(), session.FirstPaintMs());
  std::vector<double> rightDelays, wrongDelays;
  for (int k = 0; k < 12; ++k) {
    if (k % 4 == 3) wrongDelays.push_back(session.MeasureKeyToDigit(false));
    rightDelays.push_back(session.MeasureKeyToDigit(true));
  }
  Say("%s: key down to its digit in the box: right answers median %.0f ms, max %.0f ms (%zu); "
      "wrong answers median %.0f ms, max %.0f ms (%zu)",
      build.name.c_str(), Median(rightDelays),
      *std::max_element(rightDelays.begin(), rightDelays.end()), rightDelays.size(),
      Median(wrongDelays), *std::max_element(wrongDelays.begin(), wrongDelays.end()),
      wrongDelays.size());
  session.PressQuitButton();
  session.FinishRun({.expectWarning = false, .otherInstanceRunning = false, .screenshot = ""});
}

// A learner's runs, one a day from the first of January 2000 (or every hour when there are
// more than fit in the years since): 100 answers of every kind of fact, solving times of 1 to
// 8 s, some misses. Without `everyFact` one fact is never answered, so that a focus run reads
// as many logs as it ever does.
void WriteYears(const std::wstring& dir, drill::DrillKind kind, int logs, bool everyFact) {
  std::vector<drill::Problem> every = drill::OneProblemPerFact(kind);
  if (!everyFact) every.erase(every.begin());
  drill::RandomSource random(12345);
  for (int k = 0; k < logs; ++k) {
    std::vector<drill::Problem> problems;
    for (int i = 0; i < drill::kProblemsPerRun; ++i)
      problems.push_back(every[static_cast<size_t>(random.Draw(static_cast<int>(every.size())))]);
    const SYSTEMTIME start =
        logs > 3000 ? AddSeconds(DayAt(2000, 0), int64_t{k} * 3600) : DayAt(2000, k);
    WriteLog(dir, kind, start, problems, [&random](size_t) {
      const auto ms = static_cast<uint32_t>(1000 + random.Draw(7000));
      return std::pair<uint32_t, int>{ms, random.Draw(8) == 0 ? 1 : 0};
    });
  }
}

// Start-up of a focus run against the normal one in a folder of a year's logs (250), and in
// folders of 10,000: a realistic one, and one where a fact is never answered, so that the run
// reads the most it ever reads.
void MeasureFocus(const Options& options) {
  Require(options.builds.size() == 1, "measure-focus starts one drill program");
  const BuildInfo& build = options.builds.front();
  const BuildInfo focus = FocusBuild(build);
  const auto firstPaint = [](const BuildInfo& b, const std::wstring& dir) {
    Session session(b, dir, true);
    const double ms = session.FirstPaintMs();
    session.Quit();
    return ms;
  };
  const std::wstring year = MakeDir(options.work, L"year");
  WriteYears(year, build.kind, 250, true);
  std::vector<double> normal, focused;
  for (int round = 0; round < 5; ++round) {
    normal.push_back(firstPaint(build, year));
    focused.push_back(firstPaint(focus, year));
  }
  Say("%s, 250 logs: start to problem 1 painted, median of 5: normal %.0f ms, focus %.0f ms "
      "(ratio %.2f); normal runs %.0f %.0f %.0f %.0f %.0f, focus runs %.0f %.0f %.0f %.0f %.0f",
      build.name.c_str(), Median(normal), Median(focused), Median(focused) / Median(normal),
      normal[0], normal[1], normal[2], normal[3], normal[4], focused[0], focused[1], focused[2],
      focused[3], focused[4]);
  for (bool everyFact : {true, false}) {
    const std::wstring many = MakeDir(options.work, everyFact ? L"many" : L"many-one-unseen");
    const double writeStart = NowMs();
    WriteYears(many, build.kind, 10000, everyFact);
    Say("10,000 logs written in %.0f ms", NowMs() - writeStart);
    std::vector<double> times;
    for (int round = 0; round < 3; ++round)
      times.push_back(firstPaint(focus, many));
    Say("%s, 10,000 logs%s: focus start to problem 1 painted, median of 3: %.0f ms "
        "(runs %.0f %.0f %.0f)",
        build.name.c_str(), everyFact ? "" : " with a fact never answered (the newest 250 read)",
        Median(times), times[0], times[1], times[2]);
  }
}

// ---- Running a scenario ----------------------------------------------------------------

void RunScenario(const Options& options) {
  const std::map<std::wstring, void (*)(const BuildInfo&, const std::wstring&)> perBuild = {
      {L"startup", Startup},
      {L"full-run", FullRun},
      {L"quit-button", QuitButton},
      {L"keys", Keys},
      {L"log-unwritable", LogUnwritable},
      {L"regional-empty", RegionalEmpty},
      {L"non-ascii-paths", NonAsciiPaths},
      {L"end-session", EndSession},
      {L"focus", FocusRun},
      {L"demo", Demo}};
  if (auto found = perBuild.find(options.scenario); found != perBuild.end()) {
    Require(options.builds.size() == 1, "%s runs one program", Utf8(options.scenario).c_str());
    found->second(options.builds.front(), options.work);
  } else if (options.scenario == L"two-instances") {
    TwoInstances(options.builds, options.work);
  } else if (options.scenario == L"measure") {
    Measure(options);
  } else if (options.scenario == L"measure-focus") {
    MeasureFocus(options);
  } else if (options.scenario == L"installed") {
    Installed(options.installed);
  } else {
    Require(false, "no scenario %s", Utf8(options.scenario).c_str());
  }
}

// Runs the scenario here, in whatever desktop this process has; the verdict goes to the
// report, the verdict file and the exit code.
int RunHere(const Options& options) {
  if (options.inner) OpenReport(JoinPath(options.work, kReportName));
  Say("scenario %s in %s", Utf8(options.scenario).c_str(), Utf8(options.work).c_str());
  const double startMs = NowMs();
  try {
    RunScenario(options);
  } catch (const ScenarioAborted&) {
    // already reported
  }
  const int failures = FailureCount();
  Say("%s: %d failed check(s), %.1f s", failures == 0 ? "PASS" : "FAIL", failures,
      (NowMs() - startMs) / 1000);
  WriteBytes(JoinPath(options.work, kVerdictName), failures == 0 ? "PASS" : "FAIL");
  return failures == 0 ? 0 : 1;
}

std::wstring Quote(const std::wstring& argument) {
  return argument.find_first_of(L" \t\"") == std::wstring::npos ? argument
                                                                : L"\"" + argument + L"\"";
}

// `wine explorer /desktop=...` does not pass its program's exit code on: the inner run
// writes a verdict file, which this outer run turns into its own exit code.
int RunInDesktop(const Options& options) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring commandLine = Quote(JoinPath(windows, L"explorer.exe")) + L" /desktop=" +
                             options.desktop + L"," + kDesktopSize + L" " + Quote(self);
  for (const std::wstring& argument : options.passOn)
    commandLine += L" " + Quote(argument);
  commandLine += L" --inner";

  UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, options.work.c_str(), &startup, &info)) {
    printf("FAIL: cannot start %s (error %lu)\n", Utf8(commandLine).c_str(), GetLastError());
    return 1;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);
  if (job) AssignProcessToJobObject(job.Get(), process.Get());
  ResumeThread(thread.Get());
  const bool finished =
      WaitForSingleObject(process.Get(), static_cast<DWORD>(options.timeoutSeconds) * 1000) ==
      WAIT_OBJECT_0;
  if (!finished && job) TerminateJobObject(job.Get(), 1);

  const std::optional<std::string> report = ReadBytes(JoinPath(options.work, kReportName));
  printf("%s", report.value_or("(no report)\n").c_str());
  if (!finished) printf("FAIL: the scenario did not end within %d s\n", options.timeoutSeconds);
  fflush(stdout);
  const std::optional<std::string> verdict = ReadBytes(JoinPath(options.work, kVerdictName));
  return finished && verdict == std::string("PASS") ? 0 : 1;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  if (argc < 2) return false;
  options.scenario = argv[1];
  options.passOn.push_back(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const std::wstring flag = argv[i];
    if (flag == L"--inner") {
      options.inner = true;
      continue;
    }
    if (flag == L"--shortcuts-only") {
      options.installed.shortcutsOnly = true;
      options.passOn.push_back(flag);
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::wstring value = argv[++i];
    if (flag == L"--desktop") {
      options.desktop = value;
      continue;
    }
    if (flag == L"--division" || flag == L"--subtraction") {
      const drill::DrillKind kind =
          flag == L"--division" ? drill::DrillKind::kDivision : drill::DrillKind::kSubtraction;
      options.builds.push_back(MakeBuild(kind, WindowsPath(value)));
    } else if (flag == L"--program" || flag == L"--focus") {
      const size_t equals = value.find(L'=');
      if (equals == std::wstring::npos) return false;
      options.installed.programs.push_back({value.substr(0, equals), value.substr(equals + 1),
                                            flag == L"--focus" ? kFocusArgument : L""});
    } else if (flag == L"--practice") {
      options.installed.practiceDir = WindowsPath(value);
    } else if (flag == L"--minimal") {
      options.minimal = WindowsPath(value);
    } else if (flag == L"--work") {
      options.work = WindowsPath(value);
    } else if (flag == L"--shots") {
      ScreenshotDir = WindowsPath(value);
    } else if (flag == L"--timeout") {
      options.timeoutSeconds = static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
    } else {
      return false;
    }
    options.passOn.push_back(flag);
    options.passOn.push_back(value);
  }
  return !options.work.empty();
}

}  // namespace
}  // namespace e2e

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    printf(
        "usage: driver SCENARIO --work DIR [--desktop NAME] [--division EXE] "
        "[--subtraction EXE] [--minimal EXE] [--program TITLE=EXE]... [--focus TITLE=EXE]... "
        "[--practice DIR] [--shortcuts-only] [--shots DIR] [--timeout SECONDS]\n"
        "scenarios: startup full-run quit-button keys log-unwritable regional-empty "
        "non-ascii-paths end-session focus demo (one program), two-instances (two), measure, "
        "measure-focus, installed (the installed programs' shortcuts: --program each, --focus "
        "each focus shortcut, --practice the folder they start in)\n");
    return 2;
  }
  if (!options.inner) {
    RemoveTree(options.work);
    MakeDirs(options.work);
    MakeDirs(ScreenshotDir);
  }
  if (options.desktop.empty() || options.inner) return RunHere(options);
  return RunInDesktop(options);
}
