// Conversions between the program's CP932 byte strings and the UTF-16 of the W functions.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

// CP932 bytes to UTF-16, whatever the system's ANSI code page is.
std::wstring Widen(std::string_view cp932);
// UTF-8 to UTF-16.
std::wstring WidenUtf8(std::string_view utf8);
// UTF-16 to CP932 bytes; characters CP932 lacks become '?'.
std::string Narrow(std::wstring_view text);
// One typed UTF-16 unit as the CP932 bytes an ANSI window would have been given: one byte,
// two for a double-byte character, none for what CP932 cannot express (e.g. half of a
// surrogate pair).
std::string TypedCharBytes(wchar_t unit);

}  // namespace win32
