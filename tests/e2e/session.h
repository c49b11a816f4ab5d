// One running drill program under the driver's hands: it starts the program, follows the
// problems on screen, types answers as a person does and keeps the record against which
// the practice log and the results dialog are checked at the end.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/drill_view.h"
#include "tests/e2e/harness.h"

namespace e2e {

// What the driver expects of one line of the log.
struct SolvedProblem {
  drill::Problem problem;
  int missesLow = 0;      // the misses the log may show: exactly one value unless a key's
  int missesHigh = 0;     // judging depended on the timing of its release
  double measuredMs = 0;  // from the problem first seen to its right key going down
};

// The regional separators of the log's dates and times; 0 for none.
struct LogSeparators {
  char date = '/';
  char time = ':';
};

struct RunEnd {
  bool expectWarning = false;         // the log cannot be written
  bool otherInstanceRunning = false;  // the font file may stay while another one runs
  std::string screenshot;             // file name of the dialog's screenshot, empty for none
  bool describe = false;              // report the results dialog's texts
  // When set, every line of the log must be the very bytes the drill's writer gives with
  // these separators.
  std::optional<LogSeparators> separators = std::nullopt;
};

class Session {
 public:
  // Starts the program in dir and waits for problem 1 on screen; with waitForPaint also
  // until the answer box and the digits are painted.
  Session(const BuildInfo& build, const std::wstring& dir, bool waitForPaint = false);
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  // Ends a program that is still running; a scenario that went well has seen it exit.
  ~Session();

  const BuildInfo& Build() const { return build; }
  const Running& Program() const { return program; }
  const MainView& View() const { return view; }
  const ScreenProblem& Open() const { return open; }
  // The problem on screen as the drill asks it, and its answer.
  drill::Problem Asked() const;
  int OpenAnswer() const { return Asked().Answer(); }
  int SolvedCount() const { return static_cast<int>(solved.size()); }
  double FirstProblemMs() const { return firstProblemMs; }
  double FirstPaintMs() const { return firstPaintMs; }

  void Focus();
  // Types the open problem's answer (key vk, default the digit's main key) and waits for
  // the next problem; after the 100th answer it returns at once.
  void AnswerRight(WORD vk = 0, int holdMs = kKeyHoldMs);
  // Types a wrong digit and waits out the feedback; the problem must stay. A screenshot of
  // the window is taken while the feedback shows when a file name is given.
  void AnswerWrong(const std::string& screenshot = "");
  // Types a right or a wrong digit and returns the time until the digit shows in the box.
  double MeasureKeyToDigit(bool right);
  // Holds a digit key down with auto-repeat before releasing it.
  void HoldDigit(int digit, int repeats);
  // Types keys that are no digits; nothing may change.
  void TypeNonDigits(const std::vector<WORD>& keys);
  // A right answer followed, while its feedback shows, by the same key once more.
  void DoubleTypeRight();
  // Types the open problem's answer once; true when it was judged, false when the program
  // refused it (the entry was not armed).
  bool TryRight();
  // Waits until the program is back in its loop after a key typed at keyMs, then reads the
  // problem; expectChange says whether a new problem must have been opened.
  void Settle(double keyMs, int feedbackMs, bool expectChange);

  void PressQuitButton();
  void PressQuitByKeyboard();  // Tab to the quit button, then Enter
  void CloseBox();             // the close box's command
  // Checks the end of a run with at least one right answer: the warning box if expected,
  // the log, the results dialog (dismissed with Enter), the exit and the font file.
  void FinishRun(const RunEnd& end);
  // Checks the end of a run without a right answer: no log, no dialog, exit 0.
  void FinishWithoutAnswer();
  // Logs the user off as the system does, and checks that the run is kept: the log of the
  // solved problems, no dialog, exit 0, the font file gone.
  void EndSession();

  void Screenshot(HWND window, const std::string& fileName);

 private:
  void WaitForProblemOne(bool waitForPaint);
  bool ProblemPainted() const;
  // Reads the problem on screen after a sync; aborts when it is no valid problem.
  ScreenProblem ReadSettled(const char* when);
  void CheckLog(const PracticeLog& log, const std::optional<LogSeparators>& separators);
  void CheckDialog(HWND dialog, const PracticeLog* log);
  void CheckExit(const RunEnd& end);

  BuildInfo build;
  Running program;
  MainView view;
  ScreenProblem open;
  double openSeenMs = 0;
  int openMissesLow = 0;
  int openMissesHigh = 0;
  // False when the program is expected to refuse the next press: the release of the last
  // judged key reached it while that judging ran.
  bool armed = true;
  std::vector<SolvedProblem> solved;
  double firstProblemMs = 0;
  double firstPaintMs = 0;
  LocalStamp firstSeenLocal;
};

// Where screenshots go; empty for none.
extern std::wstring ScreenshotDir;
bool FontFileExists();

}  // namespace e2e
