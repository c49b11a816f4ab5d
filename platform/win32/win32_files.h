// What the Win32 file layer's two halves share: the owner of a file handle, the sharing that
// never gets in another's way, and the system's words for an error.
#pragma once

#include "platform/win32/win32_handles.h"

#include <string>

namespace platform {

struct CloseHandleRelease {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = win32::Unique<HANDLE, CloseHandleRelease>;

inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The system's words for an error code, in the user's language.
std::string SystemText(DWORD error);
// A number's decimal digits.
std::wstring Decimal(DWORD n);
// Whether the name holds something other than a regular file: a folder, a device, a junction
// or a link (looked at, not followed).
bool HoldsOtherThanAFile(const std::wstring& name);

}  // namespace platform
