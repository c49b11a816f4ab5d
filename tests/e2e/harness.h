// Win32 helpers of the end-to-end driver: handle ownership, the report, the clock, processes,
// windows of another process, typed keys and clicks, screenshots and files.
#pragma once

#include "platform/utf8.h"
#include "platform/win32/win32_handles.h"  // <windows.h> and its handle owners

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace e2e {

// ---- Ownership -------------------------------------------------------------------------

struct CloseHandleRelease {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FindCloseRelease {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { FindClose(h); }
};
struct FreeLibraryRelease {
  void operator()(HMODULE h) const { FreeLibrary(h); }
};

using UniqueHandle = win32::Unique<HANDLE, CloseHandleRelease>;
using UniqueFind = win32::Unique<HANDLE, FindCloseRelease>;
using UniqueGdiObject = win32::Unique<HGDIOBJ, win32::DeleteObjectRelease>;
using UniqueMemoryDc = win32::MemoryDc;
using UniqueModule = win32::Unique<HMODULE, FreeLibraryRelease>;

using win32::ScreenDc;

// ---- Report ----------------------------------------------------------------------------

// Thrown by Require: the scenario cannot go on.
struct ScenarioAborted : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline std::string Utf8(std::wstring_view text) {
  return platform::Utf8FromWide(text);
}
inline std::wstring Wide(std::string_view utf8) {
  return platform::WideFromUtf8(utf8);
}
// Quotes CP932 bytes for the report as UTF-8, with the raw bytes in hex beside them.
std::string Cp932ForReport(std::string_view bytes);
std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

void OpenReport(const std::wstring& path);
void Say(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// Records a failed check when ok is false; returns ok.
bool Expect(bool ok, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
// Records a failure and aborts the scenario when ok is false.
void Require(bool ok, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
int FailureCount();

// ---- Clock -----------------------------------------------------------------------------

double NowMs();  // monotonic, milliseconds
void Pause(int ms);
// A reading of the local clock.
struct LocalStamp {
  SYSTEMTIME time;
  // Seconds since 1970-01-01 00:00 of the local clock, as a log's start counts them.
  double Seconds() const;
};
LocalStamp ReadLocal();
// The time that many seconds later (earlier when negative), to the second.
SYSTEMTIME AddSeconds(const SYSTEMTIME& time, int64_t seconds);

// ---- Processes -------------------------------------------------------------------------

struct Running {
  UniqueHandle process;
  DWORD pid = 0;
  std::wstring exe;
  std::wstring dir;
  double startMs = 0;  // NowMs() right before CreateProcess
  LocalStamp startLocal;
};

// Starts exe with the working directory dir; aborts the scenario on failure.
Running StartProcess(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& dir);
bool IsRunning(const Running& program);
// The exit code, or nothing if the process is still running after timeoutMs.
std::optional<DWORD> WaitExit(const Running& program, int timeoutMs);

// ---- Windows of another process --------------------------------------------------------

std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly = true);
HWND FindTopWindow(DWORD pid, std::wstring_view caption);
// Polls for a visible top-level window with the caption; nullptr after timeoutMs.
HWND WaitTopWindow(DWORD pid, std::wstring_view caption, int timeoutMs);
std::vector<HWND> DirectChildren(HWND parent);
std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
bool HasClass(HWND window, std::wstring_view className);  // ignores letter case
RECT ScreenRect(HWND window);
// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);
SIZE ClientSize(HWND window);
RECT ClientScreenRect(HWND window);
// Returns once the window's thread has handled a message sent now, i.e. once it is back
// in a message loop; false when it did not within timeoutMs.
bool Sync(HWND window, int timeoutMs = 5000);

inline int Width(const RECT& r) {
  return r.right - r.left;
}
inline int Height(const RECT& r) {
  return r.bottom - r.top;
}

// ---- Input -----------------------------------------------------------------------------

// How long a person keeps a key down. The program's judging must have pumped its messages
// before the release arrives, or the release does not re-arm the entry.
constexpr int kKeyHoldMs = 70;

void KeyDown(WORD vk);
void KeyUp(WORD vk);
void TypeKey(WORD vk, int holdMs = kKeyHoldMs);
// Makes the window the foreground window, so that typed keys reach its thread.
bool BringToFront(HWND window);
void ClickAt(POINT screen);

// ---- Screen ----------------------------------------------------------------------------

struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;  // 0x00RRGGBB, top row first
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

Pixels Capture(const RECT& screenRect);
bool SavePng(const Pixels& pixels, const std::wstring& path);

// ---- Files -----------------------------------------------------------------------------

struct DirEntry {
  std::wstring name;
  bool directory;
};

std::vector<DirEntry> ListDir(const std::wstring& dir);
bool PathExists(const std::wstring& path);
void RemoveTree(const std::wstring& path);
void MakeDirs(const std::wstring& path);
std::optional<std::string> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
std::wstring JoinPath(const std::wstring& dir, const std::wstring& name);
std::wstring TempDir();
// Turns a Unix path as CMake passes it into a full path on Wine's Z: drive.
std::wstring WindowsPath(const std::wstring& path);

}  // namespace e2e
