// The report's folders and files on Win32: wide names throughout, no junction or link
// followed; writing over an old file is in win32_file_write.cpp. No std::filesystem:
// its path conversions would bring the library's locale machinery into the static program.
#include "platform/file_system.h"

#include "platform/win32/win32_files.h"  // <windows.h> before the headers that need it

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

struct FindCloseRelease {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  void operator()(HANDLE h) const { FindClose(h); }
};
using FindHandle = win32::Unique<HANDLE, FindCloseRelease>;

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

}  // namespace

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

namespace {

// A text the system fills in, asked again with a larger buffer until it fits: fill returns
// the length written, or the length needed (counting the null) when the buffer is too small.
template <class Fill>
std::wstring GrownText(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = fill(text.data(), static_cast<DWORD>(text.size()));
    if (n == 0) return {};
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.resize(n + 1);
  }
  return {};
}

// The path in the form that lifts MAX_PATH: "\\?\C:\..." or "\\?\UNC\server\share...",
// made whole first, since such a path is taken literally (no ".", "..", "/" or relative
// part). Device paths ("\\.\CON") and paths in that form already stay as they are.
std::wstring LongPath(const std::wstring& path) {
  if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
  const std::wstring full = GrownText([&](wchar_t* buffer, DWORD size) {
    return GetFullPathNameW(path.empty() ? L"." : path.c_str(), size, buffer, nullptr);
  });
  if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\")) return full;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
  return path;
}

bool IdentityOfHandle(HANDLE h, FileIdentity& identity, DWORD* attributes = nullptr) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) return false;
  identity = {info.dwVolumeSerialNumber,
              static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
  if (attributes) *attributes = info.dwFileAttributes;
  return true;
}

// The reparse tag of an opened name whose attributes mark a reparse point, 0 for any other.
// Where the tag cannot be learnt, the reparse point counts as a link.
DWORD ReparseTagOf(HANDLE h, DWORD attributes) {
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
  FILE_ATTRIBUTE_TAG_INFO info{};
  return GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info)
             ? info.ReparseTag
             : win32::kReparseTagNameSurrogate;
}

}  // namespace

bool HoldsOtherThanAFile(const std::wstring& name) {
  FileHandle existing(
      CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!existing) return false;  // nothing there, or nothing the rename could replace either
  if (GetFileType(existing.Get()) != FILE_TYPE_DISK) return true;
  FileIdentity ignored;
  DWORD attributes = 0;
  if (!IdentityOfHandle(existing.Get(), ignored, &attributes)) return true;
  return win32::KindFromAttributes(attributes, ReparseTagOf(existing.Get(), attributes)) !=
         EntryKind::kFile;
}

namespace {

// Reads an open file to its end, but no more than maxBytes + 1 bytes.
ReadStatus ReadOpened(HANDLE file, size_t maxBytes, std::string& bytes) {
  char piece[8192];
  while (bytes.size() <= maxBytes) {
    DWORD n = 0;
    if (!ReadFile(file, piece, sizeof piece, &n, nullptr)) return ReadStatus::kCannotRead;
    if (n == 0) break;
    bytes.append(piece, n);
  }
  if (bytes.size() > maxBytes) {
    bytes.resize(maxBytes + 1);
    return ReadStatus::kTooLarge;
  }
  return ReadStatus::kRead;
}

}  // namespace

bool ListFolder(const Path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data;
  FindHandle search(FindFirstFileExW(
      Join(Path(LongPath(folder.Native())), Path(L"*")).Native().c_str(), FindExInfoBasic, &data,
      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
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
  const DWORD attributes = GetFileAttributesW(LongPath(path.Native()).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes,
                         FileIdentity& identity) {
  bytes.clear();
  // Shared for writing too: a drill that is still running holds its log open for writing.
  FileHandle file(CreateFileW(LongPath(path.Native()).c_str(), GENERIC_READ, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return ReadStatus::kCannotRead;
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadStatus::kNotAFile;
  DWORD attributes = 0;
  if (!IdentityOfHandle(file.Get(), identity, &attributes)) return ReadStatus::kCannotRead;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ReadStatus::kNotAFile;
  return ReadOpened(file.Get(), maxBytes, bytes);
}

ReadStatus ReadSmallFile(const Path& path, size_t maxBytes, std::string& bytes) {
  bytes.clear();
  // A folder cannot be opened without FILE_FLAG_BACKUP_SEMANTICS, so what opens is a file, a
  // device or a pipe.
  FileHandle file(CreateFileW(LongPath(path.Native()).c_str(), GENERIC_READ, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return ReadStatus::kCannotRead;
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadStatus::kNotAFile;
  return ReadOpened(file.Get(), maxBytes, bytes);
}

bool IdentityOf(const Path& path, FileIdentity& identity) {
  FileHandle file(CreateFileW(LongPath(path.Native()).c_str(), FILE_READ_ATTRIBUTES, kShareAll,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
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

Folder::Folder(Folder&& other) noexcept
    : handle(std::exchange(other.handle, kClosed)), where(std::move(other.where)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
  if (this != &other) {
    if (handle != kClosed) CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = std::exchange(other.handle, kClosed);
    where = std::move(other.where);
  }
  return *this;
}

Folder::~Folder() {
  if (handle != kClosed) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

namespace {

HANDLE HandleOf(const Folder& folder) {
  return reinterpret_cast<HANDLE>(folder.Handle());
}

// Opens a folder and checks on the handle what it is. Without FILE_SHARE_DELETE nobody can
// rename or remove the folder (nor, on NTFS, a folder above it) while it is held, so its path
// keeps naming it; where someone holds it open for deleting, it is opened sharing that too.
// With `followLink` false a junction or directory link at the name is opened itself, and
// refused.
bool OpenChecked(const std::wstring& path, bool followLink, Folder& folder) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  constexpr DWORD kAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
  FileHandle h(CreateFileW(path.c_str(), kAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, flags, nullptr));
  if (!h && GetLastError() == ERROR_SHARING_VIOLATION) {
    h = FileHandle(
        CreateFileW(path.c_str(), kAccess, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr));
  }
  if (!h) return false;
  FileIdentity ignored;
  DWORD attributes = 0;
  if (!IdentityOfHandle(h.Get(), ignored, &attributes)) return false;
  const DWORD tag = followLink ? 0 : ReparseTagOf(h.Get(), attributes);
  if (win32::KindFromAttributes(attributes, tag) != EntryKind::kFolder) return false;
  // The names inside are joined to the path the handle holds, in its long form.
  std::wstring where = GrownText([&](wchar_t* buffer, DWORD size) {
    return GetFinalPathNameByHandleW(h.Get(), buffer, size, FILE_NAME_NORMALIZED);
  });
  if (where.empty()) where = LongPath(path);
  folder = Folder(reinterpret_cast<intptr_t>(h.Detach()), Path(std::move(where)));
  return true;
}

}  // namespace

bool OpenFolder(const Path& path, Folder& folder) {
  return OpenChecked(LongPath(path.Native()), true, folder);
}

bool OpenSubfolder(const Folder& parent, const Path& name, Folder& folder) {
  return OpenChecked(Join(parent.Where(), name).Native(), false, folder);
}

bool ListFolder(const Folder& folder, std::vector<FolderEntry>& entries) {
  if (!ListFolder(folder.Where(), entries)) return false;
  if (TestHooks().afterListing) TestHooks().afterListing();
  return true;
}

ReadStatus ReadSmallFile(const Folder& folder, const Path& name, size_t maxBytes,
                         std::string& bytes, FileIdentity& identity) {
  bytes.clear();
  // A link at the name is opened itself and refused, never followed.
  FileHandle file(CreateFileW(Join(folder.Where(), name).Native().c_str(), GENERIC_READ, kShareAll,
                              nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return ReadStatus::kCannotRead;
  if (GetFileType(file.Get()) != FILE_TYPE_DISK) return ReadStatus::kNotAFile;
  DWORD attributes = 0;
  if (!IdentityOfHandle(file.Get(), identity, &attributes)) return ReadStatus::kCannotRead;
  if (win32::KindFromAttributes(attributes, ReparseTagOf(file.Get(), attributes)) !=
      EntryKind::kFile)
    return ReadStatus::kNotAFile;
  return ReadOpened(file.Get(), maxBytes, bytes);
}

bool IdentityOf(const Folder& folder, FileIdentity& identity) {
  return IdentityOfHandle(HandleOf(folder), identity);
}

bool IdentityOf(const Folder& folder, const Path& name, FileIdentity& identity) {
  FileHandle file(CreateFileW(Join(folder.Where(), name).Native().c_str(), FILE_READ_ATTRIBUTES,
                              kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return file && IdentityOfHandle(file.Get(), identity);
}

FileSystemHooks& TestHooks() {
  static FileSystemHooks hooks;
  return hooks;
}

}  // namespace platform
