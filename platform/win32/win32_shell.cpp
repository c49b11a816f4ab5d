// The report program's system services on Windows. It is a window-subsystem program, so a
// double-click shows no console; started from a console it writes there, and with neither
// a console nor redirected output it shows notices and errors in a message box.
#include "platform/shell.h"
#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_values.h"
#include "resources/resource_ids.h"

#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace platform {
namespace {

// Writes to a handle: UTF-16 to a console, UTF-8 bytes to a file or pipe.
bool WriteTo(HANDLE handle, std::string_view utf8) {
  if (!handle || handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_UNKNOWN) {
    return false;
  }
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    std::wstring wide = win32::WidenUtf8(utf8);
    return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  }
  return WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

// The console of the program that started this one, attached once; null when there is none.
HANDLE ParentConsole() {
  static HANDLE console = [] {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return HANDLE{};
    HANDLE h = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    return h == INVALID_HANDLE_VALUE ? HANDLE{} : h;
  }();
  return console;
}

}  // namespace

void ShowMessage(std::string_view text, MessageKind kind) {
  std::string line(text);
  if (!line.ends_with('\n')) line += '\n';
  bool trouble = kind == MessageKind::kError || kind == MessageKind::kWarning;
  HANDLE standard = GetStdHandle(trouble ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  if (WriteTo(standard, line) || WriteTo(ParentConsole(), line)) return;
  if (kind == MessageKind::kNote) return;
  MessageBoxW(nullptr, win32::WidenUtf8(text).c_str(), L"" QUARN_REPORT_TITLE,
              win32::MessageBoxStyleOf(kind));
}

bool OpenInBrowser(const Path& file) {
  // Shell extensions behind ShellExecute may need COM on this thread.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::wstring target = file.Native();
  // The browser is started in another folder: it needs the full path.
  if (DWORD n = GetFullPathNameW(target.c_str(), 0, nullptr, nullptr)) {
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(target.c_str(), n, full.data(), nullptr);
    if (n > 0 && n < full.size()) target.assign(full.data(), n);
  }
  auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (SUCCEEDED(com)) CoUninitialize();
  return result > 32;
}

}  // namespace platform
