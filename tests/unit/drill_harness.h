// Shared set-up for tests that run the drill on the in-memory backend: a fresh process
// state, a main window shown at a fixed seed, and a typist who answers.
#pragma once

#include <string>

#include "app/variants.h"
#include "drill/practice_run.h"
#include "drill/time_text.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "ui/main_window.h"
#include "ui/results_dialog.h"

namespace testing_support {

// The separators the test's windows format with, read as start-up reads them.
inline drill::TimeTextSeparators& Separators() {
  static drill::TimeTextSeparators separators;
  return separators;
}

// A new process: nothing registered, no windows, the clock at 2024-03-05 09:07:02.345
// local, which is 00:07:02.345 UTC; seeds come from SetUtcTimeOfDay.
inline void FreshProcess() {
  headless::Reset();
  Separators() = drill::ReadTimeTextSeparators();
}

// Puts the UTC clock at h:m:s.ms on 2024-03-05 (local time nine hours later).
inline void SetUtcTimeOfDay(int h, int m, int s, int ms) {
  headless::Machine().utcOffsetMinutes = 0;
  headless::SetLocalTime({{2024, 3, 5}, h, m, s, ms});
}

// Creates both windows as start-up does, without showing them.
inline ui::MainWindow& CreateWindows(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  app.SetTitle(variant.title);
  ui::MainWindow& window = app.CreateForm<ui::MainWindow>(variant, Separators());
  window.ShowResultsIn(app.CreateForm<ui::ResultsDialog>());
  return window;
}

// Creates both windows and shows the main one: problem 1 is open.
inline ui::MainWindow& StartDrill(const drill::DrillVariant& variant) {
  ui::MainWindow& window = CreateWindows(variant);
  platform::backend::ShowMainForm(window);
  window.OnShown(window);
  return window;
}

// The windows of the program under test, however it was started.
inline ui::MainWindow& Main() {
  return static_cast<ui::MainWindow&>(*platform::TheApp().MainForm());
}
inline ui::ResultsDialog* Results() {
  return platform::TheApp().MainForm() ? Main().Results() : nullptr;
}
inline const drill::PracticeRun& CurrentRun() {
  return Main().Run();
}
// The record of the open problem.
inline const drill::ProblemRecord& Open() {
  return *CurrentRun().CurrentProblem();
}

// The digit hidden in the open problem, and one that is not.
inline int ExpectedAnswer() {
  return CurrentRun().CurrentProblem()->problem.Answer();
}
inline char ExpectedKey() {
  return static_cast<char>('0' + ExpectedAnswer());
}
inline char WrongKey() {
  return static_cast<char>('0' + (ExpectedAnswer() + 1) % 10);
}

// Answers the open problem of a run with no window rightly at monotonic time `now` and opens
// the next one, as the window does after the feedback.
inline void AnswerRight(drill::PracticeRun& run, drill::TimeValue now) {
  const char key = static_cast<char>('0' + run.CurrentProblem()->problem.Answer());
  run.JudgeKey(key, now);
  if (run.FinishJudging()) run.OpenNextProblem(now);
  run.ReleaseKey();
}

// Presses a key and lets the judging run, then releases it as a person does, after the
// feedback; returns once both have been handled.
inline void TypeKey(char key) {
  headless::PostKeyDown(headless::KeyOfChar(key));
  headless::PostChar(key);
  headless::DeliverPending();
  headless::PostKeyUp(headless::KeyOfChar(key));
  headless::DeliverPending();
}

// Whenever the loop waits while the results dialog is up, the dialog is dismissed.
inline void DismissResultsWhenShown() {
  headless::Machine().idle = [] {
    if (!Results() || !Results()->Showing()) return false;
    Results()->SetModalResult(platform::ModalResult::kCancel);
    return true;
  };
}

}  // namespace testing_support
