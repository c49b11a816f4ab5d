// CP932 <-> UTF-16 through the system's code page 932 tables.
#include "platform/win32/win32_text.h"

#include "platform/win32/win32_handles.h"

namespace win32 {

namespace {

constexpr UINT kCp932 = 932;

}  // namespace

std::wstring Widen(std::string_view cp932) {
  if (cp932.empty()) return {};
  int n = MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kCp932, 0, cp932.data(), static_cast<int>(cp932.size()), out.data(), n);
  return out;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(kCp932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kCp932, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::string TypedCharBytes(wchar_t unit) {
  char bytes[4];
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(kCp932, 0, &unit, 1, bytes, sizeof bytes, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return {};
  return std::string(bytes, static_cast<size_t>(n));
}

}  // namespace win32
