// One key press gives one answer: KeyHeld refuses every further character until a release
// is seen outside the judging (Busy false).
#include "drill/answer.h"

#include <string>

#include "drill/drill_state.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace drill {

namespace {

constexpr int kRightPauseMs = 400;
constexpr int kWrongPauseMs = 500;
constexpr char kRightSound[] = "#101";
constexpr char kWrongSound[] = "#102";

void ShowTypedKey(platform::Image& answerBox, platform::Color color) {
  platform::Canvas& canvas = answerBox.GetCanvas();
  canvas.font.color = color;
  canvas.TextOut(4, 4, Drill.TypedKey);
  // Let the box repaint now: the digit must be on screen before the sound and the pause.
  platform::TheApp().ProcessMessages();
}

void EraseBox(platform::Image& answerBox) {
  answerBox.GetCanvas().Rectangle(0, 0, answerBox.Width(), answerBox.Height());
}

}  // namespace

void JudgeKeyPress(char key, platform::Image& answerBox, const std::function<void()>& nextProblem,
                   const std::function<void()>& closeWindow) {
  // Before the first layout there is no open problem, and no record 0 to judge against.
  if (Drill.KeyHeld || key < '0' || key > '9' || Drill.RunEnded || Drill.ProblemNumber < 1) return;
  Drill.KeyHeld = true;
  Drill.Busy = true;
  Drill.TypedKey = std::string(1, key);
  int judged = Drill.ProblemsOpened;

  if (Drill.TypedKey[0] - '0' == Drill.ExpectedAnswer) {
    Drill.LastClock = ReadClock();
    TLogRec& record = Drill.ProblemTable[Drill.ProblemNumber];
    record.Time = ReadMonotonicClock() - record.Opened;
    record.Solved = true;
    Drill.AnswerInFlight = true;
    ShowTypedKey(answerBox, platform::kBlack);
    // A close handled while the digit was being shown has counted this answer already.
    if (!Drill.RunEnded) {
      platform::PlaySoundResource(kRightSound);
      CountAnswerInFlight();
      platform::Sleep(kRightPauseMs);
      if (Drill.RightCount >= kProblemsPerRun) closeWindow();
      EraseBox(answerBox);
      // A layout during the feedback may already have opened the next problem.
      if (Drill.RightCount < kProblemsPerRun && Drill.ProblemTable[Drill.ProblemNumber].Solved) {
        nextProblem();
      }
    }
  } else {
    ShowTypedKey(answerBox, platform::kRed);
    if (!Drill.RunEnded) {
      platform::PlaySoundResource(kWrongSound);
      // The miss belongs to the problem judged, not to one a layout opened meanwhile.
      if (Drill.ProblemsOpened == judged) ++Drill.ProblemTable[Drill.ProblemNumber].Misses;
      platform::Sleep(kWrongPauseMs);
      EraseBox(answerBox);
    }
  }
  Drill.Busy = false;
}

void CountAnswerInFlight() {
  if (!Drill.AnswerInFlight) return;
  Drill.AnswerInFlight = false;
  ++Drill.RightCount;
}

void ReleaseKey() {
  if (!Drill.Busy) Drill.KeyHeld = false;
}

}  // namespace drill
