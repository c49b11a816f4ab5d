// Operating-system services the drill uses: clocks, sleep, files, the font table,
// sounds, the program's own resources and the regional separators. No Windows types here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/calendar.h"

namespace platform {

DateTime LocalTime();  // the user's local time
DateTime UtcTime();    // the system clock in UTC
// A clock that never jumps: microseconds since an arbitrary origin.
int64_t MonotonicMicroseconds();
// Blocks the calling (GUI) thread; nothing is dispatched meanwhile.
void Sleep(int milliseconds);

// A file-system path in the system's own characters: UTF-16 on Windows, so that a folder
// whose name code page 932 cannot spell ("C:\\Users\\José\\...") still names the right place;
// the bytes as they are elsewhere, where a name need not be UTF-8 at all.
class Path {
 public:
#if defined(_WIN32)
  using NativeString = std::wstring;
#else
  using NativeString = std::string;
#endif

  Path() = default;
  explicit Path(NativeString native) : text(std::move(native)) {}
  // A name the program makes up itself, such as a log's or the font file's: ASCII.
  static Path FromAscii(std::string_view ascii) {
    return Path(NativeString(ascii.begin(), ascii.end()));
  }
  Path operator+(std::string_view asciiName) const {
    return Path(text + FromAscii(asciiName).text);
  }
  const NativeString& Native() const {
    return text;
  }
  // In the system's units: UTF-16 code units on Windows, bytes elsewhere.
  size_t Length() const {
    return text.size();
  }
  bool Empty() const {
    return text.empty();
  }
  auto operator<=>(const Path&) const = default;

 private:
  NativeString text;
};

// The path as CP932 bytes, for a message; characters CP932 lacks become '?'.
std::string DisplayText(const Path& path);

// How a file is opened; both create the file anew, replacing an older one.
enum class FileMode {
  kLog,       // write only; others may read it while it is open
  kFontFile,  // read and write; no sharing at all; not flushed to the disk
};

// Why a file could not be created.
enum class FileError {
  kNone,
  kInUse,  // another process holds the file (a sharing violation)
  kOther,  // the directory is not writable, the name is not allowed, ...
};

// A file opened for sequential writing. Owns its handle; move-only.
class File {
 public:
  File() = default;
  static File Create(const Path& path, FileMode mode, FileError* error = nullptr);
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  bool IsOpen() const { return handle != 0; }
  // Writes all of bytes; false when the system refused or wrote less.
  bool Write(std::string_view bytes);
  // Flushes a log to the disk and closes; false when that failed. The file is closed either
  // way.
  bool Close();

 private:
  explicit File(uintptr_t h) : handle(h) {}
  uintptr_t handle = 0;
  bool flushes = true;  // a log is flushed by Close, the font file is not
};

bool DeleteFile(const Path& path);

// The temporary directory as the system reports it, ending in a separator; empty if none.
Path SystemTempDirectory();

bool AddFontResource(const Path& path);
bool RemoveFontResource(const Path& path);
// Frees every font object the windowing layer made of the face. While one is alive the system
// keeps the font file behind it open, and the file cannot be deleted; a control that draws
// in the face afterwards gets a new one.
void ReleaseFontObjects(std::string_view face);
// Tells every top-level window that the font table changed; returns when all have handled it.
void BroadcastFontChange();

// Plays a WAVE resource of the program's own file, named "#101" style, asynchronously.
// A sound still playing is cut off. The outcome is not reported.
void PlaySoundResource(const char* name);

// The bytes of a resource of the program's own file; empty when there is none.
std::string_view OwnResource(const char* type, const char* name);

// The arguments the program was started with, without its own name, in UTF-8.
std::vector<std::string> ProgramArguments();

// The first CP932 byte of the user's regional date and time separators: 0 where the setting
// is empty, nothing where the system gives no value at all.
std::optional<char> RegionalDateSeparator();
std::optional<char> RegionalTimeSeparator();

}  // namespace platform
