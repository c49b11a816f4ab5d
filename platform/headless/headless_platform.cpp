// The in-memory operating-system services: clocks that move only by Sleep and Advance, files
// that can be made to fail, font registration, sounds, resources and regional settings.
#include <cctype>
#include <string>
#include <utility>

#include "platform/ascii.h"
#include "platform/calendar.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/utf8.h"

namespace headless {

namespace {

using platform::CivilFromDays;

platform::DateTime FromMs(int64_t ms) {
  int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
  int64_t rest = ms - days * 86400000;
  platform::DateTime t;
  t.date = CivilFromDays(days);
  t.hour = static_cast<int>(rest / 3600000);
  t.minute = static_cast<int>(rest / 60000 % 60);
  t.second = static_cast<int>(rest / 1000 % 60);
  t.millisecond = static_cast<int>(rest % 1000);
  return t;
}

std::string Upper(std::string s) {
  for (char& c : s)
    c = platform::AsciiUpper(c);
  return s;
}

}  // namespace

}  // namespace headless

namespace platform {

using headless::Machine;

DateTime LocalTime() {
  return headless::FromMs(Machine().localMs);
}

DateTime UtcTime() {
  return headless::FromMs(Machine().localMs - Machine().utcOffsetMinutes * 60000LL);
}

int64_t MonotonicMicroseconds() {
  return Machine().monotonicMicros;
}

void Sleep(int milliseconds) {
  headless::Trace("sleep " + std::to_string(milliseconds));
  headless::Advance(milliseconds);
}

std::string DisplayText(const Path& path) {
  // The in-memory system spells ASCII only; the rest is what CP932 would lack.
  const std::string& utf8 = path.Native();
  std::string out;
  for (size_t i = 0; i < utf8.size();) {
    const char32_t c = platform::NextUtf8(utf8, i);
    out += c < 0x80 ? static_cast<char>(c) : '?';
  }
  return out;
}

File File::Create(const Path& nativePath, FileMode, FileError* error) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("file create " + path);
  if (error) *error = FileError::kNone;
  if (Machine().lockedFiles.count(path)) {
    if (error) *error = FileError::kInUse;
    return File{};
  }
  if (Machine().failOpen.count(path)) {
    if (error) *error = FileError::kOther;
    return File{};
  }
  static uintptr_t next = 1;
  Machine().files[path].clear();
  headless::Machine().openFiles[next] = path;
  return File{next++};
}

File::File(File&& other) noexcept : handle(other.handle) {
  other.handle = 0;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Close();
    handle = other.handle;
    other.handle = 0;
  }
  return *this;
}

File::~File() {
  Close();
}

bool File::Write(std::string_view bytes) {
  if (!handle) return false;
  const std::string& path = headless::Machine().openFiles[handle];
  headless::Trace("file write " + path + " " + std::to_string(bytes.size()));
  if (++Machine().writeCalls == Machine().failWriteCall) return false;
  Machine().files[path].append(bytes);
  return true;
}

bool File::Close() {
  if (!handle) return false;
  headless::Trace("file close " + headless::Machine().openFiles[handle]);
  headless::Machine().openFiles.erase(handle);
  handle = 0;
  return !Machine().failClose;
}

bool DeleteFile(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("file delete " + path);
  if (Machine().refuseDelete && Machine().refuseDelete(path)) return false;
  return Machine().files.erase(path) > 0;
}

Path SystemTempDirectory() {
  return headless::PathFromUtf8(Machine().tempDirectory);
}

bool AddFontResource(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("font add " + path);
  if (!Machine().files.count(path) || Machine().unusableFonts.count(path)) return false;
  Machine().registeredFonts.insert(path);
  return true;
}

bool RemoveFontResource(const Path& nativePath) {
  const std::string path = headless::Utf8(nativePath);
  headless::Trace("font remove " + path);
  auto it = Machine().registeredFonts.find(path);
  if (it == Machine().registeredFonts.end()) return false;
  Machine().registeredFonts.erase(it);
  return true;
}

void BroadcastFontChange() {
  headless::Trace("font broadcast");
  ++Machine().fontBroadcasts;
  if (auto during = std::exchange(Machine().duringFontBroadcast, nullptr)) during();
}

void PlaySoundResource(const char* name) {
  headless::Trace(std::string("sound ") + name);
}

std::string_view OwnResource(const char* type, const char* name) {
  auto it = Machine().resources.find(headless::Upper(type) + "/" + headless::Upper(name));
  if (it == Machine().resources.end()) return {};
  return it->second;
}

std::vector<std::string> ProgramArguments() {
  return Machine().arguments;
}

std::optional<char> RegionalDateSeparator() {
  return Machine().dateSeparator;
}
std::optional<char> RegionalTimeSeparator() {
  return Machine().timeSeparator;
}

}  // namespace platform
