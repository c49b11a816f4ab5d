// The installer's rule for a class's practice folder given as PRACTICEFOLDER: which values name
// a folder the shortcuts can start in, and how that folder is written for the installer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace packaging {

// The folder as the installer's directory table wants it (one "\" at the end), or nothing
// when the value cannot be a working folder: only a full path on a drive ("X:\...") or a
// share ("\\server\share..."). A relative path would depend on wherever the shortcut is
// started from, so it counts as no value at all.
inline std::optional<std::wstring> PracticeFolderPath(std::wstring_view value) {
  constexpr std::wstring_view kSpace = L" \t";
  const size_t first = value.find_first_not_of(kSpace);
  if (first == std::wstring_view::npos) return std::nullopt;
  value = value.substr(first, value.find_last_not_of(kSpace) - first + 1);
  // msiexec keeps quotes written inside a value ("PRACTICEFOLDER=""\\server\quarn""").
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
    value = value.substr(1, value.size() - 2);
  while (!value.empty() && (value.back() == L'\\' || value.back() == L'/'))
    value.remove_suffix(1);
  std::wstring path(value);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';

  const auto letter = [](wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
  };
  const bool onDrive = path.size() >= 2 && letter(path[0]) && path[1] == L':' &&
                       (path.size() == 2 || path[2] == L'\\');
  bool onShare = false;
  if (path.size() > 2 && path.starts_with(L"\\\\")) {
    // \\server\share: a server name and a share name, neither empty.
    const size_t serverEnd = path.find(L'\\', 2);
    onShare = serverEnd != std::wstring::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
              path[serverEnd + 1] != L'\\';
  }
  if (!onDrive && !onShare) return std::nullopt;
  if (path.find(L"\\\\", 2) != std::wstring::npos) return std::nullopt;
  if (path.find_first_of(L"<>\"|?*", 0) != std::wstring::npos) return std::nullopt;
  if (path.find(L':', onDrive ? 2 : 0) != std::wstring::npos) return std::nullopt;
  return path + L'\\';
}

}  // namespace packaging
