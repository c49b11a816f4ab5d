// The in-memory windowing: a peer per control with nothing behind it, and the showing of the
// main form and of message boxes, which are recorded instead.
#include "platform/headless/headless_window.h"

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/backend.h"

namespace headless {

HeadlessControl& Peer(platform::Control& control) {
  if (!control.Native()) control.SetNative(std::make_unique<HeadlessControl>());
  return static_cast<HeadlessControl&>(*control.Native());
}

}  // namespace headless

namespace platform::backend {

using headless::Machine;

Size BorderSize() {
  return {1, 1};
}

void CreateNative(Control& control) {
  if (Machine().failWindowCreation) {
    throw std::runtime_error("Cannot create the window " + control.Name());
  }
  headless::Peer(control);
}
void DestroyNative(Control& control) {
  control.SetNative(nullptr);
}
void UpdateBounds(Control&) {}
void UpdateCaption(Control&) {}
void UpdateFont(Control& control) {
  Machine().fontObjects.insert(control.GetFont().name);
}
void UpdateEnabled(Control&) {}
void UpdateVisible(Control&) {}
void UpdateFocus(Form&, Control*) {}

void SetApplicationTitle(std::string_view title) {
  Machine().title = std::string(title);
}

void ShowMainForm(Form& form) {
  form.NoteShowing(true);
  form.SetVisible(true);
  const FormDescription& d = form.Description();
  if (d.windowState == WindowState::kMaximized) {
    // No frame in memory: the maximised window is its client area at the screen's origin.
    form.NoteBounds(0, 0, Machine().maximizedClient.width, Machine().maximizedClient.height);
    form.NoteClientSize(Machine().maximizedClient.width, Machine().maximizedClient.height);
  } else {
    form.NoteClientSize(form.ClientWidth(), form.ClientHeight());
  }
  form.DispatchActivate();
}

void MessageBox(std::string_view text, std::string_view caption, MessageKind kind) {
  headless::MessageBoxRecord record{std::string(text), std::string(caption), kind};
  headless::Trace("messagebox " + record.caption);
  Machine().messageBoxes.push_back(record);
  if (Machine().onMessageBox) Machine().onMessageBox(record);
}

}  // namespace platform::backend
