// CP932 <-> UTF-16 through the system's code page 932 tables; UTF-8 -> UTF-16 through the
// platform's one conversion.
#include "platform/win32/win32_text.h"

#include "platform/utf8.h"
#include "platform/win32/win32_handles.h"

namespace win32 {

namespace {

constexpr UINT kCp932 = 932;

std::wstring WidenFrom(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace

std::wstring Widen(std::string_view cp932) {
  return WidenFrom(kCp932, cp932);
}

std::wstring WidenUtf8(std::string_view utf8) {
  return platform::WideFromUtf8(utf8);
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
