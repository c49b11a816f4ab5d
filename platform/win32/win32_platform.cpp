// The operating-system services on kernel32, GDI and winmm. Texts arrive as CP932 bytes and
// paths as UTF-16 (platform::Path); both go to the W functions, so they mean the same on any
// system locale.
#include "platform/platform.h"

#include "platform/win32/win32_handles.h"  // <windows.h> before the headers that need it

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "platform/command_line.h"
#include "platform/utf8.h"
#include "platform/win32/win32_text.h"

namespace platform {

namespace {

// A hung window must not hold up our exit, so the font-change broadcast waits at most this
// long for each window that still answers, and skips the ones the system considers hung.
constexpr UINT kBroadcastTimeoutMs = 2000;

DateTime FromSystemTime(const SYSTEMTIME& t) {
  return {{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

HANDLE AsHandle(uintptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

// The first CP932 byte of a locale text: 0 for an empty setting, nothing when the call fails.
// The count includes the terminating zero, so an empty setting reports 1.
std::optional<char> FirstLocaleByte(LCTYPE item) {
  wchar_t text[16];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text, static_cast<int>(std::size(text)));
  if (n <= 0) return std::nullopt;
  std::string bytes = win32::Narrow(std::wstring_view(text, static_cast<size_t>(n - 1)));
  return bytes.empty() ? '\0' : bytes[0];
}

}  // namespace

DateTime LocalTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return FromSystemTime(t);
}

DateTime UtcTime() {
  SYSTEMTIME t;
  GetSystemTime(&t);
  return FromSystemTime(t);
}

int64_t MonotonicMicroseconds() {
  static const int64_t frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<int64_t>(f.QuadPart);
  }();
  LARGE_INTEGER count;
  QueryPerformanceCounter(&count);
  // Whole seconds and the remainder apart, so that the multiplication cannot overflow.
  int64_t c = count.QuadPart;
  return c / frequency * 1'000'000 + c % frequency * 1'000'000 / frequency;
}

void Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

std::string DisplayText(const Path& path) {
  return win32::Narrow(path.Native());
}

File File::Create(const Path& path, FileMode mode, FileError* error) {
  DWORD access = mode == FileMode::kLog ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE;
  DWORD share = mode == FileMode::kLog ? FILE_SHARE_READ : 0;
  HANDLE h = CreateFileW(path.Native().c_str(), access, share, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) {
      DWORD code = GetLastError();
      // A file that another process has open (or mapped, as the font table does with a
      // registered font file) cannot be replaced.
      bool inUse = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                   code == ERROR_USER_MAPPED_FILE;
      *error = inUse ? FileError::kInUse : FileError::kOther;
    }
    return File{};
  }
  if (error) *error = FileError::kNone;
  File file{reinterpret_cast<uintptr_t>(h)};
  // The font file is read back through this machine's own cache and deleted at the end of
  // the run: waiting for it to reach the disk only holds up the start (some 10 ms).
  file.flushes = mode == FileMode::kLog;
  return file;
}

File::File(File&& other) noexcept
    : handle(std::exchange(other.handle, 0)), flushes(other.flushes) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle = std::exchange(other.handle, 0);
    flushes = other.flushes;
  }
  return *this;
}

File::~File() {
  Close();
}

bool File::Write(std::string_view bytes) {
  if (!handle) return false;
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle), bytes.data(), chunk, &written, nullptr) || written == 0) {
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

bool File::Close() {
  if (!handle) return false;
  HANDLE h = AsHandle(std::exchange(handle, 0));
  // A write the system accepted can still fail on its way to the disk (a full or vanished
  // network share); the flush makes such a failure show here instead of going unnoticed.
  bool flushed = !flushes || FlushFileBuffers(h) != 0;
  bool closed = CloseHandle(h) != 0;
  return flushed && closed;
}

bool DeleteFile(const Path& path) {
  return DeleteFileW(path.Native().c_str()) != 0;
}

Path SystemTempDirectory() {
  // Kept in UTF-16 from here to the file and font functions: a folder name that CP932 cannot
  // spell would not survive a round trip through it. The caller applies its own length
  // limit, so the buffer here only has to be large enough for any path.
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  DWORD n = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n > buffer.size()) {
    buffer.resize(n);
    n = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (n == 0 || n > buffer.size()) return {};
  return Path(std::wstring(buffer.data(), n));
}

// The font is registered for this process only: no other program sees the face, and a
// process that dies cannot leave a registration behind. Wine 8 also corrupts its shared font
// cache when a face with a Japanese family name is removed from the public table.
bool AddFontResource(const Path& path) {
  return AddFontResourceExW(path.Native().c_str(), FR_PRIVATE, nullptr) != 0;
}

bool RemoveFontResource(const Path& path) {
  return RemoveFontResourceExW(path.Native().c_str(), FR_PRIVATE, nullptr) != 0;
}

void BroadcastFontChange() {
  SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs,
                      nullptr);
}

void PlaySoundResource(const char* name) {
  PlaySoundA(name, nullptr, SND_RESOURCE | SND_ASYNC);
}

std::string_view OwnResource(const char* type, const char* name) {
  // FindResourceA compares names and types without regard to letter case.
  HRSRC info = FindResourceA(nullptr, name, type);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(nullptr, info);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  // Resources stay mapped with the module for the life of the process; nothing to release.
  return {static_cast<const char*>(bytes), SizeofResource(nullptr, info)};
}

std::vector<std::string> ProgramArguments() {
  std::vector<std::wstring> split = SplitCommandLine(GetCommandLineW());
  std::vector<std::string> arguments;
  for (size_t i = 1; i < split.size(); ++i)
    arguments.push_back(Utf8FromWide(split[i]));
  return arguments;
}

std::optional<char> RegionalDateSeparator() {
  return FirstLocaleByte(LOCALE_SDATE);
}

std::optional<char> RegionalTimeSeparator() {
  return FirstLocaleByte(LOCALE_STIME);
}

}  // namespace platform
