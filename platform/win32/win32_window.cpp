// The windowing backend on USER: the window classes and procedures of the forms, panels and
// images, a native window per control, and the showing of forms and message boxes.
#include "platform/win32/win32_window.h"

#include <imm.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "platform/backend.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_values.h"
#include "resources/resource_ids.h"

namespace platform {

namespace {

constexpr wchar_t kFormClass[] = L"QuarnForm";
constexpr wchar_t kPanelClass[] = L"QuarnPanel";
constexpr wchar_t kImageClass[] = L"QuarnImage";
// Child ids start above the small ids the system gives meaning to (IDOK, IDCANCEL, ...).
constexpr int kFirstChildId = 100;

ATOM formAtom = 0;

}  // namespace

Win32Control* PeerOf(const Control& control) {
  return static_cast<Win32Control*>(control.Native());
}

HWND WindowOf(const Control& control) {
  Win32Control* peer = PeerOf(control);
  return peer ? peer->window.Get() : nullptr;
}

Control* ControlOf(HWND hwnd) {
  return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Form* FormOfWindow(HWND hwnd) {
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  if (!root || GetClassLongPtrW(root, GCW_ATOM) != formAtom) return nullptr;
  return static_cast<Form*>(ControlOf(root));
}

void FocusActiveControl(Form& form, HWND formWindow) {
  Control* active = form.ActiveControl();
  HWND target = active && active->CanFocus() && WindowOf(*active) ? WindowOf(*active) : formWindow;
  if (GetFocus() != target) SetFocus(target);
}

void RememberFocus(Form& form, HWND formWindow) {
  HWND focus = GetFocus();
  if (!focus || focus == formWindow || !IsChild(formWindow, focus)) return;
  Control* control = ControlOf(focus);
  if (control && control->CanFocus() && control != form.ActiveControl()) {
    form.SetActiveControl(control);
  }
}

namespace {

// Runs a window procedure's work with the application's error box as its safety net: no
// exception may unwind through the system's frames.
template <class F>
LRESULT Guarded(F&& body) {
  LRESULT result = 0;
  TheApp().Guard([&] { result = body(); });
  return result;
}

// Our own window classes get their control through CreateWindowEx's parameter.
Control* Attach(HWND hwnd, UINT message, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  return ControlOf(hwnd);
}

// What a parent hears about its children: the colours of the static texts and buttons, and
// the buttons' clicks.
std::optional<LRESULT> ChildMessage(Control& parent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wParam);
      Control* child = ControlOf(reinterpret_cast<HWND>(lParam));
      COLORREF back = win32::ColorRefOf(parent.GetColor());
      SetTextColor(dc, win32::ColorRefOf(child ? child->GetFont().color : kWindowTextColor));
      SetBkColor(dc, back);
      // The DC brush needs no owner: it lives in the DC the child paints with.
      SetDCBrushColor(dc, back);
      return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
    }
    case WM_COMMAND:
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) {
        if (Control* child = ControlOf(reinterpret_cast<HWND>(lParam))) child->Click();
      }
      return 0;
    default:
      return std::nullopt;
  }
}

LRESULT FormMessage(Form& form, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto result = ChildMessage(form, message, wParam, lParam)) return *result;
  switch (message) {
    case WM_CLOSE:
      form.Close();  // not DefWindowProc: closing is the portable layer's business
      return 0;
    case WM_SYSCOMMAND:
      // Without a window menu there is no close box, and Alt+F4 must not close the form.
      if ((wParam & 0xFFF0) == SC_CLOSE && !form.Description().systemMenu) return 0;
      break;
    case WM_MOVE:
    case WM_SIZE: {
      RECT outer;
      GetWindowRect(hwnd, &outer);
      form.NoteBounds(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
      // A minimised window reports an empty client area, which is nothing to lay out for.
      if (message == WM_SIZE && wParam != SIZE_MINIMIZED) {
        form.NoteClientSize(LOWORD(lParam), HIWORD(lParam));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        RememberFocus(form, hwnd);
      } else if (HIWORD(wParam) == 0) {  // not while minimised
        FocusActiveControl(form, hwnd);
        form.DispatchActivate();
      }
      return 0;
    case WM_SETFOCUS:
      FocusActiveControl(form, hwnd);
      return 0;
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      Fill(reinterpret_cast<HDC>(wParam), client, form.GetColor());
      return 1;
    }
    case WM_QUERYENDSESSION:
      return TRUE;  // never in the way of a log-off: the run is saved when it comes
    case WM_ENDSESSION:
      // Once this message has been answered the system may end the process at any moment,
      // so the run is ended, saved and cleaned up inside it.
      if (wParam && &form == TheApp().MainForm()) TheApp().EndSession();
      return 0;
    case WM_SETTINGCHANGE:
      // Regional settings changes come as "intl" to every top-level window; the main form
      // passes them on once.
      if (lParam != 0 && &form == TheApp().MainForm() && TheApp().OnSettingChange &&
          lstrcmpW(reinterpret_cast<LPCWSTR>(lParam), L"intl") == 0) {
        TheApp().OnSettingChange();
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = Attach(hwnd, message, lParam);
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  return Guarded(
      [&] { return FormMessage(static_cast<Form&>(*control), hwnd, message, wParam, lParam); });
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* panel = Attach(hwnd, message, lParam);
  if (!panel) return DefWindowProcW(hwnd, message, wParam, lParam);
  return Guarded([&]() -> LRESULT {
    if (auto result = ChildMessage(*panel, message, wParam, lParam)) return *result;
    if (message == WM_ERASEBKGND) {
      RECT client;
      GetClientRect(hwnd, &client);
      Fill(reinterpret_cast<HDC>(wParam), client, panel->GetColor());
      return 1;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  });
}

// The image shows its bitmap unscaled at its top-left; what the bitmap does not cover shows
// the parent's colour.
LRESULT CALLBACK ImageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* image = Attach(hwnd, message, lParam);
  if (!image) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_ERASEBKGND) return 1;  // all of it is painted below
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  Win32Control* peer = PeerOf(*image);
  if (peer && peer->canvas) {
    const OffscreenBitmap& canvas = *peer->canvas;
    BitBlt(dc, 0, 0, canvas.size.width, canvas.size.height, canvas.dc.Get(), 0, 0, SRCCOPY);
    ExcludeClipRect(dc, 0, 0, canvas.size.width, canvas.size.height);
  }
  RECT client;
  GetClientRect(hwnd, &client);
  Fill(dc, client, image->Parent() ? image->Parent()->GetColor() : kWindowColor);
  EndPaint(hwnd, &paint);
  return 0;
}

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = FormProc;
  form.hInstance = instance;
  // Without the icon resource the system's default icon stands in.
  const wchar_t* icon = L"" QUARN_TEXT(QUARN_ICON);
  form.hIcon = LoadIconW(instance, icon);
  form.hIconSm =
      static_cast<HICON>(LoadImageW(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                    GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  form.lpszClassName = kFormClass;
  formAtom = RegisterClassExW(&form);

  WNDCLASSEXW child{};
  child.cbSize = sizeof child;
  child.hInstance = instance;
  child.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  child.lpfnWndProc = PanelProc;
  child.lpszClassName = kPanelClass;
  RegisterClassExW(&child);
  child.lpfnWndProc = ImageProc;
  child.lpszClassName = kImageClass;
  RegisterClassExW(&child);
}

HWND CreateFormWindow(Form& form) {
  const FormDescription& d = form.Description();
  // Both frames are fixed: a caption with a thin border (single) or a dialog frame.
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (d.borderStyle == BorderStyle::kDialog) {
    style |= WS_POPUP | WS_DLGFRAME;
    exStyle |= WS_EX_DLGMODALFRAME;
  } else {
    style |= WS_BORDER;
  }
  if (d.systemMenu) style |= WS_SYSMENU;
  RECT outer{0, 0, form.ClientWidth(), form.ClientHeight()};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  // Later forms are owned by the main form: they stay above it and share its task bar entry.
  Form* main = TheApp().MainForm();
  HWND owner = main && main != &form ? WindowOf(*main) : nullptr;
  HWND hwnd =
      CreateWindowExW(exStyle, kFormClass, win32::Widen(form.Caption()).c_str(), style, form.Left(),
                      form.Top(), outer.right - outer.left, outer.bottom - outer.top, owner,
                      nullptr, GetModuleHandleW(nullptr), static_cast<Control*>(&form));
  // No input method for the drill: with the Japanese IME on, typed digits would otherwise
  // go into a composition instead of arriving as characters.
  if (hwnd) ImmAssociateContextEx(hwnd, nullptr, IACE_CHILDREN);
  return hwnd;
}

HWND CreateChildWindow(Control& control) {
  static int nextId = kFirstChildId;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  if (control.TabStop()) style |= WS_TABSTOP;
  const wchar_t* windowClass = nullptr;
  switch (control.Kind()) {
    case ControlKind::kPanel:
      windowClass = kPanelClass;
      style |= WS_CLIPCHILDREN;
      break;
    case ControlKind::kImage:
      windowClass = kImageClass;
      break;
    case ControlKind::kLabel:
    case ControlKind::kStaticText:
      // The window text is the caption, on one line, with "&" as itself.
      windowClass = L"STATIC";
      style |= SS_NOPREFIX |
               (control.GetAlignment() == Alignment::kRight ? SS_RIGHT : SS_LEFTNOWORDWRAP);
      break;
    case ControlKind::kButton:
      windowClass = L"BUTTON";
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::kForm:
      return nullptr;
  }
  HWND hwnd = CreateWindowExW(
      0, windowClass, win32::Widen(control.Caption()).c_str(), style, control.Left(), control.Top(),
      control.Width(), control.Height(), WindowOf(*control.Parent()),
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)), GetModuleHandleW(nullptr), &control);
  if (!hwnd) return nullptr;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(control.GetFont())), FALSE);
  // A new child goes below its siblings; a later control of a description is drawn over
  // the earlier ones (the answer box over the labels), so it is raised.
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return hwnd;
}

}  // namespace

namespace backend {

Size BorderSize() {
  return {GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER)};
}

void CreateNative(Control& control) {
  RegisterClasses();
  bool isForm = control.Kind() == ControlKind::kForm;
  HWND hwnd = isForm ? CreateFormWindow(static_cast<Form&>(control)) : CreateChildWindow(control);
  if (!hwnd) throw std::runtime_error("Cannot create the window " + control.Name());
  auto peer = std::make_unique<Win32Control>();
  peer->window = win32::Window(hwnd);
  control.SetNative(std::move(peer));
  if (isForm) {
    // A form's bounds are its outer rectangle.
    RECT outer;
    GetWindowRect(hwnd, &outer);
    control.NoteBounds(outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top);
  }
}

void DestroyNative(Control& control) {
  // Messages sent while the window goes no longer reach the control.
  if (HWND hwnd = WindowOf(control)) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  control.SetNative(nullptr);
}

void UpdateBounds(Control& control) {
  if (HWND hwnd = WindowOf(control)) {
    SetWindowPos(hwnd, nullptr, control.Left(), control.Top(), control.Width(), control.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void UpdateCaption(Control& control) {
  if (HWND hwnd = WindowOf(control)) SetWindowTextW(hwnd, win32::Widen(control.Caption()).c_str());
}

void UpdateFont(Control& control) {
  HWND hwnd = WindowOf(control);
  if (hwnd && control.Kind() != ControlKind::kForm) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(control.GetFont())), TRUE);
  }
}

void UpdateEnabled(Control& control) {
  if (HWND hwnd = WindowOf(control)) EnableWindow(hwnd, control.Enabled());
}

void UpdateVisible(Control& control) {
  HWND hwnd = WindowOf(control);
  if (!hwnd) return;
  if (!control.Visible()) {
    ShowWindow(hwnd, SW_HIDE);
  } else if (control.Kind() != ControlKind::kForm) {
    ShowWindow(hwnd, SW_SHOWNA);
  } else if (static_cast<Form&>(control).Showing()) {
    ShowWindow(hwnd, SW_SHOW);
  }
}

void UpdateFocus(Form& form, Control*) {
  // Only the active window's focus moves now; another form focuses its active control when
  // it is activated.
  HWND formWindow = WindowOf(form);
  if (formWindow && GetActiveWindow() == formWindow) FocusActiveControl(form, formWindow);
}

void SetApplicationTitle(std::string_view) {
  // Nothing to keep: the task bar shows the main form's caption, which is the same text.
}

void ShowMainForm(Form& form) {
  HWND hwnd = WindowOf(form);
  if (!hwnd) return;
  bool maximized = form.Description().windowState == WindowState::kMaximized;
  // The sizes reported while the window is being shown are intermediate: the form counts as
  // showing only afterwards, so that its final size alone reaches the layout.
  ShowWindow(hwnd, maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  form.NoteShowing(true);
  form.SetVisible(true);
  if (!IsIconic(hwnd)) {
    RECT client;
    GetClientRect(hwnd, &client);
    form.NoteClientSize(client.right, client.bottom);
  }
  UpdateWindow(hwnd);
}

void MessageBox(std::string_view text, std::string_view caption, MessageKind kind) {
  HWND owner = GetActiveWindow();
  if (!owner) {
    Form* main = TheApp().MainForm();
    HWND mainWindow = main ? WindowOf(*main) : nullptr;
    if (mainWindow && IsWindowVisible(mainWindow)) owner = mainWindow;
  }
  MessageBoxW(owner, win32::Widen(text).c_str(), win32::Widen(caption).c_str(),
              win32::MessageBoxStyleOf(kind));
}

}  // namespace backend

}  // namespace platform
