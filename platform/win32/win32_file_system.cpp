// The report's folders and files on Win32: wide names throughout, no junction or link
// followed, and the page written beside the old one and moved over it. No std::filesystem:
// its path conversions would bring the library's locale machinery into the static program.
#include "platform/file_system.h"

#include "platform/win32/win32_handles.h"  // <windows.h> before the headers that need it

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/utf8.h"
#include "platform/win32/find_kind.h"

namespace platform {
namespace {

static_assert(win32::kAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(win32::kAttributeDevice == FILE_ATTRIBUTE_DEVICE);
static_assert(win32::kAttributeReparsePoint == FILE_ATTRIBUTE_REPARSE_POINT);
static_assert(IsReparseTagNameSurrogate(IO_REPARSE_TAG_MOUNT_POINT) ==
              win32::kReparseTagNameSurrogate);
static_assert(IsReparseTagNameSurrogate(IO_REPARSE_TAG_SYMLINK) == win32::kReparseTagNameSurrogate);

struct CloseHandleRelease {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { CloseHandle(h); }
};
struct FindCloseRelease {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { FindClose(h); }
};
using FileHandle = win32::Unique<HANDLE, CloseHandleRelease>;
using FindHandle = win32::Unique<HANDLE, FindCloseRelease>;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// UTF-16 as UTF-8 with each lone surrogate, which a Windows name may hold, written as its
// value (\uD800) instead of the U+FFFD that Utf8FromWide makes of it.
std::string EscapedFromWide(std::wstring_view wide) {
  std::string out;
  size_t start = 0;
  auto isHigh = [](uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  auto isLow = [](uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  for (size_t i = 0; i < wide.size(); ++i) {
    const uint32_t c = static_cast<uint16_t>(wide[i]);
    if (isHigh(c) && i + 1 < wide.size() && isLow(static_cast<uint16_t>(wide[i + 1]))) {
      ++i;
    } else if (isHigh(c) || isLow(c)) {
      constexpr char kHex[] = "0123456789ABCDEF";
      out += Utf8FromWide(wide.substr(start, i - start));
      out += {'\\', 'u', kHex[c >> 12], kHex[c >> 8 & 15], kHex[c >> 4 & 15], kHex[c & 15]};
      start = i + 1;
    }
  }
  return out + Utf8FromWide(wide.substr(start));
}

// The system's words for an error code, in the user's language.
std::string SystemText(DWORD error) {
  wchar_t text[512];
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' '))
    n--;
  return Utf8FromWide(std::wstring_view(text, n));
}

// By hand: std::to_wstring would link a whole wide printf into the program.
std::wstring Decimal(DWORD n) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
    n /= 10;
  } while (n);
  return digits;
}

bool IdentityOfHandle(HANDLE h, FileIdentity& identity, DWORD* attributes = nullptr) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  identity = {info.dwVolumeSerialNumber,
              static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
  if (attributes) *attributes = info.dwFileAttributes;
  return true;
}

// Whether the name holds something other than a regular file: a folder, a device, a junction
// or a link (looked at, not followed).
bool HoldsOtherThanAFile(const std::wstring& name) {
  FileHandle existing(
      CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!existing) return false;  // nothing there, or nothing the rename could replace either
  if (GetFileType(existing.Get()) != FILE_TYPE_DISK) return true;
  FileIdentity ignored;
  DWORD attributes = 0;
  if (!IdentityOfHandle(existing.Get(), ignored, &attributes)) return true;
  // Where the tag cannot be learnt, a reparse point counts as a link.
  DWORD tag = win32::kReparseTagNameSurrogate;
  FILE_ATTRIBUTE_TAG_INFO info{};
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
      GetFileInformationByHandleEx(existing.Get(), FileAttributeTagInfo, &info, sizeof info)) {
    tag = info.ReparseTag;
  }
  return win32::KindFromAttributes(attributes, tag) != EntryKind::kFile;
}

}  // namespace

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  FindHandle search(FindFirstFileExW(Join(folder, Path(L"*")).Native().c_str(), FindExInfoBasic,
                                     &data, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH));
  // The root of an empty drive has not even "." and "..".
  if (!search) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    // dwReserved0 holds the reparse tag when the attributes name a reparse point.
    entries.push_back({Path(std::move(name)),
                       win32::KindFromAttributes(data.dwFileAttributes, data.dwReserved0)});
  } while (FindNextFileW(search.Get(), &data));
  return GetLastError() == ERROR_NO_MORE_FILES;
}

bool IsFolder(const Path& path) {
  const DWORD attributes = GetFileAttributesW(path.Native().c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity) {
  bytes.clear();
  // Shared for writing too: a drill that is still running holds its log open for writing.
  FileHandle file(CreateFileW(path.Native().c_str(), GENERIC_READ, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return ReadStatus::kCannotRead;
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadStatus::kNotAFile;
  DWORD attributes = 0;
  if (!IdentityOfHandle(file.Get(), identity, &attributes)) return ReadStatus::kCannotRead;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ReadStatus::kNotAFile;
  char piece[8192];
  while (bytes.size() <= maxBytes) {
    DWORD n = 0;
    if (!ReadFile(file.Get(), piece, sizeof piece, &n, nullptr)) return ReadStatus::kCannotRead;
    if (n == 0) break;
    bytes.append(piece, n);
  }
  if (bytes.size() > maxBytes) {
    bytes.resize(maxBytes + 1);
    return ReadStatus::kTooLarge;
  }
  return ReadStatus::kRead;
}

bool IdentityOf(const Path& path, FileIdentity& identity) {
  FileHandle file(CreateFileW(path.Native().c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file && IdentityOfHandle(file.Get(), identity);
}

std::string DisplayUtf8(const Path& path) {
  return Utf8FromWide(path.Native());
}

std::string EscapedUtf8(const Path& path) {
  return EscapedFromWide(path.Native());
}

Path PathFromUtf8(std::string_view utf8) {
  return Path(WideFromUtf8(utf8));
}

Path Join(const Path& folder, const Path& name) {
  const std::wstring& text = folder.Native();
  if (text.empty()) return name;
  const wchar_t last = text.back();
  // "C:" names the drive's current folder; a separator would make it the root.
  if (last == L'\\' || last == L'/' || (text.size() == 2 && last == L':')) {
    return Path(text + name.Native());
  }
  return Path(text + L'\\' + name.Native());
}

Path FolderName(const Path& folder) {
  std::wstring text = folder.Native();
  if (DWORD n = GetFullPathNameW(text.c_str(), 0, nullptr, nullptr)) {
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(text.c_str(), n, full.data(), nullptr);
    if (n > 0 && n < full.size()) text.assign(full.data(), n);
  }
  while (text.size() > 3 && (text.back() == L'\\' || text.back() == L'/'))
    text.pop_back();
  const size_t cut = text.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut + 1 < text.size()) text.erase(0, cut + 1);
  return Path(std::move(text));
}

WriteOutcome WriteFileReplacing(const Path& path, std::string_view bytes) {
  const std::wstring& target = path.Native();
  if (HoldsOtherThanAFile(target)) return {WriteError::kNotAFile, {}};

  // The new file goes beside the old one: a move within one volume replaces it at once.
  const size_t cut = target.find_last_of(L"\\/");
  std::wstring folder;
  if (cut != std::wstring::npos) {
    folder = target.substr(0, cut + 1);
  } else if (target.size() >= 2 && target[1] == L':') {
    folder = target.substr(0, 2);
  }
  const std::wstring name = target.substr(folder.size());
  std::wstring temporary;
  FileHandle file;
  for (int attempt = 0; attempt < 100 && !file; attempt++) {
    temporary = folder + L"~" + name + L"." + Decimal(GetCurrentProcessId()) + L"-" +
                Decimal(static_cast<DWORD>(attempt)) + L".tmp";
    // CREATE_NEW: a name someone else placed there, a link above all, is never opened.
    file = FileHandle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD error = GetLastError();
    if (!file && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return {WriteError::kCannotCreate, SystemText(error)};
    }
  }
  if (!file) return {WriteError::kCannotCreate, SystemText(ERROR_FILE_EXISTS)};

  DWORD error = ERROR_SUCCESS;
  while (!bytes.empty() && error == ERROR_SUCCESS) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
      error = GetLastError();
      if (error == ERROR_SUCCESS) error = ERROR_WRITE_FAULT;
    }
    bytes.remove_prefix(written);
  }
  // A write the system accepted can still fail on its way to the disk; the flush shows it.
  if (error == ERROR_SUCCESS && !FlushFileBuffers(file.Get())) error = GetLastError();
  file.Reset();
  if (error != ERROR_SUCCESS) {
    ::DeleteFileW(temporary.c_str());
    return {WriteError::kCannotWrite, SystemText(error)};
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
    ::DeleteFileW(temporary.c_str());
    return {WriteError::kCannotReplace, SystemText(error)};
  }
  return {};
}

}  // namespace platform
