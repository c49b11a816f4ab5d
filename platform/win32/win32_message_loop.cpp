// The Win32 message loop: one message step with the forms' key preview and keyboard
// navigation, the main loop, the processing of pending messages and the modal loops.
#include "platform/win32/win32_window.h"

#include "platform/backend.h"
#include "platform/navigation.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_values.h"

namespace platform {

namespace {

// Whether a key message goes on after the form's handlers: not when they swallowed the key;
// with the code of the named key they turned it into; otherwise as it came (a key the layer
// calls kOther has no one code to give back).
bool PassedOn(Key left, MSG& msg) {
  if (left == Key::kNone) return false;
  if (left != win32::KeyOf(msg.wParam) && left != Key::kOther)
    msg.wParam = win32::VirtualKeyOf(left);
  return true;
}

// Key preview: the form's handlers see each key before the window it was typed into. False
// when a handler swallowed it.
bool PreviewKey(Form& form, MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return PassedOn(form.PreviewKeyDown(win32::KeyOf(msg.wParam)), msg);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return PassedOn(form.PreviewKeyUp(win32::KeyOf(msg.wParam)), msg);
    case WM_CHAR:
      // The handlers take CP932 bytes, as an ANSI window on a Japanese Windows would get
      // them: a double-byte character as its two bytes, one after the other.
      for (char byte : win32::TypedCharBytes(static_cast<wchar_t>(msg.wParam))) {
        if (form.PreviewChar(byte) == 0) return false;
      }
      return true;
    default:
      return true;
  }
}

// The layer's keyboard navigation (the one the in-memory backend uses too) on the key the
// preview left, for keys typed without Alt: the WM_SYSKEYDOWN ones are the window system's.
// True when the key was used up here.
bool NavigationKey(Form& form, const MSG& msg) {
  if (msg.message != WM_KEYDOWN) return false;
  const KeyModifiers modifiers{
      .shift = GetKeyState(VK_SHIFT) < 0,
      .controlOrAlt = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0,
      // Bit 30 of a key-down message: the key was down already (auto-repeat).
      .repeated = (msg.lParam & (1L << 30)) != 0,
  };
  const Key key = win32::KeyOf(msg.wParam);
  const NavigationStep step = NavigationStepOf(key, modifiers);
  if (step == NavigationStep::kNone) return false;
  HWND formWindow = WindowOf(form);
  if (step != NavigationStep::kSwallow) RememberFocus(form, formWindow);
  Navigate(form, key, modifiers);
  if (step == NavigationStep::kNext || step == NavigationStep::kPrevious) {
    // From the first keyboard navigation on, the focused button shows its focus frame.
    SendMessageW(formWindow, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  }
  return true;
}

enum class Pumped { kMessage, kEmpty, kQuit };

// Takes one message (waiting for it, or not) and handles it: key preview and navigation
// for the forms' windows, then the window procedure. The one message step of RunLoop,
// ProcessMessages and RunModal.
Pumped PumpMessage(bool wait, WPARAM& quitCode) {
  MSG msg;
  if (wait) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      quitCode = msg.wParam;
      return Pumped::kQuit;
    }
  } else if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    return Pumped::kEmpty;
  } else if (msg.message == WM_QUIT) {
    quitCode = msg.wParam;
    return Pumped::kQuit;
  }
  if (Form* form = FormOfWindow(msg.hwnd)) {
    if (!PreviewKey(*form, msg) || NavigationKey(*form, msg)) return Pumped::kMessage;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  return Pumped::kMessage;
}

}  // namespace

namespace backend {

void RunLoop(Application& app) {
  WPARAM quitCode = 0;
  // Once termination is requested nothing more is waited for: the loop ends at the quit
  // message or when the queue is empty, whichever comes first.
  while (PumpMessage(!app.Terminated(), quitCode) == Pumped::kMessage) {
  }
}

void ProcessMessages(Application&) {
  WPARAM quitCode = 0;
  for (;;) {
    Pumped pumped = PumpMessage(false, quitCode);
    if (pumped == Pumped::kEmpty) return;
    if (pumped == Pumped::kQuit) {
      PostQuitMessage(static_cast<int>(quitCode));  // for the loop that waits for it
      return;
    }
  }
}

void ExitProcess(int code) {
  ::ExitProcess(static_cast<UINT>(code));
}

void PostQuit() {
  PostQuitMessage(0);
}

void RunModal(Application& app, Form& form) {
  HWND hwnd = WindowOf(form);
  if (!hwnd) return;
  Form* main = app.MainForm();
  bool disablesMain = main && main != &form;
  bool mainWasEnabled = disablesMain && main->Enabled();
  if (disablesMain) main->SetEnabled(false);
  form.NoteShowing(true);
  ShowWindow(hwnd, SW_SHOW);
  form.SetVisible(true);
  SetActiveWindow(hwnd);
  WPARAM quitCode = 0;
  while (form.GetModalResult() == ModalResult::kNone && !app.Terminated()) {
    if (PumpMessage(true, quitCode) == Pumped::kQuit) {
      PostQuitMessage(static_cast<int>(quitCode));  // for the outer loop
      break;
    }
  }
  // The main window is enabled before the dialog goes, so that it takes the activation at
  // once instead of another application's window coming to the front.
  if (disablesMain) main->SetEnabled(mainWasEnabled);
  form.SetVisible(false);
  form.NoteShowing(false);
}

}  // namespace backend

}  // namespace platform
