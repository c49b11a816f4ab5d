// Shared set-up for tests that run the drill on the in-memory backend: a fresh process
// state, a main window shown at a fixed seed, and a typist who answers.
#pragma once

#include <string>

#include "app/variants.h"
#include "drill/drill_state.h"
#include "drill/random.h"
#include "drill/time_text.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "ui/form1.h"
#include "ui/form2.h"

namespace testing_support {

// A new process: nothing registered, DrillState zeroed, the clock at 2024-03-05
// 09:07:02.345 local, which is 00:07:02.345 UTC; seeds come from SetUtcTimeOfDay.
inline void FreshProcess() {
  headless::Reset();
  ReadLocaleSeparators();
  Drill = DrillState{};
  RandomSeed = 0;
}

// Puts the UTC clock at h:m:s.ms on 2024-03-05 (local time nine hours later).
inline void SetUtcTimeOfDay(int h, int m, int s, int ms) {
  headless::Get().utcOffsetMinutes = 0;
  headless::SetLocalTime({2024, 3, 5, h, m, s, ms});
}

// Creates both windows as start-up does and shows the main one: problem 1 is open.
inline TForm1& StartDrill(const drill::DrillVariant& variant) {
  platform::Application& app = platform::TheApp();
  app.SetTitle(variant.title);
  TForm1& form = app.CreateForm<TForm1>(variant);
  app.CreateForm<TForm2>();
  platform::backend::ShowMainForm(form);
  return form;
}

// The digit hidden in the open problem.
inline char ExpectedKey() {
  return static_cast<char>('0' + Drill.ExpectedAnswer);
}
inline char WrongKey() {
  return static_cast<char>('0' + (Drill.ExpectedAnswer + 1) % 10);
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
  headless::Get().idle = [] {
    if (!Form2 || !Form2->Showing()) return false;
    Form2->SetModalResult(platform::ModalResult::kCancel);
    return true;
  };
}

}  // namespace testing_support
