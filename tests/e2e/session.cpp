// One running drill program under the driver's hands (see session.h).
#include "tests/e2e/session.h"

#include <algorithm>
#include <cmath>

#include "drill/log_format.h"

namespace e2e {

std::wstring ScreenshotDir;

namespace {

// How far a logged solving time may lie from the driver's own measure: the program starts
// its clock when it opens a problem, a little before the driver sees it, and stops it when
// it handles the key, a little after the driver sent it.
constexpr int kTimeSlackBelowMs = 20;
constexpr int kTimeSlackAboveMs = 300;
constexpr int kWindowTimeoutMs = 8000;

HWND FocusOf(HWND topLevel) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(topLevel, nullptr), &info);
  return info.hwndFocus;
}

std::wstring Digits(long long value, int width) {
  return Wide(Format("%0*lld", width, value));
}

// The dialog's start time: "yyyy/m/d", then " hh:nn:ss" unless the time is 00:00:00.
std::wstring DialogStart(const platform::DateTime& t) {
  std::wstring text =
      Digits(t.date.year, 4) + L"/" + Digits(t.date.month, 1) + L"/" + Digits(t.date.day, 1);
  if (t.hour != 0 || t.minute != 0 || t.second != 0)
    text += L" " + Digits(t.hour, 2) + L":" + Digits(t.minute, 2) + L":" + Digits(t.second, 2);
  return text;
}

std::string_view WithoutLineEnd(std::string_view line) {
  if (line.ends_with(drill::kLogLineEnd)) line.remove_suffix(drill::kLogLineEnd.size());
  return line;
}

// A regional separator as text: empty for none.
std::string Separator(char separator) {
  return separator ? std::string(1, separator) : std::string();
}

platform::DateTime StartTimeOf(const SYSTEMTIME& t) {
  return {{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond};
}

// A solving time as the drill writes it with the given time separator: "nn:ss.zzz".
std::string LogSolvingTime(uint32_t ms, char separator) {
  return Format("%02u%s%02u.%03u", ms / 60000, Separator(separator).c_str(), ms / 1000 % 60,
                ms % 1000);
}

std::optional<long long> ParseDialogDuration(const std::wstring& shown) {
  // nn分 ss秒zzz, where the minutes hold the hours of a long run and so may have more digits
  const size_t mark = shown.find(text::kMinutes);
  if (mark == std::wstring::npos || mark < 2 || mark > 7 || shown.size() != mark + 8 ||
      shown.substr(mark, 2) != std::wstring(text::kMinutes) + L" " ||
      shown.substr(mark + 4, 1) != text::kSeconds)
    return std::nullopt;
  const std::wstring digits =
      shown.substr(0, mark) + shown.substr(mark + 2, 2) + shown.substr(mark + 5, 3);
  if (!std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
    return std::nullopt;
  return std::stoll(shown.substr(0, mark)) * 60000 + std::stoll(shown.substr(mark + 2, 2)) * 1000 +
         std::stoll(shown.substr(mark + 5, 3));
}

bool WaitGone(HWND window, int timeoutMs) {
  const double deadline = NowMs() + timeoutMs;
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (NowMs() > deadline) return false;
    Pause(5);
  }
  return true;
}

std::string StaticTexts(HWND window) {
  std::string texts;
  for (HWND child : DirectChildren(window))
    if (HasClass(child, L"STATIC") && !TextOf(child).empty())
      texts += (texts.empty() ? "" : " | ") + Utf8(TextOf(child));
  return texts;
}

}  // namespace

bool FontFileExists() {
  return PathExists(TempDir() + L"KORVEN.ttf");
}

Session::Session(const BuildInfo& build, const std::wstring& dir, bool waitForPaint)
    : build(build),
      logsBefore(LogFiles(dir)),
      program(StartProcess(build.exe, build.arguments, dir)) {
  WaitForProblemOne(waitForPaint);
}

Session::~Session() {
  if (IsRunning(program)) {
    Say("%s (pid %lu) still runs at the end of the scenario: terminated", build.name.c_str(),
        program.pid);
    for (HWND window : TopWindows(program.pid))
      Say("  its window \"%s\" (%s)", Utf8(TextOf(window)).c_str(), Utf8(ClassOf(window)).c_str());
    TerminateProcess(program.process.Get(), 1);
    WaitForSingleObject(program.process.Get(), 5000);
  }
}

void Session::WaitForProblemOne(bool waitForPaint) {
  const double deadline = program.startMs + 20000;
  std::string lastWhy = "no window with the caption";
  for (;;) {
    for (HWND window : TopWindows(program.pid)) {
      if (TextOf(window) != build.caption) continue;
      if (HasClass(window, L"#32770"))
        Require(false, "%s shows an error box at start: %s", build.name.c_str(),
                StaticTexts(window).c_str());
      if (auto found = FindMainView(window, &lastWhy)) {
        if (ReadProblem(*found)) {
          view = *found;
          break;
        }
        lastWhy = "the answer box stands over no digit label";
      }
    }
    if (view.form) break;
    Require(IsRunning(program), "%s exited before showing a problem (exit code %#lx)",
            build.name.c_str(), WaitExit(program, 0).value_or(0));
    Require(NowMs() < deadline, "%s shows no problem 20 s after its start: %s", build.name.c_str(),
            lastWhy.c_str());
    Pause(2);
  }
  openSeenMs = NowMs();
  firstProblemMs = openSeenMs - program.startMs;
  firstSeenLocal = ReadLocal();
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  open = ReadSettled("at start");
  Say("%s: problem 1 on screen %.0f ms after the start: %s", build.name.c_str(), firstProblemMs,
      Describe(build, open).c_str());
  if (!waitForPaint) return;
  while (!ProblemPainted()) {
    Require(NowMs() < program.startMs + 20000, "%s: problem 1 is not painted 20 s after the start",
            build.name.c_str());
    Pause(1);
  }
  firstPaintMs = NowMs() - program.startMs;
}

bool Session::ProblemPainted() const {
  // The box: a black frame around a white interior; a visible digit label: some ink.
  const Pixels box = Capture(ScreenRect(view.box));
  if (box.width < 3 || box.height < 3) return false;
  const int midX = box.width / 2, midY = box.height / 2;
  const bool framed = box.At(0, midY) == 0 && box.At(midX, 0) == 0 &&
                      box.At(box.width - 1, midY) == 0 && box.At(midX, box.height - 1) == 0 &&
                      box.At(midX, midY) == 0xFFFFFF;
  if (!framed) return false;
  const int visibleSlot = open.hidden == 1 ? 2 : 1;
  const Pixels label = Capture(ScreenRect(view.SlotLabel(visibleSlot)));
  return std::any_of(label.rgb.begin(), label.rgb.end(), [](uint32_t p) { return p < 0x808080; });
}

ScreenProblem Session::ReadSettled(const char* when) {
  const std::optional<ScreenProblem> problem = ReadProblem(view);
  Require(problem.has_value(), "%s: %s the labels and the answer box show no problem",
          build.name.c_str(), when);
  Require(AskedProblem(build.kind, *problem).has_value(),
          "%s: %s the screen shows %s, no problem of %s", build.name.c_str(), when,
          Describe(build, *problem).c_str(), build.name.c_str());
  return *problem;
}

drill::Problem Session::Asked() const {
  // Every problem kept in open was read by ReadSettled.
  return *AskedProblem(build.kind, open);
}

void Session::Focus() {
  Require(BringToFront(view.form), "%s: cannot bring the main window to the front",
          build.name.c_str());
}

void Session::Settle(double keyMs, int feedbackMs, bool expectChange) {
  // The judging pumps pending messages once, right after the key, and then sleeps out the
  // feedback; a sync sent after that pump is answered when the judging has returned.
  if (NowMs() < keyMs + 150) Pause(static_cast<int>(keyMs + 150 - NowMs()));
  Require(Sync(view.form), "%s does not answer messages after a key", build.name.c_str());
  if (NowMs() < keyMs + feedbackMs) {
    // The sync was answered inside that pump: the judging still runs.
    Pause(static_cast<int>(keyMs + feedbackMs + 20 - NowMs()));
    Require(Sync(view.form), "%s does not answer messages after a key", build.name.c_str());
  }
  std::optional<ScreenProblem> now = ReadProblem(view);
  if (!expectChange) {
    Expect(now && *now == open, "%s: the problem %s changed without a right answer",
           build.name.c_str(), Describe(build, open).c_str());
    return;
  }
  if (now && *now == open) {
    const double deadline = keyMs + 3000;
    while ((now = ReadProblem(view)) && *now == open && NowMs() < deadline)
      Pause(5);
    Require(!now || *now != open,
            "%s: the right answer %d to %s was not taken (a refusal would mean that the "
            "last key's release reached the program while its judging ran)",
            build.name.c_str(), OpenAnswer(), Describe(build, open).c_str());
    Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  }
  openSeenMs = NowMs();
  open = ReadSettled("after a right answer");
  openMissesLow = openMissesHigh = 0;
}

void Session::AnswerRight(WORD vk, int holdMs) {
  if (!armed) {
    Expect(!TryRight(), "%s: a key was judged before the entry was re-armed", build.name.c_str());
    armed = true;
    if (solved.size() == 100) return;
  }
  const int digit = OpenAnswer();
  Focus();
  const double keyMs = NowMs();
  TypeKey(vk ? vk : static_cast<WORD>('0' + digit), holdMs);
  solved.push_back({Asked(), openMissesLow, openMissesHigh, keyMs - openSeenMs});
  if (solved.size() == 100) return;
  Settle(keyMs, 400, true);
}

void Session::AnswerWrong(const std::string& screenshot) {
  const int wrong = (OpenAnswer() + 3) % 10;
  Focus();
  const double keyMs = NowMs();
  TypeKey(static_cast<WORD>('0' + wrong));
  if (!screenshot.empty()) {
    Pause(100);
    Screenshot(view.form, screenshot);
  }
  Settle(keyMs, 500, false);
  ++openMissesLow;
  ++openMissesHigh;
}

double Session::MeasureKeyToDigit(bool right) {
  const int answer = OpenAnswer();
  const WORD vk = static_cast<WORD>('0' + (right ? answer : (answer + 3) % 10));
  RECT interior = ScreenRect(view.box);
  InflateRect(&interior, -1, -1);
  Focus();
  const double keyMs = NowMs();
  KeyDown(vk);
  double shownMs = -1;
  while (shownMs < 0 && NowMs() < keyMs + 2000) {
    const Pixels box = Capture(interior);
    if (std::any_of(box.rgb.begin(), box.rgb.end(), [](uint32_t p) { return p != 0xFFFFFF; }))
      shownMs = NowMs() - keyMs;
  }
  Pause(static_cast<int>(std::max(0.0, keyMs + kKeyHoldMs - NowMs())));
  KeyUp(vk);
  if (right) {
    solved.push_back({Asked(), openMissesLow, openMissesHigh, keyMs - openSeenMs});
    Settle(keyMs, 400, true);
  } else {
    Settle(keyMs, 500, false);
    ++openMissesLow;
    ++openMissesHigh;
  }
  return shownMs;
}

void Session::HoldDigit(int digit, int repeats) {
  const WORD vk = static_cast<WORD>('0' + digit);
  const bool right = digit == OpenAnswer();
  Focus();
  const double keyMs = NowMs();
  KeyDown(vk);
  for (int i = 0; i < repeats; ++i) {  // the auto-repeat of a held key
    Pause(30);
    KeyDown(vk);
  }
  Pause(30);
  KeyUp(vk);
  if (!right) {
    Settle(keyMs, 500, false);
    ++openMissesLow;
    ++openMissesHigh;
    return;
  }
  solved.push_back({Asked(), openMissesLow, openMissesHigh, keyMs - openSeenMs});
  Settle(keyMs, 400, true);
  // The repeats were queued behind the judging; none may reach the next problem.
  Pause(600);
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  Expect(ReadProblem(view) == std::optional<ScreenProblem>(open),
         "%s: the repeats of a held key answered the next problem too", build.name.c_str());
}

void Session::TypeNonDigits(const std::vector<WORD>& keys) {
  Focus();
  for (WORD vk : keys) {
    TypeKey(vk);
    Pause(30);
  }
  Pause(300);
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  Expect(IsRunning(program) && !FindTopWindow(program.pid, text::kResults),
         "%s: keys that are no digits ended the run", build.name.c_str());
  Expect(ReadProblem(view) == std::optional<ScreenProblem>(open),
         "%s: keys that are no digits changed the problem", build.name.c_str());
}

bool Session::TryRight() {
  const int digit = OpenAnswer();
  Focus();
  const double keyMs = NowMs();
  TypeKey(static_cast<WORD>('0' + digit));
  Pause(static_cast<int>(std::max(0.0, keyMs + 150 - NowMs())));
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  if (NowMs() < keyMs + 400) {
    // Refused, or the sync was answered inside the judging's message pump.
    Pause(static_cast<int>(std::max(0.0, keyMs + 450 - NowMs())));
    Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  }
  if (ReadProblem(view) == std::optional<ScreenProblem>(open)) return false;
  solved.push_back({Asked(), openMissesLow, openMissesHigh, keyMs - openSeenMs});
  openSeenMs = NowMs();
  open = ReadSettled("after a right answer");
  openMissesLow = openMissesHigh = 0;
  return true;
}

void Session::DoubleTypeRight() {
  const int digit = OpenAnswer();
  const WORD vk = static_cast<WORD>('0' + digit);
  Focus();
  const double keyMs = NowMs();
  TypeKey(vk);
  Pause(static_cast<int>(std::max(0.0, keyMs + 150 - NowMs())));
  TypeKey(vk);  // while the right answer's feedback shows
  solved.push_back({Asked(), openMissesLow, openMissesHigh, keyMs - openSeenMs});
  // Settle's sync is answered before the queued second key is handled.
  Settle(keyMs, 400, true);
  const bool rightForNext = digit == OpenAnswer();
  Pause(650);
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  const std::optional<ScreenProblem> now = ReadProblem(view);
  // The first key's release re-arms the entry once its judging is over, unless it came
  // during the judging's message pump; then the second key is refused. A second key that
  // is judged has its release, queued long before, taken by its own judging's pump, so
  // the entry stays closed for one more press.
  if (now && *now != open) {
    Expect(rightForNext, "%s: the wrong key %d typed during the feedback solved %s",
           build.name.c_str(), digit, Describe(build, open).c_str());
    Say("%s: the key typed during the feedback answered the next problem", build.name.c_str());
    solved.push_back({Asked(), 0, 0, 0});  // typed before the problem showed
    openSeenMs = NowMs();
    open = ReadSettled("after a key typed during the feedback");
    openMissesLow = openMissesHigh = 0;
    armed = false;
  } else if (rightForNext) {
    Say("%s: the key typed during the feedback was refused", build.name.c_str());
  } else if (TryRight()) {
    Say("%s: the key typed during the feedback was refused", build.name.c_str());
  } else {
    Say("%s: the key typed during the feedback was judged once, a miss; the next press was "
        "refused",
        build.name.c_str());
    openMissesLow = openMissesHigh = 1;
  }
}

void Session::PressQuitButton() {
  Focus();
  const RECT r = ScreenRect(view.button);
  ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void Session::PressQuitByKeyboard() {
  Focus();
  Expect(FocusOf(view.form) == view.panel, "%s: the panel does not hold the focus",
         build.name.c_str());
  TypeKey(VK_TAB);
  Pause(100);
  Require(Sync(view.form), "%s does not answer messages", build.name.c_str());
  Expect(FocusOf(view.form) == view.button, "%s: Tab does not move the focus to the quit button",
         build.name.c_str());
  TypeKey(VK_RETURN);
}

void Session::CloseBox() {
  PostMessageW(view.form, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Session::Screenshot(HWND window, const std::string& fileName) {
  if (ScreenshotDir.empty()) return;
  // Paint messages come last in a queue: give them a moment.
  Pause(150);
  const std::wstring path = JoinPath(ScreenshotDir, Wide(fileName));
  Expect(SavePng(Capture(ScreenRect(window)), path), "cannot save the screenshot %s",
         Utf8(path).c_str());
}

void Session::FinishWithoutAnswer() {
  PostMessageW(view.form, WM_CLOSE, 0, 0);
  bool sawDialog = false;
  const double deadline = NowMs() + kWindowTimeoutMs;
  while (IsRunning(program) && NowMs() < deadline) {
    if (FindTopWindow(program.pid, text::kResults) || FindTopWindow(program.pid, text::kWarning)) {
      sawDialog = true;
      if (HWND dialog = FindTopWindow(program.pid, text::kResults)) {
        BringToFront(dialog);
        TypeKey(VK_RETURN);
      }
    }
    Pause(5);
  }
  Expect(!sawDialog, "%s: closing before any right answer shows a dialog", build.name.c_str());
  const std::optional<DWORD> code = WaitExit(program, 0);
  Require(code.has_value(), "%s still runs %d ms after its window was closed", build.name.c_str(),
          kWindowTimeoutMs);
  Expect(*code == 0, "%s exited with code %lu", build.name.c_str(), *code);
  Expect(NewLogFiles().empty(), "%s wrote a log without a right answer", build.name.c_str());
  Expect(!FontFileExists(), "KORVEN.ttf is left in the temporary directory");
}

void Session::Quit() {
  PostMessageW(view.form, WM_CLOSE, 0, 0);
  Require(WaitExit(program, kWindowTimeoutMs).has_value(),
          "%s still runs %d ms after its window was closed", build.name.c_str(), kWindowTimeoutMs);
}

std::vector<std::wstring> Session::NewLogFiles() const {
  std::vector<std::wstring> added;
  for (std::wstring& name : LogFiles(program.dir)) {
    if (std::find(logsBefore.begin(), logsBefore.end(), name) == logsBefore.end())
      added.push_back(std::move(name));
  }
  return added;
}

void Session::FinishRun(const RunEnd& end) {
  if (end.expectWarning) {
    HWND warning = WaitTopWindow(program.pid, text::kWarning, kWindowTimeoutMs);
    Require(warning != nullptr, "%s shows no warning box for the log it cannot write",
            build.name.c_str());
    Expect(!FindTopWindow(program.pid, text::kResults),
           "%s shows the results dialog before the warning box", build.name.c_str());
    bool textFound = false;
    for (HWND child : DirectChildren(warning))
      textFound |= HasClass(child, L"STATIC") && TextOf(child) == text::kLogFailed;
    Expect(textFound, "%s: the warning box reads %s", build.name.c_str(),
           StaticTexts(warning).c_str());
    Screenshot(warning, build.name + "-warning.png");
    Require(BringToFront(warning), "cannot bring the warning box to the front");
    TypeKey(VK_RETURN);
    Expect(WaitGone(warning, 3000), "%s: Enter does not close the warning box", build.name.c_str());
  }
  HWND dialog = WaitTopWindow(program.pid, text::kResults, kWindowTimeoutMs);
  Require(dialog != nullptr, "%s shows no results dialog after %d right answers",
          build.name.c_str(), SolvedCount());
  const std::vector<std::wstring> logs = NewLogFiles();
  std::optional<PracticeLog> log;
  if (end.expectWarning) {
    Expect(logs.empty(), "%s wrote a log where it could not", build.name.c_str());
  } else if (Expect(logs.size() == 1, "%s left %zu log files instead of one", build.name.c_str(),
                    logs.size())) {
    log = ReadLog(program.dir, logs.front());
    if (log) CheckLog(*log, end.separators);
  }
  CheckDialog(dialog, log ? &*log : nullptr);
  if (end.describe) {
    Say("the results dialog \"%s\":", Utf8(TextOf(dialog)).c_str());
    for (const auto& row : ReadResults(dialog).rows) {
      std::string line;
      for (const std::wstring& cell : row)
        line += (line.empty() ? "" : "  ") + Utf8(cell);
      Say("  %s", line.c_str());
    }
  }
  if (!end.screenshot.empty()) Screenshot(dialog, end.screenshot);
  Expect(!IsWindowEnabled(view.form), "%s: the main window takes input behind the dialog",
         build.name.c_str());
  Expect(!IsWindowEnabled(view.button), "%s: the quit button is not greyed behind the dialog",
         build.name.c_str());
  Require(BringToFront(dialog), "cannot bring the results dialog to the front");
  TypeKey(VK_RETURN);
  CheckExit(end);
}

void Session::EndSession() {
  // As the system does at log-off: the query, then the end, to each top-level window.
  DWORD_PTR allowed = 0;
  const LRESULT answered = SendMessageTimeoutW(view.form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                               SMTO_ABORTIFHUNG, 5000, &allowed);
  Expect(answered != 0 && allowed == TRUE, "%s stands in the way of the log-off",
         build.name.c_str());
  // The program ends itself while it handles this one, so no answer is awaited.
  SendMessageTimeoutW(view.form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000,
                      nullptr);
  bool sawDialog = false;
  const double deadline = NowMs() + kWindowTimeoutMs;
  while (IsRunning(program) && NowMs() < deadline) {
    sawDialog |= FindTopWindow(program.pid, text::kResults) != nullptr;
    Pause(5);
  }
  Expect(!sawDialog, "%s shows the results dialog to a user who logs off", build.name.c_str());
  const std::optional<DWORD> code = WaitExit(program, 0);
  Require(code.has_value(), "%s still runs %d ms after the session ended", build.name.c_str(),
          kWindowTimeoutMs);
  Expect(*code == 0, "%s exited with code %lu", build.name.c_str(), *code);
  const std::vector<std::wstring> logs = NewLogFiles();
  if (Expect(logs.size() == 1, "%s left %zu log files at the log-off instead of one",
             build.name.c_str(), logs.size())) {
    if (std::optional<PracticeLog> log = ReadLog(program.dir, logs.front()))
      CheckLog(*log, std::nullopt);
  }
  Expect(!FontFileExists(), "KORVEN.ttf is left in the temporary directory after the log-off");
}

void Session::CheckExit(const RunEnd& end) {
  const std::optional<DWORD> code = WaitExit(program, kWindowTimeoutMs);
  Require(code.has_value(), "%s still runs %d ms after Enter on the results dialog",
          build.name.c_str(), kWindowTimeoutMs);
  Expect(*code == 0, "%s exited with code %lu", build.name.c_str(), *code);
  if (!end.otherInstanceRunning)
    Expect(!FontFileExists(), "KORVEN.ttf is left in the temporary directory");
}

void Session::CheckLog(const PracticeLog& log, const std::optional<LogSeparators>& separators) {
  const std::string& name = build.name;
  const drill::LoggedRun& run = log.run;
  Expect(run.kind == build.kind, "%s: the log's header names the other drill", name.c_str());
  Expect(run.focus == build.focus, "%s: the log's title %s", name.c_str(),
         build.focus ? "does not name a focus run" : "names a focus run");
  Expect(run.headerCount == SolvedCount(), "%s: the log's header counts %d, %d were solved",
         name.c_str(), run.headerCount, SolvedCount());
  Expect(run.answers.size() == solved.size(), "%s: the log has %zu problem lines, %zu expected",
         name.c_str(), run.answers.size(), solved.size());
  const platform::DateTime& start = run.start;
  const int year = static_cast<int>(start.date.year);
  const double startSeconds = static_cast<double>(start.Seconds());
  Expect(startSeconds >= std::floor(program.startLocal.Seconds()) - 1 &&
             startSeconds <= firstSeenLocal.Seconds() + 1,
         "%s: the log's start %04d-%02d-%02d %02d:%02d:%02d lies outside the program's start",
         name.c_str(), year, start.date.month, start.date.day, start.hour, start.minute,
         start.second);
  if (separators) {
    const std::string date = Separator(separators->date);
    const std::string time = Separator(separators->time);
    const std::string header =
        drill::LogHeaderLine(build.kind,
                             Format("%04d%s%02d%s%02d", year, date.c_str(), start.date.month,
                                    date.c_str(), start.date.day),
                             Format("%02d%s%02d%s%02d", start.hour, time.c_str(), start.minute,
                                    time.c_str(), start.second),
                             run.headerCount, build.focus);
    Expect(log.lines[0] + std::string(drill::kLogLineEnd) == header,
           "%s: the log's header %s is not %s", name.c_str(), Cp932ForReport(log.lines[0]).c_str(),
           Cp932ForReport(WithoutLineEnd(header)).c_str());
  }
  double worstBelow = 0, worstAbove = 0;
  for (size_t k = 0; k < std::min(run.answers.size(), solved.size()); ++k) {
    const drill::LoggedAnswer& answer = run.answers[k];
    const SolvedProblem& expected = solved[k];
    const int line = static_cast<int>(k) + 2;
    // The problem byte for byte as the screen showed it.
    const std::string& written = log.lines[k + 1];
    const std::string field = written.substr(0, written.find(drill::kLogFieldSeparator));
    Expect(field == drill::LogProblemField(expected.problem),
           "%s: log line %d has the problem %s; the screen showed %s", name.c_str(), line,
           Cp932ForReport(field).c_str(),
           Cp932ForReport(drill::LogProblemField(expected.problem)).c_str());
    Expect(answer.misses >= expected.missesLow && answer.misses <= expected.missesHigh,
           "%s: log line %d has %d misses, %d%s expected", name.c_str(), line, answer.misses,
           expected.missesLow, expected.missesHigh > expected.missesLow ? " or 1" : "");
    const double difference = static_cast<double>(answer.milliseconds) - expected.measuredMs;
    worstBelow = std::min(worstBelow, difference);
    worstAbove = std::max(worstAbove, difference);
    Expect(difference >= -kTimeSlackBelowMs && difference <= kTimeSlackAboveMs,
           "%s: log line %d has the time %u ms, the driver measured %.0f ms", name.c_str(), line,
           answer.milliseconds, expected.measuredMs);
    if (separators) {
      const std::string whole = drill::LogProblemLine(
          expected.problem, LogSolvingTime(answer.milliseconds, separators->time), answer.misses);
      Expect(written + std::string(drill::kLogLineEnd) == whole, "%s: log line %d is %s, not %s",
             name.c_str(), line, Cp932ForReport(written).c_str(),
             Cp932ForReport(WithoutLineEnd(whole)).c_str());
    }
  }
  Say("%s: log %s checked, %zu lines; logged times lie %.0f to %+.0f ms from the driver's",
      name.c_str(), Utf8(log.fileName).c_str(), run.answers.size() + 1, worstBelow, worstAbove);
}

void Session::CheckDialog(HWND dialog, const PracticeLog* log) {
  const std::string& name = build.name;
  // The texts are filled in when the dialog is activated.
  const double deadline = NowMs() + 3000;
  ResultsView results = ReadResults(dialog);
  auto unfilled = [&] {
    for (const auto& row : results.rows)
      for (const auto& cell : row)
        if (cell.rfind(L"StaticText", 0) == 0) return true;
    return false;
  };
  while (unfilled() && NowMs() < deadline) {
    Pause(10);
    results = ReadResults(dialog);
  }

  const SIZE client = ClientSize(dialog);
  Expect(client.cx == 359 && client.cy == 207, "%s: the results dialog's client area is %ld x %ld",
         name.c_str(), client.cx, client.cy);
  const RECT main = ScreenRect(view.form);
  const RECT box = ScreenRect(dialog);
  const int left = std::max<int>(0, main.left + (Width(main) - Width(box)) / 2);
  const int top = std::max<int>(0, main.top + (Height(main) - Height(box)) / 2);
  Expect(box.left == left && box.top == top,
         "%s: the results dialog stands at (%ld, %ld), centred over the main window is (%d, %d)",
         name.c_str(), box.left, box.top, left, top);
  Expect(results.button && TextOf(results.button) == text::kQuit,
         "%s: the results dialog has no button %s", name.c_str(), Utf8(text::kQuit).c_str());
  Expect(results.button && FocusOf(dialog) == results.button,
         "%s: the results dialog's button does not hold the focus", name.c_str());
  if (!Expect(results.rows.size() == 4, "%s: the results dialog shows %zu rows of texts",
              name.c_str(), results.rows.size()))
    return;
  static const wchar_t* const kLabels[4] = {text::kStartTime, text::kTimeTaken, text::kProblemCount,
                                            text::kAverageTime};
  std::array<std::wstring, 4> values;
  for (int row = 0; row < 4; ++row) {
    const auto& cells = results.rows[row];
    Expect(cells.size() == 2 && cells[0] == kLabels[row], "%s: results row %d reads %s",
           name.c_str(), row + 1, Utf8(cells.empty() ? L"" : cells[0]).c_str());
    if (cells.size() == 2) values[row] = cells[1];
  }
  const int count = SolvedCount();
  Expect(values[2] == std::to_wstring(count), "%s: the dialog counts %s problems, %d solved",
         name.c_str(), Utf8(values[2]).c_str(), count);

  if (log) {
    const platform::DateTime& start = log->run.start;
    Expect(values[0] == DialogStart(start), "%s: the dialog's start %s, the log's %s", name.c_str(),
           Utf8(values[0]).c_str(), Utf8(DialogStart(start)).c_str());
    // The program times each problem finer than a millisecond and rounds each line and
    // the total on their own, so the total may differ from the lines' sum by half a
    // millisecond per line.
    long long logSum = 0;
    for (const drill::LoggedAnswer& answer : log->run.answers)
      logSum += answer.milliseconds;
    const std::optional<long long> total = ParseDialogDuration(values[1]);
    Expect(total && std::llabs(*total - logSum) * 2 <= count,
           "%s: the dialog's total %s, the log's times add up to %s", name.c_str(),
           Utf8(values[1]).c_str(), Utf8(DialogDuration(logSum)).c_str());
    const std::optional<long long> average = ParseDialogDuration(values[3]);
    Expect(total && average && count > 0 && std::llabs(*average * count - *total) <= count,
           "%s: the dialog's average %s does not go with its total %s", name.c_str(),
           Utf8(values[3]).c_str(), Utf8(values[1]).c_str());
    if (total)
      Say("%s: dialog total %lld ms, the log's lines add up to %lld ms", name.c_str(), *total,
          logSum);
    return;
  }
  // Without a log the driver's own record must do.
  bool startFound = false;
  const SYSTEMTIME from = AddSeconds(program.startLocal.time, -1);
  for (int s = 0; s <= firstSeenLocal.Seconds() - program.startLocal.Seconds() + 2; ++s)
    startFound |= values[0] == DialogStart(StartTimeOf(AddSeconds(from, s)));
  Expect(startFound, "%s: the dialog's start %s is not the program's start", name.c_str(),
         Utf8(values[0]).c_str());
  double measured = 0;
  for (const SolvedProblem& p : solved)
    measured += p.measuredMs;
  const std::optional<long long> total = ParseDialogDuration(values[1]);
  Expect(total && *total >= measured - kTimeSlackBelowMs * count &&
             *total <= measured + kTimeSlackAboveMs * count,
         "%s: the dialog's total %s, the driver measured %.0f ms", name.c_str(),
         Utf8(values[1]).c_str(), measured);
  const std::optional<long long> average = ParseDialogDuration(values[3]);
  Expect(total && average && count > 0 && std::llabs(*average * count - *total) <= count,
         "%s: the dialog's average %s does not go with its total %s", name.c_str(),
         Utf8(values[3]).c_str(), Utf8(values[1]).c_str());
}

}  // namespace e2e
