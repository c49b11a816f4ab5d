// What the Win32 backend's files share: a control's native peer (its window and, for an
// image, the off-screen bitmap), the way from a window back to its control, the focus
// bookkeeping, and the GDI objects the window procedures paint with.
#pragma once

#include "platform/win32/win32_handles.h"  // <windows.h> before the headers that need it

#include <optional>
#include <utility>

#include "platform/controls.h"

namespace platform {

// An image's picture: a bitmap selected into a memory DC.
struct OffscreenBitmap {
  OffscreenBitmap(win32::MemoryDc d, win32::Bitmap b, Size s)
      : dc(std::move(d)), bitmap(std::move(b)), selection(dc.Get(), bitmap.Get()), size(s) {}
  win32::MemoryDc dc;
  win32::Bitmap bitmap;
  win32::Selection selection;  // released first: the DC gets its own bitmap back
  Size size;
};

struct Win32Control : NativeControl {
  win32::Window window;
  std::optional<OffscreenBitmap> canvas;  // images only, from the first use of the canvas
};

Win32Control* PeerOf(const Control& control);
HWND WindowOf(const Control& control);
// Every window we create carries its control in GWLP_USERDATA, from creation until
// DestroyNative clears it.
Control* ControlOf(HWND hwnd);
// The form a window belongs to, or nullptr for windows that are not ours (the IME's, a
// message box's).
Form* FormOfWindow(HWND hwnd);

// Gives the keyboard focus to the form's active control, or to the form itself when that
// control cannot take it (the quit button once it is disabled).
void FocusActiveControl(Form& form, HWND formWindow);
// The window system moves the focus by itself too (a click on the button); the form learns
// where it went before it moves it on.
void RememberFocus(Form& form, HWND formWindow);

void Fill(HDC dc, const RECT& rect, Color color);
// The font's GDI object, made at its first use and kept until the face is released.
HFONT FontHandle(const Font& font);

}  // namespace platform
