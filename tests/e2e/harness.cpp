// Win32 helpers of the end-to-end driver (see harness.h).
#include "tests/e2e/harness.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <memory>

#include "platform/calendar.h"

namespace e2e {

// ---- Report ----------------------------------------------------------------------------

namespace {

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

std::unique_ptr<FILE, FileCloser> reportFile;
int failures = 0;

std::string VFormat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  const int length = vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? length : 0, '\0');
  if (length > 0) vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

void Emit(const std::string& line) {
  if (reportFile) {
    fprintf(reportFile.get(), "%s\n", line.c_str());
    fflush(reportFile.get());
  } else {
    printf("%s\n", line.c_str());
    fflush(stdout);
  }
}

}  // namespace

std::string Cp932ForReport(std::string_view bytes) {
  std::wstring wide;
  if (!bytes.empty()) {
    const int size =
        MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    wide.resize(size);
    MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
  }
  std::string hex;
  for (unsigned char c : bytes)
    hex += Format("%s%02X", hex.empty() ? "" : " ", c);
  return "\"" + Utf8(wide) + "\" [" + hex + "]";
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = VFormat(format, args);
  va_end(args);
  return text;
}

void OpenReport(const std::wstring& path) {
  reportFile.reset(_wfopen(path.c_str(), L"wb"));
}

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Emit(VFormat(format, args));
  va_end(args);
}

bool Expect(bool ok, const char* format, ...) {
  if (ok) return true;
  ++failures;
  va_list args;
  va_start(args, format);
  Emit("FAIL: " + VFormat(format, args));
  va_end(args);
  return false;
}

void Require(bool ok, const char* format, ...) {
  if (ok) return;
  ++failures;
  va_list args;
  va_start(args, format);
  std::string text = VFormat(format, args);
  va_end(args);
  Emit("FAIL: " + text + " (scenario aborted)");
  throw ScenarioAborted(text);
}

int FailureCount() {
  return failures;
}

// ---- Clock -----------------------------------------------------------------------------

double NowMs() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pause(int ms) {
  Sleep(static_cast<DWORD>(ms));
}

double LocalStamp::Seconds() const {
  const int64_t day = platform::DaysFromCivil(time.wYear, time.wMonth, time.wDay);
  return static_cast<double>(day * 86400 + time.wHour * 3600 + time.wMinute * 60 + time.wSecond) +
         time.wMilliseconds / 1000.0;
}

SYSTEMTIME AddSeconds(const SYSTEMTIME& time, int64_t seconds) {
  const int64_t total = platform::DaysFromCivil(time.wYear, time.wMonth, time.wDay) * 86400 +
                        time.wHour * 3600 + time.wMinute * 60 + time.wSecond + seconds;
  const int64_t day = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
  const int64_t second = total - day * 86400;
  const platform::CivilDate date = platform::CivilFromDays(day);
  SYSTEMTIME result{};
  result.wYear = static_cast<WORD>(date.year);
  result.wMonth = static_cast<WORD>(date.month);
  result.wDay = static_cast<WORD>(date.day);
  result.wHour = static_cast<WORD>(second / 3600);
  result.wMinute = static_cast<WORD>(second / 60 % 60);
  result.wSecond = static_cast<WORD>(second % 60);
  return result;
}

LocalStamp ReadLocal() {
  LocalStamp stamp;
  GetLocalTime(&stamp.time);
  return stamp;
}

// ---- Processes -------------------------------------------------------------------------

Running StartProcess(const std::wstring& exe, const std::wstring& arguments,
                     const std::wstring& dir) {
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Running program;
  program.exe = exe;
  program.dir = dir;
  BOOL ok = FALSE;
  DWORD error = 0;
  // Wine now and then gives up on a new process that is slow to report in (a loaded
  // machine, a prefix just installed into) with ERROR_INTERNAL_ERROR; a later try works.
  for (int attempt = 1; attempt <= 3 && !ok; ++attempt) {
    if (attempt > 1) {
      Say("starting %s failed with error %lu; trying again", Utf8(exe).c_str(), error);
      Pause(1000);
    }
    program.startLocal = ReadLocal();
    program.startMs = NowMs();
    ok = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.c_str(), &startup, &info);
    error = ok ? 0 : GetLastError();
    if (error != ERROR_INTERNAL_ERROR) break;
  }
  Require(ok, "cannot start %s in %s (error %lu)", Utf8(exe).c_str(), Utf8(dir).c_str(), error);
  UniqueHandle thread(info.hThread);
  program.process = UniqueHandle(info.hProcess);
  program.pid = info.dwProcessId;
  return program;
}

bool IsRunning(const Running& program) {
  return program.process && WaitForSingleObject(program.process.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> WaitExit(const Running& program, int timeoutMs) {
  if (WaitForSingleObject(program.process.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(program.process.Get(), &code);
  return code;
}

// ---- Windows of another process --------------------------------------------------------

namespace {

struct TopWindowQuery {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM parameter) {
  auto* query = reinterpret_cast<TopWindowQuery*>(parameter);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == query->pid && (!query->visibleOnly || IsWindowVisible(window)))
    query->found.push_back(window);
  return TRUE;
}

struct ChildQuery {
  HWND parent;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  auto* query = reinterpret_cast<ChildQuery*>(parameter);
  if (GetAncestor(window, GA_PARENT) == query->parent) query->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly) {
  TopWindowQuery query{pid, visibleOnly, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND FindTopWindow(DWORD pid, std::wstring_view caption) {
  for (HWND window : TopWindows(pid))
    if (TextOf(window) == caption) return window;
  return nullptr;
}

HWND WaitTopWindow(DWORD pid, std::wstring_view caption, int timeoutMs) {
  const double deadline = NowMs() + timeoutMs;
  do {
    if (HWND window = FindTopWindow(pid, caption)) return window;
    Pause(5);
  } while (NowMs() < deadline);
  return nullptr;
}

std::vector<HWND> DirectChildren(HWND parent) {
  ChildQuery query{parent, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

std::wstring TextOf(HWND window) {
  // For a window of another process this reads the stored text without sending
  // WM_GETTEXT, so it answers even while the program's thread sleeps.
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(length > 0 ? length : 0);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

bool HasClass(HWND window, std::wstring_view className) {
  const std::wstring actual = ClassOf(window);
  return CompareStringOrdinal(actual.data(), static_cast<int>(actual.size()), className.data(),
                              static_cast<int>(className.size()), TRUE) == CSTR_EQUAL;
}

RECT ScreenRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectInParent(HWND window) {
  RECT rect = ScreenRect(window);
  MapWindowPoints(HWND_DESKTOP, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  return SIZE{rect.right, rect.bottom};
}

RECT ClientScreenRect(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool Sync(HWND window, int timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutMs),
                             &result) != 0;
}

// ---- Input -----------------------------------------------------------------------------

namespace {

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  if (vk >= VK_PRIOR && vk <= VK_DOWN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, POINT screen) {
  // Absolute coordinates run from 0 to 65535 across the primary screen, which in a Wine
  // virtual desktop is the desktop itself.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

}  // namespace

void KeyDown(WORD vk) {
  SendKey(vk, false);
}
void KeyUp(WORD vk) {
  SendKey(vk, true);
}

void TypeKey(WORD vk, int holdMs) {
  KeyDown(vk);
  Pause(holdMs);
  KeyUp(vk);
}

bool BringToFront(HWND window) {
  if (GetForegroundWindow() == window) return true;
  SetForegroundWindow(window);
  const double deadline = NowMs() + 2000;
  while (GetForegroundWindow() != window) {
    if (NowMs() > deadline) return false;
    Pause(5);
  }
  return true;
}

void ClickAt(POINT screen) {
  SendMouse(0, screen);
  Pause(30);
  SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
  Pause(kKeyHoldMs);
  SendMouse(MOUSEEVENTF_LEFTUP, screen);
}

// ---- Screen ----------------------------------------------------------------------------

Pixels Capture(const RECT& wanted) {
  // Wine's screen DC copies nothing at all when the rectangle reaches past the screen, as
  // a maximised window's frame does.
  const RECT screenBounds{
      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT screenRect{};
  IntersectRect(&screenRect, &wanted, &screenBounds);
  Pixels pixels;
  pixels.width = std::max(0, Width(screenRect));
  pixels.height = std::max(0, Height(screenRect));
  if (pixels.width == 0 || pixels.height == 0) return pixels;
  ScreenDc screen;
  UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueGdiObject bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return Pixels{};
  const HGDIOBJ old = SelectObject(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, pixels.width, pixels.height, screen.Get(), screenRect.left,
         screenRect.top, SRCCOPY);
  GdiFlush();
  const auto* source = static_cast<const uint32_t*>(bits);
  pixels.rgb.assign(source, source + static_cast<size_t>(pixels.width) * pixels.height);
  for (uint32_t& p : pixels.rgb)
    p &= 0xFFFFFF;
  SelectObject(memory.Get(), old);
  return pixels;
}

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const auto table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i)
    crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string typed = std::string(type, 4) + data;
  out += typed;
  PutBigEndian(out, Crc32(reinterpret_cast<const uint8_t*>(typed.data()), typed.size()));
}

}  // namespace

bool SavePng(const Pixels& pixels, const std::wstring& path) {
  if (pixels.width == 0 || pixels.height == 0) return false;
  // Filter byte 0 before each row of RGB triples.
  std::string raw;
  raw.reserve(static_cast<size_t>(pixels.height) * (1 + 3 * pixels.width));
  for (int y = 0; y < pixels.height; ++y) {
    raw += '\0';
    for (int x = 0; x < pixels.width; ++x) {
      const uint32_t p = pixels.At(x, y);
      raw += static_cast<char>((p >> 16) & 0xFF);
      raw += static_cast<char>((p >> 8) & 0xFF);
      raw += static_cast<char>(p & 0xFF);
    }
  }
  // A zlib stream of stored (uncompressed) deflate blocks: the screenshots are small.
  std::string zlib = "\x78\x01";
  for (size_t offset = 0; offset < raw.size() || offset == 0;) {
    const size_t length = std::min<size_t>(65535, raw.size() - offset);
    const bool last = offset + length == raw.size();
    zlib += static_cast<char>(last ? 1 : 0);
    zlib += static_cast<char>(length & 0xFF);
    zlib += static_cast<char>(length >> 8);
    zlib += static_cast<char>(~length & 0xFF);
    zlib += static_cast<char>((~length >> 8) & 0xFF);
    zlib.append(raw, offset, length);
    offset += length;
    if (last) break;
  }
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(zlib, (b << 16) | a);

  std::string header;
  PutBigEndian(header, static_cast<uint32_t>(pixels.width));
  PutBigEndian(header, static_cast<uint32_t>(pixels.height));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", "");
  return WriteBytes(path, png);
}

// ---- Files -----------------------------------------------------------------------------

std::vector<DirEntry> ListDir(const std::wstring& dir) {
  std::vector<DirEntry> entries;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(JoinPath(dir, L"*").c_str(), &data));
  if (!find) return entries;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(find.Get(), &data));
  return entries;
}

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    for (const DirEntry& entry : ListDir(path))
      RemoveTree(JoinPath(path, entry.name));
    RemoveDirectoryW(path.c_str());
  } else {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
}

void MakeDirs(const std::wstring& path) {
  if (path.empty() || PathExists(path)) return;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash > 2) MakeDirs(path.substr(0, slash));
  CreateDirectoryW(path.c_str(), nullptr);
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
  UniqueHandle file(raw);
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  return bytes;
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  HANDLE raw = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  UniqueHandle file(raw);
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::wstring JoinPath(const std::wstring& dir, const std::wstring& name) {
  if (dir.empty()) return name;
  if (dir.back() == L'\\' || dir.back() == L'/') return dir + name;
  return dir + L"\\" + name;
}

std::wstring TempDir() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return std::wstring(buffer, length);
}

std::wstring WindowsPath(const std::wstring& path) {
  std::wstring result = path;
  if (!result.empty() && result[0] == L'/') result = L"Z:" + result;
  std::replace(result.begin(), result.end(), L'/', L'\\');
  wchar_t full[MAX_PATH] = {};
  const DWORD length = GetFullPathNameW(result.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::wstring(full, length) : result;
}

}  // namespace e2e
