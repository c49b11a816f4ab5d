// The in-memory event loop: events run from the queue the tests fill, with the forms' key
// preview and the layer's keyboard navigation; the main loop and the modal loops.
#include "platform/headless/headless_window.h"

#include <string>
#include <utility>

#include "platform/backend.h"
#include "platform/navigation.h"

namespace headless {

platform::Form* InputForm() {
  return Machine().modal ? Machine().modal : platform::TheApp().MainForm();
}

bool Drain() {
  bool any = false;
  while (!Machine().queue.empty()) {
    auto event = std::move(Machine().queue.front());
    Machine().queue.pop_front();
    event();
    any = true;
  }
  return any;
}

void Loop(const std::function<bool()>& done) {
  while (!done()) {
    if (!Machine().queue.empty()) {
      auto event = std::move(Machine().queue.front());
      Machine().queue.pop_front();
      event();
    } else if (!(Machine().idle && Machine().idle())) {
      Machine().stalled = true;
      Trace("stalled");
      return;
    }
  }
}

void DeliverKeyDown(platform::Key key) {
  platform::Form* form = InputForm();
  if (!form || !form->Enabled()) return;
  if (key == platform::Key::kShift) Machine().shiftDown = true;
  platform::Navigate(*form, form->PreviewKeyDown(key), {.shift = Machine().shiftDown});
}

void DeliverChar(char ch) {
  platform::Form* form = InputForm();
  if (form && form->Enabled()) form->PreviewChar(ch);
}

void DeliverKeyUp(platform::Key key) {
  platform::Form* form = InputForm();
  if (!form || !form->Enabled()) return;
  if (key == platform::Key::kShift) Machine().shiftDown = false;
  platform::Key left = form->PreviewKeyUp(key);
  platform::Control* focus = form->ActiveControl();
  // A push button clicks when Space is released over it.
  if (left == platform::Key::kSpace && focus && focus->Kind() == platform::ControlKind::kButton) {
    focus->Click();
  }
}

}  // namespace headless

namespace platform::backend {

using headless::Machine;

void RunLoop(Application& app) {
  headless::Loop([&] { return app.Terminated(); });
}

void ProcessMessages(Application&) {
  headless::Trace("process");
  headless::Drain();
}

void PostQuit() {
  headless::Trace("quit");
}

void ExitProcess(int code) {
  headless::Trace("exit " + std::to_string(code));
}

void RunModal(Application& app, Form& form) {
  headless::Trace("modal " + form.Name());
  Form* previous = Machine().modal;
  Form* main = app.MainForm();
  bool mainWasEnabled = main && main->Enabled();
  if (main && main != &form) main->SetEnabled(false);
  headless::Machine().modal = &form;
  form.NoteShowing(true);
  form.SetVisible(true);
  if (!form.ActiveControl()) form.SelectNext(true);
  form.DispatchActivate();
  headless::Loop([&] { return form.GetModalResult() != ModalResult::kNone || app.Terminated(); });
  form.SetVisible(false);
  form.NoteShowing(false);
  headless::Machine().modal = previous;
  if (main && main != &form) main->SetEnabled(mainWasEnabled);
  headless::Trace("modal end " + form.Name());
}

}  // namespace platform::backend
