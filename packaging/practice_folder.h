// The installer's rule for a class's practice folder given as PRACTICEFOLDER: which values name
// a folder the shortcuts can start in, why the others would break a class, and how the folder
// is written for the installer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace packaging {

// The longest class folder: a drill started there must still name its log
// ("20260413084000.log") within MAX_PATH, which its working folder cannot exceed.
inline constexpr size_t kMaxPracticeFolder = 260 - 1 - 18 - 1;

// The folder as the installer's directory table wants it (one "\" at the end), or nothing
// when the value cannot be a working folder: only a full path on a drive ("X:\...") or a
// share ("\\server\share..."). A relative path would depend on wherever the shortcut is
// started from, so it counts as no value at all. Device paths ("\\.\pipe\x"), paths in the
// "\\?\" form, "." and ".." among the names and paths too long to hold a log are refused.
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
    // \\server\share: a server name and a share name, neither empty. "\\.\" names a device
    // and "\\?\" a path the system takes literally; neither is a server.
    const size_t serverEnd = path.find(L'\\', 2);
    const std::wstring_view server = std::wstring_view(path).substr(2, serverEnd - 2);
    onShare = serverEnd != std::wstring::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
              path[serverEnd + 1] != L'\\' && server != L"." && server != L"?";
  }
  if (!onDrive && !onShare) return std::nullopt;
  if (path.find(L"\\\\", 2) != std::wstring::npos) return std::nullopt;
  if (path.find_first_of(L"<>\"|?*", 0) != std::wstring::npos) return std::nullopt;
  if (path.find(L':', onDrive ? 2 : 0) != std::wstring::npos) return std::nullopt;
  // "." and ".." (and names of dots and spaces, which Windows cuts to those) would put the
  // children's folders somewhere else than the name says.
  for (size_t start = onDrive ? 3 : 2; start < path.size();) {
    const size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring_view name = std::wstring_view(path).substr(start, end - start);
    if (name.find_first_not_of(L". ") == std::wstring_view::npos) return std::nullopt;
    start = end + 1;
  }
  if (path.size() + 1 > kMaxPracticeFolder) return std::nullopt;
  return path + L'\\';
}

// What PRACTICEFOLDER came to, and why it was refused when it was.
struct PracticeFolderChoice {
  std::optional<std::wstring> path;  // as PracticeFolderPath gives it
  std::wstring refusal;              // empty when taken; English, for the installer's log
};

// The value as given to msiexec, formatted name by name with the installer's properties
// (format): a name that comes to nothing ("C:\qc\[NoSuchProperty]" would make the class root
// every child's folder) or keeps a property unexpanded ("[%USERNAME%]" where the variable is
// missing, a bracket left over) refuses the whole value.
inline PracticeFolderChoice ChoosePracticeFolder(
    std::wstring_view value, const std::function<std::wstring(std::wstring_view)>& format) {
  constexpr std::wstring_view kBlank = L" \t\"";
  std::wstring formatted;
  for (size_t start = 0; start <= value.size();) {
    const size_t end = std::min(value.find_first_of(L"\\/", start), value.size());
    const std::wstring_view name = value.substr(start, end - start);
    const std::wstring expanded = name.empty() ? std::wstring() : format(name);
    if (name.find_first_not_of(kBlank) != std::wstring_view::npos &&
        expanded.find_first_not_of(kBlank) == std::wstring::npos)
      return {std::nullopt, L"\"" + std::wstring(name) + L"\" comes to nothing"};
    const size_t percent = expanded.find(L'%');
    if (expanded.find_first_of(L"[]") != std::wstring::npos ||
        (percent != std::wstring::npos && expanded.find(L'%', percent + 1) != std::wstring::npos))
      return {std::nullopt, L"\"" + expanded + L"\" keeps a property unexpanded"};
    formatted += expanded;
    // A property that names a folder ends in "\" already: [PersonalFolder]\Quarn.
    if (end < value.size() && (expanded.empty() || expanded.back() != L'\\')) formatted += L'\\';
    start = end + 1;
  }
  std::optional<std::wstring> path = PracticeFolderPath(formatted);
  if (!path) return {std::nullopt, L"\"" + formatted + L"\" is no full path a class can use"};
  return {std::move(path), {}};
}

// The folder and each folder above it, the share or the drive's root first: where a file
// stands in the place of any of them, the class folder cannot be made.
inline std::vector<std::wstring> FolderAndParents(const std::wstring& path) {
  std::vector<std::wstring> folders;
  const size_t first =
      path.starts_with(L"\\\\") ? path.find(L'\\', path.find(L'\\', 2) + 1) : path.find(L'\\', 3);
  for (size_t cut = first; cut != std::wstring::npos && cut + 1 < path.size();
       cut = path.find(L'\\', cut + 1))
    folders.push_back(path.substr(0, cut));
  std::wstring whole = path;
  while (whole.size() > 3 && whole.back() == L'\\')
    whole.pop_back();
  if (folders.empty() || folders.back() != whole) folders.push_back(whole);
  return folders;
}

}  // namespace packaging
