// <windows.h> for the Win32 backend, and the move-only owners of its handles: one per kind,
// each releasing its handle the way the system asks for.
#pragma once

#include <windows.h>

// <windows.h> renames these functions by macro (…A/…W); the portable headers use the plain
// names for their own functions, so the macros must not reach them.
#undef AddFontResource
#undef DeleteFile
#undef MessageBox
#undef RemoveFontResource
#undef TextOut

#include <utility>

namespace win32 {

// Owns a handle and gives it back with Release, once. "Nothing owned" is null, or
// Release::None() where the system uses another value (INVALID_HANDLE_VALUE).
template <class Handle, class Release>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : handle(h) {}
  Unique(Unique&& other) noexcept : handle(std::exchange(other.handle, None())) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) {
      Reset();
      handle = std::exchange(other.handle, None());
    }
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { Reset(); }

  Handle Get() const { return handle; }
  explicit operator bool() const { return handle != None(); }
  // Gives the handle up to a new owner.
  Handle Detach() { return std::exchange(handle, None()); }
  void Reset() {
    if (handle != None()) Release{}(handle);
    handle = None();
  }

 private:
  static Handle None() {
    if constexpr (requires { Release::None(); }) {
      return Release::None();
    } else {
      return nullptr;
    }
  }
  Handle handle = None();
};

struct DestroyWindowRelease {
  void operator()(HWND h) const { DestroyWindow(h); }
};
struct DeleteObjectRelease {
  void operator()(HGDIOBJ h) const { DeleteObject(h); }
};
struct DeleteDcRelease {
  void operator()(HDC h) const { DeleteDC(h); }
};

using Window = Unique<HWND, DestroyWindowRelease>;
using Font = Unique<HFONT, DeleteObjectRelease>;
using Bitmap = Unique<HBITMAP, DeleteObjectRelease>;
using MemoryDc = Unique<HDC, DeleteDcRelease>;

// The screen's device context for measuring, for the life of the object.
class ScreenDc {
 public:
  ScreenDc() : dc(GetDC(nullptr)) {}
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() {
    if (dc) ReleaseDC(nullptr, dc);
  }
  HDC Get() const { return dc; }

 private:
  HDC dc;
};

// Selects an object into a DC and puts the previous one back, so that no DC keeps holding a
// font or bitmap beyond the drawing that needed it.
class Selection {
 public:
  Selection(HDC d, HGDIOBJ object) : dc(d), previous(SelectObject(d, object)) {}
  Selection(Selection&& other) noexcept
      : dc(other.dc), previous(std::exchange(other.previous, nullptr)) {}
  Selection& operator=(Selection&&) = delete;
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;
  ~Selection() {
    if (previous && previous != HGDI_ERROR) SelectObject(dc, previous);
  }

 private:
  HDC dc;
  HGDIOBJ previous;
};

}  // namespace win32
